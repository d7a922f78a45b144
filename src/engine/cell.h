#pragma once

#include <cstdint>

// One cell of the field: the content in the low four bits (jewel kind 0-9, rock,
// empty) and, only inside one clearing step, the link flags in the high four bits.
using Cell = std::uint8_t;

inline constexpr Cell kRock = 11;
inline constexpr Cell kEmpty = 14;

inline constexpr Cell kContentMask = 0x0F;
inline constexpr Cell kLinkMask = 0xF0;
inline constexpr Cell linkUp = 16;
inline constexpr Cell linkDown = 32;
inline constexpr Cell linkLeft = 64;
inline constexpr Cell linkRight = 128;
