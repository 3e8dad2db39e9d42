#pragma once
#include <string>
#include <string_view>
#include <vector>

namespace mailclients {

// One preference of a Mozilla program's prefs.js: user_pref("name", value);
struct MozillaPref {
    std::wstring name;
    // A string's characters with its escapes undone, or the literal as written (true, 42).
    std::wstring value;
    bool isString = false;

    bool operator==(const MozillaPref&) const = default;
};

// The preferences a prefs.js sets, in their order. The file is UTF-8 (bytes that are not
// come out as U+FFFD, so nothing built from them passes for a real name); strings take
// JavaScript's escapes (\\ \" \' \n \r \t \xHH \uXXXX, a pair of \u for a character beyond
// the first plane). Comments (//, #, /* */) are skipped, and so is a statement that cannot be
// read, up to its semicolon or its line's end.
std::vector<MozillaPref> ParseMozillaPrefs(std::string_view utf8);

} // namespace mailclients
