#include <cstdint>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "ai/play_moves.h"
#include "engine/game.h"
#include "engine/gravity.h"
#include "engine/moves.h"
#include "support/level_fixture.h"
#include "support/move_printing.h"

namespace {

// Answers with the moves it was given, in order, then finds none; remembers what
// the caller's move held at every call.
class ScriptedAi : public Ai {
public:
    explicit ScriptedAi(std::vector<Move> script) : script_(std::move(script)) {}

    bool chooseMove(Move& out, Game&) override {
        seen_.push_back(out);
        if (seen_.size() > script_.size()) return false;
        out = script_[seen_.size() - 1];
        return true;
    }

    const std::vector<Move>& seen() const { return seen_; }

private:
    std::vector<Move> script_;
    std::vector<Move> seen_;
};

// Columns 0 and 2 between rock, each with one move worth 50 points that leaves
// the other in place: {2 4 Z} and {0 0 Z}.
const std::vector<std::string> kTwoMovesField = {"1#5##", "7#6##", "1#1##", "1#1##", "5#7##", "6#1##"};
const std::vector<std::string> kTwoMovesSupplies = {"890", "0", "890", "0", "0"};

TEST(PlayMoves, ReturnsThePointsGainedAndStopsAtCountOrAtTheFirstFalse) {
    struct Case {
        const char* name;
        std::uint32_t count;
        std::uint32_t points;
        std::vector<Move> seen;
    };
    const Move first = {2, 4, South};
    const Move second = {0, 0, South};
    const Move preset = {0, 0, East};
    const Case cases[] = {
        {"stops when the strategy finds no move", 5, 100, {preset, first, second}},
        {"stops after the count", 1, 50, {preset}},
        {"plays exactly the count", 2, 100, {preset, first}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Game game = loadPicture(kTwoMovesField, kTwoMovesSupplies);
        // Points are counted from the score at the start, not from zero.
        game.score = 1000;
        ScriptedAi ai({first, second});
        EXPECT_EQ(playMoves(game, ai, c.count), c.points);
        EXPECT_EQ(game.score, 1000 + c.points);
        EXPECT_EQ(ai.seen(), c.seen);
    }
}

struct HeardMove {
    Move move;
    std::uint32_t score;

    bool operator==(const HeardMove&) const = default;
};

void PrintTo(const HeardMove& heard, std::ostream* out) {
    PrintTo(heard.move, out);
    *out << " at " << heard.score;
}

// An observer that notes every move it hears of with the score it left.
MoveObserver recordInto(std::vector<HeardMove>& heard) {
    return [&heard](const Move& move, const Game& game) { heard.push_back({move, game.score}); };
}

TEST(PlayMoves, TellsTheObserverOfEveryMovePlayedWithTheScoreItLeft) {
    struct Case {
        const char* name;
        std::uint32_t count;
        std::vector<HeardMove> heard;
    };
    const Move first = {2, 4, South};
    const Move second = {0, 0, South};
    const Case cases[] = {
        {"one move", 1, {{first, 50}}},
        {"both moves, then the strategy finds none", 5, {{first, 50}, {second, 100}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Game game = loadPicture(kTwoMovesField, kTwoMovesSupplies);
        ScriptedAi ai({first, second});
        std::vector<HeardMove> heard;
        playMoves(game, ai, c.count, recordInto(heard));
        EXPECT_EQ(heard, c.heard);
    }
}

TEST(PlayMoves, StopsAfterAMoveWhoseCascadeNeverEnds) {
    // Clearing the three 2s leaves three cells that supply "1" fills with 1s,
    // which clear and are refilled the same way until the refill cap.
    Game game = loadPicture({"5####", "6####", "2####", "2####", "7####", "2####"}, {"1", "0", "0", "0", "0"});
    ScriptedAi ai({{0, 4, South}, {0, 4, South}});
    std::vector<HeardMove> heard;
    EXPECT_EQ(playMoves(game, ai, 5, recordInto(heard)), 50u * (kMaxRefillPasses + 1));
    EXPECT_EQ(ai.seen().size(), 1u);
    // The cut-off move was played and its points count, so the observer hears of it.
    EXPECT_EQ(heard, (std::vector<HeardMove>{{{0, 4, South}, game.score}}));
}

}  // namespace
