#include "ChartFake.h"
#include "DataFilesTestSupport.h"

#include "app/Log.h"
#include "datafiles/CheckListModel.h"
#include "datafiles/DataFileContext.h"
#include "datafiles/GridSeries.h"
#include "datafiles/SegmentLoader.h"
#include "datafiles/SegmentTable.h"
#include "datafiles/TableBuffer.h"

#include <QTemporaryDir>
#include <cmath>
#include <map>
#include <gtest/gtest.h>

namespace {

std::vector<double> Xs(const TChartSeries& s) { return {s.XValues().Values().begin(), s.XValues().Values().end()}; }
std::vector<double> Ys(const TChartSeries& s) { return {s.YValues().Values().begin(), s.YValues().Values().end()}; }

class GridSeriesTest : public ::testing::Test {
protected:
    CountingChart chart;
    RecordingDialogs dialogs;
    MessageLog messages;
    DebugLog debug;
    DataFileContext context;
    TableBuffer grid;

    void SetUp() override
    {
        debug.DebugMode = 1;
        debug.TimeText = [] { return QStringLiteral("t"); };
        context.Dialogs = &dialogs;
        context.Messages = &messages;
        context.Debug = &debug;
    }
    void Rows(const std::vector<std::pair<const char*, const char*>>& rows)
    {
        grid.ClearData();
        for (size_t i = 0; i < rows.size(); ++i) {
            grid.SetCell(static_cast<int>(i) + 1, 1, QLatin1String(rows[i].first));
            grid.SetCell(static_cast<int>(i) + 1, 2, QLatin1String(rows[i].second));
        }
    }
};

TEST_F(GridSeriesTest, FillsTheTargetInColourLogsAndSetsThePlotRange)
{
    TChartSeries& s = chart.NewSeries();
    s.AddPointXY(1.0, 1.0); // replaced
    Rows({{"150000", "66"}, {"500000", "56,5"}});
    grid.SetLevelLinear(true);
    InterpolateGridToSeries(grid, s, clRed, true, 2, context);
    ASSERT_EQ(s.Count(), 89);
    EXPECT_EQ(s.XValues().Value(0), 150.0);
    EXPECT_EQ(s.XValues().Value(88), 500.0);
    EXPECT_NEAR(s.YValues().Value(1), 66.0 - 4.0 * 9.5 / 350.0, 1e-12);
    EXPECT_EQ(std::pair(s.GetPointColor(0), s.GetPointColor(88)), std::pair(clRed, clRed));
    EXPECT_EQ(messages.Lines(), QStringList{"Info: graph lim1 89 points"});
    // The level range up to round(1.3 * 66) = round(85.8).
    const auto& range = grid.Range();
    EXPECT_EQ(QStringList({range.StartHz, range.StopHz, range.LevelMin, range.LevelMax}),
              QStringList({"10000", "600000", "0", "86"}));
    ASSERT_GE(debug.Lines().size(), 3);
    EXPECT_TRUE(debug.Lines()[debug.Lines().size() - 3].endsWith(QStringLiteral("fmin=10000 fmax=500000")));
    EXPECT_TRUE(debug.Lines().last().endsWith(QStringLiteral("-----------")));
    EXPECT_TRUE(dialogs.errors.isEmpty());
}

TEST_F(GridSeriesTest, CountLineUsesThousandDotsAndOnlyInDebugMode)
{
    TChartSeries& s = chart.NewSeries();
    Rows({{"150000", "66"}, {"5082000", "56"}});
    InterpolateGridToSeries(grid, s, clRed, false, 23, context);
    EXPECT_EQ(messages.Lines(), QStringList{QStringLiteral("Info: graph amptrck 1.234 points")});
    EXPECT_TRUE(grid.Range().StartHz.isEmpty()); // no range flag
    messages.Clear();
    debug.DebugMode = 0;
    InterpolateGridToSeries(grid, s, clRed, false, 23, context);
    EXPECT_TRUE(messages.Lines().isEmpty());
    EXPECT_EQ(s.Count(), 1234);
}

TEST(GridSeriesKeyTest, KeysOfTheMainSeriesAndNoneForOthers)
{
    const std::map<int, QString> keys = {{1, "raw1"},  {2, "lim1"},  {3, "cac"},     {4, "lisn"},    {5, "lim2"},
                                         {6, "edit"},  {7, "7"},     {8, "raw2"},    {9, "cor2"},    {10, "amp"},
                                         {11, "ant"},  {12, "trace1"}, {13, "trace2"}, {14, "gap1"}, {15, "gap2"}};
    for (int n = -1; n <= 30; ++n) {
        const auto it = keys.find(n);
        const QString key = it == keys.end() ? QString() : it->second;
        EXPECT_EQ(GridSeriesKey(n, false), key) << n;
        EXPECT_EQ(GridSeriesKey(n, true), n == 23 ? QStringLiteral("amptrck") : key) << n;
    }
}

// A grid that makes no curve draws nothing at all, and says which table, row and value.
TEST_F(GridSeriesTest, AGridThatMakesNoCurveDrawsNothingAndNamesTheTableAndRow)
{
    TChartSeries& s = chart.NewSeries();
    Rows({{"100000", "1"}, {"120000", "1"}, {"110000", "2"}, {"200000", "3"}});
    grid.SetHolds(QStringLiteral("cac"));
    InterpolateGridToSeries(grid, s, clRed, true, 6, context);
    const QString line = "Error: Cable table \"Cisperxxx\" not drawn (row 3: the frequency 110000 Hz lies below the "
                         "120000 Hz of row 2)";
    EXPECT_EQ(dialogs.errors, QStringList{line});
    EXPECT_EQ(messages.Lines(), QStringList{line});
    EXPECT_EQ(s.Count(), 0);
    EXPECT_TRUE(grid.Range().StopHz.isEmpty());
}

TEST_F(GridSeriesTest, LimitWithMarginAndFlatSegments)
{
    TChartSeries& lim = chart.NewSeries();
    TChartSeries& gap = chart.NewSeries();
    Rows({{"150.000", "60"}, {"30.000.000", "60"}});
    ShowGridAsSeries(grid, lim, gap, clBlue, clGreen, 6, 2, context);
    EXPECT_EQ(Xs(lim), std::vector<double>({150, 30000}));
    EXPECT_EQ(Ys(gap), std::vector<double>({54, 54}));
    EXPECT_EQ(gap.GetPointColor(1), clGreen);
    EXPECT_EQ(lim.GetPointColor(1), clBlue);

    Rows({{"150000", "66"}, {"500000", "56"}});
    grid.SetLevelLinear(false);
    ShowGridAsSeries(grid, lim, gap, clBlue, clGreen, 0, 5, context);
    EXPECT_EQ(lim.Count(), 89);
    EXPECT_EQ(gap.Count(), 0); // margin 0: the margin series stays empty
    EXPECT_NEAR(lim.YValues().Value(87), 66.0 - 10.0 * std::log10(498.0 / 150.0) / std::log10(500.0 / 150.0), 1e-9);
    EXPECT_EQ(lim.YValues().Value(88), 56.0);
    EXPECT_EQ(messages.Lines().last(), QStringLiteral("Info: graph lim2 89 points"));
}

TEST_F(GridSeriesTest, RepaintIsHeldOffWhileFilling)
{
    TChartSeries& lim = chart.NewSeries();
    TChartSeries& gap = chart.NewSeries();
    Rows({{"9000", "80"}, {"30000000", "40"}});
    chart.repaints = 0;
    ShowGridAsSeries(grid, lim, gap, clBlue, clGreen, 6, 2, context);
    EXPECT_EQ(lim.Count(), 7499);
    EXPECT_EQ(gap.Count(), 7499);
    EXPECT_LE(chart.repaints, 4);
}

TEST(SegmentLoaderTest, MarksAndCheckListFollowTheTable)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    CountingChart chart;
    TChartSeries& marks = chart.NewSeries();
    CheckListModel list;
    RecordingDialogs dialogs;
    DataFileContext context;
    context.WorkingFolder = dir.path();
    context.Dialogs = &dialogs;
    SegmentTable table;

    QStringList lines = {QStringLiteral("[Data]")};
    const char* stops[] = {"30.000.000", "108.000.500"};
    const char* starts[] = {"150.000", "30.000.000"};
    for (int n = 1; n <= 2; ++n)
        lines << QStringLiteral("FRQa__%1=%2").arg(n).arg(QLatin1String(starts[n - 1]))
              << QStringLiteral("FRQb__%1=%2").arg(n).arg(QLatin1String(stops[n - 1])) << QStringLiteral("BW____%1=9000").arg(n)
              << QStringLiteral("Sweep_%1=100").arg(n) << QStringLiteral("Att___%1=auto").arg(n)
              << QStringLiteral("PreAmp%1=off").arg(n) << QStringLiteral("Detector%1=POS").arg(n);
    WriteIni(dir.path(), QStringLiteral("src/two.seg"), lines);

    EXPECT_EQ(LoadSegmentFile(table, QStringLiteral(".\\src\\two.seg"), marks, list, clYellow, -90.0, 3000, context), "");
    EXPECT_EQ(table.Count, 2);
    ASSERT_EQ(marks.Count(), 3);
    EXPECT_EQ(marks.XValues().Value(0), 0.0);
    EXPECT_EQ(marks.XValues().Value(1), 30000.0);
    EXPECT_EQ(marks.XValues().Value(2), 108000.0); // 108000.5 kHz rounds to even
    EXPECT_EQ(marks.YValues().Value(2), -90.0);
    EXPECT_EQ(marks.GetPointColor(2), clYellow);
    ASSERT_EQ(list.Count(), 3);
    EXPECT_EQ(list.Text(0), QStringLiteral("all"));
    EXPECT_EQ(list.Text(2), QStringLiteral("2"));
    EXPECT_TRUE(list.Checked(0) && list.Checked(1) && list.Checked(2));

    // A broken file leaves nothing a run could use.
    lines.replaceInStrings(QStringLiteral("Detector2=POS"), QStringLiteral("Detector2=PEAK"));
    WriteIni(dir.path(), QStringLiteral("src/two.seg"), lines);
    EXPECT_EQ(LoadSegmentFile(table, QStringLiteral(".\\src\\two.seg"), marks, list, clYellow, -90.0, 3000, context),
              QStringLiteral("Segment File Error Seg: 2 PEAK"));
    EXPECT_TRUE(dialogs.errors.isEmpty());
    EXPECT_EQ(table.Count, 0);
    EXPECT_EQ(marks.Count(), 1);
    EXPECT_EQ(list.Count(), 1);
    EXPECT_TRUE(list.Checked(0));
}

} // namespace
