// The main window at 100, 125, 150 and 200 percent. Fonts and metrics belong to a process,
// so each density is looked at from a process of its own that hosts the window:
// EveryDensity starts this executable again at each density, where WindowAtThisDensity
// measures every caption in its control's own font, the window's size, fonts and icons, and
// follows a move to another density and back.
#include "tests/common/DialogAnswerer.h"
#include "tests/common/IconSize.h"
#include "tests/common/ScaledProcess.h"
#include "tests/common/WineTray.h"
#include "ui/Unit1.h"

#include "settings/ProgramLocation.h"
#include "settings/SideFiles.h"
#include "toolkit/Application.h"
#include "toolkit/Dpi.h"
#include "toolkit/Image.h"
#include "tray/TrayIcon.h"

#include <commctrl.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <optional>
#include <string>
#include <vector>

using testcommon::IconSize;
using testcommon::RequestedDpi;

namespace {

constexpr SIZE DesignedClient{754, 572};

TEST(EveryDensity, TheWindowIsWholeAndSharpInAProcessAtEach)
{
    if (!testcommon::RunningOnWine())
        GTEST_SKIP() << "Windows reads the density at log-on, not as each process starts";
    for (const UINT dpi : testcommon::ScaledDensities) {
        const testcommon::ScaledRun run = testcommon::RunThisExecutableAt(dpi, "WindowAtThisDensity.*");
        EXPECT_EQ(run.exitCode, 0u) << "at " << dpi << ":\n" << run.output;
        EXPECT_NE(run.output.find("[  PASSED  ] 3 tests"), std::string::npos) << "at " << dpi << ":\n" << run.output;
    }
}

// One control of the window as the user sees it: its class, caption and place in the
// window's client area. A spin field is one with its arrows.
struct SeenControl {
    HWND handle;
    std::string className;
    std::string text;
    RECT bounds;
};

std::string ClassOf(HWND window)
{
    char name[64] = {};
    GetClassNameA(window, name, sizeof name);
    return name;
}

std::string TextOf(HWND window)
{
    char text[256] = {};
    GetWindowTextA(window, text, sizeof text);
    return text;
}

RECT BoundsIn(HWND parent, HWND child)
{
    RECT rect{};
    GetWindowRect(child, &rect);
    MapWindowPoints(HWND_DESKTOP, parent, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

std::vector<SeenControl> ControlsOf(HWND form)
{
    std::vector<HWND> children;
    for (HWND child = GetWindow(form, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        children.push_back(child);
    std::vector<SeenControl> seen;
    for (const HWND child : children)
        if (ClassOf(child) != UPDOWN_CLASSA)
            seen.push_back({child, ClassOf(child), TextOf(child), BoundsIn(form, child)});
    for (const HWND child : children) {
        if (ClassOf(child) != UPDOWN_CLASSA)
            continue;
        const auto buddy = reinterpret_cast<HWND>(SendMessageA(child, UDM_GETBUDDY, 0, 0));
        const RECT arrows = BoundsIn(form, child);
        for (SeenControl& control : seen)
            if (control.handle == buddy)
                UnionRect(&control.bounds, &control.bounds, &arrows);
    }
    return seen;
}

SIZE ClientSize(HWND window)
{
    RECT client{};
    GetClientRect(window, &client);
    return SIZE{client.right, client.bottom};
}

SIZE TextExtent(HWND control, const std::string& text)
{
    SIZE extent{};
    const HDC dc = GetDC(control);
    const auto font = reinterpret_cast<HFONT>(SendMessageA(control, WM_GETFONT, 0, 0));
    const HGDIOBJ previous = SelectObject(dc, font);
    GetTextExtentPoint32A(dc, text.c_str(), static_cast<int>(text.size()), &extent);
    SelectObject(dc, previous);
    ReleaseDC(control, dc);
    return extent;
}

// What a caption does not show at dpi: empty when all of it shows. The room is the
// control's client area less its frame: a push button's edge and focus line, a check box
// or radio button's box and the gap after it.
std::string Clipped(const SeenControl& control, UINT dpi)
{
    const SIZE text = TextExtent(control.handle, control.text);
    SIZE room = ClientSize(control.handle);
    if (control.className == "Button") {
        const LONG kind = GetWindowLongA(control.handle, GWL_STYLE) & BS_TYPEMASK;
        if (kind == BS_CHECKBOX || kind == BS_AUTOCHECKBOX || kind == BS_RADIOBUTTON || kind == BS_AUTORADIOBUTTON) {
            room.cx -= toolkit::SystemMetric(SM_CXMENUCHECK, dpi) + TextExtent(control.handle, "0").cx / 2;
        } else if (kind != BS_GROUPBOX) {
            room.cx -= 2 * (toolkit::SystemMetric(SM_CXEDGE, dpi) + 1);
            room.cy -= 2 * (toolkit::SystemMetric(SM_CYEDGE, dpi) + 1);
        }
    }
    if (text.cx <= room.cx && text.cy <= room.cy)
        return {};
    return "\"" + control.text + "\" needs " + std::to_string(text.cx) + " x " + std::to_string(text.cy) +
           ", has " + std::to_string(room.cx) + " x " + std::to_string(room.cy);
}

// Each control where the window's design puts it at 96 pixels per inch, in the window's
// client area; a size of 0 x 0 is a label's, sized to its text.
struct DesignedControl {
    const char* className;
    const char* text;
    RECT bounds;
};

constexpr RECT At(int left, int top, int width, int height)
{
    return RECT{left, top, left + width, top + height};
}

const DesignedControl Design[] = {
    {"Button", "Settings", At(0, 0, 754, 137)},
    {"Static", "Signature Text File:", At(8, 16, 0, 0)},
    {"Edit", "", At(8, 32, 577, 21)},
    {"Button", "Browse / Create", At(592, 32, 145, 21)},
    {"Button", "Automatically change signature every ", At(8, 64, 201, 17)},
    {"Edit", "10", At(208, 60, 57, 22)},
    {"Static", "minute(s)", At(271, 64, 0, 0)},
    {"Button", "Add to Windows Startup", At(352, 64, 137, 17)},
    {"Button", "Pop up \"balloon hint\" when signature changes", At(8, 88, 241, 17)},
    {"Button", "Pop up \"balloon\" error messages", At(352, 88, 177, 17)},
    {"Button", "Add standard signature delimiter", At(8, 112, 177, 17)},
    {"Button", "Database", At(0, 137, 754, 307)},
    {"Static", "Database file to edit:", At(8, 153, 0, 0)},
    {"Edit", "", At(8, 169, 577, 21)},
    {"Button", "New / Open", At(592, 169, 68, 21)},
    {"Button", "Close", At(668, 169, 68, 21)},
    {"Button", "Include static text in signatures", At(8, 201, 169, 17)},
    {"Button", "above or", At(176, 201, 73, 17)},
    {"Button", "below random signature", At(240, 201, 137, 17)},
    {"Static", "Static text:", At(8, 225, 0, 0)},
    {"Edit", "", At(8, 241, 360, 121)},
    {"Static", "Signature:", At(384, 225, 0, 0)},
    {"Edit", "", At(384, 241, 360, 121)},
    {"Static", "", At(8, 377, 360, 53)},
    {"Button", "First", At(384, 377, 75, 21)},
    {"Button", "Previous", At(480, 377, 75, 21)},
    {"Button", "Next", At(575, 377, 75, 21)},
    {"Button", "Last", At(670, 377, 75, 21)},
    {"Button", "New", At(385, 409, 75, 21)},
    {"Button", "Post", At(480, 409, 75, 21)},
    {"Button", "Delete", At(575, 409, 75, 21)},
    {"Button", "Set signature", At(670, 409, 75, 21)},
    {"Button", "Databases", At(0, 444, 754, 128)},
    {"ListBox", "", At(2, 459, 750, 111)},
};

bool Matches(const SeenControl& seen, const DesignedControl& designed)
{
    const RECT& want = designed.bounds;
    const bool ownSize = want.right == want.left;
    return seen.className == designed.className && seen.text == designed.text && seen.bounds.left == want.left &&
           seen.bounds.top == want.top &&
           (ownSize || (seen.bounds.right == want.right && seen.bounds.bottom == want.bottom));
}

std::string Describe(const SeenControl& c)
{
    return c.className + " \"" + c.text + "\" at " + std::to_string(c.bounds.left) + "," +
           std::to_string(c.bounds.top) + " " + std::to_string(c.bounds.right - c.bounds.left) + " x " +
           std::to_string(c.bounds.bottom - c.bounds.top);
}

// The window hosted in this process, which runs at the density the harness asked for.
class WindowAtThisDensity : public ::testing::Test {
protected:
    void SetUp() override
    {
        dpi = RequestedDpi();
        if (dpi == 0)
            GTEST_SKIP() << "runs in the process EveryDensity starts at a set density";
        toolkit::Application::Instance().SetTitle("Varnquill");
        Clean();
        dialogs = std::make_unique<testcommon::DialogAnswerer>();
    }

    void Start() { form = std::make_unique<TForm1>(program); }

    static void StoreSetting(const char* name, const std::string& value)
    {
        ASSERT_EQ(RegSetKeyValueA(HKEY_LOCAL_MACHINE, "Software\\qmz\\Varnquill", name, REG_SZ, value.c_str(),
                                  static_cast<DWORD>(value.size() + 1)),
                  ERROR_SUCCESS);
    }

    void TearDown() override
    {
        if (dpi == 0)
            return;
        form.reset();
        EXPECT_TRUE(dialogs->Take().empty()) << "a dialog nobody looked at";
        dialogs.reset();
        Clean();
    }

    void Clean()
    {
        // Missing already is as good as removed.
        const std::string directory = settings::ProgramDirectory();
        DeleteFileA(settings::SideFilePath(directory, settings::DatabaseListFileName).c_str());
        DeleteFileA(settings::SideFilePath(directory, settings::StaticTextFileName).c_str());
        RegDeleteTreeA(HKEY_LOCAL_MACHINE, "Software\\qmz\\Varnquill");
    }

    // Everything that depends on the window's density alone, at `shown`.
    void ExpectWholeAt(UINT shown)
    {
        SCOPED_TRACE("shown at " + std::to_string(shown));
        const std::vector<SeenControl> controls = ControlsOf(form->Handle());
        int captions = 0;
        for (const SeenControl& control : controls) {
            if (control.text.empty() || (control.className != "Button" && control.className != "Static"))
                continue;
            ++captions;
            const std::string clipped = Clipped(control, shown);
            EXPECT_TRUE(clipped.empty()) << clipped;
        }
        EXPECT_EQ(captions, 27);

        LOGFONTA font{};
        ASSERT_FALSE(controls.empty());
        const auto windowFont = reinterpret_cast<HFONT>(SendMessageA(controls[0].handle, WM_GETFONT, 0, 0));
        ASSERT_TRUE(GetObjectA(windowFont, sizeof font, &font));
        EXPECT_EQ(font.lfHeight, -MulDiv(8, static_cast<int>(shown), 72)) << "8 points at the density";
        for (const SeenControl& control : controls) {
            if (control.className == "Static" && control.text.empty())
                continue; // the banner: a picture has no font
            EXPECT_EQ(reinterpret_cast<HFONT>(SendMessageA(control.handle, WM_GETFONT, 0, 0)), windowFont)
                << Describe(control);
        }

        const auto big = reinterpret_cast<HICON>(SendMessageA(form->Handle(), WM_GETICON, ICON_BIG, 0));
        const auto small = reinterpret_cast<HICON>(SendMessageA(form->Handle(), WM_GETICON, ICON_SMALL, 0));
        EXPECT_EQ(IconSize(big), toolkit::SystemMetric(SM_CXICON, shown));
        EXPECT_EQ(IconSize(small), toolkit::SystemMetric(SM_CXSMICON, shown));
        ASSERT_NE(form->TrayIcon1(), nullptr);
        const int trayIcon = IconSize(form->TrayIcon1()->IconData().hIcon);
        EXPECT_EQ(trayIcon, toolkit::SystemMetric(SM_CXSMICON, shown)) << "handed to the shell";
        if (shown == 144) {
            EXPECT_EQ(trayIcon, 24);
        }

        const RECT banner = toolkit::ScaleRect(At(8, 377, 360, 53), shown);
        EXPECT_EQ(form->Editor().Banner.PictureWidth(), banner.right - banner.left);
        EXPECT_EQ(form->Editor().Banner.PictureHeight(), banner.bottom - banner.top);
        EXPECT_EQ(form->Editor().Banner.DrawingWidth(), shown >= 144 ? 720 : 360) << "the nearer drawing";

        if (shown != toolkit::DesignDpi)
            return;
        for (const DesignedControl& designed : Design) {
            const bool found = std::any_of(controls.begin(), controls.end(),
                                           [&](const SeenControl& seen) { return Matches(seen, designed); });
            EXPECT_TRUE(found) << designed.className << " \"" << designed.text << "\" is not at "
                               << designed.bounds.left << "," << designed.bounds.top;
        }
        EXPECT_EQ(controls.size(), std::size(Design));
    }

    // Moves the window as Windows does when it crosses to a monitor of another density:
    // the message carries the density and the place the system suggests.
    RECT MoveTo(UINT to)
    {
        RECT place{};
        GetWindowRect(form->Handle(), &place);
        const SIZE client{toolkit::Scale(DesignedClient.cx, to), toolkit::Scale(DesignedClient.cy, to)};
        const SIZE outer = toolkit::FrameSize(client, GetWindowLongA(form->Handle(), GWL_STYLE),
                                              GetWindowLongA(form->Handle(), GWL_EXSTYLE), to);
        RECT suggested{place.left + 40, place.top + 30, place.left + 40 + outer.cx, place.top + 30 + outer.cy};
        SendMessageA(form->Handle(), WM_DPICHANGED, MAKEWPARAM(to, to), reinterpret_cast<LPARAM>(&suggested));
        return suggested;
    }

    UINT dpi = 0;
    std::unique_ptr<testcommon::DialogAnswerer> dialogs;
    ProgramState program; // outlives the window, as in the program
    std::unique_ptr<TForm1> form;
};

TEST_F(WindowAtThisDensity, IsLaidOutFontedAndIconedForIt)
{
    Start();
    EXPECT_EQ(toolkit::WindowDpi(form->Handle()), dpi) << "Wine took LogPixels";
    const SIZE client = ClientSize(form->Handle());
    EXPECT_EQ(client.cx, toolkit::Scale(DesignedClient.cx, dpi));
    EXPECT_EQ(client.cy, toolkit::Scale(DesignedClient.cy, dpi));
    ExpectWholeAt(dpi);
}

TEST_F(WindowAtThisDensity, FollowsAMoveToAnotherDensityAndBack)
{
    Start();
    const UINT other = dpi == 144 ? 96 : 144;
    for (const UINT to : {other, dpi}) {
        const RECT suggested = MoveTo(to);
        RECT place{};
        GetWindowRect(form->Handle(), &place);
        EXPECT_TRUE(EqualRect(&place, &suggested)) << "the suggested place, at " << to;
        // The frame stays as this process draws it, so the client area is near the scaled
        // design rather than exactly it.
        const SIZE client = ClientSize(form->Handle());
        const double ratio = static_cast<double>(to) / toolkit::DesignDpi;
        EXPECT_NEAR(client.cx, DesignedClient.cx * ratio, 12) << "at " << to;
        EXPECT_NEAR(client.cy, DesignedClient.cy * ratio, 24) << "at " << to;
        ExpectWholeAt(to);
    }
}

// The stored place is in the screen's own pixels; one off every screen comes into the
// nearest work area at the window's size for the density.
TEST_F(WindowAtThisDensity, ComesIntoReachAtItsLaidOutSize)
{
    StoreSetting("Top", "3000");
    StoreSetting("Left", "-5000");
    Start();
    RECT work{};
    ASSERT_TRUE(SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0));
    RECT place{};
    ASSERT_TRUE(GetWindowRect(form->Handle(), &place));
    EXPECT_EQ(place.left, work.left);
    EXPECT_EQ(place.bottom, work.bottom);
    EXPECT_EQ(ClientSize(form->Handle()).cy, toolkit::Scale(DesignedClient.cy, dpi));
}

} // namespace
