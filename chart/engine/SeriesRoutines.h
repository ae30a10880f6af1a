#ifndef ZENDRIK_CHART_ENGINE_SERIESROUTINES_H
#define ZENDRIK_CHART_ENGINE_SERIESROUTINES_H

#include <QString>
#include <vector>

class TChartSeries;
class TChartSeriesList;
class TCustomChartSeries;

// The title with line separators (character 13) turned into blanks, or the series' name.
QString SeriesTitleOrName(const TCustomChartSeries& series);

// One entry of a series pick list: the text shown and the series it stands for.
struct SeriesItem {
    QString text;
    TCustomChartSeries* series = nullptr;
};

// Fills items (cleared first) with the series shown in editors, by title or by name.
void FillSeriesItems(std::vector<SeriesItem>& items, const TChartSeriesList& seriesList, bool useTitles);

// Content tests used when points are stored: they look at a bounded prefix of the points.
bool HasCustomXValues(TChartSeries& series);
bool HasCustomColors(const TChartSeries& series);
bool HasLabels(const TChartSeries& series);

#endif
