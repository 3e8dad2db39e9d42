#include "tests/e2e/EventWait.h"

#include <stdexcept>

namespace e2e {

namespace {

// The event's arrival is what matters: it ends MsgWaitForMultipleObjects below.
void CALLBACK IgnoreEvent(HWINEVENTHOOK, DWORD, HWND, LONG, LONG, DWORD, DWORD) {}

void HandleWaitingMessages()
{
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

} // namespace

EventWait::EventWait()
    : hook_(SetWinEventHook(EVENT_MIN, EVENT_MAX, nullptr, IgnoreEvent, 0, 0,
                            WINEVENT_OUTOFCONTEXT | WINEVENT_SKIPOWNPROCESS))
{
    if (!hook_)
        throw std::runtime_error("cannot watch the windows of other processes");
}

EventWait::~EventWait()
{
    UnhookWinEvent(hook_); // fails only for a hook already gone
}

bool EventWait::Until(const std::function<bool()>& condition, DWORD timeoutMs, HANDLE alsoWakeOn,
                      const std::function<void()>& rearm)
{
    return Wait(condition, timeoutMs, alsoWakeOn, rearm, INFINITE);
}

bool EventWait::UntilRechecking(const std::function<bool()>& condition, DWORD timeoutMs, DWORD recheckMs)
{
    return Wait(condition, timeoutMs, nullptr, {}, recheckMs);
}

bool EventWait::Wait(const std::function<bool()>& condition, DWORD timeoutMs, HANDLE alsoWakeOn,
                     const std::function<void()>& rearm, DWORD recheckMs)
{
    const ULONGLONG deadline = GetTickCount64() + timeoutMs;
    for (;;) {
        HandleWaitingMessages();
        if (condition())
            return true;
        const ULONGLONG now = GetTickCount64();
        if (now >= deadline)
            return false;
        const DWORD handles = alsoWakeOn ? 1 : 0;
        const DWORD left = static_cast<DWORD>(deadline - now);
        const DWORD woke = MsgWaitForMultipleObjects(handles, &alsoWakeOn, FALSE,
                                                     recheckMs < left ? recheckMs : left, QS_ALLINPUT);
        if (woke == WAIT_FAILED)
            throw std::runtime_error("waiting failed");
        if (handles && woke == WAIT_OBJECT_0 && rearm)
            rearm();
    }
}

} // namespace e2e
