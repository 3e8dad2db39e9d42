// vqsig pick: one random change, composed as the tray menu composes it, from the command
// line or from the program's own settings.
#include "base/Handles.h"
#include "tests/common/ImmutableFile.h"
#include "tests/common/MachineRegistry.h"
#include "tests/common/SignatureEncodings.h"
#include "tests/common/TestDirectory.h"
#include "tests/vqsig/ConsoleRun.h"
#include "tests/vqsig/Databases.h"

#include <gtest/gtest.h>

#include <optional>

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
    // Nor does an export or an import take the place of one of them.
    const auto exported = vqsig_test::RunProgram(program, {"export", db, list});
    EXPECT_EQ(1u, exported.exitCode);
    EXPECT_EQ("Cannot export to \"" + list + "\": It is a signature database or one of Varnquill's own files.\r\n",
              exported.err);
    folder.Write("quotes.txt", "Imported\n");
    const std::string staticText = folder.Path() + "static.sig.qmz";
    const auto imported = vqsig_test::RunProgram(program, {"import", staticText, folder.Path() + "quotes.txt"});
    EXPECT_EQ(1u, imported.exitCode);
    EXPECT_EQ(0u, imported.err.rfind("\"" + staticText + "\" is one of Varnquill's own files.\r\n", 0)) << imported.err;
    EXPECT_EQ(Database({"Body"}), folder.Read("one database.sigs"));
    EXPECT_EQ(db + "\r\n", folder.Read("sigs.list"));
    EXPECT_FALSE(FileExists(folder.Path() + "static.sig.qmz"));

    const auto listed = vqsig_test::RunProgram(program, {"pick", "--list", folder.Path() + "dbs.list", "--stdout"});
    EXPECT_EQ(0u, listed.exitCode) << listed.err;
    EXPECT_EQ("-- \r\nBody", listed.out);
}

// A database is never a target: one in the program's own list though the pick names others,
// and one nobody lists, known by its extension (made or not) or by what it holds (whole
// records, a NUL in the first), each refused as a listed one is and left byte for byte; an
// empty file and a text file of two records' size are no databases and are written.
TEST(VqsigPickTest, OutRefusesEveryDatabaseListedOrNot)
{
    TestDirectory folder;
    const std::string program = folder.Path() + "vqsig.exe";
    ASSERT_TRUE(CopyFileA(vqsig_test::BuiltProgram().c_str(), program.c_str(), FALSE));
    const std::string picked = Database({"Picked"});
    const std::string listedBytes = Database({"Listed one", "Listed two", "Listed three"});
    const std::string unlistedBytes = Database({"Unlisted"});
    folder.Write("b.sigs", picked);
    folder.Write("a.sigs", listedBytes);
    folder.Write("sigs.list", folder.Path() + "a.sigs\r\n");
    folder.Write("unlisted.sigs", unlistedBytes);
    folder.Write("records.dat", listedBytes + unlistedBytes);
    folder.Write("copy.txt", unlistedBytes);
    folder.Write("empty.txt", "");
    folder.Write("text.txt", std::string(1026, 'x'));
    const std::string own = ": Error opening signature text file: It is a signature database or one of Varnquill's "
                            "own files\r\n";
    for (const char* target : {"a.sigs", "unlisted.sigs", "records.dat", "copy.txt", "new.sigs"}) {
        const auto run = vqsig_test::RunProgram(program, {"pick", folder.Path() + "b.sigs", "--out", folder.Path() + target});
        EXPECT_EQ(1u, run.exitCode) << target;
        EXPECT_EQ(folder.Path() + target + own, run.err);
    }
    EXPECT_EQ(listedBytes, folder.Read("a.sigs"));
    EXPECT_EQ(unlistedBytes, folder.Read("unlisted.sigs"));
    EXPECT_EQ(listedBytes + unlistedBytes, folder.Read("records.dat"));
    EXPECT_EQ(unlistedBytes, folder.Read("copy.txt"));
    EXPECT_FALSE(FileExists(folder.Path() + "new.sigs"));

    for (const char* target : {"empty.txt", "text.txt"}) {
        const auto written = vqsig_test::RunProgram(program, {"pick", folder.Path() + "b.sigs", "--out", folder.Path() + target});
        EXPECT_EQ(0u, written.exitCode) << target << ": " << written.err;
        EXPECT_EQ("-- \r\nPicked", folder.Read(target));
    }
}

namespace {

// A copy of vqsig in a folder of its own, with the program's settings naming its signature
// file and listing its one database, as Varnquill leaves them.
struct ProgramPick {
    explicit ProgramPick(const TestDirectory& folder, const std::vector<std::string>& texts) : folder(folder)
    {
        e2e::ForgetProgramSettings();
        EXPECT_TRUE(CopyFileA(vqsig_test::BuiltProgram().c_str(), program.c_str(), FALSE));
        folder.Write("one.sigs", Database(texts));
        folder.Write("sigs.list", folder.Path() + "one.sigs\r\n");
        e2e::StoreSetting("OEFile", folder.Path() + "sig.txt");
        e2e::StoreSetting("SigBreak", "False");
    }
    ~ProgramPick() { e2e::ForgetProgramSettings(); }

    vqsig_test::ConsoleRun Run() const { return vqsig_test::RunProgram(program, {"pick"}); }

    const TestDirectory& folder;
    const std::string program = folder.Path() + "vqsig.exe";
    const std::string state = folder.Path() + "order.state";
};

} // namespace

// An order state file that cannot be written, made immutable or held by another program: the
// pick still succeeds (exit 0), says so in one line, and follows the place the file holds
// where it can be read, so "In order" and "Shuffled" give what the next change would have
// given, not their first record or a new round. At random the text the signature holds never
// comes again, though the place can be kept nowhere.
TEST(VqsigPickTest, AnOrderStateFileThatCannotBeWrittenIsFollowedAndSaidOnce)
{
    TestDirectory folder;
    for (const bool locked : {false, true}) {
        for (const char* order : {"Sequence", "Shuffle"}) {
            DeleteFileA((folder.Path() + "order.state").c_str());
            ProgramPick pick(folder, {"1", "2", "3", "4", "5"});
            e2e::StoreSetting("Order", order);
            ASSERT_EQ(0u, pick.Run().exitCode);
            const std::string place = folder.Read("order.state");
            ASSERT_EQ(0u, pick.Run().exitCode);
            const std::string next = folder.Read("sig.txt");
            folder.Write("order.state", place);

            std::optional<ImmutableFile> immutable;
            base::FileHandle held;
            if (locked)
                held.Reset(CreateFileA(pick.state.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr));
            else if (!immutable.emplace(pick.state).Made())
                GTEST_SKIP() << "the order state file cannot be made immutable here";
            ASSERT_TRUE(locked == static_cast<bool>(held));
            for (int run = 0; run < 2; ++run) {
                const auto picked = pick.Run();
                EXPECT_EQ(0u, picked.exitCode) << order;
                EXPECT_TRUE(picked.err.starts_with("Where the order stands cannot be kept in " + folder.Path()) &&
                            picked.err.find("order.state: ") != std::string::npos)
                    << picked.err;
                EXPECT_EQ(picked.err.find("\r\n"), picked.err.size() - 2) << "one line: " << picked.err;
                if (!locked) {
                    EXPECT_EQ(next, folder.Read("sig.txt")) << order << ": the stored place followed";
                } else if (std::string(order) == "Sequence") {
                    EXPECT_EQ("1", folder.Read("sig.txt")) << "no place could be read";
                }
            }
            held.Reset();
            immutable.reset();
            EXPECT_EQ(place, folder.Read("order.state")) << "left as it was";
        }

        DeleteFileA((folder.Path() + "order.state").c_str());
        ProgramPick pick(folder, {"A", "B"});
        ASSERT_EQ(0u, pick.Run().exitCode); // at random, the default
        std::optional<ImmutableFile> immutable;
        base::FileHandle held;
        if (locked)
            held.Reset(CreateFileA(pick.state.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr));
        else
            ASSERT_TRUE(immutable.emplace(pick.state).Made());
        for (int run = 0; run < 6; ++run) {
            const std::string before = folder.Read("sig.txt");
            const auto picked = pick.Run();
            EXPECT_EQ(0u, picked.exitCode) << picked.err;
            EXPECT_NE(before, folder.Read("sig.txt")) << "change " << run << (locked ? ", locked" : ", immutable");
        }
    }
}

// Pure ASCII shows no encoding: the file keeps the one it was last found in with the program's
// settings, so after "Plain text" the next pick writes "Caf\xe9 \x80" "5" in UTF-8 again;
// and so does a pick with databases and --out of its own, in the same settings.
TEST(VqsigPickTest, TheSignatureFileKeepsItsEncodingThroughAPureAsciiSignature)
{
    TestDirectory folder;
    ProgramPick pick(folder, {"Plain text", "Caf\xe9 \x80" "5"});
    e2e::StoreSetting("Order", "Sequence");
    folder.Write("sig.txt", "caf\xC3\xA9");
    ASSERT_EQ(0u, pick.Run().exitCode);
    EXPECT_EQ("Plain text", folder.Read("sig.txt"));
    ASSERT_EQ(0u, pick.Run().exitCode);
    EXPECT_EQ("Caf\xC3\xA9 \xE2\x82\xAC" "5", folder.Read("sig.txt"));

    folder.Write("ascii.sigs", Database({"Plain text"}));
    folder.Write("accented.sigs", Database({"Caf\xe9 \x80" "5"}));
    folder.Write("u8.txt", "caf\xC3\xA9");
    for (const char* database : {"ascii.sigs", "accented.sigs"}) {
        const auto run = vqsig_test::RunProgram(
            pick.program, {"pick", folder.Path() + database, "--out", folder.Path() + "u8.txt", "--no-delimiter"});
        EXPECT_EQ(0u, run.exitCode) << run.err;
    }
    EXPECT_EQ("Caf\xC3\xA9 \xE2\x82\xAC" "5", folder.Read("u8.txt"));
}
