#include "app/AppContext.h"
#include "chart/series/LineSeries.h"
#include "forms/ConnectionWindow.h"
#include "forms/CsvExportWindow.h"
#include "forms/Forms.h"
#include "forms/LoggerWindow.h"
#include "forms/MainChart.h"
#include "forms/MainWindow.h"
#include "forms/TableEditorWindow.h"

#include <QCheckBox>
#include <QLabel>
#include <QListView>
#include <QPushButton>

void ApplyDebugMode(Forms& forms, AppContext& app)
{
    const bool v = app.Debug.DebugMode != 0;
    if (MainWindow* f = forms.mainWindow) {
        const MainChart& chart = f->chart();
        for (SeriesRole role : {SeriesRole::smoothing1, SeriesRole::smoothing2, SeriesRole::temCellCorrection,
                                SeriesRole::generatorAmpCorrection})
            chart.Series(role)->SetActive(v);
        // The coverage view keeps to its mode: shown over the EMC view it would hide it, and
        // hidden in its own mode it would leave the operator without it.
        for (QWidget* w : {static_cast<QWidget*>(f->debugLabel), static_cast<QWidget*>(f->createIniFileButton),
                           static_cast<QWidget*>(f->readDsaButton), static_cast<QWidget*>(f->showLogButton),
                           static_cast<QWidget*>(f->peakFreqList1), static_cast<QWidget*>(f->peakLevelList1),
                           static_cast<QWidget*>(f->measureFreqList1), static_cast<QWidget*>(f->measureLevelList1),
                           static_cast<QWidget*>(f->viewMasterCheckBox), static_cast<QWidget*>(f->refLevelSpin),
                           static_cast<QWidget*>(f->emiZeroSpanCheckBox),
                           static_cast<QWidget*>(f->maxPeakZeroSpanCheckBox)})
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
