// jewels-tool solve run as a user runs it: its file replays to the score it
// reports, the same on every run at a fixed width, and nothing played is lost
// when it stops early.
#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <optional>
#include <random>
#include <regex>
#include <string>
#include <vector>

#include "planner/planner.h"
#include "support/level_fixture.h"
#include "support/tool_run.h"

namespace {

struct Solved {
    std::uint32_t moves = 0;
    std::uint32_t score = 0;
};

// The summary line "solved N moves, score S in T ms"; fails the test on other output.
Solved parseSolved(const std::string& output) {
    static const std::regex summary(R"(solved (\d+) moves, score (\d+) in \d+ ms\n)");
    std::smatch match;
    if (!std::regex_match(output, match, summary)) {
        ADD_FAILURE() << "not a solve summary: " << output;
        return {};
    }
    return {static_cast<std::uint32_t>(std::stoul(match[1])), static_cast<std::uint32_t>(std::stoul(match[2]))};
}

// Checks that the move file holds the reported moves and that verify replays
// it whole, to the score reported.
void expectReplays(const TempDir& dir, const std::string& level, const std::string& file, const Solved& solved) {
    const std::vector<std::string> lines = linesOf(readFileBytes(dir.path() / file));
    EXPECT_EQ(lines.size(), solved.moves);
    const ProgramRun verify = verifyIn(dir, level, file);
    EXPECT_EQ(verify.exitStatus, 0) << verify.output;
    const VerifyVerdict verdict = parseVerifyVerdict(verify.output);
    EXPECT_EQ(verdict.moves, solved.moves);
    EXPECT_EQ(verdict.score, solved.score);
}

TEST(ToolSolve, AFixedWidthGivesOneFileForAnyThreadCountThatReplaysToTheScoreReported) {
    TempDir dir;
    const std::string level = bundledLevelFolder("small-8x8");
    std::vector<std::string> files;
    // Wide enough that three threads share each step's looks and plays.
    for (const auto& [file, threads] : {std::pair{"first.txt", "1"}, std::pair{"second.txt", "3"}}) {
        const ProgramRun run = runTool(
            dir, {"solve", "--level", level, "--moves", "1500", "--width", "40", "--threads", threads, "--out", file});
        ASSERT_EQ(run.exitStatus, 0) << run.errors;
        const Solved solved = parseSolved(run.output);
        EXPECT_EQ(solved.moves, 1500u);
        // Not a terminal: a plain progress line per thousand moves.
        EXPECT_NE(run.errors.find("solve: moves 1000, score "), std::string::npos) << run.errors;
        expectReplays(dir, level, file, solved);
        files.push_back(readFileBytes(dir.path() / file));
    }
    EXPECT_EQ(files[0], files[1]);
}

struct StopCase {
    const char* name;
    int signal;
    int status;
};

TEST(ToolSolve, AnInterruptedRunWritesEveryMoveItPlayed) {
    const StopCase cases[] = {{"Ctrl-C", SIGINT, 130}, {"terminated", SIGTERM, 143}};
    const std::string level = bundledLevelFolder("medium-20x15");
    for (const StopCase& c : cases) {
        SCOPED_TRACE(c.name);
        TempDir dir;
        const ProgramRun run = runProgramIn(dir.path(), JEWELS_TOOL_EXECUTABLE,
                                            {"solve", "--level", level, "--budget", "60", "--out", "moves.txt"},
                                            Interruption{c.signal, 1500});
        EXPECT_EQ(run.exitStatus, c.status) << run.errors;
        const Solved solved = parseSolved(run.output);
        EXPECT_GT(solved.moves, 0u);
        expectReplays(dir, level, "moves.txt", solved);
    }
}

TEST(ToolSolve, StopsWithStatus7AndEveryMoveWhenNoLineGoesOn) {
    // A small random level on which even the search's lines run out of moves,
    // searched with the settings solve takes by default, and where a rewind
    // takes back more moves than the run keeps in the end, so the file must shrink.
    SearchSettings settings;
    settings.width = 4;
    std::mt19937 random(7);
    RandomLevel level;
    std::uint32_t movesKept = 0;
    for (bool found = false; !found;) {
        Game start;
        if (!loadSettledRandomLevel(random, 7, 7, start, &level)) continue;
        Planner planner(start, 1000, settings);
        MoveList played;
        std::size_t most = 0;
        while (planner.advance(played)) {
            most = std::max(most, played.size());
            if (const std::optional<std::uint32_t> kept = planner.rewoundTo()) played.resize(*kept);
        }
        movesKept = planner.movesPlayed();
        found = planner.ranDry() && movesKept > 0 && most > movesKept;
    }
    TempDir dir;
    dir.writeLevel(joinLines(level.layout), joinLines(level.supplies));
    const ProgramRun run = runTool(dir, {"solve", "--level", ".", "--moves", "1000", "--width", "4"});
    EXPECT_EQ(run.exitStatus, 7) << run.errors;
    const Solved solved = parseSolved(run.output);
    EXPECT_EQ(solved.moves, movesKept);
    EXPECT_NE(run.errors.find("back to move 0"), std::string::npos) << run.errors;
    expectReplays(dir, ".", "uitvoer.txt", solved);
    // Verify reads uitvoer.txt in the level folder when no file is named.
    const VerifyVerdict byDefault = parseVerifyVerdict(runTool(dir, {"verify", "--level", dir.path().string()}).output);
    EXPECT_EQ(byDefault.moves, solved.moves);
    EXPECT_EQ(byDefault.score, solved.score);
}

}  // namespace
