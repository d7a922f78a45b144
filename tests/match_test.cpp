// The match runner's chunks, failures, rewinds and move file, on short matches
// (1000-move chunks, checkpoints every 100) of the 8x8 level whose failures
// the test chooses.
#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "ai/magic.h"
#include "ai/survive.h"
#include "driver/match.h"
#include "driver/move_file.h"
#include "support/level_fixture.h"
#include "support/tool_run.h"

namespace {

// Plays as the strategy it wraps, except on the calls it was told to fail.
template <typename Inner>
class ScriptedAi : public Ai {
public:
    explicit ScriptedAi(std::set<std::uint32_t> failingCalls) : failingCalls_(std::move(failingCalls)) {}

    bool chooseMove(Move& out, Game& game) override {
        if (failingCalls_.count(calls_++) != 0) return false;
        return inner_.chooseMove(out, game);
    }

private:
    std::set<std::uint32_t> failingCalls_;
    std::uint32_t calls_ = 0;
    Inner inner_;
};

std::set<std::uint32_t> everyCall() {
    std::set<std::uint32_t> calls;
    for (std::uint32_t call = 0; call < 100; ++call) calls.insert(call);
    return calls;
}

struct MatchCase {
    const char* name;
    std::set<std::uint32_t> failingCalls;
    std::set<std::uint32_t> fallbackFailingCalls;
    std::uint32_t totalMoves;
    MatchResult result;
    std::vector<std::string> lines;  // in this order in the output
    std::size_t resets;
    std::size_t movesWritten;
};

TEST(MatchRunner, FailuresRewindToTheLatestUnusedCheckpointAndTheFileHoldsTheGamePlayed) {
    const MatchCase cases[] = {
        {"no failure: a chunk line and a choice per chunk",
         {},
         {},
         3000,
         MatchResult::Completed,
         {"Best ai is #0\nScore ", "3000 moves left, best ai = #0\n", "1000 moves left, best ai = #0\n"},
         0,
         3000},
        {"a failure at 250 rewinds to 200",
         {250},
         {},
         2000,
         MatchResult::Completed,
         {"Ai #0 failed at move 250, retrying with survive ai\n", "Resetting to move (2) 200\n",
          "1000 moves left, best ai = #0\n"},
         1,
         2000},
        {"a failure at 300 rewinds to 300 itself",
         {300},
         {},
         2000,
         MatchResult::Completed,
         {"Ai #0 failed at move 300, retrying with survive ai\n", "Resetting to move (3) 300\n"},
         1,
         2000},
        // The fallback's 31st call is move 230; checkpoint 2 is used, so 1 is next.
        {"a used checkpoint is passed over",
         {250},
         {30},
         2000,
         MatchResult::Completed,
         {"Resetting to move (2) 200\n", "Ai #7777 failed at move 230, retrying with survive ai\n",
          "Resetting to move (1) 100\n"},
         2,
         2000},
        // Moves 900 to 999 are played anew, so the file is written again from the start.
        {"a rewind into the chunk before",
         {1000},
         {0},
         2000,
         MatchResult::Completed,
         {"Resetting to move (10) 1000\n", "Resetting to move (9) 900\n"},
         2,
         2000},
        // Chunk three fails at its start and again at once; 1900, used in chunk two, is free again.
        {"a checkpoint used in one chunk is free in the next",
         {1950, 1951},
         {100},
         3000,
         MatchResult::Completed,
         {"Resetting to move (19) 1900\n", "Ai #0 failed at move 2000, retrying with survive ai\n",
          "Resetting to move (20) 2000\n", "Ai #7777 failed at move 2000, retrying with survive ai\n",
          "Resetting to move (19) 1900\n"},
         3,
         3000},
        // 1200, 1100, 1000, then chunk one's checkpoints down to 0; none is left then.
        {"every checkpoint used gives up and keeps the chunks done",
         {1250},
         everyCall(),
         3000,
         MatchResult::GaveUp,
         {"Resetting to move (0) 0\n",
          "Ai #7777 failed at move 0, retrying with survive ai\n"
          "No f*cking way: can't solve these 1000 moves... not even in survival mode.. i FAILED\n"},
         13,
         1000},
    };
    for (const MatchCase& c : cases) {
        SCOPED_TRACE(c.name);
        TempDir dir;
        dir.write(kMoveFileName, "left over from an earlier run\n");
        Game game = loadSettledLevel("small-8x8");
        Roster roster;
        roster[0] = std::make_unique<ScriptedAi<SurviveAi>>(c.failingCalls);
        PerformanceTable table;
        table[0] = {roster[0].get(), 1.0f, 1.0f, 1.0f, 1.0f};
        // The fallback plays otherwise than the roster strategy, so replayed moves differ.
        ScriptedAi<MagicAi> fallback(c.fallbackFailingCalls);
        const std::filesystem::path before = std::filesystem::current_path();
        std::filesystem::current_path(dir.path());
        testing::internal::CaptureStdout();
        const MatchResult result =
            playMatch(roster, table, game, MatchRules{c.totalMoves, 1000, 100, 1000000}, fallback);
        const std::string output = testing::internal::GetCapturedStdout();
        std::filesystem::current_path(before);

        EXPECT_EQ(result, c.result);
        std::size_t at = 0;
        for (const std::string& line : c.lines) {
            at = output.find(line, at);
            ASSERT_NE(at, std::string::npos) << "missing or out of order: " << line;
        }
        EXPECT_EQ(countOf(output, "Resetting"), c.resets);
        // Every chunk begun chose its strategy, and none after a give-up.
        const std::size_t chunksBegun =
            result == MatchResult::Completed ? c.totalMoves / 1000 : c.movesWritten / 1000 + 1;
        EXPECT_EQ(countOf(output, "Best ai is #0\n"), chunksBegun);
        EXPECT_EQ(countOf(output, "best ai = #0\n"), chunksBegun);
        const std::string moveFile = readFileBytes(dir.path() / kMoveFileName);
        EXPECT_EQ(countOf(moveFile, "\n"), c.movesWritten);
        const std::vector<std::string> written = linesOf(moveFile);
        const Game replay = replayWithLibrary(written, written.size());
        // The same cells, cursors, score and dirty range; the touched range
        // depends on which strategies looked at the game, not on the moves.
        if (result == MatchResult::Completed) {
            Game replayWithTouchedOfGame(replay);
            replayWithTouchedOfGame.touchedFirst = game.touchedFirst;
            replayWithTouchedOfGame.touchedLast = game.touchedLast;
            EXPECT_TRUE(replayWithTouchedOfGame == game);
        }
        // The file that replaced the first chunk's lines took the move file's name.
        EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1);
    }
}

}  // namespace
