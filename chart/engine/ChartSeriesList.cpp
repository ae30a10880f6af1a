#include "chart/engine/ChartSeriesList.h"

#include "chart/engine/ChartException.h"
#include "chart/engine/ChartParent.h"
#include "chart/engine/SeriesAxis.h"
#include "chart/engine/SeriesTexts.h"

#include <algorithm>

void TChartSeriesList::CheckIndex(int index) const
{
    if (index < 0 || index >= Count())
        throw ChartException(seriestexts::OutOfBoundsText(index, Count() - 1));
}

TCustomChartSeries* TChartSeriesList::Get(int index) const
{
    CheckIndex(index);
    return items_[static_cast<size_t>(index)];
}

void TChartSeriesList::Put(int index, TCustomChartSeries* series)
{
    CheckIndex(index);
    items_[static_cast<size_t>(index)] = series;
}

int TChartSeriesList::IndexOf(const TCustomChartSeries* series) const
{
    const auto it = std::find(items_.begin(), items_.end(), series);
    return it == items_.end() ? -1 : static_cast<int>(it - items_.begin());
}

void TChartSeriesList::Insert(int index, TCustomChartSeries* series)
{
    if (index < 0 || index > Count())
        throw ChartException(seriestexts::OutOfBoundsText(index, Count() - 1));
    items_.insert(items_.begin() + index, series);
}

void TChartSeriesList::Delete(int index)
{
    CheckIndex(index);
    items_.erase(items_.begin() + index);
}

void TChartSeriesList::Exchange(int index1, int index2)
{
    CheckIndex(index1);
    CheckIndex(index2);
    std::swap(items_[static_cast<size_t>(index1)], items_[static_cast<size_t>(index2)]);
}

void TChartSeriesList::Move(int from, int to)
{
    CheckIndex(from);
    CheckIndex(to);
    TCustomChartSeries* series = items_[static_cast<size_t>(from)];
    items_.erase(items_.begin() + from);
    items_.insert(items_.begin() + to, series);
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
