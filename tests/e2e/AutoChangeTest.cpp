// The auto-change timer of the real program. A tick is the timer's own message, posted to
// the timer's window with the timer's number, so no test waits a whole minute.
#include "tests/e2e/ProgramFixture.h"

#include "base/SystemError.h"

#include <stdexcept>

using namespace e2e;

namespace {

// The auto-change timer's message-only window in that process.
HWND AutoChangeTimerOf(DWORD processId)
{
    HWND window = nullptr;
    while ((window = FindWindowExA(HWND_MESSAGE, window, "VarnquillTimer", nullptr)) != nullptr) {
        DWORD owner = 0;
        GetWindowThreadProcessId(window, &owner);
        if (owner == processId)
            return window;
    }
    return nullptr;
}

void Tick(HWND timer)
{
    constexpr WPARAM TimerNumber = 1;
    if (!PostMessageA(timer, WM_TIMER, TimerNumber, 0))
        throw std::runtime_error("cannot post the tick: " + toolkit::SystemErrorText(GetLastError()));
}

// A database of one record holding text.
std::string OneRecordDatabase(const std::string& text)
{
    std::string record(513, '\0');
    record.replace(1, text.size(), text);
    return record;
}

// Wakes a wait whenever a value of the settings key changes.
class SettingsChange {
public:
    SettingsChange() : event_(CreateEventA(nullptr, FALSE, FALSE, nullptr))
    {
        HKEY created = nullptr;
        if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, SettingsKeyPath, 0, nullptr, 0, KEY_NOTIFY, nullptr,
                            &created, nullptr) != ERROR_SUCCESS)
            throw std::runtime_error("cannot open the settings key");
        key_.Reset(created);
        Arm();
    }
    HANDLE Event() const noexcept { return event_.Get(); }
    void Arm()
    {
        if (RegNotifyChangeKeyValue(key_.Get(), FALSE, REG_NOTIFY_CHANGE_LAST_SET, event_.Get(), TRUE) !=
            ERROR_SUCCESS)
            throw std::runtime_error("cannot watch the settings key");
    }

private:
    toolkit::KernelHandle event_;
    toolkit::RegistryKey key_;
};

// Wakes a wait whenever a file of the directory is written.
class FolderChange {
public:
    explicit FolderChange(const std::string& directory)
        : handle_(FindFirstChangeNotificationA(directory.c_str(), FALSE,
                                               FILE_NOTIFY_CHANGE_FILE_NAME | FILE_NOTIFY_CHANGE_SIZE |
                                                   FILE_NOTIFY_CHANGE_LAST_WRITE))
    {
        if (handle_ == INVALID_HANDLE_VALUE)
            throw std::runtime_error("cannot watch " + directory);
    }
    ~FolderChange() { FindCloseChangeNotification(handle_); }
    FolderChange(const FolderChange&) = delete;
    FolderChange& operator=(const FolderChange&) = delete;
    HANDLE Handle() const noexcept { return handle_; }
    void Arm() { FindNextChangeNotification(handle_); }

private:
    HANDLE handle_;
};

} // namespace

TEST_F(RealProgram, TickWritesARandomSignatureWhileHiddenInTheTray)
{
    const std::string signature = program->Directory() + "signature.txt";
    program->WriteFile("one.sigs", OneRecordDatabase("Hello\r\nworld"));
    program->WriteFile("sigs.list", program->Directory() + "one.sigs\r\n");
    StoreSetting("AutoChange", "True");
    StoreSetting("OEFile", signature);

    ASSERT_NE(StartShown("/MIN"), nullptr);
    const HWND timer = AutoChangeTimerOf(program->ProcessId());
    ASSERT_NE(timer, nullptr);
    FolderChange folder(program->Directory());
    Tick(timer);

    const std::string expected = "-- \r\nHello\r\nworld";
    EXPECT_TRUE(EventWait().Until([&] { return program->ReadFile("signature.txt") == expected; }, WaitMs,
                                  folder.Handle(), [&] { folder.Arm(); }))
        << program->ReadFile("signature.txt").value_or("(no file)");
    EXPECT_TRUE(DialogsOf(program->ProcessId()).empty());
}

TEST_F(RealProgram, TickDoesNothingWhileAutoChangeIsOff)
{
    program->WriteFile("one.sigs", OneRecordDatabase("Hello"));
    program->WriteFile("sigs.list", program->Directory() + "one.sigs\r\n");
    StoreSetting("OEFile", program->Directory() + "signature.txt");
    const HWND form = StartShown();
    ASSERT_NE(form, nullptr);
    const HWND timer = AutoChangeTimerOf(program->ProcessId());
    ASSERT_NE(timer, nullptr);
    const HWND autoBox = ControlWithText(form, "Button", "Automatically change signature every ");
    ASSERT_NE(autoBox, nullptr);

    // Messages are handled in the order posted: once the click is written, the tick before
    // it has been handled.
    SettingsChange change;
    Tick(timer);
    ASSERT_TRUE(PostMessageA(autoBox, BM_CLICK, 0, 0));
    ASSERT_TRUE(EventWait().Until([] { return StoredSetting("AutoChange") == "True"; }, WaitMs,
                                  change.Event(), [&] { change.Arm(); }));
    EXPECT_FALSE(program->ReadFile("signature.txt").has_value());

    FolderChange folder(program->Directory());
    Tick(timer);
    EXPECT_TRUE(EventWait().Until([&] { return program->ReadFile("signature.txt") == "-- \r\nHello"; },
                                  WaitMs, folder.Handle(), [&] { folder.Arm(); }));
}

TEST_F(RealProgram, TickWhileTheLastChangesReportIsOpenDoesNothing)
{
    // No signature text file: every change ends in the error dialog.
    StoreSetting("AutoChange", "True");
    program->WriteFile("sigs.list", "C:\\missing.sigs\r\n");
    const HWND form = StartShown();
    ASSERT_NE(form, nullptr);
    const DWORD id = program->ProcessId();
    const HWND timer = AutoChangeTimerOf(id);
    ASSERT_NE(timer, nullptr);

    Tick(timer);
    ASSERT_TRUE(EventWait().Until([&] { return DialogsOf(id).size() == 1; }, WaitMs));

    // The second tick reaches the dialog's own loop; the keystroke after it tells when it
    // has been handled.
    SettingsChange change;
    Tick(timer);
    const HWND minutes = ControlAt(form, "Edit", 208, 60);
    ASSERT_NE(minutes, nullptr);
    ASSERT_TRUE(PostMessageA(minutes, WM_CHAR, '5', 0));
    ASSERT_TRUE(EventWait().Until([] { return StoredSetting("Minutes").has_value(); }, WaitMs,
                                  change.Event(), [&] { change.Arm(); }));

    const std::vector<HWND> dialogs = DialogsOf(id);
    ASSERT_EQ(dialogs.size(), 1u);
    EXPECT_EQ(TextOf(dialogs.front()), "Error");
    EXPECT_EQ(DialogMessage(dialogs.front()), "You must specify where to write the signature!");
    PressDialogButton(dialogs.front(), "OK");
    EXPECT_TRUE(EventWait().UntilRechecking([&] { return DialogsOf(id).empty(); }, WaitMs, RecheckMs));
}

namespace {

// The balloon Wine's tray shows: a tooltip window of the tray, visible, with the text.
bool BalloonShown(const std::string& text)
{
    struct Search {
        const std::string& text;
        bool found = false;
    } search{text};
    EnumWindows(
        [](HWND window, LPARAM context) -> BOOL {
            auto& s = *reinterpret_cast<Search*>(context);
            if (IsWindowVisible(window) && ClassOf(window) == "tooltips_class32" && TextOf(window) == s.text)
                s.found = true;
            return !s.found;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

} // namespace

TEST_F(RealProgram, TickErrorIsABalloonInTheTrayWhileErrorBalloonsAreOn)
{
    // No signature text file: the change ends in an error report.
    StoreSetting("AutoChange", "True");
    StoreSetting("Error", "True");
    program->WriteFile("sigs.list", "C:\\missing.sigs\r\n");
    ASSERT_NE(StartShown("/MIN"), nullptr);
    const HWND timer = AutoChangeTimerOf(program->ProcessId());
    ASSERT_NE(timer, nullptr);

    Tick(timer);
    // Wine's tray draws a balloon a moment after it is asked for, and tells no one.
    EXPECT_TRUE(EventWait().UntilRechecking(
        [] { return BalloonShown("You must specify where to write the signature!"); }, WaitMs, RecheckMs));
    EXPECT_TRUE(DialogsOf(program->ProcessId()).empty());
}
