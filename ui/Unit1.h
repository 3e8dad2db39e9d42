#pragma once
#include "base/Version.h"
#include "engine/SignatureWriter.h"
#include "engine/WriterSettings.h"
#include "toolkit/Application.h"
#include "toolkit/Button.h"
#include "toolkit/CheckBox.h"
#include "toolkit/Edit.h"
#include "toolkit/GroupBox.h"
#include "toolkit/Handles.h"
#include "toolkit/Image.h"
#include "toolkit/Label.h"
#include "toolkit/ListBox.h"
#include "toolkit/Memo.h"
#include "toolkit/PopupMenu.h"
#include "toolkit/RadioButton.h"
#include "toolkit/SpinEdit.h"
#include "toolkit/Timer.h"
#include "toolkit/Window.h"
#include "ui/EditorStates.h"
#include "ui/Reports.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace settings {
class RegistryStore;
class SettingsPlaces;
}
namespace tray {
class TTrayIcon;
}

// The main window: the settings, the database editor and the list of databases in three
// groups, the auto-change timer, and the program's life from start-up to exit. It answers
// the signature writer's questions from its controls and routes every report to balloons
// or dialogs.
//
// Creating it runs the start-up sequence; closing or minimising it hides the application
// in the tray; only Exit() ends the program. Its code spans several files: Unit1.cpp
// (window, layout, messages), Unit1Lifecycle.cpp (start-up, first paint, close, timer,
// exit) and Unit1Settings.cpp (the settings group's handlers), with the database editor,
// the list panel and the tray menu in files of their own.
class TForm1 : public toolkit::Window, public WriterSettings {
    // Creates the window itself. Declared first so that it is made before the controls,
    // which are members built in declaration order inside it.
    struct Frame {
        explicit Frame(TForm1& form);
    };
    // The controls draw with this font until they are destroyed, so it is declared before
    // them and goes after them.
    toolkit::FontHandle font_;
    Frame frame_;

public:
    TForm1();
    ~TForm1() override;

    // Shows the window as the program starts: normal, in front.
    void Show();

    // ---- "Settings" group ----
    toolkit::GroupBox SettingsGroup;
    toolkit::Label OEFileLabel;
    toolkit::Edit OEFileEdit;
    toolkit::Button BrowseBtn;
    toolkit::CheckBox AutoChkBx;
    toolkit::SpinEdit MinutesEdit;
    toolkit::Label MinutesLabel;
    toolkit::CheckBox StartupChkBx;
    toolkit::CheckBox BalloonChkBx;
    toolkit::CheckBox ErrorChkBx;
    toolkit::CheckBox SigBreakChkBx;

    // ---- "Database" group (tab order: SigMemo, DBFileEdit, btnOpen, btnClose, btnNew,
    // btnPost, btnDelete, btnFirst, btnPrevious, btnNext, btnLast, btnSet, StaticMemo,
    // StaticChkBx, AboveRadio, BelowRadio) ----
    toolkit::GroupBox DatabaseGroup;
    toolkit::Memo SigMemo;
    toolkit::Label DBFileLabel;
    toolkit::Edit DBFileEdit;
    toolkit::Button btnOpen;
    toolkit::Button btnClose;
    toolkit::Button btnNew;
    toolkit::Button btnPost;
    toolkit::Button btnDelete;
    toolkit::Button btnFirst;
    toolkit::Button btnPrevious;
    toolkit::Button btnNext;
    toolkit::Button btnLast;
    toolkit::Button btnSet;
    toolkit::Label StaticLabel;
    toolkit::Memo StaticMemo;
    toolkit::CheckBox StaticChkBx;
    toolkit::RadioButton AboveRadio;
    toolkit::RadioButton BelowRadio;
    toolkit::Label SigLabel;
    toolkit::Image Banner;

    // ---- "Databases" group ----
    toolkit::GroupBox DatabasesGroup;
    toolkit::ListBox DBList;

    // ---- Non-visual members ----
    toolkit::Timer AutoTimer;      // the auto-change timer
    toolkit::PopupMenu TrayMenu;   // the tray icon's right-click menu
    toolkit::PopupMenu DBListPopUp; // the database list's context menu

    // The tray icon, the settings store and where it keeps the settings (program-level
    // state; null before start-up and after Exit).
    tray::TTrayIcon* TrayIcon1() const noexcept;
    settings::RegistryStore* Settings() const noexcept;
    const settings::SettingsPlaces* Places() const noexcept;
    // Where every command's errors, notices and questions go.
    ReportSink& Reporter() noexcept { return reports_; }
    // The signature writer, reading its settings from this window and reporting to Reporter().
    SignatureWriter& Writer() noexcept { return writer_; }

    // The random change (tray menu "Change signature", auto-change timer). While it runs,
    // its reports and the last-resort box of a failure included, auto-change ticks do nothing.
    void RandomChange();
    bool RandomChangeRunning() const noexcept { return randomChangeRunning_; }

    // The exit command (tray menu "Exit"): the icon leaves the tray, the timer stops, the
    // database list, the static text and the window position are saved, the settings store
    // is released and the application terminates. A failing step is shown by the
    // last-resort handler and the remaining steps still run, so the program always ends.
    void Exit();
    // The user's session ends: the same steps as Exit, once, with nothing shown.
    void EndSession();

    // ---- Handlers: form and timer ----
    void FormCreate();
    void FormPaint();
    // Answers whether the window may close: never; the application goes to the tray.
    bool FormCloseQuery();
    void AutoTimerTimer();
    void TrayIcon1DblClick();

    // ---- Handlers: tray menu ----
    // Fills TrayMenu with its items and connects their handlers; run once, before start-up.
    void BuildTrayMenu();
    toolkit::MenuItem* WinampItem = nullptr; // "Winamp", holding "Set song as signature"
    void TrayMenuPopup();
    void SetSongItemClick();
    void ChangeSignatureItemClick();
    void RestoreItemClick();
    void ExitItemClick();

    // ---- Handlers: "Settings" group ----
    void OEFileEditChange();
    void BrowseBtnClick();
    void AutoChkBxClick();
    void MinutesEditChange();
    void StartupChkBxClick();
    void BalloonChkBxClick();
    void ErrorChkBxClick();
    void SigBreakChkBxClick();
    void StaticChkBxClick();
    void AboveRadioClick();
    void BelowRadioClick();

    // ---- Handlers: database editor ----
    void btnOpenClick();
    void btnCloseClick();
    void btnFirstClick();
    void btnPreviousClick();
    void btnNextClick();
    void btnLastClick();
    void btnNewClick();
    void btnPostClick();
    void btnDeleteClick();
    void btnSetClick();
    // Opens the database at path in the editor (the list's "Open"); refused with a report
    // while the editor already has a database open.
    void OpenFromList(const std::string& path);

    // ---- Handlers: database list ----
    void DBListPopUpPopup();
    void AddItemClick();
    void OpenItemClick();
    void RemoveItemClick();
    void ClearListItemClick();

    // ---- WriterSettings: answered from the controls at the moment of asking ----
    std::string SignatureFilePath() const override;
    bool DelimiterOn() const override;
    bool StaticTextOn() const override;
    bool StaticTextAbove() const override;
    std::string StaticText() const override;
    bool ChangeBalloonOn() const override;
    std::vector<std::string> DatabaseList() const override;
    std::vector<std::string> ProtectedFiles() const override;

protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    // Messages of the application window meant for the program as a whole: the session's
    // end, and a second start asking for the window.
    void ApplicationMessage(UINT message, WPARAM wParam, LPARAM lParam);

private:
    static constexpr const char* CaptionText = "Varnquill v" VARNQUILL_VERSION;
    static constexpr const char* TrayHintText = "qmz Varnquill v" VARNQUILL_VERSION;
    // The timer's interval for a minutes value: computed in 32 bits and handed over
    // unsigned, so 70000 minutes are 4,200,000,000 ms.
    static UINT MinutesToInterval(int minutes) noexcept;

    void ConnectHandlers();
    void ApplyFont();
    void LoadBanner();
    // Runs one step of start-up or exit; a failure is shown by the last-resort handler and
    // the next step follows. Answers whether the step completed.
    static bool RunStep(const std::function<void()>& step) noexcept;
    // The same where no box may be shown: a failure is dropped.
    static bool RunStepSilently(const std::function<void()>& step) noexcept;
    using StepRunner = std::function<bool(const std::function<void()>&)>;

    // Start-up steps that read the store and side files.
    void RestoreWindowPosition();
    void RestoreSwitches();
    void LoadSideFiles();
    void SetUpTrayIcon();
    // Exit's steps, each run by run.
    void EndProgram(const StepRunner& run);
    // What the next start finds again, in this order: the database list, the static text,
    // the window position.
    void SaveForNextStart(const StepRunner& run);
    void SaveWindowPosition();

    // ---- Database editor and list: wiring and helpers (Unit1Editor.cpp, Unit1DatabaseList.cpp) ----
    enum class RecordStep { First, Last, Next, Previous };
    void ConnectEditorHandlers();
    void ConnectDatabaseListHandlers();
    // Opens the database at path on the shared handle, or creates it when createMissing
    // and no file of that name exists; a failure is reported and leaves the editor closed.
    void OpenDatabase(const std::string& path, bool createMissing);
    void ShowOpenedState(std::int64_t records);
    void ShowClosedState();
    // Enables the editor's buttons and field as the state's row says.
    void ShowEditorState(EditorState state, bool atFirst = false, bool atLast = false);
    void Navigate(RecordStep step);
    // Asks whether to add a closed database to the list, unless the list holds it already.
    void OfferToDatabaseList(const std::string& path);
    bool DatabaseListHolds(const std::string& path) const;
    // ---- end of database editor and list ----

    Reports reports_;
    SignatureWriter writer_;
    toolkit::ScopedMessageHook applicationHook_;
    bool firstPaint_ = false;
    bool randomChangeRunning_ = false;
    bool ended_ = false; // Exit or the session's end has run
    // A side file that existed but could not be read at start-up is not overwritten at
    // exit: the list or text the user had is still in it, not in the window.
    bool databaseListUnread_ = false;
    bool staticTextUnread_ = false;
};
