#include "ai/recursive.h"

#include <algorithm>
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
    MoveList& candidates = moveLists[level];
    candidates.clear();
    const std::uint32_t count = enumerateAll(game, &candidates);
    if (count == 0) return 0;

    // The recursion starts from the settled position after each candidate, and
    // uses the list of the level below, so this level's list stays as it is.
    std::uint32_t bestTotal = 0;
    const std::size_t bestIndex = firstBestCandidate(game, candidates, std::uint32_t{0}, [&](Game& scratch) {
        std::uint32_t total = settledPoints(scratch);
        if (level != 0) total += search(nullptr, level - 1, scratch);
        bestTotal = std::max(bestTotal, total);
        return total;
    });
    if (best != nullptr) *best = candidates[bestIndex];
    return bestTotal;
}

template class SimpleRecursiveAi<1>;
template class SimpleRecursiveAi<2>;
template class SimpleRecursiveAi<3>;
