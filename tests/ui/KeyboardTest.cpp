// The keyboard in a real main window: Tab walks the controls in their order, skipping
// disabled ones, and the multi-line fields keep Tab as text.
#include "ui/Unit1.h"

#include "toolkit/Application.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

class MainWindowKeyboard : public ::testing::Test {
protected:
    void SetUp() override
    {
        Clean();
        form = std::make_unique<TForm1>();
        form->Show();
    }
    void TearDown() override
    {
        form.reset();
        Clean();
    }
    static void Clean()
    {
        // Missing already is as good as removed.
        RegDeleteTreeA(HKEY_LOCAL_MACHINE, "Software\\qmz\\Varnquill");
    }

    // Presses Tab in the focused control, through the program's own message loop.
    static void PressTab()
    {
        const HWND focused = GetFocus();
        ASSERT_NE(focused, nullptr);
        ASSERT_TRUE(PostMessageA(focused, WM_KEYDOWN, VK_TAB, 0x000F0001));
        ASSERT_TRUE(PostMessageA(focused, WM_KEYUP, VK_TAB, 0xC00F0001));
        toolkit::Application::Instance().ProcessMessages();
    }

    std::unique_ptr<TForm1> form;
};

TEST_F(MainWindowKeyboard, TabMovesThroughTheSettingsInOrder)
{
    form->OEFileEdit.SetFocus();
    ASSERT_EQ(GetFocus(), form->OEFileEdit.Handle());
    const HWND expected[] = {form->BrowseBtn.Handle(), form->AutoChkBx.Handle(), form->MinutesEdit.Handle(),
                             form->StartupChkBx.Handle(), form->BalloonChkBx.Handle()};
    for (HWND next : expected) {
        PressTab();
        EXPECT_EQ(GetFocus(), next);
    }
}

TEST_F(MainWindowKeyboard, TabSkipsDisabledControlsAndStaysInAMultiLineField)
{
    // With no database open, "New / Open" follows the database path field directly.
    form->DBFileEdit.SetFocus();
    PressTab();
    EXPECT_EQ(GetFocus(), form->btnOpen.Handle());

    form->StaticChkBx.SetChecked(true);
    form->StaticMemo.SetFocus();
    ASSERT_EQ(GetFocus(), form->StaticMemo.Handle());
    PressTab();
    EXPECT_EQ(GetFocus(), form->StaticMemo.Handle());
}

} // namespace
