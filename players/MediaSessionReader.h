#pragma once
#include "players/PlayingSong.h"

#include <windows.h>

#include <memory>
#include <optional>
#include <string>

// Reads the song of the system's media session (Windows 10 1809 and later): the current
// session's, while its playback status is Playing. Everything of the Windows Runtime is
// loaded when the reader is made, from combase.dll, so the program still starts where it is
// missing. The reader lives on one thread of the multithreaded apartment, which it joins and
// leaves itself; the system's asynchronous calls complete on other threads of it.
class MediaSessionReader {
public:
    MediaSessionReader();
    ~MediaSessionReader();
    MediaSessionReader(const MediaSessionReader&) = delete;
    MediaSessionReader& operator=(const MediaSessionReader&) = delete;

    // False when the system has no media session: no combase, no runtime, or the class is
    // not registered (Wine, Windows before 10 1809). Nothing is worth asking again then.
    bool Usable() const noexcept;

    // The song, or nothing when no session plays, when it has no title, or when the system
    // has not answered by timeoutMs or before stop is set. An unanswered call is cancelled.
    std::optional<PlayingSong> Read(HANDLE stop, DWORD timeoutMs);

private:
    struct Runtime;
    std::unique_ptr<Runtime> runtime_;
};

// The player's name from the session's application id: the file name without ".exe" for a
// desktop program ("Spotify" for "Spotify.exe"), else "Media player".
std::string PlayerNameOfApp(const std::string& appId);

// "Artist - Title", the title alone without an artist, nothing without a title (UTF-8).
std::optional<std::string> SongOf(const std::string& artist, const std::string& title);
