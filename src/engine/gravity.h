#pragma once

#include <cstdint>

#include "engine/game.h"

// A cascade that refills a run forever (a supply of one kind under a column of
// three or more) must not hang the program, so one settle stops after this many
// refill passes.
inline constexpr std::uint32_t kMaxRefillPasses = 10000;

// The jewel that the empty cell (column, row) receives: the nearest jewel above it,
// whose cell becomes empty, or else the next jewel of the column's supply.
Cell takeJewel(Game& game, std::uint32_t column, std::uint32_t row);

// Fills every empty jewel cell of the dirty columns and widens the touched range
// by them. The dirty range stays, so the next scan looks at exactly these columns.
void refill(Game& game);

struct SettleResult {
    std::uint32_t drops;  // refill passes the cascade needed
    bool settled;         // false when the cascade was cut off at kMaxRefillPasses
};

// Runs the cascade after a swap: clear and score, then refill and clear again
// until nothing matches.
SettleResult settle(Game& game);

// The cascade after a clearing: refill, then clear again, until nothing matches.
// On a field that was at rest before the move, every clearing has left no run
// anywhere, so a scan after a refill needs only the rows the refill changed.
// dropsBefore counts the refills the cascade already made elsewhere.
SettleResult refillAndSettle(Game& game, bool wasAtRest, std::uint32_t dropsBefore = 0);

// Fills a newly built game from the supplies and lets it settle. afterPass, when
// given, is called after every pass that cleared something. Returns false when
// the cascade was cut off at kMaxRefillPasses.
bool initialFill(Game& game, void (*afterPass)(const Game&) = nullptr);
