// The message dialogs, shown for real and answered from a timer of the test, and the set-up
// of the file dialogs (the common file dialog itself is the system's and not driven here).
#include "ControlHost.h"

#include "toolkit/Application.h"
#include "toolkit/Edit.h"
#include "toolkit/FileDialogs.h"
#include "toolkit/MessageDialogs.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

using namespace toolkit;

namespace {

enum class Answer { Enter, Escape, Close, ClickYes, ClickNo, KeyY, KeyN };

// What the test's timer found in the open dialog, and how it answered.
struct DialogDriver {
    explicit DialogDriver(Answer given) : answer(given) {}
    Answer answer;
    bool found = false;
    bool forced = false; // the answer did not close it and the driver had to
    int ticksSinceAnswer = 0;
    HWND dialog = nullptr;
    std::string caption;
    std::string text;
    std::vector<std::string> buttons;
    HICON icon = nullptr;
    bool centred = false;
};

std::string TextOf(HWND hwnd)
{
    char text[512] = {};
    GetWindowTextA(hwnd, text, sizeof text);
    return text;
}

std::string ClassOf(HWND hwnd)
{
    char name[64] = {};
    GetClassNameA(hwnd, name, sizeof name);
    return name;
}

BOOL CALLBACK FindDialog(HWND hwnd, LPARAM found)
{
    if (ClassOf(hwnd) == "#32770" && IsWindowVisible(hwnd)) {
        *reinterpret_cast<HWND*>(found) = hwnd;
        return FALSE;
    }
    return TRUE;
}

BOOL CALLBACK ReadChild(HWND child, LPARAM driverAddress)
{
    auto& driver = *reinterpret_cast<DialogDriver*>(driverAddress);
    const std::string kind = ClassOf(child);
    const auto style = GetWindowLongPtrA(child, GWL_STYLE);
    if (_stricmp(kind.c_str(), "Button") == 0 && IsWindowVisible(child))
        driver.buttons.push_back(TextOf(child));
    else if (_stricmp(kind.c_str(), "Static") == 0 && (style & SS_TYPEMASK) == SS_ICON)
        driver.icon = reinterpret_cast<HICON>(SendMessageA(child, STM_GETICON, 0, 0));
    else if (_stricmp(kind.c_str(), "Static") == 0 && !TextOf(child).empty())
        driver.text = TextOf(child);
    return TRUE;
}

HWND ButtonCaptioned(HWND dialog, const char* caption)
{
    for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        if (TextOf(child) == caption)
            return child;
    return nullptr;
}

void Read(DialogDriver& driver)
{
    driver.caption = TextOf(driver.dialog);
    EnumChildWindows(driver.dialog, &ReadChild, reinterpret_cast<LPARAM>(&driver));
    RECT box{};
    GetWindowRect(driver.dialog, &box);
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    GetMonitorInfoA(MonitorFromWindow(driver.dialog, MONITOR_DEFAULTTOPRIMARY), &monitor);
    const RECT& screen = monitor.rcMonitor;
    driver.centred = std::abs((box.left + box.right) - (screen.left + screen.right)) <= 1 &&
                     std::abs((box.top + box.bottom) - (screen.top + screen.bottom)) <= 1;
}

void Press(HWND dialog, UINT message, WPARAM key)
{
    const HWND focus = GetFocus();
    PostMessageA(focus && (focus == dialog || IsChild(dialog, focus)) ? focus : dialog, message, key, 1);
}

void Give(DialogDriver& driver)
{
    switch (driver.answer) {
    case Answer::Enter: Press(driver.dialog, WM_KEYDOWN, VK_RETURN); break;
    case Answer::Escape: Press(driver.dialog, WM_KEYDOWN, VK_ESCAPE); break;
    case Answer::KeyY: Press(driver.dialog, WM_CHAR, 'y'); break;
    case Answer::KeyN: Press(driver.dialog, WM_CHAR, 'n'); break;
    case Answer::Close: PostMessageA(driver.dialog, WM_CLOSE, 0, 0); break;
    case Answer::ClickYes: PostMessageA(ButtonCaptioned(driver.dialog, "&Yes"), BM_CLICK, 0, 0); break;
    case Answer::ClickNo: PostMessageA(ButtonCaptioned(driver.dialog, "&No"), BM_CLICK, 0, 0); break;
    }
}

void CALLBACK DriveDialog(HWND, UINT, UINT_PTR driverAddress, DWORD)
{
    auto& driver = *reinterpret_cast<DialogDriver*>(driverAddress);
    if (!driver.found) {
        EnumThreadWindows(GetCurrentThreadId(), &FindDialog, reinterpret_cast<LPARAM>(&driver.dialog));
        if (!driver.dialog)
            return;
        driver.found = true;
        Read(driver);
        Give(driver);
    } else if (IsWindow(driver.dialog) && ++driver.ticksSinceAnswer > 100) {
        driver.forced = true;
        EndDialog(driver.dialog, IDABORT);
    }
}

// Shows a dialog through `show` while the driver answers it.
template <typename Show>
auto WithDriver(ControlHost& host, DialogDriver& driver, Show show)
{
    SetTimer(host.Handle(), reinterpret_cast<UINT_PTR>(&driver), 50, &DriveDialog);
    auto result = show();
    KillTimer(host.Handle(), reinterpret_cast<UINT_PTR>(&driver));
    return result;
}

} // namespace

TEST(RealMessageDialog, ErrorDialogShowsTextStopIconAndOkAndCloses)
{
    ControlHost host;
    for (Answer answer : {Answer::Enter, Answer::Escape, Answer::Close}) {
        DialogDriver driver{answer};
        WithDriver(host, driver, [&] {
            ShowErrorDialog(host.Handle(), "Error opening signature database: not found");
            return 0;
        });
        ASSERT_TRUE(driver.found);
        EXPECT_FALSE(driver.forced) << static_cast<int>(answer);
        EXPECT_EQ(driver.caption, "Error");
        EXPECT_EQ(driver.text, "Error opening signature database: not found");
        EXPECT_EQ(driver.buttons, (std::vector<std::string>{"OK"}));
        EXPECT_EQ(driver.icon, LoadIconA(nullptr, MAKEINTRESOURCEA(32513))); // IDI_HAND, the stop sign
        EXPECT_TRUE(driver.centred);
    }
}

TEST(RealMessageDialog, QuestionAnswersYesOnlyThroughYesOrEnter)
{
    struct Case { Answer answer; bool yes; };
    const Case cases[] = {
        {Answer::Enter, true}, {Answer::ClickYes, true}, {Answer::KeyY, true},
        {Answer::Escape, false}, {Answer::Close, false}, {Answer::ClickNo, false}, {Answer::KeyN, false},
    };
    ControlHost host;
    for (const Case& c : cases) {
        DialogDriver driver{c.answer};
        const bool yes = WithDriver(host, driver, [&] { return AskQuestion(host.Handle(), "Delete signature?"); });
        ASSERT_TRUE(driver.found);
        EXPECT_FALSE(driver.forced) << static_cast<int>(c.answer);
        EXPECT_EQ(yes, c.yes) << static_cast<int>(c.answer);
        EXPECT_EQ(driver.caption, "Confirm");
        EXPECT_EQ(driver.text, "Delete signature?");
        EXPECT_EQ(driver.buttons, (std::vector<std::string>{"&Yes", "&No"}));
        EXPECT_EQ(driver.icon, LoadIconA(nullptr, MAKEINTRESOURCEA(32514))); // IDI_QUESTION
        EXPECT_TRUE(driver.centred);
    }
}

// A failure in a handler raised from the window procedure does not leave it: it ends in the
// application's last-resort box, and the control goes on working.
TEST(RealMessageDialog, FailureInAnEventHandlerEndsInTheLastResortBox)
{
    ControlHost host;
    Edit field(host.At(8, 8, 200, 21));
    field.OnChange = [](Control&) { throw std::runtime_error("Cannot create registry key"); };
    toolkit::Application& application = toolkit::Application::Instance();
    const std::string title = application.Title();
    application.SetTitle("Varnquill");
    DialogDriver driver(Answer::Enter);
    WithDriver(host, driver, [&] {
        TypeChar(field.Handle(), 'x');
        return 0;
    });
    application.SetTitle(title);
    ASSERT_TRUE(driver.found);
    EXPECT_FALSE(driver.forced);
    EXPECT_EQ(driver.caption, "Varnquill");
    EXPECT_EQ(driver.text, "Cannot create registry key.");
    EXPECT_EQ(field.Text(), "x");
}

TEST(FileDialogSetup, HandsTitleFilterExtensionAndPresetNameToTheDialog)
{
    FileDialogArgs args;
    args.title = "Create new or choose an already existing signature database";
    args.filter = "Signature files|*.sigs|All files|*.*";
    args.defaultExtension = "*.sigs";
    args.fileName = "Untitled1.sigs";
    FileDialogSetup setup(args);
    const OPENFILENAMEA& dialog = setup.Structure();

    EXPECT_EQ(dialog.lStructSize, sizeof(OPENFILENAMEA));
    EXPECT_STREQ(dialog.lpstrTitle, "Create new or choose an already existing signature database");
    EXPECT_STREQ(dialog.lpstrDefExt, "*.sigs"); // handed over as given
    EXPECT_STREQ(dialog.lpstrFile, "Untitled1.sigs");
    EXPECT_GE(dialog.nMaxFile, static_cast<DWORD>(MAX_PATH));
    EXPECT_EQ(dialog.nFilterIndex, 1u);
    // The 36 characters of the filter with its bars turned into NULs, then the two NULs
    // that end the list.
    const std::string filter(dialog.lpstrFilter, 36 + 2);
    EXPECT_EQ(filter, std::string("Signature files\0*.sigs\0All files\0*.*\0\0", 38));
    // No question before an existing file, and neither the file nor its folder must exist.
    EXPECT_EQ(dialog.Flags & (OFN_OVERWRITEPROMPT | OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_CREATEPROMPT), 0u);
    EXPECT_TRUE(dialog.Flags & OFN_EXPLORER);
}

