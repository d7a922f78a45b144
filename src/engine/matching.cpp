#include "engine/matching.h"

std::uint32_t pointsForGroup(std::uint32_t cellCount) {
    if (cellCount == 3) return kPointsForThree;
    if (cellCount == 4) return kPointsForFour;
    return kPointsForMore;
}

namespace {

// Vertical runs compare whole bytes: the pass flags a run only after measuring it
// and goes on below it, so it never compares a flagged cell.
std::uint32_t markVerticalRuns(Game& game, std::uint32_t column) {
    const std::uint32_t height = Level.columnHeight[column];
    Cell* cells = &cellAt(game, column, 0);
    std::uint32_t runs = 0;
    std::uint32_t row = 0;
    while (row + 2 < height) {
        std::uint32_t length = 1;
        while (row + length < height && cells[row + length] == cells[row]) ++length;
        if (length >= 3) {
            cells[row] |= linkDown;
            for (std::uint32_t inner = row + 1; inner < row + length - 1; ++inner) cells[inner] |= linkUp | linkDown;
            cells[row + length - 1] |= linkUp;
            ++runs;
        }
        row += length;
    }
    return runs;
}

}  // namespace

std::uint32_t markMatches(Game& game) {
    const std::uint32_t first = game.dirtyFirst;
    const std::uint32_t last = game.dirtyLast;
    std::uint32_t newFirst = Level.columnCount;
    std::uint32_t newLast = 0;
    std::uint32_t runs = 0;

    for (std::uint32_t column = first; column <= last; ++column) {
        if (Level.columnHeight[column] < 3) continue;
        const std::uint32_t found = markVerticalRuns(game, column);
        if (found > 0) {
            runs += found;
            if (column < newFirst) newFirst = column;
            newLast = column;
        }
    }

    // The window starts two columns left of the dirty range: a change there can
    // complete a horizontal run whose first two cells did not change.
    const std::uint32_t windowStart = first <= 2 ? 0 : first - 2;
    const std::uint32_t windowEnd = last < Level.columnCount - 3 ? last : Level.columnCount - 3;
    for (std::uint32_t row = 0; row < Level.stride; ++row) {
        std::uint32_t column = windowStart;
        while (column <= windowEnd) {
            const Cell kind = cellAt(game, column, row) & kContentMask;
            if (kind == kRock) {
                ++column;
                continue;
            }
            // The comparison ignores flags, so a cell already in a vertical run
            // still joins a horizontal run of its kind.
            std::uint32_t length = 1;
            while (column + length < Level.columnCount &&
                   (cellAt(game, column + length, row) & kContentMask) == kind)
                ++length;
            if (length >= 3) {
                ++runs;
                widenRange(newFirst, newLast, column, column + length - 1);
                cellAt(game, column, row) |= linkRight;
                for (std::uint32_t inner = column + 1; inner < column + length - 1; ++inner)
                    cellAt(game, inner, row) |= linkLeft | linkRight;
                cellAt(game, column + length - 1, row) |= linkLeft;
            }
            column += length;
        }
    }

    game.dirtyFirst = newFirst;
    game.dirtyLast = newLast;
    return runs;
}

void floodClear(Game& game, std::uint32_t column, std::uint32_t row, std::uint32_t& count) {
    Cell& cell = cellAt(game, column, row);
    const Cell links = cell & kLinkMask;
    ++count;
    cell = kEmpty;
    if ((links & linkDown) && cellAt(game, column, row + 1) != kEmpty) floodClear(game, column, row + 1, count);
    if ((links & linkUp) && cellAt(game, column, row - 1) != kEmpty) floodClear(game, column, row - 1, count);
    if ((links & linkLeft) && cellAt(game, column - 1, row) != kEmpty) floodClear(game, column - 1, row, count);
    if ((links & linkRight) && cellAt(game, column + 1, row) != kEmpty) floodClear(game, column + 1, row, count);
}

std::uint32_t clearAndScore(Game& game) {
    if (markMatches(game) == 0) return 0;
    std::uint32_t groups = 0;
    for (std::uint32_t column = game.dirtyFirst; column <= game.dirtyLast; ++column) {
        for (std::uint32_t row = 0; row < Level.columnHeight[column]; ++row) {
            if ((cellAt(game, column, row) & kLinkMask) == 0) continue;
            std::uint32_t size = 0;
            floodClear(game, column, row, size);
            ++groups;
            game.score += pointsForGroup(size);
        }
    }
    return groups;
}
