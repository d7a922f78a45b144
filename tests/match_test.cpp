#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "driver/match.h"
#include "ai/magic.h"
#include "ai/survive.h"
#include "driver/move_file.h"
#include "engine/candidates.h"
#include "engine/gravity.h"
#include "support/level_fixture.h"
#include "support/run_program.h"
#include "support/tool_run.h"

namespace {

// Plays as the strategy it wraps, except on the calls it was told to fail: a
// strategy whose failures the test chooses.
template <typename Inner>
class ScriptedAi : public Ai {
public:
    explicit ScriptedAi(std::set<std::uint32_t> failingCalls) : failingCalls_(std::move(failingCalls)) {}

    bool chooseMove(Move& out, Game& game) override {
        const std::uint32_t call = calls_++;
        if (failingCalls_.count(call) != 0) return false;
        return inner_.chooseMove(out, game);
    }

private:
    std::set<std::uint32_t> failingCalls_;
    std::uint32_t calls_ = 0;
    Inner inner_;
};

// Both keep the small level going for thousands of moves; the fallback plays
// otherwise than the roster strategy, so that moves replayed after a rewind
// differ from the ones first played.
using ScriptedRosterAi = ScriptedAi<SurviveAi>;
using ScriptedFallbackAi = ScriptedAi<MagicAi>;

// Runs a short match (1000-move chunks, checkpoints every 100) on the settled
// 8x8 level in a folder of its own, with strategy #0 the only one measured.
struct ShortMatch {
    TempDir dir;
    Game game = loadSettledLevel("small-8x8");
    Roster roster;
    PerformanceTable table;
    std::string output;
    MatchResult result = MatchResult::Completed;

    void play(std::set<std::uint32_t> failingCalls, std::set<std::uint32_t> fallbackFailingCalls,
              std::uint32_t totalMoves) {
        roster[0] = std::make_unique<ScriptedRosterAi>(std::move(failingCalls));
        table[0] = {roster[0].get(), 1.0f, 1.0f, 1.0f, 1.0f};
        ScriptedFallbackAi fallback(std::move(fallbackFailingCalls));
        const std::filesystem::path before = std::filesystem::current_path();
        std::filesystem::current_path(dir.path());
        testing::internal::CaptureStdout();
        result = playMatch(roster, table, game, MatchRules{totalMoves, 1000, 100, 1000000}, fallback);
        output = testing::internal::GetCapturedStdout();
        std::filesystem::current_path(before);
    }

    std::vector<std::string> moveLines() const {
        std::ifstream in(dir.path() / kMoveFileName);
        std::vector<std::string> lines;
        for (std::string line; std::getline(in, line);) lines.push_back(line);
        return lines;
    }

    // Replays the move file from the settled start: every line must be a legal
    // move, and the game reached must be the game the match left.
    Game replayMoveFile() const {
        Game replay = loadSettledLevel("small-8x8");
        for (const std::string& line : moveLines()) {
            std::istringstream fields(line);
            Move move{};
            char letter = 0;
            fields >> move.column >> move.row >> letter;
            move.direction = static_cast<std::uint32_t>(std::string("NOZW").find(letter));
            MoveList legal;
            enumerateAll(replay, &legal);
            EXPECT_NE(std::find(legal.begin(), legal.end(), move), legal.end()) << "illegal line: " << line;
            swap(replay, move);
            settle(replay);
        }
        return replay;
    }
};

// Equal cells, cursors, score and dirty range; the touched range depends on which
// strategies looked at the game, not on the moves played.
bool samePlay(const Game& a, const Game& b) {
    Game aWithTouchedOfB(a);
    aWithTouchedOfB.touchedFirst = b.touchedFirst;
    aWithTouchedOfB.touchedLast = b.touchedLast;
    return aWithTouchedOfB == b;
}

bool contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

struct FailureCase {
    const char* name;
    std::set<std::uint32_t> failingCalls;
    std::set<std::uint32_t> fallbackFailingCalls;
    std::vector<std::string> expectedLines;  // in this order in the output
};

TEST(MatchRunner, FailuresSwitchToTheFallbackAndRewindToAnUnusedCheckpoint) {
    const FailureCase cases[] = {
        {"failure at 250 rewinds to the checkpoint at 200",
         {250},
         {},
         {"Ai #0 failed at move 250, retrying with survive ai\n", "Resetting to move (2) 200\n"}},
        // The fallback's 31st call is move 230; checkpoint 2 is used, so 1 is next.
        {"fallback failing at 230 rewinds to 100",
         {250},
         {30},
         {"Ai #0 failed at move 250, retrying with survive ai\n", "Resetting to move (2) 200\n",
          "Ai #7777 failed at move 230, retrying with survive ai\n", "Resetting to move (1) 100\n"}},
        {"failure at 300 rewinds to 300 itself",
         {300},
         {},
         {"Ai #0 failed at move 300, retrying with survive ai\n", "Resetting to move (3) 300\n"}},
    };
    for (const FailureCase& c : cases) {
        SCOPED_TRACE(c.name);
        ShortMatch match;
        match.play(c.failingCalls, c.fallbackFailingCalls, 2000);

        EXPECT_EQ(match.result, MatchResult::Completed);
        std::size_t at = 0;
        for (const std::string& line : c.expectedLines) {
            at = match.output.find(line, at);
            ASSERT_NE(at, std::string::npos) << "missing or out of order: " << line;
        }
        EXPECT_EQ(countOf(match.output, "Resetting"), c.expectedLines.size() / 2);
        // The next chunk chooses anew, and the scripted strategy plays on.
        EXPECT_TRUE(contains(match.output, "1000 moves left, best ai = #0\n"));
        EXPECT_EQ(match.moveLines().size(), 2000u);
        EXPECT_TRUE(samePlay(match.replayMoveFile(), match.game));
    }
}

TEST(MatchRunner, GivesUpWhenEveryCheckpointOfTheChunkIsUsedAndLeavesTheCompletedChunks) {
    ShortMatch match;
    // Chunk two (moves 1000 to 1999) fails at 1250; the fallback then fails at
    // once after every rewind: 1200, 1100, 1000, then checkpoints of chunk one
    // down to 0, after which none is left.
    std::set<std::uint32_t> fallbackAlwaysFails;
    for (std::uint32_t call = 0; call < 100; ++call) fallbackAlwaysFails.insert(call);
    match.play({1250}, fallbackAlwaysFails, 3000);

    EXPECT_EQ(match.result, MatchResult::GaveUp);
    EXPECT_TRUE(contains(match.output, "Resetting to move (0) 0\n"));
    EXPECT_TRUE(contains(match.output, "Ai #7777 failed at move 0, retrying with survive ai\n"
                                       "No f*cking way: can't solve these 1000 moves... not even in survival mode.. "
                                       "i FAILED\n"));
    EXPECT_EQ(countOf(match.output, "Resetting"), 13u);
    EXPECT_FALSE(contains(match.output, "1000 moves left"));
    // Only the first chunk was completed: its lines stay, and they replay legally.
    EXPECT_EQ(match.moveLines().size(), 1000u);
    match.replayMoveFile();
}

TEST(MatchRunner, RewindIntoTheChunkBeforeRewritesTheMoveFileToTheGamePlayed) {
    ShortMatch match;
    // Fails on the first move of chunk two; the fallback fails right there too,
    // so the rewind goes back to move 900 and replays moves already written.
    match.play({1000}, {0}, 2000);

    EXPECT_EQ(match.result, MatchResult::Completed);
    EXPECT_TRUE(contains(match.output, "Resetting to move (10) 1000\n"));
    EXPECT_TRUE(contains(match.output, "Resetting to move (9) 900\n"));
    EXPECT_EQ(match.moveLines().size(), 2000u);
    EXPECT_TRUE(samePlay(match.replayMoveFile(), match.game));
}

TEST(MatchRunner, WritesEachChunkAfterItAndEmptiesALeftoverFileWhenTheMatchBegins) {
    ShortMatch match;
    match.dir.write(kMoveFileName, "left over from an earlier run\n");
    match.play({}, {}, 3000);

    EXPECT_EQ(match.result, MatchResult::Completed);
    EXPECT_EQ(countOf(match.output, "Best ai is #0\n"), 3u);
    EXPECT_TRUE(contains(match.output, "3000 moves left, best ai = #0\n"));
    EXPECT_TRUE(contains(match.output, "1000 moves left, best ai = #0\n"));
    const std::vector<std::string> lines = match.moveLines();
    ASSERT_EQ(lines.size(), 3000u);
    EXPECT_NE(lines[0], "left over from an earlier run");
    EXPECT_TRUE(samePlay(match.replayMoveFile(), match.game));
    // The file that replaced the first chunk's lines took the move file's name.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(match.dir.path()), {}), 1);
}

TEST(MoveFile, WritesOneColumnRowLetterLinePerMove) {
    TempDir dir;
    {
        MoveFile file(dir.file("moves.txt"));
        file.writeMove(3, 7, 2);
        file.writeMove(Move{12, 0, 1});
        file.writeMove(0, 10, 0);
        file.writeMove(49, 49, 3);
    }
    EXPECT_EQ(readFileBytes(dir.path() / "moves.txt"), "3 7 Z\n12 0 O\n0 10 N\n49 49 W\n");
}

TEST(MoveFile, ThatCannotBeMadeThrowsItsMessage) {
    TempDir dir;
    std::filesystem::create_directory(dir.path() / "uitvoer.txt");
    try {
        MoveFile file(dir.file("uitvoer.txt"));
        FAIL() << "a directory cannot be opened as the move file";
    } catch (const std::runtime_error& error) {
        EXPECT_STREQ(error.what(), "Couldn't open output file");
    }
}

}  // namespace
