#pragma once
#include <cstdint>
#include <string>

// The order in which random changes go through the listed databases' records.
enum class SignatureOrder {
    Random,   // a database at random, then one of its records; never the last text again
    Shuffle,  // every record once per round, each round in an order of its own
    Sequence, // the databases in list order, each record in file order, then again
};

// The names the order is kept under: "Random", "Shuffle", "Sequence". Any other name,
// the empty one included, is Random.
const char* OrderName(SignatureOrder order) noexcept;
SignatureOrder OrderNamed(const std::string& name) noexcept;

// Where the order stands between changes, whatever the size of the databases. Paths and
// texts are known by their hash (base::TextHash).
struct OrderPlace {
    // The text the last change wrote, in any order (0: none yet).
    std::uint64_t lastTextHash = 0;
    // Shuffle: the round's permutation key; where the round starts in it (further on than 0
    // when the permutation would begin with the text written last); the changes made in the
    // round; and the databases and record counts it was made for (0: no round yet).
    std::uint64_t roundKey = 0;
    std::uint64_t roundStart = 0;
    std::uint64_t roundPosition = 0;
    std::uint64_t roundLayout = 0;
    // Sequence: the record it wrote last: its database's place in the list and path, and its
    // index. sequenceRecord < 0: from the start.
    std::uint64_t sequenceListIndex = 0;
    std::uint64_t sequencePathHash = 0;
    std::int64_t sequenceRecord = -1;

    bool operator==(const OrderPlace&) const = default;

    // The text it is kept as: a version and the fields in hexadecimal, blank-separated. A
    // text that is not one of these (none kept yet, or damaged) reads as the fresh place.
    std::string ToText() const;
    static OrderPlace FromText(const std::string& text);
};

// The order the user chose and where it stands, kept by the program between changes (in its
// settings, so that every program that changes the signature for the user shares it).
class OrderKeeper {
public:
    virtual ~OrderKeeper() = default;
    virtual SignatureOrder Order() const = 0;
    virtual OrderPlace Place() const = 0;
    virtual void KeepPlace(const OrderPlace& place) = 0;
    // Whether a place kept now is the one the next change reads. A keeper that cannot keep
    // it beyond its own life (a console pick whose order file cannot be written) answers
    // false, and the random change then avoids the text the signature file holds.
    virtual bool KeepsPlace() const { return true; }
};
