#include "vqsig/Commands.h"

#include "engine/SignatureDatabase.h"
#include "engine/SignatureText.h"
#include "engine/SignatureWriter.h"
#include "settings/ProgramLocation.h"
#include "settings/SettingsPlaces.h"
#include "settings/SideFiles.h"
#include "vqsig/ConsoleReports.h"
#include "vqsig/ProgramSettings.h"
#include "vqsig/StandardStreams.h"

namespace vqsig {

namespace {

// Databases on the command line make the pick stand on its own: nothing then comes from
// the settings of whoever runs it, so a script gives the same result on every machine.
PickSettings SettingsFor(const Invocation& invocation)
{
    const bool ownDatabases = !invocation.operands.empty() || invocation.listFile;
    PickSettings values = ownDatabases ? PickSettings{} : ReadProgramSettings();
    if (ownDatabases) {
        values.databases = invocation.operands;
        if (invocation.listFile) {
            const std::vector<std::string> listed = settings::LoadList(*invocation.listFile);
            values.sourceFiles.push_back(*invocation.listFile);
            values.databases.insert(values.databases.end(), listed.begin(), listed.end());
        }
    }
    if (invocation.outFile)
        values.signatureFile = *invocation.outFile;
    if (invocation.staticFile) {
        values.staticText = true;
        values.staticTextLines = settings::LoadStaticText(*invocation.staticFile);
        values.sourceFiles.push_back(*invocation.staticFile);
    }
    if (invocation.above || invocation.below)
        values.staticAbove = invocation.above;
    if (invocation.noDelimiter)
        values.delimiter = false;
    // The program's own lists are never a target, whichever databases this pick takes.
    const std::vector<std::string> ownFiles = settings::EverySideFilePath(settings::ProgramDirectory());
    values.sourceFiles.insert(values.sourceFiles.end(), ownFiles.begin(), ownFiles.end());
    return values;
}

} // namespace

int Pick(const Invocation& invocation)
{
    const PickSettings values = SettingsFor(invocation);
    ConsoleReports reports;
    SignatureDatabase database;
    SignatureWriter writer(database, values, reports);
    if (invocation.toStandardOutput) {
        if (const std::optional<std::string> body = writer.PickRandomBody())
            WriteStandardOutput(ComposeSignatureText(values, *body, ""));
    } else {
        writer.RandomChange();
    }
    return reports.ErrorReported() ? 1 : 0;
}

} // namespace vqsig
