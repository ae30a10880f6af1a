#include "EngineFakes.h"

#include "chart/engine/ChartException.h"
#include "chart/engine/ChartSeriesList.h"
#include "chart/engine/ChartTools.h"

#include <gtest/gtest.h>

#include <memory>

using enginetest::FakeAxis;
using enginetest::FakeChart;

TEST(ChartSeriesList, PlacesDecideDrawingOrder)
{
    FakeChart chart;
    TChartSeries& a = chart.NewSeries();
    TChartSeries& b = chart.NewSeries();
    TChartSeries& c = chart.NewSeries();
    TChartSeriesList& list = chart.list;
    ASSERT_EQ(list.Count(), 3);
    list.Move(2, 0);                       // bring c to the bottom of the drawing order
    EXPECT_EQ(list[0], &c);
    EXPECT_EQ(list[1], &a);
    EXPECT_EQ(list[2], &b);
    list.Put(0, &b);                       // Put stores without any duplicate check
    list.Put(2, &c);
    EXPECT_EQ(list[0], &b);
    EXPECT_EQ(list[2], &c);
    list.Exchange(0, 1);
    EXPECT_EQ(list[0], &a);
    EXPECT_THROW(list.Get(3), ChartException);
    EXPECT_THROW(list.Put(-1, &a), ChartException);
    EXPECT_EQ(list.IndexOf(&b), 1);

    // Leaving the chart removes the series from the list and is told to listeners.
    a.SetParentChart(nullptr);
    EXPECT_FALSE(list.Contains(&a));
    EXPECT_EQ(chart.CountEvents(seRemove), 1);
    EXPECT_EQ(a.GetHorizAxis(), nullptr);
    a.SetParentChart(&chart);
    EXPECT_EQ(list.IndexOf(&a), list.Count() - 1);
    EXPECT_EQ(a.GetHorizAxis(), &chart.bottom);

    // Removed by the chart: the series lets go of the chart too.
    chart.RemoveSeries(b);
    EXPECT_EQ(b.ParentChart(), nullptr);
    EXPECT_FALSE(list.Contains(&b));
    EXPECT_EQ(b.GetVertAxis(), nullptr);
    chart.RemoveSeries(b);                  // not in the chart: nothing
    EXPECT_EQ(chart.CountEvents(seRemove), 2);
}

TEST(ChartAxes, NamedAccessAndMasterAxes)
{
    FakeChart chart;
    TChartAxes axes(chart);
    FakeAxis depth(false, 0, 1, 0, 10);
    FakeAxis depthTop(false, 0, 1, 0, 10);
    for (SeriesAxis* axis : std::initializer_list<SeriesAxis*>{&chart.left, &chart.top, &chart.right, &chart.bottom, &depth, &depthTop})
        axes.Add(axis);
    FakeAxis custom1(true, 0, 1, 0, 10);
    FakeAxis custom2(true, 5, 6, 0, 10);
    custom1.master = &chart.bottom;
    axes.Add(&custom1);
    axes.Add(&custom2);
    EXPECT_EQ(axes.Left(), &chart.left);
    EXPECT_EQ(axes.Bottom(), &chart.bottom);
    EXPECT_EQ(axes.Top(), &chart.top);
    EXPECT_EQ(axes.CustomAxis(1), &custom2);
    EXPECT_THROW(axes.CustomAxis(2), ChartException);
    axes.FollowMasterAxis(&chart.bottom);
    EXPECT_EQ(custom1.CurrentMinimum(), 0);
    EXPECT_EQ(custom1.CurrentMaximum(), 1000);
    EXPECT_EQ(custom2.CurrentMaximum(), 6);    // no master: unchanged
}

namespace {

class RecordingTool : public TPlotCustomToolSeries {
public:
    void ChartEvent(TChartToolEvent kind) override { events.push_back(kind); }
    std::vector<TChartToolEvent> events;
};

} // namespace

TEST(ChartTools, ToolsJoinAndLeaveCharts)
{
    FakeChart first;
    FakeChart second;
    auto tool = std::make_unique<RecordingTool>();
    tool->SetParentChart(&first);
    EXPECT_EQ(first.tools.Count(), 1);
    tool->SetParentChart(&second);
    EXPECT_EQ(first.tools.Count(), 0);
    EXPECT_EQ(second.tools.Get(0), tool.get());
    const int before = second.repaints;
    tool->SetParentChart(nullptr);             // leaving to no chart repaints the old one
    EXPECT_EQ(second.repaints, before + 1);
    EXPECT_EQ(second.tools.Count(), 0);
    tool->SetParentChart(&first);
    tool->ChartEvent(cteAfterDraw);
    EXPECT_EQ(tool->events.size(), 1u);
    tool.reset();                               // a destroyed tool leaves the list
    EXPECT_EQ(first.tools.Count(), 0);
    EXPECT_EQ(TPlotCustomToolSeries().EditorClassName(), "TSeriesToolEditor");
    EXPECT_EQ(TPlotCustomToolAxis().EditorClassName(), "TAxisToolEditor");
    EXPECT_EQ(TPlotCustomTool().EditorClassName(), "");
}

TEST(ChartTools, SeriesToolLosesDestroyedSeriesAndFindsAxes)
{
    FakeChart chart;
    RecordingTool tool;
    tool.SetParentChart(&chart);
    auto series = std::make_unique<TChartSeries>();
    series->SetParentChart(&chart);
    series->SetHorizAxis(aTopAxis);
    series->SetVertAxis(aRightAxis);
    tool.SetSeries(series.get());
    EXPECT_EQ(tool.GetHorizAxis(), &chart.top);

    RecordingTool copy;
    copy.Assign(tool);
    EXPECT_EQ(copy.Series(), series.get());

    tool.SetSeries(nullptr);
    // Without a series: the top axis when the only active series uses it.
    EXPECT_EQ(tool.GetHorizAxis(), &chart.top);
    EXPECT_EQ(tool.GetVertAxis(), &chart.right);
    series->SetActive(false);
    EXPECT_EQ(tool.GetHorizAxis(), &chart.bottom);
    EXPECT_EQ(tool.GetVertAxis(), &chart.left);

    series.reset();
    EXPECT_EQ(copy.Series(), nullptr);
}

TEST(ChartTools, AxisToolFollowsItsAxisChart)
{
    FakeChart chart;
    TChartAxes axes(chart);
    axes.Add(&chart.left);
    axes.Add(&chart.bottom);
    TPlotCustomToolAxis tool;
    EXPECT_FALSE(tool.AxisID(axes).has_value());
    tool.SetAxis(&chart.bottom);
    EXPECT_EQ(tool.ParentChart(), &chart);
    EXPECT_EQ(chart.tools.Count(), 1);
    ASSERT_TRUE(tool.AxisID(axes).has_value());
    EXPECT_EQ(*tool.AxisID(axes), 1);
    TPlotCustomToolAxis read;
    read.ReadAxisID(axes, 0);
    EXPECT_EQ(read.Axis(), &chart.left);
    EXPECT_THROW(read.ReadAxisID(axes, 5), ChartException);
    EXPECT_EQ(read.Axis(), &chart.left);
}
