#ifndef ZENDRIK_CHART_ENGINE_SERIESMARKSSYMBOL_H
#define ZENDRIK_CHART_ENGINE_SERIESMARKSSYMBOL_H

#include "chart/canvas/PlotShape.h"

#include <QImage>

class TPlotCanvas;

// The small framed symbol drawn beside a mark text: hidden and opaque at first, shadow size 1.
class TSeriesMarksSymbol : public TPlotCustomShape {
public:
    explicit TSeriesMarksSymbol(PlotShapeOwner* parentChart = nullptr);

    // Drawn only when visible and not transparent.
    bool ShouldDraw() const { return Visible() && !Transparent(); }
};

// Draws a picture's graphic on a canvas at (x, y) through a temporary bitmap.
void DrawPictureAt(TPlotCanvas& canvas, int x, int y, const TPicture& picture);

#endif
