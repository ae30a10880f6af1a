#ifndef ZENDRIK_MEASUREMENT_CORRECTEDTRACE_H
#define ZENDRIK_MEASUREMENT_CORRECTEDTRACE_H

#include "chart/canvas/PlotColor.h"

#include <functional>
#include <map>
#include <span>
#include <utility>
#include <vector>

class DebugLog;
class EventPump;
class MainChartSeries;
class MessageLog;
class PeakLists;
class RunHost;
class TChartSeries;
struct MeasurementState;
struct RunSwitches;

// What a correction pass reads besides the set: the correction and master series, the switches
// ("MaxFilter", "use compensation", the selected set), the logs and the window.
struct CorrectionPass {
    MeasurementState& State;
    const MainChartSeries& Series;
    const RunSwitches& Switches;
    MessageLog& Messages;
    DebugLog& Debug;
    RunHost& Host;
    EventPump& Pump;
};

// The traces and lists of one measurement set.
struct SetTraces {
    TChartSeries& Raw;
    TChartSeries& Corrected;
    TColor PointColour; // of points added to the corrected trace
    TChartSeries& Limit;
    double Margin;      // dB
    PeakLists& Peaks;
    TColor RawColour = clDefault; // of points a run writes into the raw trace
};

// One point of a segment: its frequency (kHz), the level measured there and the corrected level.
struct SegmentPoint {
    double X;
    double Raw;
    double Corrected;
};

// What a run shows, segment by segment of its plan: the points each segment brought or, with max
// hold, its held maximum per frequency. The traces are written from it in the plan's order, so a
// segment that brings nothing in a pass moves no other segment's points and keeps its own.
class SegmentResults {
public:
    bool Has(int segment) const { return segments_.contains(segment); }
    // Takes a segment's points: they replace what it had or, with maxHold, each frequency keeps
    // the larger corrected level (with the raw level behind it), and a frequency only one of them
    // has stays as it is. Then writes the raw and corrected traces (those of the segment only, when
    // the traces hold what the results held before) and returns where the segment's points are in
    // them, [first, end).
    std::pair<int, int> Keep(SetTraces& set, int segment, std::vector<SegmentPoint> points, bool maxHold);
    // The raw trace shows the points of the segment being measured as they come (xs, ys: all of
    // them so far) in the segment's place; its held points above the last one that came stay
    // until new points reach them.
    void ShowComing(SetTraces& set, int segment, std::span<const double> xs, std::span<const double> ys);
    // The segment being measured ends without points to keep: the raw trace shows what it held.
    void DropComing(SetTraces& set);
    // Where each segment's points are in the traces, [first, end), in the plan's order.
    std::vector<std::pair<int, int>> Ranges() const;

private:
    using Level = double SegmentPoint::*;
    // Writes points in the segment's place in one trace, which shows `shown` points there now, the
    // first `same` of them as they stay. Returns where the segment's points begin.
    int Show(TChartSeries& series, TColor colour, Level level, int segment, size_t shown, size_t same,
             std::span<const SegmentPoint> points) const;

    std::map<int, std::vector<SegmentPoint>> segments_;
    // The segment whose coming points the raw trace shows (0: none), how many points the trace
    // shows in its place and how many of those came.
    int coming_ = 0;
    size_t comingShown_ = 0;
    size_t comingCount_ = 0;
};

// The correction pass after a segment of a run: corrects the points it measured (through the
// master curve where it covers the point, else term by term), keeps them in the results (with
// max hold the larger level per frequency), writes the traces from the results and lists the
// peaks among the segment's points as kept (PeakWalk.h says which); with max hold the lists are
// those of every segment's held points. No points change nothing.
void CorrectSegment(CorrectionPass& c, SetTraces& set, SegmentResults& results, int segment,
                    const TChartSeries& measured, bool maxHold);

// "Displ. peaks": rebuilds the whole corrected trace and the peak lists of a set from its raw
// trace, term by term. It lets the window work every 200 points and ends early on Stop; the
// corrected trace then holds the points done so far. progress(position, maximum) follows the
// walk. Returns the number of points processed.
int RecalcCorrectedTrace(CorrectionPass& c, SetTraces& set, const std::function<void(int, int)>& progress);

#endif
