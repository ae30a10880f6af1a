// The program's main job through its windows: a shipped project loaded with "Load Proj", the
// analyser connected through the connection window, "Play" pressed, against the simulator of each
// analyser family over VXI-11. Each segment's plan reaches the analyser in order, the raw trace is
// what the analyser measured, the corrected trace is raw minus the correction sum, and the peak
// list holds exactly the emissions that come within the margin of the limit.
#include "RunWindowFixture.h"

#include "app/NumberText.h"
#include "chart/series/LineSeries.h"
#include "common/Controls.h"
#include "common/TestSupport.h"
#include "datafiles/CheckListModel.h"
#include "datafiles/ParameterGridModel.h"
#include "datafiles/SegmentTable.h"
#include "forms/CoverageFrame.h"
#include "forms/ImmunityFrame.h"
#include "forms/MainChart.h"
#include "forms/MainWindow.h"
#include "forms/ParameterGridView.h"
#include "instrument/InstrumentState.h"
#include "measurement/CorrectionChain.h"
#include "measurement/LevelRecorder.h"
#include "measurement/MeasurementState.h"
#include "measurement/PeakLists.h"
#include "measurement/RunControl.h"
#include "measurement/RunParameters.h"
#include "platform/inifile/IniFile.h"
#include "tools/sim/SimFamily.h"

#include <QAction>
#include <QGroupBox>
#include <QRadioButton>
#include <QItemSelectionModel>
#include <QListView>
#include <QCheckBox>
#include <QFile>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <QToolButton>
#include <algorithm>
#include <cmath>
#include <functional>
#include <optional>
#include <gtest/gtest.h>

using enum MeasureSet;
using testsupport::Control;

namespace {

using L = QStringList;

const char* const kProject = "conducted_cispr32_b.prj";
const char* const kRadiated = "radiated_cispr32_b_3m.prj";
constexpr double kMarginDb = 6; // the project's "GAP1"

enum class Kind { Rigol, Siglent, Receiver, None };

struct FamilyCase { const char* family; Kind kind; };

// What of a segment's plan must reach the analyser, in this order, between the segment's start
// and done lines.
L PlanCommands(Kind kind, const SegmentRecord& s)
{
    const QString a = QString::number(s.StartHz), b = QString::number(s.StopHz), att = QString::number(s.Attenuation);
    switch (kind) {
    case Kind::Rigol:
        return {":SENS:FREQ:STAR " + a, ":SENS:FREQ:STOP " + b, ":SENS:BAND:RES " + s.Rbw, ":SENS:POW:RF:ATT " + att,
                ":SENS:DET:FUNC " + s.Detector, ":INIT:IMM", ":TRAC:DATA? TRACE1"};
    case Kind::Siglent:
        return {":SENS:FREQ:STAR " + a + " Hz", ":SENS:FREQ:STOP " + b + " Hz", ":SENS:BWID:RES " + s.Rbw,
                ":SENS:POW:RF:ATT " + att, ":SENS:DET:TRAC1 " + s.Detector, ":INIT:IMM", ":TRACe:DATA? 1"};
    case Kind::Receiver:
        return {":INP:ATT " + att, ":SENS:DET:FUNC " + s.Detector, ":SENS:BAND:RES:CISP " + s.Rbw,
                ":SENS:SCAN:STAR " + a + "Hz", ":SENS:SCAN:STOP " + b + "Hz", ":INIT:IMM", ":TRAC:DATA?"};
    case Kind::None:
        break;
    }
    return {};
}

// The commands of `expected` that are missing from `log` when read in order.
L MissingInOrder(const L& log, const L& expected)
{
    qsizetype at = 0;
    L missing;
    for (const QString& e : expected) {
        const qsizetype found = log.indexOf(e, at);
        if (found < 0)
            missing << e;
        else
            at = found + 1;
    }
    return missing;
}

// The controls a run sets, as the operator sees them.
struct ControlState {
    bool play, stop, pause, grid, measureMenu, deviceMenu, displayPeaks, loadProject, runOwnsAnalyser, generator;
    int clearButtons; // of "Clear chart", "Clear all" and "Clear traces", on three panels
    bool operator==(const ControlState&) const = default;
};
ControlState ControlsOf(MainWindow& w)
{
    const auto enabled = [](const QObject& scope, const char* name) {
        return Control<QObject>(scope, name).property("enabled").toBool();
    };
    // "Play", "Stop", "Pause", the parameter grid, "Measure (consider drift)", "SA TCP",
    // "Displ. peaks", "Load Proj", and the generator's first speed button.
    return {enabled(w, "BitBtn1"),   enabled(w, "BitBtn2"),
            enabled(w, "BitBtn3"),   enabled(w, "ValueListEditor1"),
            enabled(w, "Meassure1"), enabled(w, "CP1"),
            enabled(w, "Button8"),   enabled(w, "load1"),
            w.emissionRunActive(),   enabled(Control<ImmunityFrame>(w, "Frame131"), "SpeedButton1"),
            enabled(w, "Button12") + enabled(w, "Button4") + enabled(w, "Button13")};
}
void PrintTo(const ControlState& c, std::ostream* os)
{
    *os << "play " << c.play << " stop " << c.stop << " pause " << c.pause << " grid " << c.grid << " measure "
        << c.measureMenu << " device " << c.deviceMenu << " displ " << c.displayPeaks << " load " << c.loadProject
        << " owned " << c.runOwnsAnalyser << " generator " << c.generator << " clear " << c.clearButtons;
}
constexpr ControlState kIdle{true, false, false, true, true, true, true, true, false, true, 3};
constexpr ControlState kRunning{false, true, true, false, false, false, false, false, true, false, 0};
constexpr ControlState kPaused{true, true, false, true, false, false, false, false, true, false, 0};

// The run's own lines, without the correction pass's and the time-stamped ones.
L RunLines(const RunWindowFixture& f)
{
    L out;
    for (const QString& l : f.Lines("Info: measurement"))
        if (!l.contains(" calc ") && !l.contains("master") && !l.contains(" set1 "))
            out << l;
    return out;
}

// The simulator of a family started, a shipped project loaded, the analyser connected.
void StartConnected(RunWindowFixture& f, const char* family, const char* project = kProject, uint32_t seed = 1,
                    const SimFaults& faults = {})
{
    ASSERT_NO_FATAL_FAILURE(f.Start(family, project, faults, seed));
    ASSERT_NO_FATAL_FAILURE(f.Connect());
}

// Calls act on each log line that begins with prefix, while the run goes on.
void OnLine(RunWindowFixture& f, const QString& prefix, const std::function<void()>& act)
{
    QObject::connect(&f.app.Messages, &MessageLog::LineAppended, [prefix, act](const QString& line) {
        if (line.startsWith(prefix))
            act();
    });
}

// What the operator types into a row of the parameter grid.
void Edit(MainWindow& w, const QString& row, const QString& value)
{
    ParameterGridModel& grid = w.parameters();
    ASSERT_TRUE(grid.setData(grid.index(grid.RowOf(row), 1), value)) << row.toStdString();
}

// Only the first `count` segments of a set stay checked.
void KeepSegments(MainWindow& w, MeasureSet set, int count)
{
    CheckListModel& checks = w.segmentChecks(set);
    for (int row = count + 1; row < checks.Count(); ++row)
        checks.SetChecked(row, false);
}

// The corrected trace's points above the margin line, as the peak list shows them with "MaxFilter" off.
L PeaksAboveTheMargin(MainWindow& w)
{
    const TCustomSeries& corrected = *w.chart().Series(SeriesRole::correctedTrace1);
    L expected;
    for (int i = 0; i < corrected.Count(); ++i) {
        const double x = corrected.GetPointX(i);
        const SeriesLevel limit = InterpolateSeries(*w.chart().Series(SeriesRole::limitLine1), std::llround(x));
        if (limit.Status == 1 && corrected.GetPointY(i) > limit.Level - kMarginDb)
            expected << QString::number(expected.size() + 1) + "  " + FormatMachineFixed(x, 2) + "kHz " +
                            FormatMachineFixed(corrected.GetPointY(i), 2) + "dBuV";
    }
    return expected;
}

class FamilyWindowRun : public ::testing::TestWithParam<FamilyCase> {};
// A family, and the pass whose segment 2 brings a trace that is no number.
class MaxHoldRun : public ::testing::TestWithParam<std::tuple<const char*, int>> {};

} // namespace

TEST_P(FamilyWindowRun, PlayMeasuresCorrectsAndListsThePeaksOfTheProject)
{
    const FamilyCase& fc = GetParam();
    RunWindowFixture f;
    ASSERT_NO_FATAL_FAILURE(StartConnected(f, fc.family));
    MainWindow& w = *f.w;
    const MainChart& chart = w.chart();
    Control<QCheckBox>(w, "CheckBox3").setChecked(true);
    EXPECT_EQ(ControlsOf(w), kIdle);
    // The identification refreshed the estimate; an analyser no loop measures with has none.
    EXPECT_EQ(Control<QLabel>(w, "Label4").text().isEmpty(), fc.kind == Kind::None)
        << Control<QLabel>(w, "Label4").text().toStdString();
    LevelRecorder recorder(f.sim->Instrument());
    std::optional<ControlState> during;
    OnLine(f, "Info: measurement done  seg 2 ", [&] { during = ControlsOf(w); });

    f.Play().click();

    EXPECT_TRUE(f.boxes.isEmpty()) << f.boxes.join('|').toStdString();
    EXPECT_TRUE(f.Lines("Error").isEmpty()) << f.Lines("Error").join('|').toStdString();
    EXPECT_EQ(ControlsOf(w), kIdle);
    if (fc.kind == Kind::None) {
        // The analyser is served, but no loop measures with it; the log says so.
        EXPECT_TRUE(RunLines(f).isEmpty());
        EXPECT_EQ(f.Lines("Info: no measurement loop for the Hameg HMS ").size(), 1);
        EXPECT_EQ(chart.Series(SeriesRole::rawTrace1)->Count(), 0);
        return;
    }
    ASSERT_TRUE(during.has_value());
    EXPECT_EQ(*during, kRunning);

    // Every segment's plan reached the analyser in order, between its start and done lines.
    const SegmentTable& plan = w.segmentTable(Set1);
    ASSERT_GE(plan.Count, 5);
    EXPECT_EQ(f.Lines("Info: measurement done  seg ").size(), plan.Count);
    for (int i = 1; i <= plan.Count; ++i) {
        const L log = f.SimLog(f.Mark("start", i), f.Mark("done", i));
        EXPECT_EQ(MissingInOrder(log, PlanCommands(fc.kind, plan.Segment(i))), L()) << "segment " << i;
    }

    // Raw = what the analyser measured; corrected = raw - the correction sum. Where the master
    // curve served a point it gave the same sum sampled every 4 kHz, which the shipped tables'
    // gentle slopes keep within a few thousandths of a dB.
    const std::vector<double> truth = recorder.Levels();
    const TCustomSeries& raw = *chart.Series(SeriesRole::rawTrace1);
    const TCustomSeries& corrected = *chart.Series(SeriesRole::correctedTrace1);
    ASSERT_EQ(static_cast<size_t>(raw.Count()), truth.size());
    ASSERT_EQ(corrected.Count(), raw.Count());
    CorrectionChain chain(chart.ByRole(), RunSwitches{});
    for (int i = 0; i < raw.Count(); ++i) {
        ASSERT_NEAR(raw.GetPointY(i), truth[static_cast<size_t>(i)], 0.011) << i;
        ASSERT_EQ(corrected.GetPointX(i), raw.GetPointX(i)) << i;
        ASSERT_NEAR(corrected.GetPointY(i), raw.GetPointY(i) - chain.Sum(raw.GetPointX(i)), 0.005) << i;
    }

    // One peak per emission whose corrected level comes within the margin of the limit.
    const double first = plan.Segment(1).StartHz / 1000.0;
    const double last = plan.Segment(plan.Count).StopHz / 1000.0;
    L expected;
    for (const SimEmissions::Line& line : f.sim->Instrument().Spectrum().Lines()) {
        const double khz = line.frequencyHz / 1000.0;
        if (khz < first || khz >= last)
            continue;
        const SeriesLevel limit = InterpolateSeries(*chart.Series(SeriesRole::limitLine1), std::llround(khz));
        ASSERT_EQ(limit.Status, 1);
        const double over = line.levelDbuv - chain.Sum(khz) - (limit.Level - kMarginDb);
        ASSERT_GT(std::fabs(over), 1.0) << "the emission at " << khz << " kHz is too close to call";
        if (over > 0)
            expected << QString::number(khz);
    }
    ASSERT_GE(expected.size(), 3);
    ASSERT_TRUE(expected.contains("22653")); // among them, listed once: one peak per emission
    const L freqs = w.peakLists(Set1).Freqs.stringList();
    ASSERT_EQ(freqs.size(), expected.size()) << w.peakLists(Set1).Lines.stringList().join('|').toStdString();
    for (qsizetype k = 0; k < freqs.size(); ++k) {
        const double khz = expected[k].toDouble();
        int segment = 1;
        while (segment < plan.Count && plan.Segment(segment).StopHz / 1000.0 <= khz)
            ++segment;
        const SegmentRecord& s = plan.Segment(segment);
        // Within half a point spacing of the emission, the points running from start to stop.
        const double spacingKhz = (s.StopHz - s.StartHz) / 1000.0 / (f.program->Instrument().Device.TracePoints - 1);
        EXPECT_NEAR(freqs[k].toDouble(), khz, spacingKhz / 2 + 0.5) << k;
    }

    // The read-outs of the run.
    EXPECT_EQ(Control<QLabel>(w, "Label3").text(), "1");
    EXPECT_FALSE(Control<QLabel>(w, "Label4").text().isEmpty());
    EXPECT_EQ(Control<QLabel>(w, "Label5").text(), "00:00:00") << "no time left of a finished run";
    EXPECT_EQ(Control<QLabel>(w, "Label6").text(), "");
    EXPECT_EQ(Control<QProgressBar>(w, "ProgressBar1").value(),
              Control<QProgressBar>(w, "ProgressBar1").maximum());
}

INSTANTIATE_TEST_SUITE_P(Families, FamilyWindowRun,
                         ::testing::Values(FamilyCase{"dsa815", Kind::Rigol}, FamilyCase{"rsa5065", Kind::Rigol},
                                           FamilyCase{"ssa3032x", Kind::Siglent},
                                           FamilyCase{"sva1032x", Kind::Siglent},
                                           FamilyCase{"fpc1000", Kind::Receiver}, FamilyCase{"fph", Kind::Receiver},
                                           FamilyCase{"hms3010", Kind::None}),
                         [](const ::testing::TestParamInfo<FamilyCase>& p) { return std::string(p.param.family); });

// Pause takes effect before the next segment and hands the grid back; Play resumes; Stop ends
// the run before the next segment; the window goes on working and a second run measures again.
TEST(WindowRun, PauseResumeAndStop)
{
    RunWindowFixture f;
    ASSERT_NO_FATAL_FAILURE(StartConnected(f, "dsa815"));
    MainWindow& w = *f.w;
    std::optional<ControlState> paused;
    const QMetaObject::Connection operatorHands = QObject::connect(&f.app.Messages, &MessageLog::LineAppended, [&](const QString& line) {
        if (line.startsWith("Info: measurement done  seg 1 "))
            f.Pause().click();
        if (line.startsWith("Info: measurement pause at seg 2")) {
            // Inside the pause's wait, once its controls are shown.
            QTimer::singleShot(0, &w, [&] {
                paused = ControlsOf(w);
                const uint32_t left = w.measurementState().RemainingMeasureSeconds;
                QMetaObject::invokeMethod(&Control<QTimer>(w, "Timer1"), "timeout", Qt::DirectConnection);
                EXPECT_EQ(w.measurementState().RemainingMeasureSeconds, left) << "counted down while paused";
                f.Play().click();
            });
        }
        if (line.startsWith("Info: measurement done  seg 3 "))
            f.Stop().click();
    });

    f.Play().click();

    ASSERT_TRUE(paused.has_value());
    EXPECT_EQ(*paused, kPaused);
    const int n = w.segmentTable(Set1).Count;
    const QString of = " of " + QString::number(n);
    EXPECT_EQ(RunLines(f), L({"Info: measurement start seg 1" + of + " waiting for data",
                              "Info: measurement done  seg 1" + of, "Info: measurement waiting for pause",
                              "Info: measurement pause at seg 2", "Info: measurement start seg 2" + of + " waiting for data",
                              "Info: measurement done  seg 2" + of, "Info: measurement start seg 3" + of + " waiting for data",
                              "Info: measurement done  seg 3" + of, "Info: measurement waiting to stop",
                              "Info: measurement stopped"}));
    EXPECT_EQ(f.Lines("Info: play ").size(), 2);
    EXPECT_EQ(ControlsOf(w), kIdle);
    EXPECT_EQ(w.measurementState().RemainingMeasureSeconds, 0u);
    const int threeSegments = w.chart().Series(SeriesRole::rawTrace1)->Count();
    EXPECT_EQ(threeSegments, 3 * f.program->Instrument().Device.TracePoints);

    // The window goes on: the peaks are recomputed and cleared, and Play measures the whole plan.
    QObject::disconnect(operatorHands);
    Control<QCheckBox>(w, "CheckBox3").setChecked(true);
    Control<QPushButton>(w, "Button8").click();
    EXPECT_GT(w.peakLists(Set1).Count(), 0);
    // Two listed peaks measured again with the grid's values, the analyser held meanwhile.
    std::optional<ControlState> remeasuring;
    OnLine(f, "Info: set1 measure peak 1", [&] { remeasuring = ControlsOf(w); });
    const QAbstractItemModel& peaks = w.peakLists(Set1).Lines;
    for (const int row : {0, 1})
        Control<QListView>(w, "ListBox1").selectionModel()->select(peaks.index(row, 0), QItemSelectionModel::Select);
    Control<QAction>(w, "Measure21").trigger();
    const L measured = w.peakLists(Set1).MeasureLines.stringList();
    ASSERT_EQ(measured.size(), 2);
    ASSERT_TRUE(remeasuring.has_value());
    EXPECT_EQ(*remeasuring, (ControlState{false, true, false, false, false, false, false, false, true, false, 0}));
    EXPECT_TRUE(measured[0].startsWith("1  [POS] ") && measured[1].startsWith("2  [POS] ")) << measured.join('|').toStdString();
    EXPECT_EQ(ControlsOf(w), kIdle);
    Control<QPushButton>(w, "Button6").click();
    EXPECT_EQ(w.peakLists(Set1).Count(), 0);

    // A generator action holds the analyser: Play waits for its end.
    auto& fixedRow = Control<QAbstractButton>(Control(w, "Frame131"), "SpeedButton1");
    fixedRow.click();
    EXPECT_FALSE(f.Play().isEnabled());
    EXPECT_FALSE(Control<QAction>(w, "Measure21").isEnabled());
    fixedRow.click();
    EXPECT_TRUE(f.Play().isEnabled());
    f.Play().click();
    EXPECT_EQ(f.Lines("Info: measurement done  seg " + QString::number(n) + of).size(), 1);
    EXPECT_EQ(w.chart().Series(SeriesRole::rawTrace1)->Count(), n * f.program->Instrument().Device.TracePoints);
    EXPECT_TRUE(f.boxes.isEmpty()) << f.boxes.join('|').toStdString();
}

// "Set2" measures the second set's plan into its own traces and lists, with its own limit.
TEST(WindowRun, TheSecondSetRunsItsOwnPlan)
{
    RunWindowFixture f;
    ASSERT_NO_FATAL_FAILURE(StartConnected(f, "dsa815"));
    MainWindow& w = *f.w;
    Control<QRadioButton>(w, "RadioButton2").click();
    EXPECT_EQ(Control<QGroupBox>(w, "GroupBox4").title(), "Peaks Set2");
    EXPECT_TRUE(Control<QListView>(w, "CheckListBox2").isVisibleTo(&w)
                && !Control<QListView>(w, "CheckListBox1").isVisibleTo(&w));
    KeepSegments(w, Set2, 2);
    EXPECT_FALSE(w.segmentChecks(Set2).Checked(0)) << "\"all\" is unticked with a segment";
    Control<QCheckBox>(w, "CheckBox3").setChecked(true);

    f.Play().click();

    const MainChart& chart = w.chart();
    EXPECT_EQ(chart.Series(SeriesRole::rawTrace1)->Count(), 0);
    EXPECT_EQ(chart.Series(SeriesRole::rawTrace2)->Count(), 2 * f.program->Instrument().Device.TracePoints);
    EXPECT_EQ(chart.Series(SeriesRole::correctedTrace2)->Count(), chart.Series(SeriesRole::rawTrace2)->Count());
    EXPECT_EQ(f.Lines("Info: measurement done  seg ").size(), 2);
    EXPECT_EQ(w.peakLists(Set1).Count(), 0);
    EXPECT_GT(w.peakLists(Set2).Count(), 0);
    EXPECT_TRUE(Control<QListView>(w, "ListBox7").isVisibleTo(&w)
                && !Control<QListView>(w, "ListBox1").isVisibleTo(&w));
    // Every listed peak lies above set 2's limit minus its margin.
    const L levels = w.peakLists(Set2).Levels.stringList();
    const L freqs = w.peakLists(Set2).Freqs.stringList();
    for (qsizetype k = 0; k < freqs.size(); ++k) {
        const SeriesLevel limit =
            InterpolateSeries(*chart.Series(SeriesRole::limitLine2), std::llround(freqs[k].toDouble()));
        EXPECT_GT(levels[k].toDouble(), limit.Level - kMarginDb) << freqs[k].toStdString();
    }
}

// Closing the window during a run stops the run; the window closes once the loop has returned,
// and the analyser's session is closed with it.
TEST(WindowRun, ClosingDuringARunStopsItFirst)
{
    RunWindowFixture f;
    ASSERT_NO_FATAL_FAILURE(StartConnected(f, "ssa3032x"));
    MainWindow& w = *f.w;
    w.show();
    bool closedDuringRun = true;
    OnLine(f, "Info: measurement done  seg 2 ", [&] { closedDuringRun = w.close(); });
    bool closed = false;
    QObject::connect(&w, &MainWindow::closed, [&] { closed = true; });

    f.Play().click();

    EXPECT_FALSE(closedDuringRun);
    EXPECT_EQ(f.Lines("Info: measurement waiting to stop").size(), 1);
    EXPECT_EQ(f.Lines("Info: measurement done  seg ").size(), 2);
    QCoreApplication::processEvents();
    EXPECT_TRUE(closed);
    EXPECT_FALSE(w.isVisible());
    EXPECT_EQ(f.program->Instrument().Visa.VisaSession, 0u);
}

// A margin changed while the run waits paused counts for the segments after the pause.
TEST(WindowRun, AMarginEditedWhilePausedCountsAfterResume)
{
    RunWindowFixture f;
    ASSERT_NO_FATAL_FAILURE(StartConnected(f, "dsa815"));
    MainWindow& w = *f.w;
    KeepSegments(w, Set1, 2);
    OnLine(f, "Info: measurement done  seg 1 ", [&] { f.Pause().click(); });
    OnLine(f, "Info: measurement pause at seg 2", [&] {
        QTimer::singleShot(0, &w, [&] { Edit(w, "Margin1[dB]", "40"); f.Play().click(); });
    });

    f.Play().click();

    ASSERT_EQ(f.Lines("Info: measurement done  seg ").size(), 2);
    const SegmentRecord& first = w.segmentTable(Set1).Segment(1);
    const L freqs = w.peakLists(Set1).Freqs.stringList();
    const L levels = w.peakLists(Set1).Levels.stringList();
    int wideBefore = 0;
    int wideAfter = 0;
    for (qsizetype k = 0; k < freqs.size(); ++k) {
        const double khz = freqs[k].toDouble();
        const SeriesLevel limit = InterpolateSeries(*w.chart().Series(SeriesRole::limitLine1), std::llround(khz));
        if (levels[k].toDouble() > limit.Level - kMarginDb)
            continue;
        // A peak the project's margin would not list.
        ++(khz < first.StopHz / 1000.0 ? wideBefore : wideAfter);
    }
    EXPECT_EQ(wideBefore, 0);
    EXPECT_GT(wideAfter, 0) << "the margin of 40 dB was not used after the pause";
}

// Stop at segment 1 of the third pass ends a max-hold run and switches "MaxHold" off. A faulty
// segment 2 in pass 1 or 2 moves no held point: the held trace keeps the plan's grid, the peaks are
// its points above the margin line (each near an emission) at every start, again after "Displ. peaks".
TEST_P(MaxHoldRun, AFaultySegmentMovesNoHeldPoint)
{
    const auto [family, faultyPass] = GetParam();
    RunWindowFixture f;
    ASSERT_NO_FATAL_FAILURE(StartConnected(f, family));
    MainWindow& w = *f.w;
    const TCustomSeries& corrected = *w.chart().Series(SeriesRole::correctedTrace1);
    KeepSegments(w, Set1, 3);
    Control<QCheckBox>(w, "CheckBox3").setChecked(false); // "MaxFilter" off: every point above the line
    const auto xs = [&corrected] { auto v = corrected.XValues().Values(); return std::vector<double>(v.begin(), v.end()); };
    const auto held = [&w] { return PeaksAboveTheMargin(w); };
    f.Play().click();
    const std::vector<double> planGrid = xs();
    Edit(w, "MaxHold", "on");
    int passes = 0;
    const QMetaObject::Connection operatorAndFault = QObject::connect(&f.app.Messages, &MessageLog::LineAppended, [&](const QString& line) {
        passes += line.startsWith("Info: measurement start seg 1 ");
        const bool start = line.startsWith("Info: measurement start seg ");
        EXPECT_TRUE(!start || w.peakLists(Set1).Lines.stringList() == held()) << passes << line.toStdString();
        if (line.startsWith("Info: measurement start seg ") && passes == faultyPass)
            f.sim->Instrument().SetFaults({.nanValue = line.startsWith("Info: measurement start seg 2 ")});
        if (line.startsWith("Info: measurement done  seg 1 ") && passes == 3)
            f.Stop().click();
    });

    f.Play().click();

    EXPECT_EQ(Control<QLabel>(w, "Label3").text(), "3");
    EXPECT_EQ(w.parameters().Value("MaxHold"), "off");
    EXPECT_EQ(f.Lines("Error: ").size(), 1);
    EXPECT_EQ(f.Lines("Warning: Set1: "), L()) << "a segment another pass measured is not missing";
    EXPECT_EQ(xs(), planGrid);
    const L expected = held();
    EXPECT_EQ(w.peakLists(Set1).Lines.stringList(), expected);
    for (const QString& khz : w.peakLists(Set1).Freqs.stringList()) // none far from every emission
        EXPECT_TRUE(std::ranges::any_of(f.sim->Instrument().Spectrum().Lines(),
                                        [&](const auto& l) { return std::fabs(l.frequencyHz / 1000 - khz.toDouble()) < 1000; }));
    Control<QPushButton>(w, "Button8").click(); // "Displ. peaks"
    EXPECT_EQ(w.peakLists(Set1).Lines.stringList(), expected);
    QObject::disconnect(operatorAndFault);
    f.Play().click();
    EXPECT_EQ(Control<QLabel>(w, "Label3").text(), "1");
    EXPECT_TRUE(f.boxes.isEmpty()) << f.boxes.join('|').toStdString();
}

INSTANTIATE_TEST_SUITE_P(Families, MaxHoldRun,
                         ::testing::Combine(::testing::Values("dsa815", "ssa3032x", "fpc1000"), ::testing::Values(1, 2)),
                         [](const auto& p) { return std::get<0>(p.param) + std::to_string(std::get<1>(p.param)); });

class PointsAsTheyCome : public ::testing::TestWithParam<const char*> {}; // "emi" and "emi_fix"

// The second run of a one-segment plan draws part of the segment before it is done: the points
// measured so far on the plan's grid, nothing of the first run (no corrected point, peak, grid row).
// A run cut two points past the first peak by a level that is no number, and one by a frozen
// analyser, keep the points measured, corrected, with their peaks, and say where they were cut.
TEST_P(PointsAsTheyCome, TheChartDrawsThemAndKeepsThemWhenTheSegmentIsCut)
{
    RunWindowFixture f;
    ASSERT_NO_FATAL_FAILURE(StartConnected(f, GetParam()));
    Control<QCheckBox>(*f.w, "CheckBox21").setChecked(true); // "EMI(ZeroSpan)"
    KeepSegments(*f.w, Set1, 1);
    f.Play().click();
    TCustomSeries& raw = *f.w->chart().Series(SeriesRole::rawTrace1);
    const TCustomSeries& corrected = *f.w->chart().Series(SeriesRole::correctedTrace1);
    const PeakLists& peaks = f.w->peakLists(Set1);
    const int full = raw.Count();
    const std::vector<double> grid(raw.XValues().Values().begin(), raw.XValues().Values().end());
    int partial = 0;
    L wrong; // the counts of drawings that show something else
    raw.AfterDrawValues = [&](TChartSeries* s) {
        const auto xs = s->XValues().Values();
        // Not the last result whole, nor the segment complete, nor a drawing after it is done.
        if (xs.empty() || s->Count() == full || f.Lines("Info: measurement done  seg 1 ").size() > 1)
            return;
        ++partial;
        if (s->Count() > full || !std::equal(xs.begin(), xs.end(), grid.begin()) || peaks.Count() > 0 ||
            peaks.Grid.RowCount() > 2 || f.w->chart().Series(SeriesRole::correctedTrace1)->Count() > 0)
            wrong << QString::number(s->Count());
    };
    f.Play().click();
    raw.AfterDrawValues = nullptr;
    EXPECT_TRUE(partial > 1 && raw.Count() == full && peaks.Count() > 0) << partial;
    EXPECT_EQ(wrong, L());
    const auto cut = std::ranges::find(grid, peaks.Freqs.stringList()[0].toDouble()) - grid.begin() + 3;
    Control<QCheckBox>(*f.w, "CheckBox1").click(), f.SetTimeoutMs(400); // "Debug": one line per level read
    Control<QCheckBox>(*f.w, "CheckBox3").setChecked(false); // "MaxFilter" off
    const char* refused = GetParam() == std::string("fpc1000") ? "the level is refused" : "the marker level is refused";
    for (const auto& [faults, why] : {std::pair{SimFaults{.nanValue = true}, refused},
                                      {SimFaults{.freezeAfter = 0}, "the link to the analyser was lost"}}) {
        int read = 0;
        const auto hook = QObject::connect(&f.app.Debug, &DebugLog::LineAppended, [&](const QString& line) {
            if (line.contains(": emi read ") && ++read == cut)
                f.sim->Instrument().SetFaults(faults);
        });
        f.Play().click();
        QObject::disconnect(hook), f.sim->Instrument().SetFaults({});
        const QString at = QString("cut after %1 of %2 points: %3").arg(cut).arg(full).arg(why);
        EXPECT_EQ(f.Lines("Warning: ").mid(f.Lines("Warning: ").size() - 2),
                  L({QString("Warning: seg 1 of %1 ").arg(f.w->segmentTable(Set1).Count) + at,
                     "Warning: Set1: 0 of 1 segments measured whole; in part: seg 1 (" + at + ")"}));
        ASSERT_TRUE(raw.Count() == cut && corrected.Count() == cut) << raw.Count();
        EXPECT_TRUE(std::equal(raw.XValues().Values().begin(), raw.XValues().Values().end(), grid.begin()));
        CorrectionChain chain(f.w->chart().ByRole(), RunSwitches{});
        for (int i = 0; i < cut; ++i)
            EXPECT_NEAR(corrected.GetPointY(i), raw.GetPointY(i) - chain.Sum(raw.GetPointX(i)), 0.005) << i;
        EXPECT_TRUE(peaks.Count() > 0 && peaks.Lines.stringList() == PeaksAboveTheMargin(*f.w)) << why;
    }
}

INSTANTIATE_TEST_SUITE_P(Families, PointsAsTheyCome, ::testing::Values("dsa815", "ssa3032x", "fpc1000"));

// After a radiated project the conducted one ("none" amplifier and antenna) has its own corrections;
// with MaxFilter and a 100 dB margin each 601-point segment lists 38 maxima; raw points are grey.
TEST(WindowRun, CorrectionsPeaksAndColoursAreWhatTheWindowShows)
{
    RunWindowFixture f;
    ASSERT_NO_FATAL_FAILURE(f.Start("dsa815", kRadiated));
    MainWindow& w = *f.w;
    w.chooseProjectFile = [&f](const SaveDialogSettings&, bool) { return f.folder.filePath(QString("src/") + kProject); };
    Control<QAction>(w, "load1").trigger();
    Control<QCheckBox>(w, "CheckBox3").setChecked(true);
    Edit(w, "Margin1[dB]", "100");
    ASSERT_NO_FATAL_FAILURE(f.Connect());
    f.Play().click();

    const MainChart& chart = w.chart();
    EXPECT_EQ(chart.Series(SeriesRole::amplifierCorrection)->Count() + chart.Series(SeriesRole::antennaFactor)->Count(), 0);
    const TCustomSeries& raw = *chart.Series(SeriesRole::rawTrace1);
    const std::span<const double> corrected = chart.Series(SeriesRole::correctedTrace1)->YValues().Values();
    const int points = f.program->Instrument().Device.TracePoints;
    ASSERT_EQ(static_cast<int>(corrected.size()), w.segmentTable(Set1).Count * points);
    CorrectionChain chain(chart.ByRole(), RunSwitches{});
    for (int i = 0; i < raw.Count(); ++i)
        ASSERT_NEAR(raw.GetPointY(i) - corrected[static_cast<size_t>(i)], chain.Sum(raw.GetPointX(i)), 0.005) << i;
    EXPECT_EQ(w.peakLists(Set1).Count(), w.segmentTable(Set1).Count * 38);
    EXPECT_TRUE(raw.PointColors().RunCount() == 1 && raw.PointColors().RunColor(0) == clGray);
    // "MaxFilter" unticked during segment 1 of the next run: from segment 2 on every point is listed
    // (where one segment ends and the next begins, once).
    OnLine(f, "Info: measurement start seg 1 ", [&w] { Control<QCheckBox>(w, "CheckBox3").setChecked(false); });
    f.Play().click();
    EXPECT_EQ(w.peakLists(Set1).Count(), 38 + (w.segmentTable(Set1).Count - 1) * (points - 1) + 1);
}

// After "Info: play" the log says why nothing was measured: no analyser, no segment file, a LISN
// table of random bytes (said at load, refusing either set until its row says "none"), no check.
TEST(WindowRun, RefusedAndEmptyRunsSaySo)
{
    RunWindowFixture f;
    ASSERT_NO_FATAL_FAILURE(f.Start("dsa815", kProject));
    f.Play().click();
    ASSERT_NO_FATAL_FAILURE(f.Connect());
    ASSERT_TRUE(QFile::remove(f.folder.filePath("src/cispr_b_150k-30m_pk.seg")));
    ASSERT_TRUE(testsupport::WriteAll(f.folder.filePath("src/lisn_limiter_10db.lsc"), QByteArray(1024, '\x9c')));
    Control<QAction>(*f.w, "load1").trigger();
    const QString lisn = "LISN File not usable: .\\src\\lisn_limiter_10db.lsc";
    EXPECT_EQ(f.Lines("Error: "), L{"Error: " + lisn + " (it holds no point)"});
    EXPECT_TRUE(f.boxes.contains("Error: " + lisn + " (it holds no point)"));
    f.Play().click();
    Control<QRadioButton>(*f.w, "RadioButton2").setChecked(true);
    KeepSegments(*f.w, Set2, 0);
    f.Play().click();
    Edit(*f.w, "Lisn/Att Cor", "none");
    f.Play().click();
    const QString box = "Seg Count<<: 0   ,maybe no project loaded\nSEG1 File not found: .\\src\\cispr_b_150k-30m_pk.seg";
    EXPECT_EQ(f.Lines("Warning: "), L({"Warning: measurement refused: No device selected or device not supported",
                                        "Warning: measurement refused: " + QString(box).replace('\n', "; "),
                                        "Warning: measurement refused: " + lisn + " (it holds no point)",
                                        "Warning: nothing measured: no segment of Set2 is checked"}));
}

// A table of the project with one level of 1e308 (one flipped exponent bit), a frequency of 0 or a
// level that is no number: "Load Proj" refuses it with one line naming file, row and value, and
// Play refuses to measure without it, saying the same.
TEST(WindowRun, TablesWithImpossibleRowsAreRefusedAtLoadAndAtPlay)
{
    const QString db = "lies outside -200..200 dB";
    for (const auto& [project, file, word, key, value, fault] :
         std::vector<std::tuple<const char*, QString, QString, QString, QString, QString>>{
             {kRadiated, "preamp_20db.amp", "Amplifier", "Lev1", "1e308", "row 1: the level 1e308 " + db},
             {kRadiated, "antenna_biconilog.ant", "Antenna", "Lev1", "1e308", "row 1: the level 1e308 " + db},
             {kRadiated, "cispr32_b_3m_qp.lim", "Limit", "Lev1", "1e308", "row 1: the level 1e308 lies outside -200..300 dBuV"},
             {kProject, "cable_rg58_5m.cac", "Cable", "Lev1", "1e308", "row 1: the level 1e308 " + db},
             {kProject, "lisn_limiter_10db.lsc", "LISN", "Lev1", "1e308", "row 1: the level 1e308 " + db},
             {kProject, "cispr32_b_qp.lim", "Limit", "Freq5", "0", "row 5: the frequency 0 Hz is not above 0 Hz"},
             {kProject, "cable_rg58_5m.cac", "Cable", "Lev3", "1,5,0", "row 3: the level 1,5,0 is no number"},
             // A gap before later rows: the frequency empty or missing.
             {kProject, "cable_rg58_5m.cac", "Cable", "Freq3", "", "row 3: the frequency is empty"},
             {kProject, "lisn_limiter_10db.lsc", "LISN", "Freq2", QString(), "row 2: the frequency is empty"},
             {kProject, "cispr32_b_qp.lim", "Limit", "Freq3", QString(), "row 3: the frequency is empty"},
             {kRadiated, "preamp_20db.amp", "Amplifier", "Freq2", "", "row 2: the frequency is empty"},
             {kRadiated, "antenna_biconilog.ant", "Antenna", "Freq2", QString(), "row 2: the frequency is empty"}}) {
        RunWindowFixture f;
        ASSERT_NO_FATAL_FAILURE(StartConnected(f, "dsa815", project));
        IniFile table(f.folder.filePath("src/" + file));
        value.isNull() ? table.DeleteKey("Data", key) : table.WriteString("Data", key, value);
        ASSERT_TRUE(table.UpdateFile());
        Control<QAction>(*f.w, "load1").trigger();
        const QString refused = word + " File not usable: .\\src\\" + file + " (" + fault + ")";
        EXPECT_EQ(f.Lines("Error: "), L{"Error: " + refused});
        EXPECT_EQ(f.boxes, L{"Error: " + refused}); // the only box, naming the file
        f.Play().click();
        EXPECT_EQ(f.Lines("Warning: "), L{"Warning: measurement refused: " + refused});
        EXPECT_TRUE(f.SimLog().isEmpty()) << f.SimLog().join('|').toStdString();
    }
}

namespace {

// A shipped table written again into the working folder with row `row` typed twice, the copy and
// every row after it `db` higher (0: the same row twice).
void RepeatRow(RunWindowFixture& f, const QString& file, int row, double db)
{
    const QString path = f.folder.filePath("src/" + file);
    QFile::remove(path);
    ASSERT_TRUE(QFile::copy(QStringLiteral(ZENDRIK_SOURCE_DIR "/data/src/") + file, path));
    IniFile t(path);
    const auto key = [](const char* name, int n) { return QString::fromLatin1(name) + QString::number(n); };
    for (int n = static_cast<int>(t.ReadSection("Data").size() / 2); n >= row; --n) {
        t.WriteString("Data", key("Freq", n + 1), t.ReadString("Data", key("Freq", n), ""));
        t.WriteString("Data", key("Lev", n + 1), FormatMachine(t.ReadString("Data", key("Lev", n), "").toDouble() + db));
    }
    ASSERT_TRUE(t.UpdateFile());
}

} // namespace

// The last trace point stands on the plan's stop, where the tables end: it is corrected like the
// point before and lies under the limit line. The cable's 1 MHz row and the antenna's 80 MHz row
// typed twice measure as the clean tables; a second row at one frequency 5 dB higher (the rows
// after it too) is a step, followed above that frequency.
TEST(WindowRun, TheBandEdgeIsCorrectedAndRepeatedRowsMeasureAsTheyRead)
{
    for (const auto& [project, stepFile, stepKhz, sign] : std::vector<std::tuple<const char*, QString, int64_t, double>>{
             {kProject, "cable_rg58_5m.cac", 1000, 1}, {kRadiated, "antenna_biconilog.ant", 80000, -1}}) {
        RunWindowFixture f;
        ASSERT_NO_FATAL_FAILURE(StartConnected(f, "dsa815", project));
        const TCustomSeries& raw = *f.w->chart().Series(SeriesRole::rawTrace1);
        const TCustomSeries& corrected = *f.w->chart().Series(SeriesRole::correctedTrace1);
        const auto corrections = [&] {
            std::vector<double> out; // raw minus corrected: the correction sum at each point
            for (int i = 0; i < raw.Count() && i < corrected.Count(); ++i)
                out.push_back(raw.GetPointY(i) - corrected.GetPointY(i));
            return out;
        };
        f.Play().click();
        const std::vector<double> clean = corrections();
        const int last = corrected.Count() - 1;
        const SegmentTable& plan = f.w->segmentTable(Set1);
        ASSERT_EQ(corrected.GetPointX(last), plan.Segment(plan.Count).StopHz / 1000.0);
        EXPECT_NEAR(clean[static_cast<size_t>(last)], clean[static_cast<size_t>(last) - 1], 1.0) << project;
        const SeriesLevel limit = InterpolateSeries(*f.w->chart().Series(SeriesRole::limitLine1), plan.Segment(plan.Count).StopHz / 1000);
        EXPECT_TRUE(limit.Status == 1 && corrected.GetPointY(last) < limit.Level) << project;
        for (double db : {0.0, 5.0}) {
            for (const QString file : {"cable_rg58_5m.cac", "antenna_biconilog.ant"})
                ASSERT_NO_FATAL_FAILURE(RepeatRow(f, file, 3, file == stepFile ? db : 0));
            Control<QAction>(*f.w, "load1").trigger();
            f.Play().click();
            const std::vector<double> now = corrections();
            ASSERT_EQ(now.size(), clean.size());
            for (int i = 0; i <= last; ++i) {
                const double step = RoundHalfEven(corrected.GetPointX(i)) > stepKhz ? sign * db : 0;
                ASSERT_NEAR(now[static_cast<size_t>(i)], clean[static_cast<size_t>(i)] + step, 0.01)
                    << project << ", " << db << " dB at " << corrected.GetPointX(i);
            }
        }
    }
}

// A segment table with a stop of 5 THz, an RBW of 0 or a sweep time of -5 ms: "Load Proj" and the
// grid's "Seg-Set1" row refuse it in one line naming file, segment and value; Play refuses the set
// with the same reason, and no sweep is started.
TEST(WindowRun, SegmentsNoAnalyserCanBeSetToAreRefusedAtLoadAndAtPlay)
{
    RunWindowFixture f;
    ASSERT_NO_FATAL_FAILURE(StartConnected(f, "dsa815"));
    const QString file = "cispr_b_150k-30m_pk.seg";
    // Columns are read in order: each value damaged is named although the ones before stay damaged.
    for (const auto& [key, value, bound] : std::vector<std::tuple<QString, QString, QString>>{
             {"Sweep_3", "-5", "1..2999999 ms"}, {"BW____3", "0", "1..1000000 Hz"},
             {"FRQb__3", "5.000.000.000.000", "0..1000000000000 Hz"}}) {
        IniFile seg(f.folder.filePath("src/" + file));
        seg.WriteString("Data", key, value);
        ASSERT_TRUE(seg.UpdateFile());
        Control<QAction>(*f.w, "load1").trigger();
        Edit(*f.w, "Seg-Set1", file);
        const QString refused = "SEG1 File holds no segment: .\\src\\" + file + " (Segment File Error Seg: 3 " +
                                key + "=" + value + " lies outside " + bound + ")";
        EXPECT_EQ(f.Lines("Error: ").mid(f.Lines("Error: ").size() - 2), L(2, "Error: " + refused));
        f.Play().click();
        EXPECT_EQ(f.Lines("Warning: ").last(),
                  "Warning: measurement refused: Seg Count<<: 0   ,maybe no project loaded; " + refused);
    }
    EXPECT_FALSE(f.SimLog().contains(":INIT:IMM"));
}

// The 1-6 GHz plan on analysers whose range ends within it: a segment beyond the range is said in
// one line and draws nothing; one the analyser measured in part (a model that clamps) draws only
// that part. Every point on the chart and in the peak list lies where the analyser measured.
struct RangeCase {
    const char* family;
    bool zeroSpan, clamp;
    int from, to; // the checked segments; the last one lies beyond the analyser's range
    const char* said;
};
class BeyondRangeRun : public ::testing::TestWithParam<RangeCase> {};

TEST_P(BeyondRangeRun, OnlyWhatTheAnalyserMeasuredIsDrawn)
{
    const RangeCase& rc = GetParam();
    RunWindowFixture f;
    ASSERT_NO_FATAL_FAILURE(StartConnected(f, rc.family, "radiated_cispr32_b_3m_1g-6g.prj", 1, {.clampRange = rc.clamp}));
    MainWindow& w = *f.w;
    Control<QCheckBox>(w, "CheckBox21").setChecked(rc.zeroSpan);
    CheckListModel& checks = w.segmentChecks(Set1);
    for (int row = 1; row < checks.Count(); ++row)
        checks.SetChecked(row, row >= rc.from && row <= rc.to);
    LevelRecorder recorder(f.sim->Instrument());

    f.Play().click();

    EXPECT_EQ(f.Lines("Warning: "), L({QString("Warning: seg %1 of 10").arg(rc.to) + rc.said,
                                       QString("Warning: Set1: 1 of 2 segments measured whole; %1: seg %2 (beyond the "
                                               "analyser's range)")
                                           .arg(rc.zeroSpan || rc.clamp ? "in part" : "not measured")
                                           .arg(rc.to)}));
    EXPECT_EQ(f.Lines("Info: measurement done  seg ").size(), rc.to - rc.from + (rc.zeroSpan || rc.clamp));
    const TCustomSeries& raw = *w.chart().Series(SeriesRole::rawTrace1);
    ASSERT_EQ(static_cast<size_t>(raw.Count()), recorder.Levels().size());
    ASSERT_GT(raw.Count(), 0);
    const double maxKhz = FindSimFamily(rc.family)->maxHz / 1000;
    EXPECT_LE(std::ranges::max(raw.XValues().Values()), maxKhz);
    for (const QString& khz : w.peakLists(Set1).Freqs.stringList())
        EXPECT_LE(khz.toDouble(), maxKhz);
}

INSTANTIATE_TEST_SUITE_P(
    Families, BeyondRangeRun,
    ::testing::Values(
        RangeCase{"dsa815", false, false, 1, 2,
                  " not measured: the analyser swept 1.500.000.000-1.500.000.000 Hz for the planned "
                  "1.500.000.000-2.000.000.000 Hz, which lies beyond its range; nothing is drawn"},
        RangeCase{"dsa815", true, false, 1, 2,
                  ": the analyser did not tune to 600 of the 601 planned frequencies "
                  "(1.500.831.947-1.999.168.053 Hz), beyond its range; they are not drawn"},
        RangeCase{"ssa3032x", false, true, 4, 5,
                  ": the analyser swept 3.000.000.000-3.200.000.000 Hz for the planned "
                  "3.000.000.000-3.500.000.000 Hz; only 3.000.000.000-3.200.000.000 Hz is drawn"},
        RangeCase{"fph", false, false, 2, 3,
                  " not measured: the analyser swept 2.000.000.000-2.000.000.000 Hz for the planned "
                  "2.000.000.000-2.500.000.000 Hz, which lies beyond its range; nothing is drawn"}),
    [](const auto& p) { return p.param.family + std::string(p.param.zeroSpan ? "_points" : ""); });

// With the preamplifier choice hidden (no "PreAmpBox" in the settings), a segment plan measures
// as it is written: "seg" is the starting choice.
TEST(WindowRun, ARadiatedPlanSwitchesThePreamplifierAsItsSegmentsSay)
{
    RunWindowFixture f;
    ASSERT_NO_FATAL_FAILURE(StartConnected(f, "dsa815", kRadiated));
    MainWindow& w = *f.w;
    EXPECT_TRUE(Control<QGroupBox>(w, "GroupBox8").isHidden());
    EXPECT_TRUE(Control<QRadioButton>(w, "RadioButton3").isChecked());
    KeepSegments(w, Set1, 2);
    ASSERT_EQ(w.segmentTable(Set1).Segment(1).PreAmp, "on");

    f.Play().click();

    for (int i = 1; i <= 2; ++i) {
        const L log = f.SimLog(f.Mark("start", i), f.Mark("done", i));
        EXPECT_TRUE(log.contains(":SENS:POW:GAIN ON")) << log.join('|').toStdString();
        EXPECT_FALSE(log.contains(":SENS:POW:GAIN OFF")) << i;
    }
    EXPECT_EQ(f.program->Instrument().Device.Echo.PreAmpText, "ON");
}

// What an operator may get wrong changes nothing on the chart: a file that is no project, a
// project whose limit file is missing, a set without segments (with "MaxHold" on).
TEST(WindowRun, MistakesLeaveTheResultsAsTheyWere)
{
    RunWindowFixture f;
    ASSERT_NO_FATAL_FAILURE(StartConnected(f, "dsa815"));
    MainWindow& w = *f.w;
    KeepSegments(w, Set1, 2);
    f.Play().click();
    const MainChart& chart = w.chart();
    const int raw = chart.Series(SeriesRole::rawTrace1)->Count();
    const L peaks = w.peakLists(Set1).Lines.stringList();
    ASSERT_GT(raw, 0);
    ASSERT_FALSE(peaks.isEmpty());
    const QString caption = w.windowTitle();
    const QString lastProject = f.folder.filePath("emc_prj.ini");
    const QByteArray last = testsupport::ReadAll(lastProject);
    const auto unchanged = [&](const char* what) {
        EXPECT_EQ(chart.Series(SeriesRole::rawTrace1)->Count(), raw) << what;
        EXPECT_EQ(chart.Series(SeriesRole::correctedTrace1)->Count(), raw) << what;
        EXPECT_EQ(w.peakLists(Set1).Lines.stringList(), peaks) << what;
    };

    // Files that are no project: one box each, naming it; grid, caption and last project stay.
    const QString limit = w.parameters().Value("Limit1");
    QString chosen;
    w.chooseProjectFile = [&](const SaveDialogSettings&, bool) { return chosen; };
    testsupport::WriteAll(f.folder.filePath("src/notes.prj"), "Things to measure next week:\nthe power supply\n");
    QByteArray noise(4096, 0);
    for (qsizetype i = 0; i < noise.size(); ++i)
        noise[i] = static_cast<char>((i * 7919 + 13) & 0xFF);
    testsupport::WriteAll(f.folder.filePath("src/noise.prj"), noise);
    for (const char* name : {"notes.prj", "noise.prj"}) {
        f.boxes.clear();
        chosen = f.folder.filePath(QStringLiteral("src/") + name);
        Control<QAction>(w, "load1").trigger();
        EXPECT_EQ(f.boxes, L{"No project file (no [SetUp] section): " + QString::fromLatin1(name)});
        EXPECT_EQ(w.parameters().Value("Limit1"), limit) << name;
        EXPECT_EQ(w.windowTitle(), caption) << name;
        EXPECT_EQ(testsupport::ReadAll(lastProject), last) << name;
        unchanged(name);
    }

    // The project again, its limit file gone: Play names it and measures nothing.
    ASSERT_TRUE(QFile::remove(f.folder.filePath("src/" + limit)));
    chosen = f.folder.filePath(QStringLiteral("src/") + kProject);
    f.boxes.clear();
    Control<QAction>(w, "load1").trigger();
    KeepSegments(w, Set1, 2);
    const QString missing = "Limit File not found: .\\src\\" + limit;
    EXPECT_EQ(f.boxes, L{missing});
    f.sim->Instrument().ClearCommandLog();
    f.boxes.clear();
    f.Play().click();
    EXPECT_EQ(f.boxes, L{missing});
    unchanged("missing limit");

    // Set 2 without a segment file, "MaxHold" on: one box, nothing sent, nothing cleared.
    Edit(w, "Seg-Set2", "none");
    Edit(w, "MaxHold", "on");
    Control<QRadioButton>(w, "RadioButton2").click();
    f.boxes.clear();
    f.Play().click();
    EXPECT_EQ(f.boxes, L{"Seg Count<<: 0   ,maybe no project loaded"});
    unchanged("no segments");
    EXPECT_EQ(chart.Series(SeriesRole::rawTrace2)->Count(), 0);
    EXPECT_TRUE(f.SimLog().isEmpty()) << f.SimLog().join('|').toStdString();
    EXPECT_EQ(ControlsOf(w), kIdle);
}

// The simulator's line at 5 MHz (seed 152) sits on a segment boundary: the trace keeps both points,
// the peak grid one row at the higher level. Another plan takes the results with it, so no report
// prints the conducted peaks beside the radiated chart.
TEST(WindowRun, OneEmissionOneRowAndOnePlanPerReport)
{
    RunWindowFixture f;
    ASSERT_NO_FATAL_FAILURE(StartConnected(f, "dsa815", kProject, 152));
    MainWindow& w = *f.w;
    f.Play().click();
    const TCustomSeries& corrected = *w.chart().Series(SeriesRole::correctedTrace1);
    std::vector<double> atBoundary;
    for (int i = 0; i < corrected.Count(); ++i)
        if (std::fabs(corrected.GetPointX(i) - 5000) < 0.005)
            atBoundary.push_back(corrected.GetPointY(i));
    ASSERT_EQ(atBoundary.size(), 2u);
    PeakLists& peaks = w.peakLists(Set1);
    L freqs = peaks.Freqs.stringList();
    const qsizetype row = freqs.indexOf("5000.00");
    EXPECT_EQ(freqs.removeDuplicates(), 0);
    EXPECT_EQ(peaks.Grid.Cell(row + 2, 2), QString::number(std::max(atBoundary[0], atBoundary[1]), 'f', 2));

    w.chooseProjectFile = [&](const SaveDialogSettings&, bool) { return f.folder.filePath("src/radiated_cispr32_b_3m.prj"); };
    Control<QAction>(w, "load1").trigger();
    EXPECT_EQ(w.chart().Series(SeriesRole::rawTrace1)->Count() + corrected.Count() + peaks.Count(), 0);
    EXPECT_EQ(peaks.Grid.RowCount(), 2);
}

// An analyser switched off (its simulator stopped) during a run: the run ends at once with the
// lost link, and Play refuses until it is connected again.
TEST(WindowRun, AnAnalyserThatGoesAwayEndsTheRunAsALostLink)
{
    for (const char* family : {"rsa5065", "fpc1000"}) {
        SCOPED_TRACE(family);
        RunWindowFixture f;
        ASSERT_NO_FATAL_FAILURE(StartConnected(f, family));
        MainWindow& w = *f.w;
        OnLine(f, "Info: measurement start seg 2 ", [&f] { f.sim->Stop(); });

        f.Play().click();

        EXPECT_EQ(f.Lines("Error: "), L{"Error: the link to the analyser was lost, measurement stopped"});
        EXPECT_EQ(f.Lines("Info: measurement start seg ").size(), 2);
        EXPECT_EQ(f.program->Instrument().Device.DeviceConnected, 0);
        EXPECT_EQ(ControlsOf(w), kIdle);
        f.Play().click();
        EXPECT_EQ(f.boxes, L{"No device selected or device not supported"});
    }
}

namespace {

struct FaultCase {
    const char* name;
    const char* family;
    const char* faults;
    // The lines the fault ends with, in order ("Error: " and the run's stop lines).
    L lines;
    // Stop is pressed after this many real milliseconds (0: the run ends by itself).
    int stopAfterMs = 0;
    // Whether the analyser still counts as connected afterwards.
    bool staysConnected = false;
};

class FaultWindowRun : public ::testing::TestWithParam<FaultCase> {};

} // namespace

// Every injected fault ends the segment or the run with its line, without a hang and without a
// box; the window stays usable afterwards.
TEST_P(FaultWindowRun, EndsWithItsLineAndTheWindowStaysUsable)
{
    const FaultCase& fc = GetParam();
    RunWindowFixture f;
    ASSERT_NO_FATAL_FAILURE(StartConnected(f, fc.family));
    MainWindow& w = *f.w;
    KeepSegments(w, Set1, 2);
    f.SetTimeoutMs(100);
    SimFaults faults;
    QString error;
    ASSERT_TRUE(faults.Parse(QString::fromLatin1(fc.faults), &error)) << error.toStdString();
    f.sim->Instrument().SetFaults(faults);
    if (fc.stopAfterMs > 0)
        QTimer::singleShot(fc.stopAfterMs, &w, [&f] { f.Stop().click(); });

    f.Play().click();

    L ending;
    for (const QString& l : f.app.Messages.Lines())
        if (l.startsWith("Error: ") || (l.startsWith("Warning: ") && !l.startsWith("Warning: Set1: ")) ||
            l == "Info: measurement stopped" || l == "Info: measurement waiting to stop")
            ending << l;
    EXPECT_EQ(ending, fc.lines);
    EXPECT_TRUE(f.boxes.isEmpty()) << f.boxes.join('|').toStdString();
    const bool faulty = !fc.lines.filter("Error: ").isEmpty(); // no whole trace: not drawn, listed, "done"
    EXPECT_EQ(f.Lines("Info: measurement done").size(), faulty ? 0 : 2);
    EXPECT_EQ(w.chart().Series(SeriesRole::rawTrace1)->Count() + w.peakLists(Set1).Count() == 0, faulty);
    EXPECT_EQ(ControlsOf(w), kIdle);
    EXPECT_EQ(f.program->Instrument().Device.DeviceConnected, fc.staysConnected ? 1 : 0);

    // Usable: the peaks are recomputed from what was measured; an analyser the fault took away is
    // refused by Play; connected again, the next run measures both segments.
    Control<QPushButton>(w, "Button8").click();
    EXPECT_EQ(w.chart().Series(SeriesRole::correctedTrace1)->Count(), w.chart().Series(SeriesRole::rawTrace1)->Count());
    f.sim->Instrument().SetFaults({});
    if (f.program->Instrument().Device.DeviceConnected == 0) {
        f.Play().click();
        EXPECT_EQ(f.boxes, L({"No device selected or device not supported"}));
    }
    ASSERT_NO_FATAL_FAILURE(f.Connect());
    const qsizetype done = f.Lines("Info: measurement done  seg 2 ").size();
    LevelRecorder recorder(f.sim->Instrument());
    f.Play().click();
    EXPECT_EQ(f.Lines("Info: measurement done  seg 2 ").size(), done + 1);
    EXPECT_GT(w.chart().Series(SeriesRole::rawTrace1)->Count(), f.program->Instrument().Device.TracePoints);
    EXPECT_EQ(static_cast<size_t>(w.chart().Series(SeriesRole::rawTrace1)->Count()), recorder.Levels().size());
    EXPECT_EQ(ControlsOf(w), kIdle);
}

namespace {

// The lines of a fault that ends the run: its error, then the stop.
L Ended(const QString& error) { return {error, "Info: measurement waiting to stop", "Info: measurement stopped"}; }
const QString kLostLine = "Error: the link to the analyser was lost, measurement stopped";
const QString kWrongTrace = "Error: Visa RD Error Maxsample";
const QString kImpossible = "Error: the analyser sent a level of %1 dBm; the trace is refused";
const QString kNoSweepEnd = "Error: the analyser reported no end of its sweep within %1 s, measurement stopped";

} // namespace

INSTANTIATE_TEST_SUITE_P(
    Faults, FaultWindowRun,
    ::testing::Values(
        FaultCase{"WrongSize", "dsa815", "block-short", Ended(kWrongTrace)},
        FaultCase{"TimeOut", "ssa3032x", "no-answer", Ended(kLostLine)},
        FaultCase{"NeverCompletingSweep", "fpc1000", "no-sweep-end", Ended(kNoSweepEnd.arg(71)), 0, true},
        FaultCase{"NeverCompletingSweepRsa", "rsa5065", "no-sweep-end", Ended(kNoSweepEnd.arg(7)), 0, true},
        FaultCase{"UnbelievableSweepTime", "ssa3032x", "sweep-time=3599",
                  L(2, "Warning: the analyser's sweep time of 3599 s is not believed, the set 0.25 s is used"), 0, true},
        // A level no analyser measures (1e308, the largest float) ends the run naming it, the analyser
        // still connected; a value that is no number makes a faulty segment, and the run goes on.
        FaultCase{"ImpossibleLevel", "dsa815", "huge", Ended(kImpossible.arg("3.40282e+38")), 0, true},
        FaultCase{"ImpossibleLevelRsa", "rsa5065", "huge", Ended(kImpossible.arg("3.40282e+38")), 0, true},
        FaultCase{"ImpossibleLevelSiglent", "ssa3032x", "huge", Ended(kImpossible.arg("1e+308")), 0, true},
        FaultCase{"ImpossibleLevelReceiver", "fpc1000", "huge", Ended(kImpossible.arg("1e+308")), 0, true},
        FaultCase{"NoNumber", "dsa815", "nan", L(2, "Error: IEEE-Conversion-ERROR:1, check DSA firmware version"), 0, true},
        FaultCase{"NoNumberSiglent", "ssa3032x", "nan", L(2, "Error: trace value is no number after point 375"), 0, true},
        FaultCase{"NoNumberReceiver", "fpc1000", "nan", L(2, "Error: trace value is no number after point 300"), 0, true},
        // A link that is gone ends the run at once with one line, and the analyser no longer
        // counts as connected, on every family.
        FaultCase{"DroppedLink", "rsa5065", "drop", Ended(kLostLine)},
        FaultCase{"DroppedLinkReceiver", "fpc1000", "drop=15", Ended(kLostLine)},
        FaultCase{"DroppedLinkSiglent", "ssa3032x", "drop=15", Ended(kLostLine)},
        // Reads the analyser holds past their time-out until the program aborts them.
        FaultCase{"ReadPastTimeOut", "dsa815", "read-hang,no-answer", Ended(kLostLine)}),
    [](const ::testing::TestParamInfo<FaultCase>& p) { return std::string(p.param.name); });
