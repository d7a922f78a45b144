#pragma once

#include <array>
#include <cstdint>

#include "ai/ai.h"
#include "ai/magic.h"
#include "ai/move_effects.h"
#include "ai/transpositions.h"
#include "engine/candidates.h"

// Plays out every sequence of N moves on copies of the game and answers the first
// move of the sequence that earns the most points; the first such sequence in
// candidate order wins. The supplies are known, so nothing is guessed.
template <unsigned N>
class SimpleRecursiveAi : public Ai {
    static_assert(N >= 1, "the search looks at least one move ahead");

public:
    SimpleRecursiveAi();

    bool chooseMove(Move& out, Game& game) override;

    // The most points that level + 1 consecutive moves can earn from game, a
    // sequence that runs out of moves counting what it made; 0 when game has no
    // move. Writes the first move of the best sequence to best when given.
    std::uint32_t search(Move* best, unsigned level, const Game& game);

private:
    // The search proper from level 1 up, given the legal moves of game as a map.
    std::uint32_t searchMapped(Move* best, unsigned level, const Game& game, const MoveMap& moves);

    // The last move of a sequence: the most points one move earns from game,
    // not playing again the moves whose points the recall knows.
    std::uint32_t bestSingleMove(Move* best, const Game& game, const MoveMap& moves, const MoveRecall& recall);

    // One list per level from 1 up, so a deeper call never disturbs the list its
    // caller walks; the last move walks its map and needs none.
    std::array<MoveList, N> moveLists;
    // The legal moves of the position each level searches, updated from its
    // parent's map where the move before it changed the field.
    std::array<MoveMap, N> moveMaps;
    // The position one move before the last: every move's points and the
    // position it leads to, kept while the last moves after each are searched.
    OutcomeList lastButOne;
    MoveEffects lastButOneEffects;
    // A one-move search remembers its last position instead.
    MoveMemory memory;
    // A three-move search values most positions two moves deep twice; the
    // root candidate being searched and the columns it changed key the second.
    Transpositions transpositions;
    std::size_t rootIndex = 0;
    ColumnSpan rootChanged{};
};

extern template class SimpleRecursiveAi<1>;
extern template class SimpleRecursiveAi<2>;
extern template class SimpleRecursiveAi<3>;
