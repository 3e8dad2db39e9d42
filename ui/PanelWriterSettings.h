#pragma once
#include "engine/WriterSettings.h"

class DatabaseEditor;
class DatabaseListPanel;
class SettingsPanel;
class ProgramServices;

// The signature writer's settings, answered from the panels at the moment of asking, so a
// change the user just made applies to the very next signature.
class PanelWriterSettings : public WriterSettings {
public:
    PanelWriterSettings(const SettingsPanel& settings, const DatabaseEditor& editor, const DatabaseListPanel& list,
                        ProgramServices& services);

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

private:
    const SettingsPanel& settings_;
    const DatabaseEditor& editor_;
    const DatabaseListPanel& list_;
    ProgramServices& services_;
};
