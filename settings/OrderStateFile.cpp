#include "settings/OrderStateFile.h"

#include "base/SystemError.h"
#include "settings/SideFiles.h"
#include "base/TextHash.h"

#include <cstdint>
#include <cstring>
#include <stdexcept>

namespace settings {

namespace {

// The file's bytes. Only this program reads them, on this processor kind, so they are kept
// as the processor holds them.
struct StoredState {
    std::uint64_t length;
    std::uint64_t hash; // TextHash of the text's bytes
    char text[OrderStateFile::MostText];
};

// Others may open, write and delete it meanwhile: another copy of the program or vqsig maps
// it too, and an uninstaller removes it.
constexpr DWORD ShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

std::string TextOf(const StoredState& stored)
{
    if (stored.length > OrderStateFile::MostText)
        return std::string();
    const std::string_view text(stored.text, static_cast<std::size_t>(stored.length));
    return base::TextHash(text) == stored.hash ? std::string(text) : std::string();
}

// The text of a file that may be read but not written; none when it cannot be read either.
std::optional<std::string> ReadOnce(const std::string& path)
{
    const base::FileHandle file(
        CreateFileA(path.c_str(), GENERIC_READ, ShareAll, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file)
        return std::nullopt;
    StoredState stored{};
    DWORD read = 0;
    // A short file is a damaged one, read as no text, as its zeros would be in a view.
    if (!ReadFile(file.Get(), &stored, sizeof stored, &read, nullptr) || read < sizeof stored)
        return std::string();
    return TextOf(stored);
}

} // namespace

OrderStateFile::OrderStateFile(const std::string& path)
{
    const base::FileHandle file(CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, ShareAll, nullptr,
                                            OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    DWORD failure = file ? ERROR_SUCCESS : GetLastError();
    if (file) {
        // A new or shorter file grows to the record's size, zeros reading as no text. The
        // view keeps the mapping and the file open once made, so neither handle is kept.
        const base::KernelHandle mapping(
            CreateFileMappingA(file.Get(), nullptr, PAGE_READWRITE, 0, sizeof(StoredState), nullptr));
        if (mapping)
            view_.Reset(MapViewOfFile(mapping.Get(), FILE_MAP_READ | FILE_MAP_WRITE, 0, 0, sizeof(StoredState)));
        if (!view_)
            failure = GetLastError();
    }
    if (view_)
        return;
    unkept_ = base::SystemErrorText(failure);
    unmapped_ = ReadOnce(path);
}

std::string OrderStateFile::Read() const
{
    if (!view_)
        return unmapped_.value_or(std::string());
    // One copy first, so the checks and the answer are of the same bytes, whatever another
    // program writes meanwhile.
    StoredState stored;
    std::memcpy(&stored, view_.Get(), sizeof stored);
    return TextOf(stored);
}

bool OrderStateFile::Write(std::string_view text)
{
    if (text.size() > MostText)
        throw std::length_error("an order's place longer than its file keeps");
    if (!view_) {
        unmapped_ = text;
        return false;
    }
    StoredState stored{};
    stored.length = text.size();
    stored.hash = base::TextHash(text);
    std::memcpy(stored.text, text.data(), text.size());
    std::memcpy(view_.Get(), &stored, sizeof stored);
    return true;
}

std::string UnkeptPlaceText(const std::string& path, const std::string& reason)
{
    return "Where the order stands cannot be kept in " + path + ": " + reason;
}

std::string UnkeptPlaceBalloonText(const std::string& reason)
{
    return reason + " (" + OrderStateFileName + ")";
}

} // namespace settings
