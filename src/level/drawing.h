#pragma once

#include <array>
#include <cstdint>

#include "level/level.h"

struct Game;

using SupplyCursors = std::array<std::uint8_t, kMaxColumns>;

// The field, with column numbers above and row numbers on the left; rock rows
// below the tallest column are drawn too.
void drawBoard(const Game& game);

// The jewels still to come in every column, stacked above the field, the next
// one at the bottom.
void drawSupplyPreview(const SupplyCursors& supplyCursor);

// The single next jewel of every column.
void drawNextJewels(const SupplyCursors& supplyCursor);
