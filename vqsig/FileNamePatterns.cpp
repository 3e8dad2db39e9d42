#include "vqsig/FileNamePatterns.h"
#include "base/PathParts.h"

#include "base/AsciiText.h"
#include "base/Handles.h"
#include "base/SystemError.h"

#include <windows.h>

#include <algorithm>
#include <stdexcept>

namespace vqsig {

std::vector<std::string> ExpandFileNamePattern(const std::string& pattern)
{
    const std::size_t nameStart = base::FolderPart(pattern).size();
    if (pattern.find_first_of("*?", nameStart) == std::string::npos)
        return {pattern};

    WIN32_FIND_DATAA found;
    const base::FindHandle search(FindFirstFileA(pattern.c_str(), &found));
    const DWORD firstError = search ? ERROR_SUCCESS : GetLastError();
    if (firstError != ERROR_SUCCESS && firstError != ERROR_FILE_NOT_FOUND)
        throw std::runtime_error("Cannot search for \"" + pattern + "\". " + base::SystemErrorText(firstError));

    std::vector<std::string> names;
    if (firstError == ERROR_SUCCESS) {
        do {
            if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
                names.emplace_back(found.cFileName);
        } while (FindNextFileA(search.Get(), &found));
        const DWORD endError = GetLastError();
        if (endError != ERROR_NO_MORE_FILES)
            throw std::runtime_error("Cannot search for \"" + pattern + "\". " + base::SystemErrorText(endError));
    }
    if (names.empty())
        throw std::runtime_error("No file matches \"" + pattern + "\".");

    std::sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) {
        return base::AsciiUpperCase(a) < base::AsciiUpperCase(b);
    });
    const std::string folder = pattern.substr(0, nameStart);
    for (std::string& name : names)
        name.insert(0, folder);
    return names;
}

} // namespace vqsig
