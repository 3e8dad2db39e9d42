#include "mailclients/MailClientSignatures.h"

#include "base/AsciiText.h"
#include "base/CodePages.h"
#include "base/Handles.h"
#include "base/PathParts.h"

#include <algorithm>
#include <array>
#include <optional>
#include <utility>

namespace mailclients {

namespace {

constexpr const char* OfficeKey = "Software\\Microsoft\\Office";
constexpr const char* KnownFolderName = "Signatures";

bool IsAbsolutePath(const std::string& path)
{
    return path.starts_with("\\\\") || (path.size() > 2 && path[1] == ':' && (path[2] == '\\' || path[2] == '/'));
}

// The value "Signatures" under <version>\Common\General, as Outlook writes it: the folder's
// name below %APPDATA%\Microsoft, or a full path; empty when it is not there.
std::string SignaturesValue(HKEY office, const std::string& version)
{
    base::RegistryKey general;
    HKEY opened = nullptr;
    if (RegOpenKeyExA(office, (version + "\\Common\\General").c_str(), 0, KEY_QUERY_VALUE, &opened) != ERROR_SUCCESS)
        return {};
    general.Reset(opened);
    DWORD type = 0, size = 0;
    if (RegQueryValueExA(general.Get(), "Signatures", nullptr, &type, nullptr, &size) != ERROR_SUCCESS ||
        (type != REG_SZ && type != REG_EXPAND_SZ) || size == 0)
        return {};
    std::string value(size, '\0');
    if (RegQueryValueExA(general.Get(), "Signatures", nullptr, &type, reinterpret_cast<BYTE*>(value.data()), &size) !=
        ERROR_SUCCESS)
        return {}; // changed between the two calls: as good as not there
    value.resize(std::min<std::size_t>(value.find('\0'), size));
    if (type == REG_EXPAND_SZ) {
        const DWORD needed = ExpandEnvironmentStringsA(value.c_str(), nullptr, 0);
        std::string expanded(needed, '\0');
        if (needed == 0 || ExpandEnvironmentStringsA(value.c_str(), expanded.data(), needed) == 0)
            return value; // unexpanded, it names nothing, which the search then finds empty
        expanded.resize(expanded.find('\0'));
        value = expanded;
    }
    return value;
}

// The folders named by every installed Office version, or the known name when none names one.
std::vector<std::string> SignatureFolders(const std::string& appData, HKEY officeRoot)
{
    std::vector<std::string> folders;
    HKEY opened = nullptr;
    if (RegOpenKeyExA(officeRoot, OfficeKey, 0, KEY_ENUMERATE_SUB_KEYS, &opened) == ERROR_SUCCESS) {
        const base::RegistryKey office(opened);
        std::array<char, 256> version{}; // the longest key name the registry allows, and its NUL
        for (DWORD index = 0;; ++index) {
            DWORD length = static_cast<DWORD>(version.size());
            const LSTATUS status =
                RegEnumKeyExA(office.Get(), index, version.data(), &length, nullptr, nullptr, nullptr, nullptr);
            if (status == ERROR_NO_MORE_ITEMS)
                break;
            if (status != ERROR_SUCCESS)
                continue; // a key that went away meanwhile
            const std::string value = SignaturesValue(office.Get(), std::string(version.data(), length));
            if (value.empty())
                continue;
            const std::string folder = IsAbsolutePath(value) ? value : base::JoinPath(base::JoinPath(appData, "Microsoft"), value);
            if (std::none_of(folders.begin(), folders.end(),
                             [&](const std::string& known) { return base::AsciiEqualNoCase(known, folder); }))
                folders.push_back(folder);
        }
    }
    if (folders.empty())
        folders.push_back(base::JoinPath(base::JoinPath(appData, "Microsoft"), KnownFolderName));
    return folders;
}

// One signature of the folder: its files' base name and, by preference, the one offered.
struct SignatureFiles {
    std::wstring stem;
    std::wstring offered;
    int offeredRank = 0;
};

// The folder is read by its wide names: a name the ANSI code page cannot hold would come back
// from the "A" call with a look-alike, naming a file that is not there or another one.
std::vector<SignatureFiles> SignaturesIn(const std::string& folder)
{
    constexpr std::wstring_view Extensions[] = {L".htm", L".txt", L".rtf"}; // the one offered first
    std::vector<SignatureFiles> signatures;
    WIN32_FIND_DATAW found{};
    const base::FindHandle search(FindFirstFileW(base::ToWide(base::JoinPath(folder, "*"), CP_ACP).c_str(), &found));
    if (!search)
        return signatures; // no such folder: nothing there
    do {
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            continue; // a signature's pictures live in a folder "<name>_files"
        const std::wstring name = found.cFileName;
        const std::size_t dot = name.rfind(L'.');
        if (dot == std::wstring::npos || dot == 0)
            continue;
        const auto extension = std::find_if(std::begin(Extensions), std::end(Extensions), [&](std::wstring_view e) {
            return base::AsciiEqualNoCase(e, std::wstring_view(name).substr(dot));
        });
        if (extension == std::end(Extensions))
            continue;
        const int rank = static_cast<int>(std::end(Extensions) - extension);
        const std::wstring stem = name.substr(0, dot);
        auto signature = std::find_if(signatures.begin(), signatures.end(),
                                      [&](const SignatureFiles& s) { return base::AsciiEqualNoCase(s.stem, stem); });
        if (signature == signatures.end())
            signatures.push_back(SignatureFiles{stem, name, rank});
        else if (rank > signature->offeredRank)
            *signature = SignatureFiles{signature->stem, name, rank};
    } while (FindNextFileW(search.Get(), &found));
    // The end of the listing and a failure part-way look alike here; what was read is shown.
    return signatures;
}

// A roaming signature's base name, "Name (address)": its name and mailbox. Any other
// parenthesis, "Work (old)", is part of the name.
MailClientSignature NamedSignature(const std::string& stem, std::string path)
{
    const std::size_t open = stem.rfind(" (");
    if (open != std::string::npos && open > 0 && stem.ends_with(')')) {
        const std::string mailbox = stem.substr(open + 2, stem.size() - open - 3);
        if (mailbox.find('@') != std::string::npos)
            return {"Outlook", stem.substr(0, open), true, std::move(path), mailbox};
    }
    return {"Outlook", stem, true, std::move(path)};
}

} // namespace

void FindOutlookSignatures(const std::string& appData, HKEY officeRoot, MailClientSearch& search)
{
    for (const std::string& folder : SignatureFolders(appData, officeRoot)) {
        search.lookedIn.push_back(folder);
        std::vector<MailClientSignature> inFolder;
        for (const SignatureFiles& files : SignaturesIn(folder)) {
            const std::optional<std::string> name = base::WideToAnsi(files.offered);
            inFolder.push_back(NamedSignature(base::ShownInAnsi(files.stem), name ? base::JoinPath(folder, *name) : ""));
            // Outlook names the files of the signatures it keeps in a mailbox after it; the
            // .htm is the one it always writes.
            if (!inFolder.back().mailbox.empty() && files.offered.size() > 4 &&
                base::AsciiEqualNoCase(std::wstring_view(files.offered).substr(files.offered.size() - 4), L".htm"))
                search.mailboxSignaturesNamed = true;
        }
        // By name, and a name's own signature before its mailboxes' ones.
        std::sort(inFolder.begin(), inFolder.end(), [](const MailClientSignature& a, const MailClientSignature& b) {
            return std::pair(base::AsciiUpperCase(a.name), base::AsciiUpperCase(a.mailbox)) <
                   std::pair(base::AsciiUpperCase(b.name), base::AsciiUpperCase(b.mailbox));
        });
        search.found.insert(search.found.end(), inFolder.begin(), inFolder.end());
    }
}

} // namespace mailclients
