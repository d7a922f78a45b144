// SimpleRecursiveAi: searches followed by hand on one-row fields, and the
// two-move choice re-counted the long way on a real level.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "ai/recursive.h"
#include "engine/candidates.h"
#include "engine/gravity.h"
#include "support/level_fixture.h"
#include "support/strategy_fixture.h"

namespace {

struct SearchCase {
    const char* name;
    std::string row;
    std::vector<std::string> supplies;  // {}: inert supplies
    unsigned depth;
    Move move;
    std::uint32_t total;
};

// Refills that turn column 6 into a pair of 2s and columns 6-8 into 5 5 5.
const std::vector<std::string> kLaterGainSupplies = {"7", "8", "9", "7", "8", "9", "257", "58", "59", "7"};
// Refills 5 5 5 into columns 3-5 once, then nothing that matches.
const std::vector<std::string> kDeadEndSupplies = {"7", "8", "9", "57", "58", "59", "7", "8"};

TEST(SimpleRecursiveAi, ChoosesTheFirstMoveOfTheBestSequence) {
    const SearchCase cases[] = {
        // Moves at columns 0 (one run), 4 (two runs: 100) and 8 (one run).
        {"one move: the highest gain, though listed second", "0200101131", {}, 1, {4, 0, East}, 100},
        // Moves at columns 0, 4 and 9 each make one run of three.
        {"one move: the earliest of equal gains", "02003041151", {}, 1, {0, 0, East}, 50},
        // Column 2 makes two runs (100) and breaks the pair column 6 needs; its
        // refill is inert, so nothing follows. Column 6 makes one run (50), and
        // its refill pairs a 2 with the 2 it pushed to column 7, so column 8 can
        // add a third (50), whose refill 5 5 5 clears once more (50).
        {"one move on the later-gain field takes the two runs", "0010112132", kLaterGainSupplies, 1, {2, 0, East},
         100},
        {"two moves: less now for more after", "0010112132", kLaterGainSupplies, 2, {6, 0, East}, 150},
        // After column 6 and column 8, column 2 still earns 50.
        {"three moves: the same first move and both follow-ups", "0010112132", kLaterGainSupplies, 3,
         {6, 0, East}, 200},
        // Column 0 earns 50 and column 7 earns 100; neither disturbs the other,
        // so both orders total 150.
        {"one move on the equal-totals field", "02003114144", {}, 1, {7, 0, East}, 100},
        {"two moves: equal totals keep the earlier first move", "02003114144", {}, 2, {0, 0, East}, 150},
        // Column 2 clears columns 0-5 (100), whose refill 5 5 5 clears again (50),
        // and leaves no move at all. Column 6 earns 50 and leaves column 2 one
        // run of 0s (50), then nothing.
        {"two moves: a move that leaves nothing can win", "00101121", kDeadEndSupplies, 2, {2, 0, East}, 150},
        {"three moves: a move that leaves nothing can win", "00101121", kDeadEndSupplies, 3, {2, 0, East}, 150},
    };
    for (const SearchCase& c : cases) {
        SCOPED_TRACE(c.name);
        Game game = loadRow(c.row, c.supplies);
        const Game before = game;
        const Searched searched = searchAtDepth<SimpleRecursiveAi>(c.depth, game);
        EXPECT_TRUE(searched.answered);
        EXPECT_EQ(searched.move, c.move);
        EXPECT_EQ(searched.value, c.total);
        EXPECT_TRUE(game == before);
    }
}

// The long way round: fresh lists and fresh copies for every move tried.
struct Played {
    Game game;
    std::uint32_t points;
};

Played playedOnCopy(const Game& from, const Move& move) {
    Played played{from, 0};
    swap(played.game, move);
    settle(played.game);
    played.points = played.game.score - from.score;
    return played;
}

std::uint32_t naiveTwoMoveTotal(const Game& game, const Move& first) {
    const Played afterFirst = playedOnCopy(game, first);
    MoveList seconds;
    enumerateAll(afterFirst.game, &seconds);
    std::uint32_t bestSecond = 0;
    for (const Move& second : seconds) bestSecond = std::max(bestSecond, playedOnCopy(afterFirst.game, second).points);
    return afterFirst.points + bestSecond;
}

TEST(SimpleRecursiveAi, TwoMoveChoiceMatchesANaiveRecount) {
    Game game = loadSettledLevel("small-8x8");
    SimpleRecursiveAi<2> ai;
    for (unsigned played = 0; played < 40; ++played) {
        SCOPED_TRACE(played);
        MoveList firsts;
        enumerateAll(game, &firsts);
        ASSERT_FALSE(firsts.empty());
        std::vector<std::uint32_t> totals;
        for (const Move& first : firsts) totals.push_back(naiveTwoMoveTotal(game, first));
        const auto best = std::max_element(totals.begin(), totals.end());  // the first of equal maxima

        Move move = kPresetMove;
        ASSERT_TRUE(ai.chooseMove(move, game));
        EXPECT_EQ(move, firsts[static_cast<std::size_t>(best - totals.begin())]);
        EXPECT_EQ(ai.search(nullptr, 1, game), *best);

        swap(game, move);
        settle(game);
    }
}

}  // namespace
