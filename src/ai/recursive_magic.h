#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "ai/ai.h"
#include "ai/magic.h"
#include "ai/move_effects.h"
#include "ai/transpositions.h"
#include "engine/candidates.h"

// A look-ahead over N moves that extends only the moves earning at least the
// average of their position. A position is worth its best move's value plus 10
// points for every such move, so a position rich in good moves counts for more.
template <unsigned N>
class RecursiveMagicAi : public Ai {
    static_assert(N >= 1, "the search looks at least one move ahead");

public:
    RecursiveMagicAi();

    bool chooseMove(Move& out, Game& game) override;

    // The value of game searched level + 1 moves deep; 0 when game has no move.
    // Writes the move with the best value to best when given.
    std::uint32_t search(Move* best, unsigned level, const Game& game);

private:
    // The search proper from level 1 up, given the legal moves of game as a
    // map, not playing the candidates whose points the recall knows until
    // their positions are needed; it notes every candidate, known or played.
    std::uint32_t searchMapped(Move* best, unsigned level, const Game& game, const MoveMap& moves,
                               const MoveRecall& recall);

    // The value of game one move deep, which needs no position after a move,
    // not playing again the moves whose points the recall knows.
    std::uint32_t lastMoveValue(Move* best, const Game& game, const MoveMap& moves, const MoveRecall& recall);

    // One pair of lists per level from 1 up, so a deeper call never disturbs its
    // caller's; the last move walks its map and needs neither.
    std::array<MoveList, N> moveLists;
    std::array<OutcomeList, N> outcomeLists;
    // The legal moves of the position each level below the root searches,
    // updated from its parent's map where the move before it changed the
    // field; the root's map is the memory's.
    std::array<MoveMap, N> moveMaps;
    // The points of every move of the position one move deep.
    std::vector<std::uint32_t> lastMovePoints;
    // What every move of the position two moves deep did, for the positions
    // after it to reuse, when that is not the root.
    MoveEffects lastButOneEffects;
    // The last root searched, its moves and what each did there: the root's
    // candidates that nothing near them changed since need no play for their
    // points, and the positions one move deep reuse what the root's moves did.
    MoveMemory memory;
    // A three-move search values most positions two moves deep twice; the
    // root candidate being searched and the columns it changed key the second.
    Transpositions transpositions;
    std::size_t rootIndex = 0;
    ColumnSpan rootChanged{};
};

extern template class RecursiveMagicAi<1>;
extern template class RecursiveMagicAi<2>;
extern template class RecursiveMagicAi<3>;
