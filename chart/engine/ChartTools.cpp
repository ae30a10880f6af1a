#include "chart/engine/ChartTools.h"

#include "chart/engine/ChartException.h"
#include "chart/engine/ChartParent.h"
#include "chart/engine/ChartSeries.h"
#include "chart/engine/ChartSeriesList.h"
#include "chart/engine/SeriesAxis.h"
#include "chart/engine/SeriesTexts.h"

#include <algorithm>

TPlotCustomTool* TChartTools::Get(int index) const
{
    if (index < 0 || index >= Count())
        throw ChartException(seriestexts::OutOfBoundsText(index, Count() - 1));
    return items_[static_cast<size_t>(index)];
}

int TChartTools::IndexOf(const TPlotCustomTool* tool) const
{
    const auto it = std::find(items_.begin(), items_.end(), tool);
    return it == items_.end() ? -1 : static_cast<int>(it - items_.begin());
}

void TChartTools::Add(TPlotCustomTool* tool)
{
    if (tool && IndexOf(tool) < 0)
        items_.push_back(tool);
}

void TChartTools::Remove(const TPlotCustomTool* tool)
{
    items_.erase(std::remove(items_.begin(), items_.end(), tool), items_.end());
}

TPlotCustomTool::~TPlotCustomTool()
{
    MarkDestroying();
    if (ChartParent* chart = ParentChart())
        chart->Tools().Remove(this);
}

void TPlotCustomTool::SetParentChart(ChartParent* chart)
{
    ChartParent* old = ParentChart();
    if (old == chart)
        return;
    if (old) {
        old->Tools().Remove(this);
        if (!chart)
            old->Repaint();
    }
    TCustomChartElement::SetParentChart(chart);
    if (chart)
        chart->Tools().Add(this);
}

void TPlotCustomToolSeries::SetSeries(TChartSeries* series)
{
    if (series_ == series)
        return;
    if (series_)
        RemoveFreeNotification(series_);
    series_ = series;
    if (series_)
        FreeNotification(series_);
}

void TPlotCustomToolSeries::Notification(ChartComponent* removed)
{
    if (removed == series_)
        series_ = nullptr;
}

namespace {

bool AnyActiveSeriesUses(ChartParent& chart, const SeriesAxis* axis)
{
    if (!axis)
        return false;
    const TChartSeriesList& list = chart.SeriesList();
    for (int i = 0; i < list.Count(); ++i) {
        const auto* series = dynamic_cast<const TChartSeries*>(list[i]);
        if (series && series->Active() && series->AssociatedToAxis(axis))
            return true;
    }
    return false;
}

} // namespace

SeriesAxis* TPlotCustomToolSeries::GetHorizAxis() const
{
    if (series_)
        return series_->GetHorizAxis();
    ChartParent* chart = ParentChart();
    if (!chart)
        return nullptr;
    if (AnyActiveSeriesUses(*chart, chart->BottomAxis()))
        return chart->BottomAxis();
    if (AnyActiveSeriesUses(*chart, chart->TopAxis()))
        return chart->TopAxis();
    return chart->BottomAxis();
}

SeriesAxis* TPlotCustomToolSeries::GetVertAxis() const
{
    if (series_)
        return series_->GetVertAxis();
    ChartParent* chart = ParentChart();
    if (!chart)
        return nullptr;
    if (AnyActiveSeriesUses(*chart, chart->LeftAxis()))
        return chart->LeftAxis();
    if (AnyActiveSeriesUses(*chart, chart->RightAxis()))
        return chart->RightAxis();
    return chart->LeftAxis();
}

void TPlotCustomToolSeries::Assign(const TPlotCustomToolSeries& source)
{
    SetSeries(source.series_);
    TCustomChartElement::Assign(source);
}

void TPlotCustomToolAxis::SetAxis(SeriesAxis* axis)
{
    if (axis_ == axis)
        return;
    axis_ = axis;
    if (axis_)
        SetParentChart(axis_->ParentChart());
    Repaint();
}

void TPlotCustomToolAxis::ForgetAxis(const SeriesAxis* axis)
{
    if (axis && axis_ == axis) {
        axis_ = nullptr;
        Repaint();
    }
}

void TPlotCustomToolAxis::Assign(const TPlotCustomToolAxis& source)
{
    SetAxis(source.axis_);
    TCustomChartElement::Assign(source);
}

std::optional<int> TPlotCustomToolAxis::AxisID(const TChartAxes& axes) const
{
    if (!axis_)
        return std::nullopt;
    const int index = axes.IndexOf(axis_);
    return index >= 0 ? std::optional<int>(index) : std::nullopt;
}

void TPlotCustomToolAxis::ReadAxisID(const TChartAxes& axes, int id)
{
    SetAxis(axes.Get(id));
}
