#pragma once
#include <windows.h>

#include "toolkit/WindowSubclass.h"

#include <functional>
#include <string>

namespace toolkit {

class Control;

// An event handler: receives the control that raised it. Raised only when assigned.
using NotifyEvent = std::function<void(Control& sender)>;

// Arguments for creating a control. Position and size are in pixels within the parent's
// client area, as designed at 96 pixels per inch (ScaleTo puts the control where they fall
// at another density); `style` and `exStyle` are added to the styles the control kind needs.
struct ControlArgs {
    HWND parent = nullptr;
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    std::string text;
    DWORD style = WS_TABSTOP;
    DWORD exStyle = 0;
};

// The name of a class of the common controls (ICC_UPDOWN_CLASS with UPDOWN_CLASSA, say),
// registered first: a control of it can be made only then.
const char* CommonControlClass(DWORD classes, const char* name);

// Base of the standard controls: a child window of one of the system's classes, owned by
// this object and destroyed with it.
//
// The parent receives the controls' notifications (WM_COMMAND, WM_NOTIFY, WM_CONTEXTMENU,
// WM_CTLCOLOR*, scrolling); its window procedure hands each message to Reflect first, which
// finds the control that sent it and lets the control raise its events:
//
//     LRESULT result;
//     if (toolkit::Control::Reflect(message, wParam, lParam, result))
//         return result;
//
// Handlers run inside window procedures, so a failure in one goes to the application's
// last-resort handler instead of leaving the procedure.
class Control {
public:
    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;
    virtual ~Control();

    HWND Handle() const noexcept { return hwnd_; }

    std::string Text() const;
    // Sets the window text; controls whose text is their state raise their change event.
    virtual void SetText(const std::string& text);

    bool Enabled() const noexcept { return IsWindowEnabled(hwnd_) != FALSE; }
    virtual void SetEnabled(bool enabled);
    void SetFocus();
    // Position and size within the parent's client area.
    RECT Bounds() const;
    // Where the control was designed to be, at 96 pixels per inch; a width or height of 0
    // leaves the size to the control (a label sized to its text).
    const RECT& DesignedBounds() const noexcept { return designed_; }
    // Puts the control where its designed place falls at dpi: exactly there at 96.
    virtual void ScaleTo(UINT dpi);
    // Moves the control dx pixels to the right (left when negative) of where it is.
    virtual void MoveRight(int dx);
    // The width the control needs at dpi to show its whole caption in its font; 0 for a
    // control whose width does not follow a caption.
    virtual int CaptionWidth(UINT dpi) const;
    // Puts the control right after `previous` in its parent's order, which is the order the
    // Tab key follows (controls start in the order they were created).
    void PlaceAfter(const Control& previous);

    // Dispatches a notification the parent received to the control it concerns. True when
    // a control handled it; `result` then holds the answer for the parent to return.
    static bool Reflect(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) noexcept;
    // The control object behind a child window, or null for other windows.
    static Control* FromHandle(HWND hwnd) noexcept;

protected:
    // Creates the child window of the system class with the kind's own styles added to the
    // caller's. Throws std::runtime_error with the system's text on failure.
    Control(const char* className, const ControlArgs& args, DWORD kindStyle, DWORD kindExStyle = 0);
    // The same for a control that sizes itself: made at `size`, while its designed place keeps
    // the caller's width and height, so that scaling it leaves the size to the control.
    Control(const char* className, const ControlArgs& args, DWORD kindStyle, DWORD kindExStyle, SIZE size);

    // The size of the text in the control's own font; 0 x 0 when it cannot be measured.
    SIZE TextExtent(const std::string& text) const;

    // Ties another window (a partner such as an up-down control) to this object so its
    // notifications reach it too. Untied in the destructor.
    void Adopt(HWND partner);
    void Disown(HWND partner) noexcept;

    // Routes the window's messages through Filter from now on.
    void Subclass(HWND hwnd);
    // Stops routing a partner window's messages through Filter, before the partner goes.
    void Unsubclass(HWND hwnd) noexcept;

    // Notification hooks; true when handled.
    virtual bool HandleCommand(WORD code);
    virtual bool HandleNotify(const NMHDR& header, LRESULT& result);
    virtual bool HandleContextMenu(HWND source, int x, int y);
    virtual bool HandleColor(HDC dc, LRESULT& result);

    // Messages of a subclassed window; the default passes them on to the window's own
    // procedure.
    virtual LRESULT Filter(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT PassOn(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

    // Raises an event when a handler is assigned. The handler runs from a copy, as it may
    // reassign the event it was called for.
    template <typename Handler, typename... Args>
    static void Raise(const Handler& handler, Args&&... args)
    {
        if (!handler)
            return;
        const Handler call = handler;
        call(std::forward<Args>(args)...);
    }

private:
    static LRESULT CALLBACK SubclassProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    static bool Dispatch(Control& control, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);

    HWND hwnd_ = nullptr;
    WindowSubclass subclassed_[2];
    RECT designed_;
};

} // namespace toolkit
