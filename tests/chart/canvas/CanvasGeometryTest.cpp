#include "chart/canvas/CanvasGeometry.h"
#include "chart/canvas/LibrarySettings.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>

TEST(CanvasGeometry, RoundToPixelRoundsHalvesToEvenAndSaturates)
{
    EXPECT_EQ(RoundToPixel(2.5), 2);
    EXPECT_EQ(RoundToPixel(3.5), 4);
    EXPECT_EQ(RoundToPixel(-2.5), -2);
    EXPECT_EQ(RoundToPixel(-0.4), 0);
    EXPECT_EQ(RoundToPixel(std::numeric_limits<double>::quiet_NaN()), 0);
    EXPECT_EQ(RoundToPixel(std::numeric_limits<double>::infinity()), 67108863);
    EXPECT_EQ(RoundToPixel(-std::numeric_limits<double>::infinity()), -67108863);
    EXPECT_EQ(RoundToPixel(1e300), 67108863);
    EXPECT_EQ(RoundToPixel(-5e9), -67108863);
    EXPECT_EQ(RoundToPixel(67108862.4), 67108862);
}

TEST(CanvasGeometry, RectangleRoutines)
{
    const TRect r{10, 20, 30, 40};
    EXPECT_TRUE(PointInRect(r, 30, 40));   // all four edges are inside
    EXPECT_TRUE(PointInRect(r, 10, 20));
    EXPECT_FALSE(PointInRect(r, 31, 40));
    EXPECT_FALSE(PointInRectPt(r, TPoint{10, 19}));
    EXPECT_EQ(RectCenter(TRect{-3, -3, 0, 0}), (TPoint{-1, -1}));
    EXPECT_EQ(RectCenter(TRect{0, 0, 5, 7}), (TPoint{2, 3}));
    EXPECT_EQ(OrientRect(TRect{30, 40, 10, 20}), r);
    int32_t w = 0, h = 0;
    RectSize(r, w, h);
    EXPECT_EQ(w, 20);
    EXPECT_EQ(h, 20);
}

TEST(CanvasGeometry, PolygonBoundsAndPolygonRect)
{
    EXPECT_EQ(PolygonBounds({}, -1), (TRect{0, 0, 0, 0}));
    EXPECT_EQ(PolygonBounds({{5, -2}}, 0), (TRect{5, -2, 5, -2}));
    const TPointArray pts{{3, 9}, {-4, 2}, {8, 5}, {100, 100}};
    EXPECT_EQ(PolygonBounds(pts, 2), (TRect{-4, 2, 8, 9}));   // the last index limits the points
    const TPoint one{7, 8};
    EXPECT_EQ(PolygonRect(&one, 1), (TRect{7, 8, 8, 9}));
    EXPECT_EQ(PolygonRect(pts.data(), 3), (TRect{-4, 2, 9, 10}));
}

TEST(CanvasGeometry, BackFaceSignAndColours)
{
    // (P0 - P1) x (P2 - P1) negative: turned away. Clockwise on screen (y down) is turned away.
    EXPECT_TRUE(IsBackFaceTriple({0, 0}, {10, 0}, {10, 10}));
    EXPECT_FALSE(IsBackFaceTriple({10, 10}, {10, 0}, {0, 0}));
    EXPECT_FALSE(IsBackFaceTriple({0, 0}, {10, 0}, {20, 0}));   // collinear: zero is not negative
    EXPECT_TRUE(IsBackFaceQuad({TPoint{0, 0}, {10, 0}, {10, 10}, {0, 10}}));
    EXPECT_FALSE(IsBackFaceQuad({TPoint{0, 10}, {10, 10}, {10, 0}, {0, 0}}));
    // Products beyond 32 bits must not wrap: here the true value is +1.44e16.
    EXPECT_FALSE(IsBackFaceTriple({60000000, 60000000}, {60000000, -60000000}, {-60000000, -60000000}));
    EXPECT_TRUE(IsBackFaceTriple({-60000000, -60000000}, {60000000, -60000000}, {60000000, 60000000}));

    EXPECT_EQ(ColorDarker(0x000A0A0A, 20), 0);
    EXPECT_EQ(ColorBrighter(0x00F0F0F0, 20), 0x00FFFFFF);
    EXPECT_EQ(ColorDarker(RGBColor(100, 50, 10), 30), RGBColor(70, 20, 0));
    EXPECT_EQ(ColorBrighter(clBtnShadow, 16), RGBColor(0x90, 0x90, 0x90));   // system colours resolve first
    TRGBTriple t;
    ColorToRGBTriple(RGBColor(1, 2, 3), t);
    EXPECT_EQ(t.rgbtRed, 1);
    EXPECT_EQ(t.rgbtGreen, 2);
    EXPECT_EQ(t.rgbtBlue, 3);
    EXPECT_EQ(ColorToRGB(clBtnFace), 0xC0C0C0u);
    EXPECT_EQ(ColorToRGB(clRed), 0x0000FFu);
}

namespace {

// True when every point lies inside or on the convex polygon (either orientation).
bool Encloses(const TPointArray& hull, const TPoint& p)
{
    int sign = 0;
    for (size_t i = 0; i < hull.size(); ++i) {
        const TPoint& a = hull[i];
        const TPoint& b = hull[(i + 1) % hull.size()];
        const int64_t cross = static_cast<int64_t>(b.X - a.X) * (p.Y - a.Y) - static_cast<int64_t>(b.Y - a.Y) * (p.X - a.X);
        if (cross == 0)
            continue;
        const int s = cross > 0 ? 1 : -1;
        if (sign == 0)
            sign = s;
        else if (s != sign)
            return false;
    }
    return true;
}

bool IsConvex(const TPointArray& hull)
{
    int sign = 0;
    for (size_t i = 0; i < hull.size(); ++i) {
        const TPoint& a = hull[i];
        const TPoint& b = hull[(i + 1) % hull.size()];
        const TPoint& c = hull[(i + 2) % hull.size()];
        const int64_t cross = static_cast<int64_t>(b.X - a.X) * (c.Y - b.Y) - static_cast<int64_t>(b.Y - a.Y) * (c.X - b.X);
        if (cross == 0)
            continue;
        const int s = cross > 0 ? 1 : -1;
        if (sign == 0)
            sign = s;
        else if (s != sign)
            return false;
    }
    return true;
}

} // namespace

TEST(CanvasGeometry, ConvexHullOfFewPoints)
{
    TPointArray two{{0, 0}, {5, 5}};
    EXPECT_FALSE(ConvexHull(two));
    TPointArray three{{0, 0}, {5, 5}, {9, 1}};
    const TPointArray copy = three;
    EXPECT_TRUE(ConvexHull(three));
    EXPECT_EQ(three, copy);
}

TEST(CanvasGeometry, ConvexHullDropsInnerPointsAndEndsWithThePivot)
{
    TPointArray pts{{0, 0}, {10, 0}, {10, 10}, {0, 10}, {5, 5}, {3, 7}, {6, 2}};
    ASSERT_TRUE(ConvexHull(pts));
    ASSERT_EQ(pts.size(), 4u);
    EXPECT_EQ(pts.back(), (TPoint{10, 0}));   // smallest Y, ties the largest X
    for (const TPoint& corner : {TPoint{0, 0}, TPoint{10, 10}, TPoint{0, 10}})
        EXPECT_NE(std::find(pts.begin(), pts.end(), corner), pts.end());
}

TEST(CanvasGeometry, ConvexHullOfRandomCloudsEnclosesEveryPoint)
{
    std::mt19937 rng(42);
    std::uniform_int_distribution<int> coord(-500, 500);
    for (int round = 0; round < 200; ++round) {
        const int n = 4 + round % 12;
        TPointArray pts;
        for (int i = 0; i < n; ++i)
            pts.push_back(TPoint{coord(rng), coord(rng)});
        TPointArray hull = pts;
        ASSERT_TRUE(ConvexHull(hull));
        ASSERT_GE(hull.size(), 3u);
        EXPECT_TRUE(IsConvex(hull)) << "round " << round;
        for (const TPoint& p : pts)
            EXPECT_TRUE(Encloses(hull, p)) << "round " << round;
        for (const TPoint& h : hull)   // hull points come from the input
            EXPECT_NE(std::find(pts.begin(), pts.end(), h), pts.end());
    }
}

TEST(CanvasGeometry, ConvexHullOfProjectedBoxCorners)
{
    // The eight corners of a box seen in oblique projection: the hull has six corners.
    TPointArray pts{{10, 50}, {60, 50}, {60, 90}, {10, 90}, {30, 30}, {80, 30}, {80, 70}, {30, 70}};
    ASSERT_TRUE(ConvexHull(pts));
    EXPECT_EQ(pts.size(), 6u);
    EXPECT_TRUE(IsConvex(pts));
}
