#include "tool/run_summary.h"

#include <algorithm>
#include <array>
#include <map>
#include <set>

#include "driver/benchmark.h"
#include "driver/match.h"
#include "tool/formatted.h"
#include "tool/strategy_choice.h"

namespace {

double pointsPerMoveOf(const RunLog& log) {
    const ScorePoint& first = log.points.front();
    const ScorePoint& last = log.points.back();
    if (last.pointsPerMove) return *last.pointsPerMove;
    if (last.moves <= first.moves || last.score < first.score) return 0.0;
    return static_cast<double>(last.score - first.score) / (last.moves - first.moves);
}

std::uint32_t msUsedOf(const ScorePoint& last) {
    if (last.msElapsed) return *last.msElapsed;
    const std::uint32_t budget = MatchRules{}.budgetMs;
    return last.msLeft < budget ? budget - last.msLeft : 0;
}

// The chosen strategy of each chunk, then the survival strategy in every chunk
// a reset handed to it, then the search widths of solve.
std::vector<std::pair<std::string, std::size_t>> strategiesOf(const RunLog& log) {
    std::map<unsigned, std::size_t> chunksOf;
    std::map<std::uint32_t, std::size_t> linesOfWidth;
    for (const ScorePoint& point : log.points) {
        if (point.strategy) ++chunksOf[*point.strategy];
        if (point.searchWidth) ++linesOfWidth[*point.searchWidth];
    }
    std::set<std::uint32_t> chunksReset;
    for (const ResetPoint& reset : log.resets) chunksReset.insert(reset.chunkEnd);
    std::vector<std::pair<std::string, std::size_t>> strategies;
    for (const auto& [number, chunks] : chunksOf) strategies.emplace_back(strategyName(number), chunks);
    if (!chunksReset.empty()) strategies.emplace_back(kFallbackAiName, chunksReset.size());
    // A timed solve changes its width every stretch: the range says enough.
    if (!linesOfWidth.empty()) {
        const std::uint32_t least = linesOfWidth.begin()->first;
        const std::uint32_t most = linesOfWidth.rbegin()->first;
        std::size_t lines = 0;
        for (const auto& entry : linesOfWidth) lines += entry.second;
        strategies.emplace_back(
            least == most ? formatted("solve width %u", least) : formatted("solve widths %u-%u", least, most), lines);
    }
    return strategies;
}

std::string strategiesText(const RunFigures& figures) {
    std::string text;
    for (const auto& [name, chunks] : figures.strategies) {
        if (!text.empty()) text += ", ";
        text += name + " " + std::to_string(chunks);
    }
    return text;
}

constexpr std::size_t kColumns = 9;
using Row = std::array<std::string, kColumns>;

Row rowOf(const RunLog& log) {
    const RunFigures figures = figuresOf(log);
    std::string failures = std::to_string(log.failures.size());
    if (log.gaveUp) failures += " (gave up)";
    return {log.name,
            std::to_string(figures.moves),
            std::to_string(figures.score),
            formatted("%.2f", figures.pointsPerMove),
            formatted("%.1f s", figures.msUsed / 1000.0),
            failures,
            std::to_string(log.resets.size()),
            std::to_string(log.skippedLines),
            strategiesText(figures)};
}

// The log's name stands left, the strategies (last) as they come, the figures right.
std::string tableLine(const Row& row, const std::array<std::size_t, kColumns>& widths) {
    std::string line = row[0] + std::string(widths[0] - row[0].size(), ' ');
    for (std::size_t column = 1; column + 1 < kColumns; ++column)
        line += "  " + std::string(widths[column] - row[column].size(), ' ') + row[column];
    return line + "  " + row[kColumns - 1] + "\n";
}

}  // namespace

std::string strategyName(unsigned number) { return number < kRosterSize ? kRosterNames[number] : kFallbackAiName; }

RunFigures figuresOf(const RunLog& log) {
    const ScorePoint& last = log.points.back();
    return {last.moves, last.score, pointsPerMoveOf(log), msUsedOf(last), strategiesOf(log)};
}

std::string summaryTable(const std::vector<RunLog>& logs) {
    std::vector<Row> rows = {
        {"log", "moves", "score", "points/move", "time used", "failures", "resets", "skipped", "strategies (chunks)"}};
    for (const RunLog& log : logs) rows.push_back(rowOf(log));
    std::array<std::size_t, kColumns> widths{};
    for (const Row& row : rows)
        for (std::size_t column = 0; column < kColumns; ++column)
            widths[column] = std::max(widths[column], row[column].size());
    std::string table;
    for (const Row& row : rows) table += tableLine(row, widths);
    return table;
}
