#pragma once

#include <cstdint>
#include <string>

// What a solve run has done so far, as its progress lines tell it.
struct SolveStatus {
    std::uint32_t moves;
    std::uint32_t score;       // the game's score, the first fill's points included
    std::uint32_t startScore;  // the score of the settled first field
    double elapsedMs;
    double leftMs;  // of the budget; 0 when the run has no clock
    std::uint32_t width;
};

// Reports a solve run's progress on standard error: on a terminal one line
// kept up to date, a few times a second; otherwise a plain line every 1000
// moves, "solve: moves N, score S, P points/move, E ms elapsed, R ms left,
// width W", which `jewels-tool report` reads.
class SolveProgress {
public:
    SolveProgress();
    // Told after every move played.
    void update(const SolveStatus& status);
    // A line of its own, such as a rewind's.
    void note(const std::string& line);
    // Ends the line kept up to date, so that what follows starts on a line of its own.
    void close();

private:
    bool terminal_;
    double lastShownMs_ = -1e9;
    bool shown_ = false;
};
