#pragma once
#include <windows.h>

#include <gtest/gtest.h>

#include <string_view>

// Wine's own notification area, which the suites read to see icons come and go. Without a
// system tray on the X display Wine shows one top-level window with one child window per
// icon; Windows has nothing like it, so the tests that read it skip themselves there.
namespace testcommon {

inline bool RunningOnWine()
{
    const HMODULE ntdll = GetModuleHandleA("ntdll.dll");
    return ntdll && GetProcAddress(ntdll, "wine_get_version");
}

// The icons Wine's tray shows; 0 when the tray window is absent or hidden.
inline int IconsInWinesTray()
{
    const HWND tray = FindWindowA("__winex11_standalone_tray", nullptr);
    if (!tray || !IsWindowVisible(tray))
        return 0;
    int count = 0;
    EnumChildWindows(
        tray,
        [](HWND child, LPARAM counter) -> BOOL {
            char name[64] = {};
            GetClassNameA(child, name, sizeof name);
            if (std::string_view(name) == "__winex11_tray_icon" && IsWindowVisible(child))
                ++*reinterpret_cast<int*>(counter);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&count));
    return count;
}

// The balloons Wine's tray shows: its own balloon tooltips, owned by the icon they point at.
inline int BalloonsInWinesTray()
{
    int count = 0;
    EnumWindows(
        [](HWND window, LPARAM counter) -> BOOL {
            char name[64] = {};
            GetClassNameA(window, name, sizeof name);
            if (std::string_view(name) != "tooltips_class32" || !IsWindowVisible(window) ||
                (GetWindowLongPtrA(window, GWL_STYLE) & 0x40) == 0) // TTS_BALLOON
                return TRUE;
            // Made with the icon's window as its parent, which as a child makes the tray
            // window the owner.
            char ownerName[64] = {};
            GetClassNameA(GetWindow(window, GW_OWNER), ownerName, sizeof ownerName);
            if (std::string_view(ownerName) == "__winex11_standalone_tray")
                ++*reinterpret_cast<int*>(counter);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&count));
    return count;
}

} // namespace testcommon

// First statement of a test that reads Wine's tray window.
#define SKIP_UNLESS_WINE()                                                                   \
    if (!testcommon::RunningOnWine())                                                        \
    GTEST_SKIP() << "reads Wine's own tray window"
