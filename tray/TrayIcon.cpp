#include "tray/TrayIcon.h"

#include "toolkit/Dpi.h"
#include "toolkit/PopupMenu.h"
#include "base/SystemError.h"
#include "tray/OwnerHook.h"
#include "tray/SimpleTimer.h"
#include "tray/TrayIconHandler.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>
#include <utility>

namespace tray {

namespace {

// The balloon-capable single-byte record: 488 bytes in a 32-bit build, 504 in a 64-bit one.
constexpr DWORD IconDataSize = NOTIFYICONDATAA_V2_SIZE;
static_assert(IconDataSize == (sizeof(void*) == 8 ? 504 : 488));

constexpr UINT BaseFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
constexpr UINT ExitPollPeriod = 20;
// Long enough not to burden a shell that is still starting, short enough that the icon
// comes soon after it is ready.
constexpr UINT DefaultRetryPeriod = 3000;

// Copies the first limit characters of text into a field, always terminated.
template <std::size_t N>
void CopyCut(char (&field)[N], const std::string& text, std::size_t limit)
{
    static_assert(N > 0);
    const std::size_t length = std::min({text.size(), limit, N - 1});
    std::memset(field, 0, N);
    std::memcpy(field, text.data(), length);
}

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

// Raises an event through a copy of its handler, since the handler may destroy the object
// that holds it.
template <typename Event, typename... Args>
void Raise(const Event& event, Args&&... args)
{
    if (!event)
        return;
    const Event handler = event;
    handler(std::forward<Args>(args)...);
}

} // namespace

TTrayIcon::HandlerReference::HandlerReference(TTrayIcon& icon) : identifier(TTrayIconHandler::Acquire(icon)) {}

TTrayIcon::HandlerReference::~HandlerReference()
{
    TTrayIconHandler::Release(identifier);
}

TTrayIcon::ApplicationHook::ApplicationHook(toolkit::Application::MessageHook hook)
    : id(toolkit::Application::Instance().AddMessageHook(std::move(hook)))
{
}

TTrayIcon::ApplicationHook::~ApplicationHook()
{
    toolkit::Application::Instance().RemoveMessageHook(id);
}

TTrayIcon::TTrayIcon(HWND owner)
    : alive_(std::make_shared<const int>(0)), owner_(owner), handler_(*this), identifier_(handler_.identifier)
{
    LoadIconForDpi(owner_ ? toolkit::WindowDpi(owner_) : toolkit::SystemDpi());

    data_.cbSize = IconDataSize;
    data_.hWnd = TTrayIconHandler::Window();
    data_.uID = identifier_;
    data_.uFlags = BaseFlags;
    data_.uCallbackMessage = TTrayIconHandler::CallbackMessage;

    cycleTimer_ = std::make_unique<TSimpleTimer>(1000, [this](TSimpleTimer&) { CycleIcon(); });
    clickTimer_ = std::make_unique<TSimpleTimer>(1000, [this](TSimpleTimer&) { ClickTimerFired(); });
    clickTimer_->AutoDisable = true; // the click timer stops itself when it fires
    exitPollTimer_ = std::make_unique<TSimpleTimer>(ExitPollPeriod, [this](TSimpleTimer&) { ExitPoll(); });
    retryTimer_ = std::make_unique<TSimpleTimer>(DefaultRetryPeriod, [this](TSimpleTimer&) { RetryAdd(); });

    applicationHook_ = std::make_unique<ApplicationHook>(
        [this](UINT message, WPARAM wParam, LPARAM lParam) { ApplicationMessage(message, wParam, lParam); });
    if (owner_) {
        ownerHook_ = std::make_unique<OwnerHook>(
            owner_, [this](UINT message, WPARAM wParam, LPARAM lParam) { return OwnerMessage(message, wParam, lParam); });
    }
}

TTrayIcon::~TTrayIcon()
{
    alive_.reset();
    try {
        SetIconVisible(false);
    } catch (...) {
        // Going on matters more: the hooks below must come off whatever happened here.
    }
    cycleTimer_.reset();
    clickTimer_.reset();
    exitPollTimer_.reset();
    retryTimer_.reset();
    icon_.Reset();
    applicationHook_.reset();
    ownerHook_.reset();
    // The handler reference goes last, with the members.
}

// ---- shell calls ----

void TTrayIcon::PrepareIconData()
{
    data_.hIcon = icon_.Get();
    if (!hint_.empty() && showHint_)
        CopyCut(data_.szTip, hint_, 127);
    else
        std::memset(data_.szTip, 0, sizeof data_.szTip);
}

bool TTrayIcon::CallShell(DWORD action, NOTIFYICONDATAA& data)
{
    return Shell_NotifyIconA(action, &data) != FALSE;
}

bool TTrayIcon::Notify(DWORD action)
{
    PrepareIconData();
    return CallShell(action, data_);
}

bool TTrayIcon::ShowIcon()
{
    iconWanted_ = true;
    const bool accepted = Notify(NIM_ADD);
    if (accepted)
        iconShown_ = true;
    // A refused add of an icon the shell already holds changes nothing; one the shell does
    // not hold is tried again until it is taken.
    retryTimer_->SetEnabled(!iconShown_);
    return accepted;
}

bool TTrayIcon::HideIcon()
{
    retryTimer_->SetEnabled(false);
    // An icon not asked for since it was last removed is none of the shell's: it would
    // refuse, and asking costs a call into another process (each time the window is shown
    // before the icon's first add, as at start-up).
    if (!iconWanted_ && !iconShown_)
        return false;
    iconWanted_ = false;
    iconShown_ = false;
    return Notify(NIM_DELETE);
}

void TTrayIcon::RetryAdd()
{
    if (iconWanted_ && !iconShown_)
        ShowIcon();
    else
        retryTimer_->SetEnabled(false);
}

UINT TTrayIcon::RetryInterval() const noexcept
{
    return retryTimer_->Interval();
}

void TTrayIcon::SetRetryInterval(UINT milliseconds)
{
    retryTimer_->SetInterval(milliseconds);
}

void TTrayIcon::LoadIconForDpi(UINT dpi)
{
    if (!iconFollowsDpi_)
        return;
    toolkit::IconHandle icon = toolkit::LoadIconOfSize(toolkit::Application::MainIconResource,
                                                       toolkit::SystemMetric(SM_CXSMICON, dpi));
    // A program without the icon resource shows the system's application icon, stretched by
    // the shell; an icon that cannot be copied leaves the tray image empty rather than
    // stopping the program.
    if (!icon)
        icon.Reset(CopyIcon(toolkit::Application::MainIcon()));
    if (icon || !icon_)
        icon_ = std::move(icon);
}

bool TTrayIcon::ModifyIcon()
{
    // An icon never added, or deleted, is no icon of the shell's: it would refuse the
    // change, and asking costs a call into another process (at start-up, before the add).
    // The change waits in the icon data for the add.
    if (!iconWanted_ && !iconShown_)
        return false;
    return Notify(NIM_MODIFY);
}

bool TTrayIcon::HideBalloonHint()
{
    data_.uFlags |= NIF_INFO;
    std::memset(data_.szInfo, 0, sizeof data_.szInfo);
    return ModifyIcon();
}

bool TTrayIcon::ShowBalloonHint(const std::string& title, const std::string& text, TBalloonHintIcon icon,
                                BYTE timeoutSeconds)
{
    // The shell's answer to taking a showing balloon away does not matter: the new one
    // follows either way.
    HideBalloonHint();
    data_.uFlags |= NIF_INFO;
    CopyCut(data_.szInfo, text, 255);
    CopyCut(data_.szInfoTitle, title, 63);
    data_.uTimeout = static_cast<UINT>(timeoutSeconds) * 1000;
    switch (icon) {
    case bitInfo: data_.dwInfoFlags = NIIF_INFO; break;
    case bitWarning: data_.dwInfoFlags = NIIF_WARNING; break;
    case bitError: data_.dwInfoFlags = NIIF_ERROR; break;
    case bitNone:
    default: data_.dwInfoFlags = NIIF_NONE; break;
    }
    const bool accepted = ModifyIcon();
    data_.uFlags = BaseFlags;
    return accepted;
}

// The component's documented newer-notification mode, kept with the mouse mapping that
// follows it; this program leaves it off, so loading only tells the shell so.
void TTrayIcon::ApplyVersion5Behaviour(bool on)
{
    version5Behaviour_ = on;
    data_.uVersion = on ? 3 : 0;
    // A shell without the newer notifications refuses; the older ones then keep coming.
    CallShell(NIM_SETVERSION, data_);
}

// ---- properties ----

void TTrayIcon::SetIconList(HIMAGELIST list)
{
    iconList_ = list;
    SetIconIndex(0);
}

void TTrayIcon::SetCycleIcons(bool cycle)
{
    cycleIcons_ = cycle;
    if (cycle) {
        SetIconIndex(0);
        cycleTimer_->SetInterval(cycleInterval_);
    }
    cycleTimer_->SetEnabled(cycle);
}

void TTrayIcon::SetCycleInterval(UINT milliseconds)
{
    cycleInterval_ = milliseconds;
    cycleTimer_->SetInterval(milliseconds);
    // Cycling switched on with a period of 0 left the timer stopped; a real period starts it.
    if (cycleIcons_ && !cycleTimer_->Enabled())
        cycleTimer_->SetEnabled(true);
}

void TTrayIcon::SetHint(const std::string& hint)
{
    hint_ = hint;
    ModifyIcon();
}

void TTrayIcon::SetShowHint(bool show)
{
    showHint_ = show;
    ModifyIcon();
}

void TTrayIcon::SetIcon(HICON icon)
{
    iconFollowsDpi_ = false;
    toolkit::IconHandle copy;
    if (icon) {
        copy.Reset(CopyIcon(icon));
        if (!copy)
            throw std::runtime_error(base::SystemErrorText(GetLastError()));
    }
    icon_ = std::move(copy);
    ModifyIcon();
}

void TTrayIcon::SetIconVisible(bool visible)
{
    if (visible)
        ShowIcon();
    else
        HideIcon();
}

void TTrayIcon::SetIconIndex(int index)
{
    if (iconList_) {
        const int count = ImageList_GetImageCount(iconList_);
        if (index >= count)
            index = count - 1;
        iconIndex_ = index;
        iconFollowsDpi_ = false;
        if (index >= 0) {
            toolkit::IconHandle image(ImageList_GetIcon(iconList_, index, ILD_NORMAL));
            if (image)
                icon_ = std::move(image); // an image that cannot be drawn keeps the last one
        }
    } else {
        iconIndex_ = 0;
    }
    ModifyIcon();
}

toolkit::PopupMenu* TTrayIcon::PopupMenu() const noexcept
{
    return popupMenuAlive_.expired() ? nullptr : popupMenu_;
}

void TTrayIcon::SetPopupMenu(toolkit::PopupMenu* menu) noexcept
{
    popupMenu_ = menu;
    popupMenuAlive_ = menu ? menu->Lifetime() : std::weak_ptr<const void>();
}

void TTrayIcon::SetWantEnterExitEvents(bool want)
{
    wantEnterExitEvents_ = want;
    exitPollTimer_->SetEnabled(want);
}

void TTrayIcon::SetPersistenttrayIcon(bool persistent)
{
    persistentTrayIcon_ = persistent;
    SetIconVisible(persistent);
}

void TTrayIcon::Loaded()
{
    const std::weak_ptr<const void> alive = alive_;
    if (owner_ && OnStartup) {
        bool show = true;
        Raise(OnStartup, *this, show);
        if (alive.expired())
            return;
        if (!show) {
            toolkit::Application::Instance().SetShowMainFormOnStart(false);
            HideMainForm();
        }
    }
    ModifyIcon();
    SetIconVisible(iconWanted_);
    SetCycleIcons(cycleIcons_);
    SetWantEnterExitEvents(wantEnterExitEvents_);
    ApplyVersion5Behaviour(version5Behaviour_);
}

// ---- notifications ----

void TTrayIcon::Click()
{
    const std::weak_ptr<const void> alive = alive_;
    if (ShowformOnTrayIconClick) {
        ShowMainForm();
        if (alive.expired())
            return;
    }
    Raise(OnClick, *this);
}

void TTrayIcon::DblClick()
{
    Raise(OnDblClick, *this);
}

void TTrayIcon::CycleIcon()
{
    const std::weak_ptr<const void> alive = alive_;
    const int count = iconList_ ? ImageList_GetImageCount(iconList_) : 0;
    int next = iconIndex_ + 1;
    if (next >= count)
        next = 0;
    Raise(OnCycle, *this, next);
    if (!alive.expired())
        SetIconIndex(next);
}

void TTrayIcon::MouseDown(TMouseButton button, TShiftState shift, int x, int y)
{
    Raise(OnMouseDown, *this, button, shift, x, y);
}

void TTrayIcon::MouseUp(TMouseButton button, TShiftState shift, int x, int y)
{
    Raise(OnMouseUp, *this, button, shift, x, y);
}

void TTrayIcon::MouseMove(TShiftState shift, int x, int y)
{
    Raise(OnMouseMove, *this, shift, x, y);
}

void TTrayIcon::MouseEnter()
{
    Raise(OnMouseEnter, *this);
}

void TTrayIcon::MouseExit()
{
    Raise(OnMouseExit, *this);
}

void TTrayIcon::HandleNotification(UINT notification)
{
    const std::weak_ptr<const void> alive = alive_;
    switch (notification) {
    case NIN_BALLOONSHOW: Raise(OnBalloonHintShow, *this); return;
    case NIN_BALLOONHIDE: Raise(OnBalloonHintHide, *this); return;
    case NIN_BALLOONTIMEOUT: Raise(OnBalloonHintTimeout, *this); return;
    case NIN_BALLOONUSERCLICK: Raise(OnBalloonHintClick, *this); return;
    default: break;
    }
    if (!Enabled)
        return;
    const POINT at = CursorPosition();
    const TShiftState keys = KeysHeld();
    switch (notification) {
    case WM_MOUSEMOVE:
        if (wantEnterExitEvents_ && cursorOutside_) {
            MouseEnter();
            if (alive.expired())
                return;
            cursorOutside_ = false;
        }
        MouseMove(keys, at.x, at.y);
        if (alive.expired())
            return;
        lastCursor_ = at;
        break;
    case WM_LBUTTONDOWN:
        if (OnDblClick) {
            clickTimer_->SetInterval(GetDoubleClickTime());
            clickTimer_->Start(); // a refused timer makes the release click at once
        }
        MouseDown(mbLeft, keys | ssLeft, at.x, at.y);
        if (alive.expired())
            return;
        leftDown_ = true;
        if (LeftPopup)
            PopupAtCursor();
        break;
    case WM_LBUTTONUP: {
        const bool clickNow = leftDown_ && !clickTimer_->Enabled();
        clickPending_ = leftDown_ && !clickNow;
        leftDown_ = false;
        if (clickNow) {
            Click();
            if (alive.expired())
                return;
        }
        MouseUp(mbLeft, keys | ssLeft, at.x, at.y);
        break;
    }
    case WM_LBUTTONDBLCLK:
        clickPending_ = false;
        doubleClicked_ = true;
        DblClick();
        if (alive.expired())
            return;
        ClickDefaultItem();
        break;
    case WM_RBUTTONDOWN:
        MouseDown(mbRight, keys | ssRight, at.x, at.y);
        if (alive.expired())
            return;
        PopupAtCursor();
        break;
    case WM_RBUTTONUP:
        if (!version5Behaviour_)
            MouseUp(mbRight, keys | ssRight, at.x, at.y);
        break;
    case WM_MBUTTONDOWN:
        MouseDown(mbMiddle, keys | ssMiddle, at.x, at.y);
        break;
    case WM_MBUTTONUP:
        MouseUp(mbMiddle, keys | ssMiddle, at.x, at.y);
        break;
    case WM_CONTEXTMENU:
    case NIN_SELECT:
    case NIN_KEYSELECT:
        if (version5Behaviour_)
            MouseUp(mbRight, keys | ssRight, at.x, at.y);
        break;
    default:
        break; // double-clicks of the other buttons among them
    }
}

void TTrayIcon::ClickTimerFired()
{
    const bool click = clickPending_ && !doubleClicked_;
    doubleClicked_ = false;
    if (click) {
        clickPending_ = false;
        Click();
    }
}

void TTrayIcon::ExitPoll()
{
    if (cursorOutside_)
        return;
    POINT now{};
    if (!GetCursorPos(&now))
        return; // no reading now; the next poll tries again
    if (now.x != lastCursor_.x || now.y != lastCursor_.y) {
        cursorOutside_ = true;
        MouseExit();
    }
}

void TTrayIcon::ClickDefaultItem()
{
    toolkit::PopupMenu* menu = PopupMenu();
    if (!menu || !menu->AutoPopup || LeftPopup)
        return;
    if (toolkit::MenuItem* item = menu->DefaultItem())
        item->Click();
}

void TTrayIcon::PopupAtCursor()
{
    toolkit::PopupMenu* menu = PopupMenu();
    if (!menu || !menu->AutoPopup)
        return;
    POINT at{};
    if (!GetCursorPos(&at))
        return;
    toolkit::Application& application = toolkit::Application::Instance();
    // Without being the foreground window the menu would not close when the user clicks
    // elsewhere. Refused only while another program holds the foreground lock.
    SetForegroundWindow(application.Handle());
    const std::weak_ptr<const void> alive = alive_;
    application.ProcessMessages();
    if (alive.expired())
        return;
    menu = PopupMenu(); // the waiting messages may have replaced or destroyed it
    if (!menu)
        return;
    menu->PopupComponent = this;
    // A chosen command may destroy this icon ("Exit"): what follows the popup uses only
    // what was read before it.
    const HWND owner = owner_;
    menu->Popup(at.x, at.y);
    if (owner) {
        // Lets the system finish the menu's modal loop; a window already gone needs nothing.
        PostMessageA(owner, WM_NULL, 0, 0);
    }
}

// ---- minimise to tray ----

void TTrayIcon::ApplicationMessage(UINT message, WPARAM wParam, LPARAM)
{
    toolkit::Application& application = toolkit::Application::Instance();
    const UINT taskbarCreated = TTrayIconHandler::TaskbarCreatedMessage();
    if (message == WM_SIZE) {
        if (wParam == SIZE_MINIMIZED && MinimizeToTray)
            DoMinimizeToTray();
    } else if (message == WM_WINDOWPOSCHANGED) {
        // The start-up question the component asks of an MDI parent form; this program's
        // form is none, but the component serves any owner.
        const HWND form = application.MainForm();
        if (firstActivation_ && form) {
            const std::weak_ptr<const void> alive = alive_;
            if (FindWindowExA(form, nullptr, "MDICLIENT", nullptr)) {
                bool show = true;
                Raise(OnStartup, *this, show);
                if (alive.expired())
                    return;
                if (!show)
                    HideTaskbarIcon();
            }
            firstActivation_ = false;
        }
    } else if (message == WM_SYSCOMMAND) {
        if ((wParam & 0xFFF0) == SC_RESTORE) {
            if (const HWND form = application.MainForm())
                ShowWindow(form, SW_SHOW); // answers the previous visibility
        }
        if (!persistentTrayIcon_)
            HideIcon();
    } else if (taskbarCreated != 0 && message == taskbarCreated) {
        // A new shell holds none of the old icons. Windows also makes a new taskbar when its
        // density changes, so the icon is loaded anew for the density the window has now.
        iconShown_ = false;
        LoadIconForDpi(owner_ ? toolkit::WindowDpi(owner_) : toolkit::SystemDpi());
        if (iconWanted_)
            ShowIcon();
    }
}

std::optional<LRESULT> TTrayIcon::OwnerMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_DPICHANGED) {
        // The new density comes with the message: the system may not report it yet.
        LoadIconForDpi(LOWORD(wParam));
        if (iconFollowsDpi_ && iconShown_)
            ModifyIcon(); // a refusal leaves the old image, which the shell scales
        return std::nullopt;
    }
    if (message == WM_SHOWWINDOW && wParam != 0 && lParam == 0) {
        // Refused only while another program holds the foreground lock.
        SetForegroundWindow(toolkit::Application::Instance().Handle());
        SetForegroundWindow(owner_);
        if (persistentTrayIcon_)
            ShowIcon();
        else
            HideIcon();
        return std::nullopt;
    }
    const bool parentMinimising = message == WM_SHOWWINDOW && wParam == 0 && lParam == SW_PARENTCLOSING &&
                                  !toolkit::Application::Instance().Terminated();
    const bool minimising = message == WM_SYSCOMMAND && (wParam & 0xFFF0) == SC_MINIMIZE;
    if ((parentMinimising || minimising) && MinimizeToTray && OnMinimizeToTray) {
        const std::weak_ptr<const void> alive = alive_;
        Raise(OnMinimizeToTray, *this);
        if (!alive.expired())
            DoMinimizeToTray();
        return 1;
    }
    return std::nullopt;
}

void TTrayIcon::DoMinimizeToTray()
{
    HideMainForm();
    SetIconVisible(true);
}

void TTrayIcon::HideMainForm()
{
    const HWND form = toolkit::Application::Instance().MainForm();
    if (!owner_ || !form)
        return;
    ShowWindow(form, SW_HIDE); // answers the previous visibility
    HideTaskbarIcon();
}

void TTrayIcon::HideTaskbarIcon()
{
    const HWND window = toolkit::Application::Instance().Handle();
    if (IsWindowVisible(window))
        ShowWindow(window, SW_HIDE); // answers the previous visibility
}

void TTrayIcon::ShowMainForm()
{
    toolkit::Application& application = toolkit::Application::Instance();
    const HWND form = application.MainForm();
    if (!owner_ || !form)
        return;
    const std::weak_ptr<const void> alive = alive_;
    application.Restore();
    if (IsIconic(form))
        ShowWindow(form, SW_RESTORE);
    ShowWindow(form, SW_SHOW); // answers the previous visibility
    if (alive.expired())
        return; // a hooked message destroyed the icon on the way
    // Refused only while another program holds the foreground lock.
    SetForegroundWindow(application.Handle());
    if (persistentTrayIcon_)
        ShowIcon();
    else
        HideIcon();
}

} // namespace tray
