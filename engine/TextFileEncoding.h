#pragma once
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

// The encodings a signature file keeps when it is rewritten. The program composes its text in
// the ANSI code page (a playing song's title may hold more); a file that its mail client (or
// its user) keeps in UTF-8 or UTF-16 gets the same characters in that encoding, so an
// accented letter arrives as written.
enum class TextFileEncoding {
    Ansi,            // the code page's own bytes: a new, empty or pure-ASCII file, or any other
    Utf8,            // no mark, but valid UTF-8 holding at least one character beyond ASCII
    Utf8WithMark,    // starts with EF BB BF
    Utf16LeWithMark, // starts with FF FE
    Utf16BeWithMark, // starts with FE FF
    Utf32,           // starts with FF FE 00 00 or 00 00 FE FF: none this program writes
};

// How much of a file is looked at: a signature is far shorter, and a longer file is judged by
// its start.
inline constexpr std::size_t EncodingSampleSize = 64 * 1024;

// What a file's first bytes tell of its encoding: a mark, characters beyond ASCII (valid
// UTF-8 or not), or in an HTML file the charset it declares. Nothing when they tell nothing,
// as pure ASCII without a declaration reads the same in every encoding the program writes.
// complete says whether they are the whole file; when they are not, a UTF-8 sequence cut off
// at their end does not count against them.
std::optional<TextFileEncoding> EncodingShownBy(std::string_view bytes, bool complete, bool html = false);

// The encoding told by a file's first bytes, ANSI when they tell nothing.
TextFileEncoding EncodingOfBytes(std::string_view bytes, bool complete);

// What the file as it is now tells of its encoding (EncodingShownBy), read while others may
// go on using it. A missing file tells nothing; nor does one that cannot be read, whose write
// then reports what is wrong.
std::optional<TextFileEncoding> EncodingShownByFile(const std::string& path, bool html = false);
// The same, ANSI when the file tells nothing.
TextFileEncoding EncodingOfFile(const std::string& path);

// The names an encoding is kept under with the settings ("ANSI", "UTF-8", "UTF-8 BOM",
// "UTF-16LE", "UTF-16BE"), and back; nothing for a name that is none of these.
const char* EncodingName(TextFileEncoding encoding) noexcept;
std::optional<TextFileEncoding> EncodingNamed(std::string_view name) noexcept;

// The file's bytes for a text in the given ANSI code page: the mark first where the encoding
// has one, then every character converted; nothing is dropped or replaced.
std::string EncodedText(std::string_view ansi, TextFileEncoding encoding, unsigned codePage);
// The same for wide text, which may hold characters the code page lacks: in ANSI each of
// those becomes "?", as no look-alike is put in a character's place.
std::string EncodedText(std::wstring_view text, TextFileEncoding encoding, unsigned codePage);
