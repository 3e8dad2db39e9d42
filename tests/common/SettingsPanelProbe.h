#pragma once
// The tests' view of the settings panel's controls and handlers (its friend).
#include "ui/SettingsPanel.h"

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
