#include "settings/RegistryStore.h"

#include "TestRegistryKey.h"

#include <gtest/gtest.h>

#include <climits>

using settings::RegistryError;
using settings::RegistryStore;

namespace {

const std::string Key = "\\Software\\qmz\\Varnquill\\";
const std::string RawKey = "Software\\qmz\\Varnquill";

// The message of the RegistryError the call throws, or "(no failure)".
template <typename Call>
std::string FailureOf(Call call)
{
    try {
        call();
    } catch (const RegistryError& failure) {
        return failure.what();
    }
    return "(no failure)";
}

class RealRegistryStore : public ::testing::Test {
protected:
    TestRegistryKey root;
    RegistryStore store{root.Get()};
};

TEST_F(RealRegistryStore, MissingKeyGivesDefaultsAndIsNotCreated)
{
    EXPECT_EQ("fallback", store.ReadString(Key, "OEFile", "fallback"));
    EXPECT_EQ(10, store.ReadInteger(Key, "Minutes", 10));
    EXPECT_FALSE(root.SubkeyExists("Software"));
}

TEST_F(RealRegistryStore, MissingValueGivesDefault)
{
    root.SetString(RawKey, "Other", "x");
    EXPECT_EQ("fallback", store.ReadString(Key, "OEFile", "fallback"));
    EXPECT_EQ(-5, store.ReadInteger(Key, "Minutes", -5));
}

TEST_F(RealRegistryStore, ExistingEmptyValueReadsEmptyNotDefault)
{
    root.SetRaw(RawKey, "WithNul", REG_SZ, "", 1);
    root.SetRaw(RawKey, "NoData", REG_SZ, "", 0);
    EXPECT_EQ("", store.ReadString(Key, "WithNul", "fallback"));
    EXPECT_EQ("", store.ReadString(Key, "NoData", "fallback"));
    EXPECT_EQ(7, store.ReadInteger(Key, "WithNul", 7)); // an empty text is no integer
}

TEST_F(RealRegistryStore, WriteCreatesTheKeyAndStoresAPlainString)
{
    store.WriteString(Key, "OEFile", "C:\\Mail\\sig.txt");
    store.WriteInteger(Key, "Minutes", 25);

    const TestRegistryKey::Raw path = root.GetRaw(RawKey, "OEFile");
    EXPECT_EQ(static_cast<DWORD>(REG_SZ), path.type);
    EXPECT_EQ(std::string("C:\\Mail\\sig.txt", 16), path.bytes); // with its terminating NUL
    const TestRegistryKey::Raw minutes = root.GetRaw(RawKey, "Minutes");
    EXPECT_EQ(static_cast<DWORD>(REG_SZ), minutes.type);
    EXPECT_EQ(std::string("25", 3), minutes.bytes);
}

TEST_F(RealRegistryStore, ValuesReadBackAsWritten)
{
    const std::string longText(100000, 'q'); // beyond the first read's buffer
    store.WriteString(Key, "Long", longText);
    store.WriteString(Key, "Blank", "");
    store.WriteInteger(Key, "Lowest", INT_MIN);
    store.WriteInteger(Key, "Negative", -193);

    EXPECT_EQ(longText, store.ReadString(Key, "Long", ""));
    EXPECT_EQ("", store.ReadString(Key, "Blank", "fallback"));
    EXPECT_EQ(INT_MIN, store.ReadInteger(Key, "Lowest", 0));
    EXPECT_EQ(-193, store.ReadInteger(Key, "Negative", 0));
}

TEST_F(RealRegistryStore, OverwritingReplacesTheValue)
{
    store.WriteString(Key, "StatPlace", "Above");
    store.WriteString(Key, "StatPlace", "Below");
    EXPECT_EQ("Below", store.ReadString(Key, "StatPlace", ""));
}

TEST_F(RealRegistryStore, StringStoredWithoutItsNulReadsWhole)
{
    root.SetRaw(RawKey, "Bare", REG_SZ, "abc", 3);
    EXPECT_EQ("abc", store.ReadString(Key, "Bare", ""));
}

TEST_F(RealRegistryStore, IntegerTextsThatAreNoIntegersGiveTheDefault)
{
    root.SetString(RawKey, "Words", "ten");
    root.SetString(RawKey, "Trailing", "10 ");
    root.SetString(RawKey, "Hex", "$1F");
    EXPECT_EQ(10, store.ReadInteger(Key, "Words", 10));
    EXPECT_EQ(10, store.ReadInteger(Key, "Trailing", 10));
    EXPECT_EQ(31, store.ReadInteger(Key, "Hex", 10));
}

TEST_F(RealRegistryStore, ValuesOfOtherTypesFailWithInvalidDataType)
{
    const DWORD number = 25;
    const unsigned char binary[] = {1, 2, 3};
    root.SetRaw(RawKey, "Minutes", REG_DWORD, &number, sizeof number);
    root.SetRaw(RawKey, "Balloon", REG_BINARY, binary, sizeof binary);
    root.SetRaw(RawKey, "OEFile", REG_MULTI_SZ, "a\0b\0", 5);

    EXPECT_EQ("Invalid data type for 'Minutes'", FailureOf([&] { store.ReadString(Key, "Minutes", ""); }));
    EXPECT_EQ("Invalid data type for 'Minutes'", FailureOf([&] { store.ReadInteger(Key, "Minutes", 10); }));
    EXPECT_EQ("Invalid data type for 'Balloon'", FailureOf([&] { store.ReadString(Key, "Balloon", ""); }));
    EXPECT_EQ("Invalid data type for 'OEFile'", FailureOf([&] { store.ReadString(Key, "OEFile", ""); }));
}

TEST_F(RealRegistryStore, KeyThatCannotBeCreatedFailsWithThePathAsPassed)
{
    const toolkit::RegistryKey volatileRoot = root.CreateVolatileChild();
    RegistryStore unwritableStore(volatileRoot.Get());

    EXPECT_EQ("Failed to create key \\Software\\qmz\\Varnquill\\",
              FailureOf([&] { unwritableStore.WriteString(Key, "OEFile", "x"); }));
    EXPECT_EQ("Failed to create key Software\\qmz\\",
              FailureOf([&] { unwritableStore.WriteInteger("Software\\qmz\\", "Minutes", 1); }));
    EXPECT_FALSE(root.SubkeyExists("Volatile\\Software"));
}

TEST_F(RealRegistryStore, ValueThatCannotBeSetFailsWithItsName)
{
    const std::string overlongName(20000, 'n'); // the registry refuses names this long
    EXPECT_EQ("Failed to set data for '" + overlongName + "'",
              FailureOf([&] { store.WriteString(Key, overlongName, "x"); }));
}

TEST_F(RealRegistryStore, PathWithoutLeadingBackslashIsAlsoFromTheRoot)
{
    store.WriteString("Software\\qmz\\Varnquill\\", "OEFile", "relative");
    EXPECT_EQ("relative", store.ReadString(Key, "OEFile", ""));
    store.WriteString(Key, "OEFile", "absolute");
    EXPECT_EQ("absolute", store.ReadString("Software\\qmz\\Varnquill", "OEFile", ""));
}

TEST_F(RealRegistryStore, DeleteRemovesOnlyThatValue)
{
    store.WriteString(Key, "Top", "106");
    store.WriteString(Key, "Left", "193");
    store.DeleteValue(Key, "Top");
    EXPECT_EQ(static_cast<DWORD>(REG_NONE), root.GetRaw(RawKey, "Top").type);
    EXPECT_EQ("193", store.ReadString(Key, "Left", ""));
}

TEST_F(RealRegistryStore, DeleteOfAMissingValueOrKeyIsQuietAndCreatesNothing)
{
    store.DeleteValue(Key, "Top");
    EXPECT_FALSE(root.SubkeyExists("Software"));
    store.WriteString(Key, "Left", "193");
    store.DeleteValue(Key, "Top");
    EXPECT_EQ("193", store.ReadString(Key, "Left", ""));
}

} // namespace
