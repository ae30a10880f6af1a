// Tools driven by the mouse: dragged marks, drawn lines, the nearest point, rotation and mark
// tips.
#include "ToolsTestSupport.h"

#include "chart/canvas/ChartErrors.h"
#include "chart/canvas/LibrarySettings.h"
#include "chart/canvas/PlotCanvas3D.h"
#include "chart/engine/SeriesMarks.h"
#include "chart/tools/DrawLineTool.h"
#include "chart/tools/MarksTools.h"
#include "chart/tools/NearestTool.h"
#include "chart/tools/RotateTool.h"

#include <QToolTip>
#include <random>
#include <stdexcept>

using toolstest::DifferentPixels;
using toolstest::ToolChart;

TEST_F(ToolChart, DraggedMarkMovesWithTheMouseAndStaysCustom)
{
    series.SetActive(false);
    TPointSeries points;
    chart.AddSeries(&points);
    for (int i = 0; i < 5; ++i)
        points.AddPointXY(i * 250.0, 20.0 + i * 10.0);
    points.Marks().SetVisible(true);
    TDragMarksTool tool;
    tool.SetParentChart(&chart);
    int dragging = 0, dragged = 0;
    tool.OnDraggingMark = [&](TDragMarksTool*, int index, int, int, int, int) { dragging += index == 2; };
    tool.OnDraggedMark = [&](TDragMarksTool*, int index, int, int, int, int) { dragged += index == 2; };
    Render();
    const TSeriesMarkPosition before = *points.Marks().Positions().Position(2);
    const TRect box = before.Bounds();
    const int x = (box.Left + box.Right) / 2, y = (box.Top + box.Bottom) / 2;
    Down(x, y);
    ASSERT_EQ(tool.DraggedSeries(), &points);
    Move(x + 30, y + 20);
    Move(x + 40, y + 25);
    Up(x + 40, y + 25);
    Render();
    const TSeriesMarkPosition* after = points.Marks().Positions().Position(2);
    EXPECT_TRUE(after->Custom);
    EXPECT_EQ(after->LeftTop.X, before.LeftTop.X + 40);
    EXPECT_EQ(after->LeftTop.Y, before.LeftTop.Y + 25);
    EXPECT_EQ(after->ArrowTo.Y, before.ArrowTo.Y + 25);
    EXPECT_EQ(dragging, 2);
    EXPECT_EQ(dragged, 1);
    EXPECT_FALSE(points.Marks().Positions().Position(1)->Custom);
    chart.RemoveSeries(points);
}

TEST_F(ToolChart, DrawnLinesAreAddedSelectedAndDraggedByTheirEnds)
{
    TDrawLineTool tool;
    tool.SetParentChart(&chart);
    tool.SetStyle(dlRectangle);
    int newLines = 0, drags = 0, dragged = 0;
    tool.OnNewLine = [&](TDrawLineTool*) { ++newLines; };
    tool.OnDragLine = [&](TDrawLineTool*) { ++drags; };
    tool.OnDraggedLine = [&](TDrawLineTool*) { ++dragged; };
    TChartAxis& h = *chart.BottomAxis();
    TChartAxis& v = *chart.LeftAxis();
    Down(200, 100);
    Move(250, 150);
    Up(300, 200);
    ASSERT_EQ(tool.LineCount(), 1);
    TDrawLine& line = tool.Line(0);
    EXPECT_EQ(line.Style(), dlRectangle);
    EXPECT_EQ(tool.Selected(), &line);
    EXPECT_EQ(newLines, 1);
    EXPECT_DOUBLE_EQ(line.X0, h.PixelToValue(200));
    EXPECT_DOUBLE_EQ(line.Y1, v.PixelToValue(200));
    EXPECT_FALSE(chart.ZoomDragActive());

    Down(450, 300);                                // press and release in one place: nothing
    Up(450, 300);
    EXPECT_EQ(tool.LineCount(), 1);
    EXPECT_EQ(tool.Selected(), nullptr);

    Down(250, 100);                                // on the rectangle: selects it
    Up(250, 100);
    ASSERT_EQ(tool.Selected(), &line);
    Down(301, 199);                                // the second end's handle
    Move(320, 230);
    Up(320, 230);
    EXPECT_DOUBLE_EQ(line.X0, h.PixelToValue(200));
    EXPECT_DOUBLE_EQ(line.Y0, v.PixelToValue(100));
    EXPECT_DOUBLE_EQ(line.X1, h.PixelToValue(319));
    EXPECT_DOUBLE_EQ(line.Y1, v.PixelToValue(231));
    EXPECT_EQ(drags, 1);
    EXPECT_EQ(dragged, 1);
}

// Each style one pixel within and one pixel beyond the tolerance.
TEST_F(ToolChart, DrawnLineHitTestPerStyleAndTolerance)
{
    TDrawLineTool tool;
    tool.SetParentChart(&chart);
    TChartAxis& h = *chart.BottomAxis();
    TChartAxis& v = *chart.LeftAxis();
    TDrawLine& line = tool.AddLine(h.PixelToValue(100), v.PixelToValue(100), h.PixelToValue(200), v.PixelToValue(160),
                                   dlLine);
    TPoint p0, p1;
    tool.LinePixels(line, p0, p1);
    ASSERT_TRUE(p0.X == 100 && p0.Y == 100 && p1.X == 200 && p1.Y == 160);
    for (const int t : {0, 3}) {
        tool.SetClickTolerance(t);
        line.SetStyle(dlLine);                     // along the segment: distance below t + 1
        EXPECT_TRUE(tool.Clicked(line, 100 - t, 100));
        EXPECT_FALSE(tool.Clicked(line, 100 - t - 1, 100));
        line.SetStyle(dlHorizParallel);
        EXPECT_TRUE(tool.Clicked(line, 150, 160 + t));
        EXPECT_FALSE(tool.Clicked(line, 150, 161 + t));
        EXPECT_FALSE(tool.Clicked(line, 150, 130));
        line.SetStyle(dlVertParallel);
        EXPECT_TRUE(tool.Clicked(line, 100 - t, 130));
        EXPECT_FALSE(tool.Clicked(line, 99 - t, 130));
        for (const TDrawLineStyle box : {dlRectangle, dlEllipse}) {
            line.SetStyle(box);
            EXPECT_TRUE(tool.Clicked(line, 150, 130));
            EXPECT_TRUE(tool.Clicked(line, 200 + t, 160 + t));
            EXPECT_FALSE(tool.Clicked(line, 201 + t, 130));
        }
    }
}

TEST_F(ToolChart, NearestPointEqualsAScanAndLeavesNoGhost)
{
    std::mt19937 rng(7);
    std::uniform_int_distribution<int> gx(0, 3000), gy(0, 60);
    chart.BottomAxis()->SetRange(0, 3000);
    chart.LeftAxis()->SetRange(0, 60);
    Render();
    const TChartAxis& h = *chart.BottomAxis();
    const TChartAxis& v = *chart.LeftAxis();
    for (const bool ascending : {true, false}) {
        std::vector<double> xs(100000), ys(100000);
        for (size_t i = 0; i < xs.size(); ++i)
            xs[i] = gx(rng), ys[i] = gy(rng);
        if (ascending)
            std::sort(xs.begin(), xs.end());
        std::uniform_int_distribution<int> mx(0, 640), my(0, 400);
        for (int k = 0; k < 100; ++k) {
            const int x = mx(rng), y = my(rng);
            int expected = -1;
            double best = 10000;
            for (int i = 0; i < 100000; ++i) {
                const double dx = h.ValueToPixel(xs[i]) - x, dy = v.ValueToPixel(ys[i]) - y;
                if (const double d = std::sqrt(dx * dx + dy * dy); d < best)
                    best = d, expected = i;
            }
            ASSERT_EQ(NearestPixelIndex(xs, ys, 0, 99999, h, v, x, y, ascending), expected) << x << ", " << y;
        }
    }

    chart.BottomAxis()->SetAutomatic(true);
    chart.LeftAxis()->SetAutomatic(true);
    TNearestTool tool;
    tool.SetParentChart(&chart);
    tool.SetSeries(&series);
    tool.SetFullRepaint(false);
    tool.Pen().SetStyle(psSolid);
    tool.Pen().SetColor(clBlue);
    const QImage start = Render();
    int changes = 0;
    tool.OnChange = [&](TNearestTool*) { ++changes; };
    Move(200, 150);
    Move(400, 250);
    EXPECT_EQ(changes, 2);
    EXPECT_EQ(tool.Point(), tool.NearestPoint(400, 250));
    EXPECT_GT(DifferentPixels(chart.WindowImage(), start, QRect(0, 0, 640, 400)), 100);
    const QImage shown = chart.WindowImage().copy();
    EXPECT_EQ(DifferentPixels(Render(), shown, QRect(0, 0, 640, 400)), 0);
}

TEST_F(ToolChart, RotationFollowsTheMouseByItsSpeed)
{
    chart.SetView3D(true);
    chart.View3DOptions().SetOrthogonal(false);
    chart.CustomChartRect = true;
    chart.ChartRect = TRect{100, 50, 500, 350};
    chart.View3DOptions().SetRotationFloat(10.0);
    chart.View3DOptions().SetElevationFloat(20.0);
    Render();
    ASSERT_EQ(chart.ChartWidth, 400);
    ASSERT_EQ(chart.ChartHeight, 300);
    TRotateTool tool;
    tool.SetParentChart(&chart);
    TView3DOptions& view = chart.View3DOptions();
    Down(200, 200);
    Move(210, 195);
    EXPECT_DOUBLE_EQ(view.RotationFloat(), 12.25);
    EXPECT_DOUBLE_EQ(view.ElevationFloat(), 21.5);
    Up(210, 195);
    tool.SetInverted(true);
    Down(200, 200);
    Move(210, 195);
    Up(210, 195);
    EXPECT_DOUBLE_EQ(view.RotationFloat(), 10.0);
    EXPECT_DOUBLE_EQ(view.ElevationFloat(), 20.0);
    tool.SetInverted(false);
    tool.SetStyle(rsRotation);
    view.SetRotationFloat(359.0);
    Down(200, 200);
    Move(210, 195);
    Up(210, 195);
    EXPECT_DOUBLE_EQ(view.RotationFloat(), 1.25);
    EXPECT_DOUBLE_EQ(view.ElevationFloat(), 20.0);

    // A visible pen: no drawing of the chart until the release, and an outline box meanwhile.
    tool.Pen().SetVisible(true);
    const QImage before = Render();
    Down(200, 200);
    Move(240, 180);
    EXPECT_FALSE(chart.Canvas().Dirty);
    EXPECT_GT(DifferentPixels(chart.WindowImage(), before, QRect(0, 0, 640, 400)), 100);
    // Released with inertia 50: the last change halves every 20 ms until below 0.1 degree.
    tool.SetInertia(50);
    const double rotation = view.RotationFloat();
    Up(240, 180);
    EXPECT_TRUE(chart.Canvas().Dirty);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !tool.Spinning(); }, 2000));
    EXPECT_NEAR(view.RotationFloat(), rotation + 9.0 * (0.5 + 0.25 + 0.125 + 0.0625 + 0.03125 + 0.015625), 1e-9);

    // A rotate event that throws while the chart spins on ends the spin and is reported.
    QStringList caught;
    ChartErrorHookScope hook([&](const QString& where, const QString& what) { caught << where + ": " + what; });
    Down(200, 200);
    Move(240, 180);
    tool.OnRotate = [](TRotateTool*) { throw std::runtime_error("spin failed"); };
    Up(240, 180);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !tool.Spinning(); }, 2000));
    EXPECT_EQ(caught, QStringList{"TRotateTool::InertiaTick: spin failed"});
}

TEST_F(ToolChart, MarkTipShowsTheChangedTextAfterTheDelayAndCancelsOffThePoint)
{
    series.SetActive(false);
    TPointSeries points;
    chart.AddSeries(&points);
    for (int i = 0; i < 4; ++i)
        points.AddPointXY(i * 300.0, 30.0 + i * 10.0, QStringLiteral("P%1").arg(i));
    TPlotLibrarySettings settings;
    TMarksTipTool tool, other;
    tool.SetLibrarySettings(&settings);
    other.SetLibrarySettings(&settings);
    tool.SetMouseDelay(30);
    EXPECT_EQ(other.MouseDelay(), 30);             // one pair for every marks-tip tool
    tool.SetParentChart(&chart);
    tool.SetSeries(&points);
    int cancels = 0;
    tool.OnGetText = [](TMarksTipTool*, QString& text) { text += QStringLiteral(" dBuV"); };
    tool.OnCancelHint = [&](TMarksTipTool*) { ++cancels; };
    Render();
    const QPoint p = points.CalcPointPos(2);
    Move(p.x(), p.y());
    EXPECT_EQ(tool.TipIndex(), 2);
    EXPECT_FALSE(QToolTip::isVisible());
    ASSERT_TRUE(QTest::qWaitFor([] { return QToolTip::isVisible(); }, 2000));
    EXPECT_EQ(QToolTip::text(), QStringLiteral("P2 dBuV"));
    Move(p.x() + 60, p.y() + 60);
    EXPECT_EQ(tool.TipIndex(), -1);
    EXPECT_EQ(cancels, 1);
    EXPECT_TRUE(QTest::qWaitFor([] { return !QToolTip::isVisible(); }, 2000));
    chart.RemoveSeries(points);
}
