#ifndef ZENDRIK_MAINWINDOW_MAINWINDOWCOLORS_H
#define ZENDRIK_MAINWINDOW_MAINWINDOWCOLORS_H

#include "app/MeasureSet.h"
#include "chart/canvas/PlotColor.h"

#include <array>
#include <cstddef>

struct ColorSettings;

// The entries of the main window's colour table, in its order: one per series the colour
// dialog colours, then two that have no panel in the dialog.
enum class TraceColor : size_t {
    rawTrace1,
    limitLine1, // and its margin line
    cableCorrection,
    lisnCorrection,
    limitLine2, // and its margin line
    tablePreview, // the editor's preview ("Show Data")
    correctedTrace1,
    rawTrace2,
    correctedTrace2,
    amplifierCorrection,
    antennaFactor,
    reference1Set1,
    reference1Set2,
    reference2Set1,
    reference2Set2,
    reference3Set1,
    reference3Set2,
    withoutPanel1,
    withoutPanel2,
};

// Where the main window's drawing code reads its colours from.
struct MainWindowColors {
    static constexpr int kTableSize = 19;
    // The dialog sets the entries up to and including reference3Set2.
    static constexpr int kFromColorDialog = 17;
    std::array<TColor, kTableSize> ColorTable{};

    TColor operator[](TraceColor entry) const { return ColorTable[static_cast<size_t>(entry)]; }
    TColor& operator[](TraceColor entry) { return ColorTable[static_cast<size_t>(entry)]; }

    PerSet<TColor> PeakCircles{0x00FF00, 0xFF00FF};
    PerSet<TColor> RemeasureCrosses{0xFF00FF, 0x00FF00};
    TColor Crosshair = 0xFF0000;       // crosshair and harmonic lines
    TColor ChartBackground = 0xA4A0A0; // back walls of the main chart and the coverage charts
};

// The entry of each set's corrected trace, which also colours the set's marker flags, "M" box
// and level read-out.
inline constexpr PerSet<TraceColor> kCorrectedTraceColors{TraceColor::correctedTrace1,
                                                          TraceColor::correctedTrace2};

// The main window's start-up colours. The editor's preview entry is left black: the colour
// dialog, created after the main window, sets it with the first 17 entries.
MainWindowColors StartupColors();

// What the colour dialog's creation and every change do to the main window's colours: the first
// 17 entries of the table and the six overlay and background colours; the last two table entries
// keep their values.
void CopyColorSettings(const ColorSettings& colors, MainWindowColors& target);

#endif
