#include "vqsig/Usage.h"

#include "base/Version.h"
#include "vqsig/CommandTable.h"

#include <string_view>

namespace vqsig {

namespace {

// The text's lines, each after the first indented by that many blanks, each ended by CR LF.
std::string Indented(std::string_view text, std::size_t indent)
{
    std::string lines;
    for (std::size_t start = 0;;) {
        const std::size_t end = text.find('\n', start);
        if (start > 0)
            lines.append(indent, ' ');
        lines.append(text.substr(start, end - start));
        lines += "\r\n";
        if (end == std::string_view::npos)
            return lines;
        start = end + 1;
    }
}

constexpr std::size_t HelpColumn = 9;

} // namespace

std::string UsageText()
{
    std::string usage = "Usage:\r\n";
    for (const Command& command : Commands())
        usage += "  vqsig " + Indented(command.usage, 8 + std::string_view(command.name).size() + 1);
    return usage + "  vqsig --help | --version\r\n";
}

std::string HelpText()
{
    std::string help = "vqsig: Varnquill's signatures from the command line.\r\n"
                       "\r\n" +
                       UsageText() + "\r\n";
    for (const Command& command : Commands()) {
        std::string name = command.name;
        name.resize(HelpColumn, ' ');
        help += name + Indented(command.help, HelpColumn);
    }
    return help + "\r\n"
                  "Put -- before a TEXT or FILE that starts with a dash.\r\n"
                  "Exit codes: 0 done, 1 failed (the reason on standard error), 2 wrong usage.\r\n";
}

std::string VersionText()
{
    return std::string("vqsig ") + VARNQUILL_VERSION + "\r\n";
}

} // namespace vqsig
