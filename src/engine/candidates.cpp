#include "engine/candidates.h"

#include <algorithm>
#include <array>
#include <bit>

#include "engine/column_compare.h"

namespace {

struct ColumnWindow {
    std::uint32_t low;
    std::uint32_t high;
};

// A legal move at column c depends on columns c - 2 to c + 3, so a change in
// columns first to last can alter only the moves within three columns of it.
ColumnWindow windowAround(std::uint32_t first, std::uint32_t last) {
    const std::uint32_t low = first >= 3 ? first - 3 : 0;
    const std::uint32_t high = last + 3 < Level.columnCount ? last + 3 : Level.columnCount - 1;
    return {low, high};
}

ColumnWindow windowAroundTouched(const Game& game) { return windowAround(game.touchedFirst, game.touchedLast); }

ColumnWindow wholeField() { return {0, Level.columnCount - 1}; }

// Bit r: the cell at (column1, r + rows1) equals the one at (column2, r + rows2);
// 0 when either column lies outside the field. Every test below compares a
// moved jewel with another cell, so rock never counts as equal to anything it
// is compared with; only a cell read past its column's stored rows needs a
// mask, which the callers apply.
// Inside holds when every column a move test reads lies in the field, which
// spares the edge tests for all but the columns near the edges.
template <unsigned Blocks, bool Inside>
std::uint64_t equalAt(const Game& game, int column1, int rows1, int column2, int rows2) {
    const auto columns = static_cast<int>(Level.columnCount);
    if (!Inside && (column1 < 0 || column2 < 0 || column1 >= columns || column2 >= columns)) return 0;
    const int lower = std::min(rows1, rows2);
    const Cell* first = &game.cells[static_cast<std::uint32_t>(column1) * Level.stride + (rows1 - lower)];
    const Cell* second = &game.cells[static_cast<std::uint32_t>(column2) * Level.stride + (rows2 - lower)];
    const std::uint64_t equal = equalBlocksMask<Blocks>(first, second);
    return lower >= 0 ? equal >> lower : equal << -lower;
}

// Bit r: a pair of cells in line with the middle one, on either side or both,
// equals it: the two before, one before and one after, or the two after.
std::uint64_t pairAround(std::uint64_t twoBefore, std::uint64_t before, std::uint64_t after, std::uint64_t twoAfter) {
    return (twoBefore & before) | (before & after) | (after & twoAfter);
}

// Rows r at which exchanging (column, r) with the cell below makes a run: the
// lower jewel rises to r and can only extend upward or sideways, the upper one
// falls to r + 1 and can only extend downward or sideways.
template <unsigned Blocks, bool Inside>
std::uint64_t southMoves(const Game& game, int c) {
    const std::uint64_t jewelRows = Level.jewelRows[static_cast<std::uint32_t>(c)];
    const auto eq = [&game](int column1, int rows1, int column2, int rows2) {
        return equalAt<Blocks, Inside>(game, column1, rows1, column2, rows2);
    };
    // The rising jewel, from row r + 1.
    const std::uint64_t risingUp = eq(c, -1, c, 1) & eq(c, -2, c, 1);
    const std::uint64_t risingSideways = pairAround(eq(c - 2, 0, c, 1), eq(c - 1, 0, c, 1), eq(c + 1, 0, c, 1),
                                                    eq(c + 2, 0, c, 1));
    // The falling jewel, from row r; rows past the column's height are not its cells.
    const std::uint64_t fallingDown = eq(c, 2, c, 0) & eq(c, 3, c, 0) & (jewelRows >> 3);
    const std::uint64_t fallingSideways = pairAround(eq(c - 2, 1, c, 0), eq(c - 1, 1, c, 0), eq(c + 1, 1, c, 0),
                                                     eq(c + 2, 1, c, 0));
    // Both cells must be jewels, and unequal ones.
    const std::uint64_t exchangeable = (jewelRows >> 1) & ~eq(c, 0, c, 1);
    return (risingUp | risingSideways | fallingDown | fallingSideways) & exchangeable;
}

// Rows r at which exchanging (column, r) with its right-hand neighbour makes a
// run: the right jewel moves left and can only extend leftward or vertically,
// the left one moves right and can only extend rightward or vertically.
template <unsigned Blocks, bool Inside>
std::uint64_t eastMoves(const Game& game, int c) {
    if (static_cast<std::uint32_t>(c) + 1 >= Level.columnCount) return 0;
    const std::uint64_t left = Level.jewelRows[static_cast<std::uint32_t>(c)];
    const std::uint64_t right = Level.jewelRows[static_cast<std::uint32_t>(c) + 1];
    const auto eq = [&game](int column1, int rows1, int column2, int rows2) {
        return equalAt<Blocks, Inside>(game, column1, rows1, column2, rows2);
    };
    // The jewel moving left, from (c + 1, r); below row r only the column's own cells count.
    const std::uint64_t leftward = eq(c - 1, 0, c + 1, 0) & eq(c - 2, 0, c + 1, 0);
    const std::uint64_t leftVertical = pairAround(eq(c, -2, c + 1, 0), eq(c, -1, c + 1, 0),
                                                  eq(c, 1, c + 1, 0) & (left >> 1), eq(c, 2, c + 1, 0) & (left >> 2));
    // The jewel moving right, from (c, r).
    const std::uint64_t rightward = eq(c + 2, 0, c, 0) & eq(c + 3, 0, c, 0);
    const std::uint64_t rightVertical = pairAround(eq(c + 1, -2, c, 0), eq(c + 1, -1, c, 0),
                                                   eq(c + 1, 1, c, 0) & (right >> 1), eq(c + 1, 2, c, 0) & (right >> 2));
    const std::uint64_t exchangeable = left & right & ~eq(c, 0, c + 1, 0);
    return (leftward | leftVertical | rightward | rightVertical) & exchangeable;
}

template <unsigned Blocks>
void mapColumnsInBlocks(const Game& game, ColumnWindow window, MoveMap& map) {
    for (std::uint32_t column = window.low; column <= window.high; ++column) {
        // The tests of column c read columns c - 2 to c + 3.
        const auto c = static_cast<int>(column);
        if (column >= 2 && column + 3 < Level.columnCount) {
            map.south[column] = southMoves<Blocks, true>(game, c);
            map.east[column] = eastMoves<Blocks, true>(game, c);
        } else {
            map.south[column] = southMoves<Blocks, false>(game, c);
            map.east[column] = eastMoves<Blocks, false>(game, c);
        }
    }
}

// Sets the moves of the window's columns in the map.
void mapColumns(const Game& game, ColumnWindow window, MoveMap& map) {
    switch ((Level.stride + 15) / 16) {
        case 0:
        case 1: return mapColumnsInBlocks<1>(game, window, map);
        case 2: return mapColumnsInBlocks<2>(game, window, map);
        case 3: return mapColumnsInBlocks<3>(game, window, map);
        default: return mapColumnsInBlocks<4>(game, window, map);
    }
}

// Lists the moves of the window's columns in the listing order: the bottom row
// first, columns ascending, Z before O.
std::uint32_t listColumns(const MoveMap& map, ColumnWindow window, MoveList* out) {
    // Bit c of movesInRow[r]: column c has a move at row r.
    std::array<std::uint64_t, kMaxRows> movesInRow{};
    std::uint64_t rowsWithMoves = 0;
    for (std::uint32_t column = window.low; column <= window.high; ++column) {
        const std::uint64_t rows = map.south[column] | map.east[column];
        for (std::uint64_t each = rows; each != 0; each &= each - 1)
            movesInRow[std::countr_zero(each)] |= std::uint64_t{1} << column;
        rowsWithMoves |= rows;
    }

    std::uint32_t count = 0;
    while (rowsWithMoves != 0) {
        const std::uint32_t row = 63 - static_cast<std::uint32_t>(std::countl_zero(rowsWithMoves));
        rowsWithMoves &= ~(std::uint64_t{1} << row);
        for (std::uint64_t columns = movesInRow[row]; columns != 0; columns &= columns - 1) {
            const auto column = static_cast<std::uint32_t>(std::countr_zero(columns));
            if ((map.south[column] >> row) & 1) {
                if (out != nullptr) out->push_back({column, row, South});
                ++count;
            }
            if ((map.east[column] >> row) & 1) {
                if (out != nullptr) out->push_back({column, row, East});
                ++count;
            }
        }
    }
    return count;
}

std::uint32_t enumerateColumns(const Game& game, MoveList* out, ColumnWindow window) {
    MoveMap map;
    mapColumns(game, window, map);
    return listColumns(map, window, out);
}

}  // namespace

std::uint32_t enumerateAll(const Game& game, MoveList* out) { return enumerateColumns(game, out, wholeField()); }

void mapAllMoves(const Game& game, MoveMap& map) { mapColumns(game, wholeField(), map); }

void mapChildMoves(const Game& child, const MoveMap& parent, MoveMap& childMap) {
    if (child.dirtyFirst <= child.dirtyLast) {
        mapAllMoves(child, childMap);
        return;
    }
    childMap = parent;
    remapChangedColumns(child, child.touchedFirst, child.touchedLast, childMap);
}

void remapChangedColumns(const Game& game, std::uint32_t firstChanged, std::uint32_t lastChanged, MoveMap& map) {
    if (firstChanged > lastChanged) return;
    mapColumns(game, windowAround(firstChanged, lastChanged), map);
}

std::uint32_t listAllMoves(const MoveMap& map, MoveList* out) { return listColumns(map, wholeField(), out); }

std::uint32_t enumerateNear(const Game& game, MoveList* out) {
    return enumerateColumns(game, out, windowAroundTouched(game));
}

std::uint32_t keepDistant(const Game& game, MoveList* out, const MoveList* earlier) {
    if (earlier == nullptr || earlier->empty()) return 0;
    const ColumnWindow window = windowAroundTouched(game);
    if (window.low == 0 && window.high == Level.columnCount - 1) return 0;
    std::uint32_t count = 0;
    for (const Move& move : *earlier) {
        if (move.column < window.low || move.column > window.high) {
            if (out != nullptr) out->push_back(move);
            ++count;
        }
    }
    return count;
}

std::uint32_t refreshCandidates(Game& game, MoveList& out, const MoveList& earlier) {
    const std::uint32_t kept = keepDistant(game, &out, &earlier);
    const std::uint32_t near = enumerateNear(game, &out);
    clearRange(game.touchedFirst, game.touchedLast);
    return kept + near;
}
