// Thunderbird puts its own "-- " line above a file signature unless it finds one there. The
// signature files Varnquill writes with its delimiter on must show exactly one, whatever the
// file's format, encoding and static text; and with the delimiter off, Thunderbird's alone.
#include "engine/SignatureWriter.h"

#include "EngineTestFiles.h"
#include "FixedRandom.h"
#include "WriterDoubles.h"
#include "tests/common/SignatureEncodings.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>

namespace {

using namespace std::string_literals;

std::wstring Decoded(const std::string& bytes, unsigned codePage, DWORD flags = 0)
{
    if (bytes.empty())
        return {};
    const int length = MultiByteToWideChar(codePage, flags, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(std::max(length, 0)), L'\0');
    if (length > 0)
        MultiByteToWideChar(codePage, flags, bytes.data(), static_cast<int>(bytes.size()), wide.data(), length);
    return wide;
}

// Thunderbird's rule, from ProcessSignature and LoadDataFromFile in
// mailnews/compose/src/nsMsgCompose.cpp, for a new message of an identity that attaches a
// signature file and keeps its separator:
// - the file is decoded as UTF-8 when its bytes up to the first NUL are valid UTF-8, its mark
//   removed (nsMsgI18NConvertToUnicode decodes UTF-8 with BOM removal); else as UTF-16 when
//   its length is even and it starts with FF FE or FE FF, its mark kept as a character
//   (decoded without BOM handling); else in the system's code page;
// - an HTML file (.htm) is taken as its raw markup, a text file gets CR LF at its end when it
//   does not end in a line break;
// - Thunderbird's own "-- " line, with CR LF (text) or <br> (HTML), goes above it unless the
//   text holds "\r-- \r", "\n-- \n" or "\n-- \r", or starts with "-- \n" or "-- \r".
std::wstring ThunderbirdProcessSignature(const std::string& bytes, bool html)
{
    const std::string beforeNul = bytes.substr(0, bytes.find('\0'));
    std::wstring signature;
    if (beforeNul.empty() || !Decoded(beforeNul, CP_UTF8, MB_ERR_INVALID_CHARS).empty()) {
        signature = Decoded(bytes, CP_UTF8);
        if (signature.starts_with(L'\xFEFF'))
            signature.erase(0, 1);
    } else if (bytes.size() % 2 == 0 && (bytes.starts_with("\xFF\xFE") || bytes.starts_with("\xFE\xFF"))) {
        for (std::size_t i = 0; i < bytes.size(); i += 2)
            signature += static_cast<wchar_t>(static_cast<unsigned char>(bytes[i]) |
                                              static_cast<unsigned char>(bytes[i + 1]) << 8);
    } else {
        signature = Decoded(bytes, CP_ACP);
    }
    if (!html && !signature.empty() && signature.back() != L'\r' && signature.back() != L'\n')
        signature += L"\r\n";
    const bool found = signature.find(L"\r-- \r") != std::wstring::npos ||
                       signature.find(L"\n-- \n") != std::wstring::npos ||
                       signature.find(L"\n-- \r") != std::wstring::npos || signature.starts_with(L"-- \n") ||
                       signature.starts_with(L"-- \r");
    return found ? signature : (html ? L"-- <br>" : L"-- \r\n") + signature;
}

// The delimiter lines a reader sees: in text, lines that are "-- "; in HTML, lines (ended by
// <br>) whose text, tags left out and white space folded, is "--". A mark shows as nothing.
int DelimiterLinesShown(const std::wstring& signature, bool html)
{
    std::wstring shown;
    for (std::size_t i = 0; i < signature.size(); ++i) {
        if (!html) {
            shown += signature[i];
        } else if (signature.compare(i, 4, L"<br>") == 0) {
            shown += L'\n';
            i += 3;
        } else if (signature.compare(i, 6, L"&nbsp;") == 0) {
            shown += L' ';
            i += 5;
        } else if (signature[i] == L'<') {
            i = std::min(signature.find(L'>', i), signature.size());
        } else {
            shown += signature[i] == L'\r' || signature[i] == L'\n' ? L' ' : signature[i];
        }
    }
    int lines = 0;
    std::size_t start = 0;
    while (start <= shown.size()) {
        const std::size_t end = std::min(shown.find_first_of(L"\r\n", start), shown.size());
        std::wstring line = shown.substr(start, end - start);
        std::erase(line, L'\xFEFF');
        if (html) {
            while (line.starts_with(L' '))
                line.erase(0, 1);
            while (line.ends_with(L' '))
                line.pop_back();
        }
        lines += line == (html ? L"--" : L"-- ");
        start = end + (shown.compare(end, 2, L"\r\n") == 0 ? 2 : 1);
    }
    return lines;
}

} // namespace

// The rule itself tells the two ways the files were written before apart from what it finds.
TEST(ThunderbirdProcessSignature, AddsItsOwnLineUnlessTheDelimiterStartsTheTextOrFollowsALineBreak)
{
    const struct {
        std::string bytes;
        bool html;
        int shown;
    } cases[] = {
        {"-- \r\nbody", false, 1},
        {"\xEF\xBB\xBF-- \r\nbody", false, 1}, // the UTF-8 mark is taken off
        {"static\r\n-- \r\nbody", false, 1},
        {"body", false, 1},
        {"\xFF\xFE-\0-\0 \0\r\0\n\0b\0"s, false, 2}, // behind the UTF-16 mark: not found
        {"<meta charset=\"utf-8\">--&nbsp;<br>body", true, 2},
        {"<meta charset=\"utf-8\">\r\n-- \r\n<br>body", true, 1},
    };
    for (const auto& c : cases)
        EXPECT_EQ(DelimiterLinesShown(ThunderbirdProcessSignature(c.bytes, c.html), c.html), c.shown) << c.bytes;
}

TEST(ThunderbirdProcessSignature, FindsExactlyOneDelimiterInEverySignatureFileWritten)
{
    using namespace encodings;
    const std::pair<const char*, std::string> seeds[] = {
        {"ANSI", "caf\xe9"},
        {"UTF-8", "caf\xC3\xA9"},
        {"UTF-8 with its mark", Utf8Mark + "caf\xC3\xA9"},
        {"UTF-16", Utf16Mark + "c\0a\0f\0\xE9\0"s},
    };
    enum Place { None, Above, Below };
    TempDir dir;
    TestSettings settings;
    RecordingSink sink;
    SignatureDatabase db;
    FixedRandom random{{}};
    SignatureWriter writer{db, settings, sink, random};
    settings.staticText = "Static\r\ntext";
    for (const char* extension : {".txt", ".htm"}) {
        const bool html = extension == std::string(".htm");
        const std::string thunderbirds = dir.File("thunderbird"s + extension);
        const std::string others = dir.File("other"s + extension);
        settings.thunderbirdFiles = {thunderbirds};
        for (const auto& [encoding, seed] : seeds) {
            for (const Place place : {None, Above, Below}) {
                for (const bool delimiter : {true, false}) {
                    settings.delimiter = delimiter;
                    settings.staticOn = place != None;
                    settings.staticAbove = place == Above;
                    const std::string what = extension + " "s + encoding + " static " +
                                             (place == None ? "none" : place == Above ? "above" : "below") +
                                             (delimiter ? "" : ", delimiter off");
                    for (const std::string& path : {thunderbirds, others}) {
                        WriteBytes(path, seed);
                        settings.path = path;
                        writer.SetSignature(EncodedBody);
                    }
                    const std::string written = ReadBytes(thunderbirds);
                    EXPECT_EQ(DelimiterLinesShown(ThunderbirdProcessSignature(written, html), html), 1) << what;
                    // Only a UTF-16 text file is written otherwise for Thunderbird: a line break
                    // after the mark, which it keeps in front of the text.
                    const bool lineBreakFirst = delimiter && !html && seed.starts_with(Utf16Mark);
                    const std::string other = ReadBytes(others);
                    EXPECT_EQ(written, lineBreakFirst ? Utf16Mark + "\r\0\n\0"s + other.substr(2) : other) << what;
                }
            }
        }
    }
    EXPECT_TRUE(sink.reports.empty());
}
