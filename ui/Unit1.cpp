// The main window: its frame and parts, its messages, start-up, first paint and close request.
#include "ui/Unit1.h"

#include "base/Version.h"
#include "settings/ProgramLocation.h"
#include "ui/DatabaseImport.h"
#include "ui/ExitRequest.h"
#include "ui/FormLayout.h"
#include "ui/MainWindowClass.h"
#include "ui/SingleInstance.h"
#include "ui/WindowFont.h"
#include "ui/WindowPlace.h"

namespace {

constexpr const char* CaptionText = "Varnquill v" VARNQUILL_VERSION;

} // namespace

TForm1::Frame::Frame(TForm1& form)
{
    using layout::ClientHeight, layout::ClientWidth;
    RECT frame{0, 0, ClientWidth, ClientHeight};
    if (!AdjustWindowRectEx(&frame, layout::FrameStyle, FALSE, WS_EX_CONTROLPARENT))
        frame = RECT{0, 0, ClientWidth + 6, ClientHeight + 25}; // a thin frame's usual sizes

    toolkit::Application& application = toolkit::Application::Instance();
    toolkit::WindowArgs args;
    args.className = MainWindowClassName;
    args.text = CaptionText;
    args.style = layout::FrameStyle;
    args.exStyle = WS_EX_CONTROLPARENT;
    args.x = layout::DesignedLeft;
    args.y = layout::DesignedTop;
    args.width = frame.right - frame.left;
    args.height = frame.bottom - frame.top;
    // Owned by the application window, which carries the taskbar button for it.
    args.parent = application.Handle();
    const toolkit::DensityIcons& icons = application.ClassIcons();
    args.icon = icons.big;
    args.smallIcon = icons.small;
    args.background = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    form.Create(args);
    // The first form made is the application's main form.
    if (!application.MainForm())
        application.SetMainForm(form);
}

TForm1::TForm1(ProgramServices& services, StartRequest start)
    : density_(SIZE{layout::ClientWidth, layout::ClientHeight}, toolkit::Application::MainIconResource,
               &CreateWindowFont, toolkit::Application::Instance().ClassIcons()),
      frame_(*this),
      services_(services),
      start_(start),
      reports_([this] { return tray_.TrayIcon1(); }, [this] { return services_.Options().errorBalloons; }),
      writerSettings_(services_, editor_, reports_),
      writer_(services_.Database(), writerSettings_, reports_, &writerSettings_),
      settings_(Handle(), services_, reports_, [this] { life_.AutoChange(); }),
      editor_(Handle(), services_.Database(), reports_, writer_, databases_),
      databases_(Handle(), services_),
      life_(Handle(), services_, writer_, settings_, reports_, [this] { tray_.RemoveTrayIcon(); }),
      tray_(life_),
      hotKeys_(Handle(), reports_),
      applicationHook_([this](UINT message, WPARAM wParam, LPARAM lParam) {
          ApplicationMessage(message, wParam, lParam);
      })
{
    settings_.PlaceStaticTextAfter(editor_.LastControl());
    databases_.OnOpen = [this](const std::string& path) { editor_.OpenFromList(path); };
    databases_.OwnFiles = [this] { return FilesNotToWrite(editor_.DatabaseInEditor()); };
    pasteHotKey_ = hotKeys_.Add("Paste hot key:", [this](WORD combination) { life_.PasteSignature(combination); });
    // Before the position is restored, which keeps the window reachable at its laid-out size;
    // the banner then decodes the drawing nearest its size once.
    RunStep([this] { density_.LayOut(Handle()); });
    RunStep([this] { editor_.LoadBanner(); });
    FormCreate();
}

TForm1::~TForm1()
{
    // Without an Exit (a failed start, a test) the tray controller's icon, with its hook on
    // this window, goes with the parts, before the window does.
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

// ---- Messages ----

LRESULT TForm1::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    LRESULT result = 0;
    if (toolkit::Control::Reflect(message, wParam, lParam, result))
        return result;
    if (FirstRun::IsOfferMessage(message)) {
        FirstRun::OfferMailClients(settings_);
        return 0;
    }
    if (IsExitRequest(message)) {
        // A request that arrives after the program has ended (two setups asking at once,
        // say) finds nothing left to save.
        if (!life_.Ended())
            life_.Exit();
        return 0;
    }
    switch (message) {
    case WM_NCCREATE:
        // Made before the controls are, which take the font as they are made.
        density_.Prepare(Handle());
        break;
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
            life_.EndSession();
        return 0;
    case WM_HOTKEY:
        // An identifier the table does not hold belongs to no hot key of the window's.
        hotKeys_.Pressed(wParam);
        return 0;
    case WM_DPICHANGED:
        // Moved to a monitor of another density, or that monitor's scaling changed.
        density_.Changed(Handle(), wParam, lParam);
        return 0;
    case WM_GETFONT:
        return reinterpret_cast<LRESULT>(density_.Font());
    case WM_GETICON:
        if (const HICON shown = density_.Icon(wParam))
            return reinterpret_cast<LRESULT>(shown);
        break;
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
        life_.EndSession();
    else if (message == ShowRunningProgramMessage() && message != 0)
        tray_.ShowMainForm();
}

// ---- Start-up ----

// Start-up, in its fixed order. A step that fails is shown by the last-resort handler and
// the steps after it still run.
void TForm1::FormCreate()
{
    firstPaint_ = true;
    // The window was made with this caption already; should the system refuse it here, the
    // caption shown is still the same.
    SetWindowTextA(Handle(), CaptionText);
    RunStep([this] { tray_.CreateTrayIcon(Handle()); });
    RunStep([this] { services_.Start(settings::ProgramDirectory()); });
    // A value that cannot be read is shown as any failing step is, and the rest still loads.
    services_.Load([](const std::exception&) { RunStep([] { throw; }); });
    // Before any setting is written back, which would make it no first start.
    RunStep([this] { FirstRun::Run(services_, reports_, Handle(), start_.minimised); });
    // The controls show what was loaded, each written back as it is shown.
    settings_.RestoreValues();
    services_.Database().SetDatabaseOpen(false);
    RunStep([this] { RestoreWindowPlace(Handle(), services_.Options()); });
    settings_.RestoreSwitches();
    databases_.Show();
    settings_.RestoreStaticText();
    RunStep([this] { tray_.SetUpTrayIcon(); });
    RunStep([this] { hotKeys_.Start(pasteHotKey_, services_.Profile().pasteHotKey); });
    settings_.OnPasteHotKeyChange([this](WORD value) { hotKeys_.Choose(pasteHotKey_, value); });
}

void TForm1::FormPaint()
{
    if (!firstPaint_)
        return;
    firstPaint_ = false;
    if (start_.minimised)
        toolkit::Application::Instance().Minimize();
}

bool TForm1::FormCloseQuery()
{
    toolkit::Application::Instance().Minimize();
    return false;
}
