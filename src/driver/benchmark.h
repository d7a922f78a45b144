#pragma once

#include <array>
#include <bitset>
#include <cstddef>
#include <cstdint>
#include <memory>

#include "ai/ai.h"
#include "engine/game.h"

inline constexpr std::size_t kRosterSize = 10;

// The ten strategies in their fixed order; the index is the "Ai #" number.
using Roster = std::array<std::unique_ptr<Ai>, kRosterSize>;

// The class of each roster strategy, by index: how people name them.
inline constexpr std::array<const char*, kRosterSize> kRosterNames = {
    "MostPointsAi",
    "SimpleMostPointsAi",
    "SimpleRecursiveAi<1>",
    "SimpleRecursiveAi<2>",
    "SimpleRecursiveAi<3>",
    "MostDropsAi",
    "MagicAi",
    "RecursiveMagicAi<1>",
    "RecursiveMagicAi<2>",
    "RecursiveMagicAi<3>",
};

// Which roster strategies a benchmark measures, by index.
using RosterSelection = std::bitset<kRosterSize>;
inline constexpr RosterSelection kWholeRoster{(1u << kRosterSize) - 1};

// What the benchmark measured of one strategy on this level. A strategy that was
// skipped, or whose first trial scored nothing, keeps 0 in every figure.
struct AiPerformance {
    Ai* ai = nullptr;
    float movesPerMs = 0.0f;
    float pointsPerMs = 0.0f;
    float msPerMove = 0.0f;
    float pointsPerMove = 0.0f;
};

using PerformanceTable = std::array<AiPerformance, kRosterSize>;

// The strategy at a roster index (0 to 9), newly made.
std::unique_ptr<Ai> makeRosterAi(std::size_t index);

Roster makeRoster();

// The deeper searches are not tried when a shallower sibling already needs more
// than 10 ms per move.
bool isSkipped(std::size_t index, const PerformanceTable& table);

// The size of the next trial: tenfold while trials are too short to time, then
// one trial sized to take about 1.5 seconds at the measured rate.
std::uint32_t nextTrialSize(std::uint32_t trialSize, std::uint32_t trialMs);

// Lets every selected strategy of the roster play growing trials on its own copy
// of the settled game, printing each trial and a report per strategy. Strategies
// not selected print nothing and keep 0 in every figure.
PerformanceTable benchmarkAis(const Roster& roster, const Game& settledGame, RosterSelection selection = kWholeRoster);

// The index of the strategy whose speed best fits the time per move still
// available, traded up to any that is both faster and scores more per move.
// Prints "Best ai is #n".
unsigned chooseBestAi(std::uint32_t movesLeft, std::uint32_t msLeft, const AiPerformance* table, unsigned count);
