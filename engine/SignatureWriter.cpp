#include "engine/SignatureWriter.h"

#include "engine/IoFailure.h"
#include "engine/OwnFiles.h"
#include "engine/SignatureTarget.h"
#include "engine/SignatureText.h"
#include "engine/TextFileWriter.h"

#include <functional>
#include <optional>
#include <span>

namespace {

constexpr const char* NoTargetText = "You must specify where to write the signature!";

void ReportPlainError(ReportSink& reports, const std::string& text)
{
    reports.ReportError("Error:", text, text);
}

// The other files of the signature's set, each reported like the signature file itself,
// named, since the user chose only one of them. The reports wait until every file is
// written: a report dialog lets the timer start the next change, which must not meet a set
// half written. A sibling that is one of the program's own files (a database named like the
// signature, say) is refused as the chosen file would be. Answers whether all were written.
bool WriteSiblingsReporting(ReportSink& reports, std::span<const SignatureTarget::File> siblings,
                            std::span<const SignatureFileContent> contents,
                            const std::function<bool(HANDLE)>& isProtected)
{
    std::vector<SiblingOpenFailure> failures;
    std::vector<SignatureFileContent> writable;
    for (std::size_t i = 0; i < siblings.size(); ++i) {
        if (siblings[i].refusal)
            failures.push_back({contents[i].path, *siblings[i].refusal});
        else
            writable.push_back(contents[i]);
    }
    const std::vector<SiblingOpenFailure> unopened = WriteSignatureSiblings(writable, isProtected);
    failures.insert(failures.end(), unopened.begin(), unopened.end());
    for (const SiblingOpenFailure& failure : failures) {
        const std::string name = failure.path.substr(failure.path.find_last_of("\\/") + 1);
        const std::string message = failure.message + " (" + name + ")";
        reports.ReportError("Cannot open signature text file!", message,
                            "Error opening signature text file: " + message);
    }
    return failures.empty();
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
        reports_.ReportFileError(chosen, "Cannot open signature database!", failure.what(),
                                 std::string("Error opening signature database: ") + failure.what());
        return std::nullopt;
    } catch (const std::exception& failure) {
        reports_.ReportFileError(chosen, "Error:", failure.what(), std::string("ERROR: ") + failure.what());
        return std::nullopt;
    }
    if (!body)
        reports_.ReportFileError(chosen, "Error:", "Signature database is empty!", "Signature database is empty!");
    return body;
}

void SignatureWriter::SetSignature(const std::string& body)
{
    const std::string path = settings_.SignatureFilePath();
    if (path.empty())
        return ReportPlainError(reports_, NoTargetText);
    ComposeAndWrite(path, body, "");
}

std::string NowPlayingHeading(const std::string& player)
{
    return player + " is currently playing:";
}

void SignatureWriter::NowPlaying(const std::string& player, const std::string& song)
{
    const std::string path = settings_.SignatureFilePath();
    if (path.empty())
        return ReportPlainError(reports_, NoTargetText);
    ComposeAndWrite(path, song, NowPlayingHeading(player));
}

const SignatureTarget& SignatureWriter::Target(const std::string& path)
{
    std::vector<std::string> protectedFiles = settings_.ProtectedFiles();
    if (!target_ || !target_->ClassifiedFor(path, protectedFiles))
        target_.emplace(path, std::move(protectedFiles));
    return *target_;
}

void SignatureWriter::ComposeAndWrite(const std::string& path, const std::string& body, const std::string& heading)
{
    const SignatureTarget& target = Target(path);
    if (const std::optional<std::string>& refusal = target.Files().front().refusal)
        return reports_.ReportFileError(path, "Cannot open signature text file!", *refusal,
                                        "Error opening signature text file: " + *refusal);
    std::optional<TextFileWriter> file;
    try {
        file.emplace(path);
    } catch (const IoFailure& failure) {
        return reports_.ReportFileError(path, "Cannot open signature text file!", failure.what(),
                                        std::string("Error opening signature text file: ") + failure.what());
    }
    if (target.Protects(file->Handle())) {
        file->CloseUnchanged();
        return reports_.ReportFileError(path, "Cannot open signature text file!", OwnFileMessage,
                                        std::string("Error opening signature text file: ") + OwnFileMessage);
    }

    const std::vector<SignatureFileContent> set = target.Contents(ComposeSignatureText(settings_, body, heading));
    file->Write(set.front().bytes);
    file->Close();
    // After an error the change notice would only push its balloon aside.
    const auto isProtected = [&target](HANDLE sibling) { return target.Protects(sibling); };
    if (!WriteSiblingsReporting(reports_, std::span(target.Files()).subspan(1), std::span(set).subspan(1),
                                isProtected))
        return;

    if (settings_.ChangeBalloonOn())
        reports_.Notice("Signature change:", "\"" + body + "\"");
}
