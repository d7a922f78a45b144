#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include "engine/game.h"
#include "engine/moves.h"
#include "planner/beam_search.h"

// Plays a level with a beam search, and keeps a checkpoint every thousand
// moves: when every line the search holds runs out of moves, it goes back to
// a checkpoint at least a thousand moves earlier and searches again with
// scarce moves worth twice as much, as often as kMostRewinds allows.
class Planner {
public:
    static constexpr std::uint32_t kMostRewinds = 8;

    // Plays at most moveLimit moves from start, which must be at rest.
    Planner(const Game& start, std::uint32_t moveLimit, const SearchSettings& settings);

    // One step; appends the moves it played for good to played. After a step
    // that went back, rewoundTo() tells how many of the moves played before
    // stand, and the moves appended come after those. Returns false once
    // over: moveLimit moves played, or every line ran dry with no rewind left.
    bool advance(MoveList& played);

    std::optional<std::uint32_t> rewoundTo() const { return rewoundTo_; }

    // Ends early: plays for good the best line the search holds.
    void playBestLine(MoveList& played);

    // The position after the moves that stand, and their number.
    const Game& game() const { return game_; }
    std::uint32_t movesPlayed() const { return movesPlayed_; }

    bool ranDry() const { return search_->ranDry(); }
    std::uint32_t rewinds() const { return rewinds_; }
    std::uint32_t width() const { return search_->width(); }
    void setWidth(std::uint32_t width) { search_->setWidth(width); }

private:
    struct Checkpoint {
        std::uint32_t moves;
        Game game;
    };

    void play(const MoveList& played, std::size_t from);
    void rewind();

    std::uint32_t moveLimit_;
    SearchSettings settings_;
    Game game_;
    std::uint32_t movesPlayed_ = 0;
    std::vector<Checkpoint> checkpoints_;
    std::unique_ptr<BeamSearch> search_;
    std::optional<std::uint32_t> rewoundTo_;
    std::uint32_t rewinds_ = 0;
};
