#include "chart/series/SeriesTypes.h"

#include "chart/series/FastLineSeries.h"
#include "chart/series/LineSeries.h"

const TPlotSeriesType* TPlotSeriesTypes::FindSeriesClass(const QString& seriesClass) const
{
    for (const TPlotSeriesType& type : items_)
        if (type.SeriesClass == seriesClass && type.FunctionClass.isEmpty())
            return &type;
    return nullptr;
}

void TPlotSeriesTypes::Register(TPlotSeriesType type)
{
    if (type.SubIndex == 0)
        for (const TPlotSeriesType& existing : items_)
            if (existing.SeriesClass == type.SeriesClass && existing.FunctionClass == type.FunctionClass)
                return;
    items_.push_back(std::move(type));
}

void RegisterPlotSeries(TPlotSeriesTypes& types, const QString& seriesClass, TSeriesFactory create,
                        PlotMsg description, PlotMsg galleryPage, int numGallerySeries)
{
    TPlotSeriesType type;
    type.SeriesClass = seriesClass;
    type.Create = std::move(create);
    type.Description = description;
    type.GalleryPage = galleryPage;
    type.NumGallerySeries = numGallerySeries;
    types.Register(std::move(type));
}

namespace {

template <class T>
TSeriesFactory Maker()
{
    return [] { return std::unique_ptr<TChartSeries>(std::make_unique<T>()); };
}

} // namespace

// In the gallery's order; the bar and pie types enter with their own units.
void RegisterStandardSeries(TPlotSeriesTypes& types)
{
    RegisterPlotSeries(types, QStringLiteral("TLineSeries"), Maker<TLineSeries>(), PlotMsg::SeriesLine);
    RegisterPlotSeries(types, QStringLiteral("TAreaSeries"), Maker<TAreaSeries>(), PlotMsg::SeriesArea);
    RegisterPlotSeries(types, QStringLiteral("TPointSeries"), Maker<TPointSeries>(), PlotMsg::SeriesPoint);
    RegisterPlotSeries(types, QStringLiteral("TFastLineSeries"), Maker<TFastLineSeries>(), PlotMsg::SeriesFastLine);
    RegisterPlotSeries(types, QStringLiteral("THorizLineSeries"), Maker<THorizLineSeries>(), PlotMsg::SeriesHorizLine,
                       PlotMsg::PageStandard, 1);
    RegisterPlotSeries(types, QStringLiteral("THorizAreaSeries"), Maker<THorizAreaSeries>(), PlotMsg::SeriesHorizArea,
                       PlotMsg::PageStandard, 1);
}
