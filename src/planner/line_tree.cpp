#include "planner/line_tree.h"

#include <cassert>

LineTree::LineTree(std::uint32_t maxLag) : layers_(maxLag + 2), reached_(maxLag + 2) {
    // The committed position: the root, which no move leads to.
    layer(0).push_back({0, Move{0, 0, East}});
}

void LineTree::push(const std::vector<Link>& links) {
    assert(front_ + 1 - committed_ < layers_.size());
    ++front_;
    layer(front_) = links;
}

std::uint32_t LineTree::ancestorOf(std::uint32_t frontIndex, std::uint32_t depth) const {
    std::uint32_t index = frontIndex;
    for (std::uint32_t at = front_; at > depth; --at) index = layer(at)[index].parent;
    return index;
}

void LineTree::commitAgreed(MoveList& played) {
    // Walks back from the front, a layer at a time, listing the distinct
    // positions the lines pass; the layers passed by a single one, from the
    // committed depth up, are moves every line makes.
    ++pass_;
    const std::uint32_t lag = front_ - committed_;
    reachedCount_.assign(lag + 1, 0);
    current_.clear();
    for (std::uint32_t index = 0; index < frontSize(); ++index) current_.push_back(index);
    reachedCount_[lag] = frontSize();
    for (std::uint32_t at = front_; at > committed_ + 1; --at) {
        std::vector<std::uint32_t>& marks = reached_[(at - 1) % layers_.size()];
        marks.resize(layer(at - 1).size(), 0);
        parents_.clear();
        for (const std::uint32_t index : current_) {
            const std::uint32_t parent = layer(at)[index].parent;
            if (marks[parent] == pass_) continue;
            marks[parent] = pass_;
            parents_.push_back(parent);
        }
        current_.swap(parents_);
        reachedCount_[at - 1 - committed_] = static_cast<std::uint32_t>(current_.size());
    }
    while (committed_ < front_ && reachedCount_[committed_ + 1 - (front_ - lag)] == 1) {
        const std::uint32_t depth = committed_ + 1;
        const std::uint32_t only = ancestorOf(0, depth);
        played.push_back(layer(depth)[only].move);
        committed_ = depth;
    }
}

void LineTree::keepFront(const std::vector<std::uint32_t>& keep) {
    std::vector<Link>& links = layer(front_);
    for (std::size_t index = 0; index < keep.size(); ++index) links[index] = links[keep[index]];
    links.resize(keep.size());
}

void LineTree::commitLine(std::uint32_t frontIndex, MoveList& played) {
    keepFront({frontIndex});
    commitAgreed(played);
}
