#include "EngineFakes.h"

#include "chart/engine/ChartException.h"
#include "chart/engine/SeriesSource.h"
#include "chart/engine/SeriesStream.h"

#include <gtest/gtest.h>

#include <memory>

using enginetest::FakeChart;

namespace {

std::vector<double> Ys(const TChartSeries& s)
{
    const auto v = s.YValues().Values();
    return {v.begin(), v.end()};
}

// A source that loads a fixed set of points and counts its loads.
class CountingSource : public TPlotSeriesSource {
public:
    QString ClassName() const override { return QStringLiteral("CountingSource"); }
    void Load() override
    {
        ++loads;
        if (Series()) {
            Series()->Clear();
            for (int i = 0; i < 3; ++i)
                Series()->AddPointXY(i, 7 * i);
        }
    }
    int loads = 0;
};

} // namespace

TEST(SeriesLink, FedSeriesFollowsEveryKindOfChange)
{
    FakeChart chart;
    TChartSeries& source = chart.NewSeries();
    TChartSeries& copy = chart.NewSeries();
    source.AddPointXY(1, 10, "a");
    copy.SetDataSource(&source);
    EXPECT_EQ(copy.DataSource(), &source);
    ASSERT_EQ(source.LinkedSeries().size(), 1u);
    EXPECT_EQ(Ys(copy), (std::vector<double>{10}));     // filled on attaching
    EXPECT_EQ(copy.XLabel(0), "a");

    source.AddPointXY(0, 5, "", clRed);                  // add: copied with its colour
    EXPECT_EQ(Ys(copy), (std::vector<double>{5, 10}));
    EXPECT_EQ(copy.GetPointColor(0), clRed);
    source.YValues().SetValue(1, 11);                     // modify through the list: copied
    EXPECT_EQ(Ys(copy), (std::vector<double>{5, 11}));
    source.SetPointY(1, 12);                              // direct setter: not passed on
    EXPECT_EQ(Ys(copy), (std::vector<double>{5, 11}));
    source.Delete(0);
    EXPECT_EQ(Ys(copy), (std::vector<double>{11}));       // the delete itself is passed on
    for (int i = 0; i < 5; ++i)
        source.AddPointXY(10 + i, i);
    EXPECT_EQ(copy.Count(), 6);
    source.DeleteRange(1, 3);                             // a range: the fed series copies again
    EXPECT_EQ(Ys(copy), Ys(source));
    source.Clear();
    EXPECT_EQ(copy.Count(), 0);

    // Inside an update nothing is passed on; the end refreshes the fed series once.
    int copyClears = 0;
    copy.OnClearValues = [&](TChartSeries*) { ++copyClears; };
    {
        TChartSeries::UpdateScope scope(source);
        for (int i = 0; i < 50; ++i)
            source.AddPointXY(i, i);
        EXPECT_EQ(copy.Count(), 0);
    }
    EXPECT_EQ(copy.Count(), 50);
    EXPECT_EQ(copyClears, 1);
}

TEST(SeriesLink, LinkFlagsFilterWhatIsPassedOn)
{
    TChartSeries source;
    TChartSeries copy;
    copy.SetDataSource(&source);
    copy.SetLinkFlags(kLinkClear);
    source.AddPointXY(1, 1);
    EXPECT_EQ(copy.Count(), 0);
    copy.AddPointXY(5, 5);
    source.YValues().SetValue(0, 3);
    EXPECT_EQ(copy.GetPointY(0), 5);
    source.Delete(0);
    EXPECT_EQ(copy.Count(), 1);
    source.Clear();
    EXPECT_EQ(copy.Count(), 0);
    source.AddPointXY(1, 1);
    source.RefreshSeries();                                  // refresh always copies
    EXPECT_EQ(copy.Count(), 1);
}

TEST(SeriesLink, SourcesAreValidatedAndCircularChainsRefused)
{
    TChartSeries a;
    TChartSeries b;
    TChartSeries c;
    try {
        a.SetDataSource(&a);
        FAIL() << "no exception";
    } catch (const ChartException& e) {
        EXPECT_EQ(e.Message(), "No ParentChart to validate DataSource");
    }
    b.SetDataSource(&a);
    c.SetDataSource(&b);
    try {
        a.SetDataSource(&c);
        FAIL() << "no exception";
    } catch (const ChartException& e) {
        EXPECT_EQ(e.Message(), "Circular Series dependences are not allowed");
    }
    EXPECT_EQ(a.DataSource(), nullptr);
    EXPECT_EQ(c.DataSource(), &b);

    FakeChart chart;
    TChartSeries& d = chart.NewSeries();
    d.SetName("Trace1");
    try {
        d.SetDataSource(&d);
        FAIL() << "no exception";
    } catch (const ChartException& e) {
        EXPECT_EQ(e.Message(), "No valid DataSource: Trace1");
    }

    // A new source replaces the old one and unlinks it.
    c.SetDataSource(&a);
    EXPECT_TRUE(b.LinkedSeries().empty());
    EXPECT_EQ(c.DataSources().Count(), 1);
    // DataSources.Add keeps the others.
    c.DataSources().Add(&b);
    EXPECT_EQ(c.DataSources().Count(), 2);
    EXPECT_EQ(b.LinkedSeries().size(), 1u);
    c.DataSources().Delete(1);
    EXPECT_TRUE(b.LinkedSeries().empty());
    c.SetDataSource(nullptr);
    EXPECT_EQ(c.DataSource(), nullptr);
    EXPECT_TRUE(a.LinkedSeries().size() == 1u && a.LinkedSeries()[0] == &b);
}

TEST(SeriesLink, DestroyedSeriesIsForgottenOnBothSides)
{
    FakeChart chart;
    auto source = std::make_unique<TChartSeries>();
    auto copy = std::make_unique<TChartSeries>();
    source->SetParentChart(&chart);
    copy->SetParentChart(&chart);
    copy->SetDataSource(source.get());
    EXPECT_EQ(chart.list.Count(), 2);
    source.reset();
    EXPECT_EQ(copy->DataSource(), nullptr);
    EXPECT_EQ(chart.list.Count(), 1);
    EXPECT_EQ(chart.CountEvents(seRemove), 1);

    auto source2 = std::make_unique<TChartSeries>();
    copy->SetDataSource(source2.get());
    copy.reset();
    EXPECT_TRUE(source2->LinkedSeries().empty());
    source2->AddPointXY(1, 1);      // nothing left to notify
    EXPECT_EQ(source2->Count(), 1);
}

TEST(SeriesLink, SeriesSourceComponent)
{
    FakeChart chart;
    TChartSeries& s = chart.NewSeries();
    CountingSource source;
    source.SetSeries(&s);
    EXPECT_EQ(s.DataSource(), &source);
    EXPECT_EQ(source.loads, 0);                 // not active
    source.Open();
    EXPECT_EQ(source.loads, 1);
    EXPECT_EQ(s.Count(), 3);
    chart.CheckDatasource(s);                   // the chart refreshes an active source
    EXPECT_EQ(source.loads, 2);
    EXPECT_TRUE(source.IsSourceOf(s));

    source.SetKeepPoints(true);
    source.Close();
    EXPECT_EQ(s.Count(), 3);
    source.SetKeepPoints(false);
    source.Open();
    source.Close();
    EXPECT_EQ(s.Count(), 0);
    EXPECT_FALSE(source.Active());

    source.SetSeries(nullptr);
    EXPECT_EQ(s.DataSource(), nullptr);

    // A series destroyed while a source feeds it: the source forgets it, the series is not
    // touched during its own teardown.
    auto doomed = std::make_unique<TChartSeries>();
    TChartSeries loose;
    EXPECT_THROW(source.SetSeries(&loose), ChartException);   // no chart to validate it
    EXPECT_EQ(source.Series(), nullptr);
    doomed->SetParentChart(&chart);
    source.SetSeries(doomed.get());
    source.Open();
    EXPECT_EQ(doomed->Count(), 3);
    doomed.reset();
    EXPECT_EQ(source.Series(), nullptr);
    source.Close();

    // A source destroyed first is dropped from the series' list.
    auto temporary = std::make_unique<CountingSource>();
    temporary->SetSeries(&s);
    EXPECT_EQ(s.DataSource(), temporary.get());
    temporary.reset();
    EXPECT_EQ(s.DataSource(), nullptr);

    // Clearing the series' sources lets every source go and empties the series.
    source.SetSeries(&s);
    source.Open();
    EXPECT_EQ(s.Count(), 3);
    s.DataSources().Clear();
    EXPECT_EQ(s.DataSources().Count(), 0);
    EXPECT_EQ(source.Series(), nullptr);
    EXPECT_EQ(s.Count(), 0);
    const int loads = source.loads;
    source.Refresh();                          // no series any more: loads nothing into s
    EXPECT_EQ(s.Count(), 0);
    EXPECT_EQ(source.loads, loads + 1);
}

// Copying a series' sources and reading its links leave out, without an exception, a source the
// series may not take: itself, or one it feeds through another.
TEST(SeriesLink, RefusedSourcesAreLeftOutWhenCopiedOrRead)
{
    FakeChart chart;
    TChartSeries& a = chart.NewSeries();
    TChartSeries& b = chart.NewSeries();
    TChartSeries& c = chart.NewSeries();
    TChartSeries& d = chart.NewSeries();
    c.SetName("C");
    d.SetName("D");
    b.SetDataSource(&a);
    c.SetDataSource(&b);
    EXPECT_FALSE(a.AcceptsSource(&c));
    EXPECT_TRUE(a.AcceptsSource(&d));
    a.Assign(b);
    EXPECT_EQ(a.DataSources().Count(), 0);
    ResolveSeriesLinks(a, SeriesStreamLinks{{"C", "D"}});
    ASSERT_EQ(a.DataSources().Count(), 1);
    EXPECT_EQ(a.DataSources()[0], &d);
}

TEST(SeriesLink, AssignValuesExchangesXAndYForHorizontalSeries)
{
    class HorizontalSeries : public TChartSeries {
    public:
        HorizontalSeries() { SetHorizontal(); }
    };
    TChartSeries vertical;
    vertical.AddPointXY(1, 100);
    vertical.AddPointXY(2, 50);
    HorizontalSeries horizontal;
    horizontal.AssignValues(vertical);
    ASSERT_EQ(horizontal.Count(), 2);
    EXPECT_EQ(horizontal.GetPointX(0), 50);
    EXPECT_EQ(horizontal.GetPointY(0), 2);
    EXPECT_EQ(horizontal.GetPointX(1), 100);
    EXPECT_FALSE(horizontal.YMandatory());
    EXPECT_EQ(&horizontal.MandatoryValueList(), &horizontal.XValues());
}
