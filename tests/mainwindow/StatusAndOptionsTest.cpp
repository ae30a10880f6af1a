// The status line with a fake clock, the level units, the segment lists' "All" row and the
// drawing order of "trace on top".
#include "app/NumberText.h"
#include "chart/engine/ChartSeries.h"
#include "chart/engine/ChartSeriesList.h"
#include "common/TestSupport.h"
#include "datafiles/CheckListModel.h"
#include "instrument/DeviceState.h"
#include "mainwindow/AxisLabelRules.h"
#include "mainwindow/LevelUnits.h"
#include "mainwindow/MainWindowState.h"
#include "mainwindow/SegmentChecks.h"
#include "mainwindow/StatusLine.h"
#include "mainwindow/TraceOnTop.h"
#include "measurement/MeasurementState.h"

#include <gtest/gtest.h>
#include <deque>

namespace {

QStringList Names(std::initializer_list<int> numbers)
{
    QStringList out;
    for (int n : numbers)
        out << QStringLiteral("Series%1").arg(n);
    return out;
}

const QStringList kBelowPairs = Names({24, 1, 2, 3, 4, 5, 6, 8, 10, 11, 14, 15, 16, 17, 18, 23});

QStringList CreationOrder()
{
    QStringList all;
    for (int n = 1; n <= 29; ++n)
        all << QStringLiteral("Series%1").arg(n);
    return all;
}

} // namespace

TEST(StatusLine, PanelsAndCountdownWithAFakeClock)
{
    InstrumentSettingsEcho echo;
    MeasurementState run;
    StatusLineSources sources;
    sources.Now = [] { return QTime(9, 5, 3); };
    sources.TotalMemory = [] { return uint64_t{16} << 30; };
    sources.AvailableMemory = [] { return uint64_t{4} << 30; };
    sources.ScreenSize = [] { return QSize(1920, 1080); };
    sources.WindowSize = [] { return QSize(1340, 706); };

    run.RemainingMeasureSeconds = 3662;
    StatusLineTexts t = StatusLineTick(echo, run, 0, sources);
    EXPECT_EQ(t.SettingsPanel, "");
    EXPECT_EQ(t.ClockPanel, "09:05:03       ");
    EXPECT_EQ(t.MemoryPanel, "16.384MB :4.096MB :75");
    EXPECT_EQ(t.TimeLeft, "01:01:01");
    EXPECT_EQ(run.RemainingMeasureSeconds, 3661u);

    // Paused: the countdown holds.
    run.PauseRequested = 1;
    EXPECT_EQ(StatusLineTick(echo, run, 0, sources).TimeLeft, "01:01:01");
    EXPECT_EQ(run.RemainingMeasureSeconds, 3661u);
    run.PauseRequested = 0;

    // Debug mode: the sizes instead of the memory, and "*" after a point from the master curve.
    run.CorFastPath = 1;
    t = StatusLineTick(echo, run, 1, sources);
    EXPECT_EQ(t.MemoryPanel, "1920x1080--1340x706");
    EXPECT_EQ(t.TimeLeft, "01:01:00*");

    // A day and more keeps its hours; zero stays zero.
    EXPECT_EQ(RemainingTimeText(90000), "25:00:00");
    run = MeasurementState{};
    EXPECT_EQ(StatusLineTick(echo, run, 0, sources).TimeLeft, "00:00:00");

    // Memory that cannot be read shows none in use.
    EXPECT_EQ(MemoryText(0, 0), "0MB :0MB :0");
}

TEST(StatusLine, SettingsEchoInSweepOrderWithoutEmptyTexts)
{
    InstrumentSettingsEcho echo;
    echo.PreAmpText = "ON";
    echo.DetectorText = "POS";
    echo.StartText = "150000";
    echo.RbwText = "9000";
    EXPECT_EQ(SettingsEchoText(echo), "L:150000Hz Bw:9000Hz POS PA:ON");
    echo.StopText = "3E7";
    echo.CenterText = "1";
    echo.SpanText = "2";
    echo.SweepText = "0.25";
    EXPECT_EQ(SettingsEchoText(echo), "L:150000Hz R:3E7Hz C:1Hz Sp:2Hz Bw:9000Hz POS Sw:0.25sec PA:ON");
}

TEST(LevelUnits, BoxesAlwaysLeaveOneUnitAndLabelsFollowIt)
{
    MainWindowState state;
    EXPECT_EQ(state.LevelUnitOffset, 0);
    const QString micro = QString(QChar(0x00B5));
    EXPECT_EQ(state.LevelUnitName, "dB" + micro + "V");
    EXPECT_EQ(ApplyLevelUnit(state, LevelUnit::dBuV), "dB" + micro + "V  (dB" + micro + "V/m, dB" + micro + "A)");

    LevelUnit unit = UnitAfterBoxClick(LevelUnit::dBuV, LevelUnit::dBm, true);
    EXPECT_EQ(ApplyLevelUnit(state, unit), "dBm");
    EXPECT_EQ(state.LevelUnitOffset, -107);
    EXPECT_EQ(state.LevelUnitName, "dBm");
    // A click on the ticked box unticks it; it is chosen all the same.
    unit = UnitAfterBoxClick(unit, LevelUnit::dBm, false);
    EXPECT_EQ(unit, LevelUnit::dBm);
    EXPECT_EQ(LevelUnitOfOffset(state.LevelUnitOffset), LevelUnit::dBm);
    EXPECT_EQ(LevelAxisLabel("100", state.LevelUnitOffset), "-7");

    ApplyLevelUnit(state, UnitAfterBoxClick(unit, LevelUnit::dBpW, true));
    EXPECT_EQ(state.LevelUnitOffset, -17);
    EXPECT_EQ(LevelAxisLabel("60", state.LevelUnitOffset), "43");

    // The chart's repaint leaves "," as the process mark: labels in either form are offset.
    ScopedDecimalSeparator comma(QLatin1Char(','));
    EXPECT_EQ(LevelAxisLabel("12,6", -107), "-94");
    EXPECT_EQ(LevelAxisLabel("12.6", -107), "-94");
    EXPECT_EQ(LevelAxisLabel("dB", -107), "dB");
    EXPECT_EQ(FrequencyAxisLabel("2500,0", true), "2,500 MHz");
    EXPECT_EQ(FrequencyAxisLabel("150,5", false), "150 kHz");
}

TEST(SegmentChecks, AllRowFollowsTheSegmentsAndSetsThem)
{
    CheckListModel list;
    for (const char* row : {"All", "1", "2", "3", "4"})
        list.AddRow(QLatin1String(row), true);
    auto checks = [&list] {
        QString s;
        for (int i = 0; i < list.Count(); ++i)
            s += list.Checked(i) ? QLatin1Char('x') : QLatin1Char('-');
        return s;
    };
    list.SetChecked(3, false);
    ApplySegmentCheck(list, 3);
    EXPECT_EQ(checks(), "-xx-x");
    list.SetChecked(3, true);
    ApplySegmentCheck(list, 3);
    EXPECT_EQ(checks(), "xxxxx");
    list.SetChecked(0, false);
    ApplySegmentCheck(list, 0);
    EXPECT_EQ(checks(), "-----");
    list.SetChecked(2, true);
    ApplySegmentCheck(list, 2);
    EXPECT_EQ(checks(), "--x--");
    list.SetChecked(0, true);
    ApplySegmentCheck(list, 0);
    EXPECT_EQ(checks(), "xxxxx");
}

TEST(TraceOnTop, ClickedPairGoesLastAndAlternates)
{
    MainWindowState state;
    const QStringList rest = Names({25, 26, 27, 28, 29});
    QStringList order = TraceOnTopOrder(CreationOrder(), TopTracePair::Chart, state.TraceOnTopToggle);
    EXPECT_EQ(order, kBelowPairs + Names({12, 13, 19, 20, 21, 22, 7, 9}) + rest);
    order = TraceOnTopOrder(order, TopTracePair::Chart, state.TraceOnTopToggle);
    EXPECT_EQ(order, kBelowPairs + Names({12, 13, 19, 20, 21, 22, 9, 7}) + rest);
    // The one byte is shared by the four labels.
    order = TraceOnTopOrder(order, TopTracePair::Trace1, state.TraceOnTopToggle);
    EXPECT_EQ(order, kBelowPairs + Names({7, 9, 19, 20, 21, 22, 12, 13}) + rest);

    // Whatever the chart holds, the result is a permutation of it: series the order does not
    // name, and unnamed ones, stay behind.
    const QStringList odd = Names({27, 9, 1, 99, 13, 5, 22, 7, 3}) << QString() << QString();
    EXPECT_EQ(TraceOnTopOrder(odd, TopTracePair::Trace3, state.TraceOnTopToggle),
              Names({1, 3, 5, 7, 9, 13, 22, 27, 99}) << QString() << QString());
    const QStringList few = Names({9, 7, 1});
    EXPECT_EQ(TraceOnTopOrder(few, TopTracePair::Chart, state.TraceOnTopToggle), few);
}

TEST(TraceOnTop, ReordersTheChartsSeriesList)
{
    std::deque<TChartSeries> series(29);
    TChartSeriesList list;
    for (int n = 1; n <= 29; ++n) {
        series[static_cast<size_t>(n - 1)].SetName(QStringLiteral("Series%1").arg(n));
        list.Add(&series[static_cast<size_t>(n - 1)]);
    }
    bool toggle = false;
    PutTraceOnTop(list, TopTracePair::Trace2, toggle);
    QStringList names;
    for (int i = 0; i < list.Count(); ++i)
        names << list[i]->Name();
    EXPECT_EQ(names, kBelowPairs + Names({7, 9, 12, 13, 21, 22, 19, 20, 25, 26, 27, 28, 29}));
    EXPECT_EQ(list[22], &series[18]);
}
