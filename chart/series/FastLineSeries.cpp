#include "chart/series/FastLineSeries.h"

#include "chart/canvas/LibrarySettings.h"
#include "chart/canvas/PlotCanvas3D.h"
#include "chart/engine/AxisPanel.h"
#include "chart/engine/PlotMessages.h"
#include "chart/engine/SeriesMarks.h"
#include "platform/gdi/ColumnPath.h"
#include "platform/gdi/RasterDC.h"

#include <algorithm>

// The visible points run on to the first one past the high edge, as the line series' do: the
// segment that leaves the view, or crosses it between two points, is drawn up to the edge.
TFastLineSeries::TFastLineSeries()
{
    SetTreatNulls(tnIgnore);
    DrawBetweenPoints = true;
}

void TFastLineSeries::Assign(TChartSeries& source)
{
    if (const auto* fast = dynamic_cast<const TFastLineSeries*>(&source)) {
        autoRepaint_ = fast->autoRepaint_;
        drawAllPoints_ = fast->drawAllPoints_;
        ignoreNulls_ = fast->ignoreNulls_;
        invertedStairs_ = fast->invertedStairs_;
        stairs_ = fast->stairs_;
    }
    TCustomLineSeries::Assign(source);
}

void TFastLineSeries::CreateSubGallery(const std::function<void(const QString&)>& add) const
{
    for (const PlotMsg caption :
         {PlotMsg::GalleryNormal, PlotMsg::GalleryMarks, PlotMsg::GalleryDotted, PlotMsg::GalleryStairs})
        add(PlotMessage(caption));
}

void TFastLineSeries::SetSubGallery(int index)
{
    switch (index) {
    case 1:
        Marks().SetVisible(true);
        break;
    case 2:
        LinePen().SetSmallDots(true);
        break;
    case 3:
        SetStairs(true);
        break;
    default:
        break;
    }
}

void TFastLineSeries::SetSeriesColor(TColor color)
{
    TCustomLineSeries::SetSeriesColor(color);
    LinePen().SetColor(color);
}

void TFastLineSeries::SetPen(const TChartPen& value)
{
    TCustomLineSeries::SetPen(value);
    TCustomLineSeries::SetSeriesColor(value.Color());
}

TPlotCanvas3D* TFastLineSeries::Canvas() const
{
    ChartParent* chart = ParentChart();
    TCustomAxisPanel* panel = chart ? chart->AxisPanel() : nullptr;
    return panel ? &panel->Canvas() : nullptr;
}

void TFastLineSeries::SelectPen(TPlotCanvas3D& canvas)
{
    canvas.AssignVisiblePenColor(LinePen(), SeriesColor());
    canvas.Brush().SetStyle(bsClear);
    canvas.SetBackMode(cbmTransparent);
}

void TFastLineSeries::LineTo(TPlotCanvas3D& canvas, int x, int y)
{
    ChartParent* chart = ParentChart();
    if (chart && chart->View3D())
        canvas.LineToAtDepth(x, y, MiddleZ());
    else
        canvas.LineTo(x, y);
}

void TFastLineSeries::DrawAllValues()
{
    TPlotCanvas3D* canvas = Canvas();
    const int first = FirstValueIndex;
    const int last = LastValueIndex;
    if (!canvas || first < 0 || last < first)
        return;
    SelectPen(*canvas);
    if (ReduceColumns(*canvas))
        return;
    const bool view3D = ParentChart()->View3D();
    auto moveTo = [&](TPoint p) {
        lastX_ = p.X;
        lastY_ = p.Y;
        if (view3D)
            canvas->MoveToAtDepth(lastX_, lastY_, MiddleZ());
        else
            canvas->MoveTo(lastX_, lastY_);
    };
    afterNull_ = false;
    // The line starts at the first point that is a number.
    afterMissing_ = IsMissingPoint(first > 0 ? first - 1 : first);
    if (first > 0) {
        moveTo(EntryPoint(first));
        DrawValue(first);
    } else {
        moveTo(TPoint{XToPixel(first), YToPixel(first)});
    }
    for (int i = first + 1; i <= last; ++i)
        DrawValue(i);
}

// The line comes in from the point before the first one shown, which lies off the chart: it
// starts where it crosses the chart's edge, as the line series' does. The pixel of that point
// may be clamped far off, which would bend the segment. A value beyond a narrowed range is shown
// at the axis' end: the line starts there.
TPoint TFastLineSeries::EntryPoint(int first) const
{
    const TPoint before{XToPixel(first - 1), YToPixel(first - 1)};
    ChartParent* chart = ParentChart();
    TCustomAxisPanel* panel = chart ? chart->AxisPanel() : nullptr;
    if (!panel || IsMissingPoint(first - 1) || IsMissingPoint(first))
        return before;
    const TRect& r = panel->ChartRect;
    const bool shown =
        YMandatory() ? before.X >= r.Left && before.X <= r.Right : before.Y >= r.Top && before.Y <= r.Bottom;
    return shown ? before : EdgeEntry(first - 1, first, stairs_);
}

void TFastLineSeries::DrawValue(int valueIndex)
{
    TPlotCanvas3D* canvas = Canvas();
    if (!canvas)
        return;
    // A value that is no number is no point: no line goes to it or from it.
    if (IsMissingPoint(valueIndex)) {
        afterMissing_ = true;
        return;
    }
    int x = XToPixel(valueIndex);
    int y = YToPixel(valueIndex);
    if (x == lastX_ && (!drawAllPoints_ || y == lastY_) && !afterMissing_)
        return;
    bool moveOnly = afterMissing_;
    afterMissing_ = false;
    if (!ignoreNulls_) {
        const bool isNull = IsNull(valueIndex);
        if (isNull && TreatNulls() == tnSkip) {
            x = lastX_;
            y = lastY_;
        } else if (isNull && TreatNulls() == tnDontPaint) {
            moveOnly = true;
        } else if (afterNull_ && TreatNulls() == tnDontPaint) {
            moveOnly = true;
        }
        afterNull_ = isNull;
    }
    const bool view3D = ParentChart() && ParentChart()->View3D();
    if (moveOnly) {
        if (view3D)
            canvas->MoveToAtDepth(x, y, MiddleZ());
        else
            canvas->MoveTo(x, y);
    } else {
        if (stairs_)
            LineTo(*canvas, invertedStairs_ ? lastX_ : x, invertedStairs_ ? y : lastY_);
        LineTo(*canvas, x, y);
    }
    lastX_ = x;
    lastY_ = y;
}

// Every point drawn, flat, on a raster picture, with a pen that paints the union of its
// segments: the polyline by pixel columns gives the same pixels.
bool TFastLineSeries::ReduceColumns(TPlotCanvas3D& canvas)
{
    ChartParent* chart = ParentChart();
    TCustomAxisPanel* panel = chart ? chart->AxisPanel() : nullptr;
    auto* xAxis = dynamic_cast<TChartAxis*>(GetHorizAxis());
    auto* yAxis = dynamic_cast<TChartAxis*>(GetVertAxis());
    if (!FastDrawing || !panel || panel->View3D() || panel->Printing || canvas.Metafiling || !xAxis || !yAxis ||
        !YMandatory() || !drawAllPoints_ || stairs_ || !dynamic_cast<gdi::RasterDC*>(canvas.GetHandle()))
        return false;
    if ((!ignoreNulls_ && HasColors()) || HasMissingPoints())
        return false;
    if (!gdi::PenPaintsUnion(canvas.Pen().DevicePen(), PenModeToROP2(canvas.Pen().Mode())))
        return false;
    const int first = FirstValueIndex;
    const int last = LastValueIndex;
    const int start = first > 0 ? first - 1 : first;
    const TPoint from = first > 0 ? EntryPoint(first) : TPoint{XToPixel(first), YToPixel(first)};
    canvas.MoveTo(from.X, from.Y);
    if (start < last) {
        const std::vector<TPoint>& path =
            drawCache_.ReducedRun(*xAxis, *yAxis, XValues(), YValues(), start + 1, last, from, true);
        if (path.size() > 1)
            canvas.Polyline(path, static_cast<int>(path.size()) - 1);
        lastX_ = path.back().X;
        lastY_ = path.back().Y;
    } else {
        lastX_ = from.X;
        lastY_ = from.Y;
    }
    return true;
}

void TFastLineSeries::NotifyNewValue(int valueIndex)
{
    if (autoRepaint_) {
        TCustomLineSeries::NotifyNewValue(valueIndex);
        return;
    }
    if (OnAfterAdd)
        OnAfterAdd(this, valueIndex);
    NotifyValue(veAdd, valueIndex);
    TPlotCanvas3D* canvas = Canvas();
    if (!canvas || !Active())
        return;
    const int previous = valueIndex > 0 ? valueIndex - 1 : 0;
    lastX_ = XToPixel(previous);
    lastY_ = YToPixel(previous);
    afterMissing_ = IsMissingPoint(previous);
    SelectPen(*canvas);
    canvas->MoveTo(lastX_, lastY_);
    DrawValue(valueIndex);
    if (TCustomAxisPanel* panel = ParentChart()->AxisPanel())
        panel->update();
}

int TFastLineSeries::Clicked(int x, int y) const
{
    if (FirstValueIndex < 0 || LastValueIndex < FirstValueIndex)
        return -1;
    ChartParent* chart = ParentChart();
    TCustomAxisPanel* panel = chart ? chart->AxisPanel() : nullptr;
    if (panel && panel->View3D()) {
        int32_t px = x, py = y;
        panel->Canvas().UnprojectPoint(px, py, MiddleZ());
        x = px;
        y = py;
    }
    const TPoint mouse{x, y};
    int oldX = 0, oldY = 0;
    const int last = std::min(LastValueIndex, Count() - 1);
    for (int i = FirstValueIndex; i <= last; ++i) {
        const int px = XToPixel(i);
        const int py = YToPixel(i);
        if (px == x && py == y)
            return i;
        if (i > FirstValueIndex) {
            const bool hit = stairs_ ? (invertedStairs_ ? PointInLine(mouse, oldX, oldY, oldX, py) ||
                                                              PointInLine(mouse, oldX, py, px, py)
                                                        : PointInLine(mouse, oldX, oldY, px, oldY) ||
                                                              PointInLine(mouse, px, oldY, px, py))
                                     : PointInLine(mouse, oldX, oldY, px, py);
            if (hit)
                return i - 1;
        }
        oldX = px;
        oldY = py;
    }
    return -1;
}

void TFastLineSeries::CalcHorizMargins(int& left, int& right) const
{
    TCustomLineSeries::CalcHorizMargins(left, right);
    const int w = const_cast<TFastLineSeries*>(this)->LinePen().Width();
    left += w - (w - 2) / 2;
    right += w - (w - 2) / 2;
}

void TFastLineSeries::CalcVerticalMargins(int& top, int& bottom) const
{
    TCustomLineSeries::CalcVerticalMargins(top, bottom);
    const int w = const_cast<TFastLineSeries*>(this)->LinePen().Width();
    top += w - (w - 2) / 2;
    bottom += w - (w - 2) / 2;
}

void TFastLineSeries::DrawLegendShape(int valueIndex, const TRect& rect)
{
    (void)valueIndex;
    TPlotCanvas3D* canvas = Canvas();
    if (!canvas)
        return;
    TCustomAxisPanel* panel = ParentChart() ? ParentChart()->AxisPanel() : nullptr;
    if (panel && panel->LegendPen)
        canvas->AssignVisiblePen(*panel->LegendPen);
    else
        canvas->AssignVisiblePenColor(LinePen(), SeriesColor());
    canvas->Brush().SetStyle(bsClear);
    const int midY = (rect.Top + rect.Bottom) / 2;
    canvas->MoveTo(rect.Left, midY);
    canvas->LineTo(rect.Right, midY);
}
