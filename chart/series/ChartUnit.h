#ifndef ZENDRIK_CHART_SERIES_CHARTUNIT_H
#define ZENDRIK_CHART_SERIES_CHARTUNIT_H

#include "chart/engine/PlotMessages.h"
#include "chart/series/ChartClasses.h"
#include "chart/series/SeriesTypes.h"

#include <QStringList>
#include <functional>
#include <initializer_list>
#include <memory>
#include <span>

class QWidget;
class TCustomAxisPanel;
struct TPlotFunctionClass;

// The gallery's two entry points into the chart core. Adding: a new series of the type the user
// chooses for the chart, null when the choice was cancelled. Changing: the series replaced by one
// of the chosen type (series then points at the new one); answers the resulting class, null when
// the choice was cancelled. Empty while the gallery is not started.
using TAddSeriesHook = std::function<TChartSeries*(QWidget* owner, TCustomAxisPanel& chart)>;
using TChangeSeriesTypeHook = std::function<const TChartSeriesClass*(TChartSeries*& series)>;

// The registries of the chart unit, which other units fill at their start-up: the classes a
// stored chart creates its parts by, the series types of the gallery, the tool classes and the
// names of the built-in colour palettes. The application owns one and passes it on.
struct ChartUnitState {
    int StartCount = 0;
    TChartClassFactory Classes;
    std::unique_ptr<TPlotSeriesTypes> SeriesTypes;
    std::unique_ptr<TPlotToolTypes> ToolTypes;
    std::unique_ptr<QStringList> ColorPalettes;
    // Filled by the gallery's start-up, cleared by its shut-down.
    TAddSeriesHook AddSeriesHook;
    TChangeSeriesTypeHook ChangeSeriesTypeHook;
};

// The lists, created on first use.
TPlotSeriesTypes& PlotSeriesTypes(ChartUnitState& unit);
TPlotToolTypes& PlotToolTypes(ChartUnitState& unit);

// Registers the series class (and the function class when given) by name, and enters the pair
// in the gallery unless sub-index 0 finds it there already.
void RegisterPlotSeriesFunction(ChartUnitState& unit, const TChartSeriesClass& seriesClass,
    const TPlotFunctionClass* functionClass, PlotMsg description, PlotMsg galleryPage, int numGallerySeries,
    int subIndex = 0);
void RegisterPlotSeries(ChartUnitState& unit, const TChartSeriesClass& seriesClass, PlotMsg description,
    PlotMsg galleryPage, int numGallerySeries);
// On the page "Standard" with two preview series.
void RegisterPlotSeries(ChartUnitState& unit, const TChartSeriesClass& seriesClass, PlotMsg description);

// Each tool class not in the tool list yet is registered by name and appended; unregistering
// takes each class out of the list and out of the names. The tool units call these at their
// start-up and shut-down.
void RegisterToolClasses(ChartUnitState& unit, std::span<const TPlotToolClass* const> classes);
void UnregisterToolClasses(ChartUnitState& unit, std::span<const TPlotToolClass* const> classes);
inline void RegisterToolClasses(ChartUnitState& unit, std::initializer_list<const TPlotToolClass*> classes)
{
    RegisterToolClasses(unit, std::span<const TPlotToolClass* const>(classes.begin(), classes.size()));
}
inline void UnregisterToolClasses(ChartUnitState& unit, std::initializer_list<const TPlotToolClass*> classes)
{
    UnregisterToolClasses(unit, std::span<const TPlotToolClass* const>(classes.begin(), classes.size()));
}

// The standard series types on the gallery page "Standard": line, area, point, fast line,
// horizontal line and horizontal area (the bar and pie types join when they exist). Called by
// the gallery's start-up; a second call adds nothing.
void RegisterStandardSeries(ChartUnitState& unit);

// First start: creates the lists, fills the sixteen palette names and registers the seven
// standard functions with a line series on the page "Functions". Last stop: frees the palette
// list, the series types and the tool list, in that order, and forgets every class name.
void StartChartUnit(ChartUnitState& unit);
void StopChartUnit(ChartUnitState& unit);

#endif
