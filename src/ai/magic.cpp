#include "ai/magic.h"

#include <cstddef>

#include "ai/one_move_lookahead.h"
#include "engine/candidates.h"

std::size_t firstListedBestOutcome(const OutcomeList& outcomes, const MoveList& candidates) {
    FirstListedBest<std::uint32_t> pick;
    std::size_t bestIndex = 0;
    for (std::size_t i = 0; i < outcomes.size(); ++i)
        if (pick.offer(candidates[i], outcomes[i].value)) bestIndex = i;
    return bestIndex;
}

namespace {

// The columns a candidate changed: those its cascade cleared, which the touched
// range holds as it was emptied after the swap, and the two cells it swapped.
ColumnSpan columnsChangedBy(const Move& candidate, const Game& after) {
    ColumnSpan changed = changedColumns(after);
    const ColumnSpan swapped = columnsOf(candidate);
    widenRange(changed.first, changed.last, swapped.first, swapped.last);
    return changed;
}

// Plays a candidate on position, a copy of the field, and returns its points.
// The touched range is emptied after the swap, so that it ends up covering just
// the columns where the move and its cascade cleared jewels: the follow-ups are
// looked for near them.
std::uint32_t playCandidate(Game& position, const Move& candidate) {
    const bool atRest = position.dirtyFirst > position.dirtyLast;
    const std::uint32_t scoreBefore = position.score;
    swap(position, candidate);
    clearRange(position.touchedFirst, position.touchedLast);
    settleSwapped(position, candidate, atRest);
    return position.score - scoreBefore;
}

}  // namespace

MagicAi::MagicAi() {
    candidates.reserve(kReservedMoves);
    outcomes.reserve(kReservedMoves);
}

bool MagicAi::chooseMove(Move& out, Game& game) {
    const MoveRecall recall = memory.startPosition(game);
    candidates.clear();
    outcomes.clear();
    const std::uint32_t count = listMovesByColumn(memory.moves(), candidates);
    if (count == 0) return false;

    // Only the candidates that reach the average need the position after them,
    // so one whose points are known is played, and the position copied, only
    // if it does.
    std::uint32_t sum = 0;
    for (const Move& candidate : candidates) {
        std::uint32_t gain = 0;
        const bool known = recall.knownValue(candidate, gain);
        Outcome& outcome = outcomes.emplace_back(gain);
        if (!known) {
            outcome.game = game;
            outcome.value = playCandidate(outcome.game, candidate);
            outcome.played = true;
            recall.note(candidate, MoveEffect::of(columnsChangedBy(candidate, outcome.game), outcome.value));
        }
        sum += outcome.value;
    }
    const std::uint32_t average = sum / count;

    for (std::size_t index = 0; index < count; ++index) {
        Outcome& outcome = outcomes[index];
        if (outcome.value < average) continue;
        if (!outcome.played) {
            outcome.game = game;
            playCandidate(outcome.game, candidates[index]);
        }
        // The follow-ups are summed, so they are taken straight from the map
        // of the columns near the change, in no particular order.
        std::uint32_t first = 0;
        std::uint32_t last = 0;
        mapNear(outcome.game, followUps, first, last);
        // Each follow-up is an alternative to the others, so each starts from the
        // candidate's own position.
        const MoveRecall followUpRecall{recall.known, columnsChangedBy(candidates[index], outcome.game), nullptr};
        Game probe = outcome.game;
        forEachMove(followUps, first, last, [&](const Move& followUp) {
            outcome.value += kPointsPerOpenMove + recalledPoints(followUp, probe, outcome.game, followUpRecall);
        });
    }

    out = candidates[firstListedBestOutcome(outcomes, candidates)];
    return true;
}
