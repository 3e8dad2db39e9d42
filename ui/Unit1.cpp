// The main window: its frame, its controls where the layout puts them, and its messages.
#include "ui/Unit1.h"

#include "resources/ResourceIds.h"
#include "settings/RegistryStore.h"
#include "settings/SettingsPlaces.h"
#include "toolkit/Application.h"
#include "toolkit/Font.h"
#include "tray/TrayIcon.h"
#include "ui/ExitRequest.h"
#include "ui/ProgramState.h"
#include "ui/SingleInstance.h"
#include "ui/WindowFont.h"

namespace {

constexpr DWORD FrameStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
constexpr int DesignedLeft = 193;
constexpr int DesignedTop = 106;
constexpr int ClientWidth = 754;
constexpr int ClientHeight = 572;

// The three groups stacked top to bottom over the whole client area.
constexpr int SettingsTop = 0;
constexpr int SettingsHeight = 137;
constexpr int DatabaseTop = SettingsTop + SettingsHeight;
constexpr int DatabaseHeight = 307;
constexpr int DatabasesTop = DatabaseTop + DatabaseHeight;
constexpr int DatabasesHeight = ClientHeight - DatabasesTop;

// Room the group frame takes around the list that fills the "Databases" group.
constexpr int FrameSide = 2;
constexpr int FrameCaption = 15;

constexpr int MinutesMin = 1;
constexpr int MinutesMax = 70000;
constexpr int SignatureCapacity = 512;

// A control at (left, top) within the group that starts at groupTop. Controls are siblings
// of their group box in the form's client area; a width or height of 0 sizes a label to
// its text.
toolkit::ControlArgs At(HWND form, int groupTop, int left, int top, int width, int height,
                        std::string text = {}, DWORD style = WS_TABSTOP)
{
    toolkit::ControlArgs args;
    args.parent = form;
    args.left = left;
    args.top = groupTop + top;
    args.width = width;
    args.height = height;
    args.text = std::move(text);
    args.style = style;
    return args;
}

toolkit::ControlArgs Group(HWND form, int top, int height, std::string caption)
{
    return At(form, top, 0, 0, ClientWidth, height, std::move(caption), 0);
}

constexpr DWORD Disabled = WS_TABSTOP | WS_DISABLED;

} // namespace

TForm1::Frame::Frame(TForm1& form)
{
    RECT frame{0, 0, ClientWidth, ClientHeight};
    if (!AdjustWindowRectEx(&frame, FrameStyle, FALSE, WS_EX_CONTROLPARENT))
        frame = RECT{0, 0, ClientWidth + 6, ClientHeight + 25}; // a thin frame's usual sizes

    toolkit::Application& application = toolkit::Application::Instance();
    toolkit::WindowArgs args;
    args.className = "TForm1";
    args.text = CaptionText;
    args.style = FrameStyle;
    args.exStyle = WS_EX_CONTROLPARENT;
    args.x = DesignedLeft;
    args.y = DesignedTop;
    args.width = frame.right - frame.left;
    args.height = frame.bottom - frame.top;
    // Owned by the application window, which carries the taskbar button for it.
    args.parent = application.Handle();
    args.icon = toolkit::Application::MainIcon();
    args.background = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    form.Create(args);
    // The first form made is the application's main form.
    if (!application.MainForm())
        application.SetMainForm(form);
}

TForm1::TForm1()
    : frame_(*this),
      SettingsGroup(Group(Handle(), SettingsTop, SettingsHeight, "Settings")),
      OEFileLabel(At(Handle(), SettingsTop, 8, 16, 0, 0, "Signature Text File:")),
      OEFileEdit(At(Handle(), SettingsTop, 8, 32, 577, 21)),
      BrowseBtn(At(Handle(), SettingsTop, 592, 32, 145, 21, "Browse / Create")),
      AutoChkBx(At(Handle(), SettingsTop, 8, 64, 201, 17, "Automatically change signature every ")),
      MinutesEdit(At(Handle(), SettingsTop, 208, 60, 57, 22), MinutesMin, MinutesMax),
      MinutesLabel(At(Handle(), SettingsTop, 271, 64, 0, 0, "minute(s)")),
      StartupChkBx(At(Handle(), SettingsTop, 352, 64, 137, 17, "Add to Windows Startup")),
      BalloonChkBx(At(Handle(), SettingsTop, 8, 88, 241, 17,
                      "Pop up \"balloon hint\" when signature changes")),
      ErrorChkBx(At(Handle(), SettingsTop, 352, 88, 177, 17, "Pop up \"balloon\" error messages")),
      SigBreakChkBx(At(Handle(), SettingsTop, 8, 112, 177, 17, "Add standard signature delimiter")),
      DatabaseGroup(Group(Handle(), DatabaseTop, DatabaseHeight, "Database")),
      SigMemo(At(Handle(), DatabaseTop, 384, 104, 360, 121, {}, Disabled)),
      DBFileLabel(At(Handle(), DatabaseTop, 8, 16, 0, 0, "Database file to edit:")),
      DBFileEdit(At(Handle(), DatabaseTop, 8, 32, 577, 21)),
      btnOpen(At(Handle(), DatabaseTop, 592, 32, 68, 21, "New / Open")),
      btnClose(At(Handle(), DatabaseTop, 668, 32, 68, 21, "Close", Disabled)),
      btnNew(At(Handle(), DatabaseTop, 385, 272, 75, 21, "New", Disabled)),
      btnPost(At(Handle(), DatabaseTop, 480, 272, 75, 21, "Post", Disabled)),
      btnDelete(At(Handle(), DatabaseTop, 575, 272, 75, 21, "Delete", Disabled)),
      btnFirst(At(Handle(), DatabaseTop, 384, 240, 75, 21, "First", Disabled)),
      btnPrevious(At(Handle(), DatabaseTop, 480, 240, 75, 21, "Previous", Disabled)),
      btnNext(At(Handle(), DatabaseTop, 575, 240, 75, 21, "Next", Disabled)),
      btnLast(At(Handle(), DatabaseTop, 670, 240, 75, 21, "Last", Disabled)),
      btnSet(At(Handle(), DatabaseTop, 670, 272, 75, 21, "Set signature", Disabled)),
      StaticLabel(At(Handle(), DatabaseTop, 8, 88, 0, 0, "Static text:")),
      StaticMemo(At(Handle(), DatabaseTop, 8, 104, 360, 121, {}, Disabled)),
      StaticChkBx(At(Handle(), DatabaseTop, 8, 64, 169, 17, "Include static text in signatures")),
      AboveRadio(At(Handle(), DatabaseTop, 176, 64, 73, 17, "above or")),
      BelowRadio(At(Handle(), DatabaseTop, 240, 64, 137, 17, "below random signature")),
      SigLabel(At(Handle(), DatabaseTop, 384, 88, 0, 0, "Signature:")),
      Banner(At(Handle(), DatabaseTop, 8, 240, 360, 53)),
      DatabasesGroup(Group(Handle(), DatabasesTop, DatabasesHeight, "Databases")),
      DBList(At(Handle(), DatabasesTop, FrameSide, FrameCaption, ClientWidth - 2 * FrameSide,
                DatabasesHeight - FrameCaption - FrameSide)),
      AutoTimer(toolkit::TimerArgs{static_cast<UINT>(10 * 60000), false}),
      reports_([] { return Program().trayIcon.get(); }, [this] { return ErrorChkBx.Checked(); }),
      writer_(ProgramDatabase(), *this, reports_),
      applicationHook_([this](UINT message, WPARAM wParam, LPARAM lParam) {
          ApplicationMessage(message, wParam, lParam);
      })
{
    // Initial states, set before any handler is connected so that they write nothing.
    MinutesEdit.SetValue(10);
    AboveRadio.SetChecked(true);
    SigMemo.SetMaxLength(SignatureCapacity);
    StaticMemo.SetMaxLength(SignatureCapacity);

    RunStep([this] { ApplyFont(); });
    RunStep([this] { LoadBanner(); });
    ConnectHandlers();
    BuildTrayMenu();
    FormCreate();
}

TForm1::~TForm1()
{
    // Without an Exit (a failed start, a test), the icon and its hook on this window still
    // have to go before the window does.
    Program().trayIcon.reset();
    Program().settings.reset();
    toolkit::Application& application = toolkit::Application::Instance();
    if (application.MainForm() == Handle())
        application.SetMainForm(nullptr);
}

void TForm1::Show()
{
    ShowWindow(Handle(), SW_SHOWNORMAL); // answers the previous visibility
    // Another program may keep the foreground; the window is shown all the same.
    SetForegroundWindow(Handle());
}

tray::TTrayIcon* TForm1::TrayIcon1() const noexcept
{
    return Program().trayIcon.get();
}

settings::RegistryStore* TForm1::Settings() const noexcept
{
    return Program().settings.get();
}

const settings::SettingsPlaces* TForm1::Places() const noexcept
{
    return Program().places.get();
}

void TForm1::ApplyFont()
{
    font_ = CreateWindowFont();
    toolkit::ApplyFont(Handle(), font_.Get());
}

void TForm1::LoadBanner()
{
    Banner.LoadJpegResource(IDR_BANNER);
}

void TForm1::ConnectHandlers()
{
    OEFileEdit.OnChange = [this](auto&) { OEFileEditChange(); };
    BrowseBtn.OnClick = [this](auto&) { BrowseBtnClick(); };
    AutoChkBx.OnClick = [this](auto&) { AutoChkBxClick(); };
    MinutesEdit.OnChange = [this](auto&) { MinutesEditChange(); };
    StartupChkBx.OnClick = [this](auto&) { StartupChkBxClick(); };
    BalloonChkBx.OnClick = [this](auto&) { BalloonChkBxClick(); };
    ErrorChkBx.OnClick = [this](auto&) { ErrorChkBxClick(); };
    SigBreakChkBx.OnClick = [this](auto&) { SigBreakChkBxClick(); };
    StaticChkBx.OnClick = [this](auto&) { StaticChkBxClick(); };
    AboveRadio.OnClick = [this](auto&) { AboveRadioClick(); };
    BelowRadio.OnClick = [this](auto&) { BelowRadioClick(); };
    AutoTimer.OnTimer = [this](auto&) { AutoTimerTimer(); };
    ConnectEditorHandlers();
    ConnectDatabaseListHandlers();
    // The list opens its context menu as any control with a popup menu does.
    DBList.OnContextMenu = [this](toolkit::Control& sender, int x, int y) {
        if (!DBListPopUp.AutoPopup)
            return;
        DBListPopUp.PopupComponent = &sender;
        DBListPopUp.Popup(x, y);
    };
}

bool TForm1::RunStep(const std::function<void()>& step) noexcept
{
    try {
        step();
        return true;
    } catch (...) {
        toolkit::Application::Instance().HandleException(std::current_exception());
        return false;
    }
}

LRESULT TForm1::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    LRESULT result = 0;
    if (toolkit::Control::Reflect(message, wParam, lParam, result))
        return result;
    if (IsExitRequest(message)) {
        // A request that arrives after the program has ended (two setups asking at once,
        // say) finds nothing left to save.
        if (!ended_)
            Exit();
        return 0;
    }
    switch (message) {
    case WM_PAINT:
        FormPaint();
        break;
    case WM_CLOSE:
        if (!FormCloseQuery())
            return 0;
        break;
    case WM_QUERYENDSESSION:
        // Nothing needs asking: everything the next start needs is saved as the session ends.
        return TRUE;
    case WM_ENDSESSION:
        if (wParam)
            EndSession();
        return 0;
    case WM_SYSCOMMAND:
        // The minimise box minimises the whole application, which then hides in the tray.
        if ((wParam & 0xFFF0) == SC_MINIMIZE) {
            toolkit::Application::Instance().Minimize();
            return 0;
        }
        break;
    default:
        break;
    }
    return DefaultHandling(message, wParam, lParam);
}

void TForm1::ApplicationMessage(UINT message, WPARAM wParam, LPARAM)
{
    if (message == WM_ENDSESSION && wParam)
        EndSession();
    else if (message == ShowRunningProgramMessage() && message != 0)
        RestoreItemClick();
}

// ---- What the signature writer reads ----

std::string TForm1::SignatureFilePath() const
{
    return OEFileEdit.Text();
}

bool TForm1::DelimiterOn() const
{
    return SigBreakChkBx.Checked();
}

bool TForm1::StaticTextOn() const
{
    return StaticChkBx.Checked();
}

bool TForm1::StaticTextAbove() const
{
    return AboveRadio.Checked();
}

std::string TForm1::StaticText() const
{
    return StaticMemo.Text();
}

bool TForm1::ChangeBalloonOn() const
{
    return BalloonChkBx.Checked();
}

std::vector<std::string> TForm1::DatabaseList() const
{
    return DBList.Items();
}

std::vector<std::string> TForm1::ProtectedFiles() const
{
    std::vector<std::string> files = DBList.Items();
    if (ProgramDatabase().DatabaseOpen())
        files.push_back(DBFileEdit.Text());
    if (const settings::SettingsPlaces* places = Places()) {
        const std::vector<std::string> sideFiles = places->SideFilePaths();
        files.insert(files.end(), sideFiles.begin(), sideFiles.end());
    }
    return files;
}
