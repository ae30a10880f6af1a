#include "chart/engine/EngineStartup.h"

void StartEngineUnit(EngineUnitState& state, bool platformIsNT)
{
    if (state.StartCount++ > 0)
        return;
    state.ClassGroups = {QStringLiteral("TControl")};
    state.GroupedClasses = {QStringLiteral("TCustomChartElement"), QStringLiteral("TPlotFunction"),
                            QStringLiteral("TPlotSeriesSource")};
    state.PixelCoordinateLimit = platformIsNT ? 67108863 : 32767;
    state.RegisteredClasses = {QStringLiteral("TChartAxisTitle"), QStringLiteral("TChartAxis"),
                               QStringLiteral("TChartDepthAxis"), QStringLiteral("TSeriesMarks")};
}

void StopEngineUnit(EngineUnitState& state)
{
    if (state.StartCount == 0 || --state.StartCount > 0)
        return;
    state.RegisteredClasses.clear();
    state.GroupedClasses.clear();
    state.ClassGroups.clear();
}
