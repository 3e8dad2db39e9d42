#include "vqsig/FortuneFile.h"

namespace vqsig {

namespace {

// Collects the lines of one text and hands the text over when a separator or the end of
// the file closes it.
class TextCollector {
public:
    explicit TextCollector(std::vector<std::string>& texts) : texts_(texts) {}

    void AddLine(std::string_view line)
    {
        if (line.empty()) {
            if (!text_.empty())
                ++pendingEmptyLines_; // kept only if a non-empty line follows
            return;
        }
        if (!text_.empty()) {
            for (; pendingEmptyLines_ > 0; --pendingEmptyLines_)
                text_ += "\r\n";
            text_ += "\r\n";
        }
        text_ += line;
    }

    void EndText()
    {
        if (!text_.empty())
            texts_.push_back(std::move(text_));
        text_.clear();
        pendingEmptyLines_ = 0;
    }

private:
    std::vector<std::string>& texts_;
    std::string text_;
    std::size_t pendingEmptyLines_ = 0;
};

} // namespace

std::vector<std::string> FortuneTexts(std::string_view file)
{
    std::vector<std::string> texts;
    TextCollector collector(texts);
    std::size_t start = 0;
    while (start < file.size()) {
        std::size_t end = file.find('\n', start);
        const std::size_t next = end == std::string_view::npos ? file.size() : end + 1;
        if (end == std::string_view::npos)
            end = file.size();
        std::string_view line = file.substr(start, end - start);
        if (end < file.size() && !line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        if (line == "%")
            collector.EndText();
        else
            collector.AddLine(line);
        start = next;
    }
    collector.EndText();
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
