// The bar series' shapes in 3D as the canvas receives them, shadows and translucency in pixels,
// the gradient and stacking rules at their limits, and the series among the others.
#include "chart/canvas/PlotCanvas3D.h"
#include "chart/engine/AxisPanel.h"
#include "chart/engine/ChartAxis.h"
#include "chart/engine/SeriesMarks.h"
#include "chart/engine/SeriesPointer.h"
#include "chart/series/BarSeries.h"
#include "chart/series/Chart.h"
#include "chart/series/ChartUnit.h"
#include "chart/series/LineSeries.h"
#include "chart/series/SeriesReplace.h"

#include <QImage>
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

namespace {

// Notes the solid shapes it is asked for, with their arguments and the cylinder side count in
// force, and draws them (a shape the canvas builds from another is noted once).
class ShapeRecorder : public TPlotCanvas3D {
public:
    struct Call {
        std::string shape;
        std::vector<int> args;
        int sides;
    };
    void Cube(int32_t l, int32_t r, int32_t t, int32_t b, int32_t z0, int32_t z1, bool dark) override
    {
        Note({"cube", {l, r, t, b, z0, z1, dark}, CylinderSides});
        TPlotCanvas3D::Cube(l, r, t, b, z0, z1, dark);
        --inside;
    }
    void Pyramid(bool v, int32_t l, int32_t t, int32_t r, int32_t b, int32_t z0, int32_t z1, bool dark) override
    {
        Note({"pyramid", {v, l, t, r, b, z0, z1}, CylinderSides});
        TPlotCanvas3D::Pyramid(v, l, t, r, b, z0, z1, dark);
        --inside;
    }
    void Cylinder(bool v, int32_t l, int32_t t, int32_t r, int32_t b, int32_t z0, int32_t z1, bool dark) override
    {
        Note({"cylinder", {v, l, t, r, b, z0, z1}, CylinderSides});
        TPlotCanvas3D::Cylinder(v, l, t, r, b, z0, z1, dark);
        --inside;
    }
    void Cone(bool v, int32_t l, int32_t t, int32_t r, int32_t b, int32_t z0, int32_t z1, bool dark, int32_t pc) override
    {
        Note({"cone", {v, l, t, r, b, z0, z1, pc}, CylinderSides});
        TPlotCanvas3D::Cone(v, l, t, r, b, z0, z1, dark, pc);
        --inside;
    }
    void EllipseAtDepth(int32_t l, int32_t t, int32_t r, int32_t b, int32_t z) override
    {
        Note({"ellipse", {l, t, r, b, z}, CylinderSides});
        TPlotCanvas3D::EllipseAtDepth(l, t, r, b, z);
        --inside;
    }
    void Arrow(bool filled, const TPoint& from, const TPoint& to, int32_t z, int32_t length, int32_t width, int32_t size) override
    {
        Note({"arrow", {from.X, from.Y, to.X, to.Y, z, length, width, size}, CylinderSides});
        TPlotCanvas3D::Arrow(filled, from, to, z, length, width, size);
        --inside;
    }
    void PolygonAtDepth(const TPointArray& points, int lastIndex, int32_t z) override
    {
        Note({"polygon", {lastIndex, z}, CylinderSides});
        TCanvas3D::PolygonAtDepth(points, lastIndex, z);
        --inside;
    }
    std::vector<Call> calls;

private:
    void Note(Call call)
    {
        if (inside++ == 0)
            calls.push_back(std::move(call));
    }
    int inside = 0;
};

QRgb Rgb(TColor color)
{
    const uint32_t c = ColorToRGB(color);
    return qRgb(GetRValue(c), GetGValue(c), GetBValue(c));
}

void PlainChart(TChart& chart)
{
    chart.resize(400, 300);
    chart.SetAxisVisible(false);
    chart.Legend().Hide();
}

} // namespace

// Each style reaches the canvas as its solid: the value ends in order, the apex where the style
// points, the cone's percentage, the slanted cube as a cylinder of four sides, and the bar's
// depth narrowed by DepthPercent.
TEST(BarSeries3D, EveryStyleCallsItsPrimitive)
{
    for (bool horizontal : {false, true}) {
        TChart chart;
        PlainChart(chart);
        auto recorder = std::make_unique<ShapeRecorder>();
        ShapeRecorder& rec = *recorder;
        chart.SetCanvas(std::move(recorder));
        chart.SetView3D(true);
        TCustomBarSeries* bar = horizontal ? static_cast<TCustomBarSeries*>(&chart.AddNewSeries<THorizBarSeries>())
                                           : &chart.AddNewSeries<TBarSeries>();
        bar->Marks().Hide();
        bar->SetDepthPercent(50);
        bar->SetConePercent(30);
        if (horizontal)
            bar->AddPointXY(60, 1);
        else
            bar->AddPointXY(1, 60);
        for (int s = bsRectangle; s <= bsInvCone; ++s) {
            const auto style = static_cast<TBarStyle>(s);
            bar->SetBarStyle(style);
            rec.calls.clear();
            chart.RepaintNow();
            const TRect b = bar->CalcBarBounds(0);
            const int start = horizontal ? std::min(b.Left, b.Right) : std::min(b.Top, b.Bottom);
            const int end = horizontal ? std::max(b.Left, b.Right) : std::max(b.Top, b.Bottom);
            const int z0 = bar->BarStartZ(), z1 = bar->BarEndZ();
            EXPECT_EQ(z0 - bar->StartZ(), std::lround((bar->EndZ() - bar->StartZ()) * 50 * 0.005));
            EXPECT_EQ(bar->EndZ() - z1, z0 - bar->StartZ());
            EXPECT_EQ(chart.Canvas().CylinderSides, 16);
            ASSERT_EQ(rec.calls.size(), 1u) << s << " " << rec.calls[0].shape << " " << rec.calls.back().shape;
            const ShapeRecorder::Call& c = rec.calls[0];
            const bool up = style == bsPyramid || style == bsCone || style == bsArrow;
            // The vertical canvas shapes point to their top argument, the horizontal ones right.
            const int tip = horizontal ? (up ? end : start) : (up ? start : end);
            const int foot = tip == start ? end : start;
            switch (style) {
            case bsRectangle:
            case bsRectGradient:
            case bsBevel:
                EXPECT_EQ(c.shape, "cube");
                EXPECT_EQ(c.args, (horizontal ? std::vector<int>{start, end, b.Top, b.Bottom, z0, z1, 1}
                                              : std::vector<int>{b.Left, b.Right, start, end, z0, z1, 1}));
                break;
            case bsPyramid:
            case bsInvPyramid:
            case bsCone:
            case bsInvCone: {
                const bool cone = style == bsCone || style == bsInvCone;
                EXPECT_EQ(c.shape, cone ? "cone" : "pyramid");
                std::vector<int> args = horizontal ? std::vector<int>{0, foot, b.Top, tip, b.Bottom, z0, z1}
                                                   : std::vector<int>{1, b.Left, tip, b.Right, foot, z0, z1};
                if (cone)
                    args.push_back(30);
                EXPECT_EQ(c.args, args) << s;
                break;
            }
            case bsCilinder:
            case bsSlantCube:
                EXPECT_EQ(c.shape, "cylinder");
                EXPECT_EQ(c.args, (std::vector<int>{!horizontal, b.Left, b.Top, b.Right, b.Bottom, z0, z1}));
                EXPECT_EQ(c.sides, style == bsSlantCube ? 4 : 16);
                break;
            case bsEllipse:
                EXPECT_EQ(c.shape, "ellipse");
                EXPECT_EQ(c.args, (std::vector<int>{b.Left, b.Top, b.Right, b.Bottom, (z0 + z1) / 2}));
                break;
            case bsArrow:
            case bsInvArrow: {
                EXPECT_EQ(c.shape, "arrow");
                const int across = horizontal ? (b.Top + b.Bottom) / 2 : (b.Left + b.Right) / 2;
                const int width = horizontal ? b.Bottom - b.Top : b.Right - b.Left;
                const std::vector<int> ends = horizontal ? std::vector<int>{foot, across, tip, across}
                                                         : std::vector<int>{across, foot, across, tip};
                EXPECT_EQ(std::vector<int>(c.args.begin(), c.args.begin() + 4), ends) << s;
                EXPECT_EQ(std::vector<int>(c.args.begin() + 4, c.args.end()), (std::vector<int>{(z0 + z1) / 2, width / 2, width, 50}));
                break;
            }
            case bsDiamond:
                EXPECT_EQ(c.shape, "polygon");
                EXPECT_EQ(c.args, (std::vector<int>{3, (z0 + z1) / 2}));
                break;
            }
        }
    }
}

// A hard shadow is the bar moved right by its horizontal size with its top lowered by the
// vertical one, in the shadow colour, under the bar.
TEST(BarSeries, ShadowLiesUnderTheBarMovedByItsSizes)
{
    TChart chart;
    PlainChart(chart);
    chart.SetView3D(false);
    auto& bar = chart.AddNewSeries<TBarSeries>();
    bar.Marks().Hide();
    bar.Pen().Hide();
    bar.Shadow().SetSmooth(false);
    bar.Shadow().SetColor(RGBColor(10, 200, 10));
    bar.Shadow().SetHorizSize(6);
    bar.Shadow().SetVertSize(9);
    bar.AddPointXY(0, 50, {}, RGBColor(200, 20, 20));
    bar.AddPointXY(1, 80, {}, RGBColor(200, 20, 20));
    chart.RepaintNow();
    const QImage image = chart.WindowImage();
    for (int i = 0; i < 2; ++i) {
        const TRect b = bar.CalcBarBounds(i);
        int shadowPixels = 0;
        for (int y = b.Top; y < b.Bottom - 1; ++y)
            for (int x = b.Left; x < b.Right + 6 - 1; ++x) {
                const bool inBar = x < b.Right - 1;
                const bool inShadow = x >= b.Left + 6 && y >= b.Top + 9;
                if (inBar)
                    EXPECT_EQ(image.pixel(x, y) | 0xFF000000u, Rgb(RGBColor(200, 20, 20)));
                else if (inShadow)
                    shadowPixels += (image.pixel(x, y) | 0xFF000000u) == Rgb(RGBColor(10, 200, 10));
                else
                    EXPECT_NE(image.pixel(x, y) | 0xFF000000u, Rgb(RGBColor(10, 200, 10))) << x << "," << y;
            }
        EXPECT_EQ(shadowPixels, 6 * (b.Bottom - 1 - b.Top - 9)) << i;
    }
}

// With Transparency 40 every bar pixel is 60 % bar colour over what lay there before.
TEST(BarSeries, TransparencyBlendsTheBarWithTheBackground)
{
    TChart chart;
    PlainChart(chart);
    chart.SetView3D(false);
    auto& bar = chart.AddNewSeries<TBarSeries>();
    bar.Marks().Hide();
    bar.Pen().Hide();
    const TColor color = RGBColor(40, 90, 230);
    bar.AddPointXY(0, 50, {}, color);
    bar.AddPointXY(1, 70, {}, color);
    bar.SetActive(false);
    chart.RepaintNow();
    bar.SetActive(true);
    chart.RepaintNow();   // lays the bars out, so that the background is known where they stand
    bar.SetActive(false);
    chart.RepaintNow();
    const QImage background = chart.WindowImage().copy();
    bar.SetActive(true);
    bar.SetTransparency(40);
    chart.RepaintNow();
    const QImage drawn = chart.WindowImage();
    int checked = 0;
    for (int i = 0; i < 2; ++i) {
        const TRect b = bar.CalcBarBounds(i);
        for (int y = b.Top; y < b.Bottom - 1; ++y)
            for (int x = b.Left; x < b.Right - 1; ++x, ++checked) {
                const QRgb under = background.pixel(x, y), got = drawn.pixel(x, y), over = Rgb(color);
                auto channel = [](QRgb c, int k) { return static_cast<int>((c >> (8 * k)) & 0xFF); };
                for (int k = 0; k < 3; ++k) {
                    const double expected = channel(under, k) + (channel(over, k) - channel(under, k)) * 0.6;
                    ASSERT_NEAR(channel(got, k), expected, 1.0) << x << "," << y << " channel " << k;
                }
            }
    }
    EXPECT_GT(checked, 100);
}

// Relative gradients: the end colour moves from the start colour toward the point's colour by
// its share of the largest value; with the largest value at the origin the share is whole.
TEST(BarSeries, RelativeGradientEndColourStaysWithinItsColours)
{
    TBarSeries bar;
    bar.Gradient().SetRelative(true);
    bar.Gradient().SetStartColor(RGBColor(0, 0, 0));
    const TColor red = RGBColor(200, 100, 50);
    bar.AddPointXY(0, 10);
    bar.AddPointXY(1, 5);
    EXPECT_EQ(bar.GradientEndColor(0, red), red);
    EXPECT_EQ(bar.GradientEndColor(1, red), RGBColor(100, 50, 25));
    TBarSeries single;
    single.SetUseYOrigin(false);
    single.Gradient().SetRelative(true);
    single.AddPointXY(0, 42);
    EXPECT_EQ(single.GradientEndColor(0, red), red);
    TBarSeries atOrigin;
    atOrigin.Gradient().SetRelative(true);
    atOrigin.AddPointXY(0, 0);
    atOrigin.AddPointXY(1, -5);
    EXPECT_EQ(atOrigin.GradientEndColor(0, red), red);
    EXPECT_EQ(atOrigin.GradientEndColor(1, red), red);
    bar.AddPointXY(2, -5);   // below the origin: no share at all
    EXPECT_EQ(bar.GradientEndColor(2, red), RGBColor(0, 0, 0));
}

// Stacking: a negative value starts at the origin, not on the positive bar below it; an index
// whose stacked-100 total is 0 lies on the value axis' 0 %, inside the chart.
TEST(BarSeries, StackingKeepsSignsApartAndAZeroTotalOnTheAxis)
{
    TChart chart;
    PlainChart(chart);
    auto& a = chart.AddNewSeries<TBarSeries>();
    auto& b = chart.AddNewSeries<TBarSeries>();
    a.AddPointXY(0, 40);
    b.AddPointXY(0, -25);
    a.AddPointXY(1, 0);
    b.AddPointXY(1, 0);
    a.SetMultiBar(mbStacked);
    EXPECT_EQ(b.MultiBar(), mbStacked);
    chart.RepaintNow();
    EXPECT_DOUBLE_EQ(b.PointOrigin(0, false), 0.0);
    EXPECT_EQ(b.BarOriginPos(0, -1), chart.LeftAxis()->ValueToPixel(0));
    EXPECT_DOUBLE_EQ(b.GetMinY(), -25.0);
    b.SetMultiBar(mbStacked100);
    chart.RepaintNow();
    const int zero = chart.LeftAxis()->ValueToPixel(0);
    EXPECT_GT(zero, chart.ChartRect.Top);
    const TRect r = b.CalcBarBounds(1);
    EXPECT_EQ(std::min(r.Top, r.Bottom), zero);
    EXPECT_EQ(a.YToPixel(1), zero);
}

// DarkPen 255 keeps the point's colour for the outline, 1 darkens every channel by 254;
// OnGetBarStyle changes one bar only.
TEST(BarSeries, DarkPenAndPerPointStyle)
{
    TChart chart;
    PlainChart(chart);
    chart.SetView3D(false);
    auto& bar = chart.AddNewSeries<TBarSeries>();
    bar.Marks().Hide();
    const TColor color = RGBColor(255, 254, 100);
    bar.AddPointXY(0, 50, {}, color);
    bar.AddPointXY(1, 50, {}, color);
    for (const auto& [dark, expected] : {std::pair{255, color}, std::pair{1, RGBColor(1, 0, 0)}}) {
        bar.SetDarkPen(dark);
        chart.RepaintNow();
        const TRect b = bar.CalcBarBounds(0);
        EXPECT_EQ(chart.WindowImage().pixel(b.Left, (b.Top + b.Bottom) / 2) | 0xFF000000u, Rgb(expected)) << dark;
    }
    auto recorder = std::make_unique<ShapeRecorder>();
    ShapeRecorder& rec = *recorder;
    chart.SetCanvas(std::move(recorder));
    chart.SetView3D(true);
    bar.OnGetBarStyle = [](TCustomBarSeries*, int index, TBarStyle& style) {
        if (index == 1)
            style = bsEllipse;
    };
    chart.RepaintNow();
    ASSERT_EQ(rec.calls.size(), 2u);
    EXPECT_EQ(rec.calls[0].shape, "cube");
    EXPECT_EQ(rec.calls[1].shape, "ellipse");
}

// Layout and side margins are one setting of the class in a chart: set on one series, taken on
// joining; the other class keeps its own.
TEST(BarSeries, LayoutIsSharedWithinTheClass)
{
    TChart chart;
    auto& a = chart.AddNewSeries<TBarSeries>();
    auto& h = chart.AddNewSeries<THorizBarSeries>();
    auto& b = chart.AddNewSeries<TBarSeries>();
    b.SetMultiBar(mbSelfStack);
    b.SetSideMargins(false);
    EXPECT_EQ(a.MultiBar(), mbSelfStack);
    EXPECT_FALSE(a.SideMargins());
    EXPECT_FALSE(a.CalcVisiblePoints);
    EXPECT_EQ(h.MultiBar(), mbSide);
    EXPECT_TRUE(h.SideMargins());
    auto& c = chart.AddNewSeries<TBarSeries>();
    EXPECT_EQ(c.MultiBar(), mbSelfStack);
    EXPECT_FALSE(c.SideMargins());

    TBarSeries copy;
    b.SetBarStyle(bsCone);
    b.SetStackGroup(3);
    b.Gradient().SetRelative(true);
    b.AddPointXY(0, 5);
    static_cast<TChartSeries&>(copy).Assign(b);
    EXPECT_EQ(copy.BarStyle(), bsCone);
    EXPECT_EQ(copy.StackGroup(), 3);
    EXPECT_TRUE(copy.Gradient().Relative());
    EXPECT_EQ(copy.Count(), 1);
}

// The standard registration offers both classes after the line; a lone series asked for a stacked
// variant in the gallery gets a partner to stack on.
TEST(BarSeries, RegistryAndGallery)
{
    ChartUnitState unit;
    RegisterStandardSeries(unit);
    const TPlotSeriesTypes& types = PlotSeriesTypes(unit);
    ASSERT_GE(types.Count(), 3);
    EXPECT_EQ(types.Get(1).SeriesClass, &SeriesClassOf<TBarSeries>());
    EXPECT_EQ(types.Get(1).DescriptionText(), QStringLiteral("Bar"));
    EXPECT_EQ(types.Get(2).SeriesClass, &SeriesClassOf<THorizBarSeries>());
    EXPECT_EQ(types.Get(2).DescriptionText(), QStringLiteral("Horizontal\rBar"));
    EXPECT_EQ(unit.Classes.Create(QStringLiteral("THorizBarSeries"))->ClassName(), QStringLiteral("THorizBarSeries"));

    TChart chart;
    auto& bar = chart.AddNewSeries<TBarSeries>();
    QStringList captions;
    bar.CreateSubGallery([&](const QString& caption) { captions << caption; });
    EXPECT_EQ(captions.size(), 11);
    EXPECT_EQ(captions[5], QStringLiteral("Gradient"));
    EXPECT_EQ(captions[8], QStringLiteral("Self Stacked"));
    EXPECT_EQ(captions[10], QStringLiteral("Side All"));
    bar.SetBarWidthPercent(55);
    bar.SetSubGallery(7);
    ASSERT_EQ(chart.SeriesCount(), 2);
    auto* partner = dynamic_cast<TBarSeries*>(chart.Series(1));
    ASSERT_TRUE(partner);
    EXPECT_EQ(partner->MultiBar(), mbStacked100);
    EXPECT_EQ(partner->BarWidthPercent(), 55);
    EXPECT_EQ(partner->Count(), 6);
    EXPECT_FALSE(partner->Marks().Visible());
}

// Replacing a line by a bar series keeps its name, place, points and handlers.
TEST(BarSeries, ReplacingALineKeepsNamePlacePointsAndHandlers)
{
    TChart chart;
    TChartSeries* first = NewSeriesOfClass(nullptr, chart, SeriesClassOf<TLineSeries>());
    TChartSeries* series = NewSeriesOfClass(nullptr, chart, SeriesClassOf<TLineSeries>());
    series->SetName(QStringLiteral("Series16"));
    series->AddPointXY(1, 40, QStringLiteral("a"), clRed);
    series->AddPointXY(2, 45);
    int clicks = 0;
    series->OnClick = [&](TChartSeries*, int, int, int, int, int) { ++clicks; };
    ReplaceSeriesClass(series, SeriesClassOf<TBarSeries>());
    ASSERT_TRUE(dynamic_cast<TBarSeries*>(series));
    EXPECT_EQ(series->Name(), QStringLiteral("Series16"));
    EXPECT_EQ(chart.Series(0), first);
    EXPECT_EQ(chart.Series(1), series);
    ASSERT_EQ(series->Count(), 2);
    EXPECT_EQ(series->YValues().Value(1), 45);
    EXPECT_EQ(series->XLabel(0), QStringLiteral("a"));
    EXPECT_EQ(series->GetPointColor(0), clRed);
    series->OnClick(series, 0, 0, 0, 0, 0);
    EXPECT_EQ(clicks, 1);
}

// Marks stand centred over a bar that rises from its origin and under one that falls, away from
// the bar end by the callout; the value axis gives them room on both sides.
TEST(BarSeries, MarksStandBeyondTheBarEnds)
{
    TChart chart;
    PlainChart(chart);
    chart.SetView3D(false);
    auto& bar = chart.AddNewSeries<TBarSeries>();
    bar.Marks().Callout().SetDistance(3);
    bar.AddPointXY(0, 60);
    bar.AddPointXY(1, -40);
    chart.RepaintNow();
    const TChartAxis& values = *static_cast<TChartAxis*>(chart.LeftAxis());
    EXPECT_LT(values.CurrentMinimum(), -40.0);   // room below the falling bar's mark
    EXPECT_GT(values.CurrentMaximum(), 60.0);
    for (int i = 0; i < 2; ++i) {
        const TSeriesMarkPosition* p = bar.Marks().Positions().Position(i);
        ASSERT_TRUE(p);
        const int end = bar.YToPixel(i), sign = i == 0 ? -1 : 1;
        EXPECT_EQ(p->ArrowFrom, (TPoint{bar.XToPixel(i) + bar.BarSize() / 2, end + sign * 3}));
        EXPECT_EQ(p->ArrowTo.Y, end + sign * 23);
        EXPECT_EQ(i == 0 ? p->LeftTop.Y + p->Height - 1 : p->LeftTop.Y, p->ArrowTo.Y);
    }
}

// A bar whose category lies off the axis range but reaches into the chart is still drawn, and
// tick lines cross the bars at the value axis' ticks between their ends.
TEST(BarSeries, VisibleRangeWidensToBarsReachingInAndTickLinesCrossTheBars)
{
    TChart chart;
    PlainChart(chart);
    chart.SetView3D(false);
    auto& bar = chart.AddNewSeries<TBarSeries>();
    bar.Marks().Hide();
    for (int i = 0; i < 10; ++i)
        bar.AddPointXY(i, 100);
    bar.SetCustomBarWidth(60);
    chart.BottomAxis()->SetRange(2.2, 6.8);
    chart.RepaintNow();
    EXPECT_EQ(bar.FirstValueIndex, 2);
    EXPECT_EQ(bar.LastValueIndex, 7);

    bar.TickLines().SetVisible(true);
    bar.TickLines().SetColor(RGBColor(0, 250, 0));
    chart.SetAxisVisible(true);
    chart.RepaintNow();
    const TChartAxis& values = *static_cast<TChartAxis*>(chart.LeftAxis());
    const TRect b = bar.CalcBarBounds(4);
    int crossed = 0;
    for (const int y : values.TickPositions())
        if (y > std::min(b.Top, b.Bottom) && y < std::max(b.Top, b.Bottom)) {
            ++crossed;
            for (int x = b.Left + 1; x < b.Right - 1; ++x)
                ASSERT_EQ(chart.WindowImage().pixel(x, y) | 0xFF000000u, qRgb(0, 250, 0)) << x << "," << y;
        }
    EXPECT_GE(crossed, 2);
}
