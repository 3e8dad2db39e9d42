#pragma once
#include <windows.h>

#include <functional>
#include <optional>

namespace tray {

// Sees the messages of another window before that window's own procedure does, by putting
// a procedure of ours in its place; the saved procedure is put back when the last hook of
// that window goes (or when the window is destroyed first). A handler answers a message to
// keep it from the window, or nothing to pass it on.
class OwnerHook {
public:
    using Handler = std::function<std::optional<LRESULT>(UINT message, WPARAM wParam, LPARAM lParam)>;

    // Throws std::runtime_error when the window's procedure cannot be replaced.
    OwnerHook(HWND window, Handler handler);
    OwnerHook(const OwnerHook&) = delete;
    OwnerHook& operator=(const OwnerHook&) = delete;
    ~OwnerHook();

    // The hooked window; null once it has been destroyed.
    HWND Window() const noexcept { return window_; }

private:
    friend struct OwnerHookChain;
    HWND window_;
    Handler handler_;
};

} // namespace tray
