#include "chart/canvas/PlotCanvas3D.h"
#include "chart/canvas/PlotGradient.h"
#include "chart/canvas/View3DOptions.h"
#include "platform/gdi/RasterDC.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

namespace {

constexpr gdi::COLORREF kWhite = 0xFFFFFF;

struct ShapeCanvas {
    TView3DOptions options;
    TPlotCanvas3D canvas;
    explicit ShapeCanvas(bool is3D, int w = 100, int h = 100)
    {
        canvas.InitWindow(nullptr, &options, clWhite, is3D, TRect{0, 0, w, h});
        canvas.SetProjectionCentre(20, TRect{0, 0, w, h});
        canvas.ResetState();
        canvas.Pen().SetStyle(psClear);
        canvas.Brush().SetColor(RGBColor(200, 100, 0));
    }
    gdi::COLORREF Px(int x, int y) { return canvas.Bitmap()->Device().GetPixel(x, y); }
    int Ink()
    {
        int n = 0;
        for (int y = 0; y < canvas.Bitmap()->Height(); ++y)
            for (int x = 0; x < canvas.Bitmap()->Width(); ++x)
                n += Px(x, y) != kWhite;
        return n;
    }
};

constexpr double kPi = std::numbers::pi;

} // namespace

TEST(CanvasShapes, PieArcPointCounts)
{
    EXPECT_EQ(PieArcPointCount(0, 2 * kPi), 96);
    EXPECT_EQ(PieArcPointCount(0, 10 * kPi / 180), 7);
    EXPECT_EQ(PieArcPointCount(kPi, 0), 92);   // 180 degrees backwards: 90 + 2
    EXPECT_EQ(PieArcPointCount(0, 0), 2);
    EXPECT_EQ(PieArcPointCount(0, std::numeric_limits<double>::infinity()), 96);
}

TEST(CanvasShapes, FlatPieIsTheSectorBetweenItsAngles)
{
    ShapeCanvas s(false);
    s.canvas.Pie3D(50, 50, 40, 40, 0, 0, 0, kPi / 2, false, true, 0);   // upper right quarter
    const auto fill = ColorToRGB(RGBColor(200, 100, 0));
    EXPECT_EQ(s.Px(65, 35), fill);
    EXPECT_EQ(s.Px(35, 35), kWhite);
    EXPECT_EQ(s.Px(65, 65), kWhite);
    EXPECT_EQ(s.Px(95, 50), kWhite);   // beyond the radius
}

TEST(CanvasShapes, DonutLeavesItsHoleEmpty)
{
    ShapeCanvas s(false);
    s.canvas.Donut(50, 50, 40, 40, 0, 2 * kPi - 1e-9, 0.5);
    const auto fill = ColorToRGB(RGBColor(200, 100, 0));
    EXPECT_EQ(s.Px(50, 50), kWhite);   // the hole
    EXPECT_EQ(s.Px(50, 18), fill);     // the ring
    EXPECT_EQ(s.Px(80, 50), fill);
    EXPECT_EQ(s.Px(50, 95), kWhite);   // outside

    ShapeCanvas pie(false);
    pie.canvas.Pie3D(50, 50, 40, 40, 0, 0, 0, kPi, false, true, 50);   // upper half ring
    EXPECT_EQ(pie.Px(50, 50 - 10), kWhite);
    EXPECT_EQ(pie.Px(50, 50 - 30), ColorToRGB(RGBColor(200, 100, 0)));
    EXPECT_EQ(pie.Px(50, 70), kWhite);
}

TEST(CanvasShapes, ThickPieShowsItsSideBelowTheTop)
{
    // The rim shows with or without the cut faces (a whole pie asks for none).
    for (const bool cutFaces : {true, false}) {
        ShapeCanvas s(true, 120, 120);
        s.canvas.SetProjectionCentre(40, TRect{0, 0, 120, 120});
        s.canvas.Pen().SetStyle(psSolid);
        s.canvas.Pen().SetColor(clBlack);
        s.canvas.Pie3D(60, 60, 40, 40, 0, 20, 0, 2 * kPi, true, cutFaces, 0);
        const auto top = ColorToRGB(RGBColor(200, 100, 0));
        auto rimAt = [&](double a) {
            return s.canvas.ProjectToScreen(static_cast<int32_t>(std::lround(60 + 40 * std::cos(a))),
                                            static_cast<int32_t>(std::lround(60 - 40 * std::sin(a))), 10);
        };
        // The top face lies at the end depth, which runs up and to the right: half way through
        // the depth the lower left rim shows the side band (darker), the upper right one lies
        // under the top.
        const TPoint inside = s.canvas.ProjectToScreen(50, 70, 20);
        EXPECT_EQ(s.Px(inside.X, inside.Y), top);
        const TPoint upper = rimAt(kPi / 4);
        EXPECT_EQ(s.Px(upper.X, upper.Y), top) << cutFaces;
        const TPoint lower = rimAt(5 * kPi / 4);
        const auto side = s.Px(lower.X, lower.Y);
        EXPECT_NE(side, kWhite) << cutFaces;
        EXPECT_NE(side, top) << cutFaces;
        EXPECT_EQ(s.canvas.Brush().Color(), RGBColor(200, 100, 0));
        // The pen outlines the band, not each step of it: half way through the depth the band
        // shows no pen across it (away from the slice's own edge at angle 0).
        int pen = 0;
        for (double b = kPi + 0.4; b < 3 * kPi / 2 - 0.2; b += 0.01) {
            const TPoint p = rimAt(b);
            pen += s.Px(p.X, p.Y) == ColorToRGB(clBlack);
        }
        EXPECT_EQ(pen, 0) << cutFaces;
    }
}

TEST(CanvasShapes, CylinderAndConeInOrthogonalView)
{
    ShapeCanvas cyl(true);
    cyl.canvas.Cylinder(true, 30, 20, 60, 80, 0, 20, false);
    const TPoint middle = cyl.canvas.ProjectToScreen(45, 50, 0);
    EXPECT_NE(cyl.Px(middle.X, middle.Y), kWhite);
    const TPoint outside = cyl.canvas.ProjectToScreen(20, 50, 10);
    EXPECT_EQ(cyl.Px(outside.X, outside.Y), kWhite);

    ShapeCanvas cone(true);
    cone.canvas.Cone(true, 30, 20, 60, 80, 0, 20, false, 0);   // to a point at the top
    const TPoint nearTip = cone.canvas.ProjectToScreen(33, 24, 10);
    EXPECT_EQ(cone.Px(nearTip.X, nearTip.Y), kWhite);   // the cylinder would cover it
    const TPoint nearBase = cone.canvas.ProjectToScreen(45, 76, 10);
    EXPECT_NE(cone.Px(nearBase.X, nearBase.Y), kWhite);
    EXPECT_LT(cone.Ink(), cyl.Ink());
}

TEST(CanvasShapes, PyramidNarrowsToItsApex)
{
    ShapeCanvas up(true);
    up.canvas.Pyramid(true, 30, 20, 70, 80, 0, 20, true);
    const TPoint base = up.canvas.ProjectToScreen(50, 78, 0);
    EXPECT_NE(up.Px(base.X, base.Y), kWhite);
    const TPoint corner = up.canvas.ProjectToScreen(32, 22, 0);
    EXPECT_EQ(up.Px(corner.X, corner.Y), kWhite);
    EXPECT_EQ(up.canvas.Brush().Color(), RGBColor(200, 100, 0));

    ShapeCanvas flat(false);
    flat.canvas.Pyramid(true, 30, 20, 70, 80, 0, 20, false);   // flat: the front triangle
    EXPECT_NE(flat.Px(50, 70), kWhite);
    EXPECT_EQ(flat.Px(32, 22), kWhite);
    EXPECT_NE(flat.Px(50, 25), kWhite);
}

TEST(CanvasShapes, TruncatedPyramidAndPictureAtDepth)
{
    ShapeCanvas s(true);
    s.canvas.TruncatedPyramid(TRect{20, 20, 80, 80}, 0, 20, 15, 5);
    const TPoint centre = s.canvas.ProjectToScreen(50, 60, 0);
    EXPECT_NE(s.Px(centre.X, centre.Y), kWhite);

    ShapeCanvas p(false, 20, 20);
    QImage picture(2, 2, QImage::Format_RGB32);
    picture.setPixel(0, 0, qRgb(255, 0, 0));
    picture.setPixel(1, 0, qRgb(0, 255, 0));
    picture.setPixel(0, 1, qRgb(0, 0, 255));
    picture.setPixel(1, 1, qRgb(0, 0, 0));
    p.canvas.DrawPictureZ(picture, TRect{2, 2, 10, 10}, 5);
    EXPECT_EQ(p.Px(3, 3), gdi::RGB(255, 0, 0));
    EXPECT_EQ(p.Px(8, 3), gdi::RGB(0, 255, 0));
    EXPECT_EQ(p.Px(3, 8), gdi::RGB(0, 0, 255));
    EXPECT_EQ(p.Px(9, 9), gdi::RGB(0, 0, 0));
    EXPECT_EQ(p.Px(10, 5), kWhite);
    EXPECT_EQ(p.Px(5, 10), kWhite);
    EXPECT_EQ(p.canvas.Pen().Style(), psClear);   // restored to what it was
}

TEST(CanvasShapes, FilledRotatedEllipseLeavesNoBackgroundInside)
{
    ShapeCanvas s(true, 120, 120);
    s.options.SetOrthogonal(false);
    s.canvas.InitWindow(nullptr, &s.options, clWhite, true, TRect{0, 0, 120, 120});
    s.canvas.SetProjectionCentre(20, TRect{0, 0, 120, 120});
    s.canvas.Pen().SetStyle(psSolid);
    s.canvas.EllipseAtDepth(20, 30, 100, 90, 10);
    EXPECT_EQ(s.canvas.Pen().Style(), psSolid);
    // The shape is convex: between a row's first and last outline pixel only the outline's own
    // single-pixel steps may show the background, never a white pixel away from the outline.
    auto nearOutline = [&s](int x, int y) {
        for (int dy = -1; dy <= 1; ++dy)
            for (int dx = -1; dx <= 1; ++dx)
                if (s.Px(x + dx, y + dy) == 0)
                    return true;
        return false;
    };
    int rows = 0;
    for (int y = 1; y < 119; ++y) {
        int first = -1, last = -1;
        for (int x = 0; x < 120; ++x)
            if (s.Px(x, y) != kWhite)
                (first < 0 ? first : last) = x;
        for (int x = first + 1; x < last; ++x)
            ASSERT_TRUE(s.Px(x, y) != kWhite || nearOutline(x, y)) << x << "," << y;
        rows += last > first + 2;
    }
    EXPECT_GT(rows, 40);
}

TEST(CanvasShapes, PieTopTakesItsGradientWithinTheSector)
{
    ShapeCanvas s(false);
    TPlotGradient gradient;
    gradient.SetVisible(true);
    gradient.SetDirection(gdLeftRight);
    gradient.SetStartColor(clRed);
    gradient.SetEndColor(clBlue);
    s.canvas.Pie3D(50, 50, 40, 40, 0, 0, 0, kPi / 2, false, true, 0, &gradient);
    const auto nearCentre = s.Px(55, 45), nearRim = s.Px(85, 45);
    for (auto c : {nearCentre, nearRim}) {
        EXPECT_NE(c, kWhite);
        EXPECT_NE(c, ColorToRGB(RGBColor(200, 100, 0)));
    }
    EXPECT_NE(nearCentre, nearRim);
    EXPECT_EQ(s.Px(88, 12), kWhite);   // inside the sector's bounds, outside the sector
    EXPECT_EQ(s.Px(35, 35), kWhite);
}
