#include "engine/moves.h"

#include <utility>

void swap(Game& game, std::uint32_t column, std::uint32_t row, std::uint32_t direction) {
    std::uint32_t otherColumn = column;
    std::uint32_t otherRow = row;
    switch (direction) {
        case North: --otherRow; break;
        case East: ++otherColumn; break;
        case South: ++otherRow; break;
        default: --otherColumn; break;
    }
    std::swap(cellAt(game, column, row), cellAt(game, otherColumn, otherRow));
    const std::uint32_t low = column < otherColumn ? column : otherColumn;
    const std::uint32_t high = column < otherColumn ? otherColumn : column;
    widenRange(game.dirtyFirst, game.dirtyLast, low, high);
    widenRange(game.touchedFirst, game.touchedLast, game.dirtyFirst, game.dirtyLast);
}

std::uint32_t countAbove(const Game& game, std::uint32_t column, std::uint32_t row, Cell value) {
    std::uint32_t count = 0;
    while (row > count && cellAt(game, column, row - count - 1) == value) ++count;
    return count;
}

std::uint32_t countBelow(const Game& game, std::uint32_t column, std::uint32_t row, Cell value) {
    const std::uint32_t height = Level.columnHeight[column];
    std::uint32_t count = 0;
    while (row + count + 1 < height && cellAt(game, column, row + count + 1) == value) ++count;
    return count;
}

std::uint32_t countLeft(const Game& game, std::uint32_t column, std::uint32_t row, Cell value) {
    std::uint32_t count = 0;
    while (column > count && cellAt(game, column - count - 1, row) == value) ++count;
    return count;
}

std::uint32_t countRight(const Game& game, std::uint32_t column, std::uint32_t row, Cell value) {
    std::uint32_t count = 0;
    while (column + count + 1 < Level.columnCount && cellAt(game, column + count + 1, row) == value) ++count;
    return count;
}

// After the exchange the lower jewel stands at (column, row) and can only extend
// upward, the upper one at (column, row + 1) and can only extend downward.
bool swapSouthMatches(const Game& game, std::uint32_t column, std::uint32_t row) {
    const Cell upper = cellAt(game, column, row);
    const Cell lower = cellAt(game, column, row + 1);
    if (countAbove(game, column, row, lower) >= 2) return true;
    const std::uint32_t lowerLeft = countLeft(game, column, row, lower);
    if (lowerLeft >= 2 || lowerLeft + countRight(game, column, row, lower) >= 2) return true;
    if (countBelow(game, column, row + 1, upper) >= 2) return true;
    const std::uint32_t upperLeft = countLeft(game, column, row + 1, upper);
    return upperLeft >= 2 || upperLeft + countRight(game, column, row + 1, upper) >= 2;
}

// After the exchange the right jewel stands at (column, row) and can only extend
// leftward, the left one at (column + 1, row) and can only extend rightward.
bool swapEastMatches(const Game& game, std::uint32_t column, std::uint32_t row) {
    const Cell left = cellAt(game, column, row);
    const Cell right = cellAt(game, column + 1, row);
    if (countLeft(game, column, row, right) >= 2) return true;
    const std::uint32_t rightAbove = countAbove(game, column, row, right);
    if (rightAbove >= 2 || rightAbove + countBelow(game, column, row, right) >= 2) return true;
    if (countRight(game, column + 1, row, left) >= 2) return true;
    const std::uint32_t leftAbove = countAbove(game, column + 1, row, left);
    return leftAbove >= 2 || leftAbove + countBelow(game, column + 1, row, left) >= 2;
}
