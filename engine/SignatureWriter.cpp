#include "engine/SignatureWriter.h"

#include "engine/IoFailure.h"
#include "engine/TextFileWriter.h"

#include <optional>

namespace {

constexpr const char* LineBreak = "\r\n";
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
    const std::vector<std::string> databases = settings_.DatabaseList();
    if (databases.empty())
        return ReportPlainError(reports_, "There are no files in the database list!");
    if (database_.DatabaseOpen())
        return ReportPlainError(reports_, "Cannot set signature while database is open!");

    const std::string& chosen = databases[random_.Below(databases.size())];
    std::optional<std::string> body;
    try {
        body = database_.RandomRecord(chosen, random_);
    } catch (const DatabaseOpenFailure& failure) {
        return reports_.ReportError("Cannot open signature database!", failure.what(),
                                    std::string("Error opening signature database: ") + failure.what());
    } catch (const std::exception& failure) {
        return ReportFailure(reports_, failure);
    }
    if (!body)
        return ReportPlainError(reports_, "Signature database is empty!");
    ComposeAndWrite(path, *body, "");
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
    std::optional<TextFileWriter> file;
    try {
        file.emplace(path);
    } catch (const IoFailure& failure) {
        return reports_.ReportError("Cannot open signature text file!", failure.what(),
                                    std::string("Error opening signature text file: ") + failure.what());
    }

    const auto writeHeading = [&] {
        if (!heading.empty()) {
            file->Write(heading);
            file->Write(LineBreak);
        }
    };
    if (settings_.DelimiterOn()) {
        file->Write("-- ");
        file->Write(LineBreak);
    }
    if (settings_.StaticTextOn() && settings_.StaticTextAbove()) {
        file->Write(settings_.StaticText());
        file->Write(LineBreak);
        writeHeading();
        file->Write(body);
    } else if (settings_.StaticTextOn()) {
        writeHeading();
        file->Write(body);
        file->Write(LineBreak);
        file->Write(settings_.StaticText());
    } else {
        writeHeading();
        file->Write(body);
    }
    file->Close();

    if (settings_.ChangeBalloonOn())
        reports_.Notice("Signature change:", "\"" + body + "\"");
}
