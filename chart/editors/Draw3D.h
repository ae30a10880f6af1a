#ifndef ZENDRIK_CHART_EDITORS_DRAW3D_H
#define ZENDRIK_CHART_EDITORS_DRAW3D_H

#include "chart/canvas/PlotPanelExtended.h"

#include <functional>

// A drawing panel with the chart panel's background, border, gradient, shadow and back image,
// on which OnPaint draws (the filter editor's preview).
class TDraw3D : public TCustomPlotPanelExtended {
    Q_OBJECT
public:
    using TDraw3DPaintEvent = std::function<void(TPlotCanvas3D& canvas, const TRect& rect)>;

    explicit TDraw3D(QWidget* parent = nullptr);

    // Runs after the background is drawn, with the canvas and the target rectangle.
    TDraw3DPaintEvent OnPaint;

protected:
    void InternalDraw(const TRect& userRect) override;
};

#endif
