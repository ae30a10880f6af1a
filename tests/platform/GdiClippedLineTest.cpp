// Solid lines and round wide pens inside a rectangular clip: the pixels of the unclipped drawing
// that fall inside the rectangle, and nothing outside it.
#include "platform/gdi/RasterDC.h"

#include <gtest/gtest.h>

#include <random>

using namespace gdi;

TEST(GdiClippedLine, RectangleClipKeepsExactlyTheUnclippedPixelsInside)
{
    std::mt19937 rng(21);
    std::uniform_int_distribution<int> coord(-20, 80);
    const Rect clip{12, 9, 47, 41};
    for (int round = 0; round < 120; ++round) {
        Pen pen;
        pen.color = RGB(0, 0, 0);
        if (round % 2 == 1) {
            pen.style = PS_GEOMETRIC | PS_SOLID | PS_ENDCAP_ROUND | PS_JOIN_ROUND;
            pen.width = 2 + round % 3;
        }
        const Point pts[] = {{coord(rng), coord(rng)}, {coord(rng), coord(rng)}, {coord(rng), coord(rng)}};
        RasterDC whole(60, 50);
        whole.SelectPen(pen);
        whole.Polyline(pts, 3);
        RasterDC clipped(60, 50);
        const Region region = CreateRectRgn(clip.left, clip.top, clip.right, clip.bottom);
        clipped.SelectClipRgn(&region);
        clipped.SelectPen(pen);
        clipped.Polyline(pts, 3);
        for (int y = 0; y < 50; ++y)
            for (int x = 0; x < 60; ++x) {
                const bool inside = x >= clip.left && x < clip.right && y >= clip.top && y < clip.bottom;
                ASSERT_EQ(clipped.GetPixel(x, y), inside ? whole.GetPixel(x, y) : RGB(255, 255, 255))
                    << "round " << round << " at " << x << "," << y;
            }
    }
}
