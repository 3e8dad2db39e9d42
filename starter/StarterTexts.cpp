#include "starter/StarterTexts.h"

#include "base/CodePages.h"
#include "engine/FortuneFile.h"

#include <windows.h>

#include <unordered_set>

namespace starter {

bool SuitsSignature(std::string_view text)
{
    if (text.empty() || text.size() > MaxBytes)
        return false;
    std::size_t lines = 1;
    std::size_t lineLength = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
            ++i;
            ++lines;
            lineLength = 0;
            continue;
        }
        if (c < 0x20 || c == 0x7F)
            return false;
        if (++lineLength > MaxLineLength)
            return false;
    }
    return lines <= MaxLines;
}

std::optional<std::string> InWindows1252(std::string_view fortune)
{
    if (base::IsAscii(fortune))
        return std::string(fortune);
    // Another ANSI code page would give other characters for the same bytes.
    if (GetACP() != 1252 || !base::IsUtf8(fortune))
        return std::nullopt;
    return base::Utf8ToAnsi(fortune);
}

std::vector<std::string> StarterTexts(const std::vector<std::string>& fortuneFiles)
{
    std::vector<std::string> texts;
    std::unordered_set<std::string> seen;
    for (const std::string& file : fortuneFiles) {
        for (const std::string& fortune : fortunes::FortuneTexts(file)) {
            std::optional<std::string> text = InWindows1252(fortune);
            if (text && SuitsSignature(*text) && seen.insert(*text).second)
                texts.push_back(std::move(*text));
        }
    }
    return texts;
}

} // namespace starter
