#include "players/NowPlaying.h"

#include "base/CodePages.h"

#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <optional>

namespace NowPlaying {

namespace {

constexpr char PlayerWindowClass[] = "Winamp v1.x";

// The player's message interface: WM_USER with the command number in lParam.
constexpr LPARAM VersionCommand = 0;
constexpr LPARAM PlayingStateCommand = 104;
constexpr LPARAM UpdateTitleCommand = 243;
constexpr std::int32_t PlayingState = 1;

constexpr int MaxTitleLength = 2048;
constexpr std::size_t TitleTailLength = 9; // " - Winamp"

HWND FindPlayerWindow() noexcept
{
    return FindWindowA(PlayerWindowClass, nullptr);
}

// The player's 32-bit answer to one command, or nothing when it did not answer in time or
// its window is gone. SMTO_ABORTIFHUNG gives up at once on a window the system already
// counts as hung; the timeout bounds the wait before the system notices.
std::optional<std::int32_t> Ask(HWND player, WPARAM wParam, LPARAM command) noexcept
{
    DWORD_PTR answer = 0;
    if (!SendMessageTimeoutA(player, WM_USER, wParam, command, SMTO_NORMAL | SMTO_ABORTIFHUNG,
                             AnswerTimeoutMs, &answer))
        return std::nullopt;
    return static_cast<std::int32_t>(answer);
}

template <typename Text>
Text Trimmed(Text song)
{
    if (const std::size_t blank = song.find(' '); blank != Text::npos)
        song.erase(0, blank + 1);
    if (song.size() >= TitleTailLength)
        song.erase(song.size() - TitleTailLength);
    return song;
}

} // namespace

bool IsPlaying()
{
    const HWND player = FindPlayerWindow();
    if (!player)
        return false;
    if (Ask(player, 0, VersionCommand).value_or(0) == 0)
        return false;
    return Ask(player, PlayingStateCommand, PlayingStateCommand).value_or(0) == PlayingState;
}

std::string SongTitle()
{
    const HWND player = FindPlayerWindow();
    if (!player)
        return {};
    // The answer itself means nothing; no answer means a player we must not wait for.
    if (!Ask(player, 0, UpdateTitleCommand))
        return {};
    wchar_t title[MaxTitleLength + 1] = {};
    // For another process's window this reads the title the system keeps and sends the
    // player no message, so it cannot block on a player that stops answering just now.
    // A result of 0 (no title, or the window closed meanwhile) leaves the buffer empty.
    GetWindowTextW(player, title, MaxTitleLength + 1);
    // Trimmed by characters, before a character beyond ASCII becomes several bytes.
    return base::WideToUtf8(TrimWindowTitle(std::wstring(title)));
}

std::string TrimWindowTitle(const std::string& windowTitle)
{
    return Trimmed(windowTitle);
}

std::wstring TrimWindowTitle(const std::wstring& windowTitle)
{
    return Trimmed(windowTitle);
}

} // namespace NowPlaying
