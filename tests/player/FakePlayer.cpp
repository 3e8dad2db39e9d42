// A stand-in for the Winamp media player, for tests: a top-level window of the player's
// class "Winamp v1.x" with the given title, answering the player's WM_USER queries the way
// its command line says. Only the exact queries Varnquill relies on are answered (version:
// wParam 0, lParam 0; playing state: 104, 104; title refresh: 0, 243); any other pair gets
// the 0 of an unknown command, so a caller that sends the wrong numbers is caught.
//
//   FakePlayer.exe --title TEXT | --title-utf8 HEX [--stale-title TEXT] [--state playing|stopped|paused|hung]
//                  [--version N] [--class NAME] [--ready HANDLE]
//
// --title-utf8 HEX the title as the hexadecimal digits of its UTF-8 bytes, in place of
//           --title, for a title the ANSI code page cannot hold; set as Unicode.
// --stale-title the window's title until the title refresh request (243) arrives; then it
//           becomes --title. Without it the window shows --title from the start.
// --state   playing answers the playing-state query (104) with 1, stopped with 0, paused
//           with 3, as the player does; hung shows the window and then never takes another
//           message. Default: playing.
// --version the answer to the version query (0); default 0x5066. 0 makes a window that
//           does not pass for the player.
// --class   the window's class instead of "Winamp v1.x", for players known by theirs; a
//           copy of this program under another name stands in for players known by their
//           process image.
// --ready   an inherited event handle (decimal) set once the window is up, so a test can
//           wait for the window without polling.
#include "toolkit/Application.h"
#include "toolkit/Handles.h"
#include "base/CodePages.h"
#include "base/SystemError.h"
#include "toolkit/Window.h"

#include <cstdio>
#include <cstdint>
#include <stdexcept>
#include <string>

namespace {

enum class PlayerState { Playing, Stopped, Paused, Hung };

struct Options {
    std::string title;
    std::wstring wideTitle; // set instead of title when not empty
    std::string staleTitle;
    bool haveStaleTitle = false;
    PlayerState state = PlayerState::Playing;
    LRESULT version = 0x5066;
    std::string className = "Winamp v1.x";
    HANDLE ready = nullptr;
};

PlayerState ParseState(const std::string& text)
{
    if (text == "playing")
        return PlayerState::Playing;
    if (text == "stopped")
        return PlayerState::Stopped;
    if (text == "paused")
        return PlayerState::Paused;
    if (text == "hung")
        return PlayerState::Hung;
    throw std::invalid_argument("unknown state \"" + text + "\"");
}

Options ParseOptions(int argc, char** argv)
{
    Options options;
    bool haveTitle = false;
    for (int i = 1; i < argc; ++i) {
        const std::string name = argv[i];
        if (i + 1 >= argc)
            throw std::invalid_argument(name + " needs a value");
        const std::string value = argv[++i];
        if (name == "--title") {
            options.title = value;
            haveTitle = true;
        } else if (name == "--title-utf8") {
            std::string utf8;
            for (std::size_t at = 0; at + 1 < value.size(); at += 2)
                utf8 += static_cast<char>(std::stoi(value.substr(at, 2), nullptr, 16));
            options.wideTitle = base::ToWide(utf8, CP_UTF8);
            haveTitle = true;
        } else if (name == "--stale-title") {
            options.staleTitle = value;
            options.haveStaleTitle = true;
        } else if (name == "--state") {
            options.state = ParseState(value);
        } else if (name == "--version") {
            options.version = static_cast<LRESULT>(std::stoll(value, nullptr, 0));
        } else if (name == "--class") {
            options.className = value;
        } else if (name == "--ready") {
            options.ready = reinterpret_cast<HANDLE>(static_cast<std::uintptr_t>(std::stoull(value)));
        } else {
            throw std::invalid_argument("unknown option " + name);
        }
    }
    if (!haveTitle)
        throw std::invalid_argument("--title is required");
    return options;
}

LRESULT PlayingStateAnswer(PlayerState state)
{
    switch (state) {
    case PlayerState::Playing: return 1;
    case PlayerState::Paused: return 3;
    default: return 0;
    }
}

class PlayerWindow : public toolkit::Window {
public:
    explicit PlayerWindow(const Options& options) : options_(options)
    {
        toolkit::WindowArgs args;
        args.className = options.className.c_str();
        args.text = (options.haveStaleTitle ? options.staleTitle : options.title).c_str();
        args.width = 400;
        args.height = 120;
        Create(args);
        if (!options.haveStaleTitle)
            SetWideTitle();
        // The return value is the previous visibility, not a failure.
        ShowWindow(Handle(), SW_SHOWNOACTIVATE);
    }

protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_USER) {
            if (wParam == 0 && lParam == 0)
                return options_.version;
            if (wParam == 104 && lParam == 104)
                return PlayingStateAnswer(options_.state);
            // A failure leaves the stale title, which the test then reads and reports.
            if (wParam == 0 && lParam == 243 && options_.haveStaleTitle) {
                SetWindowTextA(Handle(), options_.title.c_str());
                SetWideTitle();
            }
            return 0;
        }
        if (message == WM_DESTROY)
            toolkit::Application::Instance().Terminate();
        return DefaultHandling(message, wParam, lParam);
    }

private:
    // Straight to the default handling's Unicode side: the window is an ANSI one, whose
    // WM_SETTEXT would pass the title through the code page and lose what it lacks.
    void SetWideTitle()
    {
        if (!options_.wideTitle.empty())
            DefWindowProcW(Handle(), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(options_.wideTitle.c_str()));
    }

    const Options& options_;
};

void SignalReady(HANDLE ready)
{
    if (ready && !SetEvent(ready))
        throw std::runtime_error("cannot signal the ready event: " + base::SystemErrorText(GetLastError()));
}

// Never returns: the thread stops taking messages while its window stays on screen, which
// is what a player that has stopped answering looks like from outside.
[[noreturn]] void HangForever()
{
    const base::KernelHandle neverSet(CreateEventA(nullptr, TRUE, FALSE, nullptr));
    if (!neverSet)
        throw std::runtime_error("cannot create the event to hang on: " + base::SystemErrorText(GetLastError()));
    for (;;)
        WaitForSingleObject(neverSet.Get(), INFINITE);
}

} // namespace

int main(int argc, char** argv)
{
    try {
        const Options options = ParseOptions(argc, argv);
        PlayerWindow window(options);
        SignalReady(options.ready);
        if (options.state == PlayerState::Hung)
            HangForever();
        toolkit::Application::Instance().Run();
        return 0;
    } catch (const std::exception& failure) {
        std::fprintf(stderr, "FakePlayer: %s\n", failure.what());
        return 2;
    }
}
