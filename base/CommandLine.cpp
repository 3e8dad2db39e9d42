#include "base/CommandLine.h"

#include <windows.h>

namespace base {

namespace {

bool IsWhitespace(char c)
{
    return c != '\0' && static_cast<unsigned char>(c) <= ' ';
}

} // namespace

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

} // namespace base
