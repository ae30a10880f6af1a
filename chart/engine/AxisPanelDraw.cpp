// The drawing of a chart with axes: the fixed order of its steps, the axes' room, the series'
// margins and the series themselves.
#include "chart/engine/AxisPanel.h"

#include "chart/canvas/PlotCanvas3D.h"
#include "chart/engine/ChartSeries.h"
#include "chart/engine/SeriesMarks.h"

#include <algorithm>
#include <cmath>

namespace {

// RepaintOnChange is off for the length of a drawing and comes back however the drawing ends.
class RepaintSuspension {
public:
    explicit RepaintSuspension(TCustomPlotPanel& panel) : panel_(panel), saved_(panel.RepaintOnChange())
    {
        panel_.SetRepaintOnChange(false);
    }
    ~RepaintSuspension() { panel_.SetRepaintOnChange(saved_); }
    RepaintSuspension(const RepaintSuspension&) = delete;
    RepaintSuspension& operator=(const RepaintSuspension&) = delete;

private:
    TCustomPlotPanel& panel_;
    bool saved_;
};

// A clip that is removed again on every way out.
class ClipScope {
public:
    ClipScope(TCanvas3D& canvas, bool active) : canvas_(canvas), active_(active) {}
    ~ClipScope()
    {
        if (active_)
            canvas_.UnClipRectangle();
    }
    ClipScope(const ClipScope&) = delete;
    ClipScope& operator=(const ClipScope&) = delete;

private:
    TCanvas3D& canvas_;
    bool active_;
};

int RoundEven(double value)
{
    return static_cast<int>(std::nearbyint(value));
}

TChartAxis* AsChartAxis(SeriesAxis* axis)
{
    return dynamic_cast<TChartAxis*>(axis);
}

} // namespace

void TCustomAxisPanel::InternalDraw(const TRect&)
{
    DrawChartContents();
}

void TCustomAxisPanel::DrawChartContents()
{
    RepaintSuspension suspension(*this);
    TPlotCanvas3D& canvas = Canvas();
    TView3DOptions& options = View3DOptions();
    const bool flatCanvas = !canvas.GetSupportsFeature();
    ReversedOrder = View3D() && (options.Orthogonal() ? options.OrthoAngle() > 90 : options.Rotation() >= 180);
    if (flatCanvas)
        DrawBackImageAndShadow(ChartBounds);
    BroadcastToolEvent(cteBeforeDraw);
    DoBeforeDrawChart();
    for (int i = 0; i < seriesList_.Count(); ++i)
        if (TCustomChartSeries* series = seriesList_[i]; series->Active())
            series->DoBeforeDrawChart();
    if (flatCanvas)
        DrawTitlesAndLegend(true);
    AssignDepthIndexes();
    CalcWallsRect();

    const TRect kept = ChartRect;
    CalcAxisRect();
    for (int i = 0; i < seriesList_.Count(); ++i)
        if (auto* series = dynamic_cast<TChartSeries*>(seriesList_[i]); series && series->Active())
            series->CalcZPositions();
    CalcSeriesRect();
    canvas.SetProjectionCentre(Width3D, ChartRect);
    if (!flatCanvas) {
        const TRect computed = ChartRect;
        ChartRect = kept;
        DrawBackImageAndShadow(ChartBounds);
        DrawTitlesAndLegend(true);
        ChartRect = computed;
    }

    DrawWalls();
    if (axisBehind_) {
        BroadcastToolEvent(cteBeforeDrawAxes);
        DrawAxes();
    }
    BroadcastToolEvent(cteBeforeDrawSeries);
    DoBeforeDrawSeries();
    DrawAllSeries();
    BroadcastToolEvent(cteAfterDrawSeries);
    if (!axisBehind_) {
        BroadcastToolEvent(cteBeforeDrawAxes);
        DrawAxes();
    }
    DrawTitlesAndLegend(false);
    BroadcastToolEvent(cteAfterDraw);
    canvas.ResetState();
    DoAfterDraw();
    // The band of a zoom drag goes over everything the tools and the after-draw event painted:
    // the drag's next not-XOR drawing then erases exactly this band and leaves no ghost.
    if (Zoom().Active) {
        DrawZoomRectangle();
        canvas.Pen().SetMode(pmCopy);
    }
}

// In 2D every series lies in plane 0. In 3D each takes its own plane (or the one it asks for),
// counted from the back unless the depth axis is inverted.
void TCustomAxisPanel::AssignDepthIndexes()
{
    const bool inverted = depthAxis_->Inverted();
    std::vector<TChartSeries*> active;
    for (int i = 0; i < seriesList_.Count(); ++i)
        if (auto* series = dynamic_cast<TChartSeries*>(seriesList_[i]); series && series->Active())
            active.push_back(series);
    if (!View3D()) {
        SetMaxZOrder(0);
        if (!inverted)
            for (TChartSeries* series : active)
                series->SetCalculatedZOrder(0);
        return;
    }
    SetMaxZOrder(-1);
    for (TChartSeries* series : active)
        series->CalcZOrder();
    if (!inverted)
        for (TChartSeries* series : active)
            series->SetCalculatedZOrder(MaxZOrder() - series->CalculatedZOrder());
}

void TCustomAxisPanel::CalcSize3DWalls()
{
    if (!View3D()) {
        SeriesWidth3D = SeriesHeight3D = Width3D = Height3D = 0;
        return;
    }
    const TView3DOptions& options = View3DOptions();
    double percent = chart3DPercent_ * 0.001;
    if (!options.Orthogonal())
        percent *= 2;
    SeriesWidth3D = RoundEven(percent * ChartWidth);
    const double ratio = options.OrthoAngleRatio();
    if (ratio >= 1)
        SeriesWidth3D = RoundEven(SeriesWidth3D / ratio);
    SeriesHeight3D = RoundEven(SeriesWidth3D * ratio);
    const int planes = std::max(1, MaxZOrder() + 1);
    Width3D = SeriesWidth3D * planes;
    Height3D = SeriesHeight3D * planes;
}

bool TCustomAxisPanel::ComputeAxisVisible(const TChartAxis& axis) const
{
    if (!axisVisible_ || !axis.Visible())
        return false;
    if (axis.IsDepth())
        return View3D();
    bool anyActive = false;
    for (int i = 0; i < seriesList_.Count(); ++i) {
        auto* series = dynamic_cast<TChartSeries*>(seriesList_[i]);
        if (!series || !series->Active())
            continue;
        anyActive = true;
        if (!series->UseAxis())
            return false;
        if (series->AssociatedToAxis(&axis))
            return true;
    }
    return !anyActive;
}

namespace {

// The room an invisible axis gives up on its side.
void TakeRoom(TRect& rect, const TChartAxis& axis, int size)
{
    if (axis.Horizontal()) {
        if (axis.OtherSide())
            rect.Top += size;
        else
            rect.Bottom -= size;
    } else if (axis.OtherSide()) {
        rect.Right -= size;
    } else {
        rect.Left += size;
    }
}

} // namespace

// Every visible axis takes its labels, ticks and title from a copy of the working rectangle,
// which keeps only what all of them leave; then every axis is placed along the final one.
void TCustomAxisPanel::CalcAxisRect()
{
    for (int i = 0; i < axes_.Count(); ++i) {
        TChartAxis* axis = AsChartAxis(axes_[i]);
        if (!axis)
            continue;
        axis->SetComputedVisible(ComputeAxisVisible(*axis));
        axis->RecalcRange();
    }
    for (int i = 0; i < axes_.Count(); ++i)
        if (TChartAxis* axis = AsChartAxis(axes_[i]))
            axis->RecalcPixels();
    TRect work = ChartRect;
    for (int i = 0; i < axes_.Count(); ++i) {
        TChartAxis* axis = AsChartAxis(axes_[i]);
        if (!axis)
            continue;
        if (axis->ComputedVisible()) {
            TRect room = work;
            axis->LayoutAxis(room, true);
            const TRect both{std::max(work.Left, room.Left), std::max(work.Top, room.Top),
                             std::min(work.Right, room.Right), std::min(work.Bottom, room.Bottom)};
            if (both.Left < both.Right && both.Top < both.Bottom)
                work = both;
        } else if (axes_.OnAxisLabelsSize) {
            int size = 0;
            axes_.OnAxisLabelsSize(*axis, size);
            TakeRoom(work, *axis, size);
        }
    }
    if (!CustomChartRect) {
        KeepEndLabelsInside(work);
        ChartRect = work;
        RecalcChartBounds();
    }
    for (int i = 0; i < axes_.Count(); ++i) {
        TChartAxis* axis = AsChartAxis(axes_[i]);
        if (!axis)
            continue;
        axis->RecalcPixels();
        axis->RecalcRange();
        TRect rect = ChartRect;
        axis->LayoutAxis(rect, false);
    }
}

// The margins are a share of the panel, which a narrow picture makes smaller than half a label:
// the labels on the ends of an axis would be cut at the panel's frame ("30.000 MH"). Where they
// would, the rectangle gives way; where they fit, nothing moves. A pixel of air stays beside the
// frame: a printer draws the texts of the chart's metafile a little wider than the screen.
void TCustomAxisPanel::KeepEndLabelsInside(TRect& work)
{
    const int32_t edge = FrameWidth() + 1;
    const TRect inside{ChartBounds.Left + edge, ChartBounds.Top + edge, ChartBounds.Right - edge,
                       ChartBounds.Bottom - edge};
    if (inside.Left >= inside.Right || inside.Top >= inside.Bottom)
        return;
    for (int i = 0; i < axes_.Count(); ++i) {
        TChartAxis* axis = AsChartAxis(axes_[i]);
        if (!axis || !axis->ComputedVisible())
            continue;
        const auto [before, after] = axis->EndLabelsReach();
        TRect kept = work;
        if (axis->Horizontal()) {
            kept.Left = std::max(kept.Left, inside.Left + before);
            kept.Right = std::min(kept.Right, inside.Right - after);
        } else {
            kept.Top = std::max(kept.Top, inside.Top + before);
            kept.Bottom = std::min(kept.Bottom, inside.Bottom - after);
        }
        if (kept.Left < kept.Right && kept.Top < kept.Bottom)
            work = kept;
    }
}

// Point symbols and the like need room at the ends of an axis: the axis range is widened so that
// its data keep clear of the ends by that many pixels (and by the axis' own offsets).
void TCustomAxisPanel::CalcSeriesRect()
{
    for (int i = 0; i < axes_.Count(); ++i) {
        TChartAxis* axis = AsChartAxis(axes_[i]);
        if (!axis || axis->IsDepth())
            continue;
        const bool horizontal = axis->Horizontal();
        int a = 0, b = 0;   // start (left or top) and end (right or bottom) in pixels
        for (int k = 0; k < seriesList_.Count(); ++k) {
            auto* series = dynamic_cast<TChartSeries*>(seriesList_[k]);
            if (!series || !series->AssociatedToAxis(axis))
                continue;
            int first = 0, second = 0;
            if (horizontal)
                series->CalcHorizMargins(first, second);
            else
                series->CalcVerticalMargins(first, second);
            a = std::max(a, first);
            b = std::max(b, second);
        }
        // Left and bottom are the minimum ends unless the axis is inverted.
        const bool inverted = axis->Inverted();
        const bool startIsMinimum = horizontal != inverted;
        if (!(startIsMinimum ? axis->AutomaticMinimum() : axis->AutomaticMaximum()))
            a = 0;
        if (!(startIsMinimum ? axis->AutomaticMaximum() : axis->AutomaticMinimum()))
            b = 0;
        a += startIsMinimum ? axis->MinimumOffset() : axis->MaximumOffset();
        b += startIsMinimum ? axis->MaximumOffset() : axis->MinimumOffset();
        if (a == 0 && b == 0)
            continue;
        axis->ShrinkRangeToRect(horizontal ? TRect{a, 0, b, 0} : TRect{0, a, 0, b});
        axis->RoundRange();
        if (axis->Labels()) {
            TRect rect = ChartRect;
            axis->LayoutAxis(rect, false);
        }
    }
}

void TCustomAxisPanel::DrawAxes()
{
    DoBeforeDrawAxes();
    const bool mirrored = IsViewMirrored(0);
    for (int i = 0; i < axes_.Count(); ++i) {
        TChartAxis* axis = AsChartAxis(axes_[i]);
        if (!axis || !axis->ComputedVisible() || (axis == bottomAxis_.get() && mirrored))
            continue;
        axis->Draw(false);
    }
}

bool TCustomAxisPanel::ClipSeries(const TChartSeries& series) const
{
    return series.UseAxis() && clipPoints_ && CanClip();
}

// The chart rectangle, one pixel taller at the top and at the bottom, through the whole depth.
void TCustomAxisPanel::ClipSeriesArea()
{
    const TRect& r = ChartRect;
    Canvas().ClipBox(TRect{r.Left, r.Top - 1, r.Right, r.Bottom + 1}, 0, Width3D);
}

void TCustomAxisPanel::DrawSeriesMarks(TChartSeries& series)
{
    if (series.Count() == 0 || !series.Marks().Visible())
        return;
    const bool clip = CanClip() && series.Marks().Clip();
    if (clip)
        ClipSeriesArea();
    ClipScope scope(Canvas(), clip);
    series.DrawMarks();
}

void TCustomAxisPanel::DrawSeriesAlone(TChartSeries& series)
{
    series.CalcFirstLastVisibleIndex();
    if (series.FirstValueIndex < 0)
        return;
    series.DoBeforeDrawValues();
    {
        const bool clip = ClipSeries(series);
        if (clip)
            ClipSeriesArea();
        ClipScope scope(Canvas(), clip);
        series.DrawAllValues();
    }
    DrawSeriesMarks(series);
    series.DoAfterDrawValues();
}

// Series sharing one plane in 3D are drawn point by point together, so that none covers the
// other as a whole.
void TCustomAxisPanel::DrawSeriesSameZ(const std::vector<TChartSeries*>& group)
{
    int first = -1, last = -1;
    for (TChartSeries* series : group) {
        series->CalcFirstLastVisibleIndex();
        if (series->FirstValueIndex < 0)
            continue;
        first = first < 0 ? series->FirstValueIndex : std::min(first, series->FirstValueIndex);
        last = std::max(last, series->LastValueIndex);
    }
    if (first >= 0 && last >= first) {
        const bool clip = ClipSeries(*group.front());
        if (clip)
            ClipSeriesArea();
        ClipScope scope(Canvas(), clip);
        const bool forward = group.front()->DrawValuesForward();
        for (int k = 0; k <= last - first; ++k) {
            const int index = forward ? first + k : last - k;
            for (TChartSeries* series : group)
                if (series->Count() > index)
                    series->DrawValue(index);
        }
    }
    for (TChartSeries* series : group) {
        DrawSeriesMarks(*series);
        series->DoAfterDrawValues();
    }
}

void TCustomAxisPanel::DrawAllSeries()
{
    std::vector<TChartSeries*> order;
    for (int i = 0; i < seriesList_.Count(); ++i)
        if (auto* series = dynamic_cast<TChartSeries*>(seriesList_[i]); series && series->Active())
            order.push_back(series);
    if (depthAxis_->Inverted() != IsViewMirrored(0))
        std::reverse(order.begin(), order.end());
    std::vector<TChartSeries*> done;
    for (TChartSeries* series : order) {
        if (std::find(done.begin(), done.end(), series) != done.end())
            continue;
        if (!View3D() || !series->MoreSameZOrder()) {
            DrawSeriesAlone(*series);
            continue;
        }
        std::vector<TChartSeries*> group;
        for (TChartSeries* other : order)
            if (other->CalculatedZOrder() == series->CalculatedZOrder())
                group.push_back(other);
        done.insert(done.end(), group.begin(), group.end());
        DrawSeriesSameZ(group);
    }
}
