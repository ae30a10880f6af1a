#include "app/AppContext.h"
#include "forms/ConnectionWindow.h"
#include "forms/CsvExportWindow.h"
#include "forms/Forms.h"
#include "forms/LoggerWindow.h"
#include "forms/MainWindow.h"
#include "forms/TableEditorWindow.h"

void ApplyDebugMode(Forms& forms, AppContext& app)
{
    const bool v = app.Debug.DebugMode;
    if (forms.mainWindow)
        forms.mainWindow->showDebugControls(v);
    // The later windows may not exist yet while the main window is being created.
    if (forms.connectionWindow)
        forms.connectionWindow->showDebugControls(v);
    if (forms.loggerWindow)
        forms.loggerWindow->setVisible(v);
    if (forms.tableEditorWindow)
        forms.tableEditorWindow->showDebugControls(v);
    if (forms.csvExportWindow)
        forms.csvExportWindow->showDebugControls(v);
}
