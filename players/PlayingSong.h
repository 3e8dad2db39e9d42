#pragma once
#include <string>

// What a source of the playing song answers: the player, by the name the tray menu shows
// and the signature's heading names ("Winamp", "Spotify", ...), and the song.
struct PlayingSong {
    std::string player;
    std::string song;
    bool operator==(const PlayingSong&) const = default;
};
