#ifndef ZENDRIK_MAINWINDOW_MARKERTAB_H
#define ZENDRIK_MAINWINDOW_MARKERTAB_H

#include "app/MeasureSet.h"
#include "chart/canvas/PlotColor.h"
#include "mainwindow/ZoomRules.h"

#include <QString>
#include <QStringList>
#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

class DebugLog;
class MessageLog;
class PeakLists;
class TChartSeries;
struct MainWindowColors;
struct MarkerStore;
struct OverlayPainter;

// The Marker tab and the clicks on the main chart: markers placed with the mouse, harmonic lines,
// the peak lists' crosshair and "Select 6 maxpeaks". The handlers read their boxes into these
// structs, call one function and show the result.

// The boxes of one set on the Marker tab.
struct SetMarkerBoxes {
    bool Armed = false; // "M1" (CheckBox32) / "M2" (CheckBox33): the next click places a marker
    bool Show = true;   // "show" (CheckBox34 / CheckBox35)
};

// The boxes a click on the chart reads and changes.
struct MarkerBoxes {
    PerSet<SetMarkerBoxes> Sets{};
    bool Harmonics = false; // "Harmonics" (CheckBox20)
    bool Magnify = false;   // "Magnify" (CheckBox23)
};

// Ticking "M1" (set 1) or "M2" (set 2) unticks the other and "Harmonics" and shows that set's
// markers; unticking changes nothing else.
void ArmMarker(MarkerBoxes& boxes, MeasureSet set, bool checked);

// What a mouse-down on the main chart works on.
struct ChartClick {
    // The front image over the chart with the chart's axes: lines and flags drawn outside a
    // paint go there and last until the next paint.
    const OverlayPainter& Front;
    // Repaints the chart at once (the harmonic lines of an earlier click vanish).
    std::function<void()> RepaintChart;
    MarkerBoxes& Boxes;
    PerSet<MarkerStore*> Markers;
    PerSet<TChartSeries*> Corrected; // Series7, Series9
    const MainWindowColors& Colors;
    int32_t HarmonicsOrder = 7;         // advanced option "Harmonics_Order"
    int32_t UnitOffset = 0;             // LevelUnitOffset
    QString UnitName;                   // LevelUnitName
    MessageLog& Messages;
    DebugLog& Debug;
};

// Mouse-down at pixel column mouseX (OnMouseDown of Chart1): freezes the axis bounds (returned,
// for the zoom rules), draws the harmonics of the clicked frequency while "Harmonics" is checked,
// and places one marker on the armed set ("M1"/"M2" untick themselves). A click left of the
// visible range or more than 1 kHz right of it places nothing; a full store (50 markers) refuses
// with an "Info: " line.
ChartBounds ChartMouseDown(ChartClick& click, int mouseX);

// "Clear All" and "Clear Last" of a set.
void ClearAllMarkers(MarkerStore& store);
void ClearLastMarker(MarkerStore& store);

// "Copy Markers" (Button10): both sets' peak lists (and their re-measurement lists and grids)
// replaced by the markers: the dBuV label as the peak line, the frequency in kHz and the level in
// dBuV as numbers, so that the re-measurement and the peak marks read them like any peak.
void CopyMarkers(const PerSet<const MarkerStore*>& markers, const PerSet<PeakLists*>& peaks);

// "Select 6 maxpeaks" (CheckBox18, CheckBox19): the rows to select, one per pass of six. Each
// pass takes the highest level above -10000 not taken before (the earlier row on a tie), row 0
// when none is left; levels that do not parse are passed over.
std::vector<int> SelectMaxPeaks(const QStringList& levels);

// The crosshair of a double-click on a peak list (ListBox7DblClick, ListBox1DblClick,
// ListBox2DblClick): the frequency and level of row, or nothing when either text does not parse.
struct CrosshairPoint {
    double Frequency; // kHz
    double Level;     // dBuV
};
std::optional<CrosshairPoint> PeakCrosshair(const QStringList& freqs, const QStringList& levels, int row);

// Repaints the chart and draws the crosshair of row on the front image; false (nothing done)
// when the row's texts do not parse.
bool ShowPeakCrosshair(const OverlayPainter& front, const std::function<void()>& repaintChart, TColor colour,
                       const QStringList& freqs, const QStringList& levels, int row);

#endif
