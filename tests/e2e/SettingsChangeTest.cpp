// Every change of a setting's control is written to the registry at once.
#include "tests/common/MadeUpMailClients.h"
#include "tests/e2e/ProgramFixture.h"
#include "ui/MailClientsWindow.h"

using namespace e2e;

namespace {

// A click of a button as its window hears of it, posted: the handler may run a window of its
// own, and the test must not wait for that to end.
void PostClick(HWND window, HWND button)
{
    ASSERT_NE(button, nullptr);
    ASSERT_TRUE(PostMessageA(window, WM_COMMAND, MAKEWPARAM(0, BN_CLICKED), reinterpret_cast<LPARAM>(button)));
}

std::vector<std::string> Rows(HWND list)
{
    std::vector<std::string> rows;
    for (int i = 0; i < ListCount(list); ++i)
        rows.push_back(ListItem(list, i));
    return rows;
}

int SelectedRow(HWND list)
{
    return static_cast<int>(SendMessageA(list, LB_GETCURSEL, 0, 0));
}

// A key a user presses in the list.
void PressKey(HWND list, WPARAM key)
{
    SendMessageA(list, WM_KEYDOWN, key, 0);
    SendMessageA(list, WM_KEYUP, key, 0xC0000000);
}

struct Switch {
    const char* name;
    const char* text;
    const char* value;
};

class SwitchTest : public RealProgram, public ::testing::WithParamInterface<Switch> {};

} // namespace

TEST_P(SwitchTest, EachClickWritesTheBoxsNewState)
{
    const Switch& box = GetParam();
    const HWND form = StartShown();
    ASSERT_NE(form, nullptr);
    const HWND control = ControlWithText(form, "Button", box.text);
    ASSERT_NE(control, nullptr);
    for (int click = 0; click < 2; ++click) {
        Click(control);
        EXPECT_EQ(StoredSetting(box.value), IsChecked(control) ? "True" : "False") << "click " << click;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Boxes, SwitchTest,
    ::testing::Values(Switch{"AutoChange", "Automatically change signature every ", "AutoChange"},
                      Switch{"Balloon", "Pop up \"balloon hint\" when signature changes", "Balloon"},
                      Switch{"Error", "Pop up \"balloon\" error messages", "Error"},
                      Switch{"SigBreak", "Add standard signature delimiter", "SigBreak"},
                      Switch{"Static", "Include static text in signatures", "Static"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(RealProgram, TextFieldsWriteEveryChange)
{
    const HWND form = StartShown();
    ASSERT_NE(form, nullptr);
    const HWND file = ControlAt(form, "Edit", 8, 32);
    ASSERT_NE(file, nullptr);
    SetText(file, "C:\\mail\\sig.txt");
    EXPECT_EQ(StoredSetting("OEFile"), "C:\\mail\\sig.txt");
    SetText(file, "");
    EXPECT_EQ(StoredSetting("OEFile"), "");

    const HWND minutes = ControlAt(form, "Edit", 208, 60);
    ASSERT_NE(minutes, nullptr);
    SetText(minutes, "25");
    EXPECT_EQ(StoredSetting("Minutes"), "25");
    // Typed keystroke by keystroke: each one is written.
    DWORD_PTR answer = 0;
    ASSERT_TRUE(SendMessageTimeoutA(minutes, EM_SETSEL, 2, 2, SMTO_NORMAL, WaitMs, &answer));
    ASSERT_TRUE(SendMessageTimeoutA(minutes, WM_CHAR, '0', 0, SMTO_NORMAL, WaitMs, &answer));
    EXPECT_EQ(StoredSetting("Minutes"), "250");
}

// The arrow keys on the closed drop-down choose as a click in its list does; the next start
// shows what was chosen, and an order it does not know shows as the first.
TEST_F(RealProgram, OrderDropDownWritesTheChosenOrderAndTheNextStartShowsIt)
{
    HWND form = StartShown();
    ASSERT_NE(form, nullptr);
    HWND order = Control(form, "ComboBox", 392, 108);
    ASSERT_NE(order, nullptr);
    EXPECT_EQ(TextOf(order), "At random");
    const auto press = [&](WPARAM key) {
        DWORD_PTR answer = 0;
        ASSERT_TRUE(SendMessageTimeoutA(order, WM_KEYDOWN, key, 0, SMTO_NORMAL, WaitMs, &answer));
    };
    const struct {
        WPARAM key;
        const char* shown;
        const char* stored;
    } steps[] = {
        {VK_DOWN, "Shuffled, each once per round", "Shuffle"},
        {VK_DOWN, "In order", "Sequence"},
        {VK_UP, "Shuffled, each once per round", "Shuffle"},
    };
    for (const auto& step : steps) {
        press(step.key);
        EXPECT_EQ(TextOf(order), step.shown);
        EXPECT_EQ(StoredSetting("Order"), step.stored);
    }

    for (const auto& [stored, shown] : {std::pair{"Shuffle", "Shuffled, each once per round"}, {"Sequence ", "At random"}}) {
        program->Terminate();
        StoreSetting("Order", stored);
        form = StartShown();
        ASSERT_NE(form, nullptr);
        order = Control(form, "ComboBox", 392, 108);
        ASSERT_NE(order, nullptr);
        EXPECT_EQ(TextOf(order), shown) << stored;
        EXPECT_EQ(StoredSetting("Order"), stored) << "nothing to write back";
    }
}

TEST_F(RealProgram, StaticBoxEnablesTheStaticTextField)
{
    const HWND form = StartShown();
    ASSERT_NE(form, nullptr);
    const HWND box = ControlWithText(form, "Button", "Include static text in signatures");
    const HWND field = ControlAt(form, "Edit", 8, 241);
    ASSERT_NE(field, nullptr);
    EXPECT_FALSE(IsWindowEnabled(field));
    Click(box);
    EXPECT_TRUE(IsWindowEnabled(field));
    Click(box);
    EXPECT_FALSE(IsWindowEnabled(field));
}

TEST_F(RealProgram, PlacementButtonsAreExclusiveAndWriteThePlace)
{
    const HWND form = StartShown();
    ASSERT_NE(form, nullptr);
    const HWND above = ControlWithText(form, "Button", "above or");
    const HWND below = ControlWithText(form, "Button", "below random signature");
    ASSERT_NE(above, nullptr);
    ASSERT_NE(below, nullptr);

    Click(below);
    EXPECT_EQ(StoredSetting("StatPlace"), "Below");
    EXPECT_TRUE(IsChecked(below));
    EXPECT_FALSE(IsChecked(above));

    Click(above);
    EXPECT_EQ(StoredSetting("StatPlace"), "Above");
    EXPECT_TRUE(IsChecked(above));
    EXPECT_FALSE(IsChecked(below));
}

TEST_F(RealProgram, StartupBoxAddsAndRemovesTheStartupEntry)
{
    const HWND form = StartShown();
    ASSERT_NE(form, nullptr);
    const HWND box = ControlWithText(form, "Button", "Add to Windows Startup");
    ASSERT_NE(box, nullptr);
    Click(box);
    EXPECT_EQ(StartupEntry(), ExpectedStartupCommand());
    Click(box);
    EXPECT_FALSE(StartupEntry().has_value());
}

// "Mail clients...": what the user's mail clients read, line by line; "Use" and a double click
// put the chosen file into the field as typing would, which writes it at once.
TEST_F(RealProgram, MailClientsListsTheFilesFoundAndTheOneUsedIsWrittenAtOnce)
{
    const HWND form = StartShown();
    ASSERT_NE(form, nullptr);
    const HWND field = ControlAt(form, "Edit", 8, 32);
    ASSERT_NE(field, nullptr);
    HWND window = nullptr, list = nullptr, use = nullptr;
    const auto open = [&] {
        PostClick(form, ControlWithText(form, "Button", "Mail clients..."));
        ASSERT_TRUE(EventWait().UntilRechecking(
            [&] {
                window = TopLevelWindowOf(program->ProcessId(), MailClientsWindow::ClassName);
                return window && IsWindowVisible(window);
            },
            WaitMs, RecheckMs));
        EXPECT_EQ(TextOf(window), "Mail clients");
        EXPECT_FALSE(IsWindowEnabled(form));
        const std::vector<HWND> lists = ControlsOf(window, "ListBox");
        ASSERT_EQ(lists.size(), 1u);
        list = lists.front();
        use = ControlWithText(window, "Button", "Use");
        ASSERT_NE(use, nullptr);
    };
    const auto closed = [&] {
        return EventWait().UntilRechecking([&] { return !IsWindow(window) && IsWindowEnabled(form); }, WaitMs,
                                           RecheckMs);
    };

    // Nothing there: one line saying where the search looked, and nothing to use.
    ASSERT_NO_FATAL_FAILURE(open());
    const std::string appData = mailclients::AppData();
    EXPECT_EQ(Rows(list), std::vector<std::string>{"No mail client's signature file found; looked in " + appData +
                                                   "\\Thunderbird\\profiles.ini and " + appData +
                                                   "\\Microsoft\\Signatures"});
    EXPECT_FALSE(IsWindowEnabled(use));
    PostClick(window, ControlWithText(window, "Button", "Cancel"));
    ASSERT_TRUE(closed());

    mailclients::MadeUpMailClients clients;
    std::vector<std::string> lines = clients.Lines();
    ASSERT_NO_FATAL_FAILURE(open());
    EXPECT_EQ(Rows(list), lines);
    EXPECT_EQ(SelectedRow(list), 0);
    EXPECT_TRUE(IsWindowEnabled(use));
    // The line whose path the code page cannot hold cannot be used; the next one can.
    PressKey(list, VK_DOWN);
    PressKey(list, VK_DOWN);
    EXPECT_EQ(SelectedRow(list), 2);
    EXPECT_FALSE(IsWindowEnabled(use));
    PressKey(list, VK_DOWN);
    EXPECT_TRUE(IsWindowEnabled(use));
    PostClick(window, use);
    ASSERT_TRUE(closed());
    const std::string home = clients.Elsewhere() + "\\home.htm";
    EXPECT_EQ(TextOf(field), home);
    EXPECT_EQ(StoredSetting("OEFile"), home);

    // Again: the file in use is marked on its own line and chosen; a double click takes another.
    ASSERT_NO_FATAL_FAILURE(open());
    lines[3] += " (in use)";
    EXPECT_EQ(Rows(list), lines);
    EXPECT_EQ(SelectedRow(list), 3);
    const int height = static_cast<int>(SendMessageA(list, LB_GETITEMHEIGHT, 0, 0));
    const int top = static_cast<int>(SendMessageA(list, LB_GETTOPINDEX, 0, 0));
    const LPARAM at = MAKELPARAM(4, (5 - top) * height + height / 2);
    for (const UINT message : {WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK, WM_LBUTTONUP})
        SendMessageA(list, message, message == WM_LBUTTONUP ? 0 : MK_LBUTTON, at);
    ASSERT_TRUE(closed());
    const std::string roaming = clients.OutlookFolder() + "\\Work (jo@example.com).htm";
    EXPECT_EQ(TextOf(field), roaming);
    EXPECT_EQ(StoredSetting("OEFile"), roaming);
}
