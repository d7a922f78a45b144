#include "engine/matching.h"

#include <array>
#include <bit>
#include <cstddef>

#include "engine/column_compare.h"

namespace {

const Cell* columnCells(const Game& game, std::uint32_t column) { return &game.cells[column * Level.stride]; }

// Bit r: a run of three or more starts at r, reading the equalities of its first
// two steps; a run starts where the previous cell differs or the scan begins.
std::uint64_t runStarts(std::uint64_t previous, std::uint64_t first, std::uint64_t second) {
    return ~previous & first & second;
}

// Consecutive steps of equal cells from bit `from` on, plus the first cell.
std::uint32_t runLength(std::uint64_t equalSteps, std::uint32_t from) {
    return 1 + static_cast<std::uint32_t>(std::countr_one(equalSteps >> from));
}

std::uint32_t lowestBit(std::uint64_t bits) { return static_cast<std::uint32_t>(std::countr_zero(bits)); }

// What a scan marked: the columns holding runs, and the first cell of every run
// (its index in the cells), from which clearing finds every group without
// scanning for flags.
struct MarkedRange {
    std::uint32_t first;
    std::uint32_t last;
    std::uint32_t runs;
    std::array<std::uint16_t, kMaxCells> runStart;
    // The cells of the first run, which is the whole group when it is the only run.
    std::uint32_t firstRunLength;
    std::uint32_t firstRunStep;  // 1 down a column, Level.stride along a row

    void add(std::uint32_t firstColumn, std::uint32_t lastColumn, std::uint32_t startCell, std::uint32_t length,
             std::uint32_t step) {
        if (runs == 0) {
            firstRunLength = length;
            firstRunStep = step;
        }
        runStart[runs++] = static_cast<std::uint16_t>(startCell);
        widenRange(first, last, firstColumn, lastColumn);
    }
};

// Vertical runs compare whole bytes; no cell carries a flag yet when a column is
// scanned. Bit r of equalBelow: the cell at row r equals the one below it.
void markVerticalRuns(Game& game, std::uint32_t column, std::uint64_t equalBelow, MarkedRange& marked) {
    Cell* cells = &cellAt(game, column, 0);
    for (std::uint64_t starts = runStarts(equalBelow << 1, equalBelow, equalBelow >> 1); starts != 0;
         starts &= starts - 1) {
        const std::uint32_t row = lowestBit(starts);
        const std::uint32_t length = runLength(equalBelow, row);
        cells[row] |= linkDown;
        for (std::uint32_t inner = row + 1; inner < row + length - 1; ++inner) cells[inner] |= linkUp | linkDown;
        cells[row + length - 1] |= linkUp;
        marked.add(column, column, column * Level.stride + row, length, 1);
    }
}

// A horizontal run is measured from its start column rightwards, up to the last
// column, comparing kinds only: a cell already in a vertical run still joins.
void markHorizontalRun(Game& game, std::uint32_t column, std::uint32_t row, MarkedRange& marked) {
    const Cell kind = cellAt(game, column, row) & kContentMask;
    std::uint32_t end = column + 1;
    while (end < Level.columnCount && (cellAt(game, end, row) & kContentMask) == kind) ++end;
    cellAt(game, column, row) |= linkRight;
    for (std::uint32_t inner = column + 1; inner < end - 1; ++inner) cellAt(game, inner, row) |= linkLeft | linkRight;
    cellAt(game, end - 1, row) |= linkLeft;
    marked.add(column, end - 1, column * Level.stride + row, end - column, Level.stride);
}

// The scan for a level whose columns span Blocks blocks of 16 cells.
template <unsigned Blocks>
void markMatchesInBlocks(Game& game, MarkedRange& marked) {
    const std::uint32_t first = game.dirtyFirst;
    const std::uint32_t last = game.dirtyLast;
    marked.first = Level.columnCount;
    marked.last = 0;
    marked.runs = 0;

    // Bit r: the jewel at row r of the column equals its right-hand neighbour.
    // Rock never pairs: a column's rock lies below its height.
    const auto equalRight = [&game](std::uint32_t column) {
        return equalBlocksMask<Blocks>(columnCells(game, column), columnCells(game, column + 1)) &
               Level.jewelRows[column];
    };

    // The window starts two columns left of the dirty range: a change there can
    // complete a horizontal run whose first two cells did not change. The scan
    // never looks left of the window, so a run is cut at its first column.
    // Runs are found from the equalities of neighbouring columns, all read
    // before any flag is set, so flags never disturb a comparison.
    const std::uint32_t windowStart = first <= 2 ? 0 : first - 2;
    const std::uint32_t windowEnd = last < Level.columnCount - 3 ? last : Level.columnCount - 3;
    std::array<std::uint64_t, kMaxColumns> horizontalStarts;
    std::uint64_t anyHorizontalStart = 0;
    if (windowStart <= windowEnd) {
        std::uint64_t previous = 0;
        std::uint64_t current = equalRight(windowStart);
        for (std::uint32_t column = windowStart; column <= windowEnd; ++column) {
            const std::uint64_t next = equalRight(column + 1);
            horizontalStarts[column] = runStarts(previous, current, next);
            anyHorizontalStart |= horizontalStarts[column];
            previous = current;
            current = next;
        }
    }

    for (std::uint32_t column = first; column <= last; ++column) {
        const Cell* cells = columnCells(game, column);
        const std::uint64_t equalBelow = equalBelowMask<Blocks>(cells) & (Level.jewelRows[column] >> 1);
        if ((equalBelow & (equalBelow >> 1)) != 0) markVerticalRuns(game, column, equalBelow, marked);
    }

    for (std::uint32_t column = windowStart; anyHorizontalStart != 0 && column <= windowEnd; ++column) {
        // Rows ascending, as the scan goes top to bottom.
        for (std::uint64_t starts = horizontalStarts[column]; starts != 0; starts &= starts - 1)
            markHorizontalRun(game, column, lowestBit(starts), marked);
    }

    game.dirtyFirst = marked.first;
    game.dirtyLast = marked.last;
}

// Scans the first `blocks` blocks of every column: all of them, or fewer where
// no run can reach further down.
void markMatches(Game& game, MarkedRange& marked, std::uint32_t blocks) {
    switch (blocks) {
        case 0:
        case 1: return markMatchesInBlocks<1>(game, marked);
        case 2: return markMatchesInBlocks<2>(game, marked);
        case 3: return markMatchesInBlocks<3>(game, marked);
        default: return markMatchesInBlocks<4>(game, marked);
    }
}

}  // namespace

std::uint32_t markMatches(Game& game) {
    MarkedRange marked;
    markMatches(game, marked, columnBlocks());
    return marked.runs;
}

void floodClear(Game& game, std::uint32_t column, std::uint32_t row, std::uint32_t& count) {
    Cell& cell = cellAt(game, column, row);
    const Cell links = cell & kLinkMask;
    ++count;
    cell = kEmpty;
    if ((links & linkDown) && cellAt(game, column, row + 1) != kEmpty) floodClear(game, column, row + 1, count);
    if ((links & linkUp) && cellAt(game, column, row - 1) != kEmpty) floodClear(game, column, row - 1, count);
    if ((links & linkLeft) && cellAt(game, column - 1, row) != kEmpty) floodClear(game, column - 1, row, count);
    if ((links & linkRight) && cellAt(game, column + 1, row) != kEmpty) floodClear(game, column + 1, row, count);
}

namespace {

std::uint32_t clearAndScoreInBlocks(Game& game, std::uint32_t blocks) {
    MarkedRange marked;
    markMatches(game, marked, blocks);
    if (marked.runs == 1) {
        // A lone run is its own group: no flood needed to find its cells.
        Cell* cell = &game.cells[marked.runStart[0]];
        for (std::uint32_t i = 0; i < marked.firstRunLength; ++i) cell[i * marked.firstRunStep] = kEmpty;
        game.score += pointsForGroup(marked.firstRunLength);
        return 1;
    }
    // Every group holds the first cell of at least one of its runs; a group is
    // cleared from the first of them reached, and later ones find it empty.
    // Group sizes, and so the points, do not depend on that order.
    std::uint32_t groups = 0;
    for (std::uint32_t run = 0; run < marked.runs; ++run) {
        const std::uint32_t cell = marked.runStart[run];
        if ((game.cells[cell] & kLinkMask) == 0) continue;
        std::uint32_t size = 0;
        floodClear(game, cell / Level.stride, cell % Level.stride, size);
        ++groups;
        game.score += pointsForGroup(size);
    }
    return groups;
}

}  // namespace

std::uint32_t clearAndScore(Game& game) { return clearAndScoreInBlocks(game, columnBlocks()); }

std::uint32_t clearAndScoreAbove(Game& game, std::uint32_t lowestChangedRow) {
    // A new run holds a changed cell, and reaches at most two cells below the
    // lowest one: three unchanged equal cells would have been a run already.
    const std::uint32_t blocks = (lowestChangedRow + 2) / 16 + 1;
    return clearAndScoreInBlocks(game, blocks < columnBlocks() ? blocks : columnBlocks());
}

namespace {

void clearArm(Cell* cell, std::ptrdiff_t step, std::uint32_t length) {
    if (length >= 1) cell[step] = kEmpty;
    if (length == 2) cell[2 * step] = kEmpty;
}

}  // namespace

std::uint32_t clearGroupThrough(Game& game, std::uint32_t column, std::uint32_t row) {
    const std::ptrdiff_t stride = Level.stride;
    Cell* const cell = &cellAt(game, column, row);
    const Arms arms = armsAt(game, column, row, *cell, kNoDirection);
    const bool vertical = arms.vertical();
    const bool horizontal = arms.horizontal();
    if (!vertical && !horizontal) return 0;
    if (vertical) {
        clearArm(cell, -1, arms.above);
        clearArm(cell, 1, arms.below);
    }
    if (horizontal) {
        clearArm(cell, -stride, arms.left);
        clearArm(cell, stride, arms.right);
    }
    *cell = kEmpty;
    widenRange(game.dirtyFirst, game.dirtyLast, arms.firstColumn(column), arms.lastColumn(column));
    game.score += pointsForGroup(arms.groupSize());
    return 1;
}
