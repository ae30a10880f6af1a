#ifndef ZENDRIK_REPORTS_CHARTFILES_H
#define ZENDRIK_REPORTS_CHARTFILES_H

#include "app/MainChartSeries.h"
#include "chart/canvas/PlotColor.h"

#include <QString>
#include <array>

class DebugLog;
class MessageLog;
class TChartAxis;
class TChartSeries;

// What the chart, compensation and reference-trace files work on: the main chart's series and
// axes, the point colours of the colour settings, and the logs. Null axes or logs are left out.
struct ChartFileContext {
    MainChartSeries Series; // a null series reads as empty and takes nothing
    TChartAxis* BottomAxis = nullptr;
    TChartAxis* LeftAxis = nullptr;
    // Point colours of a loaded chart: the colour settings Ser1 .. Ser11 (index 0 is Ser1). The
    // margin lines take the colours of their limit lines.
    std::array<TColor, 11> SeriesColors = {clDefault, clDefault, clDefault, clDefault, clDefault, clDefault,
                                           clDefault, clDefault, clDefault, clDefault, clDefault};
    // Colours of the reference traces: Trace1Seg1, Trace1Seg2, Trace2Seg1, ... Trace3Seg2.
    std::array<TColor, 6> TraceColors = {clDefault, clDefault, clDefault, clDefault, clDefault, clDefault};
    MessageLog* Messages = nullptr; // "Info: ", "Warning: " and "Error: " lines
    DebugLog* Debug = nullptr;      // the axis and header lines of a load
};

// Point colours of the compensation curves, as the main window sets them at start-up.
inline constexpr TColor kCompensationColor1 = clBlack;
inline constexpr TColor kCompensationColor2 = clGray;

// Writers: the axes, the identification and the twelve traces (chart file), or the two
// compensation curves (compensation file). The old file is replaced only by a complete new one;
// on failure it stays, the message log gets "Error: " and the reason, and the result is false.
bool SaveChartFile(const QString& fileName, const ChartFileContext& chart);
bool SaveZeroCompensation(const QString& fileName, const ChartFileContext& chart);

// Readers. The whole file is checked and staged first; only then are the targets emptied and
// filled, one bulk addition per series. A file that cannot be read, is too large or is cut short
// (its size no whole number of records), a chart or reference file without a single axis or
// header record or with an axis end that is not a number or beyond chartfile::kMaxAxisMagnitude,
// a compensation file without a compensation point, and any file with a point beyond
// plausible::kFrequencyKhz or plausible::kChartLevel (NaN and infinity included) change nothing:
// the message log gets one "Error: " line with the reason, and the result is false.
bool LoadChartFile(const QString& fileName, ChartFileContext& chart);
bool LoadZeroCompensation(const QString& fileName, ChartFileContext& chart);
// The corrected traces of a chart file (tags 7 and 9) into two series; the file's axis ranges
// apply to the main chart as with a chart load.
bool LoadReferenceTrace(const QString& fileName, TChartSeries* set1Target, TChartSeries* set2Target,
                        TColor set2Color, TColor set1Color, ChartFileContext& chart);

#endif
