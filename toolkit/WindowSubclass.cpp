#include "toolkit/WindowSubclass.h"

#include "base/SystemError.h"

#include <stdexcept>
#include <utility>

namespace toolkit {

WindowSubclass::WindowSubclass(HWND window, WNDPROC procedure) : procedure_(procedure)
{
    SetLastError(ERROR_SUCCESS);
    replaced_ = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(procedure)));
    if (!replaced_) {
        const DWORD error = GetLastError();
        throw std::runtime_error(base::SystemErrorText(error ? error : ERROR_INVALID_WINDOW_HANDLE));
    }
    window_ = window;
}

WindowSubclass::WindowSubclass(WindowSubclass&& other) noexcept
    : window_(std::exchange(other.window_, nullptr)), procedure_(other.procedure_), replaced_(other.replaced_)
{
}

WindowSubclass& WindowSubclass::operator=(WindowSubclass&& other) noexcept
{
    if (this != &other) {
        Remove();
        window_ = std::exchange(other.window_, nullptr);
        procedure_ = other.procedure_;
        replaced_ = other.replaced_;
    }
    return *this;
}

WindowSubclass::~WindowSubclass()
{
    Remove();
}

LRESULT WindowSubclass::PassOn(UINT message, WPARAM wParam, LPARAM lParam) const
{
    return CallWindowProcA(replaced_, window_, message, wParam, lParam);
}

bool WindowSubclass::Remove() noexcept
{
    if (!window_)
        return true;
    const auto current = reinterpret_cast<WNDPROC>(GetWindowLongPtrA(window_, GWLP_WNDPROC));
    if (current != procedure_ && IsWindow(window_))
        return false;
    // Fails only for a window already gone, whose procedure no longer matters.
    SetWindowLongPtrA(window_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(replaced_));
    window_ = nullptr;
    return true;
}

} // namespace toolkit
