// jewels-tool play and bench: play held to the library's own playMoves, bench
// to jewels' benchmark; and verify and show replaying what play wrote.
#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "ai/play_moves.h"
#include "ai/survive.h"
#include "driver/benchmark.h"
#include "driver/match.h"
#include "support/level_fixture.h"
#include "support/run_program.h"
#include "support/tool_run.h"

namespace {

struct LibraryPlay {
    std::uint32_t startScore = 0;
    std::uint32_t points = 0;
    std::uint32_t moves = 0;
};

// The same play done in this process with the library's playMoves.
LibraryPlay playWithLibrary(const std::string& level, unsigned strategy, std::uint32_t moves) {
    Game game = loadSettledLevel(level);
    const std::unique_ptr<Ai> ai =
        strategy == kFallbackAiNumber ? std::make_unique<SurviveAi>() : makeRosterAi(strategy);
    LibraryPlay play;
    play.startScore = game.score;
    play.points = playMoves(game, *ai, moves, [&play](const Move&, const Game&) { ++play.moves; });
    return play;
}

struct RoundTripCase {
    const char* level;
    std::string ai;
    unsigned strategy;  // the number the name stands for
    std::uint32_t moves;
    std::uint32_t every;                 // verify's --every
    std::optional<std::uint32_t> after;  // show's --after; none: the whole file
};

TEST(ToolPlay, PlaysAsPlayMovesAndVerifyAndShowReplayItsFileToTheScoresItPrinted) {
    const RoundTripCase cases[] = {
        // The small level's first fill scores nothing, the medium level's does.
        {"small-8x8", "0", 0, 40, 7, std::nullopt},
        {"small-8x8", "SurviveAi", kFallbackAiNumber, 25, 25, 0},
        {"medium-20x15", "MagicAi", 6, 20, 1, 4},
        {"medium-20x15", "RecursiveMagicAi<2>", 8, 5, 21, 5},
    };
    for (const RoundTripCase& c : cases) {
        SCOPED_TRACE(std::string(c.level) + ", " + c.ai);
        TempDir dir;
        const std::string level = bundledLevelFolder(c.level);
        const PlayedFile played = playInto(dir, level, c.ai, c.moves);
        const LibraryPlay expected = playWithLibrary(c.level, c.strategy, c.moves);
        const PlayOutput& output = played.output;
        ASSERT_EQ(output.moves.size(), expected.moves);
        ASSERT_GT(expected.moves, 0u);
        EXPECT_EQ(output.totalMoves, expected.moves);
        EXPECT_EQ(output.totalPoints, expected.points);
        EXPECT_EQ(output.moves.back().score, expected.startScore + output.totalPoints);
        ASSERT_EQ(played.lines.size(), output.moves.size());
        for (std::uint32_t number = 0; number < output.moves.size(); ++number) {
            EXPECT_EQ(output.moves[number].number, number);
            EXPECT_EQ(output.moves[number].moveLine, played.lines[number]);
        }

        std::string progress;
        for (std::uint32_t moves = c.every; moves <= expected.moves; moves += c.every)
            progress += "after " + std::to_string(moves) + " moves: score " +
                        std::to_string(output.moves[moves - 1].score) + "\n";
        const ProgramRun verified = verifyIn(dir, level, "moves.txt", {"--every", std::to_string(c.every)});
        EXPECT_EQ(verified.exitStatus, 0);
        EXPECT_EQ(verified.output, progress + "ok " + std::to_string(expected.moves) + " moves, score " +
                                       std::to_string(output.moves.back().score) + "\n");

        // Show's drawing is held to jewels' own by ToolShow; here its score after the moves.
        std::vector<std::string> show = {"show", "--level", level, "--moves", "moves.txt"};
        if (c.after) show.insert(show.end(), {"--after", std::to_string(*c.after)});
        const ProgramRun shown = runTool(dir, show);
        const std::uint32_t shownMoves = c.after.value_or(expected.moves);
        const std::uint32_t shownScore = shownMoves == 0 ? expected.startScore : output.moves[shownMoves - 1].score;
        EXPECT_EQ(shown.exitStatus, 0) << shown.errors;
        EXPECT_TRUE(shown.output.ends_with("\nscore " + std::to_string(shownScore) + " after " +
                                           std::to_string(shownMoves) + " moves\n"))
            << shown.output;
        // Without a move file show draws the settled start.
        if (shownMoves == 0) {
            EXPECT_EQ(runTool(dir, {"show", "--level", level}).output, shown.output);
        }
    }
}

struct TimeCase {
    const char* name;
    std::vector<std::string> arguments;
    std::uint32_t moves;           // that the command makes
    const char* plainOutput = "";  // in full, where the test knows it; "": any
};

// With --time, play and verify print exactly what they print without it and
// then one more line, whose time per move is its total over the moves made
// (not asked for), within the rounding of the printed figures.
TEST(ToolTime, PlayAndVerifyEndWithTheTimePerMoveMade) {
    TempDir dir;
    const std::string small = bundledLevelFolder("small-8x8");
    playInto(dir, small, "1", 40);
    TempDir endless;
    writeLevelWhoseFirstMoveNeverSettles(endless);
    TempDir withoutMoves;
    writeLevelWithoutMoves(withoutMoves);
    const TimeCase cases[] = {
        {"play of all the moves asked for", {"play", "--level", small, "--ai", "1", "--moves", "40"}, 40},
        {"play cut short by an endless cascade",
         {"play", "--level", endless.path().string(), "--ai", "0", "--moves", "5"},
         1},
        {"play on a field without moves",
         {"play", "--level", withoutMoves.path().string(), "--ai", "0", "--moves", "5"},
         0,
         "total 0 moves 0\n"},
        {"verify", {"verify", "--level", small, "moves.txt"}, 40},
    };
    for (const TimeCase& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<std::string> timedArguments = c.arguments;
        timedArguments.push_back("--time");
        const ProgramRun plain = runTool(dir, c.arguments);
        const ProgramRun timed = runTool(dir, timedArguments);
        ASSERT_EQ(plain.exitStatus, 0) << plain.errors;
        ASSERT_EQ(timed.exitStatus, 0) << timed.errors;
        EXPECT_EQ(countOf(plain.output, "time "), 0u) << plain.output;
        if (*c.plainOutput != '\0') {
            EXPECT_EQ(plain.output, c.plainOutput);
        }
        ASSERT_TRUE(timed.output.starts_with(plain.output)) << timed.output;
        const std::string timeLine = timed.output.substr(plain.output.size());
        double totalMs = -1, perMoveMs = -1;
        int end = 0;
        ASSERT_EQ(std::sscanf(timeLine.c_str(), "time %lf ms, %lf ms per move\n%n", &totalMs, &perMoveMs, &end), 2);
        EXPECT_EQ(static_cast<std::size_t>(end), timeLine.size()) << timeLine;
        // Printed to 0.1 ms and to 0.0001 ms per move.
        if (c.moves == 0) {
            EXPECT_EQ(perMoveMs, 0.0) << timeLine;
        } else {
            EXPECT_NEAR(perMoveMs * c.moves, totalMs, 0.05 + 0.00005 * c.moves) << timeLine;
        }
    }
}

struct BenchCase {
    const char* name;
    std::vector<std::string> listArguments;
    std::vector<std::size_t> listed;  // the indices of the strategies listed, in roster order
};

// Bench prints, for each strategy listed, the report jewels' own benchmark
// prints of it: on the level without moves each fails its first trial at once.
TEST(ToolBench, PrintsJewelsBenchmarkReportOfEachListedStrategyInRosterOrder) {
    TempDir dir;
    writeLevelWithoutMoves(dir);
    const std::string jewels = withoutTimes(runProgramIn(dir.path(), JEWELS_EXECUTABLE).output);
    std::vector<std::string> reports;  // by index: from its first trial line to the empty line after the report
    for (std::size_t at = jewels.find("     Ai #0 just did"); reports.size() < kRosterSize;) {
        const std::size_t end = jewels.find("\n\n", at);
        ASSERT_NE(end, std::string::npos) << "no report of Ai #" << reports.size() << " in " << jewels;
        reports.push_back(jewels.substr(at, end + 2 - at));
        at = end + 2;
    }
    const BenchCase cases[] = {
        {"the whole roster", {}, {0, 1, 2, 3, 4, 5, 6, 7, 8, 9}},
        {"one index", {"--ai", "1"}, {1}},
        {"a name and an index", {"--ai", "MagicAi,2"}, {2, 6}},
        {"a repeated index", {"--ai", "RecursiveMagicAi<3>,0,0"}, {0, 9}},
    };
    for (const BenchCase& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<std::string> arguments = {"bench", "--level", "."};
        arguments.insert(arguments.end(), c.listArguments.begin(), c.listArguments.end());
        const ProgramRun run = runTool(dir, arguments);
        std::string expected;
        for (const std::size_t index : c.listed) expected += reports[index];
        EXPECT_EQ(run.exitStatus, 0) << run.errors;
        EXPECT_EQ(withoutTimes(run.output), expected);
    }
}

}  // namespace
