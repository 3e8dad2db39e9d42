#pragma once
#include "base/Handles.h"

#include <windows.h>

#include <sddl.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <utility>

// What a standard user meets, made on purpose: the test prefix runs everyone as an
// administrator, so per-machine keys and the program's folder are writable unless a test
// takes that away.
namespace standarduser {

// For its lifetime, the key (created when missing) gives everyone only the access the
// SDDL string grants. Wine keeps this only while the prefix's server runs, and the owner may
// always change it back, which the destructor does, giving everyone full access again.
class KeyWithAccess {
public:
    KeyWithAccess(HKEY root, std::string path, const char* sddl) : root_(root), path_(std::move(path))
    {
        HKEY created = nullptr;
        EXPECT_EQ(ERROR_SUCCESS, RegCreateKeyExA(root_, path_.c_str(), 0, nullptr, 0, KEY_READ, nullptr, &created,
                                                 nullptr))
            << path_;
        const base::RegistryKey closing(created);
        SetAccess(sddl);
    }
    ~KeyWithAccess() { SetAccess("D:(A;OICI;KA;;;WD)"); }
    KeyWithAccess(const KeyWithAccess&) = delete;
    KeyWithAccess& operator=(const KeyWithAccess&) = delete;

private:
    void SetAccess(const char* sddl)
    {
        PSECURITY_DESCRIPTOR descriptor = nullptr;
        ASSERT_TRUE(
            ConvertStringSecurityDescriptorToSecurityDescriptorA(sddl, SDDL_REVISION_1, &descriptor, nullptr));
        HKEY key = nullptr;
        EXPECT_EQ(ERROR_SUCCESS, RegOpenKeyExA(root_, path_.c_str(), 0, WRITE_DAC, &key)) << path_;
        const base::RegistryKey closing(key);
        EXPECT_EQ(ERROR_SUCCESS, RegSetKeySecurity(key, DACL_SECURITY_INFORMATION, descriptor))
            << path_ << " " << sddl;
        LocalFree(descriptor);
    }

    HKEY root_;
    std::string path_;
};

// The key may be read but not written by anyone: opening or creating it for writing is
// refused for want of access.
class ReadOnlyKey : public KeyWithAccess {
public:
    ReadOnlyKey(HKEY root, std::string path) : KeyWithAccess(root, std::move(path), "D:(A;OICI;KR;;;WD)") {}
};

inline bool CanCreateFileIn(const std::string& folder)
{
    const std::string path = folder + "standard-user-check.tmp";
    const base::FileHandle file(
        CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_FLAG_DELETE_ON_CLOSE, nullptr));
    return static_cast<bool>(file);
}

// A program folder nobody may create files in, as a folder under Program Files is for a
// standard user, ending in a backslash. The test runner makes it before the tests and
// removes it after them (scripts/locked-folder.sh): it holds a copy of the program and a
// database list and static text left beside it. Empty where the build has none; a test
// skips then, and fails when the folder should be there but is missing or writable.
inline std::string CheckedLockedFolder(std::string folder)
{
    std::replace(folder.begin(), folder.end(), '/', '\\');
    const DWORD attributes = GetFileAttributesA(folder.c_str());
    EXPECT_TRUE(attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY))
        << folder << " is missing: run the test through ctest, which prepares it";
    EXPECT_FALSE(CanCreateFileIn(folder)) << folder << " is writable";
    return folder;
}

inline std::string LockedProgramFolder()
{
#ifdef VARNQUILL_LOCKED_FOLDER
    return CheckedLockedFolder(VARNQUILL_LOCKED_FOLDER);
#else
    return {};
#endif
}

// The same kind of folder as a fresh installation leaves it: the program and its starter
// collection, nothing else (locked-folder.sh lock-fresh).
inline std::string LockedFreshProgramFolder()
{
#ifdef VARNQUILL_LOCKED_FRESH_FOLDER
    return CheckedLockedFolder(VARNQUILL_LOCKED_FRESH_FOLDER);
#else
    return {};
#endif
}

} // namespace standarduser
