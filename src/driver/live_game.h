#pragma once

#include <stdexcept>

#include "engine/game.h"
#include "engine/moves.h"

// The live game has to come to rest after every move; a cascade that never ends
// stops the run with this message.
class NeverSettles : public std::runtime_error {
public:
    NeverSettles() : std::runtime_error("Speelveld komt nooit tot rust") {}
};

// Plays a move on the live game: swap, then settle. Throws NeverSettles when the
// cascade is cut off.
void playLiveMove(Game& game, const Move& move);
