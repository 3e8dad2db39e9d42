#include "settings/ProgramLocation.h"

#include "base/AsciiText.h"
#include "base/PathParts.h"
#include "settings/ProgramFiles.h"
#include "base/WholeFile.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

using namespace settings;

namespace {

TEST(CommandLine, WhitespaceSeparatesAndQuotesGroupAndAreRemoved)
{
    using Words = std::vector<std::string>;
    EXPECT_EQ(Words{}, base::SplitCommandLine("  \t "));
    EXPECT_EQ((Words{"Varnquill.exe", "/min"}), base::SplitCommandLine("  Varnquill.exe \t /min  "));
    EXPECT_EQ((Words{"C:\\Program Files\\V.exe", "/MIN"}), base::SplitCommandLine("\"C:\\Program Files\\V.exe\" /MIN"));
    EXPECT_EQ((Words{"a", "b cd", "/MIN"}), base::SplitCommandLine("a \"b c\"d \"/MIN\""));
    EXPECT_EQ((Words{"a", "", "unclosed quote"}), base::SplitCommandLine("a \"\" \"unclosed quote"));
}

TEST(CommandLine, OnlyAFirstMinInAnyCaseStartsMinimised)
{
    EXPECT_TRUE(StartsMinimised({"/MIN"}));
    EXPECT_TRUE(StartsMinimised({"/mIn", "more"}));
    EXPECT_FALSE(StartsMinimised({}));
    EXPECT_FALSE(StartsMinimised({"other", "/MIN"}));
    EXPECT_FALSE(StartsMinimised({"/MINI"}));
}

TEST(CommandLine, ThisProcessArgumentsFollowItsName)
{
    const std::vector<std::string> arguments = base::CommandLineArguments();
    ASSERT_EQ(static_cast<std::size_t>(__argc - 1), arguments.size());
    for (int i = 1; i < __argc; ++i)
        EXPECT_EQ(__argv[i], arguments[i - 1]);
}

TEST(ProgramFiles, PathAndDirectoryOfThisProgram)
{
    const std::string path = ProgramPath();
    const std::string directory = ProgramDirectory();
    EXPECT_TRUE(base::FileExists(path)) << path;
    ASSERT_EQ(0u, path.rfind(directory, 0)) << path;
    EXPECT_EQ('\\', directory.back());
    EXPECT_TRUE(base::AsciiEqualNoCase("settings_tests.exe", path.substr(directory.size()))) << path;

    // The program's own files: every side file beside it, itself and both programs' files.
    const std::vector<std::string> own = ProgramOwnFiles(directory);
    for (const std::string& expected : {directory + "sigs.list", directory + "static.sig.qmz",
                                        directory + "order.state", directory + "Varnquill.exe",
                                        directory + "vqsig.exe", path})
        EXPECT_NE(std::find(own.begin(), own.end(), expected), own.end()) << expected;
}

TEST(Paths, AreJoinedWithExactlyOneSeparator)
{
    EXPECT_EQ(base::JoinPath("C:\\dir", "a.txt"), "C:\\dir\\a.txt");
    EXPECT_EQ(base::JoinPath("C:\\dir\\", "a.txt"), "C:\\dir\\a.txt");
    EXPECT_EQ(base::JoinPath("C:/dir/", "a.txt"), "C:/dir/a.txt");
    EXPECT_EQ(base::JoinPath("C:", "a.txt"), "C:a.txt") << "as FolderPart cuts it";
    EXPECT_EQ(base::JoinPath("", "a.txt"), "a.txt");
    EXPECT_EQ(base::JoinPath("C:\\dir", ""), "C:\\dir\\");
}

TEST(AsciiFolding, OnlyLettersAToZFold)
{
    EXPECT_EQ("ABZ AZ 09 /MIN_\xE9[", base::AsciiUpperCase("abz AZ 09 /min_\xE9["));
    EXPECT_TRUE(base::AsciiEqualNoCase("C:\\Sigs\\Work.SIGS", "c:\\sigs\\work.sigs"));
    EXPECT_FALSE(base::AsciiEqualNoCase("\xE9", "\xC9")); // accented letters stay as they are
    EXPECT_FALSE(base::AsciiEqualNoCase("abc", "abcd"));
    EXPECT_FALSE(base::AsciiEqualNoCase("a[", "A{"));
}

} // namespace
