#include "settings/SideFiles.h"

#include "settings/WholeFile.h"
#include "toolkit/Handles.h"
#include "toolkit/SystemError.h"

#include "TestDirectory.h"

#include <gtest/gtest.h>

using namespace settings;

namespace {

// The message of the FileAccessError the call throws, or "(no failure)".
template <typename Call>
std::string FailureOf(Call call)
{
    try {
        call();
    } catch (const FileAccessError& failure) {
        return failure.what();
    }
    return "(no failure)";
}

// Another program holding the file open without sharing it.
toolkit::FileHandle LockWithoutSharing(const std::string& path)
{
    toolkit::FileHandle file(CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                         FILE_ATTRIBUTE_NORMAL, nullptr));
    EXPECT_TRUE(file) << path;
    return file;
}

struct ListFileRow {
    const char* name;
    std::string bytes;
    std::vector<std::string> entries;
};

class ListFiles : public ::testing::TestWithParam<ListFileRow> {
protected:
    TestDirectory directory;
};

TEST_P(ListFiles, SplitAtEveryKindOfLineBreak)
{
    directory.Write("sigs.list", GetParam().bytes);
    EXPECT_EQ(GetParam().entries, LoadList(directory.Path() + "sigs.list"));
}

INSTANTIATE_TEST_SUITE_P(Rows, ListFiles,
    ::testing::Values(
        ListFileRow{"Empty", "", {}},
        ListFileRow{"CrLf", "a.sigs\r\nb.sigs\r\n", {"a.sigs", "b.sigs"}},
        ListFileRow{"CrOnly", "a\rb\r", {"a", "b"}},
        ListFileRow{"LfOnly", "a\nb\n", {"a", "b"}},
        ListFileRow{"Mixed", "a\r\nb\rc\nd", {"a", "b", "c", "d"}},
        ListFileRow{"LfThenCrIsTwoBreaks", "a\n\rb", {"a", "", "b"}},
        ListFileRow{"EmptyLines", "\r\n\r\na\r\n\r\n", {"", "", "a", ""}},
        ListFileRow{"OnlyABreak", "\n", {""}},
        ListFileRow{"NoFinalBreak", "C:\\My Sigs\\work.sigs", {"C:\\My Sigs\\work.sigs"}},
        ListFileRow{"BlanksKept", " a \r\n\tb", {" a ", "\tb"}}),
    [](const ::testing::TestParamInfo<ListFileRow>& info) { return std::string(info.param.name); });

class SideFiles : public ::testing::Test {
protected:
    TestDirectory directory;
    std::string listPath = DatabaseListPath(directory.Path());
    std::string staticPath = StaticTextPath(directory.Path());
};

TEST_F(SideFiles, PathsSitBesideTheProgram)
{
    EXPECT_EQ(directory.Path() + "\\sigs.list", listPath);
    EXPECT_EQ(directory.Path() + "\\static.sig.qmz", staticPath);
}

TEST_F(SideFiles, SavedListHasEveryEntryEndedByCrLf)
{
    SaveList(listPath, {"C:\\Sigs\\work.sigs", "", "D:\\fun.sigs"});
    EXPECT_EQ("C:\\Sigs\\work.sigs\r\n\r\nD:\\fun.sigs\r\n", directory.Read("sigs.list"));

    SaveList(listPath, {});
    EXPECT_TRUE(FileExists(listPath));
    EXPECT_EQ("", directory.Read("sigs.list"));
    EXPECT_EQ(std::vector<std::string>{}, LoadList(listPath));
}

TEST_F(SideFiles, LongListsAndLongLinesRoundTrip)
{
    std::vector<std::string> many;
    for (int i = 0; i < 10000; ++i)
        many.push_back("C:\\Sigs\\" + std::to_string(i) + ".sigs");
    SaveList(listPath, many);
    EXPECT_EQ(many, LoadList(listPath));

    const std::vector<std::string> longLine = {"first", std::string(1 << 20, 'L'), "last"};
    SaveList(listPath, longLine);
    EXPECT_EQ(longLine, LoadList(listPath));
    EXPECT_EQ(5 + 2 + (1u << 20) + 2 + 4 + 2, directory.Read("sigs.list").size());
}

TEST_F(SideFiles, StaticTextIsSavedExactlyAsHeld)
{
    SaveStaticText(staticPath, "Line one\r\nLine two");
    EXPECT_EQ("Line one\r\nLine two", directory.Read("static.sig.qmz"));
    SaveStaticText(staticPath, "");
    EXPECT_EQ("", directory.Read("static.sig.qmz"));
}

TEST_F(SideFiles, StaticTextLoadsWithCrLfBreaksUpToTheFirstNul)
{
    directory.Write("static.sig.qmz", std::string("a\rb\nc\r\nd\n\re\r\0hidden\rtext", 22));
    EXPECT_EQ("a\r\nb\r\nc\r\nd\r\n\r\ne\r\n", LoadStaticText(staticPath));

    directory.Write("static.sig.qmz", "ends in a lone CR\r");
    EXPECT_EQ("ends in a lone CR\r\n", LoadStaticText(staticPath));
    directory.Write("static.sig.qmz", std::string("\0everything hidden", 18));
    EXPECT_EQ("", LoadStaticText(staticPath));
}

TEST_F(SideFiles, SavingReplacesAlongerFileWhole)
{
    SaveStaticText(staticPath, std::string(5000, 'x'));
    SaveStaticText(staticPath, "short");
    EXPECT_EQ("short", directory.Read("static.sig.qmz"));
}

TEST_F(SideFiles, SaveLeavesNoTemporaryFileBehind)
{
    SaveList(listPath, {"a"});
    SaveList(listPath, {"a", "b"});
    SaveStaticText(staticPath, "text");
    EXPECT_EQ((std::vector<std::string>{"sigs.list", "static.sig.qmz"}), directory.Names());
}

TEST_F(SideFiles, MissingFileIsNoFileAndCannotBeOpened)
{
    EXPECT_FALSE(FileExists(listPath));
    EXPECT_FALSE(FileExists(directory.Path())); // a directory does not count
    EXPECT_EQ("Cannot open file \"" + listPath + "\". " + toolkit::SystemErrorText(ERROR_FILE_NOT_FOUND),
              FailureOf([&] { LoadList(listPath); }));
}

TEST_F(SideFiles, LockedFileCannotBeOpenedAndSaysWhy)
{
    directory.Write("sigs.list", "a\r\n");
    directory.Write("static.sig.qmz", "text");
    const toolkit::FileHandle listLock = LockWithoutSharing(listPath);
    const toolkit::FileHandle staticLock = LockWithoutSharing(staticPath);

    const std::string reason = toolkit::SystemErrorText(ERROR_SHARING_VIOLATION);
    EXPECT_EQ("Cannot open file \"" + listPath + "\". " + reason, FailureOf([&] { LoadList(listPath); }));
    EXPECT_EQ("Cannot open file \"" + staticPath + "\". " + reason, FailureOf([&] { LoadStaticText(staticPath); }));
}

TEST_F(SideFiles, LoadingSharesReadingWithOtherReaders)
{
    directory.Write("sigs.list", "a\r\n");
    const toolkit::FileHandle reader(CreateFileA(listPath.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                                 OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    ASSERT_TRUE(reader);
    EXPECT_EQ(std::vector<std::string>{"a"}, LoadList(listPath));
}

// A replace step that fails like a full disk, after noting what both files held at that moment.
struct FailingReplace {
    static inline std::string temporaryPath, temporaryBytes, targetBytes;

    static DWORD Step(const std::string& temporary, const std::string& target)
    {
        temporaryPath = temporary;
        temporaryBytes = ReadWholeFile(temporary);
        targetBytes = ReadWholeFile(target);
        return ERROR_DISK_FULL;
    }
};

TEST_F(SideFiles, SaveInterruptedAtItsLastStepKeepsThePreviousFileWhole)
{
    SaveList(listPath, {"old.sigs"});

    EXPECT_EQ("Cannot create file \"" + listPath + "\". " + toolkit::SystemErrorText(ERROR_DISK_FULL),
              FailureOf([&] { ReplaceWholeFile(listPath, JoinLines({"new.sigs", "more.sigs"}), FailingReplace::Step); }));

    // Up to the last step the new content lived complete in its own file beside the old one,
    // which was not touched.
    EXPECT_EQ(0u, FailingReplace::temporaryPath.rfind(directory.Path(), 0)) << FailingReplace::temporaryPath;
    EXPECT_EQ("new.sigs\r\nmore.sigs\r\n", FailingReplace::temporaryBytes);
    EXPECT_EQ("old.sigs\r\n", FailingReplace::targetBytes);
    EXPECT_EQ("old.sigs\r\n", directory.Read("sigs.list"));
    EXPECT_EQ(std::vector<std::string>{"sigs.list"}, directory.Names());
}

TEST_F(SideFiles, SaveOverALockedFileFailsAndKeepsItWhole)
{
    const std::vector<std::string> previous = {"C:\\Sigs\\work.sigs", "D:\\fun.sigs"};
    SaveList(listPath, previous);
    SaveStaticText(staticPath, "previous text");
    {
        // Another program holds both files, so the last step of each save, putting the new
        // file in the old one's place, fails after the new content was written.
        const toolkit::FileHandle listLock = LockWithoutSharing(listPath);
        const toolkit::FileHandle staticLock = LockWithoutSharing(staticPath);
        const std::string listFailure = FailureOf([&] { SaveList(listPath, {"new"}); });
        const std::string staticFailure = FailureOf([&] { SaveStaticText(staticPath, "new text"); });
        EXPECT_EQ(0u, listFailure.rfind("Cannot create file \"" + listPath + "\". ", 0)) << listFailure;
        EXPECT_EQ(0u, staticFailure.rfind("Cannot create file \"" + staticPath + "\". ", 0)) << staticFailure;
    }
    EXPECT_EQ(previous, LoadList(listPath));
    EXPECT_EQ("previous text", LoadStaticText(staticPath));
    EXPECT_EQ((std::vector<std::string>{"sigs.list", "static.sig.qmz"}), directory.Names());
}

TEST_F(SideFiles, SaveIntoAMissingDirectoryCannotCreateTheFile)
{
    const std::string path = directory.Path() + "missing\\sigs.list";
    const std::string failure = FailureOf([&] { SaveList(path, {"a"}); });
    EXPECT_EQ(0u, failure.rfind("Cannot create file \"" + path + "\". ", 0)) << failure;
    EXPECT_EQ(std::vector<std::string>{}, directory.Names());
}

} // namespace
