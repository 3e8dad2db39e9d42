// The tray menu of the real program. The menu is opened as the shell opens it, with the icon's
// callback message carrying a right press, posted to the process's tray icon window; items are
// chosen with the keys a user would press, and what they did is read from files, the registry
// and the windows. A stand-in media player (FakePlayer.exe) plays the part of Winamp, and under
// other names or window classes those of Spotify, foobar2000 and VLC; a registered stand-in
// DLL (FakeMediaSession.dll) plays the system's media session.
#include "tests/vqsig/ConsoleRun.h"
#include "tests/e2e/ClipboardContent.h"
#include "tests/e2e/ProgramFixture.h"
#include "tests/e2e/TrayMenuItems.h"
#include "tests/common/MadeUpMailClients.h"
#include "tests/common/ImmutableFile.h"
#include "tests/common/SignatureEncodings.h"
#include "tests/common/StandardUser.h"
#include "tests/common/WineTray.h"
#include "tests/player/FakeMediaSessionRegistration.h"
#include "tests/player/FakePlayerProcess.h"
#include "base/SystemError.h"

#include <algorithm>
#include <chrono>
#include <cstring>
#include <functional>
#include <map>
#include <optional>
#include <ostream>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

using namespace e2e;

namespace {

constexpr UINT TrayCallbackMessage = 0x800;
// The program has one tray icon, and a process's first icon is known to the shell as 1.
constexpr WPARAM IconIdentifier = 1;
constexpr const char* TrayHandlerClass = "VarnquillTrayIconHandler";
constexpr const char* MenuClass = "#32768";


const std::string PlayingTitle = "12. Artist - Song - Winamp";
const std::string Heading = "Winamp is currently playing:";

// A database of fixed 513-byte records, each holding its text from byte 1 on and a NUL.
std::string Database(const std::vector<std::string>& texts)
{
    std::string bytes;
    for (const std::string& text : texts) {
        std::string record(513, '\0');
        record.replace(1, text.size(), text);
        bytes += record;
    }
    return bytes;
}

// Wakes a wait whenever a file of the directory is created or written.
class DirectoryWrites {
public:
    explicit DirectoryWrites(const std::string& directory)
        : handle_(FindFirstChangeNotificationA(directory.c_str(), FALSE,
                                               FILE_NOTIFY_CHANGE_FILE_NAME | FILE_NOTIFY_CHANGE_SIZE |
                                                   FILE_NOTIFY_CHANGE_LAST_WRITE))
    {
        if (handle_ == INVALID_HANDLE_VALUE)
            throw std::runtime_error("cannot watch " + directory + ": " + base::SystemErrorText(GetLastError()));
    }
    ~DirectoryWrites() { FindCloseChangeNotification(handle_); }
    DirectoryWrites(const DirectoryWrites&) = delete;
    DirectoryWrites& operator=(const DirectoryWrites&) = delete;

    bool Until(const std::function<bool()>& condition, DWORD timeoutMs)
    {
        return EventWait().Until(condition, timeoutMs, handle_, [this] { FindNextChangeNotification(handle_); });
    }

private:
    HANDLE handle_;
};

// The pixels of a part of the screen, top row first.
struct ScreenPicture {
    LONG width = 0;
    LONG height = 0;
    std::vector<DWORD> pixels;
    bool operator==(const ScreenPicture&) const = default;
};

ScreenPicture PictureOf(HWND window)
{
    RECT place{};
    if (!GetWindowRect(window, &place))
        throw std::runtime_error("cannot find the window on the screen");
    ScreenPicture picture;
    picture.width = place.right - place.left;
    picture.height = place.bottom - place.top;
    picture.pixels.resize(static_cast<std::size_t>(picture.width) * picture.height);

    const HDC screen = GetDC(nullptr);
    if (!screen)
        throw std::runtime_error("cannot draw from the screen");
    const HDC memory = CreateCompatibleDC(screen);
    const HBITMAP bitmap = CreateCompatibleBitmap(screen, picture.width, picture.height);
    const HGDIOBJ previous = SelectObject(memory, bitmap);
    const bool copied = BitBlt(memory, 0, 0, picture.width, picture.height, screen, place.left, place.top, SRCCOPY);
    SelectObject(memory, previous);
    BITMAPINFO format{};
    format.bmiHeader.biSize = sizeof format.bmiHeader;
    format.bmiHeader.biWidth = picture.width;
    format.bmiHeader.biHeight = -picture.height;
    format.bmiHeader.biPlanes = 1;
    format.bmiHeader.biBitCount = 32;
    format.bmiHeader.biCompression = BI_RGB;
    const int rows = GetDIBits(memory, bitmap, 0, static_cast<UINT>(picture.height), picture.pixels.data(),
                               &format, DIB_RGB_COLORS);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    if (!copied || rows != picture.height)
        throw std::runtime_error("cannot copy the window's pixels from the screen");
    return picture;
}

// The picture of the menu the tray menu should be, drawn by this process: the player's
// submenu ("Winamp" unless another player plays, greyed unless enabled), "Change signature",
// "Copy signature", "Restore" in bold, "Exit", opened where the cursor is, as the program opens its own.
ScreenPicture PictureOfExpectedMenu(bool winampEnabled, const char* playerCaption = "Winamp")
{
    toolkit::MenuHandle submenu(CreatePopupMenu());
    toolkit::MenuHandle menu(CreatePopupMenu());
    if (!submenu || !menu || !AppendMenuA(submenu.Get(), MF_STRING, 1, "Set song as signature") ||
        !AppendMenuA(menu.Get(), MF_POPUP | MF_STRING | (winampEnabled ? MF_ENABLED : MF_GRAYED),
                     reinterpret_cast<UINT_PTR>(submenu.Release()), playerCaption) ||
        !AppendMenuA(menu.Get(), MF_STRING, 2, "Change signature") ||
        !AppendMenuA(menu.Get(), MF_STRING, 5, "Copy signature") ||
        !AppendMenuA(menu.Get(), MF_STRING, 3, "Restore") || !AppendMenuA(menu.Get(), MF_STRING, 4, "Exit") ||
        !SetMenuDefaultItem(menu.Get(), 3, TRUE))
        throw std::runtime_error("cannot build the expected menu");

    toolkit::WindowHandle owner(CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                                                GetModuleHandleA(nullptr), nullptr));
    if (!owner)
        throw std::runtime_error("cannot create the expected menu's owner");
    POINT at{};
    GetCursorPos(&at); // the program read the same point; (0, 0) when unreadable, for both

    // The menu is drawn before its loop first takes messages, but it reaches the screen through
    // the display's connection when it does, and a busy display may show it moving into place.
    // The picture counts once two readings a timer period apart agree.
    static std::optional<ScreenPicture> taken;
    static std::optional<ScreenPicture> previous;
    static int readingsLeft;
    static std::string failure;
    taken.reset();
    previous.reset();
    readingsLeft = 100;
    failure.clear();
    const UINT_PTR timer = SetTimer(nullptr, 0, 50, [](HWND, UINT, UINT_PTR id, DWORD) {
        try {
            const HWND shown = FindWindowA(MAKEINTATOM(0x8000), nullptr);
            if (!shown)
                throw std::runtime_error("no menu window");
            ScreenPicture reading = PictureOf(shown);
            if (previous == reading)
                taken = std::move(reading);
            else if (--readingsLeft > 0)
                previous = std::move(reading);
            else
                failure = "it never stood still";
        } catch (const std::exception& error) {
            failure = error.what();
        }
        if (taken || !failure.empty()) {
            KillTimer(nullptr, id);
            EndMenu();
        }
    });
    if (!timer)
        throw std::runtime_error("cannot start the timer that reads the expected menu");
    TrackPopupMenuEx(menu.Get(), TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_LEFTALIGN | TPM_TOPALIGN, at.x, at.y,
                     owner.Get(), nullptr);
    if (!taken)
        throw std::runtime_error("the expected menu could not be read: " + failure);
    return *taken;
}

class TrayMenu : public RealProgram {
protected:
    static constexpr DWORD RecheckMs = 50;

    // A mouse message of the icon, as the shell sends it.
    void NotifyIcon(UINT mouseMessage)
    {
        const HWND handler = TopLevelWindowOf(program->ProcessId(), TrayHandlerClass);
        ASSERT_NE(handler, nullptr) << "the program has no tray icon window";
        ASSERT_TRUE(PostMessageA(handler, TrayCallbackMessage, IconIdentifier, mouseMessage));
    }

    // A menu window of the program on the screen, or null.
    HWND ShownMenu() const
    {
        for (const HWND window : VisibleTopLevelWindowsOf(program->ProcessId()))
            if (ClassOf(window) == MenuClass)
                return window;
        return nullptr;
    }

    // Right-presses the icon and answers the menu once it shows, or null.
    HWND OpenMenu()
    {
        NotifyIcon(WM_RBUTTONDOWN);
        HWND menu = nullptr;
        // Wine reports neither the menu's showing nor its end to other processes.
        EventWait().UntilRechecking([&] { return (menu = ShownMenu()) != nullptr; }, WaitMs, RecheckMs);
        if (!menu)
            ADD_FAILURE() << "the tray menu did not open";
        return menu;
    }

    // Keys typed into the open menu, in order. The menu chooses on the character of Return,
    // which a posted key-down would only make behind the keys posted after it.
    static void Press(HWND menu, const std::vector<WPARAM>& keys)
    {
        for (const WPARAM key : keys) {
            if (key == VK_RETURN)
                ASSERT_TRUE(PostMessageA(menu, WM_CHAR, '\r', 0));
            else
                ASSERT_TRUE(PostMessageA(menu, WM_KEYDOWN, key, 0));
        }
    }

    // Opens the menu and chooses the item that many presses of the down key reach.
    void Choose(int downPresses)
    {
        const HWND menu = OpenMenu();
        ASSERT_NE(menu, nullptr);
        Press(menu, std::vector<WPARAM>(static_cast<std::size_t>(downPresses), VK_DOWN));
        Press(menu, {VK_RETURN});
    }

    // Whether the open menu shows the picture, read again until it does: the program draws
    // through its own connection to the display, which reaches the screen when it does.
    bool MenuShows(HWND menu, const ScreenPicture& expected)
    {
        return EventWait().UntilRechecking([&] { return PictureOf(menu) == expected; }, WaitMs, RecheckMs);
    }

    bool MenuCloses()
    {
        return EventWait().UntilRechecking([&] { return ShownMenu() == nullptr; }, WaitMs, RecheckMs);
    }

    // Opens the menu again and closes it. The menu opens from the program's message loop, so
    // once it shows, whatever the last choice started has run to its end.
    void SettleWithAnotherMenu()
    {
        const HWND menu = OpenMenu();
        ASSERT_NE(menu, nullptr);
        Press(menu, {VK_ESCAPE});
        ASSERT_TRUE(MenuCloses());
    }

    // Settings for writing the signature beside the program.
    void WriteSignatureBesideTheProgram() { StoreSetting("OEFile", program->Directory() + "signature.txt"); }
    std::optional<std::string> Signature() const { return program->ReadFile("signature.txt"); }

    // The one dialog the program shows, once it is there.
    HWND TheDialog()
    {
        const DWORD id = program->ProcessId();
        if (!EventWait().Until([&] { return DialogsOf(id).size() == 1; }, WaitMs)) {
            ADD_FAILURE() << "no dialog";
            return nullptr;
        }
        return DialogsOf(id).front();
    }
};

// ---- "Winamp": enabled only while the player plays ----

struct PlayerCase {
    const char* name;
    const char* playerArguments; // null: no player runs
    bool winampEnabled;
};

void PrintTo(const PlayerCase& c, std::ostream* out) { *out << c.name; }

class WinampItem : public TrayMenu, public ::testing::WithParamInterface<PlayerCase> {};

TEST_P(WinampItem, SetsTheSongAsSignatureOnlyWhileThePlayerPlays)
{
    const PlayerCase& player = GetParam();
    std::optional<FakePlayerProcess> running;
    if (player.playerArguments)
        running.emplace(player.playerArguments);
    WriteSignatureBesideTheProgram();
    ASSERT_NE(StartShown("/MIN"), nullptr);
    DirectoryWrites writes(program->Directory());

    // Opens even while the player answers nothing.
    const HWND menu = OpenMenu();
    ASSERT_NE(menu, nullptr);
    // The right arrow on "Winamp" opens its submenu at "Set song as signature", which Return
    // chooses; on a greyed "Winamp" both do nothing and Escape closes the menu.
    Press(menu, {VK_DOWN, VK_RIGHT, VK_RETURN, VK_ESCAPE});
    ASSERT_TRUE(MenuCloses());

    if (player.winampEnabled) {
        const std::string expected = "-- \r\n" + Heading + "\r\nArtist - Song";
        EXPECT_TRUE(writes.Until([&] { return Signature() == expected; }, WaitMs))
            << Signature().value_or("(no file)");
    } else {
        SettleWithAnotherMenu();
        EXPECT_FALSE(Signature().has_value()) << "written: " << *Signature();
    }
    EXPECT_TRUE(DialogsOf(program->ProcessId()).empty());
    EXPECT_TRUE(program->Running());
}

const std::string PlayerWith(const char* state)
{
    return "--title \"" + PlayingTitle + "\" --state " + state;
}
const std::string Playing = PlayerWith("playing");
const std::string Stopped = PlayerWith("stopped");
const std::string Paused = PlayerWith("paused");
const std::string Hung = PlayerWith("hung");
const std::string NotThePlayer = PlayerWith("playing") + " --version 0";

INSTANTIATE_TEST_SUITE_P(Players, WinampItem,
                         ::testing::Values(PlayerCase{"NoPlayer", nullptr, false},
                                           PlayerCase{"Playing", Playing.c_str(), true},
                                           PlayerCase{"Stopped", Stopped.c_str(), false},
                                           PlayerCase{"Paused", Paused.c_str(), false},
                                           PlayerCase{"Hung", Hung.c_str(), false},
                                           PlayerCase{"AnswersNoVersion", NotThePlayer.c_str(), false}),
                         [](const auto& info) { return std::string(info.param.name); });

struct LayoutCase {
    const char* name;
    const char* sigBreak;
    const char* statPlace;
    const char* expected;
};

void PrintTo(const LayoutCase& c, std::ostream* out) { *out << c.name; }

class SongLayout : public TrayMenu, public ::testing::WithParamInterface<LayoutCase> {};

TEST_P(SongLayout, HeadingAndSongWithTheSwitchesAsSet)
{
    const LayoutCase& layout = GetParam();
    FakePlayerProcess player(Playing);
    WriteSignatureBesideTheProgram();
    StoreSetting("SigBreak", layout.sigBreak);
    if (layout.statPlace) {
        StoreSetting("Static", "True");
        StoreSetting("StatPlace", layout.statPlace);
        program->WriteFile("static.sig.qmz", "Static\r\ntext");
    }
    ASSERT_NE(StartShown("/MIN"), nullptr);
    DirectoryWrites writes(program->Directory());

    const HWND menu = OpenMenu();
    ASSERT_NE(menu, nullptr);
    Press(menu, {VK_DOWN, VK_RIGHT, VK_RETURN});
    EXPECT_TRUE(writes.Until([&] { return Signature() == layout.expected; }, WaitMs))
        << Signature().value_or("(no file)");
}

INSTANTIATE_TEST_SUITE_P(
    Switches, SongLayout,
    ::testing::Values(
        LayoutCase{"NoDelimiter", "False", nullptr, "Winamp is currently playing:\r\nArtist - Song"},
        LayoutCase{"StaticAbove", "True", "Above",
                   "-- \r\nStatic\r\ntext\r\nWinamp is currently playing:\r\nArtist - Song"},
        LayoutCase{"StaticBelow", "False", "Below", "Winamp is currently playing:\r\nArtist - Song\r\nStatic\r\ntext"}),
    [](const auto& info) { return std::string(info.param.name); });

// ---- The other players: the submenu takes the name of the one that plays ----

constexpr const char* SpotifyClass = "Chrome_WidgetWin_0";
// A menu must open "within about a second"; the margin is for a busy test machine.
constexpr auto AboutASecond = std::chrono::milliseconds(2000);

struct OtherPlayerCase {
    const char* name;
    // A window stand-in: its process image (null: FakePlayer.exe), window class, title, state.
    const char* image;
    const char* windowClass;
    const char* title;
    const char* state;
    // Else the media session stand-in, answering this for "Spotify.exe" playing "Artist - Song".
    const char* sessionAnswer;
    const char* caption;
    const char* song; // null: the submenu is greyed
};

void PrintTo(const OtherPlayerCase& c, std::ostream* out) { *out << c.name; }

class OtherPlayerItem : public TrayMenu, public ::testing::WithParamInterface<OtherPlayerCase> {};

TEST_P(OtherPlayerItem, NamesThePlayerAndSetsItsSongUnderItsName)
{
    const OtherPlayerCase& c = GetParam();
    std::optional<FakeMediaSessionRegistration> session;
    std::optional<FakePlayerProcess> player;
    if (c.sessionAnswer)
        session.emplace(c.sessionAnswer, "Spotify.exe", "Artist", "Song");
    else
        player.emplace(std::string("--class \"") + c.windowClass + "\" --title \"" + c.title + "\" --state " + c.state,
                       c.image ? c.image : "");
    const ScreenPicture expected = PictureOfExpectedMenu(c.song != nullptr, c.caption);
    WriteSignatureBesideTheProgram();
    StoreSetting("Balloon", "True");
    ASSERT_NE(StartShown("/MIN"), nullptr);
    DirectoryWrites writes(program->Directory());

    const auto opening = std::chrono::steady_clock::now();
    const HWND menu = OpenMenu();
    ASSERT_NE(menu, nullptr);
    EXPECT_LT(std::chrono::steady_clock::now() - opening, AboutASecond) << "the menu waited for a player";
    EXPECT_TRUE(MenuShows(menu, expected))
        << "not the submenu \"" << c.caption << "\", " << (c.song ? "enabled" : "greyed");
    Press(menu, {VK_DOWN, VK_RIGHT, VK_RETURN, VK_ESCAPE});
    ASSERT_TRUE(MenuCloses());

    if (c.song) {
        const std::string written = "-- \r\n" + std::string(c.caption) + " is currently playing:\r\n" + c.song;
        EXPECT_TRUE(writes.Until([&] { return Signature() == written; }, WaitMs)) << Signature().value_or("(no file)");
        // The change balloon quotes the song alone.
        EXPECT_TRUE(EventWait().UntilRechecking([&] { return BalloonShown("\"" + std::string(c.song) + "\""); },
                                                WaitMs, RecheckMs));
    } else {
        SettleWithAnotherMenu();
        EXPECT_FALSE(Signature().has_value()) << "written: " << *Signature();
    }
    EXPECT_TRUE(DialogsOf(program->ProcessId()).empty());
}

constexpr const char* Foobar2000Class = "{97E27FAA-C0B3-4b8e-A693-ED7881E99FC1}";
constexpr const char* Foobar2000ColumnsClass = "{E7076D1C-A7BF-4f39-B771-BCBE88F2A2A8}";

INSTANTIATE_TEST_SUITE_P(
    Players, OtherPlayerItem,
    ::testing::Values(
        OtherPlayerCase{"Spotify", "Spotify.exe", SpotifyClass, "Artist - Song", "playing", nullptr, "Spotify",
                        "Artist - Song"},
        OtherPlayerCase{"Foobar2000", nullptr, Foobar2000Class, "Artist - Song [foobar2000]", "playing", nullptr,
                        "foobar2000", "Artist - Song"},
        OtherPlayerCase{"Vlc", "vlc.exe", "Qt5QWindowIcon", "Song.mp3 - VLC media player", "playing", nullptr, "VLC",
                        "Song.mp3"},
        OtherPlayerCase{"MediaSession", nullptr, nullptr, nullptr, nullptr, "playing", "Spotify", "Artist - Song"},
        OtherPlayerCase{"MediaSessionPaused", nullptr, nullptr, nullptr, nullptr, "paused", "Winamp", nullptr},
        // A player that has stopped answering keeps the menu opening at once; the titles are
        // read without asking the player.
        OtherPlayerCase{"SpotifyHung", "Spotify.exe", SpotifyClass, "Artist - Song", "hung", nullptr, "Spotify",
                        "Artist - Song"},
        OtherPlayerCase{"Foobar2000Hung", nullptr, Foobar2000ColumnsClass, "Song [foobar2000]", "hung", nullptr,
                        "foobar2000", "Song"},
        OtherPlayerCase{"VlcHung", "vlc.exe", "Qt5QWindowIcon", "Song - VLC media player", "hung", nullptr, "VLC",
                        "Song"},
        OtherPlayerCase{"MediaSessionNeverAnswers", nullptr, nullptr, nullptr, nullptr, "never completes", "Winamp",
                        nullptr}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(TrayMenu, SpotifysTitleIsReadAgainEachTimeTheMenuOpens)
{
    FakePlayerProcess spotify(std::string("--class ") + SpotifyClass + " --title \"Artist - Song\"", "Spotify.exe");
    const HWND window = FindWindowA(SpotifyClass, nullptr);
    ASSERT_NE(window, nullptr);
    WriteSignatureBesideTheProgram();
    ASSERT_NE(StartShown("/MIN"), nullptr);
    DirectoryWrites writes(program->Directory());

    struct Step { const char* title; const char* caption; bool enabled; };
    const Step steps[] = {
        {"Artist - Song", "Spotify", true},
        {"Spotify Premium", "Winamp", false}, // paused
        {"Advertisement", "Winamp", false},
        {"Other - Tune", "Spotify", true},
    };
    for (const Step& step : steps) {
        ASSERT_TRUE(SetWindowTextA(window, step.title));
        const ScreenPicture expected = PictureOfExpectedMenu(step.enabled, step.caption);
        const HWND menu = OpenMenu();
        ASSERT_NE(menu, nullptr);
        EXPECT_TRUE(MenuShows(menu, expected)) << step.title;
        Press(menu, {VK_ESCAPE});
        ASSERT_TRUE(MenuCloses());
    }
    const HWND menu = OpenMenu();
    ASSERT_NE(menu, nullptr);
    Press(menu, {VK_DOWN, VK_RIGHT, VK_RETURN});
    EXPECT_TRUE(writes.Until([&] { return Signature() == "-- \r\nSpotify is currently playing:\r\nOther - Tune"; },
                             WaitMs))
        << Signature().value_or("(no file)");
}

// ---- What the menu shows ----

struct LookCase {
    const char* name;
    bool playing;
};

void PrintTo(const LookCase& c, std::ostream* out) { *out << c.name; }

class MenuLook : public TrayMenu, public ::testing::WithParamInterface<LookCase> {};

// The program's menu, pixel for pixel, is the menu drawn here from its items: their captions
// and order, "Restore" in bold, and "Winamp" greyed or not.
TEST_P(MenuLook, ShowsItsItemsInOrderWithRestoreInBold)
{
    std::optional<FakePlayerProcess> player;
    if (GetParam().playing)
        player.emplace(Playing);
    const ScreenPicture expected = PictureOfExpectedMenu(GetParam().playing);
    // The other state of "Winamp" looks different, so the comparison can tell them apart.
    ASSERT_FALSE(expected == PictureOfExpectedMenu(!GetParam().playing));
    ASSERT_NE(StartShown("/MIN"), nullptr);

    const HWND menu = OpenMenu();
    ASSERT_NE(menu, nullptr);
    // The program draws through its own connection to the display, which reaches the screen
    // when it does; nothing reports that moment, so the picture is read again until it matches.
    ScreenPicture shown;
    const bool matches = EventWait().UntilRechecking(
        [&] {
            shown = PictureOf(menu);
            return shown == expected;
        },
        WaitMs, RecheckMs);
    Press(menu, {VK_ESCAPE});
    EXPECT_TRUE(MenuCloses());
    EXPECT_EQ(shown.width, expected.width);
    EXPECT_EQ(shown.height, expected.height);
    EXPECT_TRUE(matches) << "the menu looks different from the one expected";
}

INSTANTIATE_TEST_SUITE_P(Player, MenuLook,
                         ::testing::Values(LookCase{"NotPlaying", false}, LookCase{"Playing", true}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(TrayMenu, WinampIsAskedAgainEachTimeTheMenuOpens)
{
    WriteSignatureBesideTheProgram();
    ASSERT_NE(StartShown("/MIN"), nullptr);
    DirectoryWrites writes(program->Directory());
    {
        const HWND menu = OpenMenu();
        ASSERT_NE(menu, nullptr);
        Press(menu, {VK_DOWN, VK_RIGHT, VK_RETURN, VK_ESCAPE});
        ASSERT_TRUE(MenuCloses());
    }
    FakePlayerProcess player(Playing);
    const HWND menu = OpenMenu();
    ASSERT_NE(menu, nullptr);
    // Opened after the first menu's choice ran to its end.
    EXPECT_FALSE(Signature().has_value());
    Press(menu, {VK_DOWN, VK_RIGHT, VK_RETURN});
    EXPECT_TRUE(writes.Until([&] { return Signature().has_value(); }, WaitMs));
}

// ---- "Change signature" ----

TEST_F(TrayMenu, ChangeSignatureWithAnEmptyListReportsIt)
{
    WriteSignatureBesideTheProgram();
    ASSERT_NE(StartShown("/MIN"), nullptr);

    Choose(ChangeSignaturePresses);
    const HWND dialog = TheDialog();
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(TextOf(dialog), "Error");
    EXPECT_EQ(DialogMessage(dialog), "There are no files in the database list!");
    PressDialogButton(dialog, "OK");
    EXPECT_TRUE(EventWait().UntilRechecking([&] { return DialogsOf(program->ProcessId()).empty(); }, WaitMs,
                                            RecheckMs));
    EXPECT_FALSE(Signature().has_value());
    EXPECT_TRUE(program->Running());
}

TEST_F(TrayMenu, ChangeSignatureWritesARecordOfTheListedDatabase)
{
    const std::vector<std::string> records = {"First\r\nsignature", "Second", "Third one"};
    program->WriteFile("three.sigs", Database(records));
    program->WriteFile("sigs.list", program->Directory() + "three.sigs\r\n");
    WriteSignatureBesideTheProgram();
    StoreSetting("SigBreak", "False");
    ASSERT_NE(StartShown("/MIN"), nullptr);
    DirectoryWrites writes(program->Directory());

    Choose(ChangeSignaturePresses);
    EXPECT_TRUE(writes.Until(
        [&] {
            const std::optional<std::string> written = Signature();
            return written && std::find(records.begin(), records.end(), *written) != records.end();
        },
        WaitMs))
        << Signature().value_or("(no file)");
    EXPECT_TRUE(DialogsOf(program->ProcessId()).empty());
}

// An HTML signature, and the plain text of the same set beside it, from the same record.
TEST_F(TrayMenu, ChangeSignatureWritesAnHtmlSignatureAndTheRestOfItsSet)
{
    ASSERT_EQ(GetACP(), 1252u) << "the HTML below names code page 1252";
    program->WriteFile("one.sigs", Database({"Tom & Jerry <tj@example.com>\r\n  \"Cartoons\""}));
    program->WriteFile("sigs.list", program->Directory() + "one.sigs\r\n");
    program->WriteFile("signature.txt", "old");
    StoreSetting("OEFile", program->Directory() + "signature.htm");
    ASSERT_NE(StartShown("/MIN"), nullptr);
    DirectoryWrites writes(program->Directory());

    Choose(ChangeSignaturePresses);
    const std::string html = "<meta charset=\"windows-1252\">\r\n-- \r\n<br>Tom &amp; Jerry &lt;tj@example.com&gt;<br>"
                             "&nbsp; &quot;Cartoons&quot;";
    const std::string plain = "-- \r\nTom & Jerry <tj@example.com>\r\n  \"Cartoons\"";
    EXPECT_TRUE(writes.Until(
        [&] { return program->ReadFile("signature.htm") == html && program->ReadFile("signature.txt") == plain; },
        WaitMs))
        << program->ReadFile("signature.htm").value_or("(no file)");
    EXPECT_FALSE(program->ReadFile("signature.rtf").has_value());
    EXPECT_TRUE(DialogsOf(program->ProcessId()).empty());
}

// A UTF-16 file that one of Thunderbird's identities names starts with a line break after
// the mark, which Thunderbird keeps in front of the text, so that it finds the delimiter and
// adds none of its own; the program learns the file from Thunderbird's own settings.
TEST_F(TrayMenu, ChangeSignatureWritesAFileThunderbirdReadsSoThatItFindsTheDelimiter)
{
    using namespace std::string_literals;
    mailclients::MadeUpMailClients clients;
    const std::string file = clients.Elsewhere() + "\\Gr\xfc\xdf" "e.txt";
    mailclients::WriteFileBytes(file, "\xFF\xFE" "a\0"s);
    const auto bytesOf = [](const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    };
    const std::string profiles = mailclients::AppData() + "\\Thunderbird\\profiles.ini";
    const std::string prefs = clients.Elsewhere() + "\\prefs.js";
    const std::string profilesBefore = bytesOf(profiles), prefsBefore = bytesOf(prefs);
    program->WriteFile("one.sigs", Database({"Hi"}));
    program->WriteFile("sigs.list", program->Directory() + "one.sigs\r\n");
    StoreSetting("OEFile", file);
    ASSERT_NE(StartShown("/MIN"), nullptr);

    Choose(ChangeSignaturePresses);
    const std::string expected = "\xFF\xFE\r\0\n\0-\0-\0 \0\r\0\n\0H\0i\0"s;
    EXPECT_TRUE(EventWait().UntilRechecking([&] { return bytesOf(file) == expected; }, WaitMs, RecheckMs))
        << bytesOf(file);
    EXPECT_TRUE(DialogsOf(program->ProcessId()).empty());
    // Thunderbird's own settings were only read.
    EXPECT_EQ(bytesOf(profiles), profilesBefore);
    EXPECT_EQ(bytesOf(prefs), prefsBefore);
}

// The signature file's setting names a listed database by another spelling of its path: the
// database is compared as a file, not as a text, and kept. So are copies of it nobody lists,
// typed into the field, known by their name or what they hold; a text file of two records'
// size is written.
TEST_F(TrayMenu, ChangeSignatureNeverWritesOverAListedDatabaseHoweverItIsSpelt)
{
    const std::string database = program->Directory() + "listed.sigs";
    const std::string bytes = Database({"First", "Second"});
    program->WriteFile("listed.sigs", bytes);
    program->WriteFile("sigs.list", database + "\r\n");
    StoreSetting("OEFile", "\\\\?\\" + database);
    const HWND form = StartShown("/MIN");
    ASSERT_NE(form, nullptr);

    for (const char* typed : {"", "Other.sigs", "copy.txt"}) {
        if (*typed) {
            program->WriteFile(typed, bytes);
            SetText(ControlAt(form, "Edit", 8, 32), program->Directory() + typed);
        }
        Choose(ChangeSignaturePresses);
        const HWND dialog = TheDialog();
        ASSERT_NE(dialog, nullptr) << typed;
        // The box's text may come a moment after the box itself.
        EventWait().UntilRechecking([&] { return !DialogMessage(dialog).empty(); }, WaitMs, RecheckMs);
        EXPECT_EQ(DialogMessage(dialog),
                  "Error opening signature text file: It is a signature database or one of Varnquill's own files");
        PressDialogButton(dialog, "OK");
        EXPECT_TRUE(EventWait().UntilRechecking([&] { return DialogsOf(program->ProcessId()).empty(); }, WaitMs,
                                                RecheckMs));
        EXPECT_EQ(program->ReadFile(*typed ? typed : "listed.sigs"), bytes) << typed;
    }
    program->WriteFile("text.txt", std::string(1026, 'x'));
    SetText(ControlAt(form, "Edit", 8, 32), program->Directory() + "text.txt");
    Choose(ChangeSignaturePresses);
    const auto written = [&] {
        const std::string text = program->ReadFile("text.txt").value_or("");
        return text == "-- \r\nFirst" || text == "-- \r\nSecond";
    };
    EXPECT_TRUE(EventWait().UntilRechecking(written, WaitMs, RecheckMs)) << program->ReadFile("text.txt").value_or("");
    EXPECT_TRUE(program->Running());
}

// ---- "Copy signature" ----

// One pick, in every place at once: the signature file and the other files of its set, and
// the clipboard's text, Unicode text, HTML and rich text, each as its file has it.
TEST_F(TrayMenu, CopySignatureWritesTheSetAndPutsTheSameSignatureOnTheClipboardInEveryForm)
{
    ASSERT_EQ(GetACP(), 1252u) << "the bytes expected are those of code page 1252";
    program->WriteFile("one.sigs", Database({"Tom & Jerry <tj@example.com>\r\n  caf\xe9 \\ {x}"}));
    program->WriteFile("sigs.list", program->Directory() + "one.sigs\r\n");
    WriteSignatureBesideTheProgram();
    program->WriteFile("signature.htm", "");
    program->WriteFile("signature.rtf", "");
    StoreSetting("Balloon", "True");
    PutOnClipboard({{CF_TEXT, std::string("before", 7)}});
    ASSERT_NE(StartShown("/MIN"), nullptr);

    Choose(CopySignaturePresses);
    const std::string plain = "-- \r\nTom & Jerry <tj@example.com>\r\n  caf\xe9 \\ {x}";
    EXPECT_TRUE(EventWait().UntilRechecking([&] { return ClipboardText() == plain; }, WaitMs, RecheckMs))
        << ClipboardText().value_or("(no text)");
    EXPECT_EQ(Signature(), plain);
    EXPECT_EQ(ClipboardUnicodeText(), L"-- \r\nTom & Jerry <tj@example.com>\r\n  caf\u00e9 \\ {x}");
    const std::optional<std::string> locale = ClipboardBytes(CF_LOCALE);
    ASSERT_TRUE(locale.has_value());
    LCID lcid = 0;
    std::memcpy(&lcid, locale->data(), std::min(locale->size(), sizeof lcid));
    char codePage[8] = {};
    ASSERT_TRUE(GetLocaleInfoA(lcid, LOCALE_IDEFAULTANSICODEPAGE, codePage, sizeof codePage));
    EXPECT_STREQ(codePage, "1252") << "the locale CF_TEXT is read in";

    // The files are in the ANSI code page, the clipboard's HTML in UTF-8 with its own head.
    const std::string htmlFile = program->ReadFile("signature.htm").value_or("");
    const std::string head = "<meta charset=\"windows-1252\">";
    ASSERT_EQ(htmlFile.rfind(head, 0), 0u) << htmlFile;
    std::string fileFragmentUtf8 = htmlFile.substr(head.size());
    fileFragmentUtf8.replace(fileFragmentUtf8.find('\xe9'), 1, "\xc3\xa9");
    EXPECT_EQ(HtmlFragment(ClipboardBytes(HtmlFormatName).value_or("")), fileFragmentUtf8);
    const std::optional<std::string> richText = ClipboardBytes(RichTextFormatName);
    ASSERT_TRUE(richText.has_value());
    EXPECT_EQ(richText->substr(0, richText->find('\0')), program->ReadFile("signature.rtf"));
    // The same balloon as any change.
    EXPECT_TRUE(EventWait().UntilRechecking(
        [&] { return BalloonShown("\"Tom & Jerry <tj@example.com>\r\n  caf\xe9 \\ {x}\""); }, WaitMs, RecheckMs));
    EXPECT_TRUE(DialogsOf(program->ProcessId()).empty());
}

// A pick that fails is reported as for "Change signature" and leaves the clipboard alone, its
// text and its picture.
TEST_F(TrayMenu, CopySignatureAfterAFailedPickLeavesTheClipboardAsItWas)
{
    program->WriteFile("sigs.list", program->Directory() + "missing.sigs\r\n");
    WriteSignatureBesideTheProgram();
    const std::string text("kept text", 10);
    PutOnClipboard({{CF_TEXT, text}, {CF_DIB, PictureBytes()}});
    ASSERT_NE(StartShown("/MIN"), nullptr);

    Choose(CopySignaturePresses);
    const HWND dialog = TheDialog();
    ASSERT_NE(dialog, nullptr);
    EventWait().UntilRechecking([&] { return !DialogMessage(dialog).empty(); }, WaitMs, RecheckMs);
    EXPECT_EQ(DialogMessage(dialog).rfind("Error opening signature database: ", 0), 0u) << DialogMessage(dialog);
    PressDialogButton(dialog, "OK");
    SettleWithAnotherMenu();
    EXPECT_EQ(ClipboardBytes(CF_TEXT), text);
    const std::optional<std::string> picture = ClipboardBytes(CF_DIB);
    ASSERT_TRUE(picture.has_value());
    EXPECT_EQ(picture->substr(0, PictureBytes().size()), PictureBytes());
    EXPECT_FALSE(Signature().has_value());
}

// ---- The order "Change signature" follows ----

class ChangeOrder : public TrayMenu {
protected:
    // Two databases listed, of five and of two records: "1" to "7" in list order.
    void ListFiveAndTwo()
    {
        program->WriteFile("five.sigs", Database({"1", "2", "3", "4", "5"}));
        program->WriteFile("two.sigs", Database({"6", "7"}));
        program->WriteFile("sigs.list", program->Directory() + "five.sigs\r\n" + program->Directory() + "two.sigs\r\n");
    }
    // The signature after each of count changes from the tray menu, each run to its end.
    std::vector<std::string> Changes(int count)
    {
        std::vector<std::string> written;
        for (int change = 0; change < count; ++change) {
            Choose(ChangeSignaturePresses);
            EXPECT_TRUE(MenuCloses());
            SettleWithAnotherMenu();
            written.push_back(Signature().value_or("(no file)"));
        }
        EXPECT_TRUE(DialogsOf(program->ProcessId()).empty());
        return written;
    }
};

TEST_F(ChangeOrder, AtRandomNeverTheSameTextTwiceInARow)
{
    program->WriteFile("ab.sigs", Database({"A", "B"}));
    program->WriteFile("sigs.list", program->Directory() + "ab.sigs\r\n");
    WriteSignatureBesideTheProgram();
    StoreSetting("SigBreak", "False");
    ASSERT_NE(StartShown("/MIN"), nullptr);

    const std::vector<std::string> written = Changes(20);
    for (std::size_t change = 1; change < written.size(); ++change)
        EXPECT_NE(written[change], written[change - 1]) << "change " << change;
    EXPECT_EQ(std::set<std::string>(written.begin(), written.end()), (std::set<std::string>{"A", "B"}));
}

// The place is kept at every change: the program ended by Exit, or killed, goes on from it,
// and so does a pick of vqsig's in between, which loads the same settings.
TEST_F(ChangeOrder, ShuffledAndInOrderGoOnFromTheirPlaceAfterARestart)
{
    struct Case {
        const char* order;
        bool byExit; // else the process is ended from outside
    };
    for (const Case& c : {Case{"Shuffle", true}, Case{"Sequence", false}}) {
        SCOPED_TRACE(c.order);
        ForgetProgramSettings();
        ListFiveAndTwo();
        WriteSignatureBesideTheProgram();
        StoreSetting("SigBreak", "False");
        StoreSetting("Order", c.order);
        ASSERT_NE(StartShown("/MIN"), nullptr);
        std::vector<std::string> written = Changes(3);
        if (c.byExit) {
            Choose(ExitPresses);
            ASSERT_EQ(WaitForSingleObject(program->Process(), WaitMs), WAIT_OBJECT_0) << "the program did not end";
        }
        program->Terminate();
        ASSERT_NE(StartShown("/MIN"), nullptr);
        std::vector<std::string> after = Changes(2);
        // vqsig beside the program loads the same settings and moves the same place on.
        const std::string vqsig = program->Directory() + "vqsig.exe";
        ASSERT_TRUE(CopyFileA(vqsig_test::BuiltProgram().c_str(), vqsig.c_str(), FALSE));
        const vqsig_test::ConsoleRun pick = vqsig_test::RunProgram(vqsig, {"pick"});
        EXPECT_EQ(pick.exitCode, 0u) << pick.err;
        after.push_back(Signature().value_or("(no file)"));
        const std::vector<std::string> more = Changes(2);
        after.insert(after.end(), more.begin(), more.end());
        written.insert(written.end(), after.begin(), after.end());

        if (std::string(c.order) == "Sequence") {
            EXPECT_EQ(written, (std::vector<std::string>{"1", "2", "3", "4", "5", "6", "7", "1"}));
        } else {
            EXPECT_EQ(std::set<std::string>(written.begin(), written.begin() + 7),
                      (std::set<std::string>{"1", "2", "3", "4", "5", "6", "7"}));
            EXPECT_NE(written[7], written[6]) << "the next round starts with the last signature";
        }
        program->Terminate();
    }
}

// Where order.state cannot be written, the changes still go on in order for the run, and an
// error balloon says why.
TEST_F(ChangeOrder, InOrderGoesOnForTheRunWhereItsPlaceCannotBeKeptAndABalloonSaysSo)
{
    ListFiveAndTwo();
    WriteSignatureBesideTheProgram();
    StoreSetting("SigBreak", "False");
    StoreSetting("Order", "Sequence");
    StoreSetting("Error", "True");
    program->WriteFile("order.state", "");
    const ImmutableFile immutable(program->Directory() + "order.state");
    if (!immutable.Made())
        GTEST_SKIP() << "the order state file cannot be made immutable here";
    ASSERT_NE(StartShown("/MIN"), nullptr);
    EXPECT_EQ(Changes(3), (std::vector<std::string>{"1", "2", "3"}));
    const std::string said = base::SystemErrorText(ERROR_ACCESS_DENIED) + " (order.state)";
    EXPECT_TRUE(EventWait().UntilRechecking([&] { return BalloonShown(said); }, WaitMs, RecheckMs)) << said;
    program->Terminate();
}

// Change after change, the signature file keeps the encoding it has when the change comes.
TEST_F(TrayMenu, ChangeSignatureKeepsTheEncodingOfTheSignatureFile)
{
    ASSERT_EQ(GetACP(), 1252u) << "the bytes expected are those of code page 1252";
    program->WriteFile("one.sigs", Database({encodings::EncodedBody}));
    program->WriteFile("sigs.list", program->Directory() + "one.sigs\r\n");
    WriteSignatureBesideTheProgram();
    StoreSetting("SigBreak", "False");
    ASSERT_NE(StartShown("/MIN"), nullptr);
    DirectoryWrites writes(program->Directory());
    const std::string path = program->Directory() + "signature.txt";

    for (const encodings::Case& c : encodings::PlainTextCases) {
        DeleteFileA(path.c_str());
        if (c.before)
            program->WriteFile("signature.txt", *c.before);
        Choose(ChangeSignaturePresses);
        EXPECT_TRUE(writes.Until([&] { return Signature() == c.after; }, WaitMs)) << c.what;
        SettleWithAnotherMenu(); // the change has closed the file before the next case writes it
    }
    EXPECT_TRUE(DialogsOf(program->ProcessId()).empty());
}

// ---- "Restore" and the double-click ----

struct RestoreCase {
    const char* name;
    bool fromMenu; // else a double-click on the icon
};

void PrintTo(const RestoreCase& c, std::ostream* out) { *out << c.name; }

class RestoreFromTray : public TrayMenu, public ::testing::WithParamInterface<RestoreCase> {};

TEST_P(RestoreFromTray, BringsTheHiddenWindowBack)
{
    SKIP_UNLESS_WINE();
    const HWND form = StartShown("/MIN");
    ASSERT_NE(form, nullptr);
    const DWORD id = program->ProcessId();
    ASSERT_TRUE(EventWait().UntilRechecking([&] { return !IsWindowVisible(form); }, WaitMs, RecheckMs));

    if (GetParam().fromMenu)
        Choose(RestorePresses);
    else
        NotifyIcon(WM_LBUTTONDBLCLK);

    // Restoring and showing come as several changes, not all of them reported to others.
    EXPECT_TRUE(EventWait().UntilRechecking([&] { return IsWindowVisible(form) && !IsIconic(form); }, WaitMs,
                                            RecheckMs));
    EXPECT_TRUE(program->Running());
    EXPECT_TRUE(DialogsOf(id).empty());
    EXPECT_EQ(TrayIconCount(), program->TrayIconsBeforeStart() + 1) << "the icon stays in the tray";
}

INSTANTIATE_TEST_SUITE_P(Ways, RestoreFromTray,
                         ::testing::Values(RestoreCase{"RestoreItem", true}, RestoreCase{"DoubleClick", false}),
                         [](const auto& info) { return std::string(info.param.name); });

// ---- "Exit" ----

TEST_F(TrayMenu, ExitSavesEverythingAndEndsAndTheNextStartFindsItAgain)
{
    SKIP_UNLESS_WINE();
    const HWND form = StartShown();
    ASSERT_NE(form, nullptr);
    const DWORD id = program->ProcessId();
    // Changed while running: the list, the static text and the window's place.
    const std::string one = program->Directory() + "one.sigs";
    const std::string two = program->Directory() + "two.sigs";
    for (const std::string& entry : {one, two})
        AddToDatabaseList(form, entry);
    const HWND staticText = ControlAt(form, "Edit", 8, 241);
    ASSERT_NE(staticText, nullptr);
    SetText(staticText, "Kind regards\r\nA. User");
    ASSERT_TRUE(SetWindowPos(form, nullptr, 250, 180, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE));

    Choose(ExitPresses);

    ASSERT_EQ(WaitForSingleObject(program->Process(), WaitMs), WAIT_OBJECT_0) << "the program did not end";
    DWORD exitCode = STILL_ACTIVE;
    ASSERT_TRUE(GetExitCodeProcess(program->Process(), &exitCode));
    EXPECT_EQ(exitCode, 0u) << "the program should end on its own, cleanly";
    EXPECT_TRUE(DialogsOf(id).empty());
    EXPECT_TRUE(EventWait().UntilRechecking([&] { return TrayIconCount() == program->TrayIconsBeforeStart(); },
                                            WaitMs, RecheckMs))
        << "the icon is still in the tray";
    EXPECT_EQ(program->ReadFile("sigs.list"), one + "\r\n" + two + "\r\n");
    EXPECT_EQ(program->ReadFile("static.sig.qmz"), "Kind regards\r\nA. User");
    EXPECT_EQ(StoredSetting("Top"), "180");
    EXPECT_EQ(StoredSetting("Left"), "250");

    // The next start of the program with these side files beside it.
    ProgramUnderTest next;
    next.WriteFile("sigs.list", program->ReadFile("sigs.list").value_or(""));
    next.WriteFile("static.sig.qmz", program->ReadFile("static.sig.qmz").value_or(""));
    next.Start();
    const HWND nextForm = next.MainWindow();
    ASSERT_NE(nextForm, nullptr);
    const HWND nextList = ControlsOf(nextForm, "ListBox").at(0);
    ASSERT_EQ(ListCount(nextList), 2);
    EXPECT_EQ(ListItem(nextList, 0), one);
    EXPECT_EQ(ListItem(nextList, 1), two);
    EXPECT_EQ(TextOf(ControlAt(nextForm, "Edit", 8, 241)), "Kind regards\r\nA. User");
    const RECT place = ScreenRect(nextForm);
    EXPECT_EQ(place.left, 250);
    EXPECT_EQ(place.top, 180);
}

// A standard user may write neither the per-machine keys nor the program's folder: every
// setting, the start-up entry and the side files go to the user's own places, while what the
// machine holds still applies until the user changes it.
TEST_F(TrayMenu, AStandardUserKeepsEverythingInTheirOwnPlaces)
{
    const std::string locked = standarduser::LockedProgramFolder();
    if (locked.empty())
        GTEST_SKIP() << "this build has no locked program folder";
    StoreSetting("Minutes", "5");
    const standarduser::ReadOnlyKey machineSettings(HKEY_LOCAL_MACHINE, SettingsKeyPath);
    const standarduser::ReadOnlyKey machineRun(HKEY_LOCAL_MACHINE, RunKeyPath);
    program = std::make_unique<ProgramUnderTest>(locked);
    const std::string listBeside = program->ReadFile("sigs.list").value_or("");
    ASSERT_FALSE(listBeside.empty());

    const HWND form = StartShown();
    ASSERT_NE(form, nullptr);
    const DWORD id = program->ProcessId();
    EXPECT_TRUE(DialogsOf(id).empty()) << "a failure shown at start-up";
    const HWND minutes = ControlAt(form, "Edit", 208, 60);
    const HWND staticText = ControlAt(form, "Edit", 8, 241);
    const HWND list = ControlsOf(form, "ListBox").at(0);
    ASSERT_TRUE(minutes && staticText);
    EXPECT_EQ(TextOf(minutes), "5");
    const auto listBytes = [](HWND shown) {
        std::string bytes;
        for (int row = 0; row < ListCount(shown); ++row)
            bytes += ListItem(shown, row) + "\r\n";
        return bytes;
    };
    EXPECT_EQ(listBytes(list), listBeside);
    EXPECT_EQ(TextOf(staticText), program->ReadFile("static.sig.qmz"));

    // Every switch and the start-up box change; a restart must find each one changed.
    const char* const boxes[] = {
        "Automatically change signature every ", "Pop up \"balloon hint\" when signature changes",
        "Pop up \"balloon\" error messages",      "Add standard signature delimiter",
        "Include static text in signatures",     "below random signature",
        "Add to Windows Startup"};
    std::map<std::string, bool> checkedBefore;
    for (const char* text : boxes) {
        const HWND box = ControlWithText(form, "Button", text);
        ASSERT_NE(box, nullptr) << text;
        checkedBefore[text] = IsChecked(box);
        Click(box);
    }
    SetText(minutes, "25");
    SetText(ControlAt(form, "Edit", 8, 32), "C:\\mail\\sig.txt");
    EXPECT_TRUE(DialogsOf(id).empty()) << "a failure shown for a change of a setting";
    EXPECT_EQ(StoredSettings(HKEY_CURRENT_USER),
              (std::map<std::string, std::string>{{"AutoChange", "True"}, {"Balloon", "True"}, {"Error", "True"},
                                                  {"Minutes", "25"}, {"OEFile", "C:\\mail\\sig.txt"},
                                                  {"SigBreak", "False"}, {"Static", "True"}, {"StatPlace", "Below"}}));
    EXPECT_EQ(StartupEntry(HKEY_CURRENT_USER), ExpectedStartupCommand());
    EXPECT_EQ(StoredSettings(), (std::map<std::string, std::string>{{"Minutes", "5"}}));
    EXPECT_FALSE(StartupEntry().has_value());

    const std::string added = program->Directory() + "added.sigs";
    AddToDatabaseList(form, added);
    SetText(staticText, "Kind regards");
    Choose(ExitPresses);
    ASSERT_EQ(WaitForSingleObject(program->Process(), WaitMs), WAIT_OBJECT_0) << "the program did not end";
    EXPECT_TRUE(DialogsOf(id).empty()) << "a failure shown at exit";
    const std::string userFolder = UserSideFilesFolder();
    EXPECT_EQ(FileBytes(userFolder + "sigs.list"), listBeside + added + "\r\n");
    EXPECT_EQ(FileBytes(userFolder + "static.sig.qmz"), "Kind regards");
    EXPECT_TRUE(StoredSetting("Top", HKEY_CURRENT_USER).has_value());

    ProgramUnderTest next(locked);
    next.Start();
    const HWND nextForm = next.MainWindow();
    ASSERT_NE(nextForm, nullptr);
    EXPECT_TRUE(DialogsOf(next.ProcessId()).empty());
    for (const char* text : boxes)
        EXPECT_EQ(IsChecked(ControlWithText(nextForm, "Button", text)), !checkedBefore[text]) << text;
    EXPECT_EQ(TextOf(ControlAt(nextForm, "Edit", 208, 60)), "25");
    EXPECT_EQ(TextOf(ControlAt(nextForm, "Edit", 8, 32)), "C:\\mail\\sig.txt");
    EXPECT_EQ(listBytes(ControlsOf(nextForm, "ListBox").at(0)), listBeside + added + "\r\n");
    EXPECT_EQ(TextOf(ControlAt(nextForm, "Edit", 8, 241)), "Kind regards");
}

// The tray menu also opens while a report waits for its OK; "Exit" from there still ends the
// program with its exit sequence complete.
TEST_F(TrayMenu, ExitWhileAReportIsOpenStillEndsCleanly)
{
    WriteSignatureBesideTheProgram();
    program->WriteFile("static.sig.qmz", "Static");
    ASSERT_NE(StartShown("/MIN"), nullptr);
    Choose(ChangeSignaturePresses);
    ASSERT_NE(TheDialog(), nullptr);

    Choose(ExitPresses);

    ASSERT_EQ(WaitForSingleObject(program->Process(), WaitMs), WAIT_OBJECT_0) << "the program did not end";
    DWORD exitCode = STILL_ACTIVE;
    ASSERT_TRUE(GetExitCodeProcess(program->Process(), &exitCode));
    EXPECT_EQ(exitCode, 0u);
    EXPECT_EQ(program->ReadFile("sigs.list"), "");
    EXPECT_EQ(program->ReadFile("static.sig.qmz"), "Static");
    EXPECT_TRUE(StoredSetting("Top").has_value());
    EXPECT_TRUE(StoredSetting("Left").has_value());
}

} // namespace
