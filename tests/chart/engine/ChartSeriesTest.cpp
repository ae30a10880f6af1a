#include "EngineFakes.h"

#include "chart/engine/ChartException.h"
#include "common/TestSupport.h"

#include <QFile>
#include <QTextStream>
#include <gtest/gtest.h>

#include <limits>

using enginetest::FakeAxis;
using enginetest::FakeChart;

namespace {

std::vector<double> Xs(const TChartSeries& s)
{
    const auto v = s.XValues().Values();
    return {v.begin(), v.end()};
}

std::vector<double> Ys(const TChartSeries& s)
{
    const auto v = s.YValues().Values();
    return {v.begin(), v.end()};
}

} // namespace

TEST(ChartSeries, OutOfOrderPointCarriesItsColumnsLabelAndColour)
{
    TChartSeries s;
    EXPECT_EQ(s.AddPointXY(3, 30, "c", clRed), 0);
    EXPECT_EQ(s.AddPointXY(1, 10, "a", clBlue), 0);
    EXPECT_EQ(s.AddPointXY(2, 20), 1);
    EXPECT_EQ(Xs(s), (std::vector<double>{1, 2, 3}));
    EXPECT_EQ(Ys(s), (std::vector<double>{10, 20, 30}));
    EXPECT_EQ(s.XLabel(0), "a");
    EXPECT_EQ(s.XLabel(1), "");
    EXPECT_EQ(s.XLabel(2), "c");
    EXPECT_EQ(s.GetPointColor(0), clBlue);
    EXPECT_EQ(s.GetPointColor(1), clDefault);
    EXPECT_EQ(s.GetPointColor(2), clRed);

    // Equal X keep their arrival order.
    s.AddPointXY(2, 21);
    s.AddPointXY(2, 22);
    EXPECT_EQ(Ys(s), (std::vector<double>{10, 20, 21, 22, 30}));

    EXPECT_EQ(s.Add(99), 5);                   // X = point count
    EXPECT_EQ(s.GetPointX(5), 5);
    EXPECT_EQ(s.AddNull("gap"), 6);
    EXPECT_TRUE(s.IsNull(6));
    EXPECT_EQ(s.GetPointY(6), 0);
    EXPECT_EQ(s.AddNullXY(-1, 4), 0);
    EXPECT_TRUE(s.IsNull(0));
    EXPECT_FALSE(s.IsNull(1));
}

TEST(ChartSeries, LabelsAndColoursAreCreatedOnlyWhenNeeded)
{
    TChartSeries s;
    for (int i = 0; i < 1000; ++i)
        s.AddPointXY(i, i, "", clDefault);
    EXPECT_TRUE(s.Labels().IsEmpty());
    EXPECT_FALSE(s.HasColors());
    EXPECT_EQ(s.XLabel(999), "");
    s.SetPointColor(3, clDefault);
    EXPECT_FALSE(s.HasColors());
    s.SetPointColor(3, clGreen);
    EXPECT_TRUE(s.HasColors());
    EXPECT_EQ(s.GetPointColor(3), clGreen);
    EXPECT_EQ(s.GetPointColor(4), clDefault);
    EXPECT_THROW(s.SetPointColor(1000, clGreen), ChartException);
}

TEST(ChartSeries, ReservingLeavesContentsAndVisibleCapacityAlone)
{
    TChartSeries s;
    s.AddPointXY(5, 50, "", clRed);
    s.ReservePoints(250000);
    EXPECT_EQ(s.Count(), 1);
    EXPECT_EQ(s.XValues().Capacity(), TChartValueList::kValueListCapacityStep);
    // Out-of-order adds still land in order after a reserve, with their colours.
    s.AddPointXY(1, 10, "", clDefault);
    s.AddPointXY(9, 90, "", clBlue);
    ASSERT_EQ(s.Count(), 3);
    EXPECT_EQ(s.GetPointX(0), 1);
    EXPECT_EQ(s.GetPointY(1), 50);
    EXPECT_EQ(s.GetPointColor(1), clRed);
    EXPECT_EQ(s.GetPointColor(2), clBlue);
    s.ReservePoints(-3); // nonsense sizes are ignored
    EXPECT_EQ(s.Count(), 3);
}

TEST(ChartSeries, BulkAddMatchesPointByPointAdds)
{
    // A long ascending run with equal values (longer than the pieces the bulk path checks at a
    // time), a NaN, a step back and a descending stretch: in every X order the bulk path must
    // place every point (and its colour) exactly where single adds put it.
    std::vector<double> xs, ys;
    for (int i = 0; i < 9000; ++i) {
        xs.push_back(i / 3);
        ys.push_back(i * 0.5);
    }
    xs.push_back(std::numeric_limits<double>::quiet_NaN());
    ys.push_back(7.0);
    for (int i = 0; i < 40; ++i) {
        xs.push_back(50 - i);
        ys.push_back(-i);
    }
    for (const TChartListOrder order : {loAscending, loDescending, loNone}) {
        TChartSeries single, bulk, unlocked;
        for (TChartSeries* s : {&single, &bulk, &unlocked}) {
            s->XValues().SetOrder(order);
            s->AddPointXY(25, 1000, "", clRed);
            s->YValues().MaxValue();   // the extremes are known before the adds
        }
        {
            TChartSeries::UpdateScope a(single);
            for (size_t i = 0; i < xs.size(); ++i)
                single.AddPointXY(xs[i], ys[i], "", clBlue);
        }
        {
            TChartSeries::UpdateScope b(bulk);
            bulk.AddPointsXY(xs, ys, clBlue);
        }
        unlocked.AddPointsXY(xs, ys, clBlue);
        ASSERT_EQ(bulk.Count(), single.Count());
        ASSERT_EQ(unlocked.Count(), single.Count());
        for (int i = 0; i < single.Count(); ++i) {
            ASSERT_EQ(std::isnan(bulk.GetPointX(i)), std::isnan(single.GetPointX(i))) << order << " " << i;
            if (!std::isnan(single.GetPointX(i))) {
                ASSERT_EQ(bulk.GetPointX(i), single.GetPointX(i)) << order << " " << i;
            }
            ASSERT_EQ(bulk.GetPointY(i), single.GetPointY(i)) << order << " " << i;
            ASSERT_EQ(bulk.GetPointColor(i), single.GetPointColor(i)) << order << " " << i;
            ASSERT_EQ(unlocked.GetPointY(i), single.GetPointY(i)) << order << " " << i;
        }
        EXPECT_EQ(bulk.YValues().MaxValue(), single.YValues().MaxValue()) << order;
        EXPECT_EQ(bulk.YValues().MinValue(), single.YValues().MinValue()) << order;
        EXPECT_EQ(bulk.YValues().Total(), single.YValues().Total()) << order;
        EXPECT_EQ(bulk.XValues().Locate(16), single.XValues().Locate(16)) << order;
    }
}

// Filled point by point, a series holds its points and no more once its update ends; cleared, it
// keeps that memory for the refill; grown by small blocks it does not give it back every time.
TEST(ChartSeries, UpdateEndReleasesWhatFillingPointByPointLeftOver)
{
    TChartSeries s;
    {
        TChartSeries::UpdateScope scope(s);
        for (int i = 0; i < 30000; ++i)
            s.AddPointXY(i, i % 7);
        EXPECT_GT(s.XValues().MemoryBytes(), 30000 * sizeof(double));
    }
    EXPECT_EQ(s.XValues().MemoryBytes(), 30000 * sizeof(double));
    EXPECT_EQ(s.YValues().MemoryBytes(), 30000 * sizeof(double));
    const double* kept = s.XValues().Values().data();
    const std::vector<double> xs(Xs(s)), ys(Ys(s));
    {
        TChartSeries::UpdateScope scope(s);
        s.Clear();
        s.AddPointsXY(xs, ys);
    }
    EXPECT_EQ(s.XValues().Values().data(), kept);
    EXPECT_EQ(s.Count(), 30000);
    int exact = 0;
    for (int block = 0; block < 100; ++block) {
        {
            TChartSeries::UpdateScope scope(s);
            const std::vector<double> x(601, 30000.0 + block), y(601, 1.0);
            s.AddPointsXY(x, y);
        }
        exact += s.XValues().MemoryBytes() == s.Count() * sizeof(double);
    }
    EXPECT_LT(exact, 10);
    EXPECT_EQ(s.Count(), 30000 + 100 * 601);
}

TEST(ChartSeries, BeforeAddCanRefuseAPoint)
{
    TChartSeries s;
    int afterAdds = 0;
    s.OnAfterAdd = [&](TChartSeries*, int) { ++afterAdds; };
    s.AddPointXY(1, 1);
    s.OnBeforeAdd = [](TChartSeries* series) { return series->XValues().TempValue < 10; };
    EXPECT_EQ(s.AddPointXY(20, 5, "x", clRed), -1);
    EXPECT_EQ(s.Count(), 1);
    EXPECT_EQ(s.YValues().Count(), 1);
    EXPECT_TRUE(s.Labels().IsEmpty());
    EXPECT_FALSE(s.HasColors());
    EXPECT_EQ(afterAdds, 1);
    EXPECT_EQ(s.AddPointXY(5, 5), 1);
    EXPECT_EQ(afterAdds, 2);
}

TEST(ChartSeries, DeleteChecksBoundsAndKeepsColumnsTogether)
{
    TChartSeries s;
    for (int i = 0; i < 5; ++i)
        s.AddPointXY(i, i * 10, i == 2 ? "two" : "", i == 3 ? clRed : clDefault);
    try {
        s.Delete(5);
        FAIL() << "no exception";
    } catch (const ChartException& e) {
        EXPECT_EQ(e.Message(), "Series Delete: ValueIndex 5 out of bounds (0 to 4).");
    }
    EXPECT_THROW(s.Delete(-1), ChartException);
    EXPECT_THROW(s.GetPointX(5), ChartException);
    EXPECT_THROW(s.GetPointY(-1), ChartException);
    EXPECT_THROW(s.SetPointY(7, 0), ChartException);
    EXPECT_EQ(s.Count(), 5);

    s.Delete(1);
    EXPECT_EQ(Xs(s), (std::vector<double>{0, 2, 3, 4}));
    EXPECT_EQ(Ys(s), (std::vector<double>{0, 20, 30, 40}));
    EXPECT_EQ(s.XLabel(1), "two");
    EXPECT_EQ(s.GetPointColor(2), clRed);
}

TEST(ChartSeries, DeleteRangeClampsAndRemovesGap)
{
    TChartSeries s;
    for (int i = 0; i < 10; ++i)
        s.AddPointXY(i * 2.0, i, QString::number(i), i % 2 ? clRed : clBlue);
    s.DeleteRange(2, 3, true);
    EXPECT_EQ(s.Count(), 7);
    EXPECT_EQ(Xs(s), (std::vector<double>{0, 1, 2, 3, 4, 5, 6}));
    EXPECT_EQ(Ys(s), (std::vector<double>{0, 1, 5, 6, 7, 8, 9}));
    EXPECT_EQ(s.XLabel(2), "5");
    EXPECT_EQ(s.GetPointColor(2), clRed);

    s.DeleteRange(-3, 2);               // ignored
    EXPECT_EQ(s.Count(), 7);
    s.DeleteRange(7, 1);                // past the end: nothing
    EXPECT_EQ(s.Count(), 7);
    s.DeleteRange(5, 1000);             // cut to the two points left
    EXPECT_EQ(Ys(s), (std::vector<double>{0, 1, 5, 6, 7}));
    EXPECT_EQ(s.Labels().Count(), 5);
    s.DeleteRange(0, -4);
    EXPECT_EQ(s.Count(), 5);
    s.DeleteRange(0, 5);
    EXPECT_EQ(s.Count(), 0);
    EXPECT_FALSE(s.HasColors());        // an emptied colour list is released
}

TEST(ChartSeries, ClearFiresEvenWhenEmpty)
{
    FakeChart chart;
    TChartSeries& s = chart.NewSeries();
    int cleared = 0;
    s.OnClearValues = [&](TChartSeries*) { ++cleared; };
    const int before = chart.repaints;
    s.Clear();
    EXPECT_EQ(cleared, 1);
    EXPECT_EQ(chart.repaints, before + 1);
    s.AddPointXY(1, 2, "l", clRed);
    s.Clear();
    EXPECT_EQ(cleared, 2);
    EXPECT_EQ(s.Count(), 0);
    EXPECT_EQ(s.YValues().Count(), 0);
    EXPECT_TRUE(s.Labels().IsEmpty());
    EXPECT_FALSE(s.HasColors());
    EXPECT_EQ(s.FirstValueIndex, -1);
}

TEST(ChartSeries, UpdateScopeHoldsBackEventsUntilTheEnd)
{
    FakeChart chart;
    TChartSeries& s = chart.NewSeries();
    int afterAdds = 0;
    s.OnAfterAdd = [&](TChartSeries*, int) { ++afterAdds; };
    const int repaintsBefore = chart.repaints;
    {
        TChartSeries::UpdateScope outer(s);
        {
            TChartSeries::UpdateScope inner(s);
            for (int i = 0; i < 100; ++i)
                s.AddPointXY(i, i);
        }
        EXPECT_EQ(chart.CountEvents(seDataChanged), 0);
        EXPECT_TRUE(s.Updating());
    }
    EXPECT_FALSE(s.Updating());
    EXPECT_EQ(afterAdds, 0);
    EXPECT_EQ(chart.CountEvents(seDataChanged), 1);
    EXPECT_EQ(chart.repaints, repaintsBefore + 1);
    s.EndUpdate();                          // unbalanced: ignored
    EXPECT_EQ(chart.CountEvents(seDataChanged), 1);
    s.AddPointXY(200, 1);
    EXPECT_EQ(afterAdds, 1);
    EXPECT_EQ(chart.repaints, repaintsBefore + 2);
}

TEST(ChartSeries, ColoursDefaultAndPalette)
{
    FakeChart chart;
    TChartSeries& a = chart.NewSeries();
    TChartSeries& b = chart.NewSeries();
    // Joining a chart takes the next palette colour not used by another series.
    EXPECT_EQ(a.SeriesColor(), 0x0000FF);
    EXPECT_EQ(b.SeriesColor(), 0x008000);
    EXPECT_EQ(chart.CountEvents(seChangeColor), 2);

    TChartSeries loose;
    EXPECT_EQ(loose.SeriesColor(), clDefault);
    loose.SetDefaultColor(clTeal);
    EXPECT_EQ(loose.SeriesColor(), clTeal);  // unset colour reports the default colour
    loose.AddPointXY(0, 1);
    loose.AddPointXY(1, 1, "", clFuchsia);
    loose.AddPointXY(2, 1);
    EXPECT_EQ(loose.GetValueColor(0), clTeal);
    EXPECT_EQ(loose.GetValueColor(1), clFuchsia);
    loose.SetColorEachPoint(true);
    EXPECT_EQ(loose.GetValueColor(2), 0x00FFFF);   // third library palette colour
    loose.SetSeriesColor(clNavy);
    loose.SetColorEachPoint(false);
    EXPECT_EQ(loose.GetValueColor(0), clNavy);
    EXPECT_EQ(loose.DefaultColor(), clNavy);
}

TEST(ChartSeries, AxesBindingAndPixelConversion)
{
    FakeChart chart;
    TChartSeries& s = chart.NewSeries();
    EXPECT_EQ(s.GetHorizAxis(), &chart.bottom);
    EXPECT_EQ(s.GetVertAxis(), &chart.left);
    s.AddPointXY(250, 50);
    EXPECT_EQ(s.XToPixel(0), 350);             // 0..1000 on 100..1100
    EXPECT_EQ(s.YToPixel(0), 150);             // -100..100 on 450..50
    EXPECT_EQ(s.CalcPointPos(0), QPoint(350, 150));
    EXPECT_DOUBLE_EQ(s.PixelToX(600), 500.0);
    EXPECT_EQ(s.CalcPosValue(0), 250);         // mandatory = vertical

    s.SetHorizAxis(aTopAxis);
    EXPECT_EQ(s.GetHorizAxis(), &chart.top);
    EXPECT_EQ(s.XToPixel(0), 25100);           // 0..10 on 100..1100
    EXPECT_TRUE(s.AssociatedToAxis(&chart.top));
    EXPECT_FALSE(s.AssociatedToAxis(&chart.bottom));
    s.SetHorizAxis(aBothHorizAxis);
    EXPECT_TRUE(s.AssociatedToAxis(&chart.top));
    EXPECT_TRUE(s.AssociatedToAxis(&chart.bottom));

    FakeAxis custom(false, 0, 10, 0, 100);
    s.SetCustomVertAxis(&custom);
    EXPECT_EQ(s.VertAxis(), aCustomVertAxis);
    EXPECT_EQ(s.GetVertAxis(), &custom);
    EXPECT_TRUE(s.AssociatedToAxis(&custom));
    s.SetVertAxis(aRightAxis);                  // forgets the custom axis
    EXPECT_EQ(s.CustomVertAxis(), nullptr);
    EXPECT_EQ(s.GetVertAxis(), &chart.right);
    s.SetCustomVertAxis(&custom);
    s.ForgetAxis(&custom);
    EXPECT_EQ(s.VertAxis(), aLeftAxis);
    EXPECT_EQ(s.GetVertAxis(), &chart.left);

    s.SetActive(false);
    EXPECT_FALSE(s.AssociatedToAxis(&chart.left));
    EXPECT_EQ(chart.CountEvents(seChangeActive), 1);

    TChartSeries loose;
    loose.AddPointXY(1, 1);
    EXPECT_EQ(loose.GetHorizAxis(), nullptr);
    EXPECT_EQ(loose.XToPixel(0), 0);
}

TEST(ChartSeries, PageRangeMatchesReference)
{
    QFile file(testsupport::DataPath("engine/pages.txt"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly | QIODevice::Text));
    QTextStream in(&file);
    int checked = 0;
    while (!in.atEnd()) {
        const QStringList f = in.readLine().split(' ', Qt::SkipEmptyParts);
        if (f.size() != 5)
            continue;
        FakeChart chart;
        TChartSeries& s = chart.NewSeries();
        for (int i = 0; i < f[0].toInt(); ++i)
            s.AddPointXY(i, i);
        chart.pointsPerPage = f[1].toInt();
        chart.page = f[2].toInt();
        int first = 0, last = 0;
        s.CalcFirstLastPage(first, last);
        EXPECT_EQ(first, f[3].toInt()) << f.join(' ').toStdString();
        EXPECT_EQ(last, f[4].toInt()) << f.join(' ').toStdString();
        ++checked;
    }
    EXPECT_EQ(checked, 225);
}

TEST(ChartSeries, ZOrderAndDepth)
{
    FakeChart chart;
    TChartSeries& a = chart.NewSeries();
    TChartSeries& b = chart.NewSeries();
    a.CalcZOrder();
    EXPECT_EQ(a.CalculatedZOrder(), 0);       // 2D
    chart.view3D = true;
    chart.SetMaxZOrder(-1);
    a.CalcZOrder();
    b.CalcZOrder();
    EXPECT_EQ(a.CalculatedZOrder(), 0);
    EXPECT_EQ(b.CalculatedZOrder(), 1);
    EXPECT_EQ(chart.MaxZOrder(), 1);
    b.SetZOrder(4);
    b.CalcZOrder();
    EXPECT_EQ(chart.MaxZOrder(), 4);
    chart.seriesDepth = 10;
    b.CalcZPositions();
    EXPECT_EQ(b.StartZ(), 40);
    EXPECT_EQ(b.EndZ(), 50);
    EXPECT_EQ(b.MiddleZ(), 45);
    b.SetDepth(5);
    b.CalcZPositions();
    EXPECT_EQ(b.EndZ(), 45);
    EXPECT_EQ(b.MiddleZ(), 42);

    b.SetZOrder(0);
    b.CalcZOrder();
    EXPECT_FALSE(b.MoreSameZOrder());          // switch off
    chart.zOrderCheck = true;
    EXPECT_TRUE(b.MoreSameZOrder());
    a.SkipZOrderCheck = true;
    EXPECT_FALSE(b.MoreSameZOrder());
}

TEST(ChartSeries, NamesSampleValuesAndResort)
{
    FakeChart chart;
    TChartSeries& a = chart.NewSeries();
    TChartSeries& b = chart.NewSeries();
    EXPECT_EQ(b.SeriesName(), "Series2");
    b.SetName("Trace");
    EXPECT_EQ(b.SeriesName(), "Trace");

    a.FillSampleValues();
    EXPECT_EQ(a.Count(), 25);
    EXPECT_GE(a.GetMinY(), 0.0);
    EXPECT_LE(a.GetMaxY(), 1000.0);
    EXPECT_EQ(a.GetMinX(), 0.0);
    EXPECT_EQ(a.GetMaxX(), 1000.0);
    // The second series takes its bounds from the points already in the chart.
    a.SetPointY(0, 500.0);
    a.SetPointY(1, 510.0);
    for (int i = 2; i < a.Count(); ++i)
        a.SetPointY(i, 505.0);
    b.FillSampleValues(40);
    EXPECT_EQ(b.Count(), 40);
    EXPECT_GE(b.GetMinY(), 500.0);
    EXPECT_LE(b.GetMaxY(), 510.0);
    EXPECT_THROW(b.AddSampleValues(0), ChartException);
    EXPECT_THROW(b.FillSampleValues(-3), ChartException);
    EXPECT_EQ(b.Count(), 40);

    // Re-sorting a series by a mandatory list with an order.
    TChartSeries h;
    h.YValues().SetOrder(loAscending);
    for (double y : {3.0, 1.0, 2.0})
        h.AddPointXY(h.Count() * 10.0, y, QString::number(y), y == 1.0 ? clRed : clDefault);
    h.CheckOrder();
    EXPECT_EQ(Ys(h), (std::vector<double>{1, 2, 3}));
    EXPECT_EQ(Xs(h), (std::vector<double>{0, 1, 2}));
    EXPECT_EQ(h.XLabel(0), "1");
    EXPECT_EQ(h.GetPointColor(0), clRed);
    EXPECT_EQ(h.XLabel(2), "3");
}

TEST(ChartSeries, DirectSettersInvalidateStatistics)
{
    TChartSeries s;
    for (int i = 0; i < 10; ++i)
        s.AddPointXY(i, i);
    EXPECT_EQ(s.GetMaxY(), 9);
    s.SetPointY(3, 100);
    EXPECT_EQ(s.GetMaxY(), 100);
    s.SetPointX(0, -5);
    EXPECT_EQ(s.GetMinX(), -5);
    s.YValues().SetValue(0, std::numeric_limits<double>::quiet_NaN());
    EXPECT_EQ(s.GetMaxY(), 100);
    EXPECT_EQ(s.GetMinY(), 1);
}

TEST(ChartSeries, PenAndBrushRepaintAndAreCopied)
{
    FakeChart chart;
    TChartSeries& a = chart.NewSeries();
    TChartSeries& b = chart.NewSeries();
    int before = chart.repaints;
    a.Pen().SetWidth(3);
    EXPECT_EQ(chart.repaints, before + 1);
    before = chart.repaints;
    a.Brush().SetColor(clYellow);
    EXPECT_EQ(chart.repaints, before + 1);
    a.SetActive(false);
    a.SetTag(9);
    b.Assign(a);
    EXPECT_EQ(b.Pen().Width(), 3);
    EXPECT_EQ(b.Brush().Color(), clYellow);
    EXPECT_FALSE(b.Active());
    EXPECT_EQ(b.Tag(), 9);
    TChartPen pen;
    pen.SetColor(clRed);
    b.SetPen(pen);
    EXPECT_EQ(b.Pen().Color(), clRed);
    pen.SetColor(clBlue);                      // the element keeps its own copy
    EXPECT_EQ(b.Pen().Color(), clRed);
}

namespace {

// Answers a hit for x in 0..9 only.
class HitSeries : public TChartSeries {
public:
    int Clicked(int x, int) const override { return x >= 0 && x < 10 ? x : -1; }
};

class CursorChart : public FakeChart {
public:
    void SetChartCursor(int cursor) override { lastCursor = cursor; }
    int lastCursor = -1;
};

} // namespace

TEST(ChartSeries, MouseEnterAndLeave)
{
    CursorChart chart;
    HitSeries s;
    s.SetParentChart(&chart);
    EXPECT_FALSE(s.CheckMouse(3, 0));            // no cursor and no events: not tracked
    int enters = 0, leaves = 0;
    s.OnMouseEnter = [&](TChartSeries*) { ++enters; };
    s.OnMouseLeave = [&](TChartSeries*) { ++leaves; };
    EXPECT_TRUE(s.CheckMouse(3, 0));
    EXPECT_TRUE(s.CheckMouse(4, 0));
    EXPECT_EQ(enters, 1);
    EXPECT_EQ(chart.lastCursor, -1);             // crDefault leaves the chart cursor alone
    EXPECT_FALSE(s.CheckMouse(30, 0));
    EXPECT_FALSE(s.CheckMouse(31, 0));
    EXPECT_EQ(leaves, 1);
    s.SetCursor(-21);
    EXPECT_TRUE(s.CheckMouse(1, 0));
    EXPECT_EQ(chart.lastCursor, -21);
    EXPECT_EQ(enters, 2);
    s.SetParentChart(nullptr);
}
