// The planner held to exhaustive search on small random levels, the engine
// functions it adds, and its clock arithmetic.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <functional>
#include <optional>
#include <random>
#include <string>

#include "engine/candidates.h"
#include "engine/register_play.h"
#include "planner/beam_search.h"
#include "planner/planner.h"
#include "planner/width_control.h"
#include "support/level_fixture.h"

namespace {

// What a line of moves reaches: the longest lines win, then the most points.
struct LineWorth {
    std::uint32_t moves = 0;
    std::uint32_t points = 0;
    auto operator<=>(const LineWorth&) const = default;
};

// Plays move on a copy of game; false when its cascade never ends, a move the
// planner never plays.
bool playCopy(const Game& game, const Move& move, Game& child) {
    child = game;
    return playMove(child, move).settled;
}

// The best of every line of at most `moves` moves from game, tried one by one.
LineWorth bestLineByTrying(const Game& game, std::uint32_t moves) {
    LineWorth best;
    if (moves == 0) return best;
    MoveList legal;
    enumerateAll(game, &legal);
    for (const Move& move : legal) {
        Game child;
        if (!playCopy(game, move, child)) continue;
        LineWorth below = bestLineByTrying(child, moves - 1);
        below.moves += 1;
        below.points += child.score - game.score;
        best = std::max(best, below);
    }
    return best;
}

// What the search's moves reach, replayed with the engine: every move must be legal.
LineWorth replayed(const Game& start, const MoveList& moves) {
    Game game(start);
    MoveList legal;
    for (const Move& move : moves) {
        legal.clear();
        enumerateAll(game, &legal);
        EXPECT_NE(std::find(legal.begin(), legal.end(), move), legal.end()) << "an illegal move";
        playMove(game, move);
    }
    return {static_cast<std::uint32_t>(moves.size()), game.score - start.score};
}

// A search that drops nothing and values points alone: exhaustive.
SearchSettings exhaustive(std::uint32_t depth) {
    SearchSettings settings;
    settings.width = 1u << 20;
    settings.depth = depth;
    settings.pointsPerLegalMove = 0;
    settings.scarcePointsPerSize = 0;
    return settings;
}

MoveList searchAll(const Game& start, std::uint32_t moveLimit, const SearchSettings& settings) {
    BeamSearch search(start, moveLimit, settings);
    MoveList played;
    while (search.advance(played)) {}
    return played;
}

// Calls check on the settled start of `levels` random levels whose first fill comes to rest.
void forRandomLevels(std::uint32_t seed, int levels, std::uint32_t widest, std::uint32_t tallest,
                     const std::function<void(const Game&)>& check) {
    std::mt19937 random(seed);
    for (int made = 0; made < levels;) {
        Game start;
        if (!loadSettledRandomLevel(random, widest, tallest, start)) continue;
        SCOPED_TRACE("level " + std::to_string(made));
        check(start);
        ++made;
    }
}

TEST(BeamSearch, AsWideAsTheTreeFindsTheBestLineOfThreeMoves) {
    // So wide that nothing is dropped: the search must then be exact, and the
    // best line often starts with a move that earns less than the greedy one.
    int notGreedyFirst = 0;
    forRandomLevels(1, 40, 7, 7, [&](const Game& start) {
        const MoveList played = searchAll(start, 3, exhaustive(3));
        const LineWorth best = bestLineByTrying(start, 3);
        EXPECT_EQ(replayed(start, played), best);
        if (played.empty()) return;
        Game afterFirst;
        playCopy(start, played.front(), afterFirst);
        if (afterFirst.score - start.score < bestLineByTrying(start, 1).points) ++notGreedyFirst;
    });
    EXPECT_GT(notGreedyFirst, 0);
}

TEST(BeamSearch, TakesALineThatGoesOnWhereTheGreedyLineDies) {
    constexpr std::uint32_t kLine = 8;
    SearchSettings settings;
    settings.width = 256;
    settings.depth = kLine;
    int greedyDied = 0;
    forRandomLevels(2, 300, 6, 6, [&](const Game& start) {
        // The greedy line: the most points each move, for as long as it goes.
        Game greedy(start);
        std::uint32_t greedyMoves = 0;
        for (; greedyMoves < kLine; ++greedyMoves) {
            const MoveList played = searchAll(greedy, 1, exhaustive(1));
            if (played.empty()) break;
            playMove(greedy, played.front());
        }
        if (greedyMoves == kLine || bestLineByTrying(start, kLine).moves < kLine) return;
        ++greedyDied;
        EXPECT_EQ(replayed(start, searchAll(start, kLine, settings)).moves, kLine);
    });
    EXPECT_GT(greedyDied, 0);
}

TEST(Planner, GoesBackToACheckpointWhenEveryLineRunsDry) {
    SearchSettings narrow;
    narrow.width = 2;
    narrow.scarcePointsPerSize = 0;
    int rescued = 0;
    forRandomLevels(6, 60, 8, 8, [&](const Game& start) {
        Planner planner(start, 2500, narrow);
        MoveList played;
        while (planner.advance(played)) {
            if (const std::optional<std::uint32_t> kept = planner.rewoundTo()) {
                EXPECT_EQ(*kept % 1000, 0u);
                played.resize(*kept);
            }
        }
        EXPECT_EQ(played.size(), planner.movesPlayed());
        EXPECT_EQ(replayed(start, played).points, planner.game().score - start.score);
        if (planner.rewinds() > 0 && !planner.ranDry()) {
            ++rescued;
            EXPECT_EQ(played.size(), 2500u);
        }
    });
    EXPECT_GT(rescued, 0);
}

// The move count is held to the plain rules by the engine's reference check.
TEST(Engine, PositionHashFollowsWhatTheFutureDependsOn) {
    forRandomLevels(4, 30, 12, 12, [&](const Game& start) {
        // The cells and cursors change the hash; the score and ranges do not.
        Game rescored(start);
        rescored.score += 50;
        clearRange(rescored.touchedFirst, rescored.touchedLast);
        EXPECT_EQ(positionHash(rescored), positionHash(start));
        Game advanced(start);
        advanced.supplyCursor[Level.columnCount - 1] += 1;
        EXPECT_NE(positionHash(advanced), positionHash(start));
        Game changed(start);
        cellAt(changed, Level.columnCount / 2, 0) = (cellAt(start, Level.columnCount / 2, 0) + 1) % 3;
        EXPECT_NE(positionHash(changed), positionHash(start));
    });
}

struct ClockCase {
    const char* name;
    std::function<double(std::uint32_t width, std::uint32_t move)> msPerMove;
};

TEST(WidthControl, SpendsTheBudgetWithoutOverrunningIt) {
    const ClockCase cases[] = {
        {"cost in proportion to the width", [](std::uint32_t width, std::uint32_t) { return 0.004 * width; }},
        {"a fixed cost per move besides", [](std::uint32_t width, std::uint32_t) { return 0.05 + 0.002 * width; }},
        {"three times dearer halfway",
         [](std::uint32_t width, std::uint32_t move) { return (move < 50000 ? 0.002 : 0.006) * width; }},
        {"noisy stretches",
         [](std::uint32_t width, std::uint32_t move) { return (move / 100 % 3 == 0 ? 0.008 : 0.002) * width; }},
    };
    constexpr double kBudgetMs = 100000.0;
    constexpr std::uint32_t kMoves = 100000;
    constexpr std::uint32_t kStretch = 100;
    for (const ClockCase& c : cases) {
        SCOPED_TRACE(c.name);
        WidthControl control(4, 100000);
        double spentMs = 0;
        for (std::uint32_t move = 0; move < kMoves; move += kStretch) {
            double stretchMs = 0;
            for (std::uint32_t step = 0; step < kStretch; ++step)
                stretchMs += c.msPerMove(control.width(), move + step);
            spentMs += stretchMs;
            control.update(stretchMs, kStretch, kBudgetMs - spentMs, kMoves - move - kStretch);
        }
        EXPECT_LE(spentMs, kBudgetMs);
        EXPECT_GE(spentMs, 0.9 * kBudgetMs);
    }
}

}  // namespace
