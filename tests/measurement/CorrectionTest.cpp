// The correction chain: interpolation, the correction sum, the master curve, the correction pass
// with its peak rules, and the whole-trace recalculation.
#include "RunFixture.h"
#include "measurement/CorrectedTrace.h"
#include "measurement/CorrectionChain.h"
#include "measurement/MasterCorrection.h"
#include "measurement/PeakLists.h"

#include <random>

namespace {

std::vector<double> Xs(const TChartSeries& s) { return {s.XValues().Values().begin(), s.XValues().Values().end()}; }
std::vector<double> Ys(const TChartSeries& s) { return {s.YValues().Values().begin(), s.YValues().Values().end()}; }

// The correction pass over the fixture's set 1.
struct Pass {
    RunFixture f;
    PeakLists& peaks = f.peakCommands.Peaks(MeasureSet::Set1);
    CorrectionPass pass{f.state, f.chart.series, f.switches, f.messages, f.debug, f.host, f.pump};
    SetTraces set{f.chart.raw1, f.chart.corrected1, clLime, f.chart.limit1, 6.0, peaks};

    SegmentResults results;

    // Measures a segment (numbered by its first X) of points at x0, x0 + 1, ... and runs the pass over it.
    void Segment(double x0, const std::vector<double>& levels, bool maxHold = false)
    {
        TChartSeries measured;
        for (size_t i = 0; i < levels.size(); ++i)
            measured.AddPointXY(x0 + static_cast<double>(i), levels[i]);
        CorrectSegment(pass, set, results, static_cast<int>(x0), measured, maxHold);
    }
    QStringList Lines() const { return peaks.Lines.stringList(); }
};

} // namespace

TEST(Correction, InterpolationAndItsLookupAgree)
{
    TChartSeries s;
    FillLine(s, {{10, 0}, {20, 10}});
    EXPECT_EQ(InterpolateSeries(s, 15).Level, 5.0);
    EXPECT_EQ(InterpolateSeries(s, 15).Status, 1);
    for (int64_t x : {9, 21}) {
        EXPECT_EQ(InterpolateSeries(s, x).Status, -1);
        EXPECT_EQ(InterpolateSeries(s, x).Level, 0.0);
    }
    EXPECT_EQ(InterpolateSeries(s, 10).Level, 0.0);
    EXPECT_EQ(InterpolateSeries(s, 20).Level, 10.0);
    // Equal X around the point (a one-point series, or a step) gives the left level.
    FillLine(s, {{10, 3}});
    EXPECT_EQ(InterpolateSeries(s, 10).Level, 3.0);
    FillLine(s, {{10, 3}, {10, 7}, {20, 7}});
    EXPECT_EQ(InterpolateSeries(s, 10).Level, 3.0);

    // The walking lookup finds the same pair as the binary search on a series with repeated X,
    // for ascending walks and for jumps back.
    std::mt19937 rng(7);
    s.Clear();
    double x = 100;
    for (int i = 0; i < 3000; ++i) {
        x += static_cast<double>(rng() % 3) * 4.0;
        s.AddPointXY(x, static_cast<double>(rng() % 1000) / 10.0);
    }
    SeriesLookup lookup(&s);
    for (int i = 0; i < 20000; ++i) {
        const int64_t q = i % 5000 == 4999 ? 50 + static_cast<int64_t>(rng() % 6000) : 90 + i / 3;
        const SeriesLevel a = InterpolateSeries(s, q);
        const SeriesLevel b = lookup.Level(q);
        ASSERT_EQ(a.Status, b.Status) << q;
        ASSERT_EQ(a.Level, b.Level) << q;
    }
}

TEST(Correction, SumOfTheTermsWithTheSelectedSetsCompensation)
{
    RunFixture f;
    FillLine(f.chart.cable, {{100, -1}, {200, -3}});
    FillLine(f.chart.lisn, {{100, 10}, {300, 10}});
    FillLine(f.chart.antenna, {{150, 4}, {200, 4}});
    FillLine(f.chart.amplifier, {{100, 20}, {200, 20}});
    FillLine(f.chart.compensation1, {{100, 1.5}, {200, 1.5}});
    FillLine(f.chart.compensation2, {{100, 7}, {200, 7}});
    EXPECT_DOUBLE_EQ(CorrectionChain(f.chart.series, f.switches).Sum(150.4), -2 + 10 - 4 + 20);
    // Outside a series' range its term is 0; 249.5 reads at 250 (halves to even: 250).
    EXPECT_DOUBLE_EQ(CorrectionChain(f.chart.series, f.switches).Sum(249.5), 10);
    f.switches.UseCompensation = true;
    EXPECT_DOUBLE_EQ(CorrectionChain(f.chart.series, f.switches).Sum(150), 24 - 1.5);
    f.switches.SelectedSet = MeasureSet::Set2;
    EXPECT_DOUBLE_EQ(CorrectionChain(f.chart.series, f.switches).Sum(150), 24 - 7);
}

TEST(Correction, MasterCurveIsBuiltOneStepPerTick)
{
    RunFixture f;
    FillLine(f.chart.cable, {{0, -1}, {1000, -11}});
    f.AddSegment(MeasureSet::Set1, 150000, 160000);
    f.AddSegment(MeasureSet::Set1, 160000, 170499);
    MasterCorrectionContext m{f.state, f.chart.series, f.switches, f.context.Tables, f.messages, f.host, f.timer};
    f.state.MasterCalcState = MasterCalcPhase::StartRequested;
    f.timer.Start(5);
    CalcMasterCorrection(m);
    EXPECT_EQ(f.chart.master.Count(), 0);
    EXPECT_EQ(f.Lines("Info: measurement"),
              QStringList({"Info: measurement calculating master", "Info: measurement set1 150kHz to 170kHz"}));
    for (int i = 0; i < 6; ++i)
        CalcMasterCorrection(m);
    ASSERT_EQ(f.chart.master.Count(), 6); // 150, 154, ..., 170
    EXPECT_EQ(f.chart.master.GetPointX(5), 170);
    EXPECT_DOUBLE_EQ(f.chart.master.GetPointY(1), -1 - 10 * 154.0 / 1000);
    EXPECT_EQ(f.chart.master.GetPointColor(0), clYellow);
    EXPECT_EQ(f.state.MasterCalcState, MasterCalcPhase::Idle);
    EXPECT_FALSE(f.timer.Active());
    EXPECT_EQ(f.messages.Lines().last(), "Info: measurement calculating master done");

    f.chart.cable.Clear();
    f.state.MasterCalcState = MasterCalcPhase::StartRequested;
    CalcMasterCorrection(m);
    EXPECT_EQ(f.state.MasterCalcState, MasterCalcPhase::Idle);
    EXPECT_TRUE(f.Lines("Info: measurement calculating master not possible ").size() == 1);
}

// A table that steps (two points at one X, as a band change is written) steps in the master
// curve too: every whole kHz reads the same sum through the curve as term by term.
TEST(Correction, MasterCurveKeepsTheStepsOfItsTables)
{
    RunFixture f;
    FillLine(f.chart.cable, {{100, -1}, {156, -1}, {156, -3}, {162, -3}, {162, -6}, {300, -6}});
    f.AddSegment(MeasureSet::Set1, 150000, 170000);
    MasterCorrectionContext m{f.state, f.chart.series, f.switches, f.context.Tables, f.messages, f.host, f.timer};
    f.state.MasterCalcState = MasterCalcPhase::StartRequested;
    f.timer.Start(5);
    for (int i = 0; i < 7; ++i)
        CalcMasterCorrection(m);
    EXPECT_EQ(Xs(f.chart.master), std::vector<double>({150, 154, 156, 156, 158, 162, 162, 166, 170}));
    CorrectionChain chain(f.chart.series, f.switches);
    for (int64_t x = 150; x <= 170; ++x)
        EXPECT_EQ(InterpolateSeries(f.chart.master, x).Level, chain.Sum(static_cast<double>(x))) << x;
}

TEST(Correction, RunsOfExceedingPointsAndTheirMaxima)
{
    Pass p;
    FillLine(p.f.chart.limit1, {{0, 50}, {3000, 50}});
    std::vector<double> levels;
    for (int i = 0; i < 40; ++i)
        levels.push_back(60 + i * 0.1);
    p.f.switches.MaxFilter = true;
    p.Segment(1000, levels);
    // The 16th point ends the first run, the 32nd the second, the segment's end the last 8.
    EXPECT_EQ(p.Lines(), QStringList({"1  1015.00kHz 61.50dBuV", "2  1031.00kHz 63.10dBuV", "3  1039.00kHz 63.90dBuV"}));
    EXPECT_EQ(p.peaks.Grid.RowCount(), 5);
    EXPECT_EQ(p.peaks.Grid.Cell(3, 0), "2");
    EXPECT_EQ(p.peaks.Grid.Cell(3, 1), "1031");
    EXPECT_EQ(p.peaks.Grid.Cell(3, 3), "50.00");
    EXPECT_EQ(p.peaks.Grid.Cell(3, 4), "-13.10");
    EXPECT_EQ(p.peaks.Freqs.stringList().last(), "1039.00");

    p.f.peakCommands.ClearPeaks();
    p.f.switches.MaxFilter = false;
    p.Segment(2000, levels);
    EXPECT_EQ(p.Lines().size(), 40);
    EXPECT_EQ(p.Lines().first(), "1  2000.00kHz 60.00dBuV");
}

TEST(Correction, ThresholdLimitRangeAndTheListedLimit)
{
    Pass p;
    p.f.switches.MaxFilter = true;
    FillLine(p.f.chart.limit1, {{1000, 50}, {1010, 60}});
    // Exactly at limit - margin is no peak.
    p.Segment(1000, {44, 47, 30});
    EXPECT_EQ(p.Lines(), QStringList({"1  1001.00kHz 47.00dBuV"}));
    EXPECT_EQ(p.peaks.Grid.Cell(2, 4), "4.00");
    // The maximum at 1006 is listed with the limit there (56), not with the one at 1008 where
    // its run ended.
    p.Segment(1005, {30, 57, 55, 20});
    EXPECT_EQ(p.Lines().last(), "2  1006.00kHz 57.00dBuV");
    EXPECT_EQ(p.peaks.Grid.Cell(3, 3), "56.00");
    EXPECT_EQ(p.peaks.Grid.Cell(3, 4), "-1.00");
    // Points beyond the limit line neither list a peak nor end the run they follow.
    p.Segment(1009, {60, 60, 60});
    EXPECT_EQ(p.Lines().mid(2), QStringList{"3  1009.00kHz 60.00dBuV"});
}

// Max hold keeps the larger level per segment and frequency: a segment missing from a pass (a
// faulty trace) moves no other segment's points and keeps its own; a shorter trace keeps the held
// points it did not reach; the raw trace holds the level behind each held point; peaks come from
// the held levels.
TEST(Correction, MaxHoldIsKeptPerSegmentAndFrequency)
{
    Pass p;
    FillLine(p.f.chart.cable, {{0, 1}, {5000, 1}});
    FillLine(p.f.chart.limit1, {{0, 50}, {5000, 50}});
    p.Segment(1000, {10, 20, 30});
    p.Segment(1010, {61, 20, 20});
    p.Segment(1020, {5, 5, 5});
    EXPECT_EQ(p.f.chart.corrected1.GetPointColor(2), clLime);
    p.peaks.Clear();
    p.Segment(1000, {15, 5, 30}, true);
    p.Segment(1020, {1, 59}, true);
    EXPECT_EQ(Xs(p.f.chart.corrected1), std::vector<double>({1000, 1001, 1002, 1010, 1011, 1012, 1020, 1021, 1022}));
    EXPECT_EQ(Ys(p.f.chart.corrected1), std::vector<double>({14, 19, 29, 60, 19, 19, 4, 58, 4}));
    const std::vector<double> heldRaw{15, 20, 30, 61, 20, 20, 5, 59, 5};
    EXPECT_EQ(Ys(p.f.chart.raw1), heldRaw);
    // New points of a held segment replace its held ones up to the newest; they come back without a result.
    p.results.ShowComing(p.set, 1010, std::vector<double>{1010, 1011}, std::vector<double>{7, 8});
    EXPECT_EQ(Ys(p.f.chart.raw1), std::vector<double>({15, 20, 30, 7, 8, 20, 5, 59, 5}));
    p.results.DropComing(p.set);
    EXPECT_EQ(Ys(p.f.chart.raw1), heldRaw);
    // The held 60 at 1010 is listed before this pass measures there, and after it measured 20 there.
    const QStringList held{"1  1010.00kHz 60.00dBuV", "2  1021.00kHz 58.00dBuV"};
    EXPECT_EQ(p.Lines(), held);
    p.Segment(1010, {20, 20, 20}, true);
    EXPECT_EQ(p.Lines(), held);
    // Without max hold a segment's points replace its own only.
    p.Segment(1010, {30}, false);
    EXPECT_EQ(Ys(p.f.chart.corrected1), std::vector<double>({14, 19, 29, 29, 4, 58, 4}));
    EXPECT_TRUE(p.f.host.errorBoxes.isEmpty());
}

TEST(Correction, MasterCurveOnlyWhereItCoversThePoint)
{
    Pass p;
    FillLine(p.f.chart.cable, {{0, 2}, {5000, 2}});
    // A master curve that (deliberately) differs from the terms shows which path was taken.
    FillLine(p.f.chart.master, {{1002, 7}, {1003, 7}});
    p.Segment(1000, {50, 50, 50, 50, 50});
    EXPECT_EQ(Ys(p.f.chart.corrected1), std::vector<double>({48, 48, 43, 43, 48}));
    EXPECT_EQ(p.f.state.CorFastPath, 0);
    p.Segment(1005, {50});
    EXPECT_EQ(p.f.messages.Lines().last(), "Info: measurement calc cor slow");
}

TEST(Correction, RecalculationRebuildsAndAStopLeavesNoPlaceholders)
{
    Pass p;
    p.f.switches.MaxFilter = true;
    FillLine(p.f.chart.limit1, {{0, 50}, {10000, 50}});
    FillLine(p.f.chart.cable, {{0, -1}, {10000, -1}});
    for (int i = 0; i < 1000; ++i)
        p.f.chart.raw1.AddPointXY(1000 + i, i % 100 == 50 ? 60 : 20);
    p.peaks.AddPeak(1, 2, 3);
    EXPECT_EQ(RecalcCorrectedTrace(p.pass, p.set, {}), 1000);
    EXPECT_EQ(p.f.chart.corrected1.Count(), 1000);
    EXPECT_EQ(p.f.chart.corrected1.GetPointY(50), 61);
    EXPECT_EQ(p.Lines().size(), 10);
    EXPECT_EQ(p.Lines().first(), "1  1050.00kHz 61.00dBuV");

    // Stop during the walk (it looks every 200 points).
    const int done = RecalcCorrectedTrace(p.pass, p.set, [&](int position, int) {
        if (position == 400)
            p.f.state.StopRequested = 1;
    });
    EXPECT_EQ(done, 400);
    EXPECT_EQ(p.f.chart.corrected1.Count(), 400);
    EXPECT_EQ(p.f.chart.corrected1.GetMaxX(), 1399);
    EXPECT_EQ(p.Lines().size(), 4);
}
