// A second reference for the start-up benchmark: an empty window holding the same standard
// controls as Varnquill's main window (group boxes, labels, edits, memos, buttons, check
// and radio boxes, a spin field, a drop-down list, a list box, a picture), made with plain
// CreateWindowEx and nothing else. It shows what the controls alone cost on this system.
// Built twice: same_controls carries Varnquill's manifest and so makes the controls Varnquill
// makes (Common Controls 6, themed); user32_controls carries none and makes user32's older
// ones.
#include <windows.h>

#include <commctrl.h>

namespace {

LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

struct Child {
    const char* className;
    DWORD style;
    int left, top, width, height;
    const char* text;
};

constexpr DWORD Check = BS_AUTOCHECKBOX | WS_TABSTOP;
constexpr DWORD Push = BS_PUSHBUTTON | WS_TABSTOP;
constexpr DWORD Line = ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP;
constexpr DWORD Memo = ES_MULTILINE | ES_AUTOVSCROLL | ES_AUTOHSCROLL | WS_VSCROLL | WS_HSCROLL | WS_BORDER;

const Child Children[] = {
    {"BUTTON", BS_GROUPBOX, 0, 0, 754, 137, "Settings"},
    {"STATIC", 0, 8, 16, 100, 13, "Signature Text File:"},
    {"EDIT", Line, 8, 32, 577, 21, ""},
    {"BUTTON", Push, 592, 32, 145, 21, "Browse / Create"},
    {"BUTTON", Push, 592, 9, 145, 21, "Mail clients..."},
    {"BUTTON", Check, 8, 64, 201, 17, "Automatically change signature every "},
    {"EDIT", Line | ES_NUMBER, 208, 60, 41, 22, "10"},
    {UPDOWN_CLASSA, UDS_ALIGNRIGHT | UDS_SETBUDDYINT, 249, 60, 16, 22, ""},
    {"STATIC", 0, 271, 64, 50, 13, "minute(s)"},
    {"BUTTON", Check, 352, 64, 137, 17, "Add to Windows Startup"},
    {"BUTTON", Check, 8, 88, 241, 17, "Pop up \"balloon hint\" when signature changes"},
    {"BUTTON", Check, 352, 88, 177, 17, "Pop up \"balloon\" error messages"},
    {"BUTTON", Check, 8, 112, 177, 17, "Add standard signature delimiter"},
    {"STATIC", 0, 352, 112, 40, 13, "Order:"},
    {"COMBOBOX", CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP, 392, 108, 185, 120, ""},
    {"BUTTON", BS_GROUPBOX, 0, 137, 754, 307, "Database"},
    {"EDIT", Memo | WS_DISABLED, 384, 241, 360, 121, ""},
    {"STATIC", 0, 8, 153, 110, 13, "Database file to edit:"},
    {"EDIT", Line, 8, 169, 577, 21, ""},
    {"BUTTON", Push, 592, 169, 68, 21, "New / Open"},
    {"BUTTON", Push | WS_DISABLED, 668, 169, 68, 21, "Close"},
    {"BUTTON", Push | WS_DISABLED, 385, 409, 75, 21, "New"},
    {"BUTTON", Push | WS_DISABLED, 480, 409, 75, 21, "Post"},
    {"BUTTON", Push | WS_DISABLED, 575, 409, 75, 21, "Delete"},
    {"BUTTON", Push | WS_DISABLED, 384, 377, 75, 21, "First"},
    {"BUTTON", Push | WS_DISABLED, 480, 377, 75, 21, "Previous"},
    {"BUTTON", Push | WS_DISABLED, 575, 377, 75, 21, "Next"},
    {"BUTTON", Push | WS_DISABLED, 670, 377, 75, 21, "Last"},
    {"BUTTON", Push | WS_DISABLED, 670, 409, 75, 21, "Set signature"},
    {"STATIC", 0, 8, 225, 60, 13, "Static text:"},
    {"EDIT", Memo | WS_DISABLED, 8, 241, 360, 121, ""},
    {"BUTTON", Check, 8, 201, 169, 17, "Include static text in signatures"},
    {"BUTTON", BS_AUTORADIOBUTTON | WS_TABSTOP, 176, 201, 73, 17, "above or"},
    {"BUTTON", BS_AUTORADIOBUTTON, 240, 201, 137, 17, "below random signature"},
    {"STATIC", 0, 384, 225, 60, 13, "Signature:"},
    {"STATIC", SS_BITMAP | SS_CENTERIMAGE, 8, 377, 360, 53, ""},
    {"BUTTON", BS_GROUPBOX, 0, 444, 754, 128, "Databases"},
    {"LISTBOX", LBS_NOTIFY | WS_VSCROLL | WS_BORDER | WS_TABSTOP, 2, 459, 750, 111, ""},
};

} // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_UPDOWN_CLASS};
    InitCommonControlsEx(&controls); // without it only the spin arrows are missing
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = Procedure;
    windowClass.hInstance = instance;
    windowClass.lpszClassName = "SameControls";
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    if (!RegisterClassA(&windowClass))
        return 1;
    const HWND window = CreateWindowExA(0, "SameControls", "Same controls", WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU,
                                        193, 106, 760, 600, nullptr, nullptr, instance, nullptr);
    if (!window)
        return 1;
    for (const Child& child : Children) {
        // A control that cannot be made is missing from the picture; the timing still counts.
        CreateWindowExA(0, child.className, child.text, WS_CHILD | WS_VISIBLE | child.style, child.left, child.top,
                        child.width, child.height, window, nullptr, instance, nullptr);
    }
    ShowWindow(window, SW_SHOWNORMAL); // answers the previous visibility
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return 0;
}
