#include "settings/SideFiles.h"

#include "base/PathParts.h"
#include "base/WholeFile.h"
#include "base/TextLines.h"

#include <algorithm>

namespace settings {

std::string SideFilePath(const std::string& folder, const std::string& fileName)
{
    return base::JoinPath(folder, fileName);
}

std::vector<std::string> LoadList(const std::string& path)
{
    std::vector<std::string> entries = base::SplitLines(base::ReadWholeFile(path));
    // A blank line names no file: kept, it would only fail as a database named "".
    std::erase_if(entries, [](const std::string& entry) {
        return entry.find_first_not_of(" \t") == std::string::npos;
    });
    return entries;
}

std::string JoinLines(const std::vector<std::string>& lines)
{
    std::string bytes;
    for (const std::string& line : lines) {
        bytes += line;
        bytes += "\r\n";
    }
    return bytes;
}

void SaveList(const std::string& path, const std::vector<std::string>& lines)
{
    base::ReplaceWholeFile(path, JoinLines(lines));
}

std::string FieldText(const std::string& bytes)
{
    const std::size_t end = std::min(bytes.find('\0'), bytes.size());
    std::string text;
    text.reserve(end);
    for (std::size_t i = 0; i < end; ++i) {
        const char c = bytes[i];
        if (c == '\r' || c == '\n') {
            text += "\r\n";
            if (c == '\r' && i + 1 < end && bytes[i + 1] == '\n')
                ++i;
        } else {
            text += c;
        }
    }
    return text;
}

std::string LoadStaticText(const std::string& path)
{
    return FieldText(base::ReadWholeFile(path));
}

void SaveStaticText(const std::string& path, const std::string& text)
{
    base::ReplaceWholeFile(path, text);
}

} // namespace settings
