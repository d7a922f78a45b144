#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "tool/run_log.h"

// The figures of a run, as far as its log tells them.
struct RunFigures {
    std::uint32_t moves = 0;     // moves played at the last score line
    std::uint32_t score = 0;     // the game's score there
    double pointsPerMove = 0.0;  // points gained per move from the first score line to the last
    std::uint32_t msUsed = 0;    // from the start of the program to the last score line
    // Each strategy that played, with the chunks it played in (solve: the
    // progress lines of each search width).
    std::vector<std::pair<std::string, std::size_t>> strategies;
};

RunFigures figuresOf(const RunLog& log);

// A table with a header line and a line per log: moves, score, points per move,
// time used, failures, resets, lines skipped and the strategies.
std::string summaryTable(const std::vector<RunLog>& logs);

// The name a log line gives a roster strategy by its number.
std::string strategyName(unsigned number);
