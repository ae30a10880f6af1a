#include "chart/canvas/PlotFiltersColor.h"
#include "chart/canvas/PlotShape.h"

#include "FilterTestSupport.h"
#include "ShadowTestSupport.h"

#include <gtest/gtest.h>

using filtertest::Rgb;

namespace {

// A chart that counts repaint requests and lends its canvas.
class FakeChart : public PlotShapeOwner {
public:
    FakeChart() : surface(80, 60) {}
    void Invalidate() override { ++repaints; }
    TCanvas3D& ShapeCanvas() override { return surface.canvas; }
    BufferedCanvas surface;
    int repaints = 0;
};

TEST(ShapeProperties, Defaults)
{
    TPlotShape s;
    EXPECT_EQ(s.Bevel(), bvNone);
    EXPECT_EQ(s.BevelWidth(), 2);
    EXPECT_EQ(s.Color(), clWhite);
    EXPECT_EQ(s.RoundSize(), 16);
    EXPECT_EQ(s.ShapeStyle(), fosRectangle);
    EXPECT_EQ(s.TextFormat(), ttfNormal);
    EXPECT_FALSE(s.Transparent());
    EXPECT_TRUE(s.Visible());
    EXPECT_EQ(s.Shadow().Color(), clBlack);
    EXPECT_EQ(s.Shadow().HorizSize(), 3);
    EXPECT_EQ(s.Shadow().VertSize(), 3);
    EXPECT_FALSE(s.Shadow().IsColorStored());
    EXPECT_FALSE(s.HasGradient());
    EXPECT_FALSE(s.HasPicture());
}

TEST(ShapeProperties, WidthAndHeightAreInclusive)
{
    TPlotShape s;
    s.ShapeBounds = TRect{5, 7, 0, 0};
    s.SetWidth(10);
    s.SetHeight(3);
    EXPECT_EQ(s.ShapeBounds.Right, 14);
    EXPECT_EQ(s.ShapeBounds.Bottom, 9);
    EXPECT_EQ(s.GetWidth(), 10);
    EXPECT_EQ(s.GetHeight(), 3);
}

TEST(ShapeProperties, RepaintsOnlyWithAParentAndOnRealChanges)
{
    TPlotShape orphan;
    orphan.SetColor(clRed); // no parent: stored, nothing to repaint
    EXPECT_EQ(orphan.Color(), clRed);

    FakeChart chart;
    TPlotShape s(&chart);
    s.SetColor(clWhite);
    EXPECT_EQ(chart.repaints, 0);
    s.SetColor(clRed);
    s.SetRoundSize(4);
    s.SetRoundSize(4);
    s.SetTransparent(true);
    s.Pen().SetVisible(false);
    s.Shadow().SetSize(6);
    s.Gradient().SetVisible(true);
    s.Font().SetInterCharSize(1);
    EXPECT_EQ(chart.repaints, 7);
}

TEST(ShapeProperties, AssignCopiesEverything)
{
    TPlotShape source;
    source.SetBevel(bvRaised);
    source.SetBevelWidth(5);
    source.SetColor(clAqua);
    source.SetRoundSize(9);
    source.SetShapeStyle(fosEllipse);
    source.SetTextFormat(ttfHtml);
    source.SetTransparency(40);
    source.SetDefaultTransparent(true);
    source.Shadow().SetSize(8);
    source.Gradient().SetStartColor(clRed);
    source.Pen().SetWidth(3);
    source.Brush().SetStyle(bsCross);
    source.Font().SetColor(clBlue);
    source.SetVisible(false);

    TPlotShape t;
    t.Assign(source);
    EXPECT_EQ(t.Bevel(), bvRaised);
    EXPECT_EQ(t.BevelWidth(), 5);
    EXPECT_EQ(t.Color(), clAqua);
    EXPECT_EQ(t.RoundSize(), 9);
    EXPECT_EQ(t.ShapeStyle(), fosEllipse);
    EXPECT_EQ(t.TextFormat(), ttfHtml);
    EXPECT_EQ(t.Transparency(), 40);
    EXPECT_TRUE(t.DefaultTransparent());
    EXPECT_EQ(t.Shadow().HorizSize(), 8);
    ASSERT_TRUE(t.HasGradient());
    EXPECT_EQ(t.Gradient().StartColor(), clRed);
    EXPECT_EQ(t.Pen().Width(), 3);
    EXPECT_EQ(t.Brush().Style(), bsCross);
    EXPECT_EQ(t.Font().Color(), clBlue);
    EXPECT_FALSE(t.Visible());
}

TEST(ShapeProperties, LegacyShadowProperties)
{
    TPlotShape s;
    EXPECT_TRUE(s.ReadLegacyProperty("ShadowColor", QString("clRed")));
    EXPECT_EQ(s.Shadow().Color(), clRed);
    EXPECT_TRUE(s.ReadLegacyProperty("ShadowColor", 0x00FF00));
    EXPECT_EQ(s.Shadow().Color(), 0x00FF00);
    EXPECT_TRUE(s.ReadLegacyProperty("ShadowSize", 5));
    EXPECT_EQ(s.Shadow().HorizSize(), 5);
    EXPECT_EQ(s.Shadow().VertSize(), 5);
    EXPECT_FALSE(s.ReadLegacyProperty("ShadowColor", QString("clNoSuchColour")));
    EXPECT_EQ(s.Shadow().Color(), 0x00FF00);
}

TEST(ShapeProperties, RotatedCornersTurnAboutTheCentre)
{
    const TFourPoints p = RectRotatedPoints(TRect{0, 0, 10, 4}, 90);
    // Centre (5, 2); (Left, Top) = (-5, -2) from it turns to (-2, 5).
    EXPECT_EQ(p[0], (TPoint{3, 7}));
    EXPECT_EQ(p[1], (TPoint{3, -3}));
    EXPECT_EQ(p[2], (TPoint{7, -3}));
    EXPECT_EQ(p[3], (TPoint{7, 7}));
    const TFourPoints same = RectRotatedPoints(TRect{1, 2, 9, 8}, 0);
    EXPECT_EQ(same[2], (TPoint{9, 8}));
}

TEST(ShapeDraw, TransparentDrawsNothing)
{
    FakeChart chart;
    TPlotShape s(&chart);
    s.SetTransparent(true);
    s.SetTransparency(50);
    s.SetBevel(bvRaised);
    s.ShapeBounds = TRect{10, 10, 40, 30};
    const QImage before = chart.surface.Image();
    s.Draw();
    EXPECT_EQ(chart.surface.Image(), before);
}

TEST(ShapeDraw, FillFrameAndShadow)
{
    FakeChart chart;
    TPlotShape s(&chart);
    s.SetColor(clRed);
    s.Shadow().SetSmooth(false);
    s.ShapeBounds = TRect{10, 10, 40, 30};
    s.Draw();
    EXPECT_EQ(chart.surface.Px(25, 20), Rgb(255, 0, 0));  // fill in the shape colour
    EXPECT_EQ(chart.surface.Px(10, 20), Rgb(0, 0, 0));    // black frame
    EXPECT_EQ(chart.surface.Px(41, 25), Rgb(0, 0, 0));    // shadow strip at the right
    EXPECT_EQ(chart.surface.Px(60, 50), Rgb(255, 255, 255));

    FakeChart clear;
    TPlotShape hollow(&clear);
    hollow.Brush().SetStyle(bsClear);
    hollow.Shadow().SetSmooth(false);
    hollow.ShapeBounds = TRect{10, 10, 40, 30};
    hollow.Draw();
    EXPECT_EQ(clear.surface.Px(41, 25), Rgb(255, 255, 255)); // no shadow under a clear brush
}

TEST(ShapeDraw, BevelOnlyWithoutRotation)
{
    FakeChart chart;
    TPlotShape s(&chart);
    s.Pen().SetVisible(false);
    s.Shadow().SetVisible(false);
    s.SetBevel(bvRaised);
    s.SetColor(clGray);
    s.ShapeBounds = TRect{10, 10, 40, 30};
    s.Draw();
    const uint32_t highlight = ColorToRGB(clBtnHighlight);
    const uint32_t shadow = ColorToRGB(clBtnShadow);
    EXPECT_EQ(chart.surface.Px(20, 10), Rgb(GetRValue(highlight), GetGValue(highlight), GetBValue(highlight)));
    EXPECT_EQ(chart.surface.Px(20, 29), Rgb(GetRValue(shadow), GetGValue(shadow), GetBValue(shadow)));

    FakeChart turned;
    TPlotShape r(&turned);
    r.Pen().SetVisible(false);
    r.Shadow().SetVisible(false);
    r.SetBevel(bvRaised);
    r.Gradient().SetVisible(true);
    r.Gradient().SetStartColor(clBlue);
    r.Gradient().SetEndColor(clBlue);
    r.DrawOnCanvas(turned.surface.canvas, TRect{20, 20, 50, 40}, 0, 30);
    EXPECT_EQ(turned.surface.Px(35, 30), Rgb(0, 0, 255)); // the gradient fills the turned corners
    for (int x = 0; x < 80; ++x)
        for (int y = 0; y < 60; ++y) {
            const uint32_t p = turned.surface.Px(x, y);
            ASSERT_TRUE(p == Rgb(0, 0, 255) || p == Rgb(255, 255, 255)) << x << "," << y; // no bevel colours
        }
}

TEST(ShapeDraw, EllipseLeavesTheCorners)
{
    FakeChart chart;
    TPlotShape s(&chart);
    s.SetShapeStyle(fosEllipse);
    s.SetColor(clLime);
    s.Shadow().SetVisible(false);
    s.ShapeBounds = TRect{10, 10, 50, 40};
    s.Draw();
    EXPECT_EQ(chart.surface.Px(30, 25), Rgb(0, 255, 0));
    EXPECT_EQ(chart.surface.Px(11, 11), Rgb(255, 255, 255));
}

TEST(ShapeDraw, PictureFillsThroughItsFilters)
{
    FakeChart chart;
    TPlotShape s(&chart);
    s.Shadow().SetVisible(false);
    s.Pen().SetVisible(false);
    s.Picture().SetGraphic(filtertest::Filled(4, 4, Rgb(10, 20, 30)));
    s.Picture().Filters().Add(TInvertFilter::Class());
    s.ShapeBounds = TRect{10, 10, 30, 30};
    s.Draw();
    EXPECT_EQ(chart.surface.Px(20, 20), Rgb(245, 235, 225));
}

} // namespace
