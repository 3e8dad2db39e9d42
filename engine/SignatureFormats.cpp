#include "engine/SignatureFormats.h"
#include "base/PathParts.h"

#include "base/AsciiText.h"
#include "base/CodePages.h"

#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <optional>

namespace {

template <typename Char>
bool IsLineBreak(Char c)
{
    return c == '\r' || c == '\n';
}

// One line break, CR LF or a lone CR or LF, starting at i: how many characters it takes.
template <typename Text>
std::size_t LineBreakAt(const Text& text, std::size_t i)
{
    if (!IsLineBreak(text[i]))
        return 0;
    return text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n' ? 2 : 1;
}

// The name a browser knows the file's encoding by. The Windows code pages 1250 to 1258 go
// by their Windows names; so does any other, as the best guess left.
std::string HtmlCharsetName(TextFileEncoding encoding, unsigned codePage)
{
    switch (encoding) {
    case TextFileEncoding::Utf8:
    case TextFileEncoding::Utf8WithMark: return "utf-8";
    case TextFileEncoding::Utf16LeWithMark:
    case TextFileEncoding::Utf16BeWithMark: return "utf-16";
    case TextFileEncoding::Ansi:
    case TextFileEncoding::Utf32: break;
    }
    switch (codePage) {
    case 874: return "windows-874";
    case 932: return "shift_jis";
    case 936: return "gbk";
    case 949: return "euc-kr";
    case 950: return "big5";
    case 65001: return "utf-8";
    default: return "windows-" + std::to_string(codePage);
    }
}

// RTF readers take the bytes of \'hh by the font's character set, not by \ansicpg alone.
int FontCharsetOf(unsigned codePage)
{
    switch (codePage) {
    case 874: return THAI_CHARSET;
    case 932: return SHIFTJIS_CHARSET;
    case 936: return GB2312_CHARSET;
    case 949: return HANGUL_CHARSET;
    case 950: return CHINESEBIG5_CHARSET;
    case 1250: return EASTEUROPE_CHARSET;
    case 1251: return RUSSIAN_CHARSET;
    case 1252: return ANSI_CHARSET;
    case 1253: return GREEK_CHARSET;
    case 1254: return TURKISH_CHARSET;
    case 1255: return HEBREW_CHARSET;
    case 1256: return ARABIC_CHARSET;
    case 1257: return BALTIC_CHARSET;
    case 1258: return VIETNAMESE_CHARSET;
    case 1361: return JOHAB_CHARSET;
    default: return DEFAULT_CHARSET;
    }
}

// A blank stays a blank only where a browser keeps it: after something visible on its line
// and before something visible. At a line's start or end, or beside a tab or line break
// that the browser folds into it, it would vanish.
template <typename Text>
bool KeepsLiteralBlank(const Text& text, std::size_t i)
{
    const auto foldedWithIt = [](auto c) { return c == ' ' || c == '\t' || c == '\f' || IsLineBreak(c); };
    const bool visibleBefore = i > 0 && text[i - 1] != '\t' && text[i - 1] != '\f' && !IsLineBreak(text[i - 1]);
    const bool visibleAfter = i + 1 < text.size() && !foldedWithIt(text[i + 1]);
    return visibleBefore && visibleAfter; // a blank before it is written as &nbsp;
}

void AppendByteEscape(std::string& rtf, unsigned char byte)
{
    char escape[5];
    std::snprintf(escape, sizeof escape, "\\'%02x", byte);
    rtf += escape;
}

// Thunderbird decodes a UTF-8 file with its mark taken off, but keeps any other mark as a
// character in front of the text, where it hides a delimiter that follows it.
bool MarkKeptByThunderbird(TextFileEncoding encoding)
{
    return encoding != TextFileEncoding::Ansi && encoding != TextFileEncoding::Utf8 &&
           encoding != TextFileEncoding::Utf8WithMark;
}

constexpr std::string_view DelimiterText = "-- \r\n";

template <typename Text>
bool StartsWithDelimiter(const Text& text)
{
    return text.size() >= DelimiterText.size() && std::equal(DelimiterText.begin(), DelimiterText.end(), text.begin());
}

// The markup of the text alone. With the delimiter first, it goes as Thunderbird writes its
// own: "-- " before <br>, on a line of its own, where Thunderbird's search of the markup finds
// it; a browser shows it as "--" either way, the blank before a line's end being folded.
template <typename Text>
Text HtmlBody(const Text& text, bool delimiterFirst)
{
    Text html;
    const auto append = [&html](std::string_view ascii) { html.append(ascii.begin(), ascii.end()); };
    std::size_t start = 0;
    if (delimiterFirst && StartsWithDelimiter(text)) {
        append("\r\n-- \r\n<br>");
        start = DelimiterText.size();
    }
    for (std::size_t i = start; i < text.size(); ++i) {
        if (const std::size_t lineBreak = LineBreakAt(text, i)) {
            append("<br>");
            i += lineBreak - 1;
            continue;
        }
        switch (text[i]) {
        case '&': append("&amp;"); break;
        case '<': append("&lt;"); break;
        case '>': append("&gt;"); break;
        case '"': append("&quot;"); break;
        case ' ': append(KeepsLiteralBlank(text, i) ? " " : "&nbsp;"); break;
        default: html += text[i]; break;
        }
    }
    return html;
}

template <typename Text>
Text HtmlMarkup(const Text& text, const std::string& charset, bool delimiterFirst)
{
    // Nothing else a client would show: no document, head or body of its own, since a
    // client puts the fragment into the message's own body. The declaration stays first,
    // where every reader looks for it, even behind a mark.
    const std::string meta = "<meta charset=\"" + charset + "\">";
    Text html(meta.begin(), meta.end());
    html += HtmlBody(text, delimiterFirst);
    return html;
}

// One character of wide text from i: a UTF-16 unit, or both units of a surrogate pair.
std::wstring_view CharacterAt(std::wstring_view text, std::size_t i)
{
    const bool pair = text[i] >= 0xD800 && text[i] < 0xDC00 && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
                      text[i + 1] < 0xE000;
    return text.substr(i, pair ? 2 : 1);
}

unsigned CodePointOf(std::wstring_view character)
{
    if (character.size() == 2)
        return 0x10000 + ((static_cast<unsigned>(character[0]) - 0xD800) << 10) +
               (static_cast<unsigned>(character[1]) - 0xDC00);
    return character[0];
}

// HTML markup in the code page: a character it lacks goes as a character reference, which
// every browser reads whatever the charset.
std::string HtmlInCodePage(std::wstring_view html, unsigned codePage)
{
    std::string bytes;
    bytes.reserve(html.size());
    for (std::size_t i = 0; i < html.size();) {
        const std::wstring_view character = CharacterAt(html, i);
        i += character.size();
        if (character[0] < 0x80) {
            bytes += static_cast<char>(character[0]);
        } else if (const std::optional<std::string> inCodePage = base::WideToAnsi(character, codePage)) {
            bytes += *inCodePage;
        } else {
            bytes += "&#" + std::to_string(CodePointOf(character)) + ";";
        }
    }
    return bytes;
}

std::string RichTextHeader(unsigned codePage)
{
    return "{\\rtf1\\ansi\\ansicpg" + std::to_string(codePage) + "\\deff0{\\fonttbl{\\f0\\fswiss\\fcharset" +
           std::to_string(FontCharsetOf(codePage)) + " Arial;}}\r\n";
}

// Text in the code page with RTF's own characters escaped, bytes above 127 as \'hh (a
// double-byte character as two of them), every line break as \par.
void AppendRichText(std::string& rtf, const std::string& text, unsigned codePage)
{
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (const std::size_t lineBreak = LineBreakAt(text, i)) {
            // The reader ignores the source's own line break; it only keeps the file readable.
            rtf += "\\par\r\n";
            i += lineBreak - 1;
            continue;
        }
        const auto byte = static_cast<unsigned char>(text[i]);
        if (byte == '\\' || byte == '{' || byte == '}') {
            rtf += '\\';
            rtf += text[i];
        } else if (byte == '\t') {
            rtf += "\\tab ";
        } else if (byte >= 0x80 || byte < 0x20) {
            AppendByteEscape(rtf, byte);
            // A double-byte character's second byte may be a backslash or a brace; written
            // as such it would end the character, so it is escaped like the first.
            if (byte >= 0x80 && i + 1 < text.size() && !IsLineBreak(text[i + 1]) &&
                IsDBCSLeadByteEx(codePage, byte))
                AppendByteEscape(rtf, static_cast<unsigned char>(text[++i]));
        } else {
            rtf += text[i];
        }
    }
}

} // namespace

SplitPath SplitExtension(const std::string& path)
{
    std::size_t end = path.size();
    while (end > 0 && (path[end - 1] == '.' || path[end - 1] == ' '))
        --end;
    const std::string_view extension = base::ExtensionPart(std::string_view(path).substr(0, end));
    return {path.substr(0, end - extension.size()), std::string(extension)};
}

SignatureFormat FormatOfExtension(std::string_view extension)
{
    if (base::AsciiEqualNoCase(extension, ".htm") || base::AsciiEqualNoCase(extension, ".html"))
        return SignatureFormat::Html;
    if (base::AsciiEqualNoCase(extension, ".rtf"))
        return SignatureFormat::RichText;
    return SignatureFormat::PlainText;
}

std::string SignatureInFormat(SignatureFormat format, const std::string& text, unsigned codePage,
                              TextFileEncoding encoding, DelimiterLine delimiter)
{
    // Plain text in ANSI is the text itself, byte for byte.
    if (format == SignatureFormat::PlainText && encoding == TextFileEncoding::Ansi)
        return text;
    return SignatureInFormat(format, base::ToWide(text, codePage), codePage, encoding, delimiter);
}

std::string SignatureInFormat(SignatureFormat format, const std::wstring& text, unsigned codePage,
                              TextFileEncoding encoding, DelimiterLine delimiter)
{
    switch (format) {
    case SignatureFormat::Html: {
        const std::wstring html =
            HtmlMarkup(text, HtmlCharsetName(encoding, codePage), delimiter != DelimiterLine::None);
        return encoding == TextFileEncoding::Ansi ? HtmlInCodePage(html, codePage)
                                                  : EncodedText(html, encoding, codePage);
    }
    // A reader takes RTF as 7-bit text with escapes, whatever the file held before: a mark
    // or UTF-16 would make it no RTF at all.
    case SignatureFormat::RichText: return RichTextSignature(text, codePage);
    case SignatureFormat::PlainText: break;
    }
    // An empty first line, which other readers would show: only where Thunderbird reads.
    if (delimiter == DelimiterLine::FirstForThunderbird && MarkKeptByThunderbird(encoding))
        return EncodedText(L"\r\n" + text, encoding, codePage);
    return EncodedText(text, encoding, codePage);
}

std::string HtmlSignature(const std::string& text, const std::string& charset, bool delimiterFirst)
{
    return HtmlMarkup(text, charset, delimiterFirst);
}

std::string HtmlSignatureBody(const std::string& text, bool delimiterFirst)
{
    return HtmlBody(text, delimiterFirst);
}

std::string RichTextSignature(const std::string& text, unsigned codePage)
{
    std::string rtf = RichTextHeader(codePage);
    AppendRichText(rtf, text, codePage);
    rtf += '}';
    return rtf;
}

std::string RichTextSignature(const std::wstring& text, unsigned codePage)
{
    std::string rtf = RichTextHeader(codePage);
    for (std::size_t i = 0; i < text.size();) {
        if (const std::size_t lineBreak = LineBreakAt(text, i)) {
            rtf += "\\par\r\n";
            i += lineBreak;
            continue;
        }
        const std::wstring_view character = CharacterAt(text, i);
        i += character.size();
        if (character[0] < 0x80) {
            AppendRichText(rtf, std::string(1, static_cast<char>(character[0])), codePage);
        } else if (const std::optional<std::string> bytes = base::WideToAnsi(character, codePage)) {
            AppendRichText(rtf, *bytes, codePage);
        } else {
            // Beyond the font's code page: each UTF-16 unit as a signed 16-bit \u, with "?"
            // for a reader that knows no \u (one character to skip, the default \uc1).
            for (const wchar_t unit : character)
                rtf += "\\u" + std::to_string(static_cast<std::int16_t>(static_cast<std::uint16_t>(unit))) + "?";
        }
    }
    rtf += '}';
    return rtf;
}
