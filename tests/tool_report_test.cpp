// jewels-tool report: the summary and the chart of recorded run logs.
#include <gtest/gtest.h>

#include <map>
#include <regex>
#include <set>
#include <string>
#include <vector>

#include "driver/benchmark.h"
#include "support/level_fixture.h"
#include "support/tool_run.h"

namespace {

const std::string kRecordedLog = sourcePath("tests/data/medium-20x15-run.log").string();

// The fields of a summary line, which two blanks or more divide.
std::vector<std::string> fieldsOf(const std::string& line) {
    static const std::regex divider(" {2,}");
    return {std::sregex_token_iterator(line.begin(), line.end(), divider, -1), std::sregex_token_iterator()};
}

std::string format(const char* pattern, double value) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, pattern, value);
    return buffer;
}

// The summary fields a log's own lines give: the last chunk line's moves and
// score, its time since the start of the 880-second budget, the failures and
// resets, and the chunks of each strategy (the survival strategy's: the chunks
// with a reset).
std::vector<std::string> figuresInLog(const std::string& name, const std::string& log) {
    static const std::regex chunkLine("Score ([0-9]+), ([0-9]+)ms left, ([0-9]+) moves left, best ai = #([0-9])");
    std::smatch fields;
    double firstScore = 0, score = 0, msLeft = 0, moves = 0;
    std::size_t failures = 0, resets = 0;
    std::map<unsigned, std::size_t> chunksOf;
    std::set<double> chunksReset;
    for (const std::string& line : linesOf(log)) {
        failures += line.find(" failed at move ") != std::string::npos;
        if (line.rfind("Resetting to move", 0) == 0) {
            ++resets;
            chunksReset.insert(moves);
        }
        if (!std::regex_match(line, fields, chunkLine)) continue;
        score = std::stod(fields[1]);
        if (chunksOf.empty()) firstScore = score;
        msLeft = std::stod(fields[2]);
        moves = 100000 - std::stod(fields[3]);
        ++chunksOf[static_cast<unsigned>(std::stoul(fields[4]))];
    }
    std::string strategies;
    for (const auto& [number, chunks] : chunksOf)
        strategies += std::string(strategies.empty() ? "" : ", ") + kRosterNames[number] + " " + std::to_string(chunks);
    if (!chunksReset.empty()) strategies += ", SurviveAi " + std::to_string(chunksReset.size());
    return {name,
            format("%.0f", moves),
            format("%.0f", score),
            format("%.2f", (score - firstScore) / moves),
            format("%.1f s", (880000 - msLeft) / 1000),
            std::to_string(failures),
            std::to_string(resets),
            "0",
            strategies};
}

// The recorded log as a kill after its first chunks would have left it.
std::string firstChunksOf(const std::string& log, std::size_t chunks) {
    const std::size_t cut = log.find(", " + std::to_string(100000 - 1000 * chunks) + " moves left");
    return log.substr(0, log.rfind('\n', cut) + 1);
}

TEST(ToolReport, SummarisesAndChartsEachRecordedRunAsTheLinesOfItsLogSay) {
    TempDir dir;
    const std::string log = readFileBytes(kRecordedLog);
    const std::string cut = firstChunksOf(log, 40);
    dir.write("cut.log", cut + "Score 9");
    const ProgramRun run = runTool(dir, {"report", kRecordedLog, "cut.log", "--svg", "chart.svg"});
    ASSERT_EQ(run.exitStatus, 0) << run.errors;
    const std::vector<std::string> lines = linesOf(run.output);
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(fieldsOf(lines[0]).size(), 9u) << lines[0];
    EXPECT_EQ(fieldsOf(lines[1]), figuresInLog("medium-20x15-run.log", log));
    // The torn last line is skipped and counted.
    std::vector<std::string> cutFigures = figuresInLog("cut.log", cut);
    cutFigures[7] = "1";
    EXPECT_EQ(fieldsOf(lines[2]), cutFigures);

    // One point per chunk line and a mark per failure and per reset of each log.
    const ProgramRun lint = runProgramIn(dir.path(), XMLLINT_EXECUTABLE, {"--noout", "chart.svg"});
    EXPECT_EQ(lint.exitStatus, 0) << lint.errors;
    const std::string chart = readFileBytes(dir.path() / "chart.svg");
    EXPECT_EQ(countOf(chart, "class=\"point log-0\""), countOf(log, "\nScore "));
    EXPECT_EQ(countOf(chart, "class=\"point log-1\""), countOf(cut, "\nScore "));
    EXPECT_EQ(countOf(chart, "class=\"failure log-0\""), countOf(log, " failed at move "));
    EXPECT_EQ(countOf(chart, "class=\"reset log-1\""), countOf(cut, "\nResetting to move "));
    EXPECT_NE(chart.find(">medium-20x15-run.log<"), std::string::npos);
}

struct OtherLogCase {
    const char* name;
    std::string log;
    int exitStatus;
    std::string summary;  // the line of the log, or a part of the one error line
};

TEST(ToolReport, ReadsSolveProgressLinesAndRefusesALogWithoutScoreLines) {
    const OtherLogCase cases[] = {
        {"solve's progress lines, one of them torn",
         "solve: moves 1000, score 169000, 168.1 points/move, 5000 ms elapsed, 875000 ms left, width 8\n"
         "solve: moves 2000, score 340000, 169.6 points/move, 9000 ms elapsed, 871000 ms left, width 16\n"
         "solve: moves 3000, score\n",
         0, "solve.log  2000  340000  169.60  9.0 s  0  0  1  solve widths 8-16 2"},
        {"no chunk line", "Hello vlimSpeelveld.txt inlezen... ok\n", 2, "holds no chunk line"},
        {"a chunk line broken off", "Score 900, 879000ms left, 100000 moves\n", 2, "holds no chunk line"},
    };
    for (const OtherLogCase& c : cases) {
        SCOPED_TRACE(c.name);
        TempDir dir;
        dir.write("solve.log", c.log);
        const ProgramRun run = runTool(dir, {"report", "solve.log", "--svg", "chart.svg"});
        EXPECT_EQ(run.exitStatus, c.exitStatus);
        if (c.exitStatus != 0) {
            EXPECT_EQ(countOf(run.errors, "\n"), 1u);
            EXPECT_NE(run.errors.find(c.summary), std::string::npos) << run.errors;
            continue;
        }
        const std::vector<std::string> lines = linesOf(run.output);
        ASSERT_EQ(lines.size(), 2u);
        EXPECT_EQ(std::regex_replace(lines[1], std::regex(" {2,}"), "  "), c.summary);
        EXPECT_EQ(countOf(readFileBytes(dir.path() / "chart.svg"), "class=\"point log-0\""), 2u);
    }
}

}  // namespace
