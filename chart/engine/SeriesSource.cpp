#include "chart/engine/SeriesSource.h"

#include "chart/engine/ChartException.h"
#include "chart/engine/ChartSeries.h"
#include "chart/engine/SeriesTexts.h"

#include <algorithm>

TPlotSeriesSource::~TPlotSeriesSource()
{
    MarkDestroying();
    Close();
}

void TPlotSeriesSource::SetActive(bool value)
{
    if (value != active_ && series_) {
        if (value) {
            if (!Loading()) {
                active_ = true;
                Load();
            }
        } else if (!Destroying() && !series_->Destroying() && !keepPoints_) {
            series_->Clear();
        }
    }
    active_ = value;
}

void TPlotSeriesSource::Close()
{
    if (!Loading() && !Destroying())
        SetActive(false);
}

void TPlotSeriesSource::Refresh()
{
    if (active_ && !Loading())
        Load();
}

void TPlotSeriesSource::Loaded()
{
    SetLoading(false);
    Refresh();
}

bool TPlotSeriesSource::IsSourceOf(const TChartSeries& series) const
{
    const ChartComponent* source = series.DataSource();
    return source && source->ClassName() == ClassName();
}

// When the series is set the series also takes this component as its source; if the series
// refuses it, the old binding is restored before the error goes on.
void TPlotSeriesSource::SetSeries(TChartSeries* series)
{
    if (series == series_)
        return;
    Close();
    TChartSeries* old = series_;
    if (old)
        RemoveFreeNotification(old);
    series_ = series;
    if (series) {
        FreeNotification(series);
        try {
            series->SetDataSource(this);
        } catch (...) {
            RemoveFreeNotification(series);
            series_ = old;
            if (old)
                FreeNotification(old);
            throw;
        }
    } else if (old && old->DataSource() == this) {
        old->SetDataSource(nullptr);
    }
}

void TPlotSeriesSource::ForgetSeries()
{
    if (series_)
        RemoveFreeNotification(series_);
    series_ = nullptr;
}

void TPlotSeriesSource::Notification(ChartComponent* removed)
{
    // The series is already being torn down: forget it without touching it.
    if (removed == series_)
        series_ = nullptr;
}

ChartComponent* TDataSourcesList::operator[](int index) const
{
    if (index < 0 || index >= Count())
        throw ChartException(seriestexts::OutOfBoundsText(index, Count() - 1));
    return items_[static_cast<size_t>(index)];
}

int TDataSourcesList::IndexOf(const ChartComponent* source) const
{
    const auto it = std::find(items_.begin(), items_.end(), source);
    return it == items_.end() ? -1 : static_cast<int>(it - items_.begin());
}

void TDataSourcesList::Add(ChartComponent* source)
{
    if (!source)
        return;
    series_.ValidateSource(source);
    if (Contains(source))
        return;
    series_.AttachSource(source);
    series_.CheckDataSource();
}

void TDataSourcesList::Delete(int index)
{
    ChartComponent* source = (*this)[index];
    items_.erase(items_.begin() + index);
    series_.DetachSource(source);
}

void TDataSourcesList::Clear()
{
    for (ChartComponent* source : items_)
        series_.DetachSource(source);
    items_.clear();
    if (!series_.Loading())
        series_.Clear();
}

void TDataSourcesList::EraseQuiet(const ChartComponent* source)
{
    items_.erase(std::remove(items_.begin(), items_.end(), source), items_.end());
}
