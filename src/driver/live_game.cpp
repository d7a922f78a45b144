#include "driver/live_game.h"

#include "engine/gravity.h"

void playLiveMove(Game& game, const Move& move) {
    swap(game, move);
    if (!settle(game).settled) throw NeverSettles();
}
