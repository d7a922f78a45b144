#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "engine/game.h"
#include "engine/moves.h"

// A searched position differs from its parent only in the columns its own move
// changed. Playing a move reads nothing but the columns from two left of those
// it changes to two right of them, so a move that reads none of the changed
// columns earns in the child exactly what it earned in the parent. A search
// records what each move did in a position and plays, in its children, only the
// moves near the change.

// Columns first to last; empty when first > last.
struct ColumnSpan {
    std::uint32_t first;
    std::uint32_t last;

    bool overlaps(ColumnSpan other) const { return first <= other.last && other.first <= last; }
};

// The columns whose cells or cursors a settled move changed, given the position
// after it with the touched range emptied before the move. A cascade cut off at
// the refill cap left cleared cells its touched range does not cover, so it
// counts as changing every column.
inline ColumnSpan changedColumns(const Game& after) {
    if (after.dirtyFirst <= after.dirtyLast) return {0, Level.columnCount - 1};
    return {after.touchedFirst, after.touchedLast};
}

// The columns a change can reach: two on either side, as far as the field goes.
inline ColumnSpan readColumns(ColumnSpan changed) {
    return {changed.first >= 2 ? changed.first - 2 : 0,
            changed.last + 2 < Level.columnCount ? changed.last + 2 : Level.columnCount - 1};
}

// The points and read columns of every legal move of one position, found by the
// move's cell and direction.
class MoveEffects {
public:
    // Notes what move did: `after` is the settled position it led to, with the
    // touched range emptied before the move.
    void record(const Move& move, const Game& after, std::uint32_t points) {
        effects[indexOf(move)] = {points, readColumns(changedColumns(after))};
    }

    // Whether move, legal in a child that differs from the recorded position
    // only in the changed columns, earns there what it earned here; sets points
    // when it does. A move whose legality reads none of the changed columns was
    // legal here too, so its record belongs to this position.
    bool knownPoints(const Move& move, ColumnSpan changed, std::uint32_t& points) const {
        const ColumnSpan legalityReads = readColumns({move.column, move.direction == East ? move.column + 1 : move.column});
        if (legalityReads.overlaps(changed)) return false;
        const Effect& effect = effects[indexOf(move)];
        if (effect.reads.overlaps(changed)) return false;
        points = effect.points;
        return true;
    }

private:
    struct Effect {
        std::uint32_t points;
        ColumnSpan reads;
    };

    static std::size_t indexOf(const Move& move) {
        return (move.column * kMaxRows + move.row) * 2 + (move.direction == East ? 1 : 0);
    }

    std::array<Effect, 2 * kMaxCells> effects;
};
