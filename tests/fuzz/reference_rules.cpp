#include "reference_rules.h"

#include <algorithm>
#include <array>
#include <numeric>
#include <utility>

#include "engine/gravity.h"

namespace {

std::uint32_t indexOf(std::uint32_t column, std::uint32_t row) { return column * Level.stride + row; }

bool isJewelSpace(std::uint32_t column, std::uint32_t row) {
    return column < Level.columnCount && row < Level.columnHeight[column];
}

// The jewel kind at a jewel space, or -1 where no jewel stands (an empty cell,
// or one the engine marked).
int kindAt(const Game& game, std::uint32_t column, std::uint32_t row) {
    if (!isJewelSpace(column, row)) return -1;
    const Cell cell = game.cells[indexOf(column, row)];
    return cell < kJewelKinds ? cell : -1;
}

std::uint32_t pointsForSize(std::uint32_t size) {
    if (size == 3) return 50;
    if (size == 4) return 100;
    return 250;
}

std::uint32_t usedCells() { return Level.columnCount * Level.stride; }

// The cells of every run, joined into groups. Fixed arrays: the fuzzer runs
// this for every refill pass, up to the refill cap.
struct Groups {
    std::array<std::uint16_t, kMaxCells> parent;
    std::array<bool, kMaxCells> inRun;

    Groups() {
        std::iota(parent.begin(), parent.begin() + usedCells(), std::uint16_t{0});
        std::fill(inRun.begin(), inRun.begin() + usedCells(), false);
    }

    std::uint32_t root(std::uint32_t cell) {
        while (parent[cell] != cell) cell = parent[cell] = parent[parent[cell]];
        return cell;
    }

    void joinRun(std::uint32_t firstCell, std::uint32_t length, std::uint32_t step) {
        for (std::uint32_t i = 0; i < length; ++i) {
            const std::uint32_t cell = firstCell + i * step;
            inRun[cell] = true;
            parent[root(cell)] = static_cast<std::uint16_t>(root(firstCell));
        }
    }
};

// Walks a line of `length` cells from firstCell, step cells apart, and joins
// every stretch of three or more equal jewels. kindOf(i) is the kind of the
// i-th cell of the line, -1 for no jewel.
template <typename KindOf>
void joinRunsOfLine(Groups& groups, std::uint32_t firstCell, std::uint32_t step, std::uint32_t length, KindOf kindOf) {
    std::uint32_t start = 0;
    for (std::uint32_t i = 1; i <= length; ++i) {
        if (i < length && kindOf(i) == kindOf(start)) continue;
        if (kindOf(start) >= 0 && i - start >= 3) groups.joinRun(firstCell + start * step, i - start, step);
        start = i;
    }
}

void findGroups(const Game& game, Groups& groups) {
    for (std::uint32_t column = 0; column < Level.columnCount; ++column)
        joinRunsOfLine(groups, indexOf(column, 0), 1, Level.columnHeight[column],
                       [&](std::uint32_t row) { return kindAt(game, column, row); });
    for (std::uint32_t row = 0; row < Level.stride; ++row)
        joinRunsOfLine(groups, indexOf(0, row), Level.stride, Level.columnCount,
                       [&](std::uint32_t column) { return kindAt(game, column, row); });
}

// Whether the jewel at (column, row) stands in a run of three or more.
bool runThrough(const Game& game, std::uint32_t column, std::uint32_t row) {
    const int kind = kindAt(game, column, row);
    if (kind < 0) return false;
    const auto countFrom = [&](int columnStep, int rowStep) {
        std::uint32_t count = 0;
        auto c = static_cast<std::int64_t>(column) + columnStep;
        auto r = static_cast<std::int64_t>(row) + rowStep;
        while (c >= 0 && r >= 0 && kindAt(game, static_cast<std::uint32_t>(c), static_cast<std::uint32_t>(r)) == kind) {
            ++count;
            c += columnStep;
            r += rowStep;
        }
        return count;
    };
    return countFrom(-1, 0) + 1 + countFrom(1, 0) >= 3 || countFrom(0, -1) + 1 + countFrom(0, 1) >= 3;
}

}  // namespace

ReferenceClearing referenceClear(Game& game) {
    Groups groups;
    findGroups(game, groups);
    std::array<std::uint16_t, kMaxCells> sizes;
    std::fill(sizes.begin(), sizes.begin() + usedCells(), std::uint16_t{0});
    for (std::uint32_t cell = 0; cell < usedCells(); ++cell)
        if (groups.inRun[cell]) ++sizes[groups.root(cell)];
    ReferenceClearing clearing{0, 0};
    for (std::uint32_t cell = 0; cell < usedCells(); ++cell) {
        if (sizes[cell] == 0) continue;
        ++clearing.groups;
        clearing.points += pointsForSize(sizes[cell]);
    }
    for (std::uint32_t cell = 0; cell < usedCells(); ++cell)
        if (groups.inRun[cell]) game.cells[cell] = kEmpty;
    game.score += clearing.points;
    return clearing;
}

void referenceRefill(Game& game) {
    for (std::uint32_t column = 0; column < Level.columnCount; ++column) {
        const std::uint32_t height = Level.columnHeight[column];
        // The jewels that stay, copied down from the bottom so none is overwritten before it moves.
        std::uint32_t bottom = height;
        for (std::uint32_t row = height; row-- > 0;)
            if (game.cells[indexOf(column, row)] != kEmpty)
                game.cells[indexOf(column, --bottom)] = game.cells[indexOf(column, row)];
        const std::uint32_t missing = bottom;
        // A supply runs round, and only its first 256 jewels take part.
        const std::vector<std::uint8_t>& supply = Level.supply[column].jewels;
        const std::size_t cycle = supply.size() < 256 ? supply.size() : 256;
        for (std::uint32_t row = missing; row-- > 0;) {
            std::uint8_t& cursor = game.supplyCursor[column];
            game.cells[indexOf(column, row)] = supply[cursor];
            cursor = static_cast<std::uint8_t>((cursor + 1) % cycle);
        }
    }
}

ReferenceSettle referenceSettle(Game& game) {
    std::uint32_t drops = 0;
    while (referenceClear(game).groups != 0) {
        if (drops == kMaxRefillPasses) return {drops, false};
        referenceRefill(game);
        ++drops;
    }
    return {drops, true};
}

bool referenceInitialFill(Game& game) {
    for (std::uint32_t pass = 0; pass < kMaxRefillPasses; ++pass) {
        referenceRefill(game);
        if (referenceClear(game).groups == 0) return true;
    }
    return false;
}

bool referenceNeverSettles(const Game& game) {
    const auto sameState = [](const Game& a, const Game& b) {
        return std::equal(a.supplyCursor.begin(), a.supplyCursor.begin() + Level.columnCount, b.supplyCursor.begin()) &&
               std::equal(a.cells.begin(), a.cells.begin() + usedCells(), b.cells.begin());
    };
    // Brent's cycle search: the state is compared with a saved one, saved
    // anew whenever the distance from it reaches the next power of two.
    Game runner(game);
    Game saved(game);
    std::uint32_t distance = 0, limit = 1;
    for (std::uint32_t pass = 0; pass < kMaxRefillPasses; ++pass) {
        if (referenceClear(runner).groups == 0) return false;
        referenceRefill(runner);
        if (sameState(runner, saved)) return true;
        if (++distance == limit) {
            saved = runner;
            limit *= 2;
            distance = 0;
        }
    }
    return true;
}

bool referenceFillNeverSettles(const Game& game) {
    Game filled(game);
    referenceRefill(filled);
    return referenceNeverSettles(filled);
}

void referenceSwap(Game& game, const Move& move) {
    const std::uint32_t otherColumn = move.direction == East ? move.column + 1 : move.column;
    const std::uint32_t otherRow = move.direction == South ? move.row + 1 : move.row;
    std::swap(game.cells[indexOf(move.column, move.row)], game.cells[indexOf(otherColumn, otherRow)]);
}

MoveList referenceLegalMoves(const Game& game) {
    MoveList moves;
    const auto isLegal = [&game](const Move& move) {
        const std::uint32_t otherColumn = move.direction == East ? move.column + 1 : move.column;
        const std::uint32_t otherRow = move.direction == South ? move.row + 1 : move.row;
        if (!isJewelSpace(move.column, move.row) || !isJewelSpace(otherColumn, otherRow)) return false;
        // Exchanging two equal jewels changes nothing.
        if (kindAt(game, move.column, move.row) == kindAt(game, otherColumn, otherRow)) return false;
        Game swapped(game);
        referenceSwap(swapped, move);
        return runThrough(swapped, move.column, move.row) || runThrough(swapped, otherColumn, otherRow);
    };
    for (std::uint32_t row = Level.stride; row-- > 0;) {
        for (std::uint32_t column = 0; column < Level.columnCount; ++column) {
            for (const Direction direction : {South, East}) {
                const Move move{column, row, direction};
                if (isLegal(move)) moves.push_back(move);
            }
        }
    }
    return moves;
}
