// The series animation's steps and its end, the full-screen view and the list of tool classes.
#include "ToolsTestSupport.h"

#include "chart/canvas/ChartErrors.h"
#include "chart/tools/AnimationTool.h"
#include "chart/tools/FullScreenTool.h"
#include "chart/series/ChartUnit.h"
#include "chart/tools/ToolClasses.h"

#include <QLabel>
#include <QVBoxLayout>
#include <cmath>
#include <stdexcept>

using toolstest::ToolChart;

namespace {

class AnimationChart : public ToolChart {
protected:
    void SetUp() override
    {
        ToolChart::SetUp();
        data = std::make_unique<TLineSeries>();
        chart.AddSeries(data.get());
        for (int i = 0; i < 5; ++i)
            data->AddPointXY(i, 10.0 * (i + 1));
        tool.SetParentChart(&chart);
        tool.SetSeries(data.get());
        tool.SetSteps(4);
    }
    void TearDown() override
    {
        if (data)
            chart.RemoveSeries(*data);
        ToolChart::TearDown();
    }
    std::vector<double> Values() const
    {
        const auto v = data->YValues().Values();
        return std::vector<double>(v.begin(), v.end());
    }

    std::unique_ptr<TLineSeries> data;
    TSeriesAnimationTool tool;
    const std::vector<double> saved{10, 20, 30, 40, 50};
};

} // namespace

TEST_F(AnimationChart, StepsFollowTheGrowthFormulaAndTheEndRestoresExactly)
{
    std::vector<int> steps;
    int starts = 0, stops = 0;
    tool.OnStart = [&](TSeriesAnimationTool*) { ++starts; };
    tool.OnStop = [&](TSeriesAnimationTool*) { ++stops; };
    tool.OnStep = [&](TSeriesAnimationTool*, int i) {
        steps.push_back(i);
        for (int j = 0; j < 5; ++j)
            EXPECT_DOUBLE_EQ(data->YValues().Value(j), 10.0 - 10.0 * i / 4 + saved[j] * i / 4) << i;
    };
    tool.SetDrawEvery(2);                          // two points per timer tick
    tool.Execute();
    EXPECT_EQ(Values(), std::vector<double>(5, 10.0));
    ASSERT_TRUE(QTest::qWaitFor([&] { return !tool.Running(); }, 5000));
    EXPECT_EQ(steps, (std::vector<int>{0, 1, 2, 3, 4}));
    EXPECT_EQ(Values(), saved);
    EXPECT_EQ(starts, 1);
    EXPECT_EQ(stops, 1);

    tool.SetStartAtMin(false);                     // stopped half-way: the values come back
    tool.SetStartValue(0.1);
    tool.OnStep = [&](TSeriesAnimationTool* sender, int i) {
        if (i == 2)
            sender->Stop();
    };
    tool.Execute();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !tool.Running(); }, 5000));
    EXPECT_EQ(Values(), saved);

    QStringList caught;                            // a step event that throws is reported
    ChartErrorHookScope hook([&](const QString& where, const QString& what) { caught << where + ": " + what; });
    tool.OnStep = [](TSeriesAnimationTool*, int) { throw std::runtime_error("step failed"); };
    tool.Execute();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !tool.Running(); }, 5000));
    EXPECT_EQ(caught, QStringList{"TSeriesAnimationTool::Tick: step failed"});
    EXPECT_EQ(Values(), saved);
}

TEST_F(AnimationChart, NoStepsMeansOneStepAndAFreedSeriesEndsIt)
{
    tool.SetSteps(0);
    tool.SetStartAtMin(false);
    bool finite = true;
    int count = 0;
    tool.OnStep = [&](TSeriesAnimationTool*, int) {
        ++count;
        for (const double v : Values())
            finite = finite && std::isfinite(v);
    };
    tool.Execute();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !tool.Running(); }, 5000));
    EXPECT_TRUE(finite);
    EXPECT_EQ(count, 2);
    EXPECT_EQ(Values(), saved);

    tool.SetSteps(50);
    tool.SetDelay(5);
    tool.OnStep = [&](TSeriesAnimationTool*, int i) {
        if (i == 3)
            data.reset();                          // the series goes away mid-animation
    };
    tool.Execute();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !tool.Running(); }, 5000));
    EXPECT_EQ(tool.Series(), nullptr);
    QTest::qWait(20);                              // no tick touches it afterwards
}

TEST(FullScreenTool, ChartGoesBackToItsPlaceOnEscapeCloseAndOff)
{
    QWidget host;
    auto* layout = new QVBoxLayout(&host);
    layout->addWidget(new QLabel(QStringLiteral("above")));
    auto* chart = new TChart;
    layout->addWidget(chart, 3);
    layout->addWidget(new QLabel(QStringLiteral("below")));
    host.resize(500, 400);
    host.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&host));
    const QRect geometry = chart->geometry();
    TFullScreenTool tool;
    tool.SetParentChart(chart);
    auto back = [&] {
        QTest::qWait(0);
        EXPECT_EQ(chart->parentWidget(), &host);
        EXPECT_EQ(layout->indexOf(chart), 1);
        EXPECT_EQ(layout->stretch(1), 3);
        EXPECT_FALSE(tool.Active());
        EXPECT_EQ(tool.Window(), nullptr);
        EXPECT_TRUE(QTest::qWaitFor([&] { return chart->geometry() == geometry; }, 1000));
    };

    tool.SetActive(true);
    ASSERT_NE(tool.Window(), nullptr);
    EXPECT_EQ(chart->window(), tool.Window());
    EXPECT_TRUE(tool.Window()->windowState() & Qt::WindowFullScreen);
    QTest::keyClick(chart, Qt::Key_Escape);
    back();

    tool.SetActive(true);
    QPointer<QWidget> window = tool.Window();
    window->close();                               // closed by the window manager
    back();
    EXPECT_TRUE(QTest::qWaitFor([&] { return window.isNull(); }, 1000));

    tool.SetActive(true);
    window = tool.Window();
    tool.SetActive(false);
    back();
    EXPECT_TRUE(QTest::qWaitFor([&] { return window.isNull(); }, 1000));

    tool.SetReleaseKey('Q');
    tool.SetActive(true);
    QTest::keyClick(chart, Qt::Key_Escape);
    EXPECT_TRUE(tool.Active());
    QTest::keyClick(chart, Qt::Key_Q);
    back();
    EXPECT_EQ(KeyOfVirtualKey(123), Qt::Key_F12);
    EXPECT_EQ(KeyOfVirtualKey(124), 0);
    tool.SetParentChart(nullptr);
}

// The tools unit registers the seventeen classes in their order with the chart unit, once however
// many users start it, and takes them out when the last one stops.
TEST(ToolClasses, SeventeenRegisteredInOrderWhileTheUnitRuns)
{
    const QStringList expected{"TCursorTool",      "TDragMarksTool", "TAxisArrowTool",       "TDrawLineTool",
                               "TNearestTool",     "TColorBandTool", "TColorLineTool",       "TRotateTool",
                               "TChartImageTool",  "TMarksTipTool",  "TAnnotationTool",      "TSeriesAnimationTool",
                               "TGridBandTool",    "TAxisScrollTool", "TRectangleTool",      "TClipSeriesTool",
                               "TFullScreenTool"};
    ChartUnitState chart;
    StartChartUnit(chart);
    ToolsUnitState tools;
    StartToolsUnit(tools, chart);
    StartToolsUnit(tools, chart);
    QStringList names;
    for (int i = 0; i < PlotToolTypes(chart).Count(); ++i)
        names << PlotToolTypes(chart).Get(i).Name;
    EXPECT_EQ(names, expected);
    for (const QString& name : expected)
        EXPECT_EQ(chart.Classes.CreateAs<TPlotCustomTool>(name)->ClassName(), name);

    StopToolsUnit(tools, chart);
    EXPECT_EQ(PlotToolTypes(chart).Count(), 17);
    StopToolsUnit(tools, chart);
    EXPECT_EQ(PlotToolTypes(chart).Count(), 0);
    EXPECT_FALSE(chart.Classes.IsRegistered("TCursorTool"));
    StopChartUnit(chart);
}
