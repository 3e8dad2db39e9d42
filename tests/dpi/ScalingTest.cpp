// The main window at 100, 125, 150 and 200 percent. Fonts and metrics belong to a process,
// so each density is looked at from a process of its own that hosts the window:
// EveryDensity starts this executable again at each density, where WindowAtThisDensity
// measures every caption in its control's own font, the window's size, fonts and icons, and
// follows a move to another density and back.
#include "tests/common/DialogAnswerer.h"
#include "tests/common/IconSize.h"
#include "tests/common/ScaledProcess.h"
#include "tests/common/WineTray.h"
#include "tests/e2e/Desktop.h"
#include "tests/common/FormProbes.h"

#include "settings/ProgramLocation.h"
#include "settings/SideFiles.h"
#include "toolkit/Application.h"
#include "toolkit/Dpi.h"
#include "tray/TrayIcon.h"

#include <commctrl.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <string>
#include <utility>
#include <vector>

using e2e::ClassOf;
using e2e::ClientSize;
using e2e::TextOf;
using testcommon::IconSize;
using toolkit::Scale;
using toolkit::SystemMetric;

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

// A control of the window as the user sees it: a spin field is one with its arrows.
struct SeenControl {
    HWND handle;
    std::string className;
    std::string text;
    RECT bounds;
};

std::vector<SeenControl> ControlsOf(HWND form)
{
    std::vector<SeenControl> seen;
    for (HWND child = GetWindow(form, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        if (ClassOf(child) != UPDOWN_CLASSA)
            seen.push_back({child, ClassOf(child), TextOf(child), e2e::RectIn(form, child)});
    const HWND arrows = FindWindowExA(form, nullptr, UPDOWN_CLASSA, nullptr);
    const RECT arrowsPlace = e2e::RectIn(form, arrows);
    for (SeenControl& control : seen)
        if (reinterpret_cast<HWND>(SendMessageA(arrows, UDM_GETBUDDY, 0, 0)) == control.handle)
            UnionRect(&control.bounds, &control.bounds, &arrowsPlace);
    return seen;
}

SIZE TextExtent(HWND control, const std::string& text)
{
    SIZE extent{};
    const HDC dc = GetDC(control);
    const HGDIOBJ previous = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageA(control, WM_GETFONT, 0, 0)));
    GetTextExtentPoint32A(dc, text.c_str(), static_cast<int>(text.size()), &extent);
    SelectObject(dc, previous);
    ReleaseDC(control, dc);
    return extent;
}

// Whether the whole caption shows in the control's client area less its frame: a push
// button's edge and focus line, a check box's or radio button's box and the gap after it.
::testing::AssertionResult ShowsWhole(const SeenControl& control, UINT dpi)
{
    const SIZE text = TextExtent(control.handle, control.text);
    SIZE room = ClientSize(control.handle);
    const LONG kind = GetWindowLongA(control.handle, GWL_STYLE) & BS_TYPEMASK;
    const bool boxed =
        kind == BS_CHECKBOX || kind == BS_AUTOCHECKBOX || kind == BS_RADIOBUTTON || kind == BS_AUTORADIOBUTTON;
    if (control.className == "Button" && boxed) {
        room.cx -= SystemMetric(SM_CXMENUCHECK, dpi) + TextExtent(control.handle, "0").cx / 2;
    } else if (control.className == "Button" && kind != BS_GROUPBOX) {
        room.cx -= 2 * (SystemMetric(SM_CXEDGE, dpi) + 1);
        room.cy -= 2 * (SystemMetric(SM_CYEDGE, dpi) + 1);
    }
    if (text.cx <= room.cx && text.cy <= room.cy)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << '"' << control.text << "\" needs " << text.cx << " x " << text.cy
                                         << ", has " << room.cx << " x " << room.cy;
}

// Every control where the design puts it at 96 pixels per inch in the client area; a width
// of 0 is a label's, sized to its text.
struct DesignedControl {
    const char* className;
    const char* text;
    int left, top, width, height;
};
const DesignedControl Design[] = {
    {"Button", "Settings", 0, 0, 754, 137},
    {"Static", "Signature Text File:", 8, 16, 0, 0},
    {"Edit", "", 8, 32, 577, 21},
    {"Button", "Browse / Create", 592, 32, 145, 21},
    {"Button", "Mail clients...", 592, 9, 145, 21},
    {"Button", "Automatically change signature every ", 8, 64, 201, 17},
    {"Edit", "10", 208, 60, 57, 22},
    {"Static", "minute(s)", 271, 64, 0, 0},
    {"Button", "Add to Windows Startup", 352, 64, 137, 17},
    {"Button", "Pop up \"balloon hint\" when signature changes", 8, 88, 241, 17},
    {"Button", "Pop up \"balloon\" error messages", 352, 88, 177, 17},
    {"Button", "Add standard signature delimiter", 8, 112, 177, 17},
    {"Static", "Order:", 352, 112, 0, 0},
    {"ComboBox", "At random", 392, 108, 0, 0},
    {"Static", "Paste hot key:", 592, 92, 0, 0},
    {"msctls_hotkey32", "", 592, 108, 145, 21},
    {"Button", "Database", 0, 137, 754, 307},
    {"Static", "Database file to edit:", 8, 153, 0, 0},
    {"Edit", "", 8, 169, 577, 21},
    {"Button", "New / Open", 592, 169, 68, 21},
    {"Button", "Close", 668, 169, 68, 21},
    {"Button", "Include static text in signatures", 8, 201, 169, 17},
    {"Button", "above or", 176, 201, 73, 17},
    {"Button", "below random signature", 240, 201, 137, 17},
    {"Static", "Static text:", 8, 225, 0, 0},
    {"Edit", "", 8, 241, 360, 121},
    {"Static", "Signature:", 384, 225, 0, 0},
    {"Edit", "", 384, 241, 360, 121},
    {"Static", "", 8, 377, 360, 53},
    {"Button", "First", 384, 377, 75, 21},
    {"Button", "Previous", 480, 377, 75, 21},
    {"Button", "Next", 575, 377, 75, 21},
    {"Button", "Last", 670, 377, 75, 21},
    {"Button", "New", 385, 409, 75, 21},
    {"Button", "Post", 480, 409, 75, 21},
    {"Button", "Delete", 575, 409, 75, 21},
    {"Button", "Set signature", 670, 409, 75, 21},
    {"Button", "Databases", 0, 444, 754, 128},
    {"ListBox", "", 2, 459, 750, 111},
};

bool IsAt(const SeenControl& seen, const DesignedControl& d)
{
    const RECT& b = seen.bounds;
    return seen.className == d.className && seen.text == d.text && b.left == d.left && b.top == d.top &&
           (d.width == 0 || (b.right - b.left == d.width && b.bottom - b.top == d.height));
}

// The window hosted in this process, which runs at the density the harness asked for.
class WindowAtThisDensity : public ::testing::Test {
protected:
    void SetUp() override
    {
        dpi = testcommon::RequestedDpi();
        if (dpi == 0)
            GTEST_SKIP() << "runs in the process EveryDensity starts at a set density";
        toolkit::Application::Instance().SetTitle("Varnquill");
        Clean();
        dialogs = std::make_unique<testcommon::DialogAnswerer>();
    }

    void TearDown() override
    {
        if (dpi == 0)
            return;
        form.reset();
        EXPECT_TRUE(dialogs->Take().empty()) << "a dialog nobody looked at";
        Clean();
    }

    static void Clean()
    {
        // Missing already is as good as removed.
        const std::string directory = settings::ProgramDirectory();
        for (const char* name : settings::SideFileNames)
            DeleteFileA(settings::SideFilePath(directory, name).c_str());
        RegDeleteTreeA(HKEY_LOCAL_MACHINE, "Software\\qmz\\Varnquill");
    }

    // Made, and given the idle moment in which the icon goes into the tray.
    void Start()
    {
        form = std::make_unique<TForm1>(services);
        toolkit::Application::Instance().ProcessMessages();
    }

    // Everything that depends on the window's density alone, at `shown`.
    void ExpectWholeAt(UINT shown)
    {
        SCOPED_TRACE("shown at " + std::to_string(shown));
        const std::vector<SeenControl> controls = ControlsOf(form->Handle());
        int captions = 0;
        for (const SeenControl& control : controls) {
            if (!control.text.empty() && (control.className == "Button" || control.className == "Static")) {
                ++captions;
                EXPECT_TRUE(ShowsWhole(control, shown));
            }
        }
        EXPECT_EQ(captions, 30);
        // Every choice of a drop-down shows whole beside its arrow button.
        for (const SeenControl& control : controls) {
            if (control.className != "ComboBox")
                continue;
            const LONG room = ClientSize(control.handle).cx - SystemMetric(SM_CXVSCROLL, shown) -
                              2 * SystemMetric(SM_CXEDGE, shown);
            const auto items = static_cast<int>(SendMessageA(control.handle, CB_GETCOUNT, 0, 0));
            EXPECT_EQ(items, 3);
            for (int item = 0; item < items; ++item) {
                char text[64] = {};
                if (SendMessageA(control.handle, CB_GETLBTEXTLEN, item, 0) < static_cast<LRESULT>(sizeof text))
                    SendMessageA(control.handle, CB_GETLBTEXT, item, reinterpret_cast<LPARAM>(text));
                EXPECT_LE(TextExtent(control.handle, text).cx, room) << text;
            }
        }

        LOGFONTA font{};
        const auto windowFont = reinterpret_cast<HFONT>(SendMessageA(controls.at(0).handle, WM_GETFONT, 0, 0));
        ASSERT_TRUE(GetObjectA(windowFont, sizeof font, &font));
        EXPECT_EQ(font.lfHeight, -MulDiv(8, static_cast<int>(shown), 72)) << "8 points at the density";
        for (const SeenControl& control : controls) {
            const bool picture = control.className == "Static" && control.text.empty(); // the banner has no font
            const auto own = reinterpret_cast<HFONT>(SendMessageA(control.handle, WM_GETFONT, 0, 0));
            EXPECT_TRUE(picture || own == windowFont) << control.text;
        }

        const auto icon = [&](WPARAM which) {
            return IconSize(reinterpret_cast<HICON>(SendMessageA(form->Handle(), WM_GETICON, which, 0)));
        };
        EXPECT_EQ(icon(ICON_BIG), SystemMetric(SM_CXICON, shown));
        EXPECT_EQ(icon(ICON_SMALL), SystemMetric(SM_CXSMICON, shown));
        // The caption draws the small icon the window system was given, else the class's.
        auto drawn = reinterpret_cast<HICON>(DefWindowProcA(form->Handle(), WM_GETICON, ICON_SMALL, 0));
        if (!drawn)
            drawn = reinterpret_cast<HICON>(GetClassLongPtrA(form->Handle(), GCLP_HICONSM));
        EXPECT_EQ(IconSize(drawn), SystemMetric(SM_CXSMICON, shown)) << "in the caption";
        const int trayIcon = IconSize(FormProbe::TrayIcon1(*form)->IconData().hIcon);
        EXPECT_EQ(trayIcon, SystemMetric(SM_CXSMICON, shown)) << "handed to the shell";
        EXPECT_TRUE(shown != 144 || trayIcon == 24);

        const RECT banner = toolkit::ScaleRect(RECT{8, 377, 368, 430}, shown);
        EXPECT_EQ(EditorOf(*form).Banner.PictureWidth(), banner.right - banner.left);
        EXPECT_EQ(EditorOf(*form).Banner.PictureHeight(), banner.bottom - banner.top);
        EXPECT_EQ(EditorOf(*form).Banner.DrawingWidth(), shown >= 144 ? 720 : 360) << "the nearer drawing";

        if (shown != toolkit::DesignDpi)
            return;
        EXPECT_EQ(controls.size(), std::size(Design));
        for (const DesignedControl& designed : Design)
            EXPECT_TRUE(std::any_of(controls.begin(), controls.end(), [&](auto& seen) { return IsAt(seen, designed); }))
                << designed.className << " \"" << designed.text << "\" is not at " << designed.left << ","
                << designed.top;
    }

    UINT dpi = 0;
    std::unique_ptr<testcommon::DialogAnswerer> dialogs;
    ProgramServices services; // outlives the window, as in the program
    std::unique_ptr<TForm1> form;
};

TEST_F(WindowAtThisDensity, IsLaidOutFontedAndIconedForIt)
{
    Start();
    EXPECT_EQ(toolkit::WindowDpi(form->Handle()), dpi) << "Wine took LogPixels";
    const SIZE client = ClientSize(form->Handle());
    EXPECT_EQ(client.cx, Scale(DesignedClient.cx, dpi));
    EXPECT_EQ(client.cy, Scale(DesignedClient.cy, dpi));
    ExpectWholeAt(dpi);
}

// Moved as Windows moves it to a monitor of another density: the message carries the
// density and the place the system suggests.
TEST_F(WindowAtThisDensity, FollowsAMoveToAnotherDensityAndBack)
{
    Start();
    for (const UINT to : {dpi == 144 ? 96u : 144u, dpi}) {
        RECT suggested = e2e::ScreenRect(form->Handle());
        const SIZE outer = toolkit::FrameSize(SIZE{Scale(DesignedClient.cx, to), Scale(DesignedClient.cy, to)},
                                              GetWindowLongA(form->Handle(), GWL_STYLE),
                                              GetWindowLongA(form->Handle(), GWL_EXSTYLE), to);
        suggested = RECT{suggested.left + 40, suggested.top + 30, suggested.left + 40 + outer.cx,
                         suggested.top + 30 + outer.cy};
        SendMessageA(form->Handle(), WM_DPICHANGED, MAKEWPARAM(to, to), reinterpret_cast<LPARAM>(&suggested));
        const RECT place = e2e::ScreenRect(form->Handle());
        EXPECT_TRUE(EqualRect(&place, &suggested)) << "the suggested place, at " << to;
        // The frame stays as this process draws it: the client area is near the scaled design.
        const SIZE client = ClientSize(form->Handle());
        EXPECT_NEAR(client.cx, Scale(DesignedClient.cx, to), 12) << "at " << to;
        EXPECT_NEAR(client.cy, Scale(DesignedClient.cy, to), 24) << "at " << to;
        ExpectWholeAt(to);
    }
}

// The stored place is in the screen's own pixels; one off every screen comes into the
// nearest work area at the window's size for the density.
TEST_F(WindowAtThisDensity, ComesIntoReachAtItsLaidOutSize)
{
    for (const auto& [name, value] : {std::pair{"Top", "3000"}, std::pair{"Left", "-5000"}})
        ASSERT_EQ(RegSetKeyValueA(HKEY_LOCAL_MACHINE, "Software\\qmz\\Varnquill", name, REG_SZ, value,
                                  static_cast<DWORD>(std::strlen(value) + 1)),
                  ERROR_SUCCESS);
    Start();
    RECT work{};
    ASSERT_TRUE(SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0));
    const RECT place = e2e::ScreenRect(form->Handle());
    EXPECT_EQ(place.left, work.left);
    EXPECT_EQ(place.bottom, work.bottom);
    EXPECT_EQ(ClientSize(form->Handle()).cy, Scale(DesignedClient.cy, dpi));
}

} // namespace
