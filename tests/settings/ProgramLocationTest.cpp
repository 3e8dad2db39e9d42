#include "settings/ProgramLocation.h"

#include "base/AsciiText.h"
#include "settings/WholeFile.h"

#include <gtest/gtest.h>

#include <cstdlib>

using namespace settings;

namespace {

TEST(CommandLine, WhitespaceSeparatesAndQuotesGroupAndAreRemoved)
{
    using Words = std::vector<std::string>;
    EXPECT_EQ(Words{}, SplitCommandLine("  \t "));
    EXPECT_EQ((Words{"Varnquill.exe", "/min"}), SplitCommandLine("  Varnquill.exe \t /min  "));
    EXPECT_EQ((Words{"C:\\Program Files\\V.exe", "/MIN"}), SplitCommandLine("\"C:\\Program Files\\V.exe\" /MIN"));
    EXPECT_EQ((Words{"a", "b cd", "/MIN"}), SplitCommandLine("a \"b c\"d \"/MIN\""));
    EXPECT_EQ((Words{"a", "", "unclosed quote"}), SplitCommandLine("a \"\" \"unclosed quote"));
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
    ASSERT_EQ(0u, path.rfind(directory, 0)) << path;
    EXPECT_EQ('\\', directory.back());
    EXPECT_TRUE(AsciiEqualNoCase("settings_tests.exe", path.substr(directory.size()))) << path;
}

TEST(AsciiFolding, OnlyLettersAToZFold)
{
    EXPECT_EQ("ABZ AZ 09 /MIN_\xE9[", AsciiUpperCase("abz AZ 09 /min_\xE9["));
    EXPECT_TRUE(AsciiEqualNoCase("C:\\Sigs\\Work.SIGS", "c:\\sigs\\work.sigs"));
    EXPECT_FALSE(AsciiEqualNoCase("\xE9", "\xC9")); // accented letters stay as they are
    EXPECT_FALSE(AsciiEqualNoCase("abc", "abcd"));
    EXPECT_FALSE(AsciiEqualNoCase("a[", "A{"));
}

} // namespace
