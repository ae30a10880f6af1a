// Drawing of the bar series: the visible range, shadows, translucency, the thirteen shapes in 2D
// and 3D, gradient and bevel fills, tick lines, marks and the legend pen.
#include "chart/series/BarSeries.h"

#include "chart/canvas/CanvasGeometry.h"
#include "chart/canvas/PlotBlend.h"
#include "chart/canvas/PlotCanvas3D.h"
#include "chart/canvas/View3DOptions.h"
#include "chart/engine/AxisPanel.h"
#include "chart/engine/SeriesMarks.h"
#include "chart/engine/SeriesPointer.h"

#include <cmath>

namespace {

bool Intersects(const TRect& a, const TRect& b)
{
    const TRect r = OrientRect(a);
    return r.Left < b.Right && b.Left < r.Right && r.Top < b.Bottom && b.Top < r.Bottom;
}

bool IsBoxStyle(TBarStyle style)
{
    return style == bsRectangle || style == bsRectGradient || style == bsBevel;
}

// The library's cylinder side count for one slanted cube, whatever the shape throws.
class CylinderSidesScope {
public:
    CylinderSidesScope(TPlotCanvas3D& canvas, int sides) : canvas_(canvas), saved_(canvas.CylinderSides)
    {
        canvas_.CylinderSides = sides;
    }
    ~CylinderSidesScope() { canvas_.CylinderSides = saved_; }
    CylinderSidesScope(const CylinderSidesScope&) = delete;
    CylinderSidesScope& operator=(const CylinderSidesScope&) = delete;

private:
    TPlotCanvas3D& canvas_;
    int saved_;
};

} // namespace

// ---- visible range

void TCustomBarSeries::CalcFirstLastVisibleIndex()
{
    if (multiBar_ == mbSelfStack) {
        FirstValueIndex = Count() > 0 ? 0 : -1;
        LastValueIndex = Count() - 1;
        return;
    }
    ChartParent* chart = ParentChart();
    if (chart && chart->MaxPointsPerPage() == 1) {
        const int index = std::max(1, chart->CurrentPage()) - 1;
        FirstValueIndex = LastValueIndex = index < Count() ? index : -1;
        return;
    }
    TChartSeries::CalcFirstLastVisibleIndex();
    TCustomAxisPanel* panel = Panel();
    if (FirstValueIndex < 0 || !panel || !CalcVisiblePoints)
        return;
    // A bar whose category lies off the axis may still reach into the chart.
    const TRect& area = panel->ChartRect;
    TChartValueList& categories = NotMandatoryValueList();
    while (LastValueIndex < Count() - 1 && Intersects(CalcBarBounds(LastValueIndex + 1), area))
        ++LastValueIndex;
    while (LastValueIndex < Count() - 1 && categories.Value(LastValueIndex + 1) == categories.Value(LastValueIndex))
        ++LastValueIndex;
    while (FirstValueIndex > 0 && Intersects(CalcBarBounds(FirstValueIndex - 1), area))
        --FirstValueIndex;
    while (FirstValueIndex > 0 && categories.Value(FirstValueIndex - 1) == categories.Value(FirstValueIndex))
        --FirstValueIndex;
}

// ---- one point

TBarStyle TCustomBarSeries::GetBarStyle(int valueIndex)
{
    TBarStyle style = barStyle_;
    if (OnGetBarStyle)
        OnGetBarStyle(this, valueIndex, style);
    return style;
}

void TCustomBarSeries::DrawValue(int valueIndex)
{
    TChartSeries::DrawValue(valueIndex);
    TCustomAxisPanel* panel = Panel();
    normalBarColor_ = GetValueColor(valueIndex);
    if (!panel || normalBarColor_ == clNone || IsMissingPoint(valueIndex))
        return;
    TPlotCanvas3D& canvas = panel->Canvas();
    bounds_ = CalcBarBounds(valueIndex);
    const TBarStyle style = GetBarStyle(valueIndex);
    if (shadow_->Visible() && (shadow_->HorizSize() != 0 || shadow_->VertSize() != 0))
        DrawShadow(canvas, bounds_, style);

    std::unique_ptr<TPlotBlend> blend;
    if (transparency_ >= 1) {
        TRect area = OrientRect(bounds_);
        if (panel->View3D()) {
            const TRect front = canvas.CalcRect3D(area, barStartZ_);
            const TRect back = canvas.CalcRect3D(area, barEndZ_);
            area = TRect{std::min(front.Left, back.Left), std::min(front.Top, back.Top),
                std::max(front.Right, back.Right), std::max(front.Bottom, back.Bottom)};
        }
        if (Pen().Visible()) {
            area.Right += Pen().Width();
            area.Bottom += Pen().Width();
        }
        blend = canvas.BeginBlending(area, transparency_);
    }
    if (IsVertical())
        DrawBar(valueIndex, std::min(bounds_.Top, bounds_.Bottom), std::max(bounds_.Top, bounds_.Bottom));
    else
        DrawBar(valueIndex, std::min(bounds_.Left, bounds_.Right), std::max(bounds_.Left, bounds_.Right));
    if (blend)
        canvas.EndBlending(std::move(blend));
}

// The shadow is the bar itself in the shadow's colour, moved across the categories and cut
// short at the value end; a smooth shadow of a box is the shadow object's own, which moves the
// bar by its sizes itself.
void TCustomBarSeries::DrawShadow(TPlotCanvas3D& canvas, const TRect& bounds, TBarStyle style)
{
    const int h = shadow_->HorizSize();
    const int v = shadow_->VertSize();
    TCustomAxisPanel* panel = Panel();
    const bool is3D = panel && panel->View3D();
    if (shadow_->Smooth() && IsBoxStyle(style)) {
        const TRect box = OrientRect(bounds);
        if (!is3D) {
            shadow_->DrawShape(canvas, box, 0, 0);
        } else if (canvas.IsOrthogonal) {
            shadow_->DrawShape(canvas, canvas.CalcRect3D(box, barStartZ_), 0, 0);
        } else {
            const TPointArray corners{canvas.ProjectPoint(box.Left, box.Top, barStartZ_),
                canvas.ProjectPoint(box.Right, box.Top, barStartZ_), canvas.ProjectPoint(box.Right, box.Bottom, barStartZ_),
                canvas.ProjectPoint(box.Left, box.Bottom, barStartZ_)};
            shadow_->DrawPolygon(canvas, corners, 3);
        }
        return;
    }
    TRect moved = bounds;
    if (IsVertical()) {
        moved.Left += h;
        moved.Right += h;
        if (moved.Bottom <= moved.Top)
            moved.Bottom -= v;
        else
            moved.Top += v;
    } else {
        moved.Top += v;
        moved.Bottom += v;
        if (moved.Right <= moved.Left)
            moved.Left -= h;
        else
            moved.Right += h;
    }
    const TColor color = normalBarColor_;
    const TRect kept = bounds_;
    normalBarColor_ = shadow_->Color();
    bounds_ = moved;
    drawingShadow_ = true;
    std::unique_ptr<TPlotBlend> blend;
    if (shadow_->Transparency() > 0)
        blend = canvas.BeginBlending(OrientRect(moved), shadow_->Transparency());
    const int startPos = IsVertical() ? std::min(moved.Top, moved.Bottom) : std::min(moved.Left, moved.Right);
    const int endPos = IsVertical() ? std::max(moved.Top, moved.Bottom) : std::max(moved.Left, moved.Right);
    DrawShape(canvas, style, startPos, endPos);
    if (blend)
        canvas.EndBlending(std::move(blend));
    drawingShadow_ = false;
    bounds_ = kept;
    normalBarColor_ = color;
}

void TCustomBarSeries::SetBarPen(TPlotCanvas3D& canvas, TColor color)
{
    if (drawingShadow_)
        canvas.AssignVisiblePenColor(Pen(), shadow_->Color());
    else if (darkPen_ >= 1)
        canvas.AssignVisiblePenColor(Pen(), ColorDarker(color, 255 - darkPen_));
    else
        canvas.AssignVisiblePen(Pen());
}

void TCustomBarSeries::DrawShape(TPlotCanvas3D& canvas, TBarStyle style, int startPos, int endPos)
{
    SetBarPen(canvas, normalBarColor_);
    TCustomAxisPanel* panel = Panel();
    const TColor back = Brush().Color() == clDefault ? (panel ? panel->Color() : clWhite) : Brush().Color();
    canvas.AssignBrushColor(Brush(), normalBarColor_, back);
    if (panel && panel->View3D())
        DrawShape3D(canvas, style, startPos, endPos);
    else
        DrawShape2D(canvas, style, startPos, endPos);
}

void TCustomBarSeries::DrawBar(int valueIndex, int startPos, int endPos)
{
    TCustomAxisPanel* panel = Panel();
    if (!panel)
        return;
    TPlotCanvas3D& canvas = panel->Canvas();
    const TBarStyle style = GetBarStyle(valueIndex);
    DrawShape(canvas, style, startPos, endPos);
    if (style == bsRectGradient && gradient_->Visible())
        DrawGradient(canvas, valueIndex);
    else if (style == bsBevel)
        DrawBevel(canvas);
    if (tickLines_->Visible())
        DrawTickLines(canvas, style, startPos, endPos);
}

// ---- shapes

namespace {

// A box in 2D: one of no width or height is the pen's line in the fill colour; one thinner than
// the pen is the pen's outline alone, in the fill colour.
void DrawBox2D(TPlotCanvas3D& canvas, const TRect& b)
{
    TBrush& brush = canvas.Brush();
    if (brush.Style() == bsSolid) {
        TPen& pen = canvas.Pen();
        const int w = std::abs(b.Right - b.Left);
        const int h = std::abs(b.Bottom - b.Top);
        if (w == 0 || h == 0) {
            if (pen.Style() == psClear)
                pen.SetStyle(psSolid);
            pen.SetColor(brush.Color());
        } else if (pen.Style() != psClear && (w < pen.Width() || h < pen.Width())) {
            pen.SetColor(brush.Color());
            brush.SetStyle(bsClear);
        }
    }
    canvas.Rectangle(b.Left, b.Top, b.Right, b.Bottom);
}

// A bar's outline along the values (start and end position) and across them (its bounds),
// the same for both orientations.
struct BarGeometry {
    BarGeometry(const TRect& b, bool isVertical, int startPos, int endPos)
        : vertical(isVertical), across(isVertical ? (b.Left + b.Right) / 2 : (b.Top + b.Bottom) / 2),
          width(isVertical ? b.Right - b.Left : b.Bottom - b.Top), middle((startPos + endPos) / 2),
          low(isVertical ? b.Left : b.Top), high(isVertical ? b.Right : b.Bottom),
          // Vertical bars point to the smaller pixel (up), horizontal ones to the larger (right).
          tip(isVertical ? startPos : endPos), foot(isVertical ? endPos : startPos)
    {
    }
    // A point at a position along the values and one across the bar.
    TPoint At(int along, int side) const { return vertical ? TPoint{side, along} : TPoint{along, side}; }

    bool vertical;
    int across, width, middle, low, high, tip, foot;
};

} // namespace

void TCustomBarSeries::DrawShape2D(TPlotCanvas3D& canvas, TBarStyle style, int startPos, int endPos)
{
    const TRect& b = bounds_;
    const int middleZ = (barStartZ_ + barEndZ_) / 2;
    const BarGeometry g(b, IsVertical(), startPos, endPos);
    const auto at = [&g](int along, int side) { return g.At(along, side); };
    const int across = g.across, width = g.width, middle = g.middle, low = g.low, high = g.high, tip = g.tip,
              foot = g.foot;
    switch (style) {
    case bsRectangle:
    case bsCilinder:
    case bsRectGradient:
    case bsBevel: DrawBox2D(canvas, b); break;
    case bsPyramid:
    case bsCone: canvas.Polygon(TPointArray{at(foot, low), at(tip, across), at(foot, high)}, 2); break;
    case bsInvPyramid:
    case bsInvCone: canvas.Polygon(TPointArray{at(tip, low), at(foot, across), at(tip, high)}, 2); break;
    case bsEllipse: canvas.Ellipse(b.Left, b.Top, b.Right, b.Bottom); break;
    case bsArrow: canvas.Arrow(true, at(foot, across), at(tip, across), middleZ, width / 2, width, 50); break;
    case bsInvArrow: canvas.Arrow(true, at(tip, across), at(foot, across), middleZ, width / 2, width, 50); break;
    case bsSlantCube:
        DrawBox2D(canvas, b);
        canvas.LinePoints(at(startPos, across), at(endPos, across));
        break;
    case bsDiamond:
        canvas.Polygon(TPointArray{at(startPos, across), at(middle, high), at(endPos, across), at(middle, low)}, 3);
        break;
    }
}

void TCustomBarSeries::DrawShape3D(TPlotCanvas3D& canvas, TBarStyle style, int startPos, int endPos)
{
    const TRect& b = bounds_;
    const bool vertical = IsVertical();
    const int z0 = barStartZ_;
    const int z1 = barEndZ_;
    const int middleZ = (z0 + z1) / 2;
    const BarGeometry g(b, vertical, startPos, endPos);
    const auto at = [&g](int along, int side) { return g.At(along, side); };
    const int across = g.across, width = g.width, middle = g.middle, low = g.low, high = g.high, tip = g.tip,
              foot = g.foot;
    // The canvas' pyramid and cone point to their top (vertical) or right (horizontal) argument.
    auto pointed = [&](bool toTip, auto&& shape) {
        const int to = toTip ? tip : foot;
        const int from = toTip ? foot : tip;
        if (vertical)
            shape(b.Left, to, b.Right, from);
        else
            shape(from, b.Top, to, b.Bottom);
    };
    switch (style) {
    case bsRectangle:
    case bsRectGradient:
    case bsBevel:
        if (vertical)
            canvas.Cube(b.Left, b.Right, startPos, endPos, z0, z1, dark3D_);
        else
            canvas.Cube(startPos, endPos, b.Top, b.Bottom, z0, z1, dark3D_);
        break;
    case bsPyramid:
    case bsInvPyramid:
        pointed(style == bsPyramid, [&](int l, int t, int r, int bt) { canvas.Pyramid(vertical, l, t, r, bt, z0, z1, dark3D_); });
        break;
    case bsCone:
    case bsInvCone:
        pointed(style == bsCone,
            [&](int l, int t, int r, int bt) { canvas.Cone(vertical, l, t, r, bt, z0, z1, dark3D_, conePercent_); });
        break;
    case bsCilinder: canvas.Cylinder(vertical, b.Left, b.Top, b.Right, b.Bottom, z0, z1, dark3D_); break;
    case bsSlantCube: {
        CylinderSidesScope four(canvas, 4);
        canvas.Cylinder(vertical, b.Left, b.Top, b.Right, b.Bottom, z0, z1, dark3D_);
        break;
    }
    case bsEllipse: canvas.EllipseAtDepth(b.Left, b.Top, b.Right, b.Bottom, middleZ); break;
    case bsArrow: canvas.Arrow(true, at(foot, across), at(tip, across), middleZ, width / 2, width, 50); break;
    case bsInvArrow: canvas.Arrow(true, at(tip, across), at(foot, across), middleZ, width / 2, width, 50); break;
    case bsDiamond:
        canvas.PolygonAtDepth(
            TPointArray{at(startPos, across), at(middle, high), at(endPos, across), at(middle, low)}, 3, middleZ);
        break;
    }
}

// ---- fills

TColor TCustomBarSeries::GradientEndColor(int valueIndex, TColor color)
{
    if (!gradient_->Relative())
        return color;
    TChartValueList& values = MandatoryValueList();
    const double origin = useYOrigin_ ? yOrigin_ : values.MinValue();
    const double span = values.MaxValue() - origin;
    // A series whose largest value is its origin has no share to scale by: the full colour.
    double ratio = span == 0.0 ? 1.0 : (values.Value(valueIndex) - origin) / span;
    if (!std::isfinite(ratio))
        ratio = 1.0;
    ratio = std::clamp(ratio, 0.0, 1.0);
    const uint32_t from = ColorToRGB(gradient_->StartColor());
    const uint32_t to = ColorToRGB(color);
    auto mix = [ratio](int a, int b) { return static_cast<int>(std::nearbyint(a + (b - a) * ratio)); };
    return RGBColor(mix(GetRValue(from), GetRValue(to)), mix(GetGValue(from), GetGValue(to)),
        mix(GetBValue(from), GetBValue(to)));
}

void TCustomBarSeries::DrawGradient(TPlotCanvas3D& canvas, int valueIndex)
{
    TPlotGradient fill;   // a copy: the series' own would repaint the chart on every bar
    fill.Assign(*gradient_);
    fill.SetEndColor(GradientEndColor(valueIndex, normalBarColor_));
    fill.SetVisible(true);
    TRect r = OrientRect(bounds_);
    if (Pen().Visible()) {
        const int w = Pen().Width();
        r = TRect{r.Left + w, r.Top + w, r.Right - w, r.Bottom - w};
    } else {
        --r.Right;
        --r.Bottom;
    }
    if (r.Right <= r.Left || r.Bottom <= r.Top)
        return;
    TCustomAxisPanel* panel = Panel();
    if (panel && panel->View3D()) {
        const TFourPoints face{canvas.ProjectPoint(r.Left, r.Top, barStartZ_), canvas.ProjectPoint(r.Right, r.Top, barStartZ_),
            canvas.ProjectPoint(r.Right, r.Bottom, barStartZ_), canvas.ProjectPoint(r.Left, r.Bottom, barStartZ_)};
        fill.DrawFourPoints(canvas, face);
    } else {
        fill.Draw(canvas, r, 0);
    }
}

void TCustomBarSeries::DrawBevel(TPlotCanvas3D& canvas)
{
    TRect r = OrientRect(bounds_);
    if (Pen().Visible()) {
        const int w = Pen().Width();
        r = TRect{r.Left + w, r.Top + w, r.Right - w, r.Bottom - w};
    }
    TCustomAxisPanel* panel = Panel();
    if (panel && panel->View3D())
        r = canvas.CalcRect3D(r, barStartZ_);
    canvas.Frame3D(r, ColorBrighter(normalBarColor_, 128), ColorDarker(normalBarColor_, 64), bevelSize_);
}

// ---- tick lines

void TCustomBarSeries::DrawTickLines(TPlotCanvas3D& canvas, TBarStyle style, int startPos, int endPos)
{
    const TChartAxis* axis = ValueAxis();
    if (!axis)
        return;
    canvas.AssignVisiblePen(*tickLines_);
    for (const int pos : axis->TickPositions())
        if (pos > startPos && pos < endPos)
            DrawTickLine(pos, style);
}

void TCustomBarSeries::DrawTickLine(int pos, TBarStyle style)
{
    TCustomAxisPanel* panel = Panel();
    if (!panel)
        return;
    TPlotCanvas3D& canvas = panel->Canvas();
    const bool is3D = panel->View3D();
    const bool vertical = IsVertical();
    const TRect b = OrientRect(bounds_);
    const int low = vertical ? b.Left : b.Top;
    const int high = vertical ? b.Right : b.Bottom;
    auto at = [vertical, pos](int side) { return vertical ? TPoint{side, pos} : TPoint{pos, side}; };
    if (IsBoxStyle(style)) {
        if (!is3D) {
            canvas.LinePoints(at(low), at(high));
            return;
        }
        canvas.LinePointsZ(at(low), at(high), barStartZ_);
        // On along the side that faces the viewer: the right face of a column, the top of a row.
        const TPoint side = at(vertical ? high : low);
        canvas.MoveToAtDepth(side.X, side.Y, barStartZ_);
        canvas.LineToAtDepth(side.X, side.Y, barEndZ_);
    } else if (style == bsArrow) {
        const int quarter = (high - low) / 4;
        const int middleZ = (barStartZ_ + barEndZ_) / 2;
        if (is3D)
            canvas.LinePointsZ(at(low + quarter), at(high - quarter), middleZ);
        else
            canvas.LinePoints(at(low + quarter), at(high - quarter));
    }
}

// ---- marks and legend

int TCustomBarSeries::BarMarkSize(int valueIndex) const
{
    auto* self = const_cast<TCustomBarSeries*>(this);
    if (valueIndex < 0)
        return IsVertical() ? self->MaxMarkWidth() : MarkLength();
    return IsVertical() ? self->Marks().TextWidth(valueIndex) : MarkLength();
}

void TCustomBarSeries::DrawMark(int valueIndex, const QString& text, TSeriesMarkPosition& position)
{
    (void)text;
    TSeriesMarks& marks = Marks();
    marks.ZPosition = barStartZ_;
    const int length = marks.Callout().Length();
    const int distance = marks.Callout().Distance();
    const int across = CategoryPos(valueIndex) + layout_.BarSize / 2;
    const int end = ValuePos(valueIndex);
    if (IsVertical()) {
        const TChartAxis* axis = ValueAxis();
        const int origin = BarOriginPos(valueIndex, axis ? axis->EndPixel() : 0);
        const bool up = end <= origin;
        const int sign = up ? -1 : 1;
        position.ArrowFrom = TPoint{across, end + sign * distance};
        position.ArrowTo = TPoint{across, end + sign * (distance + length)};
        position.LeftTop = TPoint{across - position.Width / 2, up ? position.ArrowTo.Y - position.Height + 1 : position.ArrowTo.Y};
    } else {
        const TChartAxis* axis = ValueAxis();
        const int origin = BarOriginPos(valueIndex, axis ? axis->StartPixel() : 0);
        const bool right = end >= origin;
        const int sign = right ? 1 : -1;
        position.ArrowFrom = TPoint{end + sign * distance, across};
        position.ArrowTo = TPoint{end + sign * (distance + length), across};
        position.LeftTop = TPoint{right ? position.ArrowTo.X : position.ArrowTo.X - position.Width, across - position.Height / 2};
    }
    if (autoMarkPosition_)
        marks.AntiOverlap(FirstValueIndex, valueIndex, position);
    TChartSeries::DrawMark(valueIndex, text, position);
}

void TCustomBarSeries::PrepareLegendCanvas(int valueIndex, TColor& color, TBrushStyle& brushStyle)
{
    (void)valueIndex;
    (void)brushStyle;
    if (TCustomAxisPanel* panel = Panel())
        SetBarPen(panel->Canvas(), color);
}
