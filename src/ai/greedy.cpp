#include "ai/greedy.h"

#include <cstdint>
#include <utility>

#include "ai/one_move_lookahead.h"
#include "engine/candidates.h"
#include "engine/register_play.h"

SimpleMostPointsAi::SimpleMostPointsAi() { candidates.reserve(kReservedMoves); }

bool SimpleMostPointsAi::chooseMove(Move& out, Game& game) {
    const MoveRecall recall = memory.startPosition(game);
    candidates.clear();
    if (listAllMoves(memory.moves(), &candidates) == 0) return false;
    out = candidates[firstBestRecalled(game, candidates, recall, recalledPoints)];
    return true;
}

MostPointsAi::MostPointsAi() : current(&secondList), previous(&firstList) {
    firstList.reserve(kReservedMoves);
    secondList.reserve(kReservedMoves);
}

bool MostPointsAi::chooseMove(Move& out, Game& game) {
    // current is empty here: it receives the carried-over moves, then the window's.
    if (refreshCandidates(game, *current, *previous) == 0) return false;
    out = (*current)[firstBestRecalled(game, *current, memory.startPosition(game), recalledPoints)];
    std::swap(current, previous);
    current->clear();
    return true;
}

MostDropsAi::MostDropsAi() { candidates.reserve(kReservedMoves); }

bool MostDropsAi::chooseMove(Move& out, Game& game) {
    const MoveRecall recall = memory.startPosition(game);
    candidates.clear();
    if (listAllMoves(memory.moves(), &candidates) == 0) return false;
    const auto drops = [](Game& scratch, const Move& move) { return playMove(scratch, move).drops; };
    const auto recalledDrops = [&drops](const Move& move, Game& scratch, const Game& position,
                                        const MoveRecall& known) {
        return recalledValue(move, scratch, position, known, drops);
    };
    out = candidates[firstBestRecalled(game, candidates, recall, recalledDrops)];
    return true;
}
