#pragma once

#include <cstdint>

#include "engine/cell.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

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
    return count >= 64 ? mask : mask & ((std::uint64_t{1} << count) - 1);
}

