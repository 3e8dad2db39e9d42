#pragma once
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The texts of the collection a new user starts with: short enough for a mail signature and
// held in Windows-1252, the code page of the systems it is made for.
namespace starter {

inline constexpr std::size_t MaxLines = 4;
inline constexpr std::size_t MaxLineLength = 76; // a mail line's usual width, less a quote mark
inline constexpr std::size_t MaxBytes = 300;

// Whether a text in the ANSI code page, its lines separated by CR LF, suits a signature:
// at most MaxLines lines of at most MaxLineLength characters, at most MaxBytes bytes, and
// no control character but the line breaks (a tab's width, or a backspace's overstriking,
// is lost in a mail).
bool SuitsSignature(std::string_view text);

// The text of a fortune file's entry (UTF-8 or ASCII) in Windows-1252, or nothing when it
// has a character that code page lacks. Where the ANSI code page is another, only ASCII
// texts are taken, as they read the same in every one.
std::optional<std::string> InWindows1252(std::string_view fortune);

// The texts of the fortune files (each given by its bytes) that suit a signature, each once,
// in file order.
std::vector<std::string> StarterTexts(const std::vector<std::string>& fortuneFiles);

} // namespace starter
