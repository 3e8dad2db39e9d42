#pragma once
#include <windows.h>

#include <optional>
#include <string>
#include <string_view>

// Conversions between the ANSI code page the program's text is in, UTF-8 (fortune files, the
// mail clients' settings, signature files saved as UTF-8) and wide characters (a console,
// UTF-16 files).
namespace base {

// True when every byte is below 128: the same text in UTF-8 and in any ANSI code page.
bool IsAscii(std::string_view bytes);

// True when the bytes are well-formed UTF-8 (plain ASCII is).
bool IsUtf8(std::string_view bytes);

// The wide characters of bytes in the given code page (CP_ACP, CP_UTF8, ...). Bytes the code
// page does not define come out as the system's replacement character; a code page the
// system does not know throws.
std::wstring ToWide(std::string_view bytes, UINT codePage);

// The text in the ANSI code page (or another one), or nothing when a character has no form
// there: no look-alike is put in its place, so a text is taken whole or not at all.
std::optional<std::string> WideToAnsi(std::wstring_view text, UINT codePage = CP_ACP);
std::optional<std::string> Utf8ToAnsi(std::string_view utf8);

std::string WideToUtf8(std::wstring_view text);
std::string AnsiToUtf8(std::string_view ansi);

// The text in the ANSI code page (or another one) for a message or a file that can hold no
// more, a "?" in place of each character it lacks.
std::string ShownInAnsi(std::wstring_view text, UINT codePage = CP_ACP);

} // namespace base
