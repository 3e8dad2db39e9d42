#include "vqsig/FortuneFile.h"

#include "base/ByteSearch.h"

namespace vqsig {

namespace {

// A line's text without its line break (LF, or CR LF).
std::string_view LineText(std::string_view line)
{
    if (!line.empty() && line.back() == '\n') {
        line.remove_suffix(1);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
    }
    return line;
}

} // namespace

bool FortuneReader::Next(std::string& text)
{
    // One pass: every line after the text's first non-empty one goes in with a CR LF after
    // it, and the text is cut back to the end of its last non-empty line when it ends. A
    // whole collection of fortune files goes through here.
    text.clear();
    std::size_t kept = 0; // the text's length up to the end of its last non-empty line
    while (!rest_.empty()) {
        const std::size_t end = base::FindByte(rest_, '\n');
        const std::string_view shown = LineText(rest_.substr(0, end == std::string_view::npos ? end : end + 1));
        rest_.remove_prefix(end == std::string_view::npos ? rest_.size() : end + 1);
        if (shown == "%") {
            if (kept > 0)
                break;
        } else if (!shown.empty()) {
            text += shown;
            kept = text.size();
            text += "\r\n";
        } else if (kept > 0) {
            text += "\r\n";
        }
    }
    text.resize(kept);
    return kept > 0;
}

std::vector<std::string> FortuneTexts(std::string_view file)
{
    std::vector<std::string> texts;
    FortuneReader reader(file);
    for (std::string text; reader.Next(text);)
        texts.push_back(text);
    return texts;
}

std::string FortuneEntry(std::string_view text)
{
    std::string entry;
    entry.reserve(text.size() + 3);
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
            continue; // the LF that follows stands for the pair
        entry += text[i];
    }
    entry += "\n%\n";
    return entry;
}

} // namespace vqsig
