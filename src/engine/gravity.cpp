#include "engine/gravity.h"

#include "engine/matching.h"

#include <bit>
#include <cstring>

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

// What filling the empty cells from the bottom up with takeJewel does, in one
// pass: the column's jewels close up at the bottom in their order, and the
// supply fills the cells left above them, its first jewel lowest. Each stretch
// of jewels between two empty cells moves down as one block, by the number of
// empty cells below it.
void dropAndRefillColumn(Game& game, std::uint32_t column) {
    Cell* cells = &cellAt(game, column, 0);
    std::uint64_t empty = cellsEqualToMask(cells, kEmpty, Level.columnHeight[column]);
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

void refill(Game& game) {
    for (std::uint32_t column = game.dirtyFirst; column <= game.dirtyLast; ++column) dropAndRefillColumn(game, column);
    widenRange(game.touchedFirst, game.touchedLast, game.dirtyFirst, game.dirtyLast);
}

SettleResult settle(Game& game) {
    std::uint32_t drops = 0;
    while (clearAndScore(game) != 0) {
        if (drops == kMaxRefillPasses) return {drops, false};
        refill(game);
        ++drops;
    }
    return {drops, true};
}

bool initialFill(Game& game, void (*afterPass)(const Game&)) {
    for (std::uint32_t pass = 0; pass < kMaxRefillPasses; ++pass) {
        refill(game);
        if (clearAndScore(game) == 0) return true;
        if (afterPass != nullptr) afterPass(game);
    }
    return false;
}
