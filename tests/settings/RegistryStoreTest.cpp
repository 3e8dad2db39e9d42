#include "settings/RegistryStore.h"

#include "FailureOf.h"
#include "TestRegistryKey.h"

#include <gtest/gtest.h>

#include <climits>

using settings::RegistryError;
using settings::RegistryStore;

namespace {

const std::string Key = "\\Software\\qmz\\Varnquill\\";
const std::string RawKey = "Software\\qmz\\Varnquill";

class RealRegistryStore : public ::testing::Test {
protected:
    TestRegistryKey root;
    RegistryStore store{root.Get()};
};

TEST_F(RealRegistryStore, MissingKeyOrValueGivesTheDefaultAndCreatesNothing)
{
    EXPECT_EQ("fallback", store.ReadString(Key, "OEFile", "fallback"));
    EXPECT_EQ(10, store.ReadInteger(Key, "Minutes", 10));
    EXPECT_FALSE(root.SubkeyExists("Software"));

    root.SetString(RawKey, "Other", "x");
    EXPECT_EQ("fallback", store.ReadString(Key, "OEFile", "fallback"));
}

TEST_F(RealRegistryStore, ExistingEmptyValueReadsEmptyNotDefault)
{
    root.SetRaw(RawKey, "WithNul", REG_SZ, "", 1);
    root.SetRaw(RawKey, "NoData", REG_SZ, "", 0);
    root.SetRaw(RawKey, "NoNul", REG_SZ, "abc", 3); // as some tools store strings
    EXPECT_EQ("", store.ReadString(Key, "WithNul", "fallback"));
    EXPECT_EQ("", store.ReadString(Key, "NoData", "fallback"));
    EXPECT_EQ("abc", store.ReadString(Key, "NoNul", ""));
}

TEST_F(RealRegistryStore, WritesCreateTheKeyAndStorePlainStrings)
{
    const std::string longText(100000, 'q'); // beyond the first read's buffer
    store.WriteString(Key, "OEFile", "C:\\Mail\\sig.txt");
    store.WriteInteger(Key, "Minutes", 25);
    store.WriteInteger(Key, "Lowest", INT_MIN);
    store.WriteString(Key, "Long", longText);
    store.WriteString(Key, "Blank", "");

    EXPECT_EQ(static_cast<DWORD>(REG_SZ), root.GetRaw(RawKey, "OEFile").type);
    EXPECT_EQ(std::string("C:\\Mail\\sig.txt", 16), root.GetRaw(RawKey, "OEFile").bytes);
    EXPECT_EQ(static_cast<DWORD>(REG_SZ), root.GetRaw(RawKey, "Minutes").type);
    EXPECT_EQ(std::string("25", 3), root.GetRaw(RawKey, "Minutes").bytes);
    EXPECT_EQ(INT_MIN, store.ReadInteger(Key, "Lowest", 0));
    EXPECT_EQ(longText, store.ReadString(Key, "Long", ""));
    EXPECT_EQ("", store.ReadString(Key, "Blank", "fallback"));

    // Without the leading backslash the path is taken from the root all the same.
    store.WriteString("Software\\qmz\\Varnquill", "OEFile", "relative");
    EXPECT_EQ("relative", store.ReadString(Key, "OEFile", ""));
}

TEST_F(RealRegistryStore, ValuesOfOtherTypesFailWithInvalidDataType)
{
    const DWORD number = 25;
    const unsigned char binary[] = {1, 2, 3};
    root.SetRaw(RawKey, "Minutes", REG_DWORD, &number, sizeof number);
    root.SetRaw(RawKey, "Balloon", REG_BINARY, binary, sizeof binary);

    EXPECT_EQ("Invalid data type for 'Minutes'",
              FailureOf<RegistryError>([&] { store.ReadInteger(Key, "Minutes", 10); }));
    EXPECT_EQ("Invalid data type for 'Balloon'",
              FailureOf<RegistryError>([&] { store.ReadString(Key, "Balloon", ""); }));
}

TEST_F(RealRegistryStore, WriteFailuresNameTheKeyAsPassedOrTheValue)
{
    const base::RegistryKey volatileRoot = root.CreateVolatileChild();
    RegistryStore unwritable(volatileRoot.Get());
    EXPECT_EQ("Failed to create key \\Software\\qmz\\Varnquill\\",
              FailureOf<RegistryError>([&] { unwritable.WriteString(Key, "OEFile", "x"); }));
    EXPECT_EQ("Failed to create key Software\\qmz\\",
              FailureOf<RegistryError>([&] { unwritable.WriteInteger("Software\\qmz\\", "Minutes", 1); }));

    const std::string overlongName(20000, 'n'); // the registry refuses names this long
    EXPECT_EQ("Failed to set data for '" + overlongName + "'",
              FailureOf<RegistryError>([&] { store.WriteString(Key, overlongName, "x"); }));
}

TEST_F(RealRegistryStore, DeleteRemovesOneValueAndIsQuietWhenThereIsNone)
{
    store.DeleteValue(Key, "Top");
    EXPECT_FALSE(root.SubkeyExists("Software"));

    store.WriteString(Key, "Top", "106");
    store.WriteString(Key, "Left", "193");
    store.DeleteValue(Key, "Top");
    store.DeleteValue(Key, "Top");
    EXPECT_EQ(static_cast<DWORD>(REG_NONE), root.GetRaw(RawKey, "Top").type);
    EXPECT_EQ("193", store.ReadString(Key, "Left", ""));
}

// A run of reads with the keys held open reads what each read alone would, also after the
// store itself made a key that was missing, and values others write meanwhile.
TEST_F(RealRegistryStore, ReadsWithTheKeysHeldOpenReadAsAlways)
{
    const RegistryStore::KeysHeldOpen held(store);
    EXPECT_EQ("fallback", store.ReadString(Key, "OEFile", "fallback"));
    store.WriteString(Key, "OEFile", "C:\\sig.txt");
    EXPECT_EQ("C:\\sig.txt", store.ReadString(Key, "OEFile", "fallback"));
    root.SetString(RawKey, "Minutes", "7");
    EXPECT_EQ(7, store.ReadInteger(Key, "Minutes", 10));
    store.DeleteValue(Key, "OEFile");
    EXPECT_EQ("fallback", store.ReadString(Key, "OEFile", "fallback"));
}

} // namespace
