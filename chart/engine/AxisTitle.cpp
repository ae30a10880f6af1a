#include "chart/engine/AxisTitle.h"

#include "chart/canvas/LibrarySettings.h"

int NormalizeAxisAngle(int value)
{
    value %= 360;
    return value < 0 ? value + 360 : value;
}

TChartAxisPen::TChartAxisPen(TNotifyEvent onChange) : TChartPen()
{
    SetWidth(2);
    OnChange = std::move(onChange);
}

void TChartAxisPen::Assign(const TPen& source)
{
    if (const auto* axisPen = dynamic_cast<const TChartAxisPen*>(&source); axisPen && axisPen != this)
        SetLineMode(axisPen->lineMode_);
    TChartPen::Assign(source);
}

void TChartAxisPen::SetLineMode(TPenLineMode value)
{
    if (lineMode_ != value) {
        lineMode_ = value;
        Changed();
    }
}

TChartAxisTitle::TChartAxisTitle(PlotShapeOwner* parentChart, int defaultAngle)
    : TPlotCustomShape(parentChart), angle_(NormalizeAxisAngle(defaultAngle)),
      defaultAngle_(NormalizeAxisAngle(defaultAngle))
{
    SetDefaultTransparent(true);
    SetTransparent(true);
}

void TChartAxisTitle::Assign(const TPlotCustomShapeBrushPen& source)
{
    if (const auto* title = dynamic_cast<const TChartAxisTitle*>(&source); title && title != this) {
        SetAngle(title->angle_);
        SetCaption(title->caption_);
    }
    TPlotCustomShape::Assign(source);
}

void TChartAxisTitle::SetAngle(int value)
{
    SetAndRepaint(angle_, NormalizeAxisAngle(value));
}

bool TChartAxisTitle::Clicked(int x, int y) const
{
    if (!Visible() || caption_.isEmpty())
        return false;
    const TPoint p{x, y};
    if (angle_ == 0)
        return p.X >= ShapeBounds.Left && p.X <= ShapeBounds.Right && p.Y >= ShapeBounds.Top &&
               p.Y <= ShapeBounds.Bottom;
    const TFourPoints corners = RectRotatedPoints(ShapeBounds, angle_);
    return PointInPolygon(p, corners.data(), 3);
}
