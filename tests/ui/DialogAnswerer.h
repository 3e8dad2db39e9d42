#pragma once
#include <windows.h>

#include <deque>
#include <string>
#include <vector>

// Answers the modal dialogs that code under test opens on this thread: message boxes,
// questions and the common file dialogs. A thread timer looks for a visible dialog while
// the dialog's own loop runs, notes what it shows and gives the next planned answer; a
// dialog nobody planned for is noted and cancelled, so no test waits forever.
namespace uitest {

struct SeenDialog {
    std::string caption;
    std::string text; // a message box's longest static text
    HWND owner;       // null for a dialog standing on its own, with a taskbar button
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

    // Every dialog seen since the last call, in order; clears the record.
    std::vector<SeenDialog> Take();
    // Planned answers no dialog has used yet.
    std::size_t Unused() const noexcept { return plan_.size(); }

private:
    struct Answer {
        enum class Kind { Press, ChooseFile, Cancel } kind;
        std::string text;
    };

    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD);
    void Look();
    void Give(HWND dialog, const Answer& answer);

    static DialogAnswerer* current_;
    UINT_PTR timer_ = 0;
    std::deque<Answer> plan_;
    std::vector<SeenDialog> seen_;
    std::vector<HWND> answered_;
};

} // namespace uitest
