#include "ai/recursive.h"

#include <cstddef>

#include "ai/one_move_lookahead.h"
#include "engine/candidates.h"

template <unsigned N>
SimpleRecursiveAi<N>::SimpleRecursiveAi() {
    for (MoveList& list : moveLists) list.reserve(kReservedMoves);
}

template <unsigned N>
bool SimpleRecursiveAi<N>::chooseMove(Move& out, Game& game) {
    return search(&out, N - 1, game) != 0;
}

template <unsigned N>
std::uint32_t SimpleRecursiveAi<N>::search(Move* best, unsigned level, const Game& game) {
    mapAllMoves(game, moveMaps[level]);
    return searchMapped(best, level, game, moveMaps[level]);
}

template <unsigned N>
std::uint32_t SimpleRecursiveAi<N>::searchMapped(Move* best, unsigned level, const Game& game,
                                                 const MoveMap& moves) {
    MoveList& candidates = moveLists[level];
    candidates.clear();
    const std::uint32_t count = listAllMoves(moves, &candidates);
    if (count == 0) return 0;

    // The scratch starts every candidate with an empty touched range, so that
    // after the move it spans exactly the columns the move changed: the child's
    // moves differ from this position's only near them. Nothing else here
    // reads the touched range.
    Game scratch(game);
    std::uint32_t bestTotal = 0;
    std::size_t bestIndex = 0;
    for (std::size_t index = 0; index < count; ++index) {
        clearRange(scratch.touchedFirst, scratch.touchedLast);
        swap(scratch, candidates[index]);
        std::uint32_t total = settledPoints(scratch);
        if (level != 0) {
            // The recursion starts from the settled position after the candidate
            // and uses the lists of the level below, so this level's stay as they are.
            MoveMap& childMoves = moveMaps[level - 1];
            mapChildMoves(scratch, moves, childMoves);
            total += searchMapped(nullptr, level - 1, scratch, childMoves);
        }
        if (total > bestTotal) {
            bestTotal = total;
            bestIndex = index;
        }
        scratch = game;
    }
    if (best != nullptr) *best = candidates[bestIndex];
    return bestTotal;
}

template class SimpleRecursiveAi<1>;
template class SimpleRecursiveAi<2>;
template class SimpleRecursiveAi<3>;
