#ifndef ZENDRIK_CHART_ENGINE_CHARTSERIESLIST_H
#define ZENDRIK_CHART_ENGINE_CHARTSERIESLIST_H

#include <functional>
#include <memory>
#include <vector>

class ChartParent;
class SeriesAxis;
class TChartAxis;
class TCustomChartSeries;
class TSeriesGroups;

// A list of series in drawing order: later entries are drawn later, on top. The list only
// refers to the series.
class TCustomSeriesList {
public:
    int Count() const { return static_cast<int>(items_.size()); }
    TCustomChartSeries* operator[](int index) const { return Get(index); }
    TCustomChartSeries* Get(int index) const;
    // Stores a series at a place of the list; the caller keeps the list free of duplicates.
    void Put(int index, TCustomChartSeries* series);
    int IndexOf(const TCustomChartSeries* series) const;
    bool Contains(const TCustomChartSeries* series) const { return IndexOf(series) >= 0; }
    void Add(TCustomChartSeries* series) { items_.push_back(series); }
    void Insert(int index, TCustomChartSeries* series);
    void Delete(int index);
    void Exchange(int index1, int index2);
    // Moves a series to another place, keeping the order of the others.
    void Move(int from, int to);

private:
    void CheckIndex(int index) const;
    std::vector<TCustomChartSeries*> items_;
};

// A chart's series; a series leaves it when it is destroyed. The list owns the chart's series
// groups, and a series that leaves the list leaves every group too.
class TChartSeriesList : public TCustomSeriesList {
public:
    explicit TChartSeriesList(ChartParent* chart = nullptr);
    ~TChartSeriesList();
    TChartSeriesList(const TChartSeriesList&) = delete;
    TChartSeriesList& operator=(const TChartSeriesList&) = delete;

    TSeriesGroups& SeriesGroups() { return *groups_; }
    const TSeriesGroups& SeriesGroups() const { return *groups_; }
    // Takes the series out of the list and out of every group.
    void RemoveSeries(const TCustomChartSeries* series);

private:
    std::unique_ptr<TSeriesGroups> groups_;
};

// The chart's axes, standard axes first and custom axes behind them, with named access to the
// standard ones through the chart. The chart owns the axes.
class TChartAxes {
public:
    explicit TChartAxes(ChartParent& chart) : chart_(chart) {}
    static constexpr int kStandardAxisCount = 6;

    int Count() const { return static_cast<int>(items_.size()); }
    SeriesAxis* operator[](int index) const { return Get(index); }
    SeriesAxis* Get(int index) const;
    int IndexOf(const SeriesAxis* axis) const;
    void Add(SeriesAxis* axis) { items_.push_back(axis); }
    void Remove(const SeriesAxis* axis);
    void Clear() { items_.clear(); }

    SeriesAxis* Left() const;
    SeriesAxis* Top() const;
    SeriesAxis* Bottom() const;
    SeriesAxis* Depth() const;
    SeriesAxis* DepthTop() const;
    void SetVisible(bool value);
    // Asks every axis for the unclamped linear conversion.
    bool FastCalc = false;
    // May change the room the labels of an axis take (also asked for invisible axes, whose
    // labels take none).
    std::function<void(TChartAxis& axis, int& size)> OnAxisLabelsSize;
    // The index-th custom axis (those behind the six standard axes).
    SeriesAxis* CustomAxis(int index) const { return Get(kStandardAxisCount + index); }
    // Every axis whose master is the given one takes its range.
    void FollowMasterAxis(const SeriesAxis* axis);

private:
    ChartParent& chart_;
    std::vector<SeriesAxis*> items_;
};

#endif
