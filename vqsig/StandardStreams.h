#pragma once
#include <stdexcept>
#include <string>
#include <string_view>

// The program's standard input, output and error. Text shown in a console is shown in the
// console's own characters; redirected to a file or a pipe it is the raw bytes.
namespace vqsig {

enum class TextEncoding { Ansi, Utf8 };

// Standard output is a pipe whose reader has gone (vqsig list DB | more, quit early): there
// is nobody left to tell, so the program ends quietly with exit code 1.
class OutputClosed : public std::runtime_error {
public:
    OutputClosed() : std::runtime_error("The output was closed.") {}
};

// Fails with OutputClosed when the reader of a pipe has gone, and otherwise, when the output
// cannot be written (a full disk), with "Standard output: " and the I/O failure's message.
void WriteStandardOutput(std::string_view text, TextEncoding encoding = TextEncoding::Ansi);

// Writes what it can: there is nowhere left to report a failure of standard error.
void WriteStandardError(std::string_view text) noexcept;

// Everything on standard input, as ANSI text. Typed into a console it ends at Ctrl+Z (or when
// the console closes). Redirected bytes that are UTF-8 holding more than ASCII are converted
// (a byte-order mark dropped), as import takes a fortune file; any others are ANSI already.
// A character that has no form in the ANSI code page fails.
std::string ReadStandardInput();

} // namespace vqsig
