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
// asked; once the keys of the hot key are up (at most a second), Ctrl+V goes to the focused
// window; when that window has taken the signature (it asked for it, and asked nothing more
// for a moment), or after two seconds without asking, the kept content comes back. A
// clipboard that another program holds open at the start is tried again for half a second;
// after that nothing is pasted and nothing lost.
//
// Where the input cannot reach the window (its program runs with higher rights, or the keys
// are still held), or the clipboard stays busy when the kept content should come back, the
// signature is left for the user's own Ctrl+V: the kept content comes back once a paste has
// taken the signature (a program asked for it and then nothing more for a moment) or after
// half a minute, and a busy clipboard is tried again until it does. Content another program
// puts on the clipboard meanwhile stands, and the kept one is dropped; the program's end puts
// it back first. Another press meanwhile pastes a new signature and then gives back the
// content from before the first.
class SignatureClipboard {
public:
    // Makes the signature as the random change does, with its reports; its clipboard forms, or
    // nothing when a report ended it (and the clipboard must stay as it is).
    using SignatureSource = std::function<std::optional<ClipboardSignature>()>;

    SignatureClipboard(Reports& reports, SignatureSource makeSignature);
    // Gives the clipboard back, as GiveBack does.
    ~SignatureClipboard();
    SignatureClipboard(const SignatureClipboard&) = delete;
    SignatureClipboard& operator=(const SignatureClipboard&) = delete;

    // The tray menu's "Copy signature". The copied signature is what the user wants on the
    // clipboard now: a paste's kept content is dropped.
    void Copy();
    // The paste hot key was pressed; hotKey is its combination (the hot-key field's value).
    // A press while an earlier paste is under way does nothing.
    void Paste(WORD hotKey);
    // The program ends (Exit, the session's end): the content a paste still owes the clipboard
    // goes back now, if the clipboard can be had at once, since nothing may wait here.
    void GiveBack();

private:
    enum class Stage { Idle, Making, Copying, Opening, WaitingForKeys, Offered, Restoring, LeftForUser };

    // The next signature made and put in its forms; false when a report ended the change, or
    // a copy or paste is under way.
    bool MakeSignature();
    std::optional<LRESULT> HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    // The next step of the stage, now or at the timer.
    void Step();
    void CopyStep();
    void OpenStep();
    void KeysStep();
    void OfferedStep();
    void RestoreStep();
    void LeftStep();

    void Begin(Stage stage);
    DWORD Elapsed() const noexcept;
    // The next step in so many milliseconds.
    void StepIn(UINT milliseconds);
    void Finish();
    // A copy or paste that could not have the clipboard: a signature left for the user
    // earlier is still on it and still waits for its paste.
    void GiveUpAttempt();

    // Empties the open clipboard and owns it; false when the system refused.
    bool TakeClipboard();
    // Another program put something on the clipboard: that is what the user wants there now.
    void ClipboardTaken();
    // On the open clipboard: the kept content goes back, unless another program's newer
    // content has replaced the signature.
    void PutBackKept();
    // Every form offered, and kept from the programs that watch the clipboard.
    void OfferSignature();
    // Ctrl+V to the focused window; false when the system refused it.
    bool SendPasteKeys();
    bool HotKeyKeysUp() const;
    // The paste could not be typed (the user is told so), or the content could not come
    // back: the signature stays for the user's own Ctrl+V.
    void LeaveForTheUser(bool tellUser);
    // Notes that a reader took a form of the signature.
    void Rendered();

    Reports& reports_;
    SignatureSource makeSignature_;
    SignatureForms forms_;
    ClipboardSignature signature_;   // the one offered on the clipboard, rendered from here
    ClipboardSignature next_;        // made, and not yet on the clipboard
    // What the clipboard held before the paste, while the paste still owes it back.
    std::optional<toolkit::ClipboardContent> kept_;
    WORD hotKey_ = 0;
    Stage stage_ = Stage::Idle;
    ULONGLONG stageStart_ = 0;
    ULONGLONG leftAt_ = 0;
    ULONGLONG lastRender_ = 0;
    bool asked_ = false;    // a reader has asked for the signature since it was pasted or left
    bool emptying_ = false; // the clipboard's emptying is this program's own
    toolkit::UtilityWindow window_; // the clipboard's owner while the signature is on it
};
