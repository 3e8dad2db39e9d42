#pragma once
#include "engine/SignatureWriter.h"
#include "toolkit/Application.h"
#include "toolkit/Handles.h"
#include "toolkit/Window.h"
#include "toolkit/WindowDensity.h"
#include "ui/DatabaseEditor.h"
#include "ui/DatabaseListPanel.h"
#include "ui/FirstRun.h"
#include "ui/HotKeys.h"
#include "ui/ProfileForWriter.h"
#include "ui/ProgramLife.h"
#include "ui/ProgramServices.h"
#include "ui/Reports.h"
#include "ui/SettingsPanel.h"
#include "ui/StartRequest.h"
#include "ui/TrayController.h"

#include <optional>

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
    ProgramServices& services_;
    StartRequest start_;

public:
    // services is started by start-up and ended by Exit; it outlives the window.
    explicit TForm1(ProgramServices& services, StartRequest start = {});
    ~TForm1() override;

    // Shows the window as the program starts: normal, in front.
    void Show();

protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    // Messages of the application window meant for the program as a whole: the session's
    // end, and a second start asking for the window.
    void ApplicationMessage(UINT message, WPARAM wParam, LPARAM lParam);

private:
    friend class FormProbe; // the tests' way to the parts

    void FormCreate();
    void FormPaint();
    // Answers whether the window may close: never; the application goes to the tray.
    bool FormCloseQuery();

    Reports reports_;
    ProfileForWriter writerSettings_;
    SignatureWriter writer_;
    // The parts, in the order their controls are made (the order Tab follows).
    SettingsPanel settings_;
    DatabaseEditor editor_;
    DatabaseListPanel databases_;
    ProgramLife life_;
    TrayController tray_;
    HotKeys hotKeys_;
    int pasteHotKey_ = 0; // the paste hot key's identifier in hotKeys_
    toolkit::ScopedMessageHook applicationHook_;
    bool firstPaint_ = false;
};
