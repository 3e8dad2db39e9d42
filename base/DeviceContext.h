#pragma once
#include "base/Handles.h"

#include <windows.h>

namespace base {

// A window's device context (GetDC; the screen's for a null window), released to that
// window when this object goes. Empty when the system had none to give.
class WindowDc {
public:
    explicit WindowDc(HWND window) noexcept : window_(window), dc_(GetDC(window)) {}
    WindowDc(const WindowDc&) = delete;
    WindowDc& operator=(const WindowDc&) = delete;
    // ReleaseDC's answer is not looked at: a context that will not go back cannot be helped.
    ~WindowDc()
    {
        if (dc_)
            ReleaseDC(window_, dc_);
    }

    HDC Get() const noexcept { return dc_; }
    explicit operator bool() const noexcept { return dc_ != nullptr; }

private:
    HWND window_;
    HDC dc_;
};

// A device context made for drawing in memory (CreateCompatibleDC), deleted with DeleteDC.
struct MemoryDcTraits {
    using Type = HDC;
    static Type Empty() noexcept { return nullptr; }
    static void Close(Type h) noexcept { DeleteDC(h); }
};
using MemoryDc = UniqueHandle<MemoryDcTraits>;

// An object (a font, a bitmap) selected into a device context for as long as this object
// lives; the one it replaced is put back when it goes, so the object can be deleted and the
// context gives back what it came with. Declare it after the context it selects into.
class SelectedObject {
public:
    SelectedObject(HDC dc, HGDIOBJ object) noexcept
        : dc_(dc), previous_(dc && object ? SelectObject(dc, object) : nullptr)
    {
        if (previous_ == HGDI_ERROR)
            previous_ = nullptr;
    }
    SelectedObject(const SelectedObject&) = delete;
    SelectedObject& operator=(const SelectedObject&) = delete;
    // Putting back what was there cannot fail for an object the context held.
    ~SelectedObject()
    {
        if (previous_)
            SelectObject(dc_, previous_);
    }

    // Whether the object was selected: false for no context, no object, or a selection the
    // system refused (an object of a kind the context cannot take).
    explicit operator bool() const noexcept { return previous_ != nullptr; }

private:
    HDC dc_;
    HGDIOBJ previous_;
};

} // namespace base
