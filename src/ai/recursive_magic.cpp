#include "ai/recursive_magic.h"

#include <algorithm>
#include <cstddef>

#include "ai/one_move_lookahead.h"
#include "engine/candidates.h"

template <unsigned N>
RecursiveMagicAi<N>::RecursiveMagicAi() {
    for (unsigned level = 1; level < N; ++level) {
        moveLists[level].reserve(kReservedMoves);
        outcomeLists[level].reserve(kReservedMoves);
    }
    lastMovePoints.reserve(kReservedMoves);
}

template <unsigned N>
bool RecursiveMagicAi<N>::chooseMove(Move& out, Game& game) {
    return search(&out, N - 1, game) != 0;
}

template <unsigned N>
std::uint32_t RecursiveMagicAi<N>::search(Move* best, unsigned level, const Game& game) {
    // The search remembers its last position, which keeps most of the moves
    // and their points when it is asked about the next.
    const MoveRecall recall = memory.startPosition(game);
    if (level == 0) return lastMoveValue(best, game, memory.moves(), recall);
    return searchMapped(best, level, game, memory.moves(), recall);
}

template <unsigned N>
std::uint32_t RecursiveMagicAi<N>::lastMoveValue(Move* best, const Game& game, const MoveMap& moves,
                                                 const MoveRecall& recall) {
    // The moves are taken straight from the map; the first listed of the most
    // points is the best, so a tie goes to the smaller listing rank. Below the
    // root only the most points count, not which move earns them.
    Game scratch(game);
    lastMovePoints.clear();
    std::uint32_t sum = 0;
    std::uint32_t most = 0;               // below the root
    FirstListedBest<std::uint32_t> pick;  // at the root
    forEachMove(moves, [&](const Move& move) {
        const std::uint32_t points = recalledPoints(move, scratch, game, recall);
        if (best == nullptr) {
            if (points > most) most = points;
        } else {
            pick.offer(move, points);
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
    if (best != nullptr) *best = pick.move();
    const std::uint32_t bestPoints = best != nullptr ? pick.value() : most;
    return bestPoints + kPointsPerOpenMove * qualifying;
}

template <unsigned N>
std::uint32_t RecursiveMagicAi<N>::searchMapped(Move* best, unsigned level, const Game& game, const MoveMap& moves,
                                                const MoveRecall& recall) {
    MoveList& candidates = moveLists[level];
    OutcomeList& outcomes = outcomeLists[level];
    candidates.clear();
    outcomes.clear();
    const std::uint32_t count = listMovesByColumn(moves, candidates);
    if (count == 0) return 0;

    // Each candidate played gets its own copy of the position, kept for the
    // extension below; the copies lie in the level's reserved list, so they do
    // not allocate. Only the candidates that reach the average need the
    // position after them, so one whose points the recall knows is played,
    // and its position copied, only then. A copy starts with an empty touched
    // range, so that after the move it spans exactly the columns the move
    // changed; the child's moves differ from this position's only near them.
    const auto play = [&recall, &game](Outcome& outcome, const Move& candidate) {
        outcome.game = game;
        clearRange(outcome.game.touchedFirst, outcome.game.touchedLast);
        outcome.value = playedPoints(outcome.game, candidate);
        outcome.played = true;
        recall.note(candidate, outcome.game, outcome.value);
    };
    std::uint32_t sum = 0;
    for (const Move& candidate : candidates) {
        Outcome& outcome = outcomes.emplace_back(0u);
        if (const MoveEffect* known = recall.heldEffect(candidate)) {
            outcome.value = known->value;
            recall.noteHeld(candidate, *known);
        } else
            play(outcome, candidate);
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
        const std::uint32_t points = outcome.value;
        if (level == 1) {
            // A candidate the recall knew reads nothing the root candidate above
            // changed, so the two commute.
            std::uint32_t value = 0;
            const bool known = !outcome.played;
            if (kTransposes && known && transpositions.find(rootIndex, candidates[index], value)) {
                outcome.value = points + value;
                continue;
            }
            if (known) play(outcome, candidates[index]);
            const bool commutes = kTransposes && Transpositions::commute(rootChanged, changedColumns(outcome.game));
            outcome.value = points + transpositions.valueAfter(rootIndex, candidates[index], commutes, [&] {
                mapChildMoves(outcome.game, moves, childMoves);
                return lastMoveValue(nullptr, outcome.game, childMoves,
                                     {recall.notes, changedColumns(outcome.game), nullptr});
            });
        } else {
            if (!outcome.played) play(outcome, candidates[index]);
            if (kTransposes && level == 2) {
                rootIndex = index;
                rootChanged = transposableChange(game, outcome.game);
            }
            mapChildMoves(outcome.game, moves, childMoves);
            outcome.value = points + searchMapped(nullptr, level - 1, outcome.game, childMoves,
                                                  {recall.notes, changedColumns(outcome.game), &lastButOneEffects});
        }
    }

    // Below the root only the greatest value counts, not which move has it.
    if (best == nullptr) {
        std::uint32_t most = 0;
        for (const Outcome& outcome : outcomes) most = std::max(most, outcome.value);
        return most + kPointsPerOpenMove * qualifying;
    }
    const std::size_t bestIndex = firstListedBestOutcome(outcomes, candidates);
    *best = candidates[bestIndex];
    return outcomes[bestIndex].value + kPointsPerOpenMove * qualifying;
}

template class RecursiveMagicAi<1>;
template class RecursiveMagicAi<2>;
template class RecursiveMagicAi<3>;
