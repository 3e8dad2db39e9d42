#include "engine/SignatureFormats.h"
#include "base/PathParts.h"

#include "base/AsciiText.h"

#include <windows.h>

#include <cstdio>

namespace {

bool IsLineBreak(char c)
{
    return c == '\r' || c == '\n';
}

// One line break, CR LF or a lone CR or LF, starting at i: how many characters it takes.
std::size_t LineBreakAt(const std::string& text, std::size_t i)
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
    case TextFileEncoding::Utf16LeWithMark: return "utf-16";
    case TextFileEncoding::Ansi: break;
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
bool KeepsLiteralBlank(const std::string& text, std::size_t i)
{
    const auto foldedWithIt = [](char c) { return c == ' ' || c == '\t' || c == '\f' || IsLineBreak(c); };
    const bool visibleBefore = i > 0 && text[i - 1] != '\t' && text[i - 1] != '\f' && !IsLineBreak(text[i - 1]);
    const bool visibleAfter = i + 1 < text.size() && !foldedWithIt(text[i + 1]);
    return visibleBefore && visibleAfter; // a blank before it is written as &nbsp;
}

// Thunderbird decodes a UTF-8 file with its mark taken off, but keeps any other mark as a
// character in front of the text, where it hides a delimiter that follows it.
bool MarkKeptByThunderbird(TextFileEncoding encoding)
{
    return encoding != TextFileEncoding::Ansi && encoding != TextFileEncoding::Utf8 &&
           encoding != TextFileEncoding::Utf8WithMark;
}

constexpr std::string_view DelimiterText = "-- \r\n";

void AppendByteEscape(std::string& rtf, unsigned char byte)
{
    char escape[5];
    std::snprintf(escape, sizeof escape, "\\'%02x", byte);
    rtf += escape;
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
    switch (format) {
    case SignatureFormat::Html:
        return EncodedText(HtmlSignature(text, HtmlCharsetName(encoding, codePage), delimiter != DelimiterLine::None),
                           encoding, codePage);
    case SignatureFormat::RichText: return EncodedText(RichTextSignature(text, codePage), encoding, codePage);
    case SignatureFormat::PlainText: break;
    }
    // An empty first line, which other readers would show: only where Thunderbird reads.
    if (delimiter == DelimiterLine::FirstForThunderbird && MarkKeptByThunderbird(encoding))
        return EncodedText("\r\n" + text, encoding, codePage);
    return EncodedText(text, encoding, codePage);
}

std::string HtmlSignature(const std::string& text, const std::string& charset, bool delimiterFirst)
{
    // Nothing else a client would show: no document, head or body of its own, since a
    // client puts the fragment into the message's own body. The declaration stays first,
    // where every reader looks for it, even behind a mark.
    return "<meta charset=\"" + charset + "\">" + HtmlSignatureBody(text, delimiterFirst);
}

std::string HtmlSignatureBody(const std::string& text, bool delimiterFirst)
{
    if (delimiterFirst && text.starts_with(DelimiterText))
        return "\r\n-- \r\n<br>" + HtmlSignatureBody(text.substr(DelimiterText.size()), false);
    std::string html;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (const std::size_t lineBreak = LineBreakAt(text, i)) {
            html += "<br>";
            i += lineBreak - 1;
            continue;
        }
        switch (text[i]) {
        case '&': html += "&amp;"; break;
        case '<': html += "&lt;"; break;
        case '>': html += "&gt;"; break;
        case '"': html += "&quot;"; break;
        case ' ': html += KeepsLiteralBlank(text, i) ? " " : "&nbsp;"; break;
        default: html += text[i]; break;
        }
    }
    return html;
}

std::string RichTextSignature(const std::string& text, unsigned codePage)
{
    const std::string codePageNumber = std::to_string(codePage);
    std::string rtf = "{\\rtf1\\ansi\\ansicpg" + codePageNumber + "\\deff0{\\fonttbl{\\f0\\fswiss\\fcharset" +
                      std::to_string(FontCharsetOf(codePage)) + " Arial;}}\r\n";
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
    rtf += '}';
    return rtf;
}
