#include "ui/DatabaseImport.h"

#include "base/IntegerText.h"
#include "base/PathParts.h"
#include "engine/FileOpening.h"
#include "engine/OwnFiles.h"
#include "engine/WholeRecords.h"
#include "settings/ProgramFiles.h"
#include "settings/ProgramLocation.h"
#include "toolkit/FileDialogs.h"
#include "toolkit/MessageDialogs.h"
#include "ui/ImportProgressWindow.h"

#include <stdexcept>

namespace {

// Larger files are no collections of signatures: most likely a file chosen by mistake.
constexpr LONGLONG LargestSource = 64LL * 1024 * 1024;
// A text file has no NUL byte; this much is looked at.
constexpr DWORD LookedAtForText = 4096;

} // namespace

std::vector<std::string> FilesNotToWrite(std::optional<std::string> databaseInEditor)
{
    std::vector<std::string> files = settings::ProgramOwnFiles(settings::ProgramDirectory());
    if (databaseInEditor)
        files.push_back(std::move(*databaseInEditor));
    return files;
}
std::optional<std::string> RefusedSource(const std::string& path)
{
    const std::string quoted = "\"" + path + "\"";
    if (NamedAsDatabase(path))
        return quoted + " is a signature database, not a text file: to pick signatures from it, add it to the list.";
    const base::FileHandle file =
        OpenFile(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, OPEN_EXISTING, false, Devices::Refused);
    LARGE_INTEGER size{};
    if (GetFileSizeEx(file.Get(), &size) && size.QuadPart > LargestSource)
        return quoted + " is larger than 64 MiB: too large for a text file of signatures.";
    char start[LookedAtForText];
    DWORD read = 0;
    // Unreadable here, the import's own read reports it.
    if (ReadFile(file.Get(), start, sizeof start, &read, nullptr) &&
        std::string_view(start, read).find('\0') != std::string_view::npos)
        return quoted + " is not a text file: it holds NUL bytes.";
    return std::nullopt;
}

std::string ImportSummary(const fortunes::FortuneFileImport& counts, const std::string& database)
{
    std::string summary =
        "Imported " + base::CountedText(counts.imported, "signature", "signatures") + " into " + std::string(base::FileNamePart(database));
    const std::size_t skipped = counts.tooLong + counts.notRepresentable;
    if (skipped == 0)
        return summary + ".";
    return summary + "; " + base::CountedText(skipped, "was", "were") + " skipped (" +
           fortunes::SkippedReasons(counts) + ").";
}

std::optional<std::string> RunDatabaseImport(HWND owner, const std::string& presetDatabase,
                                             const std::vector<std::string>& ownFiles)
{
    toolkit::FileDialogArgs textArgs;
    textArgs.owner = owner;
    textArgs.title = "Import signatures from a text file";
    textArgs.filter = "Text files|*.txt;*.fortune|All files|*.*";
    const std::optional<std::string> source = toolkit::RunOpenDialog(textArgs);
    if (!source)
        return std::nullopt;
    try {
        if (const std::optional<std::string> refused = RefusedSource(*source)) {
            toolkit::ShowErrorDialog(owner, *refused + "\r\n" + fortunes::NothingImported);
            return std::nullopt;
        }
    } catch (const std::exception& failure) {
        toolkit::ShowErrorDialog(owner, std::string(failure.what()) + "\r\n" + fortunes::NothingImported);
        return std::nullopt;
    }

    toolkit::FileDialogArgs databaseArgs;
    databaseArgs.owner = owner;
    databaseArgs.title = "Import into a new or an existing signature database";
    databaseArgs.filter = "Signature files|*.sigs|All files|*.*";
    databaseArgs.defaultExtension = "sigs";
    databaseArgs.fileName = presetDatabase;
    const std::optional<std::string> database = toolkit::RunSaveDialog(databaseArgs);
    if (!database)
        return std::nullopt;
    if (NamesOneOf(*database, ownFiles) || NamesOneOf(*database, {*source})) {
        toolkit::ShowErrorDialog(owner, "\"" + *database +
                                            "\" is the text file itself, one of Varnquill's own files or the "
                                            "database open in the editor.\r\n" +
                                            fortunes::NothingImported);
        return std::nullopt;
    }

    std::vector<fortunes::FortuneFileImport> imported;
    try {
        ImportProgressWindow progress(owner, "Importing " + std::string(base::FileNamePart(*source)) + "...");
        const bool cancelled = progress.Run([&](const fortunes::ImportProgress& told) {
            imported = fortunes::ImportFortuneFiles(*database, {*source}, told);
        });
        if (cancelled)
            return std::nullopt;
    } catch (const std::exception& failure) {
        toolkit::ShowErrorDialog(owner, std::string(failure.what()) + "\r\n" + fortunes::NothingImported);
        return std::nullopt;
    }
    if (!fortunes::ImportedAny(imported)) {
        // Nothing was made or changed: there is nothing to list.
        toolkit::ShowErrorDialog(owner, fortunes::NothingImportedFrom(std::string(base::FileNamePart(*source)),
                                                                      fortunes::TotalOf(imported)));
        return std::nullopt;
    }
    toolkit::ShowInformationDialog(owner, ImportSummary(imported.front(), *database));
    return database;
}
