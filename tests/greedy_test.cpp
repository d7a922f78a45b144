#include <algorithm>
#include <cstdint>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

#include <gtest/gtest.h>

#include "ai/greedy.h"
#include "engine/candidates.h"
#include "engine/game.h"
#include "engine/gravity.h"
#include "engine/moves.h"
#include "support/level_fixture.h"
#include "support/move_printing.h"

namespace {

using MakeAi = std::unique_ptr<Ai> (*)();

template <typename Strategy>
std::unique_ptr<Ai> make() {
    return std::make_unique<Strategy>();
}

// Jewel (c, r) is 5 + (c + 2r) mod 5: any three cells in a line are distinct, so
// no swap can make a run.
const std::vector<std::string> kNoMoveField = {"56789", "78956", "95678", "67895", "89567"};

// Columns 0 and 2 between rock, each with one move of 50 points and 1 drop:
// the 1 at (2, 5) rising under the two 1s of column 2, listed first because its
// row is lower, and the 1 at (0, 0) dropping onto the two 1s of column 0.
// Supply "890" refills either column with jewels that match nothing.
const std::vector<std::string> kTwoEqualMovesField = {"1#5##", "7#6##", "1#1##", "1#1##", "5#7##", "6#1##"};
const std::vector<std::string> kTwoEqualMovesSupplies = {"890", "0", "890", "0", "0"};

std::uint32_t pointsOf(const Game& game, const Move& move) {
    Game copy(game);
    swap(copy, move);
    settle(copy);
    return copy.score - game.score;
}

std::uint32_t dropsOf(const Game& game, const Move& move) {
    Game copy(game);
    swap(copy, move);
    return settle(copy).drops;
}

void play(Game& game, const Move& move) {
    swap(game, move);
    ASSERT_TRUE(settle(game).settled);
}

MoveList sorted(MoveList moves) {
    std::sort(moves.begin(), moves.end(), [](const Move& a, const Move& b) {
        return std::tie(a.column, a.row, a.direction) < std::tie(b.column, b.row, b.direction);
    });
    return moves;
}

struct StrategyCase {
    const char* name;
    MakeAi makeAi;
    bool resetsTouchedRange;
};

const StrategyCase kGreedyStrategies[] = {
    {"SimpleMostPointsAi", make<SimpleMostPointsAi>, false},
    {"MostPointsAi", make<MostPointsAi>, true},
    {"MostDropsAi", make<MostDropsAi>, false},
};

TEST(GreedyStrategies, WithoutALegalMoveAnswerFalseAndLeaveMoveAndGameAlone) {
    for (const StrategyCase& c : kGreedyStrategies) {
        SCOPED_TRACE(c.name);
        Game game = loadPicture(kNoMoveField);
        const Game before(game);
        const std::unique_ptr<Ai> ai = c.makeAi();
        const Move untouched = {3, 1, West};
        Move out = untouched;

        EXPECT_FALSE(ai->chooseMove(out, game));
        EXPECT_EQ(out, untouched);
        if (c.resetsTouchedRange) {
            EXPECT_EQ(game.touchedFirst, Level.columnCount);
            EXPECT_EQ(game.touchedLast, 0u);
            game.touchedFirst = before.touchedFirst;
            game.touchedLast = before.touchedLast;
        }
        EXPECT_TRUE(game == before);
    }
}

TEST(GreedyStrategies, AmongEqualCandidatesTakeTheOneListedFirst) {
    for (const StrategyCase& c : kGreedyStrategies) {
        SCOPED_TRACE(c.name);
        Game game = loadPicture(kTwoEqualMovesField, kTwoEqualMovesSupplies);
        ASSERT_EQ(pointsOf(game, {2, 4, South}), 50u);
        ASSERT_EQ(pointsOf(game, {0, 0, South}), 50u);
        ASSERT_EQ(dropsOf(game, {2, 4, South}), 1u);
        ASSERT_EQ(dropsOf(game, {0, 0, South}), 1u);
        Move out = {0, 0, East};
        ASSERT_TRUE(c.makeAi()->chooseMove(out, game));
        EXPECT_EQ(out, (Move{2, 4, South}));
    }
}

// Jewels 5 to 9 follow the background 5 + (c + 2r) mod 5, which offers no move
// by itself. Four legal moves, listed in this order:
//   {1 5 O}: the 1 at (1, 5) moves right under the two 1s of column 2: 3 cells,
//            50 points; column 2 refills with 0, 2, 4 from its supply: 1 drop.
//   {2 5 O}: the 1 at (3, 5) moves left, completing both the 1s of row 5 (columns
//            0-2) and those of column 2 (rows 3-5): one group of 5 cells, 250
//            points; columns 0, 1 and 2 take 0, 2 and 0, 2, 4 from their
//            supplies, matching nothing: 1 drop.
//   {2 4 Z}: the 1 at (2, 4) drops into row 5, making 1 1 1 1: 100 points; the
//            four columns shift down one and take 0, 2, 0, 1: 1 drop.
//   {4 2 O}: the 3 at (4, 2) moves right on top of the two 3s of column 5: 50
//            points; column 5 closes up and takes 4, 4, 4 from its supply, a run
//            that clears for 50 more and is refilled with 0, 2, 0: 100 points in
//            2 drops.
const std::vector<std::string> kPointsOrDropsField = {"567895", "789567", "956739",
                                                      "671953", "891673", "112195"};
const std::vector<std::string> kPointsOrDropsSupplies = {"0", "2", "024", "1", "8", "444020"};

TEST(GreedyStrategies, PointsStrategiesTakeTheMostPointsAndMostDropsAiTheMostRefills) {
    struct Case {
        const char* name;
        MakeAi makeAi;
        Move expected;
    };
    const Case cases[] = {
        {"SimpleMostPointsAi: 250 points in 1 drop", make<SimpleMostPointsAi>, {2, 5, East}},
        {"MostPointsAi: 250 points in 1 drop", make<MostPointsAi>, {2, 5, East}},
        {"MostDropsAi: 100 points in 2 drops", make<MostDropsAi>, {4, 2, East}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Game game = loadPicture(kPointsOrDropsField, kPointsOrDropsSupplies);
        Move out = {0, 0, East};
        ASSERT_TRUE(c.makeAi()->chooseMove(out, game));
        EXPECT_EQ(out, c.expected);
    }
}

// Three columns between rock. Column 0: swapping rows 2 and 3 completes 2 2 2
// above and 1 1 1 below, 100 points, and supply "567890" refills all six cells
// with distinct jewels. Column 2: the 1 at (2, 5) rises under two 1s, 50 points.
// Column 11: the 1 at (11, 0) drops onto two 1s, 50 points. Columns 2 and 11
// refill from "890" without a new move.
const std::vector<std::string> kCarriedOverField = {"2#5########1", "2#6########7", "1#1########1",
                                                    "2#1########1", "1#7########5", "1#1########6"};
const std::vector<std::string> kCarriedOverSupplies = {"567890", "0", "890", "0", "0", "0",
                                                       "0",      "0", "0",   "0", "0", "890"};

TEST(MostPointsAi, PrefersTheCarriedOverMoveAmongEqualPoints) {
    Game game = loadPicture(kCarriedOverField, kCarriedOverSupplies);
    // A drawn game still has every column to scan; settling finds nothing and
    // leaves it as after a move, so the next swap touches only its own column.
    ASSERT_EQ(settle(game).drops, 0u);
    MostPointsAi ai;
    Move out = {0, 0, East};

    // The first call looks at the whole field, in enumerateAll order.
    ASSERT_TRUE(ai.chooseMove(out, game));
    EXPECT_EQ(out, (Move{0, 2, South}));
    EXPECT_EQ(ai.previousCandidates(), (MoveList{{2, 4, South}, {0, 2, South}, {11, 0, South}}));
    EXPECT_TRUE(ai.currentCandidates().empty());

    play(game, out);
    ASSERT_EQ(pictureOf(game), (std::vector<std::string>{"0#5########1", "9#6########7", "8#1########1",
                                                         "7#1########1", "6#7########5", "5#1########6"}));
    Move simpleOut = {0, 0, East};
    Game simpleGame(game);
    ASSERT_TRUE(SimpleMostPointsAi().chooseMove(simpleOut, simpleGame));
    EXPECT_EQ(simpleOut, (Move{2, 4, South}));

    // Only columns 0 to 3 lie within three of the changed column 0: the move of
    // column 11 is carried over and comes first, the move of column 2 is found again.
    ASSERT_TRUE(ai.chooseMove(out, game));
    EXPECT_EQ(out, (Move{11, 0, South}));
    EXPECT_EQ(ai.previousCandidates(), (MoveList{{11, 0, South}, {2, 4, South}}));
    EXPECT_TRUE(ai.currentCandidates().empty());
}

TEST(MostPointsAi, WithoutALegalMoveKeepsItsLists) {
    Game game = loadPicture(kCarriedOverField, kCarriedOverSupplies);
    MostPointsAi ai;
    Move out = {0, 0, East};
    ASSERT_TRUE(ai.chooseMove(out, game));
    const MoveList evaluated = ai.previousCandidates();

    // The same layout with every column holding distinct jewels.
    Game stuck = loadPicture({"0#0########0", "9#9########9", "8#8########8", "7#5########7", "6#6########5",
                              "5#7########6"},
                             kCarriedOverSupplies);
    const Move before = out;
    EXPECT_FALSE(ai.chooseMove(out, stuck));
    EXPECT_EQ(out, before);
    EXPECT_EQ(ai.previousCandidates(), evaluated);
    EXPECT_TRUE(ai.currentCandidates().empty());
    EXPECT_EQ(stuck.touchedFirst, Level.columnCount);
    EXPECT_EQ(stuck.touchedLast, 0u);
}

TEST(GreedyStrategies, ChangeNothingButPossiblyTheTouchedRangeOfTheGivenGame) {
    loadBundledLevel("small-8x8");
    Game game;
    ASSERT_TRUE(initialFill(game));
    SimpleMostPointsAi guide;
    for (int move = 0; move < 10; ++move) {
        SCOPED_TRACE("after move " + std::to_string(move));
        for (const StrategyCase& c : kGreedyStrategies) {
            SCOPED_TRACE(c.name);
            Game given(game);
            Move out = {0, 0, East};
            ASSERT_TRUE(c.makeAi()->chooseMove(out, given));
            if (c.resetsTouchedRange) {
                EXPECT_EQ(given.touchedFirst, Level.columnCount);
                EXPECT_EQ(given.touchedLast, 0u);
                given.touchedFirst = game.touchedFirst;
                given.touchedLast = game.touchedLast;
            }
            EXPECT_TRUE(given == game);
        }
        Move next = {0, 0, East};
        ASSERT_TRUE(guide.chooseMove(next, game));
        play(game, next);
    }
}

using MoveMeasure = std::uint32_t (*)(const Game&, const Move&);

// The first legal move, in enumerateAll order, of greatest points or drops.
Move firstGreatest(const Game& game, MoveMeasure measure) {
    MoveList legal;
    enumerateAll(game, &legal);
    Move best = legal.front();
    std::uint32_t bestValue = 0;
    for (const Move& move : legal) {
        const std::uint32_t value = measure(game, move);
        if (value > bestValue) {
            best = move;
            bestValue = value;
        }
    }
    return best;
}

// One object decides move after move, as in a match, each decision from a list
// of its own made afresh.
TEST(GreedyStrategies, ChooseTheFirstLegalMoveOfMostPointsOrDropsMoveAfterMove) {
    struct Case {
        const char* name;
        MakeAi makeAi;
        MoveMeasure measure;
    };
    const Case strategies[] = {
        {"SimpleMostPointsAi", make<SimpleMostPointsAi>, pointsOf},
        {"MostDropsAi", make<MostDropsAi>, dropsOf},
    };
    struct BundledLevel {
        const char* name;
        int moves;
    };
    // The large level's lists grow far beyond the 100 moves reserved.
    const BundledLevel levels[] = {{"small-8x8", 300}, {"medium-20x15", 300}, {"large-50x50", 10}};
    for (const BundledLevel& level : levels) {
        SCOPED_TRACE(level.name);
        loadBundledLevel(level.name);
        for (const Case& c : strategies) {
            SCOPED_TRACE(c.name);
            Game game;
            ASSERT_TRUE(initialFill(game));
            const std::unique_ptr<Ai> ai = c.makeAi();
            for (int move = 0; move < level.moves; ++move) {
                SCOPED_TRACE("move " + std::to_string(move));
                if (enumerateAll(game, nullptr) == 0) break;
                const Move expected = firstGreatest(game, c.measure);
                Move out = {0, 0, East};
                ASSERT_TRUE(ai->chooseMove(out, game));
                ASSERT_EQ(out, expected);
                play(game, out);
            }
        }
    }
}

// The two choose the same moves except among equal points, where MostPointsAi
// takes a carried-over move first, so they are compared by what they evaluate
// and by the points of their choices, on MostPointsAi's own game.
TEST(MostPointsAi, EvaluatesEveryLegalMoveAndScoresLikeSimpleMostPointsAiMoveAfterMove) {
    struct Case {
        const char* level;
        int moves;
    };
    // The large level's lists grow far beyond the 100 moves reserved.
    const Case cases[] = {{"small-8x8", 300}, {"medium-20x15", 300}, {"large-50x50", 30}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.level);
        loadBundledLevel(c.level);
        Game game;
        ASSERT_TRUE(initialFill(game));
        MostPointsAi ai;
        SimpleMostPointsAi simple;
        for (int move = 0; move < c.moves; ++move) {
            SCOPED_TRACE("move " + std::to_string(move));
            MoveList legal;
            enumerateAll(game, &legal);
            Game simpleGame(game);
            Move simpleOut = {0, 0, East};
            const bool simpleFound = simple.chooseMove(simpleOut, simpleGame);

            Move out = {0, 0, East};
            ASSERT_EQ(ai.chooseMove(out, game), simpleFound);
            if (!simpleFound) break;
            ASSERT_EQ(sorted(ai.previousCandidates()), sorted(legal));
            ASSERT_EQ(pointsOf(game, out), pointsOf(game, simpleOut));
            play(game, out);
        }
    }
}

}  // namespace
