#include "engine/SignatureOrder.h"

#include <charconv>
#include <cstddef>

namespace {

constexpr const char* PlaceVersion = "1";
constexpr std::size_t PlaceFields = 8;

} // namespace

const char* OrderName(SignatureOrder order) noexcept
{
    switch (order) {
    case SignatureOrder::Shuffle: return "Shuffle";
    case SignatureOrder::Sequence: return "Sequence";
    case SignatureOrder::Random: break;
    }
    return "Random";
}

SignatureOrder OrderNamed(const std::string& name) noexcept
{
    if (name == "Shuffle")
        return SignatureOrder::Shuffle;
    if (name == "Sequence")
        return SignatureOrder::Sequence;
    return SignatureOrder::Random;
}

std::string OrderPlace::ToText() const
{
    // The sequence's record, -1 for none, as its two's complement.
    const std::uint64_t fields[PlaceFields] = {
        lastTextHash, roundKey, roundStart, roundPosition, roundLayout, sequenceListIndex, sequencePathHash,
        static_cast<std::uint64_t>(sequenceRecord),
    };
    std::string text = PlaceVersion;
    for (const std::uint64_t field : fields) {
        char digits[16];
        const std::to_chars_result end = std::to_chars(digits, digits + sizeof digits, field, 16);
        text += ' ';
        text.append(digits, end.ptr);
    }
    return text;
}

OrderPlace OrderPlace::FromText(const std::string& text)
{
    std::uint64_t fields[PlaceFields];
    const char* at = text.data();
    const char* const end = text.data() + text.size();
    const std::string_view version = PlaceVersion;
    if (std::string_view(text).substr(0, version.size()) != version)
        return {};
    at += version.size();
    for (std::uint64_t& field : fields) {
        if (at == end || *at != ' ')
            return {};
        const std::from_chars_result parsed = std::from_chars(at + 1, end, field, 16);
        if (parsed.ec != std::errc() || parsed.ptr == at + 1)
            return {};
        at = parsed.ptr;
    }
    if (at != end)
        return {};
    OrderPlace place;
    place.lastTextHash = fields[0];
    place.roundKey = fields[1];
    place.roundStart = fields[2];
    place.roundPosition = fields[3];
    place.roundLayout = fields[4];
    place.sequenceListIndex = fields[5];
    place.sequencePathHash = fields[6];
    place.sequenceRecord = static_cast<std::int64_t>(fields[7]);
    return place;
}
