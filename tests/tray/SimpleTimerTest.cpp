#include "tray/SimpleTimer.h"

#include "MessageLoop.h"

#include <gtest/gtest.h>

#include <memory>

using tray::TSimpleTimer;
using tray::TSimpleTimerHandler;
using traytest::PumpFor;
using traytest::PumpUntil;

namespace {

struct TickCounter {
    int ticks = 0;
    TSimpleTimer::TimerEvent Handler()
    {
        return [this](TSimpleTimer&) { ++ticks; };
    }
};

// Whether the timer had a system timer; kills it (Enabled stays as it was).
bool HadSystemTimer(TSimpleTimer& timer)
{
    return timer.Stop(false);
}

} // namespace

TEST(SimpleTimer, StartsStoppedAndRefusesAZeroPeriod)
{
    TickCounter counter;
    TSimpleTimer plain;
    EXPECT_FALSE(plain.Enabled());
    EXPECT_EQ(plain.Interval(), 1000u);
    EXPECT_FALSE(plain.OnTimer());
    EXPECT_FALSE(plain.AutoDisable);
    EXPECT_FALSE(plain.Stop(true)) << "no system timer to kill";

    TSimpleTimer zero(0, counter.Handler());
    EXPECT_FALSE(zero.Start());
    EXPECT_FALSE(zero.Enabled());
    EXPECT_FALSE(HadSystemTimer(zero));
}

TEST(SimpleTimer, RunningSilencedAndStoppedStates)
{
    TickCounter counter;
    TSimpleTimer timer(30, counter.Handler());
    ASSERT_TRUE(timer.Start());
    EXPECT_TRUE(timer.Enabled());
    ASSERT_TRUE(PumpUntil([&] { return counter.ticks >= 2; })) << "a running timer ticks";

    // Interval 0: silenced, still enabled, no system timer.
    timer.SetInterval(0);
    EXPECT_TRUE(timer.Enabled());
    EXPECT_FALSE(HadSystemTimer(timer));
    // Enabled := true with a zero period changes nothing: still silenced.
    timer.SetEnabled(true);
    EXPECT_TRUE(timer.Enabled());
    EXPECT_FALSE(HadSystemTimer(timer));

    // No handler: silenced too; assigning one again does not restart it by itself.
    timer.SetInterval(30);
    ASSERT_TRUE(timer.Start());
    timer.SetOnTimer(nullptr);
    EXPECT_TRUE(timer.Enabled());
    timer.SetOnTimer(counter.Handler());
    EXPECT_TRUE(timer.Enabled());
    EXPECT_FALSE(HadSystemTimer(timer));
    // Enabled := true brings a silenced timer back to running.
    timer.SetEnabled(true);
    const int before = counter.ticks;
    EXPECT_TRUE(PumpUntil([&] { return counter.ticks > before; }));

    timer.SetEnabled(false);
    EXPECT_FALSE(timer.Enabled());
    EXPECT_FALSE(HadSystemTimer(timer));
    EXPECT_FALSE(timer.Stop(true));
}

TEST(SimpleTimer, IntervalZeroThenNonZeroTicksAgain)
{
    TickCounter counter;
    TSimpleTimer timer(40, counter.Handler());
    ASSERT_TRUE(timer.Start());
    ASSERT_TRUE(PumpUntil([&] { return counter.ticks >= 1; }));
    timer.SetInterval(0);
    const int silenced = counter.ticks;
    PumpFor(300);
    EXPECT_EQ(counter.ticks, silenced) << "no ticks while silenced";
    timer.SetInterval(250);
    EXPECT_TRUE(timer.Enabled());
    EXPECT_TRUE(PumpUntil([&] { return counter.ticks >= silenced + 2; }));
}

// A poker touches the timer every 100 ms, far more often than its 600 ms period: a touch
// that restarts the period keeps it from ever ticking, one that does not lets it tick.
TEST(SimpleTimer, SameIntervalKeepsThePeriodWhileEnabledTrueRestartsIt)
{
    struct Case { const char* touch; bool restarts; };
    for (const Case c : {Case{"Interval := same", false}, Case{"Enabled := true", true}}) {
        TickCounter counter;
        TSimpleTimer timer(600, counter.Handler());
        int pokes = 0;
        TSimpleTimer poker(100, [&](TSimpleTimer&) {
            ++pokes;
            if (c.restarts)
                timer.SetEnabled(true);
            else
                timer.SetInterval(600);
        });
        ASSERT_TRUE(timer.Start());
        ASSERT_TRUE(poker.Start());
        if (c.restarts) {
            PumpUntil([&] { return pokes >= 15; });
            EXPECT_EQ(counter.ticks, 0) << c.touch;
        } else {
            EXPECT_TRUE(PumpUntil([&] { return counter.ticks >= 1; })) << c.touch;
        }
    }
}

TEST(SimpleTimer, AutoDisableTicksOncePerStart)
{
    TickCounter counter;
    TSimpleTimer timer(30, counter.Handler());
    timer.AutoDisable = true;
    for (int start = 1; start <= 2; ++start) {
        ASSERT_TRUE(timer.Start());
        ASSERT_TRUE(PumpUntil([&] { return counter.ticks >= start; }));
        EXPECT_FALSE(timer.Enabled());
        PumpFor(200);
        EXPECT_EQ(counter.ticks, start);
    }
}

TEST(SimpleTimer, SharedWindowLivesWithTheTimers)
{
    ASSERT_EQ(TSimpleTimerHandler::Window(), nullptr) << "no timer should outlive its test";
    auto first = std::make_unique<TSimpleTimer>();
    const HWND shared = TSimpleTimerHandler::Window();
    ASSERT_NE(shared, nullptr);
    EXPECT_TRUE(IsWindow(shared));
    auto second = std::make_unique<TSimpleTimer>();
    EXPECT_EQ(TSimpleTimerHandler::Window(), shared);
    EXPECT_EQ(TSimpleTimerHandler::Count(), 2u);
    first.reset();
    EXPECT_EQ(TSimpleTimerHandler::Window(), shared);
    EXPECT_EQ(TSimpleTimerHandler::Count(), 1u);
    second.reset();
    EXPECT_EQ(TSimpleTimerHandler::Window(), nullptr);
    EXPECT_FALSE(IsWindow(shared));

    TSimpleTimer again;
    EXPECT_NE(TSimpleTimerHandler::Window(), nullptr);
    EXPECT_TRUE(IsWindow(TSimpleTimerHandler::Window()));
}

TEST(SimpleTimer, ATickMayDestroyTheLastTimer)
{
    auto timer = std::make_unique<TSimpleTimer>();
    bool ticked = false;
    timer->SetInterval(20);
    timer->SetOnTimer([&](TSimpleTimer&) {
        ticked = true;
        timer.reset();
    });
    ASSERT_TRUE(timer->Start());
    ASSERT_TRUE(PumpUntil([&] { return ticked; }));
    EXPECT_EQ(TSimpleTimerHandler::Window(), nullptr);
    PumpFor(100);
}

TEST(SimpleTimer, StrayTimerMessagesReachNoTimer)
{
    TickCounter counter;
    TSimpleTimer timer(1000, counter.Handler());
    // An identifier that names no live timer (a destroyed one's, or a forged one).
    PostMessageA(TSimpleTimerHandler::Window(), WM_TIMER, 0x1234, 0);
    PostMessageA(TSimpleTimerHandler::Window(), WM_TIMER, timer.Identifier(), 0);
    traytest::PumpWaiting();
    EXPECT_EQ(counter.ticks, 1);
}
