#include "mailclients/MailClientSignatures.h"

#include "mailclients/MozillaPrefs.h"
#include "base/PathParts.h"
#include "base/WholeFile.h"
#include "base/AsciiText.h"
#include "base/CodePages.h"
#include "base/TextLines.h"

#include <windows.h>

#include <algorithm>
#include <iterator>
#include <optional>

namespace mailclients {

namespace {

std::string_view Trimmed(std::string_view text)
{
    const auto blank = [](char c) { return c == ' ' || c == '\t'; };
    while (!text.empty() && blank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && blank(text.back()))
        text.remove_suffix(1);
    return text;
}

// The folders of the profiles that profiles.ini (UTF-8) lists in its [Profile<n>] sections,
// in their order. A relative Path is below the Thunderbird folder, with forward slashes. A
// folder the ANSI code page cannot name is left out: none of its files could be opened here.
std::vector<std::string> ProfileFolders(const std::string& thunderbirdFolder, std::string ini)
{
    if (ini.starts_with("\xEF\xBB\xBF"))
        ini.erase(0, 3);
    std::vector<std::string> folders;
    bool inProfile = false, relative = false;
    std::string path;
    const auto endSection = [&] {
        std::optional<std::string> folder = inProfile && !path.empty() ? base::Utf8ToAnsi(path) : std::nullopt;
        if (folder) {
            std::replace(folder->begin(), folder->end(), '/', '\\');
            folders.push_back(relative ? base::JoinPath(thunderbirdFolder, *folder) : *folder);
        }
        relative = false;
        path.clear();
    };
    for (const std::string& line : base::SplitLines(ini)) {
        const std::string_view trimmed = Trimmed(line);
        if (trimmed.starts_with('[') && trimmed.ends_with(']')) {
            endSection();
            // [General] and [Install...] name no profile of their own.
            inProfile = base::AsciiUpperCase(trimmed.substr(1, trimmed.size() - 2)).starts_with("PROFILE");
            continue;
        }
        const std::size_t equals = trimmed.find('=');
        if (equals == std::string_view::npos)
            continue;
        const std::string key = base::AsciiUpperCase(Trimmed(trimmed.substr(0, equals)));
        const std::string_view value = Trimmed(trimmed.substr(equals + 1));
        if (key == "PATH")
            path = value;
        else if (key == "ISRELATIVE")
            relative = value == "1";
    }
    endSection();
    return folders;
}

struct Identity {
    std::wstring id;
    std::wstring email{};
    std::wstring signatureFile{};    // sig_file: the absolute path
    std::wstring relativeSignature{}; // sig_file-rel: "[ProfD]" and a path below the profile
    bool attachSignature = false;
};

constexpr std::wstring_view ProfileFolderKey = L"[ProfD]";

// The identities of a prefs.js that name a signature file, in the order they first appear.
std::vector<Identity> IdentitiesWithSignatureFiles(const std::string& prefsUtf8)
{
    constexpr std::wstring_view Prefix = L"mail.identity.";
    std::vector<Identity> identities;
    for (const MozillaPref& pref : ParseMozillaPrefs(prefsUtf8)) {
        if (!pref.name.starts_with(Prefix))
            continue;
        const std::size_t dot = pref.name.rfind(L'.');
        if (dot < Prefix.size() + 1)
            continue;
        const std::wstring id = pref.name.substr(Prefix.size(), dot - Prefix.size());
        const std::wstring key = pref.name.substr(dot + 1);
        auto identity =
            std::find_if(identities.begin(), identities.end(), [&](const Identity& i) { return i.id == id; });
        if (identity == identities.end()) {
            identities.push_back({id});
            identity = identities.end() - 1;
        }
        if (key == L"sig_file" && pref.isString) {
            identity->signatureFile = pref.value;
        } else if (key == L"sig_file-rel" && pref.isString && pref.value.starts_with(ProfileFolderKey)) {
            identity->relativeSignature = pref.value;
        } else if (key == L"useremail" && pref.isString) {
            identity->email = pref.value;
        } else if (key == L"attach_signature") {
            identity->attachSignature = !pref.isString && pref.value == L"true";
        }
    }
    std::erase_if(identities,
                  [](const Identity& i) { return i.signatureFile.empty() && i.relativeSignature.empty(); });
    return identities;
}

// The full path of a "[ProfD]" path, below the profile's folder with its "/" and ".." parts
// resolved; empty when it cannot be made.
std::wstring ResolvedInProfile(const std::string& profileFolder, const std::wstring& relative)
{
    std::wstring path =
        base::ToWide(base::JoinPath(profileFolder, ""), CP_ACP) + relative.substr(ProfileFolderKey.size());
    std::replace(path.begin(), path.end(), L'/', L'\\');
    wchar_t full[MAX_PATH * 4];
    const DWORD length = GetFullPathNameW(path.c_str(), static_cast<DWORD>(std::size(full)), full, nullptr);
    if (length == 0 || length >= std::size(full))
        return {}; // no such path could be opened either
    return std::wstring(full, length);
}

bool FileThere(const std::wstring& path)
{
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// Thunderbird keeps both forms and, for a profile that was moved, reads the relative one;
// the absolute one may name where the profile used to be. The one whose file is there wins,
// the relative first; with neither there, the absolute one as the user last set it.
std::wstring SignatureFileOf(const Identity& identity, const std::string& profileFolder)
{
    const std::wstring relative =
        identity.relativeSignature.empty() ? std::wstring() : ResolvedInProfile(profileFolder, identity.relativeSignature);
    if (!relative.empty() && FileThere(relative))
        return relative;
    if (!identity.signatureFile.empty())
        return identity.signatureFile;
    return relative;
}

} // namespace

void FindThunderbirdSignatures(const std::string& appData, MailClientSearch& search)
{
    const std::string thunderbirdFolder = base::JoinPath(appData, "Thunderbird");
    const std::string profilesIni = base::JoinPath(thunderbirdFolder, "profiles.ini");
    search.lookedIn.push_back(profilesIni);
    std::string ini;
    try {
        ini = base::ReadWholeFile(profilesIni);
    } catch (const base::FileAccessError&) {
        return; // no Thunderbird for this user
    }
    for (const std::string& folder : ProfileFolders(thunderbirdFolder, std::move(ini))) {
        std::string prefs;
        try {
            prefs = base::ReadWholeFile(base::JoinPath(folder, "prefs.js"));
        } catch (const base::FileAccessError&) {
            continue; // a profile listed but gone, or never started
        }
        for (const Identity& identity : IdentitiesWithSignatureFiles(prefs)) {
            const std::wstring signatureFile = SignatureFileOf(identity, folder);
            if (signatureFile.empty())
                continue;
            const std::optional<std::string> email = base::WideToAnsi(identity.email);
            search.found.push_back({"Thunderbird",
                                    email && !email->empty() ? *email : base::ShownInAnsi(identity.id),
                                    identity.attachSignature, base::WideToAnsi(signatureFile).value_or("")});
        }
    }
}

} // namespace mailclients
