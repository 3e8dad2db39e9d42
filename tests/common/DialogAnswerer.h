#pragma once
#include <windows.h>

#include <deque>
#include <string>
#include <vector>

// Answers the modal dialogs that code under test opens on this thread: message boxes,
// questions and the common file dialogs. A thread timer looks for a visible dialog while
// the dialog's own loop runs, notes what it shows and gives the next planned answer; a
// dialog nobody planned for is noted and cancelled, and one that its answer did not close
// is ended after a few seconds, so no test waits forever.
namespace testcommon {

struct SeenDialog {
    std::string caption;
    std::string text; // a message box's longest static text
    std::vector<std::string> buttons; // the visible buttons' texts, in order
    HICON icon = nullptr;              // a message box's icon
    bool centred = false;              // centred on its monitor
    HWND owner = nullptr;             // null for a dialog standing on its own, with a taskbar button
};

class DialogAnswerer {
public:
    DialogAnswerer();
    ~DialogAnswerer();
    DialogAnswerer(const DialogAnswerer&) = delete;
    DialogAnswerer& operator=(const DialogAnswerer&) = delete;

    // Presses the button with that text ("OK", "&Yes", "&No").
    void Press(const std::string& buttonText);
    // Types the path into a file dialog's name field and confirms it.
    void ChooseFile(const std::string& path);
    // Cancels the next dialog.
    void Cancel();
    // Sends the key (VK_RETURN, VK_ESCAPE) to the next dialog's focused control.
    void PressKey(WPARAM virtualKey);
    // Types the character into the next dialog's focused control.
    void TypeChar(char c);
    // Closes the next dialog as its title bar's close button does.
    void Close();

    // Every dialog seen since the last call, in order; clears the record.
    std::vector<SeenDialog> Take();
    // Planned answers no dialog has used yet.
    std::size_t Unused() const noexcept { return plan_.size(); }
    // Dialogs that their answer did not close and that had to be ended.
    int Forced() const noexcept { return forced_; }

private:
    struct Answer {
        enum class Kind { Press, ChooseFile, Cancel, Key, Char, Close } kind;
        std::string text;
        WPARAM code = 0;
    };
    struct Answered {
        HWND dialog;
        int ticks; // since the answer
    };

    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD);
    void Look();
    void Give(HWND dialog, const Answer& answer);

    static DialogAnswerer* current_;
    UINT_PTR timer_ = 0;
    std::deque<Answer> plan_;
    std::vector<SeenDialog> seen_;
    std::vector<Answered> answered_;
    int forced_ = 0;
};

} // namespace testcommon
