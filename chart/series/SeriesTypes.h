#ifndef ZENDRIK_CHART_SERIES_SERIESTYPES_H
#define ZENDRIK_CHART_SERIES_SERIESTYPES_H

#include "chart/engine/PlotMessages.h"

#include <QString>
#include <functional>
#include <memory>
#include <vector>

class TChartSeries;

using TSeriesFactory = std::function<std::unique_ptr<TChartSeries>()>;

// One entry of the series gallery: a series class (by name, with a way to make one), an optional
// function class, its caption and gallery page (library texts, read when shown) and how many
// series of the type the gallery's preview shows.
struct TPlotSeriesType {
    QString SeriesClass;
    TSeriesFactory Create;
    QString FunctionClass;
    PlotMsg Description = PlotMsg::SeriesLine;
    PlotMsg GalleryPage = PlotMsg::PageStandard;
    int NumGallerySeries = 2;
    int SubIndex = 0;

    QString DescriptionText() const { return PlotMessage(Description); }
    QString GalleryPageText() const { return PlotMessage(GalleryPage); }
};

// The series types the gallery offers and forms create their series by, in registration order.
class TPlotSeriesTypes {
public:
    int Count() const { return static_cast<int>(items_.size()); }
    const TPlotSeriesType& Get(int index) const { return items_.at(static_cast<size_t>(index)); }
    // The first entry of the class without a function class; null for none.
    const TPlotSeriesType* FindSeriesClass(const QString& seriesClass) const;
    // Appends the entry, unless an entry with sub-index 0 of the same series and function class
    // is already there.
    void Register(TPlotSeriesType type);
    void Clear() { items_.clear(); }

private:
    std::vector<TPlotSeriesType> items_;
};

// A series class without a function on a gallery page.
void RegisterPlotSeries(TPlotSeriesTypes& types, const QString& seriesClass, TSeriesFactory create,
                        PlotMsg description, PlotMsg galleryPage = PlotMsg::PageStandard, int numGallerySeries = 2);

// Enters the standard series types of this library on the page "Standard": line, area, point,
// fast line, horizontal line and horizontal area. Called by the gallery's start-up and by the
// library's own; a second call adds nothing.
void RegisterStandardSeries(TPlotSeriesTypes& types);

#endif
