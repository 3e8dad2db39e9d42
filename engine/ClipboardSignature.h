#pragma once
#include <string>

// The composed signature in the forms a clipboard offers it in, so that a rich editor pastes
// it formatted and a plain box as text, each with the same characters. The HTML and the rich
// text come from the code that writes .htm and .rtf signature files, so line breaks, blanks
// and escaping are those of the files.
struct ClipboardSignature {
    std::string ansiText;     // the text itself, in the ANSI code page
    std::wstring unicodeText; // the same characters as UTF-16
    std::string html;         // the "HTML Format" description and document, in UTF-8
    std::string richText;     // a "Rich Text Format" document, plain ASCII
};

// text: the composed signature (CR LF, characters in codePage).
// delimiterFirst: the text starts with the delimiter line, which HTML writes as .htm files do.
ClipboardSignature ClipboardFormsOf(const std::string& text, unsigned codePage, bool delimiterFirst = false);

// The clipboard's HTML for a fragment in UTF-8: the description of byte offsets (StartHTML,
// EndHTML, StartFragment, EndFragment, each counted from the first byte) followed by a
// document declaring UTF-8 whose body holds exactly the fragment between its markers.
std::string ClipboardHtmlDocument(const std::string& fragmentUtf8);
