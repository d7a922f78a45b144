#include "ai/play_moves.h"

#include "engine/register_play.h"

std::uint32_t playMoves(Game& game, Ai& ai, std::uint32_t count, const MoveObserver& afterMove) {
    const std::uint32_t scoreBefore = game.score;
    Move move{0, 0, East};
    for (std::uint32_t played = 0; played < count; ++played) {
        if (!ai.chooseMove(move, game)) break;
        const bool settled = playMove(game, move).settled;
        if (afterMove) afterMove(move, game);
        if (!settled) break;
    }
    return game.score - scoreBefore;
}
