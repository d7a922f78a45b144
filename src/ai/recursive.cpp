#include "ai/recursive.h"

#include <cstddef>

#include "ai/one_move_lookahead.h"
#include "engine/candidates.h"

template <unsigned N>
SimpleRecursiveAi<N>::SimpleRecursiveAi() {
    for (unsigned level = 1; level < N; ++level) moveLists[level].reserve(kReservedMoves);
    // Only a search of two moves or more keeps the positions one move before the last.
    if (N >= 2) lastButOne.reserve(kReservedMoves);
}

template <unsigned N>
bool SimpleRecursiveAi<N>::chooseMove(Move& out, Game& game) {
    return search(&out, N - 1, game) != 0;
}

template <unsigned N>
std::uint32_t SimpleRecursiveAi<N>::search(Move* best, unsigned level, const Game& game) {
    // A one-move search remembers its last position, which keeps most of the
    // moves and their points when it is asked about the next.
    if (level == 0) {
        const MoveRecall recall = memory.startPosition(game);
        return bestSingleMove(best, game, memory.moves(), recall);
    }
    mapAllMoves(game, moveMaps[level]);
    return searchMapped(best, level, game, moveMaps[level]);
}

template <unsigned N>
std::uint32_t SimpleRecursiveAi<N>::bestSingleMove(Move* best, const Game& game, const MoveMap& moves,
                                                   const MoveRecall& recall) {
    // The moves are taken straight from the map; the first listed of the most
    // points wins, so a tie goes to the smaller listing rank.
    Game scratch(game);
    bool any = false;
    std::uint32_t bestPoints = 0;
    Move bestMove{};
    forEachMove(moves, [&](const Move& move) {
        std::uint32_t points = 0;
        if (!recall.knownValue(move, points)) {
            clearRange(scratch.touchedFirst, scratch.touchedLast);
            points = playedPoints(scratch, move);
            recall.note(move, scratch, points);
            restoreAfterMove(scratch, game);
        }
        if (!any || points > bestPoints || (points == bestPoints && listingRank(move) < listingRank(bestMove))) {
            any = true;
            bestPoints = points;
            bestMove = move;
        }
    });
    if (any && best != nullptr) *best = bestMove;
    return bestPoints;
}

template <unsigned N>
std::uint32_t SimpleRecursiveAi<N>::searchMapped(Move* best, unsigned level, const Game& game,
                                                 const MoveMap& moves) {
    MoveList& candidates = moveLists[level];
    candidates.clear();
    const std::uint32_t count = listAllMoves(moves, &candidates);
    if (count == 0) return 0;

    // Every candidate is played first, each on a copy whose touched range
    // starts empty, so that it spans exactly the columns the move changed: the
    // child's moves differ from this position's only near them. Before the last
    // move, what each candidate did is recorded for the children to reuse.
    MoveMap& childMoves = moveMaps[level - 1];
    if (level == 1) {
        lastButOne.clear();
        for (const Move& candidate : candidates) {
            Outcome& outcome = lastButOne.emplace_back(0u, game);
            clearRange(outcome.game.touchedFirst, outcome.game.touchedLast);
            outcome.value = playedPoints(outcome.game, candidate);
            lastButOneEffects.record(candidate, outcome.game, outcome.value);
        }
    }

    // Only a three-move search has its root right above the last but one level.
    constexpr bool kTransposes = N == 3;
    if (kTransposes && level == 2) transpositions.startRoot(candidates);
    Game scratch(game);
    std::uint32_t bestTotal = 0;
    std::size_t bestIndex = 0;
    for (std::size_t index = 0; index < count; ++index) {
        std::uint32_t total = 0;
        if (level == 1) {
            const Outcome& outcome = lastButOne[index];
            const bool commutes = kTransposes && Transpositions::commute(rootChanged, changedColumns(outcome.game));
            total = outcome.value + transpositions.valueAfter(rootIndex, candidates[index], commutes, [&] {
                mapChildMoves(outcome.game, moves, childMoves);
                const MoveRecall recall{&lastButOneEffects, changedColumns(outcome.game), nullptr};
                return bestSingleMove(nullptr, outcome.game, childMoves, recall);
            });
        } else {
            clearRange(scratch.touchedFirst, scratch.touchedLast);
            total = playedPoints(scratch, candidates[index]);
            if (kTransposes && level == 2) {
                rootIndex = index;
                rootChanged = transposableChange(game, scratch);
            }
            // The recursion uses the lists of the levels below, so this level's
            // stay as they are.
            mapChildMoves(scratch, moves, childMoves);
            total += searchMapped(nullptr, level - 1, scratch, childMoves);
            restoreAfterMove(scratch, game);
        }
        if (total > bestTotal) {
            bestTotal = total;
            bestIndex = index;
        }
    }
    if (best != nullptr) *best = candidates[bestIndex];
    return bestTotal;
}

template class SimpleRecursiveAi<1>;
template class SimpleRecursiveAi<2>;
template class SimpleRecursiveAi<3>;
