#pragma once

#include "ai/ai.h"
#include "ai/move_effects.h"

// Plays every legal move on a copy and takes the first that scores the most points.
class SimpleMostPointsAi : public Ai {
public:
    SimpleMostPointsAi();
    bool chooseMove(Move& out, Game& game) override;

private:
    MoveList candidates;
    MoveMemory memory;
};

// Chooses by points like SimpleMostPointsAi, but rebuilds its candidates from
// those of its last decision, testing again only the columns near the ones that
// changed since. That is right only if every call sees the game of the previous
// call after moves applied with swap and settle, whose touched range then covers
// every changed column. Among equal points a carried-over move wins, since the
// carried-over moves come first.
class MostPointsAi : public Ai {
public:
    MostPointsAi();
    // current and previous point into this object's own lists.
    MostPointsAi(const MostPointsAi&) = delete;
    MostPointsAi& operator=(const MostPointsAi&) = delete;

    bool chooseMove(Move& out, Game& game) override;

    // Empty between calls.
    const MoveList& currentCandidates() const { return *current; }
    // The candidates of the last successful call, which the next call starts from.
    const MoveList& previousCandidates() const { return *previous; }

private:
    MoveList firstList;
    MoveList secondList;
    MoveList* current;
    MoveList* previous;
    MoveMemory memory{false};
};

// Takes the first legal move whose cascade makes the field refill most often;
// points do not count.
class MostDropsAi : public Ai {
public:
    MostDropsAi();
    bool chooseMove(Move& out, Game& game) override;

private:
    MoveList candidates;
    MoveMemory memory;
};
