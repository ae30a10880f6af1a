#include "chart/engine/ChartSeriesList.h"

#include "chart/engine/ChartException.h"
#include "chart/engine/ChartParent.h"
#include "chart/engine/SeriesAxis.h"
#include "chart/engine/SeriesGroup.h"
#include "chart/engine/SeriesTexts.h"

#include <algorithm>

void TCustomSeriesList::CheckIndex(int index) const
{
    if (index < 0 || index >= Count())
        throw ChartException(seriestexts::OutOfBoundsText(index, Count() - 1));
}

TCustomChartSeries* TCustomSeriesList::Get(int index) const
{
    CheckIndex(index);
    return items_[static_cast<size_t>(index)];
}

void TCustomSeriesList::Put(int index, TCustomChartSeries* series)
{
    CheckIndex(index);
    items_[static_cast<size_t>(index)] = series;
}

int TCustomSeriesList::IndexOf(const TCustomChartSeries* series) const
{
    const auto it = std::find(items_.begin(), items_.end(), series);
    return it == items_.end() ? -1 : static_cast<int>(it - items_.begin());
}

void TCustomSeriesList::Insert(int index, TCustomChartSeries* series)
{
    if (index < 0 || index > Count())
        throw ChartException(seriestexts::OutOfBoundsText(index, Count() - 1));
    items_.insert(items_.begin() + index, series);
}

void TCustomSeriesList::Delete(int index)
{
    CheckIndex(index);
    items_.erase(items_.begin() + index);
}

void TCustomSeriesList::Exchange(int index1, int index2)
{
    CheckIndex(index1);
    CheckIndex(index2);
    std::swap(items_[static_cast<size_t>(index1)], items_[static_cast<size_t>(index2)]);
}

void TCustomSeriesList::Move(int from, int to)
{
    CheckIndex(from);
    CheckIndex(to);
    TCustomChartSeries* series = items_[static_cast<size_t>(from)];
    items_.erase(items_.begin() + from);
    items_.insert(items_.begin() + to, series);
}

TChartSeriesList::TChartSeriesList(ChartParent* chart) : groups_(std::make_unique<TSeriesGroups>(chart)) {}

TChartSeriesList::~TChartSeriesList() = default;

void TChartSeriesList::RemoveSeries(const TCustomChartSeries* series)
{
    const int index = IndexOf(series);
    if (index >= 0)
        Delete(index);
    groups_->RemoveSeries(series);
}

SeriesAxis* TChartAxes::Get(int index) const
{
    if (index < 0 || index >= Count())
        throw ChartException(seriestexts::OutOfBoundsText(index, Count() - 1));
    return items_[static_cast<size_t>(index)];
}

int TChartAxes::IndexOf(const SeriesAxis* axis) const
{
    const auto it = std::find(items_.begin(), items_.end(), axis);
    return it == items_.end() ? -1 : static_cast<int>(it - items_.begin());
}

void TChartAxes::Remove(const SeriesAxis* axis)
{
    items_.erase(std::remove(items_.begin(), items_.end(), axis), items_.end());
}

SeriesAxis* TChartAxes::Left() const { return chart_.LeftAxis(); }
SeriesAxis* TChartAxes::Top() const { return chart_.TopAxis(); }
SeriesAxis* TChartAxes::Bottom() const { return chart_.BottomAxis(); }
SeriesAxis* TChartAxes::Depth() const { return chart_.DepthAxis(); }
SeriesAxis* TChartAxes::DepthTop() const { return chart_.DepthTopAxis(); }

void TChartAxes::SetVisible(bool value)
{
    chart_.SetAxisVisible(value);
}

void TChartAxes::FollowMasterAxis(const SeriesAxis* axis)
{
    if (!axis)
        return;
    for (SeriesAxis* other : items_)
        if (other != axis && other->MasterAxis() == axis)
            other->SetRange(axis->CurrentMinimum(), axis->CurrentMaximum());
}
