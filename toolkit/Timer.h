#pragma once
#include "toolkit/Window.h"

#include <functional>

namespace toolkit {

class Timer;

using TimerEvent = std::function<void(Timer& sender)>;

struct TimerArgs {
    UINT interval = 1000; // milliseconds
    bool enabled = true;
};

// A timer on the user-interface thread, ticking through the message loop (modal loops
// included). It runs while enabled with a non-zero interval, and counts each interval from
// the moment it was started or given a new interval. Setting the interval it already has,
// or enabling it while it runs, leaves its count alone. The interval is handed to the system
// unchanged, also above USER_TIMER_MAXIMUM.
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

    UINT interval_;
    bool enabled_;
    bool running_ = false;
};

} // namespace toolkit
