#include "planner/beam_search.h"

#include <algorithm>
#include <bit>
#include <cmath>

#include "engine/register_play.h"

namespace {

// A step's work is split into a few parts per thread, so that a thread whose
// parts met long cascades holds the others up little; but into parts of at
// least a few positions, as handing parts over costs microseconds a step.
constexpr std::uint32_t kPartsPerThread = 4;
constexpr std::uint32_t kLeastPerPart = 16;

// Of two moves of equal value, the one from the better parent (the smaller
// index: the front is kept in order of value) and then the first listed wins,
// so the search does the same on every machine.
template <typename Entry>
bool rankedBefore(std::int64_t valueA, const Entry& a, std::int64_t valueB, const Entry& b) {
    if (valueA != valueB) return valueA > valueB;
    if (a.parent != b.parent) return a.parent < b.parent;
    return listingRank(a.move) < listingRank(b.move);
}

}  // namespace

BeamSearch::BeamSearch(const Game& start, std::uint32_t moveLimit, const SearchSettings& settings)
    : settings_(settings),
      pool_(std::make_unique<WorkerPool>(settings.threads)),
      moveLimit_(moveLimit),
      tree_(settings.depth) {
    setWidth(settings.width);
    // A part's seen moves for every part a step may be split into.
    seen_.resize(pool_->threads() * kPartsPerThread);
    parentSeen_.resize(seen_.size());
    // The harmonic numbers in millionths, summed in integers so that every
    // machine values alike.
    harmonic_.assign(2 * kMaxCells + 1, 0);
    for (std::uint32_t count = 1; count < harmonic_.size(); ++count)
        harmonic_[count] = harmonic_[count - 1] + 1000000 / count;
    // Fields hold legal moves about in proportion to their size, so what
    // counts as few grows with it.
    scarceWorth_ = static_cast<std::int64_t>(
        std::lround(settings.scarcePointsPerSize * std::sqrt(static_cast<double>(Level.jewelSpaceCount))));
    Line& root = front_.emplace_back();
    root.game = start;
    mapAllMoves(root.game, root.moves);
    root.legalMoves = countMoves(root.moves);
    root.settled = true;
}

std::int64_t BeamSearch::valueOf(const Game& game, std::uint32_t legalMoves) const {
    const std::size_t count = std::min<std::size_t>(legalMoves, harmonic_.size() - 1);
    return static_cast<std::int64_t>(game.score) +
           static_cast<std::int64_t>(settings_.pointsPerLegalMove) * static_cast<std::int64_t>(count) +
           scarceWorth_ * harmonic_[count] / 1000000;
}

std::uint32_t BeamSearch::partsFor(std::uint32_t count) const {
    return std::clamp(count / kLeastPerPart, std::min(count, 1u), pool_->threads() * kPartsPerThread);
}

template <typename Part>
void BeamSearch::runInParts(std::uint32_t count, Part&& part) {
    const std::uint32_t parts = partsFor(count);
    pool_->run(parts, [&](std::uint32_t index) {
        part(index, static_cast<std::uint32_t>(std::uint64_t{count} * index / parts),
             static_cast<std::uint32_t>(std::uint64_t{count} * (index + 1) / parts));
    });
}

void BeamSearch::gatherCandidates() {
    parentSeen_.swap(seen_);
    parentSeenRanges_.swap(seenRanges_);
    const auto size = static_cast<std::uint32_t>(front_.size());
    seenRanges_.resize(size);
    runInParts(size, [&](std::uint32_t part, std::uint32_t first, std::uint32_t last) {
        std::vector<SeenMove>& seen = seen_[part];
        seen.clear();
        for (std::uint32_t index = first; index < last; ++index) {
            const auto begin = static_cast<std::uint32_t>(seen.size());
            gatherMovesOf(index, seen);
            seenRanges_[index] = {part, begin, static_cast<std::uint32_t>(seen.size())};
        }
    });
    // In the front's order, as one thread would have found them. Each child
    // counts the legal moves of its parent until it is played.
    candidates_.clear();
    for (std::uint32_t index = 0; index < size; ++index) {
        const Line& line = front_[index];
        const std::int64_t parentValue = valueOf(line.game, line.legalMoves);
        const SeenRange& range = seenRanges_[index];
        for (std::uint32_t entry = range.first; entry < range.last; ++entry) {
            const SeenMove& seen = seen_[range.part][entry];
            candidates_.push_back({parentValue + seen.points, index, seen.move});
        }
    }
}

void BeamSearch::gatherMovesOf(std::uint32_t index, std::vector<SeenMove>& seen) const {
    // Every child is first only looked at, which on low fields costs no play.
    const Line& line = front_[index];
    // The root's position has no parent whose moves it could take.
    std::span<const SeenMove> parentSeen;
    if (!parentSeenRanges_.empty()) {
        const SeenRange& range = parentSeenRanges_[line.parent];
        parentSeen = std::span<const SeenMove>(parentSeen_[range.part]).subspan(range.first, range.last - range.first);
    }
    seeMoves(line.game, line.moves, parentSeen, line.changedFirst, line.changedLast,
             [&seen](const SeenMove& move) { seen.push_back(move); });
}

void BeamSearch::playCandidates() {
    const auto before = [](const Candidate& a, const Candidate& b) {
        return rankedBefore(a.estimate, a, b.estimate, b);
    };
    const std::size_t played =
        std::min<std::size_t>(candidates_.size(), static_cast<std::size_t>(settings_.width) * settings_.playedPerKept);
    if (played < candidates_.size())
        std::nth_element(candidates_.begin(), candidates_.begin() + static_cast<std::ptrdiff_t>(played),
                         candidates_.end(), before);
    if (children_.size() < played) children_.resize(played);
    childCount_ = static_cast<std::uint32_t>(played);
    runInParts(childCount_, [this](std::uint32_t, std::uint32_t first, std::uint32_t last) {
        for (std::uint32_t index = first; index < last; ++index) playChild(index);
    });
}

void BeamSearch::playChild(std::uint32_t index) {
    const Candidate& candidate = candidates_[index];
    const Line& parent = front_[candidate.parent];
    Line& child = children_[index];
    child.game = parent.game;
    child.parent = candidate.parent;
    child.move = candidate.move;
    // The touched range then spans what the move changed, all the child's map needs.
    clearRange(child.game.touchedFirst, child.game.touchedLast);
    child.settled = playMove(child.game, candidate.move).settled;
    if (!child.settled) return;
    changedColumnsOf(child.game, child.changedFirst, child.changedLast);
    mapChildMoves(child.game, parent.moves, child.moves);
    child.legalMoves = countMoves(child.moves);
    child.value = valueOf(child.game, child.legalMoves);
    child.hash = positionHash(child.game);
}

void BeamSearch::keepBestDistinct() {
    order_.clear();
    for (std::uint32_t index = 0; index < childCount_; ++index)
        if (children_[index].settled) order_.push_back(index);
    std::sort(order_.begin(), order_.end(), [this](std::uint32_t a, std::uint32_t b) {
        return rankedBefore(children_[a].value, children_[a], children_[b].value, children_[b]);
    });

    // An open-addressed set of the positions kept; a position reached again
    // comes later in the order, worth no more than the one kept.
    const std::size_t slots = std::bit_ceil(order_.size() * 2 + 2);
    keptHashes_.assign(slots, 0);
    links_.clear();
    keep_.clear();
    for (const std::uint32_t index : order_) {
        if (keep_.size() == settings_.width) break;
        const std::uint64_t hash = children_[index].hash | 1;  // 0 marks a free slot
        std::size_t slot = hash & (slots - 1);
        while (keptHashes_[slot] != 0 && keptHashes_[slot] != hash) slot = (slot + 1) & (slots - 1);
        if (keptHashes_[slot] == hash) continue;
        keptHashes_[slot] = hash;
        keep_.push_back(index);
        links_.push_back({children_[index].parent, children_[index].move});
    }
    front_.resize(keep_.size());
    for (std::size_t index = 0; index < keep_.size(); ++index) front_[index] = children_[keep_[index]];
    tree_.push(links_);
}

void BeamSearch::playBestLine(MoveList& played) {
    if (over_) return;
    tree_.commitLine(0, played);
    over_ = true;
}

bool BeamSearch::advance(MoveList& played) {
    if (over_) return false;
    if (tree_.frontDepth() >= moveLimit_) {
        playBestLine(played);
        return false;
    }
    gatherCandidates();
    playCandidates();
    const bool anyChild = std::any_of(children_.begin(), children_.begin() + childCount_,
                                      [](const Line& child) { return child.settled; });
    if (!anyChild) {
        ranDry_ = true;
        playBestLine(played);
        return false;
    }
    keepBestDistinct();
    tree_.commitAgreed(played);
    if (tree_.frontDepth() - tree_.committedDepth() > settings_.depth) {
        // The best line's next move is played; the lines that start otherwise are dropped.
        const std::uint32_t next = tree_.committedDepth() + 1;
        const std::uint32_t chosen = tree_.ancestorOf(0, next);
        keep_.clear();
        for (std::uint32_t index = 0; index < front_.size(); ++index)
            if (tree_.ancestorOf(index, next) == chosen) keep_.push_back(index);
        tree_.keepFront(keep_);
        for (std::size_t index = 0; index < keep_.size(); ++index) front_[index] = front_[keep_[index]];
        front_.resize(keep_.size());
        tree_.commitAgreed(played);
    }
    if (tree_.frontDepth() >= moveLimit_) {
        playBestLine(played);
        return false;
    }
    return true;
}
