#pragma once
// A real top-level window that hands its children's notifications to the controls, as the
// program's main window does, and helpers that pump its messages.
#include "toolkit/Control.h"
#include "toolkit/Window.h"

#include <windows.h>

#include <chrono>
#include <functional>

class ControlHost : public toolkit::Window {
public:
    ControlHost()
    {
        toolkit::WindowArgs args;
        args.className = "VarnquillControlHost";
        args.text = "Control host";
        args.style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU;
        args.x = 50;
        args.y = 50;
        args.width = 500;
        args.height = 400;
        args.background = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
        Create(args);
        ShowWindow(Handle(), SW_SHOW);
        SetForegroundWindow(Handle());
    }

    // When set, the font the window gives the controls made in it, as the main window does.
    HFONT font = nullptr;

    toolkit::ControlArgs At(int left, int top, int width, int height, const char* text = "") const
    {
        toolkit::ControlArgs args;
        args.parent = Handle();
        args.left = left;
        args.top = top;
        args.width = width;
        args.height = height;
        args.text = text;
        return args;
    }

protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        LRESULT result = 0;
        if (toolkit::Control::Reflect(message, wParam, lParam, result))
            return result;
        if (message == WM_GETFONT && font)
            return reinterpret_cast<LRESULT>(font);
        return DefaultHandling(message, wParam, lParam);
    }
};

// Handles every waiting message of the thread.
inline void PumpMessages()
{
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

// Runs the message loop until `done` answers true or the time is up; answers `done()`.
// The limit only keeps a broken case from hanging: cases never depend on its length.
inline bool PumpUntil(const std::function<bool()>& done, std::chrono::milliseconds limit = std::chrono::seconds(20))
{
    const auto end = std::chrono::steady_clock::now() + limit;
    while (!done()) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(end - std::chrono::steady_clock::now());
        if (left.count() <= 0)
            return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(left.count()), QS_ALLINPUT);
        PumpMessages();
    }
    return true;
}

// Types one character into a window as the keyboard would deliver it.
inline void TypeChar(HWND hwnd, char c)
{
    SendMessageA(hwnd, WM_CHAR, static_cast<unsigned char>(c), 1);
}

inline void PressKey(HWND hwnd, UINT key)
{
    SendMessageA(hwnd, WM_KEYDOWN, key, 1);
    SendMessageA(hwnd, WM_KEYUP, key, 0xC0000001);
}
