#include "chart/engine/ChartParent.h"

#include "chart/engine/ChartElement.h"

#include "chart/engine/ChartSeries.h"
#include "chart/engine/ChartSeriesList.h"
#include "chart/engine/SeriesGroup.h"

#include "chart/canvas/LibrarySettings.h"

TColor LibraryPaletteColor(int index)
{
    const std::vector<TColor>& palette = BuiltInColorPalette();
    const int n = static_cast<int>(palette.size());
    return palette[static_cast<size_t>(((index % n) + n) % n)];
}

void ChartParent::InternalAddSeries(TCustomChartSeries& series)
{
    TChartSeriesList& list = SeriesList();
    if (list.Contains(&series))
        return;
    list.Add(&series);
    BroadcastSeriesEvent(&series, seAdd);
    Repaint();
}

void ChartParent::RemoveSeries(TCustomChartSeries& series)
{
    TChartSeriesList& list = SeriesList();
    if (!list.Contains(&series)) {
        list.SeriesGroups().RemoveSeries(&series);
        return;
    }
    BroadcastSeriesEvent(&series, seRemove);
    list.RemoveSeries(&series);
    // Removed by the chart itself: the series must not keep referring to it.
    if (series.ParentChart() == this)
        series.SetParentChart(nullptr);
    Repaint();
}

void ChartParent::BroadcastSeriesEvent(TCustomChartSeries* series, TChartSeriesEventKind kind)
{
    (void)series;
    (void)kind;
}

// A palette colour is free when no other series of the chart already shows it; the last one is
// taken when all are used.
TColor ChartParent::GetFreeSeriesColor(bool checkBackground, const TChartSeries* series)
{
    (void)checkBackground;
    const TChartSeriesList& list = SeriesList();
    constexpr int kPaletteSize = 20;
    for (int i = 0; i < kPaletteSize - 1; ++i) {
        const TColor color = GetDefaultColor(i);
        bool used = false;
        for (int k = 0; k < list.Count() && !used; ++k) {
            const auto* other = dynamic_cast<const TChartSeries*>(list[k]);
            used = other && other != series && other->SeriesColor() == color;
        }
        if (!used)
            return color;
    }
    return GetDefaultColor(kPaletteSize - 1);
}

bool ChartParent::IsValidDataSource(TChartSeries& series, ChartComponent* source)
{
    if (series.IsValidSourceOf(source))
        return true;
    return dynamic_cast<TPlotSeriesSource*>(source) != nullptr && TPlotSeriesSource::Available(this);
}

void ChartParent::CheckDatasource(TChartSeries& series)
{
    if (series.Loading())
        return;
    ChartComponent* source = series.DataSource();
    if (auto* from = dynamic_cast<TChartSeries*>(source))
        series.AssignValues(*from);
    else if (auto* component = dynamic_cast<TPlotSeriesSource*>(source))
        component->Refresh();
}
