#include "players/PlayerTitles.h"
#include "base/PathParts.h"

#include "base/AsciiText.h"
#include "base/CodePages.h"
#include "base/Handles.h"

#include <windows.h>

#include <algorithm>
#include <array>
#include <string_view>
#include <utility>
#include <vector>

namespace PlayerTitles {

namespace {

constexpr int MaxTitleLength = 2048;
// The names the menu and the heading give each player, indexed by Player, which is also the
// order they are asked in.
constexpr std::array<const char*, 3> PlayerNames = {"Spotify", "foobar2000", "VLC"};
static_assert(static_cast<std::size_t>(Player::Vlc) == PlayerNames.size() - 1);

constexpr const char* SpotifyImage = "Spotify.exe";
constexpr const char* VlcImage = "vlc.exe";
// foobar2000's main window, in the default user interface and in the columns one.
constexpr const char* Foobar2000Classes[] = {"{97E27FAA-C0B3-4b8e-A693-ED7881E99FC1}",
                                             "{E7076D1C-A7BF-4f39-B771-BCBE88F2A2A8}"};

constexpr std::string_view SpotifyIdleTitles[] = {"Spotify", "Spotify Free", "Spotify Premium", "Advertisement"};
constexpr std::string_view Foobar2000Name = "foobar2000";
constexpr std::string_view Foobar2000Version = "foobar2000 v";
constexpr std::string_view Foobar2000Tail = " [foobar2000";
constexpr std::string_view VlcIdleTitle = "VLC media player";
constexpr std::string_view VlcTail = " - VLC media player";

std::optional<std::string> SpotifySong(const std::string& title)
{
    for (const std::string_view idle : SpotifyIdleTitles)
        if (title == idle)
            return std::nullopt;
    if (title.empty())
        return std::nullopt;
    return title;
}

// Stopped, foobar2000 shows its name, with its version or without: "foobar2000 v1.6.16". Only
// the whole title tells, since a song's own title may begin with those words.
bool IsFoobar2000IdleTitle(std::string_view title)
{
    if (title == Foobar2000Name)
        return true;
    if (!title.starts_with(Foobar2000Version))
        return false;
    const std::string_view version = title.substr(Foobar2000Version.size());
    const auto versionCharacter = [](char c) {
        return (c >= '0' && c <= '9') || c == '.' || c == ' ' || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
    };
    return !version.empty() && version.front() >= '0' && version.front() <= '9' &&
           std::all_of(version.begin(), version.end(), versionCharacter);
}

// "<song> [foobar2000]" or, by version, "<song>  [foobar2000 v1.6]": the blanks before the
// bracket are the title format's, not the song's.
std::optional<std::string> Foobar2000Song(const std::string& title)
{
    if (IsFoobar2000IdleTitle(title))
        return std::nullopt;
    std::string song = title;
    if (const std::size_t tail = song.rfind(Foobar2000Tail); tail != std::string::npos)
        song.erase(tail);
    while (!song.empty() && (song.back() == ' ' || song.back() == '\t'))
        song.pop_back();
    if (song.empty())
        return std::nullopt;
    return song;
}

// "<song> - VLC media player"; VLC's other windows carry other titles and count for nothing.
std::optional<std::string> VlcSong(const std::string& title)
{
    if (title == VlcIdleTitle || title.size() <= VlcTail.size() || !title.ends_with(VlcTail))
        return std::nullopt;
    return title.substr(0, title.size() - VlcTail.size());
}

std::string FileNameOf(const std::string& path)
{
    return std::string(base::FileNamePart(path));
}

// The file name of a process's image, or empty when it cannot be read: a process of
// another user, or one that has ended meanwhile, is not a player this program may read.
std::string ImageNameOf(DWORD processId)
{
    const base::KernelHandle process(OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId));
    if (!process)
        return {};
    char path[MAX_PATH * 2];
    DWORD size = sizeof path;
    if (!QueryFullProcessImageNameA(process.Get(), 0, path, &size))
        return {};
    return FileNameOf(std::string(path, size));
}

class WindowSearch {
public:
    // The player whose main window this may be, if any.
    std::optional<Player> PlayerOf(HWND window, DWORD processId)
    {
        char className[256];
        if (GetClassNameA(window, className, sizeof className) > 0)
            for (const char* foobar2000 : Foobar2000Classes)
                if (base::AsciiEqualNoCase(className, foobar2000))
                    return Player::Foobar2000;
        const std::string& image = ImageNameOfCached(processId);
        // Spotify keeps hidden helper windows with titles of their own; only its visible
        // top-level window shows the song.
        if (base::AsciiEqualNoCase(image, SpotifyImage) && IsWindowVisible(window) && !GetWindow(window, GW_OWNER))
            return Player::Spotify;
        if (base::AsciiEqualNoCase(image, VlcImage))
            return Player::Vlc;
        return std::nullopt;
    }

private:
    // A player has many windows: its image is read once per search.
    const std::string& ImageNameOfCached(DWORD processId)
    {
        for (const auto& [id, name] : images_)
            if (id == processId)
                return name;
        return images_.emplace_back(processId, ImageNameOf(processId)).second;
    }

    std::vector<std::pair<DWORD, std::string>> images_;
};

std::vector<HWND> TopLevelWindows()
{
    std::vector<HWND> windows;
    // Fails only when the callback stops it, which this one never does; what was listed stands.
    EnumWindows(
        [](HWND window, LPARAM list) {
            reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&windows));
    return windows;
}

} // namespace

std::optional<std::string> SongInTitle(Player player, const std::string& title)
{
    switch (player) {
    case Player::Spotify: return SpotifySong(title);
    case Player::Foobar2000: return Foobar2000Song(title);
    case Player::Vlc: return VlcSong(title);
    }
    return std::nullopt;
}

std::optional<PlayingSong> Find()
{
    std::array<std::optional<std::string>, PlayerNames.size()> songs;
    WindowSearch search;
    const DWORD ownProcess = GetCurrentProcessId();
    for (const HWND window : TopLevelWindows()) {
        DWORD processId = 0;
        // 0 for a window gone meanwhile; the program's own windows are no player's.
        if (!GetWindowThreadProcessId(window, &processId) || processId == ownProcess)
            continue;
        wchar_t title[MaxTitleLength + 1] = {};
        // For another process's window this reads the title the system keeps and sends no
        // message; 0 (no title, or the window closed meanwhile) leaves it empty.
        if (GetWindowTextW(window, title, MaxTitleLength + 1) == 0)
            continue;
        const std::optional<Player> player = search.PlayerOf(window, processId);
        if (!player)
            continue;
        std::optional<std::string>& song = songs[static_cast<std::size_t>(*player)];
        if (!song)
            song = SongInTitle(*player, base::WideToUtf8(title));
    }
    for (std::size_t i = 0; i < songs.size(); ++i)
        if (songs[i])
            return PlayingSong{PlayerNames[i], *songs[i]};
    return std::nullopt;
}

} // namespace PlayerTitles
