#include "chart/tools/ToolClasses.h"

#include "chart/series/ChartUnit.h"
#include "chart/tools/AnimationTool.h"
#include "chart/tools/AnnotationTool.h"
#include "chart/tools/AxisTools.h"
#include "chart/tools/BandTools.h"
#include "chart/tools/ColorLineTool.h"
#include "chart/tools/CursorTool.h"
#include "chart/tools/DrawLineTool.h"
#include "chart/tools/FullScreenTool.h"
#include "chart/tools/MarksTools.h"
#include "chart/tools/NearestTool.h"
#include "chart/tools/RotateTool.h"
#include "chart/tools/SeriesTools.h"

const std::vector<const TPlotToolClass*>& PlotToolClasses()
{
    static const std::vector<const TPlotToolClass*> classes = {
        &ToolClassOf<TCursorTool>(),     &ToolClassOf<TDragMarksTool>(),     &ToolClassOf<TAxisArrowTool>(),
        &ToolClassOf<TDrawLineTool>(),   &ToolClassOf<TNearestTool>(),       &ToolClassOf<TColorBandTool>(),
        &ToolClassOf<TColorLineTool>(),  &ToolClassOf<TRotateTool>(),        &ToolClassOf<TChartImageTool>(),
        &ToolClassOf<TMarksTipTool>(),   &ToolClassOf<TAnnotationTool>(),    &ToolClassOf<TSeriesAnimationTool>(),
        &ToolClassOf<TGridBandTool>(),   &ToolClassOf<TAxisScrollTool>(),    &ToolClassOf<TRectangleTool>(),
        &ToolClassOf<TClipSeriesTool>(), &ToolClassOf<TFullScreenTool>(),
    };
    return classes;
}

void StartToolsUnit(ToolsUnitState& tools, ChartUnitState& chart)
{
    if (tools.StartCount++ > 0)
        return;
    RegisterToolClasses(chart, PlotToolClasses());
}

void StopToolsUnit(ToolsUnitState& tools, ChartUnitState& chart)
{
    if (tools.StartCount == 0 || --tools.StartCount > 0)
        return;
    UnregisterToolClasses(chart, PlotToolClasses());
}
