#ifndef ZENDRIK_MAINWINDOW_SERIESCOLORS_H
#define ZENDRIK_MAINWINDOW_SERIESCOLORS_H

#include "app/MainChartSeries.h"
#include "mainwindow/ColorSettings.h"

#include <vector>

// The main chart's series whose points take a colour; empty for the colours that are drawn at
// every paint (peak marks, crosshair) or applied elsewhere (chart background).
std::vector<SeriesRole> SeriesOfColor(ColorSlot slot);

// Gives every point of the series of each changed colour that colour, as a panel click or "Set to
// Default" does; a null series (one the chart does not hold) is skipped. Null points stay null:
// recolouring a gap would close it.
void RecolourSeries(const ColorSettings& colors, ColorSlotMask changed, const MainChartSeries& chart);

#endif
