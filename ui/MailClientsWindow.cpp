#include "ui/MailClientsWindow.h"

#include "base/DeviceContext.h"
#include "base/SystemError.h"
#include "engine/OwnFiles.h"
#include "toolkit/Application.h"
#include "toolkit/Dpi.h"
#include "toolkit/MessageDialogs.h"
#include "ui/WindowFont.h"

#include <algorithm>

namespace {

constexpr int ClientWidth = 600;
constexpr int ClientHeight = 232;
constexpr int Margin = 8;
constexpr int ButtonWidth = 75;
constexpr int ButtonHeight = 23;
constexpr int LetOutlookWidth = 160;
constexpr int ListHeight = ClientHeight - 3 * Margin - ButtonHeight;

toolkit::ControlArgs At(HWND window, int left, int top, int width, int height, std::string text = {},
                        DWORD style = WS_TABSTOP)
{
    return toolkit::ControlArgs{window, left, top, width, height, std::move(text), style};
}

} // namespace

MailClientsWindow::MailClientsWindow(HWND owner, const mailclients::MailClientSearch& search,
                                     const std::string& currentPath)
    : ModalWindow(ClassName, "Mail clients", owner, ClientWidth, ClientHeight),
      density_(SIZE{ClientWidth, ClientHeight}, toolkit::Application::MainIconResource, &CreateWindowFont),
      List(At(Handle(), Margin, Margin, ClientWidth - 2 * Margin, ListHeight, {}, WS_TABSTOP | WS_HSCROLL)),
      UseBtn(At(Handle(), ClientWidth - 2 * Margin - 2 * ButtonWidth, ClientHeight - Margin - ButtonHeight, ButtonWidth,
                ButtonHeight, "Use", WS_TABSTOP | BS_DEFPUSHBUTTON)),
      CancelBtn(At(Handle(), ClientWidth - Margin - ButtonWidth, ClientHeight - Margin - ButtonHeight, ButtonWidth,
                   ButtonHeight, "Cancel")),
      LetOutlookBtn(
          At(Handle(), Margin, ClientHeight - Margin - ButtonHeight, LetOutlookWidth, ButtonHeight, LetOutlookCaption)),
      search_(search), currentPath_(currentPath)
{
    density_.LayOut(Handle());
    LetOutlookBtn.PlaceAfter(List); // the Tab key goes left to right along the buttons
    int current = FillList();
    // The file in use, else the first that can be used.
    const auto usable = std::find_if(paths_.begin(), paths_.end(), [](const std::string& p) { return !p.empty(); });
    if (current < 0 && usable != paths_.end())
        current = static_cast<int>(usable - paths_.begin());
    List.SetItemIndex(current);
    ListSelect();
    ShowLetOutlookBtn();

    List.OnSelect = [this](auto&) { ListSelect(); };
    List.OnDoubleClick = [this](auto&) { UseBtnClick(); };
    UseBtn.OnClick = [this](auto&) { UseBtnClick(); };
    CancelBtn.OnClick = [this](auto&) { OnCancel(); };
    LetOutlookBtn.OnClick = [this](auto&) { LetOutlookBtnClick(); };
}

int MailClientsWindow::FillList()
{
    List.Clear();
    paths_.clear();
    int current = -1;
    for (const mailclients::MailClientSignature& signature : search_.found) {
        const bool inUse = current < 0 && !signature.path.empty() && NamesOneOf(currentPath_, {signature.path});
        const int line = List.Add(mailclients::MailClientLine(signature) + (inUse ? InUseMark : ""));
        paths_.push_back(signature.path);
        if (inUse)
            current = line;
    }
    if (search_.found.empty()) {
        List.Add(mailclients::NothingFoundLine(search_));
        paths_.emplace_back();
    }
    std::vector<std::string> notes = mailclients::OutlookNoteLines(search_);
    if (switchedOff_)
        notes.insert(notes.begin(), SwitchedOffLine);
    for (const std::string& note : notes) {
        List.Add(note);
        paths_.emplace_back();
    }
    FitScrollWidth();
    return current;
}

void MailClientsWindow::ShowLetOutlookBtn()
{
    using mailclients::RoamingSignatures;
    const bool roaming = search_.roaming == RoamingSignatures::On || search_.roaming == RoamingSignatures::KeptOnByPolicy;
    // Hidden, it is no stop of the Tab key either; the return says only what it was before.
    ShowWindow(LetOutlookBtn.Handle(), roaming || switchedOff_ ? SW_SHOWNA : SW_HIDE);
    LetOutlookBtn.SetEnabled(search_.roaming == RoamingSignatures::On);
}

void MailClientsWindow::LetOutlookBtnClick()
{
    if (!toolkit::AskQuestion(Handle(), LetOutlookQuestion))
        return;
    if (const LSTATUS status = mailclients::LetOutlookUseTheFiles(); status != ERROR_SUCCESS) {
        toolkit::ShowErrorDialog(Handle(), "Outlook's setting could not be changed: " +
                                               base::SystemErrorText(static_cast<DWORD>(status)));
        return;
    }
    // What Outlook will make of it, read back as the window was filled.
    search_.roaming = mailclients::RoamingSignaturesOf();
    switchedOff_ = search_.roaming == mailclients::RoamingSignatures::Off;
    const int chosen = List.ItemIndex();
    FillList();
    List.SetItemIndex(chosen);
    ListSelect();
    ShowLetOutlookBtn();
}

std::optional<std::string> MailClientsWindow::Choose()
{
    chosen_.reset();
    ShowModal();
    return chosen_;
}

void MailClientsWindow::ListSelect()
{
    const int line = List.ItemIndex();
    UseBtn.SetEnabled(line >= 0 && !paths_[static_cast<std::size_t>(line)].empty());
}

void MailClientsWindow::UseBtnClick()
{
    if (!UseBtn.Enabled())
        return; // Enter or a double click on a line that cannot be used
    chosen_ = paths_[static_cast<std::size_t>(List.ItemIndex())];
    EndModal(IDOK);
}

LRESULT MailClientsWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message != WM_DPICHANGED)
        return ModalWindow::HandleMessage(message, wParam, lParam);
    // Moved to a monitor of another density, or that monitor's scaling changed.
    density_.Changed(Handle(), wParam, lParam);
    FitScrollWidth();
    return 0;
}

void MailClientsWindow::FitScrollWidth()
{
    LONG widest = 0;
    {
        const base::WindowDc dc(List.Handle());
        if (!dc)
            return; // without a scroll width the longest lines are cut, nothing worse
        const auto font = reinterpret_cast<HGDIOBJ>(SendMessageA(List.Handle(), WM_GETFONT, 0, 0));
        const base::SelectedObject selected(dc.Get(), font ? font : GetStockObject(DEFAULT_GUI_FONT));
        for (const std::string& line : List.Items()) {
            SIZE size{};
            if (GetTextExtentPoint32A(dc.Get(), line.c_str(), static_cast<int>(line.size()), &size))
                widest = std::max(widest, size.cx);
        }
    }
    // A few pixels for the line's own margins.
    SendMessageA(List.Handle(), LB_SETHORIZONTALEXTENT,
                 static_cast<WPARAM>(widest + toolkit::Scale(2 * Margin, density_.Dpi())), 0);
}
