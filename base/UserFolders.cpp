#include "base/UserFolders.h"

#include <windows.h>

#include <shlobj.h>

namespace base {

std::string RoamingAppDataFolder()
{
    char path[MAX_PATH] = {};
    // Without one (a service's account, a damaged profile) there is nowhere of the user's.
    if (FAILED(SHGetFolderPathA(nullptr, CSIDL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, path)))
        return {};
    std::string folder = path;
    if (!folder.empty() && folder.back() == '\\')
        folder.pop_back();
    return folder;
}

} // namespace base
