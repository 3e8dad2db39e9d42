// vqsig's command line: what a wrong one, --help and --version give.
#include "base/Version.h"
#include "tests/vqsig/ConsoleRun.h"

#include <gtest/gtest.h>

using vqsig_test::Vqsig;

TEST(VqsigUsageTest, WrongCommandLinesExitWithTwoAndTheReasonAboveTheUsage)
{
    const struct {
        std::vector<std::string> arguments;
        std::string reason;
    } cases[] = {
        {{}, "No command given."},
        {{"pick-one"}, "Unknown command \"pick-one\"."},
        {{"count"}, "The command count needs more arguments."},
        {{"export", "a.sigs", "b", "c"}, "The command export takes fewer arguments."},
        {{"list", "--stdout", "a.sigs"}, "The command list has no option --stdout."},
        {{"pick", "--out"}, "The option --out needs a file name after it."},
        {{"pick", "--out", "a", "--stdout"}, "Give either --out or --stdout, not both."},
        {{"pick", "--above", "--below"}, "Give either --above or --below, not both."},
        {{"pick", "--list", "a", "--list", "b"}, "The option --list is given twice."},
        {{"pick", "--bold"}, "Unknown option --bold."},
        {{"delete", "a.sigs", "0"}, "The record number \"0\" is not a whole number from 1 on."},
        {{"delete", "a.sigs", "2x"}, "The record number \"2x\" is not a whole number from 1 on."},
        {{"delete", "a.sigs", "-1"}, "The record number \"-1\" is not a whole number from 1 on."},
    };
    for (const auto& c : cases) {
        const auto run = Vqsig(c.arguments);
        EXPECT_EQ(2u, run.exitCode) << c.reason;
        EXPECT_EQ("", run.out) << c.reason;
        EXPECT_EQ(0u, run.err.find(c.reason + "\r\n\r\nUsage:\r\n  vqsig pick ")) << run.err;
    }
}

TEST(VqsigUsageTest, HelpAndVersionGoToStandardOutput)
{
    for (const char* help : {"--help", "/?", "-h"}) {
        const auto run = Vqsig({help});
        EXPECT_EQ(0u, run.exitCode);
        EXPECT_EQ(0u, run.out.find("vqsig: Varnquill's signatures from the command line.\r\n")) << help;
        EXPECT_NE(std::string::npos, run.out.find("  vqsig import DB FILE...\r\n"));
        EXPECT_EQ("", run.err);
    }
    const auto version = Vqsig({"--version"});
    EXPECT_EQ(0u, version.exitCode);
    EXPECT_EQ(std::string("vqsig ") + VARNQUILL_VERSION + "\r\n", version.out);
}

TEST(VqsigUsageTest, TextAfterDoubleDashIsNeverAnOption)
{
    const auto run = Vqsig({"count", "--", "--help"});
    EXPECT_EQ(1u, run.exitCode);
    EXPECT_EQ("--help: File not found\r\n", run.err);
}
