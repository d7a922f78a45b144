#include "ai/far_moves.h"

void FarMoves::gather(const MoveList& moves, const MoveEffects& effects) {
    const std::uint32_t columns = Level.columnCount;
    // The most a move earns whose reach ends, and starts, at each column.
    std::array<std::uint32_t, kMaxColumns> bestEndingAt;
    std::array<std::uint32_t, kMaxColumns> bestStartingAt;
    std::fill_n(bestEndingAt.begin(), columns, 0u);
    std::fill_n(bestStartingAt.begin(), columns, 0u);
    wide.clear();
    for (const Move& move : moves) {
        const MoveEffect& effect = effects.recorded(move);
        const ColumnSpan reach = reachOf(move, effect);
        bestEndingAt[reach.last] = std::max(bestEndingAt[reach.last], effect.value);
        bestStartingAt[reach.first] = std::max(bestStartingAt[reach.first], effect.value);
        if (reach.last > move.column + 3 || reach.first + 2 < move.column) wide.push_back({move, reach});
    }
    bestEndingBefore[0] = 0;
    for (std::uint32_t column = 0; column < columns; ++column)
        bestEndingBefore[column + 1] = std::max(bestEndingBefore[column], bestEndingAt[column]);
    bestStartingAfter[columns - 1] = 0;
    for (std::uint32_t column = columns - 1; column > 0; --column)
        bestStartingAfter[column - 1] = std::max(bestStartingAfter[column], bestStartingAt[column]);
}
