#include "players/NowPlaying.h"
#include "tests/player/FakePlayerProcess.h"

#include <gtest/gtest.h>

#include <chrono>
#include <memory>

namespace {

TEST(TrimWindowTitle, DropsStartUpToFirstBlankAndTheLastNineCharacters)
{
    struct Case { const char* title; const char* song; };
    const Case cases[] = {
        {"12. Artist - Song - Winamp", "Artist - Song"},
        {"1.  Two blanks - Winamp", " Two blanks"}, // only the first blank goes
        {"Song_Name_-_Winamp", "Song_Name"},        // no blank: the start stays, the tail goes
        {"3. 123456789", ""},                      // exactly nine left: all go
        {"3. 12345678", "12345678"},               // fewer than nine: nothing goes
        {"3. ", ""},
        {" - Winamp", "- Winamp"},                  // eight left after the first blank
        {"", ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(NowPlaying::TrimWindowTitle(c.title), c.song) << '"' << c.title << '"';
}

// These start FakePlayer.exe, a real process with a real top-level window of the player's
// class, and talk to it with real window messages.
class NowPlayingWithRealPlayerWindow : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_EQ(FakePlayerProcess::PlayerWindow(), nullptr) << "a player window is left over";
    }
    void StartPlayer(const std::string& arguments)
    {
        player_ = std::make_unique<FakePlayerProcess>(arguments);
        ASSERT_NE(FakePlayerProcess::PlayerWindow(), nullptr);
    }

private:
    std::unique_ptr<FakePlayerProcess> player_;
};

TEST_F(NowPlayingWithRealPlayerWindow, WithoutPlayerNothingIsPlayingAndTitleIsEmpty)
{
    EXPECT_FALSE(NowPlaying::IsPlaying());
    EXPECT_EQ(NowPlaying::SongTitle(), "");
}

TEST_F(NowPlayingWithRealPlayerWindow, PlayingOnlyWhenVersionIsNonZeroAndStateIsOne)
{
    struct Case { const char* arguments; bool playing; };
    const Case cases[] = {
        {"--state playing", true},
        {"--state stopped", false},
        {"--state paused", false},            // answers 3
        {"--state playing --version 0", false}, // not the player: the state is not asked
    };
    for (const Case& c : cases) {
        FakePlayerProcess player(std::string(R"(--title "1. Song - Winamp" )") + c.arguments);
        EXPECT_EQ(NowPlaying::IsPlaying(), c.playing) << c.arguments;
    }
}

// The player brings its window title up to date only when asked to, so the song read is the
// current one only when the request comes before the title is read.
TEST_F(NowPlayingWithRealPlayerWindow, SongTitleIsTheRefreshedWindowTitleTrimmed)
{
    StartPlayer(R"(--title "12. Artist - Song - Winamp" --stale-title "11. Earlier - Song - Winamp" --state playing)");
    EXPECT_EQ(NowPlaying::SongTitle(), "Artist - Song");
}

TEST_F(NowPlayingWithRealPlayerWindow, SongTitleReadsAtMost2048CharactersOfTheWindowTitle)
{
    const std::string song(2997, 'x');
    StartPlayer("--title \"1. " + song + "\" --state playing");
    // 2048 characters read: "1. " and 2045 of the song, then the last nine go.
    EXPECT_EQ(NowPlaying::SongTitle(), std::string(2045 - 9, 'x'));
}

// A player that never answers must not hold the caller: no answer counts as none. The bound
// is generous on purpose; it only tells a bounded wait from an endless one.
TEST_F(NowPlayingWithRealPlayerWindow, HungPlayerIsNotPlayingAndHasNoTitleWithoutBlocking)
{
    StartPlayer(R"(--title "12. Artist - Song - Winamp" --state hung)");
    using Clock = std::chrono::steady_clock;
    constexpr auto bound = std::chrono::seconds(4);

    auto start = Clock::now();
    EXPECT_FALSE(NowPlaying::IsPlaying());
    EXPECT_LT(Clock::now() - start, bound);

    start = Clock::now();
    EXPECT_EQ(NowPlaying::SongTitle(), "");
    EXPECT_LT(Clock::now() - start, bound);
}

} // namespace
