#pragma once
#include "players/PlayingSong.h"

#include <optional>
#include <string>

// Players that show the playing song in their main window's title and publish it nowhere
// else the program can read: Spotify, foobar2000 and VLC. A window counts only when its
// process image or its window class is the player's; a title alone proves nothing, as any
// window may carry any title.
//
// Titles are read from what the system keeps for each window, so a player that has stopped
// answering messages costs nothing.
namespace PlayerTitles {

enum class Player { Spotify, Foobar2000, Vlc };

// The song in the player's main window title (both in UTF-8), or nothing when the title says
// the player is not playing (or is not its main window's).
std::optional<std::string> SongInTitle(Player player, const std::string& title);

// The first player, in the order Spotify, foobar2000, VLC, whose window shows a song.
std::optional<PlayingSong> Find();

} // namespace PlayerTitles
