#include "settings/SettingValues.h"

namespace settings {

std::string SwitchText(bool on)
{
    return on ? SwitchOnText : SwitchOffText;
}

std::string PlacementText(bool above)
{
    return above ? PlaceAboveText : PlaceBelowText;
}

bool SwitchIsOn(const std::string& stored)
{
    return stored == SwitchOnText;
}

bool SigBreakIsOn(const std::string& stored)
{
    return stored != SwitchOffText;
}

bool PlacementIsAbove(const std::string& stored)
{
    return stored == PlaceAboveText;
}

int ReadMinutes(const RegistryStore& store)
{
    return store.ReadInteger(SettingsKey, MinutesValue, DefaultMinutes);
}

std::string ReadSignatureFilePath(const RegistryStore& store)
{
    return store.ReadString(SettingsKey, SignatureFileValue, std::string());
}

bool ReadSwitch(const RegistryStore& store, const char* name)
{
    return SwitchIsOn(store.ReadString(SettingsKey, name, SwitchOffText));
}

bool ReadSigBreak(const RegistryStore& store)
{
    return SigBreakIsOn(store.ReadString(SettingsKey, SigBreakValue, SwitchOnText));
}

bool ReadStaticAbove(const RegistryStore& store)
{
    return PlacementIsAbove(store.ReadString(SettingsKey, StatPlaceValue, PlaceAboveText));
}

std::string ReadOrder(const RegistryStore& store)
{
    return store.ReadString(SettingsKey, OrderValue, DefaultOrderName);
}

WORD ReadPasteHotKey(const RegistryStore& store)
{
    // Only the field's two bytes mean anything; whatever else a hand-made value holds is not
    // a combination.
    return LOWORD(store.ReadDword(SettingsKey, PasteHotKeyValue, 0));
}

void WriteMinutes(RegistryStore& store, int minutes)
{
    store.WriteInteger(SettingsKey, MinutesValue, minutes);
}

void WriteSignatureFilePath(RegistryStore& store, const std::string& path)
{
    store.WriteString(SettingsKey, SignatureFileValue, path);
}

void WriteSwitch(RegistryStore& store, const char* name, bool on)
{
    store.WriteString(SettingsKey, name, SwitchText(on));
}

void WriteStaticPlace(RegistryStore& store, bool above)
{
    store.WriteString(SettingsKey, StatPlaceValue, PlacementText(above));
}

void WriteOrder(RegistryStore& store, const std::string& name)
{
    store.WriteString(SettingsKey, OrderValue, name);
}

void WritePasteHotKey(RegistryStore& store, WORD value)
{
    store.WriteDword(SettingsKey, PasteHotKeyValue, value);
}

void WriteWindowPosition(RegistryStore& store, int top, int left)
{
    store.WriteInteger(SettingsKey, TopValue, top);
    store.WriteInteger(SettingsKey, LeftValue, left);
}

} // namespace settings
