#include "tool/random_level.h"

#include <random>
#include <vector>

namespace {

// std::mt19937 yields the same numbers everywhere, but the standard distributions
// do not, so draws go through this rejection sampler instead.
std::uint32_t drawBelow(std::mt19937& engine, std::uint32_t bound) {
    constexpr std::uint64_t kEngineRange = std::uint64_t{1} << 32;
    const std::uint64_t unbiasedLimit = kEngineRange - kEngineRange % bound;
    for (;;) {
        const std::uint64_t value = engine();
        if (value < unbiasedLimit) return static_cast<std::uint32_t>(value % bound);
    }
}

std::uint32_t drawBetween(std::mt19937& engine, std::uint32_t low, std::uint32_t high) {
    return low + drawBelow(engine, high - low + 1);
}

std::vector<std::uint32_t> rockStacks(std::mt19937& engine, const LevelShape& shape) {
    std::vector<std::uint32_t> stacks(shape.columns, 0);
    if (shape.rocks == RockStyle::None) return stacks;
    for (std::uint32_t& stack : stacks) stack = drawBetween(engine, 0, shape.rows / 2);
    // One column of full height keeps the field as tall as asked.
    stacks[drawBelow(engine, shape.columns)] = 0;
    return stacks;
}

std::string layoutText(const LevelShape& shape, const std::vector<std::uint32_t>& rockStacks) {
    std::string layout;
    for (std::uint32_t row = 0; row < shape.rows; ++row) {
        for (std::uint32_t column = 0; column < shape.columns; ++column)
            layout += row + rockStacks[column] >= shape.rows ? '1' : '0';
        layout += '\n';
    }
    return layout;
}

std::string supplyText(std::mt19937& engine, const LevelShape& shape) {
    std::string supply;
    for (std::uint32_t column = 0; column < shape.columns; ++column) {
        if (column > 0) supply += '\n';
        const std::uint32_t length = drawBetween(engine, shape.shortestSupply, shape.longestSupply);
        for (std::uint32_t jewel = 0; jewel < length; ++jewel)
            supply += static_cast<char>('0' + drawBelow(engine, shape.kinds));
    }
    return supply;
}

}  // namespace

LevelFiles randomLevel(const LevelShape& shape) {
    std::mt19937 engine(shape.seed);
    const std::vector<std::uint32_t> stacks = rockStacks(engine, shape);
    LevelFiles files;
    files.layout = layoutText(shape, stacks);
    files.supply = supplyText(engine, shape);
    return files;
}
