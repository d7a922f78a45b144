#include "tool/run_log.h"

#include <charconv>
#include <fstream>
#include <regex>
#include <string_view>

#include "driver/benchmark.h"
#include "driver/match.h"
#include "tool/tool_errors.h"

namespace {

const MatchRules kRules;

// A whole number of 32 bits, or nothing for one too large.
std::optional<std::uint32_t> numberIn(const std::ssub_match& digits) {
    std::uint32_t value = 0;
    const std::string_view text(&*digits.first, static_cast<std::size_t>(digits.length()));
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
    return value;
}

// The move of a failure or reset line: the second of its two numbers.
std::optional<std::uint32_t> moveOf(const std::string& line, const std::regex& form) {
    std::smatch fields;
    if (!std::regex_match(line, fields, form) || !numberIn(fields[1])) return std::nullopt;
    return numberIn(fields[2]);
}

// Reads one line into the log; false when it opens like a known line but is not one.
class LineReader {
public:
    explicit LineReader(RunLog& log) : log_(log) {}

    bool read(const std::string& line) {
        if (line.starts_with("Score ")) return readChunkLine(line);
        if (line.starts_with("solve: moves ")) return readSolveLine(line);
        if (line.starts_with("Ai #") && line.find(" failed") != std::string::npos) return readFailure(line);
        if (line.starts_with("Resetting to move")) return readReset(line);
        if (line.starts_with("No f*cking way")) return readGiveUp(line);
        return true;
    }

private:
    bool readChunkLine(const std::string& line) {
        static const std::regex form("Score ([0-9]+), ([0-9]+)ms left, ([0-9]+) moves left, best ai = #([0-9]+)");
        std::smatch fields;
        if (!std::regex_match(line, fields, form)) return false;
        const auto score = numberIn(fields[1]), msLeft = numberIn(fields[2]), movesLeft = numberIn(fields[3]),
                   strategy = numberIn(fields[4]);
        if (!score || !msLeft || !movesLeft || !strategy) return false;
        if (*movesLeft > kRules.totalMoves || *strategy >= kRosterSize) return false;
        ScorePoint point;
        point.moves = kRules.totalMoves - *movesLeft;
        point.score = *score;
        point.msLeft = *msLeft;
        point.strategy = *strategy;
        log_.points.push_back(point);
        return true;
    }

    bool readSolveLine(const std::string& line) {
        static const std::regex form(
            "solve: moves ([0-9]+), score ([0-9]+), ([0-9]+\\.[0-9]) points/move, "
            "([0-9]+) ms elapsed, ([0-9]+) ms left, width ([0-9]+)");
        std::smatch fields;
        if (!std::regex_match(line, fields, form)) return false;
        const auto moves = numberIn(fields[1]), score = numberIn(fields[2]), msElapsed = numberIn(fields[4]),
                   msLeft = numberIn(fields[5]), width = numberIn(fields[6]);
        if (!moves || !score || !msElapsed || !msLeft || !width) return false;
        ScorePoint point;
        point.moves = *moves;
        point.score = *score;
        point.msLeft = *msLeft;
        point.msElapsed = *msElapsed;
        point.pointsPerMove = std::stod(fields[3]);
        point.searchWidth = *width;
        log_.points.push_back(point);
        return true;
    }

    bool readFailure(const std::string& line) {
        static const std::regex form("Ai #([0-9]+) failed at move ([0-9]+), retrying with survive ai");
        const std::optional<std::uint32_t> move = moveOf(line, form);
        if (move) log_.failures.push_back(*move);
        return move.has_value();
    }

    bool readReset(const std::string& line) {
        static const std::regex form("Resetting to move \\(([0-9]+)\\) ([0-9]+)");
        const std::optional<std::uint32_t> move = moveOf(line, form);
        const std::uint32_t chunkStart = log_.points.empty() ? 0 : log_.points.back().moves;
        if (move) log_.resets.push_back({*move, chunkStart + kRules.chunkSize});
        return move.has_value();
    }

    bool readGiveUp(const std::string& line) {
        if (line != "No f*cking way: can't solve these 1000 moves... not even in survival mode.. i FAILED")
            return false;
        log_.gaveUp = true;
        return true;
    }

    RunLog& log_;
};

}  // namespace

RunLog readRunLog(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    if (!in.is_open()) throw ToolError("cannot open log " + file.string());
    RunLog log;
    log.name = file.filename().string();
    LineReader reader(log);
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (!reader.read(line)) ++log.skippedLines;
    }
    if (in.bad()) throw ToolError("cannot read log " + file.string());
    if (log.points.empty())
        throw ToolError(file.string() + " holds no chunk line of jewels (\"Score ...\") nor progress line of solve");
    return log;
}
