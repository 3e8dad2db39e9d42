#pragma once
#include "base/Handles.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

// A fresh key of the real registry, HKEY_CURRENT_USER\Software\VarnquillTests\<test>, used as
// a store's root and deleted with everything under it at the end of the test.
class TestRegistryKey {
public:
    TestRegistryKey()
    {
        const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info();
        path_ = "Software\\VarnquillTests\\" + std::to_string(GetCurrentProcessId()) + "-" +
                test->test_suite_name() + "." + test->name();
        std::replace(path_.begin() + 24, path_.end(), '/', '-'); // parameterised names hold slashes
        HKEY key = nullptr;
        EXPECT_EQ(ERROR_SUCCESS, RegCreateKeyExA(HKEY_CURRENT_USER, path_.c_str(), 0, nullptr, 0,
                                                 KEY_ALL_ACCESS, nullptr, &key, nullptr));
        key_.Reset(key);
    }
    ~TestRegistryKey()
    {
        key_.Reset();
        // Nothing to do if cleaning up fails; the parent goes once no test uses it.
        RegDeleteTreeA(HKEY_CURRENT_USER, path_.c_str());
        RegDeleteKeyA(HKEY_CURRENT_USER, "Software\\VarnquillTests");
    }

    HKEY Get() const { return key_.Get(); }

    // A volatile subkey: the registry makes no lasting key under it, so a store rooted there
    // cannot create the keys it writes to.
    base::RegistryKey CreateVolatileChild() const
    {
        HKEY key = nullptr;
        EXPECT_EQ(ERROR_SUCCESS, RegCreateKeyExA(key_.Get(), "Volatile", 0, nullptr, REG_OPTION_VOLATILE,
                                                 KEY_ALL_ACCESS, nullptr, &key, nullptr));
        return base::RegistryKey(key);
    }

    // A subkey of its own, to serve as another root.
    base::RegistryKey CreateChild(const std::string& name) const
    {
        HKEY key = nullptr;
        EXPECT_EQ(ERROR_SUCCESS, RegCreateKeyExA(key_.Get(), name.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                                                 nullptr));
        return base::RegistryKey(key);
    }

    bool SubkeyExists(const std::string& subkey) const
    {
        HKEY key = nullptr;
        const bool opened = RegOpenKeyExA(key_.Get(), subkey.c_str(), 0, KEY_READ, &key) == ERROR_SUCCESS;
        const base::RegistryKey closing(opened ? key : nullptr);
        return opened;
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

    // A value as stored: type (REG_NONE when missing) and bytes.
    struct Raw {
        DWORD type = REG_NONE;
        std::string bytes;
    };
    Raw GetRaw(const std::string& subkey, const std::string& name) const
    {
        char data[512];
        DWORD size = sizeof data;
        Raw raw;
        if (RegGetValueA(key_.Get(), subkey.c_str(), name.c_str(), RRF_RT_ANY | RRF_NOEXPAND, &raw.type, data,
                         &size) != ERROR_SUCCESS)
            return {};
        raw.bytes.assign(data, size);
        return raw;
    }

private:
    std::string path_;
    base::RegistryKey key_;
};
