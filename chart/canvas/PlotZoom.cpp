#include "chart/canvas/PlotZoom.h"

#include <algorithm>
#include <cstdlib>

int TPlotEventListeners::Add(TPlotEventListener* listener)
{
    const int at = IndexOf(listener);
    if (at >= 0 || !listener)
        return at;
    items_.push_back(listener);
    return Count() - 1;
}

void TPlotEventListeners::Remove(TPlotEventListener* listener)
{
    const auto it = std::find(items_.begin(), items_.end(), listener);
    if (it != items_.end())
        items_.erase(it);
}

int TPlotEventListeners::IndexOf(const TPlotEventListener* listener) const
{
    const auto it = std::find(items_.begin(), items_.end(), listener);
    return it == items_.end() ? -1 : static_cast<int>(it - items_.begin());
}

void TZoomPanning::Activate(int32_t x, int32_t y)
{
    X0 = X1 = x;
    Y0 = Y1 = y;
    Active = true;
}

TPlotZoomPen::TPlotZoomPen()
{
    SetColor(clWhite);
}

TPlotZoomBrush::TPlotZoomBrush()
{
    SetColor(clWhite);
    SetStyle(bsClear);
}

TPlotZoom::TPlotZoom() = default;
TPlotZoom::~TPlotZoom() = default;

TPlotZoomBrush& TPlotZoom::Brush()
{
    if (!brush_)
        brush_ = std::make_unique<TPlotZoomBrush>();
    return *brush_;
}

TPlotZoomPen& TPlotZoom::Pen()
{
    if (!pen_)
        pen_ = std::make_unique<TPlotZoomPen>();
    return *pen_;
}

void TPlotZoom::Assign(const TPlotZoom& source)
{
    if (&source == this)
        return;
    Allow = source.Allow;
    Animated = source.Animated;
    AnimatedSteps = source.AnimatedSteps;
    Direction = source.Direction;
    KeyShift = source.KeyShift;
    MinimumPixels = source.MinimumPixels;
    MouseButton = source.MouseButton;
    UpLeftZooms = source.UpLeftZooms;
    if (source.brush_)
        Brush().Assign(*source.brush_);
    else
        brush_.reset();
    if (source.pen_)
        Pen().Assign(*source.pen_);
    else
        pen_.reset();
}

TZoomOutcome FinishZoomDrag(TPlotZoom& zoom, int32_t x, int32_t y)
{
    zoom.Active = false;
    if (zoom.Direction != tzdVertical)
        zoom.X1 = x;
    if (zoom.Direction != tzdHorizontal)
        zoom.Y1 = y;
    const bool wideEnough = zoom.Direction == tzdVertical || std::abs(zoom.X1 - zoom.X0) > zoom.MinimumPixels;
    const bool tallEnough = zoom.Direction == tzdHorizontal || std::abs(zoom.Y1 - zoom.Y0) > zoom.MinimumPixels;
    if (!wideEnough || !tallEnough)
        return TZoomOutcome::None;
    const bool backwards = zoom.Direction == tzdVertical ? zoom.Y1 <= zoom.Y0 : zoom.X1 <= zoom.X0;
    if (!zoom.UpLeftZooms && backwards)
        return TZoomOutcome::Undo;
    return TZoomOutcome::Zoom;
}

bool ZoomKeysHeld(const TPlotZoom& zoom, TShiftState shift)
{
    const TShiftState keys = ssShift | ssAlt | ssCtrl;
    return (shift & zoom.KeyShift & keys) == (zoom.KeyShift & keys);
}
