#ifndef ZENDRIK_CHART_SERIES_COLORPALETTES_H
#define ZENDRIK_CHART_SERIES_COLORPALETTES_H

#include "chart/canvas/PlotColor.h"

#include <QStringList>
#include <vector>

class TCustomAxisPanel;

inline constexpr int kColorPaletteCount = 16;

// The colours of built-in palette index; empty for 0 ("PlotChart", the chart's own defaults) and
// for any index outside 1..15.
const std::vector<TColor>& ColorPaletteColors(int index);
// The sixteen palette names in index order.
QStringList ColorPaletteNames();
// Gives the chart the palette's colours (index 0 or out of range: its built-in defaults) and
// repaints it.
void SetColorPalette(TCustomAxisPanel& chart, int index);

#endif
