#pragma once
#include <cstddef>
#include <string>
#include <string_view>

// The encodings a signature file keeps when it is rewritten. The program composes its text in
// the ANSI code page; a file that its mail client (or its user) keeps in UTF-8 or UTF-16 gets
// the same characters in that encoding, so an accented letter arrives as written.
enum class TextFileEncoding {
    Ansi,            // the code page's own bytes: a new, empty or pure-ASCII file, or any other
    Utf8,            // no mark, but valid UTF-8 holding at least one character beyond ASCII
    Utf8WithMark,    // starts with EF BB BF
    Utf16LeWithMark, // starts with FF FE
};

// How much of a file is looked at: a signature is far shorter, and a longer file is judged by
// its start.
inline constexpr std::size_t EncodingSampleSize = 64 * 1024;

// The encoding told by a file's first bytes. complete says whether they are the whole file;
// when they are not, a UTF-8 sequence cut off at their end does not count against them.
TextFileEncoding EncodingOfBytes(std::string_view bytes, bool complete);

// The encoding of the file as it is now, read while others may go on using it. A missing file
// is a new one (ANSI); so is one that cannot be read, whose write then reports what is wrong.
TextFileEncoding EncodingOfFile(const std::string& path);

// The file's bytes for a text in the given ANSI code page: the mark first where the encoding
// has one, then every character converted; nothing is dropped or replaced.
std::string EncodedText(std::string_view ansi, TextFileEncoding encoding, unsigned codePage);
