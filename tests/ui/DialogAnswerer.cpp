#include "DialogAnswerer.h"

#include <dlgs.h>

#include <algorithm>
#include <stdexcept>
#include <utility>

namespace uitest {

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
        if (std::find(answered_.begin(), answered_.end(), dialog) != answered_.end())
            continue;
        answered_.push_back(dialog);
        seen_.push_back({TextOf(dialog), LongestStatic(dialog), GetWindow(dialog, GW_OWNER)});
        Answer answer{Answer::Kind::Cancel, {}};
        if (!plan_.empty()) {
            answer = plan_.front();
            plan_.pop_front();
        }
        Give(dialog, answer);
    }
    // Window handles are reused: forget the ones that have gone.
    std::erase_if(answered_, [](HWND dialog) { return !IsWindow(dialog); });
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
    case Answer::Kind::Cancel:
        break;
    }
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
}

} // namespace uitest
