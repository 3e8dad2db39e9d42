// The keyboard in a real main window: Tab walks the controls in their order, skipping
// disabled ones, and the multi-line fields keep Tab as text.
#include "tests/common/FormProbes.h"

#include "toolkit/Application.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

class MainWindowKeyboard : public ::testing::Test {
protected:
    void SetUp() override
    {
        Clean();
        form = std::make_unique<TForm1>(services);
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

    ProgramServices services;
    std::unique_ptr<TForm1> form;
};

TEST_F(MainWindowKeyboard, TabMovesThroughTheSettingsInOrder)
{
    SettingsOf(*form).OEFileEdit.SetFocus();
    ASSERT_EQ(GetFocus(), SettingsOf(*form).OEFileEdit.Handle());
    const HWND expected[] = {SettingsOf(*form).BrowseBtn.Handle(), SettingsOf(*form).MailClientsBtn.Handle(),
                             SettingsOf(*form).AutoChkBx.Handle(), SettingsOf(*form).MinutesEdit.Handle(),
                             SettingsOf(*form).StartupChkBx.Handle(), SettingsOf(*form).BalloonChkBx.Handle()};
    for (HWND next : expected) {
        PressTab();
        EXPECT_EQ(GetFocus(), next);
    }
}

TEST_F(MainWindowKeyboard, TabSkipsDisabledControlsAndStaysInAMultiLineField)
{
    // With no database open, "New / Open" follows the database path field directly.
    EditorOf(*form).DBFileEdit.SetFocus();
    PressTab();
    EXPECT_EQ(GetFocus(), EditorOf(*form).btnOpen.Handle());

    SettingsOf(*form).StaticChkBx.SetChecked(true);
    SettingsOf(*form).StaticMemo.SetFocus();
    ASSERT_EQ(GetFocus(), SettingsOf(*form).StaticMemo.Handle());
    PressTab();
    EXPECT_EQ(GetFocus(), SettingsOf(*form).StaticMemo.Handle());
}

} // namespace
