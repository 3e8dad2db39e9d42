#pragma once
#include "base/Handles.h"

#include <windows.h>

namespace toolkit {

// The owners of window-system objects; the kernel and registry ones, and the device
// contexts', are in base/.
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
struct EnhancedMetafileTraits {
    using Type = HENHMETAFILE;
    static Type Empty() noexcept { return nullptr; }
    static void Close(Type h) noexcept { DeleteEnhMetaFile(h); }
};
template <typename Gdi>
struct GdiObjectTraits {
    using Type = Gdi;
    static Type Empty() noexcept { return nullptr; }
    static void Close(Type h) noexcept { DeleteObject(h); }
};

using WindowHandle = base::UniqueHandle<WindowTraits>;
using MenuHandle = base::UniqueHandle<MenuTraits>;
using IconHandle = base::UniqueHandle<IconTraits>;
using WindowsHook = base::UniqueHandle<WindowsHookTraits>;
using BitmapHandle = base::UniqueHandle<GdiObjectTraits<HBITMAP>>;
using FontHandle = base::UniqueHandle<GdiObjectTraits<HFONT>>;
using EnhancedMetafileHandle = base::UniqueHandle<EnhancedMetafileTraits>;

} // namespace toolkit
