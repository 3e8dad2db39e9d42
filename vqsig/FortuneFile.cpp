#include "vqsig/FortuneFile.h"

#include "base/ByteSearch.h"

#include <cstdint>
#include <cstring>

namespace vqsig {

namespace {

// A line's text without its line break (LF, or CR LF).
std::string_view LineText(std::string_view line)
{
    if (!line.empty() && line.back() == '\n') {
        line.remove_suffix(1);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
    }
    return line;
}

// Whether any of the word's eight bytes is a line break (CR or LF).
bool HoldsLineBreak(std::uint64_t word)
{
    constexpr std::uint64_t ones = 0x0101010101010101u;
    constexpr std::uint64_t highs = 0x8080808080808080u;
    const std::uint64_t cr = word ^ (ones * '\r');
    const std::uint64_t lf = word ^ (ones * '\n');
    return (((cr - ones) & ~cr) | ((lf - ones) & ~lf)) & highs;
}

} // namespace

bool FortuneReader::NextLines(std::string_view& lines)
{
    // Only the extent is found here, a whole collection of fortune files going through:
    // copying the text is JoinLines', straight into its record when it is imported.
    const char* first = nullptr; // the start of the text's first non-empty line
    const char* last = nullptr;  // the end of its last, before its line break
    while (!rest_.empty()) {
        const std::size_t end = base::FindByte(rest_, '\n');
        const std::string_view shown = LineText(rest_.substr(0, end == std::string_view::npos ? end : end + 1));
        rest_.remove_prefix(end == std::string_view::npos ? rest_.size() : end + 1);
        if (shown == "%") {
            if (first)
                break;
        } else if (!shown.empty()) {
            first = first ? first : shown.data();
            last = shown.data() + shown.size();
        }
    }
    if (!first)
        return false;
    lines = std::string_view(first, static_cast<std::size_t>(last - first));
    return true;
}

bool FortuneReader::Next(std::string& text)
{
    std::string_view lines;
    if (!NextLines(lines)) {
        text.clear();
        return false;
    }
    // A CR LF takes at most two bytes for each LF.
    text.resize(2 * lines.size());
    text.resize(JoinLines(lines, text.data(), text.size()));
    return true;
}

std::size_t JoinLines(std::string_view lines, char* out, std::size_t capacity)
{
    // Eight bytes at a time between line breaks, with no call per line: a whole collection
    // of fortune files goes through here.
    std::size_t in = 0;
    std::size_t length = 0;
    while (in < lines.size()) {
        std::uint64_t word;
        if (in + sizeof word <= lines.size() && length + sizeof word <= capacity) {
            std::memcpy(&word, lines.data() + in, sizeof word);
            if (!HoldsLineBreak(word)) {
                std::memcpy(out + length, &word, sizeof word);
                in += sizeof word;
                length += sizeof word;
                continue;
            }
        }
        const char c = lines[in++];
        if (c == '\r' && in < lines.size() && lines[in] == '\n')
            continue; // the LF after it writes the pair
        if (c == '\n') {
            if (length + 2 > capacity)
                return capacity + 1;
            out[length++] = '\r';
            out[length++] = '\n';
        } else {
            if (length + 1 > capacity)
                return capacity + 1;
            out[length++] = c;
        }
    }
    return length;
}

std::vector<std::string> FortuneTexts(std::string_view file)
{
    std::vector<std::string> texts;
    FortuneReader reader(file);
    for (std::string text; reader.Next(text);)
        texts.push_back(text);
    return texts;
}

std::string FortuneEntry(std::string_view text)
{
    std::string entry;
    entry.reserve(text.size() + 3);
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
            continue; // the LF that follows stands for the pair
        entry += text[i];
    }
    entry += "\n%\n";
    return entry;
}

} // namespace vqsig
