#include "engine/SignatureWriter.h"
#include "base/CodePages.h"
#include "base/PathParts.h"

#include "engine/IoFailure.h"
#include "engine/OrderedPick.h"
#include "engine/OwnFiles.h"
#include "engine/SignatureTarget.h"
#include "engine/SignatureText.h"
#include "engine/TextFileWriter.h"
#include "engine/WholeRecords.h"
#include "engine/WrittenBody.h"
#include "base/TextHash.h"

#include <functional>
#include <optional>
#include <span>

namespace {

constexpr const char* NoTargetText = "You must specify where to write the signature!";

void ReportPlainError(ReportSink& reports, const std::string& text)
{
    reports.ReportError("Error:", text, text);
}

constexpr const char* CannotOpenTitle = "Cannot open signature text file!";

std::string CannotOpenDialogText(const std::string& reason)
{
    return "Error opening signature text file: " + reason;
}

// The other files of the signature's family, each reported like the signature file itself,
// named, since the user chose only one of them. The reports wait until every file is
// written: a report dialog lets the timer start the next change, which must not meet a family
// half written. A sibling that is one of the program's own files or a database (one named
// like the signature, say) is refused as the chosen file would be. Answers whether all were
// written.
bool WriteSiblingsReporting(ReportSink& reports, std::span<const SignatureTarget::File> siblings,
                            std::span<const SignatureFileContent> contents,
                            const std::function<bool(HANDLE)>& isProtected, const SiblingWritten& written)
{
    std::vector<SiblingOpenFailure> failures;
    std::vector<SignatureFileContent> writable;
    for (std::size_t i = 0; i < siblings.size(); ++i) {
        if (siblings[i].refusal)
            failures.push_back({contents[i].path, *siblings[i].refusal});
        else if (contents[i].encoding == TextFileEncoding::Utf32)
            failures.push_back({contents[i].path, UnwritableEncodingMessage});
        else
            writable.push_back(contents[i]);
    }
    const std::vector<SiblingOpenFailure> unopened = WriteSignatureSiblings(writable, isProtected, written);
    failures.insert(failures.end(), unopened.begin(), unopened.end());
    for (const SiblingOpenFailure& failure : failures) {
        const std::string name(base::FileNamePart(failure.path));
        const std::string message = failure.message + " (" + name + ")";
        reports.ReportError(CannotOpenTitle, message, CannotOpenDialogText(message));
    }
    return failures.empty();
}

// Why the open signature file must not be written after all, looked at through its handle:
// it has become a copy of a database nobody lists (unless nobody but the program wrote it
// since the program did: then it holds the program's own text), or it is in UTF-32. A read
// that fails is the reason itself; nothing has been written.
std::optional<std::string> RefusalOfOpenFile(HANDLE file, const SignatureFileContent& content)
{
    try {
        if (!content.asWritten && HoldsSignatureRecords(file))
            return OwnFileMessage;
    } catch (const IoFailure& failure) {
        return failure.what();
    }
    if (content.encoding == TextFileEncoding::Utf32)
        return UnwritableEncodingMessage;
    return std::nullopt;
}

} // namespace

SignatureWriter::SignatureWriter(SignatureDatabase& database, const WriterSettings& settings, ReportSink& reports,
                                 OrderKeeper* order)
    : database_(database), settings_(settings), reports_(reports), random_(clockRandom_), order_(order)
{
}

SignatureWriter::SignatureWriter(SignatureDatabase& database, const WriterSettings& settings, ReportSink& reports,
                                 RandomIndexSource& random, OrderKeeper* order)
    : database_(database), settings_(settings), reports_(reports), random_(random), order_(order)
{
}

std::optional<std::string> SignatureWriter::TargetPath()
{
    std::string path = settings_.SignatureFilePath();
    if (path.empty()) {
        ReportPlainError(reports_, NoTargetText);
        return std::nullopt;
    }
    return path;
}

void SignatureWriter::RandomChange()
{
    const std::optional<std::string> path = TargetPath();
    if (!path)
        return;
    if (const std::optional<PickedBody> body = PickRandomBody())
        if (ComposeAndWrite(*path, body->text, ""))
            KeepOrderPlace(*body);
}

std::optional<std::string> SignatureWriter::RandomChangeToCopy()
{
    const std::string path = settings_.SignatureFilePath();
    const std::optional<PickedBody> body = PickRandomBody();
    if (!body)
        return std::nullopt;
    std::string text;
    const auto compose = [&] {
        text = ComposeSignatureText(settings_, body->text, "");
        return SignatureTarget::ComposedText(text);
    };
    if (!path.empty()) {
        if (!WriteComposed(path, compose, body->text))
            return std::nullopt;
    } else {
        compose();
        AnnounceChange(body->text);
    }
    KeepOrderPlace(*body);
    return text;
}

std::optional<SignatureWriter::PickedBody> SignatureWriter::PickRandomBody()
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

    // The database a report names: the one the pick opened last.
    std::string reading;
    std::optional<OrderPlace> place;
    std::optional<std::string> body;
    try {
        if (order_) {
            place = order_->Place();
            if (order_->Order() == SignatureOrder::Random && !order_->KeepsPlace())
                AvoidTextInSignatureFile(*place);
            body = PickInOrder(database_, databases, order_->Order(), random_, *place, reading);
        } else {
            reading = databases[random_.Below(databases.size())];
            body = database_.RandomRecord(reading, random_);
        }
    } catch (const DatabaseOpenFailure& failure) {
        reports_.ReportFileError(reading, "Cannot open signature database!", failure.what(),
                                 std::string("Error opening signature database: ") + failure.what());
        return std::nullopt;
    } catch (const std::exception& failure) {
        reports_.ReportFileError(reading, "Error:", failure.what(), std::string("ERROR: ") + failure.what());
        return std::nullopt;
    }
    if (!body) {
        reports_.ReportFileError(reading, "Error:", "Signature database is empty!", "Signature database is empty!");
        return std::nullopt;
    }
    return PickedBody{std::move(*body), place};
}

void SignatureWriter::AvoidTextInSignatureFile(OrderPlace& place) const
{
    // The place read is the one the file kept before it could no longer be written, so its
    // last text may be older than the one the signature shows now.
    const std::string path = settings_.SignatureFilePath();
    if (path.empty())
        return;
    if (const std::optional<std::string> last = BodyInSignatureFile(path, settings_))
        place.lastTextHash = base::TextHash(*last);
}

void SignatureWriter::KeepOrderPlace(const PickedBody& picked)
{
    if (order_ && picked.placeAfter)
        order_->KeepPlace(*picked.placeAfter);
}

void SignatureWriter::SetSignature(const std::string& body)
{
    if (const std::optional<std::string> path = TargetPath())
        ComposeAndWrite(*path, body, "");
}

std::string NowPlayingHeading(const std::string& player)
{
    return player + " is currently playing:";
}

void SignatureWriter::NowPlaying(const std::string& player, const std::string& song)
{
    const std::optional<std::string> path = TargetPath();
    if (!path)
        return;
    const std::wstring wideSong = base::ToWide(song, CP_UTF8);
    const std::wstring heading = base::ToWide(NowPlayingHeading(player), CP_ACP);
    WriteComposed(
        *path, [&] { return SignatureTarget::ComposedText(ComposeSignatureText(settings_, wideSong, heading)); },
        base::ShownInAnsi(wideSong));
}

SignatureTarget& SignatureWriter::Target(const std::string& path)
{
    std::vector<std::string> protectedFiles = settings_.ProtectedFiles();
    if (!target_ || !target_->ClassifiedFor(path, protectedFiles))
        target_.emplace(path, std::move(protectedFiles), settings_.ThunderbirdSignatureFiles());
    return *target_;
}

bool SignatureWriter::ComposeAndWrite(const std::string& path, const std::string& body, const std::string& heading)
{
    return WriteComposed(
        path, [&] { return SignatureTarget::ComposedText(ComposeSignatureText(settings_, body, heading)); }, body);
}

bool SignatureWriter::WriteComposed(const std::string& path,
                                    const std::function<SignatureTarget::ComposedText()>& compose,
                                    const std::string& noticeBody)
{
    SignatureTarget& target = Target(path);
    if (const std::optional<std::string>& refusal = target.Files().front().refusal) {
        reports_.ReportFileError(path, CannotOpenTitle, *refusal, CannotOpenDialogText(*refusal));
        return false;
    }
    std::optional<TextFileWriter> file;
    try {
        file.emplace(path);
    } catch (const IoFailure& failure) {
        reports_.ReportFileError(path, CannotOpenTitle, failure.what(), CannotOpenDialogText(failure.what()));
        return false;
    }
    const auto refuse = [&](const std::string& why) {
        file->CloseUnchanged();
        reports_.ReportFileError(path, CannotOpenTitle, why, CannotOpenDialogText(why));
        return false;
    };
    // Asked of the open file: since the target was classified it may have become a link to a
    // protected file.
    if (target.Protects(file->Handle()))
        return refuse(OwnFileMessage);

    // Composed once the file is open, as the settings stand at the moment of writing.
    const std::vector<SignatureFileContent> family =
        target.Contents(compose(), settings_, settings_.DelimiterOn(), file->StampAtOpen());
    if (const std::optional<std::string> refusal = RefusalOfOpenFile(file->Handle(), family.front()))
        return refuse(*refusal);
    file->Write(family.front().bytes);
    if (const std::optional<FileStamp> stamp = file->Close())
        target.Written(family.front(), *stamp);
    // After an error the change notice would only push its balloon aside.
    const auto isProtected = [&target](HANDLE sibling) { return target.Protects(sibling); };
    const auto written = [&target](const SignatureFileContent& sibling, const FileStamp& stamp) {
        target.Written(sibling, stamp);
    };
    if (!WriteSiblingsReporting(reports_, std::span(target.Files()).subspan(1), std::span(family).subspan(1),
                                isProtected, written))
        return true;

    AnnounceChange(noticeBody);
    return true;
}

void SignatureWriter::AnnounceChange(const std::string& body)
{
    if (settings_.ChangeBalloonOn())
        reports_.Notice("Signature change:", "\"" + body + "\"");
}
