#include "tests/common/MachineRegistry.h"

#include "base/Handles.h"
#include "base/SystemError.h"

#include <shlobj.h>

#include <stdexcept>
#include <vector>

namespace e2e {

namespace {

base::RegistryKey OpenKey(HKEY root, const char* path, REGSAM access)
{
    HKEY key = nullptr;
    if (RegOpenKeyExA(root, path, 0, access, &key) != ERROR_SUCCESS)
        return {};
    return base::RegistryKey(key);
}

std::optional<std::string> ReadString(HKEY key, const std::string& name)
{
    DWORD type = 0;
    DWORD size = 0;
    if (RegQueryValueExA(key, name.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS)
        return std::nullopt;
    if (type != REG_SZ)
        throw std::runtime_error("value " + name + " is not a string");
    std::vector<char> bytes(size + 1, '\0');
    if (RegQueryValueExA(key, name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(bytes.data()),
                         &size) != ERROR_SUCCESS)
        throw std::runtime_error("cannot read value " + name);
    return std::string(bytes.data());
}

} // namespace

void ForgetProgramSettings()
{
    for (HKEY root : {HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER}) {
        const LSTATUS tree = RegDeleteTreeA(root, SettingsKeyPath);
        if (tree != ERROR_SUCCESS && tree != ERROR_FILE_NOT_FOUND)
            throw std::runtime_error("cannot delete the settings key: " + base::SystemErrorText(tree));
        if (base::RegistryKey run = OpenKey(root, RunKeyPath, KEY_SET_VALUE)) {
            const LSTATUS value = RegDeleteValueA(run.Get(), StartupValueName);
            if (value != ERROR_SUCCESS && value != ERROR_FILE_NOT_FOUND)
                throw std::runtime_error("cannot delete the start-up entry: " + base::SystemErrorText(value));
        }
    }
    const std::string folder = UserSideFilesFolder();
    // The side files, and the first start's copy of the starter collection kept beside them.
    for (const char* name : {"sigs.list", "static.sig.qmz", "order.state", "Quotes.sigs"}) {
        if (!DeleteFileA((folder + name).c_str()) && GetLastError() != ERROR_FILE_NOT_FOUND &&
            GetLastError() != ERROR_PATH_NOT_FOUND)
            throw std::runtime_error("cannot delete " + folder + name + ": " + base::SystemErrorText(GetLastError()));
    }
    if (!RemoveDirectoryA(folder.c_str()) && GetLastError() != ERROR_FILE_NOT_FOUND &&
        GetLastError() != ERROR_PATH_NOT_FOUND)
        throw std::runtime_error("cannot remove " + folder + ": " + base::SystemErrorText(GetLastError()));
}

std::string UserSideFilesFolder()
{
    char appData[MAX_PATH] = {};
    if (FAILED(SHGetFolderPathA(nullptr, CSIDL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, appData)))
        throw std::runtime_error("the user has no application data folder");
    return std::string(appData) + "\\Varnquill\\";
}

std::map<std::string, std::string> StoredSettings(HKEY root)
{
    std::map<std::string, std::string> values;
    base::RegistryKey key = OpenKey(root, SettingsKeyPath, KEY_READ);
    if (!key)
        return values;
    for (DWORD index = 0;; ++index) {
        char name[256];
        DWORD nameLength = sizeof name;
        const LSTATUS status = RegEnumValueA(key.Get(), index, name, &nameLength, nullptr, nullptr,
                                             nullptr, nullptr);
        if (status == ERROR_NO_MORE_ITEMS)
            break;
        if (status != ERROR_SUCCESS)
            throw std::runtime_error("cannot list the settings: " + base::SystemErrorText(status));
        values[name] = ReadString(key.Get(), name).value_or("");
    }
    return values;
}

std::optional<std::string> StoredSetting(const std::string& name, HKEY root)
{
    base::RegistryKey key = OpenKey(root, SettingsKeyPath, KEY_READ);
    if (!key)
        return std::nullopt;
    return ReadString(key.Get(), name);
}

void StoreSetting(const std::string& name, const std::string& value)
{
    HKEY created = nullptr;
    const LSTATUS status = RegCreateKeyExA(HKEY_LOCAL_MACHINE, SettingsKeyPath, 0, nullptr, 0,
                                           KEY_SET_VALUE, nullptr, &created, nullptr);
    if (status != ERROR_SUCCESS)
        throw std::runtime_error("cannot create the settings key: " + base::SystemErrorText(status));
    base::RegistryKey key(created);
    const LSTATUS set = RegSetValueExA(key.Get(), name.c_str(), 0, REG_SZ,
                                       reinterpret_cast<const BYTE*>(value.c_str()),
                                       static_cast<DWORD>(value.size() + 1));
    if (set != ERROR_SUCCESS)
        throw std::runtime_error("cannot store " + name + ": " + base::SystemErrorText(set));
}

std::optional<std::string> StartupEntry(HKEY root)
{
    base::RegistryKey key = OpenKey(root, RunKeyPath, KEY_READ);
    if (!key)
        return std::nullopt;
    return ReadString(key.Get(), StartupValueName);
}

SettingsChange::SettingsChange() : event_(CreateEventA(nullptr, FALSE, FALSE, nullptr))
{
    HKEY created = nullptr;
    if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, SettingsKeyPath, 0, nullptr, 0, KEY_NOTIFY, nullptr, &created,
                        nullptr) != ERROR_SUCCESS)
        throw std::runtime_error("cannot open the settings key");
    key_.Reset(created);
    Arm();
}

void SettingsChange::Arm()
{
    if (RegNotifyChangeKeyValue(key_.Get(), FALSE, REG_NOTIFY_CHANGE_LAST_SET, event_.Get(), TRUE) != ERROR_SUCCESS)
        throw std::runtime_error("cannot watch the settings key");
}

} // namespace e2e
