#include "chart/engine/ChartParent.h"

#include "chart/engine/ChartElement.h"

#include "chart/engine/ChartSeries.h"
#include "chart/engine/ChartSeriesList.h"

#include <array>

namespace {
constexpr std::array<TColor, 20> kLibraryPalette = {
    0x0000FF, 0x008000, 0x00FFFF, 0xFF0000, 0xFFFFFF, 0x808080, 0xFF00FF, 0x808000, 0x800000, 0x000080,
    0x00FF00, 0x008080, 0x800080, 0xC0C0C0, 0xFFFF00, 0x000000, 0xC0DCC0, 0xF0CAA6, 0xF0FBFF, 0xA4A0A0};
} // namespace

TColor LibraryPaletteColor(int index)
{
    const int n = static_cast<int>(kLibraryPalette.size());
    return kLibraryPalette[static_cast<size_t>(((index % n) + n) % n)];
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
    const int index = list.IndexOf(&series);
    if (index < 0)
        return;
    BroadcastSeriesEvent(&series, seRemove);
    list.Delete(index);
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
