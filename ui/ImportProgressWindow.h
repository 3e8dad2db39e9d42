#pragma once
#include "engine/FortuneImport.h"
#include "toolkit/Button.h"
#include "toolkit/Label.h"
#include "toolkit/ModalWindow.h"
#include "toolkit/ProgressBar.h"
#include "toolkit/WindowDensity.h"

#include <atomic>
#include <exception>
#include <functional>
#include <string>

// "Import": runs an import on a worker thread while the program goes on handling its
// messages, its owner disabled. Only an import that takes longer than half a second shows
// the window, a bar and "Cancel"; "Cancel" (or Escape, or the close box) asks the import to
// stop, and the window goes once it has, having imported nothing.
class ImportProgressWindow : public toolkit::ModalWindow {
public:
    static constexpr const char* ClassName = "VarnquillImportProgress";
    static constexpr UINT ShowAfterMs = 500;

    // The work is handed the progress the import reports to; it runs on the worker thread.
    using Work = std::function<void(const fortunes::ImportProgress& progress)>;

    // text: the line above the bar.
    ImportProgressWindow(HWND owner, const std::string& text);

    // Runs the work to its end and answers whether it was cancelled; a failure of the work
    // comes out here, on the caller's thread.
    bool Run(const Work& work);

protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void OnOk() override {} // Enter does nothing: only the import's end ends the window
    void OnCancel() override;
    // On the worker thread: keeps the bar's percent and answers whether to go on.
    bool Progress(double done);

    toolkit::WindowDensity density_;

public:
    toolkit::Label TextLbl;
    toolkit::ProgressBar Bar;
    toolkit::Button CancelBtn;

private:
    std::atomic<bool> cancelled_{false};
    std::atomic<int> percent_{0};
};
