#include "chart/tools/ToolClasses.h"

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

namespace {

template <class T>
PlotToolClassEntry Entry()
{
    return PlotToolClassEntry{T().ClassName(), []() -> std::unique_ptr<TPlotCustomTool> { return std::make_unique<T>(); }};
}

} // namespace

const std::vector<PlotToolClassEntry>& PlotToolClasses()
{
    static const std::vector<PlotToolClassEntry> classes = {
        Entry<TCursorTool>(),     Entry<TDragMarksTool>(),      Entry<TAxisArrowTool>(),   Entry<TDrawLineTool>(),
        Entry<TNearestTool>(),    Entry<TColorBandTool>(),      Entry<TColorLineTool>(),   Entry<TRotateTool>(),
        Entry<TChartImageTool>(), Entry<TMarksTipTool>(),       Entry<TAnnotationTool>(),  Entry<TSeriesAnimationTool>(),
        Entry<TGridBandTool>(),   Entry<TAxisScrollTool>(),     Entry<TRectangleTool>(),   Entry<TClipSeriesTool>(),
        Entry<TFullScreenTool>(),
    };
    return classes;
}
