#include "chart/series/ChartUnit.h"

#include "chart/engine/SeriesFunctions.h"
#include "chart/series/BarSeries.h"
#include "chart/series/ColorPalettes.h"
#include "chart/series/FastLineSeries.h"
#include "chart/series/LineSeries.h"
#include "chart/series/PieSeries.h"

TPlotSeriesTypes& PlotSeriesTypes(ChartUnitState& unit)
{
    if (!unit.SeriesTypes)
        unit.SeriesTypes = std::make_unique<TPlotSeriesTypes>();
    return *unit.SeriesTypes;
}

TPlotToolTypes& PlotToolTypes(ChartUnitState& unit)
{
    if (!unit.ToolTypes)
        unit.ToolTypes = std::make_unique<TPlotToolTypes>();
    return *unit.ToolTypes;
}

void RegisterPlotSeriesFunction(ChartUnitState& unit, const TChartSeriesClass& seriesClass,
    const TPlotFunctionClass* functionClass, PlotMsg description, PlotMsg galleryPage, int numGallerySeries,
    int subIndex)
{
    unit.Classes.Register(seriesClass);
    if (functionClass)
        unit.Classes.Register(functionClass->ClassName,
            [create = functionClass->Create]() -> std::unique_ptr<ChartComponent> { return create(); });
    TPlotSeriesType type;
    type.SeriesClass = &seriesClass;
    type.FunctionClass = functionClass;
    type.Description = description;
    type.GalleryPage = galleryPage;
    type.NumGallerySeries = numGallerySeries;
    type.SubIndex = subIndex;
    PlotSeriesTypes(unit).Register(type);
}

void RegisterPlotSeries(ChartUnitState& unit, const TChartSeriesClass& seriesClass, PlotMsg description,
    PlotMsg galleryPage, int numGallerySeries)
{
    RegisterPlotSeriesFunction(unit, seriesClass, nullptr, description, galleryPage, numGallerySeries);
}

void RegisterPlotSeries(ChartUnitState& unit, const TChartSeriesClass& seriesClass, PlotMsg description)
{
    RegisterPlotSeries(unit, seriesClass, description, PlotMsg::PageStandard, 2);
}

void RegisterToolClasses(ChartUnitState& unit, std::span<const TPlotToolClass* const> classes)
{
    TPlotToolTypes& tools = PlotToolTypes(unit);
    for (const TPlotToolClass* cls : classes) {
        if (!cls || tools.Contains(*cls))
            continue;
        unit.Classes.Register(*cls);
        tools.Add(*cls);
    }
}

void UnregisterToolClasses(ChartUnitState& unit, std::span<const TPlotToolClass* const> classes)
{
    if (!unit.ToolTypes)
        return;
    for (const TPlotToolClass* cls : classes) {
        if (!cls || !unit.ToolTypes->Contains(*cls))
            continue;
        unit.ToolTypes->Remove(*cls);
        unit.Classes.Unregister(cls->Name);
    }
}

// In the gallery's order; the bar and pie types enter with their own units.
void RegisterStandardSeries(ChartUnitState& unit)
{
    RegisterPlotSeries(unit, SeriesClassOf<TLineSeries>(), PlotMsg::SeriesLine);
    RegisterPlotSeries(unit, SeriesClassOf<TBarSeries>(), PlotMsg::SeriesBar);
    RegisterPlotSeries(unit, SeriesClassOf<THorizBarSeries>(), PlotMsg::SeriesHorizBar);
    RegisterPlotSeries(unit, SeriesClassOf<TAreaSeries>(), PlotMsg::SeriesArea);
    RegisterPlotSeries(unit, SeriesClassOf<TPointSeries>(), PlotMsg::SeriesPoint);
    RegisterPlotSeries(unit, SeriesClassOf<TPieSeries>(), PlotMsg::SeriesPie, PlotMsg::PageStandard, 1);
    RegisterPlotSeries(unit, SeriesClassOf<TFastLineSeries>(), PlotMsg::SeriesFastLine);
    RegisterPlotSeries(
        unit, SeriesClassOf<THorizLineSeries>(), PlotMsg::SeriesHorizLine, PlotMsg::PageStandard, 1);
    RegisterPlotSeries(
        unit, SeriesClassOf<THorizAreaSeries>(), PlotMsg::SeriesHorizArea, PlotMsg::PageStandard, 1);
}

void StartChartUnit(ChartUnitState& unit)
{
    if (unit.StartCount++ > 0)
        return;
    PlotSeriesTypes(unit);
    PlotToolTypes(unit);
    unit.ColorPalettes = std::make_unique<QStringList>(ColorPaletteNames());
    // A calculated series shows one line in the gallery's preview.
    for (const TPlotFunctionClass& function : PlotFunctionClasses())
        RegisterPlotSeriesFunction(
            unit, SeriesClassOf<TLineSeries>(), &function, function.Description, PlotMsg::PageFunctions, 1);
}

void StopChartUnit(ChartUnitState& unit)
{
    if (unit.StartCount == 0 || --unit.StartCount > 0)
        return;
    unit.ColorPalettes.reset();
    unit.SeriesTypes.reset();
    unit.ToolTypes.reset();
    unit.Classes.Clear();
}
