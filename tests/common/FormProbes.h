#pragma once
// The tests' view into the main window: each part keeps its controls and handlers to itself,
// and a probe (a friend of its part) reaches them as the user's input would. Each part's
// probe has a file of its own, so a new control is added to its part's probe alone.
#include "tests/common/DatabaseEditorProbe.h"
#include "tests/common/DatabaseListPanelProbe.h"
#include "tests/common/SettingsPanelProbe.h"
#include "tests/common/TrayControllerProbe.h"
#include "ui/Unit1.h"

class FormProbe {
public:
    static SettingsPanel& Settings(TForm1& form) noexcept { return form.settings_; }
    static DatabaseEditor& Editor(TForm1& form) noexcept { return form.editor_; }
    static DatabaseListPanel& Databases(TForm1& form) noexcept { return form.databases_; }
    static TrayController& Tray(TForm1& form) noexcept { return form.tray_; }
    static tray::TTrayIcon* TrayIcon1(const TForm1& form) noexcept { return form.tray_.TrayIcon1(); }
    // The tray menu's "Change signature" and "Exit".
    static void RandomChange(TForm1& form) { form.life_.RandomChange(); }
    static void Exit(TForm1& form) { form.life_.Exit(); }
    static bool RandomChangeRunning(const TForm1& form) noexcept { return form.life_.RandomChangeRunning(); }
};

inline SettingsPanelProbe SettingsOf(TForm1& form)
{
    return SettingsPanelProbe(FormProbe::Settings(form));
}

inline DatabaseEditorProbe EditorOf(TForm1& form)
{
    return DatabaseEditorProbe(FormProbe::Editor(form));
}

inline DatabaseListPanelProbe DatabasesOf(TForm1& form)
{
    return DatabaseListPanelProbe(FormProbe::Databases(form));
}

inline TrayControllerProbe TrayOf(TForm1& form)
{
    return TrayControllerProbe(FormProbe::Tray(form));
}
