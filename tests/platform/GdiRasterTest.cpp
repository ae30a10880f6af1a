#include "GdiTestSupport.h"

#include "platform/gdi/RasterDC.h"

#include <QImage>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <random>
#include <string>

using namespace gdi;

using namespace gditest;

TEST(GdiRaster, NewPictureIsWhiteRgb32AtRatioOneAndNeverEmpty)
{
    RasterDC dc(7, 5);
    const QImage& img = dc.Image();
    EXPECT_EQ(img.format(), QImage::Format_RGB32);
    EXPECT_EQ(img.devicePixelRatio(), 1.0);
    EXPECT_EQ(img.size(), QSize(7, 5));
    EXPECT_EQ(CountIf(dc, [](int, int, COLORREF c) { return c != kWhite; }), 0);

    RasterDC empty(0, 0);
    EXPECT_FALSE(empty.Image().isNull());
    EXPECT_EQ(empty.Image().size(), QSize(1, 1));
    dc.Resize(-3, 0);
    EXPECT_EQ(dc.Image().size(), QSize(1, 1));
}

TEST(GdiRaster, LineToLeavesOutItsLastPixel)
{
    RasterDC dc(12, 12);
    dc.SelectPen(CosmeticPen(kBlack));
    dc.MoveToEx(2, 5);
    dc.LineTo(8, 5);
    EXPECT_EQ(Row(dc, 5, 0, 12), "..######....");
    EXPECT_EQ(dc.GetCurrentPosition(), (Point{8, 5}));

    dc.MoveToEx(10, 8);
    dc.LineTo(10, 2);   // upwards: 8..3 drawn, 2 left out
    EXPECT_EQ(Column(dc, 10, 0, 12), "...######...");

    RasterDC diag(8, 8);
    diag.SelectPen(CosmeticPen(kBlack));
    diag.MoveToEx(0, 0);
    diag.LineTo(5, 5);
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(diag.GetPixel(i, i), kBlack) << i;
    EXPECT_EQ(diag.GetPixel(5, 5), kWhite);
    EXPECT_EQ(CountIf(diag, [](int, int, COLORREF c) { return c != kWhite; }), 5);
}

TEST(GdiRaster, PolylineDrawsEveryJointOnceSoXorLeavesNoHoles)
{
    RasterDC dc(12, 12);
    dc.SelectPen(CosmeticPen(kWhite));
    dc.SetROP2(R2_XORPEN);   // white XOR white = black; a pixel drawn twice would be white again
    const Point pts[] = {{1, 1}, {8, 1}, {8, 8}, {1, 8}};
    dc.Polyline(pts, 4);
    EXPECT_EQ(Row(dc, 1, 0, 12), ".########...");
    EXPECT_EQ(Column(dc, 8, 0, 12), ".########...");
    EXPECT_EQ(Row(dc, 8, 0, 12), "..#######...");   // the final point (1, 8) is left out
}

// A solid polyline lights what its segments drawn one by one light, also where runs of segments
// go up and down one column (its last point is left out unless an earlier one reached it) and
// inside a rectangular clip.
TEST(GdiRaster, PolylineLightsWhatItsSegmentsLight)
{
    std::mt19937 rng(5);
    for (int round = 0; round < 300; ++round) {
        std::vector<Point> pts;
        int x = static_cast<int>(rng() % 6);
        for (int i = 0, n = 2 + static_cast<int>(rng() % 12); i < n; ++i) {
            if (rng() % 3 == 0)
                x += static_cast<int>(rng() % 5) - 2;
            pts.push_back(Point{x, static_cast<int>(rng() % 16) - 2});
        }
        RasterDC joined(14, 14), apart(14, 14);
        if (round % 2 == 1) {
            const Region region = CreateRectRgn(1, 2, 11, 10);
            joined.SelectClipRgn(&region);
            apart.SelectClipRgn(&region);
        }
        joined.SelectPen(CosmeticPen(kBlack));
        apart.SelectPen(CosmeticPen(kBlack));
        joined.Polyline(pts.data(), static_cast<int>(pts.size()));
        for (size_t i = 1; i < pts.size(); ++i) {
            apart.MoveToEx(pts[i - 1].x, pts[i - 1].y);
            apart.LineTo(pts[i].x, pts[i].y);
        }
        std::string points;
        for (const Point& p : pts)
            points += " " + std::to_string(p.x) + "," + std::to_string(p.y);
        ASSERT_TRUE(joined.Image() == apart.Image()) << "round " << round << ":" << points;
    }
}

TEST(GdiRaster, RectangleTreatsRightAndBottomAsExclusive)
{
    RasterDC dc(10, 8);
    dc.SelectPen(CosmeticPen(kBlack));
    dc.SelectBrush(SolidBrush(kRed));
    dc.Rectangle(2, 2, 8, 6);
    for (int x = 2; x < 8; ++x) {
        EXPECT_EQ(dc.GetPixel(x, 2), kBlack) << x;
        EXPECT_EQ(dc.GetPixel(x, 5), kBlack) << x;
        EXPECT_EQ(dc.GetPixel(x, 6), kWhite) << x;
    }
    for (int y = 2; y < 6; ++y) {
        EXPECT_EQ(dc.GetPixel(2, y), kBlack);
        EXPECT_EQ(dc.GetPixel(7, y), kBlack);
        EXPECT_EQ(dc.GetPixel(8, y), kWhite);
    }
    EXPECT_EQ(dc.GetPixel(3, 3), kRed);
    EXPECT_EQ(dc.GetPixel(6, 4), kRed);
    EXPECT_EQ(CountIf(dc, [](int, int, COLORREF c) { return c == kRed; }), 4 * 2);
}

TEST(GdiRaster, RectangleWithoutPenFillsOnePixelShort)
{
    RasterDC dc(10, 8);
    Pen none;
    none.style = PS_NULL;
    dc.SelectPen(none);
    dc.SelectBrush(SolidBrush(kBlue));
    dc.Rectangle(1, 1, 6, 4);
    EXPECT_EQ(CountIf(dc, [](int, int, COLORREF c) { return c == kBlue; }), 4 * 2);
    EXPECT_EQ(dc.GetPixel(1, 1), kBlue);
    EXPECT_EQ(dc.GetPixel(4, 2), kBlue);
    EXPECT_EQ(dc.GetPixel(5, 2), kWhite);
    EXPECT_EQ(dc.GetPixel(4, 3), kWhite);
}

TEST(GdiRaster, FillRectAndPatBltFillExactlyTheRectangle)
{
    RasterDC dc(8, 8);
    dc.FillRect(Rect{1, 1, 4, 3}, SolidBrush(kRed));
    EXPECT_EQ(CountIf(dc, [](int, int, COLORREF c) { return c == kRed; }), 6);
    EXPECT_EQ(dc.GetPixel(3, 2), kRed);
    EXPECT_EQ(dc.GetPixel(4, 2), kWhite);
    EXPECT_EQ(dc.GetPixel(3, 3), kWhite);

    dc.FillRect(Rect{5, 5, 5, 8}, SolidBrush(kRed));   // empty: nothing
    EXPECT_EQ(CountIf(dc, [](int, int, COLORREF c) { return c == kRed; }), 6);
    // Given the wrong way round, the normalised rectangle: x 5..6, y 4..5.
    dc.FillRect(Rect{7, 6, 5, 4}, SolidBrush(kGreen));
    EXPECT_EQ(CountIf(dc, [](int, int, COLORREF c) { return c == kGreen; }), 4);
    EXPECT_EQ(dc.GetPixel(5, 4), kGreen);
    EXPECT_EQ(dc.GetPixel(6, 5), kGreen);

    // Negative extents run back from the point: from the far edge + 1 to the start included.
    RasterDC pat(10, 10);
    pat.SelectBrush(SolidBrush(kBlue));
    pat.PatBlt(7, 7, -2, -3, PATCOPY);
    EXPECT_EQ(CountIf(pat, [](int, int, COLORREF c) { return c == kBlue; }), 6);
    EXPECT_EQ(Row(pat, 7, 4, 9), "..##.");
    EXPECT_EQ(Column(pat, 7, 3, 9), "..###.");

    pat.PatBlt(0, 0, 10, 10, DSTINVERT);
    EXPECT_EQ(pat.GetPixel(0, 0), kBlack);
    EXPECT_EQ(pat.GetPixel(6, 5), RGB(255, 255, 0));
}

TEST(GdiRaster, EllipseStaysInsideItsExclusiveBox)
{
    RasterDC dc(14, 14);
    dc.SelectPen(CosmeticPen(kBlack));
    dc.SelectBrush(SolidBrush(kRed));
    dc.Ellipse(1, 1, 12, 12);
    const Box b = InkBox(dc);
    EXPECT_EQ(b.left, 1);
    EXPECT_EQ(b.top, 1);
    EXPECT_EQ(b.right, 11);
    EXPECT_EQ(b.bottom, 11);
    EXPECT_EQ(dc.GetPixel(6, 6), kRed);     // filled inside
    EXPECT_EQ(dc.GetPixel(1, 1), kWhite);   // corners of the box stay clear
    EXPECT_EQ(dc.GetPixel(11, 11), kWhite);
}

TEST(GdiRaster, CosmeticPenStylesFollowTheirPatterns)
{
    struct Case {
        uint32_t style;
        std::vector<uint32_t> user;
        std::string expected;
    };
    const std::vector<Case> cases = {
        {PS_DOT, {}, "###...###...###...###...##"},
        {PS_DASH, {}, "##################......##"},
        {PS_DASHDOT, {}, "#########......###......##"},
        {PS_DASHDOTDOT, {}, "#########...###...###...##"},
        {PS_ALTERNATE, {}, "#.#.#.#.#.#.#.#.#.#.#.#.#."},
        {PS_USERSTYLE, {2, 3}, "##...##...##...##...##...#"},
        {PS_USERSTYLE, {0, 3}, "#..#..#..#..#..#..#..#..#."},   // a zero dash is a single dot
        {PS_USERSTYLE, {2, 0, 1, 3}, "###...###...###...###...##"},   // a zero gap joins the dashes
    };
    for (const Case& c : cases) {
        RasterDC dc(30, 3);
        dc.SetBkMode(TRANSPARENT);
        Pen p = CosmeticPen(kBlack, c.style);
        p.userStyle = c.user;
        dc.SelectPen(p);
        dc.MoveToEx(0, 1);
        dc.LineTo(26, 1);
        EXPECT_EQ(Row(dc, 1, 0, 26), c.expected) << "style " << c.style;
    }
}

// Styled lines in no clip or a rectangular one take a shorter road than in any other clip: both
// light the same pixels, the pattern carried along polylines, on either background.
TEST(GdiRaster, StyledLinesLightTheSamePixelsInEveryClip)
{
    std::mt19937 rng(11);
    const uint32_t styles[] = {PS_DOT, PS_DASH, PS_DASHDOT, PS_DASHDOTDOT, PS_ALTERNATE, PS_USERSTYLE};
    for (int round = 0; round < 400; ++round) {
        Pen pen = CosmeticPen(kBlue, styles[round % 6]);
        pen.userStyle = {2, 0, 1, 3, 4, 1};
        std::vector<Point> pts;
        for (int i = 0, n = 2 + static_cast<int>(rng() % 4); i < n; ++i) {
            const Point last = pts.empty() ? Point{static_cast<int>(rng() % 40) - 5, static_cast<int>(rng() % 30) - 5}
                                           : pts.back();
            const int step = static_cast<int>(rng() % 50) - 25;
            switch (rng() % 3) {
            case 0: pts.push_back(Point{last.x + step, last.y}); break;
            case 1: pts.push_back(Point{last.x, last.y + step}); break;
            default: pts.push_back(Point{last.x + step, last.y + static_cast<int>(rng() % 20) - 10}); break;
            }
        }
        RasterDC fast(30, 20), general(30, 20);
        // All but one corner pixel: a clip that is no rectangle.
        Region most;
        most.Combine(CreateRectRgn(0, 0, 30, 20), CreateRectRgn(0, 0, 1, 1), RGN_DIFF);
        general.SelectClipRgn(&most);
        if (round % 3 == 1) {
            const Region box = CreateRectRgn(3, 2, 24, 17);
            fast.SelectClipRgn(&box);
            Region both;
            both.Combine(most, box, RGN_AND);
            general.SelectClipRgn(&both);
        }
        for (RasterDC* dc : {&fast, &general}) {
            dc->SetBkMode(round % 2 == 0 ? TRANSPARENT : OPAQUE);
            dc->SetBkColor(kGreen);
            dc->SelectPen(pen);
            if (round % 4 == 0) {
                dc->Polyline(pts.data(), static_cast<int>(pts.size()));
            } else {
                for (size_t i = 1; i < pts.size(); ++i) {
                    dc->MoveToEx(pts[i - 1].x, pts[i - 1].y);
                    dc->LineTo(pts[i].x, pts[i].y);
                }
            }
        }
        for (int y = 0; y < 20; ++y) {
            for (int x = (y == 0 ? 1 : 0); x < 30; ++x)
                ASSERT_EQ(fast.GetPixel(x, y), general.GetPixel(x, y)) << "round " << round << " at " << x << "," << y;
        }
    }
}

TEST(GdiRaster, EveryLineToRestartsTheStyleAndAPolylineCarriesIt)
{
    RasterDC dc(20, 4);
    dc.SetBkMode(TRANSPARENT);
    dc.SelectPen(CosmeticPen(kBlack, PS_DOT));
    dc.MoveToEx(0, 1);
    dc.LineTo(4, 1);
    dc.LineTo(12, 1);
    EXPECT_EQ(Row(dc, 1, 0, 12), "###.###...##");
    const Point pts[] = {{0, 2}, {4, 2}, {12, 2}};
    dc.Polyline(pts, 3);
    EXPECT_EQ(Row(dc, 2, 0, 12), "###...###...");
}

TEST(GdiRaster, OpaqueBackgroundFillsTheGapsOfStyledPens)
{
    RasterDC dc(12, 3);
    dc.SetBkMode(OPAQUE);
    dc.SetBkColor(kRed);
    dc.SelectPen(CosmeticPen(kBlack, PS_DOT));
    dc.MoveToEx(0, 1);
    dc.LineTo(12, 1);
    EXPECT_EQ(dc.GetPixel(0, 1), kBlack);
    EXPECT_EQ(dc.GetPixel(3, 1), kRed);
    EXPECT_EQ(dc.GetPixel(5, 1), kRed);
    EXPECT_EQ(dc.GetPixel(6, 1), kBlack);
}

TEST(GdiRaster, WideLinesCoverTheirWidthAndCapsDecideTheEnds)
{
    struct Case {
        uint32_t cap;
        bool beforeStart;   // pixel (4, 10) one before the start
    };
    for (const Case c : {Case{PS_ENDCAP_FLAT, false}, Case{PS_ENDCAP_SQUARE, true}, Case{PS_ENDCAP_ROUND, true}}) {
        RasterDC dc(24, 20);
        dc.SelectPen(WidePen(kBlack, 3, PS_SOLID | c.cap));
        dc.MoveToEx(5, 10);
        dc.LineTo(15, 10);
        EXPECT_EQ(Column(dc, 10, 7, 14), "..###..") << "cap " << c.cap;
        EXPECT_EQ(dc.GetPixel(5, 10), kBlack);
        EXPECT_EQ(dc.GetPixel(4, 10) == kBlack, c.beforeStart) << "cap " << c.cap;
        EXPECT_EQ(dc.GetPixel(3, 10), kWhite) << "cap " << c.cap;
        EXPECT_EQ(dc.GetPixel(4, 8), kWhite) << "cap " << c.cap;   // no cap reaches the corner
    }
    RasterDC two(20, 20);
    two.SelectPen(WidePen(kBlack, 2, PS_SOLID | PS_ENDCAP_FLAT));
    two.MoveToEx(2, 10);
    two.LineTo(15, 10);
    const std::string column = Column(two, 8, 0, 20);
    EXPECT_EQ(std::count(column.begin(), column.end(), '#'), 2);
    EXPECT_EQ(two.GetPixel(8, 10), kBlack);
}

TEST(GdiRaster, JoinsOfWidePensShapeTheCorner)
{
    auto corner = [](uint32_t join) {
        RasterDC dc(30, 30);
        dc.SelectPen(WidePen(kBlack, 5, PS_SOLID | PS_ENDCAP_FLAT | join));
        const Point pts[] = {{5, 5}, {15, 5}, {15, 20}};
        dc.Polyline(pts, 3);
        return dc.GetPixel(17, 3) == kBlack;
    };
    EXPECT_TRUE(corner(PS_JOIN_MITER));
    EXPECT_FALSE(corner(PS_JOIN_BEVEL));
    EXPECT_FALSE(corner(PS_JOIN_ROUND));
}

TEST(GdiRaster, InsideFrameKeepsTheWidePenInsideTheBox)
{
    RasterDC inside(40, 40);
    inside.SelectPen(WidePen(kBlack, 5, PS_INSIDEFRAME));
    inside.SelectBrush(NullBrush());
    inside.Rectangle(10, 10, 30, 30);
    const Box a = InkBox(inside);
    EXPECT_EQ(a.left, 10);
    EXPECT_EQ(a.top, 10);
    EXPECT_EQ(a.right, 29);
    EXPECT_EQ(a.bottom, 29);
    EXPECT_EQ(Row(inside, 20, 8, 17), "..#####..");

    RasterDC centred(40, 40);
    centred.SelectPen(WidePen(kBlack, 5, PS_SOLID));
    centred.SelectBrush(NullBrush());
    centred.Rectangle(10, 10, 30, 30);
    const Box b = InkBox(centred);
    EXPECT_EQ(b.left, 8);
    EXPECT_EQ(b.right, 31);
}

TEST(GdiRaster, XorAndNotModesUndoThemselves)
{
    RasterDC dc(30, 30);
    // A background that is not plain white, so that restoring means something.
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 30; ++x)
            dc.SetPixel(x, y, RGB(x * 8, y * 8, (x + y) * 4));
    const QImage before = dc.Image().copy();

    dc.SelectBrush(NullBrush());
    dc.SelectPen(CosmeticPen(0xFFFFFF));
    dc.SetROP2(R2_XORPEN);
    for (int pass = 0; pass < 2; ++pass) {
        dc.Rectangle(3, 4, 25, 20);   // the zoom rectangle
        dc.MoveToEx(0, 10);           // the crosshair
        dc.LineTo(30, 10);
        dc.MoveToEx(12, 0);
        dc.LineTo(12, 30);
        if (pass == 0) {
            EXPECT_NE(dc.Image(), before);
        }
    }
    EXPECT_EQ(dc.Image(), before);

    dc.SetROP2(R2_NOT);
    dc.SelectPen(WidePen(kRed, 3, PS_SOLID | PS_ENDCAP_FLAT));
    dc.MoveToEx(2, 2);
    dc.LineTo(27, 25);
    EXPECT_NE(dc.Image(), before);
    dc.MoveToEx(2, 2);
    dc.LineTo(27, 25);
    EXPECT_EQ(dc.Image(), before);
}

TEST(GdiRaster, MixModesComputeTheirBitOperations)
{
    struct Case {
        int rop;
        COLORREF expected;   // pen green over a white background
    };
    const Case cases[] = {{R2_COPYPEN, kGreen},
                          {R2_XORPEN, RGB(255, 0, 255)},
                          {R2_NOTXORPEN, kGreen},
                          {R2_NOT, kBlack},
                          {R2_NOTCOPYPEN, RGB(255, 0, 255)},
                          {R2_MASKPEN, kGreen},
                          {R2_MERGEPEN, kWhite},
                          {R2_BLACK, kBlack},
                          {R2_NOP, kWhite}};
    for (const Case& c : cases) {
        for (int width : {1, 3}) {
            RasterDC dc(10, 10);
            dc.SetROP2(c.rop);
            dc.SelectPen(width == 1 ? CosmeticPen(kGreen) : WidePen(kGreen, 3, PS_SOLID | PS_ENDCAP_FLAT));
            dc.MoveToEx(1, 5);
            dc.LineTo(8, 5);
            EXPECT_EQ(dc.GetPixel(4, 5), c.expected) << "rop " << c.rop << " width " << width;
        }
    }
}

TEST(GdiRaster, PixelsKeepTheirChannelOrderAndIgnoreTheMixMode)
{
    RasterDC dc(4, 4);
    dc.SetROP2(R2_XORPEN);
    EXPECT_EQ(dc.SetPixel(1, 2, RGB(10, 20, 30)), RGB(10, 20, 30));
    EXPECT_EQ(dc.GetPixel(1, 2), RGB(10, 20, 30));
    EXPECT_EQ(qRed(dc.Image().pixel(1, 2)), 10);
    EXPECT_EQ(qBlue(dc.Image().pixel(1, 2)), 30);
    EXPECT_EQ(dc.GetPixel(-1, 0), CLR_INVALID);
    EXPECT_EQ(dc.GetPixel(4, 0), CLR_INVALID);
    // Outside the picture: nothing changes, and the answer is the colour asked for.
    const QImage unchanged = dc.Image().copy();
    EXPECT_EQ(dc.SetPixel(9, 9, kRed), kRed);
    EXPECT_EQ(dc.SetPixel(-1, 0, kBlue), kBlue);
    EXPECT_EQ(dc.Image(), unchanged);

    const Region clip = CreateRectRgn(0, 0, 2, 2);
    dc.SelectClipRgn(&clip);
    dc.SetPixel(3, 3, kRed);
    EXPECT_EQ(dc.GetPixel(3, 3), kWhite);
    dc.SetPixel(1, 1, kRed);
    EXPECT_EQ(dc.GetPixel(1, 1), kRed);
}
