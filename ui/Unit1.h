#pragma once
#include "engine/SignatureWriter.h"
#include "toolkit/Application.h"
#include "toolkit/Handles.h"
#include "toolkit/Window.h"
#include "toolkit/WindowDensity.h"
#include "ui/DatabaseEditor.h"
#include "ui/DatabaseListPanel.h"
#include "ui/PanelOrder.h"
#include "ui/PanelWriterSettings.h"
#include "ui/PasteHotKey.h"
#include "ui/ProgramLife.h"
#include "ui/ProgramState.h"
#include "ui/Reports.h"
#include "ui/SettingsPanel.h"
#include "ui/SignatureClipboard.h"
#include "ui/TrayController.h"

// The main window: the settings panel, the database editor and the list of databases in
// three groups, the tray controller, and the program's life from start-up to exit. Every
// report goes to balloons or dialogs through one Reports; the parts reach each other only
// through the few operations each offers.
//
// Creating it runs the start-up sequence; closing or minimising it hides the application
// in the tray; only Exit() ends the program.
class TForm1 : public toolkit::Window {
    // Creates the window itself. Declared first so that it is made before the parts' controls.
    struct Frame {
        explicit Frame(TForm1& form);
    };
    // Lays the window out for its monitor's density: the controls draw with its font until
    // they are destroyed, so it is declared before them and goes after them.
    toolkit::WindowDensity density_;
    Frame frame_;
    ProgramState& program_;

public:
    // program is filled by start-up and emptied by Exit; it outlives the window.
    explicit TForm1(ProgramState& program);
    ~TForm1() override;

    // Shows the window as the program starts: normal, in front.
    void Show();

    SettingsPanel& Settings() noexcept { return settings_; }
    DatabaseEditor& Editor() noexcept { return editor_; }
    DatabaseListPanel& Databases() noexcept { return databases_; }
    TrayController& Tray() noexcept { return tray_; }
    tray::TTrayIcon* TrayIcon1() const noexcept { return program_.trayIcon.get(); }

    // The tray menu's "Change signature" and "Exit", and the session's end (ProgramLife.h).
    void RandomChange() { life_.RandomChange(); }
    bool RandomChangeRunning() const noexcept { return life_.RandomChangeRunning(); }
    void Exit() { life_.Exit(); }
    void EndSession() { life_.EndSession(); }

    void FormCreate();
    void FormPaint();
    // Answers whether the window may close: never; the application goes to the tray.
    bool FormCloseQuery();

protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    // Messages of the application window meant for the program as a whole: the session's
    // end, and a second start asking for the window.
    void ApplicationMessage(UINT message, WPARAM wParam, LPARAM lParam);

private:
    Reports reports_;
    PanelWriterSettings writerSettings_;
    PanelOrder order_;
    SignatureWriter writer_;
    // The parts, in the order their controls are made (the order Tab follows).
    SettingsPanel settings_;
    DatabaseEditor editor_;
    DatabaseListPanel databases_;
    ProgramLife life_;
    TrayController tray_;
    // "Copy signature" and the paste hot key.
    SignatureClipboard clipboard_;
    PasteHotKey pasteHotKey_;
    toolkit::ScopedMessageHook applicationHook_;
    bool firstPaint_ = false;
};
