// The mail clients' signature files, found in made-up settings under the real %APPDATA% and
// registry of the test prefix.
#include "mailclients/MailClientSignatures.h"
#include "mailclients/MozillaPrefs.h"

#include "tests/common/MadeUpMailClients.h"
#include "tests/common/StandardUser.h"
#include "tests/common/TestDirectory.h"

#include <gtest/gtest.h>

using namespace mailclients;

namespace {

std::vector<std::string> Lines(const MailClientSearch& search)
{
    std::vector<std::string> lines;
    for (const MailClientSignature& signature : search.found)
        lines.push_back(MailClientLine(signature));
    return lines;
}

} // namespace

TEST(MailClientSignatures, FindsThunderbirdIdentitiesAndOutlookSignaturesOfThisUser)
{
    mailclients::MadeUpMailClients clients;
    const MailClientSearch search = FindMailClientSignatures();
    EXPECT_EQ(Lines(search), clients.Lines());
    ASSERT_EQ(search.found.size(), 6u);
    EXPECT_EQ(search.found[0], (MailClientSignature{"Thunderbird", "jo@example.com", true,
                                                    clients.Elsewhere() + "\\Gr\xfc\xdf" "e.txt"}));
    EXPECT_EQ(search.found[2].path, ""); // \u0142 has no form in code page 1252: no look-alike "l"
    // A roaming signature's set, .htm and .txt, is one signature of its mailbox.
    EXPECT_EQ(search.found[5], (MailClientSignature{"Outlook", "Work", true,
                                                    clients.OutlookFolder() + "\\Work (jo@example.com).htm",
                                                    "jo@example.com"}));
    // The files the signature writer is to write for Thunderbird: every identity's that can be named.
    EXPECT_EQ(ThunderbirdSignatureFiles(),
              (std::vector<std::string>{search.found[0].path, search.found[1].path, search.found[3].path}));
    // Without an Outlook of this user there is nothing to say of Outlook's settings.
    EXPECT_EQ(search.roaming, RoamingSignatures::NoOutlook);
    EXPECT_TRUE(OutlookNoteLines(search).empty());
    const std::string appData = mailclients::AppData();
    EXPECT_EQ(search.lookedIn,
              (std::vector<std::string>{appData + "\\Thunderbird\\profiles.ini", clients.OutlookFolder()}));

    // Where Outlook's registry setting names a localized folder, that one is read instead.
    const std::string localized = clients.LocalizeOutlookFolder();
    const MailClientSearch localizedSearch = FindMailClientSignatures();
    ASSERT_EQ(localizedSearch.found.size(), 5u);
    EXPECT_EQ(localizedSearch.found.back(), (MailClientSignature{"Outlook", "Firma", true, localized}));
    EXPECT_EQ(localizedSearch.lookedIn.back(), appData + "\\Microsoft\\Firmas");
}

// Outlook's values as the prefix's registry holds them: the user's toggle, a policy's above
// it, a key nobody may read taken as not set; the new Outlook by its own switch.
TEST(OutlookSettings, RoamingSignaturesAndTheNewOutlookAreSeenAsTheValuesSay)
{
    constexpr const char* Toggle = "DisableRoamingSignaturesTemporaryToggle";
    const std::string setup = std::string(MadeUpMailClients::OutlookKey) + "\\Setup";
    const std::string policySetup = std::string(MadeUpMailClients::PolicyOutlookKey) + "\\Setup";
    const std::string preferences = std::string(MadeUpMailClients::OutlookKey) + "\\Preferences";
    mailclients::MadeUpMailClients clients;
    EXPECT_EQ(RoamingSignaturesOf(), RoamingSignatures::NoOutlook);
    clients.InstallOutlook();
    EXPECT_EQ(RoamingSignaturesOf(), RoamingSignatures::On);
    EXPECT_FALSE(NewOutlookInUse());
    const MailClientSearch roaming = FindMailClientSignatures();
    EXPECT_EQ(OutlookNoteLines(roaming), std::vector<std::string>{"Outlook keeps these signatures in the mailbox and "
                                                                  "may replace Varnquill's changes."});

    const struct {
        std::optional<DWORD> user, policy;
        bool policyUnreadable;
        RoamingSignatures expected;
    } cases[] = {
        {1, std::nullopt, false, RoamingSignatures::Off},
        {0, std::nullopt, false, RoamingSignatures::On},
        {1, 0, false, RoamingSignatures::KeptOnByPolicy},
        {0, 1, false, RoamingSignatures::Off},
        {1, 0, true, RoamingSignatures::Off},
        {0, 1, true, RoamingSignatures::On},
    };
    for (const auto& c : cases) {
        RegDeleteTreeA(HKEY_CURRENT_USER, MadeUpMailClients::PolicyOutlookKey); // the case before's
        clients.SetDword(setup, Toggle, *c.user);
        if (c.policy)
            clients.SetDword(policySetup, Toggle, *c.policy);
        std::optional<standarduser::KeyWithAccess> unreadable;
        if (c.policyUnreadable)
            unreadable.emplace(HKEY_CURRENT_USER, policySetup, "D:");
        EXPECT_EQ(RoamingSignaturesOf(), c.expected) << *c.user << " " << c.policy.value_or(9) << c.policyUnreadable;
    }
    clients.SetDword(policySetup, Toggle, 0);
    EXPECT_EQ(RoamingSignaturesLine(RoamingSignaturesOf()),
              "Outlook keeps these signatures in the mailbox and may replace Varnquill's changes. An administrator's "
              "policy keeps it so.");

    clients.SetDword(preferences, "UseNewOutlook", 1);
    EXPECT_TRUE(NewOutlookInUse());
    EXPECT_EQ(OutlookNoteLines(FindMailClientSignatures()).back(),
              "Outlook (new) - signatures live in the mailbox: use Copy signature or the paste hot key");
    clients.SetDword(preferences, "UseNewOutlook", 0);
    EXPECT_FALSE(NewOutlookInUse());
}

// Outlook's switch counts only where signatures can roam: an Exchange account in one of its
// mail profiles (a POP3, IMAP or Outlook.com account, a data file or an address book is none,
// however its class is stored), or a signature Outlook named for a mailbox.
TEST(OutlookSettings, RoamingSignaturesAreSaidOnlyWhereAMailboxCanKeepThem)
{
    using Clients = mailclients::MadeUpMailClients;
    Clients clients;
    clients.InstallOutlook();
    clients.RemoveMailboxSignatures();
    EXPECT_EQ(FindMailClientSignatures().roaming, RoamingSignatures::NoMailboxAccount);
    clients.AddAccount("Outlook", "00000001", Clients::Pop3Account);
    clients.AddAccount("Outlook", "00000002", Clients::Imap4Account, REG_BINARY);
    clients.AddAccount("Outlook", "00000003", Clients::HotmailAccount);
    clients.AddAccount("Outlook", "00000004", Clients::MapiAccount, REG_SZ, "MSUPST MS");
    clients.AddAccount("Outlook", "00000005", Clients::MapiAccount, REG_BINARY, "CONTAB");
    EXPECT_FALSE(ExchangeAccountInProfiles());
    const MailClientSearch pop3 = FindMailClientSignatures();
    EXPECT_EQ(pop3.roaming, RoamingSignatures::NoMailboxAccount);
    EXPECT_TRUE(OutlookNoteLines(pop3).empty());

    // An Exchange account in a second profile, its class in lower case as UTF-16 bytes; a
    // policy that keeps the switch on is said too.
    clients.AddAccount("Work", "00000001", "{ed475414-b0d6-11d2-8c3b-00104b2a6676}", REG_BINARY, "MSEMS");
    EXPECT_TRUE(ExchangeAccountInProfiles());
    EXPECT_EQ(FindMailClientSignatures().roaming, RoamingSignatures::On);
    clients.SetDword(std::string(Clients::PolicyOutlookKey) + "\\Setup", "DisableRoamingSignaturesTemporaryToggle", 0);
    EXPECT_EQ(FindMailClientSignatures().roaming, RoamingSignatures::KeptOnByPolicy);

    // Without it, a signature named for a mailbox is enough, by its .htm alone.
    RegDeleteTreeA(HKEY_CURRENT_USER, (std::string(Clients::OutlookKey) + "\\Profiles\\Work").c_str());
    EXPECT_EQ(FindMailClientSignatures().roaming, RoamingSignatures::NoMailboxAccount);
    mailclients::WriteFileBytes(clients.OutlookFolder() + "\\Work (jo@example.com).txt", "old");
    EXPECT_EQ(FindMailClientSignatures().roaming, RoamingSignatures::NoMailboxAccount);
    mailclients::WriteFileBytes(clients.OutlookFolder() + "\\Work (jo@example.com).htm", "old");
    EXPECT_EQ(FindMailClientSignatures().roaming, RoamingSignatures::KeptOnByPolicy);
}

// Only a name whose parenthesis holds an address is a mailbox's; both files of a set are one.
TEST(MailClientSignatures, OutlookSignaturesOfAMailboxAreListedByNameAndMailbox)
{
    mailclients::MadeUpMailClients clients;
    mailclients::WriteFileBytes(clients.OutlookFolder() + "\\Work (old).htm", "old");
    mailclients::WriteFileBytes(clients.OutlookFolder() + "\\Work (old).rtf", "old");
    const MailClientSearch search = FindMailClientSignatures();
    ASSERT_EQ(search.found.size(), 7u);
    EXPECT_EQ(search.found[6], (MailClientSignature{"Outlook", "Work (old)", true,
                                                    clients.OutlookFolder() + "\\Work (old).htm"}));
    EXPECT_EQ(MailClientLine(search.found[5]),
              "Outlook - jo@example.com - Work - " + clients.OutlookFolder() + "\\Work (jo@example.com).htm");
}

TEST(MailClientSignatures, WithNothingThereTheLineSaysWhereItLooked)
{
    TestDirectory empty;
    std::string appData = empty.Path();
    appData.pop_back();
    const MailClientSearch search = FindMailClientSignatures({appData, HKEY_CURRENT_USER});
    EXPECT_TRUE(search.found.empty());
    EXPECT_EQ(NothingFoundLine(search), "No mail client's signature file found; looked in " + appData +
                                            "\\Thunderbird\\profiles.ini and " + appData + "\\Microsoft\\Signatures");
    // A user without an application data folder: nothing is looked for at the drive's root.
    const MailClientSearch nowhere = FindMailClientSignatures({"", HKEY_CURRENT_USER});
    EXPECT_TRUE(nowhere.found.empty() && nowhere.lookedIn.empty());
    EXPECT_EQ(NothingFoundLine(nowhere), "No mail client's signature file found");
}

TEST(MozillaPrefs, ReadsStringsWithTheirEscapesAndSkipsWhatItCannotRead)
{
    const struct {
        std::string line;
        std::wstring value; // of the one preference "p", or none read when empty
        bool isString;
    } cases[] = {
        {R"(user_pref("p", "C:\\Sig \"x\" \'y\'");)", L"C:\\Sig \"x\" 'y'", true},
        {R"(user_pref("p", "Gr\u00fc\u00DFe\x21 \ud83d\ude00");)", L"Gr\u00fc\u00dfe! \U0001F600", true},
        {"user_pref(\"p\", \"caf\xC3\xA9\\n\\t\");", L"caf\u00e9\n\t", true},
        {"user_pref(\"p\", \"bad \xC3 byte\");", L"bad \ufffd byte", true},
        {"pref('p', 'single', sticky);", L"single", true},
        {" user_pref ( \"p\" , true ) ; // comment", L"true", false},
        {"/* user_pref(\"q\", 1); */ sticky_pref(\"p\", -42);", L"-42", false},
        {"# user_pref(\"q\", 1);\nuser_pref(\"p\", 7);", L"7", false},
        {R"(user_pref("p", "unknown \q escape");)", L"", false},
        {"user_pref(\"p\", \"no end);", L"", false},
        {"user_pref(\"p\", \"line\nbreak\");", L"", false},
        {R"(user_pref("p", "\u00f");)", L"", false},
        {"user_pref(\"p\" \"x\");", L"", false},
        {"user_pref(\"p\", \"x\")", L"", false},
    };
    for (const auto& c : cases) {
        // A statement that cannot be read costs only itself: the one after it is read.
        const std::vector<MozillaPref> prefs = ParseMozillaPrefs(c.line + "\nuser_pref(\"after\", 1);");
        std::vector<MozillaPref> expected;
        if (!c.value.empty())
            expected.push_back({L"p", c.value, c.isString});
        expected.push_back({L"after", L"1", false});
        EXPECT_EQ(prefs, expected) << c.line;
    }
}

// A profile that was moved: an identity with only the relative path, one whose absolute path
// is stale beside a relative one that holds, and one whose relative path is stale beside an
// absolute one that holds. The path whose file is there wins, the relative one first.
TEST(MailClientSignatures, ThunderbirdsRelativePathIsResolvedInTheProfileAndTheOneThatIsThereWins)
{
    TestDirectory folder;
    const std::string appData = folder.Path().substr(0, folder.Path().size() - 1);
    const std::string profile = appData + "\\Thunderbird\\Profiles\\p.default";
    WriteFileBytes(appData + "\\Thunderbird\\profiles.ini", "[Profile0]\r\nIsRelative=1\r\nPath=Profiles/p.default\r\n");
    WriteFileBytes(profile + "\\sig.txt", "sig");
    WriteFileBytes(profile + "\\sigs\\moved.txt", "sig");
    WriteFileBytes(appData + "\\kept.txt", "sig");
    std::string kept; // as prefs.js writes a backslash
    for (const char c : appData + "\\kept.txt")
        kept += c == '\\' ? std::string(2, c) : std::string(1, c);
    WriteFileBytes(profile + "\\prefs.js",
                   "user_pref(\"mail.identity.id1.sig_file-rel\", \"[ProfD]sig.txt\");\n"
                   "user_pref(\"mail.identity.id1.useremail\", \"rel@example.com\");\n"
                   "user_pref(\"mail.identity.id2.sig_file\", \"C:\\\\old profile\\\\sigs\\\\moved.txt\");\n"
                   "user_pref(\"mail.identity.id2.sig_file-rel\", \"[ProfD]sigs/moved.txt\");\n"
                   "user_pref(\"mail.identity.id2.useremail\", \"moved@example.com\");\n"
                   "user_pref(\"mail.identity.id3.sig_file\", \"" + kept + "\");\n"
                   "user_pref(\"mail.identity.id3.sig_file-rel\", \"[ProfD]../gone.txt\");\n"
                   "user_pref(\"mail.identity.id3.useremail\", \"abs@example.com\");\n");
    MailClientSearch search;
    FindThunderbirdSignatures(appData, search);
    EXPECT_EQ(search.found, (std::vector<MailClientSignature>{
                                {"Thunderbird", "rel@example.com", false, profile + "\\sig.txt"},
                                {"Thunderbird", "moved@example.com", false, profile + "\\sigs\\moved.txt"},
                                {"Thunderbird", "abs@example.com", false, appData + "\\kept.txt"},
                            }));
}
