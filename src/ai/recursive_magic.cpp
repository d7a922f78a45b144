#include "ai/recursive_magic.h"

#include <cstddef>

#include "ai/one_move_lookahead.h"
#include "engine/candidates.h"

template <unsigned N>
RecursiveMagicAi<N>::RecursiveMagicAi() {
    for (MoveList& list : moveLists) list.reserve(kReservedMoves);
    // The last move needs no positions after it, only their points.
    for (unsigned level = 1; level < N; ++level) outcomeLists[level].reserve(kReservedMoves);
    lastMovePoints.reserve(kReservedMoves);
}

template <unsigned N>
bool RecursiveMagicAi<N>::chooseMove(Move& out, Game& game) {
    return search(&out, N - 1, game) != 0;
}

template <unsigned N>
std::uint32_t RecursiveMagicAi<N>::search(Move* best, unsigned level, const Game& game) {
    // A one-move search remembers its last position, which keeps most of the
    // moves and their points when it is asked about the next.
    if (level == 0) {
        const MoveRecall recall = memory.startPosition(game);
        return lastMoveValue(best, game, memory.moves(), recall);
    }
    mapAllMoves(game, moveMaps[level]);
    return searchMapped(best, level, game, moveMaps[level]);
}

template <unsigned N>
std::uint32_t RecursiveMagicAi<N>::lastMoveValue(Move* best, const Game& game, const MoveMap& moves,
                                                 const MoveRecall& recall) {
    // The moves are taken straight from the map; the first listed of the most
    // points is the best, so a tie goes to the smaller listing rank.
    Game scratch(game);
    lastMovePoints.clear();
    std::uint32_t sum = 0;
    std::uint32_t bestPoints = 0;
    Move bestMove{};
    forEachMove(moves, [&](const Move& move) {
        std::uint32_t points = 0;
        if (!recall.knownValue(move, points)) {
            clearRange(scratch.touchedFirst, scratch.touchedLast);
            points = playedPoints(scratch, move);
            recall.note(move, scratch, points);
            scratch = game;
        }
        if (lastMovePoints.empty() || points > bestPoints ||
            (points == bestPoints && listingRank(move) < listingRank(bestMove))) {
            bestPoints = points;
            bestMove = move;
        }
        lastMovePoints.push_back(points);
        sum += points;
    });
    const auto count = static_cast<std::uint32_t>(lastMovePoints.size());
    if (count == 0) return 0;
    const std::uint32_t average = sum / count;

    std::uint32_t qualifying = 0;
    for (const std::uint32_t points : lastMovePoints)
        if (points >= average) ++qualifying;
    if (best != nullptr) *best = bestMove;
    return bestPoints + kPointsPerOpenMove * qualifying;
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
    // exactly the columns the move changed; the child's moves differ from this
    // position's only near them.
    std::uint32_t sum = 0;
    for (const Move& candidate : candidates) {
        Outcome& outcome = outcomes.emplace_back(0u, game);
        clearRange(outcome.game.touchedFirst, outcome.game.touchedLast);
        outcome.value = playedPoints(outcome.game, candidate);
        if (level == 1) lastButOneEffects.record(candidate, outcome.game, outcome.value);
        sum += outcome.value;
    }
    const std::uint32_t average = sum / count;

    // Only a three-move search has its root right above the last but one level.
    constexpr bool kTransposes = N == 3;
    if (kTransposes && level == 2) transpositions.startRoot(candidates);
    std::uint32_t qualifying = 0;
    MoveMap& childMoves = moveMaps[level - 1];
    for (std::size_t index = 0; index < count; ++index) {
        Outcome& outcome = outcomes[index];
        if (outcome.value < average) continue;
        ++qualifying;
        if (level == 1) {
            const bool commutes = kTransposes && Transpositions::commute(rootChanged, changedColumns(outcome.game));
            std::uint32_t value = 0;
            if (!commutes || !transpositions.find(rootIndex, candidates[index], value)) {
                mapChildMoves(outcome.game, moves, childMoves);
                value = lastMoveValue(nullptr, outcome.game, childMoves,
                                      {&lastButOneEffects, changedColumns(outcome.game), nullptr});
                if (commutes) transpositions.keep(rootIndex, candidates[index], value);
            }
            outcome.value += value;
        } else {
            if (kTransposes && level == 2) {
                rootIndex = index;
                rootChanged = transposableChange(game, outcome.game);
            }
            mapChildMoves(outcome.game, moves, childMoves);
            outcome.value += searchMapped(nullptr, level - 1, outcome.game, childMoves);
        }
    }

    const std::size_t bestIndex = firstBestOutcome(outcomes);
    if (best != nullptr) *best = candidates[bestIndex];
    return outcomes[bestIndex].value + kPointsPerOpenMove * qualifying;
}

template class RecursiveMagicAi<1>;
template class RecursiveMagicAi<2>;
template class RecursiveMagicAi<3>;
