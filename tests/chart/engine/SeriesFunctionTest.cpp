#include "EngineFakes.h"

#include "chart/engine/ChartException.h"
#include "chart/engine/SeriesFunctions.h"

#include <QDate>
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using enginetest::FakeChart;

namespace {

using Points = std::vector<std::pair<double, double>>;

Points PointsOf(const TChartSeries& s)
{
    Points p;
    for (int i = 0; i < s.Count(); ++i)
        p.emplace_back(s.XValues().Value(i), s.YValues().Value(i));
    return p;
}

void Fill(TChartSeries& s, const std::vector<double>& xs, const std::vector<double>& ys)
{
    for (size_t i = 0; i < xs.size(); ++i)
        s.AddPointXY(xs[i], ys[i]);
}

// A source and a series computed from it by a function of class F.
template <class F>
struct Calculated {
    FakeChart chart;
    TChartSeries& source = chart.NewSeries();
    TChartSeries& series = chart.NewSeries();
    F* function = nullptr;

    Calculated(const std::vector<double>& xs, const std::vector<double>& ys, double period = 0,
               TFunctionPeriodStyle style = psNumPoints, TFunctionPeriodAlign align = paCenter)
    {
        Fill(source, xs, ys);
        auto f = std::make_unique<F>();
        function = f.get();
        f->SetPeriod(period);
        f->SetPeriodStyle(style);
        f->SetPeriodAlign(align);
        series.SetFunction(std::move(f));
        series.SetDataSource(&source);
    }
};

class CountingAverage : public TAverageFunction {
public:
    void AddPoints(TChartSeries* source) override
    {
        ++calculations;
        TAverageFunction::AddPoints(source);
    }
    int calculations = 0;
};

double Day(int y, int m, int d) { return static_cast<double>(QDate(1899, 12, 30).daysTo(QDate(y, m, d))); }

} // namespace

TEST(SeriesFunction, AllPointsGiveTheMiddlePointOrALevelLine)
{
    Calculated<TAverageFunction> c({2, 3, 10}, {1, 5, 9});
    EXPECT_EQ(PointsOf(c.series), (Points{{6, 5}}));
    c.series.SinglePoint = false;
    c.series.CheckDataSource();
    EXPECT_EQ(PointsOf(c.series), (Points{{2, 5}, {10, 5}}));
}

TEST(SeriesFunction, PointPeriodsTakeWholeGroupsAlignedAndAtLeastOnePoint)
{
    Calculated<TAddFunction> c({0, 1, 3, 6, 10, 15, 21}, {1, 2, 3, 4, 5, 6, 7}, 3);
    EXPECT_EQ(PointsOf(c.series), (Points{{1.5, 6}, {10.5, 15}}));   // the 7th point is left over
    c.function->SetPeriodAlign(paFirst);
    EXPECT_EQ(PointsOf(c.series), (Points{{0, 6}, {6, 15}}));
    c.function->SetPeriodAlign(paLast);
    EXPECT_EQ(PointsOf(c.series), (Points{{3, 6}, {15, 15}}));
    c.function->SetPeriod(2.5);   // halves round to even: 2 points a period
    EXPECT_EQ(c.series.Count(), 3);
    c.function->SetPeriod(0.5);   // would round to no point a period
    EXPECT_EQ(c.series.Count(), 7);
    c.function->SetPeriod(0.3);
    EXPECT_EQ(PointsOf(c.series)[6], (std::pair<double, double>{21, 7}));
}

TEST(SeriesFunction, NegativeOrUndefinedPeriodIsRefusedAndTheOldOneKept)
{
    Calculated<TAverageFunction> c({0, 1}, {1, 2}, 2);
    try {
        c.function->SetPeriod(-1);
        FAIL() << "negative period accepted";
    } catch (const ChartException& e) {
        EXPECT_EQ(e.Message(), "Function Period should be >= 0");
    }
    EXPECT_THROW(c.function->SetPeriod(std::numeric_limits<double>::quiet_NaN()), ChartException);
    EXPECT_EQ(c.function->Period(), 2);
}

TEST(SeriesFunction, ChangesInsideAnUpdateRecalculateOnceAtItsEnd)
{
    FakeChart chart;
    TChartSeries& source = chart.NewSeries();
    Fill(source, {0, 1, 2, 3}, {4, 3, 2, 1});
    TChartSeries& series = chart.NewSeries();
    auto owned = std::make_unique<CountingAverage>();
    CountingAverage& f = *owned;
    series.SetFunction(std::move(owned));
    series.SetDataSource(&source);
    const int before = f.calculations;
    f.BeginUpdate();
    f.SetPeriod(2);
    f.SetPeriod(3);
    f.SetPeriodStyle(psRange);
    EXPECT_EQ(f.calculations, before);
    f.EndUpdate();
    EXPECT_EQ(f.calculations, before + 1);
    EXPECT_EQ(f.Period(), 3);
}

TEST(SeriesFunction, RangePeriodsAddTheEmptyPeriodValueOnlyWhereTheFunctionHasOne)
{
    const std::vector<double> xs{0, 0.5, 1.2, 5.1}, ys{1, 3, 4, 8};
    Calculated<TAddFunction> sum(xs, ys, 1, psRange, paFirst);
    EXPECT_EQ(PointsOf(sum.series), (Points{{0, 4}, {1, 4}, {2, 0}, {3, 0}, {4, 0}, {5, 8}}));
    Calculated<TAverageFunction> mean(xs, ys, 1, psRange, paFirst);
    EXPECT_EQ(PointsOf(mean.series), (Points{{0, 2}, {1, 4}, {5, 8}}));
    Calculated<TLowFunction> low(xs, ys, 1, psRange, paLast);
    EXPECT_EQ(PointsOf(low.series), (Points{{1 - 0.001, 1}, {2 - 0.001, 4}, {6 - 0.001, 8}}));
}

TEST(SeriesFunction, RangeEndsWhereItsStartStopsGrowingOrXIsNotANumber)
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    Calculated<TAddFunction> tiny({1e6, 1e6 + 1}, {1, 2}, 1e-12, psRange);
    EXPECT_EQ(tiny.series.Count(), 0);
    Calculated<TAddFunction> gap({0, nan, 2}, {1, 2, 3}, 1, psRange, paFirst);
    EXPECT_EQ(PointsOf(gap.series), (Points{{0, 1}}));
    Calculated<TAddFunction> infinite({-std::numeric_limits<double>::infinity(), 1}, {1, 2}, 1, psRange);
    EXPECT_EQ(infinite.series.Count(), 0);
}

TEST(SeriesFunction, DateTimeRangesOfAStepLengthFollowTheCalendar)
{
    const std::vector<double> xs{Day(2024, 1, 1), Day(2024, 1, 31), Day(2024, 3, 1)}, ys{1, 2, 3};
    Calculated<TAddFunction> numeric(xs, ys, 30, psRange, paFirst);   // 30 days: Jan 31 opens a period
    EXPECT_EQ(PointsOf(numeric.series), (Points{{xs[0], 1}, {xs[0] + 30, 2}, {xs[0] + 60, 3}}));

    Calculated<TAverageFunction> monthly(xs, ys, 0, psRange, paFirst);
    monthly.source.XValues().SetDateTime(true);
    monthly.function->SetPeriod(30);   // one month: January, February (empty), March
    EXPECT_EQ(PointsOf(monthly.series), (Points{{xs[0], 1.5}, {xs[2], 3}}));
    EXPECT_TRUE(monthly.series.XValues().DateTime());
}

TEST(SeriesFunction, SeveralSourcesCombineEachPointOfTheLongestSource)
{
    FakeChart chart;
    TChartSeries& a = chart.NewSeries();
    TChartSeries& b = chart.NewSeries();
    a.AddPointXY(0, 10, "a0");
    a.AddPointXY(1, 20, "a1");
    a.AddPointXY(2, 30, "a2");
    Fill(b, {0, 1, 2, 3, 4}, {1, 0, 3, 4, 5});
    b.SetXLabel(3, "b3");
    TChartSeries& sum = chart.NewSeries();
    sum.SetFunction(std::make_unique<TAddFunction>());
    sum.DataSources().Add(&a);
    sum.DataSources().Add(&b);
    EXPECT_EQ(PointsOf(sum), (Points{{0, 11}, {1, 20}, {2, 33}, {3, 4}, {4, 5}}));
    EXPECT_EQ(sum.XLabel(3), "b3");   // labels come from the source that gives X
    EXPECT_EQ(sum.XLabel(0), "");

    TChartSeries& quotient = chart.NewSeries();
    quotient.SetFunction(std::make_unique<TDivideFunction>());
    quotient.DataSources().Add(&a);
    quotient.DataSources().Add(&b);
    EXPECT_EQ(PointsOf(quotient), (Points{{0, 10}, {2, 10}, {3, 4}, {4, 5}}));   // no point for 20 / 0

    b.YValues().SetValue(1, 4);   // a change in any source recalculates
    EXPECT_EQ(PointsOf(quotient)[1], (std::pair<double, double>{1, 5}));
    EXPECT_EQ(PointsOf(sum)[1], (std::pair<double, double>{1, 24}));
}

TEST(SeriesFunction, ACopiedSeriesGetsItsOwnFunctionOfTheSameClass)
{
    Calculated<THighFunction> c({0, 1, 2, 3}, {5, 9, 1, 7}, 2, psNumPoints, paFirst);
    TChartSeries& copy = c.chart.NewSeries();
    copy.Assign(c.series);
    ASSERT_TRUE(copy.HasFunction());
    EXPECT_NE(copy.Function(), c.series.Function());
    EXPECT_EQ(c.series.Function(), c.function);   // the original keeps its function
    EXPECT_EQ(copy.Function()->ClassName(), "THighFunction");
    EXPECT_EQ(copy.Function()->Period(), 2);
    EXPECT_EQ(copy.Function()->PeriodAlign(), paFirst);
    EXPECT_EQ(copy.DataSource(), &c.source);
    EXPECT_EQ(PointsOf(copy), (Points{{0, 9}, {2, 7}}));

    std::unique_ptr<TPlotFunction> taken = copy.TakeFunction();
    EXPECT_EQ(taken->ParentSeries(), nullptr);
    EXPECT_FALSE(copy.HasFunction());
    EXPECT_EQ(copy.Count(), 2);
    ASSERT_NE(FindPlotFunctionClass("taveragefunction"), nullptr);
    EXPECT_EQ(FindPlotFunctionClass("TAverageFunction")->Create()->ClassName(), "TAverageFunction");
}
