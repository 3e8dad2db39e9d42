#include "settings/SettingsPlaces.h"

#include "settings/SettingValues.h"
#include "settings/SettingsStore.h"
#include "settings/SideFiles.h"
#include "settings/StartupEntry.h"
#include "base/WholeFile.h"
#include "tests/common/StandardUser.h"

#include "FailureOf.h"
#include "tests/common/TestDirectory.h"
#include "TestRegistryKey.h"

#include <gtest/gtest.h>
#include <commctrl.h>

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

// ---- The store over the places: what the window and vqsig load and keep ----

TEST_F(SettingsPlacesOfAUser, StoreKeepsEveryValueInTheFormsOlderVersionsRead)
{
    SettingsStore store(SettingsPlaces(programFolder.Path(), Candidates()));
    EXPECT_EQ(store.LoadProfile(), SignatureProfile{}) << "a fresh machine's";
    EXPECT_EQ(store.LoadOptions(), ProgramOptions{});

    SignatureProfile profile;
    profile.signatureFile = "C:\\Mail\\sig.txt";
    profile.delimiter = false;
    profile.staticTextOn = true;
    profile.staticTextAbove = false;
    profile.staticText = "Kept\r\ntext";
    profile.databases = {"C:\\a.sigs", "D:\\b.sigs"};
    profile.order = SignatureOrder::Shuffle;
    profile.pasteHotKey = MAKEWORD('S', HOTKEYF_CONTROL | HOTKEYF_ALT);
    store.SaveSignatureFile(profile.signatureFile);
    store.SaveDelimiter(profile.delimiter);
    store.SaveStaticTextOn(profile.staticTextOn);
    store.SaveStaticTextAbove(profile.staticTextAbove);
    store.SaveStaticText(profile.staticText);
    store.SaveDatabaseList(profile.databases);
    store.SaveOrder(profile.order);
    store.SavePasteHotKey(profile.pasteHotKey);
    const ProgramOptions options{true, 25, true, true, true, "120", "-40"};
    store.SaveAutoChange(options.autoChange);
    store.SaveMinutes(options.minutes);
    store.SaveChangeBalloon(options.changeBalloon);
    store.SaveErrorBalloons(options.errorBalloons);
    store.SaveStartupEntry(options.startupEntry, InstalledPath);
    store.SaveWindowPlace(120, -40);
    OrderPlace place;
    place.lastTextHash = 42;
    EXPECT_EQ(store.KeepOrderPlace(place), std::nullopt);

    SettingsStore next(SettingsPlaces(programFolder.Path(), Candidates()));
    EXPECT_EQ(next.LoadProfile(), profile);
    EXPECT_EQ(next.LoadOptions(), options);
    EXPECT_EQ(next.KeptOrderPlace(), place);
    const std::string key = "Machine\\" + SettingsKeyPath;
    EXPECT_EQ(std::string("False", 6), root.GetRaw(key, "SigBreak").bytes);
    EXPECT_EQ(std::string("Below", 6), root.GetRaw(key, "StatPlace").bytes);
    EXPECT_EQ(std::string("Shuffle", 8), root.GetRaw(key, "Order").bytes);
    EXPECT_EQ(std::string("-40", 4), root.GetRaw(key, "Left").bytes);
    EXPECT_EQ(static_cast<DWORD>(REG_DWORD), root.GetRaw(key, "PasteHotKey").type);
    EXPECT_EQ("C:\\a.sigs\r\nD:\\b.sigs\r\n", programFolder.Read("sigs.list"));
    EXPECT_EQ("Kept\r\ntext", programFolder.Read("static.sig.qmz"));
    store.SaveStartupEntry(false, InstalledPath);
    EXPECT_FALSE(next.LoadOptions().startupEntry);
}

TEST_F(SettingsPlacesOfAUser, StoreReadsPastAFailedValueAndKeepsASideFileItCouldNotRead)
{
    const std::string key = "Machine\\" + SettingsKeyPath;
    const DWORD number = 7;
    root.SetRaw(key, "OEFile", REG_DWORD, &number, sizeof number); // written by another tool
    root.SetString(key, "SigBreak", "False");
    root.SetString(key, "Minutes", "many"); // no number: the default, as ever
    programFolder.Write("sigs.list", "C:\\kept.sigs\r\n");
    SettingsStore store(SettingsPlaces(programFolder.Path(), Candidates()));
    std::vector<std::string> failures;
    {
        const base::FileHandle held(CreateFileA((programFolder.Path() + "sigs.list").c_str(), GENERIC_READ, 0,
                                                nullptr, OPEN_EXISTING, 0, nullptr));
        ASSERT_TRUE(held);
        const SignatureProfile profile =
            store.LoadProfile([&](const std::exception& failure) { failures.push_back(failure.what()); });
        EXPECT_EQ(profile.signatureFile, "");
        EXPECT_FALSE(profile.delimiter) << "read after the failed one";
        EXPECT_TRUE(profile.databases.empty());
    }
    ASSERT_EQ(failures.size(), 2u);
    EXPECT_EQ(failures[0], "Invalid data type for 'OEFile'");
    EXPECT_EQ(failures[1].rfind("Cannot open file", 0), 0u) << failures[1];
    EXPECT_EQ(store.LoadOptions().minutes, DefaultMinutes);

    store.SaveDatabaseList({});
    EXPECT_EQ("C:\\kept.sigs\r\n", programFolder.Read("sigs.list")) << "the list the user had is still in it";
    EXPECT_EQ("Invalid data type for 'OEFile'", FailureOf<RegistryError>([&] { store.LoadProfile(); }))
        << "without a handler the first failure ends the load";
}

TEST_F(SettingsPlacesOfAUser, StoreOfAStandardUserReadsWhatTheMachineHoldsAndKeepsItsOwn)
{
    const std::string locked = standarduser::LockedProgramFolder();
    if (locked.empty())
        GTEST_SKIP() << "this build has no locked program folder";
    root.SetString("Machine\\" + SettingsKeyPath, "OEFile", "C:\\Mail\\machine.txt");
    root.SetString("Machine\\" + SettingsKeyPath, "Balloon", "True");
    const ReadOnlyKey lockedSettings(machine.Get(), SettingsKeyPath);

    SettingsStore store(SettingsPlaces(locked, Candidates()));
    SignatureProfile profile = store.LoadProfile();
    EXPECT_EQ(profile.signatureFile, "C:\\Mail\\machine.txt");
    EXPECT_TRUE(store.LoadOptions().changeBalloon);
    EXPECT_EQ(profile.databases, LoadList(SideFilePath(locked, DatabaseListFileName))) << "the list beside the program";
    store.SaveSignatureFile("C:\\Mail\\mine.txt");
    store.SaveDatabaseList(profile.databases);
    OrderPlace place;
    place.sequenceRecord = 3;
    EXPECT_EQ(store.KeepOrderPlace(place), std::nullopt);

    SettingsStore next(SettingsPlaces(locked, Candidates()));
    profile = next.LoadProfile();
    EXPECT_EQ(profile.signatureFile, "C:\\Mail\\mine.txt");
    EXPECT_EQ(std::string("C:\\Mail\\machine.txt", 20), root.GetRaw("Machine\\" + SettingsKeyPath, "OEFile").bytes);
    EXPECT_EQ(next.KeptOrderPlace(), place);
    EXPECT_EQ(next.OrderStatePath(), SideFilePath(UserFolder(), OrderStateFileName));
    EXPECT_EQ(base::ReadWholeFile(SideFilePath(UserFolder(), DatabaseListFileName)),
              base::ReadWholeFile(SideFilePath(locked, DatabaseListFileName)));
}

} // namespace
