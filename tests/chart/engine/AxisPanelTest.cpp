#include "AxisTestSupport.h"

#include "chart/engine/ChartException.h"
#include "chart/engine/ChartPage.h"
#include "chart/engine/SeriesGroup.h"

#include <gtest/gtest.h>

#include <memory>

using axistest::AxisChart;

namespace {

class SeriesEventLog : public TPlotEventListener {
public:
    void PlotEvent(TPlotEvent& event) override
    {
        if (auto* e = dynamic_cast<TPlotSeriesEvent*>(&event); e && (e->Event == seAdd || e->Event == seRemove))
            kinds.push_back(e->Event);
        else if (dynamic_cast<TChartChangePage*>(&event))
            pageEvents++;
    }
    std::vector<TChartSeriesEventKind> kinds;
    int pageEvents = 0;
};

class CountingTool : public TPlotCustomTool {
public:
    explicit CountingTool(int* destroyed = nullptr) : destroyed_(destroyed) {}
    ~CountingTool() override
    {
        if (destroyed_)
            ++*destroyed_;
    }

private:
    int* destroyed_;
};

std::unique_ptr<TChartSeries> SeriesWithX(std::initializer_list<double> xs)
{
    auto series = std::make_unique<TChartSeries>();
    for (const double x : xs)
        series->AddPointXY(x, x * 10);
    return series;
}

} // namespace

TEST(AxisPanel, StandardAxesAndSettings)
{
    AxisChart chart;
    ASSERT_EQ(chart.Axes().Count(), 6);
    EXPECT_EQ(chart.Axes()[0], chart.BottomAxis());
    EXPECT_EQ(chart.Axes()[1], chart.TopAxis());
    EXPECT_EQ(chart.Axes()[2], chart.LeftAxis());
    EXPECT_EQ(chart.Axes()[3], chart.RightAxis());
    EXPECT_EQ(chart.Axes()[5], chart.DepthTopAxis());
    EXPECT_EQ(chart.TopAxis()->ZPosition(), 100.0);
    EXPECT_EQ(chart.RightAxis()->Grid().ZPosition(), 100.0);
    EXPECT_EQ(chart.LeftAxis()->Title().Angle(), 90);
    EXPECT_EQ(chart.RightAxis()->Title().Angle(), 270);
    EXPECT_FALSE(chart.DepthAxis()->Visible());
    EXPECT_TRUE(chart.DepthTopAxis()->OtherSide());

    try {
        chart.SetChart3DPercent(101);
        FAIL() << "101 accepted";
    } catch (const ChartException& e) {
        EXPECT_EQ(QString::fromUtf8(e.what()), QStringLiteral("3D effect percent must be between 1 and 100"));
    }
    EXPECT_THROW(chart.SetChart3DPercent(0), ChartException);
    EXPECT_EQ(chart.Chart3DPercent(), 15);
    chart.SetChart3DPercent(100);
    EXPECT_EQ(chart.Chart3DPercent(), 100);

    // No series: every automatic range is 0..0.
    EXPECT_EQ(chart.MaxXValue(*chart.BottomAxis()), 0.0);
    EXPECT_EQ(chart.MinYValue(*chart.LeftAxis()), 0.0);
}

TEST(AxisPanel, SeriesJoinLeaveAndOwnership)
{
    SeriesEventLog log;
    std::vector<QString> added, removed;
    int toolsDestroyed = 0;
    auto outside = std::make_unique<TChartSeries>();
    CountingTool loose;
    {
        AxisChart chart;
        chart.AddListener(&log);
        chart.OnAddSeries = [&](TCustomAxisPanel*, TCustomChartSeries* s) { added.push_back(s->Name()); };
        chart.OnRemoveSeries = [&](TCustomAxisPanel*, TCustomChartSeries* s) { removed.push_back(s->Name()); };

        TChartSeries* owned = chart.AddSeries(SeriesWithX({1, 2}));
        owned->SetName(QStringLiteral("owned"));
        outside->SetName(QStringLiteral("outside"));
        chart.AddSeries(outside.get());
        auto* gone = chart.AddSeries(std::make_unique<TChartSeries>());
        gone->SetName(QStringLiteral("gone"));
        ASSERT_EQ(chart.SeriesCount(), 3);
        EXPECT_EQ(added, (std::vector<QString>{QString(), QStringLiteral("outside"), QString()}));
        // Each series got its own palette colour.
        EXPECT_NE(owned->SeriesColor(), outside->SeriesColor());

        chart.RemoveSeries(1);
        EXPECT_EQ(outside->ParentChart(), nullptr);
        EXPECT_EQ(removed, std::vector<QString>{QStringLiteral("outside")});
        chart.RemoveSeries(*outside);   // not in the chart: nothing
        EXPECT_EQ(removed.size(), 1u);
        chart.AddSeries(outside.get());

        chart.FreeAllSeries([](const TCustomChartSeries& s) { return s.Name() == QStringLiteral("gone"); });
        EXPECT_EQ(chart.SeriesCount(), 2);
        EXPECT_EQ(log.kinds, (std::vector<TChartSeriesEventKind>{seAdd, seAdd, seAdd, seRemove, seAdd, seRemove}));

        chart.AddTool(std::make_unique<CountingTool>(&toolsDestroyed));
        loose.SetParentChart(&chart);
        chart.RemoveListener(&log);
    }
    // The chart freed what it owned and let go of the rest.
    EXPECT_EQ(outside->ParentChart(), nullptr);
    EXPECT_EQ(toolsDestroyed, 1);
    EXPECT_EQ(loose.ParentChart(), nullptr);
}

TEST(AxisPanel, GroupsFollowRemovalAndExchange)
{
    AxisChart chart;
    TChartSeries& a = chart.NewSeries();
    TChartSeries& b = chart.NewSeries();
    TChartSeries& c = chart.NewSeries();
    TSeriesGroup& both = chart.SeriesGroups().Add();
    both.Series().Add(&a);
    both.Series().Add(&b);
    TSeriesGroup& other = chart.SeriesGroups().Add();
    other.Series().Add(&c);

    chart.ExchangeSeries(&a, &b);
    EXPECT_EQ(chart.Series(0), &b);
    EXPECT_EQ(both.Series()[0], &b);
    chart.ExchangeSeries(0, 2);   // b and c lie in different groups
    EXPECT_EQ(chart.Series(0), &c);
    EXPECT_EQ(both.Series()[0], &b);
    EXPECT_EQ(other.Series()[0], &c);

    // A destroyed series leaves the chart and every group that listed it.
    chart.owned.erase(chart.owned.begin());
    EXPECT_EQ(chart.SeriesCount(), 2);
    EXPECT_EQ(both.Series().Count(), 1);
    EXPECT_EQ(both.Series()[0], &b);
    EXPECT_EQ(both.Active(), gaYes);
}

TEST(AxisPanel, FreeColoursComeFromThePalette)
{
    AxisChart chart;
    chart.SetColorPalette({clRed, clGreen, clBlue});
    TChartSeries& first = chart.NewSeries();
    TChartSeries& second = chart.NewSeries();
    EXPECT_EQ(first.SeriesColor(), clRed);
    EXPECT_EQ(second.SeriesColor(), clGreen);
    chart.NewSeries();
    // Every colour but the last is taken: the last one is returned without a test.
    EXPECT_EQ(chart.NewSeries().SeriesColor(), clBlue);
    EXPECT_EQ(chart.GetDefaultColor(4), clGreen);
}

TEST(AxisPanel, PagesScaleTheAxisToThePage)
{
    AxisChart chart;
    SeriesEventLog log;
    chart.AddListener(&log);
    int pageChanges = 0;
    chart.OnPageChange = [&] { ++pageChanges; };
    TChartSeries& series = chart.NewSeries();
    for (int i = 0; i < 25; ++i)
        series.AddPointXY(i * i, 100 - i);
    TChartPage& pages = chart.Pages();
    EXPECT_THROW(pages.SetMaxPointsPerPage(-1), ChartException);
    pages.SetMaxPointsPerPage(10);
    EXPECT_EQ(pages.NumPages(), 3);
    pages.SetCurrent(99);
    EXPECT_EQ(pages.Current(), 3);
    pages.SetCurrent(0);
    EXPECT_EQ(pages.Current(), 1);
    EXPECT_EQ(pageChanges, 2);

    TChartAxis& bottom = *chart.BottomAxis();
    EXPECT_EQ(chart.MinXValue(bottom), 0.0);
    EXPECT_EQ(chart.MaxXValue(bottom), 81.0);
    EXPECT_EQ(chart.MaxYValue(*chart.LeftAxis()), 100.0);
    pages.SetAutoScale(true);
    EXPECT_EQ(chart.MinYValue(*chart.LeftAxis()), 91.0);

    pages.SetCurrent(3);
    pages.SetScaleLastPage(false);
    EXPECT_EQ(chart.MinXValue(bottom), 400.0);
    EXPECT_DOUBLE_EQ(chart.MaxXValue(bottom), 400.0 + 10 * (576.0 - 400.0) / 5);

    // The longest series on the axis has no points: no range rather than a read before it.
    series.Clear();
    EXPECT_EQ(chart.MaxXValue(bottom), 0.0);
    EXPECT_EQ(chart.MinXValue(bottom), 0.0);

    pages.SetMaxPointsPerPage(0);
    EXPECT_EQ(pages.NumPages(), 1);
    EXPECT_EQ(pages.Current(), 1);

    // Older charts stored the page settings on the chart itself.
    for (int i = 0; i < 25; ++i)
        series.AddPointXY(i, i);
    EXPECT_TRUE(chart.ReadLegacyProperty(QStringLiteral("MaxPointsPerPage"), 10));
    EXPECT_TRUE(chart.ReadLegacyProperty(QStringLiteral("page"), 2));
    EXPECT_TRUE(chart.ReadLegacyProperty(QStringLiteral("ScaleLastPage"), false));
    EXPECT_FALSE(chart.ReadLegacyProperty(QStringLiteral("Page"), QStringLiteral("two")));
    EXPECT_EQ(pages.MaxPointsPerPage(), 10);
    EXPECT_EQ(pages.Current(), 2);
    EXPECT_FALSE(pages.ScaleLastPage());
    EXPECT_GE(log.pageEvents, 3);
    chart.RemoveListener(&log);
}
