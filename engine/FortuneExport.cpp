#include "engine/FortuneExport.h"

#include "base/CodePages.h"
#include "engine/DatabaseTexts.h"
#include "engine/FortuneFile.h"

#include <optional>
#include <vector>

namespace fortunes {

namespace {

std::optional<std::string> EntryKeepingText(const std::string& text)
{
    std::string entry = FortuneEntry(base::AnsiToUtf8(text));
    const std::vector<std::string> readBack = FortuneTexts(entry);
    if (readBack.size() != 1 || base::Utf8ToAnsi(readBack.front()) != text)
        return std::nullopt;
    return entry;
}

} // namespace

DatabaseExport ExportDatabase(const std::string& database)
{
    DatabaseExport result;
    ForEachDatabaseText(database, [&](const std::string& text) {
        if (const std::optional<std::string> entry = EntryKeepingText(text)) {
            result.fortunes += *entry;
            ++result.exported;
        } else {
            ++result.skipped;
        }
    });
    return result;
}

} // namespace fortunes
