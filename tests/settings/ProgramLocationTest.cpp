#include "settings/ProgramLocation.h"

#include "settings/AsciiText.h"
#include "settings/WholeFile.h"

#include <gtest/gtest.h>

#include <cstdlib>

using namespace settings;

namespace {

struct CommandLineRow {
    const char* commandLine;
    std::vector<std::string> words;
};

class CommandLines : public ::testing::TestWithParam<CommandLineRow> {};

TEST_P(CommandLines, SplitAtWhitespaceWithQuotesGroupingAndRemoved)
{
    EXPECT_EQ(GetParam().words, SplitCommandLine(GetParam().commandLine));
}

INSTANTIATE_TEST_SUITE_P(Rows, CommandLines,
    ::testing::Values(
        CommandLineRow{"", {}},
        CommandLineRow{"   ", {}},
        CommandLineRow{"Varnquill.exe", {"Varnquill.exe"}},
        CommandLineRow{"Varnquill.exe /MIN", {"Varnquill.exe", "/MIN"}},
        CommandLineRow{"  Varnquill.exe \t /min  ", {"Varnquill.exe", "/min"}},
        CommandLineRow{"\"C:\\Program Files\\V\\Varnquill.exe\" /MIN",
                       {"C:\\Program Files\\V\\Varnquill.exe", "/MIN"}},
        CommandLineRow{"a \"b c\"d e", {"a", "b cd", "e"}},
        CommandLineRow{"a \"/MIN\"", {"a", "/MIN"}},
        CommandLineRow{"a \"\" /MIN", {"a", "", "/MIN"}},
        CommandLineRow{"a \"unclosed quote", {"a", "unclosed quote"}}));

TEST(StartArguments, OnlyAFirstMinInAnyCaseStartsMinimised)
{
    EXPECT_TRUE(StartsMinimised({"/MIN"}));
    EXPECT_TRUE(StartsMinimised({"/min"}));
    EXPECT_TRUE(StartsMinimised({"/mIn", "more"}));
    EXPECT_FALSE(StartsMinimised({}));
    EXPECT_FALSE(StartsMinimised({"other", "/MIN"}));
    EXPECT_FALSE(StartsMinimised({"/MINI"}));
    EXPECT_FALSE(StartsMinimised({"MIN"}));
    EXPECT_FALSE(StartsMinimised({" /MIN"}));
}

TEST(StartArguments, ThisProcessArgumentsFollowItsName)
{
    const std::vector<std::string> arguments = CommandLineArguments();
    ASSERT_EQ(static_cast<std::size_t>(__argc - 1), arguments.size());
    for (int i = 1; i < __argc; ++i)
        EXPECT_EQ(__argv[i], arguments[i - 1]);
}

TEST(ProgramFiles, PathAndDirectoryOfThisProgram)
{
    const std::string path = ProgramPath();
    const std::string directory = ProgramDirectory();
    EXPECT_TRUE(FileExists(path)) << path;
    EXPECT_TRUE(AsciiEqualNoCase("settings_tests.exe", path.substr(directory.size()))) << path;
    ASSERT_FALSE(directory.empty());
    EXPECT_EQ('\\', directory.back());
    EXPECT_EQ(0u, path.rfind(directory, 0));
}

TEST(AsciiFolding, OnlyLettersAToZFold)
{
    EXPECT_EQ("ABZ AZ 09 /MIN_\xE9\xFF", AsciiUpperCase("abz AZ 09 /min_\xE9\xFF"));
    EXPECT_TRUE(AsciiEqualNoCase("C:\\Sigs\\Work.SIGS", "c:\\sigs\\work.sigs"));
    EXPECT_FALSE(AsciiEqualNoCase("\xE9", "\xC9")); // accented letters stay as they are
    EXPECT_FALSE(AsciiEqualNoCase("abc", "abcd"));
    EXPECT_FALSE(AsciiEqualNoCase("a[", "A{"));
    EXPECT_TRUE(AsciiEqualNoCase("", ""));
}

} // namespace
