#pragma once
#include "toolkit/IntervalCountdown.h"
#include "toolkit/Window.h"

#include <functional>

namespace toolkit {

class Timer;

using TimerEvent = std::function<void(Timer& sender)>;

struct TimerArgs {
    UINT interval = 1000; // milliseconds
    bool enabled = true;
    // The longest period the system timer is given at once (tests shorten it).
    UINT longestPeriod = USER_TIMER_MAXIMUM;
};

// A timer on the user-interface thread, ticking through the message loop (modal loops
// included). It runs while enabled with a non-zero interval, and counts each interval from
// the moment it was started or given a new interval. Setting the interval it already has,
// or enabling it while it runs, leaves its count alone. An interval above the system timer's
// longest period (about 24.8 days) is counted in shorter periods and still ticks once per
// whole interval.
class Timer : private Window {
public:
    explicit Timer(const TimerArgs& args = {});
    ~Timer() override;

    bool Enabled() const noexcept { return enabled_; }
    void SetEnabled(bool enabled);
    UINT Interval() const noexcept { return interval_; }
    void SetInterval(UINT interval);
    // True while a system timer is counting.
    bool Running() const noexcept { return running_; }

    TimerEvent OnTimer;

private:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    // Stops the count and starts a new one when the timer should run.
    void Restart();
    void Stop() noexcept;

    // Starts the system timer on the countdown's current period.
    void StartPeriod();

    UINT interval_;
    bool enabled_;
    IntervalCountdown countdown_;
    bool running_ = false;
};

} // namespace toolkit
