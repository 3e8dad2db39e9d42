#include "settings/ProgramLocation.h"
#include "base/PathParts.h"

#include "base/AsciiText.h"
#include "base/SystemError.h"

#include <windows.h>

#include <stdexcept>

namespace settings {

std::string ProgramPath()
{
    std::string path(MAX_PATH, '\0');
    for (;;) {
        const DWORD length = GetModuleFileNameA(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0)
            throw std::runtime_error("Cannot find the program's own path. " + base::SystemErrorText(GetLastError()));
        if (length < path.size()) {
            path.resize(length);
            return path;
        }
        path.resize(path.size() * 2); // cut short: try again with room to spare
    }
}

std::string ProgramDirectory()
{
    return std::string(base::FolderPart(ProgramPath()));
}

bool StartsMinimised(const std::vector<std::string>& arguments)
{
    return !arguments.empty() && base::AsciiUpperCase(arguments.front()) == "/MIN";
}

} // namespace settings
