#ifndef ZENDRIK_CHART_SERIES_COLORPALETTES_H
#define ZENDRIK_CHART_SERIES_COLORPALETTES_H

#include "chart/canvas/PlotColor.h"

#include <QString>
#include <QStringList>
#include <vector>

class TCustomAxisPanel;
struct ChartUnitState;

inline constexpr int kColorPaletteCount = 16;

// The colours of built-in palette index, as colour values (0x00BBGGRR); empty for 0
// ("PlotChart", the chart's own defaults) and for every index outside 1..15.
const std::vector<TColor>& ColorPaletteColors(int index);
// The sixteen palette names (library texts) in index order.
QStringList ColorPaletteNames();

// One row of a palette pick list: the text shown and the palette index it stands for.
struct ColorPaletteItem {
    QString Text;
    int Index = 0;
};
// Appends "Default" (index 0) when asked, then every palette name of the chart unit's list with
// its index.
void FillColorPaletteNames(const ChartUnitState& unit, std::vector<ColorPaletteItem>& items, bool addDefault);

// Gives the chart the colours of palette index (index 0 and every index outside 1..15: the
// chart's built-in defaults), makes index the chart's ColorPaletteIndex when it is a
// TCustomChart, and repaints it.
void SetColorPalette(TCustomAxisPanel& chart, int index);

#endif
