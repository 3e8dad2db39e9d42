#pragma once
#include <cstddef>
#include <string>
#include <vector>

namespace vqsig {

// What became of one fortune file's texts.
struct FortuneFileImport {
    std::string file;
    std::size_t imported = 0;
    std::size_t tooLong = 0;          // over 512 bytes in the ANSI code page
    std::size_t notRepresentable = 0; // a character with no form in a record
};

// Appends the texts of the fortune files to the database, creating it when missing. A file
// that is valid UTF-8 is converted to the ANSI code page (a byte-order mark at its start
// dropped); any other is taken as ANSI already.
// Texts are never cut or altered: one that does not fit a record is skipped and counted.
//
// All or nothing: the records go in with a few large writes, and when anything fails on the
// way (a file that cannot be read, a text too long to convert, a write on a full disk) the
// database is left exactly as it was, cut back to its records before the import or, when
// the import made it, removed; the failure then travels on, naming its file. A database
// whose length is not a whole number of records is refused untouched.
std::vector<FortuneFileImport> ImportFortuneFiles(const std::string& database,
                                                  const std::vector<std::string>& files);

} // namespace vqsig
