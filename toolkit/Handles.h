#pragma once
#include "base/Handles.h"

#include <windows.h>

namespace toolkit {

// The owners of window-system objects; the kernel and registry ones are in base/.
struct WindowTraits {
    using Type = HWND;
    static Type Empty() noexcept { return nullptr; }
    static void Close(Type h) noexcept { DestroyWindow(h); }
};
struct MenuTraits {
    using Type = HMENU;
    static Type Empty() noexcept { return nullptr; }
    static void Close(Type h) noexcept { DestroyMenu(h); }
};
struct IconTraits {
    using Type = HICON;
    static Type Empty() noexcept { return nullptr; }
    static void Close(Type h) noexcept { DestroyIcon(h); }
};
struct WindowsHookTraits {
    using Type = HHOOK;
    static Type Empty() noexcept { return nullptr; }
    static void Close(Type h) noexcept { UnhookWindowsHookEx(h); }
};
template <typename Gdi>
struct GdiObjectTraits {
    using Type = Gdi;
    static Type Empty() noexcept { return nullptr; }
    static void Close(Type h) noexcept { DeleteObject(h); }
};

using WindowHandle = UniqueHandle<WindowTraits>;
using MenuHandle = UniqueHandle<MenuTraits>;
using IconHandle = UniqueHandle<IconTraits>;
using WindowsHook = UniqueHandle<WindowsHookTraits>;
using BitmapHandle = UniqueHandle<GdiObjectTraits<HBITMAP>>;
using FontHandle = UniqueHandle<GdiObjectTraits<HFONT>>;
using BrushHandle = UniqueHandle<GdiObjectTraits<HBRUSH>>;

} // namespace toolkit
