#include "engine/ClipboardSignature.h"
#include "engine/SignatureFormats.h"
#include "engine/SignatureFamily.h"
#include "engine/SignatureWriter.h"
#include "engine/TextFileEncoding.h"
#include "engine/TextFileWriter.h"

#include "EngineTestFiles.h"
#include "FixedRandom.h"
#include "WriterDoubles.h"
#include "base/Handles.h"
#include "tests/common/SignatureEncodings.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <set>

namespace {

using Reports = std::vector<RecordingSink::Report>;

// What a browser shows of an HTML signature, line breaks as CR LF and &nbsp; as a blank:
// <br>, the five entities written, and literal white space folded as HTML folds it (a run
// to one blank, none at a line's start or end). Anything else is marked as unreadable.
std::string ShownHtml(const std::string& html)
{
    const std::string head = "<meta charset=\"";
    const std::size_t headEnd = html.find("\">");
    if (html.rfind(head, 0) != 0 || headEnd == std::string::npos || headEnd == head.size())
        return "(no charset)";
    std::string shown;
    bool lineHasText = false, pendingBlank = false;
    const auto show = [&](char c) {
        if (pendingBlank)
            shown += ' ';
        shown += c;
        lineHasText = true;
        pendingBlank = false;
    };
    const std::pair<std::string, char> entities[] = {
        {"&amp;", '&'}, {"&lt;", '<'}, {"&gt;", '>'}, {"&quot;", '"'}, {"&nbsp;", ' '}};
    for (std::size_t i = headEnd + 2; i < html.size(); ++i) {
        const char c = html[i];
        if (html.compare(i, 4, "<br>") == 0) {
            shown += "\r\n";
            lineHasText = pendingBlank = false;
            i += 3;
        } else if (c == ' ' || c == '\t' || c == '\r' || c == '\n') {
            pendingBlank = lineHasText;
        } else if (c == '&') {
            const auto entity = std::find_if(std::begin(entities), std::end(entities),
                                             [&](const auto& e) { return html.compare(i, e.first.size(), e.first) == 0; });
            if (entity == std::end(entities))
                return shown + "(unknown entity)";
            show(entity->second);
            i += entity->first.size() - 1;
        } else if (c == '<' || c == '>' || c == '"') {
            return shown + "(markup)";
        } else {
            show(c);
        }
    }
    return shown;
}

// What an RTF reader shows of a rich-text signature: \par a CR LF, \tab a tab, \'hh its
// byte, \\ \{ \} themselves; the font table, other control words and the source's own line
// breaks nothing. codePage receives \ansicpg's number.
std::string ShownRtf(const std::string& rtf, std::string* codePage = nullptr)
{
    if (rtf.rfind("{\\rtf1", 0) != 0)
        return "(no rtf)";
    std::string shown;
    int depth = 0, skipUntilDepth = 0;
    for (std::size_t i = 0; i < rtf.size(); ++i) {
        const char c = rtf[i];
        std::string out;
        if (depth == 0 && i > 0) {
            return shown + "(after the document)";
        } else if (c == '{' || c == '}') {
            depth += c == '{' ? 1 : -1;
            if (depth < skipUntilDepth)
                skipUntilDepth = 0;
        } else if (c == '\\' && i + 1 < rtf.size() && std::isalpha(static_cast<unsigned char>(rtf[i + 1]))) {
            std::size_t end = i + 1;
            while (end < rtf.size() && std::isalpha(static_cast<unsigned char>(rtf[end])))
                ++end;
            const std::string word = rtf.substr(i + 1, end - i - 1);
            const std::size_t numberStart = end;
            while (end < rtf.size() && (std::isdigit(static_cast<unsigned char>(rtf[end])) || rtf[end] == '-'))
                ++end;
            if (word == "par")
                out = "\r\n";
            else if (word == "tab")
                out = "\t";
            else if (word == "fonttbl")
                skipUntilDepth = depth;
            else if (word == "ansicpg" && codePage)
                *codePage = rtf.substr(numberStart, end - numberStart);
            i = end < rtf.size() && rtf[end] == ' ' ? end : end - 1;
        } else if (c == '\\' && rtf.compare(i, 2, "\\'") == 0 && i + 3 < rtf.size()) {
            out = static_cast<char>(std::stoi(rtf.substr(i + 2, 2), nullptr, 16));
            i += 3;
        } else if (c == '\\' && i + 1 < rtf.size()) {
            out = rtf[++i];
        } else if (c != '\r' && c != '\n') {
            out = c;
        }
        if (!skipUntilDepth)
            shown += out;
    }
    return depth == 0 ? shown : shown + "(unclosed)";
}

class SignatureWriterTest : public ::testing::Test {
protected:
    SignatureWriterTest() { settings.path = dir.File("signature.txt"); }

    std::string Signature() const { return ReadBytes(settings.path); }
    // A database of the given texts in the temp folder, listed in the settings.
    std::string AddDatabase(const std::string& name, const std::vector<std::string>& texts)
    {
        settings.databases.push_back(WriteDatabaseOfTexts(dir.File(name), texts));
        return settings.databases.back();
    }

    // Runs each of the three commands that write the signature, from an empty report list,
    // then check with the command's name.
    template <typename Check>
    void ForEachWritingCommand(Check check)
    {
        sink.reports.clear();
        writer.RandomChange();
        check("RandomChange");
        sink.reports.clear();
        writer.SetSignature("body");
        check("SetSignature");
        sink.reports.clear();
        writer.NowPlaying("Winamp", "song");
        check("NowPlaying");
    }

    TempDir dir;
    TestSettings settings;
    RecordingSink sink;
    SignatureDatabase db;
    FixedRandom random{{}};
    SignatureWriter writer{db, settings, sink, random};
};

} // namespace

TEST_F(SignatureWriterTest, RandomChangeChecksTargetThenListThenOpenDatabaseInThatOrder)
{
    const std::string noTarget = "You must specify where to write the signature!";
    const std::string noDatabases = "There are no files in the database list!";
    const std::string databaseOpen = "Cannot set signature while database is open!";
    struct Case {
        bool path, list, open;
        std::string text;
    };
    const Case cases[] = {
        {false, false, false, noTarget}, {false, true, true, noTarget},     {false, false, true, noTarget},
        {true, false, false, noDatabases}, {true, false, true, noDatabases}, {true, true, true, databaseOpen},
    };
    const std::string path = settings.path;
    const std::string database = AddDatabase("a.sigs", {"one"});
    const std::string before = ReadBytes(database);
    for (const auto& c : cases) {
        sink.reports.clear();
        settings.path = c.path ? path : "";
        settings.databases = c.list ? std::vector<std::string>{database} : std::vector<std::string>{};
        db.SetDatabaseOpen(c.open);
        writer.RandomChange();
        EXPECT_EQ(sink.reports, Reports{PlainError(c.text)}) << c.text;
        EXPECT_FALSE(FileExists(path));
        EXPECT_TRUE(random.asked.empty());
    }
    EXPECT_EQ(ReadBytes(database), before);
}

TEST_F(SignatureWriterTest, RandomChangeLeavesTheEditorsOpenDatabaseAlone)
{
    const std::string editing = AddDatabase("editing.sigs", {"a", "b", "c"});
    db.File().OpenExisting(editing);
    db.File().Seek(2);
    db.SetDatabaseOpen(true);
    settings.databases = {dir.File("other.sigs")}; // even a different database is refused
    writer.RandomChange();
    EXPECT_EQ(sink.reports, Reports{PlainError("Cannot set signature while database is open!")});
    ASSERT_TRUE(db.File().IsOpen());
    EXPECT_EQ(db.File().Position(), 2);
}

TEST_F(SignatureWriterTest, RandomChangeWritesThePickedRecordOfThePickedDatabase)
{
    AddDatabase("a.sigs", {"a0"});
    const std::string chosen = AddDatabase("b.sigs", {"b0", "b1\r\nsecond line", "b2"});
    AddDatabase("c.sigs", {"c0"});
    const std::string before = ReadBytes(chosen);
    random = FixedRandom({1, 1});
    settings.balloon = true;
    writer.RandomChange();
    EXPECT_EQ(random.asked, (std::vector<std::size_t>{3, 3}));
    EXPECT_EQ(Signature(), "b1\r\nsecond line");
    EXPECT_EQ(sink.reports, Reports{Notice("\"b1\r\nsecond line\"")});
    EXPECT_FALSE(db.File().IsOpen());
    EXPECT_EQ(ReadBytes(chosen), before);
}

TEST_F(SignatureWriterTest, RandomChangeReportsWhatWentWrongWithTheDatabase)
{
    const std::string held = AddDatabase("held.sigs", {"h"});
    WriteBytes(dir.File("empty.sigs"), "");
    const std::string holey = AddDatabase("short.sigs", {"s0", "s1"});
    base::FileHandle holder(CreateFileA(held.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(holder);

    const auto notOpened = [](const std::string& message) {
        return Error("Cannot open signature database!", message, "Error opening signature database: " + message);
    };
    struct Case {
        std::string database;
        std::size_t recordPick;
        RecordingSink::Report report;
    };
    const Case cases[] = {
        {dir.File("missing.sigs"), 0, notOpened("File not found")},
        {held, 0, notOpened("I/O error 32")},
        {dir.Path(), 0, notOpened("File access denied")},
        {dir.File("empty.sigs"), 0, PlainError("Signature database is empty!")},
        {holey, 2, Error("Error:", "Read beyond end of file", "ERROR: Read beyond end of file")},
    };
    WriteBytes(settings.path, "previous signature");
    settings.balloon = true;
    for (const auto& c : cases) {
        sink.reports.clear();
        settings.databases = {c.database};
        random = FixedRandom({0, c.recordPick});
        writer.RandomChange();
        EXPECT_EQ(sink.reports, Reports{c.report}) << c.database;
        EXPECT_FALSE(db.File().IsOpen()) << c.database;
        EXPECT_EQ(Signature(), "previous signature") << c.database;
    }
}

// The pick only reads, so a database the user may not write still gives signatures.
TEST_F(SignatureWriterTest, RandomChangeReadsADatabaseMarkedReadOnly)
{
    const std::string readOnly = AddDatabase("readonly.sigs", {"r0", "r1"});
    ASSERT_TRUE(SetFileAttributesA(readOnly.c_str(), FILE_ATTRIBUTE_READONLY));
    random = FixedRandom({0, 1});
    writer.RandomChange();
    EXPECT_TRUE(sink.reports.empty());
    EXPECT_EQ(Signature(), "r1");
    EXPECT_FALSE(db.File().IsOpen());
    EXPECT_EQ(ReadBytes(readOnly), DatabaseBytes({MakeRecord('\x01', "r0", 'r'), MakeRecord('\x01', "r1", 'r')}));
}

TEST_F(SignatureWriterTest, RefusesToWriteOverAProtectedFileHoweverItsPathIsSpelt)
{
    const std::string database = AddDatabase("Listed database.sigs", {"random body"});
    const std::string sideFile = dir.File("sigs.list");
    const std::string accented = dir.File("\xC9t\xE9.sigs"); // "Été.sigs" in code page 1252
    const std::string unsaved = dir.File("static.sig.qmz");     // not written yet
    WriteBytes(sideFile, "side file");
    WriteBytes(accented, "accented");
    const std::string hardLink = dir.File("linked.txt");
    ASSERT_TRUE(CreateHardLinkA(hardLink.c_str(), database.c_str(), nullptr));
    settings.protectedFiles = {database, sideFile, accented, unsaved};
    std::string forwardSlashes = database;
    std::replace(forwardSlashes.begin(), forwardSlashes.end(), '\\', '/');
    std::vector<std::string> spellings = {
        database, sideFile, dir.File("LISTED DATABASE.SIGS"), forwardSlashes,
        dir.File(".\\sub\\..\\listed database.sigs"), hardLink, dir.File("\xE9T\xC9.SIGS"), unsaved,
        "\\\\?\\" + dir.File("STATIC.SIG.QMZ"),
    };
    for (const std::string& file : {database, sideFile})
        for (const std::string& other : OtherSpellingsOf(file))
            spellings.push_back(other);
    // A file not made yet is found by its folder, however that is spelt.
    for (const std::string& folder : OtherSpellingsOf(dir.Path()))
        spellings.push_back(folder + "\\Static.Sig.Qmz");
    const std::string message = "It is a signature database or one of Varnquill's own files";
    const std::string stream = "It names a stream inside a file, not a file of its own";
    settings.balloon = true;
    const auto check = [&](const std::string& path, const std::string& why) {
        settings.path = path;
        ForEachWritingCommand([&](const char* command) {
            EXPECT_EQ(sink.reports, Reports{Error("Cannot open signature text file!", why,
                                                  "Error opening signature text file: " + why)})
                << path << " " << command;
        });
    };
    for (const std::string& path : spellings)
        check(path, message);
    for (const std::string& path : {database + ":x", database + "::$DATA", dir.File("new.txt:stream")})
        check(path, stream);
    EXPECT_EQ(ReadBytes(database), DatabaseBytes({MakeRecord('\x01', "random body", 'r')}));
    EXPECT_EQ(ReadBytes(sideFile), "side file");
    EXPECT_EQ(ReadBytes(accented), "accented");
    EXPECT_FALSE(FileExists(unsaved));

    // A name that only resembles one of them is an ordinary target.
    settings.path = dir.File("Listed database.sigs.txt");
    writer.SetSignature("body");
    EXPECT_EQ(Signature(), "body");

    // A file of the set replaced since the last change by a link to the database, the
    // settings unchanged: each file is asked which it is as it is opened.
    const std::string databaseBytes = ReadBytes(database);
    settings.path = dir.File("signature.txt");
    WriteBytes(dir.File("signature.htm"), "old");
    writer.SetSignature("before");
    for (const char* replaced : {"signature.txt", "signature.htm"}) {
        ASSERT_TRUE(DeleteFileA(dir.File(replaced).c_str()));
        ASSERT_TRUE(CreateHardLinkA(dir.File(replaced).c_str(), database.c_str(), nullptr));
        sink.reports.clear();
        writer.SetSignature("after");
        const std::string shown = replaced == std::string("signature.txt") ? message : message + " (signature.htm)";
        EXPECT_EQ(sink.reports, Reports{Error("Cannot open signature text file!", shown,
                                              "Error opening signature text file: " + shown)})
            << replaced;
        EXPECT_EQ(ReadBytes(database), databaseBytes) << replaced;
        ASSERT_TRUE(DeleteFileA(dir.File(replaced).c_str()));
        WriteBytes(dir.File(replaced), "old");
    }
}

// A database nobody lists is no target either: known by its ".sigs" name whether it exists
// or not, and under any other name by what it holds (whole records, a NUL in the first), also
// when it was copied over the signature file after the target was last used. A text file of
// the same size, or one in UTF-16 whose NULs follow its mark, is written as any other.
TEST_F(SignatureWriterTest, RefusesADatabaseNobodyListsByItsNameOrByTheRecordsItHolds)
{
    using namespace std::string_literals;
    AddDatabase("listed.sigs", {"random body"});
    const std::string database = DatabaseBytes({MakeRecord('\x01', "first", 'r'), MakeRecord('\x01', "second", 'r')});
    const std::string message = "It is a signature database or one of Varnquill's own files";
    const auto refused = [&](const std::string& name, const char* command) {
        EXPECT_EQ(sink.reports, Reports{Error("Cannot open signature text file!", message,
                                              "Error opening signature text file: " + message)})
            << name << " " << command;
    };
    for (const char* name : {"Other.sigs", "copy.txt", "copy.htm"}) {
        WriteBytes(dir.File(name), database);
        settings.path = dir.File(name);
        ForEachWritingCommand([&](const char* command) { refused(name, command); });
        EXPECT_EQ(ReadBytes(dir.File(name)), database) << name;
    }
    settings.path = dir.File("New.SIGS");
    ForEachWritingCommand([&](const char* command) { refused("New.SIGS", command); });
    EXPECT_FALSE(FileExists(settings.path));

    settings.path = dir.File("signature.txt");
    writer.SetSignature("before");
    ASSERT_TRUE(CopyFileA(dir.File("copy.txt").c_str(), settings.path.c_str(), FALSE));
    sink.reports.clear();
    writer.SetSignature("after");
    refused("signature.txt copied over", "SetSignature");
    EXPECT_EQ(Signature(), database);

    std::string utf16 = "\xFF\xFE"s;
    for (int i = 0; i < 512; ++i)
        utf16 += "x\0"s;
    for (const std::string& text : {std::string(2 * SignatureRecordSize, 'x'), utf16}) {
        WriteBytes(settings.path, text);
        sink.reports.clear();
        writer.SetSignature("body");
        EXPECT_TRUE(sink.reports.empty()) << text.size();
        EXPECT_EQ(Signature(), text == utf16 ? "\xFF\xFE" "b\0o\0d\0y\0"s : "body");
    }
}

TEST_F(SignatureWriterTest, ProgramRandomPicksTheOnlyDatabaseAndStaysInRange)
{
    const std::string database = AddDatabase("a.sigs", {"zero", "one", "two"});
    const std::string before = ReadBytes(database);
    SignatureWriter programWriter(db, settings, sink);
    std::set<std::string> written;
    for (int i = 0; i < 30; ++i) {
        programWriter.RandomChange();
        written.insert(Signature());
    }
    EXPECT_TRUE(sink.reports.empty());
    for (const auto& text : written)
        EXPECT_TRUE(text == "zero" || text == "one" || text == "two") << text;
    EXPECT_EQ(ReadBytes(database), before);
}

TEST(ClockSeededRandom, IsUniformOverTheWholeRange)
{
    ClockSeededRandom random;
    EXPECT_EQ(random.Below(1), 0u);
    std::vector<int> seen(3);
    for (int i = 0; i < 600; ++i) {
        const std::size_t pick = random.Below(3);
        ASSERT_LT(pick, 3u);
        ++seen[pick];
    }
    for (int count : seen)
        EXPECT_GT(count, 100); // 200 expected each; below 100 is beyond any chance
    EXPECT_THROW(random.Below(0), std::invalid_argument);
}

TEST_F(SignatureWriterTest, ComposesTheLayoutsByteForByte)
{
    const std::string body = "Body line\r\nsecond";
    const std::string title = "Artist - Song";
    const std::string staticText = "Static\r\ntext";
    const std::string heading = "Winamp is currently playing:\r\n";
    enum Place { None, Above, Below };
    struct Case {
        bool delimiter;
        Place place;
        bool nowPlaying;
        std::string expected;
        const char* player = "Winamp";
    };
    const Case cases[] = {
        {false, None, false, body},
        {true, None, false, "-- \r\n" + body},
        {false, Above, false, staticText + "\r\n" + body},
        {true, Above, false, "-- \r\n" + staticText + "\r\n" + body},
        {false, Below, false, body + "\r\n" + staticText},
        {true, Below, false, "-- \r\n" + body + "\r\n" + staticText},
        {false, None, true, heading + title},
        {true, None, true, "-- \r\n" + heading + title},
        {false, Above, true, staticText + "\r\n" + heading + title},
        {true, Above, true, "-- \r\n" + staticText + "\r\n" + heading + title},
        {false, Below, true, heading + title + "\r\n" + staticText},
        {true, Below, true, "-- \r\n" + heading + title + "\r\n" + staticText},
        // The heading names the player that plays, whichever it is.
        {false, None, true, "Spotify is currently playing:\r\n" + title, "Spotify"},
        {true, Below, true, "-- \r\nMedia player is currently playing:\r\n" + title + "\r\n" + staticText,
         "Media player"},
    };
    settings.staticText = staticText;
    settings.balloon = true;
    for (const auto& c : cases) {
        sink.reports.clear();
        settings.delimiter = c.delimiter;
        settings.staticOn = c.place != None;
        settings.staticAbove = c.place != Below; // "above" with the switch off writes no static text
        if (c.nowPlaying)
            writer.NowPlaying(c.player, title);
        else
            writer.SetSignature(body);
        EXPECT_EQ(Signature(), c.expected) << c.expected;
        EXPECT_EQ(sink.reports, Reports{Notice("\"" + (c.nowPlaying ? title : body) + "\"")});
    }
}

TEST_F(SignatureWriterTest, EmptyPartsStillGetTheirLineBreaks)
{
    settings.staticOn = true;
    settings.staticAbove = true;
    settings.balloon = true;
    writer.SetSignature("");
    EXPECT_EQ(Signature(), "\r\n");
    EXPECT_EQ(sink.reports, Reports{Notice("\"\"")});
    settings.staticAbove = false;
    settings.staticText = "trailing break\r\n";
    writer.SetSignature("b");
    EXPECT_EQ(Signature(), "b\r\ntrailing break\r\n");
}

TEST_F(SignatureWriterTest, LongTextsCrossTheWriteBufferWholeAndShorterOnesReplaceLongerFiles)
{
    std::string body;
    for (int i = 0; i < 700; ++i)
        body += static_cast<char>(0x20 + i % 0xdf); // every byte from blank to 0xFE, no BOM added
    settings.staticOn = true;
    settings.staticText = std::string(129, 's');
    writer.SetSignature(body);
    EXPECT_EQ(Signature(), body + "\r\n" + settings.staticText);
    settings.staticOn = false;
    writer.SetSignature("short");
    EXPECT_EQ(Signature(), "short");
    EXPECT_TRUE(sink.reports.empty());
}

TEST_F(SignatureWriterTest, WhileTheFileIsWrittenOthersMayReadWhatTheBufferHasWrittenButNotWrite)
{
    const std::string text(202, 'b');
    TextFileWriter file(settings.path);
    file.Write(text);
    const auto otherOpen = [&](DWORD access, DWORD share) {
        return base::FileHandle(
            CreateFileA(settings.path.c_str(), access, share, nullptr, OPEN_EXISTING, 0, nullptr));
    };
    {
        // The writer reads too (what the file held, before it is written over): a reader
        // must let others read and write, as readers of a file another program writes do.
        const base::FileHandle reader = otherOpen(GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE);
        EXPECT_TRUE(reader);
        // 202 bytes have gone through the 128-byte buffer: the one full buffer is on disk, the
        // rest is still held.
        LARGE_INTEGER size{};
        EXPECT_TRUE(GetFileSizeEx(reader.Get(), &size));
        EXPECT_EQ(size.QuadPart, 128);
        const base::FileHandle otherWriter = otherOpen(GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE);
        const DWORD refusal = GetLastError();
        EXPECT_FALSE(otherWriter);
        EXPECT_EQ(refusal, static_cast<DWORD>(ERROR_SHARING_VIOLATION));
    }
    file.Close();
    EXPECT_EQ(Signature(), text);
}

TEST_F(SignatureWriterTest, WritesNothingWithoutATarget)
{
    settings.path = "";
    settings.balloon = true;
    writer.SetSignature("body");
    writer.NowPlaying("Winamp", "song");
    const Reports expected(2, PlainError("You must specify where to write the signature!"));
    EXPECT_EQ(sink.reports, expected);
}

TEST_F(SignatureWriterTest, ReportsATextFileItCannotOpenAndLeavesItAsItWas)
{
    const std::string held = dir.File("held.txt");
    WriteBytes(held, "kept");
    base::FileHandle holder(CreateFileA(held.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(holder);
    const std::string readOnly = dir.File("readonly.txt");
    WriteBytes(readOnly, "kept");
    ASSERT_TRUE(SetFileAttributesA(readOnly.c_str(), FILE_ATTRIBUTE_READONLY));
    const std::string base = dir.File("");
    const std::string tooLong = base + std::string(260 - base.size(), 't');

    const auto notOpened = [](const std::string& message) {
        return Error("Cannot open signature text file!", message, "Error opening signature text file: " + message);
    };
    const std::pair<std::string, std::string> cases[] = {
        {dir.Path(), "File access denied"},
        {held, "I/O error 32"},
        {readOnly, "File access denied"},
        {tooLong, "Invalid filename"},
        {dir.File("no\\such\\folder.txt"), "Invalid filename"},
    };
    AddDatabase("a.sigs", {"random body"});
    settings.balloon = true;
    for (const auto& [path, message] : cases) {
        settings.path = path;
        ForEachWritingCommand([&](const char* command) {
            EXPECT_EQ(sink.reports, Reports{notOpened(message)}) << path << " " << command;
        });
    }
    holder.Reset();
    EXPECT_EQ(ReadBytes(held), "kept");
    EXPECT_EQ(ReadBytes(readOnly), "kept");
    EXPECT_FALSE(FileExists(tooLong));
}

TEST_F(SignatureWriterTest, AFailureWhileWritingClosesTheFileAndTravelsOnUnreported)
{
    WriteBytes(settings.path, "the signature before");
    settings.staticOn = true;
    settings.staticTextFails = true;
    settings.balloon = true;
    EXPECT_THROW(writer.SetSignature("body"), std::runtime_error);
    EXPECT_TRUE(sink.reports.empty());
    EXPECT_EQ(Signature(), "") << "what was written before the failure, nothing of the old text";
    // Closed: nobody else holds it, so it opens without any sharing.
    EXPECT_TRUE(base::FileHandle(
        CreateFileA(settings.path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr)));
    settings.staticTextFails = false;
    settings.staticText = "static";
    writer.SetSignature("body");
    EXPECT_EQ(Signature(), "body\r\nstatic");
}

TEST_F(SignatureWriterTest, TheFormatFollowsTheExtensionInAnyLetterCase)
{
    ASSERT_TRUE(CreateDirectoryA(dir.File("folder.htm").c_str(), nullptr));
    const std::string body = "<b>&amp; \"{\\rtf1 x}\"\r\ncaf\xe9";
    enum Shown { Plain, Html, Rtf };
    const std::pair<std::string, Shown> cases[] = {
        {"signature.txt", Plain},     {"signature.sig", Plain},          {"signature", Plain},
        {"signature.htm.txt", Plain}, {"folder.htm\\signature", Plain}, {"signature.HTML", Html},
        {"signature.Htm", Html},      {"signature.RTF", Rtf},
    };
    for (const auto& [name, shown] : cases) {
        settings.path = dir.File(name);
        writer.SetSignature(body);
        const std::string bytes = Signature();
        EXPECT_EQ(shown == Html ? ShownHtml(bytes) : shown == Rtf ? ShownRtf(bytes) : bytes, body) << name;
    }
    EXPECT_TRUE(sink.reports.empty());
}

// Every file of a set shows the text of the .txt written with it: markup, quotes, braces,
// backslashes, runs of blanks (at a line's ends too), bytes above 127, and static text of
// several lines.
TEST_F(SignatureWriterTest, HtmlAndRichTextOfASetShowExactlyItsPlainText)
{
    enum Place { None, Above, Below };
    struct Case {
        bool delimiter;
        Place place;
        std::string staticText, body;
    };
    const Case cases[] = {
        {true, Below, "Static  line\r\n\r\n  indented <i>", "Tom & Jerry <tj@example.com>\r\n\"quoted\" {b} C:\\x\\"},
        {false, Above, " lead\r\n", "caf\xe9 \xa9 \xff   three blanks\r\n \r\nend "},
        {false, None, "", " "},
        {false, None, "", ""},
    };
    const std::string html = dir.File("signature.HTM");
    const std::string rtf = dir.File("signature.Rtf");
    WriteBytes(html, "old");
    WriteBytes(rtf, "old");
    for (const auto& c : cases) {
        settings.delimiter = c.delimiter;
        settings.staticOn = c.place != None;
        settings.staticAbove = c.place == Above;
        settings.staticText = c.staticText;
        writer.SetSignature(c.body);
        const std::string plain = Signature();
        // The delimiter is "-- " before <br>, as Thunderbird writes its own: the blank before
        // the line's end is folded away.
        EXPECT_EQ(ShownHtml(ReadBytes(html)), c.delimiter ? "--" + plain.substr(3) : plain);
        std::string codePage;
        EXPECT_EQ(ShownRtf(ReadBytes(rtf), &codePage), plain);
        EXPECT_EQ(codePage, std::to_string(GetACP()));
    }
    EXPECT_TRUE(sink.reports.empty());
}

TEST(RichTextSignature, EscapesBothBytesOfADoubleByteCharacter)
{
    // In code page 932 these two bytes are one character whose second byte is a backslash.
    const std::string text = "\x95\x5c{";
    const std::string rtf = RichTextSignature(text, 932);
    EXPECT_NE(rtf.find("\\'95\\'5c\\{}"), std::string::npos) << rtf;
    EXPECT_EQ(ShownRtf(rtf), text);
}

TEST_F(SignatureWriterTest, ARandomChangeRewritesEveryExistingFileOfTheSetFromOnePick)
{
    AddDatabase("a.sigs", {"first", "second & <last>"});
    random = FixedRandom({0, 1});
    settings.delimiter = true;
    settings.path = dir.File("signature.rtf");
    const std::string others[] = {"signature.html", "signature.doc", "other.htm", "signature.txt.bak"};
    for (const char* name : {"signature.txt", "signature.htm", "signature.rtf"})
        WriteBytes(dir.File(name), "old");
    for (const std::string& name : others)
        WriteBytes(dir.File(name), "unrelated");
    writer.RandomChange();
    EXPECT_EQ(random.asked.size(), 2u);
    EXPECT_EQ(ReadBytes(dir.File("signature.txt")), "-- \r\nsecond & <last>");
    EXPECT_EQ(ShownHtml(ReadBytes(dir.File("signature.htm"))), "--\r\nsecond & <last>");
    EXPECT_EQ(ShownRtf(Signature()), "-- \r\nsecond & <last>");
    for (const std::string& name : others)
        EXPECT_EQ(ReadBytes(dir.File(name)), "unrelated") << name;
}

TEST_F(SignatureWriterTest, OnlyFilesThatExistAreRewrittenAndOnlyBesideAFileOfTheSet)
{
    WriteBytes(dir.File("signature.txt"), "old");
    settings.path = dir.File("signature.sig");
    writer.SetSignature("body");
    EXPECT_EQ(ReadBytes(dir.File("signature.txt")), "old");

    settings.path = dir.File("signature.htm");
    writer.SetSignature("body");
    EXPECT_EQ(ReadBytes(dir.File("signature.txt")), "body");
    EXPECT_FALSE(FileExists(dir.File("signature.rtf")));

    // The set is looked for when the path, the list or the open database changes, not on
    // every change.
    WriteBytes(dir.File("signature.rtf"), "made since");
    writer.SetSignature("again");
    EXPECT_EQ(ReadBytes(dir.File("signature.txt")), "again");
    EXPECT_EQ(ReadBytes(dir.File("signature.rtf")), "made since");
    settings.protectedFiles = {dir.File("opened.sigs")};
    writer.SetSignature("found");
    EXPECT_EQ(ShownRtf(ReadBytes(dir.File("signature.rtf"))), "found");
    EXPECT_TRUE(sink.reports.empty());
}

// The set is written whole before any report, and a report of a sibling names it and leaves
// it as it was; the change notice then stays away so that it does not push the error's
// balloon aside. A sibling too large to be a signature is some other document of the user's;
// one that holds records is a database, listed or not.
TEST_F(SignatureWriterTest, AFileOfTheSetThatCannotBeWrittenIsReportedByNameAndKept)
{
    ASSERT_TRUE(CreateDirectoryA(dir.File("signature.htm").c_str(), nullptr)); // a folder: no member
    const std::string sibling = dir.File("signature.rtf");
    const std::string largest(LargestSignatureSibling, 'x');
    const struct {
        bool readOnly;
        bool ownFile; // a database that happens to share the signature's base name
        std::string bytes;
        std::string why; // empty: rewritten
    } cases[] = {
        {true, false, "kept", "File access denied"},
        {false, true, "kept", "It is a signature database or one of Varnquill's own files"},
        {false, false, largest + "x", "It is too large to be a signature (over 1 MiB)"},
        {false, false, DatabaseBytes({MakeRecord('\x01', "a database", 'r')}),
         "It is a signature database or one of Varnquill's own files"},
        {false, false, largest, ""},
    };
    settings.balloon = true;
    for (const auto& c : cases) {
        SetFileAttributesA(sibling.c_str(), FILE_ATTRIBUTE_NORMAL); // as the case before left it
        WriteBytes(sibling, c.bytes);
        if (c.readOnly) {
            ASSERT_TRUE(SetFileAttributesA(sibling.c_str(), FILE_ATTRIBUTE_READONLY));
        }
        settings.protectedFiles.assign(c.ownFile ? 1 : 0, sibling);
        sink.reports.clear();
        writer.SetSignature("body");
        EXPECT_EQ(Signature(), "body");
        if (c.why.empty()) {
            EXPECT_EQ(sink.reports, Reports{Notice("\"body\"")});
            EXPECT_EQ(ShownRtf(ReadBytes(sibling)), "body");
            continue;
        }
        const std::string message = c.why + " (signature.rtf)";
        EXPECT_EQ(sink.reports, Reports{Error("Cannot open signature text file!", message,
                                              "Error opening signature text file: " + message)});
        EXPECT_EQ(ReadBytes(sibling), c.bytes);
    }
}

TEST_F(SignatureWriterTest, TheSignatureFileKeepsTheEncodingItHas)
{
    for (const encodings::Case& c : encodings::PlainTextCases) {
        DeleteFileA(settings.path.c_str());
        if (c.before)
            WriteBytes(settings.path, *c.before);
        writer.SetSignature(encodings::EncodedBody);
        EXPECT_EQ(Signature(), c.after) << c.what;
        // The next change, with nobody writing in between, finds the encoding it left.
        writer.SetSignature(encodings::EncodedBody);
        EXPECT_EQ(Signature(), c.after) << c.what << ", written again";
    }
    EXPECT_TRUE(sink.reports.empty());
}

// Another program's write between two changes counts, even when it leaves the file as long as
// the program's own write did.
TEST_F(SignatureWriterTest, AFileSavedAgainInAnotherEncodingBetweenChangesIsReadAgain)
{
    DeleteFileA(settings.path.c_str());
    writer.SetSignature(encodings::EncodedBody);
    ASSERT_EQ(Signature(), encodings::EncodedBody);
    const std::string sameLengthUtf8 = "caf\xC3\xA9 abc";
    ASSERT_EQ(sameLengthUtf8.size(), encodings::EncodedBody.size());
    WriteBytes(settings.path, sameLengthUtf8);
    writer.SetSignature(encodings::EncodedBody);
    EXPECT_EQ(Signature(), encodings::BodyUtf8);
    EXPECT_TRUE(sink.reports.empty());
}

// Each file of a set is judged by itself; HTML says which charset it is in, and RTF is 7-bit
// text with its escapes and no mark, whatever its old bytes were (a mark would make it no RTF).
TEST_F(SignatureWriterTest, EachFileOfASetKeepsItsOwnEncodingAndHtmlDeclaresIt)
{
    using namespace encodings;
    const auto utf16 = [](const std::string& ascii) {
        std::string wide;
        for (char c : ascii)
            wide += std::string{c, '\0'};
        return wide;
    };
    const std::string rtf = RichTextSignature(EncodedBody, 1252);
    const std::string utf8Html = "<meta charset=\"utf-8\">" + BodyUtf8;
    const struct {
        std::string txtBefore, htmBefore, rtfBefore;
        std::string txtAfter, htmAfter, rtfAfter;
    } cases[] = {
        {Utf16Mark + "a\0"s, "<meta charset=\"utf-8\">caf\xC3\xA9", Utf8Mark + "{\\rtf1 x}",
         Utf16Mark + BodyUtf16, utf8Html, rtf},
        {Utf8Mark, Utf16Mark, "{\\rtf1 caf\\'e9}", Utf8Mark + BodyUtf8,
         Utf16Mark + utf16("<meta charset=\"utf-16\">") + BodyUtf16, rtf},
        {"caf\xC3\xA9", "<meta charset=\"windows-1252\">caf\xe9", Utf16Mark, BodyUtf8,
         "<meta charset=\"windows-1252\">" + EncodedBody, rtf},
    };
    for (const auto& c : cases) {
        WriteBytes(dir.File("signature.txt"), c.txtBefore);
        WriteBytes(dir.File("signature.htm"), c.htmBefore);
        WriteBytes(dir.File("signature.rtf"), c.rtfBefore);
        writer.SetSignature(EncodedBody);
        EXPECT_EQ(ReadBytes(dir.File("signature.txt")), c.txtAfter) << c.txtAfter;
        EXPECT_EQ(ReadBytes(dir.File("signature.htm")), c.htmAfter) << c.htmAfter;
        EXPECT_EQ(ReadBytes(dir.File("signature.rtf")), c.rtfAfter) << c.rtfAfter;
    }
    EXPECT_TRUE(sink.reports.empty());
}

// Only the start of a long file is read; a character cut off where the reading stops does not
// make valid UTF-8 invalid, while a whole file ending in half a character is not UTF-8.
TEST(TextFileEncoding, IsToldByTheFirstBytesEvenWhereTheyCutACharacter)
{
    const struct {
        std::string bytes;
        bool complete;
        TextFileEncoding expected;
    } cases[] = {
        {"caf\xC3\xA9 \xE2\x82", false, TextFileEncoding::Utf8},
        {"caf\xC3\xA9 \xE2\x82", true, TextFileEncoding::Ansi},
        {"caf\xC3\xA9 \xF0\x9F\x98", false, TextFileEncoding::Utf8},
        {"caf\xE2", false, TextFileEncoding::Ansi}, // nothing beyond ASCII before the cut
        {"caf\xE9 x", false, TextFileEncoding::Ansi},
        {"caf\xC3\xA9\xA9", false, TextFileEncoding::Ansi}, // a stray continuation is no cut
    };
    for (const auto& c : cases)
        EXPECT_EQ(EncodingOfBytes(c.bytes, c.complete), c.expected) << c.bytes << " " << c.complete;

    TempDir dir;
    const std::string longFile = dir.File("long.txt");
    WriteBytes(longFile, "\xC3\xA9" + std::string(EncodingSampleSize - 3, 'a') + "\xC3\xA9 more");
    EXPECT_EQ(EncodingOfFile(longFile), TextFileEncoding::Utf8);
    WriteBytes(longFile, "\xC3\xA9" + std::string(EncodingSampleSize - 2, 'a') + "\xE9");
    EXPECT_EQ(EncodingOfFile(longFile), TextFileEncoding::Utf8); // the invalid byte is beyond the sample
    EXPECT_EQ(EncodingOfFile(dir.File("missing.txt")), TextFileEncoding::Ansi);
    EXPECT_EQ(EncodingOfFile(dir.Path()), TextFileEncoding::Ansi);
}

// "Copy signature": the change itself, and the text it answers for the clipboard.
TEST_F(SignatureWriterTest, RandomChangeToCopyChangesAsTheRandomChangeAndAnswersWhatItWrote)
{
    AddDatabase("a.sigs", {"first", "second"});
    settings.delimiter = true;
    settings.balloon = true;
    random = FixedRandom({0, 1, 0, 0});
    EXPECT_EQ(writer.RandomChangeToCopy(), "-- \r\nsecond");
    EXPECT_EQ(Signature(), "-- \r\nsecond");
    EXPECT_EQ(sink.reports, Reports{Notice("\"second\"")});

    // Without a signature file only the text is made and announced, with no error.
    sink.reports.clear();
    std::remove(settings.path.c_str());
    settings.path.clear();
    EXPECT_EQ(writer.RandomChangeToCopy(), "-- \r\nfirst");
    EXPECT_FALSE(FileExists(dir.File("signature.txt")));
    EXPECT_EQ(sink.reports, Reports{Notice("\"first\"")});

    // A failed pick answers nothing, after its report.
    sink.reports.clear();
    settings.databases.clear();
    EXPECT_EQ(writer.RandomChangeToCopy(), std::nullopt);
    EXPECT_EQ(sink.reports, Reports{PlainError("There are no files in the database list!")});
}

// The clipboard's HTML: its offsets, read as a reader reads them, mark exactly the document
// and the fragment, which shows the text as the .htm file does.
TEST(ClipboardSignature, HtmlOffsetsMarkTheFragmentAndEveryFormHoldsTheText)
{
    const std::string text = "-- \r\nTom & Jerry <tj@example.com>\r\n  caf\xe9";
    const ClipboardSignature forms = ClipboardFormsOf(text, 1252);
    const auto offset = [&](const std::string& name) {
        const std::size_t at = forms.html.find(name + ":");
        return at == std::string::npos ? std::string::npos
                                       : static_cast<std::size_t>(std::stoul(forms.html.substr(at + name.size() + 1)));
    };
    const std::size_t startHtml = offset("StartHTML"), endHtml = offset("EndHTML");
    const std::size_t startFragment = offset("StartFragment"), endFragment = offset("EndFragment");
    ASSERT_LE(endHtml, forms.html.size());
    ASSERT_TRUE(startHtml < startFragment && startFragment <= endFragment && endFragment <= endHtml);
    EXPECT_EQ(forms.html.rfind("Version:0.9\r\n", 0), 0u);
    EXPECT_EQ(forms.html.substr(startHtml, 6), "<html>");
    EXPECT_EQ(forms.html.substr(endHtml - 7, 7), "</html>");
    EXPECT_NE(forms.html.substr(startHtml, startFragment - startHtml).find("charset=\"utf-8\""), std::string::npos);
    const std::string fragment = forms.html.substr(startFragment, endFragment - startFragment);
    EXPECT_EQ(fragment, "--&nbsp;<br>Tom &amp; Jerry &lt;tj@example.com&gt;<br>&nbsp; caf\xc3\xa9");
    EXPECT_EQ(ShownHtml("<meta charset=\"utf-8\">" + fragment), "-- \r\nTom & Jerry <tj@example.com>\r\n  caf\xc3\xa9");

    EXPECT_EQ(forms.ansiText, text);
    EXPECT_EQ(forms.unicodeText, L"-- \r\nTom & Jerry <tj@example.com>\r\n  caf\u00e9");
    EXPECT_EQ(forms.richText, RichTextSignature(text, 1252));
    EXPECT_EQ(ShownRtf(forms.richText), text);
}

// Pure ASCII tells no encoding: a file last found in UTF-8 keeps it with the settings, so the
// next accented signature is UTF-8 again, in the next run too (a new writer), until the file
// shows another encoding. An HTML file keeps the charset it declares.
TEST_F(SignatureWriterTest, AFileKeepsTheEncodingItWasLastFoundInThroughAPureAsciiSignature)
{
    const std::string htm = dir.File("signature.htm");
    WriteBytes(settings.path, "caf\xC3\xA9");
    WriteBytes(htm, "<meta charset=\"utf-8\">caf\xC3\xA9");
    writer.SetSignature("Plain text");
    EXPECT_EQ(Signature(), "Plain text");
    EXPECT_EQ(ReadBytes(htm), "<meta charset=\"utf-8\">Plain text");

    SignatureWriter nextRun{db, settings, sink, random};
    nextRun.SetSignature("Caf\xe9 \x80" "5");
    EXPECT_EQ(Signature(), "Caf\xC3\xA9 \xE2\x82\xAC" "5");
    EXPECT_EQ(ReadBytes(htm), "<meta charset=\"utf-8\">Caf\xC3\xA9 \xE2\x82\xAC" "5");

    WriteBytes(settings.path, "caf\xe9"); // saved in ANSI by someone else
    nextRun.SetSignature("Plain text");
    nextRun.SetSignature("Caf\xe9");
    EXPECT_EQ(Signature(), "Caf\xe9");
    EXPECT_EQ(settings.keptEncodings[settings.path], TextFileEncoding::Ansi);
    EXPECT_TRUE(sink.reports.empty());
}

// The encoding is kept by the file's full path: "sig.txt" in the field names another file in
// each current folder, and a new one there starts in ANSI whatever the first one was found in.
TEST_F(SignatureWriterTest, AFileNamedAlikeInAnotherFolderKeepsItsOwnEncoding)
{
    const std::string first = dir.File("first"), second = dir.File("second");
    ASSERT_TRUE(CreateDirectoryA(first.c_str(), nullptr));
    ASSERT_TRUE(CreateDirectoryA(second.c_str(), nullptr));
    WriteBytes(first + "\\sig.txt", "caf\xC3\xA9");
    char previous[MAX_PATH] = {};
    ASSERT_NE(GetCurrentDirectoryA(MAX_PATH, previous), 0u);
    settings.path = "sig.txt";
    const auto signatureIn = [&](const std::string& folder, const std::string& body) {
        EXPECT_TRUE(SetCurrentDirectoryA(folder.c_str()));
        writer.SetSignature(body);
        return ReadBytes(folder + "\\sig.txt");
    };
    EXPECT_EQ(signatureIn(first, "Plain text"), "Plain text");
    EXPECT_EQ(signatureIn(second, "Caf\xe9"), "Caf\xe9");
    EXPECT_EQ(signatureIn(first, "Caf\xe9"), "Caf\xC3\xA9");
    SetCurrentDirectoryA(previous);
    using Kept = std::map<std::string, TextFileEncoding>;
    EXPECT_EQ(settings.keptEncodings, (Kept{{first + "\\sig.txt", TextFileEncoding::Utf8}}));
    EXPECT_TRUE(sink.reports.empty());
}

// A UTF-32 mark is no UTF-16 one: such a file is reported and left byte for byte, whether it
// is the chosen file or one of its set; an RTF file is written whatever it held.
TEST_F(SignatureWriterTest, AFileInUtf32IsReportedAndLeftAsItWas)
{
    using namespace std::string_literals;
    const std::string htm = dir.File("signature.htm");
    const std::string rtf = dir.File("signature.rtf");
    const std::string utf32Le = "\xFF\xFE\0\0c\0\0\0"s;
    const std::string utf32Be = "\0\0\xFE\xFF\0\0\0c"s;
    const std::string message = UnwritableEncodingMessage;
    WriteBytes(settings.path, utf32Le);
    WriteBytes(htm, utf32Be);
    WriteBytes(rtf, utf32Le);
    writer.SetSignature("body");
    EXPECT_EQ(Signature(), utf32Le);
    EXPECT_EQ(ReadBytes(htm), utf32Be);
    EXPECT_EQ(sink.reports, Reports{Error("Cannot open signature text file!", message,
                                          "Error opening signature text file: " + message)});

    sink.reports.clear();
    WriteBytes(settings.path, "old");
    writer.SetSignature("body");
    EXPECT_EQ(Signature(), "body");
    EXPECT_EQ(ReadBytes(htm), utf32Be);
    EXPECT_EQ(ReadBytes(rtf), RichTextSignature("body", 1252));
    EXPECT_EQ(sink.reports, Reports{Error("Cannot open signature text file!", message + " (signature.htm)",
                                          "Error opening signature text file: " + message + " (signature.htm)")});
}
