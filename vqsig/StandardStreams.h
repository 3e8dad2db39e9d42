#pragma once
#include <string>
#include <string_view>

// The program's standard input, output and error. Text shown in a console is shown in the
// console's own characters; redirected to a file or a pipe it is the raw bytes.
namespace vqsig {

enum class TextEncoding { Ansi, Utf8 };

// Fails with an IoFailure when the output cannot be written (a closed pipe, a full disk).
void WriteStandardOutput(std::string_view text, TextEncoding encoding = TextEncoding::Ansi);

// Writes what it can: there is nowhere left to report a failure of standard error.
void WriteStandardError(std::string_view text) noexcept;

// Everything on standard input, as ANSI text. Typed into a console it ends at Ctrl+Z (or when
// the console closes); a typed character that has no form in the ANSI code page fails.
std::string ReadStandardInput();

} // namespace vqsig
