#pragma once

#include <cstdint>
#include <vector>

#include "engine/moves.h"

// The moves of the lines a search holds, as a tree: each position at the
// front links to the position it was played from, so lines share the moves
// they agree on. Below the committed depth the tree is one line, the moves
// played for good; above it, it branches out to the front. Depths count moves
// from the start of the game.
class LineTree {
public:
    struct Link {
        std::uint32_t parent;  // index in the layer one move shallower
        Move move;             // the move that leads from it here
    };

    // Room for lines that run at most maxLag moves ahead of the committed ones,
    // and one more layer, pushed before a commit brings them back.
    explicit LineTree(std::uint32_t maxLag);

    std::uint32_t committedDepth() const { return committed_; }
    std::uint32_t frontDepth() const { return front_; }
    std::uint32_t frontSize() const { return static_cast<std::uint32_t>(layer(front_).size()); }

    // Adds a layer of positions one move beyond the front, each linked to its
    // parent in the front. Needs a lag below maxLag + 1 before the push.
    void push(const std::vector<Link>& links);

    // The index, in the layer at depth (committed, front], of the position the
    // front position frontIndex was reached through.
    std::uint32_t ancestorOf(std::uint32_t frontIndex, std::uint32_t depth) const;

    // Commits the moves on which every front line agrees, appending them to
    // played: the positions past the committed depth that every line passes.
    void commitAgreed(MoveList& played);

    // Keeps only the front positions whose indices keep lists in ascending
    // order, renumbered from 0 in that order; the search compacts its own
    // front alike.
    void keepFront(const std::vector<std::uint32_t>& keep);

    // Commits the whole line of the front position frontIndex, which becomes
    // the only front position.
    void commitLine(std::uint32_t frontIndex, MoveList& played);

private:
    std::vector<Link>& layer(std::uint32_t depth) { return layers_[depth % layers_.size()]; }
    const std::vector<Link>& layer(std::uint32_t depth) const { return layers_[depth % layers_.size()]; }

    std::vector<std::vector<Link>> layers_;
    // Per layer, the pass of commitAgreed that last reached each position, so
    // that no mark needs clearing between passes.
    std::vector<std::vector<std::uint32_t>> reached_;
    std::vector<std::uint32_t> current_;
    std::vector<std::uint32_t> parents_;
    std::vector<std::uint32_t> reachedCount_;
    std::uint32_t pass_ = 0;
    std::uint32_t committed_ = 0;
    std::uint32_t front_ = 0;
};
