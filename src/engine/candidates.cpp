#include "engine/candidates.h"

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

std::uint32_t enumerateColumns(const Game& game, MoveList* out, ColumnWindow window) {
    const std::uint32_t lastRow = Level.stride - 1;
    const std::uint32_t lastColumn = Level.columnCount - 1;
    std::uint32_t count = 0;
    for (std::uint32_t row = Level.stride; row-- > 0;) {
        for (std::uint32_t column = window.low; column <= window.high; ++column) {
            const Cell here = cellAt(game, column, row);
            if (here == kRock) continue;
            if (row != lastRow) {
                const Cell below = cellAt(game, column, row + 1);
                if (below != kRock && below != here && swapSouthMatches(game, column, row)) {
                    if (out != nullptr) out->push_back({column, row, South});
                    ++count;
                }
            }
            if (column != lastColumn) {
                const Cell right = cellAt(game, column + 1, row);
                if (right != kRock && right != here && swapEastMatches(game, column, row)) {
                    if (out != nullptr) out->push_back({column, row, East});
                    ++count;
                }
            }
        }
    }
    return count;
}

}  // namespace

std::uint32_t enumerateAll(const Game& game, MoveList* out) {
    return enumerateColumns(game, out, {0, Level.columnCount - 1});
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
