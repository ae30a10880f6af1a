#include "chart/canvas/PlotFiltersResample.h"

#include "FilterTestSupport.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace filtertest;

namespace {

int R(uint32_t p) { return (p >> 16) & 0xFF; }
int G(uint32_t p) { return (p >> 8) & 0xFF; }

TEST(FilterResample, SmoothStretchMatchesReference)
{
    const auto lines = ReadWords("resample.txt");
    ASSERT_FALSE(lines.empty());
    size_t at = 0;
    ASSERT_EQ(lines[at][0], "source");
    const int sw = lines[at][1].toInt(), sh = lines[at][2].toInt();
    ++at;
    const QImage source = ReadImage(lines, at, sw, sh);
    int cases = 0;
    while (at < lines.size()) {
        const QStringList head = lines[at++];
        ASSERT_EQ(head[0], "case");
        const int dw = head[1].toInt(), dh = head[2].toInt();
        const bool fast = head[3].toInt() != 0;
        const QImage expected = ReadImage(lines, at, dw, dh);
        QImage dest = Filled(dw, dh, Rgb(1, 2, 3));
        ASSERT_TRUE(SmoothStretchQuality(source, dest, fast));
        for (int y = 0; y < dh; ++y)
            for (int x = 0; x < dw; ++x)
                ASSERT_EQ(Px(dest, x, y), Px(expected, x, y))
                    << dw << "x" << dh << (fast ? " fast" : "") << " at " << x << "," << y;
        ++cases;
    }
    EXPECT_EQ(cases, 6);
}

TEST(FilterResample, FlatWhiteStaysWhiteWhenDoubled)
{
    // With the kernel cut at support / s the odd pixels would lose their outer lobes and come
    // out near 241; the whole kernel keeps them within a few steps of white.
    const QImage white = Filled(151, 151, Rgb(255, 255, 255));
    QImage dest = Filled(302, 302, Rgb(0, 0, 0));
    ASSERT_TRUE(SmoothStretch(white, dest));
    for (int x = 0; x < 302; ++x)
        EXPECT_GE(R(Px(dest, x, 150)), 250) << x;
}

TEST(FilterResample, DegenerateSizesAreLeftAlone)
{
    const QImage line = Filled(10, 1, Rgb(9, 9, 9));
    QImage dest = Filled(4, 4, Rgb(1, 1, 1));
    EXPECT_FALSE(SmoothStretch(line, dest));
    EXPECT_EQ(Px(dest, 2, 2), Rgb(1, 1, 1));
    QImage small = Filled(1, 5, Rgb(1, 1, 1));
    EXPECT_FALSE(SmoothStretch(Filled(5, 5, Rgb(9, 9, 9)), small));
}

// The zoom result must equal the centre area stretched to the nearest pixel over the rectangle.
void ExpectZoomOf(const QImage& zoomed, const QImage& original, const QRect& rect, int dx, int dy)
{
    const int cw = std::max(1, rect.width() - 2 * dx);
    const int ch = std::max(1, rect.height() - 2 * dy);
    for (int y = rect.top(); y <= rect.bottom(); ++y)
        for (int x = rect.left(); x <= rect.right(); ++x) {
            const int sx = rect.left() + dx + ((2 * (x - rect.left()) + 1) * cw) / (2 * rect.width());
            const int sy = rect.top() + dy + ((2 * (y - rect.top()) + 1) * ch) / (2 * rect.height());
            ASSERT_EQ(Px(zoomed, x, y), Px(original, sx, sy)) << x << "," << y;
        }
}

TEST(FilterZoom, TenPercentCropsFivePercentEachSide)
{
    const QImage original = CoordinateImage(200, 100);
    QImage img = original;
    TZoomFilter f;
    f.ApplyToBitmap(img);
    EXPECT_EQ(Px(img, 0, 0), Rgb(10, 5, 7));
    EXPECT_EQ(Px(img, 199, 99), Rgb(189, 94, 7));
    ExpectZoomOf(img, original, original.rect(), 10, 5);
}

TEST(FilterZoom, RectangleSmallerThanBitmapChangesOnlyItsPixels)
{
    const QImage original = CoordinateImage(60, 40);
    QImage img = original;
    TZoomFilter f;
    f.Percent = 50;
    const QRect rect(QPoint(10, 8), QPoint(49, 27)); // 40 x 20
    f.Apply(img, rect);
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 60; ++x) {
            if (!rect.contains(x, y)) {
                ASSERT_EQ(Px(img, x, y), Px(original, x, y)) << x << "," << y;
            }
        }
    ExpectZoomOf(img, original, rect, 10, 5);
}

TEST(FilterZoom, FiftyPercentShowsCentreTwiceAsWideWithEvenRounding)
{
    const QImage original = CoordinateImage(100, 50);
    QImage img = original;
    TZoomFilter f;
    f.Percent = 50;
    f.ApplyToBitmap(img);
    // dx = 25 (central 50 columns); dy = 12.5 -> 12, not 13.
    ExpectZoomOf(img, original, original.rect(), 25, 12);
    EXPECT_EQ(R(Px(img, 0, 0)), 25);
    EXPECT_EQ(R(Px(img, 99, 0)), 74);
    EXPECT_EQ(G(Px(img, 0, 0)), 12);
}

TEST(FilterZoom, HundredPercentAndOutOfRangePercentEnlargeOneColumn)
{
    for (double percent : {100.0, 150.0, 1e9}) {
        const QImage original = CoordinateImage(5, 7);
        QImage img = original;
        TZoomFilter f;
        f.Percent = percent;
        f.ApplyToBitmap(img);
        // dx = round(2.5) = 2, dy = round(3.5) = 4 -> height max(1, 7 - 8) = 1 at row 4.
        for (int y = 0; y < 7; ++y)
            for (int x = 0; x < 5; ++x)
                ASSERT_EQ(Px(img, x, y), Rgb(2, 4, 7)) << percent << " " << x << "," << y;
    }
    QImage img = CoordinateImage(8, 8);
    TZoomFilter negative;
    negative.Percent = -30;
    negative.ApplyToBitmap(img);
    EXPECT_EQ(img, CoordinateImage(8, 8));
}

TEST(FilterCrop, StretchesOverTheWholeBitmapAndStaysInside)
{
    const QImage original = CoordinateImage(20, 10);
    QImage img = original;
    TCropFilter f;
    f.Left = 4;
    f.Top = 2;
    f.Width = 10;
    f.Height = 5;
    f.ApplyToBitmap(img);
    ASSERT_EQ(img.size(), QSize(20, 10));
    EXPECT_EQ(Px(img, 0, 0), Rgb(4, 2, 7));
    EXPECT_EQ(Px(img, 19, 9), Rgb(13, 6, 7)); // the last column and row come from the crop too
    EXPECT_EQ(Px(img, 2, 2), Rgb(5, 3, 7));

    QImage outside = original;
    TCropFilter far;
    far.Left = 15;
    far.Top = 500;
    far.Width = 50;
    far.Height = 50;
    far.ApplyToBitmap(outside);
    // Cut to columns 15..19 of the last row.
    EXPECT_EQ(Px(outside, 0, 0), Rgb(15, 9, 7));
    EXPECT_EQ(Px(outside, 19, 9), Rgb(19, 9, 7));

    QImage none = original;
    TCropFilter zero;
    zero.Width = 0;
    zero.Height = 3;
    zero.ApplyToBitmap(none);
    EXPECT_EQ(none, original);
}

TEST(FilterCrop, SmoothCropOfFlatAreaKeepsItsColour)
{
    QImage img = Filled(30, 20, Rgb(200, 100, 50));
    TCropFilter f;
    f.Left = 5;
    f.Top = 5;
    f.Width = 10;
    f.Height = 8;
    f.Smooth = true;
    f.ApplyToBitmap(img);
    for (int x = 0; x < 30; x += 7)
        EXPECT_NEAR(R(Px(img, x, 10)), 200, 2) << x;
}

TEST(FilterResize, ResizesAndIgnoresEmptySizes)
{
    QImage img = Filled(10, 6, Rgb(40, 80, 120));
    TResizeFilter none;
    none.Width = 0;
    none.Height = 12;
    none.ApplyToBitmap(img);
    EXPECT_EQ(img.size(), QSize(10, 6));

    TResizeFilter f;
    f.Width = 25;
    f.Height = 3;
    f.ApplyToBitmap(img);
    EXPECT_EQ(img.size(), QSize(25, 3));
    // Each of the two passes truncates (>> 10) and its weights sum to a little under 1024.
    EXPECT_NEAR(R(Px(img, 12, 1)), 40, 2);

    // A size that cannot be allocated leaves the bitmap as it was (rows of 4 GB are refused
    // before any memory is taken, so the test stays cheap on any machine).
    TResizeFilter huge;
    huge.Width = 1 << 30;
    huge.Height = 2;
    huge.ApplyToBitmap(img);
    EXPECT_EQ(img.size(), QSize(25, 3));

    // A bitmap one pixel high cannot be resampled smoothly; it is still scaled.
    QImage line = CoordinateImage(4, 1);
    TResizeFilter g;
    g.Width = 8;
    g.Height = 2;
    g.ApplyToBitmap(line);
    ASSERT_EQ(line.size(), QSize(8, 2));
    EXPECT_EQ(Px(line, 7, 1), Rgb(3, 0, 7));
}

TEST(FilterRotate, QuarterTurnsTransposeExactly)
{
    const QImage original = CoordinateImage(5, 3);
    QImage img = original;
    TRotateFilter f;
    f.Angle = 450;
    f.ApplyToBitmap(img);
    EXPECT_EQ(f.Angle, 90.0);
    ASSERT_EQ(img.size(), QSize(3, 5));
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 3; ++x)
            ASSERT_EQ(Px(img, x, y), Px(original, 4 - y, x)); // top-right corner moves to top-left

    QImage back = original;
    TRotateFilter g;
    g.Angle = 270;
    g.ApplyToBitmap(back);
    ASSERT_EQ(back.size(), QSize(3, 5));
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 3; ++x)
            ASSERT_EQ(Px(back, x, y), Px(original, y, 2 - x));

    QImage half = original;
    TRotateFilter h;
    h.Angle = 180;
    h.ApplyToBitmap(half);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 5; ++x)
            ASSERT_EQ(Px(half, x, y), Px(original, 4 - x, 2 - y));
}

TEST(FilterRotate, FreeAngleGrowsAndFillsTheCorners)
{
    const QImage original = Filled(40, 20, Rgb(0, 0, 0));
    QImage img = original;
    TRotateFilter f;
    f.Angle = 30;
    f.BackColor = 0x0000FF; // red, as a chart colour
    f.ApplyToBitmap(img);
    const double a = (360.0 - 30.0) * M_PI / 180.0;
    EXPECT_EQ(img.width(), static_cast<int>(std::nearbyint(std::abs(40 * std::cos(a)) + std::abs(20 * std::sin(a)))));
    EXPECT_EQ(img.height(), static_cast<int>(std::nearbyint(std::abs(40 * std::sin(a)) + std::abs(20 * std::cos(a)))));
    EXPECT_EQ(Px(img, 0, 0), Rgb(255, 0, 0));
    EXPECT_EQ(Px(img, img.width() / 2, img.height() / 2), Rgb(0, 0, 0));

    QImage keep = original;
    TRotateFilter same;
    same.Angle = 45;
    same.AutoSize = false;
    same.BackColor = 0x1FFFFFFF; // clNone: no fill, uncovered pixels keep what was there
    same.ApplyToBitmap(keep);
    EXPECT_EQ(keep.size(), QSize(40, 20));
    EXPECT_EQ(Px(keep, 0, 0), Rgb(0, 0, 0));

    QImage tiny = Filled(1, 1, Rgb(5, 5, 5));
    TRotateFilter t;
    t.Angle = 45;
    t.ApplyToBitmap(tiny);
    EXPECT_EQ(tiny.size(), QSize(1, 1)); // a result below 2 x 2 is dropped
}

TEST(FilterMirror, EachDirectionDoublesWithTheMirroredCopy)
{
    const QImage original = CoordinateImage(3, 2);
    const struct {
        TMirrorDirection d;
        QSize size;
    } cases[] = {{mdDown, {3, 4}}, {mdUp, {3, 4}}, {mdRight, {6, 2}}, {mdLeft, {6, 2}}};
    for (const auto& c : cases) {
        QImage img = original;
        TMirrorFilter f;
        f.Direction = c.d;
        f.ApplyToBitmap(img);
        ASSERT_EQ(img.size(), c.size) << int(c.d);
        for (int y = 0; y < c.size.height(); ++y)
            for (int x = 0; x < c.size.width(); ++x) {
                int sx = x, sy = y;
                switch (c.d) {
                case mdDown: sy = y < 2 ? y : 3 - y; break;
                case mdUp: sy = y < 2 ? 1 - y : y - 2; break;
                case mdRight: sx = x < 3 ? x : 5 - x; break;
                case mdLeft: sx = x < 3 ? 2 - x : x - 3; break;
                }
                ASSERT_EQ(Px(img, x, y), Px(original, sx, sy)) << int(c.d) << " " << x << "," << y;
            }
    }
}

TEST(FilterTile, RepeatsOneResampledTile)
{
    QImage img = CoordinateImage(31, 22);
    TTileFilter f;
    f.NumCols = 0; // values below 1 become 1
    f.ApplyToBitmap(img);
    EXPECT_EQ(f.NumCols, 1);

    QImage grid = CoordinateImage(31, 22);
    TTileFilter g; // 3 x 3: tiles of 10 x 7
    g.ApplyToBitmap(grid);
    for (int y = 0; y < 7; ++y)
        for (int x = 0; x < 10; ++x) {
            EXPECT_EQ(Px(grid, x + 10, y), Px(grid, x, y));
            EXPECT_EQ(Px(grid, x + 20, y + 14), Px(grid, x, y));
        }
    EXPECT_EQ(Px(grid, 30, 21), Rgb(30, 21, 7)); // beyond the tiles nothing changes
}

} // namespace
