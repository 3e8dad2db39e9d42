#include "engine/RoundPermutation.h"
#include "engine/SignatureOrder.h"
#include "engine/SignatureWriter.h"

#include "EngineTestFiles.h"
#include "FixedRandom.h"
#include "WriterDoubles.h"
#include "base/Handles.h"
#include "base/TextHash.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <numeric>
#include <set>

namespace {

using Reports = std::vector<RecordingSink::Report>;

TEST(RoundPermutation, GivesEveryIndexExactlyOncePerRound)
{
    const std::uint64_t sizes[] = {1, 2, 3, 7, 64, 65, 1000, 100000};
    const std::uint64_t keys[] = {0, 1, 0x9E3779B97F4A7C15ull, ~0ull};
    for (const std::uint64_t size : sizes) {
        for (const std::uint64_t key : keys) {
            const RoundPermutation round(size, key);
            std::vector<bool> seen(size);
            for (std::uint64_t position = 0; position < size; ++position) {
                const std::uint64_t index = round.At(position);
                ASSERT_LT(index, size) << size << " " << key;
                ASSERT_FALSE(seen[index]) << size << " " << key << " index " << index;
                seen[index] = true;
            }
        }
    }
}

TEST(RoundPermutation, EachKeyShufflesAfreshAndEveryRecordMayComeFirst)
{
    const std::uint64_t size = 100000;
    const RoundPermutation one(size, 1), two(size, 2);
    int inPlace = 0, shared = 0;
    for (std::uint64_t position = 0; position < size; ++position) {
        inPlace += one.At(position) == position;
        shared += one.At(position) == two.At(position);
    }
    // About one of each for a shuffle.
    EXPECT_LT(inPlace, 20);
    EXPECT_LT(shared, 20);

    // Over many keys, each of three records starts a round about as often.
    int first[3] = {};
    for (std::uint64_t key = 0; key < 3000; ++key)
        ++first[RoundPermutation(3, key).At(0)];
    for (const int count : first)
        EXPECT_NEAR(count, 1000, 150);
}

TEST(OrderPlace, KeepsEveryFieldThroughItsTextAndReadsAnythingElseAsTheFreshPlace)
{
    OrderPlace place;
    place.lastTextHash = 0xFEDCBA9876543210ull;
    place.roundKey = ~0ull;
    place.roundStart = 1;
    place.roundPosition = 12;
    place.roundLayout = 0x8000000000000001ull;
    place.sequenceListIndex = 3;
    place.sequencePathHash = 42;
    place.sequenceRecord = -1;
    const std::string text = place.ToText();
    EXPECT_EQ(OrderPlace::FromText(text), place);

    // The text with count characters at at replaced by with.
    const auto spliced = [&text](std::size_t at, std::size_t count, const char* with) {
        std::string changed = text.substr(0, at);
        changed.append(with).append(text.substr(at + count));
        return changed;
    };
    const std::string damaged[] = {
        "",
        "1",
        "x",
        spliced(0, 1, "2"),                   // another version
        text.substr(0, text.rfind(' ')),      // a field short
        spliced(text.size(), 0, " 0"),        // a field too many
        spliced(text.size(), 0, " "),         // a blank after
        spliced(1, 0, " "),                   // an empty field
        spliced(text.size() - 1, 1, "g"),     // not hexadecimal
        spliced(2, 0, "1ffffffffffffffff"),   // beyond 64 bits
    };
    for (const std::string& stored : damaged)
        EXPECT_EQ(OrderPlace::FromText(stored), OrderPlace{}) << stored;
}

TEST(SignatureOrder, ItsNamesReadBackAndAnyOtherNameIsRandom)
{
    for (const SignatureOrder order : {SignatureOrder::Random, SignatureOrder::Shuffle, SignatureOrder::Sequence})
        EXPECT_EQ(OrderNamed(OrderName(order)), order);
    for (const char* other : {"", "sequence", "Shuffle ", "In order"})
        EXPECT_EQ(OrderNamed(other), SignatureOrder::Random) << other;
}

// Answers 0, so every draw is the first record of the first database, until it is asked for
// more than a database's worth: the search for another text has begun. From then on it
// answers as the program's source does.
class DrawsTheFirstRecord : public RandomIndexSource {
public:
    std::size_t Below(std::size_t count) override
    {
        searched = searched || count > 1000;
        return searched ? clock_.Below(count) : 0;
    }
    bool searched = false;

private:
    ClockSeededRandom clock_;
};

// Random changes through the writer with an order keeper; the keeper's text is what the
// settings would hold, so a writer made afresh is the program after a restart.
class OrderedChangeTest : public ::testing::Test {
protected:
    OrderedChangeTest() { settings.path = dir.File("signature.txt"); }

    std::string AddDatabase(const std::string& name, const std::vector<std::string>& texts)
    {
        settings.databases.push_back(WriteDatabaseOfTexts(dir.File(name), texts));
        return settings.databases.back();
    }
    // The signatures count changes write, each with no report.
    std::vector<std::string> Changes(int count, RandomIndexSource* random = nullptr)
    {
        std::vector<std::string> written;
        for (int i = 0; i < count; ++i) {
            std::optional<SignatureWriter> writer;
            if (random)
                writer.emplace(db, settings, sink, *random, &order);
            else
                writer.emplace(db, settings, sink, &order);
            writer->RandomChange();
            EXPECT_EQ(sink.reports, Reports{}) << "change " << i;
            written.push_back(ReadBytes(settings.path));
        }
        return written;
    }
    void SetLastText(const std::string& text)
    {
        OrderPlace place = OrderPlace::FromText(order.kept);
        place.lastTextHash = base::TextHash(text);
        order.kept = place.ToText();
    }

    TempDir dir;
    TestSettings settings;
    RecordingSink sink;
    SignatureDatabase db;
    TestOrder order;
};

TEST_F(OrderedChangeTest, AtRandomNeverTheSameTextTwiceInARowWhileThereIsAnother)
{
    AddDatabase("x.sigs", {"A", "B", "A"});
    AddDatabase("y.sigs", {"A"});
    const std::vector<std::string> written = Changes(40);
    for (std::size_t i = 1; i < written.size(); ++i)
        EXPECT_NE(written[i], written[i - 1]) << "change " << i;
    EXPECT_EQ(std::set<std::string>(written.begin(), written.end()), (std::set<std::string>{"A", "B"}));
}

// The draw of the last text is drawn again, so among the others each keeps its share:
// C is drawn half of a half, B half the time, so C comes once in three. The same when the
// draws keep giving the last text and the databases are searched instead.
TEST_F(OrderedChangeTest, AtRandomTheOtherTextsKeepTheirChances)
{
    AddDatabase("x.sigs", {"A", "C"});
    AddDatabase("y.sigs", {"B"});
    for (const bool drawsFail : {false, true}) {
        ClockSeededRandom clock;
        DrawsTheFirstRecord first;
        int c = 0, b = 0;
        for (int i = 0; i < 300; ++i) {
            SetLastText("A");
            first.searched = false;
            const std::string text = Changes(1, drawsFail ? static_cast<RandomIndexSource*>(&first) : &clock).front();
            c += text == "C";
            b += text == "B";
            ASSERT_EQ(first.searched, drawsFail);
        }
        EXPECT_EQ(c + b, 300) << drawsFail;
        EXPECT_NEAR(c, 100, 30) << drawsFail;
    }
}

TEST_F(OrderedChangeTest, AtRandomTheOnlyTextThereIsComesAgainWithoutAReport)
{
    AddDatabase("x.sigs", {"A", "A"});
    AddDatabase("empty.sigs", {});
    AddDatabase("y.sigs", {"A"});
    // Every draw gives A, and the search finds no other text: the empty database and those
    // holding only A are passed over, and A is written again.
    DrawsTheFirstRecord random;
    EXPECT_EQ(Changes(3, &random), (std::vector<std::string>{"A", "A", "A"}));
}

// A first draw of the empty database is reported as such; but once A has been written, a
// redraw that lands there draws again instead of ending the change with nothing, so every
// change whose first draw is the other database writes A, over many changes.
TEST_F(OrderedChangeTest, AtRandomARedrawOfAnEmptyDatabaseNeverEndsTheChange)
{
    AddDatabase("empty.sigs", {});
    AddDatabase("one.sigs", {"A"});
    int written = 0;
    for (int i = 0; i < 80; ++i) {
        DeleteFileA(settings.path.c_str());
        sink.reports.clear();
        SignatureWriter(db, settings, sink, &order).RandomChange();
        if (GetFileAttributesA(settings.path.c_str()) == INVALID_FILE_ATTRIBUTES) {
            EXPECT_EQ(sink.reports, Reports{PlainError("Signature database is empty!")}) << "change " << i;
            continue;
        }
        EXPECT_EQ(ReadBytes(settings.path), "A");
        EXPECT_EQ(sink.reports, Reports{}) << "change " << i;
        ++written;
    }
    EXPECT_NEAR(written, 40, 20); // each first draw is either database
}

TEST_F(OrderedChangeTest, ShuffledEveryRecordOncePerRoundAndNeverTwiceInARow)
{
    AddDatabase("five.sigs", {"1", "2", "3", "4", "5"});
    AddDatabase("two.sigs", {"6", "7"});
    order.order = SignatureOrder::Shuffle;
    std::vector<std::string> written;
    for (int round = 0; round < 10; ++round) {
        const std::vector<std::string> changes = Changes(7);
        EXPECT_EQ(std::set<std::string>(changes.begin(), changes.end()).size(), 7u) << "round " << round;
        if (!written.empty()) {
            EXPECT_NE(changes.front(), written.back()) << "round " << round;
        }
        written.insert(written.end(), changes.begin(), changes.end());
    }
    // Rounds differ: ten rounds in the same order would not be shuffled.
    std::set<std::string> rounds;
    for (std::size_t at = 0; at < written.size(); at += 7)
        rounds.insert(std::accumulate(written.begin() + at, written.begin() + at + 7, std::string()));
    EXPECT_GT(rounds.size(), 5u);
}

// The new round's key is chosen so that it would start with the signature in place: the
// round starts one place further on instead.
TEST_F(OrderedChangeTest, ShuffledANewRoundNeverStartsWithTheRecordWrittenLast)
{
    const std::vector<std::string> texts = {"1", "2", "3"};
    struct Case {
        const char* name;
        int changesBefore;
        std::function<void()> change; // what happens before the next change
    };
    const Case cases[] = {
        {"the round is over", 3, [] {}},
        {"a database is added", 1, [this] { AddDatabase("more.sigs", {"4", "5"}); }},
        {"a record count changes", 2, [this] { WriteBytes(settings.databases[0], DatabaseBytes(NumberedRecords(2)) +
                                                                                     ReadBytes(settings.databases[0])); }},
    };
    for (const Case& c : cases) {
        settings.databases.clear();
        AddDatabase("three.sigs", texts);
        order = TestOrder{};
        order.order = SignatureOrder::Shuffle;
        FixedRandom firstKey({0});
        const std::string last = Changes(c.changesBefore, &firstKey).back();
        c.change();

        std::vector<std::string> all; // the records in list order, as the round numbers them
        for (const std::string& database : settings.databases) {
            const std::string bytes = ReadBytes(database);
            for (std::size_t at = 0; at < bytes.size(); at += SignatureRecordSize)
                all.push_back(bytes.substr(at + 1, bytes.find('\0', at + 1) - at - 1));
        }
        const auto lastIndex = static_cast<std::uint64_t>(std::find(all.begin(), all.end(), last) - all.begin());
        std::uint64_t key = 1;
        while (RoundPermutation(all.size(), key).At(0) != lastIndex)
            ++key;
        FixedRandom startingWithTheLast({key});
        EXPECT_EQ(Changes(1, &startingWithTheLast).front(), all[RoundPermutation(all.size(), key).At(1)]) << c.name;
    }
}

TEST_F(OrderedChangeTest, InOrderGoesThroughTheListAndOnAgainFromTheStart)
{
    AddDatabase("five.sigs", {"1", "2", "3", "4", "5"});
    AddDatabase("empty.sigs", {});
    AddDatabase("two.sigs", {"6", "7"});
    order.order = SignatureOrder::Sequence;
    std::vector<std::string> written = Changes(3); // each change a writer afresh: a restart
    for (const std::string& text : Changes(6))
        written.push_back(text);
    EXPECT_EQ(written, (std::vector<std::string>{"1", "2", "3", "4", "5", "6", "7", "1", "2"}));
}

// After "2" of five.sigs, the list or the databases change before the next change.
TEST_F(OrderedChangeTest, InOrderGoesOnFromTheSameRecordWhereItStillIs)
{
    const std::vector<std::string> five = {"1", "2", "3", "4", "5"};
    struct Case {
        const char* name;
        std::function<void()> change;
        std::string next;
    };
    const Case cases[] = {
        {"the databases swap places", [this] { std::swap(settings.databases[0], settings.databases[1]); }, "3"},
        {"a database comes first", [this] {
             AddDatabase("first.sigs", {"0"});
             std::rotate(settings.databases.begin(), settings.databases.end() - 1, settings.databases.end());
         }, "3"},
        {"records are added", [&] { AddDatabase("five.sigs", {"1", "2", "2b", "3"}); settings.databases.pop_back(); }, "2b"},
        {"the record has gone", [&] { AddDatabase("five.sigs", {"1"}); settings.databases.pop_back(); }, "1"},
        {"its database left the list", [this] { settings.databases.erase(settings.databases.begin()); }, "6"},
    };
    for (const Case& c : cases) {
        settings.databases.clear();
        AddDatabase("five.sigs", five);
        AddDatabase("two.sigs", {"6", "7"});
        order = TestOrder{};
        order.order = SignatureOrder::Sequence;
        Changes(2);
        c.change();
        EXPECT_EQ(Changes(1).front(), c.next) << c.name;
    }
}

// Nothing written, nothing moved: the same change comes again once the cause is gone.
TEST_F(OrderedChangeTest, AChangeThatFailsLeavesTheOrderWhereItWas)
{
    const std::string database = AddDatabase("a.sigs", {"1", "2", "3"});
    base::FileHandle held;
    struct Case {
        const char* name;
        std::function<void()> cause, cure;
        RecordingSink::Report report;
    };
    const std::string busy = "I/O error 32";
    const Case cases[] = {
        {"database held", [&] { held.Reset(CreateFileA(database.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr)); },
         [&] { held.Reset(); },
         Error("Cannot open signature database!", busy, "Error opening signature database: " + busy)},
        {"signature file held", [&] { held.Reset(CreateFileA(settings.path.c_str(), GENERIC_READ, 0, nullptr, OPEN_ALWAYS, 0, nullptr)); },
         [&] { held.Reset(); },
         Error("Cannot open signature text file!", busy, "Error opening signature text file: " + busy)},
        {"every database empty", [&] { WriteBytes(database, ""); },
         [&] { WriteBytes(database, DatabaseBytes({MakeRecord('\x01', "1"), MakeRecord('\x01', "2"), MakeRecord('\x01', "3")})); },
         PlainError("Signature database is empty!")},
    };
    for (const SignatureOrder kind : {SignatureOrder::Random, SignatureOrder::Shuffle, SignatureOrder::Sequence}) {
        for (const Case& c : cases) {
            order = TestOrder{};
            order.order = kind;
            Changes(1);
            const TestOrder before = order;
            c.cause();
            SignatureWriter(db, settings, sink, &order).RandomChange();
            c.cure();
            EXPECT_EQ(sink.reports, Reports{c.report}) << OrderName(kind) << ": " << c.name;
            EXPECT_EQ(order.kept, before.kept) << OrderName(kind) << ": " << c.name;
            EXPECT_EQ(order.keeps, before.keeps) << OrderName(kind) << ": " << c.name;
            sink.reports.clear();
            // A writer without a keeper, the plain pick, remembers nothing.
            SignatureWriter(db, settings, sink).RandomChange();
            EXPECT_EQ(order.kept, before.kept);
        }
        // Sequence: the change after the failures is the one that failed.
        if (kind == SignatureOrder::Sequence) {
            EXPECT_EQ(Changes(1).front(), "2");
        }
    }
    // Nor do the writes of a chosen text move it.
    const TestOrder before = order;
    SignatureWriter writer(db, settings, sink, &order);
    writer.SetSignature("set");
    writer.NowPlaying("Winamp", "song");
    EXPECT_EQ(order.kept, before.kept);
    EXPECT_EQ(order.keeps, before.keeps);
}

} // namespace
