#pragma once

#include <cstdint>
#include <functional>

#include "ai/ai.h"

// Told of every move playMoves played, with the game as that move left it.
using MoveObserver = std::function<void(const Move& move, const Game& game)>;

// Lets a strategy play up to count moves on game, each applied with swap and
// settle, and returns the points gained. Stops early when the strategy finds no
// move, or when a move's cascade never comes to rest. One Move is reused across
// calls, so from the second call on it holds the previous move. afterMove, when
// given, hears of every move played, the one whose cascade was cut off included.
std::uint32_t playMoves(Game& game, Ai& ai, std::uint32_t count, const MoveObserver& afterMove = {});
