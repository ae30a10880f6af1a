#include "AxisTestSupport.h"

#include "chart/engine/ChartException.h"
#include "chart/engine/SeriesMarks.h"
#include "chart/engine/SeriesPointer.h"
#include "platform/gdi/RasterDC.h"

#include <gtest/gtest.h>

using axistest::AxisChart;

namespace {

constexpr uint32_t kWhite = 0xFFFFFF;

struct Box {
    int left = 1 << 30, top = 1 << 30, right = -1, bottom = -1;
    int painted = 0;
    friend bool operator==(const Box&, const Box&) = default;
};

// Bounds (inclusive) of everything painted near (cx, cy).
Box PaintedBox(const gdi::RasterDC& device, int cx, int cy)
{
    Box b;
    for (int y = cy - 20; y <= cy + 20; ++y)
        for (int x = cx - 20; x <= cx + 20; ++x)
            if (device.GetPixel(x, y) != kWhite) {
                b.left = std::min(b.left, x);
                b.right = std::max(b.right, x);
                b.top = std::min(b.top, y);
                b.bottom = std::max(b.bottom, y);
                ++b.painted;
            }
    return b;
}

void Clear(AxisChart& chart)
{
    chart.canvas.Bitmap()->Device().ImageForWrite().fill(Qt::white);
}

} // namespace

TEST(SeriesPointer, StylesMatchTheirGeometry)
{
    AxisChart chart;
    TChartSeries& series = chart.NewSeries();
    TSeriesPointer pointer(&series);
    pointer.Brush().SetColor(clRed);
    pointer.Pen().SetColor(clBlack);
    gdi::RasterDC& device = chart.canvas.Bitmap()->Device();

    // The application's segment marks: a left triangle 3 x 3 at (100, 50).
    Clear(chart);
    pointer.PrepareCanvas(chart.canvas, clBlue);
    pointer.DrawPointer(chart.canvas, false, 100, 50, 3, 3, clBlue, psLeftTriangle);
    for (const TPoint corner : {TPoint{97, 50}, TPoint{103, 53}, TPoint{103, 47}})
        EXPECT_EQ(device.GetPixel(corner.X, corner.Y), 0u) << corner.X << "," << corner.Y;
    for (const TPoint outside : {TPoint{96, 50}, TPoint{104, 53}, TPoint{103, 54}, TPoint{103, 46}, TPoint{98, 47}})
        EXPECT_EQ(device.GetPixel(outside.X, outside.Y), kWhite) << outside.X << "," << outside.Y;
    EXPECT_EQ(device.GetPixel(101, 50), 0x0000FFu) << "filled with the brush";
    EXPECT_EQ(PaintedBox(device, 100, 50), (Box{97, 47, 103, 53, PaintedBox(device, 100, 50).painted}));

    struct Case {
        TSeriesPointerStyle style;
        Box box;           // painted bounds for half sizes 4 x 3 at (50, 50)
        TPoint mark;       // a pixel that must be painted
        TPoint empty;      // one that must not
    };
    const Case cases[] = {
        {psRectangle, {46, 47, 54, 53}, {54, 53}, {55, 50}},
        {psTriangle, {46, 47, 54, 53}, {50, 47}, {46, 48}},
        {psDownTriangle, {46, 47, 54, 53}, {50, 53}, {46, 52}},
        {psCross, {46, 47, 54, 53}, {50, 53}, {47, 48}},
        {psDiagCross, {46, 47, 54, 53}, {54, 53}, {50, 47}},
        {psStar, {46, 47, 54, 53}, {50, 47}, {47, 49}},
        {psDiamond, {46, 47, 54, 53}, {50, 47}, {46, 47}},
        {psRightTriangle, {46, 47, 54, 53}, {54, 50}, {54, 47}},
        {psHexagon, {46, 47, 54, 53}, {50, 47}, {46, 47}},
    };
    for (const Case& c : cases) {
        Clear(chart);
        pointer.PrepareCanvas(chart.canvas, clBlue);
        pointer.DrawPointer(chart.canvas, false, 50, 50, 4, 3, clBlue, c.style);
        const Box got = PaintedBox(device, 50, 50);
        EXPECT_EQ((Box{got.left, got.top, got.right, got.bottom, 0}), c.box) << "style " << c.style;
        EXPECT_NE(device.GetPixel(c.mark.X, c.mark.Y), kWhite) << "style " << c.style;
        EXPECT_EQ(device.GetPixel(c.empty.X, c.empty.Y), kWhite) << "style " << c.style;
    }

    // The ellipse keeps inside its box (the last row depends on the canvas' rasterizer).
    Clear(chart);
    pointer.DrawPointer(chart.canvas, false, 50, 50, 4, 3, clBlue, psCircle);
    const Box circle = PaintedBox(device, 50, 50);
    EXPECT_EQ(circle.left, 46);
    EXPECT_EQ(circle.top, 47);
    EXPECT_EQ(circle.right, 53);
    EXPECT_GE(circle.bottom, 51);
    EXPECT_LE(circle.bottom, 52);
    EXPECT_EQ(device.GetPixel(46, 47), kWhite);

    // A dot ignores the sizes; nothing draws nothing.
    Clear(chart);
    pointer.DrawPointer(chart.canvas, false, 50, 50, 4, 3, clBlue, psSmallDot);
    EXPECT_EQ(PaintedBox(device, 50, 50), (Box{50, 50, 50, 50, 1}));
    Clear(chart);
    pointer.DrawPointer(chart.canvas, false, 50, 50, 4, 3, clBlue, psNothing);
    EXPECT_EQ(PaintedBox(device, 50, 50).painted, 0);

    // A pointer without a colour of its own takes the point's colour.
    Clear(chart);
    pointer.Brush().SetColor(clDefault);
    pointer.PrepareCanvas(chart.canvas, clBlue);
    pointer.DrawPointer(chart.canvas, false, 50, 50, 4, 3, clBlue, psRectangle);
    EXPECT_EQ(device.GetPixel(50, 50), 0xFF0000u);
}

TEST(SeriesPointer, SizesAndMargins)
{
    TSeriesPointer pointer;
    EXPECT_EQ(pointer.Style(), psRectangle);
    EXPECT_EQ(pointer.HorizSize(), 4);
    EXPECT_FALSE(pointer.Shadow().Visible());
    try {
        pointer.SetHorizSize(0);
        FAIL() << "size 0 accepted";
    } catch (const ChartException& e) {
        EXPECT_EQ(QString::fromUtf8(e.what()), QStringLiteral("Pointer size must be greater than zero"));
    }
    EXPECT_THROW(pointer.SetVertSize(-3), ChartException);
    EXPECT_EQ(pointer.HorizSize(), 4);
    pointer.SetHorizSize(6);
    pointer.SetVertSize(2);

    int left = 2, right = 9, top = 0, bottom = 0;
    pointer.SetStyle(psNothing);   // still takes room
    pointer.CalcHorizMargins(left, right);
    pointer.CalcVerticalMargins(top, bottom);
    EXPECT_EQ(left, 7);
    EXPECT_EQ(right, 9);
    EXPECT_EQ(top, 3);
    pointer.SetVisible(false);
    left = right = 0;
    pointer.CalcHorizMargins(left, right);
    EXPECT_EQ(left, 0);

    TCallout callout;
    EXPECT_TRUE(callout.Visible());
    EXPECT_FALSE(callout.Draw3D());
    EXPECT_EQ(callout.Brush().Color(), clBlack);
    TMarksCallout marks;
    EXPECT_FALSE(marks.Visible());
    EXPECT_EQ(marks.Length(), 8);
    marks.SetDistance(3);
    TSeriesMarkPosition position;
    position.LeftTop = {10, 100};
    position.ArrowFrom = position.ArrowTo = {20, 120};
    marks.ApplyArrowLength(position);
    EXPECT_EQ(position.LeftTop, (TPoint{10, 89}));
    EXPECT_EQ(position.ArrowTo, (TPoint{20, 109}));
    EXPECT_EQ(position.ArrowFrom, (TPoint{20, 117}));

    TCallout copy;
    copy.Assign(marks);
    EXPECT_EQ(copy.Distance(), 3);
    EXPECT_FALSE(copy.Visible());
}

TEST(SeriesPointer, CalloutDrawsItsArrowThenTheSymbol)
{
    AxisChart chart;
    TChartSeries& series = chart.NewSeries();
    TCallout callout(&series, &chart);
    callout.Arrow().SetColor(clBlack);
    callout.SetHorizSize(2);
    callout.SetVertSize(2);
    chart.canvas.Forget();
    Clear(chart);
    callout.Draw(clRed, {100, 100}, {100, 60}, {140, 60}, 0, true);
    ASSERT_EQ(chart.canvas.lines.size(), 2u);
    EXPECT_EQ(chart.canvas.lines[0].x0, 100);
    EXPECT_EQ(chart.canvas.lines[0].y1, 60);
    EXPECT_EQ(chart.canvas.lines[1].x1, 140);
    gdi::RasterDC& device = chart.canvas.Bitmap()->Device();
    EXPECT_EQ(device.GetPixel(98, 102), 0u) << "the symbol's frame at the start";
    EXPECT_EQ(PaintedBox(device, 100, 100).bottom, 102);

    // With an arrow head there is no symbol.
    Clear(chart);
    callout.SetArrowHead(ahSolid);
    callout.Draw(clRed, {100, 100}, {100, 60}, {140, 60}, 0, false);
    EXPECT_EQ(device.GetPixel(98, 102), kWhite);
    EXPECT_NE(device.GetPixel(100, 62), kWhite);
}
