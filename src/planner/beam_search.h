#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "engine/candidates.h"
#include "engine/game.h"
#include "engine/moves.h"
#include "planner/line_tree.h"
#include "planner/seen_moves.h"
#include "planner/worker_pool.h"

struct SearchSettings {
    // Positions kept at the front: the breadth of the search and its cost per move.
    std::uint32_t width = 64;
    // How far the lines may run ahead of the moves played for good before the
    // best line's next move is played whatever the others say.
    std::uint32_t depth = 20;
    // What the legal moves of a field are worth against points, so that a
    // line that narrows towards a field with no move loses value before it
    // dies: each pointsPerLegalMove, and besides the k-th 1/k of
    // scarcePointsPerSize times the square root of the jewel spaces.
    std::uint32_t pointsPerLegalMove = 10;
    std::uint32_t scarcePointsPerSize = 20;
    // Children played out per position kept: the others are ranked by their
    // points alone and dropped unplayed.
    std::uint32_t playedPerKept = 2;
    // Threads that look at and play the children, the caller's included. The
    // moves found do not depend on it.
    std::uint32_t threads = 1;
};

// A beam search that rolls forward over the game: every step adds one move to
// each line it holds, keeps the best `width` distinct positions, and plays for
// good the moves that all its lines agree on, or the best line's next move once
// the lines run `depth` moves ahead. Equal positions reached by different
// lines are merged. Reads only the level and the positions it plays.
class BeamSearch {
public:
    // Plays at most moveLimit moves from start, which must be at rest.
    BeamSearch(const Game& start, std::uint32_t moveLimit, const SearchSettings& settings);

    // One step of the search; appends the moves it played for good to played.
    // Returns false once the search is over: it has played moveLimit moves,
    // or no line it held went on, in which case it played the best of them.
    bool advance(MoveList& played);

    // Ends the search early: plays for good the best line it holds.
    void playBestLine(MoveList& played);

    // Whether the search ended because no line it held had a legal move.
    bool ranDry() const { return ranDry_; }

    std::uint32_t width() const { return settings_.width; }
    void setWidth(std::uint32_t width) { settings_.width = width < 1 ? 1 : width; }

private:
    struct Line {
        Line() : game(Game::Unset{}) {}
        Game game;
        MoveMap moves;
        std::int64_t value = 0;
        std::uint64_t hash = 0;
        std::uint32_t legalMoves = 0;
        std::uint32_t parent = 0;  // index in the front it was played from
        Move move{};
        // The columns that move changed in the parent's position.
        std::uint32_t changedFirst = 0;
        std::uint32_t changedLast = 0;
        bool settled = false;
    };

    struct Candidate {
        std::int64_t estimate;
        std::uint32_t parent;
        Move move;
    };

    // Where the moves one front position's looks saw lie: the seen moves of
    // one part of the front, from first to last.
    struct SeenRange {
        std::uint32_t part;
        std::uint32_t first;
        std::uint32_t last;
    };

    std::int64_t valueOf(const Game& game, std::uint32_t legalMoves) const;
    // The contiguous parts that count items are split into; runInParts runs
    // each on the pool with its first and last-plus-one item.
    std::uint32_t partsFor(std::uint32_t count) const;
    template <typename Part>
    void runInParts(std::uint32_t count, Part&& part);
    void gatherCandidates();
    void gatherMovesOf(std::uint32_t index, std::vector<SeenMove>& seen) const;
    void playCandidates();
    void playChild(std::uint32_t index);
    void keepBestDistinct();

    SearchSettings settings_;
    std::unique_ptr<WorkerPool> pool_;
    std::uint32_t moveLimit_;
    bool over_ = false;
    bool ranDry_ = false;
    LineTree tree_;
    std::vector<Line> front_;
    std::vector<Line> children_;
    std::uint32_t childCount_ = 0;
    std::vector<Candidate> candidates_;
    std::vector<std::uint32_t> order_;
    // What the moves of the front did, and of the front before, a range per position.
    std::vector<std::vector<SeenMove>> seen_;
    std::vector<std::vector<SeenMove>> parentSeen_;
    std::vector<SeenRange> seenRanges_;
    std::vector<SeenRange> parentSeenRanges_;
    std::vector<std::uint64_t> keptHashes_;
    std::vector<LineTree::Link> links_;
    std::vector<std::uint32_t> keep_;
    std::vector<std::int64_t> harmonic_;
    std::int64_t scarceWorth_ = 0;  // the worth of a field's first legal move besides the fixed one
};
