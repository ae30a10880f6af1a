#ifndef ZENDRIK_CHART_CANVAS_PLOTZOOM_H
#define ZENDRIK_CHART_CANVAS_PLOTZOOM_H

#include "chart/canvas/ChartPen.h"
#include "chart/canvas/PlotPanelEvents.h"

#include <memory>

// The state of one mouse drag, in client pixels.
class TZoomPanning {
public:
    virtual ~TZoomPanning() = default;
    // Starts a drag at (x, y): both corners there.
    void Activate(int32_t x, int32_t y);

    bool Active = false;
    int32_t X0 = 0;
    int32_t Y0 = 0;
    int32_t X1 = 0;
    int32_t Y1 = 0;
};

enum TPlotZoomDirection { tzdHorizontal, tzdVertical, tzdBoth };

// The outline of the zoom rectangle: white unless changed; the colour is stored only when it
// differs from that default.
class TPlotZoomPen : public TChartPen {
public:
    TPlotZoomPen();
    TColor DefaultColor() const { return defaultColor_; }
    bool IsColorStored() const { return Color() != defaultColor_; }

private:
    TColor defaultColor_ = clWhite;
};

// The fill of the zoom rectangle: white and clear.
class TPlotZoomBrush : public TChartBrush {
public:
    TPlotZoomBrush();
};

// Rubber-band zoom settings and the state of the current zoom drag.
class TPlotZoom : public TZoomPanning {
public:
    TPlotZoom();
    ~TPlotZoom() override;

    void Assign(const TPlotZoom& source);

    bool Allow = true;
    bool Animated = false;
    int32_t AnimatedSteps = 8;
    TPlotZoomDirection Direction = tzdBoth;
    TShiftState KeyShift = 0;
    int32_t MinimumPixels = 16;
    TMouseButton MouseButton = mbLeft;
    bool UpLeftZooms = false;

    // Created on first use.
    TPlotZoomBrush& Brush();
    bool HasBrush() const { return brush_ != nullptr; }
    TPlotZoomPen& Pen();
    bool HasPen() const { return pen_ != nullptr; }

private:
    std::unique_ptr<TPlotZoomBrush> brush_;
    std::unique_ptr<TPlotZoomPen> pen_;
};

enum class TZoomOutcome { None, Zoom, Undo };

// The end of a zoom drag released at (x, y): the drag stops, the moving corner follows the mouse
// in the zoom's directions, and the result is a zoom, an undo (a drag back towards the start
// corner unless UpLeftZooms) or nothing (not more than MinimumPixels in a zoomed direction).
TZoomOutcome FinishZoomDrag(TPlotZoom& zoom, int32_t x, int32_t y);

// Whether the held keys allow starting a zoom: every key of KeyShift must be down.
bool ZoomKeysHeld(const TPlotZoom& zoom, TShiftState shift);

#endif
