#pragma once
#include "toolkit/Dpi.h"
#include "toolkit/Handles.h"

#include <windows.h>

#include <cstddef>
#include <exception>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace toolkit {

class Window;
class ApplicationWindow;

// The program's application object: title, icon, the hidden application window, the main
// form, event loop and last-resort handler. There is one per process, as a window toolkit
// has.
//
// The application window is a zero-size top-level window that carries the program's taskbar
// button and owns the main form, so the main form has no button of its own; minimising the
// application minimises that window, which hides the main form with it.
class Application {
public:
    // Sees a message of the application window before the application handles it; it never
    // consumes the message.
    using MessageHook = std::function<void(UINT message, WPARAM wParam, LPARAM lParam)>;
    using HookId = std::size_t;

    static Application& Instance();

    Application(const Application&) = delete;
    Application& operator=(const Application&) = delete;
    ~Application();

    const std::string& Title() const noexcept { return title_; }
    // Also the application window's title once it exists.
    void SetTitle(const std::string& title);

    // Creates the application window, once; later calls do nothing. Every accessor below
    // that needs the window creates it on first use, so calling this is optional.
    // Throws std::runtime_error when the window cannot be made.
    void Initialize();
    // The application window (created on first use).
    HWND Handle();
    // The program's main icon: icon resource 1, or the system's application icon when the
    // program carries none. Shared by the system; never destroyed.
    static HICON MainIcon() noexcept;
    static constexpr int MainIconResource = 1;
    // The icons the classes of the program's own windows carry: the main icon drawn for the
    // system's density, where windows are usually made, loaded once for every window. Where
    // it cannot be drawn so, MainIcon() for no density in particular.
    const DensityIcons& ClassIcons() noexcept;

    // The main form: a top-level window created with Handle() as its owner.
    void SetMainForm(HWND form) noexcept;
    void SetMainForm(const Window& form) noexcept;
    HWND MainForm() const noexcept { return mainForm_; }
    // Whether the program shows its main form at start-up (a component may say no).
    bool ShowMainFormOnStart() const noexcept { return showMainForm_; }
    void SetShowMainFormOnStart(bool show) noexcept { showMainForm_ = show; }

    // Minimises the application window; the main form is hidden with it.
    void Minimize();
    // Brings the application window (and its taskbar button) back from minimised or hidden.
    void Restore();

    HookId AddMessageHook(MessageHook hook);
    void RemoveMessageHook(HookId id) noexcept;

    // Work that need not be done before the program first waits for input, when the system
    // counts its start-up as done: run once, in the order given, as soon as the event loop
    // (or ProcessMessages) finds no message waiting. A failure is shown by HandleException.
    // The id takes back work not run yet, whose owner is going.
    HookId WhenIdle(std::function<void()> work);
    void CancelIdleWork(HookId id) noexcept;

    // Runs the event loop until Terminate. A failure that escapes a handler is shown by
    // HandleException and the loop goes on.
    void Run();
    // Handles every message already waiting, then returns.
    void ProcessMessages();
    void Terminate() noexcept;
    bool Terminated() const noexcept { return terminated_; }

    // The last-resort handler: a modal stop box with the application title as caption and
    // the failure's message, a full stop appended when its last character sorts after "."
    // in byte order (so "Really?" gets one and "Stop!" does not).
    void HandleException(std::exception_ptr failure) noexcept;
    // The text that box shows for a message.
    static std::string LastResortText(const std::string& message);

private:
    friend class ApplicationWindow;

    Application();
    // Dispatches one message; false when it was WM_QUIT.
    bool Dispatch(const MSG& msg);
    // Called by the application window for each of its messages, before its own handling.
    void RunHooks(UINT message, WPARAM wParam, LPARAM lParam);
    // Owned windows go and come back with a minimised owner; where the system leaves the
    // main form up, the application does it.
    void HideFormWithApplication();
    void ShowFormWithApplication();
    void RunIdleWork();

    struct Hook {
        HookId id;
        MessageHook hook;
    };

    std::string title_;
    bool terminated_ = false;
    bool showMainForm_ = true;
    HWND mainForm_ = nullptr;
    bool formHiddenWithApplication_ = false;
    // Declared before the window, which borrows them.
    IconHandle classBigIcon_;
    IconHandle classSmallIcon_;
    DensityIcons classIcons_;
    std::unique_ptr<ApplicationWindow> window_;
    std::vector<Hook> hooks_;
    std::vector<std::pair<HookId, std::function<void()>>> idleWork_;
    HookId nextHookId_ = 1;
};

// A message hook of the application window for as long as this object lives.
class ScopedMessageHook {
public:
    explicit ScopedMessageHook(Application::MessageHook hook)
        : id_(Application::Instance().AddMessageHook(std::move(hook)))
    {
    }
    ~ScopedMessageHook() { Application::Instance().RemoveMessageHook(id_); }
    ScopedMessageHook(const ScopedMessageHook&) = delete;
    ScopedMessageHook& operator=(const ScopedMessageHook&) = delete;

private:
    Application::HookId id_;
};

// Work for the first idle moment, taken back when this object goes before it was run.
class ScopedIdleWork {
public:
    explicit ScopedIdleWork(std::function<void()> work) : id_(Application::Instance().WhenIdle(std::move(work))) {}
    ~ScopedIdleWork() { Application::Instance().CancelIdleWork(id_); }
    ScopedIdleWork(const ScopedIdleWork&) = delete;
    ScopedIdleWork& operator=(const ScopedIdleWork&) = delete;

private:
    Application::HookId id_;
};

} // namespace toolkit
