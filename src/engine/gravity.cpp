#include "engine/gravity.h"

#include "engine/matching.h"

#include <array>
#include <bit>
#include <cstring>

#include "engine/column_block.h"
#include "engine/column_compare.h"

namespace {

// The next jewel of the column's supply, or empty when it has none.
Cell takeFromSupply(Game& game, std::uint32_t column) {
    const SupplyColumn& supply = Level.supply[column];
    if (supply.length() == 0) return kEmpty;
    std::uint8_t& cursor = game.supplyCursor[column];
    const Cell jewel = supply.jewels[cursor];
    // The cursor is one byte: it wraps at 256 even when the supply is longer.
    ++cursor;
    if (cursor == supply.length()) cursor = 0;
    return jewel;
}

// The common refill: one stretch of empty cells, rows top to top + drop - 1,
// in a column spanning Blocks blocks of 16 cells. The jewels above the stretch
// move down by drop and the supply's next drop jewels fill the top, by whole
// copies of the column's blocks with no loop over cells: the copies run past
// the stretch, and the cells below it are put back afterwards. They reach up
// to 2 x Blocks blocks past the column's start, into the next column or the
// slack after the last, and leave those cells as they were.
template <unsigned Blocks>
void dropStretchAndRefill(Game& game, std::uint32_t column, std::uint32_t top, std::uint32_t drop) {
    constexpr std::size_t kBytes = 16 * Blocks;
    Cell* cells = &cellAt(game, column, 0);
    std::uint8_t& cursor = game.supplyCursor[column];
    Cell above[kBytes];
    Cell below[kBytes];
    std::memcpy(above, cells, kBytes);
    std::memcpy(below, cells + top + drop, kBytes);
    std::memcpy(cells, &Level.fallingJewels[column][kFallingSpan - cursor - drop], kBytes);
    std::memcpy(cells + drop, above, kBytes);
    std::memcpy(cells + top + drop, below, kBytes);
    std::uint32_t next = cursor + drop;
    while (next >= Level.supplyPeriod[column]) next -= Level.supplyPeriod[column];
    cursor = static_cast<std::uint8_t>(next);
}

// What filling the empty cells (bit r of `empty` for row r) from the bottom up
// with takeJewel does, in one pass: the column's jewels close up at the bottom
// in their order, and the supply fills the cells left above them, its first
// jewel lowest. Each stretch of jewels between two empty cells moves down as
// one block, by the number of empty cells below it.
void dropAndRefillColumn(Game& game, std::uint32_t column, std::uint64_t empty) {
    Cell* cells = &cellAt(game, column, 0);
    std::uint32_t drop = 0;
    while (empty != 0) {
        const std::uint32_t emptyRow = 63 - static_cast<std::uint32_t>(std::countl_zero(empty));
        empty &= ~(std::uint64_t{1} << emptyRow);
        ++drop;
        // The jewels from just below the next empty cell up (or the top) down to emptyRow - 1.
        const std::uint32_t stretchTop = empty == 0 ? 0 : 64 - static_cast<std::uint32_t>(std::countl_zero(empty));
        std::memmove(cells + stretchTop + drop, cells + stretchTop, emptyRow - stretchTop);
    }
    for (std::uint32_t row = drop; row-- > 0;) cells[row] = takeFromSupply(game, column);
}

// The refill of the dirty columns of a level whose columns span Blocks blocks
// of 16 cells. Returns the lowest row it changed in any column: the lowest
// empty cell, as the cells below it stay where they are.
template <unsigned Blocks>
std::uint32_t refillInBlocks(Game& game) {
#if defined(__SSSE3__)
    if constexpr (Blocks == 1) {
        for (std::uint32_t column = game.dirtyFirst; column <= game.dirtyLast; ++column) {
            const ColumnBlock cells = loadColumnBlock(game, column);
            const auto empty = rowsHolding(cells, kEmpty) & static_cast<std::uint32_t>(Level.jewelRows[column]);
            if (empty != 0) storeColumnBlock(game, column, dropAndRefillBlock(game, column, cells, empty));
        }
        return 0;
    }
#endif
    std::uint32_t lowestChanged = 0;
    for (std::uint32_t column = game.dirtyFirst; column <= game.dirtyLast; ++column) {
        const std::uint64_t empty = blocksEqualToMask<Blocks>(&cellAt(game, column, 0), kEmpty) & Level.jewelRows[column];
        if (empty == 0) continue;
        // A column of one block is scanned whole anyway.
        if constexpr (Blocks > 1) {
            const std::uint32_t lowestEmpty = 63 - static_cast<std::uint32_t>(std::countl_zero(empty));
            if (lowestEmpty > lowestChanged) lowestChanged = lowestEmpty;
        }
        const auto top = static_cast<std::uint32_t>(std::countr_zero(empty));
        const std::uint64_t fromTop = empty >> top;
        // One stretch when the bits from the top on are all ones.
        if ((fromTop & (fromTop + 1)) == 0)
            dropStretchAndRefill<Blocks>(game, column, top, static_cast<std::uint32_t>(std::countr_one(fromTop)));
        else
            dropAndRefillColumn(game, column, empty);
    }
    return lowestChanged;
}

// refill, returning the lowest row it changed.
std::uint32_t refillColumns(Game& game) {
    std::uint32_t lowestChanged = 0;
    switch (columnBlocks()) {
        case 0:
        case 1: lowestChanged = refillInBlocks<1>(game); break;
        case 2: lowestChanged = refillInBlocks<2>(game); break;
        case 3: lowestChanged = refillInBlocks<3>(game); break;
        default: lowestChanged = refillInBlocks<4>(game); break;
    }
    widenRange(game.touchedFirst, game.touchedLast, game.dirtyFirst, game.dirtyLast);
    return lowestChanged;
}

}  // namespace

Cell takeJewel(Game& game, std::uint32_t column, std::uint32_t row) {
    Cell* cells = &cellAt(game, column, 0);
    for (std::uint32_t above = row; above-- > 0;) {
        if (cells[above] != kEmpty) {
            const Cell jewel = cells[above];
            cells[above] = kEmpty;
            return jewel;
        }
    }
    return takeFromSupply(game, column);
}

void refill(Game& game) { refillColumns(game); }

namespace {

// The cascade after a clearing: refill, then clear again, until nothing matches.
// On a field that was at rest before the move, every clearing has left no run
// anywhere, so a scan after a refill needs only the rows the refill changed.
SettleResult refillAndSettle(Game& game, bool wasAtRest) {
    for (std::uint32_t drops = 0;;) {
        if (drops == kMaxRefillPasses) return {drops, false};
        const std::uint32_t lowestChanged = refillColumns(game);
        ++drops;
        const std::uint32_t groups = wasAtRest ? clearAndScoreAbove(game, lowestChanged) : clearAndScore(game);
        if (groups == 0) return {drops, true};
    }
}

}  // namespace

SettleResult settle(Game& game) {
    if (clearAndScore(game) == 0) return {0, true};
    return refillAndSettle(game, false);
}

#if defined(__SSSE3__)
namespace {

// What one clearing empties on a field of one-block columns: bit r of entry
// column - base for row r. A move's two groups lie within two columns of
// its cells, six columns at most.
struct ClearedCells {
    std::uint32_t base;
    std::array<std::uint32_t, 6> rows{};
    std::uint32_t first = Level.columnCount;  // the columns cleared
    std::uint32_t last = 0;

    explicit ClearedCells(std::uint32_t lowColumn) : base(lowColumn >= 2 ? lowColumn - 2 : 0) {}

    std::uint32_t& in(std::uint32_t column) { return rows[column - base]; }

    // Adds the group that arms make through (column, row); returns its points.
    std::uint32_t add(const Arms& arms, std::uint32_t column, std::uint32_t row) {
        const bool vertical = arms.vertical();
        const bool horizontal = arms.horizontal();
        if (!vertical && !horizontal) return 0;
        in(column) |= std::uint32_t{1} << row;
        if (vertical) in(column) |= ((std::uint32_t{2} << (arms.above + arms.below)) - 1) << (row - arms.above);
        if (horizontal) {
            for (std::uint32_t each = column - arms.left; each <= column + arms.right; ++each)
                in(each) |= std::uint32_t{1} << row;
        }
        widenRange(first, last, horizontal ? column - arms.left : column, horizontal ? column + arms.right : column);
        return pointsForGroup(arms.groupSize());
    }
};

// playMove on a field at rest whose columns are one block each. The groups the
// exchange makes are read off the cells as they stand, the exchanged jewels
// put in by hand, and each changed column is then exchanged, cleared and
// refilled in a register and written once.
SettleResult playMoveInRegisters(Game& game, const Move& move) {
    const Move partner = neighbourOf(move);
    const Cell moved = cellAt(game, move.column, move.row);
    const Cell other = cellAt(game, partner.column, partner.row);
    const std::uint32_t low = move.column < partner.column ? move.column : partner.column;
    const std::uint32_t high = move.column < partner.column ? partner.column : move.column;
    widenRange(game.touchedFirst, game.touchedLast, low, high);
    ClearedCells cleared(low);
    const std::uint32_t points =
        cleared.add(armsAt(game, move.column, move.row, other, move.direction), move.column, move.row) +
        cleared.add(armsAt(game, partner.column, partner.row, moved, opposite(move.direction)), partner.column,
                    partner.row);
    if (points == 0) {
        cellAt(game, move.column, move.row) = other;
        cellAt(game, partner.column, partner.row) = moved;
        return {0, true};
    }
    game.score += points;
    const std::uint32_t first = cleared.first < low ? cleared.first : low;
    const std::uint32_t last = cleared.last > high ? cleared.last : high;
    for (std::uint32_t column = first; column <= last; ++column) {
        const std::uint32_t empty = cleared.in(column);
        const bool exchanged = column == move.column || column == partner.column;
        if (empty == 0 && !exchanged) continue;
        ColumnBlock cells = loadColumnBlock(game, column);
        if (column == move.column) cells = withCell(cells, move.row, other);
        if (column == partner.column) cells = withCell(cells, partner.row, moved);
        if (empty != 0) cells = dropAndRefillBlock(game, column, cells, empty);
        storeColumnBlock(game, column, cells);
    }
    game.dirtyFirst = cleared.first;
    game.dirtyLast = cleared.last;
    widenRange(game.touchedFirst, game.touchedLast, cleared.first, cleared.last);
    for (std::uint32_t drops = 1;; ++drops) {
        if (clearAndScore(game) == 0) return {drops, true};
        if (drops == kMaxRefillPasses) return {drops, false};
        refillColumns(game);
    }
}

}  // namespace
#endif

SettleResult playMove(Game& game, const Move& move) {
    const bool atRest = game.dirtyFirst > game.dirtyLast;
#if defined(__SSSE3__)
    if (atRest && columnBlocks() == 1) return playMoveInRegisters(game, move);
#endif
    swap(game, move);
    return settleSwapped(game, move, atRest);
}

SettleResult settleSwapped(Game& game, const Move& move, bool atRestBefore) {
    if (!atRestBefore) return settle(game);
    const Move partner = neighbourOf(move);
    clearRange(game.dirtyFirst, game.dirtyLast);
    // The two jewels differ, so their groups never share a cell.
    const std::uint32_t groups = clearGroupThrough(game, move.column, move.row) +
                                 clearGroupThrough(game, partner.column, partner.row);
    if (groups == 0) return {0, true};
    return refillAndSettle(game, true);
}

bool initialFill(Game& game, void (*afterPass)(const Game&)) {
    for (std::uint32_t pass = 0; pass < kMaxRefillPasses; ++pass) {
        refill(game);
        if (clearAndScore(game) == 0) return true;
        if (afterPass != nullptr) afterPass(game);
    }
    return false;
}
