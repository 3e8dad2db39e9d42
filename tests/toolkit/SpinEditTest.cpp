// The spin field in a real window: typing, reading, clamping and stepping.
#include "ControlHost.h"

#include "toolkit/Edit.h"
#include "toolkit/SpinEdit.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <string>

using namespace toolkit;

namespace {

class RealSpinEdit : public ::testing::Test {
protected:
    RealSpinEdit()
    {
        field.SetText("10");
        field.OnChange = [this](Control& sender) { changes.push_back(sender.Text()); };
    }

    ControlHost host;
    SpinEdit field{host.At(208, 60, 57, 22), 1, 70000};
    Edit elsewhere{host.At(8, 100, 100, 21)};
    std::vector<std::string> changes;
};

char DecimalSeparator()
{
    char separator[8] = {};
    GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, separator, sizeof separator);
    return separator[0];
}

} // namespace

TEST_F(RealSpinEdit, TakesDigitsSignsAndTheDecimalSeparatorAndRefusesTheRest)
{
    field.SetText("");
    changes.clear();
    const std::string accepted = std::string("0123456789+-") + DecimalSeparator();
    for (char c : accepted)
        TypeChar(field.Handle(), c);
    for (char c : std::string("aZ x/*,;e"))
        if (c != DecimalSeparator())
            TypeChar(field.Handle(), c);
    EXPECT_EQ(field.Text(), accepted);
    EXPECT_EQ(changes.size(), accepted.size()); // every keystroke is a change
    TypeChar(field.Handle(), '\b'); // editing keys pass
    EXPECT_EQ(field.Text(), accepted.substr(0, accepted.size() - 1));
}

TEST(TryParseDecimal, ReadsOnlyWholeNumbersWithOptionalSign)
{
    struct Case { const char* text; std::optional<int> value; };
    const Case cases[] = {
        {"10", 10}, {"+7", 7}, {"-5", -5}, {"0", 0}, {"0070000", 70000}, {"2147483647", 2147483647},
        {"", std::nullopt}, {"+", std::nullopt}, {"-", std::nullopt}, {"1.5", std::nullopt},
        {"+-3", std::nullopt}, {"3-", std::nullopt}, {"2147483648", std::nullopt}, {" 4", std::nullopt},
    };
    for (const Case& c : cases)
        EXPECT_EQ(TryParseDecimal(c.text), c.value) << '"' << c.text << '"';
}

TEST_F(RealSpinEdit, ValueReadsTheTextUnchangedOrTheMinimumWhenItIsNoInteger)
{
    struct Case { const char* text; int value; };
    const Case cases[] = {{"25", 25}, {"", 1}, {"abc", 1}, {"1.5", 1}, {"0", 0}, {"99999", 99999}, {"-3", -3}};
    for (const Case& c : cases) {
        field.SetText(c.text);
        EXPECT_EQ(field.Value(), c.value) << c.text;
        EXPECT_EQ(field.Text(), c.text); // typed values stay as typed
    }
}

TEST_F(RealSpinEdit, LosingTheFocusClampsAValueOutsideTheRange)
{
    struct Case { const char* typed; const char* after; };
    const Case cases[] = {{"0", "1"}, {"99999", "70000"}, {"-3", "1"}, {"500", "500"}, {"", ""}};
    for (const Case& c : cases) {
        field.SetText(c.typed);
        field.SetFocus();
        ASSERT_EQ(GetFocus(), field.Handle());
        changes.clear();
        elsewhere.SetFocus();
        PumpMessages();
        EXPECT_EQ(field.Text(), c.after) << c.typed;
        EXPECT_EQ(changes.size(), std::string(c.typed) == c.after ? 0u : 1u) << c.typed;
    }
}

TEST_F(RealSpinEdit, ArrowKeysStepByOneWithinTheRange)
{
    field.SetFocus();
    PressKey(field.Handle(), VK_UP);
    EXPECT_EQ(field.Value(), 11);
    PressKey(field.Handle(), VK_DOWN);
    PressKey(field.Handle(), VK_DOWN);
    EXPECT_EQ(field.Value(), 9);
    EXPECT_EQ(changes, (std::vector<std::string>{"11", "10", "9"}));

    field.SetValue(70000);
    changes.clear();
    PressKey(field.Handle(), VK_UP);
    EXPECT_EQ(field.Text(), "70000");
    EXPECT_TRUE(changes.empty());

    field.SetValue(1);
    PressKey(field.Handle(), VK_DOWN);
    EXPECT_EQ(field.Text(), "1");

    field.SetText("abc"); // reads as 1
    PressKey(field.Handle(), VK_UP);
    EXPECT_EQ(field.Text(), "2");

    // The wheel over the field: a step a turn, none with Ctrl held or for less than a notch.
    const auto turn = [&](int delta, WORD keys) {
        SendMessageA(field.Handle(), WM_MOUSEWHEEL, MAKEWPARAM(keys, static_cast<WORD>(delta)), 0);
    };
    turn(WHEEL_DELTA, 0);
    EXPECT_EQ(field.Text(), "3");
    turn(-2 * WHEEL_DELTA, 0);
    EXPECT_EQ(field.Text(), "2");
    turn(WHEEL_DELTA, MK_CONTROL);
    turn(WHEEL_DELTA / 2, 0);
    EXPECT_EQ(field.Text(), "2");
}

TEST_F(RealSpinEdit, ArrowButtonsStepAndFitInsideTheGivenWidthAtEveryDensity)
{
    const auto arrowsBounds = [&] {
        RECT arrows{};
        GetWindowRect(field.ArrowsHandle(), &arrows);
        MapWindowPoints(HWND_DESKTOP, host.Handle(), reinterpret_cast<POINT*>(&arrows), 2);
        return arrows;
    };
    const RECT edit = field.Bounds();
    const RECT arrows = arrowsBounds();
    EXPECT_EQ(edit.left, 208);
    EXPECT_EQ(arrows.right, 208 + 57);
    EXPECT_GE(edit.right, arrows.left); // side by side, no gap
    EXPECT_LT(edit.right, arrows.right);

    // At 150 percent the pair takes the scaled place, the arrows their scaled width; back at
    // 100 percent everything is where it was made.
    field.ScaleTo(144);
    const RECT scaledEdit = field.Bounds();
    const RECT scaledArrows = arrowsBounds();
    EXPECT_EQ(scaledEdit.left, 312);
    EXPECT_EQ(scaledEdit.top, 90);
    EXPECT_EQ(scaledEdit.bottom, 123);
    EXPECT_EQ(scaledArrows.right, 398);
    EXPECT_GE(scaledEdit.right, scaledArrows.left);
    EXPECT_NEAR(scaledArrows.right - scaledArrows.left, (arrows.right - arrows.left) * 3 / 2, 1);
    field.ScaleTo(96);
    const RECT editAgain = field.Bounds();
    const RECT arrowsAgain = arrowsBounds();
    EXPECT_TRUE(EqualRect(&editAgain, &edit));
    EXPECT_TRUE(EqualRect(&arrowsAgain, &arrows));

    const int height = arrows.bottom - arrows.top;
    const auto click = [&](int y) {
        SendMessageA(field.ArrowsHandle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, y));
        SendMessageA(field.ArrowsHandle(), WM_LBUTTONUP, 0, MAKELPARAM(3, y));
    };
    click(2);
    EXPECT_EQ(field.Value(), 11);
    click(height - 3);
    click(height - 3);
    EXPECT_EQ(field.Value(), 9);
}

TEST_F(RealSpinEdit, SetValueClampsIntoTheRange)
{
    field.SetValue(0);
    EXPECT_EQ(field.Text(), "1");
    field.SetValue(123456);
    EXPECT_EQ(field.Text(), "70000");
    changes.clear();
    field.SetValue(70000);
    EXPECT_TRUE(changes.empty());
}

TEST_F(RealSpinEdit, HeldArrowButtonRepeatsUntilReleased)
{
    using namespace std::chrono_literals;
    RECT arrows{};
    GetClientRect(field.ArrowsHandle(), &arrows);
    const POINT up{arrows.right / 2, arrows.bottom / 4};
    POINT onScreen = up;
    ClientToScreen(field.ArrowsHandle(), &onScreen);
    ASSERT_TRUE(SetCursorPos(onScreen.x, onScreen.y));

    SendMessageA(field.ArrowsHandle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(up.x, up.y));
    EXPECT_EQ(field.Value(), 11); // the press itself steps once
    EXPECT_TRUE(PumpUntil([&] { return field.Value() >= 14; }));
    SendMessageA(field.ArrowsHandle(), WM_LBUTTONUP, 0, MAKELPARAM(up.x, up.y));
    const int released = field.Value();
    PumpUntil([] { return false; }, 500ms);
    EXPECT_EQ(field.Value(), released);
    // One step at a time: every value on the way was shown.
    for (size_t i = 0; i < changes.size(); ++i)
        EXPECT_EQ(changes[i], std::to_string(11 + static_cast<int>(i)));
}
