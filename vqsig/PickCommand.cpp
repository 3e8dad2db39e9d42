#include "vqsig/Commands.h"

#include "engine/SignatureDatabase.h"
#include "engine/SignatureText.h"
#include "engine/SignatureWriter.h"
#include "settings/ProgramFiles.h"
#include "settings/ProgramLocation.h"
#include "settings/SideFiles.h"
#include "vqsig/ConsoleReports.h"
#include "vqsig/PickSettings.h"
#include "vqsig/ProgramSettings.h"
#include "vqsig/StandardStreams.h"

#include <optional>

namespace vqsig {

namespace {

// Databases on the command line make the pick stand on its own: nothing then comes from
// the settings of whoever runs it, so a script gives the same result on every machine.
bool HasOwnDatabases(const Invocation& invocation)
{
    return !invocation.operands.empty() || invocation.listFile;
}

// store: Varnquill's, when the pick takes its settings from there or writes a file;
// fromProgram: it takes its settings from there.
PickSettings SettingsFor(const Invocation& invocation, settings::SettingsStore& store, bool fromProgram)
{
    PickSettings values;
    // Wherever its databases come from, a file keeps the encoding it was last found in as
    // Varnquill keeps it: a pure-ASCII signature from a script must not turn the user's
    // UTF-8 file into ANSI at the next one.
    if (store.Places())
        values.store = &store;
    if (fromProgram) {
        values.profile = store.LoadProfile();
    } else {
        values.profile.databases = invocation.operands;
        if (invocation.listFile) {
            const std::vector<std::string> listed = settings::LoadList(*invocation.listFile);
            values.sourceFiles.push_back(*invocation.listFile);
            values.profile.databases.insert(values.profile.databases.end(), listed.begin(), listed.end());
        }
    }
    if (invocation.outFile)
        values.profile.signatureFile = *invocation.outFile;
    if (invocation.staticFile) {
        values.profile.staticTextOn = true;
        values.profile.staticText = settings::LoadStaticText(*invocation.staticFile);
        values.sourceFiles.push_back(*invocation.staticFile);
    }
    if (invocation.above || invocation.below)
        values.profile.staticTextAbove = invocation.above;
    if (invocation.noDelimiter)
        values.profile.delimiter = false;
    // The program's own files are never a target, whichever databases this pick takes.
    const std::vector<std::string> ownFiles = settings::ProgramOwnFiles(settings::ProgramDirectory());
    values.sourceFiles.insert(values.sourceFiles.end(), ownFiles.begin(), ownFiles.end());
    // Nor is any database the program lists: a pick must never turn a database into a
    // signature. One nobody lists the writer knows by its name or by what it holds.
    if (!fromProgram) {
        const std::vector<std::string> listed = EveryProgramListedDatabase();
        values.sourceFiles.insert(values.sourceFiles.end(), listed.begin(), listed.end());
    }
    return values;
}

} // namespace

int Pick(const Invocation& invocation)
{
    // Without databases of its own the pick is one of Varnquill's changes: it follows the
    // order Varnquill's settings name and moves it on; with them it is the plain random pick.
    // A pick to standard output with databases of its own touches none of Varnquill's places.
    const bool fromProgram = !HasOwnDatabases(invocation);
    settings::SettingsStore store;
    if (fromProgram || !invocation.toStandardOutput)
        store = settings::SettingsStore(ProgramPlaces());
    const PickSettings values = SettingsFor(invocation, store, fromProgram);
    std::optional<ProgramOrder> order;
    if (fromProgram)
        order.emplace(store, values.profile.order);
    ConsoleReports reports;
    SignatureDatabase database;
    SignatureWriter writer(database, values, reports, order ? &*order : nullptr);
    if (invocation.toStandardOutput) {
        if (const std::optional<SignatureWriter::PickedBody> body = writer.PickRandomBody()) {
            WriteStandardOutput(ComposeSignatureText(values, body->text, ""));
            writer.KeepOrderPlace(*body);
        }
    } else {
        writer.RandomChange();
    }
    return reports.ErrorReported() ? 1 : 0;
}

} // namespace vqsig
