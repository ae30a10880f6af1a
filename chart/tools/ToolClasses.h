#ifndef ZENDRIK_CHART_TOOLS_TOOLCLASSES_H
#define ZENDRIK_CHART_TOOLS_TOOLCLASSES_H

#include <QString>
#include <memory>
#include <vector>

class TPlotCustomTool;

// One tool class of this library: its name and a way to make one.
struct PlotToolClassEntry {
    QString Name;
    std::unique_ptr<TPlotCustomTool> (*Create)() = nullptr;
};

// The seventeen tool classes in the order the library registers them with the chart unit's
// tool-class list. The magnifier is its own unit and not among them.
const std::vector<PlotToolClassEntry>& PlotToolClasses();

#endif
