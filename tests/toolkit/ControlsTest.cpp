// The standard controls in a real window: events of program assignments and of user input.
#include "ControlHost.h"

#include "toolkit/Button.h"
#include "toolkit/CheckBox.h"
#include "toolkit/ComboBox.h"
#include "toolkit/Edit.h"
#include "toolkit/Font.h"
#include "toolkit/GroupBox.h"
#include "toolkit/HotKeyField.h"
#include "toolkit/Label.h"
#include "toolkit/ListBox.h"
#include "toolkit/Memo.h"
#include "toolkit/ModalWindow.h"
#include "toolkit/RadioButton.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <set>
#include <string>
#include <vector>

using namespace toolkit;

namespace {

class RealControls : public ::testing::Test {
protected:
    ControlHost host;
};

bool IsTabStop(const Control& control)
{
    return (GetWindowLongPtrA(control.Handle(), GWL_STYLE) & WS_TABSTOP) != 0;
}

// Checks that the label is exactly as large as its text in font, and answers that size.
SIZE ExpectSizedToText(const Label& label, HFONT font)
{
    const std::string caption = label.Text();
    const HDC dc = GetDC(label.Handle());
    const HGDIOBJ old = SelectObject(dc, font);
    SIZE text{};
    GetTextExtentPoint32A(dc, caption.c_str(), static_cast<int>(caption.size()), &text);
    SelectObject(dc, old);
    ReleaseDC(label.Handle(), dc);
    const RECT bounds = label.Bounds();
    EXPECT_EQ(bounds.right - bounds.left, text.cx) << caption;
    EXPECT_EQ(bounds.bottom - bounds.top, text.cy) << caption;
    return text;
}

} // namespace

// Edit and Memo share the text rule: an assignment of a new text raises OnChange once,
// the same text raises nothing, and typing raises it for each keystroke.
TEST_F(RealControls, TextFieldsRaiseChangeOncePerNewTextAndNeverForTheSameText)
{
    std::vector<std::unique_ptr<Edit>> fields;
    fields.push_back(std::make_unique<Edit>(host.At(8, 8, 200, 21)));
    fields.push_back(std::make_unique<Memo>(host.At(8, 40, 200, 100)));
    for (auto& field : fields) {
        int changes = 0;
        std::string seenText;
        field->OnChange = [&](Control& sender) {
            ++changes;
            seenText = sender.Text();
        };
        field->SetText("C:\\mail\\sig.txt");
        EXPECT_EQ(changes, 1);
        EXPECT_EQ(seenText, "C:\\mail\\sig.txt"); // the handler sees the new text
        field->SetText("C:\\mail\\sig.txt");
        EXPECT_EQ(changes, 1);
        field->SetText("");
        EXPECT_EQ(changes, 2);
        field->SetText("");
        EXPECT_EQ(changes, 2);
        TypeChar(field->Handle(), 'x');
        TypeChar(field->Handle(), 'y');
        EXPECT_EQ(changes, 4);
        EXPECT_EQ(field->Text(), "xy");
    }
}

TEST_F(RealControls, PlaceAfterSetsTheTabOrder)
{
    Button first(host.At(8, 8, 75, 21, "First"));
    Button second(host.At(90, 8, 75, 21, "Previous"));
    Button third(host.At(170, 8, 75, 21, "Next"));
    third.PlaceAfter(first);
    EXPECT_EQ(GetNextDlgTabItem(host.Handle(), first.Handle(), FALSE), third.Handle());
    EXPECT_EQ(GetNextDlgTabItem(host.Handle(), third.Handle(), FALSE), second.Handle());
}

TEST_F(RealControls, CheckBoxRaisesClickExactlyWhenItsStateChanges)
{
    CheckBox box(host.At(8, 8, 200, 17, "Add standard signature delimiter"));
    std::vector<bool> seen;
    box.OnClick = [&](Control& sender) { seen.push_back(static_cast<CheckBox&>(sender).Checked()); };

    box.SetChecked(false); // already clear
    EXPECT_TRUE(seen.empty());
    box.SetChecked(true);
    box.SetChecked(true);
    EXPECT_EQ(seen, (std::vector<bool>{true}));
    box.SetChecked(false);
    EXPECT_EQ(seen, (std::vector<bool>{true, false}));

    // The user's space bar toggles it and raises the same handler.
    box.SetFocus();
    PressKey(box.Handle(), VK_SPACE);
    PumpMessages();
    EXPECT_TRUE(box.Checked());
    EXPECT_EQ(seen, (std::vector<bool>{true, false, true}));

    // A click notice sent by another program without a change of state raises nothing.
    SendMessageA(host.Handle(), WM_COMMAND, MAKEWPARAM(0, BN_CLICKED), reinterpret_cast<LPARAM>(box.Handle()));
    EXPECT_EQ(seen.size(), 3u);
}

TEST_F(RealControls, ComboBoxRaisesChangeExactlyWhenTheChosenItemChanges)
{
    ComboBox combo(host.At(8, 8, 200, 120), {"At random", "Shuffled, each once per round", "In order"});
    std::vector<int> seen;
    combo.OnChange = [&](Control& sender) { seen.push_back(static_cast<ComboBox&>(sender).ItemIndex()); };
    EXPECT_EQ(combo.Count(), 3);
    EXPECT_EQ(combo.Item(1), "Shuffled, each once per round");
    EXPECT_THROW(combo.Item(3), std::out_of_range);
    EXPECT_EQ(combo.ItemIndex(), -1);
    EXPECT_TRUE(IsTabStop(combo));
    // A drop-down list: its field holds no text of its own to type into.
    EXPECT_EQ(GetWindowLongPtrA(combo.Handle(), GWL_STYLE) & 3, CBS_DROPDOWNLIST);

    combo.SetItemIndex(2);
    combo.SetItemIndex(2);
    EXPECT_EQ(seen, (std::vector<int>{2}));
    EXPECT_EQ(combo.Text(), "In order");
    EXPECT_THROW(combo.SetItemIndex(3), std::out_of_range);

    // The user's arrow key on the closed field chooses the item above and raises the same handler.
    combo.SetFocus();
    PressKey(combo.Handle(), VK_UP);
    PumpMessages();
    EXPECT_EQ(combo.ItemIndex(), 1);
    EXPECT_EQ(seen, (std::vector<int>{2, 1}));

    // A change notice sent by another program without a new choice raises nothing.
    SendMessageA(host.Handle(), WM_COMMAND, MAKEWPARAM(0, CBN_SELCHANGE), reinterpret_cast<LPARAM>(combo.Handle()));
    EXPECT_EQ(seen.size(), 2u);
}

TEST_F(RealControls, RadioButtonsOfOneParentAreExclusiveAndOnlyTheSelectedIsATabStop)
{
    RadioButton above(host.At(8, 8, 73, 17, "above or"));
    RadioButton below(host.At(90, 8, 137, 17, "below random signature"));
    int aboveClicks = 0;
    int belowClicks = 0;
    above.OnClick = [&](Control&) { ++aboveClicks; };
    below.OnClick = [&](Control&) { ++belowClicks; };

    above.SetChecked(true);
    EXPECT_TRUE(above.Checked());
    EXPECT_FALSE(below.Checked());
    EXPECT_TRUE(IsTabStop(above));
    EXPECT_FALSE(IsTabStop(below));
    EXPECT_EQ(aboveClicks, 1);

    above.SetChecked(true); // no change, no click
    EXPECT_EQ(aboveClicks, 1);

    below.SetChecked(true);
    EXPECT_FALSE(above.Checked());
    EXPECT_TRUE(below.Checked());
    EXPECT_FALSE(IsTabStop(above));
    EXPECT_TRUE(IsTabStop(below));
    EXPECT_EQ(belowClicks, 1);
    EXPECT_EQ(aboveClicks, 1); // being cleared is no click

    // The user's click on the cleared button selects it through the same road.
    above.SetFocus();
    PressKey(above.Handle(), VK_SPACE);
    PumpMessages();
    EXPECT_TRUE(above.Checked());
    EXPECT_FALSE(below.Checked());
    EXPECT_EQ(aboveClicks, 2);
    // Clicking the selected one again changes nothing.
    PressKey(above.Handle(), VK_SPACE);
    PumpMessages();
    EXPECT_EQ(aboveClicks, 2);
}

TEST_F(RealControls, ButtonRaisesClickAndTakesNewCaption)
{
    Button post(host.At(8, 8, 75, 21, "Post"));
    int clicks = 0;
    post.OnClick = [&](Control&) { ++clicks; };
    post.SetFocus();
    PressKey(post.Handle(), VK_SPACE);
    PumpMessages();
    EXPECT_EQ(clicks, 1);
    post.Click();
    EXPECT_EQ(clicks, 2);
    post.SetEnabled(false);
    post.Click();
    EXPECT_EQ(clicks, 2);
    post.SetText("Add sig");
    EXPECT_EQ(post.Text(), "Add sig");
}

TEST_F(RealControls, ListBoxKeepsInsertionOrderAndOneSelection)
{
    ListBox list(host.At(8, 8, 300, 120));
    for (const char* path : {"C:\\b.sigs", "C:\\a.sigs", "C:\\c.sigs", "C:\\a.sigs"})
        list.Add(path);
    EXPECT_EQ(list.Items(), (std::vector<std::string>{"C:\\b.sigs", "C:\\a.sigs", "C:\\c.sigs", "C:\\a.sigs"}));
    EXPECT_EQ(list.Count(), 4);
    EXPECT_EQ(list.ItemIndex(), -1);

    list.SetItemIndex(2);
    EXPECT_EQ(list.ItemIndex(), 2);
    list.SetItemIndex(1);
    EXPECT_EQ(list.ItemIndex(), 1);
    EXPECT_EQ(SendMessageA(list.Handle(), LB_GETSELCOUNT, 0, 0), LB_ERR); // a single-selection list

    list.Delete(1);
    EXPECT_EQ(list.Items(), (std::vector<std::string>{"C:\\b.sigs", "C:\\c.sigs", "C:\\a.sigs"}));
    EXPECT_THROW(list.Item(3), std::out_of_range);
    EXPECT_THROW(list.Delete(-1), std::out_of_range);
    list.SetItemIndex(-1);
    EXPECT_EQ(list.ItemIndex(), -1);
    list.Clear();
    EXPECT_EQ(list.Count(), 0);

    // Rows changed by messages from elsewhere (another program, say) are the rows it tells.
    SendMessageA(list.Handle(), LB_ADDSTRING, 0, reinterpret_cast<LPARAM>("C:\\x.sigs"));
    SendMessageW(list.Handle(), LB_INSERTSTRING, 0, reinterpret_cast<LPARAM>(L"C:\\w.sigs"));
    SendMessageA(list.Handle(), LB_INSERTSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>("C:\\y.sigs"));
    EXPECT_EQ(list.Items(), (std::vector<std::string>{"C:\\w.sigs", "C:\\x.sigs", "C:\\y.sigs"}));
    SendMessageA(list.Handle(), LB_DELETESTRING, 1, 0);
    SendMessageA(list.Handle(), LB_DELETESTRING, 5, 0); // no such row: nothing changes
    EXPECT_EQ(list.Items(), (std::vector<std::string>{"C:\\w.sigs", "C:\\y.sigs"}));
    EXPECT_EQ(list.Item(1), "C:\\y.sigs");
    SendMessageA(list.Handle(), LB_RESETCONTENT, 0, 0);
    EXPECT_EQ(list.Count(), 0);
}

TEST_F(RealControls, ListBoxRaisesContextMenuAtTheClickOrAtTheSelectedRow)
{
    ListBox list(host.At(8, 8, 300, 120));
    list.Add("C:\\one.sigs");
    list.Add("C:\\two.sigs");
    std::vector<POINT> menus;
    list.OnContextMenu = [&](Control&, int x, int y) { menus.push_back(POINT{x, y}); };

    // The list's default handling passes the request up to the parent, which reflects it.
    SendMessageA(list.Handle(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(list.Handle()), MAKELPARAM(120, 130));
    ASSERT_EQ(menus.size(), 1u);
    EXPECT_EQ(menus[0].x, 120);
    EXPECT_EQ(menus[0].y, 130);

    // From the keyboard (-1, -1): at the selected row's bottom left corner.
    list.SetItemIndex(1);
    SendMessageA(list.Handle(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(list.Handle()), MAKELPARAM(-1, -1));
    ASSERT_EQ(menus.size(), 2u);
    RECT row{};
    SendMessageA(list.Handle(), LB_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&row));
    POINT expected{row.left, row.bottom};
    ClientToScreen(list.Handle(), &expected);
    EXPECT_EQ(menus[1].x, expected.x);
    EXPECT_EQ(menus[1].y, expected.y);
}

TEST_F(RealControls, ListBoxRaisesSelectAndDoubleClickForTheUsersClicksOnly)
{
    ListBox list(host.At(8, 8, 300, 120));
    list.Add("C:\\one.sigs");
    list.Add("C:\\two.sigs");
    std::vector<int> selected, doubleClicked;
    list.OnSelect = [&](Control&) { selected.push_back(list.ItemIndex()); };
    list.OnDoubleClick = [&](Control&) { doubleClicked.push_back(list.ItemIndex()); };
    list.SetItemIndex(0);
    RECT row{};
    SendMessageA(list.Handle(), LB_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&row));
    const LPARAM at = MAKELPARAM(row.left + 2, row.top + 2);
    for (const UINT message : {WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK, WM_LBUTTONUP})
        SendMessageA(list.Handle(), message, message == WM_LBUTTONUP ? 0 : MK_LBUTTON, at);
    // Not the assignment of row 0; a click on the row already selected may tell again.
    EXPECT_EQ(std::set<int>(selected.begin(), selected.end()), std::set<int>{1});
    EXPECT_EQ(doubleClicked, std::vector<int>{1});
}

namespace {

// A modal window with one button of its own, which ends it with 7.
class ChoiceWindow : public ModalWindow {
public:
    explicit ChoiceWindow(HWND owner) : ModalWindow("VarnquillTestChoice", "Choice", owner, 200, 80)
    {
        seven.OnClick = [this](Control&) { Ended(7); };
    }
    Button seven{ControlArgs{Handle(), 8, 8, 80, 24, "Seven"}};
    bool ownerEnabledAtTheEnd = true;

protected:
    void OnOk() override { Ended(IDOK); }
    void OnCancel() override { Ended(IDCANCEL); }

private:
    void Ended(int result)
    {
        ownerEnabledAtTheEnd = IsWindowEnabled(GetWindow(Handle(), GW_OWNER)) != FALSE;
        EndModal(result);
    }
};

} // namespace

TEST_F(RealControls, ModalWindowKeepsItsOwnerDisabledUntilEnterEscapeTheCloseBoxOrItsOwnEnd)
{
    const struct {
        const char* what;
        std::function<void(ChoiceWindow&)> post;
        int result;
    } cases[] = {
        {"Enter", [](ChoiceWindow& w) { PostMessageA(w.Handle(), WM_KEYDOWN, VK_RETURN, 0); }, IDOK},
        {"Escape", [](ChoiceWindow& w) { PostMessageA(w.Handle(), WM_KEYDOWN, VK_ESCAPE, 0); }, IDCANCEL},
        {"close box", [](ChoiceWindow& w) { PostMessageA(w.Handle(), WM_CLOSE, 0, 0); }, IDCANCEL},
        {"its button",
         [](ChoiceWindow& w) {
             const auto button = reinterpret_cast<LPARAM>(w.seven.Handle());
             PostMessageA(w.Handle(), WM_COMMAND, MAKEWPARAM(0, BN_CLICKED), button);
         },
         7},
    };
    for (const auto& c : cases) {
        ChoiceWindow window(host.Handle());
        EXPECT_FALSE(IsWindowVisible(window.Handle())) << c.what;
        c.post(window);
        EXPECT_EQ(window.ShowModal(), c.result) << c.what;
        EXPECT_FALSE(window.ownerEnabledAtTheEnd) << c.what;
        EXPECT_TRUE(IsWindowEnabled(host.Handle())) << c.what;
        EXPECT_FALSE(IsWindowVisible(window.Handle())) << c.what;
    }

    // Centred on its owner; the program ending meanwhile ends it too, and the end reaches the
    // program's own loop.
    ChoiceWindow window(host.Handle());
    PostQuitMessage(3);
    EXPECT_EQ(window.ShowModal(), IDCANCEL);
    RECT owner{}, own{};
    ASSERT_TRUE(GetWindowRect(host.Handle(), &owner) && GetWindowRect(window.Handle(), &own));
    EXPECT_NEAR(own.left + own.right, owner.left + owner.right, 1);
    EXPECT_NEAR(own.top + own.bottom, owner.top + owner.bottom, 1);
    EXPECT_TRUE(IsWindowEnabled(host.Handle()));
    MSG quit{};
    ASSERT_TRUE(PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(quit.wParam, 3u);
}

TEST_F(RealControls, MemoTypesEnterAndTabAsTextAndStopsAt512Characters)
{
    Memo memo(host.At(8, 8, 360, 121));
    memo.SetMaxLength(512);
    EXPECT_EQ(memo.MaxLength(), 512);
    const auto style = GetWindowLongPtrA(memo.Handle(), GWL_STYLE);
    EXPECT_TRUE(style & WS_VSCROLL);
    EXPECT_TRUE(style & WS_HSCROLL);

    // Even asked as a dialog's control, it keeps Tab and every other key.
    MSG tab{memo.Handle(), WM_KEYDOWN, VK_TAB, 0, 0, {0, 0}};
    const auto code = SendMessageA(memo.Handle(), WM_GETDLGCODE, VK_TAB, reinterpret_cast<LPARAM>(&tab));
    EXPECT_TRUE(code & DLGC_WANTTAB);
    EXPECT_TRUE(code & DLGC_WANTALLKEYS);

    TypeChar(memo.Handle(), 'a');
    TypeChar(memo.Handle(), '\t');
    TypeChar(memo.Handle(), 'b');
    TypeChar(memo.Handle(), '\r');
    TypeChar(memo.Handle(), 'c');
    EXPECT_EQ(memo.Text(), "a\tb\r\nc");
    EXPECT_EQ(memo.Lines(), (std::vector<std::string>{"a\tb", "c"}));

    memo.SetText(std::string(511, 'q'));
    SendMessageA(memo.Handle(), EM_SETSEL, 511, 511);
    int changes = 0;
    memo.OnChange = [&](Control&) { ++changes; };
    TypeChar(memo.Handle(), 'r'); // the 512th character
    TypeChar(memo.Handle(), 's'); // a 513th: refused
    EXPECT_EQ(memo.Text().size(), 512u);
    EXPECT_EQ(memo.Text().back(), 'r');
    EXPECT_EQ(changes, 1);
}

TEST(SplitLines, SplitsAtLineBreaksAndDropsOnlyTheEmptyLineAfterATrailingBreak)
{
    struct Case { const char* text; std::vector<std::string> lines; };
    const Case cases[] = {
        {"", {}},
        {"one", {"one"}},
        {"one\r\ntwo", {"one", "two"}},
        {"one\r\ntwo\r\n", {"one", "two"}},
        {"one\r\n\r\n", {"one", ""}},
        {"\r\n", {""}},
        {"\r\n\r\nx", {"", "", "x"}},
        {"lf\nonly\rcr", {"lf", "only", "cr"}},
        {"tab\there", {"tab\there"}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(base::SplitLines(c.text), c.lines) << '"' << c.text << '"';
}

TEST_F(RealControls, LabelsAndFramesAreNeverTabStopsAndLabelsFitTheirTextInTheFont)
{
    GroupBox group(host.At(4, 4, 400, 137, "Settings"));
    Label label(host.At(8, 16, 0, 0, "Signature Text File:"));
    EXPECT_FALSE(IsTabStop(group));
    EXPECT_FALSE(IsTabStop(label));

    FontHandle font = CreatePointFont("MS Sans Serif", 8, 96);
    ApplyFont(host.Handle(), font.Get());
    EXPECT_EQ(reinterpret_cast<HFONT>(SendMessageA(label.Handle(), WM_GETFONT, 0, 0)), font.Get());
    EXPECT_EQ(reinterpret_cast<HFONT>(SendMessageA(group.Handle(), WM_GETFONT, 0, 0)), font.Get());

    const SIZE text = ExpectSizedToText(label, font.Get());
    RECT bounds = label.Bounds();
    EXPECT_EQ(bounds.left, 8);
    EXPECT_EQ(bounds.top, 16);

    label.SetText("minute(s)");
    bounds = label.Bounds();
    EXPECT_LT(bounds.right - bounds.left, text.cx); // shrank to the shorter text
}

TEST_F(RealControls, ControlsAreMadeInTheirWindowsFontAndToldApartFromTheToolkitsWindows)
{
    const FontHandle font = CreatePointFont("MS Sans Serif", 16, 96);
    host.font = font.Get();
    Label label(host.At(8, 16, 0, 0, "Signature Text File:"));
    Edit edit(host.At(8, 60, 200, 30));
    host.font = nullptr;
    EXPECT_EQ(reinterpret_cast<HFONT>(SendMessageA(label.Handle(), WM_GETFONT, 0, 0)), font.Get());
    EXPECT_EQ(reinterpret_cast<HFONT>(SendMessageA(edit.Handle(), WM_GETFONT, 0, 0)), font.Get());

    // Sized as it was made, in that font, with no font given afterwards.
    ExpectSizedToText(label, font.Get());

    // A control and a toolkit window each keep their object where the other kind cannot
    // mistake it for its own.
    EXPECT_EQ(Control::FromHandle(label.Handle()), &label);
    EXPECT_EQ(Control::FromHandle(host.Handle()), nullptr);
    EXPECT_EQ(Window::FromHandle(edit.Handle()), nullptr);
    EXPECT_EQ(Window::FromHandle(host.Handle()), &host);
}

// However the field marks the key (Wine's never marks it extended), it is named by its key.
TEST(HotKeyValues, TheSystemsEditingKeysAreKnownAndNamedByTheirKeys)
{
    struct Case { WORD value; const char* text; bool editing; };
    const Case cases[] = {
        {MAKEWORD('V', HOTKEYF_CONTROL), "Ctrl+V", true},
        {MAKEWORD(VK_INSERT, HOTKEYF_CONTROL), "Ctrl+Insert", true},
        {MAKEWORD(VK_INSERT, HOTKEYF_SHIFT | HOTKEYF_EXT), "Shift+Insert", true},
        {MAKEWORD(VK_DELETE, HOTKEYF_SHIFT), "Shift+Delete", true},
        {MAKEWORD('V', HOTKEYF_CONTROL | HOTKEYF_ALT), "Ctrl+Alt+V", false},
        {MAKEWORD('Z', HOTKEYF_CONTROL | HOTKEYF_SHIFT), "Ctrl+Shift+Z", false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(HotKeyText(c.value), c.text);
        EXPECT_EQ(IsSystemEditingKey(c.value), c.editing) << c.text;
    }
}
