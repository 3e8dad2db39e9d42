#pragma once
#include "engine/RandomIndex.h"
#include "engine/ReportSink.h"
#include "engine/SignatureDatabase.h"
#include "engine/SignatureTarget.h"
#include "engine/SignatureOrder.h"
#include "engine/WriterSettings.h"

#include <functional>
#include <optional>
#include <string>

// The heading line written above the song by NowPlaying: "Winamp is currently playing:".
std::string NowPlayingHeading(const std::string& player);

// Writes the signature text file from one of three sources. Switches, paths and the database
// list are read from the settings at the moment of writing; every outcome the user should
// hear of goes to the report sink. A failure while writing the text file is not reported:
// it closes the file and travels on to the caller (the application's last-resort handler).
class SignatureWriter {
public:
    // The program's writer re-seeds from the clock before every pick. With an order keeper
    // the random change follows the order the user chose and moves its place; without one it
    // is the plain random pick, remembering nothing. The keeper must outlive the writer.
    SignatureWriter(SignatureDatabase& database, const WriterSettings& settings, ReportSink& reports,
                    OrderKeeper* order = nullptr);
    // With another random source, e.g. a fixed one in tests. The source must outlive the writer.
    SignatureWriter(SignatureDatabase& database, const WriterSettings& settings, ReportSink& reports,
                    RandomIndexSource& random, OrderKeeper* order = nullptr);
    // The program's writer draws from a source of its own, so a copy would draw from the original's.
    SignatureWriter(const SignatureWriter&) = delete;
    SignatureWriter& operator=(const SignatureWriter&) = delete;

    // A record of the listed databases, in the keeper's order (tray menu, auto-change timer).
    // The order's place moves only when the signature file was written.
    void RandomChange();
    // The random change for a signature that goes to the clipboard as well: the same checks,
    // pick, order, file and reports, except that without a signature file set it only makes
    // the signature (and gives the change notice), with no error. Answers the composed text
    // once the signature has gone out, nothing when a report ended the change.
    std::optional<std::string> RandomChangeToCopy();
    // A picked body and where the order stands once it has gone out.
    struct PickedBody {
        std::string text;
        std::optional<OrderPlace> placeAfter; // none without a keeper
    };
    // The checks after the target (list, editor, database) and the pick itself: the body of
    // the next record in order, or nothing when a report was made. The order's place stays
    // where it is until KeepOrderPlace.
    std::optional<PickedBody> PickRandomBody();
    // Moves the order on past a picked body, once it is out.
    void KeepOrderPlace(const PickedBody& picked);
    // The editor's signature field text as it stands ("Set signature").
    void SetSignature(const std::string& body);
    // The playing song (UTF-8) under the heading line that names its player (tray menu); the
    // change notice quotes the song alone. The song goes whole into a file whose encoding
    // holds it (see SignatureInFormat).
    void NowPlaying(const std::string& player, const std::string& song);
    // The common writer: delimiter, static text and heading around the body, then the change
    // notice. heading is empty except for NowPlaying. A path naming one of the settings'
    // protected files or a signature database (by its ".sigs" name, or by the records it
    // holds) is refused with a report, and nothing is written. What the path's family
    // holds, which of its files Thunderbird reads and what the guard says of them are found
    // when the path or the protected files (the list, the database open in the editor) have
    // changed since the last write: a file of the family made meanwhile beside an unchanged path
    // is written from the next such change.
    // Answers whether the signature file was written (its family's other files aside).
    bool ComposeAndWrite(const std::string& path, const std::string& body, const std::string& heading);

private:
    // At random with a keeper whose place does not reach the next change: the text the
    // signature file holds is the last one, whatever the place says.
    void AvoidTextInSignatureFile(OrderPlace& place) const;
    // ComposeAndWrite's writing; the text is composed once the file is open (a failure then
    // closes it), and the change notice quotes noticeBody.
    bool WriteComposed(const std::string& path, const std::function<SignatureTarget::ComposedText()>& compose,
                       const std::string& noticeBody);
    // The signature file's path from the settings; when none is set, reported, and nothing.
    std::optional<std::string> TargetPath();
    // The change notice, when the settings ask for it: the body alone, quoted.
    void AnnounceChange(const std::string& body);
    // The target classified for the path and the settings' protected files as they stand,
    // made anew only when either has changed since the last write.
    SignatureTarget& Target(const std::string& path);

    SignatureDatabase& database_;
    const WriterSettings& settings_;
    ReportSink& reports_;
    ClockSeededRandom clockRandom_;
    RandomIndexSource& random_;
    std::optional<SignatureTarget> target_;
    OrderKeeper* order_;
};
