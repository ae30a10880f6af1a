#include "chart/engine/SeriesPointer.h"

#include "chart/canvas/PlotBlend.h"
#include "chart/canvas/PlotCanvas.h"
#include "chart/engine/AxisPanel.h"
#include "chart/engine/ChartException.h"
#include "chart/engine/ChartSeries.h"
#include "chart/engine/PlotMessages.h"
#include "chart/engine/SeriesMarks.h"

#include <algorithm>

namespace {

[[noreturn]] void RaisePointerSize()
{
    InitChartMessages();
    throw ChartException(PlotMessage(PlotMsg::ErrPointerSize));
}

} // namespace

// ---- pointer

TSeriesPointer::TSeriesPointer(TChartSeries* series, PlotShapeOwner* chart)
    : TPlotCustomShapeBrushPen(chart), series_(series), shadow_(std::make_unique<TPlotShadow>([this] { Repaint(); }))
{
    if (series && !chart && series->ParentChart())
        SetParentChart(series->ParentChart()->AxisPanel());
    shadow_->InitDefaults(shadow_->Color(), 3);
    shadow_->SetDefaultVisible(false);
    shadow_->SetVisible(false);
}

TSeriesPointer::~TSeriesPointer() = default;

TPlotGradient& TSeriesPointer::Gradient()
{
    if (!gradient_)
        gradient_ = std::make_unique<TPlotGradient>([this] { Repaint(); });
    return *gradient_;
}

void TSeriesPointer::SetHorizSize(int value)
{
    if (value < 1)
        RaisePointerSize();
    SetAndRepaint(horizSize_, value);
}

void TSeriesPointer::SetVertSize(int value)
{
    if (value < 1)
        RaisePointerSize();
    SetAndRepaint(vertSize_, value);
}

void TSeriesPointer::Assign(const TPlotCustomShapeBrushPen& source)
{
    if (const auto* p = dynamic_cast<const TSeriesPointer*>(&source); p && p != this) {
        dark3D_ = p->dark3D_;
        draw3D_ = p->draw3D_;
        if (p->gradient_)
            Gradient().Assign(*p->gradient_);
        else
            gradient_.reset();
        horizSize_ = p->horizSize_;
        inflateMargins_ = p->inflateMargins_;
        shadow_->Assign(*p->shadow_);
        style_ = p->style_;
        transparency_ = p->transparency_;
        vertSize_ = p->vertSize_;
    }
    TPlotCustomShapeBrushPen::Assign(source);
}

void TSeriesPointer::CalcHorizMargins(int& left, int& right) const
{
    if (!Visible() || !inflateMargins_)
        return;
    left = std::max(left, horizSize_ + 1);
    right = std::max(right, horizSize_ + 1);
}

void TSeriesPointer::CalcVerticalMargins(int& top, int& bottom) const
{
    if (!Visible() || !inflateMargins_)
        return;
    top = std::max(top, vertSize_ + 1);
    bottom = std::max(bottom, vertSize_ + 1);
}

void TSeriesPointer::PrepareCanvas(TCanvas3D& canvas, TColor color)
{
    TChartPen& pen = Pen();
    if (!pen.Visible())
        canvas.Pen().SetStyle(psClear);
    else if (pen.Color() == clDefault)
        canvas.AssignVisiblePenColor(pen, color);
    else
        canvas.AssignVisiblePen(pen);
    TChartBrush& brush = Brush();
    TColor fill = brush.Color();
    if (fill == clDefault)
        fill = brush.Style() == bsSolid ? color : brush.BackColor();
    canvas.AssignBrushColor(brush, fill, color);
}

void TSeriesPointer::PrepareCanvas()
{
    if (ParentChart())
        PrepareCanvas(ParentChart()->ShapeCanvas(), GetColor());
}

bool TSeriesPointer::ChartIs3D() const
{
    const ChartParent* chart = series_ ? series_->ParentChart() : nullptr;
    return chart && chart->View3D();
}

void TSeriesPointer::Draw(int x, int y, TColor color, TSeriesPointerStyle style)
{
    if (!ParentChart())
        return;
    DrawPointer(ParentChart()->ShapeCanvas(), ChartIs3D(), x, y, horizSize_, vertSize_, color, style);
}

void TSeriesPointer::DepthOf(int& startZ, int& middleZ, int& endZ) const
{
    startZ = series_ ? series_->StartZ() : 0;
    middleZ = series_ ? series_->MiddleZ() : 0;
    endZ = series_ ? series_->EndZ() : 0;
}

// The colour is the one the caller prepared the canvas with; the shape itself only draws.
void TSeriesPointer::DrawPointer(TCanvas3D& canvas, bool is3D, int x, int y, int h, int v, TColor /*color*/,
                                 TSeriesPointerStyle style)
{
    const TRect box{x - h, y - v, x + h, y + v};
    if (shadow_->Visible() && (shadow_->HorizSize() != 0 || shadow_->VertSize() != 0)) {
        const TColor brushColor = canvas.Brush().Color();
        const TBrushStyle brushStyle = canvas.Brush().Style();
        if (style == psRectangle) {
            shadow_->DrawRect(canvas, TRect{box.Left, box.Top, box.Right + 1, box.Bottom + 1});
        } else if (style == psCircle) {
            shadow_->DrawEllipse(canvas, box, 0);
        } else if (style == psHexagon) {
            const int half = v / 2;
            shadow_->DrawPolygon(canvas,
                                 TPointArray{{x, box.Top}, {box.Right, y - half}, {box.Right, y + half},
                                             {x, box.Bottom}, {box.Left, y + half}, {box.Left, y - half}},
                                 5);
        }
        canvas.Brush().SetStyle(brushStyle);
        canvas.Brush().SetColor(brushColor);
    }
    std::unique_ptr<TPlotBlend> blend;
    if (transparency_ > 0) {
        TRect area{box.Left, box.Top, box.Right + 1, box.Bottom + 1};
        if (is3D) {
            int startZ, middleZ, endZ;
            DepthOf(startZ, middleZ, endZ);
            area = canvas.CalcRect3D(area, startZ);
            if (draw3D_ && canvas.View3DOptions && canvas.View3DOptions->Orthogonal()) {
                area.Right += endZ - startZ;
                area.Top -= endZ - startZ;
            }
        }
        blend = canvas.BeginBlending(area, transparency_);
    }
    DrawShape(canvas, is3D, x, y, h, v, style);
    if (gradient_ && gradient_->Visible()) {
        if (AdaptsGradient() && gradient_->EndColor() != canvas.Brush().Color()) {
            // Only the colour is followed: the change must not ask the chart for another drawing.
            const TNotifyEvent notify = std::move(gradient_->OnChange);
            gradient_->OnChange = nullptr;
            gradient_->SetEndColor(canvas.Brush().Color());
            gradient_->OnChange = notify;
        }
        DrawGradient(canvas, x, y, h, v, style);
    }
    if (blend)
        canvas.EndBlending(std::move(blend));
}

void TSeriesPointer::DrawShape(TCanvas3D& canvas, bool is3D, int x, int y, int h, int v, TSeriesPointerStyle style)
{
    const int left = x - h, right = x + h, top = y - v, bottom = y + v;
    int startZ, middleZ, endZ;
    DepthOf(startZ, middleZ, endZ);
    auto polygon = [&](const TPointArray& points) {
        if (is3D)
            canvas.PolygonAtDepth(points, static_cast<int>(points.size()) - 1, startZ);
        else
            canvas.Polygon(points, static_cast<int>(points.size()) - 1);
    };
    auto line = [&](int x0, int y0, int x1, int y1) {
        if (is3D) {
            canvas.LineAtDepth(x0, y0, x1, y1, startZ);
        } else {
            canvas.MoveTo(x0, y0);
            canvas.LineTo(x1, y1);
        }
    };
    switch (style) {
    case psRectangle:
        if (is3D && draw3D_)
            canvas.Cube(left, right, top, bottom, startZ, endZ, dark3D_);
        else if (is3D)
            canvas.RectangleAtDepth(TRect{left, top, right + 1, bottom + 1}, startZ);
        else
            canvas.Rectangle(left, top, right + 1, bottom + 1);
        break;
    case psCircle:
        if (is3D && draw3D_ && canvas.GetSupportsFeature())
            canvas.Sphere(x, y, middleZ, h);
        else if (is3D)
            canvas.EllipseAtDepth(left, top, right, bottom, startZ);
        else
            canvas.Ellipse(left, top, right, bottom);
        break;
    case psTriangle:
    case psDownTriangle: {
        const int d = style == psTriangle ? v : -v;
        if (is3D && draw3D_)
            canvas.Pyramid(true, left, y - d, right, y + d, startZ, endZ, dark3D_);
        else
            polygon(TPointArray{{left, y + d}, {right, y + d}, {x, y - d}});
        break;
    }
    case psCross:
    case psDiagCross:
    case psStar:
        if (style != psDiagCross) {
            line(x, top, x, bottom + 1);
            line(left, y, right + 1, y);
        }
        if (style != psCross) {
            line(left, top, right + 1, bottom + 1);
            line(right, top, left - 1, bottom + 1);
        }
        break;
    case psDiamond:
        polygon(TPointArray{{left, y}, {x, top}, {right, y}, {x, bottom}});
        break;
    case psSmallDot:
        if (is3D)
            canvas.SetPixel3D(x, y, middleZ, canvas.Brush().Color());
        else
            canvas.SetPixel(x, y, canvas.Brush().Color());
        break;
    case psNothing:
        break;
    case psLeftTriangle:
        polygon(TPointArray{{left, y}, {right, bottom}, {right, top}});
        break;
    case psRightTriangle:
        polygon(TPointArray{{right, y}, {left, bottom}, {left, top}});
        break;
    case psHexagon: {
        const int half = v / 2;
        polygon(TPointArray{{x, top}, {right, y - half}, {right, y + half}, {x, bottom}, {left, y + half},
                            {left, y - half}});
        break;
    }
    }
}

// The symbol's outline clips a gradient over its box (less the pen width).
void TSeriesPointer::DrawGradient(TCanvas3D& canvas, int x, int y, int h, int v, TSeriesPointerStyle style)
{
    const int left = x - h, right = x + h, top = y - v, bottom = y + v;
    auto clipPolygon = [&](const TPointArray& points) {
        canvas.ClipPolygon(points.data(), static_cast<int>(points.size()), false);
    };
    switch (style) {
    case psRectangle: canvas.ClipRectangle(TRect{left, top, right + 1, bottom + 1}); break;
    case psCircle: canvas.ClipEllipse(TRect{left, top, right, bottom}, false); break;
    case psTriangle: clipPolygon({{left, y + v}, {right, y + v}, {x, y - v}}); break;
    case psDownTriangle: clipPolygon({{left, y - v}, {right, y - v}, {x, y + v}}); break;
    case psDiamond: clipPolygon({{left, y}, {x, top}, {right, y}, {x, bottom}}); break;
    case psLeftTriangle: clipPolygon({{left, y}, {right, bottom}, {right, top}}); break;
    case psRightTriangle: clipPolygon({{right, y}, {left, bottom}, {left, top}}); break;
    case psHexagon: {
        const int half = v / 2;
        clipPolygon({{x, top}, {right, y - half}, {right, y + half}, {x, bottom}, {left, y + half}, {left, y - half}});
        break;
    }
    default: return;
    }
    const int pen = Pen().Visible() ? Pen().Width() : 0;
    const TRect inner{left + pen, top + pen, right - pen + 1, bottom - pen + 1};
    gradient_->DrawFourPoints(canvas, TFourPoints{TPoint{inner.Left, inner.Top}, TPoint{inner.Right, inner.Top},
                                                  TPoint{inner.Right, inner.Bottom}, TPoint{inner.Left, inner.Bottom}});
    canvas.UnClipRectangle();
}

// ---- callouts

TCallout::TCallout(TChartSeries* series, PlotShapeOwner* chart)
    : TSeriesPointer(series, chart), arrow_(std::make_unique<TWhitePen>([this] { Repaint(); }))
{
    SetDraw3D(false);
    Brush().SetColor(clBlack);
}

void TCallout::Assign(const TPlotCustomShapeBrushPen& source)
{
    if (const auto* c = dynamic_cast<const TCallout*>(&source); c && c != this) {
        distance_ = c->distance_;
        arrow_->Assign(*c->arrow_);
        arrowHead_ = c->arrowHead_;
        arrowHeadSize_ = c->arrowHeadSize_;
    }
    TSeriesPointer::Assign(source);
}

void TCallout::Draw(TColor color, TPoint from, TPoint to, TPoint corner, int z, bool bothSegments)
{
    if (!ParentChart())
        return;
    TCanvas3D& canvas = ParentChart()->ShapeCanvas();
    const bool is3D = ChartIs3D();
    if (arrow_->Visible()) {
        PrepareCanvas(canvas, color);
        if (arrowHead_ != ahSolid)
            canvas.Brush().SetStyle(bsClear);
        canvas.AssignVisiblePen(*arrow_);
        if (arrowHead_ == ahLine || arrowHead_ == ahSolid) {
            canvas.Arrow(arrowHead_ == ahSolid, from, to, is3D ? z : 0, arrowHeadSize_, arrowHeadSize_, 50);
        } else if (is3D) {
            canvas.LineAtDepth(from.X, from.Y, to.X, to.Y, z);
            if (bothSegments)
                canvas.LineAtDepth(to.X, to.Y, corner.X, corner.Y, z);
        } else {
            canvas.MoveTo(from.X, from.Y);
            canvas.LineTo(to.X, to.Y);
            if (bothSegments)
                canvas.LineTo(corner.X, corner.Y);
        }
    }
    if (arrowHead_ == ahNone && Visible()) {
        PrepareCanvas(canvas, color);
        const TPoint at = is3D ? canvas.ProjectToScreen(from.X, from.Y, z) : from;
        DrawPointer(canvas, false, at.X, at.Y, HorizSize(), VertSize(), color, Style());
    }
}

TMarksCallout::TMarksCallout(TChartSeries* series, PlotShapeOwner* chart) : TCallout(series, chart)
{
    SetVisible(false);
    Arrow().SetColor(clWhite);
}

void TMarksCallout::Assign(const TPlotCustomShapeBrushPen& source)
{
    if (const auto* c = dynamic_cast<const TMarksCallout*>(&source); c && c != this)
        length_ = c->length_;
    TCallout::Assign(source);
}

void TMarksCallout::ApplyArrowLength(TSeriesMarkPosition& position) const
{
    const int lift = length_ + Distance();
    position.LeftTop.Y -= lift;
    position.ArrowTo.Y -= lift;
    position.ArrowFrom.Y -= Distance();
}
