#pragma once
#include "settings/RegistryStore.h"

#include <optional>

#include <string>

// The program's settings under "\Software\qmz\Varnquill\": their names, defaults, the
// strings they are stored as, and what a stored string means.
//
// Reading at start-up, one call per setting:
//   auto-change minutes   ReadMinutes(store)                    (default 10)
//   signature text file   ReadSignatureFilePath(store)          (default empty)
//   auto-change switch    ReadSwitch(store, AutoChangeValue)    (on only for exactly "True")
//   change balloon        ReadSwitch(store, BalloonValue)
//   error balloons        ReadSwitch(store, ErrorValue)
//   static text           ReadSwitch(store, StaticValue)
//   signature delimiter   ReadSigBreak(store)                   (off only for exactly "False")
//   static text's place   ReadStaticAbove(store)                (above only for exactly "Above")
//   order of changes      ReadOrder(store)                      (the order's name, default "Random")
//   paste hot key         ReadPasteHotKey(store)                (REG_DWORD, default 0: none)
//   window position       store.ReadString(SettingsKey, TopValue, "") and LeftValue: apply
//                         only when both are non-empty, converting "Top" first with
//                         ParseInteger (IntegerText.h), whose failure is the start-up failure.
//
// Writing when a setting changes:
//   WriteMinutes, WriteSignatureFilePath, WriteSwitch(store, name, on),
//   WriteStaticPlace(store, above), WriteOrder(store, name), WritePasteHotKey(store, value),
//   WriteWindowPosition(store, top,
//   left) at exit.
//
// Where the order stands is no setting: the order state file (OrderStateFile.h) keeps it.
namespace settings {

inline constexpr const char* SettingsKey = "\\Software\\qmz\\Varnquill\\";
// The start-up entry (StartupEntry.h): the value under the Run key of either root.
inline constexpr const char* RunKey = "\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run\\";
inline constexpr const char* StartupValue = "qmz Varnquill";

inline constexpr const char* MinutesValue = "Minutes";
inline constexpr const char* SignatureFileValue = "OEFile";
inline constexpr const char* AutoChangeValue = "AutoChange";
inline constexpr const char* BalloonValue = "Balloon";
inline constexpr const char* ErrorValue = "Error";
inline constexpr const char* SigBreakValue = "SigBreak";
inline constexpr const char* StaticValue = "Static";
inline constexpr const char* StatPlaceValue = "StatPlace";
inline constexpr const char* TopValue = "Top";
inline constexpr const char* LeftValue = "Left";
// The order of random changes, by the engine's names for it ("Random", "Shuffle",
// "Sequence").
inline constexpr const char* OrderValue = "Order";
inline constexpr const char* DefaultOrderName = "Random";
// The paste hot key as the hot-key field holds it (REG_DWORD: the virtual key in the low
// byte, the field's modifier flags in the next); 0 or missing for none.
inline constexpr const char* PasteHotKeyValue = "PasteHotKey";

inline constexpr int DefaultMinutes = 10;

// Stored forms.
inline constexpr const char* SwitchOnText = "True";
inline constexpr const char* SwitchOffText = "False";
inline constexpr const char* PlaceAboveText = "Above";
inline constexpr const char* PlaceBelowText = "Below";

std::string SwitchText(bool on);          // "True" / "False"
std::string PlacementText(bool above);    // "Above" / "Below"

// How a stored string reads; every comparison is exact and case-sensitive.
bool SwitchIsOn(const std::string& stored);        // only "True" is on
bool SigBreakIsOn(const std::string& stored);      // only "False" is off
bool PlacementIsAbove(const std::string& stored);  // only "Above" is above

// The settings as start-up reads them from the store (key SettingsKey). Registry failures
// (a value of another type, see RegistryStore.h) propagate.
int ReadMinutes(const RegistryStore& store);
std::string ReadSignatureFilePath(const RegistryStore& store);
bool ReadSwitch(const RegistryStore& store, const char* name); // AutoChange, Balloon, Error, Static
bool ReadSigBreak(const RegistryStore& store);
bool ReadStaticAbove(const RegistryStore& store);
std::string ReadOrder(const RegistryStore& store);
WORD ReadPasteHotKey(const RegistryStore& store);

void WriteMinutes(RegistryStore& store, int minutes);
void WriteSignatureFilePath(RegistryStore& store, const std::string& path);
void WriteSwitch(RegistryStore& store, const char* name, bool on); // SigBreak too
void WriteStaticPlace(RegistryStore& store, bool above);
void WriteOrder(RegistryStore& store, const std::string& name);
void WritePasteHotKey(RegistryStore& store, WORD value);
void WriteWindowPosition(RegistryStore& store, int top, int left);

} // namespace settings
