#include "chart/engine/SeriesGroup.h"

#include "chart/engine/ChartElement.h"

TSeriesGroup::TSeriesGroup(TSeriesGroups& collection) : collection_(collection) {}

ChartParent* TSeriesGroup::Chart() const
{
    return collection_.Chart();
}

void TSeriesGroup::Assign(const TSeriesGroup& source)
{
    if (&source == this)
        return;
    name_ = source.name_;
    while (series_.Count() > 0)
        series_.Delete(series_.Count() - 1);
    for (int i = 0; i < source.series_.Count(); ++i)
        series_.Add(source.series_[i]);
}

TSeriesGroupActive TSeriesGroup::Active() const
{
    int active = 0;
    for (int i = 0; i < series_.Count(); ++i)
        active += series_[i]->Active() ? 1 : 0;
    if (active == series_.Count())
        return gaYes;
    return active == 0 ? gaNo : gaSome;
}

void TSeriesGroup::SetActive(TSeriesGroupActive value)
{
    if (value == gaSome || value == Active())
        return;
    for (int i = 0; i < series_.Count(); ++i)
        series_[i]->SetActive(value == gaYes);
}

TSeriesGroup& TSeriesGroups::Add()
{
    groups_.push_back(std::make_unique<TSeriesGroup>(*this));
    groups_.back()->SetName(QStringLiteral("Group") + QString::number(Count()));
    return *groups_.back();
}

void TSeriesGroups::Delete(int index)
{
    groups_.erase(groups_.begin() + index);
}

int TSeriesGroups::IndexOfSeries(const TCustomChartSeries* series) const
{
    for (int i = 0; i < Count(); ++i)
        if (groups_[static_cast<size_t>(i)]->Series().Contains(series))
            return i;
    return -1;
}

void TSeriesGroups::RemoveSeries(const TCustomChartSeries* series)
{
    for (auto& group : groups_) {
        const int index = group->Series().IndexOf(series);
        if (index >= 0)
            group->Series().Delete(index);
    }
}

void TSeriesGroups::ExchangeSeries(const TCustomChartSeries* series1, const TCustomChartSeries* series2)
{
    for (auto& group : groups_) {
        TCustomSeriesList& list = group->Series();
        const int a = list.IndexOf(series1);
        const int b = list.IndexOf(series2);
        if (a >= 0 && b >= 0)
            list.Exchange(a, b);
    }
}
