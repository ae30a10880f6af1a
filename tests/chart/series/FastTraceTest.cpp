// Long traces drawn by pixel columns must give the picture segment-by-segment drawing gives, to
// the byte.
#include "chart/series/Chart.h"
#include "chart/series/FastLineSeries.h"
#include "chart/series/LineSeries.h"
#include "platform/gdi/ColumnPath.h"

#include <QImage>
#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <vector>

namespace {

struct Trace {
    std::vector<double> x, y;
};

// A noisy level over a frequency range, with a slow drift and narrow peaks: hundreds of points
// share each pixel column.
Trace Noise(int n, double x0, double x1, unsigned seed, bool logSpaced)
{
    std::mt19937 random(seed);
    std::normal_distribution<double> noise(0.0, 1.5);
    Trace t;
    for (int i = 0; i < n; ++i) {
        const double f = static_cast<double>(i) / (n - 1);
        t.x.push_back(logSpaced ? x0 * std::pow(x1 / x0, f) : x0 + f * (x1 - x0));
        t.y.push_back(40.0 + 12.0 * std::sin(f * 23.0) + noise(random) + (i % 997 < 3 ? 25.0 : 0.0));
    }
    return t;
}

} // namespace

namespace {

class Picture {
public:
    Picture()
    {
        chart.SetView3D(false);
        chart.resize(640, 360);
        chart.BackWall().SetTransparent(false);
        chart.BackWall().SetColor(0x400040);
    }

    QImage Render(bool fast)
    {
        for (int i = 0; i < chart.SeriesCount(); ++i) {
            if (auto* line = dynamic_cast<TCustomSeries*>(chart.Series(i)))
                line->FastDrawing = fast;
            if (auto* line = dynamic_cast<TFastLineSeries*>(chart.Series(i)))
                line->FastDrawing = fast;
        }
        chart.Invalidate();
        chart.RepaintNow();
        return chart.WindowImage().copy();
    }

    TLineSeries& AddLine(const Trace& t, TColor color, int width)
    {
        auto& series = chart.AddNewSeries<TLineSeries>();
        series.SetSeriesColor(color);
        series.LinePen().SetWidth(width);
        TChartSeries::UpdateScope scope(series);
        series.AddPointsXY(t.x, t.y, color);
        return series;
    }

    // Both pictures agree and the column drawing really ran.
    void ExpectSamePicture(const char* what)
    {
        const QImage slow = Render(false);
        const QImage fast = Render(true);
        bool reduced = false;
        for (int i = 0; i < chart.SeriesCount(); ++i)
            if (auto* line = dynamic_cast<TCustomSeries*>(chart.Series(i)))
                reduced = reduced || line->DrawCache().MemoryBytes() > 0;
        EXPECT_TRUE(reduced) << what;
        ASSERT_EQ(fast.size(), slow.size());
        int differing = 0;
        for (int y = 0; y < fast.height(); ++y)
            for (int x = 0; x < fast.width(); ++x)
                differing += fast.pixel(x, y) != slow.pixel(x, y);
        EXPECT_EQ(differing, 0) << what;
    }

    TChart chart;
};

} // namespace

TEST(FastTrace, SamePixelsOnLinearAndLogarithmicAxesAtPenWidthsOneToThree)
{
    for (const bool logarithmic : {false, true}) {
        for (int width = 1; width <= 3; ++width) {
            Picture p;
            p.AddLine(Noise(120000, 9.0, 3000000.0, 1, logarithmic), clYellow, width);
            p.AddLine(Noise(90000, 9.0, 3000000.0, 2, logarithmic), clLime, width);
            p.chart.BottomAxis()->SetLogarithmic(logarithmic);
            const std::string what = (logarithmic ? "log, width " : "linear, width ") + std::to_string(width);
            p.ExpectSamePicture(what.c_str());
            auto* first = dynamic_cast<TCustomSeries*>(p.chart.Series(0));
            EXPECT_EQ(first->LastRunDrawing(), TCustomSeries::RunDrawing::Columns) << what;
            EXPECT_GT(first->DrawCache().ColumnsSummed(), 100) << what;
        }
    }
}

// A dotted pen keeps every segment, drawn from pixels converted in blocks: the same picture.
TEST(FastTrace, DottedLinesKeepTheirSegments)
{
    Picture p;
    auto& series = p.AddLine(Noise(40000, 9.0, 30000.0, 9, false), clWhite, 1);
    series.LinePen().SetStyle(psDot);
    p.chart.BottomAxis()->SetRange(100.0, 20000.0);
    const QImage slow = p.Render(false);
    EXPECT_EQ(series.LastRunDrawing(), TCustomSeries::RunDrawing::PointByPoint);
    EXPECT_EQ(p.Render(true), slow);
    EXPECT_EQ(series.LastRunDrawing(), TCustomSeries::RunDrawing::Segments);
}

// A window of the trace, the line entering from off the chart, on logarithmic and linear,
// normal and inverted axes.
TEST(FastTrace, SamePixelsZoomedWithTheLineEnteringFromOffTheChart)
{
    for (const bool logarithmic : {true, false}) {
        for (const bool inverted : {false, true}) {
            for (int width : {1, 2}) {
                Picture p;
                p.AddLine(Noise(200000, 9.0, 3000000.0, 3, logarithmic), clAqua, width);
                p.chart.BottomAxis()->SetLogarithmic(logarithmic);
                p.chart.BottomAxis()->SetInverted(inverted);
                p.chart.LeftAxis()->SetInverted(inverted);
                p.chart.BottomAxis()->SetRange(150.0, logarithmic ? 30000.0 : 300000.0);
                p.chart.LeftAxis()->SetRange(30.0, 60.0);
                p.ExpectSamePicture((std::string(logarithmic ? "log" : "linear") + (inverted ? " inverted" : "") +
                                     ", width " + std::to_string(width))
                                        .c_str());
            }
        }
    }
}

TEST(FastTrace, SamePixelsAroundNullsInEveryTreatment)
{
    for (TTreatNullsStyle nulls : {tnDontPaint, tnSkip, tnIgnore}) {
        Picture p;
        const Trace t = Noise(60000, 0.0, 1000.0, 4, false);
        auto& series = p.chart.AddNewSeries<TLineSeries>();
        series.SetSeriesColor(clRed);
        series.SetTreatNulls(nulls);
        {
            TChartSeries::UpdateScope scope(series);
            for (size_t i = 0; i < t.x.size(); ++i) {
                if (i % 7919 == 100 || i % 7919 == 101)
                    series.AddNullXY(t.x[i], t.y[i]);
                else
                    series.AddPointXY(t.x[i], t.y[i], {}, i < 30000 ? clRed : clWhite);
            }
        }
        p.ExpectSamePicture(nulls == tnDontPaint ? "dont paint" : nulls == tnSkip ? "skip" : "ignore");
    }
}

// A sweep that runs back (X not ordered): columns are visited right to left and again.
TEST(FastTrace, SamePixelsForDescendingRuns)
{
    Picture p;
    Trace t = Noise(50000, 0.0, 100.0, 5, false);
    for (size_t i = 0; i < t.x.size(); ++i)
        t.x[i] = i < 25000 ? t.x[i] * 2.0 : 200.0 - (t.x[i] - 50.0) * 2.0 + 3.0;
    auto& series = p.chart.AddNewSeries<TLineSeries>();
    series.XValues().SetOrder(loNone);
    series.LinePen().SetWidth(2);
    TChartSeries::UpdateScope scope(series);
    series.AddPointsXY(t.x, t.y);
    p.ExpectSamePicture("descending");
}

TEST(FastTrace, FastLineSeriesDrawsTheSamePolyline)
{
    Picture p;
    const Trace t = Noise(100000, 9.0, 30000.0, 6, false);
    auto& series = p.chart.AddNewSeries<TFastLineSeries>();
    series.LinePen().SetWidth(2);
    {
        TChartSeries::UpdateScope scope(series);
        series.AddPointsXY(t.x, t.y);
    }
    p.chart.BottomAxis()->SetRange(2000.0, 9000.0);
    const QImage slow = p.Render(false);
    EXPECT_EQ(slow, p.Render(true));
}

// Pen styles the reduction cannot keep exact stay segment by segment.
TEST(FastTrace, ReductionOnlyForPensThatPaintTheUnionOfTheirSegments)
{
    gdi::Pen pen;
    EXPECT_TRUE(gdi::PenPaintsUnion(pen, gdi::R2_COPYPEN));
    EXPECT_FALSE(gdi::PenPaintsUnion(pen, gdi::R2_XORPEN));
    pen.style = gdi::PS_DOT;
    EXPECT_FALSE(gdi::PenPaintsUnion(pen, gdi::R2_COPYPEN));
    pen.style = gdi::PS_GEOMETRIC | gdi::PS_SOLID | gdi::PS_ENDCAP_ROUND | gdi::PS_JOIN_ROUND;
    pen.width = 3;
    EXPECT_TRUE(gdi::PenPaintsUnion(pen, gdi::R2_COPYPEN));
    pen.style = gdi::PS_GEOMETRIC | gdi::PS_SOLID | gdi::PS_ENDCAP_FLAT | gdi::PS_JOIN_MITER;
    EXPECT_FALSE(gdi::PenPaintsUnion(pen, gdi::R2_COPYPEN));
}

// The reduced path keeps a column's extremes in their order and what was only reached last.
TEST(FastTrace, ColumnKeepsFirstExtremesInOrderAndLast)
{
    std::vector<TPoint> path{{0, 5}};
    ColumnReducer reducer(path);
    for (const auto& [x, y] : std::vector<std::pair<int, int>>{{1, 7}, {1, 2}, {1, 9}, {1, 2}, {1, 4}, {2, 4}, {2, 4}})
        reducer.Add(x, y);
    reducer.Finish();
    const std::vector<TPoint> expected{{0, 5}, {1, 7}, {1, 2}, {1, 9}, {1, 4}, {2, 4}};
    ASSERT_EQ(path.size(), expected.size());
    for (size_t i = 0; i < path.size(); ++i)
        EXPECT_TRUE(path[i].X == expected[i].X && path[i].Y == expected[i].Y) << i;
}

// A drawing keeps its reduced trace: drawn again unchanged it goes through no point, appended
// points are taken from the last column on (with the same pixels as drawing everything), and a
// changed value or a zoom reduces again, only the points in view.
TEST(FastTrace, KeptTraceIsReusedExtendedAndDropped)
{
    Picture p;
    const Trace t = Noise(12000, 0.0, 200.0, 7, false);
    auto& series = p.chart.AddNewSeries<TLineSeries>();
    {
        TChartSeries::UpdateScope scope(series);
        series.AddPointsXY(std::span<const double>(t.x).first(6000), std::span<const double>(t.y).first(6000));
    }
    p.chart.BottomAxis()->SetRange(0.0, 200.0);
    p.Render(true);
    EXPECT_GT(series.DrawCache().PointsReduced(), 5000);
    p.Render(true);
    EXPECT_EQ(series.DrawCache().PointsReduced(), 0);
    for (int segment = 0; segment < 3; ++segment) {
        {
            TChartSeries::UpdateScope scope(series);
            series.AddPointsXY(std::span<const double>(t.x).subspan(6000 + segment * 601, 601),
                               std::span<const double>(t.y).subspan(6000 + segment * 601, 601));
        }
        const QImage extended = p.Render(true);
        EXPECT_LT(series.DrawCache().PointsReduced(), 700);
        EXPECT_EQ(extended, p.Render(false)) << segment;
    }
    series.SetPointY(10, 90.0);
    p.Render(true);
    EXPECT_GT(series.DrawCache().PointsReduced(), 7000);
    p.chart.BottomAxis()->SetRange(0.0, 10.0);
    p.Render(true);
    EXPECT_LT(series.DrawCache().PointsReduced(), 700);
}

// Columns summed up from their values give the path point-by-point reduction gives, also where
// several values share an extreme pixel, the last point is the only one at its value, values lie
// exactly on the rounding boundary between two pixels, on logarithmic and inverted axes and where
// the axis clamps, over the whole trace or a window of it.
TEST(FastTrace, SummedColumnsEqualPointByPointReduction)
{
    TChart chart;
    chart.SetView3D(false);
    chart.resize(400, 300);
    TLineSeries series;
    chart.AddSeries(&series);
    series.AddPointXY(1.0, 0.0);
    series.AddPointXY(100.0, 10.0);
    chart.BottomAxis()->SetRange(0.0, 100.0);
    chart.LeftAxis()->SetRange(0.0, 10.0);
    chart.RepaintNow();
    TChartAxis& xAxis = *chart.BottomAxis();
    TChartAxis& yAxis = *chart.LeftAxis();
    // Four pixels a unit: X values in 128ths put one in sixteen on a boundary.
    const double tied = xAxis.SizePixels() / 4.0;
    std::mt19937 random(8);
    for (int round = 0; round < 300; ++round) {
        const int kind = round % 6;
        xAxis.SetLogarithmic(kind == 2 || kind == 3);
        xAxis.SetInverted(kind == 3);
        yAxis.SetInverted(kind == 4);
        if (kind == 5)   // zoomed so far that most points go to the coordinate limit
            xAxis.SetRange(4.5, 4.5 + 1e-7);
        else
            xAxis.SetRange(kind == 2 || kind == 3 ? 1.0 : 0.0, kind == 0 ? tied : 100.0);
        chart.RepaintNow();
        const double pixel = 10.0 / yAxis.SizePixels();
        TChartValueList xs(nullptr, QStringLiteral("X")), ys(nullptr, QStringLiteral("Y"));
        const int n = 2000;
        double x = 1.0;
        for (int i = 0; i < n; ++i) {
            x += kind == 0 ? (random() % 3) / 128.0 : kind == 2 || kind == 3 ? x * (random() % 3) * 0.0002
                                                                               : (random() % 3) * 0.01;
            xs.AddChartValue(x);
            // Levels a third of a pixel apart around a few heights: extremes often share pixels.
            ys.AddChartValue(5.0 + ((static_cast<int>(random() % 13) - 6) / 3.0 + (random() % 4 == 0 ? 0.001 : 0.0)) *
                                       pixel * (1 + round % 3));
        }
        // The whole trace, or a window from a tenth of it on.
        const int from = round % 2 == 0 ? 0 : n / 10;
        const int to = round % 2 == 0 ? n - 1 : n / 4;
        const TPoint start{xAxis.ValueToPixel(xs.Value(from) * 0.9), yAxis.ValueToPixel(5.0)};
        TraceDrawCache cache;
        const std::vector<TPoint> summed = cache.ReducedRun(xAxis, yAxis, xs, ys, from, to, start, false);
        ASSERT_GT(cache.ColumnsSummed(), 0) << round;
        std::vector<TPoint> reference{start};
        ColumnReducer reducer(reference);
        for (int i = from; i <= to; ++i)
            reducer.Add(xAxis.ValueToPixel(xs.Value(i)), yAxis.ValueToPixel(ys.Value(i)));
        reducer.Finish();
        ASSERT_EQ(summed.size(), reference.size()) << round;
        for (size_t i = 0; i < summed.size(); ++i)
            ASSERT_TRUE(summed[i].X == reference[i].X && summed[i].Y == reference[i].Y) << round << " at " << i;
    }
    chart.RemoveSeries(series);
}
