// Chart files, reports and exports: the "Utilities" menu's chart and compensation files, reference
// traces, WMF export and printed report, the report panel's compensation switch, "Clear traces"
// and reload, and the pop-up menus' "Save to File" of the peak lists and the message log.
#include "forms/MainWindow.h"

#include "app/AppContext.h"
#include "chart/series/Chart.h"
#include "chart/series/LineSeries.h"
#include "datafiles/ProjectItems.h"
#include "forms/MainChartControl.h"
#include "forms/MainChart.h"
#include "forms/MainMenus.h"
#include "forms/MessagesPanel.h"
#include "forms/PeaksPanel.h"
#include "forms/ReportFileDialog.h"
#include "forms/ReportPanel.h"
#include "forms/StatusBarPanels.h"
#include "forms/SweepPanel.h"
#include "forms/TraceBar.h"
#include "mainwindow/MainWindowState.h"
#include "measurement/PeakLists.h"
#include "measurement/RunHost.h"
#include "measurement/TraceSmoothing.h"
#include "reports/PrintReport.h"
#include "reports/ReportPrinter.h"
#include "reports/TextReports.h"

#include <QDir>

void MainWindow::WireReport()
{
    connect(menus_, &MainMenus::saveChartChosen, this, &MainWindow::SaveChart);
    connect(menus_, &MainMenus::loadChartChosen, this, &MainWindow::loadChart);
    connect(menus_, &MainMenus::saveCompensationChosen, this, &MainWindow::SaveCompensation);
    connect(menus_, &MainMenus::loadCompensationChosen, this, &MainWindow::loadCompensation);
    connect(reportPanel_, &ReportPanel::useCompensationClicked, this, &MainWindow::UseCompensationClicked);
    connect(menus_, &MainMenus::referenceTraceChosen, this, &MainWindow::LoadReferenceTrace);
    connect(reportPanel_, &ReportPanel::clearTracesClicked, this, &MainWindow::ClearReferenceTraces);
    connect(peaksPanel_, &PeaksPanel::savePeaksRequested, this, &MainWindow::SavePeaks);
    connect(messagesPanel_, &MessagesPanel::saveMessagesRequested, this, &MainWindow::SaveMessages);
    connect(menus_, &MainMenus::wmfExportChosen, this, &MainWindow::SaveChartAsWmf);
    connect(menus_, &MainMenus::printReportChosen, this, &MainWindow::PrintReport);
    connect(reportPanel_, &ReportPanel::reloadProjectFilesClicked, this, &MainWindow::reloadProjectFiles);
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
    menus_->followChartFiles(runBusy_, runGridLocked_);
    reportPanel_->enableReload(!runGridLocked_);
}

ChartFileContext MainWindow::ChartFiles()
{
    ChartFileContext c = chartControl_->fileContext();
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
// lists shown are the peak commands'), and the chosen set's smoothing has nothing left to undo.
ChartFileHooks MainWindow::ChartHooks()
{
    ChartFileHooks hooks;
    hooks.ClearPeaks = [this] {
        for (MeasurementSet& set : sets_)
            set.shownPeaks->Clear();
        chartControl_->repaint();
    };
    hooks.ResetFadeOverlays = [this] {
        const SetSeriesRoles& roles = kSetSeriesRoles[sweepPanel_->selectedSet()];
        ResetFadeOverlays(*chart().Series(roles.smoothing), *chart().Series(roles.compensation),
                          selectedSmoothRanges());
    };
    hooks.RepaintChart = [this] { chartControl_->repaint(); };
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
    traceBar_->showChartLabel(v.ChartLabel.isEmpty() ? QStringLiteral("Chart:") : v.ChartLabel);
    for (size_t i = 0; i < v.TraceLabels.size(); ++i)
        traceBar_->showTraceLabel(static_cast<int>(i) + 1, v.TraceLabels[i]);
    reportPanel_->showCompensation(v.CompensationLoaded, v.UseCompensation);
    ShowCaption();
}

void MainWindow::SaveChart()
{
    SaveChartCommand(ChooseReportFile(ReportDialog::SaveChart, true), ChartFiles());
}

void MainWindow::loadChart()
{
    const QString file = ChooseReportFile(ReportDialog::LoadChart, false);
    ChartFileContext files = ChartFiles();
    if (LoadChartCommand(file, runBusy_ || RunActive(), files, chartFileView_, ChartHooks()))
        ShowChartFileView();
    chartControl_->repaint();
}

void MainWindow::SaveCompensation()
{
    SaveCompensationCommand(ChooseReportFile(ReportDialog::SaveCompensation, true), ChartFiles());
}

void MainWindow::loadCompensation()
{
    const QString file = ChooseReportFile(ReportDialog::LoadCompensation, false);
    ChartFileContext files = ChartFiles();
    if (LoadCompensationCommand(file, runGridLocked_, files, chartFileView_))
        ShowChartFileView();
    chartControl_->repaint();
}

void MainWindow::UseCompensationClicked()
{
    chartFileView_.UseCompensation = reportPanel_->useCompensation();
    ::UseCompensationClicked(ChartFiles(), chartFileView_);
}

void MainWindow::LoadReferenceTrace(int slot)
{
    static constexpr ReportDialog kDialogs[] = {ReportDialog::LoadReference1, ReportDialog::LoadReference2,
                                                ReportDialog::LoadReference3};
    if (slot < 1 || slot > 3)
        return;
    const QString file = ChooseReportFile(kDialogs[slot - 1], false);
    ChartFileContext files = ChartFiles();
    if (LoadReferenceCommand(slot, file, files, chartFileView_))
        ShowChartFileView();
    chartControl_->repaint();
}

void MainWindow::ClearReferenceTraces()
{
    ChartFileContext files = ChartFiles();
    ::ClearReferenceTraces(files, chartFileView_, ChartHooks());
    ShowChartFileView();
}

void MainWindow::SavePeaks()
{
    const QString file = ChooseReportFile(ReportDialog::SavePeaks, true);
    if (!file.isEmpty())
        SavePeaksReport(file, peakLists(MeasureSet::Set1).Lines.stringList(),
                        peakLists(MeasureSet::Set2).Lines.stringList(), &app_.Messages);
}

void MainWindow::SaveMessages()
{
    const QString file = ChooseReportFile(ReportDialog::SaveMessages, true);
    if (!file.isEmpty())
        SaveMessagesReport(file, app_.Messages, statusPanels_->text(StatusBarPanel::Version), &app_.Messages);
}

void MainWindow::SaveChartAsWmf()
{
    const QString file = ChooseReportFile(ReportDialog::SaveWmf, true);
    if (!file.isEmpty())
        ::SaveChartWmf(chartControl_->widget(), file, &app_.Messages);
}

void MainWindow::PrintReport()
{
    if (!reportPrinter && !printDialog_)
        printDialog_ = std::make_unique<PrintDialogPrinter>(this);
    const PrintReportSources sources{&chartControl_->widget(),
                                     reportHeader_,
                                     &peakLists(MeasureSet::Set1).Grid,
                                     &peakLists(MeasureSet::Set2).Grid,
                                     &app_.Messages,
                                     &app_.Debug,
                                     {peakLists(MeasureSet::Set1).RunNote, peakLists(MeasureSet::Set2).RunNote}};
    ::PrintReport(sources, reportPrinter ? *reportPrinter : *printDialog_);
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
    ReloadProjectFiles(runGridLocked_, chart().Series(SeriesRole::masterCorrection), hooks, &app_.Messages);
    chartControl_->repaint();
}
