// What the line, point, area and fast-line series draw, as the canvas receives it.
#include "chart/canvas/PlotCanvas3D.h"
#include "chart/series/Chart.h"
#include "chart/series/FastLineSeries.h"
#include "chart/series/LineSeries.h"
#include "chart/series/ChartUnit.h"

#include <QCoreApplication>
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

namespace {

// Notes every segment and symbol the series give it, then draws them.
class Recorder : public TPlotCanvas3D {
public:
    struct Segment {
        int x0, y0, x1, y1;
        TColor color;
    };
    void MoveTo(int32_t x, int32_t y) override
    {
        cx = x, cy = y;
        TPlotCanvas3D::MoveTo(x, y);
    }
    void LineTo(int32_t x, int32_t y) override
    {
        if (recording)
            segments.push_back({cx, cy, x, y, Pen().Color()});
        cx = x, cy = y;
        TPlotCanvas3D::LineTo(x, y);
    }
    void Polyline(const TPointArray& points, int lastIndex) override
    {
        for (int i = 1; recording && i <= lastIndex; ++i)
            segments.push_back({points[i - 1].X, points[i - 1].Y, points[i].X, points[i].Y, Pen().Color()});
        TPlotCanvas3D::Polyline(points, lastIndex);
    }
    void Polygon(const TPointArray& points, int lastIndex) override
    {
        if (recording)
            polygons.push_back(TPointArray(points.begin(), points.begin() + lastIndex + 1));
        TPlotCanvas3D::Polygon(points, lastIndex);
    }
    std::vector<Segment> segments;
    std::vector<TPointArray> polygons;
    bool recording = false;
    int cx = 0, cy = 0;
};

class Drawing : public ::testing::Test {
protected:
    void SetUp() override
    {
        auto owned = std::make_unique<Recorder>();
        recorder = owned.get();
        chart.SetCanvas(std::move(owned));
        chart.SetView3D(false);
        chart.Legend().Hide();   // only the series' own drawing is recorded
        chart.resize(400, 300);
        chart.LeftAxis()->SetRange(0.0, 100.0);
        chart.BottomAxis()->SetRange(0.0, 100.0);
    }

    // The segments of one drawing (the axes left out).
    std::vector<Recorder::Segment> Draw()
    {
        recorder->segments.clear();
        recorder->polygons.clear();
        chart.OnBeforeDrawSeries = [this] { recorder->recording = true; };
        chart.OnAfterDraw = [this] { recorder->recording = false; };
        chart.Invalidate();
        chart.RepaintNow();
        recorder->recording = false;
        return recorder->segments;
    }
    TPoint At(double x, double y) { return {chart.BottomAxis()->ValueToPixel(x), chart.LeftAxis()->ValueToPixel(y)}; }
    bool Joins(const std::vector<Recorder::Segment>& s, TPoint a, TPoint b)
    {
        for (const auto& g : s)
            if ((g.x0 == a.X && g.y0 == a.Y && g.x1 == b.X && g.y1 == b.Y))
                return true;
        return false;
    }

    TChart chart;
    Recorder* recorder = nullptr;
};

} // namespace

TEST_F(Drawing, StairsStepAcrossThenUpAndInvertedUpThenAcross)
{
    auto& series = chart.AddNewSeries<TLineSeries>();
    series.AddPointXY(0, 10);
    series.AddPointXY(5, 20);
    series.SetStairs(true);
    auto s = Draw();
    EXPECT_TRUE(Joins(s, At(0, 10), At(5, 10)));
    EXPECT_TRUE(Joins(s, At(5, 10), At(5, 20)));
    series.SetInvertedStairs(true);
    s = Draw();
    EXPECT_TRUE(Joins(s, At(0, 10), At(0, 20)));
    EXPECT_TRUE(Joins(s, At(0, 20), At(5, 20)));
}

TEST_F(Drawing, NullsBreakTheLineOrAreSkippedOrDrawn)
{
    auto& series = chart.AddNewSeries<TLineSeries>();
    series.AddPointXY(10, 10);
    series.AddPointXY(20, 20);
    series.AddNullXY(30, 90);
    series.AddPointXY(40, 40);
    series.AddPointXY(50, 50);
    auto s = Draw();   // tnDontPaint
    EXPECT_TRUE(Joins(s, At(10, 10), At(20, 20)));
    EXPECT_FALSE(Joins(s, At(20, 20), At(30, 90)));
    EXPECT_FALSE(Joins(s, At(30, 90), At(40, 40)));
    EXPECT_FALSE(Joins(s, At(20, 20), At(40, 40)));
    EXPECT_TRUE(Joins(s, At(40, 40), At(50, 50)));
    series.SetTreatNulls(tnSkip);
    s = Draw();
    EXPECT_TRUE(Joins(s, At(20, 20), At(40, 40)));
    series.SetTreatNulls(tnIgnore);
    s = Draw();
    EXPECT_TRUE(Joins(s, At(20, 20), At(30, 90)));
    EXPECT_TRUE(Joins(s, At(30, 90), At(40, 40)));
    // Limits leave nulls out unless they are drawn like any point.
    series.SetTreatNulls(tnDontPaint);
    EXPECT_DOUBLE_EQ(series.GetMaxY(), 50.0);
    series.SetTreatNulls(tnIgnore);
    EXPECT_DOUBLE_EQ(series.GetMaxY(), 90.0);
}

// The first point shown is not the first: the line comes in at the chart's edge at the height
// the segment has there, geometric on a logarithmic measured axis.
TEST_F(Drawing, LineEntersFromTheEdgeAtTheInterpolatedHeight)
{
    auto& series = chart.AddNewSeries<TLineSeries>();
    series.AddPointXY(-50, 10);
    series.AddPointXY(50, 90);
    auto s = Draw();
    ASSERT_FALSE(s.empty());
    EXPECT_EQ(s.front().x0, chart.ChartRect.Left);
    EXPECT_EQ(s.front().y0, chart.LeftAxis()->ValueToPixel(50.0));
    chart.LeftAxis()->SetLogarithmic(true);
    chart.LeftAxis()->SetRange(1.0, 100.0);
    s = Draw();
    ASSERT_FALSE(s.empty());
    EXPECT_EQ(s.front().y0, chart.LeftAxis()->ValueToPixel(std::sqrt(10.0 * 90.0)));
}

// Symbols come after the segments that leave them, so lines never cover symbols; each symbol in
// its point's colour, the last one too.
TEST_F(Drawing, SymbolsFollowTheirOutgoingSegment)
{
    auto& series = chart.AddNewSeries<TLineSeries>();
    series.Pointer().SetVisible(true);
    for (int i = 0; i < 4; ++i)
        series.AddPointXY(10 + 20 * i, 30, {}, i == 2 ? clRed : clBlue);
    std::vector<std::string> order;
    series.OnGetPointerStyle = [&](TCustomSeries*, int index) {
        order.push_back("symbol " + std::to_string(index) + " after " + std::to_string(recorder->segments.size()));
        return psRectangle;
    };
    Draw();
    EXPECT_EQ(order, (std::vector<std::string>{"symbol 0 after 1", "symbol 1 after 2", "symbol 2 after 3",
                                               "symbol 3 after 3"}));
    ASSERT_EQ(recorder->segments.size(), 3u);
    EXPECT_EQ(recorder->segments[1].color, clRed);   // a segment takes its end point's colour
}

TEST_F(Drawing, ClickedFindsTheEarlierPointOfASegment)
{
    auto& series = chart.AddNewSeries<TLineSeries>();
    series.AddPointXY(10, 10);
    series.AddPointXY(50, 50);
    series.AddPointXY(90, 10);
    Draw();
    const TPoint a = At(10, 10), b = At(50, 50);
    EXPECT_EQ(series.Clicked((a.X + b.X) / 2, (a.Y + b.Y) / 2), 0);
    EXPECT_EQ(series.Clicked(b.X, b.Y), 1);
    EXPECT_EQ(series.Clicked(b.X, b.Y + 30), -1);
    series.SetClickableLine(false);
    EXPECT_EQ(series.Clicked((a.X + b.X) / 2, (a.Y + b.Y) / 2), -1);
    auto& points = chart.AddNewSeries<TPointSeries>();
    points.AddPointXY(70, 70);
    Draw();
    const TPoint p = At(70, 70);
    EXPECT_EQ(points.Clicked(p.X + 3, p.Y - 3), 0);   // within the symbol's half sizes
    EXPECT_EQ(points.Clicked(p.X + 4, p.Y), -1);
}

TEST_F(Drawing, StackedAreasSumAndFillDownToTheSeriesBelow)
{
    auto& lower = chart.AddNewSeries<TAreaSeries>();
    auto& upper = chart.AddNewSeries<TAreaSeries>();
    for (int i = 0; i < 3; ++i) {
        lower.AddPointXY(i * 40, 20);
        upper.AddPointXY(i * 40, 10 + 10 * i);
    }
    upper.SetMultiArea(maStacked);
    EXPECT_EQ(lower.Stacked(), cssStack);   // one stack for the whole class
    EXPECT_DOUBLE_EQ(upper.GetMaxY(), 50.0);
    EXPECT_DOUBLE_EQ(upper.PointOrigin(1, false), 20.0);
    Draw();
    // The upper area's quadrilateral between points 0 and 1 stands on the lower one.
    const TPointArray expected{At(0, 20), At(0, 30), At(40, 40), At(40, 20)};
    bool found = false;
    for (const TPointArray& quad : recorder->polygons)
        found = found || (quad.size() == 4 && std::equal(quad.begin(), quad.end(), expected.begin(), [](TPoint p, TPoint q) {
                              return p.X == q.X && p.Y == q.Y;
                          }));
    EXPECT_TRUE(found);
    upper.SetMultiArea(maStacked100);
    EXPECT_DOUBLE_EQ(upper.GetMaxY(), 100.0);
    EXPECT_EQ(upper.CalcStackedPos(0, 10.0), chart.LeftAxis()->ValueToPixel(100.0));
    lower.SetPointY(2, -30.0);
    upper.SetPointY(2, 30.0);
    lower.SetPointY(2, 0.0);
    upper.SetPointY(2, 0.0);
    EXPECT_EQ(upper.CalcStackedPos(2, 0.0), chart.LeftAxis()->EndPixel());   // a stack total of 0
}

TEST_F(Drawing, FastLineSkipsPointsOnTheSamePixel)
{
    auto& series = chart.AddNewSeries<TFastLineSeries>();
    series.FastDrawing = false;
    for (int i = 0; i < 10000; ++i)
        series.AddPointXY(i * 0.01, 50 + 40 * std::sin(i * 0.37));
    series.SetDrawAllPoints(false);
    auto s = Draw();
    EXPECT_LE(static_cast<int>(s.size()), chart.ChartRect.Width() + 1);
    series.SetDrawAllPoints(true);
    EXPECT_GT(Draw().size(), 2000u);   // vertical strokes within the columns

    auto& gaps = chart.AddNewSeries<TFastLineSeries>();
    gaps.AddPointXY(10, 10);
    gaps.AddNullXY(20, 20);
    gaps.AddPointXY(30, 30);
    s = Draw();
    EXPECT_TRUE(Joins(s, At(20, 20), At(30, 30)));   // IgnoreNulls: a null is a point
    gaps.SetIgnoreNulls(false);
    gaps.SetTreatNulls(tnDontPaint);
    s = Draw();
    EXPECT_FALSE(Joins(s, At(10, 10), At(20, 20)));
    EXPECT_FALSE(Joins(s, At(20, 20), At(30, 30)));
}

TEST(SeriesTypes, StandardSeriesAreRegisteredOnce)
{
    ChartUnitState unit;
    RegisterStandardSeries(unit);
    const int count = PlotSeriesTypes(unit).Count();
    RegisterStandardSeries(unit);
    const TPlotSeriesTypes& types = PlotSeriesTypes(unit);
    EXPECT_EQ(types.Count(), count);
    const TPlotSeriesType* fast = types.FindSeriesClass(QStringLiteral("TFastLineSeries"));
    ASSERT_NE(fast, nullptr);
    EXPECT_EQ(fast->DescriptionText(), QStringLiteral("Fast Line"));
    EXPECT_EQ(fast->GalleryPageText(), QStringLiteral("Standard"));
    EXPECT_EQ(fast->SeriesClass->Create()->ClassName(), QStringLiteral("TFastLineSeries"));
    EXPECT_EQ(types.FindSeriesClass(QStringLiteral("THorizAreaSeries"))->NumGallerySeries, 1);
}

// With AutoRepaint off a point added at run time is drawn at once, without a new drawing.
TEST(FastLine, AddedPointIsDrawnAtOnceWithoutRepaint)
{
    TChart chart;
    chart.SetView3D(false);
    chart.resize(300, 200);
    TFastLineSeries series;
    chart.AddSeries(&series);
    series.SetSeriesColor(clRed);
    series.AddPointXY(0, 0);
    series.AddPointXY(10, 10);
    chart.LeftAxis()->SetRange(0, 10);
    chart.BottomAxis()->SetRange(0, 20);
    chart.RepaintNow();
    series.SetAutoRepaint(false);
    int renders = 0;
    chart.OnAfterDraw = [&] { ++renders; };
    series.AddPointXY(20, 0);
    const int x = (series.XToPixel(1) + series.XToPixel(2)) / 2;
    const int y = (series.YToPixel(1) + series.YToPixel(2)) / 2;
    bool red = false;
    for (int dy = -1; dy <= 1; ++dy)
        red = red || chart.WindowImage().pixelColor(x, y + dy) == QColor(255, 0, 0);
    EXPECT_TRUE(red);
    QCoreApplication::processEvents();
    EXPECT_EQ(renders, 0);
    chart.RemoveSeries(series);
}

// In 3D the walls close the box: the left wall in its colour beside the plot, the back wall
// behind the series.
TEST(Walls, ThreeDimensionalChartShowsLeftAndBackWalls)
{
    TChart chart;
    chart.resize(400, 300);
    chart.Legend().Hide();
    chart.BackWall().SetTransparent(false);
    chart.BackWall().SetColor(clNavy);
    TLineSeries series;
    chart.AddSeries(&series);
    series.AddPointXY(0, 0);
    series.AddPointXY(1, 1);
    chart.RepaintNow();
    const QImage& image = chart.WindowImage();
    const TRect& r = chart.ChartRect;
    EXPECT_EQ(image.pixelColor(r.Left + 2, (r.Top + r.Bottom) / 2), QColor(0xFF, 0xFF, 0x80));   // 0x80FFFF
    EXPECT_EQ(image.pixelColor(r.Right + chart.Width3D / 2, r.Top + 5 - chart.Height3D), QColor(0, 0, 0x80));
    chart.RemoveSeries(series);
}
