#pragma once
#include <windows.h>

#include <functional>

// Waiting for another process to get somewhere, without polling: accessibility events of
// every other process's windows and an optional kernel handle (a folder's or a registry
// key's change notification, a process ending) wake the wait, and each wake-up checks the
// condition again.
//
// Wine raises only the window-creation event across processes: a window being shown,
// hidden or destroyed wakes nothing. Wait for those with UntilRechecking, or for what the
// program does next that does wake a wait (a file written, a value stored).
namespace e2e {

class EventWait {
public:
    EventWait();
    ~EventWait();
    EventWait(const EventWait&) = delete;
    EventWait& operator=(const EventWait&) = delete;

    // True as soon as the condition holds, false when timeoutMs pass first. The handle, when
    // given, must be one that a wait re-arms or that stays signalled harmlessly; wake is
    // called after it was signalled, to re-arm it (FindNextChangeNotification, say).
    bool Until(const std::function<bool()>& condition, DWORD timeoutMs, HANDLE alsoWakeOn = nullptr,
               const std::function<void()>& rearm = {});

    // For a condition that nothing reports: Wine raises no event when another process's
    // window is hidden or destroyed (its tray drops a dead program's icon that way), so
    // this wait also checks again every recheckMs.
    bool UntilRechecking(const std::function<bool()>& condition, DWORD timeoutMs, DWORD recheckMs);

private:
    bool Wait(const std::function<bool()>& condition, DWORD timeoutMs, HANDLE alsoWakeOn,
              const std::function<void()>& rearm, DWORD recheckMs);

    HWINEVENTHOOK hook_ = nullptr;
};

} // namespace e2e
