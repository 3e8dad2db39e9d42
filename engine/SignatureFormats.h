#pragma once
#include "engine/TextFileEncoding.h"

#include <string>
#include <string_view>

// How a signature file is read by the mail client that uses it, told by its extension.
enum class SignatureFormat { PlainText, Html, RichText };

// A path cut before its extension's dot. Windows drops trailing dots and blanks from a file
// name, so "sig.htm." names sig.htm and is cut there; a dot in a folder's name is no
// extension. extension is as written, with its dot, empty when none.
struct SplitPath {
    std::string stem;
    std::string extension;
};
SplitPath SplitExtension(const std::string& path);

// .htm and .html are HTML, .rtf rich text, everything else plain text; the extension as
// SplitExtension gives it, with its dot.
SignatureFormat FormatOfExtension(std::string_view extension);

// The composed text (lines separated by CR LF, characters in the given ANSI code page) as
// the file of that format and encoding holds it. Plain text is the text itself, in ANSI byte
// for byte. HTML declares the charset it is written in; RTF carries its own escapes, so its
// document is plain ASCII without a mark, whatever the encoding the file had.
std::string SignatureInFormat(SignatureFormat format, const std::string& text, unsigned codePage,
                              TextFileEncoding encoding);
// The same for wide text, which may hold characters the code page lacks (a song's title):
// exact in UTF-8 and UTF-16, as character references in HTML written in the code page, as
// \u escapes in RTF, and as "?" in plain ANSI text.
std::string SignatureInFormat(SignatureFormat format, const std::wstring& text, unsigned codePage,
                              TextFileEncoding encoding);

// An HTML fragment that shows exactly the text: a declaration of the given charset, the
// markup characters as entities, every line break as <br>, and blanks that a browser would
// collapse or drop as &nbsp;.
std::string HtmlSignature(const std::string& text, const std::string& charset);

// A minimal RTF document with one font in the code page's character set: RTF's own
// characters escaped, bytes above 127 as \'hh (a double-byte character as two of them),
// every line break as \par.
std::string RichTextSignature(const std::string& text, unsigned codePage);
// The same for wide text: a character the code page lacks as a \u escape with "?" for a
// reader that knows none.
std::string RichTextSignature(const std::wstring& text, unsigned codePage);
