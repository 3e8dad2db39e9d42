// "Mail clients" with Outlook's own values in the test prefix's registry: the lines under
// Outlook's files, and "Let Outlook use the files" with its question answered.
#include "tests/common/DialogAnswerer.h"
#include "tests/common/MadeUpMailClients.h"
#include "ui/MailClientsWindow.h"

#include <gtest/gtest.h>

using testcommon::DialogAnswerer;
using testcommon::SeenDialog;

namespace {

constexpr const char* Toggle = "DisableRoamingSignaturesTemporaryToggle";
const std::string SetupKey = std::string(mailclients::MadeUpMailClients::OutlookKey) + "\\Setup";
const std::string PolicySetup = std::string(mailclients::MadeUpMailClients::PolicyOutlookKey) + "\\Setup";

std::vector<std::string> Rows(const MailClientsWindow& window)
{
    const HWND list = FindWindowExA(window.Handle(), nullptr, "ListBox", nullptr);
    std::vector<std::string> rows;
    for (int i = 0; i < static_cast<int>(SendMessageA(list, LB_GETCOUNT, 0, 0)); ++i) {
        std::string row(static_cast<std::size_t>(SendMessageA(list, LB_GETTEXTLEN, i, 0)), '\0');
        SendMessageA(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(row.data()));
        rows.push_back(row);
    }
    return rows;
}

HWND LetOutlookButton(const MailClientsWindow& window)
{
    return FindWindowExA(window.Handle(), nullptr, "Button", MailClientsWindow::LetOutlookCaption);
}

// Shown with its window: the window itself is not, as nothing runs it.
bool Shown(HWND control)
{
    return (GetWindowLongA(control, GWL_STYLE) & WS_VISIBLE) != 0;
}

// A click as the window hears of it; the question it asks runs its own loop meanwhile.
void Click(const MailClientsWindow& window, HWND button)
{
    SendMessageA(window.Handle(), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(button), BN_CLICKED),
                 reinterpret_cast<LPARAM>(button));
}

// The names of the values a key holds, or nothing when it cannot be opened.
std::optional<std::vector<std::string>> ValueNames(HKEY root, const std::string& key)
{
    HKEY opened = nullptr;
    if (RegOpenKeyExA(root, key.c_str(), 0, KEY_QUERY_VALUE, &opened) != ERROR_SUCCESS)
        return std::nullopt;
    const base::RegistryKey closing(opened);
    std::vector<std::string> names;
    char name[256];
    for (DWORD i = 0, length = sizeof name; RegEnumValueA(opened, i, name, &length, nullptr, nullptr, nullptr,
                                                          nullptr) == ERROR_SUCCESS;
         ++i, length = sizeof name)
        names.emplace_back(name, length);
    return names;
}

} // namespace

TEST(MailClientsWindow, RoamingSignaturesAreSwitchedOffForTheUserAloneOnceTheQuestionIsAnsweredYes)
{
    mailclients::MadeUpMailClients clients;
    clients.InstallOutlook();
    clients.SetDword(std::string(mailclients::MadeUpMailClients::OutlookKey) + "\\Preferences", "UseNewOutlook", 1);
    DialogAnswerer dialogs;
    MailClientsWindow window(nullptr, mailclients::FindMailClientSignatures(), "");
    std::vector<std::string> rows = clients.Lines();
    rows.push_back("Outlook keeps these signatures in the mailbox and may replace Varnquill's changes.");
    rows.push_back("Outlook (new) - signatures live in the mailbox: use Copy signature or the paste hot key");
    EXPECT_EQ(Rows(window), rows);
    const HWND button = LetOutlookButton(window);
    ASSERT_NE(button, nullptr);
    EXPECT_TRUE(Shown(button) && IsWindowEnabled(button));

    // "No" changes nothing.
    dialogs.Press("&No");
    Click(window, button);
    std::vector<SeenDialog> seen = dialogs.Take();
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].caption, "Confirm");
    EXPECT_EQ(seen[0].text, MailClientsWindow::LetOutlookQuestion);
    EXPECT_NE(seen[0].text.find("Outlook must be restarted"), std::string::npos);
    EXPECT_EQ(ValueNames(HKEY_CURRENT_USER, SetupKey), std::nullopt);

    // "Yes" sets the user's own toggle and nothing else: no policy, no machine value.
    dialogs.Press("&Yes");
    Click(window, button);
    EXPECT_EQ(dialogs.Take().size(), 1u);
    EXPECT_EQ(ValueNames(HKEY_CURRENT_USER, SetupKey), std::vector<std::string>{Toggle});
    DWORD value = 0, size = sizeof value;
    EXPECT_EQ(RegGetValueA(HKEY_CURRENT_USER, SetupKey.c_str(), Toggle, RRF_RT_REG_DWORD, nullptr, &value, &size),
              ERROR_SUCCESS);
    EXPECT_EQ(value, 1u);
    EXPECT_EQ(ValueNames(HKEY_CURRENT_USER, PolicySetup), std::nullopt);
    EXPECT_EQ(ValueNames(HKEY_LOCAL_MACHINE, SetupKey), std::nullopt);
    EXPECT_EQ(ValueNames(HKEY_LOCAL_MACHINE, PolicySetup), std::nullopt);
    EXPECT_EQ(mailclients::RoamingSignaturesOf(), mailclients::RoamingSignatures::Off);
    rows[rows.size() - 2] = MailClientsWindow::SwitchedOffLine;
    EXPECT_EQ(Rows(window), rows);
    EXPECT_FALSE(IsWindowEnabled(button));
    // Outlook's signature files are as they were.
    std::ifstream work(clients.OutlookFolder() + "\\Work.htm", std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(work), {}), "old");
}

TEST(MailClientsWindow, APolicyThatKeepsRoamingSignaturesOnIsSaidAndTheButtonCannotBePressed)
{
    mailclients::MadeUpMailClients clients;
    clients.InstallOutlook();
    clients.SetDword(SetupKey, Toggle, 1);
    clients.SetDword(PolicySetup, Toggle, 0);
    const MailClientsWindow window(nullptr, mailclients::FindMailClientSignatures(), "");
    std::vector<std::string> rows = clients.Lines();
    rows.push_back("Outlook keeps these signatures in the mailbox and may replace Varnquill's changes. An "
                   "administrator's policy keeps it so.");
    EXPECT_EQ(Rows(window), rows);
    const HWND button = LetOutlookButton(window);
    EXPECT_TRUE(Shown(button));
    EXPECT_FALSE(IsWindowEnabled(button));

    // Switched off, by the user's value or the policy's, Outlook reads the files: nothing to say.
    clients.SetDword(PolicySetup, Toggle, 1);
    const MailClientsWindow off(nullptr, mailclients::FindMailClientSignatures(), "");
    EXPECT_EQ(Rows(off), clients.Lines());
    EXPECT_FALSE(Shown(LetOutlookButton(off)));
}

TEST(MailClientsWindow, AnOutlookWhoseProfileHasNoExchangeAccountShowsNoRoamingLineNorTheButton)
{
    using Clients = mailclients::MadeUpMailClients;
    Clients clients;
    clients.InstallOutlook();
    clients.RemoveMailboxSignatures();
    clients.AddAccount("Outlook", "00000001", Clients::Imap4Account);
    clients.AddAccount("Outlook", "00000002", Clients::MapiAccount, REG_BINARY, "MSUPST MS");
    const MailClientsWindow window(nullptr, mailclients::FindMailClientSignatures(), "");
    std::vector<std::string> rows = clients.Lines();
    rows.pop_back(); // the signature named for a mailbox
    EXPECT_EQ(Rows(window), rows);
    EXPECT_FALSE(Shown(LetOutlookButton(window)));
}
