#include "ui/PanelWriterSettings.h"

#include "mailclients/MailClientSignatures.h"
#include "settings/KeptEncodings.h"
#include "settings/SettingValues.h"
#include "ui/DatabaseEditor.h"
#include "ui/DatabaseListPanel.h"
#include "ui/ProgramServices.h"
#include "ui/SettingsPanel.h"

PanelWriterSettings::PanelWriterSettings(const SettingsPanel& settings, const DatabaseEditor& editor,
                                         const DatabaseListPanel& list, ProgramServices& services)
    : settings_(settings), editor_(editor), list_(list), services_(services)
{
}

std::string PanelWriterSettings::SignatureFilePath() const
{
    return settings_.SignatureFilePath();
}

bool PanelWriterSettings::DelimiterOn() const
{
    return settings_.DelimiterOn();
}

bool PanelWriterSettings::StaticTextOn() const
{
    return settings_.StaticTextOn();
}

bool PanelWriterSettings::StaticTextAbove() const
{
    return settings_.StaticTextAbove();
}

std::string PanelWriterSettings::StaticText() const
{
    return settings_.StaticText();
}

bool PanelWriterSettings::ChangeBalloonOn() const
{
    return settings_.ChangeBalloonOn();
}

std::vector<std::string> PanelWriterSettings::DatabaseList() const
{
    return list_.Items();
}

std::vector<std::string> PanelWriterSettings::ProtectedFiles() const
{
    std::vector<std::string> files = list_.Items();
    if (std::optional<std::string> open = editor_.DatabaseInEditor())
        files.push_back(std::move(*open));
    const std::vector<std::string> sideFiles = services_.SideFilePaths();
    files.insert(files.end(), sideFiles.begin(), sideFiles.end());
    return files;
}

std::vector<std::string> PanelWriterSettings::ThunderbirdSignatureFiles() const
{
    return mailclients::ThunderbirdSignatureFiles();
}

std::optional<TextFileEncoding> PanelWriterSettings::KeptEncoding(const std::string& path) const
{
    std::optional<TextFileEncoding> kept;
    services_.UseSettings([&](const settings::RegistryStore& store) { kept = settings::ReadKeptEncoding(store, path); });
    return kept;
}

void PanelWriterSettings::KeepEncoding(const std::string& path, TextFileEncoding encoding) const
{
    services_.UseSettings([&](settings::RegistryStore& store) { settings::WriteKeptEncoding(store, path, encoding); });
}
