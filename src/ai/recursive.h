#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "ai/ai.h"
#include "ai/far_moves.h"
#include "ai/magic.h"
#include "ai/move_effects.h"
#include "ai/transpositions.h"
#include "engine/candidates.h"

// Plays out every sequence of N moves on copies of the game and answers the first
// move of the sequence that earns the most points; the first such sequence in
// candidate order wins. The supplies are known, so nothing is guessed.
template <unsigned N>
class SimpleRecursiveAi : public Ai {
    static_assert(N >= 1 && N <= 3, "the search looks one to three moves ahead");

public:
    SimpleRecursiveAi();

    bool chooseMove(Move& out, Game& game) override;

    // The most points that level + 1 consecutive moves (level below N) can
    // earn from game, a sequence that runs out of moves counting what it made;
    // 0 when game has no move. Writes the first move of the best sequence to
    // best when given.
    std::uint32_t search(Move* best, unsigned level, const Game& game);

private:
    // The last move of a sequence: the most points one move earns from game,
    // not playing again the moves whose points the recall knows.
    std::uint32_t bestSingleMove(Move* best, const Game& game, const MoveMap& moves, const MoveRecall& recall);

    // The last move of a sequence, below a position whose moves lastFar
    // gathered: the most points one move earns from game, looking only at the
    // moves near the columns the move before changed, recall.changed.
    std::uint32_t bestLastMove(const Game& game, const MoveRecall& recall);

    // The last two moves of a sequence from game, whose legal moves are
    // mapped; below a candidate that the children source knows, its table
    // tells what the last moves do.
    std::uint32_t bestTwoMoves(Move* best, const Game& game, const MoveMap& moves, const ChildSource& children);

    // Three moves from game: every position one move deep is first played and
    // has its moves' effects noted, so that the positions two moves deep below
    // a first move far from a second find there what the moves near the second
    // do.
    std::uint32_t bestThreeMoves(Move* best, const Game& game, const MoveMap& moves);

    // The candidates of the last two moves but one, and the positions after them.
    MoveList lastButOneMoves;
    OutcomeList lastButOne;
    MoveEffects lastButOneEffects;
    FarMoves lastFar;
    MoveMap nearMoves;  // the legal moves of a last move's position near its change
    // A three-move search keeps the root's candidates, the positions after
    // them with their legal moves, and what the root's moves did.
    MoveList rootMoves;
    OutcomeList rootOutcomes;
    std::vector<MoveMap> rootChildMoves;
    MoveEffects rootEffects;
    // A one-move search remembers its last position: its moves that nothing
    // near them changed since keep their effects.
    MoveMemory memory;
    MoveMap rootMap;  // the legal moves of a deeper search's root
    // What the moves below each root candidate of a three-move search do.
    ChildEffects childEffects;
    // A three-move search values most positions two moves deep twice; the
    // root candidate being searched and the columns it changed key the second.
    Transpositions transpositions;
    std::size_t rootIndex = 0;
    ColumnSpan rootChanged{};
};

extern template class SimpleRecursiveAi<1>;
extern template class SimpleRecursiveAi<2>;
extern template class SimpleRecursiveAi<3>;
