// jewels-tool report: the summary and the chart of recorded run logs.
#include <gtest/gtest.h>

#include <regex>
#include <string>

#include "support/level_fixture.h"
#include "support/tool_run.h"

namespace {

const std::string kRecordedLog = sourcePath("tests/data/medium-20x15-run.log").string();

// The recorded log's last chunk line is "Score 22527900, 848633ms left, 1000
// moves left"; its first "Score 900, ...": 99000 moves of 227.55 points in
// 31.4 s of the 880 s. The cut log is a kill after 40 chunks with a torn line.
const char* const kSummary =
    "log                   moves     score  points/move  time used  failures  resets  skipped  strategies (chunks)\n"
    "medium-20x15-run.log  99000  22527900       227.55     31.4 s         3       3        0  "
    "SimpleRecursiveAi<3> 100, SurviveAi 3\n"
    "cut.log               39000   8903000       228.26     14.8 s         1       1        1  "
    "SimpleRecursiveAi<3> 40, SurviveAi 1\n"
    "solve.log              2000    340000       169.60      9.0 s         0       0        1  solve widths 8-16 2\n";

TEST(ToolReport, SummarisesAndChartsJewelsLogsAndSolveProgressLines) {
    TempDir dir;
    const std::string log = readFileBytes(kRecordedLog);
    dir.write("cut.log", log.substr(0, log.rfind('\n', log.find(", 60000 moves left")) + 1) + "Score 9");
    dir.write("solve.log",
              "solve: moves 1000, score 169000, 168.1 points/move, 5000 ms elapsed, 875000 ms left, width 8\n"
              "solve: moves 2000, score 340000, 169.6 points/move, 9000 ms elapsed, 871000 ms left, width 16\n"
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
    // The survival strategy's band runs from each reset on to the end of its chunk.
    static const std::regex survivalBand("class=\"band survival\" x=\"[0-9.]+\" y=\"[0-9.]+\" width=\"([-0-9.]+)\"");
    std::size_t bands = 0;
    for (auto band = std::sregex_iterator(chart.begin(), chart.end(), survivalBand); band != std::sregex_iterator();
         ++band, ++bands)
        EXPECT_GT(std::stod((*band)[1].str()), 0.0) << band->str();
    EXPECT_EQ(bands, 4u);
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
