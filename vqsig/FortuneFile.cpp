#include "vqsig/FortuneFile.h"

#include "base/ByteSearch.h"

#include <bit>
#include <cstdint>
#include <cstring>
#include <utility>

namespace vqsig {

namespace {

// Where the separator line that comes first in the bytes starts, a line holding only "%"
// (with LF, CR LF or the file's end after it), and where the line after it starts; both
// the bytes' size when there is none. The bytes start at a line's start.
std::pair<std::size_t, std::size_t> FindSeparator(std::string_view bytes)
{
    // By its "%", far rarer than line breaks: a whole collection of fortune files goes
    // through here, and looking at each line would cost a search per line.
    for (std::size_t from = 0;;) {
        const std::size_t found = base::FindByte(bytes.substr(from), '%');
        if (found == std::string_view::npos)
            return {bytes.size(), bytes.size()};
        const std::size_t at = from + found;
        from = at + 1;
        if (at > 0 && bytes[at - 1] != '\n')
            continue;
        const std::string_view after = bytes.substr(at + 1);
        if (after.empty())
            return {at, bytes.size()};
        if (after[0] == '\n')
            return {at, at + 2};
        if (after.starts_with("\r\n"))
            return {at, at + 3};
    }
}

// The lines from the start of the first non-empty one to the end of the last, before its
// line break; empty when all are empty. A line ends at LF or CR LF, a last one may have no end.
std::string_view WithoutEmptyLines(std::string_view lines)
{
    for (;;) {
        if (lines.starts_with('\n'))
            lines.remove_prefix(1);
        else if (lines.starts_with("\r\n"))
            lines.remove_prefix(2);
        else
            break;
    }
    while (lines.ends_with('\n')) {
        // The last line's text ends before its line break; without text, the line goes.
        std::size_t end = lines.size() - 1;
        if (end > 0 && lines[end - 1] == '\r')
            --end;
        const bool empty = end == 0 || lines[end - 1] == '\n';
        lines = lines.substr(0, end);
        if (!empty)
            break;
    }
    return lines;
}

// The high bit of each of the word's bytes that is a line break (CR or LF); the lowest one
// set is exact (a flag may be false only above a true one).
std::uint64_t LineBreakFlags(std::uint64_t word)
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
    // Only the extent is found here: copying the text is JoinLines', straight into its
    // record when it is imported, while these bytes are still in the processor's cache.
    while (!rest_.empty()) {
        const auto [separator, next] = FindSeparator(rest_);
        lines = WithoutEmptyLines(rest_.substr(0, separator));
        rest_.remove_prefix(next);
        if (!lines.empty())
            return true;
    }
    return false;
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
            // The whole word goes out, which has room for it; only the bytes before its
            // first line break count, and the break is then taken on its own.
            std::memcpy(out + length, &word, sizeof word);
            // Bytes written past the text's end this way are always written over again:
            // the text never grows shorter than the lines it comes from.
            std::size_t plain = sizeof word;
            if (const std::uint64_t breaks = LineBreakFlags(word))
                plain = std::endian::native == std::endian::little ? std::countr_zero(breaks) / 8 : 0;
            in += plain;
            length += plain;
            if (plain == sizeof word)
                continue;
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
