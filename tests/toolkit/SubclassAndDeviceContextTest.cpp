#include "toolkit/WindowSubclass.h"

#include "base/DeviceContext.h"
#include "toolkit/Handles.h"

#include <gtest/gtest.h>

#include <stdexcept>

using toolkit::WindowSubclass;

namespace {

// Our procedure: counts what it sees and passes it on. The object is in the window's user
// data, as a control keeps its own.
struct Ours {
    WindowSubclass subclass;
    int seen = 0;
};

LRESULT CALLBACK OurProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto* ours = reinterpret_cast<Ours*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    ++ours->seen;
    return ours->subclass.PassOn(message, wParam, lParam);
}

// Another program's procedure, put on top of ours by hand; what it replaced is in a property.
LRESULT CALLBACK TheirProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    const auto below = reinterpret_cast<WNDPROC>(GetPropA(window, "below"));
    return CallWindowProcA(below, window, message, wParam, lParam);
}

LONG_PTR ProcedureOf(HWND window)
{
    return GetWindowLongPtrA(window, GWLP_WNDPROC);
}

std::string TextOf(HWND window)
{
    char text[32] = {};
    GetWindowTextA(window, text, sizeof text);
    return text;
}

} // namespace

// Ours stays in the window's chain, passing messages on, while another procedure is on top
// of it, and goes, giving the window its own back, once it is on top again.
TEST(WindowSubclass, PassesOnAndStepsAsideOnlyWhenOnTop)
{
    toolkit::WindowHandle window(CreateWindowExA(0, "STATIC", "first", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                                 GetModuleHandleA(nullptr), nullptr));
    ASSERT_TRUE(window);
    const HWND hwnd = window.Get();
    const LONG_PTR own = ProcedureOf(hwnd);
    Ours ours;
    SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&ours));
    ours.subclass = WindowSubclass(hwnd, &OurProcedure);
    EXPECT_EQ(ours.subclass.Window(), hwnd);
    EXPECT_TRUE(SetWindowTextA(hwnd, "second"));
    EXPECT_EQ(TextOf(hwnd), "second") << "the window's own procedure still answers";
    EXPECT_GT(ours.seen, 0);

    const LONG_PTR below = SetWindowLongPtrA(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&TheirProcedure));
    ASSERT_TRUE(SetPropA(hwnd, "below", reinterpret_cast<HANDLE>(below)));
    EXPECT_FALSE(ours.subclass.Remove());
    EXPECT_EQ(ProcedureOf(hwnd), reinterpret_cast<LONG_PTR>(&TheirProcedure)) << "their chain is not cut";
    const int seen = ours.seen;
    EXPECT_TRUE(SetWindowTextA(hwnd, "third"));
    EXPECT_EQ(TextOf(hwnd), "third");
    EXPECT_GT(ours.seen, seen) << "ours still passes messages on";

    SetWindowLongPtrA(hwnd, GWLP_WNDPROC, below);
    RemovePropA(hwnd, "below");
    EXPECT_TRUE(ours.subclass.Remove());
    EXPECT_EQ(ProcedureOf(hwnd), own);
    EXPECT_EQ(ours.subclass.Window(), nullptr);

    // A window destroyed under it leaves nothing to put back.
    ours.subclass = WindowSubclass(hwnd, &OurProcedure);
    window.Reset();
    EXPECT_TRUE(ours.subclass.Remove());

    EXPECT_THROW(WindowSubclass(nullptr, &OurProcedure), std::runtime_error);
}

// An object selected for a while leaves the context as it found it, so it can be deleted;
// one the context cannot take is no selection, and nothing is put back for it.
TEST(DeviceContextOwners, SelectedObjectPutsBackWhatTheContextHad)
{
    const base::MemoryDc dc(CreateCompatibleDC(nullptr));
    const base::MemoryDc other(CreateCompatibleDC(nullptr));
    ASSERT_TRUE(dc && other);
    const HGDIOBJ firstBitmap = GetCurrentObject(dc.Get(), OBJ_BITMAP);
    const toolkit::BitmapHandle bitmap(CreateCompatibleBitmap(dc.Get(), 4, 4));
    ASSERT_TRUE(bitmap);
    {
        const base::SelectedObject selected(dc.Get(), bitmap.Get());
        EXPECT_TRUE(selected);
        EXPECT_EQ(GetCurrentObject(dc.Get(), OBJ_BITMAP), bitmap.Get());
        const base::SelectedObject refused(other.Get(), bitmap.Get());
        EXPECT_FALSE(refused) << "a bitmap is in one context at a time";
    }
    EXPECT_EQ(GetCurrentObject(dc.Get(), OBJ_BITMAP), firstBitmap);
    EXPECT_FALSE(base::SelectedObject(dc.Get(), nullptr));
    const base::WindowDc screen(nullptr);
    EXPECT_TRUE(screen);
}
