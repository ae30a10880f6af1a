// Drawing of the line, point and area series: segment by segment as the points come, and the
// pixel-column reduction of long traces where it gives the same picture.
#include "chart/series/LineSeries.h"

#include "chart/canvas/CanvasGeometry.h"
#include "chart/canvas/PlotBlend.h"
#include "chart/canvas/PlotCanvas3D.h"
#include "chart/engine/AxisPanel.h"
#include "chart/engine/SeriesMarks.h"
#include "platform/gdi/ColumnPath.h"
#include "platform/gdi/RasterDC.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace {

// Settings a drawing pass changes for its length and gives back however it ends.
template <class T>
class Restore {
public:
    Restore(T& field, T value) : field_(field), saved_(field) { field_ = value; }
    ~Restore() { field_ = saved_; }
    Restore(const Restore&) = delete;
    Restore& operator=(const Restore&) = delete;

private:
    T& field_;
    T saved_;
};

} // namespace

// The drawing passes of DrawAllValues: a shadow pass and an outline pass draw the same values
// in another colour (and, for the outline, a wider pen) before the normal pass.
struct TCustomSeries::DrawState {
    TColor colorOverride = clDefault;
    int shiftX = 0;
    int shiftY = 0;
    bool noSymbols = false;
    bool outline = false;
};

int TCustomSeries::FirstDisplayedIndex() const
{
    return DrawValuesForward() ? FirstValueIndex : LastValueIndex;
}

int TCustomSeries::LastDisplayedIndex() const
{
    return DrawValuesForward() ? LastValueIndex : FirstValueIndex;
}

// ---- visible range

void TCustomSeries::CalcFirstLastVisibleIndex()
{
    TCustomLineSeries::CalcFirstLastVisibleIndex();
    TCustomAxisPanel* panel = Panel();
    if (FirstValueIndex < 0 || !panel)
        return;
    const TRect r = panel->ChartRect;
    const int h = pointer_->HorizSize();
    const int v = pointer_->VertSize();
    auto reaches = [&](int i) {
        const int x = XToPixel(i);
        const int y = YToPixel(i);
        return x + h >= r.Left && x - h <= r.Right && y + v >= r.Top && y - v <= r.Bottom;
    };
    const std::span<const double> order = NotMandatoryValueList().Values();
    const int count = Count();
    while (LastValueIndex + 1 < count && reaches(LastValueIndex + 1))
        ++LastValueIndex;
    while (LastValueIndex + 1 < count && order[LastValueIndex + 1] == order[LastValueIndex])
        ++LastValueIndex;
    while (FirstValueIndex > 0 && reaches(FirstValueIndex - 1))
        --FirstValueIndex;
    while (FirstValueIndex > 0 && order[FirstValueIndex - 1] == order[FirstValueIndex])
        --FirstValueIndex;
}

// ---- pens and symbols

void TCustomSeries::PrepareLinePen(TPlotCanvas3D& canvas, TColor color)
{
    TCustomAxisPanel* panel = Panel();
    if (panel && panel->View3D()) {
        canvas.AssignBrushColor(Brush(), color, color);
        canvas.AssignVisiblePen(LinePen());
        return;
    }
    canvas.Brush().SetStyle(bsClear);
    canvas.AssignVisiblePenColor(LinePen(), color);
}

TSeriesPointerStyle TCustomSeries::GetPointerStyle(int valueIndex)
{
    return OnGetPointerStyle ? OnGetPointerStyle(this, valueIndex) : pointer_->Style();
}

void TCustomSeries::DrawPointer(int x, int y, TColor color, int valueIndex)
{
    TPlotCanvas3D* canvas = Canvas();
    if (!canvas)
        return;
    pointer_->PrepareCanvas(*canvas, color);
    const TSeriesPointerStyle style = GetPointerStyle(valueIndex);
    if (OnGetPointerStyle)
        pointer_->PrepareCanvas(*canvas, color);
    pointer_->Draw(x, y, color, style);
    preparedLineColor_ = clNone;
}

// ---- the whole series

void TCustomSeries::DrawAllValues()
{
    TCustomAxisPanel* panel = Panel();
    if (!panel || FirstValueIndex < 0)
        return;
    // A flat series with neither line, area nor symbols leaves no pixel: its points need no visit.
    if (!panel->View3D() && !drawArea_ && !pointer_->Visible() && (!drawLine_ || !LinePen().Visible()))
        return;
    // Each pass runs with its own state, and none is left behind however the drawing ends.
    auto pass = [this](DrawState& state) {
        Restore<DrawState*> scope(drawState_, &state);
        RunBaseLoop();
    };
    if (shadow_->Visible() && (shadow_->HorizSize() != 0 || shadow_->VertSize() != 0)) {
        DrawState shadow;
        shadow.colorOverride = shadow_->Color();
        shadow.shiftX = shadow_->HorizSize();
        shadow.shiftY = shadow_->VertSize();
        shadow.noSymbols = true;
        pass(shadow);
    }
    if (outLine_->Visible()) {
        DrawState outline;
        outline.colorOverride = outLine_->Color();
        outline.outline = true;
        pass(outline);
    }
    DrawState normal;
    pass(normal);
}

void TCustomSeries::RunBaseLoop()
{
    preparedLineColor_ = clNone;
    previousIndex_ = -1;
    lastRunDrawing_ = RunDrawingFor();
    switch (lastRunDrawing_) {
    case RunDrawing::Columns: DrawRuns(true); break;
    case RunDrawing::Segments: DrawRuns(false); break;
    case RunDrawing::PointByPoint: TCustomLineSeries::DrawAllValues(); break;
    }
    preparedLineColor_ = clNone;
}

// ---- one point

void TCustomSeries::DrawValue(int valueIndex)
{
    TPlotCanvas3D* canvas = Canvas();
    if (!canvas)
        return;
    const DrawState* state = drawState_;
    TColor color = GetValueColor(valueIndex);
    if (state && state->colorOverride != clDefault && color != clNone)
        color = state->colorOverride;
    const int shiftX = state ? state->shiftX : 0;
    const int shiftY = state ? state->shiftY : 0;
    int x = XToPixel(valueIndex) + shiftX;
    int y = YToPixel(valueIndex) + shiftY;
    const int first = FirstDisplayedIndex();
    // A value that is no number leaves a gap whatever the null rule: it has no place to join.
    missing_ = IsMissingPoint(valueIndex);
    if (missing_)
        color = clNone;
    if (color == clNone && TreatNulls() == tnSkip && !missing_) {
        if (valueIndex != first) {
            x = oldX_;
            y = oldY_;
        } else {
            for (int i = 0; i < Count(); ++i)
                if (!IsNull(i) && !IsMissingPoint(i)) {
                    x = XToPixel(i) + shiftX;
                    y = YToPixel(i) + shiftY;
                    break;
                }
        }
    }
    const bool afterGap = valueIndex > 0 && ((IsNull(valueIndex - 1) && TreatNulls() == tnDontPaint) ||
                                             IsMissingPoint(valueIndex - 1));
    if (afterGap) {
        oldX_ = x;
        oldY_ = y;
    }
    x_ = x;
    y_ = y;
    color_ = color;
    valueIndex_ = valueIndex;
    originPos_ = GetOriginPos(valueIndex);
    isLast_ = valueIndex == LastDisplayedIndex();
    TCustomAxisPanel* panel = Panel();
    if (valueIndex == first) {
        if (dark3D_) {
            const int dx = panel ? panel->SeriesWidth3D : 0;
            const int dy = panel ? panel->SeriesHeight3D : 0;
            dark3DRatio_ = dx == 0 ? 1.0 : std::fabs(static_cast<double>(dy) / dx);
        }
        if (first == FirstValueIndex && valueIndex > 0)
            EnterFromOffScreen(valueIndex - 1, false);
        if (isLast_ && pointer_->Visible() && color != clNone && !(state && state->noSymbols))
            DrawPointer(x, y, color, valueIndex);
    } else if (isLast_) {
        DrawSegment(true);
        if (first == LastValueIndex && valueIndex > 0)
            EnterFromOffScreen(valueIndex - 1, true);
    } else {
        DrawSegment(true);
    }
    oldX_ = x_;
    oldY_ = y_;
    oldOriginPos_ = originPos_;
    oldColor_ = color_;
    oldMissing_ = missing_;
    previousIndex_ = valueIndex;
}

// The point before the first one shown lies off the chart: the line comes in from the chart's
// edge at the height it has there, or the area from that point itself.
void TCustomSeries::EnterFromOffScreen(int index, bool reversed)
{
    (void)reversed;
    TCustomAxisPanel* panel = Panel();
    TChartAxis* orderAxis = OrderAxis();
    if (!panel || !orderAxis)
        return;
    const DrawState* state = drawState_;
    const int shiftX = state ? state->shiftX : 0;
    const int shiftY = state ? state->shiftY : 0;
    if (drawArea_) {
        oldX_ = XToPixel(index) + shiftX;
        oldY_ = YToPixel(index) + shiftY;
        oldOriginPos_ = GetOriginPos(index);
    } else {
        const TPoint entry = EdgeEntry(index, valueIndex_, stairs_);
        oldX_ = entry.X + (YMandatory() ? 0 : shiftX);
        oldY_ = entry.Y + (YMandatory() ? shiftY : 0);
    }
    if (!IsNull(index) && !IsMissingPoint(index)) {
        const int savedPrevious = previousIndex_;
        previousIndex_ = index;
        DrawSegment(false);
        previousIndex_ = savedPrevious;
    }
}

// ---- one segment

void TCustomSeries::DrawSegment(bool withSymbols)
{
    TPlotCanvas3D* canvas = Canvas();
    TCustomAxisPanel* panel = Panel();
    if (!canvas || !panel)
        return;
    const bool draw =
        !(x_ == oldX_ && y_ == oldY_) && !(TreatNulls() != tnIgnore && color_ == clNone) && !missing_;
    if (draw) {
        const bool view3D = panel->View3D();
        if (view3D && (drawArea_ || drawLine_))
            DrawRibbon3D(*canvas);
        else if (!drawArea_ && drawLine_)
            DrawLine2D();
        if (drawArea_)
            DrawAreaSegment(*canvas);
    }
    const DrawState* state = drawState_;
    if (!pointer_->Visible() || !withSymbols || (state && state->noSymbols))
        return;
    if (oldColor_ == clNone) {
        if (TreatNulls() != tnDontPaint && !oldMissing_)
            DrawPointer(oldX_, oldY_, color_, previousIndex_);
    } else {
        DrawPointer(oldX_, oldY_, oldColor_, previousIndex_);
    }
    if (isLast_ && color_ != clNone)
        DrawPointer(x_, y_, color_, valueIndex_);
}

void TCustomSeries::DrawLine2D()
{
    TPlotCanvas3D& canvas = *Canvas();
    const DrawState* state = drawState_;
    TColor penColor = pointer_->Visible() && !colorEachLine_ ? SeriesColor() : color_;
    if (state && state->colorOverride != clDefault)
        penColor = state->colorOverride;
    if (penColor != preparedLineColor_) {
        PrepareLinePen(canvas, penColor);
        if (state && state->outline) {
            canvas.Pen().SetStyle(outLine_->Style());
            canvas.Pen().SetWidth(outLine_->Width() * 2 + LinePen().Width());
            canvas.AssignVisiblePenColor(canvas.Pen(), penColor);
        }
        preparedLineColor_ = penColor;
    }
    std::unique_ptr<TPlotBlend> blend;
    if (Transparency() > 0) {
        const int w = LinePen().Width();
        blend = canvas.BeginBlending(TRect{std::min(oldX_, x_) - w, std::min(oldY_, y_) - w, std::max(oldX_, x_) + w,
                                           std::max(oldY_, y_) + w},
                                     Transparency());
    }
    canvas.MoveTo(oldX_, oldY_);
    if (stairs_) {
        if (invertedStairs_)
            canvas.LineTo(oldX_, y_);
        else
            canvas.LineTo(x_, oldY_);
    }
    canvas.LineTo(x_, y_);
    if (blend) {
        canvas.EndBlending(std::move(blend));
        preparedLineColor_ = clNone;
    }
}

// ---- areas

void TCustomSeries::DrawAreaSegment(TPlotCanvas3D& canvas)
{
    TCustomAxisPanel* panel = Panel();
    const bool view3D = panel && panel->View3D();
    TColor brushColor = AreaColorFor(color_);
    if (brushColor == clDefault)
        brushColor = SeriesColor();
    if (areaBrush_->HasImage() && brushColor == color_)
        brushColor = clWhite;
    canvas.AssignBrushColor(*areaBrush_, brushColor, areaBrush_->BackColor());
    // A shadow or outline pass draws the area lines in its own colour too: in the shadow's colour
    // they are part of the shadow, in their own they stood on it as stubs.
    const bool passColour = drawState_ && drawState_->colorOverride != clDefault;
    if (areaLinesPen_->Visible() && areaLinesPen_->Color() != clDefault && !passColour)
        canvas.AssignVisiblePen(*areaLinesPen_);
    else
        canvas.AssignVisiblePenColor(*areaLinesPen_, color_);
    preparedLineColor_ = clNone;
    const bool vertical = YMandatory();
    std::unique_ptr<TPlotBlend> blend;
    auto corner = [vertical](int order, int measured) { return vertical ? TPoint{order, measured} : TPoint{measured, order}; };
    const int oldOrder = vertical ? oldX_ : oldY_;
    const int order = vertical ? x_ : y_;
    const int oldMeasured = vertical ? oldY_ : oldX_;
    const int measured = vertical ? y_ : x_;
    if (!stairs_) {
        const std::array<TPoint, 4> quad = {corner(oldOrder, oldOriginPos_), corner(oldOrder, oldMeasured),
                                            corner(order, measured), corner(order, originPos_)};
        if (Transparency() > 0)
            blend = canvas.BeginBlending(PolygonBounds(TPointArray(quad.begin(), quad.end()), 3), Transparency());
        if (view3D) {
            const bool turned = panel->View3DOptions().Orthogonal() ? false
                                                                    : panel->View3DOptions().Rotation() > 90 &&
                                                                          panel->View3DOptions().Rotation() < 270;
            canvas.QuadAtDepth(quad[0], quad[1], quad[2], quad[3], turned ? EndZ() : StartZ());
        } else if (gradient_->Visible()) {
            canvas.ClipPolygon(quad.data(), 4, false);
            const int top = MeasureAxis() ? MeasureAxis()->ValueToPixel(MandatoryValueList().MaxValue()) : 0;
            const TRect fill = vertical ? TRect{oldX_, std::min(top, originPos_), x_, std::max(top, originPos_)}
                                        : TRect{std::min(top, originPos_), oldY_, std::max(top, originPos_), y_};
            gradient_->Draw(canvas, OrientRect(fill), 0);
            canvas.UnClipRectangle();
            if (canvas.Pen().Style() != psClear) {
                canvas.MoveTo(quad[1].X, quad[1].Y);
                canvas.LineTo(quad[0].X, quad[0].Y);
            }
        } else {
            canvas.Polygon(TPointArray(quad.begin(), quad.end()), 3);
        }
    } else {
        const int level = invertedStairs_ ? measured : oldMeasured;
        const int base = invertedStairs_ ? originPos_ : oldOriginPos_;
        const TPoint a = corner(oldOrder, level);
        const TPoint b = corner(order, base);
        const TRect rect{std::min(a.X, b.X), std::min(a.Y, b.Y), std::max(a.X, b.X), std::max(a.Y, b.Y)};
        if (Transparency() > 0)
            blend = canvas.BeginBlending(rect, Transparency());
        if (view3D)
            canvas.RectangleAtDepth(rect, StartZ());
        else
            canvas.Rectangle(rect.Left, rect.Top, rect.Right, rect.Bottom);
    }
    if (LinePen().Visible()) {
        PrepareLinePen(canvas, color_);
        canvas.Brush().SetStyle(bsClear);
        const int z = StartZ();
        auto line = [&](TPoint p, TPoint q) {
            if (view3D)
                canvas.LineAtDepth(p.X, p.Y, q.X, q.Y, z);
            else {
                canvas.MoveTo(p.X, p.Y);
                canvas.LineTo(q.X, q.Y);
            }
        };
        if (!stairs_) {
            line(corner(oldOrder, oldMeasured), corner(order, measured));
        } else if (invertedStairs_) {
            if (valueIndex_ != FirstDisplayedIndex())
                line(corner(oldOrder, oldMeasured), corner(oldOrder, measured));
            line(corner(oldOrder, measured), corner(order, measured));
        } else {
            line(corner(oldOrder, oldMeasured), corner(order, oldMeasured));
            if (!isLast_)
                line(corner(order, oldMeasured), corner(order, measured));
        }
        preparedLineColor_ = clNone;
    }
    if (blend)
        canvas.EndBlending(std::move(blend));
}

// ---- 3D

void TCustomSeries::DrawLineHeight(TPlotCanvas3D& canvas)
{
    const int h = lineHeight_;
    canvas.QuadAtDepth(TPoint{oldX_, oldY_}, TPoint{x_, y_}, TPoint{x_, y_ + h}, TPoint{oldX_, oldY_ + h}, StartZ());
    if (isLast_)
        canvas.QuadAtDepth(TPoint{x_, y_}, TPoint{x_, y_ + h}, TPoint{x_, y_ + h}, TPoint{x_, y_}, EndZ());
}

void TCustomSeries::DrawRibbon3D(TPlotCanvas3D& canvas)
{
    TColor fill = !colorEachLine_ && !drawArea_ ? SeriesColor() : AreaColorFor(color_);
    if (drawState_ && drawState_->colorOverride != clDefault)
        fill = drawState_->colorOverride;
    canvas.AssignBrushColor(Brush(), fill, fill);
    canvas.AssignVisiblePen(LinePen());
    preparedLineColor_ = clNone;
    std::unique_ptr<TPlotBlend> blend;
    if (Transparency() > 0) {
        const TRect a = canvas.CalcRect3DBounds(TRect{std::min(oldX_, x_), std::min(oldY_, y_), std::max(oldX_, x_),
                                                      std::max(oldY_, y_)},
                                                StartZ());
        const TRect b = canvas.CalcRect3DBounds(TRect{std::min(oldX_, x_), std::min(oldY_, y_), std::max(oldX_, x_),
                                                      std::max(oldY_, y_)},
                                                EndZ());
        blend = canvas.BeginBlending(TRect{std::min(a.Left, b.Left), std::min(a.Top, b.Top), std::max(a.Right, b.Right),
                                           std::max(a.Bottom, b.Bottom)},
                                     Transparency());
    }
    const bool canDarken = dark3D_ && !canvas.GetSupportsFeature() && canvas.Brush().Style() != bsClear &&
                           canvas.Brush().Bitmap().isNull();
    auto face = [&](TPoint p, TPoint q, bool darker) {
        if (darker)
            canvas.SetBrushDarker(fill, 64);
        else
            canvas.AssignBrushColor(Brush(), fill, fill);
        canvas.DepthPlane(p, q, StartZ(), EndZ());
    };
    const bool vertical = YMandatory();
    if (!stairs_) {
        if (lineHeight_ != 0)
            DrawLineHeight(canvas);
        const bool darker = canDarken && x_ != oldX_ &&
                            dark3DRatio_ < static_cast<double>(oldY_ - y_) / static_cast<double>(x_ - oldX_);
        face(TPoint{oldX_, oldY_}, TPoint{x_, y_}, darker);
    } else {
        const TPoint corner = (invertedStairs_ == vertical) ? TPoint{oldX_, y_} : TPoint{x_, oldY_};
        face(TPoint{oldX_, oldY_}, corner, false);
        face(corner, TPoint{x_, y_}, canDarken);
    }
    if (blend)
        canvas.EndBlending(std::move(blend));
}

// ---- marks and legend

void TCustomSeries::PlaceMark(int valueIndex, TSeriesMarkPosition& position)
{
    (void)valueIndex;
    (void)position;
}

void TCustomSeries::DrawMark(int valueIndex, const QString& text, TSeriesMarkPosition& position)
{
    Marks().ZPosition = StartZ();
    PlaceMark(valueIndex, position);
    TCustomLineSeries::DrawMark(valueIndex, text, position);
}

namespace {

// A horizontal series puts its mark beside the point instead of above it.
void PlaceSideways(TChartSeries& series, int valueIndex, TSeriesMarkPosition& position, bool toTheLeft)
{
    TMarksCallout& callout = series.Marks().Callout();
    const int offset = callout.Length() + callout.Distance();
    const int x = series.XToPixel(valueIndex);
    const int y = series.YToPixel(valueIndex);
    position.LeftTop.Y = y - position.Height / 2;
    position.LeftTop.X = toTheLeft ? x - offset - position.Width : x + offset;
    position.ArrowFrom = TPoint{x, y};
    position.ArrowTo = TPoint{toTheLeft ? x - offset : x + offset, y};
}

} // namespace

void THorizLineSeries::PlaceMark(int valueIndex, TSeriesMarkPosition& position)
{
    PlaceSideways(*this, valueIndex, position, XToPixel(valueIndex) < GetOriginPos(valueIndex));
}

void THorizAreaSeries::PlaceMark(int valueIndex, TSeriesMarkPosition& position)
{
    PlaceSideways(*this, valueIndex, position, false);
}

void TCustomSeries::PrepareLegendCanvas(int valueIndex, TColor& color, TBrushStyle& brushStyle)
{
    (void)valueIndex;
    (void)color;
    brushStyle = Brush().Style();
}

void TLineSeries::PrepareLegendCanvas(int valueIndex, TColor& color, TBrushStyle& brushStyle)
{
    (void)valueIndex;
    (void)color;
    if (TCustomAxisPanel* panel = ParentChart() ? ParentChart()->AxisPanel() : nullptr)
        panel->Canvas().AssignVisiblePen(LinePen());
    brushStyle = Brush().Style();
}

void TAreaSeries::PrepareLegendCanvas(int valueIndex, TColor& color, TBrushStyle& brushStyle)
{
    (void)valueIndex;
    TCustomAxisPanel* panel = ParentChart() ? ParentChart()->AxisPanel() : nullptr;
    if (!panel)
        return;
    color = AreaColorFor(color);
    panel->Canvas().AssignVisiblePen(AreaLinesPen());
    brushStyle = AreaBrush();
}

// A legend with a pen of its own draws every line and symbol outline with it.
void TCustomSeries::DrawLegendShape(int valueIndex, const TRect& rect)
{
    TPlotCanvas3D* canvas = Canvas();
    TCustomAxisPanel* panel = Panel();
    if (!canvas || !panel)
        return;
    const TColor color = valueIndex < 0 ? SeriesColor() : LegendItemColor(valueIndex);
    const int midY = (rect.Top + rect.Bottom) / 2;
    auto linePen = [&] {
        if (panel->LegendPen)
            canvas->AssignVisiblePen(*panel->LegendPen);
        else
            PrepareLinePen(*canvas, color);
    };
    if (pointer_->Visible()) {
        const bool line = drawLine_;
        if (line) {
            linePen();
            canvas->MoveTo(rect.Left, midY);
            canvas->LineTo(rect.Right, midY);
        }
        const TSeriesPointerStyle style =
            OnGetPointerStyle && valueIndex >= 0 ? OnGetPointerStyle(this, valueIndex) : pointer_->Style();
        const bool penShown = LinePen().Visible() && line;
        const int w = rect.Right - rect.Left;
        const int h = rect.Bottom - rect.Top;
        const int horiz = std::min(pointer_->HorizSize(), penShown ? w / 3 : w / 2 + 1);
        const int vert = std::min(pointer_->VertSize(), penShown ? h / 3 : h / 2 + 1);
        pointer_->PrepareCanvas(*canvas, color);
        if (panel->LegendPen)
            canvas->AssignVisiblePen(*panel->LegendPen);
        pointer_->DrawPointer(*canvas, false, (rect.Left + rect.Right) / 2, midY, horiz, vert, color, style);
    } else if (drawLine_ && !drawArea_ && !panel->View3D()) {
        linePen();
        canvas->MoveTo(rect.Left, midY);
        canvas->LineTo(rect.Right, midY);
    } else {
        canvas->Brush().SetStyle(AreaBrush());
        canvas->Brush().SetColor(color);
        panel->DrawLegendRect(rect);
    }
    preparedLineColor_ = clNone;
}

void TAreaSeries::DrawLegendShape(int valueIndex, const TRect& rect)
{
    TCustomAxisPanel* panel = ParentChart() ? ParentChart()->AxisPanel() : nullptr;
    if (panel && Gradient().Visible()) {
        Gradient().Draw(panel->Canvas(), rect, 0);
        return;
    }
    TCustomSeries::DrawLegendShape(valueIndex, rect);
}

// ---- long traces by pixel columns

// Runs of a plain line (flat, no symbols, areas, stairs, stacking or translucency, one colour
// per run) are drawn without the per-point machinery: as the segments the points give, or, on a
// raster picture with a pen that paints the union of its segments, by pixel columns.
TCustomSeries::RunDrawing TCustomSeries::RunDrawingFor()
{
    TCustomAxisPanel* panel = Panel();
    TPlotCanvas3D* canvas = Canvas();
    if (!FastDrawing || !panel || !canvas || panel->View3D())
        return RunDrawing::PointByPoint;
    if (!YMandatory() || drawArea_ || !drawLine_ || pointer_->Visible() || stairs_ || Transparency() > 0 ||
        stacked_ != cssNone || ColorEachPoint() || !DrawValuesForward())
        return RunDrawing::PointByPoint;
    if (drawState_ && (drawState_->outline || drawState_->shiftX != 0 || drawState_->shiftY != 0 ||
                       drawState_->colorOverride != clDefault))
        return RunDrawing::PointByPoint;
    if (LastValueIndex - FirstValueIndex < 3 || !dynamic_cast<TChartAxis*>(GetHorizAxis()) ||
        !dynamic_cast<TChartAxis*>(GetVertAxis()))
        return RunDrawing::PointByPoint;
    // A raster picture at 1:1; a metafile or a printer keeps every segment.
    if (panel->Printing || canvas->Metafiling || !dynamic_cast<gdi::RasterDC*>(canvas->GetHandle()))
        return RunDrawing::Segments;
    PrepareLinePen(*canvas, SeriesColor());
    preparedLineColor_ = clNone;
    return gdi::PenPaintsUnion(canvas->Pen().DevicePen(), PenModeToROP2(canvas->Pen().Mode())) ? RunDrawing::Columns
                                                                                            : RunDrawing::Segments;
}

// The first and the last point go the ordinary way (the line entering from off the chart, the
// end); in between, runs of one colour without nulls go by pixel columns, and nulls, values that
// are no number and the point after either the ordinary way.
void TCustomSeries::DrawRuns(bool byColumns)
{
    const int first = FirstValueIndex;
    const int last = LastValueIndex;
    DrawValue(first);
    if (last <= first)
        return;
    const bool gaps = HasMissingPoints();
    const TPointColors& colors = PointColors();
    const TColor seriesColor = SeriesColor();
    int i = first + 1;
    while (i < last) {
        const int run = colors.RunAt(i);
        TColor color = run < 0 ? clDefault : colors.RunColor(run);
        int runEnd = last - 1;
        if (run >= 0)
            runEnd = std::min(runEnd, (run + 1 < colors.RunCount() ? colors.RunStart(run + 1) : colors.End()) - 1);
        if (color == clDefault)
            color = seriesColor;
        if (color == clNone) {
            for (; i <= runEnd; ++i)
                DrawValue(i);
            continue;
        }
        // A point after a null or a gap starts its line afresh, and a value that is no number
        // is passed one by one: a run that starts right after one would join it.
        if (IsNull(i - 1) || (gaps && (IsMissingPoint(i - 1) || IsMissingPoint(i)))) {
            DrawValue(i);
            ++i;
            continue;
        }
        int end = runEnd;
        for (int k = i; gaps && k <= runEnd; ++k)
            if (IsMissingPoint(k)) {
                end = k - 1;
                break;
            }
        if (i <= end) {
            // A run over all the points in between is kept for the next drawing.
            if (byColumns)
                DrawReducedRun(i, end, color, i == first + 1 && end == last - 1);
            else
                DrawSegmentsRun(i, end, color);
            i = end + 1;
        }
        if (end < runEnd) {
            DrawValue(i);
            ++i;
        }
    }
    DrawValue(last);
}

void TCustomSeries::DrawReducedRun(int from, int to, TColor color, bool keep)
{
    TPlotCanvas3D& canvas = *Canvas();
    if (color != preparedLineColor_) {
        PrepareLinePen(canvas, color);
        preparedLineColor_ = color;
    }
    const std::vector<TPoint>& path =
        drawCache_.ReducedRun(static_cast<TChartAxis&>(*GetHorizAxis()), static_cast<TChartAxis&>(*GetVertAxis()),
                              XValues(), YValues(), from, to, TPoint{oldX_, oldY_}, keep);
    if (path.size() > 1)
        canvas.Polyline(path, static_cast<int>(path.size()) - 1);
    oldX_ = path.back().X;
    oldY_ = path.back().Y;
    oldColor_ = color;
    oldMissing_ = false;
    previousIndex_ = to;
}

// Each segment as DrawValue draws it (a move and a line, none where the pixel stays), the pixels
// of the points converted in blocks.
void TCustomSeries::DrawSegmentsRun(int from, int to, TColor color)
{
    TPlotCanvas3D& canvas = *Canvas();
    if (color != preparedLineColor_) {
        PrepareLinePen(canvas, color);
        preparedLineColor_ = color;
    }
    const auto& xAxis = static_cast<const TChartAxis&>(*GetHorizAxis());
    const auto& yAxis = static_cast<const TChartAxis&>(*GetVertAxis());
    const std::span<const double> xs = XValues().Values();
    const std::span<const double> ys = YValues().Values();
    constexpr int kChunk = 512;
    std::array<int32_t, kChunk> px{};
    std::array<int32_t, kChunk> py{};
    int oldX = oldX_, oldY = oldY_;
    for (int start = from; start <= to; start += kChunk) {
        const size_t n = static_cast<size_t>(std::min(kChunk, to - start + 1));
        const size_t at = static_cast<size_t>(start);
        xAxis.ValuesToPixels(xs.subspan(at, n), std::span<int32_t>(px.data(), n));
        yAxis.ValuesToPixels(ys.subspan(at, n), std::span<int32_t>(py.data(), n));
        for (size_t k = 0; k < n; ++k) {
            if (px[k] == oldX && py[k] == oldY)
                continue;
            canvas.MoveTo(oldX, oldY);
            canvas.LineTo(px[k], py[k]);
            oldX = px[k];
            oldY = py[k];
        }
    }
    oldX_ = oldX;
    oldY_ = oldY;
    oldColor_ = color;
    oldMissing_ = false;
    previousIndex_ = to;
}
