// vqsig's fortune files: import into a database and export from it.
#include "base/Handles.h"
#include "tests/common/TestDirectory.h"
#include "tests/vqsig/ConsoleRun.h"
#include "tests/vqsig/Databases.h"

#include <gtest/gtest.h>

using vqsig_test::Database;
using vqsig_test::Vqsig;

TEST(VqsigFortunesTest, ImportTakesWholeTextsAndCountsTheOnesThatDoNotFit)
{
    TestDirectory folder;
    const std::string longest(512, 'x');
    folder.Write("a-utf8.txt", "\nFirst text\n%\n\n\nSurrounded\n\ninner blank\n\n%\n%\n\n%\n"
                               "Caf\xC3\xA9 \xE2\x82\xAC" "5\n%\nArrow \xE2\x86\x92 here\n%\n" +
                                   longest + "\n%\n" + longest + "y\n%");
    folder.Write("b-crlf.txt", "\xEF\xBB\xBF" "a\r\nb\r\n%\r\nc\r\n"); // as Notepad saves UTF-8
    folder.Write("c-ansi.txt", "na\xEFve\n%\n");
    const std::string db = folder.Path() + "fortunes.sigs";

    const auto run = Vqsig({"import", db, folder.Path() + "*.txt"});
    EXPECT_EQ(0u, run.exitCode) << run.err;
    EXPECT_EQ(folder.Path() + "a-utf8.txt: 4 imported, 1 skipped as too long, 1 skipped as not representable\r\n" +
                  folder.Path() + "b-crlf.txt: 2 imported, 0 skipped as too long, 0 skipped as not representable\r\n" +
                  folder.Path() + "c-ansi.txt: 1 imported, 0 skipped as too long, 0 skipped as not representable\r\n",
              run.out);
    EXPECT_EQ(Database({"First text", "Surrounded\r\n\r\ninner blank", "Caf\xE9 \x80" "5", longest, "a\r\nb", "c",
                        "na\xEFve"}),
              folder.Read("fortunes.sigs"));

    // A plain ASCII file's texts go into their records the same: every line break CR LF
    // (a lone CR kept), a text of exactly 512 bytes kept and one over by its line break
    // skipped; and a record's place used again by the next block is cleared past a shorter
    // text.
    const std::string half(255, 'a');
    std::string plain = "%\n\nfirst\r\nsecond\n\n\nthird\n\n%\nlone\rCR inside\n%\n" + half + "\n" + half + "\n%\n" +
                        half + "\n" + half + "b\n%\n";
    std::vector<std::string> plainTexts{"first\r\nsecond\r\n\r\n\r\nthird", "lone\rCR inside", half + "\r\n" + half};
    for (int i = 0; i < 4100; ++i) {
        plainTexts.push_back(i < 4096 ? "A fortune long enough to leave its bytes behind, number " + std::to_string(i)
                                      : "Short " + std::to_string(i));
        plain += plainTexts.back() + "\n%\n";
    }
    plain += "end\r";
    plainTexts.push_back("end\r");
    folder.Write("plain.fortunes", plain);
    const auto plainRun = Vqsig({"import", folder.Path() + "plain.sigs", folder.Path() + "plain.fortunes"});
    EXPECT_EQ(folder.Path() + "plain.fortunes: 4104 imported, 1 skipped as too long, 0 skipped as not representable\r\n",
              plainRun.out);
    EXPECT_TRUE(Database(plainTexts) == folder.Read("plain.sigs"));

    // Appends; and a file that cannot be read, even after thousands of records went in
    // before it, leaves the database exactly as it was, or not there at all when new.
    EXPECT_EQ(0u, Vqsig({"import", db, folder.Path() + "c-ansi.txt"}).exitCode);
    const std::string imported = folder.Read("fortunes.sigs");
    EXPECT_EQ(8 * 513u, imported.size());
    std::string many;
    for (int i = 0; i < 5000; ++i)
        many += "Fortune " + std::to_string(i) + "\n%\n";
    folder.Write("many.fortunes", many);
    folder.Write("held.txt", "held\n");
    const std::string missing = folder.Path() + "missing.txt";
    const std::string held = folder.Path() + "held.txt";
    const base::FileHandle holding(CreateFileA(held.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(holding);
    for (const std::string& unreadable : {missing, held}) {
        for (const std::string& target : {db, folder.Path() + "new.sigs"}) {
            const auto failed = Vqsig({"import", target, folder.Path() + "many.fortunes", unreadable});
            EXPECT_EQ(1u, failed.exitCode);
            EXPECT_EQ(0u, failed.err.find("Cannot open file \"" + unreadable + "\". ")) << failed.err;
            EXPECT_NE(std::string::npos, failed.err.find("\r\nNothing was imported.\r\n")) << failed.err;
        }
        EXPECT_EQ(imported, folder.Read("fortunes.sigs"));
        EXPECT_FALSE(FileExists(folder.Path() + "new.sigs"));
    }
    EXPECT_EQ(1u, Vqsig({"import", db, folder.Path() + "*.none"}).exitCode);

    // An import that takes no text makes no database, leaves one byte for byte, and fails
    // saying why, after each file's counts.
    folder.Write("skipped.txt", longest + "y\n%\nArrow \xE2\x86\x92\n%\n");
    folder.Write("empty.txt", "\n\n");
    const std::string skipped = folder.Path() + "skipped.txt";
    const auto none = Vqsig({"import", folder.Path() + "none.sigs", skipped});
    EXPECT_EQ(1u, none.exitCode);
    EXPECT_EQ(skipped + ": 0 imported, 1 skipped as too long, 1 skipped as not representable\r\n", none.out);
    EXPECT_EQ("Nothing was imported from " + skipped +
                  ": 2 texts were skipped (1 too long, 1 not representable in the ANSI code page).\r\n",
              none.err);
    EXPECT_FALSE(FileExists(folder.Path() + "none.sigs"));
    const auto noneOfTwo = Vqsig({"import", db, folder.Path() + "empty.txt", skipped});
    EXPECT_EQ(1u, noneOfTwo.exitCode);
    EXPECT_EQ("Nothing was imported from 2 files: 2 texts were skipped (1 too long, 1 not representable in the "
              "ANSI code page).\r\n",
              noneOfTwo.err);
    EXPECT_EQ(imported, folder.Read("fortunes.sigs"));
    EXPECT_EQ("Nothing was imported from " + folder.Path() + "empty.txt: no texts were found.\r\n",
              Vqsig({"import", db, folder.Path() + "empty.txt"}).err);
}

TEST(VqsigFortunesTest, ExportWritesUtf8ThatImportsBackToTheSameRecords)
{
    TestDirectory folder;
    folder.Write("mixed.sigs", Database({"Caf\xE9 \x80" "5", "two\r\nlines", "", "\r\nleading blank",
                                         "50%\r\n%\r\nsplit", "lone\nLF"}));
    const std::string expected = "Caf\xC3\xA9 \xE2\x82\xAC" "5\n%\ntwo\nlines\n%\n";
    const std::string summary = "2 exported, 4 skipped: a fortune file cannot hold them unchanged\r\n";

    const auto toFile = Vqsig({"export", folder.Path() + "mixed.sigs", folder.Path() + "out.txt"});
    EXPECT_EQ(0u, toFile.exitCode);
    EXPECT_EQ(summary, toFile.out);
    EXPECT_EQ(expected, folder.Read("out.txt"));

    const auto toOutput = Vqsig({"export", folder.Path() + "mixed.sigs", "-"});
    EXPECT_EQ(0u, toOutput.exitCode);
    EXPECT_EQ(expected, toOutput.out);
    EXPECT_EQ(summary, toOutput.err);

    EXPECT_EQ(0u, Vqsig({"import", folder.Path() + "back.sigs", folder.Path() + "out.txt"}).exitCode);
    EXPECT_EQ(Database({"Caf\xE9 \x80" "5", "two\r\nlines"}), folder.Read("back.sigs"));

    // The database is never its own export target, however it is spelled.
    const auto ontoItself = Vqsig({"export", folder.Path() + "back.sigs", folder.Path() + "BACK.SIGS"});
    EXPECT_EQ(1u, ontoItself.exitCode);
    EXPECT_EQ("The fortune file would take the place of the database itself.\r\n", ontoItself.err);
    EXPECT_EQ(Database({"Caf\xE9 \x80" "5", "two\r\nlines"}), folder.Read("back.sigs"));
}

TEST(VqsigFortunesTest, ImportReadsAFileWithoutPercentLinesAsParagraphs)
{
    TestDirectory folder;
    // A line of blanks separates as an empty one does; a "%" inside a line is text.
    folder.Write("notes.txt", "\r\nOne paragraph\r\nline two\r\n\r\n\t \r\nCaf\xC3\xA9\r\n\r\n\r\n100% sure\n");
    const auto run = Vqsig({"import", folder.Path() + "notes.sigs", folder.Path() + "notes.txt"});
    EXPECT_EQ(0u, run.exitCode) << run.err;
    EXPECT_EQ(folder.Path() + "notes.txt: 3 imported, 0 skipped as too long, 0 skipped as not representable\r\n",
              run.out);
    EXPECT_EQ(Database({"One paragraph\r\nline two", "Caf\xE9", "100% sure"}), folder.Read("notes.sigs"));
}
