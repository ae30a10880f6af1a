#ifndef ZENDRIK_MEASUREMENT_CORRECTEDTRACE_H
#define ZENDRIK_MEASUREMENT_CORRECTEDTRACE_H

#include "chart/canvas/PlotColor.h"

#include <functional>
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
    // When set, the correction pass keeps here, point by point, the raw level behind the corrected
    // level it keeps: with max hold, the raw trace of the held maximum.
    std::vector<double>* HeldRaw = nullptr;
};

// The correction pass after a segment: corrects the last `samples` raw points into the corrected
// trace (through the master curve where it covers the point, else term by term) and keeps the
// larger level with max hold once the corrected trace is as long as the raw one. samples is the
// number of points the segment really added; 0 skips the pass.
void Calc_Cor_Single(CorrectionPass& c, SetTraces& set, bool maxHold, int samples);

// The peaks of what that pass corrected: the corrected points at the places of the last
// `samples` raw points that come within the margin of the limit (PeakWalk.h says which) are
// listed. With max hold these are the held levels, not the ones the segment measured.
void ListSegmentPeaks(CorrectionPass& c, SetTraces& set, int samples);

// "Displ. peaks": rebuilds the whole corrected trace and the peak lists of a set from its raw
// trace, term by term. It lets the window work every 200 points and ends early on Stop; the
// corrected trace then holds the points done so far. progress(position, maximum) follows the
// walk. Returns the number of points processed.
int RecalcCorrectedTrace(CorrectionPass& c, SetTraces& set, const std::function<void(int, int)>& progress);

#endif
