// The reports routing against a real tray icon in Wine's tray and the real modal boxes.
#include "tests/common/DialogAnswerer.h"
#include "ui/Reports.h"

#include "tray/TrayIcon.h"

#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>

using testcommon::DialogAnswerer;
using testcommon::SeenDialog;

namespace {

class ReportsWithRealTray : public ::testing::Test {
protected:
    void SetUp() override
    {
        icon = std::make_unique<tray::TTrayIcon>(nullptr);
        icon->SetIconVisible(true);
    }

    // The balloon last handed to the shell.
    std::string BalloonTitle() const { return icon->IconData().szInfoTitle; }
    std::string BalloonText() const { return icon->IconData().szInfo; }
    DWORD BalloonIcon() const { return icon->IconData().dwInfoFlags; }
    UINT BalloonTimeout() const { return icon->IconData().uTimeout; }

    DialogAnswerer dialogs;
    std::unique_ptr<tray::TTrayIcon> icon;
    bool errorBalloons = false;
    Reports reports{[this] { return icon.get(); }, [this] { return errorBalloons; }};
};

Reports WithoutTrayIcon(bool errorBalloons)
{
    // Before the start-up has made the icon, or after Exit removed it.
    return Reports{[] { return static_cast<tray::TTrayIcon*>(nullptr); }, [errorBalloons] { return errorBalloons; }};
}

} // namespace

TEST_F(ReportsWithRealTray, ErrorGoesToTheModalDialogWhileErrorBalloonsAreOff)
{
    dialogs.Press("OK");
    reports.ReportError("Cannot open signature database!", "File not found",
                        "Error opening signature database: File not found");
    const std::vector<SeenDialog> seen = dialogs.Take();
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].caption, "Error");
    EXPECT_EQ(seen[0].text, "Error opening signature database: File not found");
    EXPECT_EQ(dialogs.Unused(), 0u);
    EXPECT_EQ(BalloonTitle(), "");
}

TEST_F(ReportsWithRealTray, ErrorIsAnErrorBalloonWhileErrorBalloonsAreOn)
{
    errorBalloons = true;
    reports.ReportError("Cannot open signature database!", "File not found",
                        "Error opening signature database: File not found");
    EXPECT_TRUE(dialogs.Take().empty());
    EXPECT_EQ(BalloonTitle(), "Cannot open signature database!");
    EXPECT_EQ(BalloonText(), "File not found");
    EXPECT_EQ(BalloonIcon(), static_cast<DWORD>(NIIF_ERROR));
    EXPECT_EQ(BalloonTimeout(), 15000u);
}

TEST_F(ReportsWithRealTray, TheSwitchIsReadAtTheMomentOfEachReport)
{
    dialogs.Press("OK");
    errorBalloons = true;
    reports.ReportError("first", "first text", "first dialog");
    errorBalloons = false;
    reports.ReportError("second", "second text", "second dialog");
    EXPECT_EQ(BalloonTitle(), "first");
    const std::vector<SeenDialog> seen = dialogs.Take();
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].text, "second dialog");
}

TEST_F(ReportsWithRealTray, FailureReportsCarryTheMessage)
{
    dialogs.Press("OK");
    ReportFailure(reports, std::runtime_error("Disk full"), "File error:");
    const std::vector<SeenDialog> seen = dialogs.Take();
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].text, "ERROR: Disk full");

    errorBalloons = true;
    ReportFailure(reports, std::runtime_error("Disk full"), "File error:");
    EXPECT_EQ(BalloonTitle(), "File error:");
    EXPECT_EQ(BalloonText(), "Disk full");
}

TEST_F(ReportsWithRealTray, NoticeIsAnInformationBalloonWhateverTheErrorSwitch)
{
    reports.Notice("Signature change:", "\"Hello\"");
    EXPECT_TRUE(dialogs.Take().empty());
    EXPECT_EQ(BalloonTitle(), "Signature change:");
    EXPECT_EQ(BalloonText(), "\"Hello\"");
    EXPECT_EQ(BalloonIcon(), static_cast<DWORD>(NIIF_INFO));
    EXPECT_EQ(BalloonTimeout(), 15000u);
}

TEST_F(ReportsWithRealTray, LongBalloonTextsAreCut)
{
    reports.Notice(std::string(80, 't'), std::string(300, 'x'));
    EXPECT_EQ(BalloonTitle(), std::string(63, 't'));
    EXPECT_EQ(BalloonText(), std::string(255, 'x'));
}

TEST(ReportsWithoutTrayIcon, BalloonsGoNowhereAndDialogsStillShow)
{
    DialogAnswerer dialogs;
    Reports balloons = WithoutTrayIcon(true);
    balloons.ReportError("title", "text", "dialog");
    balloons.Notice("title", "text");
    EXPECT_TRUE(dialogs.Take().empty());

    dialogs.Press("OK");
    Reports boxes = WithoutTrayIcon(false);
    boxes.ReportError("title", "text", "dialog");
    const std::vector<SeenDialog> seen = dialogs.Take();
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].text, "dialog");
}

namespace {

struct QuestionCase {
    const char* name;
    const char* button; // null: cancelled, as Escape does
    bool expected;
};

class QuestionTest : public ::testing::TestWithParam<QuestionCase> {};

} // namespace

TEST_P(QuestionTest, OnlyYesAnswersYes)
{
    const QuestionCase& c = GetParam();
    DialogAnswerer dialogs;
    if (c.button)
        dialogs.Press(c.button);
    else
        dialogs.Cancel();
    EXPECT_EQ(WithoutTrayIcon(false).Ask("Delete signature?"), c.expected);
    const std::vector<SeenDialog> seen = dialogs.Take();
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].caption, "Confirm");
    EXPECT_EQ(seen[0].text, "Delete signature?");
}

INSTANTIATE_TEST_SUITE_P(Answers, QuestionTest,
                         ::testing::Values(QuestionCase{"Yes", "&Yes", true}, QuestionCase{"No", "&No", false},
                                           QuestionCase{"Cancelled", nullptr, false}),
                         [](const auto& info) { return std::string(info.param.name); });
