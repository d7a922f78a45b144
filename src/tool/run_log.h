#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

// One line of a log that tells the game's score at a point of the run: a chunk
// line of jewels ("Score S, Tms left, M moves left, best ai = #k") or a progress
// line of jewels-tool solve.
struct ScorePoint {
    std::uint32_t moves = 0;                   // moves played when the line was printed
    std::uint32_t score = 0;                   // the game's score then
    std::uint32_t msLeft = 0;                  // of the time budget
    std::optional<unsigned> strategy;          // jewels: the roster strategy chosen for the chunk that follows
    std::optional<std::uint32_t> msElapsed;    // solve
    std::optional<double> pointsPerMove;       // solve's own figure
    std::optional<std::uint32_t> searchWidth;  // solve
};

// A reset of the match to a checkpoint; from there the survival strategy plays
// to the end of the chunk.
struct ResetPoint {
    std::uint32_t move;      // the move the game went back to
    std::uint32_t chunkEnd;  // the end of the chunk being played
};

// What a console log of jewels, or the output of jewels-tool solve, says of the
// run. Other lines (reports, drawings, the benchmark) are passed over; a line
// that opens like one of these but does not go on as it should (a line torn
// by a kill, say) is skipped and counted.
struct RunLog {
    std::string name;  // the file name, without its folder
    std::vector<ScorePoint> points;
    std::vector<std::uint32_t> failures;  // the moves at which a strategy found none
    std::vector<ResetPoint> resets;
    bool gaveUp = false;
    std::size_t skippedLines = 0;
};

// Reads a log. Throws ToolError when it cannot be read or holds no score line.
RunLog readRunLog(const std::filesystem::path& file);
