#include "settings/RegistryStore.h"

#include "base/IntegerText.h"
#include "base/Handles.h"

#include <optional>
#include <vector>

namespace settings {

namespace {

// The part of a key path the registry gets: without the leading backslash that only says
// "from the root". Everything else is handed over unchanged.
std::string RegistryPath(const std::string& key)
{
    return !key.empty() && key.front() == '\\' ? key.substr(1) : key;
}

toolkit::RegistryKey OpenExistingKey(HKEY root, const std::string& key)
{
    HKEY handle = nullptr;
    if (RegOpenKeyExA(root, RegistryPath(key).c_str(), 0, KEY_ALL_ACCESS, &handle) != ERROR_SUCCESS)
        return {};
    return toolkit::RegistryKey(handle);
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

} // namespace

std::string RegistryStore::ReadString(const std::string& key, const std::string& name,
                                      const std::string& defaultValue) const
{
    const toolkit::RegistryKey opened = OpenExistingKey(root_, key);
    if (!opened)
        return defaultValue;
    return QueryString(opened.Get(), name).value_or(defaultValue);
}

void RegistryStore::WriteString(const std::string& key, const std::string& name, const std::string& value)
{
    const std::string path = RegistryPath(key);
    {
        HKEY created = nullptr;
        if (RegCreateKeyExA(root_, path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS,
                            nullptr, &created, nullptr) != ERROR_SUCCESS)
            throw RegistryError("Failed to create key " + key);
        toolkit::RegistryKey closeAgain(created);
    }
    const toolkit::RegistryKey opened = OpenExistingKey(root_, key);
    if (!opened)
        return; // the key is there but not ours to write: the setting is left as it was
    if (RegSetValueExA(opened.Get(), name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                       static_cast<DWORD>(value.size() + 1)) != ERROR_SUCCESS)
        throw RegistryError("Failed to set data for '" + name + "'");
}

int RegistryStore::ReadInteger(const std::string& key, const std::string& name, int defaultValue) const
{
    return TryParseInteger(ReadString(key, name, std::string())).value_or(defaultValue);
}

void RegistryStore::WriteInteger(const std::string& key, const std::string& name, int value)
{
    WriteString(key, name, std::to_string(value));
}

void RegistryStore::DeleteValue(const std::string& key, const std::string& name)
{
    const toolkit::RegistryKey opened = OpenExistingKey(root_, key);
    if (!opened)
        return; // no key, no value to delete
    // A missing value is already what the caller wants; any other refusal is not reported
    // either, as the start-up entry's removal must never fail.
    RegDeleteValueA(opened.Get(), name.c_str());
}

} // namespace settings
