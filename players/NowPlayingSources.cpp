#include "players/NowPlayingSources.h"

#include "players/NowPlaying.h"
#include "players/PlayerTitles.h"

std::optional<PlayingSong> NowPlayingSources::Ask()
{
    if (NowPlaying::IsPlaying())
        return PlayingSong{"Winamp", NowPlaying::SongTitle()};
    if (std::optional<PlayingSong> session = mediaSession_.Ask(NowPlaying::AnswerTimeoutMs))
        return session;
    return PlayerTitles::Find();
}
