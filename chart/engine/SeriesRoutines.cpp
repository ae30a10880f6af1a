#include "chart/engine/SeriesRoutines.h"

#include "chart/engine/ChartSeries.h"
#include "chart/engine/ChartSeriesList.h"

#include <algorithm>

QString SeriesTitleOrName(const TCustomChartSeries& series)
{
    if (series.Title().isEmpty())
        return series.SeriesName();
    QString title = series.Title();
    title.replace(QChar(13), QChar(u' '));
    return title;
}

void FillSeriesItems(std::vector<SeriesItem>& items, const TChartSeriesList& seriesList, bool useTitles)
{
    items.clear();
    items.reserve(static_cast<size_t>(seriesList.Count()));
    for (int i = 0; i < seriesList.Count(); ++i) {
        TCustomChartSeries* series = seriesList[i];
        if (!series || !series->ShowInEditor())
            continue;
        items.push_back({useTitles ? SeriesTitleOrName(*series) : series->Name(), series});
    }
}

bool HasCustomXValues(TChartSeries& series)
{
    const int count = series.Count();
    if (!series.AllowCustomXValues || count == 0)
        return false;
    const TChartValueList& list = series.NotMandatoryValueList();
    const auto values = list.Values();
    if (values.front() != 0.0 || values.back() != count - 1)
        return true;
    const int checked = std::min(10000, count - 1) + 1;
    for (int i = 0; i < checked; ++i)
        if (values[static_cast<size_t>(i)] != i)
            return true;
    return false;
}

bool HasCustomColors(const TChartSeries& series)
{
    const int count = series.Count();
    if (count == 0 || !series.HasColors())
        return false;
    const int checked = std::min(10000, count - 1) + 1;
    const TColor seriesColor = series.SeriesColor();
    for (int i = 0; i < checked; ++i) {
        const TColor color = series.GetPointColor(i);
        if (color != clDefault && color != seriesColor)
            return true;
    }
    return false;
}

bool HasLabels(const TChartSeries& series)
{
    const int count = series.Count();
    if (count == 0 || series.Labels().IsEmpty())
        return false;
    const int checked = std::min(100, count - 1) + 1;
    for (int i = 0; i < checked; ++i)
        if (!series.Labels().Labels(i).isEmpty())
            return true;
    return false;
}
