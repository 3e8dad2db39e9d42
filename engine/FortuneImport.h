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
// An import that takes no text at all (every one skipped, or none there) creates no database
// and leaves an existing one untouched; its counts say why (NothingImportedFrom).
//
// All or nothing: the records go in with a few large writes, and when anything fails on the
// way (a file that cannot be read, a text too long to convert, a write on a full disk) the
// database is left exactly as it was, cut back to its records before the import or, when
// the import made it, removed; the failure then travels on, naming its file. A database
// whose length is not a whole number of records is refused untouched.
std::vector<FortuneFileImport> ImportFortuneFiles(const std::string& database,
                                                  const std::vector<std::string>& files,
                                                  const ImportProgress& progress = {});

// Whether the import took at least one text.
bool ImportedAny(const std::vector<FortuneFileImport>& imports);

// The counts of all the files together.
FortuneFileImport TotalOf(const std::vector<FortuneFileImport>& imports);

// Why texts were skipped, as the import's messages say it: "too long", "not representable in
// the ANSI code page", or, both there, "2 too long, 1 not representable in the ANSI code page".
std::string SkippedReasons(const FortuneFileImport& counts);

// What an import that took no text says, the files named by from (the one file, or "3
// files"): "Nothing was imported from quotes.txt: 2 texts were skipped (too long)."
std::string NothingImportedFrom(const std::string& from, const FortuneFileImport& total);

} // namespace fortunes
