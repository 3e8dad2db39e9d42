#pragma once
#include "engine/TextFileEncoding.h"

#include <optional>
#include <string>
#include <vector>

// What the signature writer reads at the moment of writing. The main window answers from its
// controls, so a change the user just made applies to the very next signature.
class WriterSettings {
public:
    virtual ~WriterSettings() = default;

    virtual std::string SignatureFilePath() const = 0; // empty: not set
    virtual bool DelimiterOn() const = 0;
    virtual bool StaticTextOn() const = 0;
    virtual bool StaticTextAbove() const = 0;          // false: below
    virtual std::string StaticText() const = 0;        // lines separated by CR LF, as held
    virtual bool ChangeBalloonOn() const = 0;
    virtual std::vector<std::string> DatabaseList() const = 0;
    // Files the signature must never overwrite: the listed databases, the one open in the
    // editor, and the program's own side files.
    virtual std::vector<std::string> ProtectedFiles() const = 0;
    // The signature files Thunderbird reads (its identities' files): it puts its own "-- "
    // line above a signature in which it finds none, so these are written for it to find the
    // delimiter. Asked only when the signature's family is looked for; none where nobody knows.
    virtual std::vector<std::string> ThunderbirdSignatureFiles() const { return {}; }
    // The encoding a signature file was last found in, kept with the settings by its full
    // path (PlainFullPath, as the writer gives it): a file whose bytes tell nothing any more
    // (pure ASCII after an ASCII signature) keeps it until it shows another. Settings that
    // keep nothing answer nothing and forget.
    virtual std::optional<TextFileEncoding> KeptEncoding(const std::string& path) const
    {
        static_cast<void>(path);
        return std::nullopt;
    }
    virtual void KeepEncoding(const std::string& path, TextFileEncoding encoding) const
    {
        static_cast<void>(path);
        static_cast<void>(encoding);
    }
};
