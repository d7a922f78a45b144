#pragma once

#include <cstdint>

#include "engine/game.h"
#include "engine/moves.h"

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

// Swaps the move's cells and settles: what swap and then settle do. On a field
// at rest (an empty dirty range) the first clearing looks only at the two
// exchanged cells, as no other cell can be in a run.
SettleResult playMove(Game& game, const Move& move);

// What a look-ahead learns of one move: its points and the columns it
// changed (every column when its cascade was cut off at the refill cap).
struct MoveOutcome {
    std::uint32_t points;
    std::uint32_t firstChanged;
    std::uint32_t lastChanged;
    bool played;  // whether the move was played on the scratch copy
};

// The outcome of move on game, given scratch, a copy of game. A move on a
// field at rest whose columns are one block each is worked out without a play
// and leaves scratch alone when its cascade ends within eight refills, none
// of whose scans finds more than eight runs, as all but one move in ten
// thousand do on the 20x15 level. Any other is played on scratch, whose
// touched range is emptied first, and the caller gives it back.
MoveOutcome lookAtMove(const Game& game, Game& scratch, const Move& move);

// What settle does to a field on which move was just swapped, for a caller that
// needs something done between the two; atRestBefore tells whether the dirty
// range was empty before the swap.
SettleResult settleSwapped(Game& game, const Move& move, bool atRestBefore);

// Fills a newly built game from the supplies and lets it settle. afterPass, when
// given, is called after every pass that cleared something. Returns false when
// the cascade was cut off at kMaxRefillPasses.
bool initialFill(Game& game, void (*afterPass)(const Game&) = nullptr);
