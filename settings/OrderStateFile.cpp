#include "settings/OrderStateFile.h"

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

} // namespace

OrderStateFile::OrderStateFile(const std::string& path)
{
    // Others may open, write and delete it meanwhile: another copy of the program or vqsig
    // maps it too, and an uninstaller removes it.
    const base::FileHandle file(CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE,
                                            FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                            OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file)
        return;
    // A new or shorter file grows to the record's size, zeros reading as no text. The view
    // keeps the mapping and the file open once made, so neither handle is kept.
    const base::KernelHandle mapping(
        CreateFileMappingA(file.Get(), nullptr, PAGE_READWRITE, 0, sizeof(StoredState), nullptr));
    if (mapping)
        view_.Reset(MapViewOfFile(mapping.Get(), FILE_MAP_READ | FILE_MAP_WRITE, 0, 0, sizeof(StoredState)));
}

std::string OrderStateFile::Read() const
{
    if (!view_)
        return unmapped_;
    // One copy first, so the checks and the answer are of the same bytes, whatever another
    // program writes meanwhile.
    StoredState stored;
    std::memcpy(&stored, view_.Get(), sizeof stored);
    if (stored.length > MostText)
        return std::string();
    const std::string_view text(stored.text, static_cast<std::size_t>(stored.length));
    return base::TextHash(text) == stored.hash ? std::string(text) : std::string();
}

void OrderStateFile::Write(std::string_view text)
{
    if (text.size() > MostText)
        throw std::length_error("an order's place longer than its file keeps");
    if (!view_) {
        unmapped_ = text;
        return;
    }
    StoredState stored{};
    stored.length = text.size();
    stored.hash = base::TextHash(text);
    std::memcpy(stored.text, text.data(), text.size());
    std::memcpy(view_.Get(), &stored, sizeof stored);
}

} // namespace settings
