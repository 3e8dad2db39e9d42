#include "settings/KeptEncodings.h"
#include "settings/SettingValues.h"

#include "TestRegistryKey.h"

#include <gtest/gtest.h>

using namespace settings;

namespace {

const std::string RawKey = "Software\\qmz\\Varnquill";

class SettingValuesInRealRegistry : public ::testing::Test {
protected:
    TestRegistryKey root;
    RegistryStore store{root.Get()};
};

TEST_F(SettingValuesInRealRegistry, FreshMachineGivesTheDesignedDefaults)
{
    EXPECT_EQ(10, ReadMinutes(store));
    EXPECT_EQ("", ReadSignatureFilePath(store));
    for (const char* name : {AutoChangeValue, BalloonValue, ErrorValue, StaticValue})
        EXPECT_FALSE(ReadSwitch(store, name)) << name;
    EXPECT_TRUE(ReadSigBreak(store));
    EXPECT_TRUE(ReadStaticAbove(store));
    EXPECT_EQ("Random", ReadOrder(store));
}

// How one stored string sets the plain switches, the delimiter switch and the placement.
struct StoredSwitch {
    const char* stored;
    bool switchOn;
    bool sigBreakOn;
    bool placedAbove;
};

class StoredSwitchStrings : public SettingValuesInRealRegistry,
                            public ::testing::WithParamInterface<StoredSwitch> {};

TEST_P(StoredSwitchStrings, OnlyTheExactWordsCount)
{
    const StoredSwitch row = GetParam();
    for (const char* name : {AutoChangeValue, BalloonValue, ErrorValue, StaticValue, SigBreakValue, StatPlaceValue})
        root.SetString(RawKey, name, row.stored);

    for (const char* name : {AutoChangeValue, BalloonValue, ErrorValue, StaticValue})
        EXPECT_EQ(row.switchOn, ReadSwitch(store, name)) << name;
    EXPECT_EQ(row.sigBreakOn, ReadSigBreak(store));
    EXPECT_EQ(row.placedAbove, ReadStaticAbove(store));
}

INSTANTIATE_TEST_SUITE_P(Rows, StoredSwitchStrings,
    ::testing::Values(
        //           stored    switch sigbreak above
        StoredSwitch{"True",   true,  true,  false},
        StoredSwitch{"False",  false, false, false},
        StoredSwitch{"true",   false, true,  false},
        StoredSwitch{"false",  false, true,  false},
        StoredSwitch{"True ",  false, true,  false},
        StoredSwitch{"",       false, true,  false},
        StoredSwitch{"Above",  false, true,  true},
        StoredSwitch{"above",  false, true,  false},
        StoredSwitch{"Below",  false, true,  false}));

TEST_F(SettingValuesInRealRegistry, WritesStoreTheExactStringForms)
{
    WriteSwitch(store, BalloonValue, true);
    WriteSwitch(store, SigBreakValue, false);
    WriteStaticPlace(store, false);
    WriteMinutes(store, 70000);
    WriteWindowPosition(store, 106, -193);
    WriteOrder(store, "Shuffle");

    EXPECT_EQ("True", store.ReadString(SettingsKey, BalloonValue, ""));
    EXPECT_EQ("False", store.ReadString(SettingsKey, SigBreakValue, ""));
    EXPECT_EQ("Below", store.ReadString(SettingsKey, StatPlaceValue, ""));
    EXPECT_EQ("70000", store.ReadString(SettingsKey, MinutesValue, ""));
    EXPECT_EQ("106", store.ReadString(SettingsKey, TopValue, ""));
    EXPECT_EQ("-193", store.ReadString(SettingsKey, LeftValue, ""));
    EXPECT_EQ("Shuffle", ReadOrder(store));

    WriteStaticPlace(store, true);
    EXPECT_EQ("Above", store.ReadString(SettingsKey, StatPlaceValue, ""));
}

TEST_F(SettingValuesInRealRegistry, MinutesThatAreNoIntegerFallBackToTen)
{
    for (const char* stored : {"", " 10 ", "12abc", "99999999999"}) {
        root.SetString(RawKey, MinutesValue, stored);
        EXPECT_EQ(10, ReadMinutes(store)) << '"' << stored << '"';
    }
    root.SetString(RawKey, MinutesValue, " $1F");
    EXPECT_EQ(31, ReadMinutes(store));
}

// The order is the user's choice and fails to read as every setting does.
TEST_F(SettingValuesInRealRegistry, AnOrderOfAnotherTypeFailsToRead)
{
    const DWORD number = 7;
    ASSERT_EQ(ERROR_SUCCESS, RegSetKeyValueA(root.Get(), RawKey.c_str(), OrderValue, REG_DWORD, &number, sizeof number));
    EXPECT_THROW(ReadOrder(store), RegistryError);
}

// The encodings of the 64 files written last are kept, each a plain string under its path as
// an earlier version reads it. Writing one more drops the one written least recently: first
// what an earlier version left, then this one's oldest; a file written again is the newest,
// however its letter case is spelt.
TEST_F(SettingValuesInRealRegistry, KeepsTheEncodingsOfTheFilesWrittenLast)
{
    const std::string key = RawKey + "\\Encodings";
    root.SetString(key, "sig.txt", "UTF-8"); // an earlier version's, by the path as typed
    const auto path = [](std::size_t i) { return "C:\\Mail\\" + std::to_string(i) + ".txt"; };
    for (std::size_t i = 0; i < KeptEncodingsAtMost; ++i)
        WriteKeptEncoding(store, path(i), TextFileEncoding::Utf8);
    EXPECT_EQ(ReadKeptEncoding(store, "sig.txt"), std::nullopt);
    WriteKeptEncoding(store, "c:\\MAIL\\0.TXT", TextFileEncoding::Utf16LeWithMark);
    WriteKeptEncoding(store, "C:\\Mail\\new.txt", TextFileEncoding::Ansi);
    EXPECT_EQ(ReadKeptEncoding(store, path(0)), TextFileEncoding::Utf16LeWithMark);
    EXPECT_EQ(ReadKeptEncoding(store, path(1)), std::nullopt);
    EXPECT_EQ(ReadKeptEncoding(store, path(2)), TextFileEncoding::Utf8);
    EXPECT_EQ(ReadKeptEncoding(store, "C:\\Mail\\new.txt"), TextFileEncoding::Ansi);
    EXPECT_EQ(store.ValueNames(EncodingsKey).size(), KeptEncodingsAtMost + 1) << "and the order";
    char data[16] = {};
    DWORD size = sizeof data, type = REG_NONE;
    ASSERT_EQ(ERROR_SUCCESS, RegGetValueA(root.Get(), key.c_str(), path(0).c_str(), RRF_RT_ANY, &type, data, &size));
    EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
    EXPECT_STREQ(data, "UTF-16LE");
}

} // namespace
