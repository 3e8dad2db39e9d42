#pragma once
#include "tests/e2e/Desktop.h"
#include "tests/e2e/EventWait.h"
#include "tests/common/MachineRegistry.h"
#include "tests/e2e/ProgramUnderTest.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

// Each test: the program's registry key and start-up entry removed, a fresh copy of the
// program in a directory of its own; afterwards the process ended and both cleaned up.
// Uses the real registry of the Wine prefix, real files and Wine's real tray.
class RealProgram : public ::testing::Test {
protected:
    static constexpr DWORD WaitMs = 10000;
    // For what Wine raises no event about (a window shown or gone).
    static constexpr DWORD RecheckMs = 20;

    void SetUp() override
    {
        e2e::ForgetProgramSettings();
        program = std::make_unique<e2e::ProgramUnderTest>();
    }

    void TearDown() override
    {
        program.reset();
        e2e::ForgetProgramSettings();
    }

    // Starts the program and answers its main window.
    HWND StartShown(const std::string& arguments = "")
    {
        program->Start(arguments);
        const HWND form = program->MainWindow();
        if (!form)
            ADD_FAILURE() << "the program shows no main window";
        return form;
    }

    // A control of the main window by its place in the client area.
    HWND Control(HWND form, const char* className, int x, int y)
    {
        const HWND control = e2e::ControlAt(form, className, x, y);
        if (!control)
            ADD_FAILURE() << "no " << className << " at " << x << ", " << y;
        return control;
    }

    // What the start-up entry holds for this copy: its path in quotes, then " /MIN".
    std::string ExpectedStartupCommand() const
    {
        std::string command = "\"";
        command += program->ProgramPath();
        command += "\" /MIN";
        return command;
    }

    // Waits until the program has handled everything sent or posted to it so far.
    void Settle(HWND form)
    {
        DWORD_PTR answer = 0;
        ASSERT_TRUE(SendMessageTimeoutA(form, WM_NULL, 0, 0, SMTO_NORMAL, WaitMs, &answer));
    }

    // The program's dialog with that caption, once it shows. Rechecked as well: under Wine
    // the events of a dialog's showing can all pass before its caption is readable, and
    // nothing at all is raised when it goes.
    HWND DialogTitled(const std::string& caption)
    {
        const DWORD id = program->ProcessId();
        HWND found = nullptr;
        e2e::EventWait().UntilRechecking(
            [&] {
                for (HWND dialog : e2e::DialogsOf(id))
                    if (IsWindowVisible(dialog) && e2e::TextOf(dialog) == caption)
                        found = dialog;
                return found != nullptr;
            },
            WaitMs, RecheckMs);
        if (!found)
            ADD_FAILURE() << "no dialog \"" << caption << "\"";
        return found;
    }

    // Types a path into a file dialog's name field and presses its confirming button.
    void ChooseFileIn(HWND dialog, const std::string& path)
    {
        HWND name = GetDlgItem(dialog, 0x47C); // the name combo box of the newer dialogs
        if (name) {
            if (const HWND edit = FindWindowExA(name, nullptr, "Edit", nullptr))
                name = edit;
        } else {
            name = GetDlgItem(dialog, 0x480); // the name edit of the older ones
        }
        ASSERT_NE(name, nullptr) << "the file dialog has no name field";
        e2e::SetText(name, path);
        const HWND confirm = GetDlgItem(dialog, IDOK);
        ASSERT_NE(confirm, nullptr);
        ASSERT_TRUE(PostMessageA(confirm, BM_CLICK, 0, 0));
        EXPECT_TRUE(e2e::EventWait().UntilRechecking([&] { return !IsWindow(dialog); }, WaitMs, RecheckMs));
    }

    // The menu of a popup that is open: the list's context menu or the tray icon's.
    HWND ShownMenu() const
    {
        const HWND menu = e2e::TopLevelWindowOf(program->ProcessId(), "#32768");
        return menu && IsWindowVisible(menu) ? menu : nullptr;
    }

    void ChooseFromMenu(int downPresses)
    {
        HWND menu = nullptr;
        ASSERT_TRUE(
            e2e::EventWait().UntilRechecking([&] { return (menu = ShownMenu()) != nullptr; }, WaitMs, RecheckMs))
            << "the menu did not open";
        for (int press = 0; press < downPresses; ++press)
            ASSERT_TRUE(PostMessageA(menu, WM_KEYDOWN, VK_DOWN, 0));
        ASSERT_TRUE(PostMessageA(menu, WM_KEYDOWN, VK_RETURN, 0));
        ASSERT_TRUE(e2e::EventWait().UntilRechecking([&] { return ShownMenu() == nullptr; }, WaitMs, RecheckMs));
    }

    // The database list's context menu, opened as a right click on the list opens it.
    void ChooseFromList(HWND form, int downPresses)
    {
        const HWND list = e2e::ControlsOf(form, "ListBox").at(0);
        const RECT place = e2e::ScreenRect(list);
        const LPARAM at = MAKELPARAM(place.left + 20, place.top + 10);
        ASSERT_TRUE(PostMessageA(form, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(list), at));
        ChooseFromMenu(downPresses);
    }

    // Lists a database as the user does: "Add" from the list's context menu, and its path
    // chosen in the file dialog.
    static constexpr int AddPresses = 1; // "Add", the menu's first item
    static constexpr const char* AddDialogTitle = "Find a signature database to add...";
    void AddToDatabaseList(HWND form, const std::string& path)
    {
        ChooseFromList(form, AddPresses);
        const HWND dialog = DialogTitled(AddDialogTitle);
        ASSERT_NE(dialog, nullptr);
        ChooseFileIn(dialog, path);
        Settle(form);
    }

    std::unique_ptr<e2e::ProgramUnderTest> program;
};
