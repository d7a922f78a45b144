#include "ai/recursive.h"

#include <cstddef>

#include "ai/one_move_lookahead.h"
#include "engine/candidates.h"

namespace {

// Plays candidate on a new outcome holding a copy of game whose touched range
// starts empty, so that afterwards it spans exactly the columns the move
// changed; returns what the move did.
MoveEffect playOnNewOutcome(OutcomeList& outcomes, const Game& game, const Move& candidate) {
    Outcome& outcome = outcomes.emplace_back(0u, game);
    clearRange(outcome.game.touchedFirst, outcome.game.touchedLast);
    outcome.value = playedPoints(outcome.game, candidate);
    return MoveEffect::of(changedColumns(outcome.game), outcome.value);
}

}  // namespace

template <unsigned N>
SimpleRecursiveAi<N>::SimpleRecursiveAi() {
    if (N >= 2) {
        lastButOneMoves.reserve(kReservedMoves);
        lastButOne.reserve(kReservedMoves);
    }
    if (N >= 3) {
        rootMoves.reserve(kReservedMoves);
        rootOutcomes.reserve(kReservedMoves);
        rootChildMoves.reserve(kReservedMoves);
    }
}

template <unsigned N>
bool SimpleRecursiveAi<N>::chooseMove(Move& out, Game& game) {
    return search(&out, N - 1, game) != 0;
}

template <unsigned N>
std::uint32_t SimpleRecursiveAi<N>::search(Move* best, unsigned level, const Game& game) {
    // A one-move search remembers its last position, which keeps most of its
    // moves and their points for the next; the deeper ones play every root
    // move anyway, for the positions after them.
    if (level == 0) return bestSingleMove(best, game, memory.moves(), memory.startPosition(game));
    mapAllMoves(game, rootMap);
    if (level == 1) return bestTwoMoves(best, game, rootMap, ChildSource{});
    return bestThreeMoves(best, game, rootMap);
}

template <unsigned N>
std::uint32_t SimpleRecursiveAi<N>::bestSingleMove(Move* best, const Game& game, const MoveMap& moves,
                                                   const MoveRecall& recall) {
    // The moves are taken straight from the map; the first listed of the most
    // points wins, so a tie goes to the smaller listing rank. A last move
    // below the root needs only the most points, not which move earns them.
    Game scratch(game);
    if (best == nullptr) {
        std::uint32_t most = 0;
        forEachMove(moves, [&](const Move& move) {
            const std::uint32_t points = recalledPoints(move, scratch, game, recall);
            if (points > most) most = points;
        });
        return most;
    }
    FirstListedBest<std::uint32_t> pick;
    forEachMove(moves, [&](const Move& move) { pick.offer(move, recalledPoints(move, scratch, game, recall)); });
    if (pick.found()) *best = pick.move();
    return pick.value();
}

template <unsigned N>
std::uint32_t SimpleRecursiveAi<N>::bestLastMove(const Game& game, const MoveRecall& recall) {
    // Only the most points count here, not which move earns them.
    std::uint32_t low = 0;
    std::uint32_t high = 0;
    mapMovesReaching(game, recall.changed.first, recall.changed.last, nearMoves, low, high);
    std::uint32_t most = lastFar.farBest(recall.changed);
    Game scratch(game);
    const auto look = [&](const Move& move) {
        const std::uint32_t points = unheldPoints(move, scratch, game, recall);
        if (points > most) most = points;
    };
    forEachMove(nearMoves, low, high, [&](const Move& move) {
        if (recall.heldEffect(move) == nullptr) look(move);
    });
    lastFar.forEachNearOutside(recall.changed, {low, high}, look);
    return most;
}

template <unsigned N>
std::uint32_t SimpleRecursiveAi<N>::bestTwoMoves(Move* best, const Game& game, const MoveMap& moves,
                                                 const ChildSource& children) {
    MoveList& candidates = lastButOneMoves;
    candidates.clear();
    const std::uint32_t count = listMovesByColumn(moves, candidates);
    if (count == 0) return 0;

    // Every candidate is played first, each on a copy whose touched range
    // starts empty, so that it spans exactly the columns the move changed: the
    // position below differs from this one only there, and its moves' effects
    // are this position's elsewhere.
    lastButOne.clear();
    for (const Move& candidate : candidates)
        lastButOneEffects.record(candidate, playOnNewOutcome(lastButOne, game, candidate));
    lastFar.gather(candidates, lastButOneEffects);

    // Only a three-move search has its root right above this level.
    constexpr bool kTransposes = N == 3;
    FirstListedBest<std::uint32_t> pick;
    for (std::size_t index = 0; index < count; ++index) {
        const Move& candidate = candidates[index];
        const Outcome& outcome = lastButOne[index];
        const ColumnSpan changed = changedColumns(outcome.game);
        const bool commutes = kTransposes && Transpositions::commute(rootChanged, changed);
        const std::uint32_t total = outcome.value + transpositions.valueAfter(rootIndex, candidate, commutes, [&] {
            MoveRecall lastRecall{&lastButOneEffects, changed};
            if (children.knowsBelow(candidate)) {
                lastRecall.childKnown = children.table;
                lastRecall.childCandidate = candidate;
                lastRecall.childChanged = children.changed;
            }
            return bestLastMove(outcome.game, lastRecall);
        });
        pick.offer(candidate, total);
    }
    if (best != nullptr) *best = pick.move();
    return pick.value();
}

template <unsigned N>
std::uint32_t SimpleRecursiveAi<N>::bestThreeMoves(Move* best, const Game& game, const MoveMap& moves) {
    rootMoves.clear();
    const std::uint32_t count = listMovesByColumn(moves, rootMoves);
    if (count == 0) return 0;
    childEffects.clear(static_cast<std::size_t>(count) * (count + 8));
    transpositions.startRoot(rootMoves);

    // First every position one move deep, then the effects of its moves,
    // once every root move's own effect is noted: the moves that read nothing
    // the root move changed keep their root effects and need no note.
    rootOutcomes.clear();
    rootChildMoves.resize(count);
    for (std::size_t index = 0; index < count; ++index) {
        const Move& candidate = rootMoves[index];
        rootEffects.record(candidate, playOnNewOutcome(rootOutcomes, game, candidate));
    }
    for (std::size_t index = 0; index < count; ++index) {
        const Move& candidate = rootMoves[index];
        const Outcome& outcome = rootOutcomes[index];
        mapChildMoves(outcome.game, moves, rootChildMoves[index]);
        MoveRecall childRecall{&rootEffects, changedColumns(outcome.game)};
        childRecall.childNotes = &childEffects;
        childRecall.notesCandidate = candidate;
        bestSingleMove(nullptr, outcome.game, rootChildMoves[index], childRecall);
    }

    // Then the two moves after each: a second move that reads nothing the
    // first changed leads to a position that differs from the one it leads to
    // from the root only there, so the moves after it that read none of it
    // do what they do there.
    FirstListedBest<std::uint32_t> pick;
    for (std::size_t index = 0; index < count; ++index) {
        const Outcome& outcome = rootOutcomes[index];
        rootIndex = index;
        rootChanged = transposableChange(game, outcome.game);
        const ChildSource children{&childEffects, &rootEffects, changedColumns(outcome.game)};
        const std::uint32_t total =
            outcome.value + bestTwoMoves(nullptr, outcome.game, rootChildMoves[index], children);
        pick.offer(rootMoves[index], total);
    }
    if (best != nullptr) *best = pick.move();
    return pick.value();
}

template class SimpleRecursiveAi<1>;
template class SimpleRecursiveAi<2>;
template class SimpleRecursiveAi<3>;
