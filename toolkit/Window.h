#pragma once
#include <windows.h>

namespace toolkit {

// Arguments for creating a window of one of this program's own window classes.
struct WindowArgs {
    const char* className = nullptr; // registered on first use with Window's procedure
    const char* text = "";
    DWORD style = WS_OVERLAPPEDWINDOW;
    DWORD exStyle = 0;
    int x = CW_USEDEFAULT;
    int y = CW_USEDEFAULT;
    int width = CW_USEDEFAULT;
    int height = CW_USEDEFAULT;
    HWND parent = nullptr;
    HICON icon = nullptr;       // class icon, used only when the class is first registered
    HICON smallIcon = nullptr;  // its small one, likewise; the big one when none
    HBRUSH background = nullptr; // class brush, likewise
};

// Base of every window this program creates itself. The object travels through
// CreateWindowEx's create parameter and is bound at WM_NCCREATE, so messages reach
// HandleMessage from the very first one. No exception leaves the window procedure: it goes
// to the application's last-resort handler and the message gets a neutral answer.
class Window {
public:
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;
    virtual ~Window();

    HWND Handle() const noexcept { return hwnd_; }

    // The object bound to a window created through this class, or null.
    static Window* FromHandle(HWND hwnd) noexcept;

protected:
    Window() = default;

    // Creates the window; throws std::runtime_error with the system's text on failure.
    void Create(const WindowArgs& args);
    // Destroys the window now (also done by the destructor).
    void Destroy() noexcept;

    virtual LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT DefaultHandling(UINT message, WPARAM wParam, LPARAM lParam);

private:
    static LRESULT CALLBACK Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

    HWND hwnd_ = nullptr;
};

} // namespace toolkit
