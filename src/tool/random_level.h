#pragma once

#include <cstdint>
#include <string>

enum class RockStyle {
    None,    // every cell a jewel space
    Ragged,  // a random stack of rock at the bottom of each column
};

// What a generated level looks like; the generate command checks the ranges.
struct LevelShape {
    std::uint32_t columns = 0;
    std::uint32_t rows = 0;
    std::uint32_t kinds = 7;  // jewel kinds 0 to kinds - 1
    std::uint32_t seed = 1;
    std::uint32_t shortestSupply = 20;
    std::uint32_t longestSupply = 60;
    RockStyle rocks = RockStyle::None;
};

// The two files of a level, byte for byte.
struct LevelFiles {
    std::string layout;  // speelveld.txt: one line per row, each ending in a line feed
    std::string supply;  // kolommen.txt: one line per column, no line feed after the last
};

// A random level of that shape: the same shape and seed give the same files on
// every machine. Ragged rock leaves at least one column without rock and takes
// at most half of any column.
LevelFiles randomLevel(const LevelShape& shape);
