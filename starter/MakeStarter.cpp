// Makes Quotes.sigs, the collection a new user starts with, from fortune files, at build time:
//   make_starter OUT.sigs FORTUNE_FILE...
// The texts that suit a signature go through the program's own fortune import, as a user's
// would, so the collection holds exactly what an import of them gives.
#include "base/CodePages.h"
#include "engine/FortuneFile.h"
#include "engine/FortuneImport.h"
#include "base/WholeFile.h"
#include "starter/StarterTexts.h"

#include <windows.h>

#include <cstdio>
#include <exception>
#include <string>
#include <vector>

namespace {

// Fewer would soon repeat for a user changing the signature every few minutes.
constexpr std::size_t LeastTexts = 500;

} // namespace

int main(int argc, char** argv)
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: make_starter OUT.sigs FORTUNE_FILE...\n");
        return 2;
    }
    const std::string database = argv[1];
    const std::string fortuneFile = database + ".fortunes";
    try {
        std::vector<std::string> files;
        for (int i = 2; i < argc; ++i)
            files.push_back(base::ReadWholeFile(argv[i]));
        const std::vector<std::string> texts = starter::StarterTexts(files);
        if (texts.size() < LeastTexts) {
            std::fprintf(stderr, "make_starter: only %zu texts suit a signature, %zu wanted\n", texts.size(),
                         LeastTexts);
            return 1;
        }
        std::string entries;
        for (const std::string& text : texts)
            entries += fortunes::FortuneEntry(base::AnsiToUtf8(text));
        base::ReplaceWholeFile(fortuneFile, entries);
        // Made anew each time, never appended to an earlier build's.
        if (!DeleteFileA(database.c_str()) && GetLastError() != ERROR_FILE_NOT_FOUND)
            throw std::runtime_error("Cannot replace " + database);
        const std::vector<fortunes::FortuneFileImport> imported = fortunes::ImportFortuneFiles(database, {fortuneFile});
        // The fortune file was only the import's way in; a stray one harms nothing.
        DeleteFileA(fortuneFile.c_str());
        if (imported.front().imported != texts.size()) {
            std::fprintf(stderr, "make_starter: the import took %zu of %zu texts\n", imported.front().imported,
                         texts.size());
            DeleteFileA(database.c_str()); // no half collection is shipped; the build fails
            return 1;
        }
        std::printf("%s: %zu signatures\n", database.c_str(), texts.size());
        return 0;
    } catch (const std::exception& failure) {
        std::fprintf(stderr, "make_starter: %s\n", failure.what());
        return 1;
    }
}
