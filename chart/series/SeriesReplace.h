#ifndef ZENDRIK_CHART_SERIES_SERIESREPLACE_H
#define ZENDRIK_CHART_SERIES_SERIESREPLACE_H

#include "chart/canvas/PlotGraphics.h"
#include "chart/series/ChartClasses.h"

#include <QString>
#include <memory>
#include <vector>

class ChartComponent;
class TChartSeries;
class TCustomAxisPanel;
class TPlotFunction;
struct TPlotFunctionClass;

// Who owns the series made at run time, and among whose parts their names must be unique: a
// chart (ChartAsOwner) or a window's own list of chart parts (ChartPartList).
class ChartPartOwner {
public:
    virtual ~ChartPartOwner() = default;
    // Whether one of its parts, or the function of one of its series, carries the name
    // (compared without regard to case).
    virtual bool UsesName(const QString& name) const = 0;
    virtual bool OwnsSeries(const TChartSeries* series) const = 0;
    virtual TChartSeries* AdoptSeries(std::unique_ptr<TChartSeries> series) = 0;
    // Gives an owned series up; null when this owner does not own it.
    virtual std::unique_ptr<TChartSeries> ReleaseSeries(const TChartSeries* series) = 0;
};

// A chart as the owner of the series it holds: an adopted series goes on the chart.
class ChartAsOwner final : public ChartPartOwner {
public:
    explicit ChartAsOwner(TCustomAxisPanel& chart)
        : chart_(chart)
    {
    }
    bool UsesName(const QString& name) const override;
    bool OwnsSeries(const TChartSeries* series) const override;
    TChartSeries* AdoptSeries(std::unique_ptr<TChartSeries> series) override;
    std::unique_ptr<TChartSeries> ReleaseSeries(const TChartSeries* series) override;

private:
    TCustomAxisPanel& chart_;
};

// The chart parts a window owns itself; they die with the list.
class ChartPartList final : public ChartPartOwner {
public:
    int Count() const { return static_cast<int>(parts_.size()); }
    ChartComponent* Part(int index) const { return parts_.at(static_cast<size_t>(index)).get(); }
    ChartComponent* Add(std::unique_ptr<ChartComponent> part);

    bool UsesName(const QString& name) const override;
    bool OwnsSeries(const TChartSeries* series) const override;
    TChartSeries* AdoptSeries(std::unique_ptr<TChartSeries> series) override;
    std::unique_ptr<TChartSeries> ReleaseSeries(const TChartSeries* series) override;

private:
    std::vector<std::unique_ptr<ChartComponent>> parts_;
};

// "Series" and the first number from 1 up that no part of the owner uses.
QString GetNewSeriesName(const ChartPartOwner* owner);

// A new function of the class for the series, named "PlotFunction" and the first number no part
// of the owner uses; the series owns it.
TPlotFunction* CreateSeriesFunction(
    TChartSeries& series, const TPlotFunctionClass& functionClass, const ChartPartOwner* owner);

// A new series of the class on the chart, with a new "Series" name and, with a function class,
// a function. It belongs to the owner, or to the chart when there is no owner or the chart owns
// a series already.
TChartSeries* NewSeriesOfClass(ChartPartOwner* owner, TCustomAxisPanel& chart,
    const TChartSeriesClass& seriesClass, const TPlotFunctionClass* functionClass = nullptr);

// Puts replacement in the place of old: it takes old's settings, points and eight event handlers,
// the series fed by old, the chart's series tools that point at old, old's place in the chart's
// series list and, once old is freed, old's name; then old points at replacement. Old is freed
// by its owner (the given one, else its chart); a series neither owns is only taken off the
// chart, and its owner frees it. Every holder of old is told before it goes (the chart's
// SeriesAboutToBeFreed).
void ReplaceSeries(TChartSeries*& old, TChartSeries& replacement, ChartPartOwner* owner = nullptr);

// Replaces the series by a new one of the class (nothing when it is of that class already)
// with the same owner and chart. A series on no chart that the given owner does not own stays
// as it is: nobody would own the new one.
void ReplaceSeriesClass(
    TChartSeries*& series, const TChartSeriesClass& newClass, ChartPartOwner* owner = nullptr);

// The hatch of series or slice index: horizontal, vertical, the two diagonals, cross, diagonal
// cross, in turn.
TBrushStyle GetDefaultPattern(int index);

// A part of a stored chart made by its class name and named: a series or a tool goes on the
// chart, which owns it; a function goes to parentSeries. Null for a class name the factory does
// not know, or a function without a series.
ChartComponent* CreateChartPart(const TChartClassFactory& classes, TCustomAxisPanel& chart,
    const QString& className, const QString& name, TChartSeries* parentSeries = nullptr);

#endif
