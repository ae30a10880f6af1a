#ifndef ZENDRIK_MAINWINDOW_CHARTOVERLAYS_H
#define ZENDRIK_MAINWINDOW_CHARTOVERLAYS_H

#include "app/MeasureSet.h"
#include "chart/canvas/PlotColor.h"
#include "instrument/AnalyserKind.h"
#include "mainwindow/LevelUnits.h"

#include <QString>
#include <array>
#include <cstdint>

class MarkStamps;
class PeakLists;
class TCanvas3D;
class TChartAxis;
class TChartSeries;
struct MainWindowColors;
struct MarkerStore;

// The marks the main window draws over the main chart's traces: crosshair, harmonic lines, marker
// flags, peak circles and re-measure crosses, the end labels of the frequency axis. Frequencies
// (kHz) and levels (dBuV) become pixels through the chart's axes; nothing is stored, so a mark
// lasts until the next paint unless the paint draws it again.

// Where the marks go: the chart's buffer during a paint (OnBeforeDrawSeries), the front image
// outside one (mouse and list handlers), with the chart's bottom and left axes. With stamps, the
// circles, crosses and flags are copied from pictures of them drawn once (on a raster canvas).
struct OverlayPainter {
    TCanvas3D& Canvas;
    TChartAxis& Bottom;
    TChartAxis& Left;
    MarkStamps* Stamps = nullptr;
};

// A peak-list text as a number, with "." or "," as the decimal mark (as TryStrToFloatAnySep reads
// it, without its allocations: every paint reads thousands of these).
bool ParsePeakText(const QString& text, double& value);

// A crosshair through frequency x and level y across the whole plot, drawn unconditionally.
void DrawCrosshair(const OverlayPainter& p, TColor colour, double x, double y);
// A dashed vertical line at frequency x with text at pixel row (not a level); nothing unless x
// lies strictly inside the visible frequency range.
void DrawHarmonicLine(const OverlayPainter& p, TColor colour, const QString& text, double x, double row);
// A flag (a triangle 12 pixels wide and 6 high with its tip on the point) with text above it, at
// frequency x and pixel row; only strictly inside the visible frequency range.
void DrawMarkerFlag(const OverlayPainter& p, TColor colour, const QString& text, double x, double row);
// A circle of 6 pixels round (x, y), with number above it when showNumber.
void DrawPeakCircle(const OverlayPainter& p, int number, TColor colour, TColor back, bool showNumber, double x,
                    double y);
// A cross of 6 pixels at (x, y).
void DrawPeakCross(const OverlayPainter& p, TColor colour, TColor back, double x, double y);

// The marks of one set's lists: a numbered circle per peak and a cross per re-measured peak, for
// the items whose texts parse (either decimal mark) and that lie strictly inside both visible
// ranges. An empty peak list draws no crosses either.
struct PeakMarkColours {
    TColor Circle;
    TColor Cross;
    TColor Back;
};
void DrawPeakMarks(const OverlayPainter& p, const PeakLists& peaks, const PeakMarkColours& colours, bool showNumbers);

// The frequency axis' minimum and maximum written at its ends when its first and last labels
// lie more than 70 pixels inside them (scaledKhz: "kHz/MHz" texts, else whole kHz).
void DrawBottomAxisLabels(const OverlayPainter& p, bool scaledKhz);

// The harmonics 1..order of f (kHz), labelled "*1", "*2", ... at pixel row 350.
void DrawHarmonics(const OverlayPainter& p, TColor colour, double f, int order);

// The segment-mark series of the sets sit 1.6 % of the visible level range above its bottom.
void PlaceSegmentMarks(const PerSet<TChartSeries*>& marks, const TChartAxis& left);

// The numbers of a segment-mark series for the paint about to start: each number in view gets a
// custom mark position, in a row above the others where it would touch them; one out of view is
// left out by SegmentNumberText.
void ArrangeSegmentNumbers(TChartSeries& marks, const TChartAxis& bottom);
// The mark text hook of the segment-mark series: empty for a number ArrangeSegmentNumbers did not place.
void SegmentNumberText(TChartSeries* marks, int index, QString& text);

// Whether the screen cursor shows the hourglass while the main chart paints (not on the R&S
// receivers).
inline bool BusyCursorDuringPaint(DeviceFamilyCode family)
{
    return !AnalyserKind{.DeviceFamily = family}.IsRsReceiver();
}

// What the main chart's paint draws over the traces of one set.
struct SetOverlay {
    const PeakLists* Peaks = nullptr;
    bool View = true;                    // "View Set1/Set2 (on/off)" (CheckBox4 / CheckBox5)
    const MarkerStore* Markers = nullptr;
    bool ShowMarkers = true;             // "show" (CheckBox34 / CheckBox35)
    TChartSeries* SegmentMarks = nullptr; // Series17 / Series18
};

// What the main chart's paint draws over its traces (OnBeforeDrawSeries of Chart1).
struct OverlayScene {
    const MainWindowColors& Colors;
    TColor BackColor;                     // the chart's back colour
    PerSet<SetOverlay> Sets{};
    bool ShowMarkerNumbers = false;       // the grid's "Marker" / "Show Markers" (CheckBox15)
    bool ScaledKhz = true;                // "kHz/MHz" (CheckBox11)
    LevelUnit Unit = LevelUnit::dBuV;     // the label of the stored flags
    // A stored flag keeps the window's pixel row it was placed at; a picture of another size (the
    // mail's chart image) has other rows, so there the flags stand at their levels.
    bool FlagsAtLevels = false;
};
void DrawMainChartOverlays(const OverlayPainter& p, const OverlayScene& scene);

#endif
