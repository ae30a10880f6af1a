// Drawing rules of the classic device context that the chart relies on, each checked against what
// the rule says rather than against how the raster context draws.

#include "GdiTestSupport.h"

#include "platform/gdi/RasterDC.h"

#include <QImage>
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <functional>
#include <random>
#include <set>
#include <utility>

using namespace gdi;
using namespace gditest;

namespace {

using PixelSet = std::set<std::pair<int, int>>;

PixelSet Ink(const RasterDC& dc)
{
    PixelSet out;
    for (int y = 0; y < dc.Height(); ++y)
        for (int x = 0; x < dc.Width(); ++x)
            if (dc.GetPixel(x, y) != kWhite)
                out.insert({x, y});
    return out;
}

// Left, top, right and bottom of the pixels, all inclusive.
std::array<int, 4> BoxOf(const PixelSet& ink)
{
    std::array<int, 4> b{1 << 30, 1 << 30, -1, -1};
    for (const auto& [x, y] : ink)
        b = {std::min(b[0], x), std::min(b[1], y), std::max(b[2], x), std::max(b[3], y)};
    return b;
}

// The ink turned half a turn about the centre of its bounding box.
bool PointSymmetric(const PixelSet& ink)
{
    const auto [l, t, r, b] = BoxOf(ink);
    for (const auto& [x, y] : ink) {
        if (!ink.count({l + r - x, t + b - y}))
            return false;
    }
    return true;
}

Pen NullPen()
{
    Pen p;
    p.style = PS_NULL;
    return p;
}

} // namespace

TEST(GdiRules, ARectangleOfOnePixelDrawsNothingAndReversedCornersAreNormalised)
{
    RasterDC dc(12, 12);
    dc.SelectPen(CosmeticPen(kBlack));
    dc.SelectBrush(SolidBrush(kRed));
    dc.Rectangle(4, 4, 5, 5);
    EXPECT_TRUE(Ink(dc).empty());

    RasterDC forward(12, 12), reversed(12, 12);
    for (RasterDC* d : {&forward, &reversed}) {
        d->SelectPen(CosmeticPen(kBlack));
        d->SelectBrush(SolidBrush(kRed));
    }
    forward.Rectangle(2, 3, 9, 8);
    reversed.Rectangle(9, 8, 2, 3);
    EXPECT_EQ(Ink(forward), Ink(reversed));
    EXPECT_EQ(forward.GetPixel(5, 5), kRed);
}

// A styled outline is one closed figure from the top-right corner, counter-clockwise, its pattern
// carried round the corners; each pixel is drawn once.
TEST(GdiRules, StyledRectangleOutlineRunsAnticlockwiseFromTheTopRight)
{
    const int l = 1, t = 1, r = 14, b = 9;   // Rectangle(1, 1, 15, 10)
    RasterDC dc(18, 12);
    dc.SetBkMode(TRANSPARENT);
    dc.SelectPen(CosmeticPen(kBlack, PS_DOT));   // three on, three off
    dc.SelectBrush(NullBrush());
    dc.Rectangle(l, t, r + 1, b + 1);
    const std::array<Point, 5> corners = {{{r, t}, {l, t}, {l, b}, {r, b}, {r, t}}};
    PixelSet on;
    int step = 0;
    for (size_t i = 0; i + 1 < corners.size(); ++i) {
        const Point a = corners[i], z = corners[i + 1];
        const int n = std::max(std::abs(z.x - a.x), std::abs(z.y - a.y));
        for (int k = 0; k < n; ++k, ++step) {
            if (step % 6 < 3)
                on.insert({a.x + (z.x - a.x) / n * k, a.y + (z.y - a.y) / n * k});
        }
    }
    EXPECT_EQ(Ink(dc), on);
}

TEST(GdiRules, AOnePixelLineThroughATieTakesTheSamePixelEitherWay)
{
    // Every line between two points of a 9 x 9 grid, drawn both ways: apart from the two ends
    // (each direction leaves out its last pixel) the pixels are the same.
    for (int a = 0; a < 81; ++a) {
        for (int z = a + 1; z < 81; ++z) {
            const Point p{2 + a % 9, 2 + a / 9}, q{2 + z % 9, 2 + z / 9};
            RasterDC one(14, 14), two(14, 14);
            one.SelectPen(CosmeticPen(kBlack));
            two.SelectPen(CosmeticPen(kBlack));
            one.MoveToEx(p.x, p.y);
            one.LineTo(q.x, q.y);
            two.MoveToEx(q.x, q.y);
            two.LineTo(p.x, p.y);
            PixelSet forward = Ink(one), backward = Ink(two);
            for (PixelSet* s : {&forward, &backward}) {
                s->erase({p.x, p.y});
                s->erase({q.x, q.y});
            }
            ASSERT_EQ(forward, backward) << p.x << "," << p.y << " - " << q.x << "," << q.y;
        }
    }
}

// Ellipse, RoundRect, Arc, Pie and Chord with a one-pixel pen cover left..right-1 and
// top..bottom-1 like Rectangle, and the ellipse is the same mirrored either way.
TEST(GdiRules, EllipseFamilyCoversItsBoxLikeRectangle)
{
    const int sizes[] = {1, 2, 3, 4, 5, 6, 7, 8, 11, 16, 23, 40};
    for (int w : sizes) {
        for (int h : sizes) {
            const int l = 3, t = 2, r = l + w, b = t + h;
            const std::array<int, 4> box{l, t, r - 1, b - 1};
            const std::string where = std::to_string(w) + " x " + std::to_string(h);
            auto draw = [](const std::function<void(RasterDC&)>& shape, const Pen& pen, const Brush& brush) {
                RasterDC dc(50, 50);
                dc.SelectPen(pen);
                dc.SelectBrush(brush);
                shape(dc);
                return Ink(dc);
            };
            const auto ellipse = [&](RasterDC& dc) { dc.Ellipse(l, t, r, b); };
            const auto arc = [&](RasterDC& dc) { dc.Arc(l, t, r, b, 60, 30, 60, 30); };   // equal rays: whole
            const std::vector<std::pair<const char*, std::function<void(RasterDC&)>>> shapes = {
                {"ellipse", ellipse},
                {"roundrect", [&](RasterDC& dc) { dc.RoundRect(l, t, r, b, 7, 5); }},
                {"arc", arc},
                {"pie", [&](RasterDC& dc) { dc.Pie(l, t, r, b, 0, 0, 0, 0); }},
                {"chord", [&](RasterDC& dc) { dc.Chord(l, t, r, b, 1, 1, 1, 1); }},
            };
            for (const auto& [name, shape] : shapes)
                EXPECT_EQ(BoxOf(draw(shape, CosmeticPen(kBlack), SolidBrush(kRed))), box) << name << " " << where;
            const PixelSet outline = draw(ellipse, CosmeticPen(kBlack), NullBrush());
            for (const auto& [x, y] : outline) {
                EXPECT_TRUE(outline.count({l + r - 1 - x, y}) && outline.count({x, t + b - 1 - y})) << where;
            }
            // The whole arc is the ellipse's outline; a null pen does not shrink the ellipse's fill.
            EXPECT_EQ(draw(arc, CosmeticPen(kBlack), NullBrush()), outline) << where;
            const PixelSet area = draw(ellipse, NullPen(), SolidBrush(kRed));
            EXPECT_EQ(BoxOf(area), box) << where;
            for (const auto& px : outline)
                EXPECT_TRUE(area.count(px)) << where;
        }
    }
}

TEST(GdiRules, EllipticRegionIsOnePixelShortOfTheEllipseOnTheRightAndBottom)
{
    for (const auto& [w, h] : std::vector<std::pair<int, int>>{{10, 10}, {11, 7}, {4, 16}, {31, 30}}) {
        const Region region = CreateEllipticRgn(2, 3, 2 + w, 3 + h);
        // Ellipse(2, 3, 2 + w, 3 + h) covers x 2 .. 1 + w; the region one pixel less.
        EXPECT_EQ(region.Box(), (Rect{2, 3, 1 + w, 2 + h})) << w << " x " << h;
        PixelSet pixels;
        for (const QRect& rect : region.Pixels())
            for (int y = rect.top(); y <= rect.bottom(); ++y)
                for (int x = rect.left(); x <= rect.right(); ++x)
                    pixels.insert({x, y});
        for (const auto& [x, y] : pixels) {
            EXPECT_TRUE(pixels.count({2 + w - 2 - (x - 2), y}) && pixels.count({x, 3 + h - 2 - (y - 3)})) << w << " x " << h;
        }
        EXPECT_FALSE(pixels.count({2, 3})) << w << " x " << h;   // an ellipse, not its box
        EXPECT_TRUE(pixels.count({2 + (w - 1) / 2, 3 + (h - 1) / 2})) << w << " x " << h;
    }
}

TEST(GdiRules, ClockwiseArcsPiesAndChordsTakeTheOtherSide)
{
    // Start at three o'clock, end at twelve: counter-clockwise the upper right quarter,
    // clockwise the other three.
    auto quarters = [](int direction, bool pie) {
        RasterDC dc(41, 41);
        dc.SetArcDirection(direction);
        dc.SelectPen(CosmeticPen(kBlack));
        dc.SelectBrush(SolidBrush(kRed));
        if (pie)
            dc.Pie(0, 0, 41, 41, 40, 20, 20, 0);
        else
            dc.Arc(0, 0, 41, 41, 40, 20, 20, 0);
        const std::array<Point, 4> probes = pie ? std::array<Point, 4>{{{28, 12}, {12, 12}, {12, 28}, {28, 28}}}
                                                : std::array<Point, 4>{{{34, 6}, {6, 6}, {6, 34}, {34, 34}}};
        std::array<bool, 4> out{};
        for (size_t i = 0; i < 4; ++i) {
            // Anything drawn near the probe (the arc passes close to the diagonal points).
            for (int dy = -3; dy <= 3; ++dy)
                for (int dx = -3; dx <= 3; ++dx)
                    out[i] = out[i] || dc.GetPixel(probes[i].x + dx, probes[i].y + dy) != kWhite;
        }
        return out;
    };
    EXPECT_EQ(RasterDC(1, 1).GetArcDirection(), AD_COUNTERCLOCKWISE);
    for (bool pie : {false, true}) {
        EXPECT_EQ(quarters(AD_COUNTERCLOCKWISE, pie), (std::array<bool, 4>{true, false, false, false})) << pie;
        EXPECT_EQ(quarters(AD_CLOCKWISE, pie), (std::array<bool, 4>{false, true, true, true})) << pie;
    }
}

TEST(GdiRules, PolygonFillTakesPixelsOnLeftEdgesAndLeavesThoseOnRightEdges)
{
    auto fill = [](std::initializer_list<Point> pts) {
        RasterDC dc(12, 12);
        dc.SelectPen(NullPen());
        dc.SelectBrush(SolidBrush(kRed));
        const std::vector<Point> v(pts);
        dc.Polygon(v.data(), static_cast<int>(v.size()));
        return dc.Image().copy();
    };
    auto row = [](const QImage& img, int y) {
        std::string s;
        for (int x = 0; x < 10; ++x)
            s += (img.pixel(x, y) & 0xFFFFFF) == 0xFF0000u ? '#' : '.';
        return s;
    };
    // The slanted edge on the right: pixel (4, 4) lies on it and stays out.
    const QImage right = fill({{0, 0}, {8, 8}, {0, 8}});
    EXPECT_EQ(row(right, 0), "..........");
    EXPECT_EQ(row(right, 4), "####......");
    EXPECT_EQ(row(right, 7), "#######...");
    EXPECT_EQ(row(right, 8), "..........");   // the bottom edge is outside
    // The slanted edge on the left: pixel (4, 4) lies on it and is filled.
    const QImage left = fill({{8, 0}, {8, 8}, {0, 8}});
    EXPECT_EQ(row(left, 0), "..........");
    EXPECT_EQ(row(left, 4), "....####..");
    EXPECT_EQ(row(left, 7), ".#######..");
}

TEST(GdiRules, PolygonFillNeverSpillsOutsideItsOutline)
{
    std::mt19937 rng(11);
    std::uniform_int_distribution<int> coord(1, 38);
    for (int round = 0; round < 200; ++round) {
        std::vector<Point> pts(3 + round % 5);
        for (Point& p : pts)
            p = Point{coord(rng), coord(rng)};
        RasterDC fill(40, 40), outline(40, 40);
        fill.SelectPen(NullPen());
        fill.SelectBrush(SolidBrush(kRed));
        fill.SetPolyFillMode(round % 2 ? WINDING : ALTERNATE);
        fill.Polygon(pts.data(), static_cast<int>(pts.size()));
        outline.SelectPen(CosmeticPen(kBlack));
        outline.SelectBrush(NullBrush());
        outline.Polygon(pts.data(), static_cast<int>(pts.size()));
        for (int y = 0; y < 40; ++y) {
            int lo = 1 << 30, hi = -1;
            for (int x = 0; x < 40; ++x)
                if (outline.GetPixel(x, y) == kBlack) {
                    lo = std::min(lo, x);
                    hi = std::max(hi, x);
                }
            for (int x = 0; x < 40; ++x) {
                if (fill.GetPixel(x, y) == kRed) {
                    ASSERT_TRUE(x >= lo && x <= hi) << "round " << round << " at " << x << "," << y;
                }
            }
        }
    }
}

// A square cap reaches half the pen's width beyond each end: a horizontal or vertical line of
// length L with width w is a solid (L + w) x w block centred on the line.
TEST(GdiRules, SquareCapsExtendByHalfTheWidth)
{
    for (int w = 2; w <= 7; ++w) {
        for (bool vertical : {false, true}) {
            RasterDC dc(60, 60);
            dc.SelectPen(WidePen(kBlack, w, PS_SOLID | PS_ENDCAP_SQUARE | PS_JOIN_MITER));
            const Point a = vertical ? Point{30, 10} : Point{10, 30}, z = vertical ? Point{30, 30} : Point{30, 30};
            dc.MoveToEx(a.x, a.y);
            dc.LineTo(z.x, z.y);
            const Box ink = InkBox(dc);
            const int along = vertical ? ink.bottom - ink.top + 1 : ink.right - ink.left + 1;
            const int across = vertical ? ink.right - ink.left + 1 : ink.bottom - ink.top + 1;
            EXPECT_EQ(along, 20 + w) << w << (vertical ? " vertical" : " horizontal");
            EXPECT_EQ(across, w) << w;
            EXPECT_EQ(CountIf(dc, [](int, int, COLORREF c) { return c != kWhite; }), along * across) << w;
            const double centre = vertical ? (ink.top + ink.bottom) / 2.0 : (ink.left + ink.right) / 2.0;
            EXPECT_LE(std::abs(centre - 20.0), 0.5) << w;
        }
    }
}

TEST(GdiRules, RoundCapsOfWidthTwoAndThreeAreSymmetric)
{
    const std::array<std::array<Point, 2>, 5> lines = {
        {{{{10, 20}, {30, 20}}}, {{{20, 8}, {20, 31}}}, {{{8, 9}, {29, 30}}}, {{{9, 30}, {31, 12}}}, {{{20, 20}, {20, 20}}}}};
    for (int w : {2, 3}) {
        for (const auto& line : lines) {
            RasterDC there(42, 42), back(42, 42);
            for (RasterDC* dc : {&there, &back})
                dc->SelectPen(WidePen(kBlack, w, PS_SOLID | PS_ENDCAP_ROUND | PS_JOIN_ROUND));
            there.MoveToEx(line[0].x, line[0].y);
            there.LineTo(line[1].x, line[1].y);
            back.MoveToEx(line[1].x, line[1].y);
            back.LineTo(line[0].x, line[0].y);
            const PixelSet ink = Ink(there);
            const std::string where = std::to_string(w) + " from " + std::to_string(line[0].x) + "," + std::to_string(line[0].y);
            ASSERT_FALSE(ink.empty()) << where;
            EXPECT_TRUE(PointSymmetric(ink)) << where;
            EXPECT_EQ(ink, Ink(back)) << where;
        }
    }
}

// A wide polyline's joins are whole at every vertex, also where a long polyline is drawn in
// pieces: the bevel between the two outer corners, which every join covers, is never left open.
TEST(GdiRules, WidePolylineJoinsLeaveNoHole)
{
    // A staircase of right-angled turns, longer than any piece.
    std::vector<Point> stairs;
    for (int i = 0; i < 150; ++i)
        stairs.push_back(Point{10 + (i + 1) / 2 * 6, 10 + i / 2 * 6});
    for (uint32_t join : {PS_JOIN_BEVEL, PS_JOIN_MITER, PS_JOIN_ROUND}) {
        RasterDC dc(480, 480);
        dc.SelectPen(WidePen(kBlack, 7, PS_SOLID | PS_ENDCAP_FLAT | join));
        dc.Polyline(stairs.data(), static_cast<int>(stairs.size()));
        for (size_t i = 1; i + 1 < stairs.size(); ++i) {
            // The bevel spans the two outer corners, half the width out from the vertex along
            // each stroke's outward normal, away from the turn.
            const Point v = stairs[i], p = stairs[i - 1], n = stairs[i + 1];
            const int ox = (p.x - v.x) + (n.x - v.x) > 0 ? -1 : 1;
            const int oy = (p.y - v.y) + (n.y - v.y) > 0 ? -1 : 1;
            for (const auto& [dx, dy] : {std::pair{1, 1}, std::pair{1, 2}, std::pair{2, 1}}) {
                EXPECT_EQ(dc.GetPixel(v.x + ox * dx, v.y + oy * dy), kBlack)
                    << "join " << join << " vertex " << i << " at " << v.x + ox * dx << "," << v.y + oy * dy;
            }
        }
    }
}
