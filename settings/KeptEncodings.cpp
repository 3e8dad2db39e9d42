#include "settings/KeptEncodings.h"

#include "base/CodePages.h"

#include <windows.h>

#include <algorithm>
#include <vector>

namespace settings {

namespace {

constexpr char WrittenOrderEnd = '|';

// Equal as value names: the registry folds letter case, beyond A to Z too.
bool SameValueName(const std::string& a, const std::string& b)
{
    const std::wstring wideA = base::ToWide(a, CP_ACP);
    const std::wstring wideB = base::ToWide(b, CP_ACP);
    return CompareStringOrdinal(wideA.data(), static_cast<int>(wideA.size()), wideB.data(),
                                static_cast<int>(wideB.size()), TRUE) == CSTR_EQUAL;
}

std::vector<std::string> WrittenOrder(const RegistryStore& store)
{
    std::vector<std::string> paths;
    const std::string text = store.ReadString(EncodingsKey, "", "");
    for (std::size_t from = 0, end; (end = text.find(WrittenOrderEnd, from)) != std::string::npos; from = end + 1)
        paths.push_back(text.substr(from, end - from));
    return paths;
}

// Leaves the newest KeptEncodingsAtMost values, path the newest of all, and the order that
// tells which they are.
void DropTheOldest(RegistryStore& store, const std::string& path)
{
    std::vector<std::string> stored = store.ValueNames(EncodingsKey);
    std::erase_if(stored, [&](const std::string& name) { return name.empty() || SameValueName(name, path); });
    // The order as far as it names values that are there, each once; the others are older.
    std::vector<std::string> order;
    for (std::string& listed : WrittenOrder(store)) {
        const auto value = std::find_if(stored.begin(), stored.end(),
                                        [&](const std::string& name) { return SameValueName(name, listed); });
        if (value != stored.end()) {
            order.push_back(std::move(*value));
            stored.erase(value);
        }
    }
    order.insert(order.begin(), stored.begin(), stored.end());
    order.push_back(path);
    const std::size_t dropped = order.size() > KeptEncodingsAtMost ? order.size() - KeptEncodingsAtMost : 0;
    for (std::size_t i = 0; i < dropped; ++i)
        store.DeleteValue(EncodingsKey, order[i]);
    std::string text;
    for (std::size_t i = dropped; i < order.size(); ++i)
        text += order[i] + WrittenOrderEnd;
    store.WriteString(EncodingsKey, "", text);
}

} // namespace

std::optional<TextFileEncoding> ReadKeptEncoding(const RegistryStore& store, const std::string& path)
{
    try {
        return EncodingNamed(store.ReadString(EncodingsKey, path, ""));
    } catch (const RegistryError&) {
        return std::nullopt; // a value of another type: nothing this program kept
    }
}

void WriteKeptEncoding(RegistryStore& store, const std::string& path, TextFileEncoding encoding)
{
    try {
        store.WriteString(EncodingsKey, path, EncodingName(encoding));
        DropTheOldest(store, path);
    } catch (const RegistryError&) {
        // A key the user may not write: the file is still written in the encoding it shows.
    }
}

} // namespace settings
