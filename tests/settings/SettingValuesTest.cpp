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

} // namespace
