#include "engine/NowPlayingSources.h"

#include "engine/NowPlaying.h"
#include "engine/PlayerTitles.h"

std::optional<PlayingSong> NowPlayingSources::Ask()
{
    if (NowPlaying::IsPlaying())
        return PlayingSong{"Winamp", NowPlaying::SongTitle()};
    if (std::optional<PlayingSong> session = mediaSession_.Ask(NowPlaying::AnswerTimeoutMs))
        return session;
    return PlayerTitles::Find();
}
