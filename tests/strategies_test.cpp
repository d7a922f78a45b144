// What the recorded decisions cannot show: a strategy given positions out of
// the order of play. Every other decision of the roster is checked against
// the record, and their contract on fuzzed games by the engine's check.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "driver/benchmark.h"
#include "engine/candidates.h"
#include "engine/register_play.h"
#include "support/level_fixture.h"
#include "support/move_printing.h"

namespace {

constexpr Move kNoMove{0, 0, West};

// A strategy keeps what it learnt about the last position it was given, but
// must decide on any position, wherever it comes from, as a fresh one would:
// here positions of one game handed out of order (forward, back, far apart)
// and then a position of another level. MostPointsAi is left out: it carries
// its candidates from move to move by design, so only its own next position
// is its to judge.
TEST(MoveMemory, AStrategyDecidesOnPositionsOutOfOrderAsAFreshOneDoes) {
    std::mt19937 random(4711);
    std::vector<std::unique_ptr<Ai>> longLived;
    for (std::size_t index = 1; index < kRosterSize; ++index) longLived.push_back(makeRosterAi(index));
    int decisions = 0;
    for (int levelIndex = 0; levelIndex < 5; ++levelIndex) {
        SCOPED_TRACE("level " + std::to_string(levelIndex));
        Game game;
        if (!loadSettledRandomLevel(random, 9, 12, game)) continue;
        std::vector<Game> positions;
        MoveList moves;
        for (int step = 0; step < 10; ++step) {
            positions.push_back(game);
            moves.clear();
            if (enumerateAll(game, &moves) == 0) break;
            if (!playMove(game, moves[random() % moves.size()]).settled) break;
        }
        std::shuffle(positions.begin(), positions.end(), random);
        for (const Game& position : positions) {
            for (std::size_t index = 1; index < kRosterSize; ++index) {
                Game forLongLived = position;
                Game forFresh = position;
                Move remembered = kNoMove;
                Move fresh = kNoMove;
                const bool answered = longLived[index - 1]->chooseMove(remembered, forLongLived);
                ASSERT_EQ(answered, makeRosterAi(index)->chooseMove(fresh, forFresh)) << kRosterNames[index];
                ASSERT_EQ(remembered, fresh) << kRosterNames[index];
                ++decisions;
            }
        }
    }
    EXPECT_GT(decisions, 200);
}

}  // namespace
