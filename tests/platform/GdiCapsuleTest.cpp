// Wide round pens across and up and down are decided in whole half pixels; they must light exactly
// the pixels of the per-pixel capsule test in floating point, which other segments still use.
#include "GdiTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <vector>

using namespace gdi;
using namespace gditest;

TEST(GdiCapsule, LinesAcrossAndUpAndDownLightExactlyThePerPixelCapsules)
{
    // Centre within half the width, on the edge inside; an even width across or up and down lies
    // half a pixel up or to the left.
    auto inCapsule = [](int px, int py, Point a, Point b, int width) {
        const double gx = width % 2 == 0 && a.x == b.x ? -0.5 : 0.0;
        const double gy = width % 2 == 0 && a.y == b.y ? -0.5 : 0.0;
        const double x0 = a.x + gx, y0 = a.y + gy, dx = (b.x + gx) - x0, dy = (b.y + gy) - y0;
        const double len2 = dx * dx + dy * dy, cx = px - x0, cy = py - y0;
        const double t = std::clamp(len2 > 0 ? (cx * dx + cy * dy) / len2 : 0.0, 0.0, 1.0);
        const double ex = cx - t * dx, ey = cy - t * dy;
        return ex * ex + ey * ey <= width / 2.0 * (width / 2.0);
    };
    constexpr int kW = 48, kH = 40;
    std::mt19937 rng(5);
    auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
    auto coord = [&](int size) { return pick(0, 7) == 0 ? pick(-3000000, 3000000) : pick(-12, size + 12); };
    Region holed;
    holed.Combine(CreateRectRgn(0, 0, 30, 25), CreateRectRgn(18, 12, 48, 40), RGN_OR);
    for (int round = 0; round < 400; ++round) {
        const int width = round % 10 == 9 ? pick(10, 24) : 2 + round % 7;
        const bool xorPen = round % 5 == 4;   // each LineTo mixes its own capsule in
        std::vector<Point> pts{{coord(kW), coord(kH)}};
        for (int i = 0; i < 4; ++i) {
            const Point p = pts.back();
            const int kind = pick(0, 4);   // a dot, up and down, across
            pts.push_back(kind == 0 ? p : kind <= 2 ? Point{p.x, coord(kH)} : Point{coord(kW), p.y});
        }
        RasterDC dc(kW, kH);
        if (round % 3 == 2)
            dc.SelectClipRgn(&holed);
        // A white pen mixed onto white by XOR gives black, twice white again.
        dc.SelectPen(WidePen(xorPen ? kWhite : kBlack, width, PS_SOLID | PS_ENDCAP_ROUND | PS_JOIN_ROUND));
        dc.SetROP2(xorPen ? R2_XORPEN : R2_COPYPEN);
        dc.MoveToEx(pts[0].x, pts[0].y);
        for (size_t i = 1; i < pts.size(); ++i)
            dc.LineTo(pts[i].x, pts[i].y);
        for (int y = 0; y < kH; ++y)
            for (int x = 0; x < kW; ++x) {
                int hits = 0;
                for (size_t i = 1; i < pts.size(); ++i)
                    hits += inCapsule(x, y, pts[i - 1], pts[i], width) ? 1 : 0;
                const bool inked = (xorPen ? hits % 2 == 1 : hits > 0) && (round % 3 != 2 || holed.Contains(x, y));
                ASSERT_EQ(dc.GetPixel(x, y), inked ? kBlack : kWhite)
                    << "round " << round << " width " << width << " at " << x << "," << y;
            }
    }
}
