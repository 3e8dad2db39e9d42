#pragma once
#include "base/AsciiText.h"
#include "engine/SignatureOrder.h"
#include "settings/SettingValues.h"

#include <algorithm>

#include <windows.h>

#include <string>
#include <vector>

namespace settings {

// Everything one rotating signature is made of, as plain values: what the window shows of
// it, what a pick from the command line goes by, what the writer reads. The defaults are a
// fresh machine's. SettingsStore loads and keeps it; where the order stands between changes
// is no value of it but the order state file's, which every program changing the signature
// reads at each change (SettingsStore::KeptOrderPlace).
struct SignatureProfile {
    std::string signatureFile;          // "OEFile"; empty: none
    bool delimiter = true;              // "SigBreak"
    bool staticTextOn = false;          // "Static"
    bool staticTextAbove = true;        // "StatPlace"
    std::string staticText;             // "static.sig.qmz": lines separated by CR LF
    std::vector<std::string> databases; // "sigs.list", in list order
    SignatureOrder order = SignatureOrder::Random; // "Order"
    WORD pasteHotKey = 0;               // "PasteHotKey": the hot-key field's value, 0 for none

    bool operator==(const SignatureProfile&) const = default;
};

// Whether the profile lists the database, in whatever letter case.
inline bool ListsDatabase(const SignatureProfile& profile, const std::string& path)
{
    return std::any_of(profile.databases.begin(), profile.databases.end(),
                       [&](const std::string& listed) { return base::AsciiEqualNoCase(listed, path); });
}

// The program's own settings, one for all its signatures.
struct ProgramOptions {
    bool autoChange = false;    // "AutoChange"
    int minutes = DefaultMinutes; // "Minutes"
    bool changeBalloon = false; // "Balloon"
    bool errorBalloons = false; // "Error"
    bool startupEntry = false;  // the Run key's "qmz Varnquill", in either root
    // The window's place as stored ("Top", "Left"), both or neither; the window brings it
    // within reach of the screens there are when it applies it.
    std::string top;
    std::string left;

    bool operator==(const ProgramOptions&) const = default;
};

} // namespace settings
