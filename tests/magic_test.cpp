// MagicAi and RecursiveMagicAi: ratings followed by hand on one-row fields; and
// all the searching strategies on a field without moves and on a real level.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "ai/magic.h"
#include "ai/recursive.h"
#include "ai/recursive_magic.h"
#include "engine/gravity.h"
#include "support/level_fixture.h"
#include "support/strategy_fixture.h"

namespace {

// Moves at columns 0 (50), 4 (two runs: 100) and 8 (50). Column 4 clears
// columns 2-7 and leaves no move; column 0 leaves columns 4 and 8 their moves.
const std::string kOneAboveAverage = "0200101131";
// Moves at columns 0, 4 and 9, 50 each. Columns 0 and 4 share a pair, so each
// leaves only column 9; column 9 leaves both.
const std::string kSharedPair = "02003041151";

struct MagicCase {
    const char* name;
    std::string row;
    std::vector<std::string> supplies;  // {}: inert supplies
    Move move;
};

// Inert, except that columns 14-16 refill 5 5 5 once.
const std::vector<std::string> kCascadeAt14Supplies = {"7", "8", "9", "7", "8", "9", "7", "8", "9",
                                                       "7", "8", "9", "7", "8", "59", "57", "58"};

TEST(MagicAi, RatesMovesByGainAndNearbyFollowUps) {
    // With inert refills a move's cleared columns are exactly its runs, and a
    // follow-up earns what its own runs earn.
    const MagicCase cases[] = {
        // Average 66: only column 4 qualifies, and nothing follows it (100).
        // Rated too, column 0 would reach column 4, whose swap still makes the
        // run of 1s: 50 + 10 + 50.
        {"only a move at or above the average gets a bonus", kOneAboveAverage, {}, {4, 0, East}},
        // Both earn 50, the average. Column 6 clears 4-6 and column 2 lies within
        // reach: 50 + 10 + 50. Column 2 clears 0-2 and column 6 lies out of reach.
        {"a gain equal to the average qualifies", "00201131", {}, {6, 0, East}},
        // Column 9 clears 7-9; column 4, three columns to the left, still has its
        // move: 110. Columns 0 and 4 each break the other and cannot reach 9.
        {"a follow-up three columns from the cleared ones counts", kSharedPair, {}, {9, 0, East}},
        // Columns 2 and 11 make two runs (100), column 18 one (50): average 83.
        // Column 11 clears 9-14, and column 18 lies four columns beyond: both
        // 100-moves stay at 100, and the earlier wins.
        {"a follow-up four columns from the cleared ones counts nothing", "0010112523343440105655", {}, {2, 0, East}},
        // The same group twice: its first move (columns 0 and 10) reaches the
        // second, 50 + 10 + 50; the second does not reach the first.
        {"equal ratings keep the earlier move", "020011315623224454", {}, {0, 0, East}},
        // All six earn 50. Column 0 reaches columns 5 and 6, which share a pair:
        // each alone earns 50, so 50 + 20 + 100. Column 14 reaches columns 12 and
        // 18, which do not interfere: also 170, but later. Played one after
        // the other, column 0's follow-ups would earn only 50.
        {"each follow-up starts from the candidate's position", "2322001003445460661311", {}, {0, 0, East}},
        // Columns 2, 8 and 20 make two runs (100), columns 16 and 24 one (50):
        // average 80. Column 2 reaches column 8: 100 + 10 + 100. Column 20
        // reaches columns 16 and 24: 100 + 20 + 100. Column 8 reaches nothing.
        {"each follow-up adds 10 besides its gain", "0010112232334566460010112322", {}, {20, 0, East}},
        // Columns 2, 14 and 20 make two runs, column 6 one: average 87. Column 2
        // reaches column 6: 100 + 10 + 50. Column 14 reaches column 20:
        // 100 + 10 + 100. Column 20 reaches nothing.
        {"a richer follow-up is worth more", "001011232201445455001011", {}, {14, 0, East}},
        // Column 2 makes two runs (100). Column 13 moves its 3 to column 14 and
        // clears 14-16, whose refill 5 5 5 clears again (100); column 10 (50,
        // below the average of 83) lies four columns left of 14, out of reach,
        // though only three left of the swapped column 13.
        {"the swapped columns themselves do not widen the reach", "00101145224253633", kCascadeAt14Supplies,
         {2, 0, East}},
    };
    for (const MagicCase& c : cases) {
        SCOPED_TRACE(c.name);
        Game game = loadRow(c.row, c.supplies);
        const Game before = game;
        MagicAi ai;
        Move move = kPresetMove;
        EXPECT_TRUE(ai.chooseMove(move, game));
        EXPECT_EQ(move, c.move);
        EXPECT_TRUE(game == before);
    }
}

struct RecursiveMagicCase {
    const char* name;
    std::string row;
    unsigned depth;
    Move move;
    std::uint32_t value;
};

TEST(RecursiveMagicAi, ExtendsOnlyMovesAtOrAboveTheAverage) {
    const RecursiveMagicCase cases[] = {
        // Best gain 100, one move of three at or above the average of 66.
        {"one move: the best gain plus 10 per qualifying move", kOneAboveAverage, 1, {4, 0, East}, 110},
        {"one move: the earliest of equal gains", kSharedPair, 1, {0, 0, East}, 50 + 3 * 10},
        // Column 4 leaves nothing: 100 + 0, plus 10 for itself. Extended too,
        // column 0 would be worth 50 + (50 + 2 * 10) and win.
        {"two moves: a move below the average is not extended", kOneAboveAverage, 2, {4, 0, East}, 110},
        {"three moves: a move below the average is not extended", kOneAboveAverage, 3, {4, 0, East}, 110},
        // After column 0 or 4 only column 9 is left: 50 + (50 + 10). After column 9
        // both are left: 50 + (50 + 2 * 10). Plus 3 * 10 at the top.
        {"two moves: a position with more good moves is worth more", kSharedPair, 2, {9, 0, East}, 120 + 3 * 10},
        // The third move finds nothing left after any two.
        {"three moves: a position with more good moves is worth more", kSharedPair, 3, {9, 0, East}, 120 + 3 * 10},
    };
    for (const RecursiveMagicCase& c : cases) {
        SCOPED_TRACE(c.name);
        Game game = loadRow(c.row);
        const Game before = game;
        const Searched searched = searchAtDepth<RecursiveMagicAi>(c.depth, game);
        EXPECT_TRUE(searched.answered);
        EXPECT_EQ(searched.move, c.move);
        EXPECT_EQ(searched.value, c.value);
        EXPECT_TRUE(game == before);
    }
}

TEST(RecursiveMagicAi, OneMoveDeepPlaysLikeTheOneMoveSearch) {
    Game game = loadSettledLevel("small-8x8");
    RecursiveMagicAi<1> magic;
    SimpleRecursiveAi<1> simple;
    for (unsigned played = 0; played < 200; ++played) {
        SCOPED_TRACE(played);
        Move magicMove = kPresetMove;
        Move simpleMove = kPresetMove;
        ASSERT_TRUE(magic.chooseMove(magicMove, game));
        ASSERT_TRUE(simple.chooseMove(simpleMove, game));
        ASSERT_EQ(magicMove, simpleMove);
        swap(game, magicMove);
        ASSERT_TRUE(settle(game).settled);
    }
}

struct Player {
    const char* name;
    Ai& ai;
    unsigned moveCount;  // on the real level
};

// Runs check on every strategy that looks further than one plain move.
template <typename Check>
void forEachSearchingStrategy(Check check) {
    SimpleRecursiveAi<1> simple1;
    SimpleRecursiveAi<2> simple2;
    SimpleRecursiveAi<3> simple3;
    MagicAi magic;
    RecursiveMagicAi<1> magic1;
    RecursiveMagicAi<2> magic2;
    RecursiveMagicAi<3> magic3;
    const Player players[] = {
        {"SimpleRecursiveAi<1>", simple1, 30}, {"SimpleRecursiveAi<2>", simple2, 30},
        {"SimpleRecursiveAi<3>", simple3, 10}, {"MagicAi", magic, 30},
        {"RecursiveMagicAi<1>", magic1, 30},   {"RecursiveMagicAi<2>", magic2, 30},
        {"RecursiveMagicAi<3>", magic3, 10},
    };
    for (const Player& player : players) {
        SCOPED_TRACE(player.name);
        check(player);
    }
}

TEST(SearchingStrategies, FieldWithoutMovesAnswersFalseAndKeepsTheMove) {
    forEachSearchingStrategy([](const Player& player) {
        Game game = loadFieldWithoutMoves();
        Move move = kPresetMove;
        EXPECT_FALSE(player.ai.chooseMove(move, game));
        EXPECT_EQ(move, kPresetMove);
    });
}

TEST(SearchingStrategies, OnARealLevelAnswerACandidateAndLeaveTheGameAlone) {
    forEachSearchingStrategy([](const Player& player) {
        Game game = loadSettledLevel("small-8x8");
        for (unsigned played = 0; played < player.moveCount; ++played) {
            const Game before = game;
            Move move = kPresetMove;
            ASSERT_TRUE(player.ai.chooseMove(move, game));
            ASSERT_TRUE(game == before);
            ASSERT_TRUE(move.direction == East || move.direction == South);
            ASSERT_TRUE(isCandidate(game, move));
            swap(game, move);
            ASSERT_TRUE(settle(game).settled);
        }
    });
}

}  // namespace
