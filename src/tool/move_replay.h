#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <limits>

#include "engine/game.h"

inline constexpr std::uint32_t kEveryMove = std::numeric_limits<std::uint32_t>::max();

// Told after every replayed move how many moves have been played so far.
using ReplayObserver = std::function<void(std::uint32_t movesPlayed, const Game& game)>;

// Plays up to maxMoves lines of a move file on game, in order, each with swap and
// settle. A line must have the form that MoveFile writes (a CRLF line end is
// accepted) and name a legal move of the field at that point; N and W count as
// the Z and O move that exchanges the same two cells. A move whose cascade is
// cut off ends the game: no line after it is legal. Returns the number of moves
// played. Throws BadMoveLine at the first line that fails, ToolError when the
// file cannot be read.
std::uint32_t replayMoveFile(Game& game, const std::filesystem::path& file, std::uint32_t maxMoves = kEveryMove,
                             const ReplayObserver& afterMove = {});
