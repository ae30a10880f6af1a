#include "chart/canvas/PlotGradient.h"

#include "FilterTestSupport.h"
#include "ShadowTestSupport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <set>

using filtertest::Rgb;

namespace {

TEST(GradientProperties, MiddleColourSwitchesOnAndOff)
{
    int changes = 0;
    TPlotGradient g([&changes] { ++changes; });
    EXPECT_EQ(g.MidColor(), clNone);
    EXPECT_FALSE(g.Visible());
    EXPECT_EQ(g.StartColor(), clWhite);
    EXPECT_EQ(g.EndColor(), clYellow);
    EXPECT_EQ(g.Balance(), 50);
    g.SetMidColor(clRed);
    g.SetMidColor(clRed);
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(g.MidColor(), clRed);
    g.SetMidColor(clNone);
    EXPECT_EQ(changes, 2);
    EXPECT_EQ(g.MidColor(), clNone);
    EXPECT_FALSE(g.MiddleColorOn());
    g.UseMiddleColor(); // back on with the stored colour
    EXPECT_EQ(g.MidColor(), clRed);
    EXPECT_EQ(changes, 3);
    g.SetMidColor(clNone);
    g.SetMidColor(clNone);
    EXPECT_EQ(changes, 4);
}

TEST(GradientProperties, SubGradientIsMadeOnReadAndSignalsThroughTheParent)
{
    int changes = 0;
    TPlotGradient g([&changes] { ++changes; });
    EXPECT_FALSE(g.HasSubGradient());
    TSubGradient& sub = g.SubGradient();
    EXPECT_EQ(sub.Transparency(), 50);
    EXPECT_EQ(changes, 0);
    sub.SetStartColor(clBlue);
    EXPECT_EQ(changes, 1);
    g.SetSubGradient(nullptr);
    EXPECT_FALSE(g.HasSubGradient());
    EXPECT_EQ(changes, 2);
}

TEST(GradientProperties, AssignCopiesOrDropsTheSubGradient)
{
    TPlotGradient source;
    source.SetDirection(gdRadial);
    source.SetBalance(70);
    source.SetMidColor(clGreen);
    source.SetRadialX(4);
    source.SubGradient().SetTransparency(20);
    source.SubGradient().SetEndColor(clRed);

    TPlotGradient target;
    target.Assign(source);
    EXPECT_EQ(target.Direction(), gdRadial);
    EXPECT_EQ(target.Balance(), 70);
    EXPECT_EQ(target.MidColor(), clGreen);
    EXPECT_EQ(target.RadialX(), 4);
    ASSERT_TRUE(target.HasSubGradient());
    EXPECT_EQ(target.SubGradient().Transparency(), 20);
    EXPECT_EQ(target.SubGradient().EndColor(), clRed);
    EXPECT_NE(&target.SubGradient(), &source.SubGradient());

    TPlotGradient plain;
    target.Assign(plain);
    EXPECT_FALSE(target.HasSubGradient());
    EXPECT_EQ(target.MidColor(), clNone);

    TPlotFontGradient a, b;
    a.SetOutline(true);
    b.Assign(a);
    EXPECT_TRUE(b.Outline());
}

TEST(GradientDraw, MiddleColourSplitsVerticalFills)
{
    BufferedCanvas c(20, 40);
    TPlotGradient g;
    g.SetStartColor(clRed);
    g.SetMidColor(clLime);
    g.SetEndColor(clBlue);
    g.Draw(c.canvas, TRect{0, 0, 20, 40}, 0);
    // Top to bottom: the upper half runs from the end colour at the top to the middle colour,
    // the lower half from the middle colour to the start colour at the bottom.
    EXPECT_EQ(c.Px(10, 0), Rgb(0, 0, 255));
    EXPECT_EQ(c.Px(10, 39), Rgb(255, 0, 0));
    EXPECT_EQ(c.Px(10, 19), Rgb(0, 255, 0));
    EXPECT_EQ(c.Px(10, 20), Rgb(0, 255, 0));
}

TEST(GradientDraw, FromCentreIgnoresTheMiddleColour)
{
    BufferedCanvas with(30, 30), without(30, 30);
    TPlotGradient g;
    g.SetDirection(gdFromCenter);
    g.SetStartColor(clNavy);
    g.SetEndColor(clYellow);
    g.SetBalance(80); // from the centre always fills with balance 50 when a middle colour is on
    g.Draw(without.canvas, TRect{0, 0, 30, 30}, 0);
    TPlotGradient reference;
    reference.SetDirection(gdFromCenter);
    reference.SetStartColor(clNavy);
    reference.SetEndColor(clYellow);
    g.SetMidColor(clRed);
    g.Draw(with.canvas, TRect{0, 0, 30, 30}, 0);
    reference.Draw(without.canvas, TRect{0, 0, 30, 30}, 0);
    EXPECT_EQ(with.Image(), without.Image());
}

TEST(GradientDraw, OpaqueSubGradientCoversAndTranslucentOneMixes)
{
    BufferedCanvas opaque(20, 20), half(20, 20);
    TPlotGradient g;
    g.SetStartColor(clBlack);
    g.SetEndColor(clBlack);
    TSubGradient& sub = g.SubGradient();
    sub.SetVisible(true);
    sub.SetStartColor(clWhite);
    sub.SetEndColor(clWhite);
    sub.SetTransparency(0);
    g.Draw(opaque.canvas, TRect{0, 0, 20, 20}, 0);
    // Blending marks pure white new pixels with red 254.
    EXPECT_EQ(opaque.Px(10, 10), Rgb(254, 255, 255));
    sub.SetTransparency(50);
    half.canvas.BlendTransparency = 30; // an owner's blend in progress keeps its value
    g.Draw(half.canvas, TRect{0, 0, 20, 20}, 0);
    EXPECT_NEAR(GreenOf(half.Px(10, 10)), 128, 2);
    EXPECT_EQ(half.canvas.BlendTransparency, 30);
}

TEST(GradientDraw, MonochromeCanvasDrawsGreys)
{
    BufferedCanvas c(10, 20);
    c.canvas.Monochrome = true;
    TPlotGradient g;
    g.SetStartColor(RGBColor(30, 60, 90));
    g.SetEndColor(RGBColor(30, 60, 90));
    g.Draw(c.canvas, TRect{0, 0, 10, 20}, 0);
    EXPECT_EQ(c.Px(5, 10), Rgb(60, 60, 60));
}

TEST(GradientDraw, QuarterTurnMakesAVerticalFillHorizontal)
{
    BufferedCanvas c(60, 40);
    TPlotGradient g;
    g.SetStartColor(clBlack);
    g.SetEndColor(clWhite);
    g.SetAngle(90);
    c.canvas.Pen().SetStyle(psClear);
    g.Draw(c.canvas, TRect{0, 0, 60, 40}, 0);
    EXPECT_EQ(g.Angle(), 90); // restored after the drawing
    // Rows are now alike and the colour runs along x.
    for (int x = 5; x < 55; x += 10)
        EXPECT_NEAR(GreenOf(c.Px(x, 8)), GreenOf(c.Px(x, 30)), 2) << x;
    EXPECT_GT(std::abs(GreenOf(c.Px(5, 20)) - GreenOf(c.Px(54, 20))), 150);
}

TEST(GradientDraw, FourPointsFillOnlyThePolygon)
{
    BufferedCanvas c(40, 40);
    TPlotGradient g;
    g.SetStartColor(clRed);
    g.SetEndColor(clRed);
    g.DrawFourPoints(c.canvas, TFourPoints{TPoint{5, 5}, TPoint{30, 5}, TPoint{30, 30}, TPoint{5, 30}});
    EXPECT_EQ(c.Px(15, 15), Rgb(255, 0, 0));
    EXPECT_EQ(c.Px(35, 35), Rgb(255, 255, 255));
}

} // namespace

namespace {

// Every green value in the rectangle must be one of round(i * 255 / n), i = 0 .. n.
void ExpectRadialSteps(int w, int h, int n)
{
    BufferedCanvas c(w + 4, h + 4);
    TPlotGradient g;
    g.SetStartColor(clBlack);
    g.SetEndColor(clBlack);
    TSubGradient& sub = g.SubGradient();
    sub.SetVisible(true);
    sub.SetDirection(gdRadial);
    sub.SetStartColor(clBlack);
    sub.SetEndColor(clWhite);
    sub.SetTransparency(0);
    g.Draw(c.canvas, TRect{2, 2, 2 + w, 2 + h}, 0);
    std::set<int> allowed;
    for (int i = 0; i <= n; ++i)
        allowed.insert(static_cast<int>(std::nearbyint(i * 255.0 / n)));
    std::set<int> seen;
    for (int y = 2; y < 2 + h; ++y)
        for (int x = 2; x < 2 + w; ++x) {
            const int green = GreenOf(c.Px(x, y));
            seen.insert(green);
            EXPECT_TRUE(allowed.count(green)) << w << "x" << h << " at " << x << "," << y << ": " << green;
        }
    EXPECT_GT(seen.size(), 3u);
}

TEST(GradientDraw, RadialSubGradientStepsFollowTheOddSizeRule)
{
    ExpectRadialSteps(10, 7, 9);  // height odd: one step less
    ExpectRadialSteps(10, 6, 10);
    ExpectRadialSteps(11, 8, 10); // width odd
}

} // namespace
