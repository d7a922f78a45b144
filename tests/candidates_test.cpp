#include <algorithm>
#include <cstdint>
#include <random>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "engine/candidates.h"
#include "engine/game.h"
#include "engine/gravity.h"
#include "engine/matching.h"
#include "engine/moves.h"
#include "support/level_fixture.h"
#include "support/move_printing.h"

namespace {

// Fields below are drawn on a background where jewel (c, r) is 5 + (c + 2r) mod 5:
// any three cells in a line are distinct, so the background alone offers no move
// and the jewels 0 to 4 placed on it make the only ones.

struct EnumerationCase {
    const char* name;
    std::vector<std::string> field;
    MoveList expected;
};

TEST(EnumerateAll, ListsTheLegalMovesBottomRowFirstAndNothingElse) {
    const EnumerationCase cases[] = {
        {"no legal move", {"56789", "78956", "95678", "67895", "89567"}, {}},
        // Row 5: the 2 of (3, 5) into (2, 5) next to the two 2s, and the 3 of
        // (4, 5) under the two 3s of column 5. Row 1: the 1 of (1, 1) either
        // down onto the two 1s below or right beside the two 1s of row 1.
        {"bottom row first, columns ascending, Z before O in a cell",
         {"567895", "719117", "956789", "618953", "815673", "227235"},
         {{2, 5, East}, {4, 5, East}, {1, 1, South}, {1, 1, East}}},
        // The 2 at (2, 3) sits between rock on the left, right and below; with
        // rock taken for a jewel, moving it into (1, 3) or rock into (2, 3)
        // would line up with the 2s above (1, 3) or the rocks left of (2, 3).
        // Only the 3 of (4, 4) moving up under the two 3s is a move.
        {"nothing onto rock or out of rock",
         {"56789", "72953", "92673", "##2#5", "####3"}, {{4, 3, South}}},
        // Column 0 ends in 4, 4, 8; the cell after its bottom one in memory is
        // the 4 at the top of column 1, which must not count as its neighbour.
        {"no Z out of the last row",
         {"54789", "78956", "45678", "47895", "89567"}, {}},
        // Runs of 1s and 2s already stand in columns 0 and 4, so exchanging the
        // 1 at (0, 2) with the 1 beside it, or two of the 2s, would seem to make
        // one; it changes nothing and is no move.
        {"no swap of two equal jewels",
         {"16782", "18952", "11672", "67892", "89567"}, {}},
    };
    const Move alreadyThere = {9, 9, North};
    for (const EnumerationCase& c : cases) {
        SCOPED_TRACE(c.name);
        const Game game = loadPicture(c.field);
        MoveList moves = {alreadyThere};
        EXPECT_EQ(enumerateAll(game, &moves), c.expected.size());
        MoveList expected = {alreadyThere};
        expected.insert(expected.end(), c.expected.begin(), c.expected.end());
        EXPECT_EQ(moves, expected);
        EXPECT_EQ(enumerateAll(game, nullptr), c.expected.size());
    }
}

struct KeepDistantCase {
    const char* name;
    std::uint32_t columnCount;
    std::uint32_t touchedFirst;
    std::uint32_t touchedLast;
    std::vector<std::uint32_t> earlierColumns;
    std::vector<std::uint32_t> keptColumns;
};

// Moves differ in more than their column, so a kept move must be copied whole.
Move moveAtColumn(std::uint32_t column) { return {column, column % 4, column % 2 == 0 ? East : South}; }

MoveList movesAtColumns(const std::vector<std::uint32_t>& columns) {
    MoveList moves;
    for (std::uint32_t column : columns) moves.push_back(moveAtColumn(column));
    return moves;
}

TEST(KeepDistant, KeepsTheEarlierMovesOutsideTheWindowInTheirOrder) {
    const KeepDistantCase cases[] = {
        {"window 3..7 clamped at the right edge", 8, 6, 7, {0, 5, 2, 7, 3}, {0, 2}},
        {"window 2..8 inside the field", 12, 5, 5, {0, 5, 9, 1, 2, 8, 11}, {0, 9, 1, 11}},
        {"window over the whole field", 8, 0, 7, {0, 5}, {}},
        {"window reaching both edges from one column", 7, 3, 3, {0, 6}, {}},
        // With nothing touched on eight columns the window runs from 5 to 3.
        {"nothing touched: the window is empty", 8, 8, 0, {0, 4, 5, 7}, {0, 4, 5, 7}},
        {"empty earlier list", 12, 5, 5, {}, {}},
    };
    const Move alreadyThere = {9, 9, North};
    for (const KeepDistantCase& c : cases) {
        SCOPED_TRACE(c.name);
        loadLevel(std::vector<std::string>(5, std::string(c.columnCount, '0')),
                  std::vector<std::string>(c.columnCount, "0123"));
        Game game;
        game.touchedFirst = c.touchedFirst;
        game.touchedLast = c.touchedLast;
        const MoveList earlier = movesAtColumns(c.earlierColumns);

        MoveList kept = {alreadyThere};
        EXPECT_EQ(keepDistant(game, &kept, &earlier), c.keptColumns.size());
        MoveList expected = movesAtColumns(c.keptColumns);
        expected.insert(expected.begin(), alreadyThere);
        EXPECT_EQ(kept, expected);
        EXPECT_EQ(keepDistant(game, nullptr, &earlier), c.keptColumns.size());
        EXPECT_EQ(keepDistant(game, &kept, nullptr), 0u);
    }
}

TEST(RefreshCandidates, OnAFieldTouchedEverywhereEqualsEnumerateAllAndResetsTheTouchedRange) {
    Game game = loadPicture({"567895", "719117", "956789", "618953", "815673", "227235"});
    MoveList all;
    enumerateAll(game, &all);
    // Whatever the earlier list holds, a window over the whole field keeps none of it.
    const MoveList earlier = {{0, 0, East}, {5, 0, South}};
    MoveList refreshed;
    EXPECT_EQ(refreshCandidates(game, refreshed, earlier), all.size());
    EXPECT_EQ(refreshed, all);
    EXPECT_EQ(game.touchedFirst, Level.columnCount);
    EXPECT_EQ(game.touchedLast, 0u);
}

// The window around an empty touched range on five columns covers columns 2 and
// 3, so on an unchanged field their moves are listed again after the kept ones.
TEST(RefreshCandidates, OnAnUnchangedNarrowFieldMovesTheWindowColumnsToTheEnd) {
    // The 1 at (2, 3) drops beside the two 1s of row 4; the 2 at (1, 0) moves
    // left onto the two 2s of column 0.
    Game game = loadPicture({"52789", "28956", "25678", "67195", "89511"});
    MoveList earlier;
    enumerateAll(game, &earlier);
    ASSERT_EQ(earlier, (MoveList{{2, 3, South}, {0, 0, East}}));
    clearRange(game.touchedFirst, game.touchedLast);

    MoveList refreshed;
    EXPECT_EQ(refreshCandidates(game, refreshed, earlier), 2u);
    EXPECT_EQ(refreshed, (MoveList{{0, 0, East}, {2, 3, South}}));
}

// On a field wider than nine columns the window around an empty touched range
// holds no column at all: every earlier move is kept and none is looked for.
TEST(RefreshCandidates, OnAnUnchangedWideFieldKeepsEveryEarlierMove) {
    Game game = loadSettledLevel("large-50x50");
    MoveList earlier;
    enumerateAll(game, &earlier);
    ASSERT_FALSE(earlier.empty());
    clearRange(game.touchedFirst, game.touchedLast);

    MoveList near;
    EXPECT_EQ(enumerateNear(game, &near), 0u);
    MoveList refreshed;
    EXPECT_EQ(refreshCandidates(game, refreshed, earlier), earlier.size());
    EXPECT_EQ(refreshed, earlier);
}

// --- Property test: random levels against a brute-force reference. ---

bool isJewelSpace(std::uint32_t column, std::uint32_t row) {
    return column < Level.columnCount && row < Level.columnHeight[column];
}

// Any straight line of three equal jewels, found by looking at every cell.
bool fieldHasRun(const Game& game) {
    for (std::uint32_t column = 0; column < Level.columnCount; ++column) {
        for (std::uint32_t row = 0; row < Level.columnHeight[column]; ++row) {
            const Cell here = cellAt(game, column, row);
            if (isJewelSpace(column, row + 2) && cellAt(game, column, row + 1) == here &&
                cellAt(game, column, row + 2) == here)
                return true;
            if (isJewelSpace(column + 2, row) && isJewelSpace(column + 1, row) &&
                cellAt(game, column + 1, row) == here && cellAt(game, column + 2, row) == here)
                return true;
        }
    }
    return false;
}

// The legal moves by definition: every exchange of two unequal neighbouring
// jewels after which a run stands, in the order the enumeration promises.
MoveList legalMovesByBruteForce(const Game& game) {
    MoveList moves;
    for (std::uint32_t row = Level.stride; row-- > 0;) {
        for (std::uint32_t column = 0; column < Level.columnCount; ++column) {
            if (!isJewelSpace(column, row)) continue;
            const Move tries[] = {{column, row, South}, {column, row, East}};
            for (const Move& move : tries) {
                const std::uint32_t otherColumn = move.direction == East ? column + 1 : column;
                const std::uint32_t otherRow = move.direction == South ? row + 1 : row;
                if (!isJewelSpace(otherColumn, otherRow)) continue;
                if (cellAt(game, column, row) == cellAt(game, otherColumn, otherRow)) continue;
                Game swapped(game);
                std::swap(cellAt(swapped, column, row), cellAt(swapped, otherColumn, otherRow));
                if (fieldHasRun(swapped)) moves.push_back(move);
            }
        }
    }
    return moves;
}

MoveList sorted(MoveList moves) {
    std::sort(moves.begin(), moves.end(), [](const Move& a, const Move& b) {
        return std::tie(a.column, a.row, a.direction) < std::tie(b.column, b.row, b.direction);
    });
    return moves;
}

TEST(CandidatesOnRandomLevels, MatchBruteForceAndTheRefreshCarriedFromMoveToMove) {
    constexpr int kLevels = 30;
    constexpr int kMovesPerLevel = 200;
    std::mt19937 random(20240611);
    int movesChecked = 0;
    for (int levelIndex = 0; levelIndex < kLevels; ++levelIndex) {
        SCOPED_TRACE("level " + std::to_string(levelIndex));
        Game game;
        if (!loadSettledRandomLevel(random, 12, 12, game)) continue;

        // Carried from move to move exactly as MostPointsAi carries them.
        MoveList previous;
        MoveList current;
        MoveList all;
        for (int step = 0; step < kMovesPerLevel; ++step) {
            SCOPED_TRACE("move " + std::to_string(step));
            all.clear();
            enumerateAll(game, &all);
            ASSERT_EQ(all, legalMovesByBruteForce(game));
            for (const Move& move : all) {
                Game swapped(game);
                swap(swapped, move);
                ASSERT_GT(clearAndScore(swapped), 0u);
            }

            current.clear();
            refreshCandidates(game, current, previous);
            if (step == 0) {
                ASSERT_EQ(current, all);
            }
            ASSERT_EQ(sorted(current), sorted(all));
            std::swap(current, previous);
            ++movesChecked;

            if (all.empty()) break;
            swap(game, all[random() % all.size()]);
            if (!settle(game).settled) break;
        }
    }
    // Most levels must settle and offer moves, or the test would check little.
    EXPECT_GT(movesChecked, kLevels * kMovesPerLevel / 4);
}

// The moves of a map's columns, those of the loaded level only.
std::vector<std::uint64_t> mappedColumns(const MoveMap& map) {
    std::vector<std::uint64_t> columns(map.south.begin(), map.south.begin() + Level.columnCount);
    columns.insert(columns.end(), map.east.begin(), map.east.begin() + Level.columnCount);
    return columns;
}

// A child's map, its parent's remapped only where the move can have changed a
// move, is a fresh mapping's, after every move of each position, on levels of
// one and of several blocks per column.
TEST(MapChildMoves, EqualsAFreshMapAfterEveryMove) {
    std::mt19937 random(777);
    int children = 0;
    for (int levelIndex = 0; levelIndex < 16; ++levelIndex) {
        SCOPED_TRACE("level " + std::to_string(levelIndex));
        Game game;
        if (!loadSettledRandomLevel(random, 20, levelIndex % 2 == 0 ? 16 : 50, game)) continue;
        for (int step = 0; step < 5; ++step) {
            MoveMap parent;
            mapAllMoves(game, parent);
            MoveList moves;
            listAllMoves(parent, &moves);
            if (moves.empty()) break;
            for (const Move& move : moves) {
                Game child(game);
                clearRange(child.touchedFirst, child.touchedLast);
                playMove(child, move);
                MoveMap fresh;
                mapAllMoves(child, fresh);
                MoveMap derived;
                mapChildMoves(child, parent, derived);
                ASSERT_EQ(mappedColumns(derived), mappedColumns(fresh)) << testing::PrintToString(move);
                ++children;
            }
            playMove(game, moves[random() % moves.size()]);
            if (game.dirtyFirst <= game.dirtyLast) break;
        }
    }
    EXPECT_GT(children, 1000);
}

}  // namespace
