#include "chart/tools/NearestTool.h"

#include "chart/canvas/PlotCanvas3D.h"
#include "chart/engine/AxisPanel.h"
#include "chart/engine/ChartSeries.h"
#include "chart/series/LineSeries.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace {

// Pixels follow the values in order under these conversions (the fast linear one wraps around
// for values far off the axis, and a logarithmic axis puts values up to 0 at its start).
bool PixelsInValueOrder(const TChartAxis& axis, double firstValue)
{
    switch (axis.Conversion()) {
    case AxisConversion::Center:
    case AxisConversion::LinearClamped: return true;
    case AxisConversion::Logarithmic: return firstValue > 0.0;
    default: return false;
    }
}

} // namespace

int NearestPixelIndex(std::span<const double> xs, std::span<const double> ys, int first, int last,
                      const TChartAxis& horizontal, const TChartAxis& vertical, int x, int y, bool xAscending)
{
    const int count = static_cast<int>(std::min(xs.size(), ys.size()));
    first = std::max(first, 0);
    last = std::min(last, count - 1);
    if (first > last)
        return -1;
    auto px = [&](int i) { return horizontal.ValueToPixel(xs[static_cast<size_t>(i)]); };
    auto distance = [&](int i) {
        const double dx = px(i) - x;
        const double dy = vertical.ValueToPixel(ys[static_cast<size_t>(i)]) - y;
        return std::sqrt(dx * dx + dy * dy);
    };
    double best = 10000.0;
    int index = -1;
    if (!xAscending || !PixelsInValueOrder(horizontal, xs[static_cast<size_t>(first)])) {
        for (int i = first; i <= last; ++i) {
            const double d = distance(i);
            if (d < best) {
                best = d;
                index = i;
            }
        }
        return index;
    }
    // The pixel distance is never below the X distance alone (whole pixels: exact in doubles), so
    // each side stops where that exceeds the best; ties go to the lower index as in a scan.
    const bool increasing = px(first) <= px(last);
    int lo = first, hi = last + 1;
    while (lo < hi) {
        const int mid = lo + (hi - lo) / 2;
        if (increasing ? px(mid) < x : px(mid) > x)
            lo = mid + 1;
        else
            hi = mid;
    }
    for (int i = lo - 1; i >= first; --i) {
        if (std::abs(px(i) - x) > best)
            break;
        const double d = distance(i);
        if (d < best || (d == best && index >= 0)) {
            best = d;
            index = i;
        }
    }
    for (int i = lo; i <= last; ++i) {
        if (std::abs(px(i) - x) >= best)
            break;
        const double d = distance(i);
        if (d < best) {
            best = d;
            index = i;
        }
    }
    return index;
}

TNearestTool::TNearestTool() : linePen_(std::make_unique<TChartPen>([this] { Repaint(); }))
{
    Pen().SetStyle(psDot);
    Pen().SetColor(clWhite);
    Brush().SetStyle(bsClear);
}

TNearestTool::~TNearestTool()
{
    MarkDestroying();
}

QString TNearestTool::Description() const { return QStringLiteral("Nearest Point"); }

QString TNearestTool::LongDescription() const
{
    return QStringLiteral("Displays a graphical signal when the mouse is moving near a series point.");
}

TCustomAxisPanel* TNearestTool::Panel() const
{
    ChartParent* chart = ParentChart();
    return chart ? chart->AxisPanel() : nullptr;
}

void TNearestTool::SetSeries(TChartSeries* series)
{
    TPlotCustomToolSeries::SetSeries(series);
    point_ = -1;
    ascending_.Reset();
}

void TNearestTool::Notification(ChartComponent* removed)
{
    if (removed == Series()) {
        point_ = -1;
        ascending_.Reset();
    }
    TPlotCustomToolSeries::Notification(removed);
}

int TNearestTool::NearestPoint(int x, int y)
{
    TChartSeries* series = Series();
    const auto* h = dynamic_cast<const TChartAxis*>(GetHorizAxis());
    const auto* v = dynamic_cast<const TChartAxis*>(GetVertAxis());
    if (!series || !h || !v || series->Count() == 0)
        return -1;
    const int count = series->Count();
    const int first = std::max(series->FirstValueIndex, 0);
    const int last = (series->LastValueIndex < 0 || series->LastValueIndex >= count) ? count - 1
                                                                                      : series->LastValueIndex;
    return NearestPixelIndex(series->XValues().Values(), series->YValues().Values(), first, last, *h, *v, x, y,
                             ascending_.IsAscending(series->XValues()));
}

void TNearestTool::DrawMark(InvertingPen* xorPen)
{
    TCustomAxisPanel* panel = Panel();
    TChartSeries* series = Series();
    const SeriesAxis* h = GetHorizAxis();
    const SeriesAxis* v = GetVertAxis();
    if (!panel || !series || !h || !v || point_ < 0 || point_ >= series->Count())
        return;
    const int px = h->ValueToPixel(series->GetPointX(point_));
    const int py = v->ValueToPixel(series->GetPointY(point_));
    const int s = size_;
    const TRect box{px - s, py - s, px + s, py + s};
    const TPoint diamond[4] = {{px, py - s}, {px + s, py}, {px, py + s}, {px - s, py}};
    auto* pointed = dynamic_cast<TCustomSeries*>(series);
    TPlotCanvas3D& canvas = panel->Canvas();
    if (xorPen) {
        // An inverting pen draws outlines only; a series symbol is shown by its box.
        switch (style_) {
        case hsCircle: xorPen->Ellipse(box); break;
        case hsRectangle: xorPen->Rectangle(box); break;
        case hsDiamond: xorPen->Outline(diamond, 4); break;
        case hsSeries:
            if (pointed)
                xorPen->Rectangle(TRect{px - pointed->Pointer().HorizSize(), py - pointed->Pointer().VertSize(),
                                        px + pointed->Pointer().HorizSize(), py + pointed->Pointer().VertSize()});
            break;
        case hsNone: break;
        }
    } else {
        canvas.AssignVisiblePen(Pen());
        canvas.AssignChartBrush(Brush());
        switch (style_) {
        case hsCircle: canvas.EllipseRect(box); break;
        case hsRectangle: canvas.RectangleRect(box); break;
        case hsDiamond: canvas.Polygon(TPointArray(diamond, diamond + 4), 3); break;
        case hsSeries:
            if (pointed) {
                const TColor color = series->GetValueColor(point_);
                pointed->Pointer().PrepareCanvas(canvas, color);
                pointed->Pointer().Draw(px, py, color, pointed->Pointer().Style());
            }
            break;
        case hsNone: break;
        }
    }
    if (!drawLine_)
        return;
    if (xorPen) {
        InvertingPen line(*panel, *linePen_,
                          xorPen->OnWindow() ? InvertingPen::WindowSurface : InvertingPen::ChartCanvas);
        line.Line(mouse_.X, mouse_.Y, px, py);
    } else {
        canvas.AssignVisiblePen(*linePen_);
        canvas.Line(mouse_.X, mouse_.Y, px, py);
    }
}

void TNearestTool::ChartEvent(TChartToolEvent kind)
{
    TCustomAxisPanel* panel = Panel();
    if (!panel)
        return;
    if (kind == cteAfterDraw && point_ >= 0) {
        if (fullRepaint_) {
            DrawMark(nullptr);
        } else {
            InvertingPen pen(*panel, Pen(), InvertingPen::ChartCanvas);
            DrawMark(&pen);
        }
    } else if (kind == cteMouseLeave && point_ >= 0) {
        Show(-1, -1, -1);
    }
}

void TNearestTool::Show(int point, int x, int y)
{
    TCustomAxisPanel* panel = Panel();
    if (fullRepaint_) {
        point_ = point;
        mouse_ = TPoint{x, y};
        Repaint();
    } else {
        if (point_ >= 0) {
            InvertingPen erase(*panel, Pen(), InvertingPen::WindowSurface);
            DrawMark(&erase);
        }
        point_ = point;
        mouse_ = TPoint{x, y};
        if (point_ >= 0) {
            InvertingPen draw(*panel, Pen(), InvertingPen::WindowSurface);
            DrawMark(&draw);
        }
    }
    if (OnChange)
        OnChange(this);
}

void TNearestTool::ChartMouseEvent(TChartMouseEvent kind, int, int, int x, int y)
{
    if (kind == cmeMove && Panel())
        Show(NearestPoint(x, y), x, y);
}
