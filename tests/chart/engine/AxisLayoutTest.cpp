#include "AxisTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

using axistest::AxisChart;
using axistest::Prepare;
using axistest::RecordingCanvas;

namespace {

TChartSeries& AddSeries(AxisChart& chart, double x0, double x1)
{
    TChartSeries& s = chart.NewSeries();
    s.AddPointXY(x0, 0);
    s.AddPointXY(x1, 1);
    return s;
}

// Vertical segments that start at a given y (ticks below a bottom axis, grid lines from the top).
std::vector<int> VerticalsFrom(const RecordingCanvas& canvas, int y0, int length)
{
    std::vector<int> xs;
    for (const auto& l : canvas.lines)
        if (l.x0 == l.x1 && l.y0 == y0 && l.y1 - l.y0 == length)
            xs.push_back(l.x0);
    std::sort(xs.begin(), xs.end());
    return xs;
}

} // namespace

TEST(AxisLayout, BottomAxisTakesTicksLabelsAndTitle)
{
    AxisChart chart;
    AddSeries(chart, 0, 100);
    TChartAxis& axis = *chart.bottom;
    Prepare(axis, 0, 100);
    chart.canvas.AssignFont(&axis.LabelsFont());
    const int labels = chart.canvas.FontHeight();
    TRect r = chart.ChartRect;
    axis.LayoutAxis(r, true);
    // Axis pen 2 + 1, tick length 4, the labels' font height.
    EXPECT_EQ(r.Bottom, 450 - (3 + 4 + labels));
    EXPECT_EQ(axis.LabelsPixel(), 450 - labels);
    EXPECT_EQ(r.Left, 100);

    axis.Title().SetCaption(QStringLiteral("Frequency"));
    chart.canvas.AssignFont(&axis.Title().Font());
    const int title = chart.canvas.FontHeight();
    r = chart.ChartRect;
    axis.LayoutAxis(r, true);
    EXPECT_EQ(r.Bottom, 450 - (3 + 4 + labels + title));
    EXPECT_EQ(axis.TitlePixel(), 450 - title);

    // Position pass: the line at the rectangle's edge, labels and title outwards.
    r = chart.ChartRect;
    axis.LayoutAxis(r, false);
    EXPECT_EQ(axis.AxisPixel(), 450);
    EXPECT_EQ(axis.LabelsPixel(), 457);
    EXPECT_EQ(axis.TitlePixel(), 457 + labels);

    // A hidden axis pen and ticks leave only the minor tick length.
    axis.Axis().Hide();
    axis.Ticks().Hide();
    EXPECT_EQ(axis.TickSize(), 2);
    axis.SetLabelsSize(30);
    EXPECT_EQ(axis.LabelsSizeValue(), 30);
}

TEST(AxisLayout, LeftAxisTakesTheWidestLabelAndPositionMovesIt)
{
    AxisChart chart;
    AddSeries(chart, 0, 100);
    chart.owned.back()->AddPointXY(50, 12345);
    TChartAxis& axis = *chart.left;
    Prepare(axis, 0, 12345);
    TRect r = chart.ChartRect;
    axis.LayoutAxis(r, true);
    EXPECT_EQ(r.Left, 100 + axis.WidestLabel() + 7);
    axis.SetPositionPercent(10);
    r = chart.ChartRect;
    axis.LayoutAxis(r, false);
    EXPECT_EQ(axis.AxisPixel(), 100 + 100) << "10 % of the chart width moves the left axis right";
    chart.bottom->SetPositionUnits(muPixels);
    chart.bottom->SetPositionPercent(12);
    r = chart.ChartRect;
    chart.bottom->LayoutAxis(r, false);
    EXPECT_EQ(chart.bottom->AxisPixel(), 450 - 12) << "a positive offset moves the bottom axis up";
    chart.top->SetPositionUnits(muPixels);
    chart.top->SetPositionPercent(12);
    r = chart.ChartRect;
    chart.top->LayoutAxis(r, false);
    EXPECT_EQ(chart.top->AxisPixel(), 50 + 12);
}

TEST(AxisLayout, TicksAndGridStandAtTheLabels)
{
    AxisChart chart;
    AddSeries(chart, 0, 100);
    TChartAxis& axis = *chart.bottom;
    axis.SetIncrement(10);
    Prepare(axis, 0, 100);
    TRect r = chart.ChartRect;
    axis.LayoutAxis(r, false);
    chart.canvas.Forget();
    axis.Draw(false);
    // Ticks: from 1 pixel below the line, 4 long; grid lines only strictly inside the axis.
    const std::vector<int> ticks = VerticalsFrom(chart.canvas, 451, 4);
    std::vector<int> expected;
    for (int v = 0; v <= 100; v += 10)
        expected.push_back(axis.ValueToPixel(v));
    EXPECT_EQ(ticks, expected);
    const std::vector<int> grid = VerticalsFrom(chart.canvas, 51, 399);
    EXPECT_EQ(grid, std::vector<int>(expected.begin() + 1, expected.end() - 1));
    // The axis line along the whole axis.
    const bool line = std::any_of(chart.canvas.lines.begin(), chart.canvas.lines.end(), [](const auto& l) {
        return l.y0 == 450 && l.y1 == 450 && l.x0 == 100 && l.x1 == 1100;
    });
    EXPECT_TRUE(line);
    // Labels are written below the ticks.
    ASSERT_EQ(chart.canvas.texts.size(), 11u);
    EXPECT_EQ(chart.canvas.texts[0].text, QStringLiteral("100"));
    EXPECT_EQ(chart.canvas.texts[0].y, axis.LabelsPixel());
}

TEST(AxisLayout, CenteredGridAndDrawEvery)
{
    AxisChart chart;
    chart.ChartRect = TRect{0, 0, 400, 300};
    AddSeries(chart, 0, 400);
    TChartAxis& axis = *chart.bottom;
    Prepare(axis, 0, 400);
    for (const double v : {100.0, 200.0, 300.0})
        axis.Items().Add(v, QStringLiteral("x"));
    axis.SetGridCentered(true);
    TRect r = chart.ChartRect;
    axis.LayoutAxis(r, false);
    chart.canvas.Forget();
    axis.Draw(false);
    EXPECT_EQ(VerticalsFrom(chart.canvas, 1, 299), (std::vector<int>{150, 250}));

    axis.SetGridCentered(false);
    axis.Grid().SetDrawEvery(2);
    chart.canvas.Forget();
    axis.Draw(false);
    EXPECT_EQ(VerticalsFrom(chart.canvas, 1, 299), (std::vector<int>{100, 300}));
    // 0 would divide by zero: below 1 every tick gets its line.
    axis.Grid().SetDrawEvery(0);
    chart.canvas.Forget();
    axis.Draw(false);
    EXPECT_EQ(VerticalsFrom(chart.canvas, 1, 299), (std::vector<int>{100, 200, 300}));
}

TEST(AxisLayout, LinearMinorTicksNeedTwoTicks)
{
    AxisChart chart;
    chart.ChartRect = TRect{0, 0, 400, 300};
    AddSeries(chart, 0, 400);
    TChartAxis& axis = *chart.bottom;
    Prepare(axis, 0, 400);
    axis.Items().Add(100, QStringLiteral("one"));
    TRect r = chart.ChartRect;
    axis.LayoutAxis(r, false);
    chart.canvas.Forget();
    axis.Draw(false);
    EXPECT_TRUE(VerticalsFrom(chart.canvas, 301, 2).empty()) << "a single tick has no minor ticks";
    EXPECT_EQ(VerticalsFrom(chart.canvas, 301, 4), std::vector<int>{100});

    axis.Items().Add(200, QStringLiteral("two"));
    chart.canvas.Forget();
    axis.Draw(false);
    EXPECT_EQ(VerticalsFrom(chart.canvas, 301, 2),
              (std::vector<int>{25, 50, 75, 125, 150, 175, 225, 250, 275}));
}

TEST(AxisLayout, LogarithmicMinorTicksAndGrid)
{
    AxisChart chart;
    AddSeries(chart, 30, 3000);
    TChartAxis& axis = *chart.bottom;
    Prepare(axis, 30, 3000);
    axis.SetLogarithmic(true);
    axis.SetMinorTickCount(8);
    TRect r = chart.ChartRect;
    axis.LayoutAxis(r, false);
    chart.canvas.Forget();
    axis.Draw(false);
    EXPECT_EQ(axis.TickValues(), (std::vector<double>{100, 1000}));
    std::vector<int> expected;
    for (const double v : {200.0, 300.0, 400.0, 500.0, 600.0, 700.0, 800.0, 900.0, 2000.0})
        expected.push_back(axis.ValueToPixel(v));
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(VerticalsFrom(chart.canvas, 451, 2), expected);

    // The minor grid: the same places, drawn across the chart.
    axis.MinorGrid().Show();
    axis.Grid().Hide();
    chart.canvas.Forget();
    axis.Draw(false);
    std::vector<int> minorGrid = VerticalsFrom(chart.canvas, 51, 399);
    EXPECT_EQ(minorGrid, expected);
}

TEST(AxisLayout, InnerTicksAndOtherSides)
{
    AxisChart chart;
    AddSeries(chart, 0, 100);
    TChartAxis& axis = *chart.left;
    chart.owned.back()->AddPointXY(1, 100);
    axis.SetIncrement(50);
    axis.SetTickInnerLength(3);
    Prepare(axis, 0, 100);
    TRect r = chart.ChartRect;
    axis.LayoutAxis(r, false);
    chart.canvas.Forget();
    axis.Draw(false);
    int outer = 0, inner = 0;
    for (const auto& l : chart.canvas.lines) {
        if (l.y0 == l.y1 && l.x0 == 99 && l.x1 == 95)
            ++outer;
        if (l.y0 == l.y1 && l.x0 == 101 && l.x1 == 104)
            ++inner;
    }
    EXPECT_EQ(outer, 3);
    EXPECT_EQ(inner, 3);
}

TEST(AxisLayout, ClickedHitsLineAndLabels)
{
    AxisChart chart;
    AddSeries(chart, 0, 100);
    TChartAxis& axis = *chart.bottom;
    Prepare(axis, 0, 100);
    TRect r = chart.ChartRect;
    axis.LayoutAxis(r, false);
    EXPECT_TRUE(axis.Clicked(500, 450));
    EXPECT_TRUE(axis.Clicked(500, 447));
    EXPECT_FALSE(axis.Clicked(500, 446));
    EXPECT_TRUE(axis.Clicked(500, axis.LabelsPixel()));
    EXPECT_FALSE(axis.Clicked(1101, 450));
    axis.SetLabels(false);
    EXPECT_FALSE(axis.Clicked(500, 449));
    EXPECT_TRUE(axis.Clicked(500, 450));
    axis.SetVisible(false);
    EXPECT_FALSE(axis.Clicked(500, 450));
}

TEST(AxisLayout, DepthAxisFollowsTheOtherAndDrawsSeriesTitles)
{
    AxisChart chart;
    chart.Width3D = 90;
    EXPECT_FALSE(chart.depth->Visible());
    chart.depth->SetInverted(true);
    EXPECT_TRUE(chart.depthTop->Inverted());
    chart.depthTop->SetInverted(false);
    EXPECT_FALSE(chart.depth->Inverted());

    TChartSeries& a = AddSeries(chart, 0, 1);
    TChartSeries& b = AddSeries(chart, 0, 1);
    a.SetTitle(QStringLiteral("first"));
    b.SetTitle(QStringLiteral("second"));
    TChartAxis& depth = *chart.depth;
    Prepare(depth, 0, 2);
    EXPECT_EQ(depth.CalcLabelStyle(), talText);
    chart.canvas.Forget();
    depth.DrawAxisLabels();
    QStringList written;
    for (const auto& t : chart.canvas.texts)
        written << t.text;
    EXPECT_EQ(written, (QStringList{QStringLiteral("first"), QStringLiteral("second")}));
    // Ticks stand only where a label was written: there is no third series.
    EXPECT_EQ(depth.TickValues(), (std::vector<double>{1.5, 0.5}));
    EXPECT_EQ(depth.ValueToPixel(1.5), 68) << "R(1.5 x 45) = 68 (67.5 to even)";
}
