#include "engine/SignatureWriter.h"

#include "engine/IoFailure.h"
#include "engine/OwnFiles.h"
#include "engine/SignatureText.h"
#include "engine/TextFileWriter.h"

#include <optional>

namespace {

constexpr const char* NoTargetText = "You must specify where to write the signature!";

void ReportPlainError(ReportSink& reports, const std::string& text)
{
    reports.ReportError("Error:", text, text);
}

} // namespace

SignatureWriter::SignatureWriter(SignatureDatabase& database, const WriterSettings& settings, ReportSink& reports)
    : database_(database), settings_(settings), reports_(reports), random_(clockRandom_)
{
}

SignatureWriter::SignatureWriter(SignatureDatabase& database, const WriterSettings& settings, ReportSink& reports,
                                 RandomIndexSource& random)
    : database_(database), settings_(settings), reports_(reports), random_(random)
{
}

void SignatureWriter::RandomChange()
{
    const std::string path = settings_.SignatureFilePath();
    if (path.empty())
        return ReportPlainError(reports_, NoTargetText);
    if (const std::optional<std::string> body = PickRandomBody())
        ComposeAndWrite(path, *body, "");
}

std::optional<std::string> SignatureWriter::PickRandomBody()
{
    const std::vector<std::string> databases = settings_.DatabaseList();
    if (databases.empty()) {
        ReportPlainError(reports_, "There are no files in the database list!");
        return std::nullopt;
    }
    if (database_.DatabaseOpen()) {
        ReportPlainError(reports_, "Cannot set signature while database is open!");
        return std::nullopt;
    }

    const std::string& chosen = databases[random_.Below(databases.size())];
    std::optional<std::string> body;
    try {
        body = database_.RandomRecord(chosen, random_);
    } catch (const DatabaseOpenFailure& failure) {
        reports_.ReportError("Cannot open signature database!", failure.what(),
                             std::string("Error opening signature database: ") + failure.what());
        return std::nullopt;
    } catch (const std::exception& failure) {
        ReportFailure(reports_, failure);
        return std::nullopt;
    }
    if (!body)
        ReportPlainError(reports_, "Signature database is empty!");
    return body;
}

void SignatureWriter::SetSignature(const std::string& body)
{
    const std::string path = settings_.SignatureFilePath();
    if (path.empty())
        return ReportPlainError(reports_, NoTargetText);
    ComposeAndWrite(path, body, "");
}

void SignatureWriter::NowPlaying(const std::string& title)
{
    const std::string path = settings_.SignatureFilePath();
    if (path.empty())
        return ReportPlainError(reports_, NoTargetText);
    ComposeAndWrite(path, title, NowPlayingHeading);
}

void SignatureWriter::ComposeAndWrite(const std::string& path, const std::string& body, const std::string& heading)
{
    // A slip in the file dialog must not turn a database or a side file into a signature.
    if (NamesOneOf(path, settings_.ProtectedFiles()))
        return reports_.ReportError("Cannot open signature text file!", OwnFileMessage,
                                    std::string("Error opening signature text file: ") + OwnFileMessage);
    std::optional<TextFileWriter> file;
    try {
        file.emplace(path);
    } catch (const IoFailure& failure) {
        return reports_.ReportError("Cannot open signature text file!", failure.what(),
                                    std::string("Error opening signature text file: ") + failure.what());
    }

    file->Write(ComposeSignatureText(settings_, body, heading));
    file->Close();

    if (settings_.ChangeBalloonOn())
        reports_.Notice("Signature change:", "\"" + body + "\"");
}
