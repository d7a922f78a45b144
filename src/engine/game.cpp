#include "engine/game.h"

#include <bit>
#include <cstddef>
#include <cstdint>
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

Game::Game(const Game& other) noexcept { std::memcpy(static_cast<void*>(this), &other, usedGameBytes()); }

Game& Game::operator=(const Game& other) noexcept {
    if (this != &other) std::memcpy(static_cast<void*>(this), &other, usedGameBytes());
    return *this;
}

bool operator==(const Game& a, const Game& b) { return std::memcmp(&a, &b, usedGameBytes()) == 0; }

namespace {

// Mixes one word into a running hash; the multiplier spreads every input bit
// over the high bits, and the rotation brings them back down for the next.
inline std::uint64_t mixWord(std::uint64_t hash, std::uint64_t word) {
    return (std::rotl(hash, 23) ^ word) * 0x9E3779B97F4A7C15ull;
}

std::uint64_t mixBytes(std::uint64_t hash, const std::uint8_t* bytes, std::size_t count) {
    std::size_t offset = 0;
    for (; offset + 8 <= count; offset += 8) {
        std::uint64_t word;
        std::memcpy(&word, bytes + offset, 8);
        hash = mixWord(hash, word);
    }
    std::uint64_t tail = 0;
    std::memcpy(&tail, bytes + offset, count - offset);
    return mixWord(hash, tail ^ count);
}

}  // namespace

std::uint64_t positionHash(const Game& game) {
    std::uint64_t hash = mixBytes(0, game.supplyCursor.data(), Level.columnCount);
    hash = mixBytes(hash, game.cells.data(), static_cast<std::size_t>(Level.stride) * Level.columnCount);
    // The finaliser of splitmix64, so that the low bits a table indexes by are mixed too.
    hash ^= hash >> 30;
    hash *= 0xBF58476D1CE4E5B9ull;
    hash ^= hash >> 27;
    hash *= 0x94D049BB133111EBull;
    return hash ^ (hash >> 31);
}
