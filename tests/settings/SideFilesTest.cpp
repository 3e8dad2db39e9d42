#include "settings/SideFiles.h"

#include "settings/OrderStateFile.h"
#include "base/WholeFile.h"
#include "base/Handles.h"
#include "base/SystemError.h"

#include "FailureOf.h"
#include "tests/common/ImmutableFile.h"
#include "tests/common/TestDirectory.h"

#include <gtest/gtest.h>

using namespace settings;

namespace {

using Lines = std::vector<std::string>;

// Another program holding the file open without sharing it.
base::FileHandle LockWithoutSharing(const std::string& path)
{
    base::FileHandle file(CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                      FILE_ATTRIBUTE_NORMAL, nullptr));
    EXPECT_TRUE(file) << path;
    return file;
}

class SideFiles : public ::testing::Test {
protected:
    TestDirectory directory;
    std::string listPath = SideFilePath(directory.Path(), DatabaseListFileName);
    std::string staticPath = SideFilePath(directory.Path(), StaticTextFileName);
};

TEST_F(SideFiles, ListLinesEndAtCrOrLfOrCrLfAndBlankOnesAreNoEntries)
{
    const struct {
        std::string bytes;
        Lines entries;
    } rows[] = {
        {"", {}},
        {"a.sigs\r\nb.sigs\r\n", {"a.sigs", "b.sigs"}},
        {"a\rb\r", {"a", "b"}},
        {"a\nb\n", {"a", "b"}},
        {"a\r\nb\rc\nd", {"a", "b", "c", "d"}},
        {"a\n\rb", {"a", "b"}},
        {"\r\n\r\na\r\n\r\n", {"a"}},
        {" \t\r\n  b \r\n\t", {"  b "}},
        {"C:\\My Sigs\\work.sigs", {"C:\\My Sigs\\work.sigs"}},
    };
    for (const auto& row : rows) {
        directory.Write("sigs.list", row.bytes);
        EXPECT_EQ(row.entries, LoadList(listPath)) << '"' << row.bytes << '"';
    }
}

TEST_F(SideFiles, SavedListHasEveryEntryEndedByCrLf)
{
    SaveList(listPath, {"C:\\Sigs\\work.sigs", "", "D:\\fun.sigs"});
    EXPECT_EQ("C:\\Sigs\\work.sigs\r\n\r\nD:\\fun.sigs\r\n", directory.Read("sigs.list"));
    SaveList(listPath, {});
    EXPECT_TRUE(base::FileExists(listPath));
    EXPECT_EQ("", directory.Read("sigs.list"));
}

TEST_F(SideFiles, LongListsAndLongLinesRoundTrip)
{
    Lines many;
    for (int i = 0; i < 10000; ++i)
        many.push_back("C:\\Sigs\\" + std::to_string(i) + ".sigs");
    SaveList(listPath, many);
    EXPECT_EQ(many, LoadList(listPath));

    const Lines longLine = {"first", std::string(1 << 20, 'L'), "last"};
    SaveList(listPath, longLine);
    EXPECT_EQ(longLine, LoadList(listPath));
}

TEST_F(SideFiles, StaticTextIsSavedExactlyAsHeld)
{
    SaveStaticText(staticPath, std::string(5000, 'x'));
    SaveStaticText(staticPath, "Line one\r\nLine two");
    EXPECT_EQ("Line one\r\nLine two", directory.Read("static.sig.qmz"));
}

TEST_F(SideFiles, StaticTextLoadsWithCrLfBreaksUpToTheFirstNul)
{
    directory.Write("static.sig.qmz", std::string("a\rb\nc\r\nd\n\re\r\0hidden\rtext", 22));
    EXPECT_EQ("a\r\nb\r\nc\r\nd\r\n\r\ne\r\n", LoadStaticText(staticPath));
    directory.Write("static.sig.qmz", std::string("\0all hidden", 11));
    EXPECT_EQ("", LoadStaticText(staticPath));
}

TEST_F(SideFiles, MissingOrLockedFileCannotBeOpenedAndSaysWhy)
{
    EXPECT_FALSE(base::FileExists(listPath));
    EXPECT_FALSE(base::FileExists(directory.Path())); // a directory does not count
    EXPECT_EQ("Cannot open file \"" + listPath + "\". " + base::SystemErrorText(ERROR_FILE_NOT_FOUND),
              FailureOf<base::FileAccessError>([&] { LoadList(listPath); }));

    directory.Write("static.sig.qmz", "text");
    {
        // Loading shares reading with other readers...
        const base::FileHandle reader(CreateFileA(staticPath.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                                  OPEN_EXISTING, 0, nullptr));
        EXPECT_EQ("text", LoadStaticText(staticPath));
    }
    // ...but not with a program that shares nothing.
    const base::FileHandle lock = LockWithoutSharing(staticPath);
    EXPECT_EQ("Cannot open file \"" + staticPath + "\". " + base::SystemErrorText(ERROR_SHARING_VIOLATION),
              FailureOf<base::FileAccessError>([&] { LoadStaticText(staticPath); }));
}

// A replace step that fails like a full disk, after noting what both files held at that moment.
struct FailingReplace {
    static inline std::string temporaryPath, temporaryBytes, targetBytes;

    static DWORD Step(const std::string& temporary, const std::string& target)
    {
        temporaryPath = temporary;
        temporaryBytes = base::ReadWholeFile(temporary);
        targetBytes = base::ReadWholeFile(target);
        return ERROR_DISK_FULL;
    }
};

TEST_F(SideFiles, SaveInterruptedAtItsLastStepKeepsThePreviousFileWhole)
{
    SaveList(listPath, {"old.sigs"});

    EXPECT_EQ("Cannot create file \"" + listPath + "\". " + base::SystemErrorText(ERROR_DISK_FULL),
              FailureOf<base::FileAccessError>(
                  [&] { base::ReplaceWholeFile(listPath, JoinLines({"new.sigs", "more.sigs"}), FailingReplace::Step); }));

    // Until the last step the new content lived, complete, in its own file beside the old one.
    EXPECT_EQ(0u, FailingReplace::temporaryPath.rfind(directory.Path(), 0)) << FailingReplace::temporaryPath;
    EXPECT_EQ("new.sigs\r\nmore.sigs\r\n", FailingReplace::temporaryBytes);
    EXPECT_EQ("old.sigs\r\n", FailingReplace::targetBytes);
    EXPECT_EQ("old.sigs\r\n", directory.Read("sigs.list"));
    EXPECT_EQ(Lines{"sigs.list"}, directory.Names());
}

TEST_F(SideFiles, SaveOverALockedFileFailsAndKeepsItWhole)
{
    SaveList(listPath, {"C:\\Sigs\\work.sigs"});
    SaveStaticText(staticPath, "previous text");
    EXPECT_EQ((Lines{"sigs.list", "static.sig.qmz"}), directory.Names()); // no temporary files stay
    {
        const base::FileHandle lock = LockWithoutSharing(listPath);
        const std::string failure = FailureOf<base::FileAccessError>([&] { SaveList(listPath, {"new"}); });
        EXPECT_EQ(0u, failure.rfind("Cannot create file \"" + listPath + "\". ", 0)) << failure;
    }
    EXPECT_EQ(Lines{"C:\\Sigs\\work.sigs"}, LoadList(listPath));
    EXPECT_EQ((Lines{"sigs.list", "static.sig.qmz"}), directory.Names());
}

// The order's place is shared through the mapped file: what one mapping writes the other
// reads at once, and the file keeps it once both are gone. A damaged file, a text too long
// for it, or a folder where it cannot be made loses nothing but the place.
TEST_F(SideFiles, TheOrderStateFileSharesAndKeepsThePlaceAndReadsAsNoneWhenDamaged)
{
    const std::string statePath = SideFilePath(directory.Path(), OrderStateFileName);
    {
        OrderStateFile program(statePath);
        ASSERT_TRUE(program.Mapped());
        EXPECT_EQ("", program.Read());
        program.Write("1 0 2");
        OrderStateFile pick(statePath);
        EXPECT_EQ("1 0 2", pick.Read());
        pick.Write("1 0 3");
        EXPECT_EQ("1 0 3", program.Read());
        EXPECT_THROW(program.Write(std::string(OrderStateFile::MostText + 1, '1')), std::length_error);
        EXPECT_EQ("1 0 3", pick.Read());
    }
    std::string bytes = directory.Read("order.state");
    EXPECT_EQ("1 0 3", OrderStateFile(statePath).Read());

    // One byte of the text changed on the disk, or the file cut short: none kept.
    ASSERT_NE(std::string::npos, bytes.find("1 0 3"));
    bytes[bytes.find("1 0 3") + 4] = '4';
    directory.Write("order.state", bytes);
    {
        OrderStateFile damaged(statePath);
        EXPECT_EQ("", damaged.Read());
        damaged.Write("1 0 5");
    }
    EXPECT_EQ("1 0 5", OrderStateFile(statePath).Read());
    directory.Write("order.state", "1 0 6");
    EXPECT_EQ("", OrderStateFile(statePath).Read());

    OrderStateFile nowhere(directory.Path() + "missing\\order.state");
    EXPECT_FALSE(nowhere.Mapped());
    EXPECT_FALSE(nowhere.Write("1 0 7"));
    EXPECT_EQ("1 0 7", nowhere.Read());
}

// A file that may be read but not written gives the place it holds, and keeps what is written
// in memory alone, saying why; one held without sharing cannot even be read. Its bytes stay.
TEST_F(SideFiles, AnOrderStateFileThatCannotBeWrittenIsReadAndSaysWhyItKeepsNothing)
{
    const std::string statePath = SideFilePath(directory.Path(), OrderStateFileName);
    EXPECT_TRUE(OrderStateFile(statePath).Write("1 0 2"));
    const std::string bytes = directory.Read("order.state");
    {
        // Wine runs as root, so the read-only attribute would not stop a write: the flag does.
        const ImmutableFile immutable(statePath);
        if (!immutable.Made())
            GTEST_SKIP() << "the order state file cannot be made immutable here";
        OrderStateFile readOnly(statePath);
        EXPECT_EQ("1 0 2", readOnly.Read());
        EXPECT_EQ(base::SystemErrorText(ERROR_ACCESS_DENIED), readOnly.Unkept());
        EXPECT_FALSE(readOnly.Write("1 0 3"));
        EXPECT_EQ("1 0 3", readOnly.Read());
    }
    EXPECT_EQ(bytes, directory.Read("order.state"));
    const base::FileHandle held = LockWithoutSharing(statePath);
    OrderStateFile locked(statePath);
    EXPECT_EQ("", locked.Read());
    EXPECT_EQ(base::SystemErrorText(ERROR_SHARING_VIOLATION), locked.Unkept());
    EXPECT_TRUE(OrderStateFile(directory.Path() + "fresh.state").Unkept().empty());
}

} // namespace
