#include "chart/tools/InvertingPen.h"

#include "chart/canvas/ChartPen.h"
#include "chart/canvas/PlotCanvas3D.h"
#include "chart/engine/AxisPanel.h"

#include <vector>

TColor InvertingBackColor(const TCustomAxisPanel& panel)
{
    const TColor back = panel.GetBackColor();
    return back == clDefault || back == clNone ? clBtnFace : back;
}

TColor InvertingColor(TColor penColor, TColor backColor)
{
    return static_cast<TColor>((ColorToRGB(penColor) ^ ColorToRGB(backColor)) & 0xFFFFFF);
}

namespace {

TCanvas& SurfaceCanvas(TCustomAxisPanel& panel, InvertingPen::Surface surface)
{
    if (surface == InvertingPen::WindowSurface)
        return panel.WindowCanvas();
    return *panel.Canvas().ReferenceCanvas();
}

} // namespace

InvertingPen::InvertingPen(TCustomAxisPanel& panel, const TChartPen& pen, Surface surface)
    : panel_(panel), canvas_(SurfaceCanvas(panel, surface)), surface_(surface), visible_(pen.Visible())
{
    TPen& target = canvas_.Pen();
    target.Assign(pen);
    target.SetColor(InvertingColor(pen.Color(), InvertingBackColor(panel)));
    target.SetMode(pmXor);
    canvas_.Brush().SetStyle(bsClear);
}

InvertingPen::~InvertingPen()
{
    canvas_.Pen().SetMode(pmCopy);
    if (surface_ == WindowSurface)
        panel_.update();
}

void InvertingPen::Line(int32_t x0, int32_t y0, int32_t x1, int32_t y1)
{
    if (!visible_)
        return;
    canvas_.MoveTo(x0, y0);
    canvas_.LineTo(x1, y1);
}

void InvertingPen::Rectangle(const TRect& rect)
{
    if (visible_)
        canvas_.Rectangle(rect.Left, rect.Top, rect.Right, rect.Bottom);
}

void InvertingPen::Ellipse(const TRect& rect)
{
    if (visible_)
        canvas_.Ellipse(rect.Left, rect.Top, rect.Right, rect.Bottom);
}

void InvertingPen::Outline(const TPoint* points, int count)
{
    if (!visible_ || count < 2)
        return;
    std::vector<TPoint> closed(points, points + count);
    closed.push_back(points[0]);
    canvas_.Polyline(closed.data(), static_cast<int>(closed.size()));
}
