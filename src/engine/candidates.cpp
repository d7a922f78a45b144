#include "engine/candidates.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>

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

// The columns whose moves a change in columns first to last can alter: c - 3
// reaches first, c + 2 reaches last. A map needs only these remapped; the
// lists keep the wider window above, which also says which moves are near.
ColumnWindow movesReaching(std::uint32_t first, std::uint32_t last) {
    const std::uint32_t low = first >= 3 ? first - 3 : 0;
    const std::uint32_t high = last + 2 < Level.columnCount ? last + 2 : Level.columnCount - 1;
    return {low, high};
}

ColumnWindow wholeField() { return {0, Level.columnCount - 1}; }

// The move tests compare cells of a column with cells of the same column or of
// one of the three columns to its right, a few rows apart. Each such equality
// mask is computed once, by the left column of the pair, and shared by the
// tests of every column that needs it. Mask `rowsApart` d of columns a and b:
// bit s compares (a, s) with (b, s + d) when d >= 0, (a, s - d) with (b, s)
// when d < 0, so both reads start inside the columns. Every test compares a
// moved jewel with another cell, so rock never counts as equal to anything it
// is compared with; only a cell read past its column's stored rows needs a
// mask, which the tests apply. A pair reaching past the last column is 0.
struct ColumnEqualities {
    std::uint64_t sameColumn[4];  // rows apart 1 to 3 (index 0 unused)
    std::uint64_t nextColumn[5];  // rows apart -2 to 2, at index d + 2
    std::uint64_t twoRight[3];    // rows apart -1 to 1, at index d + 1
    std::uint64_t threeRight;     // rows apart 0
};

template <unsigned Blocks>
std::uint64_t equalRowsApart(const Game& game, std::uint32_t a, std::uint32_t b, int rowsApart) {
    const Cell* first = &game.cells[a * Level.stride + static_cast<std::uint32_t>(rowsApart < 0 ? -rowsApart : 0)];
    const Cell* second = &game.cells[b * Level.stride + static_cast<std::uint32_t>(rowsApart > 0 ? rowsApart : 0)];
    return equalBlocksMask<Blocks>(first, second);
}

template <unsigned Blocks>
void findEqualities(const Game& game, std::uint32_t column, ColumnEqualities& masks) {
    for (int apart = 1; apart <= 3; ++apart)
        masks.sameColumn[apart] = equalRowsApart<Blocks>(game, column, column, apart);
    const bool next = column + 1 < Level.columnCount;
    const bool twoRight = column + 2 < Level.columnCount;
    for (int apart = -2; apart <= 2; ++apart)
        masks.nextColumn[apart + 2] = next ? equalRowsApart<Blocks>(game, column, column + 1, apart) : 0;
    for (int apart = -1; apart <= 1; ++apart)
        masks.twoRight[apart + 1] = twoRight ? equalRowsApart<Blocks>(game, column, column + 2, apart) : 0;
    masks.threeRight = column + 3 < Level.columnCount ? equalRowsApart<Blocks>(game, column, column + 3, 0) : 0;
}

// A comparison of rows r + r1 and r + r2 read from a mask whose bit s compares
// rows s + max(0, r1 - r2) and s + max(0, r2 - r1): shifted by min(r1, r2).
inline std::uint64_t atRow(std::uint64_t mask, int lower) { return lower >= 0 ? mask >> lower : mask << -lower; }

// Bit r: a pair of cells in line with the middle one, on either side or both,
// equals it: the two before, one before and one after, or the two after.
std::uint64_t pairAround(std::uint64_t twoBefore, std::uint64_t before, std::uint64_t after, std::uint64_t twoAfter) {
    return (twoBefore & before) | (before & after) | (after & twoAfter);
}

// The equalities owned by the two columns left of c (all 0 outside the field) and by c.
struct Neighbourhood {
    const ColumnEqualities& twoLeft;
    const ColumnEqualities& oneLeft;
    const ColumnEqualities& own;
};

// Rows r at which exchanging (c, r) with the cell below makes a run: the lower
// jewel rises to r and can only extend upward or sideways, the upper one falls
// to r + 1 and can only extend downward or sideways.
inline std::uint64_t southMoves(std::uint32_t c, const Neighbourhood& n) {
    const std::uint64_t jewelRows = Level.jewelRows[c];
    // The rising jewel, from row r + 1: rows r - 1 and r - 2 above it, or the cells beside row r.
    const std::uint64_t risingUp = atRow(n.own.sameColumn[2], -1) & atRow(n.own.sameColumn[3], -2);
    const std::uint64_t risingSideways =
        pairAround(n.twoLeft.twoRight[2], n.oneLeft.nextColumn[3], n.own.nextColumn[1], n.own.twoRight[0]);
    // The falling jewel, from row r; rows past the column's height are not its cells.
    const std::uint64_t fallingDown = n.own.sameColumn[2] & n.own.sameColumn[3] & (jewelRows >> 3);
    const std::uint64_t fallingSideways =
        pairAround(n.twoLeft.twoRight[0], n.oneLeft.nextColumn[1], n.own.nextColumn[3], n.own.twoRight[2]);
    // Both cells must be jewels, and unequal ones.
    const std::uint64_t exchangeable = (jewelRows >> 1) & ~n.own.sameColumn[1];
    return (risingUp | risingSideways | fallingDown | fallingSideways) & exchangeable;
}

// Rows r at which exchanging (c, r) with its right-hand neighbour makes a run:
// the right jewel moves left and can only extend leftward or vertically, the
// left one moves right and can only extend rightward or vertically.
inline std::uint64_t eastMoves(std::uint32_t c, const Neighbourhood& n) {
    if (c + 1 >= Level.columnCount) return 0;
    const std::uint64_t left = Level.jewelRows[c];
    const std::uint64_t right = Level.jewelRows[c + 1];
    const std::uint64_t* beside = n.own.nextColumn;  // index d + 2: (c, s) against (c + 1, s + d)
    // The jewel moving left, from (c + 1, r); below row r only the column's own cells count.
    const std::uint64_t leftward = n.oneLeft.twoRight[1] & n.twoLeft.threeRight;
    const std::uint64_t leftVertical =
        pairAround(atRow(beside[4], -2), atRow(beside[3], -1), beside[1] & (left >> 1), beside[0] & (left >> 2));
    // The jewel moving right, from (c, r).
    const std::uint64_t rightward = n.own.twoRight[1] & n.own.threeRight;
    const std::uint64_t rightVertical =
        pairAround(atRow(beside[0], -2), atRow(beside[1], -1), beside[3] & (right >> 1), beside[4] & (right >> 2));
    const std::uint64_t exchangeable = left & right & ~beside[2];
    return (leftward | leftVertical | rightward | rightVertical) & exchangeable;
}

template <unsigned Blocks>
void mapColumnsInBlocks(const Game& game, ColumnWindow window, MoveMap& map) {
    // The tests of column c read the equalities owned by c - 2 to c; entry
    // i holds those of column window.low - 2 + i.
    if (window.low > window.high) return;  // around an empty range: no column
    std::array<ColumnEqualities, kMaxColumns + 2> owned;
    const std::uint32_t span = window.high - window.low + 3;
    for (std::uint32_t i = 0; i < span; ++i) {
        const std::uint32_t column = window.low + i;
        if (column >= 2)
            findEqualities<Blocks>(game, column - 2, owned[i]);
        else
            owned[i] = ColumnEqualities{};
    }
    for (std::uint32_t column = window.low; column <= window.high; ++column) {
        const std::uint32_t i = column - window.low;
        const Neighbourhood n{owned[i], owned[i + 1], owned[i + 2]};
        map.south[column] = southMoves(column, n);
        map.east[column] = eastMoves(column, n);
    }
}

// Sets the moves of the window's columns in the map.
void mapColumns(const Game& game, ColumnWindow window, MoveMap& map) {
    switch (columnBlocks()) {
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
    // Only the level's columns: a map spans the widest level.
    const std::size_t bytes = Level.columnCount * sizeof(std::uint64_t);
    std::memcpy(childMap.south.data(), parent.south.data(), bytes);
    std::memcpy(childMap.east.data(), parent.east.data(), bytes);
    remapChangedColumns(child, child.touchedFirst, child.touchedLast, childMap);
}

void remapChangedColumns(const Game& game, std::uint32_t firstChanged, std::uint32_t lastChanged, MoveMap& map) {
    if (firstChanged > lastChanged) return;
    mapColumns(game, movesReaching(firstChanged, lastChanged), map);
}

void mapMovesReaching(const Game& game, std::uint32_t firstChanged, std::uint32_t lastChanged, MoveMap& map,
                      std::uint32_t& low, std::uint32_t& high) {
    const ColumnWindow window = movesReaching(firstChanged, lastChanged);
    mapColumns(game, window, map);
    low = window.low;
    high = window.high;
}

std::uint32_t countMoves(const MoveMap& map) {
    std::uint32_t count = 0;
    for (std::uint32_t column = 0; column < Level.columnCount; ++column)
        count += static_cast<std::uint32_t>(std::popcount(map.south[column]) + std::popcount(map.east[column]));
    return count;
}

std::uint32_t listAllMoves(const MoveMap& map, MoveList* out) { return listColumns(map, wholeField(), out); }

std::uint32_t listMovesByColumn(const MoveMap& map, MoveList& out) {
    const std::size_t before = out.size();
    forEachMove(map, [&out](const Move& move) { out.push_back(move); });
    return static_cast<std::uint32_t>(out.size() - before);
}

void mapNear(const Game& game, MoveMap& map, std::uint32_t& first, std::uint32_t& last) {
    const ColumnWindow window = windowAroundTouched(game);
    mapColumns(game, window, map);
    first = window.low;
    last = window.high;
}

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
