#include "vqsig/FortuneFile.h"

namespace vqsig {

bool FortuneReader::Next(std::string& text)
{
    text.clear();
    std::size_t pendingEmptyLines = 0; // kept only if a non-empty line follows
    while (!rest_.empty()) {
        const std::size_t end = rest_.find('\n');
        std::string_view line = rest_.substr(0, end);
        rest_.remove_prefix(end == std::string_view::npos ? rest_.size() : end + 1);
        if (end != std::string_view::npos && !line.empty() && line.back() == '\r')
            line.remove_suffix(1);

        if (line == "%") {
            if (!text.empty())
                return true;
            pendingEmptyLines = 0;
        } else if (line.empty()) {
            if (!text.empty())
                ++pendingEmptyLines;
        } else {
            if (!text.empty()) {
                for (; pendingEmptyLines > 0; --pendingEmptyLines)
                    text += "\r\n";
                text += "\r\n";
            }
            text += line;
        }
    }
    return !text.empty();
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
