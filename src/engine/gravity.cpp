#include "engine/gravity.h"

#include <bit>
#include <cstring>

#include "engine/column_block.h"
#include "engine/column_compare.h"
#include "engine/matching.h"

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
            if (empty != 0)
                storeColumnBlock(game, column, dropAndRefillBlock(column, cells, empty, game.supplyCursor[column]));
        }
        return 0;
    }
#endif
    std::uint32_t lowestChanged = 0;
    for (std::uint32_t column = game.dirtyFirst; column <= game.dirtyLast; ++column) {
        const std::uint64_t empty =
            blocksEqualToMask<Blocks>(&cellAt(game, column, 0), kEmpty) & Level.jewelRows[column];
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

SettleResult refillAndSettle(Game& game, bool wasAtRest, std::uint32_t dropsBefore) {
    for (std::uint32_t drops = dropsBefore;;) {
        if (drops == kMaxRefillPasses) return {drops, false};
        const std::uint32_t lowestChanged = refillColumns(game);
        ++drops;
        const std::uint32_t groups = wasAtRest ? clearAndScoreAbove(game, lowestChanged) : clearAndScore(game);
        if (groups == 0) return {drops, true};
    }
}

SettleResult settle(Game& game) {
    if (clearAndScore(game) == 0) return {0, true};
    return refillAndSettle(game, false);
}

bool initialFill(Game& game, void (*afterPass)(const Game&)) {
    for (std::uint32_t pass = 0; pass < kMaxRefillPasses; ++pass) {
        refill(game);
        if (clearAndScore(game) == 0) return true;
        if (afterPass != nullptr) afterPass(game);
    }
    return false;
}
