#include "toolkit/Window.h"

#include "toolkit/Application.h"
#include "base/SystemError.h"

#include <stdexcept>

namespace toolkit {

namespace {

void RegisterClassOnce(const WindowArgs& args, WNDPROC procedure)
{
    const HINSTANCE instance = GetModuleHandleA(nullptr);
    WNDCLASSEXA existing{};
    existing.cbSize = sizeof existing;
    if (GetClassInfoExA(instance, args.className, &existing))
        return;
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = procedure;
    wc.hInstance = instance;
    wc.lpszClassName = args.className;
    wc.hCursor = LoadCursorA(nullptr, MAKEINTRESOURCEA(32512)); // IDC_ARROW
    wc.hIcon = args.icon;
    wc.hbrBackground = args.background;
    if (!RegisterClassExA(&wc))
        throw std::runtime_error(base::SystemErrorText(GetLastError()));
}

} // namespace

Window::~Window()
{
    Destroy();
}

Window* Window::FromHandle(HWND hwnd) noexcept
{
    return reinterpret_cast<Window*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
}

void Window::Create(const WindowArgs& args)
{
    RegisterClassOnce(args, &Window::Procedure);
    const HWND hwnd = CreateWindowExA(args.exStyle, args.className, args.text, args.style,
                                      args.x, args.y, args.width, args.height, args.parent,
                                      nullptr, GetModuleHandleA(nullptr), this);
    if (!hwnd)
        throw std::runtime_error(base::SystemErrorText(GetLastError()));
}

void Window::Destroy() noexcept
{
    if (hwnd_) {
        const HWND hwnd = hwnd_;
        // WM_NCDESTROY unbinds the object; clear here too in case the window is already gone.
        hwnd_ = nullptr;
        SetWindowLongPtrA(hwnd, GWLP_USERDATA, 0);
        DestroyWindow(hwnd); // fails only for a window already destroyed, which is the goal
    }
}

LRESULT Window::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    return DefaultHandling(message, wParam, lParam);
}

LRESULT Window::DefaultHandling(UINT message, WPARAM wParam, LPARAM lParam)
{
    return DefWindowProcA(hwnd_, message, wParam, lParam);
}

LRESULT CALLBACK Window::Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NCCREATE) {
        auto* self = static_cast<Window*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams);
        self->hwnd_ = hwnd;
        SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    Window* self = FromHandle(hwnd);
    if (!self)
        return DefWindowProcA(hwnd, message, wParam, lParam);
    LRESULT result = 0;
    try {
        result = self->HandleMessage(message, wParam, lParam);
    } catch (...) {
        Application::Instance().HandleException(std::current_exception());
    }
    // Look the object up again: a handler may have destroyed it (and so unbound it).
    if (message == WM_NCDESTROY) {
        if (Window* bound = FromHandle(hwnd)) {
            SetWindowLongPtrA(hwnd, GWLP_USERDATA, 0);
            bound->hwnd_ = nullptr;
        }
    }
    return result;
}

} // namespace toolkit
