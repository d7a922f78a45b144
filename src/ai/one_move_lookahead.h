#pragma once

#include <cstddef>
#include <cstdint>

#include "ai/move_effects.h"
#include "engine/game.h"
#include "engine/gravity.h"
#include "engine/moves.h"
#include "engine/register_play.h"

// The points that playing move on scratch earns once the field settles. A
// look-ahead whose cascade is cut off at the refill cap just stops there, so
// its score so far is what counts.
inline std::uint32_t playedPoints(Game& scratch, const Move& move) {
    const std::uint32_t scoreBefore = scratch.score;
    playMove(scratch, move);
    return scratch.score - scoreBefore;
}

// The effect of move where the recall knows it, noted as every move must be;
// null when it must be played.
[[gnu::always_inline]] inline const MoveEffect* recalledEffect(const Move& move, const MoveRecall& recall) {
    if (const MoveEffect* held = recall.heldEffect(move)) {
        recall.noteHeld(move, *held);
        return held;
    }
    if (const MoveEffect* known = recall.heldByChild(move)) {
        recall.note(move, *known);
        return known;
    }
    return nullptr;
}

// What measure tells of move, a legal move of game (its points, its drops: a
// value that depends only on the columns the move reads), from the recall
// where it knows it, else by playing it on scratch, a copy of game given back
// equal to it. Every move is noted with the recall, known or played. Kept
// inline in the look-ahead loops, where a call measured 1.5% more instructions.
template <typename Measure>
[[gnu::always_inline]] inline std::uint32_t recalledValue(const Move& move, Game& scratch, const Game& game,
                                                          const MoveRecall& recall, Measure measure) {
    if (const MoveEffect* known = recalledEffect(move, recall)) return known->value;
    // An empty touched range first, so that afterwards it holds what the move changed.
    clearRange(scratch.touchedFirst, scratch.touchedLast);
    const std::uint32_t value = measure(scratch, move);
    if (recall.takesNotes()) recall.note(move, scratch, value);
    restoreAfterMove(scratch, game);
    return value;
}

// The points of a move whose effect the recall's own source does not hold:
// from its table where that knows them, else from lookAtMove, which works
// most moves out without a play; noted as recalledValue notes.
[[gnu::always_inline]] inline std::uint32_t unheldPoints(const Move& move, Game& scratch, const Game& game,
                                                         const MoveRecall& recall) {
    if (const MoveEffect* known = recall.heldByChild(move)) {
        recall.note(move, *known);
        return known->value;
    }
    const MoveOutcome outcome = lookAtMove(game, scratch, move);
    recall.note(move, MoveEffect::of({outcome.firstChanged, outcome.lastChanged}, outcome.points));
    if (outcome.played) restoreAfterMove(scratch, game);
    return outcome.points;
}

// A move's points, from the recall where it knows it, else worked out;
// noted as recalledValue notes.
[[gnu::always_inline]] inline std::uint32_t recalledPoints(const Move& move, Game& scratch, const Game& game,
                                                           const MoveRecall& recall) {
    if (const MoveEffect* held = recall.heldEffect(move)) {
        recall.noteHeld(move, *held);
        return held->value;
    }
    return unheldPoints(move, scratch, game, recall);
}

// Plays every candidate on one scratch copy of game (measure plays it and tells
// its value), restored by assignment after each, and returns the index of the
// first candidate whose measure is the greatest: only a strictly greater
// measure replaces the best, so ties go to the earlier candidate, and index 0
// is returned when none beats initialBest.
template <typename Value, typename Measure>
std::size_t firstBestCandidate(const Game& game, const MoveList& candidates, Value initialBest, Measure measure) {
    Game scratch(game);
    Value best = initialBest;
    std::size_t bestIndex = 0;
    for (std::size_t index = 0; index < candidates.size(); ++index) {
        const Value value = measure(scratch, candidates[index]);
        if (value > best) {
            best = value;
            bestIndex = index;
        }
        scratch = game;
    }
    return bestIndex;
}

// firstBestCandidate for a value that depends only on the columns a move
// reads, such as its points or its drops, which value(move, scratch, game,
// recall) tells as recalledPoints and recalledValue do: a candidate whose
// value the recall knows is not played again, and every played one is noted.
template <typename Value>
std::size_t firstBestRecalled(const Game& game, const MoveList& candidates, const MoveRecall& recall, Value value) {
    Game scratch(game);
    std::uint32_t best = 0;
    std::size_t bestIndex = 0;
    for (std::size_t index = 0; index < candidates.size(); ++index) {
        const std::uint32_t worth = value(candidates[index], scratch, game, recall);
        if (worth > best) {
            best = worth;
            bestIndex = index;
        }
    }
    return bestIndex;
}
