#pragma once

#include <ostream>

#include "engine/moves.h"

// Lets GoogleTest show a Move as column, row and direction letter, the way the
// move file writes it, instead of as raw bytes.
inline void PrintTo(const Move& move, std::ostream* out) {
    *out << '{' << move.column << ' ' << move.row << ' '
         << (move.direction < 4 ? kDirectionLetters[move.direction] : '?') << '}';
}
