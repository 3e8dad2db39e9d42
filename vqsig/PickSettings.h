#pragma once
#include "engine/WriterSettings.h"
#include "settings/SettingsStore.h"
#include "settings/SignatureProfile.h"

#include <string>
#include <vector>

namespace vqsig {

// What one pick writes, settled before it starts: a signature profile, Varnquill's own as
// its store loads it or a fresh machine's for a pick that stands on its own, with what the
// command line changes in it; what the command line adds (the files it names, which are
// never a target); and the store that keeps the signature files' encodings, when the pick
// touches Varnquill's settings at all.
class PickSettings final : public WriterSettings {
public:
    settings::SignatureProfile profile;
    // Files the pick reads besides the databases (a list and a static-text file named on the
    // command line), the program's own files and the databases Varnquill lists: never a
    // target.
    std::vector<std::string> sourceFiles;
    // None for a pick to standard output with databases of its own: nothing is kept then.
    settings::SettingsStore* store = nullptr;

    std::string SignatureFilePath() const override { return profile.signatureFile; }
    bool DelimiterOn() const override { return profile.delimiter; }
    bool StaticTextOn() const override { return profile.staticTextOn; }
    bool StaticTextAbove() const override { return profile.staticTextAbove; }
    std::string StaticText() const override { return profile.staticText; }
    // A console has no balloon to show the change notice in.
    bool ChangeBalloonOn() const override { return false; }
    std::vector<std::string> DatabaseList() const override { return profile.databases; }
    std::vector<std::string> ProtectedFiles() const override
    {
        std::vector<std::string> files = profile.databases;
        files.insert(files.end(), sourceFiles.begin(), sourceFiles.end());
        return files;
    }
    std::optional<TextFileEncoding> KeptEncoding(const std::string& path) const override
    {
        return store ? store->KeptEncoding(path) : std::nullopt;
    }
    void KeepEncoding(const std::string& path, TextFileEncoding encoding) const override
    {
        if (store)
            store->KeepEncoding(path, encoding);
    }
};

} // namespace vqsig
