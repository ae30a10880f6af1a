#ifndef ZENDRIK_MAINWINDOW_SERIESCOLORS_H
#define ZENDRIK_MAINWINDOW_SERIESCOLORS_H

#include "mainwindow/ColorSettings.h"

#include <QStringList>
#include <functional>

class TChartSeries;

// The main chart's series (by Name) whose points take a colour; empty for the colours that are
// drawn at every paint (peak marks, crosshair) or applied elsewhere (chart background).
QStringList SeriesOfColor(ColorSlot slot);

// Gives every point of the series of each changed colour that colour, as a panel click or "Set to
// Default" does; seriesNamed returns null for a series the chart does not hold. Null points stay
// null: recolouring a gap would close it.
void RecolourSeries(const ColorSettings& colors, ColorSlotMask changed,
                    const std::function<TChartSeries*(const QString& name)>& seriesNamed);

#endif
