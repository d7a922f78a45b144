#pragma once

#include "ai/ai.h"

// Keeps a game going that is running out of moves: weighs the points of each
// legal move against the number of legal moves the field offers after it, at 10
// points a move gained or lost, and takes the first of the best. Resets the
// touched range of the game whenever it has a candidate.
class SurviveAi : public Ai {
public:
    SurviveAi();
    bool chooseMove(Move& out, Game& game) override;

private:
    MoveList candidates;
};
