#ifndef ZENDRIK_MAINWINDOW_LEVELREADOUT_H
#define ZENDRIK_MAINWINDOW_LEVELREADOUT_H

#include <QChar>
#include <QString>
#include <cstdint>
#include <optional>

class TChartAxis;
class TChartSeries;

// The level of a trace at a whole-kHz frequency, as the mouse read-out and the markers show it.
struct TraceLevel {
    double Level = 0.0;
    // '^' on a point of the trace, '~' between two points, '!' outside the trace (level 0).
    QChar Status = QLatin1Char('!');
};

// The trace's X values must ascend; the two points around x are found by binary search, so a
// read-out costs the same on a trace of any length. The first point counts like every other.
// With debugText the inputs of the interpolation are written there as the debug label shows them
// ("x1<=>x2 y1<->y2 k=.. x=.. d=.. y=..").
TraceLevel InterpolateSeriesLevel(TChartSeries& series, int64_t x, QString* debugText = nullptr);

// The read-out boxes under the chart while the mouse moves over it.
struct MouseReadout {
    QString Frequency; // Edit1: the frequency under the mouse
    QString Set1;      // Edit2: status, level and unit on the corrected trace of set 1
    QString Set2;      // Edit3: the same on set 2
    QString Debug;     // Label2 (debug mode): the inputs of the last interpolation
};

// The read-out at the mouse's pixel column; nothing left of the visible range or more than one
// kHz right of it. Levels are shown with the level unit's offset and name.
std::optional<MouseReadout> ChartMouseReadout(int mouseX, const TChartAxis& bottom, TChartSeries* corrected1,
                                              TChartSeries* corrected2, int32_t unitOffset, const QString& unitName,
                                              bool debug = false);

#endif
