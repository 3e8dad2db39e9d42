#pragma once
#include "settings/RegistryStore.h"

#include <windows.h>

#include <string>
#include <vector>

// Where one run of the program keeps its settings, its start-up entry and its side files.
//
// The per-machine places (HKEY_LOCAL_MACHINE, the folder that holds the program) are used
// whenever the user may write there: an elevated run, a portable copy in a folder of its own,
// an administrator without UAC. A standard user, or an administrator under UAC, may not; for
// them each kind of setting goes to the user's own place instead, while what an administrator
// left in the per-machine place is still read until the user saves their own.
namespace settings {

// The two candidates of each kind.
struct PlaceCandidates {
    HKEY machineRoot = HKEY_LOCAL_MACHINE;
    HKEY userRoot = HKEY_CURRENT_USER;
    // The user's own folder for the side files, ending in a backslash; empty when the user
    // has none, which keeps the side files beside the program.
    std::string userFolder;
};

// The candidates of the user running this process: HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER and
// "Varnquill\" in the user's roaming application data folder.
PlaceCandidates PlacesOfThisUser();

// Every path a side file may have for this user, beside the program or in the user's own
// folder, whichever a run would choose: decides nothing and touches nothing.
std::vector<std::string> EverySideFilePath(const std::string& programDirectory,
                                           const PlaceCandidates& candidates = PlacesOfThisUser());

// Makes the decisions once, when constructed, and answers them for the whole run. Constructing
// it touches nothing the program would not write anyway: it creates the settings key when
// missing (as the first setting written would) and a file in the program's folder that is
// gone again when the check is done.
class SettingsPlaces {
public:
    // programDirectory: the program's folder, ending in a backslash (ProgramDirectory()).
    //   Settings: the machine root when the settings key opens for writing (created if
    //     missing); the user root, reading through to the machine root, when that is refused
    //     for want of access; any other failure keeps the machine root, where writes then
    //     fail as they always have.
    //   Start-up entry: the machine's Run key when it opens for writing, else, refused for
    //     want of access, the user's.
    //   Side files: the program's folder when a file can be created there, else the user's
    //     folder (when there is one).
    explicit SettingsPlaces(std::string programDirectory, PlaceCandidates candidates = PlacesOfThisUser());

    // ---- Settings ----
    bool SettingsPerUser() const noexcept { return settingsPerUser_; }
    // Where settings are written, and where a value missing there is read (null when nowhere).
    HKEY SettingsRoot() const noexcept;
    HKEY SettingsReadThroughRoot() const noexcept;
    // A store over those two roots, for the values under SettingsKey.
    RegistryStore SettingsStore() const noexcept { return RegistryStore(SettingsRoot(), SettingsReadThroughRoot()); }

    // ---- Start-up entry ----
    bool StartupPerUser() const noexcept { return startupPerUser_; }
    // The root whose Run key gets the entry.
    HKEY StartupRoot() const noexcept;
    // Every root whose Run key may hold the entry, the machine's first.
    std::vector<HKEY> StartupRoots() const;

    // ---- Side files ----
    bool SideFilesPerUser() const noexcept { return sideFilesPerUser_; }
    // The folder side files are saved to, ending in a backslash.
    const std::string& SideFileFolder() const noexcept;
    // Where a side file is read from: its saved place; a per-user side file the user has not
    // saved yet is read from beside the program, so a list left there is picked up once.
    // The file need not exist: a missing one is the caller's to skip.
    std::string SideFileToRead(const std::string& fileName) const;
    // Where a side file is saved. Makes the user's folder when it is missing; a folder that
    // cannot be made shows as the save's own failure, naming the file.
    std::string SideFileToSave(const std::string& fileName) const;
    // Every path a side file of this run may be read from or saved to.
    std::vector<std::string> SideFilePaths() const;

private:
    std::string programDirectory_;
    PlaceCandidates candidates_;
    bool settingsPerUser_ = false;
    bool startupPerUser_ = false;
    bool sideFilesPerUser_ = false;
};

} // namespace settings
