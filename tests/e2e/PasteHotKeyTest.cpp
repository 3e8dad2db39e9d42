// The paste hot key of the real program: chosen in its field, kept in the registry, pressed
// with real key presses (SendInput) while another program's edit window has the keyboard
// focus (Wine's own Notepad), and what the clipboard held before given back after the paste.
#include "tests/common/StartProcess.h"
#include "tests/common/WineTray.h"
#include "tests/e2e/ClipboardContent.h"
#include "tests/e2e/ProgramFixture.h"

#include <commctrl.h>

#include <string>
#include <vector>

using namespace e2e;

namespace {

constexpr const char* HotKeyClass = "msctls_hotkey32";
constexpr WORD CtrlShiftQ = MAKEWORD('Q', HOTKEYF_CONTROL | HOTKEYF_SHIFT);
constexpr WORD CtrlAltS = MAKEWORD('S', HOTKEYF_CONTROL | HOTKEYF_ALT);
constexpr WORD CtrlAltW = MAKEWORD('W', HOTKEYF_CONTROL | HOTKEYF_ALT);

// A database of fixed 513-byte records, each holding its text from byte 1 on and a NUL.
std::string Database(const std::string& text)
{
    std::string record(513, '\0');
    record.replace(1, text.size(), text);
    return record;
}

void StorePasteHotKey(DWORD value)
{
    ASSERT_EQ(RegSetKeyValueA(HKEY_LOCAL_MACHINE, SettingsKeyPath, "PasteHotKey", REG_DWORD, &value, sizeof value),
              ERROR_SUCCESS);
}

std::optional<DWORD> StoredPasteHotKey()
{
    DWORD value = 0, type = 0, size = sizeof value;
    if (RegGetValueA(HKEY_LOCAL_MACHINE, SettingsKeyPath, "PasteHotKey", RRF_RT_ANY, &type, &value, &size) !=
            ERROR_SUCCESS ||
        type != REG_DWORD)
        return std::nullopt;
    return value;
}

// The combination pressed as a user presses it: the modifiers down, the key down and up, the
// modifiers up; or, held, the modifiers and the key down (and later up again).
void Press(WORD hotKey, int held = -1)
{
    std::vector<WORD> modifiers;
    if (HIBYTE(hotKey) & HOTKEYF_CONTROL)
        modifiers.push_back(VK_CONTROL);
    if (HIBYTE(hotKey) & HOTKEYF_SHIFT)
        modifiers.push_back(VK_SHIFT);
    if (HIBYTE(hotKey) & HOTKEYF_ALT)
        modifiers.push_back(VK_MENU);
    std::vector<INPUT> keys;
    const auto add = [&](WORD key, DWORD flags) {
        INPUT input{};
        input.type = INPUT_KEYBOARD;
        input.ki.wVk = key;
        input.ki.dwFlags = flags;
        keys.push_back(input);
    };
    if (held != 0) {
        for (const WORD key : modifiers)
            add(key, 0);
        add(LOBYTE(hotKey), 0);
    }
    if (held != 1) {
        add(LOBYTE(hotKey), KEYEVENTF_KEYUP);
        for (auto key = modifiers.rbegin(); key != modifiers.rend(); ++key)
            add(*key, KEYEVENTF_KEYUP);
    }
    ASSERT_EQ(SendInput(static_cast<UINT>(keys.size()), keys.data(), sizeof(INPUT)), keys.size());
}

void Hold(WORD hotKey, bool down)
{
    Press(hotKey, down ? 1 : 0);
}

// Wine's Notepad, in front with the keyboard focus in its edit window; ended with the test.
class Notepad {
public:
    Notepad()
    {
        STARTUPINFOA startup{};
        startup.cb = sizeof startup;
        if (!StartProcess("notepad.exe", startup, started_))
            throw std::runtime_error("cannot start notepad.exe");
        WaitForInputIdle(started_.hProcess, 10000);
        EventWait().UntilRechecking([&] { return (window_ = TopLevelWindowOf(started_.dwProcessId, "Notepad")); },
                                    10000, 20);
        edit_ = window_ ? FindWindowExA(window_, nullptr, "Edit", nullptr) : nullptr;
    }
    ~Notepad()
    {
        TerminateProcess(started_.hProcess, 0);
        WaitForSingleObject(started_.hProcess, 10000);
        CloseHandle(started_.hThread);
        CloseHandle(started_.hProcess);
    }
    Notepad(const Notepad&) = delete;
    Notepad& operator=(const Notepad&) = delete;

    bool InFront()
    {
        if (!edit_)
            return false;
        SetForegroundWindow(window_);
        return EventWait().UntilRechecking([&] { return GetForegroundWindow() == window_; }, 5000, 20);
    }
    std::string Text() const { return TextOf(edit_); }

private:
    PROCESS_INFORMATION started_{};
    HWND window_ = nullptr;
    HWND edit_ = nullptr;
};

constexpr const char* PressCtrlVText = "Press Ctrl+V to paste the signature.";

class PasteHotKey : public RealProgram {
protected:
    // Holds the combination until the program leaves its signature on the clipboard, as its
    // balloon tells: a balloon shown before goes as the next one comes.
    void LeaveSignatureOnClipboard(WORD hotKey)
    {
        Hold(hotKey, true);
        EXPECT_TRUE(EventWait().UntilRechecking([] { return !BalloonShown(PressCtrlVText); }, WaitMs, 50));
        EXPECT_TRUE(EventWait().UntilRechecking([] { return BalloonShown(PressCtrlVText); }, WaitMs, 50));
        Hold(hotKey, false);
    }

    // The field's value, and a change to it as the user's typing tells the window.
    static WORD FieldValue(HWND field) { return LOWORD(SendMessageA(field, HKM_GETHOTKEY, 0, 0)); }
    static void Choose(HWND form, HWND field, WORD value)
    {
        SendMessageA(field, HKM_SETHOTKEY, value, 0);
        // Posted: a message box may answer it, and the test must see that box.
        ASSERT_TRUE(PostMessageA(form, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(field), EN_CHANGE),
                                 reinterpret_cast<LPARAM>(field)));
    }
    // Whether the combination is free: this process may register it (and lets it go again).
    static bool Free(WORD value)
    {
        const UINT modifiers = ((HIBYTE(value) & HOTKEYF_ALT) ? MOD_ALT : 0) |
                               ((HIBYTE(value) & HOTKEYF_CONTROL) ? MOD_CONTROL : 0) |
                               ((HIBYTE(value) & HOTKEYF_SHIFT) ? MOD_SHIFT : 0);
        if (!RegisterHotKey(nullptr, 7, modifiers, LOBYTE(value)))
            return false;
        UnregisterHotKey(nullptr, 7);
        return true;
    }
};

} // namespace

// No signature file is set: the signature only travels through the clipboard, which holds
// the text and the picture it held before once the paste is over.
TEST_F(PasteHotKey, PastesIntoTheFocusedWindowOfAnotherProgramAndGivesTheClipboardBack)
{
    SKIP_UNLESS_WINE();
    program->WriteFile("one.sigs", Database("Kind regards\r\nA. User"));
    program->WriteFile("sigs.list", program->Directory() + "one.sigs\r\n");
    StoreSetting("SigBreak", "False");
    StorePasteHotKey(CtrlShiftQ);
    const HWND form = StartShown("/MIN");
    ASSERT_NE(form, nullptr);
    EXPECT_EQ(FieldValue(Control(form, HotKeyClass, 592, 108)), CtrlShiftQ);
    EXPECT_FALSE(Free(CtrlShiftQ)) << "the program holds its combination";
    const std::string before("copied before", 14);
    PutOnClipboard({{CF_TEXT, before}, {CF_DIB, PictureBytes()}, {CF_ENHMETAFILE, MetafileBytes()}});
    const auto pictureAndMetafileBack = [] {
        const std::optional<std::string> picture = ClipboardBytes(CF_DIB);
        ASSERT_TRUE(picture.has_value());
        EXPECT_EQ(picture->substr(0, PictureBytes().size()), PictureBytes());
        EXPECT_EQ(ClipboardBytes(CF_ENHMETAFILE), MetafileBytes());
        EXPECT_TRUE(ClipboardBytes(CF_METAFILEPICT).has_value()) << "the system offers the metafile as of old";
    };
    Notepad target;
    ASSERT_TRUE(target.InFront());

    Press(CtrlShiftQ);
    EXPECT_TRUE(EventWait().UntilRechecking([&] { return target.Text() == "Kind regards\r\nA. User"; }, WaitMs, 50))
        << target.Text();
    EXPECT_TRUE(EventWait().UntilRechecking([&] { return ClipboardBytes(CF_TEXT) == before; }, WaitMs, 50))
        << ClipboardText().value_or("(no text)");
    pictureAndMetafileBack();
    EXPECT_TRUE(DialogsOf(program->ProcessId()).empty());
    EXPECT_FALSE(program->ReadFile("signature.txt").has_value());

    // A clipboard another program keeps open: nothing is pasted, nothing lost, and a balloon
    // says so.
    ASSERT_TRUE(target.InFront());
    ASSERT_TRUE(OpenClipboard(nullptr));
    Press(CtrlShiftQ);
    EXPECT_TRUE(EventWait().UntilRechecking(
        [&] {
            return BalloonShown(
                "Another program is using the clipboard. Nothing was pasted; the clipboard is as it was.");
        },
        WaitMs, 50));
    CloseClipboard();
    EXPECT_EQ(ClipboardBytes(CF_TEXT), before);
    EXPECT_EQ(target.Text(), "Kind regards\r\nA. User");

    // A clipboard still busy two seconds after the paste (held here from the moment the
    // signature is offered, so Notepad cannot take it either): the signature is left, and what
    // the clipboard held comes back after the user's paste all the same.
    const DWORD sequence = GetClipboardSequenceNumber();
    Press(CtrlShiftQ);
    ASSERT_TRUE(EventWait().UntilRechecking([&] { return GetClipboardSequenceNumber() != sequence; }, WaitMs, 5));
    ASSERT_TRUE(EventWait().UntilRechecking([] { return OpenClipboard(nullptr) != FALSE; }, WaitMs, 5));
    Sleep(5000); // two seconds unasked, two more busy; a late program gives it back at once
    CloseClipboard();
    EXPECT_EQ(ClipboardText(), "Kind regards\r\nA. User");
    EXPECT_TRUE(EventWait().UntilRechecking([&] { return ClipboardBytes(CF_TEXT) == before; }, WaitMs, 50));
    EXPECT_EQ(target.Text(), "Kind regards\r\nA. User");

    // Keys of the combination still held after a second: no Ctrl+V is typed into them, the
    // signature stays on the clipboard and a balloon says how to paste it. Once the user has
    // pasted it (this read is one), what the clipboard held comes back.
    ASSERT_TRUE(target.InFront());
    LeaveSignatureOnClipboard(CtrlShiftQ);
    EXPECT_EQ(ClipboardText(), "Kind regards\r\nA. User");
    EXPECT_EQ(target.Text(), "Kind regards\r\nA. User");
    EXPECT_TRUE(EventWait().UntilRechecking([&] { return ClipboardBytes(CF_TEXT) == before; }, WaitMs, 50))
        << ClipboardText().value_or("(no text)");
    pictureAndMetafileBack();
}

// A signature left on the clipboard waits for its paste; what it replaced is kept meanwhile.
// Another press pastes a new signature and gives back exactly the content from before the
// first; content another program copies meanwhile stands; the session's end gives the
// clipboard back before the program goes.
TEST_F(PasteHotKey, ALeftSignatureKeepsTheContentFromBeforeItThroughASecondPasteAndTheSessionsEnd)
{
    SKIP_UNLESS_WINE();
    program->WriteFile("two.sigs", Database("First") + Database("Second"));
    program->WriteFile("sigs.list", program->Directory() + "two.sigs\r\n");
    StoreSetting("SigBreak", "False");
    StorePasteHotKey(CtrlShiftQ);
    ASSERT_NE(StartShown("/MIN"), nullptr);
    const std::string before("copied before", 14), html("<b>copied before</b>");
    PutOnClipboard({{CF_TEXT, before}, {RegisterClipboardFormatA(HtmlFormatName), html}});
    Notepad target;
    const auto pastedOnce = [&](std::size_t signatures) {
        ASSERT_TRUE(target.InFront());
        Press(CtrlShiftQ);
        // Each signature is one line of five or six letters; the one left was never typed.
        EXPECT_TRUE(EventWait().UntilRechecking([&] { return target.Text().size() >= 5 * signatures; }, WaitMs, 50))
            << target.Text();
    };

    ASSERT_TRUE(target.InFront());
    LeaveSignatureOnClipboard(CtrlShiftQ);
    pastedOnce(1);
    EXPECT_TRUE(EventWait().UntilRechecking([&] { return ClipboardBytes(CF_TEXT) == before; }, WaitMs, 50))
        << ClipboardText().value_or("(no text)");
    EXPECT_EQ(ClipboardUnicodeText(), L"copied before");
    EXPECT_EQ(ClipboardBytes(HtmlFormatName), html);
    EXPECT_FALSE(ClipboardBytes(RichTextFormatName).has_value());

    LeaveSignatureOnClipboard(CtrlShiftQ);
    const std::string newer("copied meanwhile", 17);
    PutOnClipboard({{CF_TEXT, newer}});
    pastedOnce(2);
    EXPECT_TRUE(EventWait().UntilRechecking([&] { return ClipboardBytes(CF_TEXT) == newer; }, WaitMs, 50))
        << ClipboardText().value_or("(no text)");
    EXPECT_FALSE(ClipboardBytes(HtmlFormatName).has_value());

    // As Windows logs the user off: every top-level window is asked, then told, and the
    // process may be ended as soon as the last one has answered.
    LeaveSignatureOnClipboard(CtrlShiftQ);
    const std::vector<HWND> windows = TopLevelWindowsOf(program->ProcessId());
    for (const UINT message : {WM_QUERYENDSESSION, WM_ENDSESSION})
        for (const HWND window : windows) {
            DWORD_PTR ignored = 0; // a window already gone on the way out takes no message
            SendMessageTimeoutA(window, message, message == WM_ENDSESSION, ENDSESSION_LOGOFF, SMTO_NORMAL, WaitMs,
                                &ignored);
        }
    program->Terminate();
    EXPECT_EQ(ClipboardBytes(CF_TEXT), newer);
    EXPECT_FALSE(ClipboardBytes(HtmlFormatName).has_value()) << "the signature stayed";
}

// A combination another program holds: said in a box when chosen (and kept all the same),
// in an error balloon at the next start; a free one is held until the field is cleared.
TEST_F(PasteHotKey, ACombinationAnotherProgramHoldsIsReportedAndAClearedOneIsFreed)
{
    SKIP_UNLESS_WINE();
    ASSERT_TRUE(RegisterHotKey(nullptr, 1, MOD_CONTROL | MOD_ALT, 'S')) << "this test holds Ctrl+Alt+S";
    const HWND form = StartShown();
    ASSERT_NE(form, nullptr);
    const HWND field = Control(form, HotKeyClass, 592, 108);
    ASSERT_NE(field, nullptr);
    EXPECT_EQ(FieldValue(field), 0) << "empty by default";
    EXPECT_EQ(TextOf(ControlAt(form, "Static", 592, 92)), "Paste hot key:");

    Choose(form, field, CtrlAltS);
    const DWORD id = program->ProcessId();
    ASSERT_TRUE(EventWait().Until([&] { return DialogsOf(id).size() == 1; }, WaitMs));
    const HWND box = DialogsOf(id).front();
    EventWait().UntilRechecking([&] { return !DialogMessage(box).empty(); }, WaitMs, 20);
    EXPECT_EQ(DialogMessage(box), "Ctrl+Alt+S is already used by another program. Choose another hot key.");
    PressDialogButton(box, "OK");
    EXPECT_EQ(StoredPasteHotKey(), CtrlAltS) << "kept for the next start";

    Choose(form, field, CtrlAltW);
    EXPECT_TRUE(EventWait().UntilRechecking([&] { return !Free(CtrlAltW); }, WaitMs, 20));
    EXPECT_TRUE(DialogsOf(id).empty());
    // Backspace clears the field.
    ASSERT_TRUE(PostMessageA(field, WM_KEYDOWN, VK_BACK, 1));
    EXPECT_TRUE(EventWait().UntilRechecking([&] { return Free(CtrlAltW); }, WaitMs, 20)) << "cleared, given up";
    EXPECT_EQ(StoredPasteHotKey(), 0u);

    // The next start with Ctrl+Alt+S stored, error balloons on: a balloon, no box.
    program->Terminate();
    StorePasteHotKey(CtrlAltS);
    StoreSetting("Error", "True");
    ASSERT_NE(StartShown("/MIN"), nullptr);
    EXPECT_TRUE(EventWait().UntilRechecking(
        [&] { return BalloonShown("Ctrl+Alt+S is already used by another program. Choose another hot key."); },
        WaitMs, 50));
    EXPECT_TRUE(DialogsOf(program->ProcessId()).empty());
    UnregisterHotKey(nullptr, 1);
}

// Real key presses in the field: modifiers alone and Shift+Tab out keep the combination
// (stored, held and shown); Ctrl+V is refused with a box and keeps it too, and a key pressed
// after the box has Ctrl+Alt added as ever. Stored by an earlier version, Ctrl+V is not held
// at the next start, and an error balloon says why.
TEST_F(PasteHotKey, ModifiersAloneKeepTheCombinationAndTheSystemsEditingKeysAreRefused)
{
    SKIP_UNLESS_WINE();
    constexpr WORD CtrlV = MAKEWORD('V', HOTKEYF_CONTROL);
    constexpr WORD CtrlAltF5 = MAKEWORD(VK_F5, HOTKEYF_CONTROL | HOTKEYF_ALT);
    StorePasteHotKey(CtrlAltW);
    StoreSetting("Error", "True");
    const HWND form = StartShown();
    ASSERT_NE(form, nullptr);
    const HWND field = Control(form, HotKeyClass, 592, 108);
    const auto focused = [&] {
        GUITHREADINFO thread{};
        thread.cbSize = sizeof thread;
        return GetGUIThreadInfo(GetWindowThreadProcessId(form, nullptr), &thread) && thread.hwndFocus == field;
    };
    const auto clickInto = [&] {
        PostMessageA(field, WM_LBUTTONDOWN, MK_LBUTTON, 0);
        PostMessageA(field, WM_LBUTTONUP, 0, 0);
        return EventWait().UntilRechecking(focused, WaitMs, RecheckMs);
    };
    ASSERT_TRUE(clickInto());
    Press(MAKEWORD(VK_SHIFT, 0));
    Press(MAKEWORD(VK_MENU, 0));
    Press(MAKEWORD(VK_TAB, HOTKEYF_SHIFT));
    ASSERT_TRUE(EventWait().UntilRechecking([&] { return !focused(); }, WaitMs, RecheckMs));
    EXPECT_EQ(FieldValue(field), CtrlAltW);
    EXPECT_EQ(StoredPasteHotKey(), CtrlAltW);
    EXPECT_FALSE(Free(CtrlAltW)) << "still held";

    ASSERT_TRUE(clickInto());
    Press(CtrlV);
    const DWORD id = program->ProcessId();
    ASSERT_TRUE(EventWait().UntilRechecking([&] { return DialogsOf(id).size() == 1; }, WaitMs, RecheckMs));
    const HWND box = DialogsOf(id).front();
    EventWait().UntilRechecking([&] { return !DialogMessage(box).empty(); }, WaitMs, RecheckMs);
    EXPECT_EQ(DialogMessage(box), "Ctrl+V is the system's own key for editing. Choose another hot key.");
    PressDialogButton(box, "OK");
    ASSERT_TRUE(EventWait().UntilRechecking([&] { return DialogsOf(id).empty(); }, WaitMs, RecheckMs));
    EXPECT_EQ(FieldValue(field), CtrlAltW);
    EXPECT_EQ(StoredPasteHotKey(), CtrlAltW);
    EXPECT_TRUE(Free(CtrlV));
    ASSERT_TRUE(clickInto());
    Press(MAKEWORD(VK_F5, 0));
    EXPECT_TRUE(EventWait().UntilRechecking([&] { return !Free(CtrlAltF5); }, WaitMs, RecheckMs));
    EXPECT_EQ(StoredPasteHotKey(), CtrlAltF5);

    program->Terminate();
    StorePasteHotKey(CtrlV);
    ASSERT_NE(StartShown("/MIN"), nullptr);
    EXPECT_TRUE(EventWait().UntilRechecking(
        [&] { return BalloonShown("Ctrl+V is the system's own key for editing. Choose another hot key."); }, WaitMs,
        50));
    EXPECT_TRUE(DialogsOf(program->ProcessId()).empty());
    EXPECT_TRUE(Free(CtrlV)) << "not held";
}
