#include "toolkit/Window.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

class RecordingWindow : public toolkit::Window {
public:
    RecordingWindow()
    {
        toolkit::WindowArgs args;
        args.className = "VarnquillTestWindow";
        args.style = WS_OVERLAPPED;
        Create(args);
    }
    std::vector<UINT> seen;

protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        seen.push_back(message);
        if (message == WM_USER + 1)
            return 42;
        return DefaultHandling(message, wParam, lParam);
    }
};

} // namespace

TEST(RealWindow, BindsObjectFromFirstMessageAndAnswersThroughHandler)
{
    RecordingWindow window;
    ASSERT_NE(window.Handle(), nullptr);
    EXPECT_EQ(toolkit::Window::FromHandle(window.Handle()), &window);
    ASSERT_FALSE(window.seen.empty());
    EXPECT_EQ(window.seen.front(), static_cast<UINT>(WM_NCCREATE));
    EXPECT_EQ(SendMessageA(window.Handle(), WM_USER + 1, 0, 0), 42);
}

TEST(RealWindow, DestroyingTheObjectDestroysTheWindow)
{
    HWND hwnd;
    {
        RecordingWindow window;
        hwnd = window.Handle();
        EXPECT_TRUE(IsWindow(hwnd));
    }
    EXPECT_FALSE(IsWindow(hwnd));
}
