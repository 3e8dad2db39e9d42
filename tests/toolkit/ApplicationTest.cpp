#include "toolkit/Application.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using toolkit::Application;

TEST(LastResortText, AppendsFullStopOnlyAfterCharactersSortingAfterIt)
{
    struct Case { const char* message; const char* shown; };
    const Case cases[] = {
        {"Disk full", "Disk full."},
        {"I/O error 32", "I/O error 32."},
        {"Really?", "Really?."},
        {"Done.", "Done."},
        {"Stop!", "Stop!"},
        {"(see above)", "(see above)"},
        {"trailing blank ", "trailing blank "},
        {"", ""},
        {"Gr\xfc\xdf", "Gr\xfc\xdf."}, // bytes above 127 sort after '.'
    };
    for (const Case& c : cases)
        EXPECT_EQ(Application::LastResortText(c.message), c.shown) << c.message;
}

// Idle work waits for the messages already waiting, runs once in the order given, and work
// taken back by its owner does not run.
TEST(IdleWork, RunsOnceAfterTheWaitingMessagesInOrderUnlessTakenBack)
{
    Application& application = Application::Instance();
    constexpr UINT Waiting = WM_APP + 7;
    std::vector<std::string> seen;
    const toolkit::ScopedMessageHook hook([&](UINT message, WPARAM, LPARAM) {
        if (message == Waiting)
            seen.push_back("message");
    });
    ASSERT_TRUE(PostMessageA(application.Handle(), Waiting, 0, 0));
    application.WhenIdle([&] { seen.push_back("first"); });
    {
        const toolkit::ScopedIdleWork takenBack([&] { seen.push_back("taken back"); });
    }
    application.WhenIdle([&] { seen.push_back("second"); });
    application.ProcessMessages();
    application.ProcessMessages();
    EXPECT_EQ(seen, (std::vector<std::string>{"message", "first", "second"}));

    // The event loop the same, also for work that idle work adds; this ends the loop for good,
    // so no other test of this program runs it. A stuck loop is ended by the timer.
    seen.clear();
    ASSERT_TRUE(PostMessageA(application.Handle(), Waiting, 0, 0));
    application.WhenIdle([&] {
        seen.push_back("first");
        application.WhenIdle([&] {
            seen.push_back("added");
            application.Terminate();
        });
    });
    const UINT_PTR guard = SetTimer(nullptr, 0, 5000, [](HWND, UINT, UINT_PTR, DWORD) {
        Application::Instance().Terminate();
    });
    application.Run();
    KillTimer(nullptr, guard); // gone with the thread otherwise
    MSG quit;
    PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE); // the end's message, not another test's
    EXPECT_EQ(seen, (std::vector<std::string>{"message", "first", "added"}));
}
