#include "tool/chart_frame.h"

#include <cmath>

#include "tool/svg_document.h"

namespace {

std::vector<double> tickValues(const Axis& axis) {
    std::vector<double> values;
    for (double value = 0.0; value <= axis.top + axis.step / 2; value += axis.step) values.push_back(value);
    return values;
}

// 2500000 as 2.5M, 20000 as 20k.
std::string compactNumber(double value) {
    if (value >= 1e6) return formatted("%gM", value / 1e6);
    if (value >= 1e3) return formatted("%gk", value / 1e3);
    return formatted("%g", value);
}

std::string line(double x1, double y1, double x2, double y2, const char* colour) {
    return formatted("<line x1=\"%.1f\" y1=\"%.1f\" x2=\"%.1f\" y2=\"%.1f\" stroke=\"%s\"/>\n", x1, y1, x2, y2, colour);
}

std::string axisTitles(const Frame& frame) {
    const double middle = frame.top + kPlotHeight / 2;
    const double right = kChartWidth - 20.0;
    return chartText(kPlotLeft + (kPlotRight - kPlotLeft) / 2, frame.bottom() + 36.0, "moves played", "middle") +
           chartText(24.0, middle, "score", "middle", formatted(" transform=\"rotate(-90 24 %.1f)\"", middle)) +
           chartText(right, middle, "time left (s)", "middle",
                     formatted(" transform=\"rotate(90 %.1f %.1f)\"", right, middle));
}

}  // namespace

Axis roundAxis(double largest) {
    if (largest <= 0.0) largest = 1.0;
    const double rough = largest / 5.0;
    const double magnitude = std::pow(10.0, std::floor(std::log10(rough)));
    double step = 10.0 * magnitude;
    for (const double factor : {1.0, 2.0, 5.0}) {
        if (factor * magnitude >= rough) {
            step = factor * magnitude;
            break;
        }
    }
    return {std::ceil(largest / step) * step, step};
}

std::string chartText(double x, double y, const std::string& content, const char* anchor, const std::string& extra) {
    return formatted(
        "<text x=\"%.1f\" y=\"%.1f\" font-family=\"sans-serif\" font-size=\"12\" fill=\"%s\" "
        "text-anchor=\"%s\"%s>%s</text>\n",
        x, y, kChartInk, anchor, extra.c_str(), xmlEscaped(content).c_str());
}

std::string frameAxes(const Frame& frame) {
    std::string svg;
    for (const double value : tickValues(frame.score)) {
        const double y = frame.yOfScore(value);
        svg += line(kPlotLeft, y, kPlotRight, y, "#dcd6ca");
        svg += chartText(kPlotLeft - 6.0, y + 4.0, compactNumber(value), "end");
    }
    for (const double value : tickValues(frame.seconds)) {
        const double y = frame.yOfSeconds(value);
        svg += line(kPlotRight, y, kPlotRight + 5.0, y, kChartInk);
        svg += chartText(kPlotRight + 8.0, y + 4.0, formatted("%g", value));
    }
    for (const double value : tickValues(frame.moves)) {
        const double x = frame.x(value);
        svg += line(x, frame.bottom(), x, frame.bottom() + 5.0, kChartInk);
        svg += chartText(x, frame.bottom() + 18.0, compactNumber(value), "middle");
    }
    svg += formatted("<rect x=\"%.1f\" y=\"%.1f\" width=\"%.1f\" height=\"%.1f\" fill=\"none\" stroke=\"%s\"/>\n",
                     kPlotLeft, frame.top, kPlotRight - kPlotLeft, kPlotHeight, kChartInk);
    return svg + axisTitles(frame);
}
