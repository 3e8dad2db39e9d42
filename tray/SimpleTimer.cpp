#include "tray/SimpleTimer.h"

#include <utility>

namespace tray {

SharedHandlerWindow<TSimpleTimer>& TSimpleTimerHandler::Shared() noexcept
{
    // Ticks are all it hears.
    static SharedHandlerWindow<TSimpleTimer> shared("VarnquillSimpleTimerHandler", &TSimpleTimerHandler::HandleMessage,
                                                    toolkit::UtilityWindow::Hears::OnlyItsOwn);
    return shared;
}

std::optional<LRESULT> TSimpleTimerHandler::HandleMessage(UINT message, WPARAM wParam, LPARAM)
{
    if (message != WM_TIMER)
        return std::nullopt;
    // A tick whose timer is gone (or a stray WM_TIMER) names no live timer. The tick may
    // destroy the last timer and with it the window: nothing of either is touched afterwards.
    if (TSimpleTimer* timer = Shared().Find(wParam))
        timer->Tick();
    return 0;
}

HWND TSimpleTimerHandler::Window() noexcept
{
    return Shared().Window();
}

std::size_t TSimpleTimerHandler::Count() noexcept
{
    return Shared().Count();
}

HWND TSimpleTimerHandler::Acquire(TSimpleTimer& timer)
{
    return Shared().Join(timer.Identifier(), timer);
}

void TSimpleTimerHandler::Release(TSimpleTimer& timer) noexcept
{
    Shared().Leave(timer.Identifier());
}

TSimpleTimer::TSimpleTimer() : TSimpleTimer(1000, {}) {}

TSimpleTimer::TSimpleTimer(UINT interval, TimerEvent onTimer)
    : interval_(interval), onTimer_(std::move(onTimer))
{
    window_ = TSimpleTimerHandler::Acquire(*this);
}

TSimpleTimer::~TSimpleTimer()
{
    if (enabled_)
        Stop(true);
    TSimpleTimerHandler::Release(*this);
}

bool TSimpleTimer::Start()
{
    if (interval_ == 0)
        return false;
    if (enabled_)
        Stop(true);
    if (SetTimer(window_, Identifier(), interval_, nullptr) == 0)
        return false;
    enabled_ = true;
    return true;
}

bool TSimpleTimer::Stop(bool clear)
{
    if (clear)
        enabled_ = false;
    return KillTimer(window_, Identifier()) != FALSE;
}

void TSimpleTimer::SetEnabled(bool enabled)
{
    if (enabled)
        Start();
    else
        Stop(true);
}

void TSimpleTimer::SetInterval(UINT interval)
{
    if (interval == interval_)
        return;
    interval_ = interval;
    if (!enabled_)
        return;
    if (interval_ != 0)
        Start();
    else
        Stop(false);
}

void TSimpleTimer::SetOnTimer(TimerEvent onTimer)
{
    onTimer_ = std::move(onTimer);
    if (!onTimer_ && enabled_)
        Stop(false);
}

void TSimpleTimer::Tick()
{
    if (AutoDisable)
        Stop(true);
    if (!onTimer_)
        return;
    // The handler may destroy this timer: run a copy of it and touch nothing afterwards.
    const TimerEvent handler = onTimer_;
    handler(*this);
}

} // namespace tray
