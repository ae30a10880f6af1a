#ifndef ZENDRIK_MEASUREMENT_MODERUNNER_H
#define ZENDRIK_MEASUREMENT_MODERUNNER_H

#include "chart/canvas/PlotColor.h"
#include "measurement/MeasureMode.h"

#include <QDateTime>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>
#include <optional>

class RunHost;
class TChartSeries;
struct DeviceState;
struct MeasurementState;
struct RunSwitches;
struct ScpiContext;
struct SegmentTable;

// What a mode runner works on during one pass of a run: the SCPI layer, the run state, the
// window, the switches, the run's copy of the segment table and the trace a segment's points go
// to (the run shows them once the segment is complete).
struct PassContext {
    ScpiContext& Scpi;
    MeasurementState& State;
    RunHost& Host;
    const RunSwitches& Switches;
    const SegmentTable& Table;
    TChartSeries& Raw;
    // Writes "Info: measurement start seg i of n" with the given ending (" waiting for data" or
    // " measuring "); each mode says it where its segment really starts.
    std::function<void(int segment, const QString& ending)> LogStartLine;
    // Ends the run after a failure: writes the line (none when empty), then stops as Stop does.
    std::function<void(const QString& line)> AbortRun;
    std::function<QDateTime()> Now;
    // The colour of the points added to the raw trace: the set's own, as its legend shows it.
    TColor RawColor = clDefault;
    // A point loop has added a point: the chart shows the segment's points so far.
    std::function<void()> PointAdded = [] {};
    // Why the segment being measured brings less than its plan, each in short as the line that
    // said it; the loop frame empties it before each segment.
    QStringList Shortfalls = {};

    void FallShort(const QString& reason)
    {
        if (!Shortfalls.contains(reason))
            Shortfalls << reason;
    }
};

inline constexpr const char* kWaitingForData = " waiting for data";
inline constexpr const char* kMeasuring = " measuring ";

// The per-pass set-up and per-segment work of one measurement mode; the loop frame around it is
// the same for all modes.
class ModeRunner {
public:
    virtual ~ModeRunner() = default;
    virtual MeasureMode Mode() const = 0;
    // Whether the mode sends the mail notices after each segment and at the end of a pass.
    virtual bool SendsNotices() const { return false; }
    // After the instrument preset and dBuV set-up of each pass.
    virtual void PassSetup(PassContext& pass) { (void)pass; }
    // Measures segment i (from 1) and returns the number of points it added to the raw trace.
    virtual int RunSegment(PassContext& pass, int i) = 0;
};

// The runner of a mode.
std::unique_ptr<ModeRunner> MakeModeRunner(MeasureMode mode);

// The bandwidth the SVA runners use as video bandwidth for an RBW text: the next step of the
// 1-3-10 series above it; "100000" for a text that is no number; nothing above 1 MHz.
std::optional<QString> SnapBandwidth(const QString& rbw);

#endif
