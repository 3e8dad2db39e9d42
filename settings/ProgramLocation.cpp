#include "settings/ProgramLocation.h"

#include "settings/AsciiText.h"
#include "toolkit/SystemError.h"

#include <windows.h>

#include <stdexcept>

namespace settings {

namespace {

bool IsWhitespace(char c)
{
    return c != '\0' && static_cast<unsigned char>(c) <= ' ';
}

} // namespace

std::string ProgramPath()
{
    std::string path(MAX_PATH, '\0');
    for (;;) {
        const DWORD length = GetModuleFileNameA(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0)
            throw std::runtime_error("Cannot find the program's own path. " + toolkit::SystemErrorText(GetLastError()));
        if (length < path.size()) {
            path.resize(length);
            return path;
        }
        path.resize(path.size() * 2); // cut short: try again with room to spare
    }
}

std::string ProgramDirectory()
{
    return DirectoryPart(ProgramPath());
}

std::string DirectoryPart(const std::string& path)
{
    const std::size_t end = path.find_last_of("\\:");
    return end == std::string::npos ? std::string() : path.substr(0, end + 1);
}

std::vector<std::string> CommandLineArguments()
{
    std::vector<std::string> words = SplitCommandLine(GetCommandLineA());
    if (!words.empty())
        words.erase(words.begin()); // the program's own name
    return words;
}

std::vector<std::string> SplitCommandLine(const std::string& commandLine)
{
    std::vector<std::string> words;
    std::size_t i = 0;
    for (;;) {
        while (i < commandLine.size() && IsWhitespace(commandLine[i]))
            ++i;
        if (i >= commandLine.size() || commandLine[i] == '\0')
            return words;
        std::string word;
        bool quoted = false;
        for (; i < commandLine.size() && commandLine[i] != '\0'; ++i) {
            const char c = commandLine[i];
            if (c == '"')
                quoted = !quoted;
            else if (!quoted && IsWhitespace(c))
                break;
            else
                word += c;
        }
        words.push_back(std::move(word));
    }
}

bool StartsMinimised(const std::vector<std::string>& arguments)
{
    return !arguments.empty() && AsciiUpperCase(arguments.front()) == "/MIN";
}

} // namespace settings
