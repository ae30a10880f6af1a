// The generator's fixed rows, sweeps and ramps on a recording transport with the virtual clock:
// what is sent, when, and what a stop click, a set-up error or closing the window leave behind.
#include "GeneratorHarness.h"

#include <gtest/gtest.h>

namespace {

const QStringList kStop = {":SOUR:POW:LEV:IMM:AMPL -20", ":OUTP 1", ":OUTP 0"};

QStringList Levels(const GeneratorHarness& h)
{
    QStringList out;
    for (const QString& t : h.Texts(kLevelCommand))
        out << t.mid(kLevelCommand.size());
    return out;
}

} // namespace

TEST(GeneratorController, SweepVisitsEveryStepOneDwellApartUpToStop)
{
    GeneratorHarness h;
    h.view.Bands[0].Dwell.Text = "500";
    h.controller.Click(GeneratorAction::SweepBand1);

    EXPECT_EQ(h.view.Messages, QStringList{"Warning: dwelltime 500 maybe to slow for DSA"});
    const auto centres = h.Only(kCentreCommand);
    ASSERT_EQ(centres.size(), 9991u);
    EXPECT_EQ(centres.front().Text, kCentreCommand + "100000");
    EXPECT_EQ(centres.back().Text, kCentreCommand + "100000000");
    for (size_t i = 1; i < centres.size(); ++i)
        ASSERT_EQ(centres[i].At - centres[i - 1].At, 500u) << i;
    // Zero span before the first level; the generator ends at -20 dBm and off.
    EXPECT_LT(h.Texts().indexOf(":SENS:FREQ:SPAN 0"), h.Texts().indexOf(kLevelCommand + "-20"));
    EXPECT_EQ(h.Texts().mid(h.Texts().size() - 3), kStop);
    EXPECT_EQ(h.view.MarkerFrequency, "100.000.000");
    EXPECT_EQ(h.state.GeneratorRunning[GeneratorAction::SweepBand1], 0);
    EXPECT_EQ(h.state.GeneratorLoopActive, 0);
    EXPECT_TRUE(h.AllButtonsEnabled());
    EXPECT_EQ(h.actions, (std::vector<bool>{true, false}));
}

TEST(GeneratorController, SweepStartBelowTheGeneratorRangeBecomes9000)
{
    GeneratorHarness h;
    SweepBand& band = h.view.Bands[1];
    band.Start.Text = "5.000";
    band.Stop.Text = "29.000";
    band.Step.Text = "10.000";
    band.Amplitude.Text = "-33";
    h.controller.Click(GeneratorAction::SweepBand2);
    EXPECT_EQ(band.Start.Text, "9.000");
    EXPECT_EQ(h.Texts(kCentreCommand), (QStringList{kCentreCommand + "9000", kCentreCommand + "19000",
                                                   kCentreCommand + "29000"}));
    EXPECT_EQ(band.Amplitude.Text, "-20");
    EXPECT_TRUE(band.Amplitude.Red);
    EXPECT_TRUE(h.view.Messages.isEmpty()); // dwell 1000 is not short

    // A stop at the top of the 64-bit range lies beyond what a project's band may hold: refused.
    GeneratorHarness top;
    top.view.Bands[0].Stop.Text = "9223372036854775807";
    top.controller.Click(GeneratorAction::SweepBand1);
    EXPECT_EQ(top.sent.size(), 0u);
    EXPECT_EQ(top.view.Messages, QStringList{"Warning: sweep band 1 \"Stop[Hz]\" 9223372036854775807 lies outside "
                                             "whole numbers 0..1e+12 Hz; nothing is sent"});
}

TEST(GeneratorController, StopClickEndsTheSweepWithinOnePumpRound)
{
    GeneratorHarness h;
    h.pump.Schedule(2500, [&] {
        h.controller.Click(GeneratorAction::SweepBand1);
        // Until the loop has returned no other action may start.
        EXPECT_FALSE(h.AnyButtonEnabled());
    });
    h.controller.Click(GeneratorAction::SweepBand1);

    const auto centres = h.Only(kCentreCommand);
    ASSERT_EQ(centres.size(), 3u);
    EXPECT_LE(centres.back().At, 2500u);
    ASSERT_FALSE(h.sent.empty());
    EXPECT_EQ(h.sent.back().Text, ":OUTP 0");
    EXPECT_EQ(h.sent.back().At, 2500u);
    EXPECT_TRUE(h.AllButtonsEnabled());
    EXPECT_EQ(h.state.GeneratorRunning[GeneratorAction::SweepBand1], 0);
}

TEST(GeneratorController, RampRisesHoldsAndFallsInSteps)
{
    GeneratorHarness h;
    h.view.Ramp.Times[1].Text = "999";
    h.controller.Click(GeneratorAction::PowerRamp);

    EXPECT_EQ(Levels(h), (QStringList{"-15", "-11", "-7", "-3", "-7", "-11", "-15", "-20"}));
    const auto levels = h.Only(kLevelCommand);
    // T0 0 holds 1 ms; T1 999 is 1000 ms in three steps of 333.
    EXPECT_EQ(levels[1].At - levels[0].At, 1u + 333u);
    EXPECT_EQ(levels[2].At - levels[1].At, 333u);
    EXPECT_EQ(levels[3].At - levels[2].At, 333u);
    EXPECT_EQ(h.Texts(kCentreCommand), QStringList{kCentreCommand + "150000"});
    EXPECT_EQ(h.Texts().mid(h.Texts().size() - 3), kStop); // "Tg off" is on
    EXPECT_EQ(h.state.GeneratorRunning[GeneratorAction::PowerRamp], 0);
    EXPECT_TRUE(h.AllButtonsEnabled());
}

TEST(GeneratorController, RampScheduleWithoutStepsJumpsWithinLowAndHigh)
{
    RampPlan plan;
    plan.TimesMs = {1, 1001, 1001, 1001, 1001};
    plan.Low = -15;
    plan.High = -3;
    const std::vector<RampAction> schedule = RampSchedule(plan);
    const std::vector<RampAction> expected = {
        {RampAction::Send, -15}, {RampAction::Wait, 1},    {RampAction::Wait, 1001}, {RampAction::Send, -3},
        {RampAction::Wait, 1001}, {RampAction::Wait, 1001}, {RampAction::Send, -15}, {RampAction::Wait, 1001}};
    EXPECT_EQ(schedule, expected);

    // Uneven steps still land on high and low; levels and waits round halves to even.
    plan.StepsUp = 4;
    plan.StepsDown = 3;
    plan.Low = -20;
    plan.High = -10;
    plan.TimesMs[1] = 1002;
    std::vector<int64_t> levels;
    std::vector<int64_t> waits;
    for (const RampAction& a : RampSchedule(plan))
        (a.What == RampAction::Send ? levels : waits).push_back(a.Value);
    EXPECT_EQ(levels, (std::vector<int64_t>{-20, -18, -15, -12, -10, -13, -17, -20}));
    EXPECT_EQ(waits[1], 250); // 250.5
}

TEST(GeneratorController, SetUpErrorsReleaseTheButtonAndSendNothing)
{
    GeneratorHarness h;
    h.view.Ramp.Low.Text = "-3";
    h.view.Ramp.High.Text = "-15";
    h.controller.Click(GeneratorAction::PowerRamp);
    h.view.Fixed[0].Frequency.Text = "8.999";
    h.controller.Click(GeneratorAction::FixedFrequency1);
    h.view.Bands[0].Step.Text = "ten";
    h.controller.Click(GeneratorAction::SweepBand1);
    h.view.Ramp.Low.Text = "-15";
    h.view.Ramp.StepsUp.Text = "31";
    h.controller.Click(GeneratorAction::PowerRamp);

    EXPECT_EQ(h.errors, (QStringList{"Ramp Setup Error ", "Fixed Freq Setup Error ", "Sweep Setup Error ",
                                     "Ramp Setup Error "}));
    EXPECT_TRUE(h.sent.empty());
    EXPECT_EQ(h.state.GeneratorLoopActive, 0);
    for (uint8_t running : h.state.GeneratorRunning)
        EXPECT_EQ(running, 0);
    EXPECT_TRUE(h.AllButtonsEnabled());
}

// A typed number beyond its project key's bound: one line naming the box, besides the action's box
// a text that is no number gets; every start while the amplifier table is refused. Nothing is sent.
TEST(GeneratorController, TypedValuesBeyondTheirBoundsAndARefusedTableSendNothing)
{
    const struct {
        GeneratorEdit& (*edit)(GeneratorViewModel&);
        const char *text, *shown, *box, *bound, *error;
        std::optional<GeneratorAction> action; // none: the frequency's spin button up
    } cases[] = {
        {[](auto& v) -> GeneratorEdit& { return v.Fixed[0].Frequency; }, "5.000.000.000.000", "5.000.000.000.000",
         "fixed row 1 \"Frequency[Hz]\"", "whole numbers 0..1e+12 Hz", "Fixed Freq Setup Error ", GeneratorAction::FixedFrequency1},
        {[](auto& v) -> GeneratorEdit& { return v.Bands[1].Dwell; }, "86400001", "86400001", "sweep band 2 \"DwellTime[msec]\"",
         "whole numbers 1..86400000 ms", "Sweep Setup Error ", GeneratorAction::SweepBand2},
        {[](auto& v) -> GeneratorEdit& { return v.Ramp.Times[1]; }, "2147483647", "2147483647", "ramp \"T1[msec]\"",
         "whole numbers 0..86400000 ms", "Ramp Setup Error ", GeneratorAction::PowerRamp},
        {[](auto& v) -> GeneratorEdit& { return v.Manual.Frequency; }, "1.000.000.000.001", "1.000.000.000.001",
         "manual stepping \"Frequency[Hz]\"", "whole numbers 0..1e+12 Hz", nullptr, GeneratorAction::ManualStepping},
        {[](auto& v) -> GeneratorEdit& { return v.Manual.Frequency; }, "999.999.950.000", "1.000.000.050.000",
         "manual stepping \"Frequency[Hz]\"", "whole numbers 0..1e+12 Hz", nullptr, std::nullopt},
    };
    for (const auto& c : cases) {
        GeneratorHarness h;
        c.edit(h.view).Text = c.text;
        c.action ? h.controller.Click(*c.action) : h.controller.FrequencyUp();
        const QString line = QString("Warning: %1 %2 lies outside %3; nothing is sent").arg(c.box, c.shown, c.bound);
        EXPECT_EQ(h.messages.Lines() + h.view.Messages, QStringList({line, line}));
        EXPECT_EQ(h.errors, c.error ? QStringList{c.error} : QStringList{});
        EXPECT_TRUE(h.sent.empty() && !h.state.GeneratorRunning[GeneratorAction::ManualStepping]) << c.text;
    }
    GeneratorHarness h;
    h.refusedCorrection = "Amplifier File not usable: x";
    for (GeneratorAction a : {GeneratorAction::FixedFrequency1, GeneratorAction::SweepBand1, GeneratorAction::PowerRamp,
                              GeneratorAction::ManualStepping})
        h.controller.Click(a);
    EXPECT_TRUE(h.sent.empty() && h.AllButtonsEnabled());
    EXPECT_EQ(h.errors, QStringList(4, h.refusedCorrection));
    EXPECT_EQ(h.messages.Lines(), QStringList(4, "Warning: generator action refused: " + h.refusedCorrection));
}

TEST(GeneratorController, FixedRowClampsItsLevelAndHoldsTheOtherButtons)
{
    GeneratorHarness h(dfRigol, 5000);
    h.view.Fixed[4].Amplitude.Text = "-50";
    h.view.Fixed[5].Amplitude.Text = "3";
    h.view.Fixed[5].Amplitude.Red = true;
    h.controller.Click(GeneratorAction::FixedFrequency5);
    EXPECT_EQ(h.view.Fixed[4].Amplitude.Text, "-40");
    EXPECT_TRUE(h.view.Fixed[4].Amplitude.Red);
    EXPECT_FALSE(h.view.Fixed[5].Amplitude.Red); // every row gets its normal colour back
    EXPECT_EQ(h.Texts().mid(h.Texts().size() - 4),
              (QStringList{kLevelCommand + "-40", ":OUTP 1", kCentreCommand + "1000000", ":SENS:FREQ:CENT?"}));
    EXPECT_EQ(h.view.MarkerFrequency, "1.000.000");
    EXPECT_EQ(h.view.MarkerLevel, "-40");
    EXPECT_TRUE(h.view.ButtonRunning[GeneratorAction::FixedFrequency5]);
    EXPECT_TRUE(h.view.ButtonEnabled[GeneratorAction::FixedFrequency5]);
    EXPECT_FALSE(h.view.ButtonEnabled[GeneratorAction::FixedFrequency1]);
    EXPECT_TRUE(h.view.Fixed[0].Frequency.ReadOnly);
    EXPECT_FALSE(h.view.Manual.Frequency.ReadOnly);
    EXPECT_FALSE(h.view.SettingsGridEnabled);

    h.controller.Click(GeneratorAction::FixedFrequency5);
    EXPECT_EQ(h.sent.back().Text, ":OUTP 0");
    EXPECT_TRUE(h.AllButtonsEnabled());
    EXPECT_FALSE(h.view.Fixed[0].Frequency.ReadOnly);
}

TEST(GeneratorController, PeriodicRampFinishesItsRampAfterTheStopClick)
{
    GeneratorHarness h;
    h.view.Ramp.Periodic = true;
    // One ramp takes 1 + 3 x 334 + 1001 + 3 x 334 + 1001 ms; the stop comes during the second.
    h.pump.Schedule(5000, [&] { h.controller.Click(GeneratorAction::PowerRamp); });
    h.pump.Schedule(5100, [&] {
        EXPECT_FALSE(h.AnyButtonEnabled());
        h.controller.Click(GeneratorAction::FixedFrequency1); // refused: the ramp has not returned yet
    });
    h.controller.Click(GeneratorAction::PowerRamp);

    EXPECT_EQ(Levels(h), (QStringList{"-15", "-11", "-7", "-3", "-7", "-11", "-15", "-15", "-11", "-7", "-3", "-7",
                                      "-11", "-15", "-20"}));
    EXPECT_EQ(h.sent.back().At, 2u * 4007u);
    EXPECT_EQ(h.Texts(":SYST:PRES").size(), 2u); // factory preset type and preset, once
    EXPECT_TRUE(h.AllButtonsEnabled());
    EXPECT_EQ(h.actions, (std::vector<bool>{true, false}));
}

TEST(GeneratorController, RefusesWithoutDeviceForOtherFamiliesAndWhileTheInstrumentIsBusy)
{
    GeneratorHarness none;
    none.device.DeviceConnected = 0;
    none.controller.Click(GeneratorAction::FixedFrequency1);
    none.controller.Click(GeneratorAction::ManualStepping);
    EXPECT_EQ(none.errors, (QStringList{"No Device selected", "No Device selected"}));

    for (int32_t family : {dfHameg, dfRsFpc, dfRsFph}) {
        GeneratorHarness h(family, 0);
        h.controller.Click(GeneratorAction::SweepBand1);
        h.controller.Click(GeneratorAction::ManualStepping);
        EXPECT_EQ(h.errors, QStringList(2, "Generator not supported by this device"));
        EXPECT_TRUE(h.sent.empty());
        EXPECT_EQ(h.state.GeneratorRunning[GeneratorAction::SweepBand1], 0);
    }

    AnalyserHolder holder = AnalyserHolder::EmissionRun;
    const AnalyserHold hold{[&holder] { return holder; }};
    GeneratorHarness h;
    h.c.Hold = &hold;
    h.controller.RefreshOwnership();
    EXPECT_FALSE(h.AnyButtonEnabled());
    h.controller.Click(GeneratorAction::FixedFrequency1);
    EXPECT_TRUE(h.sent.empty());
    holder = AnalyserHolder::Nobody;
    h.controller.RefreshOwnership();
    EXPECT_TRUE(h.AllButtonsEnabled());
    h.controller.Click(GeneratorAction::FixedFrequency1), h.controller.Click(GeneratorAction::SweepBand2);
    EXPECT_EQ(h.messages.Lines().filter(" not started, the analyser is in use by "),
              QStringList({"Warning: fixed row 1 not started, the analyser is in use by a run: stop it first",
                           "Warning: sweep band 2 not started, the analyser is in use by the generator: stop it first"}));
}

TEST(GeneratorController, ShutdownMidSweepSwitchesOffAndSendsNothingMore)
{
    GeneratorHarness h(dfRigol, 5000);
    bool closedAtOnce = true;
    h.pump.Schedule(2500, [&] { closedAtOnce = h.controller.Shutdown(); });
    h.controller.Click(GeneratorAction::SweepBand1);
    EXPECT_FALSE(closedAtOnce); // the sweep was waiting: its return switches the generator off
    EXPECT_EQ(h.Texts().mid(h.Texts().size() - 5),
              (QStringList{kLevelCommand + "-20", ":OUTP 1", kLevelCommand + "-40", ":OUTP 1", ":OUTP 0"}));
    EXPECT_EQ(h.sent.back().At, 2500u);
    EXPECT_EQ(h.actions.back(), false);
    EXPECT_TRUE(h.controller.Shutdown());
    h.controller.Click(GeneratorAction::FixedFrequency1);
    EXPECT_EQ(h.sent.back().Text, ":OUTP 0");
}

// A stop click without an analyser ends the row as a lost link does, never with "No Device
// selected"; a sweep step that cannot reach the analyser (its session closed at 2.5 s) ends the
// sweep with a line instead of leaving a gap.
TEST(GeneratorController, NeitherAStopNorASweepStepIsLostWithoutALine)
{
    GeneratorHarness h, s;
    h.controller.Click(GeneratorAction::FixedFrequency1);
    h.device.DeviceConnected = false;
    h.controller.Click(GeneratorAction::FixedFrequency1);
    EXPECT_EQ(h.messages.Lines() + h.errors, QStringList{"Error: the link to the analyser was lost, generator action "
                                                         "stopped, the generator may still be on"});
    EXPECT_TRUE(!h.state.GeneratorRunning[GeneratorAction::FixedFrequency1] && h.controller.Output() == GeneratorOutput::MayBeOn);
    s.pump.Schedule(2500, [&s] { s.visa.VisaLibrary->viClose(std::exchange(s.visa.VisaSession, 0)); });
    s.controller.Click(GeneratorAction::SweepBand1);
    EXPECT_EQ(s.messages.Lines(), QStringList{"Error: the sweep step at 130.000 Hz did not reach the analyser, sweep stopped"});
    EXPECT_TRUE(s.Only(kCentreCommand).size() == 3 && s.AllButtonsEnabled());
}
