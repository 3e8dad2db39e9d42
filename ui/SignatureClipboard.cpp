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
// How long the kept content is offered back to a busy clipboard before the signature is left
// for the user instead.
constexpr DWORD RestoreLimitMs = 2000;
// How long a signature left for the user waits for a paste, and how often the kept content is
// offered back to a clipboard that is busy when it is due.
constexpr DWORD LeftLimitMs = 30000;
constexpr UINT LeftRetryMs = 100;

constexpr const char* BusyText = "Another program is using the clipboard.";
constexpr const char* PressCtrlVText = "Press Ctrl+V to paste the signature.";
// Tells the system's clipboard history and the programs that watch the clipboard to leave
// this content alone: it is there for a moment, on its way into one window.
constexpr const char* NotForMonitorsFormat = "ExcludeClipboardContentFromMonitorProcessing";

ULONGLONG MsSince(ULONGLONG then) noexcept
{
    return GetTickCount64() - then;
}

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
    GiveBack();
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

void SignatureClipboard::GiveBack()
{
    if (!kept_)
        return;
    {
        // A clipboard busy just now keeps the signature, which the window's end renders for
        // good: the end cannot wait for it.
        const toolkit::OpenClipboardFor clipboard(window_.Handle());
        if (clipboard.IsOpen())
            PutBackKept();
    }
    Finish();
}

bool SignatureClipboard::MakeSignature()
{
    // A signature left for the user may be replaced; any other copy or paste is under way.
    if (stage_ != Stage::Idle && stage_ != Stage::LeftForUser)
        return false;
    // A report dialog of the change runs its own loop, where another press must wait too.
    stage_ = Stage::Making;
    std::optional<ClipboardSignature> forms = makeSignature_();
    // Until the new signature is on the clipboard, the one left there still renders as itself
    // and still waits for its paste, unless another program has replaced it meanwhile.
    stage_ = kept_ ? Stage::LeftForUser : Stage::Idle;
    if (!forms) {
        if (stage_ == Stage::LeftForUser)
            Step(); // its timer may have run out during the change
        return false;
    }
    next_ = std::move(*forms);
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
    return static_cast<DWORD>(MsSince(stageStart_));
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
    kept_.reset();
}

void SignatureClipboard::GiveUpAttempt()
{
    if (!kept_)
        return Finish();
    KillTimer(window_.Handle(), StepTimer); // the left signature's step sets it afresh
    stage_ = Stage::LeftForUser;
    Step();
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
    case Stage::LeftForUser: LeftStep(); break;
    }
}

void SignatureClipboard::CopyStep()
{
    const toolkit::OpenClipboardFor clipboard(window_.Handle());
    if (!clipboard.IsOpen()) {
        if (Elapsed() < BusyLimitMs)
            return StepIn(RetryMs);
        GiveUpAttempt();
        return reports_.ReportError("Cannot copy the signature!", BusyText,
                                    std::string("Cannot copy the signature: ") + BusyText);
    }
    if (!TakeClipboard())
        return GiveUpAttempt(); // the clipboard stays as it is, as for a busy one
    signature_ = std::move(next_);
    forms_.Put(signature_);
    Finish();
}

void SignatureClipboard::OpenStep()
{
    const toolkit::OpenClipboardFor clipboard(window_.Handle());
    if (!clipboard.IsOpen()) {
        if (Elapsed() < BusyLimitMs)
            return StepIn(RetryMs);
        GiveUpAttempt();
        return reports_.ErrorBalloon("Cannot paste the signature!",
                                     std::string(BusyText) + " Nothing was pasted; the clipboard is as it was.");
    }
    // A signature left for the user by an earlier press is no content of the user's: what it
    // replaced is what comes back after this paste too.
    const bool ownSignature = kept_ && GetClipboardOwner() == window_.Handle();
    toolkit::ClipboardContent content = ownSignature ? toolkit::ClipboardContent{} : toolkit::ReadContent();
    if (!TakeClipboard()) {
        GiveUpAttempt();
        return reports_.ErrorBalloon("Cannot paste the signature!", BusyText);
    }
    if (!ownSignature)
        kept_ = std::move(content);
    signature_ = std::move(next_);
    OfferSignature();
    asked_ = false;
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
        return LeaveForTheUser(true);
    }
    if (!toolkit::TakesOurInput(GetForegroundWindow()) || !SendPasteKeys())
        return LeaveForTheUser(true);
    Begin(Stage::Offered);
}

void SignatureClipboard::OfferedStep()
{
    if (asked_) {
        const auto quiet = static_cast<DWORD>(MsSince(lastRender_));
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
        return LeaveForTheUser(false); // the paste was typed: nothing to tell
    }
    PutBackKept();
    Finish();
}

void SignatureClipboard::LeftStep()
{
    // Due once a paste has settled, or when nobody has pasted for half a minute.
    if (asked_) {
        const auto quiet = static_cast<DWORD>(MsSince(lastRender_));
        if (quiet < QuietAfterAskingMs)
            return StepIn(QuietAfterAskingMs - quiet);
    } else if (MsSince(leftAt_) < LeftLimitMs) {
        return StepIn(static_cast<UINT>(LeftLimitMs - MsSince(leftAt_)));
    }
    const toolkit::OpenClipboardFor clipboard(window_.Handle());
    if (!clipboard.IsOpen())
        return StepIn(LeftRetryMs); // the content is kept until it is back
    PutBackKept();
    Finish();
}

void SignatureClipboard::LeaveForTheUser(bool tellUser)
{
    stage_ = Stage::LeftForUser;
    leftAt_ = GetTickCount64();
    asked_ = false;
    LeftStep();
    if (tellUser)
        reports_.Notice("Paste hot key:", PressCtrlVText);
}

void SignatureClipboard::Rendered()
{
    if (stage_ != Stage::Offered && stage_ != Stage::LeftForUser)
        return;
    asked_ = true;
    lastRender_ = GetTickCount64();
    StepIn(QuietAfterAskingMs);
}

// ---- The clipboard's content ----

bool SignatureClipboard::TakeClipboard()
{
    // The system tells the owner of the emptying, which is then this program itself.
    emptying_ = true;
    const bool emptied = EmptyClipboard() != FALSE;
    emptying_ = false;
    return emptied;
}

void SignatureClipboard::ClipboardTaken()
{
    kept_.reset();
    // A paste under way ends: no Ctrl+V goes to newer content, and nothing is put back over it.
    if (stage_ == Stage::WaitingForKeys || stage_ == Stage::Offered || stage_ == Stage::Restoring ||
        stage_ == Stage::LeftForUser)
        Finish();
}

void SignatureClipboard::PutBackKept()
{
    if (kept_ && GetClipboardOwner() == window_.Handle() && TakeClipboard())
        toolkit::PutContent(*kept_);
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
        Rendered();
        return 0;
    case WM_DESTROYCLIPBOARD:
        if (!emptying_)
            ClipboardTaken();
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
