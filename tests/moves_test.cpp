#include <cstdint>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "engine/game.h"
#include "engine/moves.h"
#include "support/level_fixture.h"

namespace {

using Probe = std::uint32_t (*)(const Game&, std::uint32_t, std::uint32_t, Cell);

struct ProbeCase {
    const char* name;
    std::vector<std::string> field;
    Probe probe;
    std::uint32_t column;
    std::uint32_t row;
    Cell value;
    std::uint32_t expected;
};

// The fields store column by column, so a probe that ran past the top or bottom
// of its column would read the neighbouring column's cells: those hold the probed
// jewel here.
TEST(Probes, CountConsecutiveEqualCellsAndStopAtEdgesAndRock) {
    const ProbeCase cases[] = {
        {"above, stopping at the first other jewel",
         {"..1..", "..2..", "..1..", "..1..", "....."}, countAbove, 2, 4, 1, 2},
        {"above from the top row",
         {".....", ".....", ".....", "1....", "1...."}, countAbove, 1, 0, 1, 0},
        {"below, stopping at the first other jewel",
         {".....", "..1..", "..1..", "..3..", "..1.."}, countBelow, 2, 0, 1, 2},
        {"below from the bottom row",
         {"..1..", "..1..", ".....", ".....", "....."}, countBelow, 1, 4, 1, 0},
        {"left, stopping at the first other jewel",
         {".....", "211..", ".....", ".....", "....."}, countLeft, 3, 1, 1, 2},
        {"left from the first column",
         {".....", ".....", "....1", ".....", "....."}, countLeft, 0, 2, 1, 0},
        {"right, stopping at the first other jewel",
         {".....", ".....", ".....", "..112", "....."}, countRight, 1, 3, 1, 2},
        {"right from the last column",
         {"1....", ".....", ".....", ".....", "....."}, countRight, 4, 0, 1, 0},
        {"right, stopping at rock",
         {".....", ".....", ".....", "..#11", "..#.."}, countRight, 1, 3, 1, 0},
    };
    for (const ProbeCase& c : cases) {
        SCOPED_TRACE(c.name);
        const Game game = loadPicture(c.field);
        EXPECT_EQ(c.probe(game, c.column, c.row, c.value), c.expected);
    }
}

struct LegalityCase {
    const char* name;
    std::vector<std::string> field;
    bool expected;
};

// The pair under test is (2, 2) holding 1 and (2, 3) holding 2; '.' is an empty
// cell, which never equals a jewel.
TEST(SwapSouthMatches, EveryWayAMovedJewelCanCompleteARun) {
    const LegalityCase cases[] = {
        {"lower jewel below two equal ones",
         {"..2..", "..2..", "..1..", "..2..", ".....", "....."}, true},
        {"lower jewel below a single equal one",
         {".....", "..2..", "..1..", "..2..", ".....", "....."}, false},
        {"lower jewel right of two equal ones",
         {".....", ".....", "221..", "..2..", ".....", "....."}, true},
        {"lower jewel between two equal ones",
         {".....", ".....", ".212.", "..2..", ".....", "....."}, true},
        {"lower jewel left of two equal ones",
         {".....", ".....", "..122", "..2..", ".....", "....."}, true},
        {"upper jewel above two equal ones",
         {".....", ".....", "..1..", "..2..", "..1..", "..1.."}, true},
        {"upper jewel right of two equal ones in the lower row",
         {".....", ".....", "..1..", "112..", ".....", "....."}, true},
        {"upper jewel between two equal ones in the lower row",
         {".....", ".....", "..1..", ".121.", ".....", "....."}, true},
        {"upper jewel left of two equal ones in the lower row",
         {".....", ".....", "..1..", "..211", ".....", "....."}, true},
        {"lower jewel with one equal above and one on the left: no straight run",
         {".....", "..2..", ".21..", "..2..", ".....", "....."}, false},
        {"upper jewel with one equal below and one on the right: no straight run",
         {".....", ".....", "..1..", "..21.", "..1..", "....."}, false},
        {"equal jewels beyond a gap",
         {"..2..", "..3..", "2.1.2", "..2..", "..3..", "..1.."}, false},
    };
    for (const LegalityCase& c : cases) {
        SCOPED_TRACE(c.name);
        const Game game = loadPicture(c.field);
        EXPECT_EQ(swapSouthMatches(game, 2, 2), c.expected);
    }
}

// The pair under test is (2, 2) holding 1 and (3, 2) holding 2.
TEST(SwapEastMatches, EveryWayAMovedJewelCanCompleteARun) {
    const LegalityCase cases[] = {
        {"right jewel right of two equal ones",
         {"......", "......", "2212..", "......", "......"}, true},
        {"right jewel below two equal ones",
         {"..2...", "..2...", "..12..", "......", "......"}, true},
        {"right jewel between one equal above and one below",
         {"......", "..2...", "..12..", "..2...", "......"}, true},
        {"right jewel above two equal ones",
         {"......", "......", "..12..", "..2...", "..2..."}, true},
        {"left jewel left of two equal ones",
         {"......", "......", "..1211", "......", "......"}, true},
        {"left jewel below two equal ones",
         {"...1..", "...1..", "..12..", "......", "......"}, true},
        {"left jewel between one equal above and one below",
         {"......", "...1..", "..12..", "...1..", "......"}, true},
        {"left jewel above two equal ones",
         {"......", "......", "..12..", "...1..", "...1.."}, true},
        {"one equal jewel on the far side of each: they end up side by side, not in a run",
         {"......", "......", ".2121.", "......", "......"}, false},
        {"right jewel with one equal above and one on the left: no straight run",
         {"......", "..2...", ".212..", "......", "......"}, false},
        {"left jewel with one equal below and one on the right: no straight run",
         {"......", "......", "..121.", "...1..", "......"}, false},
    };
    for (const LegalityCase& c : cases) {
        SCOPED_TRACE(c.name);
        const Game game = loadPicture(c.field);
        EXPECT_EQ(swapEastMatches(game, 2, 2), c.expected);
    }
}

struct ColumnRange {
    std::uint32_t first;
    std::uint32_t last;
};

struct SwapCase {
    const char* name;
    std::uint32_t direction;
    ColumnRange dirtyBefore;
    ColumnRange touchedBefore;
    std::vector<std::string> fieldAfter;
    ColumnRange dirtyAfter;
    ColumnRange touchedAfter;
};

// Every case swaps the 4 at (3, 2). On this field of five columns the empty
// range is {5, 0}.
TEST(Swap, ExchangesTheNeighboursAndWidensBothRangesByTheColumnsInvolved) {
    const std::vector<std::string> field = {"01234", "56789", "12340", "67895", "23401"};
    const ColumnRange none = {5, 0};
    const SwapCase cases[] = {
        {"N, from empty ranges", North, none, none,
         {"01234", "56749", "12380", "67895", "23401"}, {3, 3}, {3, 3}},
        {"O, from empty ranges", East, none, none,
         {"01234", "56789", "12304", "67895", "23401"}, {3, 4}, {3, 4}},
        {"Z, from empty ranges", South, none, none,
         {"01234", "56789", "12390", "67845", "23401"}, {3, 3}, {3, 3}},
        {"W, from empty ranges", West, none, none,
         {"01234", "56789", "12430", "67895", "23401"}, {2, 3}, {2, 3}},
        // The touched range grows by the whole new dirty range, column 4 included.
        {"W, widening earlier ranges", West, {4, 4}, {0, 0},
         {"01234", "56789", "12430", "67895", "23401"}, {2, 4}, {0, 4}},
    };
    for (const SwapCase& c : cases) {
        SCOPED_TRACE(c.name);
        Game game = loadPicture(field);
        game.dirtyFirst = c.dirtyBefore.first;
        game.dirtyLast = c.dirtyBefore.last;
        game.touchedFirst = c.touchedBefore.first;
        game.touchedLast = c.touchedBefore.last;

        swap(game, 3, 2, c.direction);
        EXPECT_EQ(pictureOf(game), c.fieldAfter);
        EXPECT_EQ(game.dirtyFirst, c.dirtyAfter.first);
        EXPECT_EQ(game.dirtyLast, c.dirtyAfter.last);
        EXPECT_EQ(game.touchedFirst, c.touchedAfter.first);
        EXPECT_EQ(game.touchedLast, c.touchedAfter.last);
        EXPECT_EQ(game.score, 0u);

        swap(game, 3, 2, c.direction);
        EXPECT_EQ(pictureOf(game), field);
        EXPECT_EQ(game.dirtyFirst, c.dirtyAfter.first);
        EXPECT_EQ(game.dirtyLast, c.dirtyAfter.last);
        EXPECT_EQ(game.touchedFirst, c.touchedAfter.first);
        EXPECT_EQ(game.touchedLast, c.touchedAfter.last);
    }
}

}  // namespace
