// The benchmark's arithmetic: which strategy a chunk gets, which strategies
// are spared, and how long a trial runs.
#include <gtest/gtest.h>

#include <string>

#include "driver/benchmark.h"

namespace {

PerformanceTable tableOf(std::initializer_list<std::pair<float, float>> msAndPointsPerMove) {
    PerformanceTable table;
    std::size_t index = 0;
    for (const auto& [msPerMove, pointsPerMove] : msAndPointsPerMove) {
        table[index].msPerMove = msPerMove;
        table[index].pointsPerMove = pointsPerMove;
        ++index;
    }
    return table;
}

struct ChoiceCase {
    const char* name;
    PerformanceTable table;
    std::uint32_t movesLeft;
    std::uint32_t msLeft;
    unsigned expected;
};

TEST(ChooseBestAi, PicksTheNearestSpeedThenTradesUpToFasterAndRicher) {
    const PerformanceTable threeMeasured = tableOf({{5, 60}, {1, 50}, {2, 70}});
    const ChoiceCase cases[] = {
        // Target 4.0: #0 is nearest (1.0 away); #2 is faster and scores more.
        {"target 4.0 trades up from #0 to #2", threeMeasured, 1000, 4000, 2},
        // Target 1.5: #1 and #2 are both 0.5 away, the lower index stays; #2 is
        // not faster than #1, so no trade.
        {"target 1.5 keeps the lower index of a tie", threeMeasured, 1000, 1500, 1},
        {"nothing measured gives #0", tableOf({}), 1000, 4000, 0},
        {"a faster one of equal points is no trade", tableOf({{5, 60}, {1, 60}}), 1000, 4000, 0},
        // Target 0: the fastest record is the nearest; zero records are passed over.
        {"no time left picks the fastest measured", tableOf({{0, 0}, {5, 60}, {3, 40}, {9, 90}}), 1000, 0, 2},
        // Target 8: #0 is nearest; #1 is faster and richer than #0, and #3 than
        // #1: a trade counts at once, so the pass goes on comparing with #1.
        {"trades up in a chain", tableOf({{8, 10}, {4, 20}, {0, 0}, {2, 30}}), 100, 800, 3},
    };
    for (const ChoiceCase& c : cases) {
        SCOPED_TRACE(c.name);
        testing::internal::CaptureStdout();
        const unsigned chosen = chooseBestAi(c.movesLeft, c.msLeft, c.table.data(), kRosterSize);
        const std::string output = testing::internal::GetCapturedStdout();
        EXPECT_EQ(chosen, c.expected);
        EXPECT_EQ(output, "Best ai is #" + std::to_string(c.expected) + "\n");
    }
}

struct SkipCase {
    const char* name;
    std::size_t index;
    float msPerMoveOf3, msPerMoveOf7, msPerMoveOf8;
    bool skipped;
};

TEST(BenchmarkSkipRule, SparesDeeperSearchesWhenTheShallowerOneIsTooSlow) {
    const SkipCase cases[] = {
        {"#4 after #3 at 10.5", 4, 10.5f, 0, 0, true},
        {"#4 after #3 at exactly 10.0", 4, 10.0f, 0, 0, false},
        {"#8 after #7 at 12", 8, 0, 12.0f, 0, true},
        {"#9 after #7 at 12", 9, 0, 12.0f, 0, true},
        {"#9 after #8 at 10.5", 9, 0, 1.0f, 10.5f, true},
        {"#9 when #7 and #8 are quick", 9, 0, 1.0f, 10.0f, false},
        {"#5 is never skipped", 5, 50.0f, 50.0f, 50.0f, false},
        {"#3 is never skipped", 3, 50.0f, 50.0f, 50.0f, false},
    };
    for (const SkipCase& c : cases) {
        SCOPED_TRACE(c.name);
        PerformanceTable table;
        table[3].msPerMove = c.msPerMoveOf3;
        table[7].msPerMove = c.msPerMoveOf7;
        table[8].msPerMove = c.msPerMoveOf8;
        EXPECT_EQ(isSkipped(c.index, table), c.skipped);
    }
}

TEST(BenchmarkTrialSize, GrowsTenfoldWhileShortThenAimsAtOneAndAHalfSeconds) {
    struct TrialCase {
        std::uint32_t size, ms, next;
    };
    const TrialCase cases[] = {
        {1, 0, 10},
        {10, 9, 100},
        {10, 20, 750},
        {100, 10, 15000},
        {7, 1000, 10},
        {3, 7, 30},
        // 1500 / 11 = 136.36..., times 1000 truncates to 136363.
        {1000, 11, 136363},
    };
    for (const TrialCase& c : cases) {
        SCOPED_TRACE(std::to_string(c.size) + " moves in " + std::to_string(c.ms) + "ms");
        EXPECT_EQ(nextTrialSize(c.size, c.ms), c.next);
    }
}

}  // namespace
