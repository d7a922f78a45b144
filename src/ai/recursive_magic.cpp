#include "ai/recursive_magic.h"

#include <cstddef>

#include "ai/one_move_lookahead.h"
#include "engine/candidates.h"

template <unsigned N>
RecursiveMagicAi<N>::RecursiveMagicAi() {
    for (MoveList& list : moveLists) list.reserve(kReservedMoves);
    for (OutcomeList& list : outcomeLists) list.reserve(kReservedMoves);
}

template <unsigned N>
bool RecursiveMagicAi<N>::chooseMove(Move& out, Game& game) {
    return search(&out, N - 1, game) != 0;
}

template <unsigned N>
std::uint32_t RecursiveMagicAi<N>::search(Move* best, unsigned level, const Game& game) {
    mapAllMoves(game, moveMaps[level]);
    return searchMapped(best, level, game, moveMaps[level]);
}

template <unsigned N>
std::uint32_t RecursiveMagicAi<N>::searchMapped(Move* best, unsigned level, const Game& game,
                                                const MoveMap& moves) {
    MoveList& candidates = moveLists[level];
    OutcomeList& outcomes = outcomeLists[level];
    candidates.clear();
    outcomes.clear();
    const std::uint32_t count = listAllMoves(moves, &candidates);
    if (count == 0) return 0;

    // Each candidate is played on its own copy, kept for the extension below; the
    // copies lie in the level's reserved list, so they do not allocate. A copy
    // starts with an empty touched range, so that after the move it spans
    // exactly the columns the move changed; nothing else here reads it.
    std::uint32_t sum = 0;
    for (const Move& candidate : candidates) {
        Outcome& outcome = outcomes.emplace_back(0u, game);
        clearRange(outcome.game.touchedFirst, outcome.game.touchedLast);
        swap(outcome.game, candidate);
        outcome.value = settledPoints(outcome.game);
        sum += outcome.value;
    }
    const std::uint32_t average = sum / count;

    std::uint32_t qualifying = 0;
    for (Outcome& outcome : outcomes) {
        if (outcome.value < average) continue;
        ++qualifying;
        if (level == 0) continue;
        MoveMap& childMoves = moveMaps[level - 1];
        mapChildMoves(outcome.game, moves, childMoves);
        outcome.value += searchMapped(nullptr, level - 1, outcome.game, childMoves);
    }

    const std::size_t bestIndex = firstBestOutcome(outcomes);
    if (best != nullptr) *best = candidates[bestIndex];
    return outcomes[bestIndex].value + kPointsPerOpenMove * qualifying;
}

template class RecursiveMagicAi<1>;
template class RecursiveMagicAi<2>;
template class RecursiveMagicAi<3>;
