#include "settings/RegistryStore.h"

#include "base/IntegerText.h"
#include "base/Handles.h"

#include <algorithm>
#include <optional>
#include <utility>
#include <vector>

namespace settings {

namespace {

// The part of a key path the registry gets: without the leading backslash that only says
// "from the root". Everything else is handed over unchanged.
std::string RegistryPath(const std::string& key)
{
    return !key.empty() && key.front() == '\\' ? key.substr(1) : key;
}

// What the store does to a key it writes, and nothing more: an administrator may give users
// these rights on the machine's key without full control, and the key is then still theirs.
constexpr REGSAM WriteRights = KEY_QUERY_VALUE | KEY_SET_VALUE | KEY_CREATE_SUB_KEY;

base::RegistryKey OpenExistingKey(HKEY root, const std::string& key, REGSAM access)
{
    HKEY handle = nullptr;
    if (RegOpenKeyExA(root, RegistryPath(key).c_str(), 0, access, &handle) != ERROR_SUCCESS)
        return {};
    return base::RegistryKey(handle);
}

// The string value, or nothing when it does not exist.
std::optional<std::string> QueryString(HKEY key, const std::string& name)
{
    std::vector<char> data(256);
    for (;;) {
        DWORD type = REG_NONE;
        DWORD size = static_cast<DWORD>(data.size());
        const LSTATUS status = RegQueryValueExA(key, name.c_str(), nullptr, &type,
                                                reinterpret_cast<BYTE*>(data.data()), &size);
        if (status == ERROR_FILE_NOT_FOUND)
            return std::nullopt;
        if (status == ERROR_SUCCESS || status == ERROR_MORE_DATA) {
            if (type != REG_SZ && type != REG_EXPAND_SZ)
                throw RegistryError("Invalid data type for '" + name + "'");
        }
        if (status == ERROR_MORE_DATA) {
            // The value grew or was larger than the first guess: ask again with its size.
            data.resize(static_cast<std::size_t>(size) + 1);
            continue;
        }
        if (status != ERROR_SUCCESS)
            throw RegistryError("Failed to get data for '" + name + "'");
        // A stored string may or may not carry its terminating NUL; the text ends at the first.
        std::string text(data.data(), size);
        const std::size_t end = text.find('\0');
        if (end != std::string::npos)
            text.resize(end);
        return text;
    }
}

// The 32-bit value, or nothing when it does not exist.
std::optional<DWORD> QueryDword(HKEY key, const std::string& name)
{
    DWORD type = REG_NONE;
    DWORD value = 0;
    DWORD size = sizeof value;
    const LSTATUS status = RegQueryValueExA(key, name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(&value), &size);
    if (status == ERROR_FILE_NOT_FOUND)
        return std::nullopt;
    if ((status == ERROR_SUCCESS || status == ERROR_MORE_DATA) && (type != REG_DWORD || size != sizeof value))
        throw RegistryError("Invalid data type for '" + name + "'");
    if (status != ERROR_SUCCESS)
        throw RegistryError("Failed to get data for '" + name + "'");
    return value;
}

} // namespace

// The value under this root, or nothing when the key or the value is missing or unreadable.
std::optional<std::string> RegistryStore::ReadStored(HKEY root, const std::string& key, const std::string& name) const
{
    base::RegistryKey opened;
    const HKEY handle = KeyToRead(root, key, opened);
    if (!handle)
        return std::nullopt;
    return QueryString(handle, name);
}

// The key opened for reading, held while keys are held, else into opened for this read
// alone; null when it cannot be opened.
HKEY RegistryStore::KeyToRead(HKEY root, const std::string& key, base::RegistryKey& opened) const
{
    HKEY handle = nullptr;
    if (holding_ == 0) {
        opened = OpenExistingKey(root, key, KEY_READ);
        handle = opened.Get();
    } else {
        auto held = std::find_if(held_.begin(), held_.end(),
                                 [&](const HeldKey& k) { return k.root == root && k.key == key; });
        if (held == held_.end())
            held = held_.insert(held_.end(), HeldKey{root, key, OpenExistingKey(root, key, KEY_READ)});
        handle = held->handle.Get();
    }
    return handle;
}

RegistryStore::KeysHeldOpen::~KeysHeldOpen()
{
    if (--store_.holding_ == 0)
        store_.held_.clear();
}

std::string RegistryStore::ReadString(const std::string& key, const std::string& name,
                                      const std::string& defaultValue) const
{
    if (std::optional<std::string> own = ReadStored(root_, key, name))
        return *own;
    if (readThroughRoot_)
        return ReadStored(readThroughRoot_, key, name).value_or(defaultValue);
    return defaultValue;
}

void RegistryStore::WriteString(const std::string& key, const std::string& name, const std::string& value)
{
    WriteValue(key, name, REG_SZ, value.c_str(), static_cast<DWORD>(value.size() + 1));
}

void RegistryStore::WriteValue(const std::string& key, const std::string& name, DWORD type, const void* data,
                               DWORD size)
{
    held_.clear();
    if (CreateKey(key) != ERROR_SUCCESS)
        throw RegistryError("Failed to create key " + key);
    const base::RegistryKey opened = OpenExistingKey(root_, key, KEY_SET_VALUE);
    if (!opened)
        return; // the key is there but not ours to write: the setting is left as it was
    if (RegSetValueExA(opened.Get(), name.c_str(), 0, type, static_cast<const BYTE*>(data), size) != ERROR_SUCCESS)
        throw RegistryError("Failed to set data for '" + name + "'");
}

LSTATUS RegistryStore::CreateKey(const std::string& key)
{
    held_.clear();
    HKEY created = nullptr;
    const LSTATUS status = RegCreateKeyExA(root_, RegistryPath(key).c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                                           WriteRights, nullptr, &created, nullptr);
    const base::RegistryKey closeAgain(status == ERROR_SUCCESS ? created : nullptr);
    return status;
}

int RegistryStore::ReadInteger(const std::string& key, const std::string& name, int defaultValue) const
{
    return base::TryParseInteger(ReadString(key, name, std::string())).value_or(defaultValue);
}

void RegistryStore::WriteInteger(const std::string& key, const std::string& name, int value)
{
    WriteString(key, name, std::to_string(value));
}

DWORD RegistryStore::ReadDword(const std::string& key, const std::string& name, DWORD defaultValue) const
{
    for (const HKEY root : {root_, readThroughRoot_}) {
        base::RegistryKey opened;
        if (const HKEY handle = root ? KeyToRead(root, key, opened) : nullptr)
            if (const std::optional<DWORD> value = QueryDword(handle, name))
                return *value;
    }
    return defaultValue;
}

void RegistryStore::WriteDword(const std::string& key, const std::string& name, DWORD value)
{
    WriteValue(key, name, REG_DWORD, &value, sizeof value);
}

std::vector<std::string> RegistryStore::ValueNames(const std::string& key) const
{
    std::vector<std::string> names;
    base::RegistryKey opened;
    const HKEY handle = KeyToRead(root_, key, opened);
    if (!handle)
        return names;
    // Room for the longest name the registry allows (16,383 characters), two bytes each in
    // a double-byte code page.
    std::vector<char> name(32768);
    for (DWORD index = 0;; ++index) {
        DWORD length = static_cast<DWORD>(name.size());
        // Any failure ends the list: what was read is what the caller can go by.
        if (RegEnumValueA(handle, index, name.data(), &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
            break;
        names.emplace_back(name.data(), length);
    }
    return names;
}

void RegistryStore::DeleteValue(const std::string& key, const std::string& name)
{
    held_.clear();
    const base::RegistryKey opened = OpenExistingKey(root_, key, KEY_SET_VALUE);
    if (!opened)
        return; // no key, no value to delete
    // A missing value is already what the caller wants; any other refusal is not reported
    // either, as the start-up entry's removal must never fail.
    RegDeleteValueA(opened.Get(), name.c_str());
}

} // namespace settings
