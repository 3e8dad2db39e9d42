#include "tests/common/DialogAnswerer.h"

#include <dlgs.h>

#include <algorithm>
#include <cstdlib>
#include <stdexcept>
#include <utility>

namespace testcommon {

namespace {

std::string TextOf(HWND window)
{
    char text[1024] = {};
    GetWindowTextA(window, text, sizeof text);
    return text;
}

std::string ClassOf(HWND window)
{
    char name[64] = {};
    GetClassNameA(window, name, sizeof name);
    return name;
}

BOOL CALLBACK FindDialog(HWND window, LPARAM found)
{
    if (ClassOf(window) == "#32770" && IsWindowVisible(window)) {
        reinterpret_cast<std::vector<HWND>*>(found)->push_back(window);
    }
    return TRUE;
}

BOOL CALLBACK CollectChild(HWND child, LPARAM children)
{
    reinterpret_cast<std::vector<HWND>*>(children)->push_back(child);
    return TRUE;
}

std::vector<HWND> ChildrenOf(HWND window)
{
    std::vector<HWND> children;
    EnumChildWindows(window, &CollectChild, reinterpret_cast<LPARAM>(&children));
    return children;
}

std::string LongestStatic(HWND dialog)
{
    std::string longest;
    for (HWND child : ChildrenOf(dialog)) {
        if (_stricmp(ClassOf(child).c_str(), "Static") != 0)
            continue;
        std::string text = TextOf(child);
        if (text.size() > longest.size())
            longest = std::move(text);
    }
    return longest;
}

// Reads what a message box shows beyond its caption and text.
void ReadParts(HWND dialog, SeenDialog& seen)
{
    for (HWND child : ChildrenOf(dialog)) {
        const std::string kind = ClassOf(child);
        if (_stricmp(kind.c_str(), "Button") == 0 && IsWindowVisible(child))
            seen.buttons.push_back(TextOf(child));
        else if (_stricmp(kind.c_str(), "Static") == 0 && (GetWindowLongPtrA(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON)
            seen.icon = reinterpret_cast<HICON>(SendMessageA(child, STM_GETICON, 0, 0));
    }
    RECT box{};
    GetWindowRect(dialog, &box);
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    GetMonitorInfoA(MonitorFromWindow(dialog, MONITOR_DEFAULTTOPRIMARY), &monitor);
    const RECT& screen = monitor.rcMonitor;
    seen.centred = std::abs((box.left + box.right) - (screen.left + screen.right)) <= 1 &&
                   std::abs((box.top + box.bottom) - (screen.top + screen.bottom)) <= 1;
}

// Posts a key message to the dialog's focused control, or to the dialog when none has focus.
void PostToFocus(HWND dialog, UINT message, WPARAM code)
{
    const HWND focus = GetFocus();
    PostMessageA(focus && (focus == dialog || IsChild(dialog, focus)) ? focus : dialog, message, code, 1);
}

// About five seconds of ticks: far more than any dialog needs to close after its answer.
constexpr int ForceAfterTicks = 100;

} // namespace

DialogAnswerer* DialogAnswerer::current_ = nullptr;

DialogAnswerer::DialogAnswerer()
{
    if (current_)
        throw std::logic_error("one dialog answerer at a time");
    timer_ = SetTimer(nullptr, 0, 50, &DialogAnswerer::Tick);
    if (!timer_)
        throw std::runtime_error("cannot start the dialog answerer's timer");
    current_ = this;
}

DialogAnswerer::~DialogAnswerer()
{
    KillTimer(nullptr, timer_); // the thread's timer; nothing to do if it is already gone
    current_ = nullptr;
}

void DialogAnswerer::Press(const std::string& buttonText)
{
    plan_.push_back({Answer::Kind::Press, buttonText});
}

void DialogAnswerer::ChooseFile(const std::string& path)
{
    plan_.push_back({Answer::Kind::ChooseFile, path});
}

void DialogAnswerer::Cancel()
{
    plan_.push_back({Answer::Kind::Cancel, {}});
}

void DialogAnswerer::PressKey(WPARAM virtualKey)
{
    plan_.push_back({Answer::Kind::Key, {}, virtualKey});
}

void DialogAnswerer::TypeChar(char c)
{
    plan_.push_back({Answer::Kind::Char, {}, static_cast<unsigned char>(c)});
}

void DialogAnswerer::Close()
{
    plan_.push_back({Answer::Kind::Close, {}});
}

std::vector<SeenDialog> DialogAnswerer::Take()
{
    return std::exchange(seen_, {});
}

void CALLBACK DialogAnswerer::Tick(HWND, UINT, UINT_PTR, DWORD)
{
    if (current_)
        current_->Look();
}

void DialogAnswerer::Look()
{
    std::vector<HWND> dialogs;
    EnumThreadWindows(GetCurrentThreadId(), &FindDialog, reinterpret_cast<LPARAM>(&dialogs));
    for (HWND dialog : dialogs) {
        // A dialog answered stays on screen until its loop has seen the answer.
        const auto known = std::find_if(answered_.begin(), answered_.end(),
                                        [dialog](const Answered& a) { return a.dialog == dialog; });
        if (known != answered_.end()) {
            if (++known->ticks == ForceAfterTicks) {
                ++forced_;
                EndDialog(dialog, IDABORT);
            }
            continue;
        }
        answered_.push_back({dialog, 0});
        SeenDialog seen;
        seen.caption = TextOf(dialog);
        seen.text = LongestStatic(dialog);
        seen.owner = GetWindow(dialog, GW_OWNER);
        ReadParts(dialog, seen);
        seen_.push_back(std::move(seen));
        Answer answer{Answer::Kind::Cancel, {}};
        if (!plan_.empty()) {
            answer = plan_.front();
            plan_.pop_front();
        }
        Give(dialog, answer);
    }
    // Window handles are reused: forget the ones that have gone.
    std::erase_if(answered_, [](const Answered& a) { return !IsWindow(a.dialog); });
}

void DialogAnswerer::Give(HWND dialog, const Answer& answer)
{
    switch (answer.kind) {
    case Answer::Kind::Press:
        for (HWND child : ChildrenOf(dialog)) {
            if (TextOf(child) == answer.text && _stricmp(ClassOf(child).c_str(), "Button") == 0) {
                PostMessageA(child, BM_CLICK, 0, 0);
                return;
            }
        }
        break;
    case Answer::Kind::ChooseFile:
        // The name field is a combo box in the newer dialogs and an edit in the older ones.
        SetDlgItemTextA(dialog, cmb13, answer.text.c_str());
        SetDlgItemTextA(dialog, edt1, answer.text.c_str());
        PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
        return;
    case Answer::Kind::Key:
        PostToFocus(dialog, WM_KEYDOWN, answer.code);
        return;
    case Answer::Kind::Char:
        PostToFocus(dialog, WM_CHAR, answer.code);
        return;
    case Answer::Kind::Close:
        PostMessageA(dialog, WM_CLOSE, 0, 0);
        return;
    case Answer::Kind::Cancel:
        break;
    }
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
}

} // namespace testcommon
