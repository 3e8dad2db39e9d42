#include "ui/SignatureClipboard.h"

#include "toolkit/InputRights.h"
#include "ui/Reports.h"

#include <commctrl.h>

#include <string_view>

namespace {

constexpr UINT_PTR StepTimer = 1;
// How long and how often a clipboard another program holds open is tried.
constexpr DWORD BusyLimitMs = 500;
constexpr UINT RetryMs = 25;
// How long the keys of the hot key may stay down, and how often they are looked at.
constexpr DWORD KeysLimitMs = 1000;
constexpr UINT KeysCheckMs = 15;
// A window that never asks for the signature has had it after this long.
constexpr DWORD UnaskedLimitMs = 2000;
// A window that asked has taken the signature when it has asked nothing more for this long:
// a rich editor asks for several forms, some of them in clipboard sessions of their own.
constexpr UINT QuietAfterAskingMs = 250;
// How long the kept content is offered back to a clipboard that stays busy.
constexpr DWORD RestoreLimitMs = 2000;

constexpr const char* BusyText = "Another program is using the clipboard.";
constexpr const char* PressCtrlVText = "Press Ctrl+V to paste the signature.";
// Tells the system's clipboard history and the programs that watch the clipboard to leave
// this content alone: it is there for a moment, on its way into one window.
constexpr const char* NotForMonitorsFormat = "ExcludeClipboardContentFromMonitorProcessing";

} // namespace

SignatureClipboard::SignatureClipboard(Reports& reports, SignatureSource makeSignature)
    : reports_(reports), makeSignature_(std::move(makeSignature)),
      window_("VarnquillClipboard",
              [this](UINT message, WPARAM wParam, LPARAM lParam) { return HandleMessage(message, wParam, lParam); },
              toolkit::UtilityWindow::Hears::OnlyItsOwn)
{
}

SignatureClipboard::~SignatureClipboard()
{
    // A paste under way at the end still gives the clipboard back; a clipboard that is busy
    // just now keeps the signature, which the window's end renders for good.
    if (stage_ == Stage::WaitingForKeys || stage_ == Stage::Offered || stage_ == Stage::Restoring) {
        stageStart_ = GetTickCount64() - RestoreLimitMs;
        stage_ = Stage::Restoring;
        RestoreStep();
    }
}

// ---- Commands ----

void SignatureClipboard::Copy()
{
    if (MakeSignature())
        Begin(Stage::Copying);
}

void SignatureClipboard::Paste(WORD hotKey)
{
    if (!MakeSignature())
        return;
    hotKey_ = hotKey;
    Begin(Stage::Opening);
}

bool SignatureClipboard::MakeSignature()
{
    if (stage_ != Stage::Idle)
        return false;
    // A report dialog of the change runs its own loop, where another press must wait too.
    stage_ = Stage::Making;
    std::optional<ClipboardSignature> forms = makeSignature_();
    stage_ = Stage::Idle;
    if (!forms)
        return false;
    signature_ = std::move(*forms);
    return true;
}

// ---- Steps ----

void SignatureClipboard::Begin(Stage stage)
{
    stage_ = stage;
    stageStart_ = GetTickCount64();
    Step();
}

DWORD SignatureClipboard::Elapsed() const noexcept
{
    return static_cast<DWORD>(GetTickCount64() - stageStart_);
}

void SignatureClipboard::StepIn(UINT milliseconds)
{
    // Without a timer the steps end here; whatever the clipboard holds now stays on it.
    if (!SetTimer(window_.Handle(), StepTimer, milliseconds, nullptr))
        Finish();
}

void SignatureClipboard::Finish()
{
    KillTimer(window_.Handle(), StepTimer); // none may be running
    stage_ = Stage::Idle;
    kept_.clear();
}

void SignatureClipboard::Step()
{
    switch (stage_) {
    case Stage::Idle:
    case Stage::Making: break;
    case Stage::Copying: CopyStep(); break;
    case Stage::Opening: OpenStep(); break;
    case Stage::WaitingForKeys: KeysStep(); break;
    case Stage::Offered: OfferedStep(); break;
    case Stage::Restoring: RestoreStep(); break;
    }
}

void SignatureClipboard::CopyStep()
{
    const toolkit::OpenClipboardFor clipboard(window_.Handle());
    if (!clipboard.IsOpen()) {
        if (Elapsed() < BusyLimitMs)
            return StepIn(RetryMs);
        Finish();
        return reports_.ReportError("Cannot copy the signature!", BusyText,
                                    std::string("Cannot copy the signature: ") + BusyText);
    }
    if (EmptyClipboard())
        forms_.Put(signature_);
    Finish();
}

void SignatureClipboard::OpenStep()
{
    const toolkit::OpenClipboardFor clipboard(window_.Handle());
    if (!clipboard.IsOpen()) {
        if (Elapsed() < BusyLimitMs)
            return StepIn(RetryMs);
        Finish();
        return reports_.ErrorBalloon("Cannot paste the signature!",
                                     std::string(BusyText) + " Nothing was pasted; the clipboard is as it was.");
    }
    kept_ = toolkit::ReadContent();
    if (!EmptyClipboard()) {
        Finish();
        return reports_.ErrorBalloon("Cannot paste the signature!", BusyText);
    }
    OfferSignature();
    askedAfterKeys_ = false;
    stage_ = Stage::WaitingForKeys;
    stageStart_ = GetTickCount64();
    // The clipboard closes as this returns; the keys are looked at from the timer on.
    StepIn(0);
}

void SignatureClipboard::KeysStep()
{
    if (!HotKeyKeysUp()) {
        if (Elapsed() < KeysLimitMs)
            return StepIn(KeysCheckMs);
        return LeaveForTheUser();
    }
    if (!toolkit::TakesOurInput(GetForegroundWindow()) || !SendPasteKeys())
        return LeaveForTheUser();
    Begin(Stage::Offered);
}

void SignatureClipboard::OfferedStep()
{
    if (askedAfterKeys_) {
        const auto quiet = static_cast<DWORD>(GetTickCount64() - lastRender_);
        if (quiet < QuietAfterAskingMs)
            return StepIn(QuietAfterAskingMs - quiet);
    } else if (Elapsed() < UnaskedLimitMs) {
        return StepIn(UnaskedLimitMs - Elapsed());
    }
    Begin(Stage::Restoring);
}

void SignatureClipboard::RestoreStep()
{
    const toolkit::OpenClipboardFor clipboard(window_.Handle());
    if (!clipboard.IsOpen()) {
        // The window that pastes may still be reading.
        if (Elapsed() < RestoreLimitMs)
            return StepIn(RetryMs);
        return Finish(); // the signature stays: nothing the user copied meanwhile is lost
    }
    // Someone copied something since: that is what the user wants on the clipboard now.
    if (GetClipboardOwner() == window_.Handle() && EmptyClipboard())
        toolkit::PutContent(kept_);
    Finish();
}

void SignatureClipboard::LeaveForTheUser()
{
    Finish();
    reports_.Notice("Paste hot key:", PressCtrlVText);
}

// ---- The signature's forms ----

void SignatureClipboard::OfferSignature()
{
    forms_.Offer();
    const DWORD none = 0;
    toolkit::PutOnClipboard(toolkit::RegisteredClipboardFormat(NotForMonitorsFormat),
                            std::string_view(reinterpret_cast<const char*>(&none), sizeof none));
}

// ---- Keys ----

bool SignatureClipboard::HotKeyKeysUp() const
{
    const auto up = [](int key) { return (GetAsyncKeyState(key) & 0x8000) == 0; };
    const BYTE flags = HIBYTE(hotKey_);
    return up(LOBYTE(hotKey_)) && (!(flags & HOTKEYF_CONTROL) || up(VK_CONTROL)) &&
           (!(flags & HOTKEYF_SHIFT) || up(VK_SHIFT)) && (!(flags & HOTKEYF_ALT) || up(VK_MENU));
}

bool SignatureClipboard::SendPasteKeys()
{
    INPUT keys[4] = {};
    const WORD sequence[4][2] = {{VK_CONTROL, 0}, {'V', 0}, {'V', KEYEVENTF_KEYUP}, {VK_CONTROL, KEYEVENTF_KEYUP}};
    for (int i = 0; i < 4; ++i) {
        keys[i].type = INPUT_KEYBOARD;
        keys[i].ki.wVk = sequence[i][0];
        keys[i].ki.dwFlags = sequence[i][1];
    }
    // Fewer events taken means the system refused them: another program's input is locked
    // or its window runs with higher rights.
    return SendInput(4, keys, sizeof keys[0]) == 4;
}

// ---- Messages ----

std::optional<LRESULT> SignatureClipboard::HandleMessage(UINT message, WPARAM wParam, LPARAM)
{
    switch (message) {
    case WM_TIMER:
        if (wParam != StepTimer)
            return std::nullopt;
        KillTimer(window_.Handle(), StepTimer); // each step sets the next afresh
        Step();
        return 0;
    case WM_RENDERFORMAT:
        forms_.Render(static_cast<UINT>(wParam), signature_);
        if (stage_ == Stage::Offered) {
            askedAfterKeys_ = true;
            lastRender_ = GetTickCount64();
            StepIn(QuietAfterAskingMs);
        }
        return 0;
    case WM_RENDERALLFORMATS: {
        // The window goes while its signature is still offered: it is rendered for good.
        const toolkit::OpenClipboardFor clipboard(window_.Handle());
        if (clipboard.IsOpen() && GetClipboardOwner() == window_.Handle())
            forms_.Put(signature_);
        return 0;
    }
    default: return std::nullopt;
    }
}
