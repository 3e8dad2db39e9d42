// The toolkit timer with real system timers and a real message loop. The loops wait for an
// outcome with a generous limit; nothing here measures speed.
#include "ControlHost.h"

#include "toolkit/IntervalCountdown.h"
#include "toolkit/Timer.h"

#include <gtest/gtest.h>

#include <vector>

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

TEST(IntervalCountdown, CountsLongIntervalsInPeriodsTheSystemTimerTakes)
{
    struct Case {
        UINT interval, longest;
        std::vector<UINT> periods; // one whole interval
    };
    const Case cases[] = {
        {600000, USER_TIMER_MAXIMUM, {600000}},
        {USER_TIMER_MAXIMUM, USER_TIMER_MAXIMUM, {USER_TIMER_MAXIMUM}},
        // 35,792 and 70,000 minutes: the first settings past the system's longest period, and the last.
        {2147520000u, USER_TIMER_MAXIMUM, {USER_TIMER_MAXIMUM, 36353}},
        {4200000000u, USER_TIMER_MAXIMUM, {USER_TIMER_MAXIMUM, 2052516353u}},
        {10, 3, {3, 3, 3, 1}},
        {9, 3, {3, 3, 3}},
    };
    for (const Case& c : cases) {
        IntervalCountdown countdown(c.interval, c.longest);
        // Twice round: the count starts over after each whole interval.
        for (int round = 0; round < 2; ++round) {
            std::vector<UINT> periods;
            bool whole = false;
            while (!whole && periods.size() <= c.periods.size()) {
                periods.push_back(countdown.Period());
                whole = countdown.PeriodPassed();
            }
            EXPECT_EQ(periods, c.periods) << c.interval << " round " << round;
        }
    }
}

// Periods of 10 ms for an interval of 120 ms: the tick comes after the whole interval, not
// after the first period.
TEST(RealTimer, IntervalLongerThanTheLongestPeriodTicksOncePerWholeInterval)
{
    Timer timer(TimerArgs{120, true, 10});
    int ticks = 0;
    timer.OnTimer = [&](Timer&) { ++ticks; };
    const ULONGLONG started = GetTickCount64();
    ASSERT_TRUE(PumpUntil([&] { return ticks >= 1; }));
    // The system's tick count moves in steps of up to about 16 ms.
    EXPECT_GE(GetTickCount64() - started, 120u - 16u);
}
