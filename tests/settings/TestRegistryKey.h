#pragma once
#include "toolkit/Handles.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <string>

// A fresh key of the real registry under HKEY_CURRENT_USER\Software\VarnquillTests, used as a
// store's root and deleted with everything under it at the end of the test.
class TestRegistryKey {
public:
    TestRegistryKey()
    {
        const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info();
        path_ = "Software\\VarnquillTests\\" + std::to_string(GetCurrentProcessId()) + "-" +
                test->test_suite_name() + "." + test->name();
        for (char& c : path_) {
            if (c == '/')
                c = '-'; // parameterised test names
        }
        RegDeleteTreeA(HKEY_CURRENT_USER, path_.c_str()); // left over from a killed run, if any
        HKEY key = nullptr;
        EXPECT_EQ(ERROR_SUCCESS, RegCreateKeyExA(HKEY_CURRENT_USER, path_.c_str(), 0, nullptr, 0,
                                                 KEY_ALL_ACCESS, nullptr, &key, nullptr));
        key_.Reset(key);
    }
    ~TestRegistryKey()
    {
        key_.Reset();
        // Nothing to do if cleaning up fails; the parent goes only once no test uses it.
        RegDeleteTreeA(HKEY_CURRENT_USER, path_.c_str());
        RegDeleteKeyA(HKEY_CURRENT_USER, "Software\\VarnquillTests");
    }
    TestRegistryKey(const TestRegistryKey&) = delete;
    TestRegistryKey& operator=(const TestRegistryKey&) = delete;

    HKEY Get() const { return key_.Get(); }

    // A volatile subkey: the registry creates no lasting key under it, so a store rooted
    // there cannot create the keys it writes to.
    toolkit::RegistryKey CreateVolatileChild() const
    {
        HKEY key = nullptr;
        EXPECT_EQ(ERROR_SUCCESS, RegCreateKeyExA(key_.Get(), "Volatile", 0, nullptr, REG_OPTION_VOLATILE,
                                                 KEY_ALL_ACCESS, nullptr, &key, nullptr));
        return toolkit::RegistryKey(key);
    }

    bool SubkeyExists(const std::string& subkey) const
    {
        HKEY key = nullptr;
        if (RegOpenKeyExA(key_.Get(), subkey.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
            return false;
        RegCloseKey(key);
        return true;
    }

    // Stores raw data as another tool would, creating the subkey as needed.
    void SetRaw(const std::string& subkey, const std::string& name, DWORD type, const void* data, DWORD size)
    {
        ASSERT_EQ(ERROR_SUCCESS, RegSetKeyValueA(key_.Get(), subkey.c_str(), name.c_str(), type, data, size));
    }
    void SetString(const std::string& subkey, const std::string& name, const std::string& text)
    {
        SetRaw(subkey, name, REG_SZ, text.c_str(), static_cast<DWORD>(text.size() + 1));
    }

    // The value as it is stored: its type and bytes. Type REG_NONE when it is missing.
    struct Raw {
        DWORD type = REG_NONE;
        std::string bytes;
    };
    Raw GetRaw(const std::string& subkey, const std::string& name) const
    {
        Raw raw;
        DWORD size = 0;
        if (RegGetValueA(key_.Get(), subkey.c_str(), name.c_str(), RRF_RT_ANY | RRF_NOEXPAND, &raw.type,
                         nullptr, &size) != ERROR_SUCCESS)
            return {};
        raw.bytes.resize(size);
        EXPECT_EQ(ERROR_SUCCESS, RegGetValueA(key_.Get(), subkey.c_str(), name.c_str(), RRF_RT_ANY | RRF_NOEXPAND,
                                              &raw.type, raw.bytes.data(), &size));
        raw.bytes.resize(size);
        return raw;
    }

private:
    std::string path_;
    toolkit::RegistryKey key_;
};
