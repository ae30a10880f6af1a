#include "AxisTestSupport.h"

#include "chart/engine/ChartPage.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

using axistest::AxisChart;
using axistest::Prepare;

namespace {

// A series type that notes the points it is asked to draw.
class NotingSeries : public TChartSeries {
public:
    void DrawValue(int valueIndex) override { drawn.push_back(valueIndex); }
    std::vector<int> drawn;
};

// The visible range as the loop over the points finds it, written out step by step.
void Scan(const std::vector<double>& v, double low, double high, bool drawBetween, int& first, int& last)
{
    first = last = -1;
    const int n = static_cast<int>(v.size()) - 1;
    int f = 0;
    if (v[0] <= low) {
        while (v[f] < low) {
            ++f;
            if (f > n)
                return;
        }
    }
    int l = n;
    if (v[n] > high) {
        l = f;
        while (l < n && v[l] < high)
            ++l;
        if (!drawBetween)
            while (l > 0 && v[l] > high)
                --l;
    }
    first = f;
    last = l;
}

} // namespace

TEST(SeriesDraw, BisectionFindsTheIndexesOfTheScan)
{
    std::mt19937 random(99);
    for (int run = 0; run < 2000; ++run) {
        const int n = 1 + static_cast<int>(random() % 40);
        std::vector<double> v(static_cast<size_t>(n));
        // Few distinct values, so that runs of equal values meet the window's edges.
        for (double& x : v)
            x = static_cast<double>(random() % 12);
        std::sort(v.begin(), v.end());
        double low = static_cast<double>(random() % 15) - 2;
        double high = static_cast<double>(random() % 15) - 2;
        if (random() % 3 == 0)
            low += 0.5, high += 0.5;
        if (low > high)
            std::swap(low, high);
        for (const bool between : {false, true}) {
            int first = 0, last = 0, scanFirst = 0, scanLast = 0;
            CalcVisibleRange(v, 0, n - 1, low, high, true, between, first, last);
            Scan(v, low, high, between, scanFirst, scanLast);
            ASSERT_EQ(first, scanFirst) << "run " << run;
            ASSERT_EQ(last, scanLast) << "run " << run;
        }
    }
}

TEST(SeriesDraw, VisibleRangeFollowsTheZoomAndTheOrder)
{
    AxisChart chart;
    TChartSeries& series = chart.NewSeries();
    for (int i = 0; i < 1000; ++i)
        series.AddPointXY(i, i % 7);
    Prepare(*chart.left, 0, 10);
    Prepare(*chart.bottom, 100, 200);
    series.CalcFirstLastVisibleIndex();
    EXPECT_EQ(series.FirstValueIndex, 100);
    EXPECT_EQ(series.LastValueIndex, 200);
    EXPECT_TRUE(series.IsPointInChartRect(150));
    EXPECT_FALSE(series.IsPointInChartRect(50));

    Prepare(*chart.bottom, 100.5, 200.5);
    series.CalcFirstLastVisibleIndex();
    EXPECT_EQ(series.FirstValueIndex, 101);
    EXPECT_EQ(series.LastValueIndex, 200);
    series.DrawBetweenPoints = true;
    series.CalcFirstLastVisibleIndex();
    EXPECT_EQ(series.LastValueIndex, 201) << "the line runs on to the edge";
    series.DrawBetweenPoints = false;

    // Zoomed past the last point: nothing is visible.
    Prepare(*chart.bottom, 2000, 3000);
    series.CalcFirstLastVisibleIndex();
    EXPECT_EQ(series.FirstValueIndex, -1);
    EXPECT_EQ(series.LastValueIndex, -1);

    // Unordered X: every point is drawn whatever the zoom.
    series.XValues().SetOrder(loNone);
    series.CalcFirstLastVisibleIndex();
    EXPECT_EQ(series.FirstValueIndex, 0);
    EXPECT_EQ(series.LastValueIndex, 999);

    // Paging keeps to the page.
    series.XValues().SetOrder(loAscending);
    Prepare(*chart.bottom, 0, 1000);
    chart.Pages().SetMaxPointsPerPage(300);
    chart.Pages().SetCurrent(2);
    series.CalcFirstLastVisibleIndex();
    EXPECT_EQ(series.FirstValueIndex, 300);
    EXPECT_EQ(series.LastValueIndex, 599);
}

TEST(SeriesDraw, ValuesAreDrawnForwardOrBackFromTheOtherSide)
{
    AxisChart chart;
    NotingSeries series;
    chart.AddSeries(&series);
    for (int i = 0; i < 5; ++i)
        series.AddPointXY(i, i);
    series.FirstValueIndex = 1;
    series.LastValueIndex = 3;
    series.DrawAllValues();
    EXPECT_EQ(series.drawn, (std::vector<int>{1, 2, 3}));
    series.drawn.clear();
    chart.SetView3D(true);
    chart.ReversedOrder = true;
    series.DrawAllValues();
    EXPECT_EQ(series.drawn, (std::vector<int>{3, 2, 1}));
    series.drawn.clear();
    series.FirstValueIndex = series.LastValueIndex = -1;
    series.DrawAllValues();
    EXPECT_TRUE(series.drawn.empty());
    chart.RemoveSeries(series);
}
