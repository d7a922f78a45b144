#include "engine/gravity.h"

#include "engine/matching.h"

Cell takeJewel(Game& game, std::uint32_t column, std::uint32_t row) {
    Cell* cells = &cellAt(game, column, 0);
    for (std::uint32_t above = row; above-- > 0;) {
        if (cells[above] != kEmpty) {
            const Cell jewel = cells[above];
            cells[above] = kEmpty;
            return jewel;
        }
    }
    const SupplyColumn& supply = Level.supply[column];
    if (supply.length() == 0) return kEmpty;
    std::uint8_t& cursor = game.supplyCursor[column];
    const Cell jewel = supply.jewels[cursor];
    // The cursor is one byte: it wraps at 256 even when the supply is longer.
    ++cursor;
    if (cursor == supply.length()) cursor = 0;
    return jewel;
}

void refill(Game& game) {
    for (std::uint32_t column = game.dirtyFirst; column <= game.dirtyLast; ++column) {
        for (std::uint32_t row = Level.columnHeight[column]; row-- > 0;) {
            Cell& cell = cellAt(game, column, row);
            if (cell == kEmpty) cell = takeJewel(game, column, row);
        }
    }
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
