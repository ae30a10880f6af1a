#include "chart/canvas/PlotFiltersColor.h"
#include "chart/canvas/PlotFiltersConvolve.h"

#include "FilterTestSupport.h"

#include <gtest/gtest.h>

#include <cstdlib>

using namespace filtertest;

namespace {

int R(uint32_t p) { return (p >> 16) & 0xFF; }
int G(uint32_t p) { return (p >> 8) & 0xFF; }
int B(uint32_t p) { return p & 0xFF; }

QImage OnePixel(int r, int g, int b)
{
    return Filled(1, 1, Rgb(r, g, b));
}

TEST(FilterHls, ConversionMatchesColorsysOn240Scale)
{
    const auto lines = ReadWords("hls.txt");
    ASSERT_GT(lines.size(), 40u);
    for (const QStringList& words : lines) {
        const auto v = Ints(words);
        const HlsColor hls = RGBToHLS(v[0], v[1], v[2]);
        const std::string where = words.join(' ').toStdString();
        // Hue is circular: 0 and 240 are the same red.
        const int dh = std::abs(hls.hue - v[3]) % 240;
        EXPECT_LE(std::min(dh, 240 - dh), 1) << where;
        EXPECT_NEAR(hls.luminance, v[4], 1) << where;
        EXPECT_NEAR(hls.saturation, v[5], 1) << where;
    }
}

TEST(FilterHls, RoundTripKeepsColours)
{
    for (const QStringList& words : ReadWords("hls.txt")) {
        const auto v = Ints(words);
        int r = -1, g = -1, b = -1;
        HLSToRGB(RGBToHLS(v[0], v[1], v[2]), r, g, b);
        EXPECT_NEAR(r, v[0], 3) << words.join(' ').toStdString();
        EXPECT_NEAR(g, v[1], 3);
        EXPECT_NEAR(b, v[2], 3);
    }
}

TEST(FilterHls, HueLumSatFollowsColorsysAndNeverOverflows)
{
    const auto lines = ReadWords("huelumsat.txt");
    ASSERT_GT(lines.size(), 500u);
    for (const QStringList& words : lines) {
        const auto v = Ints(words);
        QImage img = OnePixel(v[0], v[1], v[2]);
        THueLumSatFilter f;
        f.Hue = v[3];
        f.Luminance = v[4];
        f.Saturation = v[5];
        f.ApplyToBitmap(img);
        const uint32_t p = Px(img, 0, 0);
        const std::string where = words.join(' ').toStdString();
        EXPECT_NEAR(R(p), v[6], 3) << where;
        EXPECT_NEAR(G(p), v[7], 3) << where;
        EXPECT_NEAR(B(p), v[8], 3) << where;
    }
}

TEST(FilterHls, AllZeroAmountsLeaveThePixel)
{
    // A round trip through HLS would move (1, 2, 3); with nothing to add the pixel stays.
    QImage img = OnePixel(1, 2, 3);
    THueLumSatFilter().ApplyToBitmap(img);
    EXPECT_EQ(Px(img, 0, 0), Rgb(1, 2, 3));
}

TEST(FilterColour, InvertGrayAndColor)
{
    QImage img = OnePixel(10, 20, 30);
    TInvertFilter().ApplyToBitmap(img);
    EXPECT_EQ(Px(img, 0, 0), Rgb(245, 235, 225));

    const struct {
        TGrayMethod method;
        int expected;
    } grey[] = {{gmSimple, 20}, {gmEye, 18}, {gmEye2, 18}};
    for (const auto& c : grey) {
        QImage g = OnePixel(10, 20, 30);
        TGrayScaleFilter f;
        f.Method = c.method;
        f.ApplyToBitmap(g);
        EXPECT_EQ(Px(g, 0, 0), Rgb(c.expected, c.expected, c.expected)) << int(c.method);
    }
    // 0.3 * 255 + 0.59 * 0 + 0.11 * 255 = 104.55 -> 105; (11 * 255 + 5 * 255) >> 5 = 127.
    QImage eye = OnePixel(255, 0, 255);
    TGrayScaleFilter eyeFilter;
    eyeFilter.Method = gmEye;
    eyeFilter.ApplyToBitmap(eye);
    EXPECT_EQ(R(Px(eye, 0, 0)), 105);
    QImage eye2 = OnePixel(255, 0, 255);
    TGrayScaleFilter eye2Filter;
    eye2Filter.Method = gmEye2;
    eye2Filter.ApplyToBitmap(eye2);
    EXPECT_EQ(R(Px(eye2, 0, 0)), 127);

    QImage c = OnePixel(250, 5, 100);
    TColorFilter cf;
    cf.Red = 10;
    cf.Green = -10;
    cf.Blue = 0;
    cf.ApplyToBitmap(c);
    EXPECT_EQ(Px(c, 0, 0), Rgb(255, 0, 100));
}

TEST(FilterColour, BrightnessRoundsHalvesToEvenAndClamps)
{
    QImage img = Filled(2, 1, Rgb(100, 0, 250));
    TBrightnessFilter zero;
    zero.Amount = 0;
    zero.ApplyToBitmap(img);
    EXPECT_EQ(Px(img, 0, 0), Rgb(100, 0, 250));

    // 255 * 30 % = 76.5, which rounds to the even 76.
    TBrightnessFilter thirty;
    thirty.Amount = 30;
    thirty.ApplyToBitmap(img);
    EXPECT_EQ(Px(img, 1, 0), Rgb(176, 76, 255));

    QImage abs = OnePixel(100, 3, 250);
    TBrightnessFilter minus;
    minus.Percent = false;
    minus.Amount = -5;
    minus.ApplyToBitmap(abs);
    EXPECT_EQ(Px(abs, 0, 0), Rgb(95, 0, 245));
}

TEST(FilterColour, ContrastTruncatesTowardZero)
{
    QImage img = OnePixel(200, 50, 128);
    TContrastFilter f;
    f.Amount = 50;
    f.ApplyToBitmap(img);
    // 200: 200 + (100 * 72) / 256 = 228; 50: 50 + (25 * -78) / 256 = 50 - 7 = 43 (the division
    // truncates towards zero; flooring would give 42).
    EXPECT_EQ(Px(img, 0, 0), Rgb(228, 43, 128));

    QImage flat = OnePixel(255, 0, 128);
    TContrastFilter g;
    g.Percent = false;
    g.Amount = 255;
    g.ApplyToBitmap(flat);
    EXPECT_EQ(Px(flat, 0, 0), Rgb(255, 0, 128));
}

TEST(FilterColour, GammaTableMatchesReference)
{
    const auto lines = ReadWords("gamma.txt");
    ASSERT_EQ(lines.size(), 4u);
    for (const QStringList& words : lines) {
        const auto v = Ints(words);
        ASSERT_EQ(v.size(), 257u);
        QImage img(256, 1, QImage::Format_RGB32);
        for (int i = 0; i < 256; ++i)
            img.setPixel(i, 0, Rgb(i, 255 - i, i));
        TGammaCorrectionFilter f;
        f.Amount = v[0];
        f.ApplyToBitmap(img);
        for (int i = 0; i < 256; ++i) {
            EXPECT_EQ(R(Px(img, i, 0)), v[static_cast<size_t>(i) + 1]) << "amount " << v[0] << " entry " << i;
            EXPECT_EQ(G(Px(img, i, 0)), v[static_cast<size_t>(256 - i)]);
        }
    }
}

TEST(FilterGeometry, FlipInsideRegionMirrorsOnlyThoseRows)
{
    QImage img = CoordinateImage(4, 8);
    TFlipFilter f;
    f.Region().Top = 2;
    f.Region().Height = 3; // rows 2..5
    f.Region().Left = 1;
    f.Region().Width = 1;  // columns 1..2
    f.ApplyToBitmap(img);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 4; ++x) {
            const bool inside = y >= 2 && y <= 5 && x >= 1 && x <= 2;
            const int srcY = inside ? 2 + 5 - y : y;
            EXPECT_EQ(Px(img, x, y), Rgb(x, srcY, 7)) << x << "," << y;
        }
}

TEST(FilterGeometry, ReverseMirrorsColumns)
{
    QImage img = CoordinateImage(5, 2);
    TReverseFilter().ApplyToBitmap(img);
    for (int x = 0; x < 5; ++x)
        EXPECT_EQ(Px(img, x, 1), Rgb(4 - x, 1, 7));
}

TEST(FilterGeometry, MosaicAveragesBlocksAndKeepsTheBottomRow)
{
    QImage img(5, 5, QImage::Format_RGB32);
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 5; ++x)
            img.setPixel(x, y, Rgb(x + 10 * y, 0, 0));
    TMosaicFilter f;
    f.Amount = 2;
    f.ApplyToBitmap(img);
    // Blocks: columns 0-1 and 2-4, rows 0-1 and 2-3; averages 5.5 -> 6, 8, 25.5 -> 26, 28.
    const int expected[4][5] = {{6, 6, 8, 8, 8}, {6, 6, 8, 8, 8}, {26, 26, 28, 28, 28}, {26, 26, 28, 28, 28}};
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 5; ++x)
            EXPECT_EQ(R(Px(img, x, y)), expected[y][x]) << x << "," << y;
    for (int x = 0; x < 5; ++x)
        EXPECT_EQ(R(Px(img, x, 4)), 40 + x);

    QImage same = CoordinateImage(6, 6);
    TMosaicFilter none;
    none.Amount = 0;
    none.ApplyToBitmap(same);
    EXPECT_EQ(same, CoordinateImage(6, 6));
}

TEST(FilterGeometry, BevelBrightensTopLeftAndDarkensBottomRight)
{
    QImage img = Filled(6, 6, Rgb(100, 100, 100));
    TBevelFilter f;
    f.Bright = 50;
    f.Size = 1;
    f.ApplyToBitmap(img);
    EXPECT_EQ(R(Px(img, 0, 0)), 150);
    EXPECT_EQ(R(Px(img, 5, 0)), 150); // top row reaches the right edge
    EXPECT_EQ(R(Px(img, 0, 5)), 100); // bottom row loses, left column gains
    EXPECT_EQ(R(Px(img, 5, 5)), 0);   // bottom row and right column both lose
    EXPECT_EQ(R(Px(img, 5, 3)), 50);
    EXPECT_EQ(R(Px(img, 0, 3)), 150);
    EXPECT_EQ(R(Px(img, 3, 3)), 100);

    QImage clamp = Filled(4, 4, Rgb(250, 250, 250));
    TBevelFilter strong; // 64 bright, 15 deep: stops at the middle
    strong.ApplyToBitmap(clamp);
    EXPECT_EQ(R(Px(clamp, 1, 1)), 255);
}

// Reads the source and each case of convolve.txt and runs the matching filter.
TEST(FilterConvolve, KernelsMatchReference)
{
    const auto lines = ReadWords("convolve.txt");
    ASSERT_FALSE(lines.empty());
    size_t at = 0;
    ASSERT_EQ(lines[at][0], "source");
    const int w = lines[at][1].toInt(), h = lines[at][2].toInt();
    ++at;
    const QImage source = ReadImage(lines, at, w, h);
    int cases = 0;
    while (at < lines.size()) {
        const QStringList head = lines[at++];
        ASSERT_EQ(head[0], "case");
        const QString name = head[1];
        const int steps = head[2].toInt();
        const QRect rect(QPoint(head[3].toInt(), head[4].toInt()), QPoint(head[5].toInt(), head[6].toInt()));
        const QStringList weights = lines[at++];
        const QImage expected = ReadImage(lines, at, w, h);

        QImage img = source;
        if (name.startsWith("blur") || name == "zerosum") {
            TBlurFilter f;
            f.Amount = static_cast<int>(weights[4].toDouble());
            f.Steps = steps;
            f.Apply(img, rect);
        } else if (name == "sharpen") {
            TSharpenFilter().Apply(img, rect);
        } else if (name == "emboss") {
            TEmbossFilter().Apply(img, rect);
        } else {
            ASSERT_EQ(name, "soften");
            TSoftenFilter().Apply(img, rect);
        }
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                ASSERT_EQ(Px(img, x, y), Px(expected, x, y)) << name.toStdString() << " at " << x << "," << y;
        ++cases;
    }
    EXPECT_EQ(cases, 6);
}

TEST(FilterConvolve, ZeroSumKernelIsAppliedUnscaled)
{
    TBlurFilter f;
    f.Amount = -8;
    QImage img = Filled(3, 3, Rgb(10, 10, 10));
    img.setPixel(1, 1, Rgb(20, 20, 20));
    f.ApplyToBitmap(img);
    EXPECT_EQ(f.Scale, 1.0f);
    // 8 * 10 - 8 * 20 = -80, clamped to 0; the border keeps its pixels.
    EXPECT_EQ(Px(img, 1, 1), Rgb(0, 0, 0));
    EXPECT_EQ(Px(img, 0, 0), Rgb(10, 10, 10));
}

TEST(FilterAll, EmptyAndOffBitmapRectanglesAreHarmless)
{
    for (const TPlotFilterClass* c : RegisteredFilterClasses()) {
        QImage empty;
        TPlotFilter::ApplyToBitmapClass(*c, empty);
        EXPECT_TRUE(empty.isNull()) << c->name;

        QImage img = CoordinateImage(6, 5);
        auto f = c->create();
        f->Apply(img, QRect(QPoint(-20, -20), QPoint(50, 40)));
        f->Apply(img, QRect(QPoint(30, 30), QPoint(40, 40)));
        EXPECT_FALSE(img.isNull()) << c->name;
    }
}

} // namespace
