#include "toolkit/ModalWindow.h"

#include "toolkit/Control.h"
#include "toolkit/ReachablePlace.h"

namespace toolkit {

ModalWindow::ModalWindow(const char* className, const char* title, HWND owner, int clientWidth, int clientHeight)
    : owner_(owner)
{
    constexpr DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU;
    constexpr DWORD exStyle = WS_EX_DLGMODALFRAME;
    RECT frame{0, 0, clientWidth, clientHeight};
    AdjustWindowRectEx(&frame, style, FALSE, exStyle); // fails only for styles it does not know
    WindowArgs args;
    args.className = className;
    args.text = title;
    args.style = style;
    args.exStyle = exStyle;
    args.x = 0; // placed when shown, at the size it has then
    args.y = 0;
    args.width = frame.right - frame.left;
    args.height = frame.bottom - frame.top;
    args.parent = owner;
    args.background = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    Create(args);
}

void ModalWindow::CentreOnOwner()
{
    RECT own{}, owner{};
    if (!GetWindowRect(Handle(), &own))
        return; // a window that is gone shows nowhere
    const int width = own.right - own.left, height = own.bottom - own.top;
    if (!owner_ || !GetWindowRect(owner_, &owner))
        owner = RECT{0, 0, width, height}; // no owner: the screen's corner
    // Centred on an owner that may itself hang off the screen: moved in where it would.
    const POINT place = ReachablePlace({owner.left + (owner.right - owner.left - width) / 2,
                                        owner.top + (owner.bottom - owner.top - height) / 2},
                                       {width, height}, GetSystemMetrics(SM_CYCAPTION), MonitorWorkAreas());
    // Where it cannot move it shows where it was made, which the user can still reach.
    SetWindowPos(Handle(), nullptr, place.x, place.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

namespace {

constexpr UINT_PTR RevealTimer = 1;

} // namespace

void ModalWindow::Reveal()
{
    CentreOnOwner();
    ShowWindow(Handle(), SW_SHOW);
    SetForegroundWindow(Handle()); // only asks; the system may keep another window in front
    // As in a dialog box, the keyboard starts at the first control it can reach.
    if (const HWND first = GetNextDlgTabItem(Handle(), nullptr, FALSE))
        SetFocus(first);
}

int ModalWindow::ShowModal(UINT showAfterMs)
{
    result_.reset();
    const bool ownerWasEnabled = owner_ && IsWindowEnabled(owner_);
    if (ownerWasEnabled)
        EnableWindow(owner_, FALSE); // answers the previous state, not a failure
    // Without the timer the window shows at once: better early than never.
    if (showAfterMs == 0 || !SetTimer(Handle(), RevealTimer, showAfterMs, nullptr))
        Reveal();
    MSG msg;
    while (!result_) {
        const BOOL got = GetMessageA(&msg, nullptr, 0, 0);
        if (got == 0) {
            // The program is ending: leave WM_QUIT for the loop that runs the program.
            PostQuitMessage(static_cast<int>(msg.wParam));
            result_ = IDCANCEL;
            break;
        }
        if (got == -1) // only for an invalid window handle, which is never passed
            break;
        if (IsDialogMessageA(Handle(), &msg))
            continue;
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    KillTimer(Handle(), RevealTimer); // fails only when it is gone already
    // The owner first, so that it is the window activated when this one hides.
    if (ownerWasEnabled)
        EnableWindow(owner_, TRUE);
    ShowWindow(Handle(), SW_HIDE);
    return result_.value_or(IDCANCEL);
}

void ModalWindow::EndModal(int result) noexcept
{
    result_ = result;
    PostMessageA(Handle(), WM_NULL, 0, 0); // fails only with a full queue, whose next message wakes the loop anyway
}

LRESULT ModalWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    LRESULT result = 0;
    if (Control::Reflect(message, wParam, lParam, result))
        return result;
    if (message == WM_COMMAND && lParam == 0 && LOWORD(wParam) == IDOK) {
        OnOk();
        return 0;
    }
    if (message == WM_TIMER && wParam == RevealTimer) {
        KillTimer(Handle(), RevealTimer); // once; fails only when it is gone already
        if (!result_)
            Reveal();
        return 0;
    }
    if ((message == WM_COMMAND && lParam == 0 && LOWORD(wParam) == IDCANCEL) || message == WM_CLOSE) {
        OnCancel();
        return 0;
    }
    return DefaultHandling(message, wParam, lParam);
}

} // namespace toolkit
