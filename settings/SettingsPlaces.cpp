#include "settings/SettingsPlaces.h"

#include "settings/SettingValues.h"
#include "settings/SideFiles.h"
#include "base/Handles.h"
#include "base/PathParts.h"
#include "base/UserFolders.h"
#include "base/WholeFile.h"

#include <utility>

namespace settings {

namespace {

constexpr const char* UserFolderName = "Varnquill";

// Whether writes under this key of the machine root are refused to this user. Only a refusal
// for want of access sends the user elsewhere; any other failure says nothing about the user,
// and the writes report it where they happen, as they always have.
bool MachineKeyDenied(HKEY machineRoot, const char* key)
{
    RegistryStore machine(machineRoot);
    return machine.CreateKey(key) == ERROR_ACCESS_DENIED;
}

// Whether a new file can be made in the folder. The file is deleted as its handle closes,
// so the folder is left as it was, even should the program die in between.
bool CanCreateFileIn(const std::string& folder)
{
    const std::string stem = base::JoinPath(folder, "vq-" + std::to_string(GetCurrentProcessId()) + "-");
    for (int attempt = 0; attempt < 100; ++attempt) {
        const std::string path = stem + std::to_string(attempt) + ".tmp";
        const base::FileHandle probe(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                                 FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr));
        if (probe)
            return true;
        if (GetLastError() != ERROR_FILE_EXISTS)
            return false;
        // Someone else's file of that name: try the next one.
    }
    return false;
}

} // namespace

PlaceCandidates PlacesOfThisUser()
{
    PlaceCandidates candidates;
    // Without a roaming application data folder the side files stay beside the program.
    const std::string appData = base::RoamingAppDataFolder();
    if (!appData.empty())
        candidates.userFolder = base::JoinPath(base::JoinPath(appData, UserFolderName), "");
    return candidates;
}

std::vector<std::string> EverySideFilePath(const std::string& programDirectory, const PlaceCandidates& candidates)
{
    std::vector<std::string> paths;
    for (const char* name : SideFileNames) {
        paths.push_back(SideFilePath(programDirectory, name));
        if (!candidates.userFolder.empty())
            paths.push_back(SideFilePath(candidates.userFolder, name));
    }
    return paths;
}

SettingsPlaces::SettingsPlaces(std::string programDirectory, PlaceCandidates candidates)
    : programDirectory_(std::move(programDirectory)), candidates_(std::move(candidates))
{
    settingsPerUser_ = MachineKeyDenied(candidates_.machineRoot, SettingsKey);
    startupPerUser_ = MachineKeyDenied(candidates_.machineRoot, RunKey);
    sideFilesPerUser_ = !candidates_.userFolder.empty() && !CanCreateFileIn(programDirectory_);
}

HKEY SettingsPlaces::SettingsRoot() const noexcept
{
    return settingsPerUser_ ? candidates_.userRoot : candidates_.machineRoot;
}

HKEY SettingsPlaces::SettingsReadThroughRoot() const noexcept
{
    return settingsPerUser_ ? candidates_.machineRoot : nullptr;
}

HKEY SettingsPlaces::StartupRoot() const noexcept
{
    return startupPerUser_ ? candidates_.userRoot : candidates_.machineRoot;
}

std::vector<HKEY> SettingsPlaces::StartupRoots() const
{
    return {candidates_.machineRoot, candidates_.userRoot};
}

const std::string& SettingsPlaces::SideFileFolder() const noexcept
{
    return sideFilesPerUser_ ? candidates_.userFolder : programDirectory_;
}

std::string SettingsPlaces::SideFileToRead(const std::string& fileName) const
{
    const std::string saved = SideFilePath(SideFileFolder(), fileName);
    if (!sideFilesPerUser_ || base::FileExists(saved))
        return saved;
    return SideFilePath(programDirectory_, fileName);
}

std::string SettingsPlaces::SideFileToSave(const std::string& fileName) const
{
    if (sideFilesPerUser_) {
        // Already there is the usual answer; any other refusal comes back as the save's
        // "Cannot create file" with the file's path, which tells the user more.
        CreateDirectoryA(candidates_.userFolder.c_str(), nullptr);
    }
    return SideFilePath(SideFileFolder(), fileName);
}

std::vector<std::string> SettingsPlaces::SideFilePaths() const
{
    std::vector<std::string> paths;
    for (const char* name : SideFileNames) {
        paths.push_back(SideFilePath(programDirectory_, name));
        if (sideFilesPerUser_)
            paths.push_back(SideFilePath(SideFileFolder(), name));
    }
    return paths;
}

} // namespace settings
