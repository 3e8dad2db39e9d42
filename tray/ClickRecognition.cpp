#include "tray/ClickRecognition.h"

#include "toolkit/Application.h"
#include "toolkit/PopupMenu.h"
#include "tray/SimpleTimer.h"

namespace tray {

namespace {

constexpr UINT ExitPollPeriod = 20;

TShiftState KeysHeld() noexcept
{
    TShiftState shift = 0;
    if (GetAsyncKeyState(VK_SHIFT) < 0)
        shift |= ssShift;
    if (GetAsyncKeyState(VK_CONTROL) < 0)
        shift |= ssCtrl;
    if (GetAsyncKeyState(VK_MENU) < 0)
        shift |= ssAlt;
    return shift;
}

POINT CursorPosition() noexcept
{
    POINT point{};
    if (!GetCursorPos(&point))
        point = POINT{}; // no cursor to read (a locked desktop): the events get (0, 0)
    return point;
}

} // namespace

ClickRecognition::ClickRecognition(ClickTarget& icon) : icon_(icon)
{
    clickTimer_ = std::make_unique<TSimpleTimer>(1000, [this](TSimpleTimer&) { ClickTimerFired(); });
    clickTimer_->AutoDisable = true; // the click timer stops itself when it fires
    exitPollTimer_ = std::make_unique<TSimpleTimer>(ExitPollPeriod, [this](TSimpleTimer&) { ExitPoll(); });
}

ClickRecognition::~ClickRecognition() = default;

void ClickRecognition::WatchExit(bool watch)
{
    exitPollTimer_->SetEnabled(watch);
}

// The shell reports the original mouse messages: the icon never asks it for the newer
// notifications, so a right release is a release and the menu opens on the press.
void ClickRecognition::Handle(UINT notification)
{
    const std::weak_ptr<const int> alive = alive_;
    const POINT at = CursorPosition();
    const TShiftState keys = KeysHeld();
    switch (notification) {
    case WM_MOUSEMOVE:
        if (icon_.WantEnterExitEvents() && cursorOutside_) {
            icon_.MouseEnter();
            if (alive.expired())
                return;
            cursorOutside_ = false;
        }
        icon_.MouseMove(keys, at.x, at.y);
        if (alive.expired())
            return;
        lastCursor_ = at;
        break;
    case WM_LBUTTONDOWN:
        if (icon_.WaitsForDoubleClicks()) {
            clickTimer_->SetInterval(GetDoubleClickTime());
            clickTimer_->Start(); // a refused timer makes the release click at once
        }
        icon_.MouseDown(mbLeft, keys | ssLeft, at.x, at.y);
        if (alive.expired())
            return;
        leftDown_ = true;
        if (icon_.LeftOpensMenu())
            PopupAtCursor();
        break;
    case WM_LBUTTONUP: {
        const bool clickNow = leftDown_ && !clickTimer_->Enabled();
        clickPending_ = leftDown_ && !clickNow;
        leftDown_ = false;
        if (clickNow) {
            icon_.Click();
            if (alive.expired())
                return;
        }
        icon_.MouseUp(mbLeft, keys | ssLeft, at.x, at.y);
        break;
    }
    case WM_LBUTTONDBLCLK:
        clickPending_ = false;
        doubleClicked_ = true;
        icon_.DblClick();
        if (alive.expired())
            return;
        ClickDefaultItem();
        break;
    case WM_RBUTTONDOWN:
        icon_.MouseDown(mbRight, keys | ssRight, at.x, at.y);
        if (alive.expired())
            return;
        PopupAtCursor();
        break;
    case WM_RBUTTONUP:
        icon_.MouseUp(mbRight, keys | ssRight, at.x, at.y);
        break;
    case WM_MBUTTONDOWN:
        icon_.MouseDown(mbMiddle, keys | ssMiddle, at.x, at.y);
        break;
    case WM_MBUTTONUP:
        icon_.MouseUp(mbMiddle, keys | ssMiddle, at.x, at.y);
        break;
    default:
        break; // double-clicks of the other buttons among them
    }
}

void ClickRecognition::ClickTimerFired()
{
    const bool click = clickPending_ && !doubleClicked_;
    doubleClicked_ = false;
    if (click) {
        clickPending_ = false;
        icon_.Click();
    }
}

void ClickRecognition::ExitPoll()
{
    if (cursorOutside_)
        return;
    POINT now{};
    if (!GetCursorPos(&now))
        return; // no reading now; the next poll tries again
    if (now.x != lastCursor_.x || now.y != lastCursor_.y) {
        cursorOutside_ = true;
        icon_.MouseExit();
    }
}

void ClickRecognition::ClickDefaultItem()
{
    toolkit::PopupMenu* menu = icon_.PopupMenu();
    if (!menu || !menu->AutoPopup || icon_.LeftOpensMenu())
        return;
    if (toolkit::MenuItem* item = menu->DefaultItem())
        item->Click();
}

void ClickRecognition::PopupAtCursor()
{
    toolkit::PopupMenu* menu = icon_.PopupMenu();
    if (!menu || !menu->AutoPopup)
        return;
    POINT at{};
    if (!GetCursorPos(&at))
        return;
    toolkit::Application& application = toolkit::Application::Instance();
    // Without being the foreground window the menu would not close when the user clicks
    // elsewhere. Refused only while another program holds the foreground lock.
    SetForegroundWindow(application.Handle());
    const std::weak_ptr<const int> alive = alive_;
    application.ProcessMessages();
    if (alive.expired())
        return;
    menu = icon_.PopupMenu(); // the waiting messages may have replaced or destroyed it
    if (!menu)
        return;
    menu->PopupComponent = icon_.MenuComponent();
    // A chosen command may destroy the icon ("Exit"), and this object with it: what follows
    // the popup uses only what was read before it.
    const HWND owner = icon_.Owner();
    menu->Popup(at.x, at.y);
    if (owner) {
        // Lets the system finish the menu's modal loop; a window already gone needs nothing.
        PostMessageA(owner, WM_NULL, 0, 0);
    }
}

} // namespace tray
