#pragma once
#include "mailclients/MailClientSignatures.h"
#include "toolkit/Button.h"
#include "toolkit/ListBox.h"
#include "toolkit/ModalWindow.h"
#include "toolkit/WindowDensity.h"

#include <optional>
#include <string>
#include <vector>

// "Mail clients": the signature files this user's mail clients read, one line each, to put
// one into the signature text file field. "Use" (or Enter, or a double click on a line) takes
// the chosen line's file, "Cancel" (or Escape) nothing. A line whose file cannot be named in
// the ANSI code page cannot be used; with nothing found, the one line says where the search
// looked. Below Outlook's files, lines that cannot be used say when Outlook keeps its
// signatures in the mailbox (roaming signatures) and when the new Outlook is in use; with
// roaming signatures on, "Let Outlook use the files" switches them off for this user, once
// the user has said Yes, unless an administrator's policy keeps them on.
class MailClientsWindow : public toolkit::ModalWindow {
public:
    static constexpr const char* ClassName = "VarnquillMailClients";
    static constexpr const char* InUseMark = " (in use)";
    static constexpr const char* LetOutlookCaption = "Let Outlook use the files";
    static constexpr const char* LetOutlookQuestion =
        "Let Outlook read its signatures from the files again, instead of the copies it keeps in the mailbox?\r\n\r\n"
        "This switches Outlook's roaming signatures off for you. Outlook must be restarted before it reads the "
        "files.";
    static constexpr const char* SwitchedOffLine = "Outlook reads these signature files once it is restarted.";

    // currentPath is the field's value: the line of that file is marked and chosen at first,
    // so it is never listed twice.
    MailClientsWindow(HWND owner, const mailclients::MailClientSearch& search, const std::string& currentPath);

    // Runs the window; the path of the file taken with "Use", or nothing.
    std::optional<std::string> Choose();

protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void OnOk() override { UseBtnClick(); }
    void UseBtnClick();
    void LetOutlookBtnClick();
    void ListSelect();
    // The lines of the files found, or the one saying where the search looked, then Outlook's
    // notes; answers the line of the file in use, or -1.
    int FillList();
    // The button is there while roaming signatures are, and may be pressed only where the
    // user's own value decides.
    void ShowLetOutlookBtn();
    // The longest line can be scrolled to.
    void FitScrollWidth();

    // Laid out for its monitor's density as the main window is; the controls draw with its
    // font until they are destroyed, so it is declared before them.
    toolkit::WindowDensity density_;

public:
    toolkit::ListBox List;
    toolkit::Button UseBtn;
    toolkit::Button CancelBtn;
    toolkit::Button LetOutlookBtn;

private:
    mailclients::MailClientSearch search_;
    std::string currentPath_;
    bool switchedOff_ = false; // roaming signatures switched off from here
    std::vector<std::string> paths_; // of each line; empty where there is nothing to use
    std::optional<std::string> chosen_;
};
