// The message dialogs, shown for real and answered from a timer of the test, and the set-up
// of the file dialogs (the common file dialog itself is the system's and not driven here).
#include "ControlHost.h"
#include "tests/common/DialogAnswerer.h"

#include "toolkit/Application.h"
#include "toolkit/Edit.h"
#include "toolkit/FileDialogs.h"
#include "toolkit/MessageDialogs.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace toolkit;

namespace {

enum class Answer { Enter, Escape, Close, ClickYes, ClickNo, KeyY, KeyN };

// Plans the answer for the next dialog.
void Plan(testcommon::DialogAnswerer& dialogs, Answer answer)
{
    switch (answer) {
    case Answer::Enter: dialogs.PressKey(VK_RETURN); break;
    case Answer::Escape: dialogs.PressKey(VK_ESCAPE); break;
    case Answer::KeyY: dialogs.TypeChar('y'); break;
    case Answer::KeyN: dialogs.TypeChar('n'); break;
    case Answer::Close: dialogs.Close(); break;
    case Answer::ClickYes: dialogs.Press("&Yes"); break;
    case Answer::ClickNo: dialogs.Press("&No"); break;
    }
}

} // namespace

TEST(RealMessageDialog, ErrorDialogShowsTextStopIconAndOkAndCloses)
{
    ControlHost host;
    for (Answer answer : {Answer::Enter, Answer::Escape, Answer::Close}) {
        testcommon::DialogAnswerer dialogs;
        Plan(dialogs, answer);
        ShowErrorDialog(host.Handle(), "Error opening signature database: not found");
        const std::vector<testcommon::SeenDialog> seen = dialogs.Take();
        ASSERT_EQ(seen.size(), 1u);
        EXPECT_EQ(dialogs.Forced(), 0) << static_cast<int>(answer);
        EXPECT_EQ(seen[0].caption, "Error");
        EXPECT_EQ(seen[0].text, "Error opening signature database: not found");
        EXPECT_EQ(seen[0].buttons, (std::vector<std::string>{"OK"}));
        EXPECT_EQ(seen[0].icon, LoadIconA(nullptr, MAKEINTRESOURCEA(32513))); // IDI_HAND, the stop sign
        EXPECT_TRUE(seen[0].centred);
    }
}

TEST(RealMessageDialog, QuestionAnswersYesOnlyThroughYesOrEnter)
{
    struct Case { Answer answer; bool yes; };
    const Case cases[] = {
        {Answer::Enter, true}, {Answer::ClickYes, true}, {Answer::KeyY, true},
        {Answer::Escape, false}, {Answer::Close, false}, {Answer::ClickNo, false}, {Answer::KeyN, false},
    };
    ControlHost host;
    for (const Case& c : cases) {
        testcommon::DialogAnswerer dialogs;
        Plan(dialogs, c.answer);
        const bool yes = AskQuestion(host.Handle(), "Delete signature?");
        const std::vector<testcommon::SeenDialog> seen = dialogs.Take();
        ASSERT_EQ(seen.size(), 1u);
        EXPECT_EQ(dialogs.Forced(), 0) << static_cast<int>(c.answer);
        EXPECT_EQ(yes, c.yes) << static_cast<int>(c.answer);
        EXPECT_EQ(seen[0].caption, "Confirm");
        EXPECT_EQ(seen[0].text, "Delete signature?");
        EXPECT_EQ(seen[0].buttons, (std::vector<std::string>{"&Yes", "&No"}));
        EXPECT_EQ(seen[0].icon, LoadIconA(nullptr, MAKEINTRESOURCEA(32514))); // IDI_QUESTION
        EXPECT_TRUE(seen[0].centred);
    }
}

// A failure in a handler raised from the window procedure does not leave it: it ends in the
// application's last-resort box, and the control goes on working.
TEST(RealMessageDialog, FailureInAnEventHandlerEndsInTheLastResortBox)
{
    ControlHost host;
    Edit field(host.At(8, 8, 200, 21));
    field.OnChange = [](Control&) { throw std::runtime_error("Cannot create registry key"); };
    toolkit::Application& application = toolkit::Application::Instance();
    const std::string title = application.Title();
    application.SetTitle("Varnquill");
    testcommon::DialogAnswerer dialogs;
    dialogs.PressKey(VK_RETURN);
    TypeChar(field.Handle(), 'x');
    application.SetTitle(title);
    const std::vector<testcommon::SeenDialog> seen = dialogs.Take();
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(dialogs.Forced(), 0);
    EXPECT_EQ(seen[0].caption, "Varnquill");
    EXPECT_EQ(seen[0].text, "Cannot create registry key.");
    EXPECT_EQ(field.Text(), "x");
}

TEST(FileDialogSetup, HandsTitleFilterExtensionAndPresetNameToTheDialog)
{
    FileDialogArgs args;
    args.title = "Create new or choose an already existing signature database";
    args.filter = "Signature files|*.sigs|All files|*.*";
    args.defaultExtension = "*.sigs";
    args.fileName = "Untitled1.sigs";
    FileDialogSetup setup(args);
    const OPENFILENAMEA& dialog = setup.Structure();

    EXPECT_EQ(dialog.lStructSize, sizeof(OPENFILENAMEA));
    EXPECT_STREQ(dialog.lpstrTitle, "Create new or choose an already existing signature database");
    EXPECT_STREQ(dialog.lpstrDefExt, "*.sigs"); // handed over as given
    EXPECT_STREQ(dialog.lpstrFile, "Untitled1.sigs");
    EXPECT_GE(dialog.nMaxFile, static_cast<DWORD>(MAX_PATH));
    EXPECT_EQ(dialog.nFilterIndex, 1u);
    // The 36 characters of the filter with its bars turned into NULs, then the two NULs
    // that end the list.
    const std::string filter(dialog.lpstrFilter, 36 + 2);
    EXPECT_EQ(filter, std::string("Signature files\0*.sigs\0All files\0*.*\0\0", 38));
    // No question before an existing file, and neither the file nor its folder must exist.
    EXPECT_EQ(dialog.Flags & (OFN_OVERWRITEPROMPT | OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_CREATEPROMPT), 0u);
    EXPECT_TRUE(dialog.Flags & OFN_EXPLORER);
}

