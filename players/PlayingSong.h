#pragma once
#include <string>

// What a source of the playing song answers: the player, by the name the tray menu shows
// and the signature's heading names ("Winamp", "Spotify", ...), in the ANSI code page, and
// the song in UTF-8: a title may hold characters the code page lacks, which a signature
// file in UTF-8 or UTF-16 keeps.
struct PlayingSong {
    std::string player;
    std::string song;
    bool operator==(const PlayingSong&) const = default;
};
