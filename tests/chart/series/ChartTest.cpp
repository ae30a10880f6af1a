// The chart control in a window: mouse zoom, undo, panning, the wheel, clicks, and what walls and
// titles do to the chart rectangle.
#include "app/NumberText.h"
#include "chart/canvas/ChartErrors.h"
#include "chart/canvas/PlotCanvas3D.h"
#include "chart/series/Chart.h"
#include "chart/series/LineSeries.h"
#include "common/TestSupport.h"

#include <QTest>
#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <functional>
#include <stdexcept>

namespace {

class ChartWindow : public ::testing::Test {
protected:
    void SetUp() override
    {
        chart.SetView3D(false);
        chart.resize(520, 360);
        chart.BackWall().SetTransparent(false);
        chart.BackWall().SetColor(clNavy);
        chart.AddSeries(&series);
        for (int i = 0; i <= 200; ++i)
            series.AddPointXY(i * 5.0, 50.0 + 40.0 * std::sin(i * 0.1));
        chart.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&chart));
        chart.RepaintNow();
    }
    void TearDown() override { chart.RemoveSeries(series); }

    void Drag(QPoint from, QPoint to, Qt::MouseButton button = Qt::LeftButton)
    {
        QTest::mousePress(&chart, button, {}, from);
        QTest::mouseMove(&chart, (from + to) / 2);
        QTest::mouseMove(&chart, to);
        QTest::mouseRelease(&chart, button, {}, to);
    }

    // Pixels that differ from a picture drawn afresh.
    int StrayPixels()
    {
        const QImage shown = chart.WindowImage().copy();
        chart.Invalidate();
        chart.RepaintNow();
        const QImage fresh = chart.WindowImage();
        int stray = 0;
        for (int y = 0; y < shown.height(); ++y)
            for (int x = 0; x < shown.width(); ++x)
                stray += shown.pixel(x, y) != fresh.pixel(x, y);
        return stray;
    }

    TChart chart;
    TLineSeries series;
};

} // namespace

TEST_F(ChartWindow, DragZoomsToTheValuesUnderTheEdgesAndBackwardsUndoes)
{
    int zooms = 0, undos = 0;
    chart.OnZoom = [&] { ++zooms; };
    chart.OnUndoZoom = [&] { ++undos; };
    const double left = chart.BottomAxis()->Minimum(), right = chart.BottomAxis()->Maximum();
    const double bottom = chart.LeftAxis()->Minimum(), top = chart.LeftAxis()->Maximum();
    const QPoint from(140, 90), to(330, 220);
    const double x0 = chart.BottomAxis()->PixelToValue(from.x()), x1 = chart.BottomAxis()->PixelToValue(to.x());
    const double y0 = chart.LeftAxis()->PixelToValue(to.y()), y1 = chart.LeftAxis()->PixelToValue(from.y());
    Drag(from, to);
    EXPECT_EQ(zooms, 1);
    EXPECT_TRUE(chart.Zoomed);
    EXPECT_DOUBLE_EQ(chart.BottomAxis()->Minimum(), x0);
    EXPECT_DOUBLE_EQ(chart.BottomAxis()->Maximum(), x1);
    EXPECT_DOUBLE_EQ(chart.LeftAxis()->Minimum(), y0);
    EXPECT_DOUBLE_EQ(chart.LeftAxis()->Maximum(), y1);
    EXPECT_FALSE(chart.BottomAxis()->Automatic());

    Drag(to, from);
    EXPECT_EQ(undos, 1);
    EXPECT_FALSE(chart.Zoomed);
    EXPECT_TRUE(chart.BottomAxis()->Automatic());
    chart.RepaintNow();
    EXPECT_DOUBLE_EQ(chart.BottomAxis()->Minimum(), left);
    EXPECT_DOUBLE_EQ(chart.BottomAxis()->Maximum(), right);
    EXPECT_DOUBLE_EQ(chart.LeftAxis()->Minimum(), bottom);
    EXPECT_DOUBLE_EQ(chart.LeftAxis()->Maximum(), top);
    // Not more than MinimumPixels across: nothing happens.
    Drag(QPoint(140, 90), QPoint(156, 220));
    EXPECT_EQ(zooms, 1);
    EXPECT_EQ(undos, 1);
}

// A sweep that arrives during the drag renders the chart again; the band, and what the program
// paints over the chart after each drawing, must leave nothing behind after mouse-up.
TEST_F(ChartWindow, RenderDuringTheDragLeavesNoStrayPixel)
{
    chart.OnAfterDraw = [this] {
        TPlotCanvas3D& canvas = chart.Canvas();
        canvas.Brush().SetStyle(bsSolid);
        canvas.Brush().SetColor(clYellow);
        canvas.FillRect(TRect{150, 100, 260, 180});
    };
    chart.Invalidate();
    chart.RepaintNow();
    const QImage before = chart.WindowImage().copy();
    QTest::mousePress(&chart, Qt::LeftButton, {}, QPoint(120, 80));
    QTest::mouseMove(&chart, QPoint(200, 150));   // the band's corner lies inside the block
    int band = 0;
    for (int y = 0; y < before.height(); ++y)
        for (int x = 0; x < before.width(); ++x)
            band += chart.WindowImage().pixel(x, y) != before.pixel(x, y);
    EXPECT_GT(band, 250);   // the band is there, over the painted block too
    series.AddPointXY(1005.0, 60.0);
    chart.RepaintNow();
    QTest::mouseMove(&chart, QPoint(130, 90));
    QTest::mouseRelease(&chart, Qt::LeftButton, {}, QPoint(130, 90));
    EXPECT_FALSE(chart.ZoomDragActive());
    EXPECT_EQ(StrayPixels(), 0);
}

TEST_F(ChartWindow, LosingTheMouseMidDragCancelsIt)
{
    int zooms = 0;
    chart.OnZoom = [&] { ++zooms; };
    QTest::mousePress(&chart, Qt::LeftButton, {}, QPoint(120, 80));
    QTest::mouseMove(&chart, QPoint(300, 230));
    ASSERT_TRUE(chart.ZoomDragActive());
    QEvent blocked(QEvent::WindowBlocked);   // a dialog opened: the release goes to it
    QApplication::sendEvent(&chart, &blocked);
    EXPECT_FALSE(chart.ZoomDragActive());
    EXPECT_EQ(StrayPixels(), 0);
    QTest::mouseRelease(&chart, Qt::LeftButton, {}, QPoint(300, 230));
    EXPECT_EQ(zooms, 0);
}

TEST_F(ChartWindow, UndoRestoresTheStateBeforeTheFirstZoomOnce)
{
    int undos = 0;
    chart.OnUndoZoom = [&] { ++undos; };
    chart.LeftAxis()->SetRange(0.0, 100.0);
    chart.RepaintNow();
    chart.ZoomToRect(TRect{100, 50, 300, 250});
    chart.RepaintNow();
    chart.ZoomToRect(TRect{150, 100, 250, 200});
    chart.UndoZoom();
    EXPECT_EQ(undos, 1);
    EXPECT_TRUE(chart.BottomAxis()->Automatic());
    EXPECT_FALSE(chart.LeftAxis()->Automatic());
    EXPECT_DOUBLE_EQ(chart.LeftAxis()->Minimum(), 0.0);
    EXPECT_DOUBLE_EQ(chart.LeftAxis()->Maximum(), 100.0);
    chart.LeftAxis()->SetRange(10.0, 20.0);
    chart.UndoZoom();   // nothing saved any more: only the event
    EXPECT_EQ(undos, 2);
    EXPECT_DOUBLE_EQ(chart.LeftAxis()->Minimum(), 10.0);

    // A horizontal zoom leaves the vertical axes as they are, automatic flags included.
    chart.LeftAxis()->SetAutomatic(true);
    chart.RepaintNow();
    chart.Zoom().Direction = tzdHorizontal;
    Drag(QPoint(150, 80), QPoint(300, 82));
    EXPECT_TRUE(chart.LeftAxis()->Automatic());
    EXPECT_FALSE(chart.BottomAxis()->Automatic());
}

TEST_F(ChartWindow, PanningMovesTheAxesByTheValuesDraggedAndAsksFirst)
{
    chart.RepaintNow();
    const double min = chart.BottomAxis()->Minimum();
    const double step = chart.BottomAxis()->PixelToValue(200) - chart.BottomAxis()->PixelToValue(260);
    int scrolls = 0;
    chart.OnScroll = [&] { ++scrolls; };
    bool refuseLeft = true;
    chart.OnAllowScroll = [&](TChartAxis* axis, double&, double&, bool& allow) {
        if (axis == chart.LeftAxis())
            allow = !refuseLeft;
    };
    const double leftMin = chart.LeftAxis()->Minimum();
    Drag(QPoint(200, 150), QPoint(260, 170), Qt::RightButton);
    EXPECT_GE(scrolls, 1);
    EXPECT_NEAR(chart.BottomAxis()->Minimum(), min + step, 1e-9);
    EXPECT_DOUBLE_EQ(chart.LeftAxis()->Minimum(), leftMin);
    EXPECT_FALSE(chart.PanningDragActive());
    chart.UndoZoom();
    EXPECT_TRUE(chart.BottomAxis()->Automatic());
}

TEST_F(ChartWindow, WheelNotchesAddUpAndScrollTheVerticalAxes)
{
    chart.LeftAxis()->SetRange(0.0, 100.0);
    QWheelEvent half(QPointF(200, 150), chart.mapToGlobal(QPointF(200, 150)), QPoint(), QPoint(0, -60), Qt::NoButton,
                     Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(&chart, &half);
    EXPECT_DOUBLE_EQ(chart.LeftAxis()->Minimum(), 0.0);
    QApplication::sendEvent(&chart, &half);
    EXPECT_DOUBLE_EQ(chart.LeftAxis()->Minimum(), 3.0);   // down: both limits up by 3 %
    EXPECT_DOUBLE_EQ(chart.LeftAxis()->Maximum(), 103.0);
    chart.SetAllowPanning(pmHorizontal);
    chart.MouseWheelNotch(true, 200, 150);
    EXPECT_DOUBLE_EQ(chart.LeftAxis()->Minimum(), 3.0);
}

// What the program's callbacks throw (overlays while painting, the zoom, the wheel's scroll
// question, a double click) stops at the chart's handler and reaches the error hook with its
// text. A pan a logarithmic axis cannot show is no error: the axis stays where it is.
TEST_F(ChartWindow, FailingCallbacksReachTheErrorHook)
{
    QStringList caught;
    const auto keep = [&](const QString& where, const QString& what) { caught << where + ": " + what; };
    ChartErrorHookScope hook(keep);
    chart.OnBeforeDrawSeries = [] { throw std::runtime_error("overlays failed"); };
    chart.Invalidate();
    chart.RepaintNow();
    chart.OnBeforeDrawSeries = nullptr;
    chart.OnZoom = [] { throw std::runtime_error("zoom failed"); };
    Drag(QPoint(140, 90), QPoint(330, 220));
    chart.OnAllowScroll = [](TChartAxis*, double&, double&, bool&) {
        throw std::runtime_error("scroll failed");
    };
    QWheelEvent notch(QPointF(200, 150), chart.mapToGlobal(QPointF(200, 150)), QPoint(), QPoint(0, -120),
                      Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(&chart, &notch);
    chart.OnAllowScroll = nullptr;
    chart.OnDblClick = [] { throw 7; };
    QMouseEvent twice(QEvent::MouseButtonDblClick, QPointF(200, 150), chart.mapToGlobal(QPointF(200, 150)),
                      Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&chart, &twice);
    QTest::mouseRelease(&chart, Qt::LeftButton, {}, QPoint(200, 150));
    EXPECT_EQ(caught, (QStringList{"TCustomPlotPanel::RenderIfStale: overlays failed",
                                   "TCustomPlotPanel::mouseReleaseEvent: zoom failed",
                                   "TCustomChart::wheelEvent: scroll failed",
                                   "TCustomChart::mouseDoubleClickEvent: unknown"}));

    chart.BottomAxis()->SetRange(10.0, 1000.0);
    chart.BottomAxis()->SetLogarithmic(true);
    Drag(QPoint(200, 150), QPoint(400, 150), Qt::RightButton);
    EXPECT_DOUBLE_EQ(chart.BottomAxis()->Minimum(), 10.0);
    EXPECT_EQ(caught.size(), 4);
}

// A click handler runs with CancelMouse set: left so, the click is handled and no drag starts.
TEST_F(ChartWindow, ClickHandlersDecideWhetherADragStarts)
{
    int background = 0;
    chart.OnClickBackground = [&](TCustomChart*, TMouseButton, TShiftState, int, int) { ++background; };
    QTest::mousePress(&chart, Qt::LeftButton, {}, QPoint(200, 150));
    EXPECT_EQ(background, 1);
    EXPECT_FALSE(chart.ZoomDragActive());
    QTest::mouseRelease(&chart, Qt::LeftButton, {}, QPoint(200, 150));
    chart.OnClickBackground = [&](TCustomChart* sender, TMouseButton, TShiftState, int, int) {
        ++background;
        sender->CancelMouse = false;
    };
    QTest::mousePress(&chart, Qt::LeftButton, {}, QPoint(200, 150));
    EXPECT_TRUE(chart.ZoomDragActive());
    QTest::mouseRelease(&chart, Qt::LeftButton, {}, QPoint(200, 150));

    // A click on the line reaches the series: the earlier point of the clicked segment.
    chart.OnClickBackground = nullptr;
    int clicked = -1, doubleClicked = -1;
    series.OnClick = [&](TChartSeries*, int index, int, int, int, int) { clicked = index; };
    series.OnDblClick = [&](TChartSeries*, int index, int, int, int, int) { doubleClicked = index; };
    const QPoint onLine(series.XToPixel(40), series.YToPixel(40));
    QTest::mouseClick(&chart, Qt::LeftButton, {}, onLine);
    EXPECT_EQ(clicked, 40);
    EXPECT_EQ(chart.CalcClickedPart(onLine.x(), onLine.y()).Part, cpSeries);
    QTest::mouseDClick(&chart, Qt::LeftButton, {}, onLine);
    EXPECT_EQ(doubleClicked, 40);
    series.OnClick = nullptr;
    series.OnDblClick = nullptr;
    EXPECT_EQ(chart.CalcClickedPart(onLine.x(), onLine.y()).Part, cpChartRect);
}

TEST_F(ChartWindow, TitlesTakeTheirHeightAndTheBackWallFillsThePlot)
{
    chart.Invalidate();
    chart.RepaintNow();
    const TRect plain = chart.ChartRect;
    chart.Title().SetText({});
    chart.Invalidate();
    chart.RepaintNow();
    EXPECT_EQ(chart.ChartRect.Top, plain.Top);
    chart.Title().SetText({QStringLiteral("Emission"), QStringLiteral("Set 1")});
    chart.Foot().SetCaption(QStringLiteral("Foot"));
    chart.Invalidate();
    chart.RepaintNow();
    const int h = chart.Canvas().FontHeight();
    EXPECT_GE(chart.ChartRect.Top, plain.Top + 2 * h + chart.Title().VertMargin());
    EXPECT_LE(chart.ChartRect.Bottom, plain.Bottom - h - chart.Foot().VertMargin());
    const TChartClickedPart part = chart.CalcClickedPart(chart.Title().ShapeBounds.Left + 2, chart.Title().ShapeBounds.Top + 2);
    EXPECT_EQ(part.Part, cpTitle);

    // The flat back wall: the chart rectangle one pixel wider, and taller when it runs to 100 %.
    const TRect r{10, 20, 110, 220};
    const TRect full = BackWallRect2D(r, 0, 100, 0);
    EXPECT_EQ(full.Right, 111);
    EXPECT_EQ(full.Bottom, 221);
    EXPECT_EQ(BackWallRect2D(r, 25, 75, 0).Top, 70);
    EXPECT_EQ(BackWallRect2D(r, 25, 75, 0).Bottom, 170);
    EXPECT_EQ(chart.WindowImage().pixelColor(chart.ChartRect.Left + 5, chart.ChartRect.Bottom - 5), QColor(0, 0, 128));
    chart.BackWall().SetTransparent(true);
    EXPECT_EQ(chart.BackColor(), chart.Color());
}

// What a drawing keeps for the next one (label texts, their widths, the fitted label step) never
// hides a change: each change of the labels' font size, format, spacing, face and decimal mark
// and of the wall shows in the next drawing.
TEST_F(ChartWindow, EveryChangeOfLabelsAndWallShowsInTheNextDrawing)
{
    chart.RepaintNow();
    int left = chart.ChartRect.Left;
    TChartAxis& axis = *chart.LeftAxis();
    const std::function<void()> changes[] = {
        [&] { axis.LabelsFont().SetSize(axis.LabelsFont().Size() + 4); },
        [&] { axis.SetAxisValuesFormat(QStringLiteral("0.000")); },
        [&] { axis.LabelsFont().SetInterCharSize(2); },
        [&] { axis.LabelsFont().SetName(QStringLiteral("Liberation Mono")); },
    };
    for (size_t i = 0; i < std::size(changes); ++i) {
        changes[i]();
        chart.RepaintNow();
        EXPECT_GT(chart.ChartRect.Left, left) << "change " << i;
        left = chart.ChartRect.Left;
    }
    EXPECT_EQ(axis.LabelTextOfValue(2.5), QStringLiteral("2.500"));
    {
        ScopedDecimalSeparator comma(QChar(','));
        EXPECT_EQ(axis.LabelTextOfValue(2.5), QStringLiteral("2,500"));
    }
    EXPECT_EQ(axis.LabelTextOfValue(2.5), QStringLiteral("2.500"));
    chart.BackWall().SetColor(clMaroon);
    chart.RepaintNow();
    EXPECT_EQ(chart.WindowImage().pixelColor(chart.ChartRect.Left + 5, chart.ChartRect.Bottom - 5), QColor(128, 0, 0));
}

TEST(Chart, FreeColoursSkipSeriesColoursAndTheBackground)
{
    TChart chart;
    chart.SetColorPalette({clRed, clGreen, clBlue, clYellow});
    chart.BackWall().SetColor(clGreen);
    TLineSeries a, b;
    chart.AddSeries(&a);
    chart.AddSeries(&b);
    EXPECT_EQ(a.SeriesColor(), clRed);
    EXPECT_EQ(b.SeriesColor(), clBlue);   // green is the back wall's
    chart.SetColorPaletteIndex(5);
    EXPECT_EQ(chart.GetDefaultColor(1), clLime);
    chart.SetColorPaletteIndex(16);
    EXPECT_EQ(chart.ColorPalette().size(), 0u);
    chart.RemoveSeries(a);
    chart.RemoveSeries(b);
}

// Limits at the largest doubles stay finite and stop there, never refused, through notches faster
// than the paints, drags and a zoom past the ends; both undos bring back what the zoom saved.
class HugeLimits : public ChartWindow, public ::testing::WithParamInterface<std::pair<double, double>> {};

TEST_P(HugeLimits, StayFiniteWhateverMovesThemAndUndoBringsThemBack)
{
    QStringList caught;
    ChartErrorHookScope hook([&](const QString& where, const QString&) { caught << where; });
    series.Clear();
    for (double y : {GetParam().first, 0.0, GetParam().second})
        series.AddPointXY(series.Count(), y);
    TChartAxis& axis = *chart.LeftAxis();
    chart.RepaintNow();
    const std::pair saved(axis.Minimum(), axis.Maximum());
    Drag(QPoint(150, 60), QPoint(300, 300));   // zoomed (and saved) past both ends
    for (const bool down : {true, false}) {
        for (int notch = 0; notch < 100; ++notch) {
            chart.MouseWheelNotch(down, 200, 150);
            ASSERT_TRUE(std::isfinite(axis.Maximum() - axis.Minimum())) << axis.Minimum() << ".." << axis.Maximum();
        }
        EXPECT_EQ(down ? axis.Maximum() : axis.Minimum(), down ? DBL_MAX : -DBL_MAX);
        chart.RepaintNow();
        Drag(QPoint(200, 150), QPoint(200, down ? 140 : 160), Qt::RightButton);   // on, past the end
        EXPECT_TRUE(std::isfinite(axis.Maximum() - axis.Minimum()));
    }
    chart.UndoZoom();
    EXPECT_EQ(std::pair(axis.Minimum(), axis.Maximum()), saved);
    Drag(QPoint(150, 100), QPoint(300, 250));
    chart.MouseWheelNotch(true, 200, 150);
    Drag(QPoint(300, 250), QPoint(150, 100));   // the undo drag
    EXPECT_EQ(std::pair(axis.Minimum(), axis.Maximum()), saved);
    EXPECT_TRUE(caught.isEmpty()) << caught.join(' ').toStdString();
}

INSTANTIATE_TEST_SUITE_P(Chart, HugeLimits,
                         ::testing::Values(std::pair(-1e308, 1e308), std::pair(-DBL_MAX, DBL_MAX),
                                           std::pair(0.0, DBL_MAX), std::pair(-1e308, DBL_MAX)));
