#include "planner/planner.h"

#include "engine/register_play.h"

namespace {

constexpr std::uint32_t kMovesPerCheckpoint = 1000;
// A dead end is seldom decided in the last moves before it: a rewind goes
// back at least this far.
constexpr std::uint32_t kLeastRewind = 1000;
// The scarce moves' worth a rewind starts from where the settings gave none.
constexpr std::uint32_t kFirstScarceWorth = 10;

}  // namespace

Planner::Planner(const Game& start, std::uint32_t moveLimit, const SearchSettings& settings)
    : moveLimit_(moveLimit),
      settings_(settings),
      game_(start),
      search_(std::make_unique<BeamSearch>(start, moveLimit, settings)) {
    checkpoints_.push_back({0, start});
}

void Planner::play(const MoveList& played, std::size_t from) {
    for (std::size_t index = from; index < played.size(); ++index) {
        playMove(game_, played[index]);
        ++movesPlayed_;
        if (movesPlayed_ % kMovesPerCheckpoint == 0) checkpoints_.push_back({movesPlayed_, game_});
    }
}

bool Planner::advance(MoveList& played) {
    rewoundTo_.reset();
    const std::size_t before = played.size();
    const bool goesOn = search_->advance(played);
    play(played, before);
    if (goesOn || !search_->ranDry() || rewinds_ == kMostRewinds) return goesOn;
    played.resize(before);
    rewind();
    return true;
}

void Planner::rewind() {
    while (checkpoints_.size() > 1 && checkpoints_.back().moves + kLeastRewind > movesPlayed_) checkpoints_.pop_back();
    const Checkpoint& back = checkpoints_.back();
    game_ = back.game;
    movesPlayed_ = back.moves;
    rewoundTo_ = movesPlayed_;
    ++rewinds_;
    settings_.width = search_->width();
    settings_.scarcePointsPerSize =
        settings_.scarcePointsPerSize == 0 ? kFirstScarceWorth : 2 * settings_.scarcePointsPerSize;
    search_ = std::make_unique<BeamSearch>(game_, moveLimit_ - movesPlayed_, settings_);
}

void Planner::playBestLine(MoveList& played) {
    const std::size_t before = played.size();
    search_->playBestLine(played);
    play(played, before);
}
