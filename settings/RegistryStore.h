#pragma once
#include "base/Handles.h"

#include <windows.h>

#include <stdexcept>
#include <optional>
#include <string>
#include <vector>

namespace settings {

// A registry read or write that failed, with the message the user sees:
// "Invalid data type for '<name>'", "Failed to get data for '<name>'",
// "Failed to create key <key>" or "Failed to set data for '<name>'".
class RegistryError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// String and integer values under one root key (the one SettingsPlaces chose in the program).
//
// Key paths: a leading backslash means "from the root"; the rest, a trailing backslash
// included, goes to the registry unchanged. Every call opens the key it needs and closes it
// again, so no call leaves a key open or changes what a later call sees as its starting
// point. Reads ask for read access only, so a key the user may read but not change still
// gives its values; writes and deletes ask only for the rights they use (query, set value,
// create subkey), so a key the user may write but not administer is written.
//
// Reads never create a key. A missing or unopenable key and a missing value give the
// default; an existing empty value gives the empty string. A value of another type than a
// string fails with "Invalid data type for '<name>'". A store with a read-through root looks
// there for a value its own root does not hold, before falling back to the default; it never
// writes there.
//
// Writes create the key when it is missing (failing with "Failed to create key <key>", the
// path as passed), open it and store a plain string (REG_SZ) value (failing with
// "Failed to set data for '<name>'"). A key that exists but cannot be opened for the write
// makes the write do nothing.
class RegistryStore {
public:
    // The root is not owned: a predefined key, or a key the caller keeps open for as long
    // as the store lives.
    explicit RegistryStore(HKEY root, HKEY readThroughRoot = nullptr) noexcept
        : root_(root), readThroughRoot_(readThroughRoot)
    {
    }

    std::string ReadString(const std::string& key, const std::string& name,
                           const std::string& defaultValue) const;
    void WriteString(const std::string& key, const std::string& name, const std::string& value);

    // The value is stored as its decimal text. Reading gives the default when the value is
    // missing, empty or not an integer text (see IntegerText.h).
    int ReadInteger(const std::string& key, const std::string& name, int defaultValue) const;
    void WriteInteger(const std::string& key, const std::string& name, int value);

    // A 32-bit number stored as such (REG_DWORD), read and written like a string value; a
    // value of another type fails with "Invalid data type for '<name>'".
    DWORD ReadDword(const std::string& key, const std::string& name, DWORD defaultValue) const;
    void WriteDword(const std::string& key, const std::string& name, DWORD value);

    // The first step of every write: creates the key when it is missing, opening it with the
    // rights a write uses, and closes it again. Gives the registry's answer, ERROR_SUCCESS when the key is
    // there and ours to write; so the caller can learn whether writes would be refused.
    LSTATUS CreateKey(const std::string& key);

    // The names of the values under the key in the store's own root (not the read-through
    // one), the default value's as the empty name; none when the key cannot be read.
    std::vector<std::string> ValueNames(const std::string& key) const;

    // Opens the key without creating it and deletes the value. Reports no failure: a value
    // or key that is not there is as good as deleted.
    void DeleteValue(const std::string& key, const std::string& name);

    // While one lives, the store's reads keep each key they open, so a run of reads (the
    // start-up's) opens each key once instead of once for every value. A change made through
    // the store lets them go: a key read as missing may be there after it.
    class KeysHeldOpen {
    public:
        explicit KeysHeldOpen(const RegistryStore& store) noexcept : store_(store) { ++store_.holding_; }
        ~KeysHeldOpen();
        KeysHeldOpen(const KeysHeldOpen&) = delete;
        KeysHeldOpen& operator=(const KeysHeldOpen&) = delete;

    private:
        const RegistryStore& store_;
    };

private:
    struct HeldKey {
        HKEY root;
        std::string key;
        base::RegistryKey handle; // empty for a key that could not be opened
    };

    std::optional<std::string> ReadStored(HKEY root, const std::string& key, const std::string& name) const;
    // Every write: the key made when missing, then the value of that registry type set.
    void WriteValue(const std::string& key, const std::string& name, DWORD type, const void* data, DWORD size);
    HKEY KeyToRead(HKEY root, const std::string& key, base::RegistryKey& opened) const;

    HKEY root_;
    HKEY readThroughRoot_;
    mutable int holding_ = 0;
    mutable std::vector<HeldKey> held_;
};

} // namespace settings
