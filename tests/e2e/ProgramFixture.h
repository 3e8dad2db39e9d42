#pragma once
#include "tests/e2e/Desktop.h"
#include "tests/e2e/EventWait.h"
#include "tests/common/MachineRegistry.h"
#include "tests/e2e/ProgramUnderTest.h"

#include <gtest/gtest.h>

#include <memory>

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

    std::unique_ptr<e2e::ProgramUnderTest> program;
};
