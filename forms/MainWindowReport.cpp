// The report panel: the reference traces, the reload of the project's files and the
// compensation switch; the "Utilities" menu's chart files, reports and exports, and the pop-up
// menus' "Save to File" of the peak lists and the message log.
#include "forms/MainWindow.h"
#include "forms/StatusPanel.h"

#include "app/AppContext.h"
#include "chart/series/Chart.h"
#include "chart/series/LineSeries.h"
#include "datafiles/ProjectItems.h"
#include "forms/MainChart.h"
#include "forms/ReportFileDialog.h"
#include "mainwindow/MainWindowState.h"
#include "measurement/PeakLists.h"
#include "measurement/RunHost.h"
#include "measurement/TraceSmoothing.h"
#include "reports/PrintReport.h"
#include "reports/ReportPrinter.h"
#include "reports/TextReports.h"

#include <QAction>
#include <QCheckBox>
#include <QDir>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

QWidget* MainWindow::BuildReportPanel(QWidget* parent)
{
    auto* panel = new QWidget(parent);
    auto* column = new QVBoxLayout(panel);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(2);
    useCompensationCheckBox = new QCheckBox(QStringLiteral("use compensation"), panel);
    useCompensationCheckBox->setObjectName(QStringLiteral("CheckBox37"));
    clearTracesButton = new QPushButton(QStringLiteral("Clear traces"), panel);
    clearTracesButton->setObjectName(QStringLiteral("Button13"));
    reloadProjectFilesButton = new QPushButton(QStringLiteral("Reload Project Files"), panel);
    reloadProjectFilesButton->setObjectName(QStringLiteral("Button18"));
    column->addWidget(useCompensationCheckBox);
    column->addWidget(clearTracesButton);
    column->addWidget(reloadProjectFilesButton);
    return panel;
}

void MainWindow::WireReport()
{
    connect(saveChartAction, &QAction::triggered, this, &MainWindow::saveChart);
    connect(loadChartAction, &QAction::triggered, this, &MainWindow::loadChart);
    connect(saveCompensationAction, &QAction::triggered, this, &MainWindow::saveCompensation);
    connect(loadCompensationAction, &QAction::triggered, this, &MainWindow::loadCompensation);
    connect(useCompensationCheckBox, &QCheckBox::clicked, this, &MainWindow::useCompensationClicked);
    connect(loadReference1Action, &QAction::triggered, this, [this] { loadReferenceTrace(1); });
    connect(loadReference2Action, &QAction::triggered, this, [this] { loadReferenceTrace(2); });
    connect(loadReference3Action, &QAction::triggered, this, [this] { loadReferenceTrace(3); });
    connect(clearTracesButton, &QPushButton::clicked, this, &MainWindow::clearReferenceTraces);
    connect(savePeaksAction, &QAction::triggered, this, &MainWindow::savePeaks);
    connect(saveMessagesAction, &QAction::triggered, this, &MainWindow::saveMessages);
    connect(saveWmfAction, &QAction::triggered, this, &MainWindow::saveChartAsWmf);
    connect(printReportAction, &QAction::triggered, this, &MainWindow::printReport);
    connect(reloadProjectFilesButton, &QPushButton::clicked, this, &MainWindow::reloadProjectFiles);
}

// The report header the printed report opens with, which the project loader also fills.
void MainWindow::WireLaterReports(ReportHeaderItems& reportHeader)
{
    reportHeader_ = &reportHeader;
}

void MainWindow::followRunControls(const RunControls& controls)
{
    runBusy_ = controls.Busy;
    runGridLocked_ = controls.GridLocked;
    loadChartAction->setEnabled(!runBusy_);
    loadCompensationAction->setEnabled(!runGridLocked_);
    reloadProjectFilesButton->setEnabled(!runGridLocked_);
}

bool MainWindow::parameterGridLocked() const
{
    return runGridLocked_;
}

ChartFileContext MainWindow::chartFiles()
{
    ChartFileContext c;
    c.Series = chart_->ByRole();
    c.BottomAxis = mainChart->BottomAxis();
    c.LeftAxis = mainChart->LeftAxis();
    // The chart file numbers the colours of Series1 .. Series11 from 1; the reference traces follow.
    using enum TraceColor;
    const MainWindowColors& colors = state_.Colors;
    c.SeriesColors = {colors[rawTrace1],       colors[limitLine1],      colors[cableCorrection],
                      colors[lisnCorrection],  colors[limitLine2],      colors[tablePreview],
                      colors[correctedTrace1], colors[rawTrace2],       colors[correctedTrace2],
                      colors[amplifierCorrection], colors[antennaFactor]};
    c.TraceColors = {colors[reference1Set1], colors[reference1Set2], colors[reference2Set1],
                     colors[reference2Set2], colors[reference3Set1], colors[reference3Set2]};
    c.Messages = &app_.Messages;
    c.Debug = &app_.Debug;
    return c;
}

// A load replaces the measurement: "Clear peaks" empties the lists and grids of both sets (the
// lists shown are the run control's), and the chosen set's smoothing has nothing left to undo.
ChartFileHooks MainWindow::ChartHooks()
{
    ChartFileHooks hooks;
    hooks.ClearPeaks = [this] {
        peakLists(1).Clear();
        peakLists(2).Clear();
        RepaintChart();
    };
    hooks.ResetFadeOverlays = [this] {
        const bool set2 = set2Radio->isChecked();
        ResetFadeOverlays(*chart_->Series(set2 ? SeriesRole::smoothing2 : SeriesRole::smoothing1),
                          *chart_->Series(set2 ? SeriesRole::compensation2 : SeriesRole::compensation1),
                          selectedSmoothRanges());
    };
    hooks.RepaintChart = [this] { RepaintChart(); };
    return hooks;
}

// The commands start their dialogs from the working folder and leave it the working folder.
QString MainWindow::ChooseReportFile(ReportDialog dialog, bool save)
{
    QDir::setCurrent(app_.WorkingFolder);
    const SaveDialogSettings settings = ReportDialogSettings(dialog);
    const QString chosen = chooseReportFile ? chooseReportFile(settings, save)
                                            : RunReportFileDialog(this, settings, app_.WorkingFolder, save);
    QDir::setCurrent(app_.WorkingFolder);
    return chosen;
}

// The labels, the compensation box and the caption as the file commands left them.
void MainWindow::ShowChartFileView()
{
    const ChartFileView& v = chartFileView_;
    chartTraceLabel->setText(v.ChartLabel.isEmpty() ? QStringLiteral("Chart:") : v.ChartLabel);
    trace1Label->setText(v.TraceLabels[0]);
    trace2Label->setText(v.TraceLabels[1]);
    trace3Label->setText(v.TraceLabels[2]);
    useCompensationCheckBox->setEnabled(v.CompensationLoaded != 0);
    useCompensationCheckBox->setChecked(v.UseCompensation);
    ShowCaption();
}

void MainWindow::saveChart()
{
    SaveChartCommand(ChooseReportFile(ReportDialog::SaveChart, true), chartFiles());
}

void MainWindow::loadChart()
{
    const QString file = ChooseReportFile(ReportDialog::LoadChart, false);
    ChartFileContext files = chartFiles();
    if (LoadChartCommand(file, runBusy_ || runActive(), files, chartFileView_, ChartHooks()))
        ShowChartFileView();
    RepaintChart();
}

void MainWindow::saveCompensation()
{
    SaveCompensationCommand(ChooseReportFile(ReportDialog::SaveCompensation, true), chartFiles());
}

void MainWindow::loadCompensation()
{
    const QString file = ChooseReportFile(ReportDialog::LoadCompensation, false);
    ChartFileContext files = chartFiles();
    if (LoadCompensationCommand(file, parameterGridLocked(), files, chartFileView_))
        ShowChartFileView();
    RepaintChart();
}

void MainWindow::useCompensationClicked()
{
    chartFileView_.UseCompensation = useCompensationCheckBox->isChecked();
    UseCompensationClicked(chartFiles(), chartFileView_);
}

void MainWindow::loadReferenceTrace(int slot)
{
    static constexpr ReportDialog kDialogs[] = {ReportDialog::LoadReference1, ReportDialog::LoadReference2,
                                                ReportDialog::LoadReference3};
    if (slot < 1 || slot > 3)
        return;
    const QString file = ChooseReportFile(kDialogs[slot - 1], false);
    ChartFileContext files = chartFiles();
    if (LoadReferenceCommand(slot, file, files, chartFileView_))
        ShowChartFileView();
    RepaintChart();
}

void MainWindow::clearReferenceTraces()
{
    ChartFileContext files = chartFiles();
    ClearReferenceTraces(files, chartFileView_, ChartHooks());
    ShowChartFileView();
}

void MainWindow::savePeaks()
{
    const QString file = ChooseReportFile(ReportDialog::SavePeaks, true);
    if (!file.isEmpty())
        SavePeaksReport(file, peakLists(1).Lines.stringList(), peakLists(2).Lines.stringList(), &app_.Messages);
}

void MainWindow::saveMessages()
{
    const QString file = ChooseReportFile(ReportDialog::SaveMessages, true);
    if (!file.isEmpty())
        SaveMessagesReport(file, app_.Messages, statusPanels[6]->text(), &app_.Messages);
}

void MainWindow::saveChartAsWmf()
{
    const QString file = ChooseReportFile(ReportDialog::SaveWmf, true);
    if (!file.isEmpty())
        SaveChartWmf(*mainChart, file, &app_.Messages);
}

void MainWindow::printReport()
{
    if (!reportPrinter && !printDialog_)
        printDialog_ = std::make_unique<PrintDialogPrinter>(this);
    const PrintReportSources sources{mainChart, reportHeader_, &peakLists(1).Grid, &peakLists(2).Grid,
                                     &app_.Messages, &app_.Debug};
    PrintReport(sources, reportPrinter ? *reportPrinter : *printDialog_);
}

void MainWindow::reloadProjectFiles()
{
    QDir::setCurrent(app_.WorkingFolder);
    ProjectReloadHooks hooks;
    hooks.ApplyProjectFiles = [this](const QString& kind) { ApplyProjectFiles(targets_, kind); };
    hooks.UpdateMeasureTimeEstimate = [this] {
        if (targets_.UpdateMeasureTimeEstimate)
            targets_.UpdateMeasureTimeEstimate();
    };
    ReloadProjectFiles(parameterGridLocked(), chart_->Series(SeriesRole::masterCorrection), hooks, &app_.Messages);
    RepaintChart();
}
