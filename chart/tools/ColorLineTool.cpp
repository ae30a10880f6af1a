#include "chart/tools/ColorLineTool.h"

#include "chart/canvas/PlotCanvas3D.h"
#include "chart/canvas/PlotCursors.h"
#include "chart/engine/AxisPanel.h"
#include "chart/tools/InvertingPen.h"

#include <algorithm>
#include <cstdlib>

namespace axisline {

std::optional<int> Pixel(const TChartAxis& axis, double value)
{
    const double low = std::min(axis.CurrentMinimum(), axis.CurrentMaximum());
    const double high = std::max(axis.CurrentMinimum(), axis.CurrentMaximum());
    if (!(value >= low && value <= high))
        return std::nullopt;
    return axis.ValueToPixel(value);
}

void Draw(TCustomAxisPanel& panel, const TChartAxis& axis, int pixel, TChartPen& pen, bool draw3D)
{
    TPlotCanvas3D& canvas = panel.Canvas();
    canvas.AssignVisiblePen(pen);
    canvas.Brush().SetStyle(bsClear);
    const TRect& r = panel.ChartRect;
    if (!panel.View3D()) {
        if (axis.Horizontal())
            canvas.VertLine(pixel, r.Top, r.Bottom);
        else
            canvas.HorizLine(r.Left, r.Right, pixel);
        return;
    }
    const int z = draw3D ? panel.Width3D : 0;
    if (axis.Horizontal()) {
        canvas.VertLineAtDepth(pixel, r.Top, r.Bottom, z);
        if (draw3D)
            canvas.DepthLine(pixel, r.Bottom, 0, z);
    } else {
        canvas.HorizLineAtDepth(r.Left, r.Right, pixel, z);
        if (draw3D)
            canvas.DepthLine(r.Left, pixel, 0, z);
    }
}

bool Near(const TCustomAxisPanel& panel, const TChartAxis& axis, int pixel, int x, int y)
{
    const TRect& r = panel.ChartRect;
    if (x < r.Left || x > r.Right || y < r.Top || y > r.Bottom)
        return false;
    return std::abs((axis.Horizontal() ? x : y) - pixel) <= 3;
}

void Drag::DrawInverted(TCustomAxisPanel& panel, const TChartAxis& axis, const TChartPen& pen, int pixel, bool onChart)
{
    InvertingPen xorPen(panel, pen, onChart ? InvertingPen::ChartCanvas : InvertingPen::WindowSurface);
    const TRect& r = panel.ChartRect;
    if (axis.Horizontal())
        xorPen.Line(pixel, r.Top, pixel, r.Bottom);
    else
        xorPen.Line(r.Left, pixel, r.Right, pixel);
}

double Drag::Move(TCustomAxisPanel& panel, const TChartAxis& axis, const TChartPen& pen, int x, int y, bool noLimit,
                  bool repaint)
{
    double value = axis.PixelToValue(axis.Horizontal() ? x : y);
    if (!noLimit) {
        const double low = std::min(axis.CurrentMinimum(), axis.CurrentMaximum());
        const double high = std::max(axis.CurrentMinimum(), axis.CurrentMaximum());
        value = std::clamp(value, low, high);
    }
    if (repaint) {
        panel.Invalidate();
        return value;
    }
    // The line drawn with the chart stays until the drag ends; an inverting copy follows the
    // mouse, erased where it was before it is drawn where it goes.
    if (xorPixel_ != -1)
        DrawInverted(panel, axis, pen, xorPixel_);
    xorPixel_ = axis.ValueToPixel(value);
    DrawInverted(panel, axis, pen, xorPixel_);
    return value;
}

void Drag::RedrawWithChart(TCustomAxisPanel& panel, const TChartAxis& axis, const TChartPen& pen)
{
    if (active_ && xorPixel_ != -1)
        DrawInverted(panel, axis, pen, xorPixel_, true);
}

void Drag::End(TCustomAxisPanel& panel)
{
    active_ = false;
    xorPixel_ = -1;
    panel.Invalidate();
}

} // namespace axisline

QString TColorLineTool::Description() const { return QStringLiteral("Color Line"); }

QString TColorLineTool::LongDescription() const { return QStringLiteral("Displays a draggable line across axes."); }

TCustomAxisPanel* TColorLineTool::Panel() const
{
    ChartParent* chart = ParentChart();
    return chart ? chart->AxisPanel() : nullptr;
}

TChartAxis* TColorLineTool::ChartAxis() const { return dynamic_cast<TChartAxis*>(Axis()); }

double TColorLineTool::LineValue() const
{
    const TChartAxis* axis = ChartAxis();
    if (!axis)
        return value_;
    switch (style_) {
    case clMaximum: return axis->CurrentMaximum();
    case clCenter: return (axis->CurrentMinimum() + axis->CurrentMaximum()) * 0.5;
    case clMinimum: return axis->CurrentMinimum();
    case clCustom: break;
    }
    return value_;
}

void TColorLineTool::ChartEvent(TChartToolEvent kind)
{
    TCustomAxisPanel* panel = Panel();
    const TChartAxis* axis = ChartAxis();
    if (!panel || !axis)
        return;
    if (kind == (drawBehind_ ? cteBeforeDrawSeries : cteAfterDraw)) {
        if (const auto pixel = axisline::Pixel(*axis, LineValue()))
            axisline::Draw(*panel, *axis, *pixel, Pen(), draw3D_);
    }
    if (kind == cteAfterDraw)
        drag_.RedrawWithChart(*panel, *axis, Pen());
}

void TColorLineTool::ChartMouseEvent(TChartMouseEvent kind, int button, int, int x, int y)
{
    TCustomAxisPanel* panel = Panel();
    const TChartAxis* axis = ChartAxis();
    if (!panel || !axis)
        return;
    const auto pixel = axisline::Pixel(*axis, LineValue());
    const bool onLine = pixel && axisline::Near(*panel, *axis, *pixel, x, y);
    switch (kind) {
    case cmeDown:
        if (button == mbLeft && allowDrag_ && onLine) {
            drag_.Begin();
            panel->CancelMouse = true;
            if (OnBeginDragLine)
                OnBeginDragLine(this);
        }
        break;
    case cmeMove:
        if (drag_.Active()) {
            value_ = drag_.Move(*panel, *axis, Pen(), x, y, noLimitDrag_, dragRepaint_);
            panel->CancelMouse = true;
            if (OnDragLine)
                OnDragLine(this);
        } else if (allowDrag_ && onLine) {
            panel->SetChartCursor(axis->Horizontal() ? crHSplit : crVSplit);
            panel->CancelMouse = true;
        }
        break;
    case cmeUp:
        if (drag_.Active()) {
            drag_.End(*panel);
            if (OnEndDragLine)
                OnEndDragLine(this);
        }
        break;
    }
}
