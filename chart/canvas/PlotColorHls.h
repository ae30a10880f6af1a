#ifndef ZENDRIK_CHART_CANVAS_PLOTCOLORHLS_H
#define ZENDRIK_CHART_CANVAS_PLOTCOLORHLS_H

#include "chart/canvas/PlotColor.h"

// A chart colour as hue, luminance and saturation, each 0..240, and back. System colours are
// resolved first.
void ColorToHLS(TColor color, int& hue, int& luminance, int& saturation);
TColor HLSToColor(int hue, int luminance, int saturation);

#endif
