#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "ai/survive.h"
#include "engine/candidates.h"
#include "engine/game.h"
#include "engine/gravity.h"
#include "engine/moves.h"
#include "support/level_fixture.h"
#include "support/move_printing.h"

namespace {

// A drawn field as it stands after a move: settling finds nothing to clear and
// leaves no column to scan, so a candidate's swap touches only its own columns.
Game atRest(const std::vector<std::string>& field, const std::vector<std::string>& supplies) {
    Game game = loadPicture(field, supplies);
    EXPECT_EQ(settle(game).drops, 0u);
    return game;
}

struct WeighingCase {
    const char* name;
    std::vector<std::string> field;
    std::vector<std::string> supplies;
    Move expected;
};

// Columns 0 and 8 between rock. Column 8 always holds 3 3 2 2 7 2 with supply
// "435": its one move, {8 4 Z}, lifts the bottom 2 under the two 2s for 50
// points; the column closes up to 3 3 7 under 5 3 4 from the supply, where the
// 3 at row 1 can drop onto the two 3s: one move lost, one gained.
TEST(SurviveAi, WeighsPointsAgainstTenPerLegalMoveGainedOrLost) {
    const WeighingCase cases[] = {
        // Columns 0 and 2, 1 6 1 1 7 1 each, offer two moves onto the same two
        // 1s, {c 4 Z} and {c 0 Z}; either clears them, 50 points, and supply
        // "890" brings no new move: two moves lost, 50 - 20 = 30. {8 4 Z}: 50.
        // The moves of column 2 lie near column 0 but far from column 8, so
        // they are counted again after column 0's moves, carried over after
        // column 8's.
        {"50 points keeping the count beat 50 points losing two moves",
         {"1#1#####3", "6#6#####3", "1#1#####2", "1#1#####2", "7#7#####7", "1#1#####2"},
         {"890", "0", "890", "0", "0", "0", "0", "0", "435"}, {8, 4, South}},
        // Column 0, 2 2 1 2 1 1, has one move, {0 2 Z}, completing 2 2 2 and
        // 1 1 1 for 100 points; supply "567890" refills it without a move:
        // 100 - 10 = 90 beats {8 4 Z}, listed first, at 50.
        {"100 points losing one move beat 50 points keeping the count",
         {"2#######3", "2#######3", "1#######2", "2#######2", "1#######7", "1#######2"},
         {"567890", "0", "0", "0", "0", "0", "0", "0", "435"}, {0, 2, South}},
        // {2 4 Z} and {0 0 Z} each score 50 and leave only the other: 50 - 10
        // both, and the one listed first wins.
        {"equal values: the first listed wins",
         {"1#5##", "7#6##", "1#1##", "1#1##", "5#7##", "6#1##"}, {"890", "0", "890", "0", "0"}, {2, 4, South}},
    };
    for (const WeighingCase& c : cases) {
        SCOPED_TRACE(c.name);
        Game game = atRest(c.field, c.supplies);
        Move out = {0, 0, East};
        ASSERT_TRUE(SurviveAi().chooseMove(out, game));
        EXPECT_EQ(out, c.expected);
    }
}

TEST(SurviveAi, WithoutALegalMoveAnswersFalseAndLeavesTheGameAlone) {
    // Jewel (c, r) is 5 + (c + 2r) mod 5: no three cells in a line can match.
    Game game = loadPicture({"56789", "78956", "95678", "67895", "89567"});
    const Game before(game);
    const Move untouched = {3, 1, West};
    Move out = untouched;
    EXPECT_FALSE(SurviveAi().chooseMove(out, game));
    EXPECT_EQ(out, untouched);
    EXPECT_TRUE(game == before);
}

TEST(SurviveAi, ChangesOnlyTheTouchedRangeOfTheGivenGameWhichItEmpties) {
    Game game = loadSettledLevel("medium-20x15");
    SurviveAi ai;
    for (int move = 0; move < 20; ++move) {
        SCOPED_TRACE("move " + std::to_string(move));
        const Game before(game);
        Move out = {0, 0, East};
        ASSERT_TRUE(ai.chooseMove(out, game));
        EXPECT_EQ(game.touchedFirst, Level.columnCount);
        EXPECT_EQ(game.touchedLast, 0u);
        Game restored(game);
        restored.touchedFirst = before.touchedFirst;
        restored.touchedLast = before.touchedLast;
        EXPECT_TRUE(restored == before);
        swap(game, out);
        ASSERT_TRUE(settle(game).settled);
    }
}

// The first candidate of greatest value, with the legal moves after each
// candidate counted over the whole field rather than carried over and re-tested
// near the move.
Move firstOfGreatestValue(const Game& game) {
    MoveList legal;
    const auto movesBefore = static_cast<std::int32_t>(enumerateAll(game, &legal));
    Move best = legal.front();
    std::int32_t bestValue = 0;
    for (std::size_t index = 0; index < legal.size(); ++index) {
        Game after(game);
        swap(after, legal[index]);
        settle(after);
        const auto points = static_cast<std::int32_t>(after.score - game.score);
        const auto movesAfter = static_cast<std::int32_t>(enumerateAll(after, nullptr));
        const std::int32_t value = points + 10 * (movesAfter - movesBefore);
        if (index == 0 || value > bestValue) {
            best = legal[index];
            bestValue = value;
        }
    }
    return best;
}

TEST(SurviveAi, ChoosesTheFirstMoveOfGreatestValueMoveAfterMove) {
    struct Case {
        const char* level;
        int moves;
    };
    // The large level's lists grow far beyond the 100 moves reserved.
    const Case cases[] = {{"small-8x8", 300}, {"medium-20x15", 300}, {"large-50x50", 10}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.level);
        Game game = loadSettledLevel(c.level);
        SurviveAi ai;
        for (int move = 0; move < c.moves; ++move) {
            SCOPED_TRACE("move " + std::to_string(move));
            if (enumerateAll(game, nullptr) == 0) break;
            const Move expected = firstOfGreatestValue(game);
            Move out = {0, 0, East};
            ASSERT_TRUE(ai.chooseMove(out, game));
            ASSERT_EQ(out, expected);
            swap(game, out);
            ASSERT_TRUE(settle(game).settled);
        }
    }
}

}  // namespace
