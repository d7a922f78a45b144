#include "tool/run_chart.h"

#include <algorithm>
#include <array>
#include <set>

#include "driver/benchmark.h"
#include "driver/match.h"
#include "tool/chart_frame.h"
#include "tool/run_summary.h"
#include "tool/svg_document.h"

namespace {

constexpr double kRowHeight = 18.0;
constexpr double kBandHeight = 14.0;
// Of 12-pixel sans-serif text, near enough to lay the legends out.
constexpr double kCharWidth = 7.0;
const std::uint32_t kChunkMoves = MatchRules{}.chunkSize;

constexpr std::array<const char*, 8> kLogColours = {"#1f77b4", "#d62728", "#2ca02c", "#9467bd",
                                                    "#ff7f0e", "#17becf", "#8c564b", "#e377c2"};
// By roster number; the survival strategy last.
constexpr std::array<const char*, kRosterSize + 1> kStrategyColours = {"#4e79a7", "#f28e2b", "#e15759", "#76b7b2",
                                                                       "#59a14f", "#edc948", "#b07aa1", "#ff9da7",
                                                                       "#9c755f", "#2f4b7c", "#333333"};
constexpr unsigned kSurvivalColour = kRosterSize;

const char* logColour(std::size_t log) { return kLogColours[log % kLogColours.size()]; }

double textWidth(const std::string& content) { return kCharWidth * static_cast<double>(content.size()); }

// Places legend entries left to right, wrapping below at the plot's right edge.
class Flow {
public:
    explicit Flow(double top) : top_(top) {}

    // An entry: its key, drawn from the left end of the baseline, then its name.
    template <typename DrawKey>
    std::string entry(double keyWidth, const std::string& name, DrawKey drawKey) {
        const auto [x, y] = place(keyWidth + textWidth(name));
        return drawKey(x, y) + chartText(x + keyWidth, y, name);
    }
    double bottom() const { return top_ + kRowHeight; }

private:
    // The left end of the baseline of an entry of the given width.
    std::pair<double, double> place(double width) {
        if (x_ + width > kPlotRight && x_ > kPlotLeft) {
            x_ = kPlotLeft;
            top_ += kRowHeight;
        }
        const std::pair<double, double> at{x_, top_ + 12.0};
        x_ += width + 22.0;
        return at;
    }

    double top_;
    double x_ = kPlotLeft;
};

std::string crossAt(double x, double y, const char* colour, const std::string& role) {
    return formatted("<path class=\"%s\" d=\"M%.1f %.1fl7 7m0 -7l-7 7\" stroke=\"%s\" stroke-width=\"2\"/>\n",
                     role.c_str(), x - 3.5, y - 3.5, colour);
}

std::string ringAt(double x, double y, const char* colour, const std::string& role) {
    return formatted(
        "<circle class=\"%s\" cx=\"%.1f\" cy=\"%.1f\" r=\"4.5\" fill=\"none\" stroke=\"%s\" "
        "stroke-width=\"1.5\"/>\n",
        role.c_str(), x, y, colour);
}

std::string lineSample(double x, double y, const char* colour, bool dashed) {
    return formatted("<line x1=\"%.1f\" y1=\"%.1f\" x2=\"%.1f\" y2=\"%.1f\" stroke=\"%s\" stroke-width=\"2\"%s/>\n", x,
                     y - 4, x + 24, y - 4, colour, dashed ? " stroke-dasharray=\"5 3\"" : "");
}

std::uint32_t lastMoveShown(const RunLog& log) {
    const ScorePoint& last = log.points.back();
    std::uint32_t end = last.strategy ? last.moves + kChunkMoves : last.moves;
    for (const ResetPoint& reset : log.resets) end = std::max(end, reset.chunkEnd);
    return end;
}

Frame frameFor(const std::vector<RunLog>& logs, double top) {
    double moves = 0.0, score = 0.0, msLeft = 0.0;
    for (const RunLog& log : logs) {
        moves = std::max(moves, static_cast<double>(lastMoveShown(log)));
        for (const ScorePoint& point : log.points) {
            score = std::max(score, static_cast<double>(point.score));
            msLeft = std::max(msLeft, static_cast<double>(point.msLeft));
        }
    }
    return {top, roundAxis(moves), roundAxis(score), roundAxis(msLeft / 1000.0)};
}

std::string title() {
    return formatted(
        "<text x=\"%.1f\" y=\"24\" font-family=\"sans-serif\" font-size=\"16\" font-weight=\"bold\" "
        "fill=\"#222222\">The game's score over the moves played</text>\n",
        kPlotLeft);
}

// Which log is which colour, and what the lines and marks mean.
std::string legend(const std::vector<RunLog>& logs, Flow& flow) {
    const auto line = [](const char* colour, bool dashed) {
        return [colour, dashed](double x, double y) { return lineSample(x, y, colour, dashed); };
    };
    std::string svg;
    for (std::size_t index = 0; index < logs.size(); ++index)
        svg += flow.entry(30.0, logs[index].name, line(logColour(index), false));
    svg += flow.entry(30.0, "score (left axis)", line(kChartInk, false));
    svg += flow.entry(30.0, "time left (right axis)", line(kChartInk, true));
    svg += flow.entry(16.0, "failure", [](double x, double y) { return crossAt(x + 4.0, y - 4.0, kChartInk, "key"); });
    svg += flow.entry(16.0, "reset", [](double x, double y) { return ringAt(x + 4.0, y - 4.0, kChartInk, "key"); });
    return svg;
}

// The score a log's line shows at a move, between the score lines around it.
double scoreAt(const RunLog& log, double move) {
    const auto after = std::find_if(log.points.begin(), log.points.end(),
                                    [move](const ScorePoint& point) { return point.moves >= move; });
    if (after == log.points.end()) return log.points.back().score;
    if (after == log.points.begin() || after->moves == move) return after->score;
    const ScorePoint& before = *(after - 1);
    const double share = (move - before.moves) / (after->moves - before.moves);
    return before.score + share * (static_cast<double>(after->score) - before.score);
}

std::string polyline(const std::string& points, const char* colour, const char* style) {
    return "<polyline points=\"" + points + "\" fill=\"none\" stroke=\"" + colour + "\" " + style + "/>\n";
}

std::string logLines(const RunLog& log, std::size_t index, const Frame& frame) {
    const char* colour = logColour(index);
    const std::string logClass = formatted("log-%zu", index);
    std::string scorePoints, timePoints, dots;
    for (const ScorePoint& point : log.points) {
        const double x = frame.x(point.moves);
        scorePoints += formatted("%.1f,%.1f ", x, frame.yOfScore(point.score));
        timePoints += formatted("%.1f,%.1f ", x, frame.yOfSeconds(point.msLeft / 1000.0));
        dots += formatted("<circle class=\"point %s\" cx=\"%.1f\" cy=\"%.1f\" r=\"2.2\" fill=\"%s\"/>\n",
                          logClass.c_str(), x, frame.yOfScore(point.score), colour);
    }
    std::string svg = polyline(timePoints, colour, "stroke-width=\"1.5\" stroke-dasharray=\"5 3\" opacity=\"0.8\"");
    svg += polyline(scorePoints, colour, "stroke-width=\"2\"") + dots;
    for (const std::uint32_t move : log.failures)
        svg += crossAt(frame.x(move), frame.yOfScore(scoreAt(log, move)), colour, "failure " + logClass);
    for (const ResetPoint& reset : log.resets)
        svg += ringAt(frame.x(reset.move), frame.yOfScore(scoreAt(log, reset.move)), colour, "reset " + logClass);
    return svg;
}

std::string bandPiece(const Frame& frame, double top, std::uint32_t from, std::uint32_t to, unsigned strategy,
                      const char* role) {
    return formatted(
        "<rect class=\"%s\" x=\"%.2f\" y=\"%.1f\" width=\"%.2f\" height=\"%.1f\" fill=\"%s\" "
        "shape-rendering=\"crispEdges\">"
        "<title>%s</title></rect>\n",
        role, frame.x(from), top, frame.x(to) - frame.x(from), kBandHeight, kStrategyColours[strategy],
        xmlEscaped(strategyName(strategy)).c_str());
}

// The strategy of every chunk of a jewels log, the survival strategy from each
// reset to the end of its chunk.
std::string strategyBand(const RunLog& log, const Frame& frame, double top) {
    std::string svg = chartText(kPlotLeft, top + 11.0, "strategy per chunk, " + log.name);
    const double bandTop = top + 16.0;
    for (const ScorePoint& point : log.points)
        if (point.strategy)
            svg += bandPiece(frame, bandTop, point.moves, point.moves + kChunkMoves, *point.strategy, "band");
    for (const ResetPoint& reset : log.resets)
        svg += bandPiece(frame, bandTop, reset.move, reset.chunkEnd, kSurvivalColour, "band survival");
    return svg;
}

bool hasStrategies(const RunLog& log) {
    return std::any_of(log.points.begin(), log.points.end(), [](const ScorePoint& p) { return p.strategy; });
}

std::string strategyLegend(const std::vector<RunLog>& logs, Flow& flow) {
    std::set<unsigned> used;
    for (const RunLog& log : logs) {
        for (const ScorePoint& point : log.points)
            if (point.strategy) used.insert(*point.strategy);
        if (!log.resets.empty()) used.insert(kSurvivalColour);
    }
    std::string svg;
    for (const unsigned strategy : used) {
        svg += flow.entry(18.0, strategyName(strategy), [strategy](double x, double y) {
            return formatted("<rect x=\"%.1f\" y=\"%.1f\" width=\"12\" height=\"12\" fill=\"%s\"/>\n", x, y - 10.0,
                             kStrategyColours[strategy]);
        });
    }
    return svg;
}

}  // namespace

std::string runChartSvg(const std::vector<RunLog>& logs) {
    Flow legendFlow(36.0);
    const std::string legendPart = legend(logs, legendFlow);
    const Frame frame = frameFor(logs, legendFlow.bottom() + 14.0);

    std::string body = title() + legendPart + frameAxes(frame);
    for (std::size_t index = 0; index < logs.size(); ++index) body += logLines(logs[index], index, frame);
    double bottom = frame.bottom() + 40.0;  // below the title of the moves axis
    bool anyBand = false;
    for (const RunLog& log : logs) {
        if (!hasStrategies(log)) continue;
        body += strategyBand(log, frame, bottom + 10.0);
        bottom += 10.0 + 16.0 + kBandHeight;
        anyBand = true;
    }
    if (anyBand) {
        Flow strategyFlow(bottom + 10.0);
        body += strategyLegend(logs, strategyFlow);
        bottom = strategyFlow.bottom();
    }
    return svgOpening(kChartWidth, bottom + 10.0, "jewels: the game's score over the moves played") + body + "</svg>\n";
}
