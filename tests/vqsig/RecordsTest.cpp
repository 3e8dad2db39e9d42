// vqsig's record commands on database files: count, list, add, delete, and the engine's
// failure texts for a database that cannot be used.
#include "base/Handles.h"
#include "tests/common/TestDirectory.h"
#include "tests/vqsig/ConsoleRun.h"
#include "tests/vqsig/Databases.h"

#include <gtest/gtest.h>

using vqsig_test::Database;
using vqsig_test::Vqsig;

TEST(VqsigRecordsTest, AddCountListAndDeleteWorkOnTheSameRecords)
{
    TestDirectory folder;
    const std::string db = folder.Path() + "new.sigs";
    EXPECT_EQ("Record 1 added.\r\n", Vqsig({"add", db, "First"}).out);
    EXPECT_EQ("Record 2 added.\r\n", Vqsig({"add", db}, "two\nlines\n").out);
    EXPECT_EQ("Record 3 added.\r\n", Vqsig({"add", db}, "third\r\n").out);
    EXPECT_EQ(Database({"First", "two\r\nlines", "third"}), folder.Read("new.sigs"));

    EXPECT_EQ("3\r\n", Vqsig({"count", db}).out);
    EXPECT_EQ("#1\r\nFirst\r\n%\r\n#2\r\ntwo\r\nlines\r\n%\r\n#3\r\nthird\r\n%\r\n", Vqsig({"list", db}).out);
    // A reader that has gone ends the listing quietly.
    const auto unread = Vqsig({"list", db}, "", vqsig_test::Output::ClosedPipe);
    EXPECT_EQ(1u, unread.exitCode);
    EXPECT_EQ("", unread.err);

    const auto deleted = Vqsig({"delete", db, "2"});
    EXPECT_EQ(0u, deleted.exitCode);
    EXPECT_EQ("Record 2 deleted.\r\n", deleted.out);
    EXPECT_EQ(Database({"First", "third"}), folder.Read("new.sigs"));

    const auto beyond = Vqsig({"delete", db, "3"});
    EXPECT_EQ(1u, beyond.exitCode);
    EXPECT_EQ("There is no record 3: the database holds 2.\r\n", beyond.err);
    EXPECT_EQ(Database({"First", "third"}), folder.Read("new.sigs"));
}

// Text is stored exactly in the ANSI code page (1252 here) or not at all: typed as Unicode
// on the command line, piped as UTF-8 or piped as ANSI already.
TEST(VqsigRecordsTest, AddStoresTheTextExactlyOrRefusesIt)
{
    TestDirectory folder;
    const std::string db = folder.Path() + "exact.sigs";
    ASSERT_EQ(1252u, GetACP());
    EXPECT_EQ(0u, Vqsig({"add", db, "caf\xC3\xA9 \xE2\x82\xAC" "5"}).exitCode);
    EXPECT_EQ(0u, Vqsig({"add", db}, "\xEF\xBB\xBF" "caf\xC3\xA9\n").exitCode);
    EXPECT_EQ(0u, Vqsig({"add", db}, "na\xEFve\n").exitCode);
    const std::string stored = Database({"caf\xE9 \x80" "5", "caf\xE9", "na\xEFve"});
    EXPECT_EQ(stored, folder.Read("exact.sigs"));

    const std::string polish = "Za\xC5\xBC\xC3\xB3\xC5\x82\xC4\x87"; // "Zażółć": only ó is in 1252
    const auto typed = Vqsig({"add", db, polish});
    EXPECT_EQ(1u, typed.exitCode);
    EXPECT_EQ("The argument \"Za?\xF3??\" holds characters that the ANSI code page has no form for.\r\n", typed.err);
    const auto piped = Vqsig({"add", db}, polish);
    EXPECT_EQ(1u, piped.exitCode);
    EXPECT_EQ("The text holds characters that the ANSI code page has no form for.\r\n", piped.err);
    EXPECT_EQ(stored, folder.Read("exact.sigs"));
}

TEST(VqsigRecordsTest, AddRefusesMoreThan512BytesInsteadOfCuttingThem)
{
    TestDirectory folder;
    const std::string db = folder.Path() + "full.sigs";
    const std::string longest(512, 'x');
    EXPECT_EQ(0u, Vqsig({"add", db, longest}).exitCode);
    EXPECT_EQ('\0' + longest, folder.Read("full.sigs")); // no room left for a NUL

    std::string lines;
    for (int i = 0; i < 200; ++i)
        lines += "a\n"; // 399 bytes typed, 598 once every line break is CR LF
    const struct {
        std::vector<std::string> arguments;
        std::string input, reason;
    } refused[] = {
        {{"add", db, longest + "y"}, "", "The text is 513 bytes long; a signature holds at most 512.\r\n"},
        {{"add", db}, lines, "The text is 598 bytes long; a signature holds at most 512.\r\n"},
        {{"add", db}, std::string("cut\0here", 8), "The text holds a NUL byte, which would end the signature there.\r\n"},
    };
    for (const auto& c : refused) {
        const auto run = Vqsig(c.arguments, c.input);
        EXPECT_EQ(1u, run.exitCode);
        EXPECT_EQ(c.reason, run.err);
    }
    EXPECT_EQ('\0' + longest, folder.Read("full.sigs"));
}

TEST(VqsigRecordsTest, UnusableDatabasesGiveTheEngineTextsAndKeepTheirBytes)
{
    TestDirectory folder;
    const std::string bytes = Database({"kept"});
    folder.Write("held.sigs", bytes);
    folder.Write("readonly.sigs", bytes);
    const std::string held = folder.Path() + "held.sigs";
    const std::string readOnly = folder.Path() + "readonly.sigs";
    const std::string missing = folder.Path() + "missing.sigs";
    const std::string tooLong = folder.Path() + std::string(260, 'n') + ".sigs";
    folder.Write("f.txt", "fortune\n");
    const std::string fortunes = folder.Path() + "f.txt";
    ASSERT_TRUE(SetFileAttributesA(readOnly.c_str(), FILE_ATTRIBUTE_READONLY));
    // Shared with nobody, as another program may hold a file.
    const base::FileHandle holding(
        CreateFileA(held.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    ASSERT_TRUE(holding);

    const std::string nothing = "\r\nNothing was imported.";
    const struct {
        std::vector<std::string> arguments;
        std::string message;
    } cases[] = {
        {{"count", missing}, missing + ": File not found"},
        {{"list", missing}, missing + ": File not found"},
        {{"delete", missing, "1"}, missing + ": File not found"},
        {{"export", missing, "-"}, missing + ": File not found"},
        {{"pick", missing, "--stdout"}, missing + ": Error opening signature database: File not found"},
        {{"count", tooLong}, tooLong + ": Invalid filename"},
        {{"add", tooLong, "x"}, tooLong + ": Invalid filename"},
        {{"import", tooLong, fortunes}, tooLong + ": Invalid filename" + nothing},
        {{"count", held}, held + ": I/O error 32"},
        {{"list", held}, held + ": I/O error 32"},
        {{"add", held, "x"}, held + ": I/O error 32"},
        {{"delete", held, "1"}, held + ": I/O error 32"},
        {{"import", held, fortunes}, held + ": I/O error 32" + nothing},
        {{"export", held, "-"}, held + ": I/O error 32"},
        {{"add", readOnly, "x"}, readOnly + ": File access denied"},
        {{"delete", readOnly, "1"}, readOnly + ": File access denied"},
        {{"import", readOnly, fortunes}, readOnly + ": File access denied" + nothing},
    };
    for (const auto& c : cases) {
        const auto run = Vqsig(c.arguments);
        EXPECT_EQ(1u, run.exitCode) << c.arguments[0] << " " << c.message;
        EXPECT_EQ(c.message + "\r\n", run.err) << c.arguments[0];
    }
    // Reading needs no write access.
    EXPECT_EQ("1\r\n", Vqsig({"count", readOnly}).out);
    EXPECT_EQ("#1\r\nkept\r\n%\r\n", Vqsig({"list", readOnly}).out);

    EXPECT_TRUE(SetFileAttributesA(readOnly.c_str(), FILE_ATTRIBUTE_NORMAL));
    EXPECT_EQ(bytes, folder.Read("readonly.sigs"));
    EXPECT_EQ(std::vector<std::string>({"f.txt", "held.sigs", "readonly.sigs"}), folder.Names());
}

// A file whose length is not a whole number of records is no database: no command changes
// it, or reads it as records, and the editor's words say why.
TEST(VqsigRecordsTest, FilesThatAreNoDatabasesAreNeverTakenForOne)
{
    TestDirectory folder;
    folder.Write("f.txt", "fortune\n");
    const std::string fortunes = folder.Path() + "f.txt";
    const std::string files[][2] = {
        {"letter.txt", "Dear Ann,\r\nsee you soon."},
        {"600.sigs", Database({"one"}) + std::string(87, 'x')},
        {"tail.sigs", Database({"1", "2", "3"}) + std::string(110, 't')},
    };
    for (const auto& [name, bytes] : files) {
        folder.Write(name, bytes);
        const std::string path = folder.Path() + name;
        const std::string refusal = path + ": Not a signature database: its size is not a multiple of 513 bytes";
        const std::vector<std::string> commands[] = {
            {"add", path, "x"}, {"delete", path, "1"}, {"import", path, fortunes},
            {"count", path},    {"list", path},        {"export", path, folder.Path() + "out.txt"},
        };
        for (const auto& arguments : commands) {
            const auto run = Vqsig(arguments);
            EXPECT_EQ(1u, run.exitCode) << name << " " << arguments[0];
            EXPECT_EQ(refusal + (arguments[0] == "import" ? "\r\nNothing was imported." : "") + "\r\n", run.err)
                << arguments[0];
            EXPECT_EQ("", run.out) << arguments[0];
        }
        EXPECT_EQ(bytes, folder.Read(name));
    }
    EXPECT_EQ(std::vector<std::string>({"600.sigs", "f.txt", "letter.txt", "tail.sigs"}), folder.Names());
}
