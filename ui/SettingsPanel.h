#pragma once
#include "toolkit/Button.h"
#include "engine/SignatureOrder.h"
#include "toolkit/CheckBox.h"
#include "toolkit/ComboBox.h"
#include "toolkit/Edit.h"
#include "toolkit/GroupBox.h"
#include "toolkit/HotKeyField.h"
#include "toolkit/Label.h"
#include "toolkit/Memo.h"
#include "toolkit/RadioButton.h"
#include "toolkit/SpinEdit.h"
#include "toolkit/Timer.h"

#include <functional>
#include <string>

class ReportSink;
class ProgramServices;

// The "Settings" group (signature text file, auto-change minutes, switches), the static
// text with its switches in the "Database" group, and the auto-change timer: views of the
// signature profile and the program's options (ProgramServices). Every change goes into
// them and is written at once (the static text at the end of the run); after Exit has let
// the store go, nothing is written.
class SettingsPanel {
public:
    // autoChange runs at each tick of the auto-change timer.
    SettingsPanel(HWND form, ProgramServices& services, ReportSink& reports, std::function<void()> autoChange);

    // The static-text controls come after `previous` in the Tab order: they sit in the
    // "Database" group, after the editor's controls.
    void PlaceStaticTextAfter(const toolkit::Control& previous);

    // Start-up, each value from the loaded profile and options, one step each: the minutes,
    // the signature text file, the hot key and the start-up entry; then, after the window's
    // position, the switches; then, with the database list, the static text.
    void RestoreValues();
    void RestoreSwitches();
    void RestoreStaticText();
    // Exit: no tick may start a change any more.
    void StopAutoChange();
    // "Mail clients...": the mail clients' signature files to choose from, over the window.
    void ChooseFromMailClients();

    // Who hears of each change the user makes to the paste hot key once start-up has read it.
    void OnPasteHotKeyChange(std::function<void(WORD)> changed) { pasteHotKeyChanged_ = std::move(changed); }

private:
    friend class SettingsPanelProbe; // the tests' view of the controls

    void ConnectHandlers();

    void OEFileEditChange();
    void BrowseBtnClick();
    void MailClientsBtnClick();
    void AutoChkBxClick();
    void MinutesEditChange();
    void StartupChkBxClick();
    void BalloonChkBxClick();
    void ErrorChkBxClick();
    void SigBreakChkBxClick();
    void OrderComboChange();
    void StaticChkBxClick();
    void StaticMemoChange();
    void AboveRadioClick();
    void BelowRadioClick();
    void AutoTimerTimer();
    bool PasteHotKeyEditChanging(WORD value);
    void PasteHotKeyEditChange();

    // ---- "Settings" group ----
    toolkit::GroupBox SettingsGroup;
    toolkit::Label OEFileLabel;
    toolkit::Edit OEFileEdit;
    toolkit::Button BrowseBtn;
    toolkit::Button MailClientsBtn; // above "Browse / Create": the mail clients' own files
    toolkit::CheckBox AutoChkBx;
    toolkit::SpinEdit MinutesEdit;
    toolkit::Label MinutesLabel;
    toolkit::CheckBox StartupChkBx;
    toolkit::CheckBox BalloonChkBx;
    toolkit::CheckBox ErrorChkBx;
    toolkit::CheckBox SigBreakChkBx;
    toolkit::Label OrderLabel;
    toolkit::ComboBox OrderCombo; // the order of random changes
    // ---- The static text, in the "Database" group (PlaceStaticTextAfter) ----
    toolkit::Label StaticLabel;
    toolkit::Memo StaticMemo;
    toolkit::CheckBox StaticChkBx;
    toolkit::RadioButton AboveRadio;
    toolkit::RadioButton BelowRadio;

    toolkit::Timer AutoTimer; // the auto-change timer

    // In the "Settings" group, right of the order, under "Browse / Create".
    toolkit::Label PasteHotKeyLabel;
    toolkit::HotKeyField PasteHotKeyEdit;

    HWND form_;
    ProgramServices& services_;
    ReportSink& reports_;
    std::function<void()> autoChange_;
    std::function<void(WORD)> pasteHotKeyChanged_;
};
