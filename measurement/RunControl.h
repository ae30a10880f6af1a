#ifndef ZENDRIK_MEASUREMENT_RUNCONTROL_H
#define ZENDRIK_MEASUREMENT_RUNCONTROL_H

#include "measurement/PeakLists.h"
#include "measurement/RunHost.h"

#include <QDateTime>
#include <functional>
#include <memory>
#include <vector>

class CheckListModel;
class MainChartSeries;
class SegmentWork;
enum class DriftHandling;
struct RemeasureGrid;
struct MeasurementState;
struct RunParameters;
struct RunSwitches;
struct ScpiContext;
struct SegmentJob;
struct SegmentTable;
struct SetTraces;

// Everything a run works on. All of it is owned elsewhere (the application and the main
// window); the grid rows, switches, tables and check lists are read when they are needed, so
// changes made while a run is paused count. Stop clears the parameters' "MaxHold".
struct MeasurementContext {
    ScpiContext& Scpi;
    MeasurementState& State;
    const MainChartSeries& Series;
    SegmentTable& Table1;
    SegmentTable& Table2;
    CheckListModel& SegmentChecks1; // CheckListBox1: row 0 "all", row i segment i
    CheckListModel& SegmentChecks2; // CheckListBox2
    RunParameters& Parameters;
    const RunSwitches& Switches;
    RunHost& Host;
    TickTimer& MasterTimer; // Timer2
    std::function<QDateTime()> Now = [] { return QDateTime::currentDateTime(); };
};

// Play, Pause and Stop of an emission run, the loop frame the four measurement modes share, the
// run-time estimate, "Displ. peaks" and "Clear peaks". Everything runs on the GUI thread: a run
// lets the window work inside its waits, and Pause, Stop and resuming Play are handled there.
class RunControl {
public:
    explicit RunControl(MeasurementContext& context);
    ~RunControl();
    RunControl(const RunControl&) = delete;
    RunControl& operator=(const RunControl&) = delete;

    // "Play" (BitBtn1): starts a run of the selected set, or resumes a paused one.
    void Play();
    // "Stop" (BitBtn2): the running loop ends at its next check.
    void Stop();
    // "Pause" (BitBtn3): the run waits before its next checked segment.
    void Pause();
    // "Displ. peaks" (Button8): the corrected trace and peaks of the selected set anew.
    void DisplayPeaks();
    // "Clear peaks" (Button6): the peak lists of both sets emptied.
    void ClearPeaks();
    // "Measure (consider drift)" (Meassure1), "Measure (ignore drift)" (Measure21): the selected
    // rows of the selected set's peak list measured again with the grid's values. Stop ends it.
    void MeasurePeaks(DriftHandling drift, const std::vector<int>& selectedRows, const RemeasureGrid& grid);
    // The main window wants to close: true when it may close now (the instrument sessions are
    // then closed). During a run the run is stopped first and the window is closed through the
    // host once the loop has returned.
    bool RequestClose();
    // Mode and estimate for the selected set (after a project load, an identification, a change
    // of set or of "EMI(ZeroSpan)").
    void UpdateMeasureTimeEstimate();

    // One tick of the correction-curve timer.
    void MasterTick();

    bool Running() const { return inLoop_ || recalculating_ || remeasuring_; }
    const RunControls& Controls() const { return controls_; }
    PeakLists& Peaks(MeasureSet set) { return OfSet(set, peaks1_, peaks2_); }

private:
    void Publish();
    void RunLoop(SegmentWork& work);
    // Refuses a run before anything is cleared or sent: no device, no plan, no limit line.
    bool Refused(const SegmentTable& table, MeasureSet set);
    // One pass over the checked segments of a set; returns how many were measured.
    int RunPass(SegmentWork& work, const SegmentTable& table, SetTraces& traces, MeasureSet set);
    // A max-hold run that repeated its pass ends with its held maximum in both traces.
    void KeepHeldMaximum(SetTraces& traces, const std::vector<double>& heldRaw, MeasureSet set);
    void AfterRun();
    // The close the window asked for during the work that just ended.
    void CloseIfPending();
    // Waits while the run is paused, until Play or Stop.
    void WaitWhilePaused(int segment);
    // The switches the operator may change while the run goes, read before each segment.
    void ReadRunSwitches();

    MeasurementContext& c_;
    RunControls controls_;
    PeakLists peaks1_{MeasureSet::Set1};
    PeakLists peaks2_{MeasureSet::Set2};
    bool inLoop_ = false;
    bool recalculating_ = false;
    bool remeasuring_ = false;
    bool closePending_ = false;
    int passCount_ = 0;
    // "use compensation" as the master curve was started with.
    bool masterCompensation_ = false;
};

#endif
