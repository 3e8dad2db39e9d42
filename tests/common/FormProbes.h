#pragma once
// The tests' view into the main window: each part keeps its controls and handlers to itself,
// and a probe (a friend of its part) reaches them as the user's input would.
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

class SettingsPanelProbe {
public:
    explicit SettingsPanelProbe(SettingsPanel& panel)
        : OEFileEdit(panel.OEFileEdit), BrowseBtn(panel.BrowseBtn), MailClientsBtn(panel.MailClientsBtn),
          AutoChkBx(panel.AutoChkBx), MinutesEdit(panel.MinutesEdit), StartupChkBx(panel.StartupChkBx),
          BalloonChkBx(panel.BalloonChkBx), ErrorChkBx(panel.ErrorChkBx), SigBreakChkBx(panel.SigBreakChkBx),
          OrderCombo(panel.OrderCombo), StaticMemo(panel.StaticMemo), StaticChkBx(panel.StaticChkBx),
          AboveRadio(panel.AboveRadio), BelowRadio(panel.BelowRadio), AutoTimer(panel.AutoTimer), panel_(panel)
    {
    }

    toolkit::Edit& OEFileEdit;
    toolkit::Button& BrowseBtn;
    toolkit::Button& MailClientsBtn;
    toolkit::CheckBox& AutoChkBx;
    toolkit::SpinEdit& MinutesEdit;
    toolkit::CheckBox& StartupChkBx;
    toolkit::CheckBox& BalloonChkBx;
    toolkit::CheckBox& ErrorChkBx;
    toolkit::CheckBox& SigBreakChkBx;
    toolkit::ComboBox& OrderCombo;
    toolkit::Memo& StaticMemo;
    toolkit::CheckBox& StaticChkBx;
    toolkit::RadioButton& AboveRadio;
    toolkit::RadioButton& BelowRadio;
    toolkit::Timer& AutoTimer;

    // The button's handler itself, as its click runs it.
    void BrowseBtnClick() { panel_.BrowseBtnClick(); }

private:
    SettingsPanel& panel_;
};

class DatabaseEditorProbe {
public:
    explicit DatabaseEditorProbe(DatabaseEditor& editor)
        : SigMemo(editor.SigMemo), DBFileEdit(editor.DBFileEdit), btnOpen(editor.btnOpen),
          btnClose(editor.btnClose), btnNew(editor.btnNew), btnPost(editor.btnPost), btnDelete(editor.btnDelete),
          btnFirst(editor.btnFirst), btnPrevious(editor.btnPrevious), btnNext(editor.btnNext),
          btnLast(editor.btnLast), btnSet(editor.btnSet), Banner(editor.Banner), editor_(editor)
    {
    }

    toolkit::Memo& SigMemo;
    toolkit::Edit& DBFileEdit;
    toolkit::Button& btnOpen;
    toolkit::Button& btnClose;
    toolkit::Button& btnNew;
    toolkit::Button& btnPost;
    toolkit::Button& btnDelete;
    toolkit::Button& btnFirst;
    toolkit::Button& btnPrevious;
    toolkit::Button& btnNext;
    toolkit::Button& btnLast;
    toolkit::Button& btnSet;
    toolkit::Image& Banner;

    // The moves' handlers themselves, so the end rules hold even for a button pressed at its end.
    void btnFirstClick() { editor_.btnFirstClick(); }
    void btnPreviousClick() { editor_.btnPreviousClick(); }
    void btnNextClick() { editor_.btnNextClick(); }
    void btnLastClick() { editor_.btnLastClick(); }
    void OpenFromList(const std::string& path) { editor_.OpenFromList(path); }

private:
    DatabaseEditor& editor_;
};

class DatabaseListPanelProbe {
public:
    explicit DatabaseListPanelProbe(DatabaseListPanel& panel) : DBList(panel.DBList), DBListPopUp(panel.DBListPopUp) {}

    toolkit::ListBox& DBList;
    toolkit::PopupMenu& DBListPopUp;
};

class TrayControllerProbe {
public:
    explicit TrayControllerProbe(TrayController& tray) : TrayMenu(tray.TrayMenu) {}

    toolkit::PopupMenu& TrayMenu;
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
