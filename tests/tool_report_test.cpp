// jewels-tool report: the summary and the chart of recorded run logs.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <regex>
#include <string>
#include <utility>
#include <vector>

#include "support/level_fixture.h"
#include "support/tool_run.h"

namespace {

const std::string kRecordedLog = sourcePath("tests/data/medium-20x15-run.log").string();

// The recorded log's last chunk line is "Score 22527900, 848633ms left, 1000
// moves left"; its first "Score 900, ...": 99000 moves of 227.55 points in
// 31.4 s of the 880 s. The cut log is a kill after 40 chunks with a torn line;
// the solve log's budget is 60 s, not the match's, so only its elapsed time tells.
const char* const kSummary =
    "log                   moves     score  points/move  time used  failures  resets  skipped  strategies (chunks)\n"
    "medium-20x15-run.log  99000  22527900       227.55     31.4 s         3       3        0  "
    "SimpleRecursiveAi<3> 100, SurviveAi 3\n"
    "cut.log               39000   8903000       228.26     14.8 s         1       1        1  "
    "SimpleRecursiveAi<3> 40, SurviveAi 1\n"
    "solve.log              2000    340000       169.60      9.0 s         0       0        1  solve widths 8-16 2\n";

// The chart's tick labels by axis, as their text anchor tells: "end" the score's,
// "start" the seconds', "middle" the moves'; each label's value and x, in rising value.
std::map<std::string, std::vector<std::pair<double, double>>> ticksOf(const std::string& chart) {
    static const std::regex label(
        "<text x=\"([0-9.]+)\" y=\"[0-9.]+\"[^>]*text-anchor=\"(\\w+)\"[^>]*>([0-9.]+)([kM]?)</text>");
    std::map<std::string, std::vector<std::pair<double, double>>> ticks;
    for (auto tick = std::sregex_iterator(chart.begin(), chart.end(), label); tick != std::sregex_iterator(); ++tick) {
        const double scale = (*tick)[4] == "k" ? 1e3 : (*tick)[4] == "M" ? 1e6 : 1.0;
        ticks[(*tick)[2]].emplace_back(std::stod((*tick)[3]) * scale, std::stod((*tick)[1]));
    }
    for (auto& axis : ticks) std::sort(axis.second.begin(), axis.second.end());
    return ticks;
}

TEST(ToolReport, SummarisesAndChartsJewelsLogsAndSolveProgressLines) {
    TempDir dir;
    const std::string log = readFileBytes(kRecordedLog);
    dir.write("cut.log", log.substr(0, log.rfind('\n', log.find(", 60000 moves left")) + 1) + "Score 9");
    dir.write("solve.log",
              "solve: moves 1000, score 169000, 168.1 points/move, 5000 ms elapsed, 55000 ms left, width 8\n"
              "solve: moves 2000, score 340000, 169.6 points/move, 9000 ms elapsed, 51000 ms left, width 16\n"
              "solve: moves 3000, score\n");
    const ProgramRun run = runTool(dir, {"report", kRecordedLog, "cut.log", "solve.log", "--svg", "chart.svg"});
    ASSERT_EQ(run.exitStatus, 0) << run.errors;
    EXPECT_EQ(run.output, kSummary);

    // One point per chunk line and a mark per failure and per reset of each log.
    const ProgramRun lint = runProgramIn(dir.path(), XMLLINT_EXECUTABLE, {"--noout", "chart.svg"});
    EXPECT_EQ(lint.exitStatus, 0) << lint.errors;
    const std::string chart = readFileBytes(dir.path() / "chart.svg");
    for (const auto& [mark, count] : {std::pair{"point log-0", 100u},
                                      {"point log-1", 40u},
                                      {"point log-2", 2u},
                                      {"failure log-0", 3u},
                                      {"reset log-1", 1u}})
        EXPECT_EQ(countOf(chart, std::string("class=\"") + mark + "\""), count) << mark;
    EXPECT_NE(chart.find(">medium-20x15-run.log<"), std::string::npos);
}

// A match that gave up after three failures and two resets in its second chunk,
// beside a match killed in its third chunk.
TEST(ToolReport, SummarisesAGiveUpAndLaysTheChartOutAroundTheLogs) {
    const std::string chunks =
        "Score 900, 879500ms left, 100000 moves left, best ai = #4\n"
        "Score 229000, 879000ms left, 99000 moves left, best ai = #4\n";
    TempDir dir;
    dir.write("gave&up.log",
              chunks +
                  "Ai #4 failed at move 1750, retrying with survive ai\n"
                  "Resetting to move (17) 1700\n"
                  "Ai #7777 failed at move 1720, retrying with survive ai\n"
                  "Resetting to move (16) 1600\n"
                  "Ai #7777 failed at move 1650, retrying with survive ai\n"
                  "No f*cking way: can't solve these 1000 moves... not even in survival mode.. i FAILED\n");
    dir.write("killed.log", chunks + "Score 457000, 878500ms left, 98000 moves left, best ai = #4\n");
    const ProgramRun run = runTool(dir, {"report", "gave&up.log", "killed.log", "--svg", "chart.svg"});
    ASSERT_EQ(run.exitStatus, 0) << run.errors;
    // 1000 moves of (229000 - 900) / 1000 points in 1 s of the 880 s; the survival
    // strategy took over one chunk.
    ASSERT_GE(linesOf(run.output).size(), 2u) << run.output;
    EXPECT_EQ(wordsOf(linesOf(run.output)[1]),
              wordsOf("gave&up.log 1000 229000 228.10 1.0 s 3 (gave up) 2 0 SimpleRecursiveAi<3> 2, SurviveAi 1"));

    EXPECT_EQ(runProgramIn(dir.path(), XMLLINT_EXECUTABLE, {"--noout", "chart.svg"}).exitStatus, 0);
    const std::string chart = readFileBytes(dir.path() / "chart.svg");
    // Each axis ends on the first tick at or past its largest value: the killed
    // match's third chunk ends at move 3000, its score and the time left.
    auto ticks = ticksOf(chart);
    for (const auto& [anchor, largest] : {std::pair{"middle", 3000.0}, {"end", 457000.0}, {"start", 879.5}}) {
        const auto& axis = ticks[anchor];
        ASSERT_GE(axis.size(), 2u) << anchor;
        EXPECT_GE(axis.back().first, largest) << anchor;
        EXPECT_LT(axis[axis.size() - 2].first, largest) << anchor;
    }
    // A survival band runs from its reset's move to the end of its chunk on the moves axis.
    const auto& moves = ticks["middle"];
    const auto xOfMove = [&](double move) {
        return moves.front().second + (moves.back().second - moves.front().second) * move / moves.back().first;
    };
    static const std::regex survivalBand("class=\"band survival\" x=\"([0-9.]+)\" y=\"[0-9.]+\" width=\"([-0-9.]+)\"");
    auto band = std::sregex_iterator(chart.begin(), chart.end(), survivalBand);
    for (const double reset : {1700.0, 1600.0}) {
        ASSERT_NE(band, std::sregex_iterator()) << reset;
        EXPECT_NEAR(std::stod((*band)[1]), xOfMove(reset), 0.1) << reset;
        EXPECT_NEAR(std::stod((*band)[1]) + std::stod((*band)[2]), xOfMove(2000), 0.1) << reset;
        ++band;
    }
    EXPECT_EQ(band, std::sregex_iterator());
    // The plot's border lies a line of text below the legend's last entry.
    std::smatch plot, lastEntry;
    ASSERT_TRUE(std::regex_search(chart, plot, std::regex("<rect x=\"[0-9.]+\" y=\"([0-9.]+)\" [^>]*fill=\"none\"")));
    ASSERT_TRUE(std::regex_search(chart, lastEntry, std::regex("<text x=\"[0-9.]+\" y=\"([0-9.]+)\"[^>]*>reset<")));
    EXPECT_GE(std::stod(plot[1]) - std::stod(lastEntry[1]), 12.0);
}

TEST(ToolReport, RefusesALogWithoutAWholeChunkLine) {
    for (const char* log : {"Hello vlimSpeelveld.txt inlezen... ok\n", "Score 900, 879000ms left, 100000 moves\n"}) {
        SCOPED_TRACE(log);
        TempDir dir;
        dir.write("bad.log", log);
        const ProgramRun run = runTool(dir, {"report", "bad.log"});
        EXPECT_EQ(run.exitStatus, 2);
        EXPECT_EQ(countOf(run.errors, "\n"), 1u);
        EXPECT_NE(run.errors.find("holds no chunk line"), std::string::npos) << run.errors;
    }
}

}  // namespace
