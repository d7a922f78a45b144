#pragma once

#include <cstdint>
#include <string>

#include "engine/game.h"

// A picture of the field of a game as an SVG document: the next jewel of every
// column above the field, each jewel kind in its own shape and colour, rock
// dark, and the game's score and the moves played as a caption. Every jewel of
// the field carries class "jewel", every next jewel class "next", every rock
// cell "rock".
std::string boardSvg(const Game& game, std::uint32_t movesPlayed);
