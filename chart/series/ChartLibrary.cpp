#include "chart/series/ChartLibrary.h"

#include "chart/canvas/PlotBlend.h"
#include "chart/engine/PlotMessages.h"

void StartChartLibrary(ChartLibraryState& library)
{
    InitChartMessages();
    StartEngineUnit(library.Engine, PlatformIsNT);
    StartChartUnit(library.Chart);
    StartArrowUnit(library.Arrow, library.Chart);
    StartLibraryTexts(library.Texts);
}

void StopChartLibrary(ChartLibraryState& library)
{
    StopLibraryTexts(library.Texts);
    StopArrowUnit(library.Arrow);
    StopChartUnit(library.Chart);
    StopEngineUnit(library.Engine);
}
