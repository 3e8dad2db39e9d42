#include "settings/SettingsPlaces.h"

#include "settings/SettingValues.h"
#include "settings/SideFiles.h"
#include "settings/StartupEntry.h"
#include "base/WholeFile.h"
#include "tests/common/StandardUser.h"

#include "FailureOf.h"
#include "tests/common/TestDirectory.h"
#include "TestRegistryKey.h"

#include <gtest/gtest.h>

using namespace settings;
using standarduser::ReadOnlyKey;

namespace {

const std::string SettingsKeyPath = "Software\\qmz\\Varnquill";
const std::string RunKeyPath = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";
const std::string InstalledPath = "C:\\Program Files\\Varnquill\\Varnquill.exe";

// Two roots of the real registry stand for the machine's and the user's; two folders for
// the program's and the user's application data.
class SettingsPlacesOfAUser : public ::testing::Test {
protected:
    PlaceCandidates Candidates() const { return {machine.Get(), user.Get(), UserFolder()}; }
    // Not made yet: the first save makes it.
    std::string UserFolder() const { return appData.Path() + "Varnquill\\"; }

    TestRegistryKey root;
    base::RegistryKey machine = root.CreateChild("Machine");
    base::RegistryKey user = root.CreateChild("User");
    TestDirectory programFolder{"-program"};
    TestDirectory appData{"-appdata"};
};

TEST_F(SettingsPlacesOfAUser, WritableMachinePlacesAreUsedAsAlways)
{
    const SettingsPlaces places(programFolder.Path(), Candidates());
    EXPECT_FALSE(places.SettingsPerUser());
    EXPECT_EQ(places.SettingsRoot(), machine.Get());
    EXPECT_EQ(places.SettingsReadThroughRoot(), nullptr);
    EXPECT_FALSE(places.StartupPerUser());
    EXPECT_FALSE(places.SideFilesPerUser());
    EXPECT_EQ(places.SideFileToRead(DatabaseListFileName), SideFilePath(programFolder.Path(), DatabaseListFileName));
    EXPECT_EQ(places.SideFileToSave(StaticTextFileName), SideFilePath(programFolder.Path(), StaticTextFileName));
    // Finding out left nothing behind.
    EXPECT_TRUE(programFolder.Names().empty());
    EXPECT_TRUE(appData.Names().empty());

    RegistryStore store = places.SettingsStore();
    WriteMinutes(store, 25);
    AddStartupEntry(places, InstalledPath);
    EXPECT_EQ(std::string("25", 3), root.GetRaw("Machine\\" + SettingsKeyPath, "Minutes").bytes);
    EXPECT_EQ(StartupCommand(InstalledPath) + '\0', root.GetRaw("Machine\\" + RunKeyPath, StartupValue).bytes);
    EXPECT_FALSE(root.SubkeyExists("User\\Software"));
}

// An administrator may let users write the machine's keys without giving them full control
// (no right to delete the key or change who may use it): the keys are then still theirs.
TEST_F(SettingsPlacesOfAUser, MachineKeysTheUserMayWriteWithoutFullControlStayInUse)
{
    constexpr const char* ReadSetCreate = "D:(A;OICI;0x2001f;;;WD)"; // KEY_READ | KEY_SET_VALUE | KEY_CREATE_SUB_KEY
    const standarduser::KeyWithAccess settingsKey(machine.Get(), SettingsKeyPath, ReadSetCreate);
    const standarduser::KeyWithAccess runKey(machine.Get(), RunKeyPath, ReadSetCreate);
    const SettingsPlaces places(programFolder.Path(), Candidates());
    EXPECT_FALSE(places.SettingsPerUser());
    EXPECT_FALSE(places.StartupPerUser());
    RegistryStore store = places.SettingsStore();
    WriteMinutes(store, 25);
    AddStartupEntry(places, InstalledPath);
    EXPECT_EQ(std::string("25", 3), root.GetRaw("Machine\\" + SettingsKeyPath, "Minutes").bytes);
    EXPECT_TRUE(StartupEntryPresent(places));
    RemoveStartupEntry(places);
    EXPECT_FALSE(StartupEntryPresent(places));
    EXPECT_FALSE(root.SubkeyExists("User\\Software"));
}

TEST_F(SettingsPlacesOfAUser, ReadOnlyMachineKeysSendWritesToTheUserAndStillSupplyTheirValues)
{
    root.SetString("Machine\\" + SettingsKeyPath, "Minutes", "5");
    root.SetString("Machine\\" + SettingsKeyPath, "OEFile", "C:\\Mail\\machine.txt");
    root.SetString("Machine\\" + RunKeyPath, StartupValue, StartupCommand(InstalledPath));
    const ReadOnlyKey lockedSettings(machine.Get(), SettingsKeyPath);
    const ReadOnlyKey lockedRun(machine.Get(), RunKeyPath);

    const SettingsPlaces places(programFolder.Path(), Candidates());
    ASSERT_TRUE(places.SettingsPerUser());
    EXPECT_TRUE(places.StartupPerUser());
    RegistryStore store = places.SettingsStore();
    EXPECT_EQ(5, ReadMinutes(store));
    EXPECT_NO_THROW(WriteMinutes(store, 7));
    EXPECT_EQ(7, ReadMinutes(store));
    EXPECT_EQ("C:\\Mail\\machine.txt", ReadSignatureFilePath(store));
    EXPECT_EQ(std::string("7", 2), root.GetRaw("User\\" + SettingsKeyPath, "Minutes").bytes);
    EXPECT_EQ(std::string("5", 2), root.GetRaw("Machine\\" + SettingsKeyPath, "Minutes").bytes);

    // The machine's entry starts this very program already: a second would start it twice.
    EXPECT_TRUE(StartupEntryPresent(places));
    AddStartupEntry(places, InstalledPath);
    EXPECT_EQ(static_cast<DWORD>(REG_NONE), root.GetRaw("User\\" + RunKeyPath, StartupValue).type);
    const std::string movedPath = "D:\\Tools\\Varnquill.exe";
    AddStartupEntry(places, movedPath);
    EXPECT_EQ(StartupCommand(movedPath) + '\0', root.GetRaw("User\\" + RunKeyPath, StartupValue).bytes);
    RemoveStartupEntry(places);
    EXPECT_EQ(static_cast<DWORD>(REG_NONE), root.GetRaw("User\\" + RunKeyPath, StartupValue).type);
    EXPECT_TRUE(StartupEntryPresent(places)) << "the machine's entry is not the user's to remove";
}

TEST_F(SettingsPlacesOfAUser, OtherRegistryFailuresKeepTheMachineRootAndItsFailures)
{
    const base::RegistryKey volatileRoot = root.CreateVolatileChild();
    PlaceCandidates candidates = Candidates();
    candidates.machineRoot = volatileRoot.Get();

    const SettingsPlaces places(programFolder.Path(), candidates);
    EXPECT_FALSE(places.SettingsPerUser());
    EXPECT_FALSE(places.StartupPerUser());
    RegistryStore store = places.SettingsStore();
    EXPECT_EQ("Failed to create key \\Software\\qmz\\Varnquill\\",
              FailureOf<RegistryError>([&] { WriteMinutes(store, 1); }));
}

TEST_F(SettingsPlacesOfAUser, UnwritableProgramFolderKeepsSideFilesPerUserAfterReadingTheOnesBesideIt)
{
    const std::string locked = standarduser::LockedProgramFolder();
    if (locked.empty())
        GTEST_SKIP() << "this build has no locked program folder";

    const SettingsPlaces places(locked, Candidates());
    ASSERT_TRUE(places.SideFilesPerUser());
    EXPECT_EQ(places.SideFileFolder(), UserFolder());
    const std::string listBeside = SideFilePath(locked, DatabaseListFileName);
    ASSERT_EQ(places.SideFileToRead(DatabaseListFileName), listBeside);
    const std::vector<std::string> list = LoadList(listBeside);
    ASSERT_FALSE(list.empty());

    const std::string saved = places.SideFileToSave(DatabaseListFileName);
    EXPECT_EQ(saved, SideFilePath(UserFolder(), DatabaseListFileName));
    SaveList(saved, list);
    EXPECT_EQ(places.SideFileToRead(DatabaseListFileName), saved);
    EXPECT_EQ(base::ReadWholeFile(listBeside), base::ReadWholeFile(saved));
    // Not saved by the user yet: still the one beside the program.
    EXPECT_EQ(places.SideFileToRead(StaticTextFileName), SideFilePath(locked, StaticTextFileName));
}

} // namespace
