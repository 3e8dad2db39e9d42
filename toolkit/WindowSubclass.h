#pragma once
#include <windows.h>

namespace toolkit {

// A procedure of ours put in the place of a window's own, so it sees the window's messages
// first; what it does not answer it passes on to the procedure it replaced. The procedure
// finds its object its own way (a control in the window's user data, the tray's owner hook
// by the window), so a message costs no lookup of ours beyond that.
//
// Removing puts the replaced procedure back only while ours is still the window's: when
// another was put on top of ours since, taking ours out would cut that one's chain, so ours
// stays and must go on passing messages on.
class WindowSubclass {
public:
    // Nothing subclassed.
    WindowSubclass() noexcept = default;
    // Puts procedure in place of the window's own. Throws std::runtime_error with the
    // system's text when the window's procedure cannot be replaced.
    WindowSubclass(HWND window, WNDPROC procedure);
    WindowSubclass(WindowSubclass&& other) noexcept;
    WindowSubclass& operator=(WindowSubclass&& other) noexcept;
    WindowSubclass(const WindowSubclass&) = delete;
    WindowSubclass& operator=(const WindowSubclass&) = delete;
    // Removes the subclass where it can (see Remove); where it cannot, ours stays in the
    // window's chain without this object, and its procedure must then pass messages on to
    // the window's class alone.
    ~WindowSubclass();

    // The subclassed window; null when nothing is.
    HWND Window() const noexcept { return window_; }
    // Hands a message to the procedure ours replaced.
    LRESULT PassOn(UINT message, WPARAM wParam, LPARAM lParam) const;
    // Puts the replaced procedure back when ours is still the window's, or the window is
    // gone, and answers true: this object then subclasses nothing. False when another
    // procedure is on top of ours: ours stays in the window's chain, and this object with
    // it, to pass messages on.
    bool Remove() noexcept;

private:
    HWND window_ = nullptr;
    WNDPROC procedure_ = nullptr;
    WNDPROC replaced_ = nullptr;
};

} // namespace toolkit
