#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "engine/cell.h"
#include "level/level.h"

inline constexpr std::uint32_t kMaxCells = kMaxColumns * kMaxRows;
// The match scan and the move search compare columns 16 cells at a time, a few
// rows apart, and a refill moves a column's blocks whole: they may read and
// write (putting back what was there) this far past the last stored cell.
inline constexpr std::uint32_t kScanSlack = 64;

// The whole mutable state of one play-through. A flat value with no heap parts:
// the five words, the cursors and the cells lie in one block, and a copy moves
// only the prefix of that block that the loaded level uses.
struct Game {
    std::uint32_t score;
    // Columns the next match scan examines and the next refill fills.
    std::uint32_t dirtyFirst;
    std::uint32_t dirtyLast;
    // Columns changed by swaps and refills since the range was last reset.
    std::uint32_t touchedFirst;
    std::uint32_t touchedLast;
    // Index of the next jewel to take from each column's supply.
    std::array<std::uint8_t, kMaxColumns> supplyCursor;
    // Column by column: the cell of column c, row r is cells[c * Level.stride + r].
    // Aligned so that on a low field, whose columns are one 16-cell block each,
    // every column is one aligned block.
    alignas(16) std::array<Cell, kMaxCells + kScanSlack> cells;

    // Every jewel space empty, every cursor 0, both ranges covering all columns.
    Game();
    // A game whose bytes are left unset, for storage that is assigned a whole
    // game before it is read: the per-candidate positions a search keeps
    // need a copy only for the candidates it plays.
    struct Unset {};
    explicit Game(Unset) noexcept {}
    Game(const Game& other) noexcept;
    Game& operator=(const Game& other) noexcept;
};

// The number of bytes of a Game that the loaded level uses; copies move only these.
std::size_t usedGameBytes();

// The 16-cell blocks that hold one column of the loaded level: the unit in
// which the scans, the move search and the refill compare and move cells.
inline std::uint32_t columnBlocks() { return (Level.stride + 15) / 16; }

inline Cell& cellAt(Game& game, std::uint32_t column, std::uint32_t row) {
    return game.cells[column * Level.stride + row];
}

inline Cell cellAt(const Game& game, std::uint32_t column, std::uint32_t row) {
    return game.cells[column * Level.stride + row];
}

// The range holding no column: first past the last column, last at 0.
inline void clearRange(std::uint32_t& first, std::uint32_t& last) {
    first = Level.columnCount;
    last = 0;
}

inline void widenRange(std::uint32_t& first, std::uint32_t& last, std::uint32_t otherFirst, std::uint32_t otherLast) {
    if (otherFirst < first) first = otherFirst;
    if (otherLast > last) last = otherLast;
}

// The first and last column whose cells or cursors a settled move changed,
// given the position after it with the touched range emptied before the move.
// A cascade cut off at the refill cap left cleared cells its touched range
// does not cover, so it counts as changing every column.
inline void changedColumnsOf(const Game& after, std::uint32_t& first, std::uint32_t& last) {
    const bool cutOff = after.dirtyFirst <= after.dirtyLast;
    first = cutOff ? 0 : after.touchedFirst;
    last = cutOff ? Level.columnCount - 1 : after.touchedLast;
}

// Makes scratch equal to source again after moves played on it since it was a
// copy of source whose touched range was empty, or already held every column
// that differed: only the touched columns and the words before the cells can
// differ then. A cascade cut off at the refill cap leaves cleared cells that
// the touched range may not hold, so then all is copied. So is a field of
// columns of one 16-cell block: the whole of it copies as fast as a few
// columns, and measured faster in the look-ahead loops.
inline void restoreAfterMove(Game& scratch, const Game& source) {
    if (columnBlocks() <= 1 || scratch.dirtyFirst <= scratch.dirtyLast) {
        scratch = source;
        return;
    }
    const std::uint32_t first = scratch.touchedFirst;
    const std::uint32_t last = scratch.touchedLast;
    std::memcpy(static_cast<void*>(&scratch), &source, offsetof(Game, cells));
    if (first <= last)
        std::memcpy(&scratch.cells[first * Level.stride], &source.cells[first * Level.stride],
                    static_cast<std::size_t>(last - first + 1) * Level.stride);
}

// Two games are equal when every byte the level uses is equal.
bool operator==(const Game& a, const Game& b);

// A fingerprint of what decides a game's future: its cells and supply cursors,
// not its score or ranges. A search that merges equal positions compares these.
std::uint64_t positionHash(const Game& game);
