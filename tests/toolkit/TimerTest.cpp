// The toolkit timer with real system timers and a real message loop. The loops wait for an
// outcome with a generous limit; nothing here measures speed.
#include "ControlHost.h"

#include "toolkit/Timer.h"

#include <gtest/gtest.h>

using namespace toolkit;
using namespace std::chrono_literals;

TEST(RealTimer, TicksArriveThroughTheMessageLoopWhileEnabled)
{
    Timer timer(TimerArgs{30, true});
    int ticks = 0;
    timer.OnTimer = [&](Timer& sender) {
        EXPECT_EQ(&sender, &timer);
        ++ticks;
    };
    EXPECT_TRUE(timer.Running());
    EXPECT_TRUE(PumpUntil([&] { return ticks >= 3; }));

    timer.SetEnabled(false);
    EXPECT_FALSE(timer.Running());
    const int stoppedAt = ticks;
    PumpUntil([] { return false; }, 200ms);
    EXPECT_EQ(ticks, stoppedAt);
}

TEST(RealTimer, IntervalZeroRunsNoTimer)
{
    Timer timer(TimerArgs{0, true});
    int ticks = 0;
    timer.OnTimer = [&](Timer&) { ++ticks; };
    EXPECT_FALSE(timer.Running());
    timer.SetInterval(20);
    EXPECT_TRUE(timer.Running());
    timer.SetInterval(0);
    EXPECT_FALSE(timer.Running());
    EXPECT_TRUE(timer.Enabled());
    PumpUntil([] { return false; }, 200ms);
    EXPECT_EQ(ticks, 0);
}

TEST(RealTimer, DisabledTimerKeepsItsIntervalAndRunsOnlyOnceEnabled)
{
    Timer timer(TimerArgs{25, false});
    EXPECT_FALSE(timer.Running());
    timer.SetInterval(40);
    EXPECT_FALSE(timer.Running());
    int ticks = 0;
    timer.OnTimer = [&](Timer&) { ++ticks; };
    timer.SetEnabled(true);
    EXPECT_TRUE(timer.Running());
    EXPECT_TRUE(PumpUntil([&] { return ticks >= 1; }));
}

// Re-assigning the same interval and re-enabling a running timer far more often than its
// interval must not hold off its ticks: neither restarts the count.
TEST(RealTimer, SameIntervalOrEnablingAgainDoesNotRestartTheCount)
{
    Timer timer(TimerArgs{300, true});
    int ticks = 0;
    timer.OnTimer = [&](Timer&) { ++ticks; };
    Timer meddler(TimerArgs{20, true});
    meddler.OnTimer = [&](Timer&) {
        timer.SetInterval(300);
        timer.SetEnabled(true);
    };
    EXPECT_TRUE(PumpUntil([&] { return ticks >= 2; }));

    // A new interval does restart it: assigned each time to another value, it never ticks.
    timer.SetInterval(1000);
    ticks = 0;
    meddler.OnTimer = [&](Timer&) { timer.SetInterval(timer.Interval() == 1000 ? 1001 : 1000); };
    PumpUntil([] { return false; }, 2500ms);
    EXPECT_EQ(ticks, 0);
}

TEST(RealTimer, IntervalAboveTheSystemMaximumIsHandedOverUnchanged)
{
    Timer timer(TimerArgs{4200000000u, true});
    EXPECT_EQ(timer.Interval(), 4200000000u);
    EXPECT_TRUE(timer.Running());
}
