#pragma once

#include <cstddef>
#include <cstdint>

#include "engine/game.h"
#include "engine/moves.h"

// Points of one cleared group by its number of cells.
inline constexpr std::uint32_t kPointsForThree = 50;
inline constexpr std::uint32_t kPointsForFour = 100;
inline constexpr std::uint32_t kPointsForMore = 250;

// Inline: every move a look-ahead works out asks it once or more.
inline std::uint32_t pointsForGroup(std::uint32_t cellCount) {
    if (cellCount == 3) return kPointsForThree;
    if (cellCount == 4) return kPointsForFour;
    return kPointsForMore;
}

// Flags every run of three or more in the dirty columns (and horizontal runs
// starting up to two columns left of them); the dirty range becomes the columns
// holding marked runs. Returns the number of runs marked.
std::uint32_t markMatches(Game& game);

// Empties the group of flagged cells that holds (column, row), adding its size to count.
void floodClear(Game& game, std::uint32_t column, std::uint32_t row, std::uint32_t& count);

// Marks, clears and scores every group in the dirty columns. Returns the number
// of groups cleared; 0 means the dirty columns were stable.
std::uint32_t clearAndScore(Game& game);

// clearAndScore for a field that was at rest, with no run anywhere, before its
// dirty columns changed in rows 0 to lowestChangedRow only (as a refill
// changes them): it compares only the rows a new run can reach.
std::uint32_t clearAndScoreAbove(Game& game, std::uint32_t lowestChangedRow);

// The jewels equal to a cell's, one and two steps along each of the four arms
// from it (at most two: on a field at rest no arm holds three, as with the
// cells beyond it they would have been a run already), and what they make.
struct Arms {
    std::uint32_t above;
    std::uint32_t below;
    std::uint32_t left;
    std::uint32_t right;

    bool vertical() const { return above + below >= 2; }
    bool horizontal() const { return left + right >= 2; }
    std::uint32_t groupSize() const { return 1 + (vertical() ? above + below : 0) + (horizontal() ? left + right : 0); }
    // The first and last column of the group through a cell of column.
    std::uint32_t firstColumn(std::uint32_t column) const { return horizontal() ? column - left : column; }
    std::uint32_t lastColumn(std::uint32_t column) const { return horizontal() ? column + right : column; }
};

// No arm is left out.
inline constexpr std::uint32_t kNoDirection = 4;

// The arms of a jewel of kind put at (column, row) of a field at rest, not
// looking in direction `skipped`: the cell it was exchanged with, which still
// holds that jewel when the exchange is not yet written. Probed in place: rock
// ends every arm, and the rows below a column's height hold rock, so only the
// field's edges need a test.
inline Arms armsAt(const Game& game, std::uint32_t column, std::uint32_t row, Cell kind, std::uint32_t skipped) {
    const auto arm = [kind](const Cell* cell, std::ptrdiff_t step, std::uint32_t room) -> std::uint32_t {
        if (room == 0 || cell[step] != kind) return 0;
        return room >= 2 && cell[2 * step] == kind ? 2 : 1;
    };
    const std::ptrdiff_t stride = Level.stride;
    const Cell* const cell = &game.cells[column * Level.stride + row];
    return {skipped == North ? 0 : arm(cell, -1, row),
            skipped == South ? 0 : arm(cell, 1, Level.columnHeight[column] - 1 - row),
            skipped == West ? 0 : arm(cell, -stride, column),
            skipped == East ? 0 : arm(cell, stride, Level.columnCount - 1 - column)};
}

// Clears and scores the group through the jewel at (column, row) of a field that
// was at rest before one swap changed this cell: any run there passes through
// it. Widens the dirty range by the columns cleared; returns 1 when a group was
// cleared, else 0.
std::uint32_t clearGroupThrough(Game& game, std::uint32_t column, std::uint32_t row);
