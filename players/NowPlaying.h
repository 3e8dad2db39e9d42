#pragma once
#include <string>

// The song the Winamp media player is playing, asked from the player's main window (the
// top-level window of class "Winamp v1.x") through the player's own WM_USER messages.
//
// Each message waits at most AnswerTimeoutMs for the player's answer. A player that has
// stopped answering therefore counts as not playing, with an empty title, instead of
// freezing the one thread that runs the tray menu, the timer and the window.
namespace NowPlaying {

constexpr unsigned AnswerTimeoutMs = 1000;

// True when the player's window exists, answers its version query with a non-zero value
// and then answers the playing-state query with 1 (playing; paused and stopped are not).
bool IsPlaying();

// The song from the player's window title (at most 2048 characters, read as Unicode),
// trimmed by TrimWindowTitle, in UTF-8. Empty when there is no player or it does not answer
// the request to bring its title up to date.
std::string SongTitle();

// The song within the player's window title "<number>. <song> - Winamp": everything up to
// and including the first blank goes (nothing when there is no blank), then the last nine
// characters go (nothing when fewer remain).
std::string TrimWindowTitle(const std::string& windowTitle);
std::wstring TrimWindowTitle(const std::wstring& windowTitle);

} // namespace NowPlaying
