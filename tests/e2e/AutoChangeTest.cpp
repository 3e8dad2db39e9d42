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
        throw std::runtime_error("cannot post the tick: " + base::SystemErrorText(GetLastError()));
}

// A database of one record holding text.
std::string OneRecordDatabase(const std::string& text)
{
    std::string record(513, '\0');
    record.replace(1, text.size(), text);
    return record;
}

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

namespace {

// Databases the pick may read: any the user can write, and those they may only read.
enum class Access { Writable, ReadOnlyAttribute, Immutable };

struct PickedDatabase {
    const char* name;
    Access access;
};

class TickPickTest : public RealProgram, public ::testing::WithParamInterface<PickedDatabase> {};

} // namespace

TEST_P(TickPickTest, WritesARandomSignatureWhileHiddenInTheTray)
{
    const std::string signature = program->Directory() + "signature.txt";
    std::string database = program->Directory() + "one.sigs";
    std::string text = "Hello\r\nworld";
    if (GetParam().access == Access::Immutable) {
        // Made by the test run from the Linux side (tests.cmake), holding "Immutable".
        char made[MAX_PATH] = {};
        if (!GetEnvironmentVariableA("VARNQUILL_IMMUTABLE_DATABASE", made, sizeof made))
            GTEST_SKIP() << "no immutable database: ctest makes one for this test";
        database = made;
        text = "Immutable";
        if (base::FileHandle(CreateFileA(database.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                         FILE_ATTRIBUTE_NORMAL, nullptr)))
            GTEST_SKIP() << "this file system let the database stay writable";
    } else {
        program->WriteFile("one.sigs", OneRecordDatabase(text));
        if (GetParam().access == Access::ReadOnlyAttribute) {
            ASSERT_TRUE(SetFileAttributesA(database.c_str(), FILE_ATTRIBUTE_READONLY));
        }
    }
    program->WriteFile("sigs.list", database + "\r\n");
    StoreSetting("AutoChange", "True");
    StoreSetting("OEFile", signature);

    ASSERT_NE(StartShown("/MIN"), nullptr);
    const HWND timer = AutoChangeTimerOf(program->ProcessId());
    ASSERT_NE(timer, nullptr);
    FolderChange folder(program->Directory());
    Tick(timer);

    const std::string expected = "-- \r\n" + text;
    EXPECT_TRUE(EventWait().Until([&] { return program->ReadFile("signature.txt") == expected; }, WaitMs,
                                  folder.Handle(), [&] { folder.Arm(); }))
        << program->ReadFile("signature.txt").value_or("(no file)");
    EXPECT_TRUE(DialogsOf(program->ProcessId()).empty());
}

INSTANTIATE_TEST_SUITE_P(Databases, TickPickTest,
                         ::testing::Values(PickedDatabase{"Writable", Access::Writable},
                                           PickedDatabase{"ReadOnlyAttribute", Access::ReadOnlyAttribute},
                                           PickedDatabase{"Immutable", Access::Immutable}),
                         [](const auto& info) { return std::string(info.param.name); });

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

namespace {

struct ProtectedTarget {
    const char* name;
    const char* fileName; // in the program's directory, spelt as the user chose it
    bool copyOfTheDatabase = false; // a copy nobody lists, made under that name
};

class ProtectedTargetTest : public RealProgram, public ::testing::WithParamInterface<ProtectedTarget> {};

} // namespace

TEST_P(ProtectedTargetTest, TickRefusesToWriteTheSignatureOverIt)
{
    const std::string database = OneRecordDatabase("Hello");
    const std::string list = program->Directory() + "one.sigs\r\n";
    program->WriteFile("one.sigs", database);
    program->WriteFile("sigs.list", list);
    if (GetParam().copyOfTheDatabase)
        program->WriteFile(GetParam().fileName, database);
    StoreSetting("AutoChange", "True");
    StoreSetting("OEFile", program->Directory() + GetParam().fileName);
    ASSERT_NE(StartShown(), nullptr);
    const DWORD id = program->ProcessId();
    const HWND timer = AutoChangeTimerOf(id);
    ASSERT_NE(timer, nullptr);

    Tick(timer);
    ASSERT_TRUE(EventWait().Until([&] { return DialogsOf(id).size() == 1; }, WaitMs));
    const HWND dialog = DialogsOf(id).front();
    EXPECT_EQ(TextOf(dialog), "Error");
    EXPECT_EQ(DialogMessage(dialog),
              "Error opening signature text file: It is a signature database or one of Varnquill's own files");
    PressDialogButton(dialog, "OK");
    EXPECT_TRUE(EventWait().UntilRechecking([&] { return DialogsOf(id).empty(); }, WaitMs, RecheckMs));
    EXPECT_EQ(program->ReadFile("one.sigs"), database);
    EXPECT_EQ(program->ReadFile("sigs.list"), list);
    if (GetParam().copyOfTheDatabase) {
        EXPECT_EQ(program->ReadFile(GetParam().fileName), database);
    }
}

INSTANTIATE_TEST_SUITE_P(Targets, ProtectedTargetTest,
                         ::testing::Values(ProtectedTarget{"ListedDatabase", "ONE.sigs"},
                                           ProtectedTarget{"DatabaseList", "Sigs.List"},
                                           ProtectedTarget{"UnlistedDatabase", "Other.sigs", true},
                                           ProtectedTarget{"DatabaseUnderAnotherName", "copy.txt", true}),
                         [](const auto& info) { return std::string(info.param.name); });
