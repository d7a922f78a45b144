#pragma once

#include <array>
#include <bit>
#include <cstdint>

#include "engine/game.h"
#include "engine/moves.h"

// The legal moves (swaps that make a run) of a field, appended in a fixed order:
// the bottom row first, columns ascending, and in one cell the Z move before the
// O move. Every list argument may be null, in which case the operation only counts.

// Every legal move of the field.
std::uint32_t enumerateAll(const Game& game, MoveList* out);

// The legal moves of a field as bit sets, bit r of a column's entry standing for
// the move at row r. A search keeps the map of a position and updates only the
// columns a move changed, instead of listing every child position afresh.
struct MoveMap {
    std::array<std::uint64_t, kMaxColumns> south;  // Z moves
    std::array<std::uint64_t, kMaxColumns> east;   // O moves
};

void mapAllMoves(const Game& game, MoveMap& map);

// The number of legal moves a map holds: what a search weighs to keep a game
// going, at the cost of a popcount per column.
std::uint32_t countMoves(const MoveMap& map);

// The map of a child position, reached from the position mapped by `parent` by
// one move whose changes its touched range holds (the caller empties that range
// before the move): the parent's map with only the moves whose legality can
// read those changes recomputed, from three columns left of them to two right.
// A child whose cascade was cut off at the refill cap (its dirty range is not
// empty) has cells its touched range does not cover, and is mapped in full.
void mapChildMoves(const Game& child, const MoveMap& parent, MoveMap& childMap);

// Brings the map of a position up to date for game, which differs from it only
// in columns firstChanged to lastChanged (none when first > last).
void remapChangedColumns(const Game& game, std::uint32_t firstChanged, std::uint32_t lastChanged, MoveMap& map);

// Maps into map the moves of game that a change in columns firstChanged to
// lastChanged (at least one) can make or unmake, those of the columns from
// three left of them to two right, and sets low and high to those columns;
// the other columns of map are left as they are.
void mapMovesReaching(const Game& game, std::uint32_t firstChanged, std::uint32_t lastChanged, MoveMap& map,
                      std::uint32_t& low, std::uint32_t& high);

// The moves of a map in enumerateAll's order; enumerateAll(game) lists exactly
// the moves of a map kept up to date for game.
std::uint32_t listAllMoves(const MoveMap& map, MoveList* out);

// The moves of a map column by column, as forEachMove visits them: cheaper
// than listAllMoves for a search that breaks its ties by listingRank, or
// needs no order.
std::uint32_t listMovesByColumn(const MoveMap& map, MoveList& out);

// The legal moves of the columns within three of the touched range: the only
// moves whose legality a change in that range can alter.
std::uint32_t enumerateNear(const Game& game, MoveList* out);

// The moves of an earlier list that lie outside that window, not tested again.
// Returns 0 when the window covers the whole field.
std::uint32_t keepDistant(const Game& game, MoveList* out, const MoveList* earlier);

// Rebuilds the legal moves after play: the distant earlier moves, then the moves
// of the window. Resets the touched range, so the next call sees only what
// happens from now on.
std::uint32_t refreshCandidates(Game& game, MoveList& out, const MoveList& earlier);

// Calls visit(move) for every move of a map in columns first to last, column
// by column: cheaper than a list where the order does not matter, as in a
// search that keeps only the best move and breaks ties by listingRank.
template <typename Visit>
void forEachMove(const MoveMap& map, std::uint32_t first, std::uint32_t last, Visit&& visit) {
    for (std::uint32_t column = first; column <= last; ++column) {
        for (std::uint64_t rows = map.south[column]; rows != 0; rows &= rows - 1)
            visit(Move{column, static_cast<std::uint32_t>(std::countr_zero(rows)), South});
        for (std::uint64_t rows = map.east[column]; rows != 0; rows &= rows - 1)
            visit(Move{column, static_cast<std::uint32_t>(std::countr_zero(rows)), East});
    }
}

// forEachMove over every column.
template <typename Visit>
void forEachMove(const MoveMap& map, Visit&& visit) {
    forEachMove(map, 0, Level.columnCount - 1, visit);
}

// Maps into map the legal moves of the columns within three of the touched
// range, those enumerateNear lists, and sets first and last to those columns
// (first > last when the range is empty); other columns are left as they are.
void mapNear(const Game& game, MoveMap& map, std::uint32_t& first, std::uint32_t& last);

// A move's place in the listing order: of two moves, the one of smaller rank
// is listed first.
inline std::uint32_t listingRank(const Move& move) {
    return ((kMaxRows - 1 - move.row) * kMaxColumns + move.column) * 2 + (move.direction == East ? 1 : 0);
}

// The first listed of the moves of the greatest value, whatever order they
// are offered in: of equal values, the smaller listing rank wins. Lets a
// search take its moves straight from a map, which costs less than listing
// them in order.
template <typename Value>
class FirstListedBest {
public:
    // Whether move is now the best.
    bool offer(const Move& move, Value value) {
        const bool better = !any || value > best || (value == best && listingRank(move) < listingRank(bestMove));
        if (better) {
            any = true;
            best = value;
            bestMove = move;
        }
        return better;
    }

    bool found() const { return any; }
    Value value() const { return best; }  // Value{} when nothing was offered
    const Move& move() const { return bestMove; }

private:
    bool any = false;
    Value best{};
    Move bestMove{};
};
