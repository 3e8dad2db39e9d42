#pragma once
#include "toolkit/Application.h"
#include "toolkit/Window.h"
#include "tray/TrayIcon.h"
#include "tests/common/WineTray.h"

#include "MessageLoop.h"

#include <gtest/gtest.h>

#include <memory>

namespace traytest {

// A main form as the program has one: a top-level window owned by the application window.
class TestForm : public toolkit::Window {
public:
    TestForm()
    {
        toolkit::WindowArgs args;
        args.className = "VarnquillTrayTestForm";
        args.text = "Test form";
        args.x = 100;
        args.y = 100;
        args.width = 320;
        args.height = 200;
        args.parent = toolkit::Application::Instance().Handle();
        Create(args);
    }

    // WM_NULL messages the form has received (the menu's closing nudge).
    int nullMessages = 0;

protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_NULL)
            ++nullMessages;
        return Window::HandleMessage(message, wParam, lParam);
    }
};

// Whether the shell holds an icon with the record's window and identifier: a modification
// that changes nothing is accepted exactly then.
inline bool InShell(const NOTIFYICONDATAA& record)
{
    NOTIFYICONDATAA probe = record;
    probe.uFlags = 0;
    return Shell_NotifyIconA(NIM_MODIFY, &probe) != FALSE;
}

// The icons Wine's tray shows.
using testcommon::IconsInWinesTray;

// Posts a shell notification for the icon as the shell does, and handles it.
inline void Notify(const tray::TTrayIcon& icon, UINT notification)
{
    const NOTIFYICONDATAA& record = icon.IconData();
    ASSERT_TRUE(PostMessageA(record.hWnd, record.uCallbackMessage, record.uID, notification));
    PumpWaiting();
}

// A shown main form registered with the application, and the application window back in
// its normal state.
class TrayTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        toolkit::Application& app = toolkit::Application::Instance();
        app.Initialize();
        app.Restore();
        form = std::make_unique<TestForm>();
        app.SetMainForm(form->Handle());
        ShowWindow(form->Handle(), SW_SHOW);
        PumpWaiting();
    }
    void TearDown() override
    {
        toolkit::Application::Instance().SetMainForm(nullptr);
        form.reset();
        toolkit::Application::Instance().Restore();
        PumpWaiting();
    }

    HWND AppWindow() { return toolkit::Application::Instance().Handle(); }

    std::unique_ptr<TestForm> form;
};

} // namespace traytest
