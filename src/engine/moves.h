#pragma once

#include <cstdint>
#include <vector>

#include "engine/game.h"

// Which neighbour a moved jewel is exchanged with; the codes index "NOZW".
enum Direction : std::uint32_t {
    North = 0,  // row - 1
    East = 1,   // column + 1 (the letter O)
    South = 2,  // row + 1 (the letter Z)
    West = 3,   // column - 1
};

inline constexpr char kDirectionLetters[] = "NOZW";

struct Move {
    std::uint32_t column;
    std::uint32_t row;
    std::uint32_t direction;

    bool operator==(const Move&) const = default;
};

// Moves in insertion order; strategies keep theirs reserved and reuse them.
using MoveList = std::vector<Move>;

// The direction back from the cell a move in `direction` leads to.
inline std::uint32_t opposite(std::uint32_t direction) { return (direction + 2) % 4; }

// The cell that the move exchanges (column, row) with, as a move at that cell.
inline Move neighbourOf(const Move& move) {
    switch (move.direction) {
        case North: return {move.column, move.row - 1, move.direction};
        case East: return {move.column + 1, move.row, move.direction};
        case South: return {move.column, move.row + 1, move.direction};
        default: return {move.column - 1, move.row, move.direction};
    }
}

// Exchanges the jewel at (column, row) with its neighbour in the given direction
// and widens the dirty and touched ranges by the columns involved. The caller
// passes only moves whose neighbour is a jewel cell; settle comes next.
void swap(Game& game, std::uint32_t column, std::uint32_t row, std::uint32_t direction);

inline void swap(Game& game, const Move& move) { swap(game, move.column, move.row, move.direction); }

// Consecutive cells equal to value going up, down, left or right from (column,
// row), not counting the cell itself. Rock never equals a jewel, so probes stop
// at rock and at the field's edge.
std::uint32_t countAbove(const Game& game, std::uint32_t column, std::uint32_t row, Cell value);
std::uint32_t countBelow(const Game& game, std::uint32_t column, std::uint32_t row, Cell value);
std::uint32_t countLeft(const Game& game, std::uint32_t column, std::uint32_t row, Cell value);
std::uint32_t countRight(const Game& game, std::uint32_t column, std::uint32_t row, Cell value);

// Whether exchanging (column, row) with the cell below, or with the cell to its
// right, would make a run of three. Both cells must be jewel cells.
bool swapSouthMatches(const Game& game, std::uint32_t column, std::uint32_t row);
bool swapEastMatches(const Game& game, std::uint32_t column, std::uint32_t row);
