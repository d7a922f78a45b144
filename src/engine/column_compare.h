#pragma once

#include <cstdint>

#include "engine/cell.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

// Keeps the bits of the first `count` cells (at most 64).
inline std::uint64_t firstBits(std::uint64_t mask, std::uint32_t count) {
    return count >= 64 ? mask : mask & ((std::uint64_t{1} << count) - 1);
}

// Bit r is set where a[r] == b[r], for the first `count` cells (at most 64).
// Reads whole 16-byte blocks, so up to 15 bytes past `count` must be readable;
// those bits are cleared.
inline std::uint64_t equalCellsMask(const Cell* a, const Cell* b, std::uint32_t count) {
    std::uint64_t mask = 0;
#if defined(__SSE2__)
    for (std::uint32_t block = 0; block * 16 < count; ++block) {
        const __m128i left = _mm_loadu_si128(reinterpret_cast<const __m128i*>(a + 16 * block));
        const __m128i right = _mm_loadu_si128(reinterpret_cast<const __m128i*>(b + 16 * block));
        const auto equal = static_cast<std::uint16_t>(_mm_movemask_epi8(_mm_cmpeq_epi8(left, right)));
        mask |= static_cast<std::uint64_t>(equal) << (16 * block);
    }
#else
    for (std::uint32_t i = 0; i < count; ++i) mask |= static_cast<std::uint64_t>(a[i] == b[i]) << i;
#endif
    return firstBits(mask, count);
}

// Bit r is set where cells[r] == value, over Blocks whole 16-byte blocks; the
// caller keeps the bits of the rows it needs.
template <unsigned Blocks>
inline std::uint64_t blocksEqualToMask(const Cell* cells, Cell value) {
    std::uint64_t mask = 0;
#if defined(__SSE2__)
    const __m128i wanted = _mm_set1_epi8(static_cast<char>(value));
    for (unsigned block = 0; block < Blocks; ++block) {
        const __m128i chunk = _mm_loadu_si128(reinterpret_cast<const __m128i*>(cells + 16 * block));
        const auto equal = static_cast<std::uint16_t>(_mm_movemask_epi8(_mm_cmpeq_epi8(chunk, wanted)));
        mask |= static_cast<std::uint64_t>(equal) << (16 * block);
    }
#else
    for (unsigned i = 0; i < 16 * Blocks; ++i) mask |= static_cast<std::uint64_t>(cells[i] == value) << i;
#endif
    return mask;
}

// Bit r is set where a[r] == b[r], over Blocks whole 16-byte blocks; the caller
// keeps the bits of the rows it needs.
template <unsigned Blocks>
inline std::uint64_t equalBlocksMask(const Cell* a, const Cell* b) {
    std::uint64_t mask = 0;
#if defined(__SSE2__)
    for (unsigned block = 0; block < Blocks; ++block) {
        const __m128i left = _mm_loadu_si128(reinterpret_cast<const __m128i*>(a + 16 * block));
        const __m128i right = _mm_loadu_si128(reinterpret_cast<const __m128i*>(b + 16 * block));
        const auto equal = static_cast<std::uint16_t>(_mm_movemask_epi8(_mm_cmpeq_epi8(left, right)));
        mask |= static_cast<std::uint64_t>(equal) << (16 * block);
    }
#else
    for (unsigned i = 0; i < 16 * Blocks; ++i) mask |= static_cast<std::uint64_t>(a[i] == b[i]) << i;
#endif
    return mask;
}

// Bit r is set where cells[r] == cells[r + 1], over Blocks whole 16-byte
// blocks. A first block is compared with itself shifted by a row rather than
// read again one cell on, a read that would straddle two columns; row 15 is
// then compared with row 16 on its own.
template <unsigned Blocks>
inline std::uint64_t equalBelowMask(const Cell* cells) {
#if defined(__SSE2__)
    if constexpr (Blocks == 1) {
        const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(cells));
        const auto equal =
            static_cast<std::uint32_t>(_mm_movemask_epi8(_mm_cmpeq_epi8(block, _mm_srli_si128(block, 1))));
        return (equal & 0x7FFFu) | (static_cast<std::uint64_t>(cells[15] == cells[16]) << 15);
    }
#endif
    return equalBlocksMask<Blocks>(cells, cells + 1);
}
