#include "ui/SingleInstance.h"

#include "toolkit/ApplicationWindow.h"

namespace {

// "Local\": the session's own namespace, so each user logged on has a program of their own.
constexpr const char* ClaimName = "Local\\qmz Varnquill running";

} // namespace

InstanceClaim::InstanceClaim() : mutex_(CreateMutexA(nullptr, FALSE, ClaimName))
{
    const DWORD error = GetLastError();
    if (mutex_)
        first_ = error != ERROR_ALREADY_EXISTS;
    else
        // Refused access: made by a run of the program with other rights (elevated, say).
        // Any other failure leaves the claim unknown, and a program that runs twice is
        // better than one that does not start at all.
        first_ = error != ERROR_ACCESS_DENIED;
}

UINT ShowRunningProgramMessage()
{
    static const UINT message = RegisterWindowMessageA("qmz Varnquill: show the running program");
    return message;
}

void AskRunningProgramToShowItself()
{
    const UINT message = ShowRunningProgramMessage();
    // The running program may still be starting and have no window yet; then it shows
    // itself as its start-up does, and there is nothing to ask.
    const HWND running = FindWindowA(toolkit::ApplicationWindow::ClassName, nullptr);
    if (!message || !running)
        return;
    DWORD processId = 0;
    if (GetWindowThreadProcessId(running, &processId))
        // Refused when this start itself may not take the foreground: the window is then
        // shown all the same, perhaps behind the active one.
        AllowSetForegroundWindow(processId);
    // A program that has just ended takes no message; there is nothing left to show then.
    PostMessageA(running, message, 0, 0);
}
