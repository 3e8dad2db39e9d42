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
// looked.
class MailClientsWindow : public toolkit::ModalWindow {
public:
    static constexpr const char* ClassName = "VarnquillMailClients";
    static constexpr const char* InUseMark = " (in use)";

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
    void ListSelect();
    // The longest line can be scrolled to.
    void FitScrollWidth();

    // Laid out for its monitor's density as the main window is; the controls draw with its
    // font until they are destroyed, so it is declared before them.
    toolkit::WindowDensity density_;

public:
    toolkit::ListBox List;
    toolkit::Button UseBtn;
    toolkit::Button CancelBtn;

private:
    std::vector<std::string> paths_; // of each line; empty where there is nothing to use
    std::optional<std::string> chosen_;
};
