#include "ui/ImportProgressWindow.h"

#include "toolkit/Application.h"
#include "ui/WindowFont.h"

#include <thread>

namespace {

constexpr int ClientWidth = 320;
constexpr int ClientHeight = 96;
constexpr int Margin = 8;
constexpr int ButtonWidth = 75;
constexpr int ButtonHeight = 23;
constexpr int BarTop = 28;
constexpr int BarHeight = 18;

// Posted by the worker thread: the bar's new percent in wParam; and the work's end.
constexpr UINT ProgressMessage = WM_APP + 1;
constexpr UINT DoneMessage = WM_APP + 2;

} // namespace

ImportProgressWindow::ImportProgressWindow(HWND owner, const std::string& text)
    : ModalWindow(ClassName, "Import", owner, ClientWidth, ClientHeight),
      density_(SIZE{ClientWidth, ClientHeight}, toolkit::Application::MainIconResource, &CreateWindowFont),
      TextLbl(toolkit::ControlArgs{Handle(), Margin, Margin, 0, 0, text, 0}),
      Bar(toolkit::ControlArgs{Handle(), Margin, BarTop, ClientWidth - 2 * Margin, BarHeight, {}, 0}),
      CancelBtn(toolkit::ControlArgs{Handle(), ClientWidth - Margin - ButtonWidth, ClientHeight - Margin - ButtonHeight,
                                     ButtonWidth, ButtonHeight, "Cancel", WS_TABSTOP | BS_DEFPUSHBUTTON})
{
    density_.LayOut(Handle());
    CancelBtn.OnClick = [this](auto&) { OnCancel(); };
}

bool ImportProgressWindow::Run(const Work& work)
{
    std::exception_ptr failure;
    const HWND window = Handle();
    // Joined before Run returns, whatever happens: the work uses this window's members.
    std::jthread worker([&, window] {
        try {
            work([this](double done) { return Progress(done); });
        } catch (...) {
            failure = std::current_exception();
        }
        // The loop below ends on this; should the post fail (a full queue), the queue's
        // next message still wakes it, and EndModal's own post is tried too.
        PostMessageA(window, DoneMessage, 0, 0);
    });
    ShowModal(ShowAfterMs);
    // Ended without the work's end only when the program is ending: the import stops too.
    cancelled_ = true;
    worker.join();
    if (failure) {
        try {
            std::rethrow_exception(failure);
        } catch (const fortunes::ImportCancelled&) {
            return true;
        }
    }
    return false;
}

bool ImportProgressWindow::Progress(double done)
{
    const int percent = static_cast<int>(done * 100);
    // One message per percent at most: the window's thread is never flooded.
    if (percent_.exchange(percent) != percent)
        PostMessageA(Handle(), ProgressMessage, static_cast<WPARAM>(percent), 0); // a lost one is made up by the next
    return !cancelled_.load();
}

void ImportProgressWindow::OnCancel()
{
    cancelled_ = true;
    CancelBtn.SetEnabled(false);
    TextLbl.SetText("Cancelling...");
}

LRESULT ImportProgressWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case ProgressMessage:
        Bar.SetPosition(static_cast<int>(wParam));
        return 0;
    case DoneMessage:
        EndModal(IDOK);
        return 0;
    case WM_DPICHANGED:
        density_.Changed(Handle(), wParam, lParam);
        return 0;
    default:
        return ModalWindow::HandleMessage(message, wParam, lParam);
    }
}
