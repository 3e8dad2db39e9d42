#include "ui/ProgramLife.h"

#include "engine/SignatureWriter.h"
#include "toolkit/Application.h"
#include "ui/ProgramServices.h"
#include "ui/SettingsPanel.h"
#include "ui/WindowPlace.h"

#include <utility>

namespace {

// Sets a flag for a scope and gives it back its earlier value, so a change started inside
// another one (from the tray menu while a report of the first is open) leaves it set.
class FlagSetter {
public:
    explicit FlagSetter(bool& flag) noexcept : flag_(flag), previous_(std::exchange(flag, true)) {}
    ~FlagSetter() { flag_ = previous_; }
    FlagSetter(const FlagSetter&) = delete;
    FlagSetter& operator=(const FlagSetter&) = delete;

private:
    bool& flag_;
    bool previous_;
};

} // namespace

ProgramLife::ProgramLife(HWND form, ProgramServices& services, SignatureWriter& writer, SettingsPanel& settings,
                         Reports& reports, std::function<void()> removeTrayIcon)
    : form_(form), services_(services), writer_(writer), settings_(settings), removeTrayIcon_(std::move(removeTrayIcon)),
      clipboard_(reports, [this] { return SignatureToCopy(); })
{
}

// ---- The random change ----

void ProgramLife::AutoChange()
{
    // A tick while an earlier change still runs (its report dialog or last-resort box open,
    // say) would start a change inside it, and left alone these would pile up without end.
    if (randomChangeRunning_)
        return;
    RandomChange();
}

void ProgramLife::RandomChange()
{
    FlagSetter running(randomChangeRunning_);
    // A failure the writer lets through is shown here, while the change still counts as
    // running, so that ticks during its box wait for it to close.
    RunStep([this] { writer_.RandomChange(); });
}

std::optional<ClipboardSignature> ProgramLife::SignatureToCopy()
{
    FlagSetter running(randomChangeRunning_);
    std::optional<std::string> text;
    RunStep([&] { text = writer_.RandomChangeToCopy(); });
    if (!text)
        return std::nullopt;
    return ClipboardFormsOf(*text, GetACP(), services_.Profile().delimiter);
}

void ProgramLife::CopySignature()
{
    clipboard_.Copy();
}

void ProgramLife::PasteSignature(WORD hotKey)
{
    clipboard_.Paste(hotKey);
}

void ProgramLife::SetSong(const std::string& player, const std::string& song)
{
    writer_.NowPlaying(player, song);
}

// ---- What the next start finds again ----

void ProgramLife::SaveForNextStart(StepRunner run)
{
    // Before the start, or after a start that could not find the program's folder, the store
    // keeps nothing; a side file it could not read at start-up it does not write over.
    settings::SettingsStore& store = services_.Store();
    run([&] { store.SaveDatabaseList(services_.Profile().databases); });
    run([&] { store.SaveStaticText(services_.Profile().staticText); });
    run([&] { SaveWindowPlace(form_, store); });
}

// ---- The end ----

void ProgramLife::Exit()
{
    EndProgram(RunStep);
}

// The session ends (log-off, shutdown, a restart for updates): the program goes as Exit
// takes it, but silently, since no box can be answered any more and the system may end the
// process as soon as this returns. Every top-level window of the program hears of it; the
// first one does the work.
void ProgramLife::EndSession()
{
    if (ended_)
        return;
    // The process may end as soon as the session's end is answered.
    clipboard_.GiveBack();
    EndProgram(RunStepSilently);
}

void ProgramLife::EndProgram(StepRunner run)
{
    ended_ = true;
    run(removeTrayIcon_);
    run([this] { settings_.StopAutoChange(); });
    SaveForNextStart(run);
    run([this] { services_.End(); });
    toolkit::Application::Instance().Terminate();
}
