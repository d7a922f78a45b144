#pragma once

#include <bit>
#include <cstdint>
#include <cstring>

#include "engine/game.h"

#if defined(__SSSE3__)
#include <tmmintrin.h>
#endif

// On a low field every column is one aligned 16-cell block (row r in byte r),
// and a play works on a changed column in a register: it reads the column
// once, and writes it back whole, once. The reads that follow each take the
// whole of one such write, which the processor hands on at once; a read that
// spans several earlier narrower writes has to wait until they reach the
// cache, which made the refill the slowest step of a play.
#if defined(__SSSE3__)
using ColumnBlock = __m128i;

inline ColumnBlock loadColumnBlock(const Game& game, std::uint32_t column) {
    return _mm_load_si128(reinterpret_cast<const __m128i*>(&game.cells[column * 16]));
}

inline void storeColumnBlock(Game& game, std::uint32_t column, ColumnBlock cells) {
    _mm_store_si128(reinterpret_cast<__m128i*>(&game.cells[column * 16]), cells);
}

inline ColumnBlock rowNumbers() { return _mm_setr_epi8(0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15); }

// Byte r is all ones for the rows r below `rows`.
inline ColumnBlock rowsAbove(std::uint32_t rows) {
    return _mm_cmpgt_epi8(_mm_set1_epi8(static_cast<char>(rows)), rowNumbers());
}

// Bit r: row r of column a equals row r of column b.
inline std::uint32_t equalRows(ColumnBlock a, ColumnBlock b) {
    return static_cast<std::uint32_t>(_mm_movemask_epi8(_mm_cmpeq_epi8(a, b)));
}

// Bit r: row r equals row r + 1 (row 15 never: nothing lies below it).
inline std::uint32_t equalBelow(ColumnBlock cells) { return equalRows(cells, _mm_srli_si128(cells, 1)) & 0x7FFFu; }

// Bit r is set for every row holding cell.
inline std::uint32_t rowsHolding(ColumnBlock cells, Cell cell) {
    return static_cast<std::uint32_t>(_mm_movemask_epi8(_mm_cmpeq_epi8(cells, _mm_set1_epi8(static_cast<char>(cell)))));
}

inline ColumnBlock withCell(ColumnBlock cells, std::uint32_t row, Cell cell) {
    const ColumnBlock at = _mm_cmpeq_epi8(rowNumbers(), _mm_set1_epi8(static_cast<char>(row)));
    return _mm_or_si128(_mm_andnot_si128(at, cells), _mm_and_si128(at, _mm_set1_epi8(static_cast<char>(cell))));
}

// Takes rows top to top + length - 1 out: the rows above them move down by
// length, and the first length rows become 0.
inline ColumnBlock closeStretch(ColumnBlock cells, std::uint32_t top, std::uint32_t length) {
    // Row r takes row r - length where r < top + length; the rows before
    // length index below 0, which the shuffle turns into 0.
    const ColumnBlock moved = _mm_and_si128(rowsAbove(top + length), _mm_set1_epi8(static_cast<char>(length)));
    return _mm_shuffle_epi8(cells, _mm_sub_epi8(rowNumbers(), moved));
}

// The column with the rows of `empty` (bit r for row r) taken out, the jewels
// above each closing up downwards, and the supply's next jewels on top, first
// jewel lowest; advances cursor, the column's supply cursor, past them.
inline ColumnBlock dropAndRefillBlock(std::uint32_t column, ColumnBlock cells, std::uint32_t empty,
                                      std::uint8_t& cursor) {
    std::uint32_t drop = 0;
    while (empty != 0) {
        // The highest stretch first: closing it moves nothing below it.
        const auto top = static_cast<std::uint32_t>(std::countr_zero(empty));
        const auto length = static_cast<std::uint32_t>(std::countr_one(empty >> top));
        empty &= ~(((std::uint32_t{1} << length) - 1) << top);
        drop += length;
        cells = closeStretch(cells, top, length);
    }
    const ColumnBlock falling =
        _mm_loadu_si128(reinterpret_cast<const __m128i*>(&Level.fallingJewels[column][kFallingSpan - cursor - drop]));
    const ColumnBlock onTop = rowsAbove(drop);
    std::uint32_t next = cursor + drop;
    while (next >= Level.supplyPeriod[column]) next -= Level.supplyPeriod[column];
    cursor = static_cast<std::uint8_t>(next);
    return _mm_or_si128(_mm_andnot_si128(onTop, cells), _mm_and_si128(onTop, falling));
}
#endif
