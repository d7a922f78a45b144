#include "driver/live_game.h"

#include "engine/register_play.h"

void playLiveMove(Game& game, const Move& move) {
    if (!playMove(game, move).settled) throw NeverSettles();
}
