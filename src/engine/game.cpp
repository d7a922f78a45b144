#include "engine/game.h"

#include <cstddef>
#include <cstring>
#include <type_traits>

static_assert(std::is_standard_layout_v<Game>, "a Game is copied as one block of bytes");

std::size_t usedGameBytes() {
    return offsetof(Game, cells) + static_cast<std::size_t>(Level.stride) * Level.columnCount;
}

Game::Game() {
    // The padding before the aligned cells is part of what copies move and
    // comparisons compare, so it starts as zeros like the rest.
    std::memset(static_cast<void*>(this), 0, offsetof(Game, cells));
    dirtyLast = Level.columnCount - 1;
    touchedLast = Level.columnCount - 1;
    cells.fill(kRock);
    for (std::uint32_t column = 0; column < Level.columnCount; ++column)
        for (std::uint32_t row = 0; row < Level.stride; ++row)
            cellAt(*this, column, row) = row < Level.columnHeight[column] ? kEmpty : kRock;
}

Game::Game(const Game& other) noexcept {
    std::memcpy(static_cast<void*>(this), &other, usedGameBytes());
}

Game& Game::operator=(const Game& other) noexcept {
    if (this != &other) std::memcpy(static_cast<void*>(this), &other, usedGameBytes());
    return *this;
}

bool operator==(const Game& a, const Game& b) {
    return std::memcmp(&a, &b, usedGameBytes()) == 0;
}
