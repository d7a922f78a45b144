#include "planner/width_control.h"

#include <algorithm>
#include <cmath>

namespace {

// The share of the time left that the next moves may plan on, as if this many
// stretches more were left: the rest absorbs a stretch dearer than the last,
// and is spent as the moves left run out.
constexpr double kShareOfTimeLeft = 0.95;
constexpr double kSpareStretches = 2.0;
// How much one stretch's cost moves the smoothed one: cascades make single
// stretches noisy.
constexpr double kSmoothing = 0.3;
// The width at most quadruples from one stretch to the next, so one stretch that
// ran cheap cannot make the next overrun.
constexpr double kMostGrowth = 4.0;

}  // namespace

WidthControl::WidthControl(std::uint32_t firstWidth, std::uint32_t mostWidth)
    : width_(std::clamp(firstWidth, 1u, mostWidth)), mostWidth_(mostWidth) {}

void WidthControl::update(double stretchMs, std::uint32_t stretchMoves, double msLeft, std::uint32_t movesLeft) {
    if (stretchMoves == 0 || movesLeft == 0) return;
    const double cost = std::max(stretchMs, 1e-3) / stretchMoves / width_;
    msPerMovePerWidth_ = msPerMovePerWidth_ == 0.0 ? cost : (1 - kSmoothing) * msPerMovePerWidth_ + kSmoothing * cost;
    const double allowed = std::max(msLeft, 0.0) * kShareOfTimeLeft / (movesLeft + kSpareStretches * stretchMoves);
    const double wanted = std::min(allowed / msPerMovePerWidth_, width_ * kMostGrowth);
    width_ = static_cast<std::uint32_t>(std::clamp(std::floor(wanted), 1.0, static_cast<double>(mostWidth_)));
}
