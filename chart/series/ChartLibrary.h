#ifndef ZENDRIK_CHART_SERIES_CHARTLIBRARY_H
#define ZENDRIK_CHART_SERIES_CHARTLIBRARY_H

#include "chart/engine/EngineStartup.h"
#include "chart/series/ArrowSeries.h"
#include "chart/series/ChartUnit.h"
#include "chart/series/LibraryTexts.h"

// The state of the chart library's units up to the series types, which the application owns
// and passes on. The tool units and the gallery start after it, in that order.
struct ChartLibraryState {
    EngineUnitState Engine;
    ChartUnitState Chart;
    ArrowUnitState Arrow;
    TLibraryTexts Texts;
};

// Starts the units in their order: message table, engine, chart unit registries, arrow series,
// text table. Each runs once however many users start the library.
void StartChartLibrary(ChartLibraryState& library);
// Stops them in the reverse order; the last stop empties everything.
void StopChartLibrary(ChartLibraryState& library);

#endif
