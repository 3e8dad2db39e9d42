#include "tray/SimpleTimer.h"

#include "toolkit/UtilityWindow.h"

#include <utility>

namespace tray {

std::unique_ptr<TSimpleTimerHandler> TSimpleTimerHandler::instance_;

TSimpleTimerHandler::TSimpleTimerHandler()
    : window_(std::make_unique<toolkit::UtilityWindow>(
          "VarnquillSimpleTimerHandler",
          [this](UINT message, WPARAM wParam, LPARAM) -> std::optional<LRESULT> {
              if (message != WM_TIMER)
                  return std::nullopt;
              // The tick may destroy the last timer and with it this handler: nothing of
              // it is touched afterwards.
              Tick(wParam);
              return 0;
          }))
{
}

HWND TSimpleTimerHandler::Window() noexcept
{
    return instance_ ? instance_->window_->Handle() : nullptr;
}

std::size_t TSimpleTimerHandler::Count() noexcept
{
    return instance_ ? instance_->timers_.size() : 0;
}

HWND TSimpleTimerHandler::Acquire(TSimpleTimer& timer)
{
    if (!instance_)
        instance_.reset(new TSimpleTimerHandler);
    instance_->timers_.insert(&timer);
    return instance_->window_->Handle();
}

void TSimpleTimerHandler::Release(TSimpleTimer& timer) noexcept
{
    if (!instance_)
        return;
    instance_->timers_.erase(&timer);
    if (instance_->timers_.empty())
        instance_.reset();
}

void TSimpleTimerHandler::Tick(UINT_PTR identifier)
{
    const auto* named = reinterpret_cast<const TSimpleTimer*>(identifier);
    // A tick whose timer is gone (or a stray WM_TIMER) names no live timer.
    if (timers_.count(named) == 0)
        return;
    const_cast<TSimpleTimer*>(named)->Tick();
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
