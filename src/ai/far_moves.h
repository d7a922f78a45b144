#pragma once

#include <algorithm>
#include <array>
#include <cstdint>
#include <vector>

#include "ai/ai.h"
#include "ai/move_effects.h"
#include "engine/candidates.h"

// The legal moves of one position and what each earned there, gathered once
// for the positions one move below it, where a search wants only the most
// points one move earns. Such a position differs from this one only in the
// columns its move changed, so every move far from that change earns there
// what it earned here: the best of the far moves comes from two tables, by
// the column where each move's reach ends and where it starts, and only the
// moves near the change need a look of their own. A position has some forty
// moves, and a change reaches about a fifth of them.
class FarMoves {
public:
    FarMoves() { wide.reserve(kReservedMoves); }

    // Gathers the legal moves of a position; effects must hold what each of
    // them did there.
    void gather(const MoveList& moves, const MoveEffects& effects);

    // The most a move far from the changed columns (at least one) earns: one
    // that reads none of them. 0 when no move is far.
    std::uint32_t farBest(ColumnSpan changed) const {
        return std::max(bestEndingBefore[changed.first], bestStartingAfter[changed.last]);
    }

    // Calls visit(move) for every near move that lies outside the columns of
    // window, those whose moves the change can make or unmake: one whose
    // cascade read far to the side. It stays legal below, and must be looked
    // at there.
    template <typename Visit>
    void forEachNearOutside(ColumnSpan changed, ColumnSpan window, Visit&& visit) const {
        for (const Wide& each : wide) {
            const bool outside = each.move.column < window.first || each.move.column > window.last;
            if (outside && each.reach.overlaps(changed)) visit(each.move);
        }
    }

private:
    // A move whose reach extends past the columns whose moves a change there
    // can make or unmake.
    struct Wide {
        Move move;
        ColumnSpan reach;
    };

    // The columns whose change can alter what move does: those its legality
    // reads, two left of its cells to two right, and those its play read. A
    // legal move changes its own cells, so its play read all the first ones
    // too, and a move is far from a change exactly when its effect holds.
    static ColumnSpan reachOf(const Move& move, const MoveEffect& effect) {
        const ColumnSpan legality = readColumns(columnsOf(move));
        return {std::min(effect.reads.first, legality.first), std::max(effect.reads.last, legality.last)};
    }

    // bestEndingBefore[c]: the most a move earns whose reach ends before
    // column c; bestStartingAfter[c]: one whose reach starts after column c.
    std::array<std::uint32_t, kMaxColumns + 1> bestEndingBefore{};
    std::array<std::uint32_t, kMaxColumns> bestStartingAfter{};
    std::vector<Wide> wide;
};
