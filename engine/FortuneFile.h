#pragma once
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

// The fortune file format: texts separated by lines holding only "%"; and plain text files
// of paragraphs, texts separated by blank lines, read the same way.
namespace fortunes {

// One text as FortuneReader::Next finds it.
struct FortuneText {
    // Its lines as the file holds them, from the start of its first non-empty line to the
    // end of its last, before its line break: JoinLines makes the text of them.
    std::string_view lines;
    // Of the text in out, or the capacity + 1 when it did not fit.
    std::size_t length = 0;
    // How far out was written, at most the capacity: bytes past the text are left over.
    std::size_t written = 0;
    // Every byte ASCII other than NUL: the same text in UTF-8 and in any ANSI code page.
    bool plain = true;
};

// Reads the texts of a fortune file in file order, each with its lines joined by CR LF.
// Lines end at LF or CR LF (a last line may have no end). A line holding only "%" ends a
// text. The empty lines before a text's first and after its last non-empty line are not
// part of it, and a text left empty is passed over, as fortune itself never shows one.
//
// A file of paragraphs is read with Separator::BlankLines: there a line that is empty or holds
// only blanks and tabs ends a text, and a "%" line is a line of text like any other.
class FortuneReader {
public:
    enum class Separator { PercentLines, BlankLines };

    // The file's bytes must outlive the reader.
    explicit FortuneReader(std::string_view file, Separator separator = Separator::PercentLines) noexcept
        : rest_(file), paragraphs_(separator == Separator::BlankLines)
    {
    }

    // Puts the next text into text, reusing its storage; false when there is none left.
    bool Next(std::string& text);
    // Finds the next text and copies it into out as far as it fits in capacity bytes, in
    // the same pass; false when there is none left.
    bool Next(char* out, std::size_t capacity, FortuneText& text) noexcept;

    // How many of the file's bytes are still to be read.
    std::size_t Remaining() const noexcept { return rest_.size(); }

private:
    std::string_view rest_;
    bool paragraphs_;
};

// Whether the file holds a line of only "%" (ended by LF or CR LF, or the file's last):
// a fortune file does; a text file without one is read as paragraphs.
bool HoldsPercentLine(std::string_view file) noexcept;

// The text of lines as FortuneText holds them, every line break made CR LF, written to out
// when it fits in capacity bytes. Answers its length, or capacity + 1 when it does not fit
// (out then holds a part of it).
std::size_t JoinLines(std::string_view lines, char* out, std::size_t capacity);
// The same text, whole, in text (its storage used again).
void JoinLines(std::string_view lines, std::string& text);

// Every text of a fortune file, as FortuneReader reads them.
std::vector<std::string> FortuneTexts(std::string_view file);

// One text as a fortune file holds it: its CR LF line breaks as LF, then LF, "%" and LF.
std::string FortuneEntry(std::string_view text);

} // namespace fortunes
