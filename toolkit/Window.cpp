#include "toolkit/Window.h"

#include "toolkit/Application.h"
#include "base/SystemError.h"

#include <stdexcept>
#include <string>

namespace toolkit {

namespace {

// The object lives in the window's extra bytes, which its class reserves, so that
// GWLP_USERDATA stays free: controls, windows of the system's classes, keep theirs there.
constexpr int kObjectOffset = 0;

Window* BoundObject(HWND hwnd) noexcept
{
    return reinterpret_cast<Window*>(GetWindowLongPtrA(hwnd, kObjectOffset));
}

void Bind(HWND hwnd, Window* object) noexcept
{
    // The class reserves the bytes: fails only for a window already gone.
    SetWindowLongPtrA(hwnd, kObjectOffset, reinterpret_cast<LONG_PTR>(object));
}

void RegisterClassOnce(const WindowArgs& args, WNDPROC procedure)
{
    const HINSTANCE instance = GetModuleHandleA(nullptr);
    WNDCLASSEXA existing{};
    existing.cbSize = sizeof existing;
    if (GetClassInfoExA(instance, args.className, &existing)) {
        if (existing.lpfnWndProc != procedure)
            throw std::logic_error(std::string("The window class ") + args.className + " is not this program's.");
        return;
    }
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = procedure;
    wc.cbWndExtra = sizeof(Window*);
    wc.hInstance = instance;
    wc.lpszClassName = args.className;
    wc.hCursor = LoadCursorA(nullptr, MAKEINTRESOURCEA(32512)); // IDC_ARROW
    wc.hIcon = args.icon;
    // Left out, the small icon would be made from the big one as the class is registered, at
    // a cost of milliseconds under Wine; the big one scaled as it is drawn does as well.
    wc.hIconSm = args.smallIcon ? args.smallIcon : args.icon;
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
    // Another class's extra bytes hold something else altogether.
    if (reinterpret_cast<WNDPROC>(GetClassLongPtrA(hwnd, GCLP_WNDPROC)) != &Window::Procedure)
        return nullptr;
    return BoundObject(hwnd);
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
        Bind(hwnd, nullptr);
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
        Bind(hwnd, self);
    }
    Window* self = BoundObject(hwnd);
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
        if (Window* bound = BoundObject(hwnd)) {
            Bind(hwnd, nullptr);
            bound->hwnd_ = nullptr;
        }
    }
    return result;
}

} // namespace toolkit
