#ifndef ZENDRIK_DATAFILES_PROJECTTARGETS_H
#define ZENDRIK_DATAFILES_PROJECTTARGETS_H

#include "app/MainChartSeries.h"
#include "app/MeasureSet.h"
#include "chart/canvas/PlotColor.h"
#include "datafiles/DataFileContext.h"

#include <QString>
#include <cstdint>
#include <functional>

class AxisBounds;
class CheckListModel;
class GridInstrument;
class ParameterGridModel;
class TableBuffer;
class TChartSeries;
struct GeneratorViewValues;
struct SegmentTable;

// The coverage view's chart: its three correction series (drawn white) and its level axis.
struct CoverageTargets {
    TChartSeries* cableCorrection = nullptr;
    TChartSeries* amplifierCorrection = nullptr;
    TChartSeries* antennaFactor = nullptr;
    AxisBounds* levelAxis = nullptr;
};

// The colours loaded tables are drawn in; the main window sets them from its colour table.
struct ProjectColors {
    PerSet<TColor> Limit{0x0000FF, 0xFF0000};
    PerSet<TColor> Margin{clOlive, clPurple};
    TColor Cable = 0x000080;
    TColor Lisn = 0xF0CAA6;
    TColor Amplifier = 0x800080;
    TColor Antenna = 0xC0DCC0;
    PerSet<TColor> SegmentMarks{clYellow, clWhite};
    TColor GeneratorAmp = clDefault;
    TColor TemCell = clDefault;
    TColor Coverage = clWhite;
};

// What the grid's rows set besides series and axes.
struct GridState {
    PerSet<int32_t> MarginDb{};     // "Margin1[dB]", "Margin2[dB]"
    bool MaxHold = false;           // "MaxHold": a run repeats its passes until Stop
    bool ShowMarkerNumbers = false; // "Marker": numbers beside the peak circles
};

// Everything ApplyProjectFiles and the grid's validation work on. Owned by the main window (tests
// build their own); every pointer may be null, which leaves the items that need it undone.
struct ProjectTargets {
    ParameterGridModel* MainGrid = nullptr;      // ValueListEditor1
    ParameterGridModel* CoverageGrid = nullptr;  // the coverage view's grid
    ParameterGridModel* GeneratorGrid = nullptr; // the generator view's settings grid
    GeneratorViewValues* Generator = nullptr;    // the generator view's edit boxes
    // The table editor's grid: every table read passes through it.
    TableBuffer* Table = nullptr;

    // The main chart's series that projects and the grid fill; a null one leaves its items undone.
    MainChartSeries Series;
    AxisBounds* FrequencyAxis = nullptr; // the main chart's bottom axis (kHz)
    AxisBounds* LevelAxis = nullptr;     // the main chart's left axis (dBuV)
    CoverageTargets Coverage;
    ProjectColors Colors;

    PerSet<SegmentTable*> Segments{};
    PerSet<CheckListModel*> SegmentLists{}; // CheckListBox1, CheckListBox2

    GridState* State = nullptr;
    GridInstrument* Instrument = nullptr;
    DataFileContext Files;

    // Reads a report header file (".\rep\" + name); the report header editor supplies it.
    std::function<void(const QString& path)> LoadReportHeader;
    // Empties the estimated-time label before a segment table is replaced.
    std::function<void()> ClearMeasureTimeEstimate;
    // Recomputes the estimate after a segment table or the device changed.
    std::function<void()> UpdateMeasureTimeEstimate;
    // A set's segment table was replaced by a different plan: what was measured on the old one
    // does not belong to the new one.
    std::function<void(MeasureSet set)> PlanReplaced;

    int32_t SweepWaitMarginMs() const;
};

#endif
