#pragma once
#include <optional>
#include <string>
#include <vector>

// A signature file keeps the encoding it has: what a plain-text signature file holds before a
// change and, byte for byte, after the change writes EncodedBody alone (no delimiter, no
// static text), in code page 1252, which Wine gives the tests here.
namespace encodings {

using namespace std::string_literals;

// u-umlaut, sharp s and the euro sign, which code page 1252 has at 0x80, not at U+0080.
inline const std::string EncodedBody = "Gr\xfc\xdf" "e \x80 5";
inline const std::string BodyUtf8 = "Gr\xC3\xBC\xC3\x9F" "e \xE2\x82\xAC 5";
inline const std::string BodyUtf16 = "G\0r\0\xFC\0\xDF\0e\0 \0\xAC\x20 \0" "5\0"s;
inline const std::string BodyUtf16Be = "\0G\0r\0\xFC\0\xDF\0e\0 \x20\xAC\0 \0" "5"s;
inline const std::string Utf8Mark = "\xEF\xBB\xBF";
inline const std::string Utf16Mark = "\xFF\xFE";
inline const std::string Utf16BeMark = "\xFE\xFF";

struct Case {
    const char* what;
    std::optional<std::string> before; // none: the file does not exist
    std::string after;
};

inline const std::vector<Case> PlainTextCases = {
    {"a new file", std::nullopt, EncodedBody},
    {"an empty file", "", EncodedBody},
    {"pure ASCII", "plain\r\ntext", EncodedBody},
    {"ANSI", "caf\xe9", EncodedBody},
    {"UTF-8 with its mark", Utf8Mark + "caf\xC3\xA9", Utf8Mark + BodyUtf8},
    {"the UTF-8 mark alone", Utf8Mark, Utf8Mark + BodyUtf8},
    {"UTF-8 without a mark", "caf\xC3\xA9", BodyUtf8},
    {"UTF-16 LE with its mark", Utf16Mark + "c\0a\0f\0\xE9\0"s, Utf16Mark + BodyUtf16},
    {"UTF-16 BE with its mark", Utf16BeMark + "\0c\0a\0f\0\xE9"s, Utf16BeMark + BodyUtf16Be},
};

} // namespace encodings
