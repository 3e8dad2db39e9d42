#include "toolkit/Application.h"

#include <stdexcept>

namespace toolkit {

Application& Application::Instance()
{
    static Application application;
    return application;
}

void Application::SetTitle(const std::string& title)
{
    title_ = title;
}

bool Application::Dispatch(const MSG& msg)
{
    if (msg.message == WM_QUIT) {
        terminated_ = true;
        return false;
    }
    try {
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
        const BOOL got = GetMessageA(&msg, nullptr, 0, 0);
        if (got == -1) // only for an invalid window handle, which we never pass
            break;
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
            break;
        }
    }
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
    std::string message;
    try {
        std::rethrow_exception(failure);
    } catch (const std::exception& e) {
        message = e.what();
    } catch (...) {
        message = "Unknown failure";
    }
    try {
        const std::string text = LastResortText(message);
        // The answer is always OK; a box that cannot be shown leaves nothing else to try.
        MessageBoxA(GetActiveWindow(), text.c_str(), title_.c_str(), MB_OK | MB_ICONSTOP);
    } catch (...) {
        // Out of memory while building the text: nothing more can be shown.
    }
}

} // namespace toolkit
