#pragma once

#include <algorithm>
#include <cstdint>
#include <span>

#include "engine/candidates.h"
#include "engine/game.h"
#include "engine/moves.h"
#include "engine/register_play.h"

// What one legal move of a position earns, and the columns its play read:
// in a position that differs from this one in none of those, and not in the
// columns its legality reads, the move is legal and earns the same.
struct SeenMove {
    Move move;
    std::uint32_t points;
    std::uint32_t readFirst;
    std::uint32_t readLast;
};

// Calls note(seen) for every legal move of game, mapped in moves, column by
// column. The moves of parentSeen, seen in the position game was played from
// by one move that changed columns changedFirst to changedLast, are taken from
// there wherever that change cannot reach them; the rest are looked at on a
// scratch copy. With no parent moves, every move is looked at.
template <typename Note>
void seeMoves(const Game& game, const MoveMap& moves, std::span<const SeenMove> parentSeen, std::uint32_t changedFirst,
              std::uint32_t changedLast, Note&& note) {
    Game scratch(game);
    const auto look = [&](const Move& move) {
        const MoveOutcome outcome = lookAtMove(game, scratch, move);
        if (outcome.played) restoreAfterMove(scratch, game);
        // Finding a run reads two columns past the cells it changes.
        note(SeenMove{move, outcome.points, outcome.firstChanged >= 2 ? outcome.firstChanged - 2 : 0,
                      std::min(outcome.lastChanged + 2, Level.columnCount - 1)});
    };
    if (parentSeen.empty()) {
        forEachMove(moves, look);
        return;
    }
    const SeenMove* parentMove = parentSeen.data();
    const SeenMove* const parentEnd = parentMove + parentSeen.size();
    for (std::uint32_t column = 0; column < Level.columnCount; ++column) {
        // A move's legality reads from two columns left of it to three right.
        if (column + 3 >= changedFirst && column <= changedLast + 2) {
            forEachMove(moves, column, column, look);
            continue;
        }
        while (parentMove != parentEnd && parentMove->move.column < column) ++parentMove;
        for (; parentMove != parentEnd && parentMove->move.column == column; ++parentMove) {
            if (parentMove->readFirst <= changedLast && changedFirst <= parentMove->readLast)
                look(parentMove->move);
            else
                note(*parentMove);
        }
    }
}
