#include "settings/ProgramFiles.h"

#include "base/PathParts.h"
#include "settings/ProgramLocation.h"
#include "settings/SettingsPlaces.h"

namespace settings {

std::vector<std::string> ProgramOwnFiles(const std::string& programDirectory)
{
    std::vector<std::string> files = EverySideFilePath(programDirectory);
    files.push_back(base::JoinPath(programDirectory, "Varnquill.exe"));
    files.push_back(base::JoinPath(programDirectory, "vqsig.exe"));
    files.push_back(ProgramPath());
    return files;
}

} // namespace settings
