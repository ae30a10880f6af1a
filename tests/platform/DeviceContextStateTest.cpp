// The state rules of a device context, the same for the raster and the recording one: what the
// setters answer and keep, the saved levels, the clip region and the path bracket. Where a rule
// shows in a picture, the recording is played back and looked at like the raster picture.

#include "GdiTestSupport.h"

#include "platform/gdi/MetafilePlayer.h"
#include "platform/gdi/RasterDC.h"
#include "platform/gdi/RecordingDC.h"

#include <QPainter>
#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace gdi;
using namespace gditest;

namespace {

QImage PictureOf(const RasterDC& dc) { return dc.Image(); }

QImage PictureOf(const RecordingDC& dc)
{
    QImage out(dc.Width(), dc.Height(), QImage::Format_RGB32);
    out.fill(Qt::white);
    QPainter p(&out);
    PlayMetafile(dc.Picture(), p, QRectF(0, 0, out.width(), out.height()));
    p.end();
    return out;
}

COLORREF PixelAt(const QImage& picture, int x, int y) { return FromQRgb(picture.pixel(x, y)); }

std::string RowOf(const QImage& picture, int y)
{
    std::string s;
    for (int x = 0; x < picture.width(); ++x)
        s += PixelAt(picture, x, y) == kWhite ? '.' : '#';
    return s;
}

// The leftmost column with ink, -1 for a blank picture.
int InkLeft(const QImage& picture)
{
    for (int x = 0; x < picture.width(); ++x)
        for (int y = 0; y < picture.height(); ++y)
            if (PixelAt(picture, x, y) != kWhite)
                return x;
    return -1;
}

template <typename Context>
class DeviceContextState : public ::testing::Test {};

using Contexts = ::testing::Types<RasterDC, RecordingDC>;
TYPED_TEST_SUITE(DeviceContextState, Contexts);

struct ModeSetter {
    const char* name;
    int (DeviceContext::*set)(int);
    int (DeviceContext::*get)() const;
    int initial;
    int first;
    int second;
    std::vector<int> unknown;
};

} // namespace

TYPED_TEST(DeviceContextState, ModeSettersAnswerTheOldModeAndRefuseUnknownOnesWithZero)
{
    const ModeSetter setters[] = {
        {"ROP2", &DeviceContext::SetROP2, &DeviceContext::GetROP2, R2_COPYPEN, R2_XORPEN, R2_WHITE, {0, 17, -1}},
        {"BkMode", &DeviceContext::SetBkMode, &DeviceContext::GetBkMode, OPAQUE, TRANSPARENT, OPAQUE, {0, 3}},
        {"PolyFillMode", &DeviceContext::SetPolyFillMode, &DeviceContext::GetPolyFillMode, ALTERNATE, WINDING,
         ALTERNATE, {0, 3}},
        {"GraphicsMode", &DeviceContext::SetGraphicsMode, &DeviceContext::GetGraphicsMode, GM_COMPATIBLE,
         GM_ADVANCED, GM_COMPATIBLE, {0, 3}},
        {"ArcDirection", &DeviceContext::SetArcDirection, &DeviceContext::GetArcDirection, AD_COUNTERCLOCKWISE,
         AD_CLOCKWISE, AD_COUNTERCLOCKWISE, {0, 3}},
    };
    TypeParam context(20, 20);
    DeviceContext& dc = context;
    for (const ModeSetter& m : setters) {
        SCOPED_TRACE(m.name);
        EXPECT_EQ((dc.*m.get)(), m.initial);
        EXPECT_EQ((dc.*m.set)(m.first), m.initial);
        EXPECT_EQ((dc.*m.set)(m.second), m.first);
        for (int mode : m.unknown) {
            EXPECT_EQ((dc.*m.set)(mode), 0) << mode;
            EXPECT_EQ((dc.*m.get)(), m.second) << mode;
        }
    }
}

TYPED_TEST(DeviceContextState, ValueSettersAnswerTheOldValueAndColoursKeepTheirRgbBytes)
{
    TypeParam dc(200, 60);
    EXPECT_EQ(dc.SetBkColor(0xFF123456), kWhite);
    EXPECT_EQ(dc.GetBkColor(), 0x123456u);
    EXPECT_EQ(dc.SetTextColor(0x01ABCDEF), kBlack);
    EXPECT_EQ(dc.SetTextColor(kRed), 0xABCDEFu);
    EXPECT_EQ(dc.SetTextAlign(TA_RIGHT | TA_BASELINE), TA_LEFT | TA_TOP);
    EXPECT_EQ(dc.GetTextAlign(), TA_RIGHT | TA_BASELINE);
    EXPECT_EQ(dc.SetTextCharacterExtra(3), 0);
    EXPECT_EQ(dc.SetTextCharacterExtra(-1), 3);
    EXPECT_EQ(dc.GetTextCharacterExtra(), -1);

    Point old{-9, -9};
    dc.MoveToEx(4, 5, &old);
    EXPECT_EQ(old, (Point{0, 0}));
    dc.SelectPen(CosmeticPen(kWhite));   // a line that leaves no ink for the text below
    dc.LineTo(30, 6);
    dc.MoveToEx(10, 5, &old);
    EXPECT_EQ(old, (Point{30, 6}));

    // Text placed at the current position, not at the point given, moves it on by its width.
    dc.SetTextCharacterExtra(0);
    dc.SetTextAlign(TA_UPDATECP);
    dc.SetTextColor(kBlack);
    const QString text = QStringLiteral("Hxg");
    dc.TextOut(0, 0, text);
    EXPECT_EQ(dc.GetCurrentPosition(), (Point{10 + dc.GetTextExtentPoint(text).cx, 5}));
    EXPECT_GE(InkLeft(PictureOf(dc)), 10);
}

TYPED_TEST(DeviceContextState, RestoreDCBringsBackTheWholeSavedState)
{
    Font bold;
    bold.weight = FW_BOLD;
    bold.height = -20;
    const Pen dashed = CosmeticPen(kRed, PS_DASH);
    const Region left = CreateRectRgn(0, 0, 10, 20);
    TypeParam context(20, 20);
    DeviceContext& dc = context;
    dc.SelectPen(dashed);
    dc.SelectBrush(SolidBrush(kBlue));
    dc.SelectFont(bold);
    dc.SetROP2(R2_XORPEN);
    dc.SetBkMode(TRANSPARENT);
    dc.SetBkColor(kGreen);
    dc.SetTextColor(kRed);
    dc.SetTextAlign(TA_RIGHT | TA_BOTTOM);
    dc.SetTextCharacterExtra(2);
    dc.SetPolyFillMode(WINDING);
    dc.SetArcDirection(AD_CLOCKWISE);
    dc.MoveToEx(3, 4);
    dc.SelectClipRgn(&left);
    EXPECT_EQ(dc.SaveDC(), 1);

    dc.SelectPen(CosmeticPen(kBlack));
    dc.SelectBrush(SolidBrush(kRed));
    dc.SelectFont(Font{});
    dc.SetROP2(R2_COPYPEN);
    dc.SetBkMode(OPAQUE);
    dc.SetBkColor(kWhite);
    dc.SetTextColor(kBlack);
    dc.SetTextAlign(TA_LEFT);
    dc.SetTextCharacterExtra(0);
    dc.SetPolyFillMode(ALTERNATE);
    dc.SetArcDirection(AD_COUNTERCLOCKWISE);
    dc.MoveToEx(9, 9);
    dc.SelectClipRgn(nullptr);
    EXPECT_EQ(dc.SaveDC(), 2);
    dc.SetROP2(R2_NOP);

    // Level 1 drops level 2 as well.
    ASSERT_TRUE(dc.RestoreDC(1));
    EXPECT_EQ(dc.GetPen(), dashed);
    EXPECT_EQ(dc.GetBrush(), SolidBrush(kBlue));
    EXPECT_EQ(dc.GetFont(), bold);
    EXPECT_EQ(dc.GetROP2(), R2_XORPEN);
    EXPECT_EQ(dc.GetBkMode(), TRANSPARENT);
    EXPECT_EQ(dc.GetBkColor(), kGreen);
    EXPECT_EQ(dc.GetTextColor(), kRed);
    EXPECT_EQ(dc.GetTextAlign(), TA_RIGHT | TA_BOTTOM);
    EXPECT_EQ(dc.GetTextCharacterExtra(), 2);
    EXPECT_EQ(dc.GetPolyFillMode(), WINDING);
    EXPECT_EQ(dc.GetArcDirection(), AD_CLOCKWISE);
    EXPECT_EQ(dc.GetCurrentPosition(), (Point{3, 4}));
    EXPECT_FALSE(dc.PtVisible(15, 5));
    EXPECT_TRUE(dc.PtVisible(5, 5));
    EXPECT_FALSE(dc.RestoreDC(-1));   // nothing saved any more
    EXPECT_FALSE(dc.RestoreDC(0));

    // A relative level counts back from the last save.
    dc.SaveDC();
    dc.SelectClipRgn(nullptr);
    dc.SelectBrush(SolidBrush(kGreen));
    ASSERT_TRUE(dc.RestoreDC(-1));
    EXPECT_EQ(dc.GetBrush(), SolidBrush(kBlue));
    EXPECT_FALSE(dc.PtVisible(15, 5));

    // What is drawn next follows the restored state: the blue brush, within the left half.
    dc.SetROP2(R2_COPYPEN);
    Pen none;
    none.style = PS_NULL;
    dc.SelectPen(none);
    dc.Rectangle(0, 0, 21, 21);
    const QImage picture = PictureOf(context);
    EXPECT_EQ(PixelAt(picture, 5, 5), kBlue);
    EXPECT_EQ(PixelAt(picture, 15, 5), kWhite);
}

TYPED_TEST(DeviceContextState, ClipRegionCombinesReadsBackAndHidesWhatLiesOutside)
{
    TypeParam dc(300, 200);
    Region out;
    EXPECT_EQ(dc.GetClipRgn(out), 0);
    EXPECT_EQ(dc.GetClipBox(), (Rect{0, 0, 300, 200}));
    EXPECT_TRUE(dc.PtVisible(299, 199));
    EXPECT_FALSE(dc.PtVisible(300, 5));
    EXPECT_FALSE(dc.PtVisible(-1, 5));
    EXPECT_EQ(dc.ExtSelectClipRgn(nullptr, RGN_AND), RGN_ERROR);

    const Region a = CreateRectRgn(10, 10, 100, 100);
    const Region b = CreateRectRgn(50, 0, 300, 60);
    EXPECT_EQ(dc.ExtSelectClipRgn(&a, RGN_AND), SIMPLEREGION);
    EXPECT_EQ(dc.ExtSelectClipRgn(&b, RGN_AND), SIMPLEREGION);
    EXPECT_EQ(dc.GetClipBox(), (Rect{50, 10, 100, 60}));
    EXPECT_TRUE(dc.PtVisible(60, 20));
    EXPECT_FALSE(dc.PtVisible(20, 20));
    ASSERT_EQ(dc.GetClipRgn(out), 1);
    EXPECT_EQ(out.Box(), (Rect{50, 10, 100, 60}));

    // Without a clip region a combination starts from the whole frame.
    EXPECT_EQ(dc.ExtSelectClipRgn(nullptr, RGN_COPY), SIMPLEREGION);
    EXPECT_EQ(dc.GetClipRgn(out), 0);
    EXPECT_EQ(dc.ExtSelectClipRgn(&a, RGN_DIFF), COMPLEXREGION);
    EXPECT_FALSE(dc.PtVisible(50, 50));
    EXPECT_TRUE(dc.PtVisible(5, 50));
    EXPECT_TRUE(dc.PtVisible(150, 150));
    const Region empty = CreateRectRgn(5, 5, 5, 5);
    EXPECT_EQ(dc.SelectClipRgn(&empty), NULLREGION);
    EXPECT_FALSE(dc.PtVisible(5, 5));

    // One-pixel lines honour the clip.
    const Region r = CreateRectRgn(1, 1, 4, 4);
    EXPECT_EQ(dc.SelectClipRgn(&r), SIMPLEREGION);
    dc.SelectPen(CosmeticPen(kBlack));
    dc.MoveToEx(0, 2);
    dc.LineTo(10, 2);
    EXPECT_EQ(RowOf(PictureOf(dc), 2).substr(0, 10), ".###......");
}

TYPED_TEST(DeviceContextState, OnlyAFinishedPathIsStrokedFilledOrClippedAndOnlyOnce)
{
    TypeParam dc(20, 10);
    dc.SelectPen(CosmeticPen(kBlack));
    dc.SelectBrush(SolidBrush(kRed));
    EXPECT_FALSE(dc.SelectClipPath(RGN_AND));   // no path at all
    dc.EndPath();                               // no bracket to end
    dc.FillPath();

    dc.BeginPath();
    dc.Rectangle(2, 2, 8, 8);
    dc.StrokeAndFillPath();   // still open: nothing
    EXPECT_FALSE(dc.SelectClipPath(RGN_AND));
    dc.EndPath();
    dc.FillPath();
    dc.SelectBrush(SolidBrush(kBlue));
    dc.FillPath();   // used up
    dc.StrokePath();

    dc.BeginPath();
    dc.Rectangle(12, 2, 18, 8);
    dc.AbortPath();
    dc.EndPath();
    dc.FillPath();

    dc.BeginPath();
    dc.Rectangle(0, 0, 10, 10);
    dc.EndPath();
    EXPECT_TRUE(dc.SelectClipPath(RGN_COPY));
    EXPECT_FALSE(dc.SelectClipPath(RGN_COPY));

    const QImage picture = PictureOf(dc);
    EXPECT_EQ(PixelAt(picture, 5, 5), kRed);
    EXPECT_EQ(PixelAt(picture, 15, 5), kWhite);
}
