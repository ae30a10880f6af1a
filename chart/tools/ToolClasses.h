#ifndef ZENDRIK_CHART_TOOLS_TOOLCLASSES_H
#define ZENDRIK_CHART_TOOLS_TOOLCLASSES_H

#include "chart/series/ChartClasses.h"

#include <vector>

struct ChartUnitState;

// The seventeen tool classes in the order the library registers them with the chart unit's
// tool-class list. The magnifier is its own unit and not among them. Each is the one class
// object of its type (ToolClassOf), so the list can be registered and taken out again.
const std::vector<const TPlotToolClass*>& PlotToolClasses();

// The tools unit: registers the seventeen classes with the chart unit on the first start,
// however many users start it, and takes them out when the last user stops.
struct ToolsUnitState {
    int StartCount = 0;
};
void StartToolsUnit(ToolsUnitState& tools, ChartUnitState& chart);
void StopToolsUnit(ToolsUnitState& tools, ChartUnitState& chart);

#endif
