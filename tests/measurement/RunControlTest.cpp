// Run control: refusals, the mode table and estimate, Pause, resume and Stop as the state
// machine has them, max hold over passes, closing during a run, and the waits.
#include "RunFixture.h"
#include "measurement/CompletionHandshake.h"
#include "measurement/MeasureTime.h"
#include "measurement/ModeRunner.h"
#include "measurement/PlanTally.h"

namespace {

using L = QStringList;

// A DSA with three segments of 10 s each.
struct DsaRun : RunFixture {
    DsaRun()
    {
        Connect("dsa815", false);
        FillLine(chart.limit1, {{100, 50}, {100000, 50}});
        for (int i = 0; i < 3; ++i)
            AddSegment(MeasureSet::Set1, 150000 + i * 1000000, 1150000 + i * 1000000, "9000", 10000);
    }
    // Runs action once the virtual clock reaches ms.
    void At(uint32_t ms, std::function<void()> action) { pump.Schedule(ms - pump.TickCount(), std::move(action)); }
};

} // namespace

TEST(RunControl, ThePlanTallyGroupsWhatWasLeftOutByReasonInPlanOrder)
{
    using enum PlanTally::Measured;
    PlanTally t;
    for (const auto& [i, measured, why] : {std::tuple{1, Whole, ""}, {2, InPart, "cut"}, {2, None, "x"},
                                           {3, None, "bad"}, {4, None, "bad"}, {7, None, ""}, {8, None, "bad"}})
        t.Plan(i), t.Record(i, measured, why);
    t.Plan(5), t.Plan(6), t.EndedBy("stopped");
    EXPECT_EQ(t.Summary(2), "Warning: Set2: 1 of 8 segments measured whole; in part: seg 2 (cut); not measured: "
                            "seg 3-4, 8 (bad), seg 5-6 (stopped), seg 7 (no trace)");
}

TEST(RunControl, ModeTableEstimatesAndSmallParsers)
{
    EXPECT_EQ(MeasureModeText(*ChooseMeasureMode({dfRigol}, false)), "sweep");
    EXPECT_EQ(MeasureModeText(*ChooseMeasureMode({dfSiglent, 0, ssSva}, true)), "emi");
    EXPECT_EQ(MeasureModeText(*ChooseMeasureMode({dfRsFpc}, false)), "emi_scan");
    EXPECT_EQ(MeasureModeText(*ChooseMeasureMode({dfRsFph}, true)), "emi_fix");
    EXPECT_EQ(ChooseMeasureMode({dfHameg}, false), std::nullopt);
    RunFixture f;
    f.device.DeviceFamily = dfRigol;
    f.device.TracePoints = 601;
    for (int i = 0; i < 10; ++i)
        f.AddSegment(MeasureSet::Set1, 150000, 30000000, "9000", 500);
    EXPECT_EQ(CalcMeasureTime(f.table1, MeasureMode::Emi, f.device, f.debug), 1635u);
    EXPECT_EQ(SecondsText(1635), "00:27:15");
    // A run of a day or more: the estimate counts its hours on, as the countdown does.
    EXPECT_EQ(SecondsText(90150), "25:02:30");
    EXPECT_EQ(CalcMeasureTime(f.table1, MeasureMode::Sweep, f.device, f.debug), 65u); // 10 x (500 + 3000 + 3000) ms
    f.table1.Segment(1).Detector = "QPEAK";
    EXPECT_EQ(CalcMeasureTime(f.table1, MeasureMode::EmiFix, f.device, f.debug), 21636u);
    f.table1.Count = 0;
    EXPECT_FALSE(CalcMeasureTime(f.table1, MeasureMode::Emi, f.device, f.debug));
    f.device.DeviceConnected = 1;
    f.run->UpdateMeasureTimeEstimate();
    EXPECT_EQ(f.work.Controls.EstimateText, "");

    EXPECT_EQ(SnapBandwidth("120000"), QString("1000000"));
    EXPECT_EQ(SnapBandwidth("9000"), QString("30000"));
    EXPECT_EQ(SnapBandwidth("200"), QString("1000"));
    EXPECT_EQ(SnapBandwidth("1"), QString("3"));
    EXPECT_EQ(SnapBandwidth("9kHz"), QString("100000"));
    EXPECT_FALSE(SnapBandwidth("3000000"));
    EXPECT_EQ(LeadingInteger("1\n"), 1);
    EXPECT_EQ(LeadingInteger("129"), 129);
    EXPECT_EQ(LeadingInteger("33;"), 33);
    EXPECT_FALSE(LeadingInteger("x1"));
}

TEST(RunControl, PlayWithoutADeviceOrWithAHamegRunsNothing)
{
    RunFixture f;
    f.AddSegment(MeasureSet::Set1, 150000, 30000000);
    f.run->Play();
    EXPECT_EQ(f.host.errorBoxes, L({"No device selected or device not supported"}));
    EXPECT_EQ(f.work.Controls, RunControls());

    RunFixture h;
    h.Connect("hms3010");
    h.AddSegment(MeasureSet::Set1, 150000, 30000000);
    h.run->Play();
    EXPECT_TRUE(h.host.errorBoxes.isEmpty());
    EXPECT_TRUE(h.SimLog().isEmpty());
    EXPECT_TRUE(h.work.Controls.PlayEnabled && !h.work.Controls.StopEnabled);
    // "Info: play ...", then why nothing was measured.
    ASSERT_EQ(h.messages.Lines().size(), 2);
    EXPECT_EQ(h.messages.Lines()[1], "Info: no measurement loop for the Hameg HMS analyser family, nothing measured");

    // A Siglent of no series stands for a family joined to a runner's case that none of its
    // tests serve: it says so at Play instead of waiting for data that never comes.
    RunFixture s;
    s.Connect("ssa3032x");
    s.device.SiglentSeries = ssNone;
    s.AddSegment(MeasureSet::Set1, 150000, 30000000);
    s.run->Play();
    EXPECT_EQ(s.messages.Lines().last(), "Info: no measurement loop for the number 2 analyser family, nothing measured");
}

TEST(RunControl, PauseResumeAndStopWhilePaused)
{
    DsaRun f;
    bool playWhilePaused = false;
    f.At(5000, [&] { f.run->Pause(); });
    f.At(20000, [&] {
        // Paused before segment 2: Play and Stop on, the grid free for changes.
        const RunControls& c = f.work.Controls;
        playWhilePaused = c.PlayEnabled && c.StopEnabled && !c.PauseEnabled && !c.GridLocked;
        f.run->Play(); // resumes; a second loop must not start
    });
    f.At(25000, [&] { f.run->Pause(); });
    f.At(60000, [&] { f.run->Stop(); });
    f.run->Play();
    EXPECT_TRUE(playWhilePaused);
    EXPECT_EQ(f.RunLines(),
              L({"Info: measurement start seg 1 of 3 waiting for data", "Info: measurement waiting for pause",
                 "Info: measurement done  seg 1 of 3", "Info: measurement pause at seg 2",
                 "Info: measurement start seg 2 of 3 waiting for data", "Info: measurement waiting for pause",
                 "Info: measurement done  seg 2 of 3", "Info: measurement pause at seg 3",
                 "Info: measurement waiting to stop", "Info: measurement paused & stopped",
                 "Info: measurement stopped"}));
    EXPECT_EQ(f.Lines("Info: play ").size(), 2);
    EXPECT_EQ(f.host.notices, L({"1/3", "2/3", "stopped 2/3"}));
    EXPECT_EQ(f.chart.raw1.Count(), 2 * 601);
    EXPECT_EQ(f.work.Controls.PassText, "1");
    EXPECT_EQ(f.state.RemainingMeasureSeconds, 0u);
    const RunControls& c = f.work.Controls;
    EXPECT_TRUE(c.PlayEnabled && !c.StopEnabled && !c.PauseEnabled && !c.GridLocked && !c.Busy);
    EXPECT_EQ(f.state.MasterCalcState, MasterCalcPhase::Idle);
    EXPECT_FALSE(f.timer.Active());
}

TEST(RunControl, StopInsideASegmentEndsItWithoutACorrectionPass)
{
    DsaRun f;
    f.switches.Beep = true;
    f.At(4000, [&] { f.run->Stop(); });
    f.run->Play();
    // A segment that brought no trace is not "done": no line, no notice, no beep for it.
    EXPECT_EQ(f.RunLines(), L({"Info: measurement start seg 1 of 3 waiting for data", "Info: measurement waiting to stop",
                               "Info: measurement stopped"}));
    // The wait ended at once, the trace was requested but not taken into the raw trace.
    EXPECT_LT(f.pump.TickCount(), 4100u);
    EXPECT_EQ(f.chart.raw1.Count(), 0);
    EXPECT_EQ(f.chart.corrected1.Count(), 0);
    EXPECT_TRUE(f.Lines("Info: measurement calc cor").isEmpty());
    EXPECT_EQ(f.host.beeps, L({"1000/300", "2000/300"}));
    EXPECT_EQ(f.host.notices, L({"stopped 0/3"})) << "no notice for the segment Stop ended";
    // The link stays in step: the next run reads its answers, not the old trace.
    f.run->Play();
    EXPECT_EQ(f.chart.raw1.Count(), 3 * 601);
    EXPECT_TRUE(f.Lines("Error").isEmpty());
}

TEST(RunControl, MaxHoldRepeatsUntilStopWhichClearsIt)
{
    DsaRun f;
    f.parameters.MaxHold = true;
    f.checks1.SetChecked(2, false);
    f.checks1.SetChecked(3, false);
    std::vector<std::vector<double>> passes;
    QObject::connect(&f.messages, &MessageLog::LineAppended, [&](const QString& line) {
        // A pass cut short by Stop took no trace and left the last one on the chart.
        if (line.startsWith("Info: measurement done") && f.state.StopRequested == 0 && f.chart.raw1.Count() == 601)
            passes.emplace_back(f.chart.raw1.YValues().Values().begin(), f.chart.raw1.YValues().Values().end());
    });
    f.At(15000, [&] { f.switches.UseCompensation = true; }); // the master curve is built again
    f.At(50000, [&] { f.run->Stop(); });
    f.run->Play();
    EXPECT_EQ(f.messages.Lines().count("Info: measurement calculating master"), 2);
    ASSERT_GE(passes.size(), 3u);
    EXPECT_EQ(f.work.Controls.PassText, QString::number(passes.size() + 1));
    // Corrected = the largest level of every pass, point by point (no corrections here).
    for (int i = 0; i < 601; ++i) {
        double top = -1000;
        for (const auto& p : passes)
            top = std::max(top, p[static_cast<size_t>(i)]);
        ASSERT_EQ(f.chart.corrected1.GetPointY(i), top) << i;
    }
    // Stop switched "MaxHold" off, and the window was told so.
    EXPECT_FALSE(f.parameters.MaxHold);
    EXPECT_EQ(f.host.maxHoldCleared, 1);
    // The next run measures its pass once.
    const size_t before = passes.size();
    f.run->Play();
    EXPECT_EQ(passes.size(), before + 1);
    EXPECT_EQ(f.work.Controls.PassText, "1");
}

// A plan that cannot run is refused before anything is cleared or sent, and a pass that measures
// nothing is not repeated by "MaxHold".
TEST(RunControl, RefusedRunsKeepTheChartAndEmptyPassesEndTheRun)
{
    DsaRun f;
    f.run->Play();
    const int points = f.chart.raw1.Count();
    const int peaks = f.peakCommands.Peaks(MeasureSet::Set1).Count();
    ASSERT_GT(peaks, 0);
    // The presets the analyser got, once it has read everything before a query.
    const auto presets = [&f] {
        VisaWriteString(f.visa, f.debug, ":SYST:ERR?");
        VisaReadReply(f.visa, QString());
        return f.SimLog().count(":SYST:PRES");
    };
    ASSERT_EQ(presets(), 1);
    // Refused: an empty plan, then a set whose limit file is missing.
    f.parameters.MaxHold = true;
    const SegmentTable plan = f.table1;
    f.table1.Count = 0;
    f.run->Play();
    f.table1 = plan;
    f.parameters.MissingLimit[MeasureSet::Set1] = "Limit File not found: .\\src\\gone.lim";
    f.run->Play();
    EXPECT_EQ(f.host.errorBoxes, L({"Seg Count<<: 0   ,maybe no project loaded", "Limit File not found: .\\src\\gone.lim"}));
    EXPECT_EQ(f.chart.raw1.Count(), points);
    EXPECT_EQ(f.chart.corrected1.Count(), points);
    EXPECT_EQ(f.peakCommands.Peaks(MeasureSet::Set1).Count(), peaks);
    EXPECT_EQ(presets(), 1);
    EXPECT_TRUE(f.work.Controls.PlayEnabled && !f.work.Controls.Busy);

    // Every segment unchecked with "MaxHold" on: one pass, then the run ends by itself.
    f.parameters.MissingLimit[MeasureSet::Set1].clear();
    for (int row = 0; row < f.checks1.Count(); ++row)
        f.checks1.SetChecked(row, false);
    f.run->Play();
    EXPECT_EQ(f.work.Controls.PassText, "1");
    EXPECT_EQ(presets(), 2);
    EXPECT_TRUE(f.work.Controls.PlayEnabled && !f.work.Controls.Busy);
}

TEST(RunControl, ClosingDuringARunStopsItFirst)
{
    DsaRun f;
    bool closeAllowed = true;
    f.At(3000, [&] { closeAllowed = f.run->RequestClose(); });
    f.run->Play();
    EXPECT_FALSE(closeAllowed);
    EXPECT_EQ(f.host.closes, 1);
    EXPECT_EQ(f.visa.VisaSession, 0u);
    EXPECT_EQ(f.Lines("Info: measurement stopped").size(), 1);
    RunFixture idle;
    EXPECT_TRUE(idle.run->RequestClose());
}

TEST(RunControl, WaitsBlockOnThePumpAndEndAtStop)
{
    RunFixture f;
    WaitMsOrStop(f.state, f.pump, 10000);
    EXPECT_EQ(f.pump.TickCount(), 10000u);
    EXPECT_EQ(f.pump.Waits(), 1u);
    f.pump.Schedule(300, [&] { f.run->Stop(); });
    WaitMsOrStop(f.state, f.pump, 10000);
    EXPECT_EQ(f.pump.TickCount(), 10300u);
    // A loop that waits clears the request when it starts; until then waits end at once.
    WaitMsOrStop(f.state, f.pump, 10000);
    EXPECT_EQ(f.pump.TickCount(), 10300u);
    ClearStopRequest(f.state);
    WaitMsOrStop(f.state, f.pump, 50);
    EXPECT_EQ(f.pump.TickCount(), 10350u);
}

TEST(RunControl, DisplayPeaksRebuildsWhatTheRunListed)
{
    RunFixture f;
    f.switches.MaxFilter = true;
    f.Connect("ssa3032x");
    FillLine(f.chart.cable, {{100, -1}, {100000, -1}});
    FillLine(f.chart.limit1, {{100, 40}, {100000, 40}});
    f.AddSegment(MeasureSet::Set1, 150000, 10000000);
    f.AddSegment(MeasureSet::Set1, 10000000, 30000000);
    f.run->Play();
    const L peaks = f.peakCommands.Peaks(MeasureSet::Set1).Lines.stringList();
    const std::vector<double> corrected(f.chart.corrected1.YValues().Values().begin(),
                                        f.chart.corrected1.YValues().Values().end());
    ASSERT_GE(peaks.size(), 3);
    f.peakCommands.ClearPeaks();
    EXPECT_EQ(f.peakCommands.Peaks(MeasureSet::Set1).Count(), 0);
    EXPECT_EQ(f.peakCommands.Peaks(MeasureSet::Set1).Grid.RowCount(), 2);
    f.peakCommands.DisplayPeaks();
    EXPECT_EQ(f.peakCommands.Peaks(MeasureSet::Set1).Lines.stringList(), peaks);
    EXPECT_EQ(std::vector<double>(f.chart.corrected1.YValues().Values().begin(),
                                  f.chart.corrected1.YValues().Values().end()),
              corrected);
    EXPECT_TRUE(f.work.Controls.PlayEnabled && !f.work.Controls.Busy);
}
