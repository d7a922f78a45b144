#include "ai/greedy.h"

#include <cstdint>
#include <utility>

#include "ai/one_move_lookahead.h"
#include "engine/candidates.h"
#include "engine/gravity.h"

SimpleMostPointsAi::SimpleMostPointsAi() { candidates.reserve(kReservedMoves); }

bool SimpleMostPointsAi::chooseMove(Move& out, Game& game) {
    candidates.clear();
    if (enumerateAll(game, &candidates) == 0) return false;
    out = candidates[firstBestCandidate(game, candidates, std::uint32_t{0}, settledPoints)];
    return true;
}

MostPointsAi::MostPointsAi() : current(&secondList), previous(&firstList) {
    firstList.reserve(kReservedMoves);
    secondList.reserve(kReservedMoves);
}

bool MostPointsAi::chooseMove(Move& out, Game& game) {
    // current is empty here: it receives the carried-over moves, then the window's.
    if (refreshCandidates(game, *current, *previous) == 0) return false;
    out = (*current)[firstBestCandidate(game, *current, std::uint32_t{0}, settledPoints)];
    std::swap(current, previous);
    current->clear();
    return true;
}

MostDropsAi::MostDropsAi() { candidates.reserve(kReservedMoves); }

bool MostDropsAi::chooseMove(Move& out, Game& game) {
    candidates.clear();
    if (enumerateAll(game, &candidates) == 0) return false;
    const auto drops = [](Game& scratch) { return settle(scratch).drops; };
    out = candidates[firstBestCandidate(game, candidates, std::uint32_t{0}, drops)];
    return true;
}
