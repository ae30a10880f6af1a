#include "chart/canvas/PlotFont.h"
#include "chart/canvas/PlotShadow.h"

#include "FilterTestSupport.h"
#include "ShadowTestSupport.h"

#include <gtest/gtest.h>

using namespace filtertest;

namespace {

TEST(ShadowProperties, SettersSignalOnlyRealChanges)
{
    int changes = 0;
    TPlotShadow s([&changes] { ++changes; });
    EXPECT_EQ(s.Color(), 0xC0C0C0);
    EXPECT_TRUE(s.Visible());
    EXPECT_TRUE(s.Smooth());
    EXPECT_EQ(s.GetSize(), 0);
    s.SetHorizSize(0);
    s.SetColor(0xC0C0C0);
    EXPECT_EQ(changes, 0);
    s.SetHorizSize(-7);
    s.SetVertSize(4);
    EXPECT_EQ(s.GetSize(), 7);
    s.SetSize(2);
    EXPECT_EQ(s.HorizSize(), 2);
    EXPECT_EQ(s.VertSize(), 2);
    s.SetSize(2);
    s.SetTransparency(150);
    EXPECT_EQ(s.Transparency(), 100);
    EXPECT_EQ(changes, 4);
}

TEST(ShadowProperties, AssignKeepsOwnClipAndDefaultsDecideStreaming)
{
    TPlotShadow source;
    source.SetClip(true);
    source.SetColor(0x123456);
    source.SetSize(9);
    source.SetSmoothBlur(-20);
    source.SetTransparency(30);
    source.SetVisible(false);
    TPlotShadow target;
    target.InitDefaults(clBlack, 3);
    EXPECT_FALSE(target.IsColorStored());
    EXPECT_FALSE(target.IsSizeStored());
    target.Assign(source);
    EXPECT_FALSE(target.Clip());
    EXPECT_EQ(target.Color(), 0x123456);
    EXPECT_EQ(target.HorizSize(), 9);
    EXPECT_EQ(target.SmoothBlur(), -20);
    EXPECT_EQ(target.Transparency(), 30);
    EXPECT_FALSE(target.Visible());
    EXPECT_TRUE(target.IsColorStored());
    EXPECT_TRUE(target.IsSizeStored());
    EXPECT_TRUE(target.IsVisibleStored());
}

TEST(ShadowProperties, FontShadowIsMadeOnFirstReadWithDefaults)
{
    int changes = 0;
    TPlotFont font([&changes] { ++changes; });
    EXPECT_FALSE(font.HasShadow());
    TPlotShadow& s = font.Shadow();
    EXPECT_TRUE(font.HasShadow());
    EXPECT_EQ(s.Color(), 0xC0C0C0);
    EXPECT_EQ(s.HorizSize(), 0);
    EXPECT_EQ(s.VertSize(), 0);
    EXPECT_TRUE(s.Visible());
    EXPECT_EQ(changes, 0);
    s.SetHorizSize(2); // the font's own change event hears its shadow
    EXPECT_EQ(changes, 1);
}

TEST(ShadowBlur, WeightsMatchReference)
{
    const auto lines = ReadWords("shadow_weights.txt");
    ASSERT_EQ(lines.size(), 8u);
    for (const QStringList& words : lines) {
        const auto v = Ints(words);
        const std::vector<int64_t> w = ShadowBlurWeights(v[0], v[1]);
        ASSERT_EQ(w.size(), v.size() - 2) << words.join(' ').toStdString();
        for (size_t i = 0; i < w.size(); ++i)
            EXPECT_EQ(w[i], v[i + 2]) << words.join(' ').toStdString() << " entry " << i;
    }
}

TEST(ShadowBlur, MultiplyMatchesReference)
{
    const auto lines = ReadWords("shadow_blur.txt");
    size_t at = 0;
    int cases = 0;
    while (at < lines.size()) {
        const auto head = Ints(lines[at++], 1);
        auto image = [&](const char* tag) {
            EXPECT_EQ(lines[at][0], tag);
            const int w = lines[at][1].toInt(), h = lines[at][2].toInt();
            ++at;
            return ReadImage(lines, at, w, h);
        };
        const QImage work = image("work");
        QImage target = image("target");
        const QImage expected = image("expected");
        MultiplyBlurredShadow(work, head[0], head[1], head[2], true, target, TPoint{head[3], head[4]}, {});
        for (int y = 0; y < target.height(); ++y)
            for (int x = 0; x < target.width(); ++x)
                ASSERT_EQ(Px(target, x, y), Px(expected, x, y)) << "case " << cases << " at " << x << "," << y;
        ++cases;
    }
    EXPECT_EQ(cases, 3);
}

TEST(ShadowBlur, ClipRegionSkipsInvisiblePoints)
{
    QImage work = Filled(6, 6, Rgb(0, 0, 0));
    QImage target = Filled(6, 6, Rgb(200, 200, 200));
    MultiplyBlurredShadow(work, 1, 1, 0, true, target, TPoint{0, 0}, [](int32_t x, int32_t) { return x < 3; });
    EXPECT_EQ(Px(target, 5, 5), Rgb(200, 200, 200));
    EXPECT_EQ(Px(target, 2, 5), Rgb(0, 0, 0));
}

TEST(ShadowDraw, NothingWithoutColourOrSize)
{
    for (int variant = 0; variant < 2; ++variant) {
        BufferedCanvas c(40, 30);
        const QImage before = c.Image();
        TPlotShadow s;
        s.SetTransparency(50);
        if (variant == 0) {
            s.SetColor(clNone);
            s.SetSize(4);
        }
        const int blendBefore = c.canvas.BlendTransparency;
        s.DrawRect(c.canvas, TRect{5, 5, 20, 15});
        EXPECT_EQ(c.Image(), before) << variant;
        EXPECT_EQ(c.canvas.BlendTransparency, blendBefore);
    }
}

TEST(ShadowDraw, HardStripsInFlatSection)
{
    BufferedCanvas c(50, 40);
    TPlotShadow s;
    s.SetSmooth(false);
    s.SetColor(clBlack);
    s.SetSize(3);
    c.canvas.Pen().SetColor(clRed);
    c.canvas.BeginFlatSection();
    s.DrawShape(c.canvas, TRect{10, 10, 30, 20}, 0, 0);
    c.canvas.EndFlatSection();
    EXPECT_EQ(c.Px(20, 21), Rgb(0, 0, 0));  // bottom strip
    EXPECT_EQ(c.Px(31, 15), Rgb(0, 0, 0));  // right strip
    EXPECT_EQ(c.Px(20, 15), Rgb(255, 255, 255)); // under the shape nothing
    EXPECT_EQ(c.Px(11, 21), Rgb(255, 255, 255)); // the strip starts at Left + 3
    EXPECT_EQ(c.canvas.Pen().Color(), clRed);     // pen colour and style come back
    EXPECT_EQ(c.canvas.Pen().Style(), psSolid);
}

TEST(ShadowDraw, LinesFadeTowardWhiteWhenTheCanvasCannotBlur)
{
    DirectCanvas c(60, 40);
    TPlotShadow s;
    s.SetColor(RGBColor(0, 0, 0));
    s.SetVertSize(4);
    s.SetHorizSize(4);
    c.canvas.BeginFlatSection();
    s.DrawShape(c.canvas, TRect{10, 10, 40, 20}, 0, 0);
    c.canvas.EndFlatSection();
    // Step round(255 / 4) = 64: lines at rows 20..23 in 0, 64, 128, 192.
    EXPECT_EQ(c.Px(20, 20), Rgb(0, 0, 0));
    EXPECT_EQ(c.Px(20, 21), Rgb(64, 64, 64));
    EXPECT_EQ(c.Px(20, 23), Rgb(192, 192, 192));
    EXPECT_EQ(c.Px(41, 15), Rgb(64, 64, 64));

    DirectCanvas rounded(60, 40);
    const QImage before = rounded.Image();
    s.DrawShape(rounded.canvas, TRect{10, 10, 40, 20}, 5, 0);
    EXPECT_EQ(rounded.Image(), before); // no line shadow for rounded corners
}

TEST(ShadowDraw, SoftEllipseWithoutABlurGoesFromItsColourToALighterOne)
{
    // A pie's light grey shadow on an exported picture: no near-black middle.
    DirectCanvas c(80, 80);
    TPlotShadow s;
    s.SetColor(RGBColor(160, 160, 160));
    s.SetSize(4);
    s.DrawEllipse(c.canvas, TRect{6, 6, 66, 66}, 0);
    const int middle = RedOf(c.Px(40, 40));
    const int rim = RedOf(c.Px(40, 68));
    EXPECT_NEAR(middle, 160, 4);
    EXPECT_GT(rim, middle);
    EXPECT_LE(rim, 192);
    EXPECT_EQ(c.Px(78, 78), Rgb(255, 255, 255));
}

TEST(ShadowDraw, BlurredShadowDarkensOnlyTheUncoveredBand)
{
    BufferedCanvas c(80, 60);
    TPlotShadow s;
    s.SetColor(RGBColor(0, 0, 0));
    s.SetSize(4);
    s.DrawRect(c.canvas, TRect{10, 10, 50, 30});
    EXPECT_LT(RedOf(c.Px(52, 32)), 128);   // well inside the shadow
    EXPECT_LT(RedOf(c.Px(30, 32)), 255);
    EXPECT_EQ(c.Px(20, 15), Rgb(255, 255, 255)); // the shape covers this part
    EXPECT_EQ(c.Px(70, 50), Rgb(255, 255, 255));
    // The edge fades: further out is lighter.
    EXPECT_GT(RedOf(c.Px(30, 37)), RedOf(c.Px(30, 33)));
}

TEST(ShadowDraw, FullyTransparentShadowLeavesTheBackground)
{
    BufferedCanvas c(60, 40);
    const QImage before = c.Image();
    TPlotShadow s;
    s.SetSmooth(false);
    s.SetColor(clBlack);
    s.SetSize(5);
    s.SetTransparency(100);
    s.DrawRect(c.canvas, TRect{5, 5, 30, 20});
    EXPECT_EQ(c.Image(), before);
}

TEST(ShadowDraw, EllipseAndPolygonAreOffset)
{
    BufferedCanvas c(60, 60);
    TPlotShadow hard;
    hard.SetSmooth(false);
    hard.SetColor(clBlack);
    hard.SetSize(10);
    hard.DrawEllipse(c.canvas, TRect{5, 5, 25, 25}, 0);
    EXPECT_EQ(c.Px(25, 25), Rgb(0, 0, 0));   // centre of the offset ellipse
    EXPECT_EQ(c.Px(16, 10), Rgb(255, 255, 255));

    BufferedCanvas p(60, 60);
    TPlotShadow poly;
    poly.SetSmooth(false);
    poly.SetColor(clBlack);
    poly.SetSize(20);
    poly.DrawPolygon(p.canvas, TPointArray{{5, 5}, {25, 5}, {25, 25}, {5, 25}}, 3);
    EXPECT_EQ(p.Px(35, 35), Rgb(0, 0, 0));
    EXPECT_EQ(p.Px(10, 10), Rgb(255, 255, 255));
}

} // namespace
