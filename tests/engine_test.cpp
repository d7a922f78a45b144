// The game state and the rules that clear, score, drop and refill jewels,
// on small fields drawn as text ('0'-'9' jewel, '.' empty, '#' rock).
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "engine/candidates.h"
#include "engine/gravity.h"
#include "engine/matching.h"
#include "support/level_fixture.h"
#include "support/move_printing.h"

namespace {

using Picture = std::vector<std::string>;

// No three equal jewels in line anywhere; the cases below draw their runs in 0s on it.
const Picture kBackground = {"12345", "23451", "34512", "45123", "51234"};
const std::string kDigits = "0123456789";
constexpr std::uint32_t kNoColumn = 5;  // first column of the empty range on a 5-column field

std::vector<std::uint32_t> cursorsOf(const Game& game) {
    return {game.supplyCursor.begin(), game.supplyCursor.begin() + Level.columnCount};
}

struct ClearCase {
    const char* name;
    Picture field;
    std::uint32_t dirtyFirst, dirtyLast;  // the columns to scan
    std::uint32_t runs, groups, points;
    Picture cleared;                          // {}: the field is unchanged
    std::uint32_t clearedFirst, clearedLast;  // the dirty range afterwards
};

TEST(Matching, GroupsAreClearedAndScoredBySize) {
    const ClearCase cases[] = {
        {"three in a column", {"02345", "03451", "04512", "45123", "51234"}, 0, 4, 1, 1, 50,
         {".2345", ".3451", ".4512", "45123", "51234"}, 0, 0},
        {"four in a row", {"12345", "23451", "00002", "45123", "51234"}, 0, 4, 1, 1, 100,
         {"12345", "23451", "....2", "45123", "51234"}, 0, 3},
        {"five in a column", {"12045", "23051", "34012", "45023", "51034"}, 0, 4, 1, 1, 250,
         {"12.45", "23.51", "34.12", "45.23", "51.34"}, 2, 2},
        // Two runs of three sharing a cell: one group of five.
        {"L shape", {"12345", "23451", "04512", "05123", "00034"}, 0, 4, 2, 1, 250,
         {"12345", "23451", ".4512", ".5123", "...34"}, 0, 2},
        {"T shape", {"00045", "20451", "30512", "45123", "51234"}, 0, 4, 2, 1, 250,
         {"...45", "2.451", "3.512", "45123", "51234"}, 0, 2},
        {"plus shape", {"12345", "23051", "30002", "45023", "51234"}, 0, 4, 2, 1, 250,
         {"12345", "23.51", "3...2", "45.23", "51234"}, 1, 3},
        // No vertical run joins them: each column holds only two 0s.
        {"two parallel rows of three", {"12345", "00051", "00012", "45123", "51234"}, 0, 4, 2, 2, 100,
         {"12345", "...51", "...12", "45123", "51234"}, 0, 2},
        {"ring of four runs", {"00045", "03051", "00012", "45123", "51234"}, 0, 4, 4, 1, 250,
         {"...45", ".3.51", "...12", "45123", "51234"}, 0, 2},
        {"rock breaks a row", {"12345", "23451", "34512", "45#23", "00#00"}, 0, 4, 0, 0, 0, {}, kNoColumn, 0},
        // Columns of height 0 and 2 and a row of three rocks: rock never matches.
        {"rock is never a run", {"#1234", "#2341", "#3#12", "#4#23", "###34"}, 0, 4, 0, 0, 0, {}, kNoColumn, 0},
        {"row starting two columns left of the range", {"00045", "23451", "34512", "45123", "51234"}, 2, 2, 1, 1,
         50, {"...45", "23451", "34512", "45123", "51234"}, 0, 2},
        // The scan starts at column 1 and sees only two 0s.
        {"row starting three columns left of the range", {"00045", "23451", "34512", "45123", "51234"}, 3, 4, 0, 0,
         0, {}, kNoColumn, 0},
        {"row reaching right past the range", {"10005", "23451", "34512", "45123", "51234"}, 0, 1, 1, 1, 50,
         {"1...5", "23451", "34512", "45123", "51234"}, 1, 3},
        // A row of 0s from column 2 and a column of 0s in column 4: neither starts in the window.
        {"runs right of the range", {"12000", "23450", "34510", "45123", "51234"}, 0, 1, 0, 0, 0, {}, kNoColumn, 0},
        {"empty range", {"02345", "03451", "04512", "45123", "51234"}, kNoColumn, 0, 0, 0, 0, {}, kNoColumn, 0},
    };
    for (const ClearCase& c : cases) {
        SCOPED_TRACE(c.name);
        Game game = loadPicture(c.field);
        game.dirtyFirst = c.dirtyFirst;
        game.dirtyLast = c.dirtyLast;
        Game marked = game;
        EXPECT_EQ(markMatches(marked), c.runs);
        EXPECT_EQ(clearAndScore(game), c.groups);
        EXPECT_EQ(game.score, c.points);
        EXPECT_EQ(pictureOf(game), c.cleared.empty() ? c.field : c.cleared);
        EXPECT_EQ(game.dirtyFirst, c.clearedFirst);
        EXPECT_EQ(game.dirtyLast, c.clearedLast);
        EXPECT_EQ(marked.dirtyFirst, c.clearedFirst);
        EXPECT_EQ(marked.dirtyLast, c.clearedLast);
    }
}

// "0123456789" thirty times: its 256th jewel is 5, its 257th 6.
const std::string kThreeHundredDigits = [] {
    std::string digits;
    for (int i = 0; i < 30; ++i) digits += kDigits;
    return digits;
}();

struct RefillCase {
    const char* name;
    Picture field;
    std::vector<std::string> supply;  // {}: "0123456789" for every column
    std::uint32_t dirtyFirst, dirtyLast;
    std::vector<std::uint8_t> cursors;
    Picture refilled;
    std::vector<std::uint32_t> cursorsAfter;
};

TEST(Gravity, RefillDropsJewelsAndTakesFromTheSupply) {
    const RefillCase cases[] = {
        // A and B (7 and 8) close up at the bottom; s0 = 3 lands below s1 = 4.
        {"jewels close up, the supply enters above them", {"72345", ".3451", "84512", ".5123", "#1234"}, {}, 0, 4,
         {3, 0, 0, 0, 0}, {"42345", "33451", "74512", "85123", "#1234"}, {5, 0, 0, 0, 0}},
        {"supply of one jewel", {".2345", ".3451", ".4512", "45123", "51234"}, {"7", kDigits, kDigits, kDigits, kDigits},
         0, 4, {0, 0, 0, 0, 0}, {"72345", "73451", "74512", "45123", "51234"}, {0, 0, 0, 0, 0}},
        {"supply of three, cursor on its last jewel", {".2345", "23451", "34512", "45123", "51234"},
         {"789", kDigits, kDigits, kDigits, kDigits}, 0, 4, {2, 0, 0, 0, 0},
         {"92345", "23451", "34512", "45123", "51234"}, {0, 0, 0, 0, 0}},
        {"a stretch in mid-column: the jewel above it drops past it", {"72345", ".3451", ".4512", "85123", "91234"}, {},
         0, 0, {0, 0, 0, 0, 0}, {"12345", "03451", "74512", "85123", "91234"}, {2, 0, 0, 0, 0}},
        {"a refill across the 256th jewel of a longer supply", {".2345", ".3451", ".4512", ".5123", "51234"},
         {kThreeHundredDigits, kDigits, kDigits, kDigits, kDigits}, 0, 0, {254, 0, 0, 0, 0},
         {"12345", "03451", "54512", "45123", "51234"}, {2, 0, 0, 0, 0}},
        {"only the dirty columns", {".2.4.", "23451", "34512", "45123", "51234"}, {}, 2, 2, {0, 0, 0, 0, 0},
         {".204.", "23451", "34512", "45123", "51234"}, {0, 0, 1, 0, 0}},
        {"three stretches close up in one pass", {".2345", "73451", ".4512", "85123", ".1234"}, {}, 0, 0,
         {0, 0, 0, 0, 0}, {"22345", "13451", "04512", "75123", "81234"}, {3, 0, 0, 0, 0}},
        {"a whole column empty", {".2345", ".3451", ".4512", ".5123", ".1234"}, {}, 0, 0, {0, 0, 0, 0, 0},
         {"42345", "33451", "24512", "15123", "01234"}, {5, 0, 0, 0, 0}},
    };
    for (const RefillCase& c : cases) {
        SCOPED_TRACE(c.name);
        Game game = loadPicture(c.field, c.supply);
        game.dirtyFirst = c.dirtyFirst;
        game.dirtyLast = c.dirtyLast;
        std::copy(c.cursors.begin(), c.cursors.end(), game.supplyCursor.begin());
        clearRange(game.touchedFirst, game.touchedLast);
        refill(game);
        EXPECT_EQ(pictureOf(game), c.refilled);
        EXPECT_EQ(cursorsOf(game), c.cursorsAfter);
        EXPECT_EQ(game.dirtyFirst, c.dirtyFirst);
        EXPECT_EQ(game.dirtyLast, c.dirtyLast);
        EXPECT_EQ(game.touchedFirst, c.dirtyFirst);
        EXPECT_EQ(game.touchedLast, c.dirtyLast);
    }
}

TEST(Gravity, LongSupplyCyclesThroughItsFirst256Jewels) {
    const std::string threeHundred = kThreeHundredDigits;
    Game game = loadPicture(kBackground, {threeHundred, kDigits, kDigits, kDigits, kDigits});
    std::string taken;
    for (int i = 0; i < 256; ++i) taken += static_cast<char>('0' + takeJewel(game, 0, 0));
    EXPECT_EQ(taken, threeHundred.substr(0, 256));
    EXPECT_EQ(game.supplyCursor[0], 0);
    // The 257th jewel taken is the supply's first (0), not its 257th (6).
    EXPECT_EQ(takeJewel(game, 0, 0), 0);
    EXPECT_EQ(game.supplyCursor[0], 1);
}

struct SettleCase {
    const char* name;
    Picture field;
    std::vector<std::string> supply;
    std::uint32_t drops, score;
    Picture settled;
    std::vector<std::uint32_t> cursors;
    std::uint32_t touchedFirst, touchedLast;
};

TEST(Gravity, SettleRunsTheCascadeToTheEnd) {
    const SettleCase cases[] = {
        {"nothing matches", kBackground, {}, 0, 0, kBackground, {0, 0, 0, 0, 0}, kNoColumn, 0},
        // The three 0s go, 2 and 1 fall, supply "1134" adds 1, 1, 3 above them:
        // 3,1,1,1,2 from the top. The three 1s go, 3 falls onto 2, and 4, 1, 1
        // enter (the cursor wraps after 4): 1,1,4,3,2, stable. 50 + 50 points.
        {"a refill that completes a run", {"15678", "26789", "07895", "08956", "09567"},
         {"1134", kDigits, kDigits, kDigits, kDigits}, 2, 100, {"15678", "16789", "47895", "38956", "29567"},
         {2, 0, 0, 0, 0}, 0, 0},
    };
    for (const SettleCase& c : cases) {
        SCOPED_TRACE(c.name);
        Game game = loadPicture(c.field, c.supply);
        clearRange(game.touchedFirst, game.touchedLast);
        const SettleResult result = settle(game);
        EXPECT_TRUE(result.settled);
        EXPECT_EQ(result.drops, c.drops);
        EXPECT_EQ(game.score, c.score);
        EXPECT_EQ(pictureOf(game), c.settled);
        EXPECT_EQ(cursorsOf(game), c.cursors);
        EXPECT_EQ(game.dirtyFirst, kNoColumn);
        EXPECT_EQ(game.dirtyLast, 0u);
        EXPECT_EQ(game.touchedFirst, c.touchedFirst);
        EXPECT_EQ(game.touchedLast, c.touchedLast);
    }
}

std::uint32_t passesReported = 0;
void countPass(const Game&) { ++passesReported; }

TEST(Gravity, InitialFillFillsEachColumnBottomUp) {
    loadLevel({"00000", "00000", "00100", "00100", "00110"}, {"11123456", "3456789", "8", "901", "2345"});
    Game game;
    passesReported = 0;
    EXPECT_TRUE(initialFill(game, countPass));
    // Column 0 first reads 3,2,1,1,1 from the top; the 1s score 50, 3 and 2 fall
    // and 4, 5, 6 enter. "901" in a column of 4 gives 9,0,1,9 from the bottom up.
    EXPECT_EQ(pictureOf(game), (Picture{"67892", "56815", "45#04", "34#93", "23##2"}));
    EXPECT_EQ(cursorsOf(game), (std::vector<std::uint32_t>{0, 5, 0, 1, 1}));
    EXPECT_EQ(game.score, 50u);
    EXPECT_EQ(passesReported, 1u);
}

TEST(Gravity, AColumnThatRefillsItsOwnRunIsCutOff) {
    // Column 0 has height 3 and supply "000": every refill rebuilds the run.
    Game game = loadPicture({"05678", "06789", "07895", "#8956", "#9567"}, {"000", kDigits, kDigits, kDigits, kDigits});
    const SettleResult result = settle(game);
    EXPECT_FALSE(result.settled);
    EXPECT_EQ(result.drops, kMaxRefillPasses);

    Game fresh;
    passesReported = 0;
    EXPECT_FALSE(initialFill(fresh, countPass));
    EXPECT_EQ(passesReported, kMaxRefillPasses);
}

TEST(GameState, NewGameHasEmptyJewelSpacesOverRock) {
    loadLevel({"00000", "00000", "00000", "00010", "11011", "11111"}, {"0123", "45", "6789", "0", "11"});
    const Game game;
    // Heights 4, 4, 5, 3, 4; the all-rock row 5 is not stored.
    EXPECT_EQ(pictureOf(game), (Picture{".....", ".....", ".....", "...#.", "##.##"}));
    EXPECT_EQ(cursorsOf(game), (std::vector<std::uint32_t>{0, 0, 0, 0, 0}));
    EXPECT_EQ(game.score, 0u);
    EXPECT_EQ(game.dirtyFirst, 0u);
    EXPECT_EQ(game.dirtyLast, 4u);
    EXPECT_EQ(game.touchedFirst, 0u);
    EXPECT_EQ(game.touchedLast, 4u);
}

TEST(GameState, EqualityNoticesEveryPart) {
    const struct {
        const char* name;
        void (*change)(Game&);
    } changes[] = {
        {"a cell", [](Game& game) { cellAt(game, 4, 4) = kEmpty; }},
        {"a cursor", [](Game& game) { game.supplyCursor[4] = 1; }},
        {"the score", [](Game& game) { game.score = 50; }},
        {"the dirty range", [](Game& game) { game.dirtyLast = 3; }},
        {"the touched range", [](Game& game) { game.touchedFirst = 1; }},
    };
    const Game source = loadPicture(kBackground);
    for (const auto& c : changes) {
        SCOPED_TRACE(c.name);
        Game copy(source);
        EXPECT_TRUE(copy == source);
        c.change(copy);
        EXPECT_FALSE(copy == source);
        EXPECT_EQ(pictureOf(source), kBackground);
        copy = source;
        EXPECT_TRUE(copy == source);
    }
}

TEST(GameState, CopyLeavesItsSourceAloneAndAssignmentRestoresIt) {
    Game source = loadPicture(kBackground);
    source.supplyCursor[1] = 7;
    Game copy(source);
    cellAt(copy, 1, 2) = kEmpty;
    copy.supplyCursor[1] = 2;
    copy.score = 50;
    EXPECT_EQ(pictureOf(source), kBackground);
    EXPECT_EQ(source.supplyCursor[1], 7);
    EXPECT_EQ(source.score, 0u);

    copy = source;
    EXPECT_EQ(pictureOf(copy), kBackground);
    EXPECT_EQ(copy.supplyCursor[1], 7);
    EXPECT_EQ(copy.score, 0u);

    Game& same = copy;
    copy = same;
    EXPECT_TRUE(copy == source);
}

// Every exchange of two neighbouring jewels, in all four directions, whether it
// makes a run or not.
std::vector<Move> everyExchange() {
    std::vector<Move> exchanges;
    for (std::uint32_t column = 0; column < Level.columnCount; ++column) {
        for (std::uint32_t row = 0; row < Level.columnHeight[column]; ++row) {
            if (row + 1 < Level.columnHeight[column]) exchanges.push_back({column, row + 1, North});
            if (row + 1 < Level.columnHeight[column]) exchanges.push_back({column, row, South});
            if (column + 1 < Level.columnCount && row < Level.columnHeight[column + 1]) {
                exchanges.push_back({column, row, East});
                exchanges.push_back({column + 1, row, West});
            }
        }
    }
    return exchanges;
}

// Calls check(game, move) for every exchange of the positions of a random
// play: on levelCount random levels, by turns lowRows and tallRows tall, at
// the start and after each of up to steps - 1 random legal moves.
template <typename Check>
void checkEveryExchangeOfRandomPlay(unsigned seed, int levelCount, std::uint32_t lowRows, std::uint32_t tallRows,
                                    int steps, Check check) {
    std::mt19937 random(seed);
    for (int levelIndex = 0; levelIndex < levelCount; ++levelIndex) {
        SCOPED_TRACE("level " + std::to_string(levelIndex));
        Game game;
        if (!loadSettledRandomLevel(random, 16, levelIndex % 2 == 0 ? lowRows : tallRows, game)) continue;
        MoveList legal;
        for (int step = 0; step < steps; ++step) {
            for (const Move& move : everyExchange()) {
                SCOPED_TRACE(testing::PrintToString(move));
                check(game, move);
                if (testing::Test::HasFatalFailure()) return;
            }
            legal.clear();
            if (enumerateAll(game, &legal) == 0) break;
            if (!playMove(game, legal[random() % legal.size()]).settled) break;
        }
    }
}

// playMove finds the first clearing of a field at rest from the exchanged cells
// alone, and after each refill compares only the rows a new run can reach; it
// must leave exactly what swap and settle leave, on every exchange. Every other
// level is up to 50 rows tall, so its columns span several 16-cell blocks.
TEST(PlayMove, LeavesWhatSwapAndSettleLeave) {
    int clearing = 0;
    int quiet = 0;
    checkEveryExchangeOfRandomPlay(61206, 12, 12, 50, 8, [&](const Game& game, const Move& move) {
        Game expected = game;
        swap(expected, move);
        const SettleResult expectedResult = settle(expected);
        Game played = game;
        const SettleResult result = playMove(played, move);
        ASSERT_TRUE(played == expected);
        ASSERT_EQ(result.drops, expectedResult.drops);
        ASSERT_EQ(result.settled, expectedResult.settled);
        ++(expected.score != game.score ? clearing : quiet);
    });
    EXPECT_GT(clearing, 1000);
    EXPECT_GT(quiet, 1000);
}

// The most runs one scan after a refill finds in move's cascade, pass by pass
// as settle goes.
std::uint32_t mostRunsAfterARefill(Game game, const Move& move) {
    swap(game, move);
    std::uint32_t most = 0;
    for (std::uint32_t pass = 0; pass < kMaxRefillPasses; ++pass) {
        Game marked = game;
        if (pass > 0) most = std::max(most, markMatches(marked));
        if (clearAndScore(game) == 0) break;
        refill(game);
    }
    return most;
}

// A look-ahead takes from lookAtMove what swapping and settling the move would
// tell: its points and the columns it changed; scratch is left as it was
// whenever the move was only worked out. Low and tall levels, so both ways are
// taken, and on low ones most cascades are worked out too, also those whose
// scans find several runs at once, crossing or apart.
TEST(LookAtMove, TellsWhatSwapAndSettleTell) {
    int workedOut = 0;
    int workedOutCascades = 0;
    int workedOutManyRuns = 0;
    int played = 0;
    checkEveryExchangeOfRandomPlay(71207, 16, 16, 40, 10, [&](const Game& game, const Move& move) {
        Game expected = game;
        clearRange(expected.touchedFirst, expected.touchedLast);
        swap(expected, move);
        const SettleResult result = settle(expected);
        Game scratch = game;
        const MoveOutcome outcome = lookAtMove(game, scratch, move);
        ASSERT_EQ(outcome.points, expected.score - game.score);
        ASSERT_EQ(outcome.firstChanged, result.settled ? expected.touchedFirst : 0);
        ASSERT_EQ(outcome.lastChanged, result.settled ? expected.touchedLast : Level.columnCount - 1);
        ASSERT_TRUE(scratch == (outcome.played ? expected : game));
        ++(outcome.played ? played : workedOut);
        if (!outcome.played && result.drops >= 2) ++workedOutCascades;
        if (!outcome.played && mostRunsAfterARefill(game, move) >= 2) ++workedOutManyRuns;
    });
    EXPECT_GT(workedOut, 1000);
    EXPECT_GT(workedOutCascades, 100);
    EXPECT_GT(workedOutManyRuns, 500);
    EXPECT_GT(played, 500);
}

TEST(PlayMove, OnAFieldNotAtRestSettlesTheWholeDirtyRange) {
    // The drawn field holds a run of 0s in column 4 far from the exchange, and
    // its dirty range covers every column, as after a cascade cut off at the cap.
    Game game = loadPicture({"12340", "23410", "34120", "41234", "12341"});
    Game expected = game;
    swap(expected, {0, 0, East});
    const SettleResult expectedResult = settle(expected);
    const SettleResult result = playMove(game, {0, 0, East});
    EXPECT_TRUE(game == expected);
    EXPECT_EQ(result.drops, expectedResult.drops);
    EXPECT_EQ(game.score, kPointsForThree);
}

}  // namespace
