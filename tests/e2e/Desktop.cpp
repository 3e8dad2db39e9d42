#include "tests/e2e/Desktop.h"

#include "tests/common/WineTray.h"

#include <optional>
#include <stdexcept>

namespace e2e {

namespace {

constexpr UINT AnswerTimeoutMs = 5000;

struct ProcessWindows {
    DWORD processId;
    bool visibleOnly;
    std::vector<HWND> found;
};

BOOL CALLBACK CollectProcessWindow(HWND window, LPARAM context)
{
    auto& search = *reinterpret_cast<ProcessWindows*>(context);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == search.processId && (!search.visibleOnly || IsWindowVisible(window)))
        search.found.push_back(window);
    return TRUE;
}

std::vector<HWND> Collect(DWORD processId, bool visibleOnly)
{
    ProcessWindows search{processId, visibleOnly, {}};
    EnumWindows(CollectProcessWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

BOOL CALLBACK CollectChild(HWND window, LPARAM context)
{
    reinterpret_cast<std::vector<HWND>*>(context)->push_back(window);
    return TRUE;
}

std::vector<HWND> Descendants(HWND window)
{
    std::vector<HWND> children;
    EnumChildWindows(window, CollectChild, reinterpret_cast<LPARAM>(&children));
    return children;
}

// Nothing when the window is gone or did not answer in time.
std::optional<LRESULT> Answer(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    DWORD_PTR answer = 0;
    if (!SendMessageTimeoutA(window, message, wParam, lParam, SMTO_NORMAL, AnswerTimeoutMs, &answer))
        return std::nullopt;
    return static_cast<LRESULT>(answer);
}

LRESULT Send(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (const std::optional<LRESULT> answer = Answer(window, message, wParam, lParam))
        return *answer;
    throw std::runtime_error("the window did not answer message " + std::to_string(message));
}

// WM_GETTEXT, or nothing when the window went away (or stopped answering) while read.
std::optional<std::string> AnsweredText(HWND window)
{
    const std::optional<LRESULT> length = Answer(window, WM_GETTEXTLENGTH, 0, 0);
    if (!length)
        return std::nullopt;
    std::string text(static_cast<std::size_t>(*length) + 1, '\0');
    const std::optional<LRESULT> copied =
        Answer(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()));
    if (!copied)
        return std::nullopt;
    text.resize(static_cast<std::size_t>(*copied));
    return text;
}

} // namespace

std::vector<HWND> TopLevelWindowsOf(DWORD processId)
{
    return Collect(processId, false);
}

std::vector<HWND> VisibleTopLevelWindowsOf(DWORD processId)
{
    return Collect(processId, true);
}

HWND TopLevelWindowOf(DWORD processId, const std::string& className)
{
    for (HWND window : TopLevelWindowsOf(processId))
        if (ClassOf(window) == className)
            return window;
    return nullptr;
}

std::string ClassOf(HWND window)
{
    char name[256] = "";
    GetClassNameA(window, name, sizeof name);
    return name;
}

std::string TextOf(HWND window)
{
    if (std::optional<std::string> text = AnsweredText(window))
        return std::move(*text);
    throw std::runtime_error("the window did not answer WM_GETTEXT");
}

RECT ScreenRect(HWND window)
{
    RECT rect{};
    if (!GetWindowRect(window, &rect))
        throw std::runtime_error("no such window");
    return rect;
}

SIZE ClientSize(HWND window)
{
    RECT rect{};
    if (!GetClientRect(window, &rect))
        throw std::runtime_error("no such window");
    return {rect.right - rect.left, rect.bottom - rect.top};
}

RECT RectIn(HWND window, HWND control)
{
    RECT rect = ScreenRect(control);
    // Two points: the corners. The call answers 0 also for a legitimate zero offset, so its
    // result tells nothing.
    MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

HWND ControlAt(HWND window, const std::string& className, int x, int y)
{
    for (HWND control : Descendants(window)) {
        if (ClassOf(control) != className)
            continue;
        const RECT rect = RectIn(window, control);
        if (rect.left == x && rect.top == y)
            return control;
    }
    return nullptr;
}

HWND ControlWithText(HWND window, const std::string& className, const std::string& text)
{
    for (HWND control : Descendants(window))
        if (ClassOf(control) == className && TextOf(control) == text)
            return control;
    return nullptr;
}

std::vector<HWND> ControlsOf(HWND window, const std::string& className)
{
    std::vector<HWND> controls;
    for (HWND control : Descendants(window))
        if (ClassOf(control) == className)
            controls.push_back(control);
    return controls;
}

bool IsChecked(HWND button)
{
    return Send(button, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void Click(HWND button)
{
    Send(button, BM_CLICK, 0, 0);
}

void SetText(HWND control, const std::string& text)
{
    Send(control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

std::vector<HWND> DialogsOf(DWORD processId)
{
    std::vector<HWND> dialogs;
    for (HWND window : TopLevelWindowsOf(processId))
        if (ClassOf(window) == "#32770")
            dialogs.push_back(window);
    return dialogs;
}

std::string DialogMessage(HWND dialog)
{
    std::string longest;
    for (HWND control : Descendants(dialog)) {
        if (ClassOf(control) != "Static")
            continue;
        std::string text = TextOf(control);
        if (text.size() > longest.size())
            longest = std::move(text);
    }
    return longest;
}

void PressDialogButton(HWND dialog, const std::string& buttonText)
{
    HWND button = ControlWithText(dialog, "Button", buttonText);
    if (!button)
        throw std::runtime_error("the dialog has no button \"" + buttonText + "\"");
    // Answered as soon as the box has taken the click; its modal loop ends after that.
    Send(button, BM_CLICK, 0, 0);
}

int ListCount(HWND list)
{
    return static_cast<int>(Send(list, LB_GETCOUNT, 0, 0));
}

std::string ListItem(HWND list, int index)
{
    // Asked in UTF-16: Wine hands a list's rows to another process in that form only.
    const auto length = static_cast<std::size_t>(Send(list, LB_GETTEXTLEN, index, 0));
    std::wstring wide(length + 1, L'\0');
    DWORD_PTR copied = 0;
    if (!SendMessageTimeoutW(list, LB_GETTEXT, index, reinterpret_cast<LPARAM>(wide.data()), SMTO_NORMAL,
                             AnswerTimeoutMs, &copied) ||
        static_cast<LRESULT>(copied) == LB_ERR)
        throw std::runtime_error("cannot read row " + std::to_string(index));
    wide.resize(copied);
    std::string text(wide.size() * 2 + 1, '\0');
    const int bytes = WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int>(wide.size()), text.data(),
                                          static_cast<int>(text.size()), nullptr, nullptr);
    text.resize(bytes > 0 ? static_cast<std::size_t>(bytes) : 0);
    return text;
}

int TrayIconCount()
{
    return testcommon::IconsInWinesTray();
}

bool BalloonShown(const std::string& text)
{
    struct Search {
        const std::string& text;
        bool found = false;
    } search{text};
    EnumWindows(
        [](HWND window, LPARAM context) -> BOOL {
            auto& s = *reinterpret_cast<Search*>(context);
            // The tray's balloons come and go as they like: one that went away while it was
            // read is not the one looked for.
            if (IsWindowVisible(window) && ClassOf(window) == "tooltips_class32" && AnsweredText(window) == s.text)
                s.found = true;
            return !s.found;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

} // namespace e2e
