#pragma once

#include <cstdint>

// Sizes a search to the time left, as a chess engine manages its clock. A
// move's cost grows about in proportion to the width, so the width that
// spreads the time left evenly over the moves left is the time a move may
// take over what a move cost per unit of width. Told only durations, it reads
// no clock itself.
class WidthControl {
public:
    WidthControl(std::uint32_t firstWidth, std::uint32_t mostWidth);

    std::uint32_t width() const { return width_; }

    // After a stretch of moves played at width(): how long they took, and the
    // time and moves left. Sets the width for the next stretch.
    void update(double stretchMs, std::uint32_t stretchMoves, double msLeft, std::uint32_t movesLeft);

private:
    std::uint32_t width_;
    std::uint32_t mostWidth_;
    double msPerMovePerWidth_ = 0.0;  // smoothed over the stretches, 0 before the first
};
