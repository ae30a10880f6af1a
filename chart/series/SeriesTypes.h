#ifndef ZENDRIK_CHART_SERIES_SERIESTYPES_H
#define ZENDRIK_CHART_SERIES_SERIESTYPES_H

#include "chart/engine/PlotMessages.h"
#include "chart/series/ChartClasses.h"

#include <QString>
#include <vector>

struct TPlotFunctionClass;

// One entry of the series gallery: a series class, optionally a function class that computes
// the series, its caption and gallery page (library texts, read when shown, so that a change
// of language is seen) and how many series of the type the gallery's preview shows. SubIndex 0
// is the plain entry; other values give one class pair several entries.
struct TPlotSeriesType {
    const TChartSeriesClass* SeriesClass = nullptr;
    const TPlotFunctionClass* FunctionClass = nullptr;
    PlotMsg Description = PlotMsg::SeriesLine;
    PlotMsg GalleryPage = PlotMsg::PageStandard;
    int NumGallerySeries = 2;
    int SubIndex = 0;

    QString DescriptionText() const { return PlotMessage(Description); }
    QString GalleryPageText() const { return PlotMessage(GalleryPage); }
};

// The series types the gallery offers, in registration order.
class TPlotSeriesTypes {
public:
    int Count() const { return static_cast<int>(items_.size()); }
    const TPlotSeriesType& Get(int index) const { return items_.at(static_cast<size_t>(index)); }
    // The first entry of the class without a function class; null for none.
    const TPlotSeriesType* FindSeriesClass(const TChartSeriesClass& seriesClass) const;
    const TPlotSeriesType* FindSeriesClass(const QString& className) const;
    // Appends the entry, unless its sub-index is 0 and an entry of the same series and function
    // class is there already.
    void Register(const TPlotSeriesType& type);
    void Clear() { items_.clear(); }

private:
    std::vector<TPlotSeriesType> items_;
};

// The chart tool classes, in registration order.
class TPlotToolTypes {
public:
    int Count() const { return static_cast<int>(items_.size()); }
    const TPlotToolClass& Get(int index) const { return *items_.at(static_cast<size_t>(index)); }
    int IndexOf(const TPlotToolClass& toolClass) const;
    bool Contains(const TPlotToolClass& toolClass) const { return IndexOf(toolClass) >= 0; }
    void Add(const TPlotToolClass& toolClass);
    void Remove(const TPlotToolClass& toolClass);

private:
    std::vector<const TPlotToolClass*> items_;
};

#endif
