#pragma once

#include <cstdint>

#include "ai/ai.h"

// Lets a strategy play up to count moves on game, each applied with swap and
// settle, and returns the points gained. Stops early when the strategy finds no
// move, or when a move's cascade never comes to rest. One Move is reused across
// calls, so from the second call on it holds the previous move.
std::uint32_t playMoves(Game& game, Ai& ai, std::uint32_t count);
