// Copying series through the engine's Assign, and replacing a series by one of another class.
#include "chart/engine/ChartTools.h"
#include "chart/engine/PlotFunction.h"
#include "chart/engine/SeriesFunctions.h"
#include "chart/series/Chart.h"
#include "chart/series/FastLineSeries.h"
#include "chart/series/LineSeries.h"
#include "chart/series/SeriesReplace.h"

#include <gtest/gtest.h>

// The engine copies through its own Assign; the series types must take part in that one call,
// with the points, labels and colours of the base and their own settings.
TEST(SeriesAssign, TheEngineCallReachesTheSeriesTypes)
{
    TLineSeries line;
    line.SetTitle(QStringLiteral("trace"));
    line.SetSeriesColor(clBlue);
    line.SetTreatNulls(tnSkip);
    line.SetStairs(true);
    line.AddPointXY(1, 10, QStringLiteral("a"), clRed);
    line.AddPointXY(2, 20);

    TPointSeries points;
    TChartSeries& asBase = points;
    asBase.Assign(line);
    EXPECT_EQ(points.Count(), 2);
    EXPECT_EQ(points.XLabel(0), QStringLiteral("a"));
    EXPECT_EQ(points.GetPointColor(0), clRed);
    EXPECT_EQ(points.Title(), QStringLiteral("trace"));
    EXPECT_EQ(points.SeriesColor(), clBlue);
    EXPECT_EQ(points.TreatNulls(), tnSkip);
    EXPECT_TRUE(points.Stairs());
    EXPECT_TRUE(points.Pointer().Visible()); // still a point series
    EXPECT_FALSE(points.DrawLine());

    TFastLineSeries fast;
    static_cast<TChartSeries&>(fast).Assign(points);
    EXPECT_EQ(fast.Count(), 2);
    EXPECT_EQ(fast.YValues().Value(1), 20);
    EXPECT_EQ(fast.TreatNulls(), tnSkip);
    EXPECT_EQ(fast.LinePen().Color(), clBlue);
}

namespace {

class MarkerTool : public TPlotCustomToolSeries {
public:
    QString ClassName() const override { return QStringLiteral("TMarkerTool"); }
};

} // namespace

// Line -> point -> fast line on a chart that owns its series: everything the old series had is
// the new one's, and whatever pointed at the old one points at the new one.
TEST(ReplaceSeries, ClassChangesKeepEverythingAndTheHoldersFollow)
{
    TChart chart;
    ChartAsOwner owner(chart);
    TChartSeries* first = NewSeriesOfClass(nullptr, chart, SeriesClassOf<TLineSeries>());
    TChartSeries* series = NewSeriesOfClass(nullptr, chart, SeriesClassOf<TLineSeries>());
    TChartSeries* last = NewSeriesOfClass(nullptr, chart, SeriesClassOf<TLineSeries>());
    EXPECT_EQ(series->Name(), QStringLiteral("Series2"));
    series->SetName(QStringLiteral("Series16"));
    series->SetTitle(QStringLiteral("Lim 1"));
    series->SetSeriesColor(clFuchsia);
    series->AddPointXY(100, 40, QStringLiteral("start"), clRed);
    series->AddPointXY(200, 45);
    series->AddPointXY(300, 42);

    // Each of the eight handlers leaves its own trace.
    std::vector<int> calls;
    series->AfterDrawValues = [&](TChartSeries*) { calls.push_back(1); };
    series->BeforeDrawValues = [&](TChartSeries*) { calls.push_back(2); };
    series->OnAfterAdd = [&](TChartSeries*, int) { calls.push_back(3); };
    series->OnBeforeAdd = [&](TChartSeries*) {
        calls.push_back(4);
        return true;
    };
    series->OnClearValues = [&](TChartSeries*) { calls.push_back(5); };
    series->OnClick = [&](TChartSeries*, int, int, int, int, int) { calls.push_back(6); };
    series->OnDblClick = [&](TChartSeries*, int, int, int, int, int) { calls.push_back(7); };
    series->OnGetMarkText = [&](TChartSeries*, int, QString&) { calls.push_back(8); };

    TChartSeries* fed = NewSeriesOfClass(nullptr, chart, SeriesClassOf<TLineSeries>());
    fed->DataSources().Add(first);
    fed->DataSources().Add(series); // second of two sources
    auto* tool = static_cast<MarkerTool*>(chart.AddTool(std::make_unique<MarkerTool>()));
    tool->SetSeries(series);
    chart.Legend().SetSeries(series);
    std::vector<TCustomChartSeries*> told;
    QObject::connect(&chart, &TCustomChart::SeriesAboutToBeFreed, [&](TCustomChartSeries* s) { told.push_back(s); });

    for (const TChartSeriesClass* cls : {&SeriesClassOf<TPointSeries>(), &SeriesClassOf<TFastLineSeries>()}) {
        TChartSeries* before = series;
        told.clear();
        calls.clear();
        ReplaceSeriesClass(series, *cls);
        ASSERT_NE(series, before);
        EXPECT_EQ(series->ClassName(), cls->Name);
        EXPECT_EQ(told, std::vector<TCustomChartSeries*> {before});
        EXPECT_TRUE(chart.OwnsSeries(series));

        EXPECT_EQ(series->Name(), QStringLiteral("Series16"));
        EXPECT_EQ(chart.SeriesCount(), 4);
        EXPECT_EQ(chart.Series(0), first);
        EXPECT_EQ(chart.Series(1), series);
        EXPECT_EQ(chart.Series(2), last);
        EXPECT_EQ(series->Title(), QStringLiteral("Lim 1"));
        EXPECT_EQ(series->SeriesColor(), clFuchsia);
        ASSERT_EQ(series->Count(), 3);
        EXPECT_EQ(series->XValues().Value(2), 300);
        EXPECT_EQ(series->YValues().Value(1), 45);
        EXPECT_EQ(series->XLabel(0), QStringLiteral("start"));
        EXPECT_EQ(series->GetPointColor(0), clRed);

        EXPECT_EQ(tool->Series(), series);
        EXPECT_EQ(chart.Legend().Series(), nullptr); // told, and forgot it
        chart.Legend().SetSeries(series);
        ASSERT_EQ(fed->DataSources().Count(), 2);
        EXPECT_EQ(fed->DataSources()[0], first);
        EXPECT_EQ(fed->DataSources()[1], series);
        EXPECT_EQ(series->LinkedSeries(), std::vector<TChartSeries*> {fed});

        series->AfterDrawValues(series);
        series->BeforeDrawValues(series);
        series->AddPointXY(400, 41); // 4, then 3
        QString text;
        series->OnGetMarkText(series, 0, text);
        series->OnClick(series, 0, 0, 0, 0, 0);
        series->OnDblClick(series, 0, 0, 0, 0, 0);
        series->Clear(); // 5
        EXPECT_EQ(calls, (std::vector<int> {1, 2, 4, 3, 8, 6, 7, 5}));
        // A fed series keeps listening to the new object.
        EXPECT_EQ(fed->Count(), 0);
        series->AddPointXY(100, 40, QStringLiteral("start"), clRed);
        series->AddPointXY(200, 45);
        series->AddPointXY(300, 42);
        EXPECT_EQ(fed->Count(), 3);
    }
    TChartSeries* same = series;
    ReplaceSeriesClass(series, SeriesClassOf<TFastLineSeries>());
    EXPECT_EQ(series, same);
    ReplaceSeries(series, *series);
    EXPECT_EQ(chart.SeriesCount(), 4);
}

// A series the window owns: the new one joins the window's list, the old one leaves it freed.
TEST(ReplaceSeries, WindowOwnedSeriesStayWithTheWindow)
{
    TChart chart;
    ChartPartList parts;
    TChartSeries* series = NewSeriesOfClass(&parts, chart, SeriesClassOf<TLineSeries>());
    EXPECT_EQ(series->Name(), QStringLiteral("Series1"));
    EXPECT_EQ(parts.Count(), 1);
    EXPECT_FALSE(chart.OwnsSeries(series));
    EXPECT_EQ(GetNewSeriesName(&parts), QStringLiteral("Series2"));
    TPlotFunction* function
        = CreateSeriesFunction(*series, *FindPlotFunctionClass(QStringLiteral("TAverageFunction")), &parts);
    EXPECT_EQ(function->Name(), QStringLiteral("PlotFunction1"));
    EXPECT_EQ(series->Function(), function);
    EXPECT_TRUE(parts.UsesName(QStringLiteral("plotfunction1")));

    ReplaceSeriesClass(series, SeriesClassOf<TPointSeries>(), &parts);
    EXPECT_EQ(parts.Count(), 1);
    EXPECT_EQ(parts.Part(0), series);
    EXPECT_EQ(series->Name(), QStringLiteral("Series1"));
    EXPECT_EQ(chart.SeriesCount(), 1);
    ASSERT_NE(series->Function(), nullptr);
    EXPECT_EQ(series->Function()->ClassName(), QStringLiteral("TAverageFunction"));

    // Once the chart owns a series, new series go to the chart whatever owner is asked for.
    TChartSeries* chartOwned = chart.AddSeries(std::make_unique<TLineSeries>());
    TChartSeries* next = NewSeriesOfClass(&parts, chart, SeriesClassOf<TLineSeries>());
    EXPECT_TRUE(chart.OwnsSeries(next));
    EXPECT_NE(next, chartOwned);
    EXPECT_EQ(parts.Count(), 1);
}

TEST(ReplaceSeries, PatternsTurnEverySixSeries)
{
    EXPECT_EQ(GetDefaultPattern(0), bsHorizontal);
    EXPECT_EQ(GetDefaultPattern(3), bsBDiagonal);
    EXPECT_EQ(GetDefaultPattern(5), bsDiagCross);
    EXPECT_EQ(GetDefaultPattern(6), bsHorizontal);
    EXPECT_EQ(GetDefaultPattern(-1), bsDiagCross);
}

// However a series of the chart goes, its holders hear of it first.
TEST(ReplaceSeries, AFreedSeriesIsForgottenByItsHolders)
{
    TChart chart;
    auto series = std::make_unique<TLineSeries>();
    TChartSeries* raw = chart.AddSeries(series.get());
    chart.Legend().SetSeries(raw);
    int told = 0;
    QObject::connect(&chart, &TCustomChart::SeriesAboutToBeFreed, [&](TCustomChartSeries* s) { told += s == raw; });
    series.reset();
    EXPECT_EQ(told, 1);
    EXPECT_EQ(chart.Legend().Series(), nullptr);
    EXPECT_EQ(chart.SeriesCount(), 0);
}
