// Colour lines, bands, grid bands, axis arrows and scrolling, the chart image and the series
// clip. Where a tool draws in the chart's order is read from a metafile of the chart, which
// keeps every drawing call in sequence.
#include "ToolsTestSupport.h"

#include "chart/tools/AxisTools.h"
#include "chart/tools/BandTools.h"
#include "chart/tools/ColorLineTool.h"
#include "chart/tools/SeriesTools.h"
#include "platform/gdi/Metafile.h"

#include <cfloat>
#include <set>

using toolstest::ToolChart;

namespace {

// One drawing call of a metafile with the pen, brush and clip in force.
struct Call {
    gdi::MetaOp op;
    const gdi::MetaRecord* record;
    uint32_t pen;
    uint32_t brush;
    int clip;
};

// The calls point into the metafile, which must outlive them.
std::vector<Call> Calls(const gdi::Metafile& m)
{
    std::vector<Call> calls;
    uint32_t pen = 0, brush = 0;
    int clip = -1;
    for (const gdi::MetaRecord& r : m.Records) {
        if (r.op == gdi::MetaOp::SelectPen)
            pen = m.Pens[r.index].color;
        else if (r.op == gdi::MetaOp::SelectBrush)
            brush = m.Brushes[r.index].color;
        else if (r.op == gdi::MetaOp::SelectClip)
            clip = r.index;
        else
            calls.push_back({r.op, &r, pen, brush, clip});
    }
    return calls;
}

int First(const std::vector<Call>& calls, const std::function<bool(const Call&)>& match)
{
    for (size_t i = 0; i < calls.size(); ++i)
        if (match(calls[i]))
            return static_cast<int>(i);
    return -1;
}

bool IsLine(const Call& c) { return c.op == gdi::MetaOp::LineTo || c.op == gdi::MetaOp::Polyline; }

} // namespace

TEST_F(ToolChart, ColorLineDragStopsAtTheAxisEndsUnlessNoLimit)
{
    TColorLineTool line;
    line.SetAxis(chart.BottomAxis());
    line.SetValue(500.0);
    line.Pen().SetColor(clBlue);
    const QImage shown = Render();
    const int x = chart.BottomAxis()->ValueToPixel(500.0);
    const int y = (chart.ChartRect.Top + chart.ChartRect.Bottom) / 2;
    EXPECT_EQ(shown.pixel(x, y), qRgb(0, 0, 255));
    int begins = 0, moves = 0, ends = 0, zooms = 0;
    line.OnBeginDragLine = [&](TColorLineTool*) { ++begins; };
    line.OnDragLine = [&](TColorLineTool*) { ++moves; };
    line.OnEndDragLine = [&](TColorLineTool*) { ++ends; };
    chart.OnZoom = [&] { ++zooms; };

    Down(x + 2, y);
    Move(x + 100, y);
    EXPECT_DOUBLE_EQ(line.Value(), chart.BottomAxis()->PixelToValue(x + 100));
    Move(chart.ChartRect.Right + 30, y);
    Up(chart.ChartRect.Right + 30, y);
    const double maximum = chart.BottomAxis()->CurrentMaximum();
    EXPECT_EQ(line.Value(), maximum);
    EXPECT_EQ(begins, 1);
    EXPECT_EQ(moves, 2);
    EXPECT_EQ(ends, 1);
    EXPECT_EQ(zooms, 0);

    line.SetNoLimitDrag(true);
    Render();
    const int end = chart.BottomAxis()->ValueToPixel(maximum);
    Down(end, y);
    Move(end + 20, y);
    Up(end + 20, y);
    EXPECT_GT(line.Value(), maximum);
}

TEST_F(ToolChart, AxisArrowsScrollByTheirPercentUnlessRefused)
{
    TAxisArrowTool arrows;
    arrows.SetAxis(chart.LeftAxis());
    chart.LeftAxis()->SetRange(0.0, 100.0);
    Render();
    std::vector<bool> clicks;
    int scrolls = 0;
    arrows.OnClick = [&](TAxisArrowTool*, bool atStart) { clicks.push_back(atStart); };
    chart.OnScroll = [&] { ++scrolls; };
    auto press = [&](bool atStart) {
        const TRect r = arrows.ArrowRect(atStart);
        Down((r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2);
        Up((r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2);
        Render();
    };
    auto range = [&] { return std::make_pair(chart.LeftAxis()->Minimum(), chart.LeftAxis()->Maximum()); };

    press(true);
    EXPECT_EQ(range(), std::make_pair(10.0, 110.0));
    press(false);
    press(false);
    EXPECT_EQ(range(), std::make_pair(-10.0, 90.0));
    arrows.SetScrollInverted(true);
    press(true);
    EXPECT_EQ(range(), std::make_pair(-20.0, 80.0));
    EXPECT_EQ(scrolls, 4);

    chart.OnAllowScroll = [](TChartAxis*, double&, double&, bool& allow) { allow = false; };
    press(true);
    EXPECT_EQ(range(), std::make_pair(-20.0, 80.0));
    chart.OnAllowScroll = nullptr;
    arrows.SetScrollPercent(0);
    press(false);
    EXPECT_EQ(range(), std::make_pair(-20.0, 80.0));
    EXPECT_EQ(scrolls, 4);
    EXPECT_EQ(clicks, (std::vector<bool>{true, false, false, true, true, false}));   // every press clicks
    EXPECT_FALSE(chart.ZoomDragActive());
    // Limits apart by more than the largest double (as an undo may put them back) stop at it.
    arrows.SetScrollPercent(10);
    chart.LeftAxis()->InternalSetMinimum(-1e308);
    chart.LeftAxis()->InternalSetMaximum(1e308);
    for (int i = 0; i < 40; ++i)
        press(false);   // inverted: up
    EXPECT_TRUE(range().second == DBL_MAX && std::isfinite(range().second - range().first)) << range().first;

    arrows.SetPosition(aaStart);                   // the end arrow is gone and takes no press
    const TRect end = arrows.ArrowRect(false);
    EXPECT_EQ(arrows.ArrowAt((end.Left + end.Right) / 2, (end.Top + end.Bottom) / 2), 0);
}

TEST_F(ToolChart, AxisScrollDragsTheAxisUnderThePress)
{
    TAxisScrollTool scroll;
    scroll.SetParentChart(&chart);
    chart.BottomAxis()->SetRange(0.0, 1000.0);
    Render();
    const int y = chart.BottomAxis()->AxisPixel() + 6;   // on the labels
    const int x = 300;
    const double moved = chart.BottomAxis()->PixelToValue(x) - chart.BottomAxis()->PixelToValue(x + 60);
    Down(x, y);
    ASSERT_EQ(scroll.DraggedAxis(), chart.BottomAxis());
    Move(x + 60, y);
    Up(x + 60, y);
    EXPECT_DOUBLE_EQ(chart.BottomAxis()->Minimum(), moved);
    EXPECT_DOUBLE_EQ(chart.BottomAxis()->Maximum(), 1000.0 + moved);
    EXPECT_EQ(chart.LeftAxis()->Automatic(), true);
}

// Behind the axes, between the axes and the series, or over the finished chart; the band's
// values may come in either order.
TEST_F(ToolChart, ColorBandIsDrawnAtTheStageItsFlagsChoose)
{
    series.SetSeriesColor(clRed);
    TColorBandTool band;
    band.SetAxis(chart.BottomAxis());
    band.SetStartValue(700.0);
    band.SetEndValue(300.0);
    band.SetColor(clYellow);
    const auto stage = [&] {
        const gdi::Metafile picture = chart.CreateChartMetafile(true, chart.GetRectangle());
        const std::vector<Call> calls = Calls(picture);
        const int fill = First(calls, [](const Call& c) { return c.op == gdi::MetaOp::Rectangle && c.brush == 0x00FFFF; });
        const int label = First(calls, [](const Call& c) { return c.op == gdi::MetaOp::TextOut; });
        const int trace = First(calls, [](const Call& c) { return IsLine(c) && c.pen == 0x0000FF; });
        EXPECT_GE(fill, 0);
        EXPECT_GT(label, 0);
        EXPECT_GT(trace, 0);
        if (fill < label)
            return 3;
        return fill < trace ? 1 : 0;
    };
    EXPECT_EQ(stage(), 1);
    band.SetDrawBehindAxes(true);
    EXPECT_EQ(stage(), 3);
    band.SetDrawBehindAxes(false);
    band.SetDrawBehind(false);
    EXPECT_EQ(stage(), 0);

    const auto rect = band.BandRect();
    ASSERT_TRUE(rect.has_value());
    EXPECT_EQ(rect->Left, chart.BottomAxis()->ValueToPixel(300.0));
    EXPECT_EQ(rect->Right, chart.BottomAxis()->ValueToPixel(700.0));
}

TEST_F(ToolChart, GridBandsAlternateBetweenGridLines)
{
    chart.BottomAxis()->Grid().SetColor(clLime);
    TGridBandTool grid;
    grid.SetAxis(chart.BottomAxis());
    grid.Band1().SetStyle(bsSolid);
    grid.Band1().SetColor(clYellow);
    grid.Band2().SetColor(clAqua);
    const gdi::Metafile picture = chart.CreateChartMetafile(true, chart.GetRectangle());
    const std::vector<Call> calls = Calls(picture);
    std::set<int> lines;
    for (const Call& c : calls)
        if (c.op == gdi::MetaOp::LineTo && c.pen == 0x00FF00)
            lines.insert(c.record->a[0]);
    ASSERT_GE(lines.size(), 4u);
    std::vector<const Call*> bands;
    for (const Call& c : calls)
        if (c.op == gdi::MetaOp::Rectangle && (c.brush == 0x00FFFF || c.brush == 0xFFFF00))
            bands.push_back(&c);
    // Grid positions are the grid lines and the axis' ends where labels stand on them.
    std::set<int> positions = lines;
    positions.insert(chart.BottomAxis()->StartPixel());
    positions.insert(chart.BottomAxis()->EndPixel());
    ASSERT_GE(bands.size() + 1, lines.size());
    std::set<int> edges;
    for (size_t i = 0; i < bands.size(); ++i) {
        const int left = bands[i]->record->a[0], right = bands[i]->record->a[2] - 1;
        EXPECT_EQ(bands[i]->brush, i % 2 == 0 ? 0x00FFFFu : 0xFFFF00u);
        EXPECT_TRUE(positions.count(left) && positions.count(right)) << left << ".." << right;
        if (i > 0) {
            EXPECT_EQ(left, bands[i - 1]->record->a[2] - 1);
        }
        edges.insert(left);
        edges.insert(right);
    }
    for (const int x : lines)
        EXPECT_TRUE(edges.count(x)) << "grid line " << x << " is no band edge";
    const int firstBand = First(calls, [](const Call& c) { return c.op == gdi::MetaOp::Rectangle && c.brush == 0x00FFFF; });
    const int firstGrid = First(calls, [](const Call& c) { return c.op == gdi::MetaOp::LineTo && c.pen == 0x00FF00; });
    EXPECT_LT(firstBand, firstGrid);               // under the grid lines
}

// The clipped series is drawn inside its own axes only; the clip is gone for the next series.
TEST_F(ToolChart, ClipSeriesClipsItsSeriesToItsAxes)
{
    TChartAxis& upper = chart.CustomAxes().Add();
    upper.SetStartPosition(0);
    upper.SetEndPosition(40);
    TLineSeries clipped;
    clipped.SetSeriesColor(clBlue);
    clipped.SetCustomVertAxis(&upper);
    chart.AddSeries(&clipped);
    chart.ExchangeSeries(0, 1);                    // drawn before the other series
    for (int i = 0; i <= 100; ++i)
        clipped.AddPointXY(i * 10.0, i % 2 ? 150.0 : -50.0);
    upper.SetRange(0.0, 100.0);
    series.SetSeriesColor(clRed);
    TClipSeriesTool tool;
    tool.SetParentChart(&chart);
    tool.SetSeries(&clipped);
    Render();
    const gdi::Metafile picture = chart.CreateChartMetafile(true, chart.GetRectangle());
    const std::vector<Call> calls = Calls(picture);
    const int blue = First(calls, [](const Call& c) { return IsLine(c) && c.pen == 0xFF0000; });
    const int red = First(calls, [](const Call& c) { return IsLine(c) && c.pen == 0x0000FF; });
    ASSERT_GE(blue, 0);
    ASSERT_GT(red, blue);
    ASSERT_GE(calls[blue].clip, 0);
    const gdi::Rect box = picture.Regions[calls[blue].clip].Box();
    EXPECT_GE(box.top, upper.StartPixel());
    EXPECT_LE(box.bottom, upper.EndPixel() + 1);
    const int after = calls[red].clip;
    EXPECT_TRUE(after < 0 || picture.Regions[after].Box().bottom > upper.EndPixel() + 1);
    chart.RemoveSeries(clipped);
}

TEST_F(ToolChart, ChartImageFollowsItsSeriesValueRange)
{
    QImage red(4, 4, QImage::Format_RGB32);
    red.fill(Qt::red);
    TChartImageTool image;
    image.SetParentChart(&chart);
    image.Picture().SetGraphic(red);
    image.SetSeries(&series);
    chart.BottomAxis()->SetRange(-200.0, 1200.0);
    const QImage shown = Render();
    const TRect r = *image.ImageRect();
    EXPECT_EQ(r.Left, chart.BottomAxis()->ValueToPixel(0.0));
    EXPECT_EQ(r.Right, chart.BottomAxis()->ValueToPixel(1000.0));
    EXPECT_EQ(r.Top, chart.LeftAxis()->ValueToPixel(series.GetMaxY()));
    EXPECT_EQ(shown.pixel(r.Left + 3, r.Top + 2), qRgb(255, 0, 0));
    EXPECT_NE(shown.pixel(r.Left - 3, r.Top + 2), qRgb(255, 0, 0));
    chart.BottomAxis()->SetRange(400.0, 600.0);    // zoomed in: only the chart rectangle
    const QImage zoomed = Render();
    EXPECT_EQ(zoomed.pixel(chart.ChartRect.Left + 2, (chart.ChartRect.Top + chart.ChartRect.Bottom) / 2),
              qRgb(255, 0, 0));
    EXPECT_NE(zoomed.pixel(chart.ChartRect.Left - 5, (chart.ChartRect.Top + chart.ChartRect.Bottom) / 2),
              qRgb(255, 0, 0));
    image.SetSeries(nullptr);                      // no series: the axes' ranges
    Render();
    EXPECT_EQ(image.ImageRect()->Left, chart.BottomAxis()->StartPixel());
}
