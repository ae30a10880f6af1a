// Regions, paths, arcs, fills, bit transfers and wide pens of the raster device context.
#include "GdiTestSupport.h"

#include "platform/gdi/RasterDC.h"

#include <QImage>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <random>
#include <string>

using namespace gdi;

using namespace gditest;

TEST(GdiRaster, ClipRegionsOfEveryShapeAndCombination)
{
    auto filled = [](const std::function<void(RasterDC&)>& clip) {
        RasterDC dc(20, 20);
        clip(dc);
        FillAll(dc, kRed);
        dc.SelectClipRgn(nullptr);
        return dc.Image().copy();
    };
    auto isRed = [](const QImage& img, int x, int y) { return FromQRgb(img.pixel(x, y)) == kRed; };

    const QImage rect = filled([](RasterDC& dc) {
        const Region r = CreateRectRgn(2, 3, 6, 8);
        dc.SelectClipRgn(&r);
    });
    EXPECT_TRUE(isRed(rect, 2, 3));
    EXPECT_TRUE(isRed(rect, 5, 7));
    EXPECT_FALSE(isRed(rect, 6, 7));
    EXPECT_FALSE(isRed(rect, 5, 8));

    const QImage ellipse = filled([](RasterDC& dc) {
        const Region r = CreateEllipticRgn(0, 0, 20, 20);
        dc.SelectClipRgn(&r);
    });
    EXPECT_TRUE(isRed(ellipse, 10, 10));
    EXPECT_FALSE(isRed(ellipse, 0, 0));
    EXPECT_FALSE(isRed(ellipse, 19, 19));

    const QImage poly = filled([](RasterDC& dc) {
        const Point tri[] = {{0, 0}, {20, 0}, {0, 20}};
        const Region r = CreatePolygonRgn(tri, 3, ALTERNATE);
        dc.SelectClipRgn(&r);
    });
    EXPECT_TRUE(isRed(poly, 2, 2));
    EXPECT_FALSE(isRed(poly, 17, 17));

    const QImage round = filled([](RasterDC& dc) {
        const Region r = CreateRoundRectRgn(0, 0, 20, 20, 12, 12);
        dc.SelectClipRgn(&r);
    });
    EXPECT_TRUE(isRed(round, 10, 0));
    EXPECT_TRUE(isRed(round, 10, 10));
    EXPECT_FALSE(isRed(round, 0, 0));

    const QImage andMode = filled([](RasterDC& dc) {
        const Region a = CreateRectRgn(0, 0, 10, 10);
        const Region b = CreateRectRgn(5, 5, 15, 15);
        dc.SelectClipRgn(&a);
        dc.ExtSelectClipRgn(&b, RGN_AND);
    });
    EXPECT_TRUE(isRed(andMode, 7, 7));
    EXPECT_FALSE(isRed(andMode, 3, 3));
    EXPECT_FALSE(isRed(andMode, 12, 12));

    const QImage xorMode = filled([](RasterDC& dc) {
        const Region a = CreateRectRgn(0, 0, 10, 10);
        const Region b = CreateRectRgn(5, 5, 15, 15);
        dc.SelectClipRgn(&a);
        dc.ExtSelectClipRgn(&b, RGN_XOR);
    });
    EXPECT_FALSE(isRed(xorMode, 7, 7));
    EXPECT_TRUE(isRed(xorMode, 3, 3));
    EXPECT_TRUE(isRed(xorMode, 12, 12));

    const QImage diffMode = filled([](RasterDC& dc) {
        const Region b = CreateRectRgn(5, 5, 15, 15);
        dc.ExtSelectClipRgn(&b, RGN_DIFF);   // no clip yet: the whole picture minus b
    });
    EXPECT_FALSE(isRed(diffMode, 7, 7));
    EXPECT_TRUE(isRed(diffMode, 3, 3));
    EXPECT_TRUE(isRed(diffMode, 18, 18));
}

TEST(GdiRaster, PathsStrokeFillAndClip)
{
    RasterDC dc(20, 20);
    dc.SelectPen(CosmeticPen(kBlack));
    dc.SelectBrush(SolidBrush(kRed));
    dc.BeginPath();
    dc.Rectangle(2, 2, 18, 18);
    // Drawing inside a path only records it.
    EXPECT_EQ(CountIf(dc, [](int, int, COLORREF c) { return c != kWhite; }), 0);
    dc.EndPath();
    dc.StrokePath();
    EXPECT_NE(dc.GetPixel(2, 10), kWhite);
    EXPECT_EQ(dc.GetPixel(10, 10), kWhite);   // stroked, not filled

    RasterDC clip(20, 20);
    clip.BeginPath();
    clip.Ellipse(0, 0, 20, 20);
    clip.EndPath();
    ASSERT_TRUE(clip.SelectClipPath(RGN_AND));
    FillAll(clip, kBlue);
    EXPECT_EQ(clip.GetPixel(10, 10), kBlue);
    EXPECT_EQ(clip.GetPixel(0, 0), kWhite);
    EXPECT_FALSE(clip.SelectClipPath(RGN_AND));   // the path was used up
}

TEST(GdiRaster, TextPathClipsToTheGlyphs)
{
    RasterDC dc(120, 40);
    Font f;
    f.height = -30;
    f.faceName = QStringLiteral("Liberation Sans");
    dc.SelectFont(f);
    dc.SetBkMode(TRANSPARENT);
    dc.BeginPath();
    dc.TextOut(5, 2, QStringLiteral("HI"));
    dc.EndPath();
    ASSERT_TRUE(dc.SelectClipPath(RGN_AND));
    FillAll(dc, kRed);
    const Size ext = dc.GetTextExtentPoint(QStringLiteral("HI"));
    const int red = CountIf(dc, [](int, int, COLORREF c) { return c == kRed; });
    EXPECT_GT(red, 50);
    EXPECT_LT(red, ext.cx * ext.cy);   // glyphs, not the whole cell
    const Box b = InkBox(dc);
    EXPECT_GE(b.left, 5);
    EXPECT_LT(b.right, 5 + ext.cx);
    EXPECT_GE(b.top, 2);
    EXPECT_LT(b.bottom, 2 + ext.cy);
}

TEST(GdiRaster, ArcRunsCounterClockwiseFromTheStartRay)
{
    auto quadrants = [](int32_t xs, int32_t ys, int32_t xe, int32_t ye) {
        RasterDC dc(41, 41);
        dc.SelectPen(CosmeticPen(kBlack));
        dc.Arc(0, 0, 41, 41, xs, ys, xe, ye);
        // upper right, upper left, lower left, lower right, leaving out the axes' neighbourhood
        std::array<int, 4> q{};
        for (int y = 0; y < 41; ++y)
            for (int x = 0; x < 41; ++x) {
                if (dc.GetPixel(x, y) == kWhite || std::abs(x - 20) < 3 || std::abs(y - 20) < 3)
                    continue;
                const int i = y < 20 ? (x > 20 ? 0 : 1) : (x < 20 ? 2 : 3);
                ++q[static_cast<size_t>(i)];
            }
        return q;
    };
    // Start at three o'clock, end at twelve: the upper right quarter only.
    const auto a = quadrants(40, 20, 20, 0);
    EXPECT_GT(a[0], 10);
    EXPECT_EQ(a[1], 0);
    EXPECT_EQ(a[2], 0);
    EXPECT_EQ(a[3], 0);
    // The other way round: the three other quarters.
    const auto b = quadrants(20, 0, 40, 20);
    EXPECT_EQ(b[0], 0);
    EXPECT_GT(b[1], 10);
    EXPECT_GT(b[2], 10);
    EXPECT_GT(b[3], 10);
    // Radial points far outside the ellipse only give directions.
    const auto c = quadrants(400, 20, 20, -300);
    EXPECT_EQ(c, a);
}

TEST(GdiRaster, PieFillsTheSectorBetweenTheRays)
{
    RasterDC dc(41, 41);
    dc.SelectPen(CosmeticPen(kBlack));
    dc.SelectBrush(SolidBrush(kRed));
    dc.Pie(0, 0, 41, 41, 40, 20, 20, 0);
    EXPECT_EQ(dc.GetPixel(28, 12), kRed);
    EXPECT_EQ(dc.GetPixel(12, 28), kWhite);
    EXPECT_EQ(dc.GetPixel(12, 12), kWhite);
}

TEST(GdiRaster, PolygonFillModesAlternateAndWinding)
{
    // A five-pointed star: its centre is inside twice.
    const Point star[] = {{20, 2}, {31, 36}, {2, 14}, {38, 14}, {9, 36}};
    for (int mode : {ALTERNATE, WINDING}) {
        RasterDC dc(40, 40);
        Pen none;
        none.style = PS_NULL;
        dc.SelectPen(none);
        dc.SelectBrush(SolidBrush(kRed));
        dc.SetPolyFillMode(mode);
        dc.Polygon(star, 5);
        EXPECT_EQ(dc.GetPixel(20, 6), kRed);    // a tip
        EXPECT_EQ(dc.GetPixel(20, 20) == kRed, mode == WINDING) << mode;
    }
    // A square polygon without pen fills exactly right/bottom exclusive.
    RasterDC sq(10, 10);
    Pen none;
    none.style = PS_NULL;
    sq.SelectPen(none);
    sq.SelectBrush(SolidBrush(kRed));
    const Point pts[] = {{2, 2}, {6, 2}, {6, 5}, {2, 5}};
    sq.Polygon(pts, 4);
    EXPECT_EQ(CountIf(sq, [](int, int, COLORREF c) { return c == kRed; }), 4 * 3);
}

TEST(GdiRaster, HatchBackgroundFollowsTheBackgroundMode)
{
    for (int mode : {TRANSPARENT, OPAQUE}) {
        RasterDC dc(16, 16);
        FillAll(dc, kBlack);
        Brush hatch;
        hatch.style = BS_HATCHED;
        hatch.hatch = HS_CROSS;
        hatch.color = kRed;
        dc.SetBkMode(mode);
        dc.SetBkColor(kBlue);
        dc.FillRect(Rect{0, 0, 16, 16}, hatch);
        const int red = CountIf(dc, [](int, int, COLORREF c) { return c == kRed; });
        const int blue = CountIf(dc, [](int, int, COLORREF c) { return c == kBlue; });
        const int black = CountIf(dc, [](int, int, COLORREF c) { return c == kBlack; });
        EXPECT_GT(red, 0);
        EXPECT_LT(red, 256);
        if (mode == OPAQUE) {
            EXPECT_EQ(black, 0);
            EXPECT_EQ(red + blue, 256);
        } else {
            EXPECT_EQ(blue, 0);
            EXPECT_EQ(red + black, 256);
        }
    }
}

TEST(GdiRaster, BitTransfersCopyInvertAndRespectTheClip)
{
    QImage src(4, 3, QImage::Format_RGB32);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 4; ++x)
            src.setPixel(x, y, qRgb(x * 60, y * 100, 7));
    RasterDC dc(12, 12);
    dc.BitBlt(5, 6, 4, 3, src, 0, 0, SRCCOPY);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 4; ++x)
            EXPECT_EQ(dc.GetPixel(5 + x, 6 + y), FromQRgb(src.pixel(x, y)));
    EXPECT_EQ(dc.GetPixel(4, 6), kWhite);
    EXPECT_EQ(dc.GetPixel(9, 6), kWhite);

    const QImage before = dc.Image().copy();
    dc.BitBlt(0, 0, 4, 3, src, 0, 0, SRCINVERT);
    EXPECT_NE(dc.Image(), before);
    dc.BitBlt(0, 0, 4, 3, src, 0, 0, SRCINVERT);
    EXPECT_EQ(dc.Image(), before);

    // Part of the source, and a copy of the picture onto itself.
    dc.BitBlt(0, 0, 2, 1, src, 2, 1, SRCCOPY);
    EXPECT_EQ(dc.GetPixel(0, 0), FromQRgb(src.pixel(2, 1)));
    dc.BitBlt(6, 7, 4, 3, dc.Image(), 5, 6, SRCCOPY);
    EXPECT_EQ(dc.GetPixel(6, 7), FromQRgb(src.pixel(0, 0)));
    EXPECT_EQ(dc.GetPixel(9, 9), FromQRgb(src.pixel(3, 2)));

    RasterDC clipped(12, 12);
    const Region r = CreateRectRgn(0, 0, 6, 12);
    clipped.SelectClipRgn(&r);
    clipped.BitBlt(4, 0, 4, 3, src, 0, 0, SRCCOPY);
    EXPECT_EQ(clipped.GetPixel(5, 0), FromQRgb(src.pixel(1, 0)));
    EXPECT_EQ(clipped.GetPixel(6, 0), kWhite);
}

// A whole picture copied over one of its size (a chart's buffer shown in its window) is shared:
// what either side draws afterwards stays on that side. A picture about to be replaced lets go of
// the shared pixels, and the other side then draws into them in place.
TEST(GdiRaster, WholePictureCopiesShareThePixelsUntilEitherSideDraws)
{
    RasterDC buffer(16, 8), window(16, 8);
    buffer.FillRect(Rect{0, 0, 16, 8}, SolidBrush(kRed));
    window.BitBlt(0, 0, 16, 8, buffer.Image(), 0, 0, SRCCOPY);
    EXPECT_EQ(window.Image(), buffer.Image());
    buffer.FillRect(Rect{0, 0, 4, 4}, SolidBrush(kBlue));
    EXPECT_EQ(window.GetPixel(1, 1), kRed);
    EXPECT_EQ(buffer.GetPixel(1, 1), kBlue);
    window.BitBlt(0, 0, 16, 8, buffer.Image(), 0, 0, SRCCOPY);
    window.SelectPen(CosmeticPen(kGreen));
    window.MoveToEx(0, 6);
    window.LineTo(16, 6);
    EXPECT_EQ(window.GetPixel(3, 6), kGreen);
    EXPECT_EQ(buffer.GetPixel(3, 6), kRed);

    window.BitBlt(0, 0, 16, 8, buffer.Image(), 0, 0, SRCCOPY);
    window.ReleaseSharedPicture();
    const uchar* pixels = buffer.Image().constBits();
    buffer.FillRect(Rect{0, 0, 16, 8}, SolidBrush(kGreen));
    EXPECT_EQ(buffer.Image().constBits(), pixels);
    window.BitBlt(0, 0, 16, 8, buffer.Image(), 0, 0, SRCCOPY);
    EXPECT_EQ(window.GetPixel(9, 3), kGreen);

    // Part of a picture, or one of another size, is copied as before.
    RasterDC small(8, 8);
    small.BitBlt(0, 0, 16, 8, buffer.Image(), 0, 0, SRCCOPY);
    buffer.FillRect(Rect{0, 0, 16, 8}, SolidBrush(kBlue));
    EXPECT_EQ(small.GetPixel(7, 7), kGreen);
}

TEST(GdiRaster, ZeroLengthWideLineIsADotUnlessTheCapIsFlat)
{
    for (uint32_t cap : {PS_ENDCAP_ROUND, PS_ENDCAP_SQUARE, PS_ENDCAP_FLAT}) {
        RasterDC dc(20, 20);
        dc.SelectPen(WidePen(kBlack, 5, PS_SOLID | cap));
        dc.MoveToEx(10, 10);
        dc.LineTo(10, 10);
        const int ink = CountIf(dc, [](int, int, COLORREF c) { return c != kWhite; });
        if (cap == PS_ENDCAP_FLAT) {
            EXPECT_EQ(ink, 0);
            continue;
        }
        EXPECT_EQ(dc.GetPixel(10, 10), kBlack) << cap;
        EXPECT_EQ(dc.GetPixel(12, 10), kBlack) << cap;
        EXPECT_EQ(dc.GetPixel(13, 10), kWhite) << cap;
        EXPECT_EQ(dc.GetPixel(12, 12) == kBlack, cap == PS_ENDCAP_SQUARE) << cap;
    }
}

TEST(GdiRaster, WideRoundPensCoverExactlyTheCapsuleAroundEachSegment)
{
    std::mt19937 rng(9);
    std::uniform_int_distribution<int> coord(2, 37);
    for (int round = 0; round < 40; ++round) {
        const int width = 2 + round % 4;
        RasterDC dc(40, 40);
        dc.SelectPen(WidePen(kBlack, width, PS_SOLID | PS_ENDCAP_ROUND | PS_JOIN_ROUND));
        const Point pts[] = {{coord(rng), coord(rng)}, {coord(rng), coord(rng)}, {coord(rng), coord(rng)}};
        dc.Polyline(pts, 3);
        auto distance = [&](double px, double py) {
            double best = 1e9;
            for (int i = 0; i < 2; ++i) {
                // An even width across or up and down has the rows or columns of the fill rule:
                // half a pixel up or to the left.
                const double gx = width % 2 == 0 && pts[i].x == pts[i + 1].x ? -0.5 : 0.0;
                const double gy = width % 2 == 0 && pts[i].y == pts[i + 1].y ? -0.5 : 0.0;
                const double ax = pts[i].x + gx, ay = pts[i].y + gy, bx = pts[i + 1].x + gx, by = pts[i + 1].y + gy;
                const double dx = bx - ax, dy = by - ay, len2 = dx * dx + dy * dy;
                double t = len2 > 0 ? ((px - ax) * dx + (py - ay) * dy) / len2 : 0;
                t = std::clamp(t, 0.0, 1.0);
                best = std::min(best, std::hypot(px - ax - t * dx, py - ay - t * dy));
            }
            return best;
        };
        for (int y = 0; y < 40; ++y)
            for (int x = 0; x < 40; ++x) {
                const double dist = distance(x, y);
                if (dist < width / 2.0 - 0.1) {
                    EXPECT_EQ(dc.GetPixel(x, y), kBlack) << round << " at " << x << "," << y;
                } else if (dist > width / 2.0 + 0.1) {
                    EXPECT_EQ(dc.GetPixel(x, y), kWhite) << round << " at " << x << "," << y;
                }
            }
    }
}

TEST(GdiRaster, PatternBrushesTileFromTheOriginAndOneBitPatternsTakeTextAndBackColours)
{
    QImage mono(2, 1, QImage::Format_Mono);
    mono.setColorCount(2);
    mono.setColor(0, qRgb(0, 0, 0));
    mono.setColor(1, qRgb(255, 255, 255));
    mono.setPixel(0, 0, 0);
    mono.setPixel(1, 0, 1);
    Brush b;
    b.style = BS_PATTERN;
    b.pattern = mono;
    RasterDC dc(6, 2);
    dc.SetTextColor(kRed);
    dc.SetBkColor(kBlue);
    dc.FillRect(Rect{0, 0, 6, 2}, b);
    EXPECT_EQ(dc.GetPixel(0, 0), kRed);
    EXPECT_EQ(dc.GetPixel(1, 0), kBlue);
    EXPECT_EQ(dc.GetPixel(4, 1), kRed);
    EXPECT_EQ(dc.GetPixel(5, 1), kBlue);

    QImage colour(2, 2, QImage::Format_RGB32);
    colour.fill(qRgb(0, 255, 0));
    colour.setPixel(1, 1, qRgb(255, 255, 0));
    b.pattern = colour;
    dc.FillRect(Rect{1, 0, 6, 2}, b);   // the pattern stays aligned to the picture, not the rectangle
    EXPECT_EQ(dc.GetPixel(0, 0), kRed);
    EXPECT_EQ(dc.GetPixel(2, 0), kGreen);
    EXPECT_EQ(dc.GetPixel(3, 1), RGB(255, 255, 0));
}

TEST(GdiRaster, LinesFromFarOutsideHitTheSamePixelsAsTheWholeWalk)
{
    // A line walked entirely inside a large picture is the reference; the same line moved so that
    // most of it lies outside a small picture must give the same pixels there, style included.
    std::mt19937 rng(5);
    std::uniform_int_distribution<int> far(-600, 640);
    for (int round = 0; round < 60; ++round) {
        const uint32_t style = round % 3 == 0 ? PS_SOLID : round % 3 == 1 ? PS_DASHDOT : PS_DOT;
        const Point a{far(rng), far(rng)};
        const Point b{far(rng), far(rng)};
        constexpr int kShift = 700;
        RasterDC big(2000, 2000);
        big.SetBkMode(TRANSPARENT);
        big.SelectPen(CosmeticPen(kBlack, style));
        big.MoveToEx(a.x + kShift, a.y + kShift);
        big.LineTo(b.x + kShift, b.y + kShift);
        RasterDC small(40, 40);
        small.SetBkMode(TRANSPARENT);
        small.SelectPen(CosmeticPen(kBlack, style));
        small.MoveToEx(a.x, a.y);
        small.LineTo(b.x, b.y);
        for (int y = 0; y < 40; ++y)
            for (int x = 0; x < 40; ++x)
                ASSERT_EQ(small.GetPixel(x, y), big.GetPixel(x + kShift, y + kShift))
                    << "round " << round << " at " << x << "," << y;
    }
    // The far ends of the pixel range cost nothing and still draw through the picture.
    RasterDC dc(30, 30);
    dc.SelectPen(CosmeticPen(kBlack));
    dc.MoveToEx(-67108863, 15);
    dc.LineTo(67108863, 15);
    EXPECT_EQ(Row(dc, 15, 0, 30), std::string(30, '#'));
    RasterDC wide(30, 30);
    wide.SelectPen(WidePen(kBlack, 3, PS_SOLID | PS_ENDCAP_ROUND | PS_JOIN_ROUND));
    wide.MoveToEx(5, -67108863);
    wide.LineTo(5, 67108863);
    EXPECT_EQ(Column(wide, 5, 0, 30), std::string(30, '#'));
    EXPECT_EQ(Column(wide, 6, 0, 30), std::string(30, '#'));
    EXPECT_EQ(Column(wide, 7, 0, 30), std::string(30, '.'));
}

TEST(GdiRaster, LongShallowWideLinesStayExact)
{
    // Boxes wider than a few pixels take the row-by-row bounds; the pixels must not change.
    RasterDC dc(200, 40);
    dc.SelectPen(WidePen(kBlack, 4, PS_SOLID | PS_ENDCAP_ROUND | PS_JOIN_ROUND));
    const Point a{10, 8}, b{190, 31};
    dc.MoveToEx(a.x, a.y);
    dc.LineTo(b.x, b.y);
    const double dx = b.x - a.x, dy = b.y - a.y, len2 = dx * dx + dy * dy;
    const double ax = a.x, ay = a.y;
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 200; ++x) {
            double t = std::clamp(((x - ax) * dx + (y - ay) * dy) / len2, 0.0, 1.0);
            const double dist = std::hypot(x - ax - t * dx, y - ay - t * dy);
            if (dist < 1.9) {
                EXPECT_EQ(dc.GetPixel(x, y), kBlack) << x << "," << y;
            } else if (dist > 2.1) {
                EXPECT_EQ(dc.GetPixel(x, y), kWhite) << x << "," << y;
            }
        }
}
