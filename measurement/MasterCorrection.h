#ifndef ZENDRIK_MEASUREMENT_MASTERCORRECTION_H
#define ZENDRIK_MEASUREMENT_MASTERCORRECTION_H

#include "app/MeasureSet.h"

class MainChartSeries;
class MessageLog;
class RunHost;
class TickTimer;
struct MeasurementState;
struct RunSwitches;
struct SegmentTable;

// One step of the combined correction curve (the master curve, Series16), called once per tick
// of the correction-curve timer while a run is active: each tick adds the correction sum at one
// more 4 kHz step, so that the curve never blocks the window. The span comes from the selected
// set's segment table when the build starts.
struct MasterCorrectionContext {
    MeasurementState& State;
    const MainChartSeries& Series;
    const RunSwitches& Switches;
    const PerSet<SegmentTable*>& Tables;
    MessageLog& Messages;
    RunHost& Host;
    TickTimer& Timer;
};

void CalcMasterCorrection(MasterCorrectionContext& c);

#endif
