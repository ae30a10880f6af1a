#ifndef ZENDRIK_MAINWINDOW_MAINWINDOWCOLORS_H
#define ZENDRIK_MAINWINDOW_MAINWINDOWCOLORS_H

#include "chart/canvas/PlotColor.h"

#include <array>

struct ColorSettings;

// Where the main window's drawing code reads its colours from.
struct MainWindowColors {
    // Per-trace colours, in this order: raw 1, limit 1, cable, LISN/attenuator, limit 2, the
    // editor's preview ("Show Data"), corrected 1, raw 2, corrected 2, amplifier, antenna, stored
    // trace 1 of set 1 and of set 2, trace 2 of both sets, trace 3 of both sets; then two colours
    // that have no panel in the colour dialog.
    static constexpr int kTableSize = 19;
    static constexpr int kFromColorDialog = 17;
    std::array<TColor, kTableSize> ColorTable{};

    TColor Marker11 = 0x00FF00; // peak circles of set 1
    TColor Marker12 = 0xFF00FF; // peak circles of set 2
    TColor Marker21 = 0xFF00FF; // re-measure crosses of set 1
    TColor Marker22 = 0x00FF00; // re-measure crosses of set 2
    TColor Cross = 0xFF0000;    // crosshair and harmonic lines
    TColor ChartBG = 0xA4A0A0;  // back walls of the main chart and the coverage charts
};

// The main window's start-up colours. The editor's preview entry is left black: the colour
// dialog, created after the main window, sets it with the first 17 entries.
MainWindowColors StartupColors();

// What the colour dialog's creation and every change do to the main window's colours: the first
// 17 entries of the table and the six overlay and background colours; the last two table entries
// keep their values.
void CopyColorSettings(const ColorSettings& colors, MainWindowColors& target);

#endif
