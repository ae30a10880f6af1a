#include "measurement/RunControl.h"

#include "app/CaughtErrors.h"
#include "app/FlagScope.h"
#include "app/Log.h"
#include "app/MainChartSeries.h"
#include "app/NumberText.h"
#include "chart/engine/ChartSeries.h"
#include "datafiles/CheckListModel.h"
#include "datafiles/SegmentTable.h"
#include "instrument/AnalyserOwnership.h"
#include "instrument/DeviceState.h"
#include "instrument/InstrumentConnection.h"
#include "instrument/ScpiCommands.h"
#include "measurement/CorrectedTrace.h"
#include "measurement/MasterCorrection.h"
#include "measurement/MeasureTime.h"
#include "measurement/MeasurementContext.h"
#include "measurement/MeasurementState.h"
#include "measurement/ModeRunner.h"
#include "measurement/PeakCommands.h"
#include "measurement/PlanTally.h"
#include "measurement/RunParameters.h"
#include "measurement/RunnerSteps.h"
#include "measurement/TracePoints.h"
#include "measurement/WorkState.h"
#include "platform/system/EventPump.h"

#include <algorithm>
#include <exception>
#include <stdexcept>
#include <utility>

namespace {

constexpr uint32_t kMasterTickMs = 5;
// A paused run sleeps in the pump until Play or Stop wakes it; this only bounds one sleep.
constexpr uint32_t kPauseWaitMs = 1000;
// Points of a point loop that come faster than this are drawn together.
constexpr uint32_t kComingRepaintMs = 250;

bool SegmentChecked(const CheckListModel& checks, int segment)
{
    return segment < checks.Count() && checks.Checked(segment);
}

// The kinds Play knows no loop for: the Hameg, and a kind that no swept run serves
// (AnalyserKind::SweptRunKind); an unknown device is refused before.
QString FamilyText(const AnalyserKind& kind)
{
    if (kind.IsHameg())
        return QStringLiteral("Hameg HMS");
    return QStringLiteral("number ") + QString::number(kind.DeviceFamily);
}

constexpr const char* kStoppedByOperator = "stopped by the operator";

// The point loops measure a segment point by point: a failure can cut one after some points.
bool PointByPoint(MeasureMode mode) { return mode == MeasureMode::Emi || mode == MeasureMode::EmiFix; }

// A run's failure line in short: "Error: the link to the analyser was lost, measurement stopped"
// is "the link to the analyser was lost".
QString FailureReason(QString line)
{
    static const QString kError = QStringLiteral("Error: ");
    static const QString kStopped = QStringLiteral(", measurement stopped");
    if (line.startsWith(kError))
        line.remove(0, kError.size());
    if (line.endsWith(kStopped))
        line.chop(kStopped.size());
    return line;
}

// Why a segment that brought `added` points fell short of its plan, as the run's summary names
// it: the reasons its steps noted, the failure that cut it or Stop, and for a point loop cut after
// some points how far they came ("cut after 18 of 601 points: the link to the analyser was lost").
// Empty for a segment measured whole.
QString SegmentShortfall(PassContext& pass, bool cut, const QString& failure, int added, bool pointLoop)
{
    const int planned = pass.Scpi.Device.TracePoints;
    const bool fewer = added == 0 || (pointLoop && added < planned);
    if (cut && fewer && !failure.isEmpty())
        pass.FallShort(failure);
    else if (!cut && fewer && pass.State.StopRequested)
        pass.FallShort(QString::fromLatin1(kStoppedByOperator));
    const QString reasons = pass.Shortfalls.join(QStringLiteral(", "));
    if (pass.State.StopRequested && added > 0 && pointLoop && added < planned)
        return QStringLiteral("cut after %1 of %2 points: ").arg(added).arg(planned) + reasons;
    return reasons;
}

// After "Info: play", the log must not read as the start of a run that never happened.
void LogRefusal(MessageLog& log, QString why)
{
    log.Append(QStringLiteral("Warning: measurement refused: ") + why.replace(QLatin1Char('\n'), QStringLiteral("; ")));
}

} // namespace

RunControl::RunControl(MeasurementContext& context, WorkState& work, PeakCommands& peaks)
    : c_(context), work_(work), controls_(work.Controls), peaks_(peaks)
{
    c_.MasterTimer.OnTick = [this] { MasterTick(); };
}

RunControl::~RunControl() { c_.MasterTimer.OnTick = nullptr; }

void RunControl::Publish() { c_.Host.ControlsChanged(controls_); }

void RunControl::MasterTick()
{
    MasterCorrectionContext m{c_.State, c_.Series, c_.Switches, c_.Tables, c_.Scpi.Messages, c_.Host,
                              c_.MasterTimer};
    try {
        CalcMasterCorrection(m);
    } catch (const std::exception& e) {
        c_.MasterTimer.Stop();
        c_.State.MasterCalcState = MasterCalcPhase::Idle;
        AppendErrorLine(c_.Scpi.Messages, e);
    }
}

void RunControl::Play()
{
    // Pressing Play while a run is going (not paused) must not start a second loop.
    if ((work_.InLoop && !c_.State.PauseRequested) || work_.Recalculating || work_.Remeasuring)
        return;
    c_.Scpi.Device.Echo.Clear();
    controls_.StopEnabled = true;
    controls_.PlayEnabled = false;
    controls_.MeasureMenusEnabled = false;
    c_.Scpi.Messages.Append(QStringLiteral("Info: play ") + DateTimeText(c_.Now()));
    const SegmentTable& selected = *c_.Tables[c_.Switches.SelectedSet];
    if (selected.Count >= 1 && c_.State.MasterCalcState == MasterCalcPhase::Idle) {
        c_.State.MasterCalcState = MasterCalcPhase::StartRequested;
        c_.MasterTimer.Start(kMasterTickMs);
        masterCompensation_ = c_.Switches.UseCompensation;
    }
    if (c_.State.PauseRequested) {
        // The paused loop goes on by itself once its wait sees the flag.
        c_.State.PauseRequested = false;
        controls_.GridLocked = true;
        controls_.PauseEnabled = true;
        Publish();
        c_.Scpi.Pump.Wake();
        return;
    }
    controls_.GridLocked = true;
    controls_.Busy = true;
    Publish();
    try {
        const DeviceState& d = c_.Scpi.Device;
        if (!d.DeviceConnected || !d.IsKnown()) {
            c_.Host.ShowErrorBox(QStringLiteral("No device selected or device not supported"));
            LogRefusal(c_.Scpi.Messages, QStringLiteral("No device selected or device not supported"));
            controls_.PlayEnabled = true;
            controls_.StopEnabled = false;
            controls_.PauseEnabled = false;
            Publish();
        } else {
            c_.State.MeasureMode = ChooseMeasureMode(d, c_.Switches.EmiZeroSpan);
            if (c_.State.MeasureMode)
                RunLoop(*MakeModeRunner(*c_.State.MeasureMode));
            else
                // No box, but the operator learns why Play did nothing.
                c_.Scpi.Messages.Append(QStringLiteral("Info: no measurement loop for the ") + FamilyText(d) +
                                        QStringLiteral(" analyser family, nothing measured"));
        }
    } catch (const std::exception& e) {
        AppendErrorLine(c_.Scpi.Messages, e);
    }
    AfterRun();
}

void RunControl::AfterRun()
{
    // However the run ended, no time is left of it.
    c_.State.RemainingMeasureSeconds = 0;
    if (!controls_.RemainingText.isEmpty())
        controls_.RemainingText = SecondsText(0);
    c_.State.MasterCalcState = MasterCalcPhase::Idle;
    c_.MasterTimer.Stop();
    c_.State.CorFastPath = false;
    controls_.GridLocked = false;
    if (c_.Scpi.Debug.DebugMode)
        c_.Scpi.Messages.Append(QStringLiteral("Info: ") + DateTimeText(c_.Now()));
    EndWork(work_, c_.Scpi, c_.Host);
}

void RunControl::Stop()
{
    controls_.StopEnabled = false;
    controls_.PauseEnabled = false;
    controls_.PlayEnabled = false;
    c_.State.MasterCalcState = MasterCalcPhase::Idle;
    c_.MasterTimer.Stop();
    c_.State.CorFastPath = false;
    c_.State.RemainingMeasureSeconds = 0;
    c_.State.StopRequested = true;
    // A stopped max-hold run is over: the next Play measures once unless "MaxHold" is set again.
    if (c_.Parameters.MaxHold) {
        c_.Parameters.MaxHold = false;
        c_.Host.MaxHoldCleared();
    }
    c_.Scpi.Messages.Append(QStringLiteral("Info: measurement waiting to stop"));
    c_.State.PauseRequested = false;
    Publish();
    c_.Scpi.Pump.Wake();
}

void RunControl::Pause()
{
    if (!work_.InLoop)
        return;
    c_.Scpi.Messages.Append(QStringLiteral("Info: measurement waiting for pause"));
    controls_.PlayEnabled = true;
    controls_.StopEnabled = true;
    controls_.PauseEnabled = false;
    c_.State.PauseRequested = true;
    Publish();
}

void RunControl::RunLoop(ModeRunner& runner)
{
    FlagScope loop(work_.InLoop);
    const MeasureSet set = c_.Switches.SelectedSet;
    const SetSeries series = SeriesOfSet(c_, set);
    if (!series.Complete())
        throw std::logic_error("the main chart's traces are not set up");
    // The run works on a copy of the plan, so that loading another one meanwhile cannot change it.
    const SegmentTable table = *c_.Tables[set];
    if (Refused(table, set))
        return;
    // The margin is read again before every correction pass (RunPass).
    SetTraces traces{*series.Raw, *series.Corrected, series.CorrectedColor, *series.Limit, 0.0, peaks_.Peaks(set)};
    SegmentResults results;
    controls_.PlayEnabled = false;
    controls_.StopEnabled = true;
    controls_.PauseEnabled = true;
    ClearStopRequest(c_.State);
    AnalyserOwnership owned(c_.Scpi, [&s = c_.State] { return s.StopRequested; });
    controls_.ProgressPosition = 1;
    Publish();
    passCount_ = 0;
    resultsReplaced_ = false;
    PlanTally tally;
    // The grid's "MaxHold" is read at the end of every pass (it may be switched while paused;
    // Stop clears it). A pass that measured no segment ends the run: repeating it would only
    // send the preset again and again.
    int measured = 0;
    do {
        measured = RunPass(runner, table, traces, results, tally, set);
        c_.Scpi.Pump.ProcessEvents();
    } while (c_.Parameters.MaxHold && measured > 0 && !c_.State.StopRequested);
    // A run that measured nothing and was not stopped would otherwise read as a clean one.
    if (passCount_ == 1 && measured == 0 && !c_.State.StopRequested && tally.Planned() == 0)
        c_.Scpi.Messages.Append(QStringLiteral("Warning: nothing measured: no segment of Set") +
                                QString::number(SetNumber(set)) + QStringLiteral(" is checked"));
    if (passCount_ > 1)
        KeepHeldMaximum(traces, set);
    // A run that measured less than its plan ends with a line that says so. The report prints it
    // with the results it describes: a run that left the last results as they were leaves theirs.
    const QString summary = tally.Summary(SetNumber(set));
    if (!summary.isEmpty())
        c_.Scpi.Messages.Append(summary);
    if (resultsReplaced_)
        traces.Peaks.RunNote = summary;
    controls_.PlayEnabled = true;
    controls_.StopEnabled = false;
    Publish();
}

// Each pass lists the peaks of the segments it has measured, so the Stop that ends a max-hold run
// would take with it the peaks of every segment the last pass did not reach, while the held trace
// still shows them. The raw trace holds, point by point, the level behind the held corrected one,
// so the corrected trace and its peaks are built from it as "Displ. peaks" builds them: every
// segment lists the peaks of its held maximum, and "Displ. peaks" later lists the same.
void RunControl::KeepHeldMaximum(SetTraces& traces, MeasureSet set)
{
    traces.Margin = static_cast<double>(c_.Parameters.MarginDb[set]);
    CorrectionPass pass{c_.State, c_.Series, c_.Switches, c_.Scpi.Messages, c_.Scpi.Debug, c_.Host, c_.Scpi.Pump};
    RecalcCorrectedTrace(pass, traces, {});
}

bool RunControl::Refused(const SegmentTable& table, MeasureSet set)
{
    QString refusal;
    const int n = table.Count;
    if (!c_.Scpi.Device.DeviceConnected)
        refusal = QStringLiteral("No Device selected");
    else if (n < 1) {
        refusal = QStringLiteral("Seg Count<<: ") + QString::number(n) + QStringLiteral("   ,maybe no project loaded");
        // A project is loaded, but its segment file is not there: say which.
        const QString& missing = c_.Parameters.MissingSegments[set];
        if (!missing.isEmpty())
            refusal += QLatin1Char('\n') + missing;
    }
    else if (n > SegmentTable::kMaxSegments)
        refusal = QStringLiteral("Seg Count>>: ") + QString::number(n);
    else {
        // A set whose limit line is missing would list no peak and look clean; a missing
        // correction would shift every level.
        refusal = c_.Parameters.MissingLimit[set];
        if (refusal.isEmpty())
            refusal = c_.Parameters.MissingCorrection;
    }
    if (refusal.isEmpty())
        return false;
    // Refused before anything is cleared or sent: the traces and lists on the chart stay.
    c_.Host.ShowErrorBox(refusal);
    LogRefusal(c_.Scpi.Messages, refusal);
    if (n < 1 || n > SegmentTable::kMaxSegments) {
        c_.State.RemainingMeasureSeconds = 0;
        controls_.EstimateText.clear();
        controls_.RemainingText.clear();
    }
    controls_.PlayEnabled = true;
    controls_.StopEnabled = false;
    controls_.PauseEnabled = false;
    Publish();
    return true;
}

void RunControl::WaitWhilePaused(int segment)
{
    c_.Scpi.Messages.Append(QStringLiteral("Info: measurement pause at seg ") + QString::number(segment));
    controls_.GridLocked = false;
    controls_.PlayEnabled = true;
    controls_.StopEnabled = true;
    Publish();
    for (;;) {
        if (c_.State.StopRequested) {
            c_.Scpi.Messages.Append(QStringLiteral("Info: measurement paused & stopped"));
            controls_.GridLocked = false;
            controls_.PlayEnabled = true;
            controls_.StopEnabled = true;
            Publish();
            return;
        }
        if (!c_.State.PauseRequested)
            return;
        c_.Scpi.Pump.WaitEvents(kPauseWaitMs);
    }
}

int RunControl::RunPass(ModeRunner& runner, const SegmentTable& table, SetTraces& traces, SegmentResults& results,
                         PlanTally& tally, MeasureSet set)
{
    ScpiContext& sc = c_.Scpi;
    const CheckListModel& checks = *c_.SegmentChecks[set];
    // The loop refused any other count (Refused).
    const int n = table.Count;
    int lastChecked = 0;
    for (int i = 1; i <= n; ++i) {
        if (SegmentChecked(checks, i)) {
            lastChecked = i;
            tally.Plan(i);
        }
    }
    // The last results stay until the run brings its first point: a run that the analyser answers
    // nothing in, or loses before that, leaves them as they were; from then on the chart shows
    // only this run (a max-hold pass after the first shows the run's held results). The runners
    // add a segment's points to a trace of their own; the point loops show them on the raw trace
    // as they come, and the segment reaches the traces and the peaks once it ends, complete or
    // cut short after some points: what a run measured never leaves an empty chart.
    const auto clearResults = [&] {
        if (std::exchange(resultsReplaced_, true))
            return;
        HostBusyCursor busy(c_.Host);
        traces.Raw.Clear();
        traces.Corrected.Clear();
        traces.Peaks.Clear();
        c_.Host.RepaintChart();
    };
    TChartSeries segmentPoints;
    const std::optional<uint32_t> estimate =
        runner.Mode() == MeasureMode::Sweep
            ? std::optional<uint32_t>(static_cast<uint32_t>(RoundHalfEven(table.TotalTimeMs / 1000.0)))
            : CalcMeasureTime(table, runner.Mode(), sc.Device, sc.Debug);
    c_.State.RemainingMeasureSeconds = estimate.value_or(0);
    controls_.EstimateText = estimate ? SecondsText(*estimate) : QString();
    controls_.RemainingText = controls_.EstimateText;

    const int lastSweep = std::max(table.Segment(n).SweepMs, 0);
    controls_.ProgressPosition = 0;
    controls_.ProgressMax = n * lastSweep;
    controls_.ProgressStep = lastSweep;

    controls_.PassText = QString::number(++passCount_);
    Publish();

    // The run itself ended the pass on the analyser's failure (not the operator's Stop), and why
    // in short (empty when the caller said it in a line of its own and noted its shortfall).
    bool failed = false;
    QString failure;
    PassContext passContext{sc, c_.State, c_.Host, c_.Switches, table, segmentPoints,
                            [&sc, n](int i, const QString& ending) {
                                sc.Messages.Append(QStringLiteral("Info: measurement start seg ") +
                                                   QString::number(i) + QStringLiteral(" of ") +
                                                   QString::number(n) + ending);
                            },
                            [this, &failed, &failure](const QString& line) {
                                if (!failed && !c_.State.StopRequested) {
                                    failed = true;
                                    failure = FailureReason(line);
                                }
                                if (!line.isEmpty())
                                    c_.Scpi.Messages.Append(line);
                                Stop();
                            },
                            c_.Now};
    passContext.RawColor = c_.Switches.RawColor[set];
    traces.RawColour = passContext.RawColor;
    // A chart drawn anew for every point would cost a long trace's drawing time per point: it is
    // drawn at a segment's first point, then when the last drawing is kComingRepaintMs old.
    int measuring = 0;
    uint32_t repaintedMs = 0;
    passContext.PointAdded = [&] {
        clearResults();
        c_.Host.SetChartAutoRepaint(false);
        results.ShowComing(traces, measuring, segmentPoints.XValues().Values(),
                           segmentPoints.YValues().Values());
        c_.Host.SetChartAutoRepaint(true);
        const uint32_t now = sc.Pump.TickCount();
        if (segmentPoints.Count() == 1 || now - repaintedMs >= kComingRepaintMs) {
            repaintedMs = now;
            c_.Host.RepaintChart();
        }
    };
    ScpiPreset(sc);
    ScpiSetupDbuv(sc);
    runner.PassSetup(passContext);

    CorrectionPass correction{c_.State, c_.Series, c_.Switches, sc.Messages, sc.Debug, c_.Host, sc.Pump};
    int measured = 0;
    // The last segment measured to its end, for the end notice.
    int lastDone = 0;
    const bool pointLoop = PointByPoint(runner.Mode());
    for (int i = 1; i <= n; ++i) {
        sc.Pump.ProcessEvents();
        if (!SegmentChecked(checks, i))
            continue;
        // An analyser lost before this segment (the preset, or the last segment's end) ends the run.
        runnersteps::EndIfGone(passContext);
        if (c_.State.PauseRequested)
            WaitWhilePaused(i);
        if (c_.State.StopRequested) {
            sc.Messages.Append(QStringLiteral("Info: measurement stopped"));
            controls_.GridLocked = false;
            controls_.PlayEnabled = true;
            controls_.StopEnabled = true;
            controls_.MeasureMenusEnabled = true;
            Publish();
            break;
        }
        ReadRunSwitches();
        StartRawTrace(segmentPoints, sc.Device.TracePoints);
        measuring = i;
        passContext.Shortfalls.clear();
        const bool failedBefore = failed;
        const int added = runner.RunSegment(passContext, i);
        // An analyser lost at the segment's end ends the run as one lost inside it.
        runnersteps::EndIfGone(passContext);
        const bool cut = failed && !failedBefore;
        const QString shortfall = SegmentShortfall(passContext, cut, failure, added, pointLoop);
        // A failure its caller said in a line of its own ends the run for the segment's reasons.
        if (cut && failure.isEmpty())
            failure = passContext.Shortfalls.join(QStringLiteral(", "));
        tally.Record(i, added == 0 ? PlanTally::Measured::None
                        : shortfall.isEmpty() ? PlanTally::Measured::Whole : PlanTally::Measured::InPart,
                     shortfall);
        // A segment that brought no trace was not measured: a max-hold pass of such segments
        // is not repeated.
        if (added > 0)
            ++measured;
        if (added == 0) {
            // The segment brought no trace (the analyser is gone, its trace was faulty, Stop or
            // an error came first): no "done" line, no mail notice, no beep for it.
            results.DropComing(traces);
            c_.Host.RepaintChart();
            continue;
        }
        // A segment that Stop, a lost link or a refused answer cut short shows the points it
        // measured as any other: the first point of the run has taken the last results away.
        // One the analyser's failure cut says how far its points came.
        if (cut && pointLoop && added < sc.Device.TracePoints)
            sc.Messages.Append(QStringLiteral("Warning: seg %1 of %2 ").arg(i).arg(n) + shortfall);
        clearResults();
        // A margin changed while the run waited paused counts from the next segment on.
        traces.Margin = static_cast<double>(c_.Parameters.MarginDb[set]);
        // Every pass after the first repeats a max-hold run, also when Stop has just cleared "MaxHold".
        CorrectSegment(correction, traces, results, i, segmentPoints, passCount_ > 1);
        c_.Host.RepaintChart();
        // Ended by the analyser's failure: no "done" line, notice or beep.
        if (cut)
            continue;
        if (!c_.State.StopRequested)
            lastDone = i;
        controls_.ProgressPosition += controls_.ProgressStep;
        Publish();
        sc.Messages.Append(QStringLiteral("Info: measurement done  seg ") + QString::number(i) + QStringLiteral(" of ") +
                           QString::number(n));
        // After Stop only the end notice goes: a mail server that is slow to answer would hold the
        // stop once per notice.
        if (runner.SendsNotices() && !c_.State.StopRequested)
            c_.Host.NotifySegmentDone(i, n);
        if (c_.Switches.Beep)
            c_.Host.Beep(2000, 300);
    }

    // The segments no pass reached were left out by what ended this one.
    if (failed)
        tally.EndedBy(failure);
    else if (c_.State.StopRequested)
        tally.EndedBy(QString::fromLatin1(kStoppedByOperator));
    // The end notice says how the pass ended; a segment left unchecked is not missing. Only the
    // operator's Stop is called one: a run ended by the analyser's failure says so, and one that
    // went to its end with segments not measured or measured in part counts them.
    RunEnd end{RunEnding::AllSegmentsDone, lastDone, n, tally.Planned(), tally.Count(PlanTally::Measured::None),
               tally.Count(PlanTally::Measured::InPart)};
    if (!sc.Device.DeviceConnected)
        end.Ending = RunEnding::AnalyserLost;
    else if (lastDone < lastChecked && failed)
        end.Ending = RunEnding::AnalyserFailed;
    else if (lastDone < lastChecked && c_.State.StopRequested)
        end.Ending = RunEnding::StoppedByOperator;
    else if (!tally.Complete())
        end.Ending = RunEnding::PartOfPlan;
    // Nothing more goes to an analyser that is gone.
    if (sc.Device.DeviceConnected)
        ScpiAutoCalOn(sc);
    if (runner.SendsNotices())
        c_.Host.NotifyRunEnd(end);
    if (c_.Switches.Beep) {
        c_.Host.Beep(1000, 300);
        c_.Host.Beep(2000, 300);
    }
    c_.MasterTimer.Stop();
    return measured;
}

void RunControl::ReadRunSwitches()
{
    c_.Host.ReadRunSwitches();
    if (c_.Switches.UseCompensation == masterCompensation_)
        return;
    // The master curve holds the compensation as it was: the segments go point by point until it
    // has been built again with the new choice.
    masterCompensation_ = c_.Switches.UseCompensation;
    if (TChartSeries* master = c_.Series[SeriesRole::masterCorrection])
        master->Clear();
    c_.State.MasterCalcState = MasterCalcPhase::StartRequested;
    c_.MasterTimer.Start(kMasterTickMs);
}

bool RunControl::RequestClose()
{
    if (!work_.Running()) {
        DisconnectInstrument(c_.Scpi);
        return true;
    }
    work_.ClosePending = true;
    Stop();
    return false;
}

void RunControl::UpdateMeasureTimeEstimate()
{
    const DeviceState& d = c_.Scpi.Device;
    c_.State.MeasureMode = ChooseMeasureMode(d, c_.Switches.EmiZeroSpan);
    const SegmentTable& table = *c_.Tables[c_.Switches.SelectedSet];
    std::optional<uint32_t> estimate;
    if (c_.State.MeasureMode)
        estimate = CalcMeasureTime(table, *c_.State.MeasureMode, d, c_.Scpi.Debug);
    controls_.EstimateText = estimate ? SecondsText(*estimate) : QString();
    Publish();
}
