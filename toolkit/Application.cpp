#include "toolkit/Application.h"

#include "toolkit/ApplicationWindow.h"
#include "toolkit/MessageDialogs.h"
#include "toolkit/Window.h"

#include <algorithm>
#include <stdexcept>

namespace toolkit {

Application& Application::Instance()
{
    static Application application;
    return application;
}

Application::Application() = default;
Application::~Application() = default;

void Application::SetTitle(const std::string& title)
{
    title_ = title;
    if (window_) {
        // A title that cannot be set leaves the old one on the taskbar; nothing depends on it.
        SetWindowTextA(window_->Handle(), title_.c_str());
    }
}

void Application::Initialize()
{
    if (window_ && window_->Handle())
        return;
    window_ = std::make_unique<ApplicationWindow>(*this, title_.c_str(), ClassIcons());
    // Shown without activation: a zero-size window, visible only as the taskbar button.
    ShowWindow(window_->Handle(), SW_SHOWNOACTIVATE); // answers the previous visibility
}

HWND Application::Handle()
{
    Initialize();
    return window_->Handle();
}

const DensityIcons& Application::ClassIcons() noexcept
{
    if (!classIcons_.big) {
        const UINT dpi = SystemDpi();
        classBigIcon_ = LoadIconOfSize(MainIconResource, SystemMetric(SM_CXICON, dpi));
        classSmallIcon_ = LoadIconOfSize(MainIconResource, SystemMetric(SM_CXSMICON, dpi));
        if (classBigIcon_ && classSmallIcon_)
            classIcons_ = DensityIcons{classBigIcon_.Get(), classSmallIcon_.Get(), dpi};
        else
            classIcons_ = DensityIcons{MainIcon(), MainIcon(), 0};
    }
    return classIcons_;
}

HICON Application::MainIcon() noexcept
{
    if (const HICON own = LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(MainIconResource)))
        return own;
    return LoadIconA(nullptr, MAKEINTRESOURCEA(32512)); // IDI_APPLICATION
}

void Application::SetMainForm(HWND form) noexcept
{
    mainForm_ = form;
    formHiddenWithApplication_ = false;
}

void Application::SetMainForm(const Window& form) noexcept
{
    SetMainForm(form.Handle());
}

void Application::Minimize()
{
    const HWND window = Handle();
    if (!IsIconic(window))
        ShowWindow(window, SW_MINIMIZE); // answers the previous visibility
}

void Application::Restore()
{
    const HWND window = Handle();
    if (IsIconic(window) || !IsWindowVisible(window))
        ShowWindow(window, SW_RESTORE); // answers the previous visibility
}

void Application::HideFormWithApplication()
{
    const HWND form = mainForm_;
    if (!form || !IsWindowVisible(form))
        return;
    // Tell the form the way the system does for windows of a minimised owner (its default
    // handling hides it), and hide it where that did not.
    SendMessageA(form, WM_SHOWWINDOW, FALSE, SW_PARENTCLOSING);
    if (mainForm_ != form)
        return;
    if (IsWindowVisible(form))
        ShowWindow(form, SW_HIDE); // answers the previous visibility
    formHiddenWithApplication_ = true;
}

void Application::ShowFormWithApplication()
{
    if (!formHiddenWithApplication_)
        return;
    formHiddenWithApplication_ = false;
    const HWND form = mainForm_;
    if (!form || IsWindowVisible(form))
        return; // shown again by the system, or by whoever hid it
    SendMessageA(form, WM_SHOWWINDOW, TRUE, SW_PARENTOPENING);
    if (mainForm_ == form && !IsWindowVisible(form))
        ShowWindow(form, SW_SHOWNA); // answers the previous visibility
}

Application::HookId Application::AddMessageHook(MessageHook hook)
{
    const HookId id = nextHookId_++;
    hooks_.push_back(Hook{id, std::move(hook)});
    return id;
}

void Application::RemoveMessageHook(HookId id) noexcept
{
    std::erase_if(hooks_, [id](const Hook& h) { return h.id == id; });
}

Application::HookId Application::WhenIdle(std::function<void()> work)
{
    const HookId id = nextHookId_++;
    idleWork_.emplace_back(id, std::move(work));
    return id;
}

void Application::CancelIdleWork(HookId id) noexcept
{
    std::erase_if(idleWork_, [id](const auto& work) { return work.first == id; });
}

void Application::RunIdleWork()
{
    // Work may add work, or take back work not run yet: each is taken off before it runs.
    while (!idleWork_.empty()) {
        const std::function<void()> work = std::move(idleWork_.front().second);
        idleWork_.erase(idleWork_.begin());
        try {
            work();
        } catch (...) {
            HandleException(std::current_exception());
        }
    }
}

void Application::RunHooks(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (hooks_.empty())
        return;
    // A hook may add or remove hooks (its owner may be destroyed): run over a copy, and skip
    // those removed on the way.
    const std::vector<Hook> snapshot = hooks_;
    for (const Hook& h : snapshot) {
        const bool live = std::any_of(hooks_.begin(), hooks_.end(),
                                      [&](const Hook& current) { return current.id == h.id; });
        if (!live)
            continue;
        try {
            h.hook(message, wParam, lParam);
        } catch (...) {
            // One failing hook must not keep the message from the others or the window.
            HandleException(std::current_exception());
        }
    }
}

bool Application::Dispatch(const MSG& msg)
{
    if (msg.message == WM_QUIT) {
        terminated_ = true;
        return false;
    }
    try {
        // Tab, Shift+Tab and the arrow keys move between the main form's controls as they
        // do in a dialog; the form's multi-line fields keep Tab and Enter as text.
        const HWND form = mainForm_;
        if (form && (msg.hwnd == form || IsChild(form, msg.hwnd)) &&
            IsDialogMessageA(form, const_cast<MSG*>(&msg)))
            return true;
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    } catch (...) {
        HandleException(std::current_exception());
    }
    return true;
}

void Application::Run()
{
    MSG msg;
    while (!terminated_) {
        if (!idleWork_.empty()) {
            // Taken without waiting while idle work waits: finding no message counts as
            // waiting for input, so the idle work comes after the start-up the system sees.
            // One call per message, where a look and then a take would cost two.
            if (!PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
                RunIdleWork();
                continue;
            }
        } else if (GetMessageA(&msg, nullptr, 0, 0) == -1) {
            break; // only for an invalid window handle, which we never pass
        }
        if (!Dispatch(msg))
            break;
    }
}

void Application::ProcessMessages()
{
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (!Dispatch(msg)) {
            // Leave WM_QUIT for the outer loop to see as well.
            PostQuitMessage(static_cast<int>(msg.wParam));
            return;
        }
    }
    RunIdleWork();
}

void Application::Terminate() noexcept
{
    terminated_ = true;
    PostQuitMessage(0);
}

std::string Application::LastResortText(const std::string& message)
{
    std::string text = message;
    if (!text.empty() && static_cast<unsigned char>(text.back()) > static_cast<unsigned char>('.'))
        text += '.';
    return text;
}

void Application::HandleException(std::exception_ptr failure) noexcept
{
    try {
        std::string message;
        try {
            std::rethrow_exception(failure);
        } catch (const std::exception& e) {
            message = e.what();
        } catch (...) {
            message = "Unknown failure";
        }
        const std::string text = LastResortText(message);
        // Over the active window when there is one to see; else (the program hidden in the
        // tray, a timer's failure) on its own, with a taskbar button, asking for the foreground.
        const HWND owner = ShownOwner(GetActiveWindow());
        const UINT style = MB_OK | MB_ICONSTOP | (owner ? 0 : MB_SETFOREGROUND);
        // The answer is always OK; a box that cannot be shown leaves nothing else to try.
        MessageBoxA(owner, text.c_str(), title_.c_str(), style);
    } catch (...) {
        // Out of memory while copying or building the text: nothing more can be shown.
    }
}

} // namespace toolkit
