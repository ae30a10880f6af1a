#ifndef ZENDRIK_MEASUREMENT_RUNCONTROL_H
#define ZENDRIK_MEASUREMENT_RUNCONTROL_H

#include "app/MeasureSet.h"

class PeakCommands;
class ModeRunner;
class PlanTally;
struct MeasurementContext;
struct RunControls;
struct SegmentTable;
class SegmentResults;
struct SetTraces;
struct WorkState;

// Play, Pause and Stop of an emission run, the loop frame the four measurement modes share and
// the run-time estimate. Everything runs on the GUI thread: a run lets the window work inside its
// waits, and Pause, Stop and resuming Play are handled there. The run lists its peaks into the
// lists of the peak commands and shares with them which work is going (WorkState).
class RunControl {
public:
    RunControl(MeasurementContext& context, WorkState& work, PeakCommands& peaks);
    ~RunControl();
    RunControl(const RunControl&) = delete;
    RunControl& operator=(const RunControl&) = delete;

    // "Play" (BitBtn1): starts a run of the selected set, or resumes a paused one.
    void Play();
    // "Stop" (BitBtn2): the running loop, recalculation or re-measurement ends at its next check.
    void Stop();
    // "Pause" (BitBtn3): the run waits before its next checked segment.
    void Pause();
    // The main window wants to close: true when it may close now (the instrument sessions are
    // then closed). While any work goes (a run, "Displ. peaks", a re-measurement) it is stopped
    // first and the window is closed through the host once the work has returned.
    bool RequestClose();
    // Mode and estimate for the selected set (after a project load, an identification, a change
    // of set or of "EMI(ZeroSpan)").
    void UpdateMeasureTimeEstimate();

    // One tick of the correction-curve timer.
    void MasterTick();

private:
    void Publish();
    void RunLoop(ModeRunner& runner);
    // Refuses a run before anything is cleared or sent: no device, no plan, no limit line.
    bool Refused(const SegmentTable& table, MeasureSet set);
    // One pass over the checked segments of a set, tallied; returns how many brought points.
    int RunPass(ModeRunner& runner, const SegmentTable& table, SetTraces& traces, SegmentResults& results,
                PlanTally& tally, MeasureSet set);
    // A max-hold run that repeated its pass ends with the peaks of its held maximum listed.
    void KeepHeldMaximum(SetTraces& traces, MeasureSet set);
    void AfterRun();
    // Waits while the run is paused, until Play or Stop.
    void WaitWhilePaused(int segment);
    // The switches the operator may change while the run goes, read before each segment.
    void ReadRunSwitches();

    MeasurementContext& c_;
    WorkState& work_;
    // The window's run controls, shared with the peak commands: work_.Controls.
    RunControls& controls_;
    PeakCommands& peaks_;
    int passCount_ = 0;
    // The run has taken the last results off the set's traces and lists for its own.
    bool resultsReplaced_ = false;
    // "use compensation" as the master curve was started with.
    bool masterCompensation_ = false;
};

#endif
