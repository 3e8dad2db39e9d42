// The sources of the playing song beside Winamp's: the system's media session, met through a
// stand-in DLL registered for its class, and the players known by their window titles, met
// through FakePlayer.exe copied under their process images or showing their window classes.
#include "players/MediaSessionInterfaces.h"
#include "players/MediaSessionReader.h"
#include "players/NowPlayingSources.h"
#include "players/PlayerTitles.h"
#include "tests/player/FakeMediaSessionRegistration.h"
#include "tests/player/FakePlayerProcess.h"
#include "base/CodePages.h"
#include "engine/SignatureWriter.h"
#include "tests/common/TestFiles.h"
#include "tests/engine/EngineTestFiles.h"

#include <gtest/gtest.h>

#include <wincrypt.h>

#include <array>
#include <chrono>
#include <cstdio>
#include <memory>
#include <optional>
#include <ostream>
#include <stdexcept>
#include <string>
#include <vector>

void PrintTo(const PlayingSong& playing, std::ostream* out)
{
    *out << playing.player << ": \"" << playing.song << '"';
}

namespace {

using PlayerTitles::Player;
using Clock = std::chrono::steady_clock;
// A menu must open "within about a second"; the margin is for a busy test machine.
constexpr auto AboutASecond = std::chrono::milliseconds(2000);

TEST(PlayerTitles, SongInTitleFollowsEachPlayersTitleRule)
{
    struct Case { Player player; const char* title; std::optional<std::string> song; };
    const Case cases[] = {
        {Player::Spotify, "Artist - Song", "Artist - Song"},
        {Player::Spotify, "Spotify", std::nullopt},
        {Player::Spotify, "Spotify Free", std::nullopt},
        {Player::Spotify, "Spotify Premium", std::nullopt},
        {Player::Spotify, "Advertisement", std::nullopt},
        {Player::Foobar2000, "Artist - Song  [foobar2000 v1.6.16]", "Artist - Song"},
        {Player::Foobar2000, "foobar2000 - Intro [foobar2000]", "foobar2000 - Intro"}, // a song of that name
        {Player::Foobar2000, "foobar2000 v2.1 beta 3", std::nullopt},
        {Player::Foobar2000, "foobar2000", std::nullopt},
        {Player::Foobar2000, "Song [live] [foobar2000]", "Song [live]"}, // only its own tail goes
        {Player::Foobar2000, "foobar2000 v1.6.16", std::nullopt},
        {Player::Foobar2000, " [foobar2000]", std::nullopt},
        {Player::Vlc, "A - B - VLC media player", "A - B"},
        {Player::Vlc, "VLC media player", std::nullopt},
        {Player::Vlc, "Preferences", std::nullopt}, // another of VLC's windows
    };
    for (const Case& c : cases)
        EXPECT_EQ(PlayerTitles::SongInTitle(c.player, c.title), c.song) << '"' << c.title << '"';
}

TEST(MediaSessionReader, NamesThePlayerByItsProgramAndTheSongByArtistAndTitle)
{
    struct NameCase { const char* appId; const char* player; };
    const NameCase names[] = {
        {"Spotify.exe", "Spotify"},
        {"C:\\Program Files\\foobar2000\\foobar2000.EXE", "foobar2000"},
        {"Microsoft.ZuneMusic_8wekyb3d8bbwe!Microsoft.ZuneMusic", "Media player"},
        {"308046B0AF4A39CB", "Media player"},
        {".exe", "Media player"},
        {"", "Media player"},
    };
    for (const NameCase& c : names)
        EXPECT_EQ(PlayerNameOfApp(c.appId), c.player) << c.appId;

    EXPECT_EQ(SongOf("Artist", "Title"), "Artist - Title");
    EXPECT_EQ(SongOf("", "Title"), "Title");
    EXPECT_EQ(SongOf("Artist", ""), std::nullopt); // nothing to write
}

// ---- The generic interfaces' IDs, derived again by Windows's rule ----

std::string Text(const GUID& id)
{
    char text[39];
    std::snprintf(text, sizeof text, "{%08lx-%04x-%04x-%02x%02x-%02x%02x%02x%02x%02x%02x}",
                  static_cast<unsigned long>(id.Data1), id.Data2, id.Data3, id.Data4[0], id.Data4[1], id.Data4[2],
                  id.Data4[3], id.Data4[4], id.Data4[5], id.Data4[6], id.Data4[7]);
    return text;
}

std::array<BYTE, 20> Sha1(const std::vector<BYTE>& bytes)
{
    HCRYPTPROV provider = 0;
    if (!CryptAcquireContextA(&provider, nullptr, nullptr, PROV_RSA_FULL, CRYPT_VERIFYCONTEXT))
        throw std::runtime_error("no cryptographic provider");
    HCRYPTHASH hash = 0;
    std::array<BYTE, 20> digest{};
    DWORD size = digest.size();
    const bool done = CryptCreateHash(provider, CALG_SHA1, 0, 0, &hash) &&
                      CryptHashData(hash, bytes.data(), static_cast<DWORD>(bytes.size()), 0) &&
                      CryptGetHashParam(hash, HP_HASHVAL, digest.data(), &size, 0);
    if (hash)
        CryptDestroyHash(hash);
    CryptReleaseContext(provider, 0);
    if (!done)
        throw std::runtime_error("cannot compute SHA-1");
    return digest;
}

// A generic interface's ID for its type signature: SHA-1 over the Windows Runtime's namespace
// ID and the signature, its first 16 bytes read big-endian and marked as a version 5 UUID.
GUID GenericInterfaceId(const std::string& signature)
{
    std::vector<BYTE> bytes = {0x11, 0xf4, 0x7a, 0xd5, 0x7b, 0x73, 0x42, 0xc0,
                               0xab, 0xae, 0x87, 0x8b, 0x1e, 0x16, 0xad, 0xee};
    bytes.insert(bytes.end(), signature.begin(), signature.end());
    std::array<BYTE, 20> h = Sha1(bytes);
    h[6] = static_cast<BYTE>((h[6] & 0x0f) | 0x50);
    h[8] = static_cast<BYTE>((h[8] & 0x3f) | 0x80);
    GUID id{};
    id.Data1 = (static_cast<unsigned long>(h[0]) << 24) | (h[1] << 16) | (h[2] << 8) | h[3];
    id.Data2 = static_cast<unsigned short>((h[4] << 8) | h[5]);
    id.Data3 = static_cast<unsigned short>((h[6] << 8) | h[7]);
    for (int i = 0; i < 8; ++i)
        id.Data4[i] = h[8 + i];
    return id;
}

TEST(MediaSessionInterfaces, GenericIdsAreDerivedFromTheirTypesSignatures)
{
    using namespace mediasession;
    const auto signature = [](const GUID& generic, const std::string& argument) {
        return "pinterface(" + Text(generic) + ";" + argument + ")";
    };
    // The rule itself, against an ID the compiler's own headers carry: IAsyncOperation<bool>.
    ASSERT_EQ(Text(GenericInterfaceId(signature(IID_IAsyncOperationGeneric, "b1"))),
              "{cdb5efb3-5788-509d-9be1-71ccb8a3362a}");

    const std::string manager =
        "rc(Windows.Media.Control.GlobalSystemMediaTransportControlsSessionManager;" + Text(IID_IManager) + ")";
    const std::string properties =
        "rc(Windows.Media.Control.GlobalSystemMediaTransportControlsSessionMediaProperties;" +
        Text(IID_IMediaProperties) + ")";
    struct Case { const GUID& declared; const GUID& generic; const std::string& argument; };
    const Case cases[] = {
        {IID_IAsyncOperationOfManager, IID_IAsyncOperationGeneric, manager},
        {IID_IAsyncOperationCompletedHandlerOfManager, IID_IAsyncOperationCompletedHandlerGeneric, manager},
        {IID_IAsyncOperationOfMediaProperties, IID_IAsyncOperationGeneric, properties},
        {IID_IAsyncOperationCompletedHandlerOfMediaProperties, IID_IAsyncOperationCompletedHandlerGeneric, properties},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Text(c.declared), Text(GenericInterfaceId(signature(c.generic, c.argument)))) << c.argument;
}

// ---- Real windows and a real registered class ----

// A stand-in player, by the name its process runs under (empty: FakePlayer.exe), the class of
// its window and its window's title.
struct StandIn {
    const char* image;
    const char* windowClass;
    const char* title;

    std::unique_ptr<FakePlayerProcess> Start() const
    {
        return std::make_unique<FakePlayerProcess>(
            std::string("--class \"") + windowClass + "\" --title \"" + title + "\"", image);
    }
};

constexpr const char* SpotifyClass = "Chrome_WidgetWin_0";
constexpr const char* Foobar2000Class = "{97E27FAA-C0B3-4b8e-A693-ED7881E99FC1}";
constexpr const char* Foobar2000ColumnsClass = "{E7076D1C-A7BF-4f39-B771-BCBE88F2A2A8}";
constexpr const char* VlcClass = "Qt5QWindowIcon";
const std::string Winamp = R"(--title "12. Artist - Song - Winamp" --state )";

class NowPlayingSourcesWithRealPlayers : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_FALSE(FakeMediaSessionRegistration::Registered()) << "a media session registration is left over";
        for (const char* windowClass : {SpotifyClass, Foobar2000Class, Foobar2000ColumnsClass, VlcClass, "Winamp v1.x"})
            ASSERT_EQ(FindWindowA(windowClass, nullptr), nullptr) << "a player window is left over: " << windowClass;
    }

    // Asks once, checking that the answer came within about a second.
    std::optional<PlayingSong> AskTimed()
    {
        const auto start = Clock::now();
        std::optional<PlayingSong> answer = sources->Ask();
        EXPECT_LT(Clock::now() - start, AboutASecond);
        return answer;
    }

    std::unique_ptr<NowPlayingSources> sources = std::make_unique<NowPlayingSources>();
};

TEST_F(NowPlayingSourcesWithRealPlayers, PlayersAreKnownByTheirImageOrWindowClassNeverByTitleAlone)
{
    struct Case { const char* name; StandIn player; std::optional<PlayingSong> answer; };
    const Case cases[] = {
        {"Spotify", {"Spotify.exe", SpotifyClass, "Artist - Song"}, PlayingSong{"Spotify", "Artist - Song"}},
        {"another program's title", {"", SpotifyClass, "Artist - Song"}, std::nullopt},
        {"foobar2000", {"", Foobar2000Class, "Song [foobar2000]"}, PlayingSong{"foobar2000", "Song"}},
        {"foobar2000 columns", {"", Foobar2000ColumnsClass, "Song [foobar2000]"}, PlayingSong{"foobar2000", "Song"}},
        {"VLC", {"vlc.exe", VlcClass, "Song - VLC media player"}, PlayingSong{"VLC", "Song"}},
        {"VLC's title elsewhere", {"", VlcClass, "Song - VLC media player"}, std::nullopt},
    };
    for (const Case& c : cases) {
        const auto player = c.player.Start();
        EXPECT_EQ(AskTimed(), c.answer) << c.name;
    }
}

TEST_F(NowPlayingSourcesWithRealPlayers, MediaSessionAnswersWhilePlayingAndOtherwiseGivesWay)
{
    const auto vlc = StandIn{"vlc.exe", VlcClass, "Title - VLC media player"}.Start();
    const std::optional<PlayingSong> vlcPlaying = PlayingSong{"VLC", "Title"};
    struct Case { const char* answer; const char* appId; const char* artist; std::optional<PlayingSong> expected; };
    const Case cases[] = {
        {"playing", "Spotify.exe", "Artist", PlayingSong{"Spotify", "Artist - Title"}},
        {"playing", "Microsoft.ZuneMusic_8wekyb3d8bbwe!Microsoft.ZuneMusic", "", PlayingSong{"Media player", "Title"}},
        {"paused", "Spotify.exe", "Artist", vlcPlaying},
        {"no session", "Spotify.exe", "Artist", vlcPlaying},
        {"never completes", "Spotify.exe", "Artist", vlcPlaying},
    };
    for (const Case& c : cases) {
        FakeMediaSessionRegistration session(c.answer, c.appId, c.artist, "Title");
        sources = std::make_unique<NowPlayingSources>();
        EXPECT_EQ(AskTimed(), c.expected) << c.answer << ", " << c.appId;
        // Asked again, the session answers the same; one that hangs costs nothing the second time.
        EXPECT_EQ(AskTimed(), c.expected) << c.answer << ", " << c.appId << ", asked again";
        sources.reset(); // the worker ends before its class goes
    }
}

TEST_F(NowPlayingSourcesWithRealPlayers, AHungMediaSessionIsAskedAgainOnceItHasAnswered)
{
    FakeMediaSessionRegistration session("never completes", "Spotify.exe", "Artist", "Title");
    EXPECT_EQ(AskTimed(), std::nullopt);
    session.Answer("playing");
    // The first question's bounded wait ends, and the next question reaches the session.
    const auto giveUp = Clock::now() + std::chrono::seconds(10);
    std::optional<PlayingSong> answer;
    while (!answer && Clock::now() < giveUp)
        answer = AskTimed();
    EXPECT_EQ(answer, (PlayingSong{"Spotify", "Artist - Title"}));
}

TEST_F(NowPlayingSourcesWithRealPlayers, WithoutTheClassTheSessionIsNotAskedAgainInTheRun)
{
    const auto vlc = StandIn{"vlc.exe", VlcClass, "Title - VLC media player"}.Start();
    EXPECT_EQ(AskTimed(), (PlayingSong{"VLC", "Title"}));
    // Registered only now: the first question found no class, and none is looked for again.
    FakeMediaSessionRegistration session("playing", "Spotify.exe", "Artist", "Title");
    EXPECT_EQ(AskTimed(), (PlayingSong{"VLC", "Title"}));
    sources = std::make_unique<NowPlayingSources>();
    EXPECT_EQ(AskTimed(), (PlayingSong{"Spotify", "Artist - Title"})) << "a new run looks again";
    sources.reset();
}

TEST_F(NowPlayingSourcesWithRealPlayers, WinampComesFirstThenTheMediaSessionThenTheTitles)
{
    const auto spotify = StandIn{"Spotify.exe", SpotifyClass, "Window - Song"}.Start();
    FakeMediaSessionRegistration session("playing", "chrome.exe", "Session", "Song");
    {
        FakePlayerProcess winamp(Winamp + "playing");
        EXPECT_EQ(AskTimed(), (PlayingSong{"Winamp", "Artist - Song"}));
    }
    {
        // Winamp not playing, or hung, gives way within its own bound.
        FakePlayerProcess winamp(Winamp + "hung");
        EXPECT_EQ(AskTimed(), (PlayingSong{"chrome", "Session - Song"}));
    }
    session.Answer("paused");
    EXPECT_EQ(AskTimed(), (PlayingSong{"Spotify", "Window - Song"}));
    sources.reset();
}

} // namespace

// A title beyond the ANSI code page, read from a stand-in player's window as Unicode, goes into
// each signature file as exactly as its encoding and format can hold it: whole in UTF-8 and
// UTF-16, as character references in HTML in the code page, as \u escapes in RTF, and with
// "?" for each character an ANSI text file cannot hold.
TEST_F(NowPlayingSourcesWithRealPlayers, ATitleBeyondTheCodePageGoesWholeIntoFilesThatCanHoldIt)
{
    const std::string song = "\xD0\x9C\xD1\x83\xD0\xBC\xD0\xB8\xD0\xB9 \xD0\xA2\xD1\x80\xD0\xBE\xD0\xBB\xD0\xBB\xD1\x8C - "
                             "\xD0\x92\xD0\xBB\xD0\xB0\xD0\xB4\xD0\xB8\xD0\xB2\xD0\xBE\xD1\x81\xD1\x82\xD0\xBE\xD0\xBA 2000";
    std::string hex;
    for (const char byte : "1. " + song + " - Winamp") {
        char digits[3];
        std::snprintf(digits, sizeof digits, "%02x", static_cast<unsigned char>(byte));
        hex += digits;
    }
    FakePlayerProcess player("--title-utf8 " + hex + " --state playing");
    const std::optional<PlayingSong> playing = AskTimed();
    ASSERT_EQ(playing, (PlayingSong{"Winamp", song}));

    const std::wstring wide = L"Winamp is currently playing:\r\n" + base::ToWide(song, CP_UTF8);
    std::string utf16 = "\xFF\xFE", references, escapes;
    for (const wchar_t c : wide) {
        utf16 += {static_cast<char>(c & 0xFF), static_cast<char>(c >> 8)};
        const bool ascii = c < 0x80;
        references += ascii ? std::string(1, static_cast<char>(c)) : "&#" + std::to_string(c) + ";";
        escapes += ascii ? std::string(1, static_cast<char>(c)) : "\\u" + std::to_string(c) + "?";
    }
    const auto replace = [](std::string text, const std::string& from, const std::string& to) {
        return text.replace(text.find(from), from.size(), to);
    };
    TempDir dir;
    const struct {
        const char* name;
        std::string before, after;
    } files[] = {
        {"utf8.txt", "caf\xC3\xA9", "Winamp is currently playing:\r\n" + song},
        {"utf8.htm", "<meta charset=\"windows-1252\">old",
         "<meta charset=\"windows-1252\">" + replace(references, "\r\n", "<br>")},
        {"utf8.rtf", "{\\rtf1 old}",
         "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\fswiss\\fcharset0 Arial;}}\r\n" +
             replace(escapes, "\r\n", "\\par\r\n") + "}"},
        {"utf16.txt", "\xFF\xFE", utf16},
        {"ansi.txt", "caf\xE9",
         "Winamp is currently playing:\r\n" + std::string(5, '?') + " " + std::string(6, '?') + " - " +
             std::string(11, '?') + " 2000"},
    };
    for (const auto& file : files)
        WriteBytes(dir.File(file.name), file.before);
    // The signature alone: no delimiter, static text or balloon.
    struct SongSettings : WriterSettings {
        std::string path;
        std::string SignatureFilePath() const override { return path; }
        bool DelimiterOn() const override { return false; }
        bool StaticTextOn() const override { return false; }
        bool StaticTextAbove() const override { return false; }
        std::string StaticText() const override { return {}; }
        bool ChangeBalloonOn() const override { return false; }
        std::vector<std::string> DatabaseList() const override { return {}; }
        std::vector<std::string> ProtectedFiles() const override { return {}; }
    } settings;
    struct CountingSink : ReportSink {
        int reports = 0;
        void ReportError(const std::string&, const std::string&, const std::string&) override { ++reports; }
        void Notice(const std::string&, const std::string&) override { ++reports; }
        bool Ask(const std::string&) override { return ++reports, false; }
    } sink;
    SignatureDatabase database;
    SignatureWriter writer(database, settings, sink);
    for (const char* target : {"utf8.txt", "utf16.txt", "ansi.txt"}) {
        settings.path = dir.File(target);
        writer.NowPlaying(playing->player, playing->song);
    }
    for (const auto& file : files)
        EXPECT_EQ(ReadBytes(dir.File(file.name)), file.after) << file.name;
    EXPECT_EQ(sink.reports, 0);
}
