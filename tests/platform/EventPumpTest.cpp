#include "platform/system/EventPump.h"
#include "platform/system/TerminationSignals.h"

#include <QTimer>
#include <csignal>
#include <vector>
#include <gtest/gtest.h>

TEST(EventPump, VirtualWaitAdvancesClockAndRunsDueActions)
{
    VirtualEventPump pump(100);
    int fired = 0;
    pump.Schedule(30, [&] { ++fired; });
    WaitMs(pump, 50);
    EXPECT_EQ(pump.TickCount(), 150u);
    EXPECT_EQ(fired, 1);
}

TEST(EventPump, WaitSurvivesTickWrap)
{
    // Start 10 ms before the 32-bit tick counter wraps: the wait must last exactly 40 ms.
    VirtualEventPump pump(0xFFFFFFF6u);
    WaitMs(pump, 40);
    EXPECT_EQ(pump.TickCount(), 30u);
}

TEST(EventPump, ZeroWaitReturnsAtOnce)
{
    VirtualEventPump pump(5);
    WaitMs(pump, 0);
    EXPECT_EQ(pump.TickCount(), 5u);
    EXPECT_EQ(pump.Waits(), 0u);
}

TEST(EventPump, RealWaitHandlesEventsAndDoesNotEndEarly)
{
    QtEventPump pump;
    bool timerRan = false;
    QTimer::singleShot(5, [&] { timerRan = true; });
    const uint32_t start = pump.TickCount();
    WaitMs(pump, 30);
    EXPECT_TRUE(timerRan);
    EXPECT_GE(pump.TickCount() - start, 30u);
}

TEST(EventPump, WakeEndsTheCurrentWaitEarly)
{
    QtEventPump pump;
    QTimer::singleShot(5, [&] { pump.Wake(); });
    const uint32_t start = pump.TickCount();
    pump.WaitEvents(5000);
    EXPECT_LT(pump.TickCount() - start, 4000u);
}

// A signal from outside reaches the event loop as a call, once; a second one is left to the
// default action, and the handler that was there before comes back afterwards.
TEST(TerminationSignals, SignalBecomesOneCallAndHandlersAreRestored)
{
    std::signal(SIGHUP, SIG_IGN);
    {
        std::vector<int> calls;
        const TerminationSignals termination([&](int s) { calls.push_back(s); });
        ASSERT_TRUE(termination.Active());
        EXPECT_FALSE(TerminationSignals([](int) {}).Active());
        std::raise(SIGHUP);
        QtEventPump pump;
        WaitMs(pump, 20);
        EXPECT_EQ(calls, std::vector<int>{SIGHUP});
        struct sigaction now {};
        sigaction(SIGHUP, nullptr, &now);
        EXPECT_EQ(now.sa_handler, SIG_DFL);
    }
    struct sigaction after {};
    sigaction(SIGHUP, nullptr, &after);
    EXPECT_EQ(after.sa_handler, SIG_IGN);
    std::signal(SIGHUP, SIG_DFL);
}
