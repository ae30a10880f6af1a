// The zoom handler's rules and the fader's store, the logarithmic axis' decades, the mode switch
// and the arrow keys, and the form of the release history.
#include "app/Log.h"
#include "common/TestSupport.h"
#include "mainwindow/AxisLabelRules.h"
#include "mainwindow/MainMode.h"
#include "mainwindow/WhatsNew.h"
#include "mainwindow/ZoomRules.h"
#include "measurement/SmoothRangeStore.h"

#include <gtest/gtest.h>
#include <vector>

namespace {

struct ZoomFixture : ::testing::Test {
    DebugLog debug;
    MessageLog messages;
    SmoothRangeStore store;
    std::vector<QString> calls; // "s from to" and "u from to"
    SetSmoothing smoothing{
        [this](double a, double b) { calls.push_back(QStringLiteral("s %1 %2").arg(a).arg(b)); },
        [this](double a, double b) { calls.push_back(QStringLiteral("u %1 %2").arg(a).arg(b)); }};
    const ChartBounds frozen{{-11, 120}, {9, 30000}};

    ZoomFixture()
    {
        debug.DebugMode = 1;
        debug.TimeText = [] { return QStringLiteral("T"); };
    }

    ZoomOutcome Drag(double from, double to, FaderMode fader = FaderMode::Zoom, bool zoomY = false,
                     bool logarithmic = false)
    {
        ZoomRequest r;
        r.Zoomed = {{20, 60}, {from, to}};
        r.Frozen = frozen;
        r.Fader = fader;
        r.ZoomY = zoomY;
        r.BottomLogarithmic = logarithmic;
        return ApplyZoomRules(r, store, smoothing, debug, messages);
    }
};

} // namespace

TEST_F(ZoomFixture, WholeKilohertzAndTheSmallestSpanSetAsOnePair)
{
    ZoomOutcome z = Drag(150000.4, 150040.4);
    EXPECT_EQ(z.Bounds.Bottom, (AxisRange{150000, 150100}));
    EXPECT_EQ(z.Bounds.Left, frozen.Left);
    EXPECT_FALSE(z.FixLabelSpacing);
    EXPECT_EQ(messages.Lines(), QStringList{"Info: maximum zoom reached at 100kHz"});

    // Inside one kHz both bounds round to the same value: the pair that results is valid.
    z = Drag(100.3, 100.4);
    EXPECT_EQ(z.Bounds.Bottom, (AxisRange{100, 200}));

    messages.Clear();
    z = Drag(1000, 1100, FaderMode::Zoom, true);
    EXPECT_EQ(z.Bounds, (ChartBounds{{20, 60}, {1000, 1100}}));
    EXPECT_TRUE(z.FixLabelSpacing);
    EXPECT_FALSE(Drag(1000, 1100, FaderMode::Zoom, false, true).FixLabelSpacing);
    EXPECT_TRUE(messages.Lines().isEmpty());
    EXPECT_TRUE(debug.Lines().contains("T: OnZoom--> Zooming Span:100"));
}

TEST_F(ZoomFixture, FadeClearAndClearLastKeepTheStoreInStep)
{
    EXPECT_EQ(FaderModeAfterClick(FaderMode::Fade, FaderMode::Clear, true), FaderMode::Clear);
    EXPECT_EQ(FaderModeAfterClick(FaderMode::Clear, FaderMode::Clear, false), FaderMode::Zoom);
    // A fade rectangle smooths its range and leaves the view as it was.
    ZoomOutcome z = Drag(1000.4, 2000.6, FaderMode::Fade);
    EXPECT_EQ(z.Bounds, (ChartBounds{frozen.Left, {9, 30000}}));
    Drag(5000, 6000, FaderMode::Fade);
    ASSERT_EQ(store.Count, 2);
    EXPECT_EQ(store.Range(1).FromX, 1000.4);
    // Inside an earlier range, or touching its end: refused.
    Drag(1500, 1600, FaderMode::Fade);
    Drag(6000, 7000, FaderMode::Fade);
    EXPECT_EQ(store.Count, 2);
    EXPECT_EQ(calls, (std::vector<QString>{"s 1000.4 2000.6", "s 5000 6000"}));
    EXPECT_EQ(debug.Lines().filter("fade in fade not possible").size(), 2);

    // "clr" undoes what it touches; the undone range no longer blocks a fade.
    calls.clear();
    Drag(1900, 5100, FaderMode::Clear);
    EXPECT_EQ(calls, (std::vector<QString>{"u 1000.4 2000.6", "u 5000 6000"}));
    EXPECT_EQ(store.Count, 2);
    EXPECT_EQ(store.Range(2).State, -1);
    Drag(1500, 1600, FaderMode::Fade);
    EXPECT_EQ(store.Count, 3);

    // "clear last" undoes only what is still smoothed, and shortens the store either way.
    calls.clear();
    EXPECT_TRUE(ClearLastSmoothRange(store, smoothing, debug));
    EXPECT_TRUE(ClearLastSmoothRange(store, smoothing, debug));
    EXPECT_EQ(calls, (std::vector<QString>{"u 1500 1600"}));
    EXPECT_EQ(store.Count, 1);
    store.Count = 0;
    EXPECT_FALSE(ClearLastSmoothRange(store, smoothing, debug));
    EXPECT_TRUE(debug.Lines().last().endsWith("unsmooth manual: nothing to do"));
}

TEST_F(ZoomFixture, FullStoreRefusesAFadeThatCouldNotBeUndone)
{
    for (int i = 0; i < SmoothRangeStore::kCapacity; ++i)
        Drag(1000 + 200 * i, 1100 + 200 * i, FaderMode::Fade);
    ASSERT_EQ(store.Count, 100);
    calls.clear();
    Drag(100000, 100500, FaderMode::Fade);
    EXPECT_TRUE(calls.empty());
    EXPECT_EQ(store.Count, 100);
    EXPECT_TRUE(messages.Lines().last().startsWith("Info: "));
    // "clear last" then undoes the 100th range, the last one made.
    ClearLastSmoothRange(store, smoothing, debug);
    EXPECT_EQ(calls, (std::vector<QString>{"u 20800 20900"}));
}

TEST(AxisLabels, LogarithmicDecadesAndTheSwitchToLinear)
{
    auto labels = [](double minimum, double maximum, bool* switched) {
        std::vector<double> out;
        double value = minimum;
        for (int index = 0; index < 20; ++index) {
            const LogLabelStep step = NextLogAxisLabel(minimum, maximum, index, value);
            *switched = step.SwitchToLinear;
            if (step.Stop)
                break;
            out.push_back(value);
        }
        return out;
    };
    bool switched = false;
    EXPECT_EQ(labels(150, 30000, &switched), (std::vector<double>{100, 1000, 10000}));
    EXPECT_FALSE(switched);
    EXPECT_EQ(labels(9, 30000, &switched), (std::vector<double>{1, 10, 100, 1000, 10000}));
    EXPECT_TRUE(labels(1000000, 9000000, &switched).empty());
    EXPECT_TRUE(switched);
    EXPECT_EQ(LogAxisStartDecade(99999), 10000);
}

TEST(MainMode, ArrowKeysStepTheGeneratorOnlyInItsModeAndOutsideTheMemos)
{
    EXPECT_FALSE(ArrowKeyInMainWindow(MainMode::Emc, false, Qt::Key_Up).DebugLine);
    const ArrowKeyOutcome up = ArrowKeyInMainWindow(MainMode::Generator, false, Qt::Key_Up);
    EXPECT_EQ(up.Step, ManualStep::AmplitudeUp);
    EXPECT_TRUE(up.Consumed);
    EXPECT_EQ(up.DebugLine, "key: hinauf");
    EXPECT_EQ(ArrowKeyInMainWindow(MainMode::Generator, false, Qt::Key_Left).Step, ManualStep::FrequencyDown);
    const ArrowKeyOutcome inMemo = ArrowKeyInMainWindow(MainMode::Generator, true, Qt::Key_Down);
    EXPECT_EQ(inMemo.Step, ManualStep::None);
    EXPECT_FALSE(inMemo.Consumed);
    EXPECT_EQ(inMemo.DebugLine, "key: ");
    EXPECT_FALSE(FrameSizeAfterResize(true, QSize(800, 480), 20));
}

TEST(WhatsNew, ShippedHistoryHasTheFormAndFaultsAreFound)
{
    const QString history = WhatsNewHistory();
    ASSERT_FALSE(history.isEmpty());
    EXPECT_TRUE(history.startsWith("Whats New V04.12 150219\n"));
    EXPECT_EQ(WhatsNewFormatErrors(history), QStringList());

    const QString good = "Whats New V04.12 150219\n   -add: one\n-----\nWhats New V04.11 010119\n   -fixed two\n";
    ASSERT_EQ(WhatsNewFormatErrors(good), QStringList());
    auto faulty = [&good](const QString& from, const QString& to) {
        QString t = good;
        t.replace(from, to);
        return WhatsNewFormatErrors(t);
    };
    EXPECT_EQ(faulty("V04.12 150219", "V04.13 150219"), QStringList{"line 1: the newest release is not V04.12"});
    EXPECT_EQ(faulty("010119", "320119").size(), 1);
    EXPECT_EQ(faulty("010119", "010120").size(), 1);  // older release dated later
    EXPECT_EQ(faulty("-fixed two", "-fixes two").size(), 2); // the line, and a release without entries
    EXPECT_EQ(faulty("   -add: one", "-add: one").size(), 2); // not indented: no entry left either
    EXPECT_EQ(faulty("-----\n", "").size(), 1);
    EXPECT_EQ(faulty("V04.11", "V04.12").size(), 1);
}
