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
        form = std::make_unique<TForm1>(program);
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

    ProgramState program;
    std::unique_ptr<TForm1> form;
};

TEST_F(MainWindowKeyboard, TabMovesThroughTheSettingsInOrder)
{
    form->Settings().OEFileEdit.SetFocus();
    ASSERT_EQ(GetFocus(), form->Settings().OEFileEdit.Handle());
    const HWND expected[] = {form->Settings().BrowseBtn.Handle(), form->Settings().MailClientsBtn.Handle(),
                             form->Settings().AutoChkBx.Handle(), form->Settings().MinutesEdit.Handle(),
                             form->Settings().StartupChkBx.Handle(), form->Settings().BalloonChkBx.Handle()};
    for (HWND next : expected) {
        PressTab();
        EXPECT_EQ(GetFocus(), next);
    }
}

TEST_F(MainWindowKeyboard, TabSkipsDisabledControlsAndStaysInAMultiLineField)
{
    // With no database open, "New / Open" follows the database path field directly.
    form->Editor().DBFileEdit.SetFocus();
    PressTab();
    EXPECT_EQ(GetFocus(), form->Editor().btnOpen.Handle());

    form->Settings().StaticChkBx.SetChecked(true);
    form->Settings().StaticMemo.SetFocus();
    ASSERT_EQ(GetFocus(), form->Settings().StaticMemo.Handle());
    PressTab();
    EXPECT_EQ(GetFocus(), form->Settings().StaticMemo.Handle());
}

} // namespace
