// The search's shortcut: a move recorded in a position earns the same in a child
// position whenever the record says it is known there.
#include <cstdint>
#include <random>
#include <string>

#include <gtest/gtest.h>

#include "ai/move_effects.h"
#include "ai/one_move_lookahead.h"
#include "engine/candidates.h"
#include "engine/gravity.h"
#include "support/level_fixture.h"
#include "support/move_printing.h"

namespace {

// Plays move on a copy of game, its touched range emptied first, as the
// searches do; returns the points and leaves the settled copy in after.
std::uint32_t playFrom(const Game& game, const Move& move, Game& after) {
    after = game;
    clearRange(after.touchedFirst, after.touchedLast);
    swap(after, move);
    return settledPoints(after);
}

struct Tally {
    int known = 0;
    int played = 0;
};

// Records every move of position, then checks, in the child after each move,
// that every move the record claims to know earns what playing it earns.
void checkChildrenOf(const Game& position, Tally& tally) {
    MoveMap moves;
    mapAllMoves(position, moves);
    MoveList candidates;
    listAllMoves(moves, &candidates);
    MoveEffects effects;
    Game child;
    for (const Move& move : candidates) effects.record(move, child, playFrom(position, move, child));

    MoveMap childMoves;
    MoveList childCandidates;
    Game grandchild;
    for (const Move& move : candidates) {
        playFrom(position, move, child);
        mapChildMoves(child, moves, childMoves);
        childCandidates.clear();
        listAllMoves(childMoves, &childCandidates);
        for (const Move& next : childCandidates) {
            std::uint32_t known = 0;
            if (!effects.knownPoints(next, changedColumns(child), known)) {
                ++tally.played;
                continue;
            }
            ++tally.known;
            ASSERT_EQ(known, playFrom(child, next, grandchild))
                << "after " << testing::PrintToString(move) << ", " << testing::PrintToString(next);
        }
    }
}

TEST(MoveEffects, AMoveKnownInAChildEarnsThereWhatPlayingItEarns) {
    constexpr int kLevels = 16;
    std::mt19937 random(20261206);
    Tally tally;
    for (int levelIndex = 0; levelIndex < kLevels; ++levelIndex) {
        SCOPED_TRACE("level " + std::to_string(levelIndex));
        // Wide fields, so that many moves lie far from a change.
        const RandomLevel level = makeRandomLevel(random, 30);
        loadLevel(level.layout, level.supplies);
        Game game;
        if (!initialFill(game)) continue;
        MoveList moves;
        for (int step = 0; step < 30; ++step) {
            if (step % 10 == 0) checkChildrenOf(game, tally);
            if (HasFatalFailure()) return;
            moves.clear();
            if (enumerateAll(game, &moves) == 0) break;
            swap(game, moves[random() % moves.size()]);
            if (!settle(game).settled) break;
        }
    }
    // Both kinds must occur often, or the check proves little.
    EXPECT_GT(tally.known, 10000);
    EXPECT_GT(tally.played, 10000);
}

TEST(MoveEffects, ACascadeCutOffAtTheRefillCapCountsAsChangingEveryColumn) {
    // Exchanging the 2 and the 1 in row 2 stacks three 1s in column 0, which
    // refills with 1s only: the column clears and refills for ever, and each
    // pass leaves cleared cells the touched range does not hold.
    Game game = loadPicture({"16789", "18956", "21678", "67895", "89567"},
                                  {"1", "0123456789", "0123456789", "0123456789", "0123456789"});
    ASSERT_TRUE(settle(game).settled);  // the picture has no run; this empties the dirty range
    Game after;
    playFrom(game, {0, 2, East}, after);
    ASSERT_LE(after.dirtyFirst, after.dirtyLast) << "the cascade should have been cut off";
    const ColumnSpan changed = changedColumns(after);
    EXPECT_EQ(changed.first, 0u);
    EXPECT_EQ(changed.last, Level.columnCount - 1);
}

}  // namespace
