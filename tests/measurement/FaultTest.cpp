// Injected analyser faults end the segment or the run with a log line; the run never hangs and
// the controls are idle afterwards.
#include "RunFixture.h"

namespace {

using L = QStringList;

SimFaults Faults(const QString& names)
{
    SimFaults f;
    QString error;
    EXPECT_TRUE(f.Parse(names, &error)) << error.toStdString();
    return f;
}

// A run of two segments against a simulator with a fault, over the raw socket.
struct FaultRun : RunFixture {
    FaultRun(const QString& family, const QString& faults, bool zeroSpan = false)
    {
        switches.EmiZeroSpan = zeroSpan;
        Connect(family, false);
        sim->Instrument().SetFaults(Faults(faults));
        SetTimeoutMs(50);
        FillLine(chart.limit1, {{100, 50}, {100000, 50}});
        AddSegment(MeasureSet::Set1, 150000, 10000000);
        AddSegment(MeasureSet::Set1, 10000000, 30000000);
    }
    void ExpectIdle() const
    {
        const RunControls& c = work.Controls;
        EXPECT_TRUE(c.PlayEnabled && !c.StopEnabled && !c.PauseEnabled && !c.GridLocked && !c.Busy);
    }
};

} // namespace

// A trace of the wrong size, or none within the time-out, and the analyser counts as gone: the
// run ends with one line instead of failing the same way on every segment.
TEST(Faults, AWrongSizeOrSilenceEndsTheRun)
{
    for (const auto& [fault, line] : {std::pair<QString, QString>{"block-short", "Error: Visa RD Error Maxsample"},
                                      {"no-answer", "Error: the link to the analyser was lost, measurement stopped"}}) {
        FaultRun f("dsa815", fault);
        f.run->Play();
        EXPECT_EQ(f.Lines("Error: "), L({line})) << fault.toStdString();
        EXPECT_TRUE(f.Lines("Info: measurement done").isEmpty()) << "a segment never delivered is not done";
        EXPECT_TRUE(f.Lines("Info: measurement calc cor").isEmpty());
        EXPECT_EQ(f.chart.raw1.Count(), 0);
        f.ExpectIdle();
        // The device no longer counts as connected: the next Play refuses.
        f.run->Play();
        EXPECT_EQ(f.host.errorBoxes.last(), "No device selected or device not supported");
    }
}

// The end notice names what ended the run, never a Stop nobody pressed.
TEST(Faults, TheEndNoticeNamesWhatEndedTheRun)
{
    for (const auto& [family, fault, notice] : {std::tuple{"dsa815", "nan", "part 0/2"},
                                                {"rsa5065", "no-sweep-end", "failed 0/2"}, {"ssa3032x", "block-short", "lost 0/2"}}) {
        FaultRun f(family, fault);
        f.run->Play();
        EXPECT_EQ(f.host.notices, L{notice}) << fault;
    }
}

// A sweep never reported done holds the poll for the sweep time set (a receiver: what its estimate
// counts per point) and the plan's margins only; one line, nothing asked after it, no "done".
TEST(Faults, ANeverEndingSweepEndsTheRunWithinItsSweepTime)
{
    for (const auto& [family, zeroSpan, seconds] : {std::tuple{"rsa5065", false, 7}, {"fpc1000", false, 71}, {"fph", true, 14}}) {
        FaultRun f(family, "no-sweep-end", zeroSpan);
        f.run->Play();
        EXPECT_EQ(f.Lines("Error: "), L{"Error: the analyser reported no end of its sweep within " +
                                        QString::number(seconds) + " s, measurement stopped"});
        EXPECT_EQ(f.RunLines().filter("done").size() + f.chart.raw1.Count(), 0);
        EXPECT_NEAR(f.pump.TickCount(), seconds * 1000, 7000) << family;
        const L log = f.SimLog();
        EXPECT_EQ(log.mid(std::max(log.lastIndexOf("*ESR?"), log.lastIndexOf("*OPC;*ESR?"))).filter("TRAC"), L()) << family;
    }
}

// A sweep time answer beyond the set time and the wait's margin, or of 0 s, is not believed, one line each.
TEST(Faults, ASweepTimeAnswerBeyondTheSetTimeIsNotBelieved)
{
    for (const auto& [faults, warnings, runMs] : {std::tuple{"sweep-time=3599", 2, 2 * 10125}, {"sweep-time=0", 2, 2 * 10125},
                                                  {"sweep-time=8", 0, 2 * 18000}}) {
        FaultRun f("ssa3032x", faults);
        f.run->Play();
        EXPECT_EQ(f.Lines("Warning: "), L(warnings, "Warning: the analyser's sweep time of " + QString(faults).mid(11) +
                                                        " s is not believed, the set 0.125 s is used"));
        EXPECT_EQ(f.Lines("Info: measurement done").size(), 2);
        EXPECT_NEAR(f.pump.TickCount(), runMs, 1000) << faults;
    }
}

namespace {

struct DropCase {
    const char* family;
    const char* faults;
    bool zeroSpan;
};

class DroppedLink : public ::testing::TestWithParam<DropCase> {};

} // namespace

// A link that closes inside the first segment, or an analyser that falls silent there, ends the
// run there with one line whatever the family's loop waits on, no warning even with Debug on; the
// analyser no longer counts as connected, so Play refuses at once instead of failing again.
TEST_P(DroppedLink, EndsTheRunAtOnceAndDisconnects)
{
    const DropCase& dc = GetParam();
    FaultRun f(dc.family, dc.faults, dc.zeroSpan);
    f.debug.DebugMode = 1;
    const uint32_t start = f.pump.TickCount();
    f.run->Play();
    EXPECT_EQ(f.Lines("Error: "), L({"Error: the link to the analyser was lost, measurement stopped"}));
    EXPECT_EQ(f.Lines("Warning: "), L{"Warning: Set1: 0 of 2 segments measured whole; not measured: seg 1-2 "
                                      "(the link to the analyser was lost)"});
    const L lines = f.RunLines();
    EXPECT_EQ(lines.filter("start seg").size(), 1) << lines.join('|').toStdString();
    EXPECT_EQ(lines.filter("Info: measurement stopped").size(), 1) << lines.join('|').toStdString();
    // No poll or wait runs its course against a link that is gone.
    EXPECT_LT(f.pump.TickCount() - start, 10000u);
    EXPECT_EQ(f.device.DeviceConnected, 0);
    f.ExpectIdle();
    f.run->Play();
    EXPECT_EQ(f.host.errorBoxes, L({"No device selected or device not supported"}));
}

INSTANTIATE_TEST_SUITE_P(
    Families, DroppedLink,
    ::testing::Values(DropCase{"rsa5065", "drop=22", false}, // at the first "*ESR?" of the completion poll
                      DropCase{"dsa815", "drop=12", false}, DropCase{"ssa3032x", "drop=12", false},
                      DropCase{"sva1032x", "drop=12", false}, DropCase{"fpc1000", "drop=15", false},
                      DropCase{"fph", "drop=15", true}, DropCase{"dsa815", "drop=20", true},
                      // Silent from the sweep time query on, and from the first point's level.
                      DropCase{"sva1032x", "freeze=31", false}, DropCase{"fph", "freeze=19", true}),
    [](const ::testing::TestParamInfo<DropCase>& p) {
        return std::string(p.param.family) + (p.param.zeroSpan ? "ZeroSpan" : "") +
               (QByteArray(p.param.faults).startsWith("freeze") ? "Silent" : "");
    });

TEST(Faults, AThreeDigitStatusAnswerCompletesTheReceiverPoll)
{
    FaultRun f("fpc1000", "esr-3digit");
    f.pump.Schedule(600000, [&] { f.run->Stop(); });
    f.run->Play();
    EXPECT_TRUE(f.Lines("Error").isEmpty());
    EXPECT_TRUE(f.Lines("Info: measurement stopped").isEmpty());
    EXPECT_EQ(f.chart.raw1.Count(), 2 * 599);
}

TEST(Faults, LevelsThatAreNoNumbersEndAZeroSpanSegment)
{
    FaultRun f("dsa815", "no-number", true);
    f.run->Play();
    EXPECT_EQ(f.Lines("Error: "), L({"Error: no level from the analyser for 10 points in a row, segment 1 ended",
                                     "Error: no level from the analyser for 10 points in a row, segment 2 ended"}));
    EXPECT_EQ(f.chart.raw1.Count(), 2 * 9);
    EXPECT_EQ(f.chart.corrected1.Count(), 2 * 9);
    f.ExpectIdle();
    // A level no analyser reports, NaN too, ends the run at once naming it: nothing listed, still connected.
    for (const auto& [family, what, fault] : {std::tuple{"dsa815", "marker level", "huge"}, {"fpc1000", "level", "huge"},
                                              {"dsa815", "marker level", "nan"}, {"fpc1000", "level", "nan"}}) {
        FaultRun h(family, fault, true);
        h.run->Play();
        EXPECT_EQ(h.Lines("Error: "), L{QString("Error: the analyser sent a level of %1 dBm; the %2 is refused")
                                            .arg(fault == QString("nan") ? "nan" : "1e+308", what)});
        EXPECT_TRUE(h.Lines("Info: measurement done").isEmpty() && h.chart.raw1.Count() == 0);
        EXPECT_EQ(h.device.DeviceConnected, 1);
    }
}

TEST(Faults, LateAnswersEndTheRunWithoutAHang)
{
    // An analyser that answers every message one message late: the completion poll times out,
    // and an analyser that leaves a query unanswered counts as gone.
    RunFixture f;
    auto peer = std::make_shared<ScriptedPeer>();
    peer->chunk = 1 << 20;
    auto held = std::make_shared<QByteArray>();
    peer->respond = [held](const QByteArray& m) {
        QByteArray late = *held;
        *held = m == "*ESR?" ? QByteArray("1\n")
                : m == ":TRAC:DATA? TRACE1" ? "#6002404" + QByteArray(2404, 0) + "\n"
                                            : QByteArray();
        return late;
    };
    ASSERT_NO_FATAL_FAILURE(f.ConnectScripted(peer, dfRigol, 5000));
    f.AddSegment(MeasureSet::Set1, 150000, 10000000);
    f.run->Play();
    EXPECT_EQ(f.Lines("Error: "), L({"Error: the link to the analyser was lost, measurement stopped"}));
    EXPECT_TRUE(f.Lines("Info: measurement done").isEmpty());
    EXPECT_EQ(f.chart.raw1.Count(), 0);
    EXPECT_EQ(f.device.DeviceConnected, 0);
    EXPECT_LT(f.pump.TickCount(), 10000u);
}
