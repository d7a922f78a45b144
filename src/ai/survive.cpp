#include "ai/survive.h"

#include <cstdint>

#include "ai/one_move_lookahead.h"
#include "engine/candidates.h"

namespace {

constexpr std::uint32_t kPointsPerLegalMove = 10;

// Below every value a candidate can have: a field holds at most 5000 legal moves.
constexpr std::int32_t kBelowEveryValue = -9999999;

}  // namespace

SurviveAi::SurviveAi() { candidates.reserve(kReservedMoves); }

bool SurviveAi::chooseMove(Move& out, Game& game) {
    candidates.clear();
    const std::uint32_t movesBefore = enumerateAll(game, &candidates);
    if (movesBefore == 0) return false;
    // A copy then records in its touched range exactly what one candidate
    // changes, so the moves outside the window around it need no new test.
    clearRange(game.touchedFirst, game.touchedLast);
    const auto value = [&](Game& scratch, const Move& move) {
        const std::uint32_t points = playedPoints(scratch, move);
        const std::uint32_t movesAfter = keepDistant(scratch, nullptr, &candidates) + enumerateNear(scratch, nullptr);
        // Summed unsigned, which wraps to the same signed value without overflow.
        return static_cast<std::int32_t>(points + kPointsPerLegalMove * movesAfter - kPointsPerLegalMove * movesBefore);
    };
    out = candidates[firstBestCandidate(game, candidates, kBelowEveryValue, value)];
    return true;
}
