#pragma once
#include <windows.h>

#include <exception>
#include <string>

namespace toolkit {

// The program's application object: title, event loop and last-resort handler. There is one
// per process, as a window toolkit has.
class Application {
public:
    static Application& Instance();

    Application(const Application&) = delete;
    Application& operator=(const Application&) = delete;

    const std::string& Title() const noexcept { return title_; }
    void SetTitle(const std::string& title);

    // Runs the event loop until Terminate. A failure that escapes a handler is shown by
    // HandleException and the loop goes on.
    void Run();
    // Handles every message already waiting, then returns.
    void ProcessMessages();
    void Terminate() noexcept;
    bool Terminated() const noexcept { return terminated_; }

    // The last-resort handler: a modal stop box with the application title as caption and
    // the failure's message, a full stop appended when the message does not end in one.
    void HandleException(std::exception_ptr failure) noexcept;
    // The text that box shows for a message.
    static std::string LastResortText(const std::string& message);

private:
    Application() = default;
    // Dispatches one message; false when it was WM_QUIT.
    bool Dispatch(const MSG& msg);

    std::string title_;
    bool terminated_ = false;
};

} // namespace toolkit
