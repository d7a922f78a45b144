#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "ai/move_effects.h"
#include "engine/moves.h"

// Two moves that do not read what the other changes can be played in either
// order: both orders leave the same position, as each changes the same cells
// and supplies either way. A search three moves deep meets most such
// positions twice below its root, as (i, j) and as (j, i), and values the
// position after them the same both times; this table keeps the value from
// the first time. Its keys are pairs of the root's candidates, so it holds
// for one root at a time.
class Transpositions {
public:
    // Whether the moves that changed columns a and b in turn (b measured after
    // a was played) commute: neither reads a column the other changed.
    static bool commute(ColumnSpan a, ColumnSpan b) {
        return !readColumns(a).overlaps(b) && !readColumns(b).overlaps(a);
    }

    // Forgets the last root and numbers the candidates of the new one.
    void startRoot(const MoveList& candidates) {
        count = candidates.size();
        for (std::size_t index = 0; index < count; ++index)
            rootIndexOf[moveIndex(candidates[index])] = static_cast<std::uint16_t>(index);
        if (values.size() < count * count) {
            values.resize(count * count);
            stamps.resize(count * count, 0);
        }
        ++stamp;
    }

    // The value of the position after root candidate `first` and then `second`,
    // a move that commutes with it (so a root candidate too), if kept.
    bool find(std::size_t first, const Move& second, std::uint32_t& value) const {
        const std::size_t slot = slotOf(first, second);
        if (stamps[slot] != stamp) return false;
        value = values[slot];
        return true;
    }

    // The value of the position after root candidate `first` and then `second`:
    // the kept one when the two commute and it was found before, else what
    // compute() finds, kept for the other order when they commute.
    template <typename Compute>
    std::uint32_t valueAfter(std::size_t first, const Move& second, bool commuting, Compute compute) {
        std::uint32_t value = 0;
        if (commuting && find(first, second, value)) return value;
        value = compute();
        if (commuting) keep(first, second, value);
        return value;
    }

    void keep(std::size_t first, const Move& second, std::uint32_t value) {
        const std::size_t slot = slotOf(first, second);
        values[slot] = value;
        stamps[slot] = stamp;
    }

private:
    // One slot per unordered pair of root candidates.
    std::size_t slotOf(std::size_t first, const Move& second) const {
        const std::size_t other = rootIndexOf[moveIndex(second)];
        return first < other ? first * count + other : other * count + first;
    }

    std::size_t count = 0;
    std::array<std::uint16_t, 2 * kMaxCells> rootIndexOf{};
    std::vector<std::uint32_t> values;
    std::vector<std::uint32_t> stamps;  // a slot is kept for this root when its stamp is current
    std::uint32_t stamp = 0;
};

// The columns a root candidate changed, to test for commuting moves below it:
// every column when the root itself was not at rest, as its pending cascade
// then settles with whichever move comes first.
inline ColumnSpan transposableChange(const Game& root, const Game& afterCandidate) {
    if (root.dirtyFirst <= root.dirtyLast) return {0, Level.columnCount - 1};
    return changedColumns(afterCandidate);
}
