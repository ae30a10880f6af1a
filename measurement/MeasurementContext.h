#ifndef ZENDRIK_MEASUREMENT_MEASUREMENTCONTEXT_H
#define ZENDRIK_MEASUREMENT_MEASUREMENTCONTEXT_H

#include "app/MeasureSet.h"
#include "chart/canvas/PlotColor.h"

#include <QDateTime>
#include <functional>

class CheckListModel;
class MainChartSeries;
class RunHost;
class TChartSeries;
class TickTimer;
struct MeasurementState;
struct RunParameters;
struct RunSwitches;
struct ScpiContext;
struct SegmentTable;

// Everything a run and the peak commands work on. All of it is owned elsewhere (the application
// and the main window); the grid rows, switches, tables and check lists are read when they are
// needed, so changes made while a run is paused count. Stop clears the parameters' "MaxHold".
struct MeasurementContext {
    ScpiContext& Scpi;
    MeasurementState& State;
    const MainChartSeries& Series;
    PerSet<SegmentTable*> Tables;
    PerSet<CheckListModel*> SegmentChecks; // CheckListBox1, CheckListBox2: row 0 "all", row i segment i
    RunParameters& Parameters;
    const RunSwitches& Switches;
    RunHost& Host;
    TickTimer& MasterTimer; // Timer2
    std::function<QDateTime()> Now = [] { return QDateTime::currentDateTime(); };
};

// What a set's run and its recalculation work on: its raw and corrected trace, its limit line
// (null where the chart holds none) and the colour of its corrected points.
struct SetSeries {
    TChartSeries* Raw;
    TChartSeries* Corrected;
    TChartSeries* Limit;
    TColor CorrectedColor;

    bool Complete() const { return Raw && Corrected && Limit; }
};
SetSeries SeriesOfSet(const MeasurementContext& c, MeasureSet set);

#endif
