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

// Whether the composed text starts with the delimiter line, and whether Thunderbird reads the
// file. Thunderbird puts its own "-- " line above a signature unless it finds one: at the very
// start of the text it decoded, or after a line break (in an HTML file, in the raw markup).
enum class DelimiterLine {
    None,                // the delimiter is off: the text is written as it is
    First,               // the text starts with "-- " CR LF
    FirstForThunderbird, // the same, in a file one of Thunderbird's identities names
};

// The composed text (lines separated by CR LF, characters in the given ANSI code page) as
// the file of that format and encoding holds it. Plain text is the text itself, in ANSI byte
// for byte. HTML declares the charset it is written in; RTF carries its own escapes, so its
// document is plain ASCII without a mark, whatever the encoding the file had. With the
// delimiter first, HTML writes it as a line of its own in the markup, for every reader (see
// HtmlSignature); plain text for Thunderbird in an encoding whose mark it keeps as a
// character (UTF-16) starts with a line break, so that the delimiter follows one instead of
// the mark.
std::string SignatureInFormat(SignatureFormat format, const std::string& text, unsigned codePage,
                              TextFileEncoding encoding, DelimiterLine delimiter = DelimiterLine::None);
// The same for wide text, which may hold characters the code page lacks (a song's title):
// exact in UTF-8 and UTF-16, as character references in HTML written in the code page, as
// \u escapes in RTF, and as "?" in plain ANSI text.
std::string SignatureInFormat(SignatureFormat format, const std::wstring& text, unsigned codePage,
                              TextFileEncoding encoding, DelimiterLine delimiter = DelimiterLine::None);

// An HTML fragment that shows exactly the text: a declaration of the given charset, the
// markup characters as entities, every line break as <br>, and blanks that a browser would
// collapse or drop as &nbsp;. When the text starts with the delimiter line and delimiterFirst
// says it is one, the delimiter is written as Thunderbird writes its own, "-- " before <br>,
// on a line of its own after the declaration, where Thunderbird's search of the markup finds
// it; a browser shows it as "--" either way, the blank before a line's end being folded.
std::string HtmlSignature(const std::string& text, const std::string& charset, bool delimiterFirst = false);
// The same without the charset declaration: what goes into a document that declares its own
// (the clipboard's HTML).
std::string HtmlSignatureBody(const std::string& text, bool delimiterFirst = false);

// A minimal RTF document with one font in the code page's character set: RTF's own
// characters escaped, bytes above 127 as \'hh (a double-byte character as two of them),
// every line break as \par.
std::string RichTextSignature(const std::string& text, unsigned codePage);
// The same for wide text: a character the code page lacks as a \u escape with "?" for a
// reader that knows none.
std::string RichTextSignature(const std::wstring& text, unsigned codePage);
