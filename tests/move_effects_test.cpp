// The search's shortcut: a move recorded in a position earns the same in a child
// position whenever the record says it is known there.
#include <algorithm>
#include <cstdint>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "ai/far_moves.h"
#include "ai/move_effects.h"
#include "ai/one_move_lookahead.h"
#include "ai/transpositions.h"
#include "driver/benchmark.h"
#include "engine/candidates.h"
#include "engine/gravity.h"
#include "support/level_fixture.h"
#include "support/move_printing.h"

namespace {

constexpr Move kNoMove{0, 0, West};

// Plays move on a copy of game, its touched range emptied first, as the
// searches do; returns the points and leaves the settled copy in after.
std::uint32_t playFrom(const Game& game, const Move& move, Game& after) {
    after = game;
    clearRange(after.touchedFirst, after.touchedLast);
    return playedPoints(after, move);
}

struct Tally {
    int known = 0;
    int played = 0;
};

// A position's legal moves, each played once and its effect recorded.
struct RecordedPosition {
    MoveMap moves;
    MoveList candidates;
    MoveEffects effects;

    explicit RecordedPosition(const Game& position) {
        mapAllMoves(position, moves);
        listAllMoves(moves, &candidates);
        Game child;
        for (const Move& move : candidates) effects.record(move, child, playFrom(position, move, child));
    }
};

// Calls check(position) on every tenth position of random play on wide random
// levels, so that many moves lie far from a change.
template <typename Check>
void checkPositionsOfRandomPlay(std::uint32_t seed, int levels, Check check) {
    std::mt19937 random(seed);
    for (int levelIndex = 0; levelIndex < levels; ++levelIndex) {
        SCOPED_TRACE("level " + std::to_string(levelIndex));
        Game game;
        if (!loadSettledRandomLevel(random, 30, 12, game)) continue;
        MoveList moves;
        for (int step = 0; step < 30; ++step) {
            if (step % 10 == 0) check(game);
            if (testing::Test::HasFatalFailure()) return;
            moves.clear();
            if (enumerateAll(game, &moves) == 0) break;
            swap(game, moves[random() % moves.size()]);
            if (!settle(game).settled) break;
        }
    }
}

// Records every move of position, then checks, in the child after each move,
// that every move the record claims to know earns what playing it earns.
void checkChildrenOf(const Game& position, Tally& tally) {
    const RecordedPosition recorded(position);
    const MoveMap& moves = recorded.moves;
    const MoveList& candidates = recorded.candidates;
    const MoveEffects& effects = recorded.effects;
    Game child;
    MoveMap childMoves;
    MoveList childCandidates;
    Game grandchild;
    for (const Move& move : candidates) {
        playFrom(position, move, child);
        mapChildMoves(child, moves, childMoves);
        childCandidates.clear();
        listAllMoves(childMoves, &childCandidates);
        for (const Move& next : childCandidates) {
            const MoveEffect* known = effects.heldEffect(next, changedColumns(child));
            if (known == nullptr) {
                ++tally.played;
                continue;
            }
            ++tally.known;
            ASSERT_EQ(known->value, playFrom(child, next, grandchild))
                << "after " << testing::PrintToString(move) << ", " << testing::PrintToString(next);
        }
    }
}

TEST(MoveEffects, AMoveKnownInAChildEarnsThereWhatPlayingItEarns) {
    Tally tally;
    checkPositionsOfRandomPlay(20261206, 16, [&](const Game& position) { checkChildrenOf(position, tally); });
    // Both kinds must occur often, or the check proves little.
    EXPECT_GT(tally.known, 10000);
    EXPECT_GT(tally.played, 10000);
}

// Gathers the moves of position and checks, in the child after each move,
// that the far moves, the near ones in the window a change can reach, and the
// near ones outside it are each child move once, and that the far ones give
// the best of what the record says of them.
void checkFarMovesOf(const Game& position, Tally& tally) {
    const RecordedPosition recorded(position);
    const MoveMap& moves = recorded.moves;
    const MoveList& candidates = recorded.candidates;
    const MoveEffects& effects = recorded.effects;
    Game child;
    FarMoves far;
    far.gather(candidates, effects);

    MoveMap childMoves;
    MoveMap nearMoves;
    MoveList expected;
    for (const Move& move : candidates) {
        SCOPED_TRACE("after " + testing::PrintToString(move));
        playFrom(position, move, child);
        const ColumnSpan changed = changedColumns(child);
        std::uint32_t low = 0;
        std::uint32_t high = 0;
        mapMovesReaching(child, changed.first, changed.last, nearMoves, low, high);
        std::uint32_t farBest = 0;
        MoveList found;
        for (const Move& each : candidates) {
            const MoveEffect* held = effects.heldEffect(each, changed);
            if (held != nullptr) {
                farBest = std::max(farBest, held->value);
                found.push_back(each);
                ++tally.known;
            }
        }
        EXPECT_EQ(far.farBest(changed), farBest);
        forEachMove(nearMoves, low, high, [&](const Move& each) {
            if (effects.heldEffect(each, changed) == nullptr) found.push_back(each);
        });
        far.forEachNearOutside(changed, {low, high}, [&](const Move& each) {
            ++tally.played;
            found.push_back(each);
        });
        mapChildMoves(child, moves, childMoves);
        expected.clear();
        listAllMoves(childMoves, &expected);
        const auto byRank = [](const Move& a, const Move& b) { return listingRank(a) < listingRank(b); };
        std::sort(found.begin(), found.end(), byRank);
        ASSERT_EQ(found, expected);
    }
}

TEST(FarMoves, TakeEveryMoveOfAChildOnceAndTheBestOfTheFarOnes) {
    Tally tally;  // known: far moves; played: near ones outside the window
    checkPositionsOfRandomPlay(20261207, 12, [&](const Game& position) { checkFarMovesOf(position, tally); });
    EXPECT_GT(tally.known, 10000);
    EXPECT_GT(tally.played, 100);
}

// Asks the memory about game and checks every move it claims to know against
// playing it; the others are played and noted, as a strategy does.
void checkMemoryOn(MoveMemory& memory, const Game& game, Tally& tally) {
    const MoveRecall recall = memory.startPosition(game);
    MoveMap expected;
    mapAllMoves(game, expected);
    MoveList mapped;
    MoveList listed;
    listAllMoves(memory.moves(), &mapped);
    listAllMoves(expected, &listed);
    ASSERT_EQ(mapped, listed);
    Game after;
    for (const Move& move : listed) {
        std::uint32_t known = 0;
        const bool isKnown = recall.knownValue(move, known);
        const std::uint32_t points = playFrom(game, move, after);
        if (isKnown) {
            ++tally.known;
            ASSERT_EQ(known, points) << testing::PrintToString(move);
        } else {
            ++tally.played;
            recall.note(move, after, points);
        }
    }
}

// Positions a strategy may be handed one after the other: the child of the
// last, a position several moves on, a rewind to an earlier one, one whose
// cells are the same but a supply has moved on, and the same cells on a level
// whose supplies changed.
TEST(MoveMemory, KnowsOnlyWhatPlayingGivesWhereverTheNextPositionComesFrom) {
    constexpr int kLevels = 12;
    std::mt19937 random(7);
    Tally tally;
    MoveMemory memory;  // one memory across levels too, as a long-lived strategy would have
    for (int levelIndex = 0; levelIndex < kLevels; ++levelIndex) {
        SCOPED_TRACE("level " + std::to_string(levelIndex));
        RandomLevel level;
        Game game;
        if (!loadSettledRandomLevel(random, 30, 12, game, &level)) continue;
        std::vector<Game> earlier;
        MoveList moves;
        for (int step = 0; step < 60; ++step) {
            SCOPED_TRACE("step " + std::to_string(step));
            checkMemoryOn(memory, game, tally);
            if (HasFatalFailure()) return;
            earlier.push_back(game);
            const std::uint32_t choice = random() % 10;
            if (choice == 0) {
                game = earlier[random() % earlier.size()];
                continue;
            }
            if (choice == 1) {
                const std::uint32_t column = random() % Level.columnCount;
                game.supplyCursor[column] = static_cast<std::uint8_t>((game.supplyCursor[column] + 1) % Level.supply[column].length());
                continue;
            }
            for (std::uint32_t played = 0; played < (choice == 2 ? 3u : 1u); ++played) {
                moves.clear();
                if (enumerateAll(game, &moves) == 0) break;
                swap(game, moves[random() % moves.size()]);
                if (!settle(game).settled) break;
            }
            if (moves.empty() || game.dirtyFirst <= game.dirtyLast) break;
        }
        // The same field on a level whose supplies start one jewel later.
        for (std::string& supply : level.supplies) std::rotate(supply.begin(), supply.begin() + 1, supply.end());
        loadLevel(level.layout, level.supplies);
        checkMemoryOn(memory, game, tally);
        if (HasFatalFailure()) return;
    }
    EXPECT_GT(tally.known, 1000);
    EXPECT_GT(tally.played, 1000);
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

// The same cells, supplies and score, whatever the ranges say.
bool samePosition(const Game& a, const Game& b) {
    Game left = a;
    Game right = b;
    clearRange(left.dirtyFirst, left.dirtyLast);
    clearRange(left.touchedFirst, left.touchedLast);
    clearRange(right.dirtyFirst, right.dirtyLast);
    clearRange(right.touchedFirst, right.touchedLast);
    return left == right;
}

// Calls check(root, firsts) for the settled first field of each of levelCount
// random levels and its legal moves, until a check fails fatally.
template <typename Check>
void checkRandomRoots(unsigned seed, int levelCount, Check check) {
    std::mt19937 random(seed);
    for (int levelIndex = 0; levelIndex < levelCount; ++levelIndex) {
        SCOPED_TRACE("level " + std::to_string(levelIndex));
        Game root;
        if (!loadSettledRandomLevel(random, 24, 12, root)) continue;
        MoveList firsts;
        enumerateAll(root, &firsts);
        check(root, firsts);
        if (testing::Test::HasFatalFailure()) return;
    }
}

// Two moves the table calls commuting leave the same position in either order.
TEST(Transpositions, CommutingMovesLeaveTheSamePositionInEitherOrder) {
    int commuting = 0;
    int notCommuting = 0;
    checkRandomRoots(90125, 8, [&](const Game& root, const MoveList& firsts) {
        Game afterFirst;
        Game afterBoth;
        Game otherOrder;
        Game scratch;
        for (const Move& first : firsts) {
            playFrom(root, first, afterFirst);
            MoveList seconds;
            enumerateAll(afterFirst, &seconds);
            for (const Move& second : seconds) {
                playFrom(afterFirst, second, afterBoth);
                if (!Transpositions::commute(changedColumns(afterFirst), changedColumns(afterBoth))) {
                    ++notCommuting;
                    continue;
                }
                ++commuting;
                playFrom(root, second, scratch);
                playFrom(scratch, first, otherOrder);
                ASSERT_TRUE(samePosition(afterBoth, otherOrder))
                    << testing::PrintToString(first) << " then " << testing::PrintToString(second);
            }
        }
    });
    EXPECT_GT(commuting, 1000);
    EXPECT_GT(notCommuting, 1000);
}

// Below a first move a, a second move b that reads nothing a changed leads to
// a position that differs from the one b leads to from the root only in a's
// columns: a third move's effect noted after b alone, where it holds over
// those columns, is what playing it after a and b gives.
TEST(ChildEffects, ASecondMoveFarFromTheFirstKeepsTheThirdMovesItsEffects) {
    Tally tally;
    checkRandomRoots(31337, 6, [&](const Game& root, const MoveList& firsts) {
        MoveEffects rootEffects;
        ChildEffects below;
        below.clear(firsts.size() * firsts.size());
        Game afterFirst;
        Game afterBoth;
        Game scratch;
        for (const Move& first : firsts) {
            const std::uint32_t points = playFrom(root, first, afterFirst);
            rootEffects.record(first, afterFirst, points);
            MoveList seconds;
            enumerateAll(afterFirst, &seconds);
            for (const Move& second : seconds) {
                const std::uint32_t secondPoints = playFrom(afterFirst, second, scratch);
                below.record(first, second, MoveEffect::of(changedColumns(scratch), secondPoints));
            }
        }
        for (std::size_t index = 0; index < firsts.size(); index += 3) {
            const Move& first = firsts[index];
            playFrom(root, first, afterFirst);
            const ColumnSpan firstChanged = changedColumns(afterFirst);
            MoveList seconds;
            enumerateAll(afterFirst, &seconds);
            for (const Move& second : seconds) {
                if (rootEffects.heldEffect(second, firstChanged) == nullptr) continue;
                playFrom(afterFirst, second, afterBoth);
                MoveList thirds;
                enumerateAll(afterBoth, &thirds);
                for (const Move& third : thirds) {
                    const MoveEffect* known = below.heldEffect(second, third, firstChanged);
                    if (known == nullptr) {
                        ++tally.played;
                        continue;
                    }
                    ++tally.known;
                    ASSERT_EQ(known->value, playFrom(afterBoth, third, scratch))
                        << testing::PrintToString(first) << ", " << testing::PrintToString(second) << ", "
                        << testing::PrintToString(third);
                }
            }
        }
    });
    EXPECT_GT(tally.known, 5000);
    EXPECT_GT(tally.played, 500);
}

// The table keeps every note however many it is given, under its own pair of
// moves, and forgets them all when cleared.
TEST(ChildEffects, KeepsEveryNoteUntilCleared) {
    loadSettledLevel("large-50x50");  // the spans of the effects are clipped to the field's columns
    ChildEffects table;
    table.clear(10);
    std::vector<std::pair<Move, Move>> pairs;
    for (std::uint32_t column = 0; column < 15; ++column)  // 600 notes: past the first size
        for (std::uint32_t row = 0; row < 40; ++row)
            pairs.push_back({Move{column, row, East}, Move{row, column, South}});
    for (std::size_t i = 0; i < pairs.size(); ++i)
        table.record(pairs[i].first, pairs[i].second, MoveEffect{static_cast<std::uint32_t>(i), {30, 30}});
    const ColumnSpan farAway{45, 46};
    for (std::size_t i = 0; i < pairs.size(); ++i) {
        const MoveEffect* effect = table.heldEffect(pairs[i].first, pairs[i].second, farAway);
        ASSERT_NE(effect, nullptr) << i;
        EXPECT_EQ(effect->value, i);
        EXPECT_EQ(table.heldEffect(pairs[i].second, pairs[i].first, farAway), nullptr) << "swapped pair " << i;
    }
    table.clear(10);
    for (const auto& [candidate, move] : pairs) EXPECT_EQ(table.heldEffect(candidate, move, farAway), nullptr);
}

}  // namespace
