#include "chart/canvas/CanvasGeometry.h"
#include "chart/canvas/PlotCanvas3D.h"
#include "chart/canvas/View3DOptions.h"
#include "platform/gdi/RasterDC.h"
#include "platform/gdi/RecordingDC.h"

#include <QFile>
#include <QTextStream>
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

constexpr gdi::COLORREF kWhite = 0xFFFFFF;

// A canvas drawing into its own off-screen bitmap.
struct BitmapCanvas {
    TPlotCanvas3D canvas;
    explicit BitmapCanvas(int w = 40, int h = 30, TView3DOptions* options = nullptr, bool is3D = false)
    {
        canvas.InitWindow(nullptr, options, clWhite, is3D, TRect{0, 0, w, h});
        canvas.SetProjectionCentre(0, TRect{0, 0, w, h});
        canvas.ResetState();
    }
    gdi::RasterDC& Device() { return canvas.Bitmap()->Device(); }
    gdi::COLORREF Px(int x, int y) { return Device().GetPixel(x, y); }
    int Count(gdi::COLORREF c)
    {
        int n = 0;
        for (int y = 0; y < Device().Height(); ++y)
            for (int x = 0; x < Device().Width(); ++x)
                n += Px(x, y) == c;
        return n;
    }
};

} // namespace

TEST(CanvasDevice, DefaultOptionsProjectObliquelyOnePixelPerDepthUnit)
{
    TView3DOptions options;
    TPlotCanvas3D c;
    const TRect chart{10, 20, 210, 120};
    c.InitWindow(nullptr, &options, clWhite, true, chart);
    c.SetProjectionCentre(50, chart);
    EXPECT_TRUE(c.IsOrthogonal);
    EXPECT_EQ(c.XCenter, 110);
    EXPECT_EQ(c.YCenter, 70);
    EXPECT_EQ(c.ZCenter, 25);
    for (const TPoint3D p : {TPoint3D{0, 0, 0}, TPoint3D{15, 40, 7}, TPoint3D{-30, 90, 33}}) {
        const TPoint s = c.ProjectToScreen(p.X, p.Y, p.Z);
        EXPECT_EQ(s.X, p.X - c.XCenter + p.Z + c.XCenterOffset);
        EXPECT_EQ(s.Y, p.Y - c.YCenter - p.Z + c.YCenterOffset);
    }
    options.SetOrthoAngle(135);
    c.InitWindow(nullptr, &options, clWhite, true, chart);
    EXPECT_EQ(c.OrthoDX, -1.0);
    EXPECT_NEAR(c.OrthoDY, 1.0, 1e-12);
    options.SetOrthoAngle(90);
    c.InitWindow(nullptr, &options, clWhite, true, chart);
    EXPECT_EQ(c.OrthoDY, 1.0);   // cosine below 0.01
    options.SetOrthoAngle(60);
    c.InitWindow(nullptr, &options, clWhite, true, chart);
    EXPECT_NEAR(c.OrthoDY, std::sqrt(3.0), 1e-12);

    // Offsets move the centre, zoom scales around it.
    options.SetOrthoAngle(45);
    options.SetHorizOffset(7);
    options.SetVertOffset(-3);
    options.SetZoom(200);
    c.InitWindow(nullptr, &options, clWhite, true, chart);
    c.SetProjectionCentre(50, chart);
    EXPECT_EQ(c.ProjectToScreen(c.XCenter + 5, c.YCenter, 0), (TPoint{c.XCenter + 7 + 10, c.YCenter - 3}));
}

TEST(CanvasDevice, FlatCanvasLeavesPointsAlone)
{
    TView3DOptions options;
    TPlotCanvas3D c;
    c.InitWindow(nullptr, &options, clWhite, false, TRect{0, 0, 100, 100});
    c.SetProjectionCentre(40, TRect{0, 0, 100, 100});
    EXPECT_EQ(c.ProjectToScreen(13, 17, 30), (TPoint{13, 17}));
    int32_t x = 13, y = 17;
    c.UnprojectPoint(x, y, 30);
    EXPECT_EQ(x, 13);
    EXPECT_EQ(y, 17);
}

TEST(CanvasDevice, PerspectiveFactor)
{
    TView3DOptions options;
    options.SetOrthogonal(false);
    TPlotCanvas3D c;
    const TRect chart{0, 0, 600, 400};
    options.SetPerspective(0);
    c.InitWindow(nullptr, &options, clWhite, true, chart);
    c.SetProjectionCentre(0, chart);
    EXPECT_FALSE(c.IsPerspective);
    options.SetPerspective(100);
    c.InitWindow(nullptr, &options, clWhite, true, chart);
    c.SetProjectionCentre(0, chart);
    EXPECT_TRUE(c.IsPerspective);
    EXPECT_NEAR(c.PerspectiveFactor, 1.0 / 900.0, 1e-15);
    // A chart without width still divides by at least one pixel.
    c.SetProjectionCentre(0, TRect{5, 0, 5, 400});
    EXPECT_NEAR(c.PerspectiveFactor, 100 * (1.0 / 150.0), 1e-12);
}

TEST(CanvasDevice, RotatedProjectionMatchesTheReference)
{
    QFile f(QStringLiteral(ZENDRIK_TEST_DATA "/canvas/projection.txt"));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly | QIODevice::Text));
    QTextStream in(&f);
    int checked = 0;
    while (!in.atEnd()) {
        const QStringList v = in.readLine().split(' ', Qt::SkipEmptyParts);
        if (v.size() != 17)
            continue;
        auto n = [&v](int i) { return v[i].toInt(); };
        TView3DOptions options;
        options.SetOrthogonal(false);
        options.SetElevation(n(0));
        options.SetRotation(n(1));
        options.SetTilt(n(2));
        options.SetPerspective(n(3));
        options.SetZoom(n(4));
        options.SetHorizOffset(n(10));
        options.SetVertOffset(n(11));
        const TRect chart{n(5), n(6), n(7), n(8)};
        TPlotCanvas3D c;
        c.InitWindow(nullptr, &options, clWhite, true, chart);
        c.SetProjectionCentre(n(9), chart);
        EXPECT_EQ(c.ProjectToScreen(n(12), n(13), n(14)), (TPoint{n(15), n(16)})) << v.join(' ').toStdString();
        ++checked;
    }
    EXPECT_GE(checked, 20);
}

TEST(CanvasDevice, UnprojectUndoesTheProjection)
{
    TView3DOptions options;
    TPlotCanvas3D c;
    const TRect chart{0, 0, 500, 300};
    options.SetOrthoAngle(30);
    options.SetZoom(125);
    c.InitWindow(nullptr, &options, clWhite, true, chart);
    c.SetProjectionCentre(80, chart);
    for (int32_t z : {0, 17, 80})
        for (const TPoint p : {TPoint{40, 60}, TPoint{250, 150}, TPoint{460, 290}}) {
            const TPoint s = c.ProjectToScreen(p.X, p.Y, z);
            int32_t x = s.X, y = s.Y;
            c.UnprojectPoint(x, y, z);
            EXPECT_NEAR(x, p.X, 1) << z;
            EXPECT_NEAR(y, p.Y, 1) << z;
        }
    // Rotated without tilt or perspective: the inverse terms bring points back within a pixel or two.
    options.SetOrthogonal(false);
    options.SetPerspective(0);
    options.SetElevation(350);
    options.SetRotation(350);
    c.InitWindow(nullptr, &options, clWhite, true, chart);
    c.SetProjectionCentre(80, chart);
    const TPoint s = c.ProjectToScreen(c.XCenter, c.YCenter, c.ZCenter);
    int32_t x = s.X, y = s.Y;
    c.UnprojectPoint(x, y, c.ZCenter);
    EXPECT_EQ(x, c.XCenter);
    EXPECT_EQ(y, c.YCenter);
    // Zero zoom: nothing happens.
    c.ZoomFactor = 0;
    x = 123;
    y = 45;
    c.UnprojectPoint(x, y, 3);
    EXPECT_EQ(x, 123);
    EXPECT_EQ(y, 45);
}

TEST(CanvasDevice, ProjectionOfNonFiniteOrHugeValuesIsDefined)
{
    TView3DOptions options;
    options.SetZoom(1000);
    TPlotCanvas3D c;
    const TRect chart{0, 0, 100, 100};
    c.InitWindow(nullptr, &options, clWhite, true, chart);
    c.SetProjectionCentre(0, chart);
    const double nan = std::numeric_limits<double>::quiet_NaN();
    EXPECT_EQ(c.ProjectToScreenFloat(nan, nan, 0), (TPoint{c.XCenterOffset, c.YCenterOffset}));
    const TPoint big = c.ProjectToScreenFloat(1e200, -1e200, 0);
    EXPECT_EQ(big.X, PixelCoordinateLimit + c.XCenterOffset);
    EXPECT_EQ(big.Y, -PixelCoordinateLimit + c.YCenterOffset);
    const TPoint near = c.ProjectToScreen(2000000000, 0, 0);   // times 10 would overflow 32 bits
    EXPECT_EQ(near.X, PixelCoordinateLimit + c.XCenterOffset);
    options.SetOrthogonal(false);
    c.InitWindow(nullptr, &options, clWhite, true, chart);
    c.SetProjectionCentre(0, chart);
    const TPoint rotated = c.ProjectToScreenFloat(std::numeric_limits<double>::infinity(), 0, 0);
    EXPECT_LE(std::abs(rotated.X - c.XCenterOffset), PixelCoordinateLimit);
}

TEST(CanvasDevice, BufferIsKeptAtLeastOnePixelAndReused)
{
    TPlotCanvas3D c;
    EXPECT_FALSE(c.RepaintFromBuffer());   // nothing drawn yet
    const TRect r = c.InitWindow(nullptr, nullptr, clWhite, false, TRect{5, 5, 5, 5});
    ASSERT_NE(c.Bitmap(), nullptr);
    EXPECT_EQ(c.Bitmap()->Width(), 1);
    EXPECT_EQ(c.Bitmap()->Height(), 1);
    EXPECT_EQ(r, (TRect{0, 0, 0, 0}));

    gdi::RasterDC screen(60, 40);
    TCanvas screenCanvas(&screen);
    c.InitWindow(&screenCanvas, nullptr, clWhite, false, TRect{10, 10, 30, 20});
    TBitmap* first = c.Bitmap();
    EXPECT_EQ(first->Width(), 20);
    c.Brush().SetColor(clRed);
    c.FillRect(TRect{0, 0, 20, 10});
    EXPECT_EQ(screen.GetPixel(15, 15), kWhite);   // drawn off-screen only
    c.ShowBuffer(&screenCanvas, &screenCanvas, TRect{10, 10, 30, 20});
    EXPECT_FALSE(c.Dirty);
    EXPECT_EQ(screen.GetPixel(10, 10), ColorToRGB(clRed));
    EXPECT_EQ(screen.GetPixel(29, 19), ColorToRGB(clRed));
    EXPECT_EQ(screen.GetPixel(30, 19), kWhite);
    // Between paints the still valid picture is shown again without drawing.
    screen.FillRect(gdi::Rect{0, 0, 60, 40}, gdi::Brush{});
    EXPECT_TRUE(c.RepaintFromBuffer());
    EXPECT_EQ(screen.GetPixel(5, 5), ColorToRGB(clRed));   // at (0, 0) of the attached canvas
    c.Invalidate();
    EXPECT_FALSE(c.RepaintFromBuffer());
    c.InitWindow(&screenCanvas, nullptr, clWhite, false, TRect{10, 10, 30, 20});
    EXPECT_EQ(c.Bitmap(), first);   // same size: the bitmap is reused

    c.SetBufferedDisplay(false);
    EXPECT_EQ(c.Bitmap(), nullptr);
    EXPECT_TRUE(c.Dirty);
    const TRect direct = c.InitWindow(&screenCanvas, nullptr, clWhite, false, TRect{10, 10, 30, 20});
    EXPECT_EQ(direct, (TRect{10, 10, 30, 20}));
    EXPECT_EQ(c.ReferenceCanvas(), &screenCanvas);
}

TEST(CanvasDevice, FlatSectionsNest)
{
    TView3DOptions options;
    TPlotCanvas3D c;
    c.InitWindow(nullptr, &options, clWhite, true, TRect{0, 0, 100, 100});
    c.SetProjectionCentre(20, TRect{0, 0, 100, 100});
    const TPoint deep = c.ProjectToScreen(10, 10, 10);
    ASSERT_NE(deep, (TPoint{10, 10}));
    c.BeginFlatSection();
    c.BeginFlatSection();
    c.EndFlatSection();
    EXPECT_EQ(c.ProjectToScreen(10, 10, 10), (TPoint{10, 10}));
    c.EndFlatSection();
    EXPECT_EQ(c.ProjectToScreen(10, 10, 10), deep);
    c.EndFlatSection();   // unbalanced: stays 3D
    EXPECT_EQ(c.ProjectToScreen(10, 10, 10), deep);
}

TEST(CanvasDevice, Frame3DDrawsBevelsAndInsetsTheRectangle)
{
    BitmapCanvas bc(20, 20);
    TRect r{2, 2, 12, 10};
    bc.canvas.Frame3D(r, clWhite, clBlack, 0);
    EXPECT_EQ(r, (TRect{2, 2, 12, 10}));
    EXPECT_EQ(bc.Count(kWhite), 400);

    bc.canvas.Frame3D(r, clRed, clBlue, 2);
    EXPECT_EQ(r, (TRect{4, 4, 10, 8}));
    const auto red = ColorToRGB(clRed), blue = ColorToRGB(clBlue);
    EXPECT_EQ(bc.Px(2, 5), red);    // left edge, outer
    EXPECT_EQ(bc.Px(3, 5), red);    // left edge, inner
    EXPECT_EQ(bc.Px(6, 2), red);    // top
    EXPECT_EQ(bc.Px(11, 5), blue);  // right, outer
    EXPECT_EQ(bc.Px(10, 5), blue);  // right, inner
    EXPECT_EQ(bc.Px(6, 9), blue);   // bottom
    EXPECT_EQ(bc.Px(2, 9), blue);   // the bottom line reaches the left edge
    EXPECT_EQ(bc.Px(12, 5), kWhite);
    EXPECT_EQ(bc.Px(6, 10), kWhite);
    EXPECT_EQ(bc.Px(6, 5), kWhite); // inside untouched
}

TEST(CanvasDevice, ClippingKeepsOneSavedLevel)
{
    BitmapCanvas bc(20, 20);
    TPlotCanvas3D& c = bc.canvas;
    c.Brush().SetColor(clRed);
    c.ClipRectangle(TRect{0, 0, 10, 10});
    c.ClipRectangle(TRect{5, 5, 20, 20});   // combined: 5..9
    c.FillRect(TRect{0, 0, 20, 20});
    EXPECT_EQ(bc.Count(ColorToRGB(clRed)), 25);
    c.UnClipRectangle();   // back to the state before the second clip
    c.Brush().SetColor(clBlue);
    c.FillRect(TRect{0, 0, 20, 20});
    EXPECT_EQ(bc.Count(ColorToRGB(clBlue)), 100);
    c.UnClipRectangle();   // nothing saved any more: clipping removed
    c.Brush().SetColor(clLime);
    c.FillRect(TRect{0, 0, 20, 20});
    EXPECT_EQ(bc.Count(ColorToRGB(clLime)), 400);
}

TEST(CanvasDevice, ClipShapes)
{
    {
        BitmapCanvas bc(20, 20);
        bc.canvas.ClipEllipse(TRect{0, 0, 20, 20}, true);   // inverted: keeps the outside
        bc.canvas.Brush().SetColor(clRed);
        bc.canvas.FillRect(TRect{0, 0, 20, 20});
        EXPECT_EQ(bc.Px(0, 0), ColorToRGB(clRed));
        EXPECT_EQ(bc.Px(10, 10), kWhite);
    }
    {
        BitmapCanvas bc(20, 20);
        const TPoint tri[] = {{0, 0}, {20, 0}, {0, 20}};
        bc.canvas.ClipPolygon(tri, 3, true);   // inverted: everything but the triangle
        bc.canvas.Brush().SetColor(clRed);
        bc.canvas.FillRect(TRect{0, 0, 20, 20});
        EXPECT_EQ(bc.Px(2, 2), kWhite);
        EXPECT_EQ(bc.Px(18, 18), ColorToRGB(clRed));
    }
    {
        BitmapCanvas bc(20, 20);
        bc.canvas.ClipBox(TRect{2, 2, 12, 12}, 0, 10);   // flat: (3, 3) .. (12, 11) exclusive
        bc.canvas.Brush().SetColor(clRed);
        bc.canvas.FillRect(TRect{0, 0, 20, 20});
        EXPECT_EQ(bc.Count(ColorToRGB(clRed)), 9 * 8);
        EXPECT_EQ(bc.Px(3, 3), ColorToRGB(clRed));
        EXPECT_EQ(bc.Px(2, 3), kWhite);
        EXPECT_EQ(bc.Px(11, 10), ColorToRGB(clRed));
        EXPECT_EQ(bc.Px(11, 11), kWhite);
    }
    {
        TView3DOptions options;
        BitmapCanvas bc(60, 60, &options, true);
        bc.canvas.SetProjectionCentre(20, TRect{0, 0, 60, 60});
        bc.canvas.ClipBox(TRect{10, 20, 40, 50}, 0, 20);   // the outline of the box in 3D
        bc.canvas.Brush().SetColor(clRed);
        bc.canvas.FillRect(TRect{0, 0, 60, 60});
        const TPoint front = bc.canvas.ProjectToScreen(25, 35, 0);
        const TPoint back = bc.canvas.ProjectToScreen(25, 35, 20);
        EXPECT_EQ(bc.Px(front.X, front.Y), ColorToRGB(clRed));
        EXPECT_EQ(bc.Px(back.X, back.Y), ColorToRGB(clRed));
        const TPoint outside = bc.canvas.ProjectToScreen(5, 55, 0);
        EXPECT_EQ(bc.Px(outside.X, outside.Y), kWhite);
    }
}

TEST(CanvasDevice, GradientBandsMatchTheReference)
{
    QFile f(QStringLiteral(ZENDRIK_TEST_DATA "/canvas/gradient.txt"));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly | QIODevice::Text));
    QTextStream in(&f);
    int checked = 0;
    while (!in.atEnd()) {
        const QStringList v = in.readLine().split(' ', Qt::SkipEmptyParts);
        if (v.size() < 5)
            continue;
        const TColor c0 = static_cast<TColor>(v[0].toUInt(nullptr, 16));
        const TColor c1 = static_cast<TColor>(v[1].toUInt(nullptr, 16));
        const int balance = v[2].toInt();
        const int height = v[3].toInt();
        ASSERT_EQ(v.size(), 4 + height);
        BitmapCanvas bc(5, height + 4);
        bc.canvas.GradientFill(TRect{1, 2, 4, 2 + height}, c0, c1, gdTopBottom, balance, 0, 0);
        for (int y = 0; y < height; ++y) {
            EXPECT_EQ(bc.Px(1, 2 + y), v[4 + y].toUInt(nullptr, 16)) << "row " << y << " of " << height;
            EXPECT_EQ(bc.Px(3, 2 + y), v[4 + y].toUInt(nullptr, 16));
        }
        EXPECT_EQ(bc.Px(0, 3), kWhite);
        EXPECT_EQ(bc.Px(4, 3), kWhite);
        EXPECT_EQ(bc.Px(2, 1), kWhite);
        EXPECT_EQ(bc.Px(2, 2 + height), kWhite);
        // The opposite direction swaps the colours: the same picture upside down.
        BitmapCanvas flipped(5, height + 4);
        flipped.canvas.GradientFill(TRect{1, 2, 4, 2 + height}, c1, c0, gdBottomTop, balance, 0, 0);
        EXPECT_EQ(flipped.Px(2, 2), bc.Px(2, 2));
        ++checked;
    }
    EXPECT_EQ(checked, 4);
}

TEST(CanvasDevice, GradientDirectionsPutTheColoursWhereTheyBelong)
{
    {
        BitmapCanvas bc(30, 10);
        bc.canvas.GradientFill(TRect{0, 0, 30, 10}, clRed, clBlue, gdLeftRight, 50, 0, 0);
        EXPECT_EQ(bc.Px(29, 5), ColorToRGB(clRed));   // red at the right edge
        EXPECT_EQ(bc.Px(0, 5), ColorToRGB(clBlue));
    }
    {
        BitmapCanvas bc(30, 10);
        bc.canvas.GradientFill(TRect{0, 4, 30, 5}, clRed, clBlue, gdTopBottom, 50, 0, 0);   // one pixel high
        EXPECT_EQ(bc.Count(kWhite), 300);
        bc.canvas.GradientFill(TRect{30, 0, 0, 10}, clRed, clBlue, gdRightLeft, 50, 0, 0);  // inverted rectangle
        EXPECT_EQ(bc.Px(0, 5), ColorToRGB(clRed));
    }
    {
        BitmapCanvas bc(21, 21);
        bc.canvas.GradientFill(TRect{0, 0, 21, 21}, clRed, clBlue, gdFromCenter, 50, 0, 0);
        EXPECT_EQ(bc.Px(0, 0), ColorToRGB(clBlue));     // outer ring: step 0 after the swap
        EXPECT_EQ(bc.Px(20, 10), ColorToRGB(clBlue));
        EXPECT_EQ(bc.Count(kWhite), 1);                 // the odd centre pixel is never a ring
        const auto inner = bc.Px(9, 9);
        EXPECT_GT(GetRValue(inner), 200);               // near the red end
    }
    {
        BitmapCanvas bc(20, 20);
        bc.canvas.GradientFill(TRect{0, 0, 20, 20}, clRed, clBlue, gdFromTopLeft, 50, 0, 0);
        EXPECT_EQ(bc.Px(0, 0), ColorToRGB(clBlue));
        EXPECT_EQ(bc.Count(kWhite), 0);
        EXPECT_GT(GetRValue(bc.Px(19, 19)), GetRValue(bc.Px(10, 10)));
        BitmapCanvas bl(20, 20);
        bl.canvas.GradientFill(TRect{0, 0, 20, 20}, clRed, clBlue, gdFromBottomLeft, 50, 0, 0);
        EXPECT_EQ(bl.Px(0, 19), ColorToRGB(clBlue));
        EXPECT_EQ(bl.Count(kWhite), 0);
    }
    {
        BitmapCanvas bc(40, 40);
        bc.canvas.Pen().SetColor(clLime);
        bc.canvas.Pen().SetWidth(3);
        bc.canvas.GradientFill(TRect{0, 0, 40, 40}, clRed, clBlue, gdDiagonalUp, 50, 0, 0);
        EXPECT_EQ(bc.Px(0, 39), ColorToRGB(clRed));
        EXPECT_GT(GetBValue(bc.Px(38, 1)), 200);
        EXPECT_EQ(bc.canvas.Pen().Color(), clLime);   // the pen comes back
        EXPECT_EQ(bc.canvas.Pen().Width(), 3);
    }
    {
        BitmapCanvas bc(41, 41);
        bc.canvas.GradientFill(TRect{0, 0, 41, 41}, clRed, clBlue, gdRadial, 50, 0, 0);
        EXPECT_EQ(bc.Px(0, 0), ColorToRGB(clBlue));    // end colour outside
        EXPECT_GT(GetRValue(bc.Px(21, 21)), 230);      // start colour in the middle
        EXPECT_EQ(bc.Count(kWhite), 0);
    }
}

TEST(CanvasDevice, RotateLabelReducesTheAngleAndRestoresTheFont)
{
    auto draw = [](double angle) {
        BitmapCanvas bc(120, 120);
        bc.canvas.Font().SetSize(14);
        bc.canvas.RotateLabel(60, 60, QStringLiteral("WWWWW"), angle);
        const gdi::Font after = bc.Device().GetFont();
        EXPECT_EQ(after.escapement, 0);
        return bc.Device().Image().copy();
    };
    const QImage five = draw(5);
    EXPECT_EQ(draw(725), five);   // 725 degrees draw at 5
    EXPECT_NE(draw(0), five);
    EXPECT_NE(draw(90), five);
}

TEST(CanvasDevice, RotateLabelSaturatesHugeAnglesAndSkipsInfiniteOnes)
{
    gdi::RecordingDC dc(100, 100);
    TCanvas target(&dc);
    TPlotCanvas3D canvas;
    canvas.SetBufferedDisplay(false);
    canvas.InitWindow(&target, nullptr, clWhite, false, TRect{0, 0, 100, 100});
    // The escapement of the font the text is drawn with, and of the font selected after it.
    const auto escapementsOf = [&](double angle) {
        const size_t before = dc.Picture().Records.size();
        canvas.RotateLabel(50, 50, QStringLiteral("W"), angle);
        std::vector<int32_t> out;
        int32_t current = 0;
        for (size_t i = before; i < dc.Picture().Records.size(); ++i) {
            const gdi::MetaRecord& r = dc.Picture().Records[i];
            if (r.op == gdi::MetaOp::SelectFont)
                current = dc.Picture().Fonts[static_cast<size_t>(r.index)].escapement;
            if (r.op == gdi::MetaOp::TextOut || (!out.empty() && r.op == gdi::MetaOp::SelectFont))
                out.push_back(current);
        }
        return out;
    };
    EXPECT_EQ(escapementsOf(725), (std::vector<int32_t>{50, 0}));
    EXPECT_EQ(escapementsOf(-1e300), (std::vector<int32_t>{-PixelCoordinateLimit, 0}));
    const std::vector<int32_t> huge = escapementsOf(1e300);
    ASSERT_EQ(huge.size(), 2u);
    EXPECT_TRUE(huge[0] >= 0 && huge[0] <= 3600) << huge[0];
    for (double angle : {std::numeric_limits<double>::infinity(), -std::numeric_limits<double>::infinity(),
                         std::numeric_limits<double>::quiet_NaN()})
        EXPECT_TRUE(escapementsOf(angle).empty()) << angle;
}

TEST(CanvasDevice, TextMeasuresThroughTheAttachedCanvas)
{
    BitmapCanvas bc(100, 40);
    bc.canvas.Font().SetSize(12);
    const gdi::Size ext = bc.canvas.ReferenceCanvas()->TextExtent(QStringLiteral("Sweep"));
    EXPECT_EQ(bc.canvas.TextWidth(QStringLiteral("Sweep")), ext.cx);
    EXPECT_EQ(bc.canvas.TextHeight(QStringLiteral("Sweep")), ext.cy);
    EXPECT_EQ(bc.canvas.FontHeight(), bc.canvas.TextHeight(QStringLiteral("W")));
    EXPECT_GT(ext.cx, 20);
    bc.canvas.Font().SetSize(24);
    EXPECT_GT(bc.canvas.TextHeight(QStringLiteral("W")), ext.cy);   // the new size is selected
}

TEST(CanvasDevice, DepthPrimitivesOnAFlatCanvasAreTheirFlatForms)
{
    BitmapCanvas a(30, 30), b(30, 30);
    a.canvas.Brush().SetColor(clRed);
    b.canvas.Brush().SetColor(clRed);
    a.canvas.RectangleAtDepth(TRect{3, 4, 20, 25}, 10);
    b.canvas.Polygon(TPointArray{{3, 4}, {20, 4}, {20, 25}, {3, 25}}, 3);
    EXPECT_EQ(a.Device().Image(), b.Device().Image());

    BitmapCanvas c(30, 30), d(30, 30);
    c.canvas.EllipseAtDepth(2, 2, 20, 20, 5);
    d.canvas.Ellipse(2, 2, 21, 21);
    EXPECT_EQ(c.Device().Image(), d.Device().Image());

    BitmapCanvas e(30, 30), g(30, 30);
    e.canvas.Sphere(15, 15, 0, 4.6);   // radius 5
    g.canvas.Ellipse(10, 10, 21, 21);
    EXPECT_EQ(e.Device().Image(), g.Device().Image());
}

TEST(CanvasDevice, PixelsAtDepth)
{
    TView3DOptions options;
    BitmapCanvas bc(40, 40, &options, true);
    bc.canvas.SetProjectionCentre(0, TRect{0, 0, 40, 40});
    bc.canvas.SetPixel3D(10, 20, 5, clRed);
    const TPoint p = bc.canvas.ProjectToScreen(10, 20, 5);
    EXPECT_EQ(p, (TPoint{15, 15}));
    EXPECT_EQ(bc.canvas.GetPixel3D(10, 20, 5), clRed);
    EXPECT_EQ(bc.Count(ColorToRGB(clRed)), 1);
    bc.canvas.Pen().SetWidth(3);
    bc.canvas.SetPixel3D(20, 20, 0, clBlue);   // a dot in the pen's width
    EXPECT_GT(bc.Count(ColorToRGB(clBlue)), 1);
}

TEST(CanvasDevice, ArrowsOfZeroLengthDrawNothing)
{
    BitmapCanvas bc(40, 40);
    bc.canvas.Arrow(true, TPoint{10, 10}, TPoint{10, 10}, 0, 8, 8, 50);
    EXPECT_EQ(bc.Count(kWhite), 1600);
    bc.canvas.Brush().SetColor(clRed);
    bc.canvas.Arrow(true, TPoint{5, 20}, TPoint{35, 20}, 0, 10, 12, 50);
    EXPECT_EQ(bc.Px(30, 20), ColorToRGB(clRed));   // inside the head
    EXPECT_EQ(bc.Px(30, 14), kWhite);
}

TEST(CanvasDevice, MonochromeAndBufferingSwitches)
{
    int invalidations = 0;
    TView3DOptions options([&invalidations] { ++invalidations; });
    TPlotCanvas3D c;
    gdi::RasterDC screen(30, 20);
    TCanvas screenCanvas(&screen);
    c.InitWindow(&screenCanvas, &options, clWhite, false, TRect{0, 0, 30, 20});
    c.ShowBuffer(&screenCanvas, &screenCanvas, TRect{0, 0, 30, 20});
    EXPECT_FALSE(c.Dirty);
    c.SetMonochrome(true);
    EXPECT_TRUE(c.Dirty);
    EXPECT_EQ(invalidations, 1);
    c.SetMonochrome(true);   // no change: nothing
    EXPECT_EQ(invalidations, 1);

    // KeepBitmap: switching buffering off keeps the bitmap for later.
    c.KeepBitmap = true;
    TBitmap* kept = c.Bitmap();
    ASSERT_NE(kept, nullptr);
    c.SetBufferedDisplay(false);
    EXPECT_EQ(c.Bitmap(), kept);
    c.SetBufferedDisplay(true);
    EXPECT_EQ(c.ReferenceCanvas(), &kept->Canvas());   // drawing goes to the bitmap again
    c.KeepBitmap = false;
    c.SetBufferedDisplay(false);
    EXPECT_EQ(c.Bitmap(), nullptr);
    EXPECT_NE(c.ReferenceCanvas(), nullptr);   // never left pointing at the freed bitmap
}

TEST(CanvasDevice, TextAtDepthFollowsTheZoom)
{
    TView3DOptions options;
    options.SetZoom(200);
    TPlotCanvas3D c;
    c.InitWindow(nullptr, &options, clWhite, true, TRect{0, 0, 300, 200});
    c.SetProjectionCentre(0, TRect{0, 0, 300, 200});
    c.ResetState();
    c.Font().SetSize(10);
    gdi::RasterDC& dc = c.Bitmap()->Device();
    c.TextOutAtDepth(150, 100, 0, QStringLiteral("HHHH"));
    int left = 1000, right = -1;
    for (int y = 0; y < 200; ++y)
        for (int x = 0; x < 300; ++x)
            if (dc.GetPixel(x, y) != kWhite) {
                left = std::min(left, x);
                right = std::max(right, x);
            }
    const int inkWidth = right - left;
    const int plainWidth = c.TextWidth(QStringLiteral("HHHH"));   // the font at its own size
    EXPECT_GT(inkWidth, plainWidth * 3 / 2);                         // drawn at 20 points
    EXPECT_EQ(dc.GetFont().height, c.Font().DeviceFont().height);  // and the font is back afterwards
    options.SetZoomText(false);
    c.SetProjectionCentre(0, TRect{0, 0, 300, 200});
    dc.FillRect(gdi::Rect{0, 0, 300, 200}, gdi::Brush{});
    c.TextOutAtDepth(150, 100, 0, QStringLiteral("HHHH"));
    left = 1000;
    right = -1;
    for (int y = 0; y < 200; ++y)
        for (int x = 0; x < 300; ++x)
            if (dc.GetPixel(x, y) != kWhite) {
                left = std::min(left, x);
                right = std::max(right, x);
            }
    EXPECT_LE(right - left, plainWidth);
}

TEST(CanvasDevice, DarkerBrushGoesToTheBackColourForPatterns)
{
    BitmapCanvas bc(10, 10);
    bc.canvas.Brush().SetStyle(bsSolid);
    bc.canvas.SetBrushDarker(RGBColor(100, 100, 100), 30);
    EXPECT_EQ(bc.canvas.Brush().Color(), RGBColor(70, 70, 70));
    bc.canvas.Brush().SetStyle(bsCross);
    bc.canvas.SetBrushDarker(RGBColor(100, 100, 100), 50);
    EXPECT_EQ(bc.canvas.Brush().Color(), RGBColor(70, 70, 70));
    EXPECT_EQ(bc.canvas.GetBackColor(), RGBColor(50, 50, 50));
}

TEST(CanvasDevice, CubeSeenFromTheFrontShowsFrontTopAndRight)
{
    TView3DOptions options;   // orthogonal, 45 degrees
    BitmapCanvas bc(80, 80, &options, true);
    bc.canvas.SetProjectionCentre(0, TRect{0, 0, 80, 80});
    bc.canvas.Pen().SetStyle(psClear);
    bc.canvas.Brush().SetColor(RGBColor(200, 200, 200));
    bc.canvas.Cube(20, 50, 30, 60, 0, 10, true);
    const TPoint front = bc.canvas.ProjectToScreen(35, 45, 0);
    EXPECT_EQ(bc.Px(front.X, front.Y), gdi::RGB(200, 200, 200));
    const TPoint top = bc.canvas.ProjectToScreen(35, 30, 5);
    EXPECT_EQ(bc.Px(top.X, top.Y - 1), gdi::RGB(72, 72, 72));     // darkened by 128
    const TPoint right = bc.canvas.ProjectToScreen(50, 45, 5);
    EXPECT_EQ(bc.Px(right.X + 1, right.Y), gdi::RGB(72, 72, 72));
    // Below and left of the front face nothing was drawn: those faces are turned away.
    const TPoint below = bc.canvas.ProjectToScreen(35, 61, 0);
    EXPECT_EQ(bc.Px(below.X, below.Y + 1), kWhite);
    const TPoint leftOf = bc.canvas.ProjectToScreen(18, 45, 0);
    EXPECT_EQ(bc.Px(leftOf.X, leftOf.Y), kWhite);
    EXPECT_EQ(bc.canvas.Brush().Color(), RGBColor(200, 200, 200));   // darkening did not stay
}

TEST(CanvasDevice, ResetStateAndArcAngles)
{
    BitmapCanvas bc(41, 41);
    TPlotCanvas3D& c = bc.canvas;
    c.Pen().SetColor(clRed);
    c.Pen().SetWidth(4);
    c.Brush().SetStyle(bsCross);
    c.SetBackMode(cbmOpaque);
    c.SetTextAlign(gdi::TA_RIGHT);
    c.BlendTransparency = 40;
    c.ResetState();
    EXPECT_EQ(c.Pen().Color(), clBlack);
    EXPECT_EQ(c.Pen().Width(), 1);
    EXPECT_EQ(c.Pen().Style(), psSolid);
    EXPECT_EQ(c.Brush().Color(), clWhite);
    EXPECT_EQ(c.Brush().Style(), bsSolid);
    EXPECT_EQ(c.Font().Name(), QStringLiteral("Arial"));
    EXPECT_EQ(c.Font().Size(), 8);
    EXPECT_EQ(c.GetBackMode(), cbmTransparent);
    EXPECT_EQ(c.GetBackColor(), clWhite);
    EXPECT_EQ(c.GetTextAlign(), 0u);
    EXPECT_EQ(c.BlendTransparency, 0);
    EXPECT_EQ(c.FontObject, nullptr);

    // From 0 to 90 degrees: the upper right quarter only.
    c.ArcAngles(0, 0, 40, 40, 0, 90);
    int upperRight = 0, elsewhere = 0;
    for (int y = 0; y < 41; ++y)
        for (int x = 0; x < 41; ++x) {
            if (bc.Px(x, y) == kWhite || std::abs(x - 20) < 3 || std::abs(y - 20) < 3)
                continue;
            (x > 20 && y < 20 ? upperRight : elsewhere) += 1;
        }
    EXPECT_GT(upperRight, 10);
    EXPECT_EQ(elsewhere, 0);
}

TEST(CanvasDevice, DiagonalGradientGivesBackTheExtendedPen)
{
    BitmapCanvas bc(20, 20);
    TChartPen wide;
    wide.SetWidth(3);
    wide.SetEndStyle(esFlat);
    bc.canvas.AssignVisiblePen(wide);
    ASSERT_TRUE(bc.canvas.Pen().Handle().has_value());
    const gdi::Pen before = *bc.canvas.Pen().Handle();
    bc.canvas.GradientFill(TRect{0, 0, 20, 20}, clRed, clBlue, gdDiagonalDown, 50, 0, 0);
    ASSERT_TRUE(bc.canvas.Pen().Handle().has_value());
    EXPECT_EQ(*bc.canvas.Pen().Handle(), before);
    EXPECT_EQ(bc.Px(0, 0), ColorToRGB(clRed));
}

TEST(CanvasDevice, DiagonalGradientsLeaveNoPixelOfTheRectangleUnpainted)
{
    for (TGradientDirection d : {gdDiagonalUp, gdDiagonalDown}) {
        BitmapCanvas bc(32, 24);
        bc.canvas.GradientFill(TRect{3, 2, 29, 21}, clRed, clBlue, d, 50, 0, 0);
        for (int y = 0; y < 24; ++y)
            for (int x = 0; x < 32; ++x) {
                const bool inside = x >= 3 && x < 29 && y >= 2 && y < 21;
                EXPECT_EQ(bc.Px(x, y) != kWhite, inside) << d << " at " << x << "," << y;
            }
    }
}
