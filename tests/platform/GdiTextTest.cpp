#include "platform/gdi/RasterDC.h"

#include <gtest/gtest.h>

#include <vector>

using namespace gdi;

// Glyph pixels differ between font versions, so these tests look at extents and at where the ink
// lies relative to the reference point, never at single glyph pixels.

namespace {

struct Ink {
    int left = 1 << 30, top = 1 << 30, right = -1, bottom = -1;
    int count = 0;
};

Ink FindInk(const RasterDC& dc, COLORREF background = 0xFFFFFF)
{
    Ink b;
    for (int y = 0; y < dc.Height(); ++y)
        for (int x = 0; x < dc.Width(); ++x)
            if (dc.GetPixel(x, y) != background) {
                b.left = std::min(b.left, x);
                b.right = std::max(b.right, x);
                b.top = std::min(b.top, y);
                b.bottom = std::max(b.bottom, y);
                ++b.count;
            }
    return b;
}

Font TestFont(int32_t height)
{
    Font f;
    f.height = height;
    f.faceName = QStringLiteral("Liberation Sans");
    return f;
}

const QString kText = QStringLiteral("Hxg");

} // namespace

TEST(GdiText, ExtentIsAdvanceByAscentPlusDescent)
{
    RasterDC dc(10, 10);
    dc.SelectFont(TestFont(-20));
    const TextMetric tm = dc.GetTextMetrics();
    EXPECT_GT(tm.ascent, 10);
    EXPECT_GT(tm.descent, 1);
    EXPECT_EQ(tm.height, tm.ascent + tm.descent);
    const Size one = dc.GetTextExtentPoint(QStringLiteral("W"));
    const Size two = dc.GetTextExtentPoint(QStringLiteral("WW"));
    EXPECT_EQ(one.cy, tm.height);
    EXPECT_EQ(two.cx, 2 * one.cx);
    EXPECT_EQ(dc.GetTextExtentPoint(QString()).cx, 0);
    // A negative height is the character height: the cell is taller than 20 pixels.
    EXPECT_GE(tm.height, 20);
    EXPECT_LE(tm.height, 26);
}

// Widths follow the font selected, also when a text was measured in another font before.
TEST(GdiText, PositiveHeightIsTheCellHeightAndWidthsFollowTheFont)
{
    RasterDC dc(10, 10);
    std::vector<int> widths;
    for (int h : {12, 23, 40, 12, 23}) {
        dc.SelectFont(TestFont(h));
        EXPECT_NEAR(dc.GetTextExtentPoint(QStringLiteral("W")).cy, h, 1) << h;
        widths.push_back(dc.GetTextExtentPoint(QStringLiteral("W")).cx);
    }
    EXPECT_LT(widths[0], widths[1]);
    EXPECT_LT(widths[1], widths[2]);
    EXPECT_EQ(widths[3], widths[0]);
    EXPECT_EQ(widths[4], widths[1]);
}

TEST(GdiText, CharacterExtraAddsAfterEveryCharacter)
{
    RasterDC dc(10, 10);
    dc.SelectFont(TestFont(-16));
    const Size plain = dc.GetTextExtentPoint(QStringLiteral("abcd"));
    EXPECT_EQ(dc.SetTextCharacterExtra(3), 0);
    EXPECT_EQ(dc.GetTextExtentPoint(QStringLiteral("abcd")).cx, plain.cx + 4 * 3);
    EXPECT_EQ(dc.GetTextExtentPoint(QStringLiteral("abcd")).cy, plain.cy);
    dc.SetTextCharacterExtra(0);
    EXPECT_EQ(dc.GetTextExtentPoint(QStringLiteral("abcd")).cx, plain.cx);
}

TEST(GdiText, AlignmentPlacesTheCellAroundTheReferencePoint)
{
    struct Case {
        uint32_t align;
        int dx0, dx1;   // expected cell in x relative to the reference point, as factors of width
        int vertical;   // 0 top, 1 baseline, 2 bottom
    };
    const Case cases[] = {
        {TA_LEFT | TA_TOP, 0, 2, 0},      {TA_RIGHT | TA_TOP, -2, 0, 0},      {TA_CENTER | TA_TOP, -1, 1, 0},
        {TA_LEFT | TA_BASELINE, 0, 2, 1}, {TA_LEFT | TA_BOTTOM, 0, 2, 2},
    };
    for (const Case& c : cases) {
        RasterDC dc(200, 100);
        dc.SelectFont(TestFont(-24));
        dc.SetBkMode(TRANSPARENT);
        dc.SetTextAlign(c.align);
        const int x = 100, y = 50;
        dc.TextOut(x, y, kText);
        const Size ext = dc.GetTextExtentPoint(kText);
        const TextMetric tm = dc.GetTextMetrics();
        const Ink ink = FindInk(dc);
        ASSERT_GT(ink.count, 0) << c.align;
        const int cellLeft = x + c.dx0 * ext.cx / 2;
        const int cellRight = x + c.dx1 * ext.cx / 2;
        EXPECT_GE(ink.left, cellLeft - 1) << c.align;
        EXPECT_LE(ink.right, cellRight) << c.align;
        EXPECT_GE(ink.right - ink.left, ext.cx / 2) << c.align;
        const int top = c.vertical == 0 ? y : c.vertical == 1 ? y - tm.ascent : y - tm.height;
        EXPECT_GE(ink.top, top) << c.align;
        EXPECT_LT(ink.bottom, top + tm.height) << c.align;
        if (c.vertical == 1) {
            EXPECT_LT(ink.top, y);     // the capital stands on the baseline
            EXPECT_GE(ink.bottom, y);  // the descender of g goes below it
        }
    }
}

TEST(GdiText, OpaqueBackgroundFillsExactlyTheCell)
{
    RasterDC dc(200, 60);
    dc.SelectFont(TestFont(-20));
    dc.SetBkMode(OPAQUE);
    dc.SetBkColor(RGB(0, 0, 255));
    dc.SetTextColor(RGB(255, 0, 0));
    dc.TextOut(20, 10, kText);
    const Size ext = dc.GetTextExtentPoint(kText);
    const Ink cell = FindInk(dc);
    EXPECT_EQ(cell.left, 20);
    EXPECT_EQ(cell.top, 10);
    EXPECT_EQ(cell.right, 20 + ext.cx - 1);
    EXPECT_EQ(cell.bottom, 10 + ext.cy - 1);

    RasterDC clear(200, 60);
    clear.SelectFont(TestFont(-20));
    clear.SetBkMode(TRANSPARENT);
    clear.SetBkColor(RGB(0, 0, 255));
    clear.TextOut(20, 10, kText);
    int blue = 0;
    for (int y = 0; y < 60; ++y)
        for (int x = 0; x < 200; ++x)
            blue += clear.GetPixel(x, y) == RGB(0, 0, 255);
    EXPECT_EQ(blue, 0);
}

TEST(GdiText, EscapementTurnsTheTextCounterClockwise)
{
    RasterDC flat(200, 200);
    flat.SelectFont(TestFont(-24));
    flat.SetBkMode(TRANSPARENT);
    flat.TextOut(100, 100, QStringLiteral("HHHHHH"));
    const Ink a = FindInk(flat);

    RasterDC up(200, 200);
    Font f = TestFont(-24);
    f.escapement = 900;
    up.SelectFont(f);
    up.SetBkMode(TRANSPARENT);
    up.TextOut(100, 100, QStringLiteral("HHHHHH"));
    const Ink b = FindInk(up);
    const Size ext = up.GetTextExtentPoint(QStringLiteral("HHHHHH"));
    // Width and height swap; the text runs upwards from the reference point, its top to the left.
    EXPECT_NEAR(b.bottom - b.top, a.right - a.left, 2);
    EXPECT_NEAR(b.right - b.left, a.bottom - a.top, 2);
    EXPECT_LE(b.bottom, 100);
    EXPECT_GE(b.top, 100 - ext.cx - 1);
    EXPECT_GE(b.left, 100);
    EXPECT_LE(b.right, 100 + ext.cy);
}

// Text placed by its left end is drawn without being measured, and fonts selected again come from
// the context's recent fonts: both must give the pixels and extents of measured text (moving the
// current position needs the width) in a font made afresh.
TEST(GdiText, UnmeasuredTextAndReselectedFontsDrawTheSamePixels)
{
    std::vector<Font> fonts;
    for (int i = 0; i < 10; ++i) {
        Font f = TestFont(i % 2 == 0 ? -(11 + i) : 14 + i);
        f.weight = i % 3 == 0 ? FW_BOLD : FW_NORMAL;
        f.underline = i % 5 == 2;
        f.escapement = i % 3 == 1 ? 900 : i == 5 ? 450 : 0;
        fonts.push_back(f);
    }
    const QString text = QStringLiteral("Peak 48.3 dB\u00b5V");
    RasterDC reused(160, 160);
    reused.SetBkMode(TRANSPARENT);
    for (size_t i = 0; i < 2 * fonts.size(); ++i) {
        const Font& font = fonts[i % fonts.size()];
        RasterDC fresh(160, 160);
        fresh.SetBkMode(TRANSPARENT);
        fresh.SetTextCharacterExtra(static_cast<int>(i % 3));
        fresh.SelectFont(font);
        fresh.SetTextAlign(TA_UPDATECP);
        fresh.MoveToEx(40, 80);
        fresh.TextOut(0, 0, text);

        reused.PatBlt(0, 0, 160, 160, WHITENESS);
        reused.SelectFont(fonts[(i + 3) % fonts.size()]);
        reused.SetTextCharacterExtra(static_cast<int>(i % 3));
        reused.SelectFont(font);
        reused.TextOut(40, 80, text);
        EXPECT_EQ(reused.GetTextExtentPoint(text), fresh.GetTextExtentPoint(text)) << i;
        EXPECT_TRUE(reused.Image() == fresh.Image()) << i;
    }
}
