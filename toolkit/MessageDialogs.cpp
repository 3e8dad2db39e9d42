#include "toolkit/MessageDialogs.h"

#include "toolkit/Handles.h"
#include "base/SystemError.h"

#include <cstring>
#include <stdexcept>

namespace toolkit {

namespace {

// The system's message box gives the icon, the font and the keys. A hook on the thread
// catches the box as it is activated, before it is shown, to give its buttons our captions
// and to centre it on the screen. The hook procedure has no parameter of its own, so the
// box being opened is found through this per-thread pointer; each box takes it once.
struct BoxToPrepare {
    const char* okCaption;
    const char* cancelCaption; // null when the box has only "OK"
};
thread_local const BoxToPrepare* boxToPrepare = nullptr;

void CentreOnScreen(HWND dialog)
{
    RECT box{};
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    if (!GetWindowRect(dialog, &box) ||
        !GetMonitorInfoA(MonitorFromWindow(dialog, MONITOR_DEFAULTTOPRIMARY), &monitor))
        return; // the box stays where the system put it, near its owner
    const RECT& screen = monitor.rcMonitor;
    const int width = box.right - box.left;
    const int height = box.bottom - box.top;
    const int left = screen.left + (screen.right - screen.left - width) / 2;
    const int top = screen.top + (screen.bottom - screen.top - height) / 2;
    // Where the move fails the box stays where the system put it.
    SetWindowPos(dialog, nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

LRESULT CALLBACK PrepareBox(int code, WPARAM wParam, LPARAM lParam)
{
    if (code == HCBT_ACTIVATE && boxToPrepare) {
        const auto dialog = reinterpret_cast<HWND>(wParam);
        char className[16] = {};
        if (GetClassNameA(dialog, className, sizeof className) && std::strcmp(className, "#32770") == 0) {
            const BoxToPrepare* box = boxToPrepare;
            boxToPrepare = nullptr;
            // A caption that cannot be set keeps the system's own, which says the same.
            SetDlgItemTextA(dialog, IDOK, box->okCaption);
            if (box->cancelCaption)
                SetDlgItemTextA(dialog, IDCANCEL, box->cancelCaption);
            CentreOnScreen(dialog);
        }
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

int ShowBox(HWND wantedOwner, const std::string& text, const char* caption, UINT style, const BoxToPrepare& box)
{
    const HWND owner = ShownOwner(wantedOwner);
    WindowsHook hook(SetWindowsHookExA(WH_CBT, &PrepareBox, nullptr, GetCurrentThreadId()));
    boxToPrepare = hook ? &box : nullptr; // without the hook the box still shows, near its owner
    if (!owner)
        style |= MB_TASKMODAL | MB_SETFOREGROUND;
    const int answer = MessageBoxA(owner, text.c_str(), caption, style);
    const DWORD failure = answer == 0 ? GetLastError() : 0;
    boxToPrepare = nullptr;
    hook.Reset();
    if (answer == 0)
        throw std::runtime_error("A message cannot be shown: " + base::SystemErrorText(failure));
    return answer;
}

} // namespace

HWND ShownOwner(HWND window) noexcept
{
    return window && IsWindowVisible(window) ? window : nullptr;
}

void ShowErrorDialog(HWND owner, const std::string& text)
{
    static constexpr BoxToPrepare box{"OK", nullptr};
    ShowBox(owner, text, "Error", MB_OK | MB_ICONSTOP, box);
}

void ShowInformationDialog(HWND owner, const std::string& text)
{
    static constexpr BoxToPrepare box{"OK", nullptr};
    ShowBox(owner, text, "Information", MB_OK | MB_ICONINFORMATION, box);
}

bool AskQuestion(HWND owner, const std::string& question)
{
    // OK and Cancel under our captions: the system's Yes/No box ignores Escape and has no
    // close box, while Cancel takes both.
    static constexpr BoxToPrepare box{"&Yes", "&No"};
    return ShowBox(owner, question, "Confirm", MB_OKCANCEL | MB_ICONQUESTION | MB_DEFBUTTON1, box) == IDOK;
}

} // namespace toolkit
