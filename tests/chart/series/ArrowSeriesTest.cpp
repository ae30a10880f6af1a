// The arrow series: its ends, drawing, range, hit test and registration.
#include "chart/series/ArrowSeries.h"
#include "chart/canvas/PlotCanvas3D.h"
#include "chart/engine/ChartException.h"
#include "chart/series/Chart.h"
#include "chart/series/ChartUnit.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

struct Arrow {
    double x0, y0, x1, y1;
    TColor color;
};

// Inside the plot whatever the chart's 3D offsets; the third has no length.
const Arrow kArrows[] = {
    {
        10,
        10,
        80,
        60,
        clRed,
    },
    {70, 20, 30, 80, clDefault},
    {50, 50, 50, 50, clBlue},
    {20, 90, 90, 85, clGreen},
};

void SetUpChart(TChart& chart, bool is3D)
{
    chart.resize(320, 240);
    chart.SetView3D(is3D);
    chart.SetAxisVisible(false);
    chart.Legend().Hide(); // the two charts' series list different points
    chart.BottomAxis()->SetRange(0, 100);
    chart.LeftAxis()->SetRange(0, 100);
}

void SetUpArrows(TArrowSeries& series)
{
    series.SetSeriesColor(clNavy);
    series.SetArrowWidth(14);
    series.SetArrowHeight(9);
    series.SetArrowPercent(40);
}

// Distance of (x, y) from the segment a-b (from a when the two coincide).
double SegmentDistance(double x, double y, TPoint a, TPoint b)
{
    const double dx = b.X - a.X, dy = b.Y - a.Y;
    const double length2 = dx * dx + dy * dy;
    double t = length2 == 0 ? 0.0 : ((x - a.X) * dx + (y - a.Y) * dy) / length2;
    t = std::clamp(t, 0.0, 1.0);
    return std::hypot(x - (a.X + t * dx), y - (a.Y + t * dy));
}

} // namespace

// The series draws exactly what the canvas arrow draws when called directly with the ends in
// pixels, the head's length and width, the series' middle depth and the arrow percentage.
TEST(ArrowSeries, DrawsTheCanvasArrowOfEveryPoint)
{
    for (const bool is3D : {false, true}) {
        TChart drawn, direct;
        SetUpChart(drawn, is3D);
        SetUpChart(direct, is3D);
        TArrowSeries arrows, empty; // the empty series gives the other chart the same depth
        drawn.AddSeries(&arrows);
        direct.AddSeries(&empty);
        SetUpArrows(arrows);
        SetUpArrows(empty);
        for (const Arrow& a : kArrows)
            arrows.AddArrow(a.x0, a.y0, a.x1, a.y1, {}, a.color);

        direct.OnAfterDraw = [&] {
            TPlotCanvas3D& canvas = direct.Canvas();
            for (const Arrow& a : kArrows) {
                const TColor color = a.color == clDefault ? clNavy : a.color;
                if (is3D)
                    empty.Pointer().PrepareCanvas(canvas, color);
                else
                    canvas.AssignVisiblePenColor(empty.Pointer().Pen(), color);
                const TPoint from {
                    direct.BottomAxis()->ValueToPixel(a.x0), direct.LeftAxis()->ValueToPixel(a.y0)};
                const TPoint to {
                    direct.BottomAxis()->ValueToPixel(a.x1), direct.LeftAxis()->ValueToPixel(a.y1)};
                canvas.Arrow(is3D, from, to, empty.MiddleZ(), 9, 14, 40);
            }
        };
        drawn.RepaintNow();
        direct.RepaintNow();
        EXPECT_EQ(arrows.MiddleZ(), empty.MiddleZ());
        EXPECT_NE(drawn.WindowImage(), QImage());
        EXPECT_TRUE(drawn.WindowImage() == direct.WindowImage()) << "3D " << is3D;
        // Something was drawn at all: the chart without arrows differs.
        direct.OnAfterDraw = nullptr;
        direct.RepaintNow();
        EXPECT_FALSE(drawn.WindowImage() == direct.WindowImage()) << "3D " << is3D;
        drawn.RemoveSeries(arrows);
        direct.RemoveSeries(empty);
    }
}

// Every pixel of a 60 x 60 area: the first arrow whose line passes within the pen width (plus
// the pixel the library's line test allows), a zero-length arrow by the distance from its point.
TEST(ArrowSeries, HitTestFollowsTheDistanceFromEachArrow)
{
    TChart chart;
    SetUpChart(chart, false);
    TArrowSeries arrows;
    chart.AddSeries(&arrows);
    arrows.Pen().SetWidth(2);
    for (const Arrow& a : kArrows)
        arrows.AddArrow(a.x0, a.y0, a.x1, a.y1);
    chart.RepaintNow();

    const TPoint centre = arrows.StartPoint(2);
    EXPECT_EQ(arrows.EndPoint(2), centre);
    EXPECT_EQ(arrows.Clicked(centre.X, centre.Y), 2);
    int hits = 0;
    for (int y = centre.Y - 30; y < centre.Y + 30; ++y) {
        for (int x = centre.X - 30; x < centre.X + 30; ++x) {
            int expected = -1;
            for (int i = 0; i < arrows.Count() && expected < 0; ++i)
                if (SegmentDistance(x, y, arrows.StartPoint(i), arrows.EndPoint(i)) <= 2 + 1)
                    expected = i;
            ASSERT_EQ(arrows.Clicked(x, y), expected) << x << "," << y;
            hits += expected >= 0;
        }
    }
    EXPECT_GT(hits, 100);
    chart.RemoveSeries(arrows);
}

TEST(ArrowSeries, EndsWidenTheRangeAndFollowTheirStart)
{
    TArrowSeries arrows;
    EXPECT_TRUE(arrows.XValues().DateTime());
    EXPECT_TRUE(arrows.EndXValues().DateTime());
    EXPECT_FALSE(arrows.EndYValues().DateTime());
    EXPECT_FALSE(arrows.Pointer().InflateMargins());
    EXPECT_EQ(arrows.AddArrow(5, 1, 20, -4, QStringLiteral("b")), 0);
    EXPECT_EQ(arrows.AddArrow(2, 3, -7, 30), 0); // X orders the points: the ends go along
    EXPECT_EQ(arrows.EndXValues().Value(0), -7);
    EXPECT_EQ(arrows.EndYValues().Value(1), -4);
    EXPECT_EQ(arrows.XLabel(1), QStringLiteral("b"));
    EXPECT_EQ(arrows.GetMinX(), -7);
    EXPECT_EQ(arrows.GetMaxX(), 20);
    EXPECT_EQ(arrows.GetMinY(), -4);
    EXPECT_EQ(arrows.GetMaxY(), 30);

    arrows.OnBeforeAdd = [](TChartSeries*) { return false; };
    EXPECT_EQ(arrows.AddArrow(1, 1, 2, 2), -1);
    arrows.OnBeforeAdd = nullptr;
    EXPECT_EQ(arrows.AddArrow(9, 9, 10, 11), 2);
    EXPECT_EQ(arrows.EndYValues().Value(2), 11);

    arrows.SetArrowWidth(7);
    EXPECT_EQ(arrows.Pointer().HorizSize(), 7);
    arrows.Pointer().SetVertSize(5);
    EXPECT_EQ(arrows.ArrowHeight(), 5);
}

TEST(ArrowSeries, OnlyArrowSeriesFeedIt)
{
    TChart chart;
    TArrowSeries arrows, source;
    TLineSeries line;
    chart.AddSeries(&arrows);
    chart.AddSeries(&source);
    chart.AddSeries(&line);
    EXPECT_THROW(arrows.SetDataSource(&line), ChartException);
    source.AddArrow(1, 2, 3, 4);
    arrows.SetDataSource(&source);
    ASSERT_EQ(arrows.Count(), 1);
    EXPECT_EQ(arrows.EndXValues().Value(0), 3);
    EXPECT_EQ(arrows.EndYValues().Value(0), 4);
    arrows.SetDataSource(nullptr);
    chart.RemoveSeries(arrows);
    chart.RemoveSeries(source);
    chart.RemoveSeries(line);
}

TEST(ArrowSeries, GallerySamplesAndRegistration)
{
    TChart chart;
    chart.resize(300, 200);
    TArrowSeries arrows;
    chart.AddSeries(&arrows);
    QStringList captions;
    arrows.CreateSubGallery([&](const QString& caption) { captions << caption; });
    EXPECT_EQ(captions, (QStringList {"Normal", "Colors", "Marks", "Hollow", "No Border", "Gradient"}));
    arrows.SetSubGallery(9); // a symbol style the arrow does not offer
    EXPECT_EQ(arrows.Pointer().Style(), psRectangle);
    arrows.SetSubGallery(1);
    EXPECT_TRUE(arrows.ColorEachPoint());

    arrows.PrepareForGallery(false);
    EXPECT_EQ(arrows.Count(), 3);
    EXPECT_EQ(arrows.ArrowWidth(), 12);
    EXPECT_EQ(arrows.ArrowHeight(), 12);
    EXPECT_EQ(arrows.SeriesColor(), 0xC0C0C0);
    chart.BottomAxis()->SetRange(0, 100);
    chart.LeftAxis()->SetRange(-50, 50);
    arrows.FillSampleValues(20);
    for (int i = 0; i < arrows.Count(); ++i) {
        EXPECT_GE(arrows.EndXValues().Value(i), -12.5);
        EXPECT_LE(arrows.EndXValues().Value(i), 112.5);
        EXPECT_GE(arrows.YValues().Value(i), -25);
        EXPECT_LE(arrows.YValues().Value(i), 25);
    }
    chart.RemoveSeries(arrows);

    ChartUnitState unit;
    ArrowUnitState arrowUnit;
    StartArrowUnit(arrowUnit, unit);
    StartArrowUnit(arrowUnit, unit);
    ASSERT_EQ(PlotSeriesTypes(unit).Count(), 1);
    const TPlotSeriesType& type = PlotSeriesTypes(unit).Get(0);
    EXPECT_EQ(type.DescriptionText(), QStringLiteral("Arrow"));
    EXPECT_EQ(type.GalleryPageText(), QStringLiteral("Extended"));
    EXPECT_EQ(type.NumGallerySeries, 2);
    EXPECT_EQ(
        unit.Classes.Create(QStringLiteral("TArrowSeries"))->ClassName(), QStringLiteral("TArrowSeries"));
}
