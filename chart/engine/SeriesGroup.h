#ifndef ZENDRIK_CHART_ENGINE_SERIESGROUP_H
#define ZENDRIK_CHART_ENGINE_SERIESGROUP_H

#include "chart/engine/ChartSeriesList.h"

#include <QString>
#include <memory>
#include <vector>

class ChartParent;
class TCustomChartSeries;
class TSeriesGroups;

enum TSeriesGroupActive { gaYes, gaNo, gaSome };

// A named set of series that are switched on and off together. The group refers to its series
// and never owns them.
class TSeriesGroup {
public:
    explicit TSeriesGroup(TSeriesGroups& collection);

    void Assign(const TSeriesGroup& source);

    const QString& Name() const { return name_; }
    void SetName(const QString& value) { name_ = value; }
    TCustomSeriesList& Series() { return series_; }
    const TCustomSeriesList& Series() const { return series_; }
    bool IsSeriesStored() const { return series_.Count() > 0; }
    ChartParent* Chart() const;

    TSeriesGroupActive Active() const;
    void SetActive(TSeriesGroupActive value);

private:
    TSeriesGroups& collection_;
    QString name_;
    TCustomSeriesList series_;
};

// The groups of a chart's series list.
class TSeriesGroups {
public:
    explicit TSeriesGroups(ChartParent* chart = nullptr) : chart_(chart) {}

    ChartParent* Chart() const { return chart_; }
    int Count() const { return static_cast<int>(groups_.size()); }
    TSeriesGroup& Add();
    TSeriesGroup* SeriesGroups(int index) const { return groups_.at(static_cast<size_t>(index)).get(); }
    TSeriesGroup* operator[](int index) const { return SeriesGroups(index); }
    void Delete(int index);
    void Clear() { groups_.clear(); }
    // The first group holding the series; -1 when none does.
    int IndexOfSeries(const TCustomChartSeries* series) const;
    // A series that goes away leaves every group.
    void RemoveSeries(const TCustomChartSeries* series);
    // Swaps two series inside the group that holds both; other groups stay as they are.
    void ExchangeSeries(const TCustomChartSeries* series1, const TCustomChartSeries* series2);

private:
    ChartParent* chart_ = nullptr;
    std::vector<std::unique_ptr<TSeriesGroup>> groups_;
};

#endif
