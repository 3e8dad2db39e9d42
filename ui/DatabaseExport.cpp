#include "ui/DatabaseImport.h"

#include "base/FileExists.h"
#include "base/IntegerText.h"
#include "base/PathParts.h"
#include "engine/DatabaseTexts.h"
#include "engine/FortuneExport.h"
#include "engine/OwnFiles.h"
#include "base/WholeFile.h"
#include "toolkit/FileDialogs.h"
#include "toolkit/MessageDialogs.h"

#include <stdexcept>

namespace {

// The database's name with ".txt" for ".sigs", in the database's folder.
std::string FortuneFileBeside(const std::string& database)
{
    return database.substr(0, database.size() - base::ExtensionPart(database).size()) + ".txt";
}

} // namespace

void RunDatabaseExport(HWND owner, const std::string& database, const std::vector<std::string>& listed,
                       const std::vector<std::string>& ownFiles)
{
    toolkit::FileDialogArgs args;
    args.owner = owner;
    args.title = "Export the signatures as a fortune file";
    args.filter = "Text files|*.txt;*.fortune|All files|*.*";
    args.defaultExtension = "txt";
    args.fileName = FortuneFileBeside(database);
    const std::optional<std::string> target = toolkit::RunSaveDialog(args);
    if (!target)
        return;
    std::vector<std::string> refused = listed;
    refused.insert(refused.end(), ownFiles.begin(), ownFiles.end());
    refused.push_back(database);
    if (const std::optional<std::string> why = RefusedTarget(*target, refused)) {
        toolkit::ShowErrorDialog(owner, "Cannot export to \"" + *target + "\": " + *why + ".");
        return;
    }
    if (base::FileExists(*target) && !toolkit::AskQuestion(owner, "\"" + *target + "\" exists already. Replace it?"))
        return;
    try {
        const fortunes::DatabaseExport done = OnFile(database, [&] { return fortunes::ExportDatabase(database); });
        base::ReplaceWholeFile(*target, done.fortunes);
        std::string summary = "Exported " + base::CountedText(done.exported, "signature", "signatures") + " to " +
                              std::string(base::FileNamePart(*target));
        if (done.skipped > 0)
            summary += "; " + base::CountedText(done.skipped, "was", "were") +
                       " skipped: a fortune file cannot hold them unchanged";
        toolkit::ShowInformationDialog(owner, summary + ".");
    } catch (const std::exception& failure) {
        toolkit::ShowErrorDialog(owner, failure.what());
    }
}
