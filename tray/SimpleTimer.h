#pragma once
#include <windows.h>

#include "tray/SharedHandlerWindow.h"

#include <functional>
#include <optional>

namespace tray {

class TSimpleTimer;

// The one hidden window that receives the ticks of every simple timer of the process. It
// exists while at least one timer lives: the first timer creates it, the last destroys it.
class TSimpleTimerHandler {
public:
    // The window of the live handler, or null when no timer exists.
    static HWND Window() noexcept;
    static std::size_t Count() noexcept;

private:
    friend class TSimpleTimer;

    static HWND Acquire(TSimpleTimer& timer);
    static void Release(TSimpleTimer& timer) noexcept;
    static std::optional<LRESULT> HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    // The live timers, each under its address, which is its tick's identifier too.
    static SharedHandlerWindow<TSimpleTimer>& Shared() noexcept;
};

// A light periodic timer on the user-interface thread. Its system timer lives on the
// shared handler window and is identified by the object's own address.
//
// States: stopped (Enabled false), running (Enabled true with a system timer) and silenced
// (Enabled true without one: Interval 0 or no handler), from which a non-zero Interval or
// Enabled := true starts it again.
class TSimpleTimer {
public:
    using TimerEvent = std::function<void(TSimpleTimer& sender)>;

    // A stopped timer of 1000 ms without a handler.
    TSimpleTimer();
    // A stopped timer with the given period and handler.
    TSimpleTimer(UINT interval, TimerEvent onTimer);
    TSimpleTimer(const TSimpleTimer&) = delete;
    TSimpleTimer& operator=(const TSimpleTimer&) = delete;
    ~TSimpleTimer();

    // Starts (or restarts) the period now. False, changing nothing, with Interval 0; false
    // and stopped when the system refuses a timer.
    bool Start();
    // Kills the system timer; clear also makes the timer stopped. Answers whether there
    // was a system timer to kill.
    bool Stop(bool clear);

    bool Enabled() const noexcept { return enabled_; }
    // True starts (restarting a running timer), false stops, whatever the current state.
    void SetEnabled(bool enabled);

    UINT Interval() const noexcept { return interval_; }
    // A new period restarts a running timer; 0 silences it, keeping Enabled.
    void SetInterval(UINT interval);

    // When true the timer stops itself at each tick: one tick per Start.
    bool AutoDisable = false;

    const TimerEvent& OnTimer() const noexcept { return onTimer_; }
    // No handler silences a running timer, keeping Enabled.
    void SetOnTimer(TimerEvent onTimer);

    UINT_PTR Identifier() const noexcept { return reinterpret_cast<UINT_PTR>(this); }

private:
    friend class TSimpleTimerHandler;
    void Tick();

    HWND window_ = nullptr;
    bool enabled_ = false;
    UINT interval_ = 1000;
    TimerEvent onTimer_;
};

} // namespace tray
