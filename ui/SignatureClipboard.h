#pragma once
#include "engine/ClipboardSignature.h"
#include "toolkit/Clipboard.h"
#include "toolkit/UtilityWindow.h"
#include "ui/SignatureForms.h"

#include <windows.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

class Reports;

// "Copy signature" and the paste hot key. Both make a new signature as the random change does
// and put it on the clipboard as text (ANSI, Unicode and its locale), HTML and rich text.
// The hot key then pastes it where the keyboard focus is and puts back what the clipboard
// held before: each step waits for a timer or a message, never on the user-interface thread.
//
// The paste, in order: the content of the clipboard is kept aside (its memory formats and a
// metafile, toolkit/Clipboard.h) and the signature offered in its place, rendered when
// asked; once the keys of the hot key are up (at most a second), Ctrl+V goes to the focused window; when that
// window has taken the signature (it asked for it, and asked nothing more for a moment), or
// after two seconds without asking, the kept content comes back. A clipboard that another
// program holds open is tried again for half a second; after that nothing is pasted and
// nothing lost. Where the input cannot reach the window (its program runs with higher rights,
// or the keys are still held), the signature stays on the clipboard for the user to paste.
class SignatureClipboard {
public:
    // Makes the signature as the random change does, with its reports; its clipboard forms, or
    // nothing when a report ended it (and the clipboard must stay as it is).
    using SignatureSource = std::function<std::optional<ClipboardSignature>()>;

    SignatureClipboard(Reports& reports, SignatureSource makeSignature);
    ~SignatureClipboard();
    SignatureClipboard(const SignatureClipboard&) = delete;
    SignatureClipboard& operator=(const SignatureClipboard&) = delete;

    // The tray menu's "Copy signature".
    void Copy();
    // The paste hot key was pressed; hotKey is its combination (the hot-key field's value).
    // A press while an earlier paste is under way does nothing.
    void Paste(WORD hotKey);

private:
    enum class Stage { Idle, Making, Copying, Opening, WaitingForKeys, Offered, Restoring };

    // The signature made and put in its forms; false when a report ended the change, or a
    // copy or paste is under way.
    bool MakeSignature();
    std::optional<LRESULT> HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    // The next step of the stage, now or at the timer.
    void Step();
    void CopyStep();
    void OpenStep();
    void KeysStep();
    void OfferedStep();
    void RestoreStep();

    void Begin(Stage stage);
    DWORD Elapsed() const noexcept;
    // The next step in so many milliseconds.
    void StepIn(UINT milliseconds);
    void Finish();

    // Every form offered, and kept from the programs that watch the clipboard.
    void OfferSignature();
    // Ctrl+V to the focused window; false when the system refused it.
    bool SendPasteKeys();
    bool HotKeyKeysUp() const;
    // The paste could not be typed: the signature stays for the user's own Ctrl+V.
    void LeaveForTheUser();

    Reports& reports_;
    SignatureSource makeSignature_;
    SignatureForms forms_;
    ClipboardSignature signature_;
    toolkit::ClipboardContent kept_;
    WORD hotKey_ = 0;
    Stage stage_ = Stage::Idle;
    ULONGLONG stageStart_ = 0;
    ULONGLONG lastRender_ = 0;
    bool askedAfterKeys_ = false;
    toolkit::UtilityWindow window_; // the clipboard's owner while the signature is on it
};
