#include "base/CodePages.h"

#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstring>
#include <stdexcept>
#include <string>

namespace base {

namespace {

// The conversion calls count in int; no signature text or fortune file comes near that.
int CheckedLength(std::size_t size)
{
    if (size > static_cast<std::size_t>(INT_MAX))
        throw std::length_error("The text is too long to convert.");
    return static_cast<int>(size);
}

} // namespace

bool IsAscii(std::string_view bytes)
{
    // Eight bytes at a time: a whole collection of fortune files goes through here.
    std::size_t i = 0;
    for (std::uint64_t word; i + sizeof word <= bytes.size(); i += sizeof word) {
        std::memcpy(&word, bytes.data() + i, sizeof word);
        if (word & 0x8080808080808080u)
            return false;
    }
    return std::all_of(bytes.begin() + i, bytes.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

bool IsUtf8(std::string_view bytes)
{
    // Plain ASCII is UTF-8; most fortune files are, and this is the cheaper test.
    if (IsAscii(bytes))
        return true;
    return MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, bytes.data(), CheckedLength(bytes.size()), nullptr,
                               0) != 0;
}

std::wstring ToWide(std::string_view bytes, UINT codePage)
{
    if (bytes.empty())
        return {};
    const int length = CheckedLength(bytes.size());
    const int needed = MultiByteToWideChar(codePage, 0, bytes.data(), length, nullptr, 0);
    // Without MB_ERR_INVALID_CHARS the call fails only for an unknown code page; an empty
    // answer would silently lose the whole text.
    if (needed == 0)
        throw std::runtime_error("Code page " + std::to_string(codePage) + " is not installed.");
    std::wstring text(static_cast<std::size_t>(needed), L'\0');
    MultiByteToWideChar(codePage, 0, bytes.data(), length, text.data(), needed);
    return text;
}

std::optional<std::string> WideToAnsi(std::wstring_view text, UINT codePage)
{
    if (text.empty())
        return std::string();
    // UTF-8 holds every character, and takes neither flags nor a default character.
    if (codePage == CP_UTF8)
        return WideToUtf8(text);
    const int length = CheckedLength(text.size());
    BOOL usedDefault = FALSE;
    const int needed =
        WideCharToMultiByte(codePage, WC_NO_BEST_FIT_CHARS, text.data(), length, nullptr, 0, nullptr, &usedDefault);
    if (needed == 0 || usedDefault)
        return std::nullopt;
    std::string ansi(static_cast<std::size_t>(needed), '\0');
    WideCharToMultiByte(codePage, WC_NO_BEST_FIT_CHARS, text.data(), length, ansi.data(), needed, nullptr,
                        &usedDefault);
    if (usedDefault)
        return std::nullopt;
    return ansi;
}

std::optional<std::string> Utf8ToAnsi(std::string_view utf8)
{
    return WideToAnsi(ToWide(utf8, CP_UTF8));
}

std::string WideToUtf8(std::wstring_view wide)
{
    if (wide.empty())
        return {};
    const int length = CheckedLength(wide.size());
    const int needed = WideCharToMultiByte(CP_UTF8, 0, wide.data(), length, nullptr, 0, nullptr, nullptr);
    std::string utf8(static_cast<std::size_t>(needed), '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide.data(), length, utf8.data(), needed, nullptr, nullptr);
    return utf8;
}

std::string AnsiToUtf8(std::string_view ansi)
{
    return WideToUtf8(ToWide(ansi, CP_ACP));
}

std::string ShownInAnsi(std::wstring_view text, UINT codePage)
{
    if (text.empty())
        return {};
    if (codePage == CP_UTF8)
        return WideToUtf8(text);
    const int length = CheckedLength(text.size());
    const int needed =
        WideCharToMultiByte(codePage, WC_NO_BEST_FIT_CHARS, text.data(), length, nullptr, 0, "?", nullptr);
    std::string shown(static_cast<std::size_t>(needed), '\0');
    WideCharToMultiByte(codePage, WC_NO_BEST_FIT_CHARS, text.data(), length, shown.data(), needed, "?", nullptr);
    return shown;
}

} // namespace base
