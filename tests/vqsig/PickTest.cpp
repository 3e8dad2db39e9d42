// vqsig pick: one random change, composed as the tray menu composes it, from the command
// line or from the program's own settings.
#include "tests/common/MachineRegistry.h"
#include "tests/common/SignatureEncodings.h"
#include "tests/common/TestDirectory.h"
#include "tests/vqsig/ConsoleRun.h"
#include "tests/vqsig/Databases.h"

#include <gtest/gtest.h>

using vqsig_test::Database;
using vqsig_test::Vqsig;

TEST(VqsigPickTest, PrintsOrWritesTheSignatureWithTheDelimiterAndStaticText)
{
    TestDirectory folder;
    folder.Write("one.sigs", Database({"Body\r\nline"}));
    folder.Write("static.txt", "Static\n");
    folder.Write("dbs.list", folder.Path() + "one.sigs\r\n");
    const std::string db = folder.Path() + "one.sigs";
    const std::string staticFile = folder.Path() + "static.txt";
    const struct {
        std::vector<std::string> arguments;
        std::string signature;
    } cases[] = {
        {{"pick", db, "--stdout"}, "-- \r\nBody\r\nline"},
        {{"pick", "--stdout", "--no-delimiter", db}, "Body\r\nline"},
        {{"pick", db, "--stdout", "--static", staticFile}, "-- \r\nStatic\r\n\r\nBody\r\nline"},
        {{"pick", db, "--stdout", "--static", staticFile, "--below", "--no-delimiter"}, "Body\r\nline\r\nStatic\r\n"},
        {{"pick", "--list", folder.Path() + "dbs.list", "--stdout"}, "-- \r\nBody\r\nline"},
    };
    for (const auto& c : cases) {
        const auto run = Vqsig(c.arguments);
        EXPECT_EQ(0u, run.exitCode) << run.err;
        EXPECT_EQ(c.signature, run.out);
        EXPECT_EQ("", run.err);
    }
    const auto written = Vqsig({"pick", db, "--out", folder.Path() + "sig.txt", "--no-delimiter"});
    EXPECT_EQ(0u, written.exitCode);
    EXPECT_EQ("", written.out + written.err);
    EXPECT_EQ("Body\r\nline", folder.Read("sig.txt"));
}

// --out writes the file in the encoding it has, as the tray's change does; --stdout goes on
// giving the program's own bytes.
TEST(VqsigPickTest, OutKeepsTheFilesEncodingAndStandardOutputTheProgramsBytes)
{
    TestDirectory folder;
    folder.Write("one.sigs", Database({encodings::EncodedBody}));
    const std::string db = folder.Path() + "one.sigs";
    const std::string out = folder.Path() + "sig.txt";
    for (const encodings::Case& c : encodings::PlainTextCases) {
        DeleteFileA(out.c_str());
        if (c.before)
            folder.Write("sig.txt", *c.before);
        const auto run = Vqsig({"pick", db, "--out", out, "--no-delimiter"});
        EXPECT_EQ(0u, run.exitCode) << c.what << ": " << run.err;
        EXPECT_EQ(c.after, folder.Read("sig.txt")) << c.what;
    }
    EXPECT_EQ(encodings::EncodedBody, Vqsig({"pick", db, "--stdout", "--no-delimiter"}).out);
}

TEST(VqsigPickTest, EachFailedCheckPrintsTheDialogTextAndExitsWithOne)
{
    TestDirectory folder;
    folder.Write("one.sigs", Database({"Body"}));
    folder.Write("empty.sigs", "");
    folder.Write("empty.list", "");
    const std::string db = folder.Path() + "one.sigs";

    const struct {
        std::vector<std::string> arguments;
        std::string message;
    } cases[] = {
        {{"pick", db}, "You must specify where to write the signature!"},
        {{"pick", "--list", folder.Path() + "empty.list", "--stdout"}, "There are no files in the database list!"},
        {{"pick", folder.Path() + "empty.sigs", "--stdout"}, folder.Path() + "empty.sigs: Signature database is empty!"},
        {{"pick", db, "--out", folder.Path() + "none\\sig.txt"},
         folder.Path() + "none\\sig.txt: Error opening signature text file: Invalid filename"},
    };
    for (const auto& c : cases) {
        const auto run = Vqsig(c.arguments);
        EXPECT_EQ(1u, run.exitCode) << c.message;
        EXPECT_EQ("", run.out);
        EXPECT_EQ(c.message + "\r\n", run.err);
    }
}

TEST(VqsigPickTest, WithoutDatabasesItTakesEverythingFromTheProgramsSettings)
{
    TestDirectory folder;
    e2e::ForgetProgramSettings();
    const std::string program = folder.Path() + "vqsig.exe";
    ASSERT_TRUE(CopyFileA(vqsig_test::BuiltProgram().c_str(), program.c_str(), FALSE));
    folder.Write("one.sigs", Database({"Body", "Next"}));
    folder.Write("own.sigs", Database({"Own"}));
    folder.Write("sigs.list", folder.Path() + "one.sigs\r\n");
    folder.Write("static.sig.qmz", "Static\nline");
    e2e::StoreSetting("OEFile", folder.Path() + "sig.txt");
    e2e::StoreSetting("SigBreak", "False");
    e2e::StoreSetting("Static", "True");
    e2e::StoreSetting("StatPlace", "Below");
    e2e::StoreSetting("Order", "Sequence");

    // Each pick goes on in the program's order from where the last one left it.
    EXPECT_EQ(0u, vqsig_test::RunProgram(program, {"pick"}).exitCode);
    EXPECT_EQ("Body\r\nStatic\r\nline", folder.Read("sig.txt"));
    EXPECT_EQ("Static\r\nline\r\nNext", vqsig_test::RunProgram(program, {"pick", "--stdout", "--above"}).out);
    // Databases on the command line: nothing comes from the settings, and the order stays.
    const std::string place = folder.Read("order.state");
    EXPECT_EQ("-- \r\nOwn", vqsig_test::RunProgram(program, {"pick", folder.Path() + "own.sigs", "--stdout"}).out);
    EXPECT_EQ(place, folder.Read("order.state"));
    EXPECT_EQ("Static\r\nline\r\nBody", vqsig_test::RunProgram(program, {"pick", "--stdout", "--above"}).out);
    e2e::ForgetProgramSettings();
}

// Whatever databases a pick takes, it never writes over one of them or over the program's own
// lists, however the target is spelt; and a blank line of a list names no database.
TEST(VqsigPickTest, NeverWritesOverADatabaseOrTheProgramsOwnFiles)
{
    TestDirectory folder;
    const std::string program = folder.Path() + "vqsig.exe";
    ASSERT_TRUE(CopyFileA(vqsig_test::BuiltProgram().c_str(), program.c_str(), FALSE));
    const std::string db = folder.Path() + "one database.sigs";
    const std::string list = folder.Path() + "sigs.list";
    folder.Write("one database.sigs", Database({"Body"}));
    folder.Write("sigs.list", db + "\r\n");
    folder.Write("dbs.list", "\r\n" + db + "\r\n \r\n\r\n");
    ASSERT_TRUE(CreateHardLinkA((folder.Path() + "linked.txt").c_str(), db.c_str(), nullptr));
    const std::string own = "Error opening signature text file: It is a signature database or one of Varnquill's own files";
    const std::string stream = "Error opening signature text file: It names a stream inside a file, not a file of its own";
    std::vector<std::pair<std::string, std::string>> targets = {
        {db, own}, {folder.Path() + "linked.txt", own}, {list, own},
        {"\\\\?\\" + folder.Path() + "STATIC.SIG.QMZ", own}, {db + "::$DATA", stream}, {list + ":x", stream},
    };
    for (const std::string& file : {db, list})
        for (const std::string& spelling : OtherSpellingsOf(file))
            targets.emplace_back(spelling, own);
    for (const auto& [target, message] : targets) {
        for (const std::vector<std::string>& databases : {std::vector<std::string>{db},
                                                          std::vector<std::string>{"--list", folder.Path() + "dbs.list"}}) {
            std::vector<std::string> arguments = {"pick", "--out", target};
            arguments.insert(arguments.end(), databases.begin(), databases.end());
            const auto run = vqsig_test::RunProgram(program, arguments);
            EXPECT_EQ(1u, run.exitCode) << target;
            EXPECT_EQ(target + ": " + message + "\r\n", run.err);
        }
    }
    EXPECT_EQ(Database({"Body"}), folder.Read("one database.sigs"));
    EXPECT_EQ(db + "\r\n", folder.Read("sigs.list"));
    EXPECT_FALSE(FileExists(folder.Path() + "static.sig.qmz"));

    const auto listed = vqsig_test::RunProgram(program, {"pick", "--list", folder.Path() + "dbs.list", "--stdout"});
    EXPECT_EQ(0u, listed.exitCode) << listed.err;
    EXPECT_EQ("-- \r\nBody", listed.out);
}
