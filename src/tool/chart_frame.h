#pragma once

#include <string>
#include <vector>

// The plot area of a chart: where it stands in the picture and its three scales.
inline constexpr double kChartWidth = 960.0;
inline constexpr double kPlotLeft = 84.0;
inline constexpr double kPlotRight = kChartWidth - 84.0;
inline constexpr double kPlotHeight = 340.0;
inline constexpr const char* kChartInk = "#555555";

// An axis from 0 to a round number at or above the largest value, in round steps.
struct Axis {
    double top;
    double step;
};

Axis roundAxis(double largest);

// Moves played across, the score up on the left and the seconds left up on the right.
struct Frame {
    double top;
    Axis moves;
    Axis score;
    Axis seconds;

    double bottom() const { return top + kPlotHeight; }
    double x(double movesPlayed) const { return kPlotLeft + (kPlotRight - kPlotLeft) * movesPlayed / moves.top; }
    double yOfScore(double value) const { return bottom() - kPlotHeight * value / score.top; }
    double yOfSeconds(double value) const { return bottom() - kPlotHeight * value / seconds.top; }
};

// Text in the chart's 12-pixel sans-serif and ink; extra holds further attributes.
std::string chartText(double x, double y, const std::string& content, const char* anchor = "start",
                      const std::string& extra = "");

// The border of the plot, the grid of the score and the ticks, numbers and
// titles of the three axes.
std::string frameAxes(const Frame& frame);
