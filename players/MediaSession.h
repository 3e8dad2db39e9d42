#pragma once
#include "base/Handles.h"
#include "players/PlayingSong.h"

#include <memory>
#include <optional>

// The system's media session, asked from the thread that runs the windows without ever
// holding it longer than the caller allows: a worker thread of its own, made at the first
// question, reads the session (MediaSessionReader) and the caller waits for it with a
// timeout. A question the worker has not answered in time is not asked again until it has;
// meanwhile the session counts as not playing. Where the system has no media session the
// first question finds out, and every later one costs nothing.
class MediaSession {
public:
    MediaSession();
    // Stops the worker, which leaves its waits at once.
    ~MediaSession();
    MediaSession(const MediaSession&) = delete;
    MediaSession& operator=(const MediaSession&) = delete;

    // The playing song, or nothing when no session plays, when the system has no media
    // session, or when it has not answered within timeoutMs.
    std::optional<PlayingSong> Ask(DWORD timeoutMs);

private:
    struct Exchange;
    static DWORD WINAPI Work(void* exchange);

    std::shared_ptr<Exchange> exchange_;
    base::KernelHandle worker_;
    bool questionOpen_ = false;
};
