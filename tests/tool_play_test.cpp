// jewels-tool play and bench: the library's own playMoves and benchmark,
// printed; and verify and show replaying what play wrote.
#include <gtest/gtest.h>

#include <cstdio>
#include <tuple>

#include <memory>
#include <optional>
#include <regex>
#include <string>
#include <vector>

#include "ai/play_moves.h"
#include "ai/survive.h"
#include "driver/benchmark.h"
#include "driver/match.h"
#include "engine/gravity.h"
#include "level/drawing.h"
#include "support/level_fixture.h"
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

// What the program draws of a game: the next jewels, an empty line and the field.
std::string drawingOf(const Game& game) {
    testing::internal::CaptureStdout();
    drawNextJewels(game.supplyCursor);
    std::printf("\n");
    drawBoard(game);
    return testing::internal::GetCapturedStdout();
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

        std::vector<std::string> show = {"show", "--level", level, "--moves", "moves.txt"};
        if (c.after) show.insert(show.end(), {"--after", std::to_string(*c.after)});
        const ProgramRun shown = runTool(dir, show);
        loadBundledLevel(c.level);
        const std::uint32_t shownMoves = c.after.value_or(expected.moves);
        const Game game = replayWithLibrary(played.lines, shownMoves);
        EXPECT_EQ(shown.exitStatus, 0) << shown.errors;
        EXPECT_EQ(shown.output, drawingOf(game) + "score " + std::to_string(game.score) + " after " +
                                    std::to_string(shownMoves) + " moves\n");
        // Without a move file show draws the settled start.
        if (shownMoves == 0) {
            EXPECT_EQ(runTool(dir, {"show", "--level", level}).output, shown.output);
        }
    }
}

// With --time, play and verify end with one more line, whose figures agree
// with the moves made; without it the output is as before.
TEST(ToolTime, PlayAndVerifyEndWithTheTimePerMove) {
    TempDir dir;
    const std::string level = bundledLevelFolder("small-8x8");
    const ProgramRun plain = runTool(dir, {"play", "--level", level, "--ai", "1", "--moves", "40", "--out", "m.txt"});
    const ProgramRun timed = runTool(dir, {"play", "--level", level, "--ai", "1", "--moves", "40", "--time"});
    const ProgramRun verified = runTool(dir, {"verify", "--level", level, "m.txt", "--time"});
    for (const auto& [name, run, before] :
         {std::tuple{"play", timed, plain.output}, std::tuple{"verify", verified, std::string("ok 40 moves")}}) {
        SCOPED_TRACE(name);
        ASSERT_EQ(run.exitStatus, 0);
        ASSERT_EQ(run.output.rfind(before, 0), 0u);
        const std::string last = run.output.substr(run.output.rfind('\n', run.output.size() - 2) + 1);
        double totalMs = -1, perMoveMs = -1;
        ASSERT_EQ(std::sscanf(last.c_str(), "time %lf ms, %lf ms per move", &totalMs, &perMoveMs), 2) << last;
        EXPECT_GE(totalMs, 0.0);
        EXPECT_NEAR(perMoveMs * 40, totalMs, 0.1);
    }
}

TEST(ToolPlay, StopsAtOnceOnAFieldWithoutMoves) {
    TempDir dir;
    writeLevelWithoutMoves(dir);
    const ProgramRun run = runTool(dir, {"play", "--level", ".", "--ai", "0", "--moves", "5", "--out", "moves.txt"});
    EXPECT_EQ(run.exitStatus, 0) << run.errors;
    EXPECT_EQ(run.output, "total 0 moves 0\n");
    EXPECT_EQ(readFileBytes(dir.path() / "moves.txt"), "");
}

// Trial times are the only part of the output that varies from run to run.
std::string withoutTimes(const std::string& output) {
    return std::regex_replace(output, std::regex("in [0-9]+ms"), "in ?ms");
}

struct BenchCase {
    const char* name;
    std::vector<std::string> listArguments;
    RosterSelection selection;
};

TEST(ToolBench, PrintsTheBenchmarkOfTheListedStrategiesAsTheProgramDoes) {
    const BenchCase cases[] = {
        {"the whole roster", {}, kWholeRoster},
        {"one index", {"--ai", "1"}, RosterSelection{0b0000000010}},
        {"a name and an index", {"--ai", "MagicAi,2"}, RosterSelection{0b0001000100}},
        {"a repeated index", {"--ai", "RecursiveMagicAi<3>,0,0"}, RosterSelection{0b1000000001}},
    };
    for (const BenchCase& c : cases) {
        SCOPED_TRACE(c.name);
        TempDir dir;
        // Every strategy fails its first trial at once here, so the benchmark is quick.
        writeLevelWithoutMoves(dir);
        std::vector<std::string> arguments = {"bench", "--level", "."};
        arguments.insert(arguments.end(), c.listArguments.begin(), c.listArguments.end());
        const ProgramRun run = runTool(dir, arguments);

        readLayoutFile(dir.file("speelveld.txt"));
        readSupplyFile(dir.file("kolommen.txt"));
        Game game;
        initialFill(game);
        testing::internal::CaptureStdout();
        benchmarkAis(makeRoster(), game, c.selection);
        const std::string expected = testing::internal::GetCapturedStdout();
        EXPECT_EQ(run.exitStatus, 0) << run.errors;
        EXPECT_EQ(withoutTimes(run.output), withoutTimes(expected));
    }
}

}  // namespace
