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

// A legal move at column c depends on columns c - 2 to c + 3, so a change in the
// touched range can alter only the moves within three columns of it.
ColumnWindow windowAroundTouched(const Game& game) {
    const std::uint32_t low = game.touchedFirst >= 3 ? game.touchedFirst - 3 : 0;
    const std::uint32_t high = game.touchedLast + 3 < Level.columnCount ? game.touchedLast + 3 : Level.columnCount - 1;
    return {low, high};
}

ColumnWindow wholeField() { return {0, Level.columnCount - 1}; }

// Bit r of a column's mask for kind k: the cell at row r holds a jewel of kind k.
// Two empty columns pad each side, so the tests below need no edge checks.
constexpr std::uint32_t kPad = 2;
using KindMasks = std::array<std::uint64_t, kJewelKinds>;
using KindColumns = std::array<KindMasks, kMaxColumns + 2 * kPad + 1>;

// Fills the masks of the columns read and clears the padding around them.
// Returns the set of jewel kinds seen, one bit per kind.
std::uint32_t fillKindColumns(const Game& game, std::uint32_t firstColumn, std::uint32_t lastColumn,
                              KindColumns& kinds) {
    kinds[firstColumn] = {};
    kinds[firstColumn + 1] = {};
    for (std::uint32_t pad = 1; pad <= 3; ++pad) kinds[lastColumn + kPad + pad] = {};
    std::uint32_t seen = 0;
    for (std::uint32_t column = firstColumn; column <= lastColumn; ++column) {
        // Every content value gets a mask, so empty cells need no test; only
        // the jewel kinds are kept.
        std::array<std::uint64_t, 16> byContent{};
        const Cell* cells = &game.cells[column * Level.stride];
        for (std::uint32_t row = 0; row < Level.columnHeight[column]; ++row) {
            byContent[cells[row] & kContentMask] |= std::uint64_t{1} << row;
            seen |= 1u << (cells[row] & kContentMask);
        }
        std::copy_n(byContent.begin(), kJewelKinds, kinds[column + kPad].begin());
    }
    return seen & ((1u << kJewelKinds) - 1);
}

// Bit r: two cells in line with row r, above and below it, hold the jewel.
std::uint64_t pairInColumn(std::uint64_t jewel) {
    const std::uint64_t above = jewel << 1, twoAbove = jewel << 2, below = jewel >> 1, twoBelow = jewel >> 2;
    return (above & twoAbove) | (above & below) | (below & twoBelow);
}

// Bit r: two cells in line with (column, r), left and right of it, hold the jewel.
std::uint64_t pairInRow(const KindColumns& kinds, std::uint32_t column, std::uint32_t kind) {
    const std::uint64_t left = kinds[column + kPad - 1][kind], twoLeft = kinds[column + kPad - 2][kind];
    const std::uint64_t right = kinds[column + kPad + 1][kind], twoRight = kinds[column + kPad + 2][kind];
    return (left & twoLeft) | (left & right) | (right & twoRight);
}

// Rows r at which exchanging (column, r) with the cell below makes a run: the
// lower jewel rises and can only extend upward or sideways, the upper one
// falls and can only extend downward or sideways.
std::uint64_t southMoves(const Game& game, const KindColumns& kinds, std::uint32_t kindsSeen, std::uint32_t column) {
    const std::uint32_t height = Level.columnHeight[column];
    if (height < 2) return 0;
    std::uint64_t moves = 0;
    for (std::uint32_t each = kindsSeen; each != 0; each &= each - 1) {
        const auto kind = static_cast<std::uint32_t>(std::countr_zero(each));
        const std::uint64_t jewel = kinds[column + kPad][kind];
        if (jewel == 0) continue;
        const std::uint64_t sideways = pairInRow(kinds, column, kind);
        const std::uint64_t rising = (jewel >> 1) & (((jewel << 1) & (jewel << 2)) | sideways);
        const std::uint64_t falling = jewel & (((jewel >> 2) & (jewel >> 3)) | (sideways >> 1));
        moves |= rising | falling;
    }
    const Cell* cells = &game.cells[column * Level.stride];
    // Both cells must be jewels, and unequal ones.
    return moves & ~equalCellsMask(cells, cells + 1, height - 1) & ((std::uint64_t{1} << (height - 1)) - 1);
}

// Rows r at which exchanging (column, r) with its right-hand neighbour makes a
// run: the right jewel moves left and can only extend leftward or vertically,
// the left one moves right and can only extend rightward or vertically.
std::uint64_t eastMoves(const Game& game, const KindColumns& kinds, std::uint32_t kindsSeen, std::uint32_t column) {
    if (column + 1 >= Level.columnCount) return 0;
    const std::uint32_t height = std::min(Level.columnHeight[column], Level.columnHeight[column + 1]);
    if (height == 0) return 0;
    std::uint64_t moves = 0;
    for (std::uint32_t each = kindsSeen; each != 0; each &= each - 1) {
        const auto kind = static_cast<std::uint32_t>(std::countr_zero(each));
        const std::uint64_t here = kinds[column + kPad][kind];
        const std::uint64_t right = kinds[column + kPad + 1][kind];
        if ((here | right) == 0) continue;
        const std::uint64_t twoLeft = kinds[column + kPad - 1][kind] & kinds[column + kPad - 2][kind];
        const std::uint64_t twoRight = kinds[column + kPad + 2][kind] & kinds[column + kPad + 3][kind];
        const std::uint64_t movingLeft = right & (twoLeft | pairInColumn(here));
        const std::uint64_t movingRight = here & (twoRight | pairInColumn(right));
        moves |= movingLeft | movingRight;
    }
    const Cell* cells = &game.cells[column * Level.stride];
    return moves & ~equalCellsMask(cells, cells + Level.stride, height) & ((std::uint64_t{1} << height) - 1);
}

// Sets the moves of the window's columns in the map.
void mapColumns(const Game& game, ColumnWindow window, MoveMap& map) {
    // The tests read up to two columns left and three right of each move.
    KindColumns kinds;
    const std::uint32_t firstRead = window.low >= kPad ? window.low - kPad : 0;
    const std::uint32_t lastRead = std::min(window.high + 3, Level.columnCount - 1);
    const std::uint32_t kindsSeen = fillKindColumns(game, firstRead, lastRead, kinds);
    for (std::uint32_t column = window.low; column <= window.high; ++column) {
        map.south[column] = southMoves(game, kinds, kindsSeen, column);
        map.east[column] = eastMoves(game, kinds, kindsSeen, column);
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
    mapColumns(child, windowAroundTouched(child), childMap);
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
