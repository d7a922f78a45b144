#pragma once

#include <cstdint>

#include "driver/benchmark.h"
#include "engine/game.h"

// The shape of a match. The program always plays the defaults; tests play
// shorter matches with the same runner. The match is a whole number of chunks.
struct MatchRules {
    std::uint32_t totalMoves = 100000;
    std::uint32_t chunkSize = 1000;
    std::uint32_t checkpointInterval = 100;
    std::uint32_t budgetMs = 880000;  // counted from program start
};

// The number shown for the survival strategy in failure messages.
inline constexpr unsigned kFallbackAiNumber = 7777;
inline constexpr int kGaveUpExitStatus = 7;

enum class MatchResult { Completed, GaveUp };

// Plays the match on the live game in chunks, choosing a strategy per chunk from
// the benchmark's figures and the time left, and writes the moves to the move
// file after every chunk. When a strategy finds no move, the survival strategy
// takes over and the game is rewound to a checkpoint not yet used in this chunk;
// with none left the match gives up.
MatchResult playMatch(const Roster& roster, const PerformanceTable& table, Game& game,
                      const MatchRules& rules = MatchRules{});

// The same, with a given fallback strategy in place of the survival strategy.
MatchResult playMatch(const Roster& roster, const PerformanceTable& table, Game& game, const MatchRules& rules,
                      Ai& fallback);
