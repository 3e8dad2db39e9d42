#include "engine/SignatureWriter.h"
#include "engine/TextFileWriter.h"

#include "EngineTestFiles.h"
#include "FixedRandom.h"
#include "WriterDoubles.h"
#include "toolkit/Handles.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>

namespace {

using Reports = std::vector<RecordingSink::Report>;

class SignatureWriterTest : public ::testing::Test {
protected:
    SignatureWriterTest() { settings.path = dir.File("signature.txt"); }

    std::string Signature() const { return ReadBytes(settings.path); }
    // A database of the given texts in the temp folder, listed in the settings.
    std::string AddDatabase(const std::string& name, const std::vector<std::string>& texts)
    {
        std::vector<SignatureRecord> records;
        for (const auto& text : texts)
            records.push_back(MakeRecord('\x01', text, 'r'));
        WriteBytes(dir.File(name), DatabaseBytes(records));
        settings.databases.push_back(dir.File(name));
        return dir.File(name);
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
    toolkit::FileHandle holder(CreateFileA(held.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
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
    const std::string database = AddDatabase("Listed.sigs", {"random body"});
    const std::string sideFile = dir.File("sigs.list");
    WriteBytes(sideFile, "side file");
    settings.protectedFiles = {database, sideFile};
    std::string forwardSlashes = database;
    std::replace(forwardSlashes.begin(), forwardSlashes.end(), '\\', '/');
    const std::string spellings[] = {
        database, sideFile, dir.File("LISTED.SIGS"), forwardSlashes, dir.File(".\\sub\\..\\listed.sigs"),
    };
    const std::string message = "It is a signature database or one of Varnquill's own files";
    const Reports refused{Error("Cannot open signature text file!", message, "Error opening signature text file: " + message)};
    settings.balloon = true;
    for (const std::string& path : spellings) {
        settings.path = path;
        for (int command = 0; command < 3; ++command) {
            sink.reports.clear();
            if (command == 0)
                writer.RandomChange();
            else if (command == 1)
                writer.SetSignature("body");
            else
                writer.NowPlaying("song");
            EXPECT_EQ(sink.reports, refused) << path << " command " << command;
        }
    }
    EXPECT_EQ(ReadBytes(database), DatabaseBytes({MakeRecord('\x01', "random body", 'r')}));
    EXPECT_EQ(ReadBytes(sideFile), "side file");

    // A name that only resembles one of them is an ordinary target.
    settings.path = dir.File("Listed.sigs.txt");
    writer.SetSignature("body");
    EXPECT_EQ(Signature(), "body");
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
    };
    settings.staticText = staticText;
    settings.balloon = true;
    for (const auto& c : cases) {
        sink.reports.clear();
        settings.delimiter = c.delimiter;
        settings.staticOn = c.place != None;
        settings.staticAbove = c.place != Below; // "above" with the switch off writes no static text
        if (c.nowPlaying)
            writer.NowPlaying(title);
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
        return toolkit::FileHandle(
            CreateFileA(settings.path.c_str(), access, share, nullptr, OPEN_EXISTING, 0, nullptr));
    };
    {
        // A reader that lets nobody else read succeeds only when the writer does not read.
        const toolkit::FileHandle reader = otherOpen(GENERIC_READ, FILE_SHARE_WRITE);
        EXPECT_TRUE(reader);
        // 202 bytes have gone through the 128-byte buffer: the one full buffer is on disk, the
        // rest is still held.
        LARGE_INTEGER size{};
        EXPECT_TRUE(GetFileSizeEx(reader.Get(), &size));
        EXPECT_EQ(size.QuadPart, 128);
        const toolkit::FileHandle otherWriter = otherOpen(GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE);
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
    writer.NowPlaying("song");
    const Reports expected(2, PlainError("You must specify where to write the signature!"));
    EXPECT_EQ(sink.reports, expected);
}

TEST_F(SignatureWriterTest, ReportsATextFileItCannotOpenAndLeavesItAsItWas)
{
    const std::string held = dir.File("held.txt");
    WriteBytes(held, "kept");
    toolkit::FileHandle holder(CreateFileA(held.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
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
        for (int command = 0; command < 3; ++command) {
            sink.reports.clear();
            if (command == 0)
                writer.RandomChange();
            else if (command == 1)
                writer.SetSignature("body");
            else
                writer.NowPlaying("song");
            EXPECT_EQ(sink.reports, Reports{notOpened(message)}) << path << " command " << command;
        }
    }
    holder.Reset();
    EXPECT_EQ(ReadBytes(held), "kept");
    EXPECT_EQ(ReadBytes(readOnly), "kept");
    EXPECT_FALSE(FileExists(tooLong));
}

TEST_F(SignatureWriterTest, AFailureWhileWritingClosesTheFileAndTravelsOnUnreported)
{
    settings.staticOn = true;
    settings.staticTextFails = true;
    settings.balloon = true;
    EXPECT_THROW(writer.SetSignature("body"), std::runtime_error);
    EXPECT_TRUE(sink.reports.empty());
    // Closed: nobody else holds it, so it opens without any sharing.
    EXPECT_TRUE(toolkit::FileHandle(
        CreateFileA(settings.path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr)));
    settings.staticTextFails = false;
    settings.staticText = "static";
    writer.SetSignature("body");
    EXPECT_EQ(Signature(), "body\r\nstatic");
}
