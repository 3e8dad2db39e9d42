#include "tests/player/FakeMediaSessionRegistration.h"

#include "base/PathParts.h"
#include "base/SystemError.h"

#include <stdexcept>

namespace {

std::string FakeMediaSessionDllPath()
{
    char path[MAX_PATH];
    const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        throw std::runtime_error("cannot find the test executable's own path");
    return std::string(base::FolderPart(std::string_view(path, length))) + "FakeMediaSession.dll";
}

void SetString(const char* name, const std::string& value)
{
    const LSTATUS status = RegSetKeyValueA(HKEY_LOCAL_MACHINE, FakeMediaSessionKey, name, REG_SZ, value.c_str(),
                                           static_cast<DWORD>(value.size() + 1));
    if (status != ERROR_SUCCESS)
        throw std::runtime_error(std::string("cannot register the stand-in media session's ") + name + ": " +
                                 base::SystemErrorText(static_cast<DWORD>(status)));
}

} // namespace

FakeMediaSessionRegistration::FakeMediaSessionRegistration(const std::string& answer, const std::string& appId,
                                                           const std::string& artist, const std::string& title)
{
    if (Registered())
        throw std::runtime_error("a media session registration is left over");
    try {
        SetString("DllPath", FakeMediaSessionDllPath());
        const DWORD inProcess = 0;
        const LSTATUS status = RegSetKeyValueA(HKEY_LOCAL_MACHINE, FakeMediaSessionKey, "ActivationType", REG_DWORD,
                                               &inProcess, sizeof inProcess);
        if (status != ERROR_SUCCESS)
            throw std::runtime_error("cannot register the stand-in media session: " +
                                     base::SystemErrorText(static_cast<DWORD>(status)));
        SetString("AppId", appId);
        SetString("Artist", artist);
        SetString("Title", title);
        Answer(answer);
    } catch (...) {
        RegDeleteKeyA(HKEY_LOCAL_MACHINE, FakeMediaSessionKey); // what was written, if anything
        throw;
    }
}

FakeMediaSessionRegistration::~FakeMediaSessionRegistration()
{
    // Fails only when the key is gone already, which is the goal.
    RegDeleteKeyA(HKEY_LOCAL_MACHINE, FakeMediaSessionKey);
}

void FakeMediaSessionRegistration::Answer(const std::string& answer)
{
    SetString("Answer", answer);
}

bool FakeMediaSessionRegistration::Registered()
{
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, FakeMediaSessionKey, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return false;
    RegCloseKey(key);
    return true;
}
