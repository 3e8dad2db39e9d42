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

    const auto deleted = Vqsig({"delete", db, "2"});
    EXPECT_EQ(0u, deleted.exitCode);
    EXPECT_EQ("Record 2 deleted.\r\n", deleted.out);
    EXPECT_EQ(Database({"First", "third"}), folder.Read("new.sigs"));

    const auto beyond = Vqsig({"delete", db, "3"});
    EXPECT_EQ(1u, beyond.exitCode);
    EXPECT_EQ("There is no record 3: the database holds 2.\r\n", beyond.err);
    EXPECT_EQ(Database({"First", "third"}), folder.Read("new.sigs"));
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

    const struct {
        std::vector<std::string> arguments;
        std::string message;
    } cases[] = {
        {{"count", missing}, "File not found"},
        {{"list", missing}, "File not found"},
        {{"delete", missing, "1"}, "File not found"},
        {{"export", missing, "-"}, "File not found"},
        {{"pick", missing, "--stdout"}, "Error opening signature database: File not found"},
        {{"count", tooLong}, "Invalid filename"},
        {{"add", tooLong, "x"}, "Invalid filename"},
        {{"import", tooLong, fortunes}, "Invalid filename"},
        {{"count", held}, "I/O error 32"},
        {{"list", held}, "I/O error 32"},
        {{"add", held, "x"}, "I/O error 32"},
        {{"delete", held, "1"}, "I/O error 32"},
        {{"import", held, fortunes}, "I/O error 32"},
        {{"export", held, "-"}, "I/O error 32"},
        {{"add", readOnly, "x"}, "File access denied"},
        {{"delete", readOnly, "1"}, "File access denied"},
        {{"import", readOnly, fortunes}, "File access denied"},
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
