#include "ai/magic.h"

#include <cstddef>

#include "ai/one_move_lookahead.h"
#include "engine/candidates.h"

std::size_t firstBestOutcome(const OutcomeList& outcomes) {
    std::uint32_t bestValue = 0;
    std::size_t bestIndex = 0;
    for (std::size_t i = 0; i < outcomes.size(); ++i) {
        if (outcomes[i].value > bestValue) {
            bestValue = outcomes[i].value;
            bestIndex = i;
        }
    }
    return bestIndex;
}

namespace {

// The columns a candidate changed: those its cascade cleared, which the touched
// range holds as it was emptied after the swap, and the two cells it swapped.
ColumnSpan columnsChangedBy(const Move& candidate, const Game& after) {
    ColumnSpan changed = changedColumns(after);
    const std::uint32_t right = candidate.direction == East ? candidate.column + 1 : candidate.column;
    widenRange(changed.first, changed.last, candidate.column, right);
    return changed;
}

}  // namespace

MagicAi::MagicAi() {
    candidates.reserve(kReservedMoves);
    outcomes.reserve(kReservedMoves);
    followUps.reserve(kReservedMoves);
}

bool MagicAi::chooseMove(Move& out, Game& game) {
    candidates.clear();
    outcomes.clear();
    const std::uint32_t count = enumerateAll(game, &candidates);
    if (count == 0) return false;

    Game scratch = game;
    std::uint32_t sum = 0;
    for (const Move& candidate : candidates) {
        swap(scratch, candidate);
        // Reset after the swap, so the touched range ends up covering just the
        // columns where this move and its cascade cleared jewels.
        clearRange(scratch.touchedFirst, scratch.touchedLast);
        const std::uint32_t gain = settledPoints(scratch);
        candidateEffects.record(candidate, columnsChangedBy(candidate, scratch), gain);
        outcomes.emplace_back(gain, scratch);
        sum += gain;
        scratch = game;
    }
    const std::uint32_t average = sum / count;

    for (std::size_t index = 0; index < count; ++index) {
        Outcome& outcome = outcomes[index];
        if (outcome.value < average) continue;
        followUps.clear();
        const std::uint32_t nearCount = enumerateNear(outcome.game, &followUps);
        outcome.value += kPointsPerOpenMove * nearCount;
        // Each follow-up is an alternative to the others, so each starts from the
        // candidate's own position.
        const MoveRecall recall{&candidateEffects, columnsChangedBy(candidates[index], outcome.game), nullptr};
        Game probe = outcome.game;
        for (const Move& followUp : followUps) {
            std::uint32_t points = 0;
            if (!recall.knownValue(followUp, points)) {
                points = playedPoints(probe, followUp);
                probe = outcome.game;
            }
            outcome.value += points;
        }
    }

    out = candidates[firstBestOutcome(outcomes)];
    return true;
}
