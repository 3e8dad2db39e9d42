#include "engine/FortuneFile.h"

#include <emmintrin.h>

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstring>

namespace fortunes {

namespace {

// Line ends are found 64 bytes at a time and lines are copied 16 at a time, with SSE2, which
// every x86-64 processor has: a whole collection of fortune files goes through one pass.
constexpr std::size_t BlockSize = 64;
constexpr std::size_t ChunkSize = 16;
// Lines are copied this much at least: fortune files' lines are rarely longer.
constexpr std::size_t LineCopy = 80;

// The bytes of a block that are LFs, bit i for byte i; padded with LFs past the file's end,
// so that the first of them ends a last line that has none. Also ORs into odd the high bit
// of every byte that is 0x80 or above or NUL.
std::uint64_t LineFeeds(const char* block, const char* end, __m128i& odd) noexcept
{
    alignas(16) char tail[BlockSize];
    if (end - block < static_cast<std::ptrdiff_t>(BlockSize)) {
        // Never a load past the file's last byte.
        std::memset(tail, '\n', BlockSize);
        std::memcpy(tail, block, static_cast<std::size_t>(end - block));
        block = tail;
    }
    const __m128i lineFeed = _mm_set1_epi8('\n');
    const __m128i zero = _mm_setzero_si128();
    std::uint64_t feeds = 0;
    for (std::size_t i = 0; i < BlockSize; i += ChunkSize) {
        const __m128i chunk = _mm_loadu_si128(reinterpret_cast<const __m128i*>(block + i));
        odd = _mm_or_si128(odd, _mm_or_si128(chunk, _mm_cmpeq_epi8(chunk, zero)));
        feeds |= static_cast<std::uint64_t>(static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(chunk, lineFeed))))
                 << i;
    }
    return feeds;
}

void CopyChunk(const char* from, char* to) noexcept
{
    _mm_storeu_si128(reinterpret_cast<__m128i*>(to), _mm_loadu_si128(reinterpret_cast<const __m128i*>(from)));
}

// A line of only blanks and tabs, which separates paragraphs as an empty one does.
bool Blank(const char* line, std::size_t length) noexcept
{
    return std::all_of(line, line + length, [](char c) { return c == ' ' || c == '\t'; });
}

} // namespace

bool HoldsPercentLine(std::string_view file) noexcept
{
    for (std::size_t at = file.find('%'); at != std::string_view::npos; at = file.find('%', at + 1)) {
        if (at > 0 && file[at - 1] != '\n')
            continue;
        const std::string_view after = file.substr(at + 1);
        if (after.empty() || after.starts_with('\n') || after.starts_with("\r\n"))
            return true;
    }
    return false;
}

bool FortuneReader::Next(char* out, std::size_t capacity, FortuneText& text) noexcept
{
    const char* const end = rest_.data() + rest_.size();
    const char* line = rest_.data(); // the start of the line looked at
    const char* block = line;        // of the bytes whose LFs are flagged in feeds
    // Every byte looked at, for the plain test at the end. Bytes past the text count too,
    // which can only make a plain text seem not plain: that one is then taken the careful way.
    __m128i odd = _mm_setzero_si128();
    std::uint64_t feeds = line < end ? LineFeeds(block, end, odd) : 0;
    const char* first = nullptr; // the start of the text's first non-empty line
    const char* last = nullptr;  // the end of its last, before its line break
    std::size_t length = 0;      // of the text up to the end of its last non-empty line
    std::size_t breaks = 0;      // line breaks after that line, which a non-empty one keeps
    std::size_t room = capacity; // none once the text is known not to fit
    std::size_t written = 0;     // a local: out may alias text
    while (line < end) {
        while (!feeds) {
            block += BlockSize;
            feeds = LineFeeds(block, end, odd);
        }
        const char* const lineEnd = block + std::countr_zero(feeds);
        feeds &= feeds - 1;
        const char* const lineStart = line;
        const bool ended = lineEnd < end;
        line = ended ? lineEnd + 1 : end;
        const bool crBeforeFeed = ended && lineEnd > lineStart && lineEnd[-1] == '\r';
        const auto shown = static_cast<std::size_t>(lineEnd - lineStart) - (crBeforeFeed ? 1 : 0);
        if (!paragraphs_ && shown == 1 && lineStart[0] == '%') {
            if (first)
                break;
            continue;
        }
        if (shown == 0 || (paragraphs_ && Blank(lineStart, shown))) {
            if (paragraphs_ && first)
                break;
            breaks += first && ended;
            continue;
        }
        const std::size_t to = first ? length + 2 * breaks : 0;
        if (to + shown <= room) {
            for (std::size_t i = 0; i < breaks; ++i)
                std::memcpy(out + length + 2 * i, "\r\n", 2);
            // Whole chunks, at least 80 bytes, the bytes past the line left over: no call
            // per line, and for most lines no branch on their length.
            const std::size_t copied = std::max(LineCopy, (shown + ChunkSize - 1) / ChunkSize * ChunkSize);
            if (to + copied <= room && static_cast<std::size_t>(end - lineStart) >= copied) {
                for (std::size_t i = 0; i < LineCopy; i += ChunkSize)
                    CopyChunk(lineStart + i, out + to + i);
                for (std::size_t i = LineCopy; i < shown; i += ChunkSize)
                    CopyChunk(lineStart + i, out + to + i);
                written = std::max(written, to + copied);
            } else {
                std::memcpy(out + to, lineStart, shown);
                written = std::max(written, to + shown);
            }
        } else {
            room = 0;
        }
        first = first ? first : lineStart;
        last = lineStart + shown;
        length = to + shown;
        breaks = ended;
    }
    rest_ = std::string_view(line, static_cast<std::size_t>(end - line));
    text.written = written;
    if (!first)
        return false;
    text.lines = std::string_view(first, static_cast<std::size_t>(last - first));
    text.length = room ? length : capacity + 1;
    text.plain = !_mm_movemask_epi8(odd);
    return true;
}

bool FortuneReader::Next(std::string& text)
{
    // Most texts are short: they come out of the one pass; a longer one is joined again.
    constexpr std::size_t ShortText = 1024;
    text.resize(ShortText);
    FortuneText found;
    if (!Next(text.data(), text.size(), found)) {
        text.clear();
        return false;
    }
    if (found.length > text.size())
        JoinLines(found.lines, text);
    else
        text.resize(found.length);
    return true;
}

void JoinLines(std::string_view lines, std::string& text)
{
    // A CR LF takes at most two bytes for each LF.
    text.resize(2 * lines.size());
    text.resize(JoinLines(lines, text.data(), text.size()));
}

std::size_t JoinLines(std::string_view lines, char* out, std::size_t capacity)
{
    std::size_t length = 0;
    for (std::size_t in = 0; in < lines.size(); ++in) {
        const char c = lines[in];
        if (c == '\r' && in + 1 < lines.size() && lines[in + 1] == '\n')
            continue; // the LF after it writes the pair
        if (length + (c == '\n' ? 2 : 1) > capacity)
            return capacity + 1;
        if (c == '\n')
            out[length++] = '\r';
        out[length++] = c;
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

} // namespace fortunes
