#include "chart/canvas/PlotCanvas3D.h"
#include "chart/canvas/PlotFont.h"
#include "chart/canvas/PlotGradient.h"
#include "platform/gdi/RasterDC.h"

#include <gtest/gtest.h>

// Glyph pixels depend on the font version: these tests look at which colours appear where.

namespace {

struct TextCanvas {
    TPlotCanvas3D canvas;
    TextCanvas()
    {
        canvas.InitWindow(nullptr, nullptr, clWhite, false, TRect{0, 0, 200, 80});
        canvas.ResetState();
    }
    gdi::RasterDC& Device() { return canvas.Bitmap()->Device(); }
    // Leftmost column holding the colour, or -1.
    int LeftmostOf(TColor c)
    {
        const gdi::COLORREF rgb = ColorToRGB(c);
        for (int x = 0; x < Device().Width(); ++x)
            for (int y = 0; y < Device().Height(); ++y)
                if (Device().GetPixel(x, y) == rgb)
                    return x;
        return -1;
    }
    int Count(TColor c)
    {
        int n = 0;
        const gdi::COLORREF rgb = ColorToRGB(c);
        for (int y = 0; y < Device().Height(); ++y)
            for (int x = 0; x < Device().Width(); ++x)
                n += Device().GetPixel(x, y) == rgb;
        return n;
    }
};

// Aliased text, so that the pure colours survive.
void PlainFont(TPlotFont& f, TColor color)
{
    f.SetName(QStringLiteral("Liberation Sans"));
    f.SetSize(20);
    f.SetColor(color);
    f.SetStyle(fsBold);
}

} // namespace

TEST(CanvasText, AssignFontAppliesZoomMonochromeAndSpacing)
{
    TextCanvas tc;
    TPlotFont font;
    PlainFont(font, clRed);
    font.SetInterCharSize(4);
    tc.canvas.FontZoom = 200;
    tc.canvas.AssignFont(&font);
    EXPECT_EQ(tc.canvas.FontObject, &font);
    EXPECT_EQ(tc.canvas.Font().Size(), 40);
    EXPECT_EQ(tc.canvas.Font().Color(), clRed);
    EXPECT_EQ(tc.Device().GetTextCharacterExtra(), 4);
    tc.canvas.FontZoom = 100;
    tc.canvas.SetMonochrome(true);
    tc.canvas.AssignFont(&font);
    EXPECT_EQ(tc.canvas.Font().Size(), 20);
    EXPECT_EQ(tc.canvas.Font().Color(), clBlack);
    EXPECT_EQ(font.Color(), clRed);   // the chart font itself is not changed
}

TEST(CanvasText, ShadowSizesCountInTheTextExtent)
{
    TextCanvas tc;
    TPlotFont font;
    PlainFont(font, clBlack);
    tc.canvas.AssignFont(&font);
    const int32_t w = tc.canvas.TextWidth(QStringLiteral("dB"));
    const int32_t h = tc.canvas.TextHeight(QStringLiteral("dB"));
    font.Shadow().SetHorizSize(-3);
    font.Shadow().SetVertSize(5);
    EXPECT_EQ(tc.canvas.TextWidth(QStringLiteral("dB")), w + 3);
    EXPECT_EQ(tc.canvas.TextHeight(QStringLiteral("dB")), h + 5);
    font.Shadow().SetVisible(false);
    EXPECT_EQ(tc.canvas.TextWidth(QStringLiteral("dB")), w);
}

TEST(CanvasText, ShadowSideFollowsTheSignOfItsSize)
{
    for (int size : {4, -4}) {
        TextCanvas tc;
        TPlotFont font;
        PlainFont(font, clRed);
        font.Shadow().SetColor(clBlue);
        font.Shadow().SetHorizSize(size);
        font.Shadow().SetVertSize(0);
        tc.canvas.AssignFont(&font);
        tc.canvas.TextOut(20, 10, QStringLiteral("I"));
        const int red = tc.LeftmostOf(clRed);
        const int blue = tc.LeftmostOf(clBlue);
        ASSERT_GE(red, 0) << size;
        ASSERT_GE(blue, 0) << size;
        EXPECT_EQ(blue - red, size) << size;
        EXPECT_GE(std::min(red, blue), 20) << size;   // a negative size moves the text, not the shadow, left of X
    }
}

TEST(CanvasText, OutlineAndGradientDrawThroughAPath)
{
    {
        TextCanvas tc;
        TPlotFont font;
        PlainFont(font, clNone);   // no fill: the outline only
        font.OutLine().SetColor(clBlue);
        font.OutLine().Show();
        tc.canvas.AssignFont(&font);
        tc.canvas.TextOut(10, 10, QStringLiteral("HH"));
        EXPECT_GT(tc.Count(clBlue), 20);
        const int32_t ext = tc.canvas.TextWidth(QStringLiteral("HH"));
        EXPECT_GE(tc.LeftmostOf(clBlue), 9);
        EXPECT_LT(tc.LeftmostOf(clBlue), 10 + ext);
    }
    {
        TextCanvas tc;
        TPlotFont font;
        PlainFont(font, clRed);
        font.Gradient().SetStartColor(clLime);
        font.Gradient().SetEndColor(clLime);
        font.Gradient().SetVisible(true);
        tc.canvas.AssignFont(&font);
        tc.canvas.TextOut(10, 10, QStringLiteral("HH"));
        EXPECT_GT(tc.Count(clLime), 20);   // the letters take the gradient
        EXPECT_EQ(tc.Count(clRed), 0);
        // The clip of the letters is gone afterwards.
        tc.canvas.Brush().SetColor(clYellow);
        tc.canvas.FillRect(TRect{0, 0, 5, 5});
        EXPECT_EQ(tc.Device().GetPixel(0, 0), ColorToRGB(clYellow));
    }
}
