#pragma once
#include <cstddef>
#include <exception>
#include <functional>
#include <string>
#include <vector>

// Fortune files into a signature database: what vqsig import, the main window's "Import..."
// and the build's starter collection share.

namespace fortunes {

// What a failed or refused import adds to its reason: an import is all or nothing.
inline constexpr const char* NothingImported = "Nothing was imported.";

// What became of one fortune file's texts.
struct FortuneFileImport {
    std::string file;
    std::size_t imported = 0;
    std::size_t tooLong = 0;          // over 512 bytes in the ANSI code page
    std::size_t notRepresentable = 0; // a character with no form in a record
};

// Told how far an import has come, from 0 to 1, now and then as it runs (on the thread that
// runs it); answers false to cancel it.
using ImportProgress = std::function<bool(double done)>;

// The import was cancelled through its ImportProgress; nothing was imported.
class ImportCancelled : public std::exception {
public:
    const char* what() const noexcept override { return "The import was cancelled."; }
};

// Appends the texts of the fortune files to the database, creating it when missing. A file
// that is valid UTF-8 is converted to the ANSI code page (a byte-order mark at its start
// dropped); any other is taken as ANSI already. A file with no line holding only "%" is read
// as paragraphs: its texts are separated by blank lines.
// Texts are never cut or altered: one that does not fit a record is skipped and counted.
//
// All or nothing: the records go in with a few large writes, and when anything fails on the
// way (a file that cannot be read, a text too long to convert, a write on a full disk) the
// database is left exactly as it was, cut back to its records before the import or, when
// the import made it, removed; the failure then travels on, naming its file. A database
// whose length is not a whole number of records is refused untouched.
std::vector<FortuneFileImport> ImportFortuneFiles(const std::string& database,
                                                  const std::vector<std::string>& files,
                                                  const ImportProgress& progress = {});

} // namespace fortunes
