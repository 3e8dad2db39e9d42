#include "toolkit/Timer.h"

#include "base/SystemError.h"

#include <stdexcept>

namespace toolkit {

namespace {
constexpr UINT_PTR kTimerId = 1;
}

Timer::Timer(const TimerArgs& args)
    : interval_(args.interval), enabled_(args.enabled), countdown_(args.interval, args.longestPeriod)
{
    // A message-only window: it receives the ticks and is never seen.
    WindowArgs window;
    window.className = "VarnquillTimer";
    window.style = 0;
    window.x = window.y = window.width = window.height = 0;
    window.parent = HWND_MESSAGE;
    Create(window);
    Restart();
}

Timer::~Timer()
{
    Stop();
}

void Timer::SetEnabled(bool enabled)
{
    if (enabled == enabled_)
        return;
    enabled_ = enabled;
    Restart();
}

void Timer::SetInterval(UINT interval)
{
    if (interval == interval_)
        return;
    interval_ = interval;
    Restart();
}

void Timer::Restart()
{
    Stop();
    if (!enabled_ || interval_ == 0)
        return;
    countdown_.Restart(interval_);
    StartPeriod();
    running_ = true;
}

void Timer::StartPeriod()
{
    // Given again for the same timer number, the system replaces the running count.
    if (!SetTimer(Handle(), kTimerId, countdown_.Period(), nullptr))
        throw std::runtime_error("The timer cannot be started: " + base::SystemErrorText(GetLastError()));
}

void Timer::Stop() noexcept
{
    if (running_) {
        KillTimer(Handle(), kTimerId); // fails only when no timer runs, which is the goal
        running_ = false;
    }
}

LRESULT Timer::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_TIMER && wParam == kTimerId) {
        if (!running_)
            return 0;
        const UINT period = countdown_.Period();
        const bool whole = countdown_.PeriodPassed();
        // The next period is set going before the handler runs, which may restart the timer.
        if (countdown_.Period() != period)
            StartPeriod();
        if (whole && OnTimer) {
            // The handler may clear OnTimer while it runs (a command in a nested dialog loop
            // of the tick can end the program): run a copy of it.
            const TimerEvent handler = OnTimer;
            handler(*this);
        }
        return 0;
    }
    return DefaultHandling(message, wParam, lParam);
}

} // namespace toolkit
