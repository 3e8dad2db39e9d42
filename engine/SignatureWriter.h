#pragma once
#include "engine/RandomIndex.h"
#include "engine/ReportSink.h"
#include "engine/SignatureDatabase.h"
#include "engine/SignatureTarget.h"
#include "engine/WriterSettings.h"

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
    // The program's writer re-seeds from the clock before every pick.
    SignatureWriter(SignatureDatabase& database, const WriterSettings& settings, ReportSink& reports);
    // With another random source, e.g. a fixed one in tests. The source must outlive the writer.
    SignatureWriter(SignatureDatabase& database, const WriterSettings& settings, ReportSink& reports,
                    RandomIndexSource& random);

    // A random record of a random database from the list (tray menu, auto-change timer).
    void RandomChange();
    // The checks after the target (list, editor, database) and the pick itself: the body of
    // a random record, or nothing when a report was made.
    std::optional<std::string> PickRandomBody();
    // The editor's signature field text as it stands ("Set signature").
    void SetSignature(const std::string& body);
    // The playing song under the heading line that names its player (tray menu); the change
    // notice quotes the song alone.
    void NowPlaying(const std::string& player, const std::string& song);
    // The common writer: delimiter, static text and heading around the body, then the change
    // notice. heading is empty except for NowPlaying. A path naming one of the settings'
    // protected files is refused with a report, and nothing is written. What the path's set
    // holds and what the guard says of it are found when the path or the protected files
    // (the list, the database open in the editor) have changed since the last write: a file
    // of the set made meanwhile beside an unchanged path is written from the next such change.
    void ComposeAndWrite(const std::string& path, const std::string& body, const std::string& heading);

private:
    // The target classified for the path and the settings' protected files as they stand,
    // made anew only when either has changed since the last write.
    const SignatureTarget& Target(const std::string& path);

    SignatureDatabase& database_;
    const WriterSettings& settings_;
    ReportSink& reports_;
    ClockSeededRandom clockRandom_;
    RandomIndexSource& random_;
    std::optional<SignatureTarget> target_;
};
