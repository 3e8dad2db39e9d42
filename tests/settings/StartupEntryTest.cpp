#include "settings/StartupEntry.h"

#include "settings/ProgramLocation.h"

#include "TestRegistryKey.h"

#include <gtest/gtest.h>

using namespace settings;

namespace {

const std::string RawRunKey = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";
const std::string InstalledPath = "C:\\Program Files\\Varnquill\\Varnquill.exe";

class StartupEntryInRealRegistry : public ::testing::Test {
protected:
    TestRegistryKey root;
    RegistryStore store{root.Get()};
};

TEST_F(StartupEntryInRealRegistry, EntryQuotesThePathSoWindowsStartsTheRightProgramMinimised)
{
    AddStartupEntry(store, "C:\\Old\\Varnquill.exe");
    AddStartupEntry(store, InstalledPath);

    const std::string command = "\"C:\\Program Files\\Varnquill\\Varnquill.exe\" /MIN";
    EXPECT_EQ(static_cast<DWORD>(REG_SZ), root.GetRaw(RawRunKey, "qmz Varnquill").type);
    EXPECT_EQ(command + '\0', root.GetRaw(RawRunKey, "qmz Varnquill").bytes);
    EXPECT_TRUE(StartupEntryPresent(store));

    const std::vector<std::string> words = base::SplitCommandLine(command);
    ASSERT_EQ(2u, words.size());
    EXPECT_EQ(InstalledPath, words[0]);
    EXPECT_TRUE(StartsMinimised({words[1]}));
}

TEST_F(StartupEntryInRealRegistry, PresentOnlyWithANonEmptyString)
{
    EXPECT_FALSE(StartupEntryPresent(store));
    root.SetString(RawRunKey, "qmz Varnquill", "");
    EXPECT_FALSE(StartupEntryPresent(store));
    root.SetString(RawRunKey, "qmz Varnquill", "Varnquill.exe");
    EXPECT_TRUE(StartupEntryPresent(store));
    const DWORD number = 1;
    root.SetRaw(RawRunKey, "qmz Varnquill", REG_DWORD, &number, sizeof number);
    EXPECT_FALSE(StartupEntryPresent(store));
}

TEST_F(StartupEntryInRealRegistry, RemovingDeletesOnlyOurValueAndCreatesNoRunKey)
{
    RemoveStartupEntry(store);
    EXPECT_FALSE(root.SubkeyExists("SOFTWARE"));

    root.SetString(RawRunKey, "Other Program", "other.exe");
    AddStartupEntry(store, InstalledPath);
    RemoveStartupEntry(store);
    EXPECT_FALSE(StartupEntryPresent(store));
    EXPECT_EQ("other.exe", store.ReadString(RunKey, "Other Program", ""));
}

TEST_F(StartupEntryInRealRegistry, UnwritableRegistryReportsNothing)
{
    const base::RegistryKey volatileRoot = root.CreateVolatileChild();
    RegistryStore unwritable(volatileRoot.Get());
    EXPECT_NO_THROW(AddStartupEntry(unwritable, InstalledPath));
    EXPECT_FALSE(StartupEntryPresent(unwritable));
    EXPECT_NO_THROW(RemoveStartupEntry(unwritable));
}

} // namespace
