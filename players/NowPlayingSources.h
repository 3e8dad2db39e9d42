#pragma once
#include "players/MediaSession.h"
#include "players/PlayingSong.h"

#include <optional>

// Where the playing song comes from, asked in this order; the first source that plays wins:
//   1. Winamp's window interface (NowPlaying), as "Winamp";
//   2. the system's media session, named after the session's program;
//   3. the window titles of Spotify, foobar2000 and VLC (PlayerTitles).
// One question asks them all once, e.g. once each time the tray menu opens. No source holds
// the caller longer than NowPlaying::AnswerTimeoutMs, however its player hangs.
class NowPlayingSources {
public:
    // The playing player and its song, or nothing when no source plays.
    std::optional<PlayingSong> Ask();

private:
    MediaSession mediaSession_;
};
