#include "app/AppContext.h"
#include "forms/ConnectionWindow.h"
#include "forms/CsvExportWindow.h"
#include "forms/Forms.h"
#include "forms/LoggerWindow.h"
#include "forms/MainWindow.h"
#include "forms/TableEditorWindow.h"

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>

void ApplyDebugMode(Forms& forms, AppContext& app)
{
    const bool v = app.Debug.DebugMode != 0;
    if (MainWindow* f = forms.mainWindow) {
        for (QWidget* w : {static_cast<QWidget*>(f->debugLabel),
                           static_cast<QWidget*>(f->createIniFileButton),
                           static_cast<QWidget*>(f->showLogButton)})
            if (w)
                w->setVisible(v);
    }
    // The later windows may not exist yet while the main window is being created.
    if (forms.connectionWindow && forms.connectionWindow->readStatusButton)
        forms.connectionWindow->readStatusButton->setVisible(v);
    if (forms.loggerWindow)
        forms.loggerWindow->setVisible(v);
    if (forms.tableEditorWindow && forms.tableEditorWindow->importS1210CheckBox)
        forms.tableEditorWindow->importS1210CheckBox->setVisible(v);
    if (forms.csvExportWindow)
        for (QCheckBox* box : forms.csvExportWindow->DebugCheckBoxes())
            box->setVisible(v);
}
