// An analyser that falls silent in a run driven through the windows (the simulator's "freeze":
// link open, nothing answered), over VXI-11 with real time-outs.
#include "RunWindowFixture.h"

#include "chart/series/Chart.h"
#include "chart/series/LineSeries.h"
#include "common/Controls.h"
#include "common/TestSupport.h"
#include "coverage/CoverageView.h"
#include "datafiles/CheckListModel.h"
#include "datafiles/ParameterGridModel.h"
#include "forms/ConnectionWindow.h"
#include "forms/CoverageFrame.h"
#include "forms/ImmunityFrame.h"
#include "forms/LoggerWindow.h"
#include "forms/MainChart.h"
#include "forms/MainWindow.h"
#include "instrument/InstrumentState.h"
#include "measurement/PeakLists.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDateTime>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

using testsupport::Control;

namespace {

using L = QStringList;
const QString kLost = QStringLiteral("Error: the link to the analyser was lost, measurement stopped");
const QString kGeneratorEnded = QStringLiteral("generator action stopped, the generator may still be on");
const QString kMayBeOn = "Warning: the generator may still be on: the link to the analyser was lost before it was switched off";
constexpr qint64 kTimeoutMs = 400;

// The longest real time between two shots of a timer that wants to fire every 5 ms.
struct GapWatch {
    QElapsedTimer clock;
    QTimer tick;
    qint64 last = 0, longest = 0;
    GapWatch() { QObject::connect(&tick, &QTimer::timeout, [this] { Longest(); }), clock.start(), tick.start(5); }
    qint64 Longest() { return longest = std::max(longest, clock.elapsed() - std::exchange(last, clock.elapsed())); }
};

// "Form4:Button3" clicks a button of the connection window, "Frame141:Button18" one of a view of
// the main window; a key alone sets that row of the parameter grid.
void Press(RunWindowFixture& f, const QString& what)
{
    const QString scope = what.section(':', 0, 0), name = what.section(':', 1);
    ParameterGridModel& grid = f.w->parameters();
    if (name.isEmpty())
        return (void)grid.setData(grid.index(grid.RowOf(scope), 1), "120000");
    const QObject& window = scope == "Form4"   ? *static_cast<QObject*>(f.program->Windows().connectionWindow)
                            : scope == "Form2" ? *static_cast<QObject*>(f.program->Windows().loggerWindow)
                                               : Control(*f.w, scope);
    Control<QAbstractButton>(window, name).click();
}

// A family's simulator and the conducted project, connected; calls time out after timeoutMs (0: as set).
void StartConnected(RunWindowFixture& f, const char* family, uint32_t timeoutMs, bool socket = false)
{
    ASSERT_NO_FATAL_FAILURE(f.Start(family, "conducted_cispr32_b.prj"));
    ASSERT_NO_FATAL_FAILURE(f.Connect(false, socket));
    if (timeoutMs > 0)
        f.SetTimeoutMs(timeoutMs);
}

// What is pressed, the end of its line (none when closing ends it), the messages the analyser takes
// in before it freezes (the last a query, or the fixed row's last), whether the main window closes.
struct SilentCommand { const char *name, *press, *ended; int taken; bool closes; };
class SilentWindowCommand : public ::testing::TestWithParam<SilentCommand> {};

// The project's first segment, measured once so that the log shows where `query` (its `nth`
// time) stands in it; the analyser then freezes right after that query at the `occurrence`-th
// start of the segment (the query is taken in, its answer never comes). *at: its place in the log.
void StartFrozenLater(RunWindowFixture& f, const QObject& scope, const char* family, bool zeroSpan,
                      const QString& query, int occurrence, size_t* at, int nth = 1)
{
    ASSERT_NO_FATAL_FAILURE(StartConnected(f, family, 0));
    Control<QCheckBox>(*f.w, "CheckBox21").setChecked(zeroSpan); // "EMI(ZeroSpan)"
    CheckListModel& checks = f.w->segmentChecks(MeasureSet::Set1);
    for (int row = 2; row < checks.Count(); ++row)
        checks.SetChecked(row, false);
    f.Play().click();
    qsizetype n = 0;
    for (int k = 0; k < nth; ++k)
        n = f.SimLog(f.Mark("start", 1)).indexOf(query, n) + 1;
    ASSERT_GT(n, 0);
    auto seen = std::make_shared<int>(0);
    QObject::connect(&f.app.Messages, &MessageLog::LineAppended, &scope, [&f, n, occurrence, seen, at](const QString& l) {
        if (!l.startsWith("Info: measurement start seg 1 ") || ++*seen != occurrence)
            return;
        *at = f.sim->Instrument().CommandLog().size() + static_cast<size_t>(n) - 1;
        f.sim->Instrument().SetFaults({.freezeAfter = static_cast<int>(n)});
    });
    f.SetTimeoutMs(kTimeoutMs);
}

// Set 1's results: peaks, re-measured peaks, both traces and the peak grid.
L Results(const RunWindowFixture& f)
{
    const PeakLists& p = f.w->peakLists(MeasureSet::Set1);
    L out = p.Lines.stringList() + p.Freqs.stringList() + p.Levels.stringList() + p.MeasureLines.stringList();
    for (const SeriesRole role : {SeriesRole::rawTrace1, SeriesRole::correctedTrace1})
        for (int i = 0; i < f.w->chart().Series(role)->Count(); ++i)
            out << QString::number(f.w->chart().Series(role)->GetPointX(i)) << QString::number(f.w->chart().Series(role)->GetPointY(i));
    for (int cell = 0; cell < p.Grid.RowCount() * PeakGridModel::kColumns; ++cell)
        out << p.Grid.Cell(cell / PeakGridModel::kColumns, cell % PeakGridModel::kColumns);
    return out;
}

void SelectFirstPeak(const RunWindowFixture& f)
{
    const QModelIndex first = f.w->peakLists(MeasureSet::Set1).Lines.index(0);
    Control<QListView>(*f.w, "ListBox1").selectionModel()->select(first, QItemSelectionModel::Select);
}

// The query is the last one the analyser takes in.
struct SilentCase { const char *name, *family; bool zeroSpan, maxHold; const char* query; };

class SilentAnalyser : public ::testing::TestWithParam<SilentCase> {};

// A generator action; the messages the analyser takes in (VXI-11, raw socket) once the fault is
// armed: a loop's before its click, the others' once they run, before `then` is clicked.
struct GeneratorAct { const char *name, *start, *then; int vxi11, socket; };
class SilentGenerator : public ::testing::TestWithParam<std::tuple<GeneratorAct, bool, bool>> {};

// A generator action on a family, ended by its button or by closing the window; the stall begins
// before it starts (0), 50 ms into it (1) or once it radiates (2).
struct StalledAct { const char *name, *family, *button; int when; bool closes, exit = false; };
class StalledGenerator : public ::testing::TestWithParam<std::tuple<StalledAct, bool, bool>> {};

// A sweep of band 1 or fixed row 1, on a family, over VXI-11 or a raw socket.
struct HeldAct { const char *name, *button; };
class GeneratorHold : public ::testing::TestWithParam<std::tuple<HeldAct, const char*, bool>> {};
class GeneratorLeftOn : public ::testing::TestWithParam<const char*> {};

} // namespace

// One line within the time-out and a second, the analyser disconnected, "MaxHold" ended, the
// window's events handled all along, no box with Debug on, nothing sent after the loss.
TEST_P(SilentAnalyser, EndsTheRunWithOneLineAndTheWindowKeepsWorking)
{
    const SilentCase& sc = GetParam();
    RunWindowFixture f;
    QObject scope;
    size_t at = SIZE_MAX;
    ASSERT_NO_FATAL_FAILURE(StartFrozenLater(f, scope, sc.family, sc.zeroSpan, sc.query, sc.maxHold ? 2 : 1, &at));
    ParameterGridModel& grid = f.w->parameters();
    grid.setData(grid.index(grid.RowOf("MaxHold"), 1), sc.maxHold ? "on" : "off");
    Control<QCheckBox>(*f.w, "CheckBox1").click(); // "Debug"
    qint64 endedMs = 0;
    QObject::connect(&f.app.Messages, &MessageLog::LineAppended, &scope, [&endedMs](const QString& l) {
        if (l.startsWith("Error: ") && endedMs == 0)
            endedMs = QDateTime::currentMSecsSinceEpoch();
    });
    GapWatch gaps;
    f.boxes.clear();

    f.Play().click();

    EXPECT_EQ(f.Lines("Error: "), L{kLost});
    EXPECT_EQ(f.Lines("Warning: "), sc.maxHold ? L{} : L{"Warning: Set1: 0 of 1 segments measured whole; not measured: "
                                                         "seg 1 (the link to the analyser was lost)"});
    // No segment the analyser left unanswered reads as done.
    const QStringList all = f.Lines("");
    EXPECT_FALSE(all.mid(all.indexOf(kLost)).join('|').contains("measurement done")) << all.join('|').toStdString();
    ASSERT_NE(at, SIZE_MAX) << "the analyser never froze";
    EXPECT_LT(endedMs - f.sim->Instrument().CommandLog()[at].realMs, kTimeoutMs + 1000);
    EXPECT_LT(gaps.Longest(), 1000);
    EXPECT_EQ(f.boxes, L{});
    EXPECT_EQ(f.program->Instrument().Device.DeviceConnected, 0);
    EXPECT_EQ(Control<QLabel>(*f.w, "Label3").text(), sc.maxHold ? "2" : "1");
    EXPECT_EQ(grid.Value("MaxHold"), "off");
    if (sc.maxHold) {
        // Connect to it, its last call still under way: the window works on, one line says why.
        Control<QAction>(*f.w, "CP1").trigger();
        Control<QLineEdit>(*f.program->Windows().connectionWindow, "Edit1").setText("127.0.0.1");
        Control<QPushButton>(*f.program->Windows().connectionWindow, "BitBtn4").click();
        EXPECT_LT(gaps.Longest(), 1000);
        EXPECT_EQ(f.Lines("").filter("timed out").size(), 1);
    }
    // Thawed, it shows what reached it: nothing after the query it left unanswered.
    f.sim->Instrument().SetFaults({});
    QTest::qWait(100);
    EXPECT_EQ(f.SimLog(at), L{sc.query});
}

INSTANTIATE_TEST_SUITE_P(
    Families, SilentAnalyser,
    ::testing::Values(SilentCase{"RigolDsa", "dsa815", false, false, ":TRAC:DATA? TRACE1"},
                      SilentCase{"RigolRsa", "rsa5065", false, false, "*ESR?"},
                      SilentCase{"Siglent", "ssa3032x", false, false, ":SENS:SWE:TIME?"},
                      SilentCase{"ReceiverScan", "fpc1000", false, false, ":TRAC:DATA?"},
                      SilentCase{"ReceiverFixed", "fpc1000", true, false, ":TRACE:DATA?"},
                      SilentCase{"ZeroSpan", "dsa815", true, false, ":CALC:MARK1:Y?"},
                      SilentCase{"MaxHold", "dsa815", false, true, ":TRAC:DATA? TRACE1"}),
    [](const ::testing::TestParamInfo<SilentCase>& p) { return std::string(p.param.name); });

// Stop pressed 300 ms into the wait for a trace that never comes ends the run at once, whatever the
// time-out; neither it, nor a re-measurement on the frozen link or on one that died since, nor the
// Play after that changes the chart, peaks, re-measured peaks or peak grid.
TEST(SilentAnalyser, StopEndsTheWaitAndPlayOnADeadLinkKeepsTheResults)
{
    RunWindowFixture f;
    QObject scope;
    size_t at = SIZE_MAX;
    ASSERT_NO_FATAL_FAILURE(StartFrozenLater(f, scope, "dsa815", false, ":TRAC:DATA? TRACE1", 1, &at));
    f.SetTimeoutMs(3000);
    QElapsedTimer clock;
    clock.start();
    qint64 pressedMs = -1;
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, [&] {
        if (f.sim->Instrument().Frozen() && watch.isActive()) {
            watch.stop();
            QTimer::singleShot(300, &scope, [&] { pressedMs = clock.elapsed(), f.Stop().click(); });
        }
    });
    watch.start(10);
    SelectFirstPeak(f);
    Control<QAction>(*f.w, "Measure21").trigger();
    ASSERT_EQ(f.w->peakLists(MeasureSet::Set1).MeasureLines.rowCount(), 1);
    const L before = Results(f);

    f.Play().click();

    ASSERT_GE(pressedMs, 0) << "the analyser never froze";
    EXPECT_LT(clock.elapsed() - pressedMs, 1000);
    EXPECT_EQ(f.Lines("Info: measurement waiting to stop").size(), 1);
    EXPECT_EQ(f.Lines("Error: "), L{});
    EXPECT_EQ(Results(f), before);
    f.SetTimeoutMs(kTimeoutMs);
    Control<QAction>(*f.w, "Measure21").trigger();
    EXPECT_EQ(f.Lines("Info: peaks seg").size(), 1);
    // Thawed, it is connected again, then switched off.
    f.sim->Instrument().SetFaults({});
    ASSERT_NO_FATAL_FAILURE(f.Connect());
    f.sim->Stop();
    Control<QAction>(*f.w, "Measure21").trigger(); // on a link that died while idle
    EXPECT_EQ(f.Lines("Info: peaks seg").size(), 1);
    f.Play().click(); // refused: the lost link left no analyser
    EXPECT_EQ(f.Lines("Error: "), L({kLost, kLost}));
    EXPECT_EQ(Results(f), before);
    EXPECT_EQ(f.program->Instrument().Device.DeviceConnected, 0);
    Control<QAction>(*f.w, "CP1").trigger(); // "Connect Visa" no longer shows it connected
    EXPECT_FALSE(Control<QPushButton>(*f.program->Windows().connectionWindow, "BitBtn4").property("connected").toBool());
}

class SilentZeroSpan : public ::testing::TestWithParam<const char*> {};

// A Rigol and a Siglent in zero span: a re-measurement whose marker levels are no number says so
// and is not "done"; a run that falls silent before its first point leaves the last result whole.
TEST_P(SilentZeroSpan, KeepsTheLastResult)
{
    RunWindowFixture f;
    QObject scope;
    size_t at = SIZE_MAX;
    ASSERT_NO_FATAL_FAILURE(StartFrozenLater(f, scope, GetParam(), true, ":CALC:MARK1:Y?", 1, &at));
    ASSERT_GT(f.w->peakLists(MeasureSet::Set1).Count(), 0);
    SelectFirstPeak(f);
    f.sim->Instrument().SetFaults({.nanValue = true}), Control<QAction>(*f.w, "Measure21").trigger();
    // A level no analyser reports is named; the analyser stays connected, so Play runs below.
    f.sim->Instrument().SetFaults({.hugeValue = true}), Control<QAction>(*f.w, "Measure21").trigger();
    EXPECT_EQ(f.Lines("Info: peaks seg").size(), 0);
    f.sim->Instrument().SetFaults({});
    const L before = Results(f);

    f.Play().click();

    EXPECT_EQ(f.Lines("Error: "), (L{"Error: the analyser sent a level of nan dBm; the marker level is refused",
                                     "Error: the analyser sent a level of 1e+308 dBm; the marker level is refused", kLost}));
    EXPECT_EQ(Results(f), before);
}

INSTANTIATE_TEST_SUITE_P(Families, SilentZeroSpan, ::testing::Values("dsa815", "ssa3032x"));

// The receiver connected; the coverage view logs a row per fix every 50 ms ("skip non moving" off).
QWidget& ConnectGps(RunWindowFixture& f, Simulator& gps)
{
    ConnectionWindow& connection = *f.program->Windows().connectionWindow;
    connection.prepareForKind(LinkKind::GpsReceiver);
    Control<QComboBox>(connection, "ComboBox1").setEditText(gps.Start(nullptr) ? gps.PtyPath() : QString());
    Control<QPushButton>(connection, "BitBtn6").click();
    QWidget& view = Control(*f.w, "Frame141");
    Control<QCheckBox>(view, "CheckBox21").setChecked(false);
    Control<QComboBox>(view, "ComboBox2").setEditText("50");
    return view;
}

QStringList CoverageRows(const RunWindowFixture& f)
{
    return QString(testsupport::ReadAll(f.folder.filePath("out/coverage.txt"))).split("\r\n").mid(1).filter(";");
}

// Coverage logging beside a receiver on a pseudo-terminal: the track grows with the table; a freeze
// ends the logging as a Stop does, with one line, no row and the tracks so far; Start works again.
class SilentAnalyserLogging : public ::testing::TestWithParam<const char*> {};

TEST_P(SilentAnalyserLogging, EndsWithOneLineAndTheTracksSoFar)
{
    RunWindowFixture f;
    ASSERT_NO_FATAL_FAILURE(StartConnected(f, GetParam(), kTimeoutMs));
    Simulator gps([] { SimulatorOptions o; o.pty = o.gps = true; return o; }());
    QWidget& view = ConnectGps(f, gps);
    ConnectionWindow& connection = *f.program->Windows().connectionWindow;
    const auto rows = [&f] { return CoverageRows(f); };
    Control<QPushButton>(view, "Button14").click();
    ASSERT_TRUE(QTest::qWaitFor([&] { return rows().size() >= 3; }, 5000));
    // "Disconnect Visa" meanwhile (the connection window left open) and "Init SA" are refused with one line.
    connection.prepareForKind(LinkKind::VisaTcp), Control<QPushButton>(connection, "BitBtn5").click();
    Press(f, "Frame141:Button18"), Press(f, "GroupBox8:RadioButton4");
    const QString held = ", the analyser is in use by the coverage logging: stop it first";
    const L refused{"Warning: \"Disconnect Visa\" refused" + held, "Warning: \"Init SA\" not sent" + held};
    ASSERT_TRUE(QTest::qWaitFor([&] { return rows().size() >= 5; }, 5000));
    // Drawn while logging: a point per row so far, the last where the last row is.
    const QStringList logged = rows();
    const TChartSeries& track = *Control<TChart>(view, "Chart1").ChartSeries(0);
    ASSERT_EQ(track.Count(), logged.size());
    EXPECT_EQ(Control<CoverageFrame>(*f.w, "Frame141").view().Chart().Level[0].Count(), logged.size());
    EXPECT_EQ(logged.back().section(';', 0, 0), QString::number(logged.size() - 1));
    EXPECT_EQ(QString::number(track.GetPointX(track.Count() - 1), 'f', 10) + QString::number(track.GetPointY(track.Count() - 1), 'f', 10),
              logged.back().section(';', 6, 6) + logged.back().section(';', 4, 4));
    GapWatch gaps;
    f.sim->Instrument().SetFaults({.freezeAfter = 0});
    ASSERT_TRUE(QTest::qWaitFor([&] { return !Control<QTimer>(view, "Timer3").isActive(); }, 10000));
    EXPECT_LT(gaps.clock.elapsed(), kTimeoutMs + 1000);
    EXPECT_LT(gaps.Longest(), 1000);
    EXPECT_EQ(f.Lines("Error: ") + f.Lines("Warning: ") + f.boxes,
              L{"Error: the link to the analyser was lost, coverage logging stopped"} + refused + refused.mid(1));
    EXPECT_TRUE(Control<QPlainTextEdit>(view, "memo2").toPlainText().endsWith("\n" + f.Lines("Error: ").value(0)));
    EXPECT_TRUE(f.program->Instrument().Device.DeviceConnected == 0 && f.Play().isEnabled());
    EXPECT_EQ(rows(), logged);
    const QString kml = testsupport::ReadAll(f.folder.filePath(Control<QLineEdit>(view, "recentKmlEdit").text()));
    EXPECT_EQ(kml.count(QRegularExpression("\r\n-?\\d")), 3 * logged.size());
    Control<QPushButton>(view, "Button14").click(); // no analyser: refused, no row with a repeated Index
    EXPECT_EQ(f.Lines("Error: ").last(), "Error: no analyser is connected, coverage logging not started");
    f.sim->Instrument().SetFaults({});
    ASSERT_NO_FATAL_FAILURE(f.Connect());
    Control<QPushButton>(view, "Button14").click();
    EXPECT_TRUE(QTest::qWaitFor([&] { return rows().size() > logged.size(); }, 5000));
    // A failed poll: its line in the view's memo, and no level without a row in the fields or the memo.
    gps.Gps()->SetFaults({.noAnswer = true});
    ASSERT_TRUE(QTest::qWaitFor([&] { return !Control<QTimer>(view, "Timer3").isActive(); }, 10000));
    const L row = rows().last().split(';'), memo = Control<QPlainTextEdit>(view, "memo2").toPlainText().split('\n');
    EXPECT_TRUE(memo.value(memo.size() - 2).endsWith(": A " + row[10] + " B " + row[12] + " C " + row[14] + " dBm"));
    EXPECT_EQ(memo.last(), "Error: coverage logging stopped: ViRead GPS: could not read gps data!");
    for (const char* level : {"levelAEdit", "levelBEdit", "levelCEdit"})
        EXPECT_EQ(Control<QLineEdit>(view, level).text(), "") << level;
}

INSTANTIATE_TEST_SUITE_P(Families, SilentAnalyserLogging, ::testing::Values("dsa815", "rsa5065", "ssa3032x", "fpc1000"),
                         [](const ::testing::TestParamInfo<const char*>& p) { return std::string(p.param); });

// Frozen or killed, over VXI-11 or a raw socket: one line within the time-out and a second, events
// served all along, the analyser disconnected, the button back, markers naming only what it took.
TEST_P(SilentGenerator, EndsTheActionWithOneLineAndMarksOnlyWhatReachedTheAnalyser)
{
    const auto& [act, socket, killed] = GetParam();
    RunWindowFixture f;
    ASSERT_NO_FATAL_FAILURE(StartConnected(f, "dsa815", kTimeoutMs, socket));
    Control<QAction>(*f.w, "G1").trigger();
    auto& view = Control<ImmunityFrame>(*f.w, "Frame131");
    if (act.then) { // it radiates: the EMC view says why Play is off
        Control<QAbstractButton>(view, act.start).click();
        Control<QAction>(*f.w, "EMC1").trigger();
        EXPECT_FALSE(f.Play().isEnabled());
        EXPECT_EQ(f.Lines("Warning: ").size(), 1);
    }
    const int n = socket ? act.socket : act.vxi11;
    const size_t armedAt = f.sim->Instrument().CommandLog().size();
    f.sim->Instrument().SetFaults(killed ? SimFaults{.dropAfter = n} : SimFaults{.freezeAfter = n});
    GapWatch gaps;
    Control<QAbstractButton>(view, act.then ? act.then : act.start).click();
    EXPECT_LT(gaps.clock.elapsed(), kTimeoutMs + 1000);
    EXPECT_LT(gaps.Longest(), 1000);
    EXPECT_EQ(f.Lines("Error: "), L{"Error: the link to the analyser was lost, " + kGeneratorEnded});
    EXPECT_EQ(f.program->Instrument().Device.DeviceConnected, 0);
    EXPECT_TRUE(Control<QWidget>(view, act.start).isEnabled() && !Control<QAbstractButton>(view, act.start).isChecked());
    const L taken = f.SimLog(0, armedAt + static_cast<size_t>(n));
    const QString hz = Control(view, "markerFrequencyEdit").property("text").toString().remove('.');
    const QString dbm = Control(view, "markerLevelEdit").property("text").toString();
    EXPECT_TRUE(taken.contains(":SENS:FREQ:CENT " + hz) && taken.contains(":SOUR:POW:LEV:IMM:AMPL " + dbm));
    f.sim->Instrument().SetFaults({}); // so that the session closes
}

// Sweep band 1 and the ramp fall silent in their third step, after the preset and two whole
// steps (a step's centre is asked back, on a raw socket instead of "*OPC?"); a fixed row and
// manual stepping at their stop or next step.
INSTANTIATE_TEST_SUITE_P(
    Actions, SilentGenerator,
    ::testing::Combine(::testing::Values(GeneratorAct{"Sweep", "SpeedButton13", nullptr, 8 + 2 * 4 + 1, 8 + 2 * 4 + 1},
                                         GeneratorAct{"Ramp", "SpeedButton19", nullptr, 10 + 2 * 2 + 1, 10 + 2 * 3 + 1},
                                         GeneratorAct{"Fixed", "SpeedButton1", "SpeedButton1", 0, 0},
                                         GeneratorAct{"Manual", "SpeedButton20", "SpinButton1Up", 0, 0}),
                       ::testing::Bool(), ::testing::Bool()),
    [](const ::testing::TestParamInfo<SilentGenerator::ParamType>& p) {
        return std::string(std::get<0>(p.param).name) + (std::get<2>(p.param) ? "Killed" : "Frozen") +
               (std::get<1>(p.param) ? "Socket" : "Vxi11");
    });

// One line within the time-out and a second (a close within its bound), events served all along,
// the analyser disconnected, a press meanwhile ignored, nothing more sent after the silence.
TEST_P(SilentWindowCommand, EndsWithOneLineAndTheWindowKeepsWorking)
{
    const SilentCommand& sc = GetParam();
    RunWindowFixture f;
    ASSERT_NO_FATAL_FAILURE(StartConnected(f, "dsa815", kTimeoutMs));
    Control<QCheckBox>(*f.w, "CheckBox1").click(); // "Debug": a write that fails shows a box
    const InstrumentState& instrument = f.program->Instrument();
    f.sim->Instrument().SetFaults({.freezeAfter = sc.taken});
    QTimer::singleShot(kTimeoutMs / 2, f.w, [&f, &sc] { sc.closes ? (void)f.w->close() : Press(f, sc.press); });
    GapWatch gaps;
    Press(f, sc.press);
    ASSERT_TRUE(QTest::qWaitFor([&] { return (instrument.Visa.VisaResourceManager == 0) == sc.closes; }, 10000));
    // A close (half a time-out in) waits for the unanswered call to end (1.5 time-outs, then its
    // abort waits a second) and for the goodbye (a time-out).
    EXPECT_LT(gaps.clock.elapsed(), sc.closes ? 3 * kTimeoutMs + 1600 : kTimeoutMs + 1000);
    EXPECT_LT(gaps.Longest(), 1000);
    EXPECT_EQ(f.Lines("Error: ") + f.boxes, (sc.ended ? L{"Error: the link to the analyser was lost, " + QString(sc.ended)} : L{}) +
                                                L(sc.closes && sc.ended, kMayBeOn));
    EXPECT_EQ(instrument.Device.DeviceConnected, 0);
    f.sim->Instrument().SetFaults({}), QTest::qWait(100);
    // The write that met the silence (of a close, or a command's only one) may be taken as the
    // analyser thaws.
    const qsizetype reached = f.SimLog().size();
    EXPECT_TRUE(reached == sc.taken || ((sc.closes || sc.taken == 0) && reached == sc.taken + 1)) << reached;
}

INSTANTIATE_TEST_SUITE_P(
    Commands, SilentWindowCommand,
    ::testing::Values(SilentCommand{"SndScpi", "Form4:Button3", "\"SND SCPI\" stopped", 1, false},
                      SilentCommand{"GetInfo", "Form4:BitBtn2", "\"Get Info\" stopped", 1, false},
                      SilentCommand{"RdDsaStatus", "Form4:Button6", "\"Rd DSA Status\" stopped", 1, false},
                      SilentCommand{"InitSa", "Frame141:Button18", "\"Init SA\" stopped", 9, false},
                      SilentCommand{"GridRow", "RBW [Hz]", "\"RBW [Hz]\" not sent", 1, false},
                      SilentCommand{"RefLevel", "SpinButton1:refLevelUpButton", "reference level not set", 2, false},
                      SilentCommand{"RsSpecMode", "Form2:Button11", "\"R&S SPEC Mode\" not sent", 0, false},
                      SilentCommand{"InitSaClosing", "Frame141:Button18", nullptr, 9, true},
                      SilentCommand{"FixedRowClosing", "Frame131:SpeedButton1",
                                    "generator action stopped, the generator may still be on", 11, true}),
    [](const ::testing::TestParamInfo<SilentCommand>& p) { return std::string(p.param.name); });

// Stopped 300 ms into a stall of 600 ms (VXI-11 or a raw socket), by its button or by closing the window:
// the call under way is waited for, then the generator is switched off, the last thing the analyser
// executes; a freeze beyond the time-out ends the action with one line and the analyser disconnected.
// A close then says in a box, before the window goes, that the generator may still be on.
TEST_P(StalledGenerator, StopWaitsForTheCallUnderWayThenSwitchesTheGeneratorOff)
{
    const auto& [act, socket, frozen] = GetParam();
    RunWindowFixture f;
    QObject scope;
    ASSERT_NO_FATAL_FAILURE(StartConnected(f, act.family, frozen ? kTimeoutMs : 2000, socket));
    f.program->Services().showMessage = [&](const QString& t) { f.boxes << t + (f.w->isVisible() ? "" : " (gone)"); };
    f.boxes.clear(), f.w->show(), Control<QAction>(*f.w, "G1").trigger();
    auto& button = Control<QAbstractButton>(Control(*f.w, "Frame131"), act.button);
    Control<QRadioButton>(Control(*f.w, "Frame131"), "periodicRadio").setChecked(true);
    QElapsedTimer clock;
    const auto stall = [&] {
        f.sim->Instrument().SetFaults({.freezeAfter = 0}), clock.start();
        QTimer::singleShot(300, &scope, [&] {
            act.exit ? Control<QAction>(*f.w, "exitAction").trigger() : act.closes ? (void)f.w->close() : button.click();
        });
        QTimer::singleShot(frozen ? 60000 : 600, &scope, [&f] { f.sim->Instrument().SetFaults({}); });
    };
    QTimer::singleShot(50, &scope, [&] { act.when == 1 ? stall() : void(); });
    act.when == 0 ? stall() : void(), button.click(), act.when == 2 ? stall() : void();
    ASSERT_TRUE(QTest::qWaitFor([&] { return clock.isValid() && clock.elapsed() > 2000; }, 5000));
    EXPECT_FALSE(button.isChecked());
    EXPECT_EQ(f.Lines("Error: "), frozen ? L{"Error: the link to the analyser was lost, " + kGeneratorEnded} : L{});
    EXPECT_EQ(f.boxes, L(act.closes && frozen, kMayBeOn));
    EXPECT_TRUE((act.closes && !frozen) || f.program->Instrument().Device.DeviceConnected == !frozen);
    f.sim->Instrument().SetFaults({});
    EXPECT_TRUE(frozen || f.SimLog().filter(QRegularExpression("^(?!\\*OPC\\?)")).last() == ":OUTP 0");
}

INSTANTIATE_TEST_SUITE_P(
    Actions, StalledGenerator,
    ::testing::Combine(::testing::Values(StalledAct{"SweepRigol", "dsa815", "SpeedButton13", 1, false},
                                         StalledAct{"SweepSiglent", "ssa3032x", "SpeedButton13", 1, false},
                                         StalledAct{"Ramp", "dsa815", "SpeedButton19", 1, false},
                                         StalledAct{"Fixed", "ssa3032x", "SpeedButton1", 2, false},
                                         StalledAct{"FixedStarting", "dsa815", "SpeedButton1", 0, false},
                                         StalledAct{"ManualStarting", "ssa3032x", "SpeedButton20", 0, false},
                                         StalledAct{"FixedClosing", "ssa3032x", "SpeedButton1", 2, true},
                                         StalledAct{"SweepExit", "ssa3032x", "SpeedButton13", 1, true, true},
                                         StalledAct{"FixedExit", "dsa815", "SpeedButton1", 2, true, true},
                                         StalledAct{"SweepClosing", "dsa815", "SpeedButton13", 1, true}),
                       ::testing::Bool(), ::testing::Bool()),
    [](const ::testing::TestParamInfo<StalledGenerator::ParamType>& p) {
        return std::string(std::get<0>(p.param).name) + (std::get<2>(p.param) ? "Frozen" : "Stalled") +
               (std::get<1>(p.param) ? "Socket" : "Vxi11");
    });

// Torn down without a close, a fixed row on and the analyser killed: one line, no call into a gone panel.
TEST(StalledGenerator, TeardownWithAFixedRowOnAndTheAnalyserKilled)
{
    RunWindowFixture f;
    ASSERT_NO_FATAL_FAILURE(StartConnected(f, "dsa815", 0));
    Control<QAction>(*f.w, "G1").trigger();
    Control<QAbstractButton>(Control(*f.w, "Frame131"), "SpeedButton1").click();
    f.sim->Stop(), f.program.reset();
    EXPECT_EQ(f.Lines("Error: "), L{"Error: the link to the analyser was lost, " + kGeneratorEnded});
}

// The Device menu greyed, "Disconnect Visa", "Connect Visa", "SND SCPI" and a grid row pressed anyway are
// refused with one line naming the generator; the sweep visits every step, the fixed row's stop click in a
// stall is carried out: the last output command executed is ":OUTP 0", still connected; "PreAmp" greyed.
TEST_P(GeneratorHold, RefusesTheOtherWindowsAndEndsWithTheOutputOff)
{
    const auto& [act, family, socket] = GetParam();
    const bool sweep = act.button == QLatin1String("SpeedButton13");
    RunWindowFixture f;
    ASSERT_NO_FATAL_FAILURE(StartConnected(f, family, 2000, socket));
    f.boxes.clear(), Press(f, "GroupBox8:RadioButton5"); // a raw socket's search finds no USB device; PreAmp "off"
    Control<QAction>(*f.w, "G1").trigger();
    auto& view = Control<ImmunityFrame>(*f.w, "Frame131");
    auto& button = Control<QAbstractButton>(view, act.button);
    for (const auto& [edit, text] : {std::pair{"sweepStartEdit1", "1.000.000"}, {"sweepStopEdit1", "5.000.000"},
                                     {"sweepStepEdit1", "1.000.000"}, {"sweepDwellEdit1", "100000"}})
        Control<QLineEdit>(view, edit).setText(text); // 100 ms a step
    f.program->Windows().connectionWindow->openForKind(LinkKind::VisaTcp);
    const auto elsewhere = [&] {
        EXPECT_FALSE(Control<QAction>(*f.w, "CP1").isEnabled());
        for (const char* press : {"Form4:BitBtn5", "Form4:BitBtn4", "Form4:Button3", "RBW [Hz]", "Frame141:Button18", "GroupBox8:RadioButton4"})
            Press(f, press);
    };
    QTimer atSecondStep;
    QObject::connect(&atSecondStep, &QTimer::timeout, [&] {
        if (Control(view, "markerFrequencyEdit").property("text") == "2.000.000")
            atSecondStep.stop(), elsewhere();
    });
    if (sweep)
        atSecondStep.start(5), button.click();
    else {
        button.click();
        f.sim->Instrument().SetFaults({.freezeAfter = 0});
        QTimer::singleShot(600, f.w, [&f] { f.sim->Instrument().SetFaults({}); });
        QTimer::singleShot(300, f.w, [&button] { button.click(); });
        elsewhere();
    }
    ASSERT_TRUE(QTest::qWaitFor([&] { return !view.generatorActionActive(); }, 5000));
    const QString held = ", the analyser is in use by the generator: stop it first";
    const L initSa{"Warning: \"Init SA\" not sent" + held}; // in a box too: the coverage view covers the log
    EXPECT_EQ(f.Lines("Warning: "), L({"Warning: \"Disconnect Visa\" refused" + held, "Warning: \"Connect Visa\" refused" + held,
                                       "Warning: \"SND SCPI\" not sent" + held, "Warning: \"RBW [Hz]\" not sent" + held}) + initSa);
    EXPECT_EQ(f.Lines("Error: ") + f.boxes, initSa);
    EXPECT_EQ(f.program->Instrument().Device.DeviceConnected, 1);
    const L log = f.SimLog();
    EXPECT_EQ(log.filter(":OUTP").last(), ":OUTP 0");
    const L steps{":SENS:FREQ:CENT 1000000", ":SENS:FREQ:CENT 2000000", ":SENS:FREQ:CENT 3000000",
                  ":SENS:FREQ:CENT 4000000", ":SENS:FREQ:CENT 5000000"};
    EXPECT_TRUE(!sweep || log.filter(":SENS:FREQ:CENT ").replaceInStrings(" Hz", "") == steps) << log.join('|').toStdString();
    f.sim->Instrument().ClearCommandLog(), f.Play().click(); // the run sends the preamplifier greyed on "off"
    EXPECT_TRUE(f.SimLog().filter(":SENS:POW:GAIN").value(0).endsWith(" OFF") && Control<QRadioButton>(*f.w, "RadioButton5").isChecked());
}

INSTANTIATE_TEST_SUITE_P(
    Actions, GeneratorHold,
    ::testing::Combine(::testing::Values(HeldAct{"Sweep", "SpeedButton13"}, HeldAct{"Fixed", "SpeedButton1"}),
                       ::testing::Values("dsa815", "ssa3032x"), ::testing::Bool()),
    [](const ::testing::TestParamInfo<GeneratorHold::ParamType>& p) {
        return std::string(std::get<0>(p.param).name) + (std::get<1>(p.param)[0] == 'd' ? "Rigol" : "Siglent") +
               (std::get<2>(p.param) ? "Socket" : "Vxi11");
    });

// A fixed row on: the coverage view the operator moves to says so. A single ramp with "Tg off" set to
// off keeps the output on, as chosen: the view's box says so, the status bar shows it, and the EMC
// view and File > Exit say it again; nothing more is sent.
TEST_P(GeneratorLeftOn, IsSaidWhereTheOperatorLooks)
{
    RunWindowFixture f;
    ASSERT_NO_FATAL_FAILURE(StartConnected(f, GetParam(), 0));
    Control<QAction>(*f.w, "G1").trigger();
    auto& view = Control<ImmunityFrame>(*f.w, "Frame131");
    const auto panel = [&f] { return testsupport::StatusPanelControl<QLabel>(*f.w, StatusBarPanel::Generator).text(); };
    Control<QAbstractButton>(view, "SpeedButton1").click();
    Control<QAction>(*f.w, "Power1").trigger();
    const QString running = "Warning: the analyser is in use by the generator, which is still on: stop it in the generator view first";
    EXPECT_TRUE(Control<QPlainTextEdit>(Control(*f.w, "Frame141"), "memo2").toPlainText().endsWith(running));
    Control<QAction>(*f.w, "G1").trigger();
    Control<QAbstractButton>(view, "SpeedButton1").click();
    EXPECT_EQ(panel(), "");
    view.setSettingValue("Tg off", "off");
    Control<QAbstractButton>(view, "SpeedButton19").click();
    const QString ended = "Warning: the ramp has ended, the generator stays on at -15 dBm (\"Tg off\" is off)";
    EXPECT_TRUE(Control<QPlainTextEdit>(view, "Memo2").toPlainText().endsWith(ended));
    EXPECT_EQ(panel(), "Generator on");
    Control<QAction>(*f.w, "EMC1").trigger();
    f.program->Windows().connectionWindow->openForKind(LinkKind::VisaTcp), Press(f, "Form4:BitBtn5"); // "Disconnect Visa"
    Control<QAction>(*f.w, "exitAction").trigger();
    const QString left = "Warning: the generator is still on at -15 dBm";
    EXPECT_EQ(f.Lines("Warning: "), L({running, ended, left, left}));
    EXPECT_EQ(f.boxes, L{left});
    EXPECT_EQ(f.SimLog().filter(":OUTP").last(), ":OUTP 1");
}

INSTANTIATE_TEST_SUITE_P(Families, GeneratorLeftOn, ::testing::Values("dsa815", "ssa3032x"));

// A frequency beyond a dsa815's 1.5 GHz in the coverage view: the analyser stays where it was; no
// row logs a level for it, and one line says so, however many rows follow.
TEST(BeyondRange, CoverageLogsNoLevelWhereTheAnalyserDidNotTune)
{
    RunWindowFixture f;
    ASSERT_NO_FATAL_FAILURE(StartConnected(f, "dsa815", 0));
    Simulator gps([] { SimulatorOptions o; o.pty = o.gps = true; return o; }());
    QWidget& view = ConnectGps(f, gps);
    CoverageGrid& grid = Control<CoverageFrame>(*f.w, "Frame141").view().Grid();
    grid.setData(grid.index(grid.RowOf(coveragegrid::kFreqB), 1), "2000000000");
    Control<QPushButton>(view, "Button18").click(), Control<QPushButton>(view, "Button14").click();
    ASSERT_TRUE(QTest::qWaitFor([&f] { return CoverageRows(f).size() >= 3; }, 5000));
    Control<QPushButton>(view, "Button15").click();
    for (const QString& row : CoverageRows(f))
        EXPECT_TRUE(!row.section(';', 10, 10).isEmpty() && row.section(';', 12, 12).isEmpty()) << row.toStdString();
    const QString line = "Warning: Freq B 2.000.000.000 Hz lies beyond the analyser's range (it tuned to 140.000.000 Hz); no "
                         "level is logged for it";
    EXPECT_EQ(f.Lines("Warning: ") + f.Lines("Error: ") + f.boxes, L{line});
    EXPECT_EQ(Control<QPlainTextEdit>(view, "memo2").toPlainText().count(line), 1);
}

// A generator frequency beyond a dsa815's 1.5 GHz: the action ends with one line naming it and where
// the analyser stayed, the generator is switched off, the marker never names that frequency.
struct BeyondAct { const char *name, *button, *edit, *text, *then, *what, *hz, *tuned, *end; };
class BeyondRangeGenerator : public ::testing::TestWithParam<BeyondAct> {};

TEST_P(BeyondRangeGenerator, EndsTheActionWithOneLineAndTheGeneratorOff)
{
    const BeyondAct& act = GetParam();
    RunWindowFixture f;
    ASSERT_NO_FATAL_FAILURE(StartConnected(f, "dsa815", 0));
    Control<QAction>(*f.w, "G1").trigger();
    auto& view = Control<ImmunityFrame>(*f.w, "Frame131");
    for (const auto& [edit, text] : {std::pair{"sweepStartEdit1", "1.400.000.000"}, {"sweepStopEdit1", "1.600.000.000"},
                                     {"sweepStepEdit1", "100.000.000"}, {"sweepDwellEdit1", "100"}, {act.edit, act.text}})
        Control<QLineEdit>(view, edit).setText(text);
    Control<QAbstractButton>(view, act.button).click();
    act.then ? Control<QAbstractButton>(view, act.then).click() : void();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !view.generatorActionActive(); }, 5000));
    const QString line = QString("Error: %1 at %2 Hz lies beyond the analyser's range (it tuned to %3 Hz), %4")
                             .arg(act.what, act.hz, act.tuned, act.end);
    EXPECT_EQ(f.Lines("Error: ") + f.Lines("Warning: ") + f.boxes, L{line});
    EXPECT_TRUE(Control<QPlainTextEdit>(view, "Memo2").toPlainText().endsWith(line));
    EXPECT_FALSE(Control<QAbstractButton>(view, act.button).isChecked());
    EXPECT_EQ(f.SimLog().filter(":OUTP").last(), ":OUTP 0");
    EXPECT_NE(Control(view, "markerFrequencyEdit").property("text").toString(), act.hz);
}

INSTANTIATE_TEST_SUITE_P(
    Actions, BeyondRangeGenerator,
    ::testing::Values(BeyondAct{"Fixed", "SpeedButton1", "fixedFrequencyEdit1", "2.000.000.000", nullptr, "fixed row 1",
                                "2.000.000.000", "15.075.000", "the generator is switched off"},
                      BeyondAct{"Sweep", "SpeedButton13", "sweepDwellEdit1", "100", nullptr, "the sweep step",
                                "1.600.000.000", "1.500.000.000", "sweep stopped"},
                      BeyondAct{"Ramp", "SpeedButton19", "rampFrequencyEdit", "2.000.000.000", nullptr, "the ramp",
                                "2.000.000.000", "15.075.000", "the generator is switched off"},
                      BeyondAct{"Manual", "SpeedButton20", "LabeledEdit17", "1.499.950.000", "SpinButton1Up",
                                "manual stepping", "1.500.050.000", "1.499.950.000", "the generator is switched off"}),
    [](const ::testing::TestParamInfo<BeyondAct>& p) { return std::string(p.param.name); });
