// The pie series: angles, the gathered slice, explosions, the circle, the 3D drawing and the
// chart's 3D view. The pixels of 2D pies are checked against numpy in tests/external.
#include "chart/series/PieSeries.h"

#include "chart/canvas/PlotCanvas3D.h"
#include "chart/canvas/View3DOptions.h"
#include "chart/engine/SeriesMarks.h"
#include "chart/engine/SeriesStream.h"
#include "chart/series/Chart.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

namespace {

constexpr double kPi = std::numbers::pi;

// Records every 3D pie the chart draws and draws it too.
class RecordingCanvas : public TPlotCanvas3D {
public:
    struct Pie {
        int32_t XCenter, YCenter, XRadius, YRadius, Z0, Z1;
        double Start, End;
        bool DarkSides, DrawSides;
        int32_t DonutPercent;
        TCustomPlotGradient* Gradient;
    };
    void Pie3D(int32_t xCenter, int32_t yCenter, int32_t xRadius, int32_t yRadius, int32_t z0, int32_t z1,
               double startAngle, double endAngle, bool darkSides, bool drawSides, int32_t donutPercent,
               TCustomPlotGradient* gradient) override
    {
        Pies.push_back({xCenter, yCenter, xRadius, yRadius, z0, z1, startAngle, endAngle, darkSides, drawSides,
                        donutPercent, gradient});
        TPlotCanvas3D::Pie3D(xCenter, yCenter, xRadius, yRadius, z0, z1, startAngle, endAngle, darkSides, drawSides,
                             donutPercent, gradient);
    }
    std::vector<Pie> Pies;
};

void SetUpChart(TChart& chart, int size = 300)
{
    chart.resize(size, size);
    chart.Legend().Hide();
}

bool SameView(const TView3DOptions& a, const TView3DOptions& b)
{
    return a.Orthogonal() == b.Orthogonal() && a.RotationFloat() == b.RotationFloat()
        && a.ElevationFloat() == b.ElevationFloat() && a.Perspective() == b.Perspective() && a.Tilt() == b.Tilt();
}

} // namespace

TEST(PieSeries, AnglesCoverTheSweepAndZeroTotalsDivideNothing)
{
    TPieSeries pie;
    EXPECT_EQ(pie.XValues().Name(), QStringLiteral("Angle"));
    EXPECT_EQ(pie.YValues().Name(), QStringLiteral("Pie"));
    pie.SetRotationAngle(450);
    EXPECT_EQ(pie.RotationAngle(), 90);
    pie.SetRotationAngle(-90);
    EXPECT_EQ(pie.RotationAngle(), 270);

    for (double v : {10.0, -30.0, 0.0, 60.0})
        pie.AddPie(v);
    pie.SetAngleSize(180);
    const double ends[] = {0.1 * kPi, 0.4 * kPi, 0.4 * kPi, kPi};
    for (int i = 0; i < 4; ++i) {
        EXPECT_NEAR(pie.Angle(i).End, ends[i], 1e-12) << i;
        EXPECT_DOUBLE_EQ(pie.Angle(i).Start, i == 0 ? 0.0 : pie.Angle(i - 1).End);
    }
    EXPECT_EQ(pie.Angle(3).End, kPi); // exactly the sweep, whatever the rounding of the sum

    TPieSeries zeros;
    for (int i = 0; i < 3; ++i)
        zeros.AddPie(0);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(zeros.Angle(i).End, 2 * kPi) << i;
        EXPECT_FALSE(std::isnan(zeros.Angle(i).Middle));
    }
}

TEST(PieSeries, SmallSlicesGatherIntoOneOtherSliceThatIsNeverStored)
{
    TChart chart;
    SetUpChart(chart);
    TPieSeries pie;
    chart.AddSeries(&pie);
    pie.OtherSlice().SetStyle(poBelowPercent);
    pie.OtherSlice().SetValue(5);
    pie.OtherSlice().SetColor(clRed);
    pie.OtherSlice().Legend().SetVisible(true);
    const double values[] = {50, 2, 30, 1, 17};
    for (int i = 0; i < 5; ++i)
        pie.AddPie(values[i], QStringLiteral("P%1").arg(i));
    for (int draw = 0; draw < 3; ++draw) {
        chart.Invalidate();
        chart.RepaintNow();
        ASSERT_EQ(pie.Count(), 6) << "drawing " << draw;
        EXPECT_TRUE(pie.IsOtherSlice(5));
        EXPECT_EQ(pie.XLabel(5), QStringLiteral("Other"));
        EXPECT_EQ(pie.GetPointY(5), 3.0);
        EXPECT_EQ(pie.GetValueColor(5), clRed);
        EXPECT_EQ(pie.YValues().TotalABS(), 100.0); // percentages count the gathered values once
        // The gathered points keep their places: redrawing does not move them.
        for (int i = 0; i < 5; ++i)
            EXPECT_EQ(pie.XLabel(i), QStringLiteral("P%1").arg(i));
        EXPECT_TRUE(pie.IsGrouped(1) && pie.IsGrouped(3));
        EXPECT_EQ(pie.Angle(1).End - pie.Angle(1).Start, 0.0);
    }
    EXPECT_EQ(pie.OtherSlice().Legend().Layout().TotalItems, 2); // its own legend lists the gathered
    EXPECT_EQ(pie.CountLegendItems(), 4);
    EXPECT_EQ(pie.LegendToValueIndex(1), 2);
    EXPECT_EQ(pie.LegendToValueIndex(3), 5);
    EXPECT_NEAR(pie.Angle(5).End - pie.Angle(5).Start, 2 * kPi * 3 / 100, 1e-12);

    // Storing the points leaves the gathered slice out.
    TPieSeries stored;
    ReadSeriesData(stored, WriteSeriesData(pie));
    ASSERT_EQ(pie.Count(), 5);
    ASSERT_EQ(stored.Count(), 5);
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(pie.GetPointX(i), i);
        EXPECT_EQ(stored.GetPointY(i), values[i]);
    }
    chart.RemoveSeries(pie);
}

TEST(PieSeries, ExplodingNeedsABiggestSliceAndFollowsThePoints)
{
    TChart chart;
    SetUpChart(chart);
    TPieSeries pie;
    chart.AddSeries(&pie);
    pie.SetExplodeBiggest(30);
    chart.RepaintNow();
    EXPECT_EQ(pie.ExplodedSlice().Count(), 0); // no points, no slice to explode

    for (double v : {10.0, 40.0, 40.0, 10.0})
        pie.AddPie(v);
    chart.Invalidate();
    chart.RepaintNow();
    EXPECT_EQ(pie.ExplodedSlice().Count(), 2);
    EXPECT_EQ(pie.ExplodedSlice()[1], 30);   // the first holding the maximum
    EXPECT_EQ(pie.ExplodedSlice()[2], 0);
    EXPECT_EQ(pie.ExplodedSlice()[99], 0);

    // The slice lists follow deletions and exchanges of points.
    pie.SliceHeight().SetValue(0, 50);
    pie.SwapValueIndex(0, 3);
    EXPECT_EQ(pie.SliceHeight().Count(), 4);
    EXPECT_EQ(pie.SliceHeight()[3], 50);
    pie.Delete(0);
    EXPECT_EQ(pie.ExplodedSlice()[0], 30);
    EXPECT_EQ(pie.SliceHeight()[2], 50);
    pie.Clear();
    EXPECT_EQ(pie.ExplodedSlice().Count(), 0);
    EXPECT_EQ(pie.SliceHeight().Count(), 0);
    chart.RemoveSeries(pie);
}

TEST(PieSeries, CircleRectangleRadiiAndTheDeviceAspect)
{
    TPieSeries pie;
    pie.SetCircleRect(TRect{10, 10, 12, 11});
    EXPECT_EQ(pie.CircleRect(), (TRect{10, 10, 14, 14}));
    pie.SetCircleRect(TRect{0, 0, 101, 51});
    EXPECT_EQ(pie.CircleWidth(), 100);
    EXPECT_EQ(pie.CircleHeight(), 50);

    TChart chart;
    SetUpChart(chart, 400);
    TPieSeries a, b;
    chart.AddSeries(&a);
    chart.AddSeries(&b);
    a.SetCustomXRadius(50);
    EXPECT_EQ(b.CustomXRadius(), 50);
    b.SetCircled(true);
    EXPECT_TRUE(a.Circled());
    EXPECT_EQ(a.CustomXRadius(), 0);
    a.AddPie(1);
    b.AddPie(1);

    // A recording device has no physical size: its pixels count as square.
    chart.CreateChartMetafile(true, TRect{0, 0, 400, 300});
    for (TPieSeries* s : {&a, &b}) {
        EXPECT_EQ(s->XRadius(), s->YRadius());
        EXPECT_GT(s->XRadius(), 10);
        EXPECT_LT(s->XRadius(), 200);
    }

    // A pie without marks shares the circle of one with marks, unless each has its own cell.
    a.Marks().SetVisible(false);
    chart.RepaintNow();
    EXPECT_NE(a.CircleRect(), b.CircleRect());
    a.SetMultiPie(mpDisabled);
    b.SetMultiPie(mpDisabled);
    chart.RepaintNow();
    EXPECT_EQ(a.CircleRect(), b.CircleRect());
    chart.RemoveSeries(a);
    chart.RemoveSeries(b);
}

TEST(PieSeries, ThreeDimensionalSlicesAreDrawnBackToFront)
{
    TChart chart;
    SetUpChart(chart, 400);
    chart.SetCanvas(std::make_unique<RecordingCanvas>());
    auto& canvas = static_cast<RecordingCanvas&>(chart.Canvas());
    chart.SetView3D(true);
    TPieSeries pie;
    chart.AddSeries(&pie);
    pie.Marks().SetVisible(false);
    for (double v : {10.0, 25.0, 5.0, 30.0, 20.0, 10.0})
        pie.AddPie(v);
    pie.SetAngleSize(270);
    pie.SetRotationAngle(40);
    pie.ExplodedSlice().SetValue(3, 20);
    pie.SliceHeight().SetValue(1, 50);
    pie.Gradient().SetVisible(true);
    chart.RepaintNow();

    ASSERT_EQ(canvas.Pies.size(), 6u);
    const double s = 1.5 * kPi, q = s / 4;
    double previous = -1;
    std::vector<bool> seen(6, false);
    for (const RecordingCanvas::Pie& p : canvas.Pies) {
        int i = 0;
        while (i < 6 && std::abs(pie.Angle(i).Start + pie.Rotation() - p.Start) > 1e-12)
            ++i;
        ASSERT_LT(i, 6);
        seen[i] = true;
        double m = (p.Start + p.End) / 2;
        if (m >= s)
            m -= s;
        const double d = m - q > kPi ? s - (m - q) : std::abs(q - m);
        EXPECT_GE(d, previous) << "slice " << i;
        previous = d;
        EXPECT_DOUBLE_EQ(p.End, pie.Angle(i).End + pie.Rotation());
        int dx = 0, dy = 0;
        pie.CalcExplodedOffset(i, dx, dy);
        EXPECT_EQ(i == 3, dx != 0 || dy != 0);
        EXPECT_EQ(p.XCenter, pie.CircleXCenter() + dx);
        EXPECT_EQ(p.YCenter, pie.CircleYCenter() - dy);
        EXPECT_EQ(p.XRadius, pie.XRadius());
        EXPECT_EQ(p.YRadius, pie.YRadius());
        EXPECT_EQ(p.Z0, pie.StartZ());
        const int height = i == 1 ? 50 : (i == 0 ? 0 : 100);   // entries before the last count
        EXPECT_EQ(p.Z1, pie.StartZ() + static_cast<int>(std::nearbyint(height * (pie.EndZ() - pie.StartZ()) * 0.01)));
        EXPECT_TRUE(p.DarkSides && p.DrawSides);
        EXPECT_EQ(p.DonutPercent, 0);
        EXPECT_EQ(p.Gradient, &pie.Gradient());
    }
    EXPECT_EQ(std::count(seen.begin(), seen.end(), true), 6);

    // Marks leave no room on a tiny chart: the circle keeps 4 x 4 pixels and no slice is drawn.
    canvas.Pies.clear();
    pie.Marks().SetVisible(true);
    chart.resize(40, 40);
    chart.RepaintNow();
    EXPECT_EQ(pie.CircleWidth(), 4);
    EXPECT_TRUE(canvas.Pies.empty());
    chart.RemoveSeries(pie);
}

TEST(PieSeries, TheChartGetsItsThreeDimensionalViewBack)
{
    TChart chart;
    chart.View3DOptions().SetOrthogonal(true);
    chart.View3DOptions().SetElevation(345);
    chart.View3DOptions().SetRotation(20);
    TView3DOptions before;
    before.Assign(chart.View3DOptions());

    auto check = [&](const char* how, auto leave) {
        auto pie = std::make_unique<TPieSeries>();
        chart.AddSeries(pie.get());
        EXPECT_FALSE(chart.View3DOptions().Orthogonal()) << how;
        EXPECT_EQ(chart.View3DOptions().Elevation(), 315) << how;
        EXPECT_EQ(chart.View3DOptions().Rotation(), 360) << how;
        leave(pie);
        EXPECT_TRUE(SameView(chart.View3DOptions(), before)) << how;
        if (pie)
            chart.RemoveSeries(*pie);
    };
    check("removed", [&](auto& pie) { chart.RemoveSeries(*pie); });
    check("switched off", [&](auto& pie) { pie->SetActive(false); });
    check("freed", [&](auto& pie) { pie.reset(); });

    // Two pies: the view comes back when the last one goes.
    TPieSeries a, b;
    chart.AddSeries(&a);
    chart.AddSeries(&b);
    chart.RemoveSeries(a);
    EXPECT_FALSE(chart.View3DOptions().Orthogonal());
    chart.RemoveSeries(b);
    EXPECT_TRUE(SameView(chart.View3DOptions(), before));

    // A chart that owns its pie frees it on the way out without touching its own view again.
    auto owner = std::make_unique<TChart>();
    owner->AddSeries(std::make_unique<TPieSeries>())->Add(1);
    owner->RepaintNow();
    owner.reset();
}

TEST(PieSeries, MarksStandOffTheRimWithTheirLegs)
{
    TChart chart;
    SetUpChart(chart, 400);
    TPieSeries pie;
    chart.AddSeries(&pie);
    pie.AddPie(50, QStringLiteral("Top"));
    pie.AddPie(50, QStringLiteral("Bottom"));
    pie.PieMarks().SetLegSize(10);
    pie.PieMarks().SetVertCenter(true);
    chart.RepaintNow();

    const int length = 8;   // the pie's callout length
    for (int i = 0; i < 2; ++i) {
        const TSeriesMarkPosition* p = pie.Marks().Positions().Position(i);
        ASSERT_NE(p, nullptr);
        const int cx = pie.CircleXCenter(), cy = pie.CircleYCenter();
        const int rimY = i == 0 ? cy - pie.YRadius() : cy + pie.YRadius();
        const int endY = i == 0 ? rimY - length : rimY + length;
        EXPECT_EQ(p->ArrowFrom, (TPoint{cx, rimY})) << i;
        if (i == 0) {
            // At and left of the centre: the leg cannot run right past the arrow's start, so
            // the mark moves left by the leg; above the centre the mark stands above the arrow.
            EXPECT_EQ(p->MidPoint, (TPoint{cx, endY - p->Height / 2}));
            EXPECT_EQ(p->ArrowTo, (TPoint{cx - 10, endY - p->Height / 2}));
            EXPECT_EQ(p->LeftTop, (TPoint{cx - 10 - p->Width, endY - p->Height}));
        } else {
            EXPECT_EQ(p->ArrowTo, (TPoint{cx - 10, endY + p->Height / 2}));
            EXPECT_EQ(p->LeftTop, (TPoint{cx - 10 - p->Width, endY}));
        }
        EXPECT_TRUE(p->HasMidPoint);
    }
    chart.RemoveSeries(pie);
}

TEST(PieSeries, AssignCopiesTheSlicesSettings)
{
    TPieSeries source, copy;
    source.SetAngleSize(180);
    source.SetRotationAngle(30);
    source.SetDarkPen(20);
    source.SetUsePatterns(true);
    source.ExplodedSlice().SetValue(2, 15);
    source.OtherSlice().SetStyle(poBelowValue);
    source.OtherSlice().SetValue(3);
    source.OtherSlice().SetText(QStringLiteral("Rest"));
    source.PieMarks().SetLegSize(4);
    source.SetCircleBackColor(clYellow);
    source.AddPie(5);
    copy.Assign(source);
    EXPECT_EQ(copy.AngleSize(), 180);
    EXPECT_EQ(copy.RotationAngle(), 30);
    EXPECT_DOUBLE_EQ(copy.Rotation(), source.Rotation());
    EXPECT_EQ(copy.DarkPen(), 20);
    EXPECT_TRUE(copy.UsePatterns());
    EXPECT_EQ(copy.ExplodedSlice()[2], 15);
    EXPECT_EQ(copy.OtherSlice().Style(), poBelowValue);
    EXPECT_EQ(copy.OtherSlice().Value(), 3);
    EXPECT_EQ(copy.OtherSlice().ShownText(), QStringLiteral("Rest"));
    EXPECT_EQ(copy.PieMarks().LegSize(), 4);
    EXPECT_EQ(copy.CircleBackColor(), clYellow);
    EXPECT_EQ(copy.Count(), 1);
}
