#pragma once
#include "engine/WriterSettings.h"
#include "settings/KeptEncodings.h"
#include "settings/SettingValues.h"

#include <string>
#include <vector>

namespace vqsig {

// What one pick writes, settled before it starts: from the program's settings, the command
// line, or both. The defaults are the program's own for a fresh machine.
class PickSettings final : public WriterSettings {
public:
    std::string signatureFile;
    bool delimiter = true;
    bool staticText = false;
    bool staticAbove = true;
    std::string staticTextLines; // lines separated by CR LF
    std::vector<std::string> databases;
    // Files the pick reads besides the databases (the list and static-text files) and the
    // program's own side files: never a target.
    std::vector<std::string> sourceFiles;
    // Where the encodings of signature files are kept: Varnquill's settings store, for every
    // pick that writes a file; none for one to standard output with databases of its own.
    HKEY encodingsRoot = nullptr;
    HKEY encodingsReadThroughRoot = nullptr;

    std::string SignatureFilePath() const override { return signatureFile; }
    bool DelimiterOn() const override { return delimiter; }
    bool StaticTextOn() const override { return staticText; }
    bool StaticTextAbove() const override { return staticAbove; }
    std::string StaticText() const override { return staticTextLines; }
    // A console has no balloon to show the change notice in.
    bool ChangeBalloonOn() const override { return false; }
    std::vector<std::string> DatabaseList() const override { return databases; }
    std::vector<std::string> ProtectedFiles() const override
    {
        std::vector<std::string> files = databases;
        files.insert(files.end(), sourceFiles.begin(), sourceFiles.end());
        return files;
    }
    std::optional<TextFileEncoding> KeptEncoding(const std::string& path) const override
    {
        if (!encodingsRoot)
            return std::nullopt;
        return settings::ReadKeptEncoding(settings::RegistryStore(encodingsRoot, encodingsReadThroughRoot), path);
    }
    void KeepEncoding(const std::string& path, TextFileEncoding encoding) const override
    {
        if (!encodingsRoot)
            return;
        settings::RegistryStore store(encodingsRoot, encodingsReadThroughRoot);
        settings::WriteKeptEncoding(store, path, encoding);
    }
};

} // namespace vqsig
