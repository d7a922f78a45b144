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
        outcomes.emplace_back(gain, scratch);
        sum += gain;
        scratch = game;
    }
    const std::uint32_t average = sum / count;

    for (Outcome& outcome : outcomes) {
        if (outcome.value < average) continue;
        followUps.clear();
        const std::uint32_t nearCount = enumerateNear(outcome.game, &followUps);
        outcome.value += kPointsPerOpenMove * nearCount;
        // Each follow-up is an alternative to the others, so each starts from the
        // candidate's own position.
        Game probe = outcome.game;
        for (const Move& followUp : followUps) {
            swap(probe, followUp);
            outcome.value += settledPoints(probe);
            probe = outcome.game;
        }
    }

    out = candidates[firstBestOutcome(outcomes)];
    return true;
}
