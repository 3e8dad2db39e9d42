#pragma once
#include "engine/SignatureOrder.h"
#include "engine/WriterSettings.h"

class DatabaseEditor;
class ProgramServices;
class Reports;

// What the signature writer reads, and the order it follows, answered from the signature
// profile and the program's options as they stand (ProgramServices), so a change the user
// just made applies to the very next signature; and what is none of the profile's: the
// database open in the editor, Thunderbird's files, the kept encodings and the order's place.
//
// Where the order's place cannot be kept, it goes on in memory, and an error balloon says so
// once, when error balloons are on.
class ProfileForWriter : public WriterSettings, public OrderKeeper {
public:
    ProfileForWriter(ProgramServices& services, const DatabaseEditor& editor, Reports& reports);

    // ---- WriterSettings ----
    std::string SignatureFilePath() const override;
    bool DelimiterOn() const override;
    bool StaticTextOn() const override;
    bool StaticTextAbove() const override;
    std::string StaticText() const override;
    bool ChangeBalloonOn() const override;
    std::vector<std::string> DatabaseList() const override;
    std::vector<std::string> ProtectedFiles() const override;
    std::vector<std::string> ThunderbirdSignatureFiles() const override;
    std::optional<TextFileEncoding> KeptEncoding(const std::string& path) const override;
    void KeepEncoding(const std::string& path, TextFileEncoding encoding) const override;

    // ---- OrderKeeper ----
    SignatureOrder Order() const override;
    OrderPlace Place() const override;
    void KeepPlace(const OrderPlace& place) override;

private:
    ProgramServices& services_;
    const DatabaseEditor& editor_;
    Reports& reports_;
    // Found once: asked at every change, they stay where they are for the whole run.
    const std::vector<std::string> ownFiles_;
    bool unkeptSaid_ = false; // the place could not be kept, and the user has heard
};
