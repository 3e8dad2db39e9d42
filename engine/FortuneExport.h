#pragma once
#include <cstddef>
#include <string>

namespace fortunes {

// A database as a UTF-8 fortune file.
struct DatabaseExport {
    std::string fortunes; // every entry, in record order
    std::size_t exported = 0;
    // Records whose text a fortune file cannot give back unchanged.
    std::size_t skipped = 0;
};

// Every record's text as a fortune file entry, each converted from the ANSI code page to
// UTF-8. A text is left out (and counted) when reading its entry back would not give the
// same text: an empty text, empty lines around it, a line holding only "%", a line break
// other than CR LF, or a character UTF-8 cannot carry back. Failures are those of
// ForEachDatabaseText (DatabaseTexts.h).
DatabaseExport ExportDatabase(const std::string& database);

} // namespace fortunes
