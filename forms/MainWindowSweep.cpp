// The measurement set and the run: the set choice and what follows it, the parameter grid's file
// pick lists, and the run control with the window as its host: the settings it reads taken from
// the panels, the controls it sets on every panel, who else owns the analyser, the mail notice and
// the status line's countdown.
#include "forms/MainWindowRun.h"

#include "app/AppContext.h"
#include "app/CaughtErrors.h"
#include "chart/series/Chart.h"
#include "datafiles/ParameterGridModel.h"
#include "datafiles/ProjectItems.h"
#include "forms/MainChartControl.h"
#include "forms/CoverageFrame.h"
#include "forms/FormServices.h"
#include "forms/ImmunityFrame.h"
#include "forms/InstrumentPanel.h"
#include "forms/MainChart.h"
#include "forms/MainMenus.h"
#include "forms/PeaksPanel.h"
#include "forms/ReportPanel.h"
#include "forms/SegmentsPanel.h"
#include "forms/StatusBarPanels.h"
#include "forms/SweepPanel.h"
#include "forms/ViewPanel.h"
#include "instrument/AnalyserHold.h"
#include "instrument/InstrumentState.h"
#include "instrument/ScpiContext.h"
#include "mail/ChartImage.h"
#include "mail/MailNotice.h"
#include "mail/MailSettings.h"
#include "mainwindow/MainWindowState.h"
#include "mainwindow/StatusLine.h"

#include <QApplication>
#include <QDir>
#include <QScreen>

// The parameter grid's hint goes to its status panel; the set choice and "Segm." change what the
// panels show of the sets.
void MainWindow::WireSweep()
{
    connect(sweepPanel_, &SweepPanel::hintChanged, this,
            [this](const QString& hint) { setStatusText(StatusBarPanel::Hint, hint); });
    connect(sweepPanel_, &SweepPanel::setChosen, this, &MainWindow::ApplySetChoice);
    connect(segmentsPanel_, &SegmentsPanel::segmentMarksToggled, this, &MainWindow::ApplySetChoice);
}

void MainWindow::refreshFileLists()
{
    QDir::setCurrent(app_.WorkingFolder);
    fileLists_ = ListDataFiles(app_.WorkingFolder);
    ApplyFileLists(*parameterModel_, fileLists_);
}

// The chosen set's peak lists, its "Select 6 maxpeaks" box, its segment list and segment marks
// are shown, the other set's hidden; the estimate follows the set.
void MainWindow::ApplySetChoice()
{
    const MeasureSet set = sweepPanel_->selectedSet();
    peaksPanel_->showSet(set);
    segmentsPanel_->showSet(set);
    ApplySegmentMarks();
    if (targets_.UpdateMeasureTimeEstimate)
        targets_.UpdateMeasureTimeEstimate();
}

// ---------------------------------------------------------------------------------------------
// The run.

namespace {

// The colours of the points a run adds: "Raw Data Set1", "Cor Data Set1", "Raw Data Set2" and
// "Cor Data Set2" of the colour settings.
void TakePointColors(RunSwitches& s, const MainWindowColors& colors)
{
    s.RawColor = {colors[TraceColor::rawTrace1], colors[TraceColor::rawTrace2]};
    s.CorrectedColor = {colors[TraceColor::correctedTrace1], colors[TraceColor::correctedTrace2]};
}

} // namespace

void MainWindow::WireRun()
{
    run_ = std::make_unique<RunWiring>(*this);
    RunWiring& r = *run_;
    r.series = chart().ByRole();
    TakePointColors(r.switches, state_.Colors);
    MeasurementSet& set1 = sets_[MeasureSet::Set1];
    MeasurementSet& set2 = sets_[MeasureSet::Set2];
    r.context = std::make_unique<MeasurementContext>(
        MeasurementContext{*scpi_, r.state, r.series, {&set1.segments, &set2.segments},
                           {&set1.segmentChecks, &set2.segmentChecks}, r.parameters, r.switches, r.host,
                           r.masterTimer});
    r.peakCommands = std::make_unique<PeakCommands>(*r.context, r.work);
    r.control = std::make_unique<RunControl>(*r.context, r.work, *r.peakCommands);
    ShowPeakLists(r.peakCommands->Peaks(MeasureSet::Set1), r.peakCommands->Peaks(MeasureSet::Set2));

    connect(sweepPanel_, &SweepPanel::playClicked, this, &MainWindow::Play);
    connect(sweepPanel_, &SweepPanel::stopClicked, this, &MainWindow::Stop);
    connect(sweepPanel_, &SweepPanel::pauseClicked, this, &MainWindow::Pause);
    connect(peaksPanel_, &PeaksPanel::displayPeaksClicked, this, &MainWindow::DisplayPeaks);
    connect(peaksPanel_, &PeaksPanel::clearPeaksClicked, this, &MainWindow::ClearPeaks);
    connect(menus_, &MainMenus::measurePeaksChosen, this, &MainWindow::MeasurePeaks);
    // "EMI(ZeroSpan)" changes the mode and so the estimate.
    connect(instrumentPanel_, &InstrumentPanel::emiZeroSpanToggled, this, [this] {
        if (targets_.UpdateMeasureTimeEstimate)
            targets_.UpdateMeasureTimeEstimate();
    });
    targets_.UpdateMeasureTimeEstimate = [this] {
        SyncRunSettings();
        run_->control->UpdateMeasureTimeEstimate();
    };

    // One holder of the analyser, which every window asks before it reaches it: the views start
    // nothing while a run holds it, and Play waits while a generator action or the coverage logging
    // holds it.
    emissionRunActive = [this] { return RunActive(); };
    instrument_.Hold.Holder = [this] { return AnalyserHolderNow(); };
    connect(immunityFrame_, &ImmunityFrame::generatorActionChanged, this,
            [this] { ShowRunControls(run_->work.Controls); });
    connect(coverageFrame_, &CoverageFrame::startOrStopPressed, this,
            [this] { ShowRunControls(run_->work.Controls); });
    // Loaded series keep the colours of the moment; points added from now on take the new ones.
    connect(&state_.ColorEditor, &ColorSettingsEditor::ColorsChanged, this, [this] {
        TakePointColors(run_->switches, state_.Colors);
    });

    connect(statusPanels_, &StatusBarPanels::tick, this, &MainWindow::StatusLineTick);
    statusPanels_->start();
}

RunControl& MainWindow::Run()
{
    return *run_->control;
}

MeasurementState& MainWindow::measurementState()
{
    return run_->state;
}

// Busy is published before the loop starts and after it has ended, so it covers the whole command.
bool MainWindow::RunActive() const
{
    return run_ && (run_->work.Running() || run_->work.Controls.Busy);
}

void MainWindow::setMailSettings(MailSettings& mail, const MailTransport& transport)
{
    run_->mail = &mail;
    run_->mailTransport = transport;
}

// What the run reads of the window, taken at each command: a run reads the margins and
// "MaxHold" when it needs them, and the grid can only change while the run is paused, before
// Play resumes it. The boxes a run follows while it goes are read again before each segment.
void MainWindow::SyncRunSettings()
{
    RunWiring& r = *run_;
    r.parameters.MarginDb = gridState_.MarginDb;
    r.parameters.MaxHold = gridState_.MaxHold;
    for (MeasureSet set : kMeasureSets) {
        r.parameters.MissingLimit[set] = datafiles::MissingLimitLine(targets_, set);
        r.parameters.MissingSegments[set] = datafiles::MissingSegmentFile(targets_, set);
    }
    r.parameters.MissingCorrection = datafiles::MissingCorrection(targets_);
    RunSwitches& s = r.switches;
    s.SelectedSet = sweepPanel_->selectedSet();
    s.EmiZeroSpan = instrumentPanel_->emiZeroSpanOn();
    s.MaxPeakZeroSpan = instrumentPanel_->maxPeakZeroSpanOn();
    s.VbwAuto = !instrumentPanel_->vbwThreeRbw();
    TakePointColors(s, state_.Colors);
    ReadRunSwitches();
}

// "Beep", "MaxFilter" and "use compensation" act from the next segment of a run.
void MainWindow::ReadRunSwitches()
{
    RunSwitches& s = run_->switches;
    s.Beep = sweepPanel_->beepOn();
    s.MaxFilter = segmentsPanel_->maxFilterOn();
    s.UseCompensation = reportPanel_->useCompensation();
}

// A run holds the analyser while it goes or is paused, a re-measurement while it measures; a
// generator action from its start until its stop has been sent; the coverage logging from Start to
// Stop. Only one of them starts at a time: each asks this first.
AnalyserHolder MainWindow::AnalyserHolderNow() const
{
    if (RunActive())
        return run_->work.Remeasuring ? AnalyserHolder::PeakRemeasurement : AnalyserHolder::EmissionRun;
    if (immunityFrame_->generatorActionActive())
        return AnalyserHolder::Generator;
    if (coverageFrame_->loggingActive())
        return AnalyserHolder::CoverageLogging;
    return AnalyserHolder::Nobody;
}

bool MainWindow::OtherInstrumentOwner() const
{
    const AnalyserHolder holder = HolderOf(*scpi_);
    return holder == AnalyserHolder::Generator || holder == AnalyserHolder::CoverageLogging ||
           instrument_.Visa.CommandUnderWay;
}

void MainWindow::Play()
{
    if (OtherInstrumentOwner())
        return;
    // A mail server that was silent in the last run is asked again.
    if (!RunActive())
        run_->noticeServerSilent = false;
    SyncRunSettings();
    RunLoggingErrors(app_.Messages, [this] { run_->control->Play(); });
}

void MainWindow::Stop()
{
    RunLoggingErrors(app_.Messages, [this] { run_->control->Stop(); });
}

void MainWindow::Pause()
{
    RunLoggingErrors(app_.Messages, [this] { run_->control->Pause(); });
}

// The run's published controls on every panel they touch. While a run owns the analyser and the
// traces nothing may reach either: the connection kinds, loading projects, charts, compensation
// and reference traces, and the commands that recompute or clear the traces. The chart files
// follow their own rules (followRunControls).
void MainWindow::ShowRunControls(const RunControls& c)
{
    RunWiring& r = *run_;
    const bool other = OtherInstrumentOwner();
    const bool paused = r.state.PauseRequested;
    const bool held = HolderOf(*scpi_) != AnalyserHolder::Nobody;
    sweepPanel_->showRunControls(c, other, paused);
    menus_->showRunControls(c, other, held);
    instrumentPanel_->showAnalyserHeld(held);
    const bool idle = !c.Busy;
    peaksPanel_->enableCommands(idle);
    reportPanel_->enableClearTraces(idle);
    viewPanel_->enableClearCommands(idle);
    followRunControls(c);
    if (c.Busy != r.busyShown) {
        r.busyShown = c.Busy;
        immunityFrame_->refreshInstrumentOwnership();
    }
}

// Timer1, once a second: the settings last sent, the memory or the screen sizes, the clock, and
// the run's time left counted down unless the run is paused.
void MainWindow::StatusLineTick()
{
    StatusLineSources sources = SystemStatusSources();
    sources.ScreenSize = [] {
        const QScreen* screen = QGuiApplication::primaryScreen();
        return screen ? screen->size() : QSize();
    };
    sources.WindowSize = [this] { return size(); };
    const StatusLineTexts t = ::StatusLineTick(instrument_.Device.Echo, run_->state, app_.Debug.DebugMode, sources);
    statusPanels_->setText(StatusBarPanel::Settings, t.SettingsPanel);
    statusPanels_->setText(StatusBarPanel::Memory, t.MemoryPanel);
    statusPanels_->setText(StatusBarPanel::Clock, t.ClockPanel);
    sweepPanel_->showTimeLeft(t.TimeLeft);
}

void MainWindow::SendRunNotice(int segment, int count, const RunEnd* end)
{
    if (!run_->mail || (!end && run_->noticeServerSilent))
        return;
    MailContext context{run_->mail->Account, app_.Messages, app_.Debug, scpi_->Pump, app_.WorkingFolder,
                        run_->mailTransport};
    // Stop gives a segment's notice up at once; the end notice still goes.
    if (!end)
        context.Abandon = [this] { return run_->state.StopRequested; };
    const auto saveChart = [this] {
        QString error;
        if (SaveChartJpeg(chartControl_->widget(), app_.WorkingFolder, &error))
            return true;
        app_.Messages.Append(QStringLiteral("Error: chart image not written: ") + error);
        return false;
    };
    const MailSendFunction send = RunNoticeSender(context, run_->noticeServerSilent, end != nullptr);
    if (!end) {
        ::NotifySegmentDone(run_->mail->Alerts, segment, count, saveChart, send);
        return;
    }
    ::NotifyRunEnd(run_->mail->Alerts, *end, saveChart, send);
}

// --- The window as the engine's host

void MainWindow::WindowRunHost::ControlsChanged(const RunControls& controls) { w_.ShowRunControls(controls); }

void MainWindow::WindowRunHost::ShowErrorBox(const QString& text)
{
    FormServices& s = w_.services_;
    if (s.showError)
        s.showError(text);
    else if (s.showMessage)
        s.showMessage(text);
}

void MainWindow::WindowRunHost::ShowMessageBox(const QString& text)
{
    if (w_.services_.showMessage)
        w_.services_.showMessage(text);
}

// The desktop's own beep: the tone's pitch and length are not ours to choose.
void MainWindow::WindowRunHost::Beep(int, int) { QApplication::beep(); }

void MainWindow::WindowRunHost::SetBusyCursor(bool busy)
{
    if (busy)
        QApplication::setOverrideCursor(Qt::WaitCursor);
    else
        QApplication::restoreOverrideCursor();
}

void MainWindow::WindowRunHost::RepaintChart() { w_.chartControl_->repaintNow(); }

void MainWindow::WindowRunHost::SetChartAutoRepaint(bool on) { w_.chartControl_->setAutoRepaint(on); }

void MainWindow::WindowRunHost::MaxHoldCleared()
{
    w_.gridState_.MaxHold = false;
    w_.parameterModel_->SetValue(gridkeys::kMaxHold, QStringLiteral("off"));
}

void MainWindow::WindowRunHost::NotifySegmentDone(int segment, int count) { w_.SendRunNotice(segment, count); }

void MainWindow::WindowRunHost::NotifyRunEnd(const RunEnd& end) { w_.SendRunNotice(end.LastSegment, end.Count, &end); }

void MainWindow::WindowRunHost::ReadRunSwitches() { w_.ReadRunSwitches(); }

// Called from inside the run's own stack: the close goes through the event loop.
void MainWindow::WindowRunHost::CloseMainWindow()
{
    QMetaObject::invokeMethod(&w_, [w = &w_] { w->close(); }, Qt::QueuedConnection);
}
