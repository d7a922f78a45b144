#pragma once

// The play of a whole move, the hot path of every search: on a field at rest
// whose columns are one block each it is worked out in registers, reading and
// writing each changed column once; elsewhere it is a swap and a settle in
// memory.

#include <cstdint>

#include "engine/game.h"
#include "engine/gravity.h"
#include "engine/moves.h"

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
