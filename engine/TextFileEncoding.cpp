#include "engine/TextFileEncoding.h"

#include "engine/FileOpening.h"
#include "engine/IoFailure.h"
#include "base/CodePages.h"

#include <windows.h>

namespace {

constexpr std::string_view Utf8Mark = "\xEF\xBB\xBF";
constexpr std::string_view Utf16LeMark = "\xFF\xFE";

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

} // namespace

TextFileEncoding EncodingOfBytes(std::string_view bytes, bool complete)
{
    if (bytes.starts_with(Utf8Mark))
        return TextFileEncoding::Utf8WithMark;
    if (bytes.starts_with(Utf16LeMark))
        return TextFileEncoding::Utf16LeWithMark;
    // Pure ASCII reads the same either way, and ANSI is what the file has always been given.
    const std::string_view judged = complete ? bytes : WithoutCutSequence(bytes);
    if (!base::IsAscii(judged) && base::IsUtf8(judged))
        return TextFileEncoding::Utf8;
    return TextFileEncoding::Ansi;
}

TextFileEncoding EncodingOfFile(const std::string& path)
{
    base::FileHandle file;
    try {
        file = OpenFile(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, OPEN_EXISTING,
                        false);
    } catch (const IoFailure&) {
        // Missing, a folder, or held by someone: the open for writing that follows meets the
        // same cause and reports it; for a missing file it makes a new one, which is ANSI.
        return TextFileEncoding::Ansi;
    }
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file.Get(), &size))
        return TextFileEncoding::Ansi; // not a file with a size: written as it always was
    const bool complete = static_cast<unsigned long long>(size.QuadPart) <= EncodingSampleSize;
    std::string bytes(complete ? static_cast<std::size_t>(size.QuadPart) : EncodingSampleSize, '\0');
    std::size_t filled = 0;
    while (filled < bytes.size()) {
        DWORD read = 0;
        if (!ReadFile(file.Get(), bytes.data() + filled, static_cast<DWORD>(bytes.size() - filled), &read, nullptr))
            return TextFileEncoding::Ansi; // unreadable content: written as it always was
        if (read == 0)
            break; // cut short meanwhile: what is left is the whole file
        filled += read;
    }
    return EncodingOfBytes(std::string_view(bytes).substr(0, filled), complete || filled < bytes.size());
}

std::string EncodedText(std::string_view ansi, TextFileEncoding encoding, unsigned codePage)
{
    switch (encoding) {
    case TextFileEncoding::Ansi: break;
    case TextFileEncoding::Utf8: return base::WideToUtf8(base::ToWide(ansi, codePage));
    case TextFileEncoding::Utf8WithMark: return std::string(Utf8Mark) + base::WideToUtf8(base::ToWide(ansi, codePage));
    case TextFileEncoding::Utf16LeWithMark: {
        const std::wstring wide = base::ToWide(ansi, codePage);
        std::string bytes(Utf16LeMark);
        bytes.reserve(bytes.size() + 2 * wide.size());
        for (const wchar_t unit : wide) {
            bytes += static_cast<char>(unit & 0xFF);
            bytes += static_cast<char>((unit >> 8) & 0xFF);
        }
        return bytes;
    }
    }
    return std::string(ansi);
}
