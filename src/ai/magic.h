#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "ai/ai.h"
#include "ai/move_effects.h"

// A position is worth this much more for every good move it offers.
inline constexpr std::uint32_t kPointsPerOpenMove = 10;

// One candidate move of the magic strategies: its running value and the position
// it leads to, kept by value so that a reserved list holds them without allocating.
struct Outcome {
    // Spelled out so that emplace_back builds the game in place with every
    // compiler, not only those that construct aggregates from parentheses.
    Outcome(std::uint32_t value, const Game& game) : value(value), game(game) {}
    // An outcome whose game is not set until the candidate is played.
    explicit Outcome(std::uint32_t value) : value(value), game(Game::Unset{}) {}

    std::uint32_t value;
    Game game;
    // Whether game holds the position after the move yet: a candidate whose
    // points are known need not be played, nor its position copied, until
    // its position is needed.
    bool played = false;
};

using OutcomeList = std::vector<Outcome>;

// The index of the outcome of the greatest value; of equal ones, that of the
// candidate listed first, candidate i having led to outcome i.
std::size_t firstListedBestOutcome(const OutcomeList& outcomes, const MoveList& candidates);

// Rates every move by the points it earns at once. The moves that earn at least
// the average also earn 10 points for each follow-up move near the columns they
// cleared, plus what each follow-up would earn if played next; the first move
// with the highest rating wins.
class MagicAi : public Ai {
public:
    MagicAi();

    bool chooseMove(Move& out, Game& game) override;

private:
    MoveList candidates;
    OutcomeList outcomes;  // one per candidate, at the candidate's index
    // The follow-ups of the qualifying candidate being rated, in the columns
    // near its change.
    MoveMap followUps;
    // The last position decided on and what its moves did: a candidate that
    // nothing near it changed since earns what it earned then, and a
    // follow-up that no candidate's change reaches earns what it earns as a
    // candidate, so neither is played again just to know its points.
    MoveMemory memory;
};
