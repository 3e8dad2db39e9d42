#pragma once
#include <windows.h>

#include <functional>

namespace traytest {

// Handles messages until done() holds, waiting for each; gives up after limit
// milliseconds, which only a broken or stalled program reaches. Answers done().
inline bool PumpUntil(const std::function<bool()>& done, UINT limit = 10000)
{
    const UINT_PTR guard = SetTimer(nullptr, 0, limit, nullptr);
    MSG msg;
    while (!done()) {
        if (GetMessageA(&msg, nullptr, 0, 0) <= 0)
            break;
        if (msg.message == WM_TIMER && msg.hwnd == nullptr && msg.wParam == guard)
            break;
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    KillTimer(nullptr, guard);
    return done();
}

// Handles every message that arrives during the given time (to see that something does
// NOT happen within it).
inline void PumpFor(UINT milliseconds)
{
    PumpUntil([] { return false; }, milliseconds);
}

// Handles the messages already waiting (those just posted among them).
inline void PumpWaiting()
{
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

} // namespace traytest
