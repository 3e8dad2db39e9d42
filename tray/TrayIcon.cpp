#include "tray/TrayIcon.h"

#include "toolkit/Application.h"
#include "toolkit/Dpi.h"
#include "toolkit/PopupMenu.h"
#include "base/SystemError.h"
#include "tray/SimpleTimer.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>

namespace tray {

namespace {

// The balloon-capable single-byte record: 488 bytes in a 32-bit build, 504 in a 64-bit one.
constexpr DWORD IconDataSize = NOTIFYICONDATAA_V2_SIZE;
static_assert(IconDataSize == (sizeof(void*) == 8 ? 504 : 488));

constexpr UINT BaseFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
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

} // namespace

TTrayIcon::HandlerReference::HandlerReference(TTrayIcon& icon) : identifier(TTrayIconHandler::Acquire(icon)) {}

TTrayIcon::HandlerReference::~HandlerReference()
{
    TTrayIconHandler::Release(identifier);
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
    clicks_ = std::make_unique<ClickRecognition>(static_cast<ClickTarget&>(*this));
    retryTimer_ = std::make_unique<TSimpleTimer>(DefaultRetryPeriod, [this](TSimpleTimer&) { RetryAdd(); });
    minimizing_ = std::make_unique<MinimizeToTrayHooks>(static_cast<MinimizeTarget&>(*this));
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
    clicks_.reset();
    retryTimer_.reset();
    icon_.Reset();
    minimizing_.reset();
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
    clicks_->WatchExit(want);
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
    // The icon takes the shell's original notifications, which the click recognition reads.
    // The answer does not matter: a shell that refuses sends those anyway.
    data_.uVersion = 0;
    CallShell(NIM_SETVERSION, data_);
}

// ---- notifications ----

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

void TTrayIcon::HandleNotification(UINT notification)
{
    switch (notification) {
    case NIN_BALLOONSHOW: Raise(OnBalloonHintShow, *this); return;
    case NIN_BALLOONHIDE: Raise(OnBalloonHintHide, *this); return;
    case NIN_BALLOONTIMEOUT: Raise(OnBalloonHintTimeout, *this); return;
    case NIN_BALLOONUSERCLICK: Raise(OnBalloonHintClick, *this); return;
    default: break;
    }
    if (Enabled)
        clicks_->Handle(notification);
}

void TTrayIcon::TaskbarCreated()
{
    // Windows also makes a new taskbar when its density changes, so the icon is loaded anew
    // for the density the window has now.
    iconShown_ = false;
    LoadIconForDpi(owner_ ? toolkit::WindowDpi(owner_) : toolkit::SystemDpi());
    if (iconWanted_)
        ShowIcon();
}

void TTrayIcon::OwnerDpiChanged(UINT dpi)
{
    LoadIconForDpi(dpi);
    if (iconFollowsDpi_ && iconShown_)
        ModifyIcon(); // a refusal leaves the old image, which the shell scales
}

} // namespace tray
