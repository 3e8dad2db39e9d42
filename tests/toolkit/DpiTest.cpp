// The helpers that lay windows out for a density, against the system's own answers. The
// suite runs at 96 pixels per inch; other densities are asked for explicitly.
#include "ControlHost.h"

#include "toolkit/Dpi.h"

#include <gtest/gtest.h>

using namespace toolkit;

TEST(Dpi, MetricsMessageFontAndFramesFollowTheAskedDensity)
{
    ControlHost host;
    EXPECT_EQ(WindowDpi(host.Handle()), 96u);
    EXPECT_EQ(WindowDpi(nullptr), 96u) << "the screen's";
    EXPECT_EQ(SystemDpi(), 96u);

    EXPECT_EQ(SystemMetric(SM_CXSMICON, 96), GetSystemMetrics(SM_CXSMICON));
    EXPECT_EQ(SystemMetric(SM_CXSMICON, 144), 24);
    EXPECT_EQ(SystemMetric(SM_CXICON, 192), 64);

    NONCLIENTMETRICSA metrics{};
    metrics.cbSize = sizeof metrics;
    ASSERT_TRUE(SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0));
    const LOGFONTA atDesign = MessageFont(96);
    EXPECT_EQ(atDesign.lfHeight, metrics.lfMessageFont.lfHeight);
    EXPECT_STREQ(atDesign.lfFaceName, metrics.lfMessageFont.lfFaceName);
    const LOGFONTA at150 = MessageFont(144);
    EXPECT_NEAR(at150.lfHeight, metrics.lfMessageFont.lfHeight * 3 / 2, 1);
    EXPECT_STREQ(at150.lfFaceName, metrics.lfMessageFont.lfFaceName);
    EXPECT_EQ(at150.lfWeight, metrics.lfMessageFont.lfWeight);

    const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
    RECT frame{0, 0, 754, 572};
    ASSERT_TRUE(AdjustWindowRectEx(&frame, style, FALSE, 0));
    const SIZE outer = FrameSize(SIZE{754, 572}, style, 0, 96);
    EXPECT_EQ(outer.cx, frame.right - frame.left);
    EXPECT_EQ(outer.cy, frame.bottom - frame.top);
    const SIZE outer150 = FrameSize(SIZE{1131, 858}, style, 0, 144);
    EXPECT_GE(outer150.cx - 1131, frame.right - frame.left - 754) << "a frame at least as thick";
    EXPECT_GT(outer150.cy - 858, frame.bottom - frame.top - 572) << "a taller caption";
}
