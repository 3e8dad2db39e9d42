#include "engine/TextFileEncoding.h"

#include "engine/FileOpening.h"
#include "engine/IoFailure.h"
#include "base/AsciiText.h"
#include "base/CodePages.h"

#include <windows.h>

#include <array>

namespace {

constexpr std::string_view Utf8Mark = "\xEF\xBB\xBF";
constexpr std::string_view Utf16LeMark = "\xFF\xFE";
constexpr std::string_view Utf16BeMark = "\xFE\xFF";
constexpr std::string_view Utf32LeMark("\xFF\xFE\x00\x00", 4);
constexpr std::string_view Utf32BeMark("\x00\x00\xFE\xFF", 4);

// The bytes without a UTF-8 sequence that was cut off at their end.
std::string_view WithoutCutSequence(std::string_view bytes)
{
    std::size_t continuations = 0;
    while (continuations < 3 && continuations < bytes.size() &&
           (static_cast<unsigned char>(bytes[bytes.size() - 1 - continuations]) & 0xC0) == 0x80)
        ++continuations;
    if (continuations == bytes.size())
        return bytes;
    const auto lead = static_cast<unsigned char>(bytes[bytes.size() - 1 - continuations]);
    const std::size_t length = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
    return length > continuations + 1 ? bytes.substr(0, bytes.size() - 1 - continuations) : bytes;
}

// The charset an HTML file declares ("<meta charset=utf-8>", or in the http-equiv form
// "content=\"text/html; charset=utf-8\""), in ASCII capitals; empty when none.
std::string DeclaredCharset(std::string_view html)
{
    const std::string upper = base::AsciiUpperCase(html);
    constexpr std::string_view Charset = "CHARSET";
    for (std::size_t at = upper.find(Charset); at != std::string::npos; at = upper.find(Charset, at + 1)) {
        std::size_t i = at + Charset.size();
        while (i < upper.size() && upper[i] == ' ')
            ++i;
        if (i >= upper.size() || upper[i] != '=')
            continue;
        ++i;
        while (i < upper.size() && (upper[i] == ' ' || upper[i] == '"' || upper[i] == '\''))
            ++i;
        std::size_t end = i;
        while (end < upper.size() && upper[end] != '"' && upper[end] != '\'' && upper[end] != ' ' &&
               upper[end] != ';' && upper[end] != '>' && upper[end] != '/')
            ++end;
        if (end > i)
            return upper.substr(i, end - i);
    }
    return {};
}

constexpr std::array<std::pair<TextFileEncoding, const char*>, 5> EncodingNames = {{
    {TextFileEncoding::Ansi, "ANSI"},
    {TextFileEncoding::Utf8, "UTF-8"},
    {TextFileEncoding::Utf8WithMark, "UTF-8 BOM"},
    {TextFileEncoding::Utf16LeWithMark, "UTF-16LE"},
    {TextFileEncoding::Utf16BeWithMark, "UTF-16BE"},
}};

std::string Utf16Bytes(std::wstring_view wide, std::string_view mark, bool bigEndian)
{
    std::string bytes(mark);
    bytes.reserve(bytes.size() + 2 * wide.size());
    for (const wchar_t unit : wide) {
        const char low = static_cast<char>(unit & 0xFF);
        const char high = static_cast<char>((unit >> 8) & 0xFF);
        bytes += bigEndian ? high : low;
        bytes += bigEndian ? low : high;
    }
    return bytes;
}

} // namespace

std::optional<TextFileEncoding> EncodingShownBy(std::string_view bytes, bool complete, bool html)
{
    // The UTF-32 marks first: the little-endian one starts with UTF-16's.
    if (bytes.starts_with(Utf32LeMark) || bytes.starts_with(Utf32BeMark))
        return TextFileEncoding::Utf32;
    if (bytes.starts_with(Utf8Mark))
        return TextFileEncoding::Utf8WithMark;
    if (bytes.starts_with(Utf16LeMark))
        return TextFileEncoding::Utf16LeWithMark;
    if (bytes.starts_with(Utf16BeMark))
        return TextFileEncoding::Utf16BeWithMark;
    const std::string_view judged = complete ? bytes : WithoutCutSequence(bytes);
    if (!base::IsAscii(judged))
        return base::IsUtf8(judged) ? TextFileEncoding::Utf8 : TextFileEncoding::Ansi;
    if (html) {
        const std::string charset = DeclaredCharset(judged);
        if (charset == "UTF-8" || charset == "UTF8")
            return TextFileEncoding::Utf8;
        if (!charset.empty())
            return TextFileEncoding::Ansi;
    }
    return std::nullopt;
}

TextFileEncoding EncodingOfBytes(std::string_view bytes, bool complete)
{
    return EncodingShownBy(bytes, complete).value_or(TextFileEncoding::Ansi);
}

std::optional<TextFileEncoding> EncodingShownByFile(const std::string& path, bool html)
{
    base::FileHandle file;
    try {
        file = OpenFile(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, OPEN_EXISTING,
                        false);
    } catch (const IoFailure&) {
        // Missing, a folder, or held by someone: the open for writing that follows meets the
        // same cause and reports it; a missing file it makes new.
        return std::nullopt;
    }
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file.Get(), &size))
        return std::nullopt; // not a file with a size: written as it always was
    const bool complete = static_cast<unsigned long long>(size.QuadPart) <= EncodingSampleSize;
    std::string bytes(complete ? static_cast<std::size_t>(size.QuadPart) : EncodingSampleSize, '\0');
    std::size_t filled = 0;
    while (filled < bytes.size()) {
        DWORD read = 0;
        if (!ReadFile(file.Get(), bytes.data() + filled, static_cast<DWORD>(bytes.size() - filled), &read, nullptr))
            return std::nullopt; // unreadable content: written as it always was
        if (read == 0)
            break; // cut short meanwhile: what is left is the whole file
        filled += read;
    }
    return EncodingShownBy(std::string_view(bytes).substr(0, filled), complete || filled < bytes.size(), html);
}

TextFileEncoding EncodingOfFile(const std::string& path)
{
    return EncodingShownByFile(path).value_or(TextFileEncoding::Ansi);
}

const char* EncodingName(TextFileEncoding encoding) noexcept
{
    for (const auto& [named, name] : EncodingNames)
        if (named == encoding)
            return name;
    return "";
}

std::optional<TextFileEncoding> EncodingNamed(std::string_view name) noexcept
{
    for (const auto& [encoding, named] : EncodingNames)
        if (name == named)
            return encoding;
    return std::nullopt;
}

std::string EncodedText(std::string_view ansi, TextFileEncoding encoding, unsigned codePage)
{
    if (encoding == TextFileEncoding::Ansi)
        return std::string(ansi);
    return EncodedText(base::ToWide(ansi, codePage), encoding, codePage);
}

std::string EncodedText(std::wstring_view text, TextFileEncoding encoding, unsigned codePage)
{
    switch (encoding) {
    case TextFileEncoding::Ansi:
    case TextFileEncoding::Utf32: break; // never written: the writer refuses such a file
    case TextFileEncoding::Utf8: return base::WideToUtf8(text);
    case TextFileEncoding::Utf8WithMark: return std::string(Utf8Mark) + base::WideToUtf8(text);
    case TextFileEncoding::Utf16LeWithMark: return Utf16Bytes(text, Utf16LeMark, false);
    case TextFileEncoding::Utf16BeWithMark: return Utf16Bytes(text, Utf16BeMark, true);
    }
    return base::ShownInAnsi(text, codePage);
}
