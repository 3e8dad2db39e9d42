#include "ui/PanelWriterSettings.h"

#include "settings/SettingValues.h"
#include "settings/SettingsPlaces.h"
#include "ui/DatabaseEditor.h"
#include "ui/DatabaseListPanel.h"
#include "ui/ProgramState.h"
#include "ui/SettingsPanel.h"

PanelWriterSettings::PanelWriterSettings(const SettingsPanel& settings, const DatabaseEditor& editor,
                                         const DatabaseListPanel& list, const ProgramState& program)
    : settings_(settings), editor_(editor), list_(list), program_(program)
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
    if (const settings::SettingsPlaces* places = program_.places.get()) {
        const std::vector<std::string> sideFiles = places->SideFilePaths();
        files.insert(files.end(), sideFiles.begin(), sideFiles.end());
    }
    return files;
}

std::optional<TextFileEncoding> PanelWriterSettings::KeptEncoding(const std::string& path) const
{
    const settings::SettingsPlaces* places = program_.places.get();
    return places ? settings::ReadKeptEncoding(places->SettingsStore(), path) : std::nullopt;
}

void PanelWriterSettings::KeepEncoding(const std::string& path, TextFileEncoding encoding) const
{
    if (const settings::SettingsPlaces* places = program_.places.get()) {
        settings::RegistryStore store = places->SettingsStore();
        settings::WriteKeptEncoding(store, path, encoding);
    }
}
