// The cursor tool: its snap search against a plain scan, the parts a press takes, the drag of
// one line, the snap-change event and the inverting drawing on the window surface.
#include "ToolsTestSupport.h"

#include "chart/tools/CursorTool.h"

#include <limits>
#include <random>
#include <vector>

using toolstest::DifferentPixels;
using toolstest::ToolChart;

namespace {

double Distance(double x, double y, double xi, double yi, SnapMeasure m)
{
    if (m == SnapMeasure::XOnly)
        return std::fabs(x - xi);
    if (m == SnapMeasure::YOnly)
        return std::fabs(y - yi);
    return std::sqrt((x - xi) * (x - xi) + (y - yi) * (y - yi));
}

int BruteForce(const std::vector<double>& xs, const std::vector<double>& ys, int first, int last, double x, double y,
               SnapMeasure m)
{
    int best = -1;
    double bestDistance = std::numeric_limits<double>::infinity();
    for (int i = first; i <= last; ++i) {
        const double d = Distance(x, y, xs[i], ys[i], m);
        if (d < bestDistance) {
            bestDistance = d;
            best = i;
        }
    }
    return best;
}

// Points on a coarse grid, so that X values repeat and many distances tie.
void RandomPoints(std::mt19937& rng, int count, bool ascending, std::vector<double>& xs, std::vector<double>& ys)
{
    std::uniform_int_distribution<int> xGrid(0, count / 4), yGrid(0, 60);
    xs.resize(count);
    ys.resize(count);
    for (int i = 0; i < count; ++i) {
        xs[i] = xGrid(rng);
        ys[i] = yGrid(rng);
    }
    if (ascending)
        std::sort(xs.begin(), xs.end());
}

} // namespace

TEST(CursorSnap, OutwardSearchGivesTheScansPointWithTiesToTheLowerIndex)
{
    const std::vector<double> xs{10, 20, 20, 30}, ys{50, 40, 60, 50};
    EXPECT_EQ(SnapPointIndex(xs, ys, 0, 3, 15, 50, SnapMeasure::XAndY, true), 0);   // 0 and 1 tie
    EXPECT_EQ(SnapPointIndex(xs, ys, 0, 3, 25, 50, SnapMeasure::XOnly, true), 1);
    EXPECT_EQ(SnapPointIndex(xs, ys, 0, 3, 25, 50, SnapMeasure::YOnly, true), 0);
    EXPECT_EQ(SnapPointIndex(xs, ys, 2, 1, 25, 50, SnapMeasure::XAndY, true), -1);   // empty range
    EXPECT_EQ(SnapPointIndex({}, {}, 0, -1, 25, 50, SnapMeasure::XAndY, true), -1);

    std::mt19937 rng(29);
    std::vector<double> xs2, ys2;
    for (const bool ascending : {true, false}) {
        RandomPoints(rng, 100000, ascending, xs2, ys2);
        std::uniform_real_distribution<double> cx(-100, 25100), cy(-5, 65);
        std::uniform_int_distribution<int> edge(0, 99999);
        for (int k = 0; k < 150; ++k) {
            int first = edge(rng), last = edge(rng);
            if (k % 3 == 0)
                first = 0, last = 99999;
            if (first > last)
                std::swap(first, last);
            // Half-integer positions tie between neighbours on the grid.
            const double x = k % 2 ? std::round(cx(rng)) + 0.5 : cx(rng);
            const double y = k % 2 ? std::round(cy(rng)) + 0.5 : cy(rng);
            for (const SnapMeasure m : {SnapMeasure::XAndY, SnapMeasure::XOnly, SnapMeasure::YOnly})
                ASSERT_EQ(SnapPointIndex(xs2, ys2, first, last, x, y, m, ascending),
                          BruteForce(xs2, ys2, first, last, x, y, m))
                    << "ascending " << ascending << " range " << first << ".." << last << " at " << x << ", " << y;
        }
    }
}

// The tool picks the measure from SnapStyle and Style; ascending X (zoomed, so only the visible
// range counts) and unordered X both give the scan's point.
TEST_F(ToolChart, CursorSnapEqualsAScanForEveryStyle)
{
    TLineSeries data;
    chart.AddSeries(&data);
    series.SetActive(false);
    TCursorTool tool;
    tool.SetParentChart(&chart);
    tool.SetSeries(&data);
    tool.SetSnap(true);
    std::mt19937 rng(15);
    for (const bool ascending : {true, false}) {
        std::vector<double> xs, ys;
        RandomPoints(rng, 100000, ascending, xs, ys);
        data.Clear();
        data.XValues().SetOrder(ascending ? loAscending : loNone);
        data.AddPointsXY(xs, ys);
        chart.BottomAxis()->SetRange(ascending ? 5000 : -10, ascending ? 20000 : 26000);
        Render();
        const int first = std::max(data.FirstValueIndex, 0);
        const int last = data.LastValueIndex < 0 ? 99999 : data.LastValueIndex;
        if (ascending) {
            ASSERT_GT(first, 0);
        }
        std::uniform_real_distribution<double> cx(5000, 20000), cy(0, 60);
        for (const TCursorToolStyle style : {cssHorizontal, cssVertical, cssBoth, cssScope, cssScopeOnly}) {
            for (const TCursorToolSnapStyle snap : {ssDefault, ssHorizontal, ssVertical}) {
                tool.SetStyle(style);
                tool.SetSnapStyle(snap);
                SnapMeasure m = SnapMeasure::XAndY;
                if (snap == ssHorizontal || (snap == ssDefault && style == cssHorizontal))
                    m = SnapMeasure::YOnly;
                else if (snap == ssVertical || (snap == ssDefault && style == cssVertical))
                    m = SnapMeasure::XOnly;
                for (int k = 0; k < 10; ++k) {
                    const double x = std::round(cx(rng)) + (k % 2) * 0.5, y = std::round(cy(rng)) + 0.5;
                    tool.SetXValue(x);
                    tool.SetYValue(y);
                    const int expected = BruteForce(xs, ys, first, last, x, y, m);
                    ASSERT_EQ(tool.SnapToPoint(), expected);
                    EXPECT_EQ(tool.YValue(), style == cssVertical ? y : ys[expected]);
                    EXPECT_EQ(tool.XValue(), style == cssHorizontal ? x : xs[expected]);
                }
            }
        }
    }
    chart.RemoveSeries(data);
}

TEST_F(ToolChart, CursorWithAnEmptySeriesKeepsItsFreeValues)
{
    TLineSeries empty;
    chart.AddSeries(&empty);
    TCursorTool tool;
    tool.SetParentChart(&chart);
    tool.SetSeries(&empty);
    tool.SetSnap(true);
    Render();
    tool.SetXValue(123.25);
    tool.SetYValue(45.5);
    EXPECT_EQ(tool.SnapToPoint(), -1);
    EXPECT_EQ(tool.XValue(), 123.25);
    EXPECT_EQ(tool.YValue(), 45.5);
    chart.RemoveSeries(empty);
}

TEST_F(ToolChart, CursorPressTakesOnlyTheLinesItsStyleDraws)
{
    TCursorTool tool;
    tool.SetParentChart(&chart);
    Render();                                      // first drawing places it in the middle
    const int x = tool.X(), y = tool.Y();
    ASSERT_GT(x, 0);
    tool.SetStyle(cssHorizontal);
    Down(x, y + 30);                               // on the vertical position only
    EXPECT_EQ(tool.Dragging(), ccNone);
    EXPECT_TRUE(chart.ZoomDragActive());           // the chart got the press
    Up(x, y + 30);
    tool.SetStyle(cssVertical);
    Down(x + 30, y);                               // on the horizontal line only
    EXPECT_EQ(tool.Dragging(), ccNone);
    Up(x + 30, y);
    Down(x + 2, y + 30);
    EXPECT_EQ(tool.Dragging(), ccVertical);
    Up(x + 2, y + 30);

    tool.SetStyle(cssBoth);                        // dragging the horizontal line keeps X
    const double xValue = tool.XValue();
    Down(x + 40, y - 3);
    ASSERT_EQ(tool.Dragging(), ccHorizontal);
    Move(x + 70, y - 50);
    Up(x + 70, y - 50);
    EXPECT_EQ(tool.XValue(), xValue);
    EXPECT_DOUBLE_EQ(tool.YValue(), chart.LeftAxis()->PixelToValue(y - 50));
    EXPECT_EQ(tool.X(), x);

    Move(x + 40, y - 50);                          // hover tells the part
    EXPECT_EQ(Shape(), Qt::SplitVCursor);
    Move(x + 1, y + 40);
    EXPECT_EQ(Shape(), Qt::SplitHCursor);
    Move(x, y - 49);
    EXPECT_EQ(Shape(), Qt::SizeAllCursor);
}

TEST_F(ToolChart, CursorFollowsTheMouseOnTheWindowAndTellsSnapChanges)
{
    TCursorTool tool;
    tool.SetParentChart(&chart);
    tool.SetSeries(&series);
    tool.SetSnap(true);
    tool.SetSnapStyle(ssVertical);
    tool.SetStyle(cssScope);
    tool.SetScopeStyle(scsCamera);
    tool.SetScopeSize(8);
    tool.SetFollowMouse(true);
    const QImage start = Render();
    const int x = tool.X(), y = tool.Y();
    int changes = 0, snaps = 0;
    tool.OnChange = [&](TCursorTool*, int, int, double, double, TChartSeries*, int) { ++changes; };
    tool.OnSnapChange = [&](TCursorTool*, int, int, double, double, TChartSeries*, int) { ++snaps; };
    const int x5 = chart.BottomAxis()->ValueToPixel(505.0);   // point 101 of the series
    Move(x5, y);
    Move(x5 + 1, y + 1);                           // the same point is still the nearest
    EXPECT_EQ(tool.SnappedIndex(), 101);
    EXPECT_EQ(changes, 2);
    EXPECT_EQ(snaps, 1);
    EXPECT_GT(DifferentPixels(chart.WindowImage(), start, QRect(0, 0, 640, 400)), 100);
    // Back where it started: drawn twice over, every pixel is what it was.
    tool.SetSnap(false);
    Move(x, y);
    EXPECT_EQ(tool.X(), x);
    EXPECT_EQ(DifferentPixels(chart.WindowImage(), start, QRect(0, 0, 640, 400)), 0);
}
