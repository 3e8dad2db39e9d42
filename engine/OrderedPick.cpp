#include "engine/OrderedPick.h"

#include "base/TextHash.h"
#include "engine/RoundPermutation.h"

#include <algorithm>
#include <cstdint>
#include <functional>
#include <limits>

namespace {

using base::TextHash;

// A record by its place in the list and its index there.
struct Target {
    std::size_t listIndex;
    std::int64_t record;
};

// The shared database's picks, each noting the database it opens.
class Reader {
public:
    Reader(SignatureDatabase& database, std::string& reading) : database_(database), reading_(reading) {}

    std::optional<std::string> RandomRecord(const std::string& path, RandomIndexSource& random)
    {
        reading_ = path;
        return database_.RandomRecord(path, random);
    }
    std::optional<std::string> ChosenRecord(const std::string& path, const SignatureDatabase::RecordChoice& choose)
    {
        reading_ = path;
        return database_.ChosenRecord(path, choose);
    }
    void VisitTexts(const std::string& path,
                    const std::function<void(std::int64_t index, const std::string& text)>& visit)
    {
        reading_ = path;
        database_.VisitTexts(path, visit);
    }

private:
    SignatureDatabase& database_;
    std::string& reading_;
};

// Draws that give the last text again before the databases are searched for another one. A
// text that is one of two comes again 16 times in a row once in 65,536 changes.
constexpr int Redraws = 16;

// The plain random pick: a database uniformly, then one of its records.
std::optional<std::string> Draw(Reader& database, const std::vector<std::string>& databases,
                                RandomIndexSource& random)
{
    return database.RandomRecord(databases[random.Below(databases.size())], random);
}

// The draw as it would have come had every record holding the avoided text been passed
// over: each database in the list with its chance weighted by its share of other texts,
// then one of those uniformly. Reads every listed database, so it runs only when the draws
// keep giving the avoided text. Nothing when no database holds another text.
std::optional<std::string> DrawAmongOthers(Reader& database, const std::vector<std::string>& databases,
                                           RandomIndexSource& random, std::uint64_t avoidedHash)
{
    std::vector<std::int64_t> others(databases.size());
    std::vector<double> weights(databases.size());
    double total = 0;
    for (std::size_t i = 0; i < databases.size(); ++i) {
        std::int64_t count = 0;
        database.VisitTexts(databases[i], [&](std::int64_t, const std::string& text) {
            ++count;
            others[i] += TextHash(text) != avoidedHash;
        });
        weights[i] = count ? static_cast<double>(others[i]) / static_cast<double>(count) : 0;
        total += weights[i];
    }
    if (total == 0)
        return std::nullopt;

    constexpr std::size_t Steps = std::size_t{1} << 53; // a double's exact integers
    double point = static_cast<double>(random.Below(Steps)) / static_cast<double>(Steps) * total;
    std::size_t listIndex = 0;
    for (std::size_t i = 0; i < databases.size(); ++i) {
        if (others[i] == 0)
            continue;
        listIndex = i; // rounding can carry the point past the last weight: that one then
        if (point < weights[i])
            break;
        point -= weights[i];
    }

    std::int64_t skip = static_cast<std::int64_t>(random.Below(static_cast<std::size_t>(others[listIndex])));
    std::optional<std::string> picked;
    database.VisitTexts(databases[listIndex], [&](std::int64_t, const std::string& text) {
        if (picked || TextHash(text) == avoidedHash || skip-- > 0)
            return;
        picked = text;
    });
    return picked;
}

std::optional<std::string> PickAtRandom(Reader& database, const std::vector<std::string>& databases,
                                        RandomIndexSource& random, const OrderPlace& place)
{
    std::optional<std::string> first = Draw(database, databases, random);
    if (!first || place.lastTextHash == 0 || TextHash(*first) != place.lastTextHash)
        return first;
    // A redraw that lands on an empty database draws again: another database holds a text.
    for (int redraw = 0; redraw < Redraws; ++redraw) {
        std::optional<std::string> again = Draw(database, databases, random);
        if (again && TextHash(*again) != place.lastTextHash)
            return again;
    }
    if (std::optional<std::string> other = DrawAmongOthers(database, databases, random, place.lastTextHash))
        return other;
    return first;
}

// The databases and their record counts as one number, never 0 (no round).
std::uint64_t LayoutHash(const std::vector<std::string>& databases, const std::vector<std::int64_t>& counts)
{
    std::string layout;
    for (std::size_t i = 0; i < databases.size(); ++i)
        layout += databases[i] + '\0' + std::to_string(counts[i]) + '\0';
    return TextHash(layout) | 1;
}

// The record at the round's position, by its place in the list and its index there.
Target RoundTarget(const std::vector<std::int64_t>& counts, std::uint64_t total, const OrderPlace& place)
{
    std::uint64_t index =
        RoundPermutation(total, place.roundKey).At((place.roundStart + place.roundPosition) % total);
    std::size_t listIndex = 0;
    while (index >= static_cast<std::uint64_t>(counts[listIndex]))
        index -= static_cast<std::uint64_t>(counts[listIndex++]);
    return Target{listIndex, static_cast<std::int64_t>(index)};
}

// A round starts again when it is complete, and when it was made for other databases or
// other record counts.
std::optional<std::string> PickShuffled(Reader& database, const std::vector<std::string>& databases,
                                        RandomIndexSource& random, OrderPlace& place)
{
    // Every count is needed to place the round's index. The last database is counted with
    // the same opening that reads from it when the index falls there, so a list of one
    // database costs one opening, as a random change does.
    const std::size_t last = databases.size() - 1;
    std::vector<std::int64_t> counts(databases.size());
    for (std::size_t i = 0; i < last; ++i)
        database.ChosenRecord(databases[i], [&](std::int64_t count) -> std::optional<std::int64_t> {
            counts[i] = count;
            return std::nullopt;
        });
    std::uint64_t total = 0;
    bool newRound = false;
    Target target{};
    std::optional<std::string> text =
        database.ChosenRecord(databases[last], [&](std::int64_t count) -> std::optional<std::int64_t> {
            counts[last] = count;
            for (const std::int64_t records : counts)
                total += static_cast<std::uint64_t>(records);
            if (total == 0)
                return std::nullopt;
            const std::uint64_t layout = LayoutHash(databases, counts);
            newRound = place.roundLayout != layout || place.roundPosition >= total;
            if (newRound) {
                place.roundKey = random.Below(std::numeric_limits<std::size_t>::max());
                place.roundStart = 0;
                place.roundPosition = 0;
                place.roundLayout = layout;
            }
            target = RoundTarget(counts, total, place);
            return target.listIndex == last ? std::optional(target.record) : std::nullopt;
        });
    if (total == 0)
        return std::nullopt;
    const auto read = [&] {
        return database.ChosenRecord(databases[target.listIndex],
                                     [&](std::int64_t) -> std::optional<std::int64_t> { return target.record; });
    };
    if (!text)
        text = read();
    // A new round does not begin with the signature in place: it begins further on, which is
    // the same round turned, so it still holds every record once. Only equal texts ever
    // need more than one step, and those only a few.
    constexpr std::uint64_t MostSteps = 8;
    while (newRound && TextHash(*text) == place.lastTextHash && place.roundStart + 1 < std::min(total, MostSteps)) {
        ++place.roundStart;
        target = RoundTarget(counts, total, place);
        text = read();
    }
    ++place.roundPosition;
    return text;
}

// Where the record the sequence wrote last still is: its place in the list, else its
// database's first place there (the list changed around it).
std::optional<std::size_t> SequenceResumesAt(const std::vector<std::string>& databases, const OrderPlace& place)
{
    if (place.sequenceRecord < 0)
        return std::nullopt;
    if (place.sequenceListIndex < databases.size() &&
        TextHash(databases[place.sequenceListIndex]) == place.sequencePathHash)
        return place.sequenceListIndex;
    for (std::size_t i = 0; i < databases.size(); ++i)
        if (TextHash(databases[i]) == place.sequencePathHash)
            return i;
    return std::nullopt;
}

std::optional<std::string> PickInSequence(Reader& database, const std::vector<std::string>& databases,
                                          OrderPlace& place)
{
    const auto picked = [&](std::size_t listIndex, std::int64_t record, std::string&& text) {
        place.sequenceListIndex = listIndex;
        place.sequencePathHash = TextHash(databases[listIndex]);
        place.sequenceRecord = record;
        return std::move(text);
    };
    std::size_t start = 0;
    if (const std::optional<std::size_t> resumeAt = SequenceResumesAt(databases, place)) {
        const std::int64_t next = place.sequenceRecord + 1;
        bool stillThere = false;
        std::optional<std::string> text =
            database.ChosenRecord(databases[*resumeAt], [&](std::int64_t count) -> std::optional<std::int64_t> {
                stillThere = place.sequenceRecord < count;
                return stillThere && next < count ? std::optional(next) : std::nullopt;
            });
        if (text)
            return picked(*resumeAt, next, std::move(*text));
        // At its database's end the next one follows; a record that has gone starts over.
        if (stillThere)
            start = (*resumeAt + 1) % databases.size();
    }
    // Every database once, round to where the sequence came from: the first record of the
    // first one that has any.
    for (std::size_t visit = 0; visit < databases.size(); ++visit) {
        const std::size_t listIndex = (start + visit) % databases.size();
        std::optional<std::string> text =
            database.ChosenRecord(databases[listIndex], [](std::int64_t count) -> std::optional<std::int64_t> {
                return count > 0 ? std::optional<std::int64_t>(0) : std::nullopt;
            });
        if (text)
            return picked(listIndex, 0, std::move(*text));
    }
    return std::nullopt;
}

} // namespace

std::optional<std::string> PickInOrder(SignatureDatabase& shared, const std::vector<std::string>& databases,
                                       SignatureOrder order, RandomIndexSource& random, OrderPlace& place,
                                       std::string& reading)
{
    Reader database(shared, reading);
    OrderPlace next = place;
    std::optional<std::string> picked;
    switch (order) {
    case SignatureOrder::Random: picked = PickAtRandom(database, databases, random, next); break;
    case SignatureOrder::Shuffle: picked = PickShuffled(database, databases, random, next); break;
    case SignatureOrder::Sequence: picked = PickInSequence(database, databases, next); break;
    }
    if (!picked)
        return std::nullopt;
    next.lastTextHash = TextHash(*picked);
    place = next;
    return picked;
}
