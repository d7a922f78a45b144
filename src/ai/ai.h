#pragma once

#include <cstddef>

#include "engine/game.h"
#include "engine/moves.h"

// Room every strategy reserves in each of its lists, so that choosing a move
// does not allocate in the common case.
inline constexpr std::size_t kReservedMoves = 100;

// A way of choosing moves. A strategy plays its candidates on copies: it leaves
// the cells, cursors, score and dirty range of the given game as they were, and
// may only reset its touched range.
class Ai {
public:
    virtual ~Ai() = default;

    // Writes the chosen move to out and returns true, or returns false, leaving
    // out as it was, when the field has no legal move.
    virtual bool chooseMove(Move& out, Game& game) = 0;
};
