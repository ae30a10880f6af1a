#include "chart/canvas/ChartPen.h"
#include "chart/canvas/PlotCanvas3D.h"
#include "chart/canvas/View3DOptions.h"
#include "platform/gdi/RasterDC.h"

#include <gtest/gtest.h>

TEST(PenBrush, ChartPenFiresOnlyOnRealChanges)
{
    int changes = 0;
    TChartPen pen([&changes] { ++changes; });
    EXPECT_TRUE(pen.Visible());
    EXPECT_EQ(pen.EndStyle(), esRound);
    pen.SetVisible(true);
    pen.SetEndStyle(esRound);
    pen.SetSmallDots(false);
    pen.SetSmallSpace(0);
    pen.SetColor(clBlack);
    pen.SetWidth(1);
    EXPECT_EQ(changes, 0);
    pen.Hide();
    EXPECT_EQ(changes, 1);
    pen.Hide();
    EXPECT_EQ(changes, 1);
    pen.SetSmallSpace(3);
    pen.SetEndStyle(esFlat);
    pen.SetWidth(4);
    EXPECT_EQ(changes, 4);
}

TEST(PenBrush, AssignCopiesChartFieldsAndPenFields)
{
    TChartPen source;
    source.SetVisible(false);
    source.SetSmallDots(true);
    source.SetSmallSpace(5);
    source.SetEndStyle(esSquare);
    source.SetColor(clRed);
    source.SetWidth(3);
    source.SetStyle(psDash);
    source.SetMode(pmXor);
    int changes = 0;
    TChartPen target([&changes] { ++changes; });
    target.Assign(source);
    EXPECT_FALSE(target.Visible());
    EXPECT_TRUE(target.SmallDots());
    EXPECT_EQ(target.SmallSpace(), 5);
    EXPECT_EQ(target.EndStyle(), esSquare);
    EXPECT_EQ(target.Color(), clRed);
    EXPECT_EQ(target.Width(), 3);
    EXPECT_EQ(target.Style(), psDash);
    EXPECT_EQ(target.Mode(), pmXor);
    EXPECT_GT(changes, 0);
    // A copy, not the same object: changing the source later leaves the target alone.
    source.SetColor(clBlue);
    EXPECT_EQ(target.Color(), clRed);
    // A plain pen copies only the pen fields.
    TPen plain;
    plain.SetColor(clGreen);
    target.Assign(plain);
    EXPECT_EQ(target.Color(), clGreen);
    EXPECT_FALSE(target.Visible());
}

TEST(PenBrush, PresetPens)
{
    TChartHiddenPen hidden;
    EXPECT_FALSE(hidden.Visible());
    EXPECT_FALSE(hidden.IsVisibleStored());   // its own default is hidden
    hidden.Show();
    EXPECT_TRUE(hidden.IsVisibleStored());
    TChartPen normal;
    EXPECT_FALSE(normal.IsVisibleStored());
    TDottedGrayPen dotted;
    EXPECT_EQ(dotted.Color(), clGray);
    EXPECT_EQ(dotted.Style(), psDot);
    TDarkGrayPen dark;
    EXPECT_EQ(dark.Color(), clGray);
    EXPECT_EQ(dark.Style(), psSolid);
    TWhitePen white;
    EXPECT_EQ(white.Color(), clWhite);
}

TEST(PenBrush, ChartBrushDefaultsBackColourAndImageCopies)
{
    int changes = 0;
    TChartBrush brush([&changes] { ++changes; });
    EXPECT_EQ(brush.Color(), clDefault);
    EXPECT_EQ(brush.BackColor(), clNone);
    EXPECT_FALSE(brush.HasImage());
    brush.SetBackColor(clNone);
    EXPECT_EQ(changes, 0);
    brush.SetBackColor(clYellow);
    EXPECT_EQ(changes, 1);

    TPicture picture;
    QImage img(2, 2, QImage::Format_RGB32);
    img.fill(Qt::green);
    picture.SetGraphic(img);
    brush.SetImage(&picture);
    EXPECT_EQ(changes, 2);
    ASSERT_TRUE(brush.HasImage());
    EXPECT_NE(&brush.Image(), &picture);
    picture.SetGraphic(QImage());   // the brush kept its own copy
    EXPECT_TRUE(brush.HasImage());
    brush.Image().SetGraphic(img);  // editing the image repaints the owner
    EXPECT_EQ(changes, 3);
    brush.SetImage(nullptr);
    EXPECT_FALSE(brush.HasImage());
    EXPECT_EQ(changes, 4);

    TChartBrush copy;
    brush.SetBackColor(clAqua);
    brush.SetStyle(bsCross);
    copy.Assign(brush);
    EXPECT_EQ(copy.BackColor(), clAqua);
    EXPECT_EQ(copy.Style(), bsCross);
}

TEST(PenBrush, View3DOptionsRules)
{
    int repaints = 0;
    TView3DOptions o([&repaints] { ++repaints; });
    EXPECT_EQ(o.Elevation(), 345);
    EXPECT_EQ(o.Rotation(), 345);
    EXPECT_EQ(o.Perspective(), 15);
    EXPECT_EQ(o.OrthoAngle(), 45);
    EXPECT_TRUE(o.Orthogonal());
    EXPECT_TRUE(o.ZoomText());

    int zoomEvents = 0;
    o.OnZoomChanging = [&](int32_t z) {
        ++zoomEvents;
        EXPECT_EQ(z, 150);
        EXPECT_EQ(o.Zoom(), 100);   // fired before the value is stored
    };
    o.SetZoom(100);
    EXPECT_EQ(zoomEvents, 0);
    EXPECT_EQ(repaints, 0);
    o.SetZoom(150);
    EXPECT_EQ(zoomEvents, 1);
    EXPECT_EQ(repaints, 1);

    o.SetPerspective(250);
    EXPECT_EQ(o.Perspective(), 100);
    o.SetPerspective(-5);
    EXPECT_EQ(o.Perspective(), -5);

    std::vector<bool> offsets;
    o.OnOffsetChanged = [&](bool horizontal) { offsets.push_back(horizontal); };
    o.SetHorizOffset(3);
    o.SetVertOffset(4);
    o.SetVertOffset(4);
    EXPECT_EQ(offsets, (std::vector<bool>{true, false}));

    o.SetElevationFloat(12.5);
    EXPECT_EQ(o.Elevation(), 12);   // halves to even
    o.SetElevationFloat(13.5);
    EXPECT_EQ(o.Elevation(), 14);

    EXPECT_NEAR(o.OrthoAngleRatio(), 1.0, 1e-12);
    o.SetOrthoAngle(120);   // mirrored to 60
    EXPECT_NEAR(o.OrthoAngleRatio(), std::sqrt(3.0), 1e-12);
    o.SetOrthogonal(false);
    EXPECT_EQ(o.OrthoAngleRatio(), 1.0);

    TView3DOptions copy;
    copy.Assign(o);
    EXPECT_EQ(copy.ElevationFloat(), 13.5);
    EXPECT_EQ(copy.OrthoAngle(), 120);
    EXPECT_EQ(copy.Zoom(), 150);
    EXPECT_FALSE(copy.Orthogonal());
}

namespace {

// A canvas drawing into its own off-screen bitmap.
struct BitmapCanvas {
    TPlotCanvas3D canvas;
    explicit BitmapCanvas(int w = 40, int h = 30)
    {
        canvas.InitWindow(nullptr, nullptr, clWhite, false, TRect{0, 0, w, h});
        canvas.ResetState();
    }
    gdi::RasterDC& Device() { return canvas.Bitmap()->Device(); }
};

} // namespace

TEST(PenBrush, SelectingPensFollowsTheChartPenRules)
{
    BitmapCanvas bc;
    TPlotCanvas3D& c = bc.canvas;
    c.Pen().SetColor(clGreen);
    c.Pen().SetWidth(3);
    TChartPen hidden;
    hidden.Hide();
    hidden.SetColor(clRed);
    c.AssignVisiblePen(hidden);
    EXPECT_EQ(c.Pen().Style(), psClear);
    EXPECT_EQ(c.Pen().Color(), clGreen);   // nothing else changes
    EXPECT_EQ(c.Pen().Width(), 3);

    TChartPen flat;
    flat.SetWidth(2);
    flat.SetEndStyle(esFlat);
    c.AssignVisiblePenColor(flat, clBlue);
    ASSERT_TRUE(c.Pen().Handle().has_value());
    EXPECT_EQ(c.Pen().Handle()->style, gdi::PS_GEOMETRIC | gdi::PS_SOLID | gdi::PS_ENDCAP_FLAT | gdi::PS_JOIN_MITER);
    EXPECT_EQ(c.Pen().Handle()->color, ColorToRGB(clBlue));
    TChartPen square;
    square.SetWidth(4);
    square.SetEndStyle(esSquare);
    square.SetStyle(psDash);
    c.AssignVisiblePen(square);
    EXPECT_EQ(c.Pen().Handle()->style, gdi::PS_GEOMETRIC | gdi::PS_DASH | gdi::PS_ENDCAP_SQUARE | gdi::PS_JOIN_BEVEL);
    EXPECT_EQ(c.Pen().Handle()->width, 4);

    TChartPen thin;
    thin.SetEndStyle(esFlat);
    c.AssignVisiblePen(thin);
    EXPECT_FALSE(c.Pen().Handle().has_value());   // width 1 is never geometric

    TChartPen dots;
    dots.SetSmallDots(true);
    c.AssignVisiblePen(dots);
    ASSERT_TRUE(c.Pen().Handle().has_value());
    EXPECT_EQ(c.Pen().Handle()->style, gdi::PS_COSMETIC | gdi::PS_ALTERNATE);
    dots.SetSmallSpace(3);
    c.AssignVisiblePen(dots);
    EXPECT_EQ(c.Pen().Handle()->style, gdi::PS_COSMETIC | gdi::PS_USERSTYLE);
    EXPECT_EQ(c.Pen().Handle()->userStyle, (std::vector<uint32_t>{0, 4}));

    // Drawn: one dot, three pixels gap.
    c.SetBackMode(cbmTransparent);
    c.MoveTo(0, 5);
    c.LineTo(12, 5);
    std::string row;
    for (int x = 0; x < 12; ++x)
        row += bc.Device().GetPixel(x, 5) == 0xFFFFFF ? '.' : '#';
    EXPECT_EQ(row, "#...#...#...");

    // A plain pen keeps its properties and takes the colour.
    TPen plain;
    plain.SetWidth(5);
    c.AssignVisiblePenColor(plain, clRed);
    EXPECT_FALSE(c.Pen().Handle().has_value());
    EXPECT_EQ(c.Pen().Color(), clRed);
    EXPECT_EQ(c.Pen().Width(), 5);
}

TEST(PenBrush, MonochromeMakesEveryPenBlackAndEveryBrushWhite)
{
    BitmapCanvas bc;
    TPlotCanvas3D& c = bc.canvas;
    c.SetMonochrome(true);
    TChartPen pen;
    pen.SetColor(clRed);
    pen.SetWidth(3);
    c.AssignVisiblePen(pen);
    EXPECT_EQ(c.Pen().Color(), clBlack);
    EXPECT_EQ(c.Pen().Handle()->color, 0u);
    TChartBrush brush;
    brush.SetColor(clRed);
    c.AssignChartBrush(brush);
    EXPECT_EQ(c.Brush().Color(), clWhite);
}

TEST(PenBrush, SelectingBrushesSetsBackModeAndColour)
{
    BitmapCanvas bc(32, 32);
    TPlotCanvas3D& c = bc.canvas;
    // A black background shows whether the hatch background is painted.
    c.Brush().SetColor(clBlack);
    c.FillRect(TRect{0, 0, 32, 32});

    TChartBrush hatch;
    hatch.SetColor(clRed);
    hatch.SetStyle(bsDiagCross);
    c.AssignChartBrush(hatch);   // back colour clNone: transparent
    EXPECT_EQ(c.GetBackMode(), cbmTransparent);
    c.FillRect(TRect{0, 0, 16, 32});
    hatch.SetBackColor(clBlue);
    c.AssignChartBrush(hatch);
    EXPECT_EQ(c.GetBackMode(), cbmOpaque);
    EXPECT_EQ(c.GetBackColor(), clBlue);
    c.FillRect(TRect{16, 0, 32, 32});
    int blackLeft = 0, blueRight = 0, blackRight = 0;
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x) {
            const auto px = bc.Device().GetPixel(x, y);
            if (x < 16)
                blackLeft += px == 0;
            else {
                blueRight += px == ColorToRGB(clBlue);
                blackRight += px == 0;
            }
        }
    EXPECT_GT(blackLeft, 0);
    EXPECT_GT(blueRight, 0);
    EXPECT_EQ(blackRight, 0);

    // An image makes a pattern brush.
    TChartBrush pattern;
    QImage img(2, 2, QImage::Format_RGB32);
    img.fill(qRgb(0, 255, 0));
    pattern.Image().SetGraphic(img);
    c.AssignChartBrush(pattern);
    EXPECT_EQ(c.Brush().Style(), bsClear);
    EXPECT_FALSE(c.Brush().Bitmap().isNull());
    c.FillRect(TRect{0, 0, 4, 4});
    EXPECT_EQ(bc.Device().GetPixel(1, 1), ColorToRGB(clLime));
}
