// The magnifier: its lens shows the zoom filter's enlargement of what lies under it, in the
// window and in exported bitmaps but never in metafiles; the wheel over it changes the zoom
// within 0.001 .. 100; it follows the mouse when asked.
#include "ToolsTestSupport.h"

#include "chart/canvas/PlotCanvas3D.h"
#include "chart/canvas/PlotFiltersResample.h"
#include "chart/tools/MagnifyTool.h"
#include "platform/gdi/Metafile.h"

using toolstest::DifferentPixels;
using toolstest::ToolChart;

namespace {

// The lens as the main window places it: 151 x 151 pixels.
const QRect kLens(400, 50, 151, 151);

QImage Enlarged(const QImage& chart, double percent)
{
    QImage part = chart.copy(kLens);
    TZoomFilter zoom;
    zoom.Percent = percent;
    zoom.ApplyToBitmap(part);
    return part;
}

class MagnifierChart : public ToolChart {
protected:
    void SetUp() override
    {
        ToolChart::SetUp();
        lens.SetParentChart(&chart);
        lens.SetShapeBounds(TRect{400, 50, 550, 200});
        lens.Pen().SetVisible(false);
        lens.SetActive(false);
        bare = Render();
        bareExport = chart.CreateBitmap();
        lens.SetActive(true);
    }

    TMagnifyTool lens;
    QImage bare;
    QImage bareExport;
};

} // namespace

TEST_F(MagnifierChart, LensShowsTheZoomFiltersEnlargement)
{
    for (const double percent : {50.0, 80.0}) {
        lens.SetPercent(percent);
        const QImage shown = Render();
        EXPECT_EQ(DifferentPixels(shown.copy(kLens), Enlarged(bare, percent), QRect(0, 0, 151, 151)), 0);
        EXPECT_EQ(DifferentPixels(shown, bare, QRect(0, 0, 640, 50)), 0);        // outside unchanged
        EXPECT_EQ(DifferentPixels(shown, bare, QRect(0, 201, 640, 199)), 0);
    }
    // An exported bitmap (drawn without the back buffer) shows the same lens.
    lens.SetPercent(50.0);
    const QImage exported = chart.CreateBitmap();
    EXPECT_EQ(DifferentPixels(exported.copy(kLens), Enlarged(bareExport, 50.0), QRect(0, 0, 151, 151)), 0);
}

TEST_F(MagnifierChart, CircledLensKeepsTheCornersAndDrawsItsFrame)
{
    lens.SetCircled(true);
    const QImage shown = Render();
    const QImage enlarged = Enlarged(bare, 50.0);
    int inside = 0, corners = 0;
    for (int y = 0; y < 151; ++y) {
        for (int x = 0; x < 151; ++x) {
            const double r = std::hypot(x - 75.0, y - 75.0);
            if (r < 72.0)
                inside += shown.pixel(400 + x, 50 + y) != enlarged.pixel(x, y);
            else if (r > 78.0)
                corners += shown.pixel(400 + x, 50 + y) != bare.pixel(400 + x, 50 + y);
        }
    }
    EXPECT_EQ(inside, 0);
    EXPECT_EQ(corners, 0);
    lens.Pen().SetVisible(true);
    lens.Pen().SetColor(clRed);
    const QImage framed = Render();
    EXPECT_EQ(framed.pixel(400, 125), qRgb(255, 0, 0));   // the ellipse touches each edge's middle
    EXPECT_EQ(framed.pixel(475, 50), qRgb(255, 0, 0));
}

TEST_F(MagnifierChart, LensNeverInMetafiles)
{
    const gdi::Metafile with = chart.CreateChartMetafile(true, chart.GetRectangle());
    lens.SetActive(false);
    const gdi::Metafile without = chart.CreateChartMetafile(true, chart.GetRectangle());
    EXPECT_EQ(with.Records.size(), without.Records.size());
    EXPECT_EQ(with.Count(gdi::MetaOp::StretchBlt), without.Count(gdi::MetaOp::StretchBlt));
}

TEST_F(MagnifierChart, WheelOverTheLensZoomsWithinLimits)
{
    for (int notch = 1; notch <= 12; ++notch)
        chart.MouseWheelNotch(false, 470, 120);
    EXPECT_DOUBLE_EQ(lens.Percent(), 100.0);
    chart.MouseWheelNotch(true, 470, 120);
    EXPECT_DOUBLE_EQ(lens.Percent(), 95.0);
    chart.MouseWheelNotch(true, 560, 120);         // outside the lens: nothing
    EXPECT_DOUBLE_EQ(lens.Percent(), 95.0);
    lens.SetWheelZoom(-40);                        // the sign is ignored
    chart.MouseWheelNotch(true, 550, 200);         // the last pixel still counts
    chart.MouseWheelNotch(true, 550, 200);
    EXPECT_DOUBLE_EQ(lens.Percent(), 15.0);
    chart.MouseWheelNotch(true, 550, 200);
    EXPECT_DOUBLE_EQ(lens.Percent(), 0.001);
    lens.SetWheelZoom(0);
    chart.MouseWheelNotch(false, 470, 120);
    EXPECT_DOUBLE_EQ(lens.Percent(), 0.001);
}

TEST_F(MagnifierChart, FollowingTheMouseRecentresWithoutDragging)
{
    lens.SetFollowMouse(true);
    Move(300, 200);
    EXPECT_EQ(lens.GetShapeBounds().Left, 225);
    EXPECT_EQ(lens.GetShapeBounds().Top, 125);
    Down(300, 200);                                // inside: a drag starts ...
    Move(320, 210);                                // ... but moves only recentre
    Up(320, 210);
    EXPECT_EQ(lens.GetShapeBounds().Left, 245);
    EXPECT_EQ(lens.Width(), 151);
    lens.SetFollowMouse(false);
    Down(320, 210);
    Move(330, 230);
    Up(330, 230);
    EXPECT_EQ(lens.GetShapeBounds().Left, 255);
    EXPECT_EQ(lens.GetShapeBounds().Top, 155);
}
