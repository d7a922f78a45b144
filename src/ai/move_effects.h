#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "engine/candidates.h"
#include "engine/column_compare.h"
#include "engine/game.h"
#include "engine/moves.h"

// A searched position differs from its parent only in the columns its own move
// changed. Playing a move reads nothing but the columns from two left of those
// it changes to two right of them, so a move that reads none of the changed
// columns earns in the child exactly what it earned in the parent. A search
// records what each move did in a position and plays, in its children, only the
// moves near the change.

// Columns first to last; empty when first > last.
struct ColumnSpan {
    std::uint32_t first;
    std::uint32_t last;

    bool overlaps(ColumnSpan other) const { return first <= other.last && other.first <= last; }
};

// The columns whose cells or cursors a settled move changed, given the position
// after it with the touched range emptied before the move. A cascade cut off at
// the refill cap left cleared cells its touched range does not cover, so it
// counts as changing every column.
inline ColumnSpan changedColumns(const Game& after) {
    if (after.dirtyFirst <= after.dirtyLast) return {0, Level.columnCount - 1};
    return {after.touchedFirst, after.touchedLast};
}

// The columns a change can reach: two on either side, as far as the field goes.
inline ColumnSpan readColumns(ColumnSpan changed) {
    return {changed.first >= 2 ? changed.first - 2 : 0,
            changed.last + 2 < Level.columnCount ? changed.last + 2 : Level.columnCount - 1};
}

// The columns of the two cells a Z or an O move exchanges.
inline ColumnSpan columnsOf(const Move& move) {
    return {move.column, move.direction == East ? move.column + 1 : move.column};
}

// A number for every move a search lists (a Z or an O move at a cell), below
// 2 x kMaxCells, for tables indexed by move.
inline std::size_t moveIndex(const Move& move) {
    return (move.column * kMaxRows + move.row) * 2 + (move.direction == East ? 1 : 0);
}

// The value and read columns of every legal move of one position, found by the
// move's cell and direction. The value is what a strategy measures of a move
// (its points, its drops), as long as it depends on nothing but what the move
// reads.
class MoveEffects {
public:
    // Notes what move did: `after` is the settled position it led to, with the
    // touched range emptied before the move.
    void record(const Move& move, const Game& after, std::uint32_t value) {
        record(move, changedColumns(after), value);
    }

    // Notes what move did, given the columns it changed.
    void record(const Move& move, ColumnSpan changed, std::uint32_t value) {
        effects[moveIndex(move)] = {value, readColumns(changed)};
    }

    // Takes over another record's entry for move.
    void copy(const Move& move, const MoveEffects& from) { effects[moveIndex(move)] = from.effects[moveIndex(move)]; }

    // Whether move, legal in a position that differs from the recorded one only
    // in the changed columns, is worth there what it was worth here; sets value
    // when it is. A move whose legality reads none of the changed columns was
    // legal here too, so its record belongs to this position.
    bool knownValue(const Move& move, ColumnSpan changed, std::uint32_t& value) const {
        const ColumnSpan legalityReads = readColumns(columnsOf(move));
        if (legalityReads.overlaps(changed)) return false;
        const Effect& effect = effects[moveIndex(move)];
        if (effect.reads.overlaps(changed)) return false;
        value = effect.value;
        return true;
    }

private:
    struct Effect {
        std::uint32_t value;
        ColumnSpan reads;
    };

    std::array<Effect, 2 * kMaxCells> effects;
};

// For one position: where the values of its moves may be known from without
// playing them, and where to note the values of the moves played. Either may be
// missing.
struct MoveRecall {
    const MoveEffects* known = nullptr;
    ColumnSpan changed{};  // the columns in which the position differs from the known one
    MoveEffects* notes = nullptr;

    bool knownValue(const Move& move, std::uint32_t& value) const {
        return known != nullptr && known->knownValue(move, changed, value);
    }

    void note(const Move& move, const Game& after, std::uint32_t value) const {
        if (notes != nullptr) notes->record(move, after, value);
    }

    void note(const Move& move, ColumnSpan changed, std::uint32_t value) const {
        if (notes != nullptr) notes->record(move, changed, value);
    }

    // For a move whose value is known: keeps its record with the notes too,
    // where those are kept apart, so that they hold every move of the position.
    void noteKnown(const Move& move) const {
        if (notes != nullptr && notes != known) notes->copy(move, *known);
    }
};

// What a strategy keeps between its decisions: the last position it was given,
// its legal moves and what each did there. The next position may come from
// anywhere (the move it chose, a fresh trial, a rewind): it is compared with
// the kept one column by column, and only the moves near a changed column need
// to be found again, and only those that read one played again. Every
// decision must note every legal move it plays.
class MoveMemory {
public:
    // A strategy that finds its candidates its own way need not have them mapped.
    explicit MoveMemory(bool mapsMoves = true) : mapsMoves(mapsMoves) {}

    // Begins a decision on game and maps its legal moves. A game with a
    // pending cascade (a dirty range) reads more than its moves' ranges tell,
    // so nothing is known or kept then.
    MoveRecall startPosition(const Game& game) {
        const bool settled = game.dirtyFirst > game.dirtyLast;
        const bool comparable = settled && lastLoads == Level.loads;
        const ColumnSpan changed = comparable ? differingColumns(game, last) : ColumnSpan{0, Level.columnCount - 1};
        if (mapsMoves) {
            if (comparable)
                remapChangedColumns(game, changed.first, changed.last, legalMoves);
            else
                mapAllMoves(game, legalMoves);
        }
        lastLoads = settled ? Level.loads : 0;
        if (!settled) return {};
        last = game;
        return {&effects, changed, &effects};
    }

    // The legal moves of the position of the last startPosition, when mapped.
    const MoveMap& moves() const { return legalMoves; }

private:
    // The first to the last column whose cells or cursor differ.
    static ColumnSpan differingColumns(const Game& a, const Game& b) {
        ColumnSpan span{Level.columnCount, 0};
        const std::uint64_t allRows = firstBits(~std::uint64_t{0}, Level.stride);
        for (std::uint32_t column = 0; column < Level.columnCount; ++column) {
            const Cell* cellsA = &a.cells[column * Level.stride];
            const Cell* cellsB = &b.cells[column * Level.stride];
            if (a.supplyCursor[column] == b.supplyCursor[column] && equalCellsMask(cellsA, cellsB, Level.stride) == allRows)
                continue;
            if (span.first > column) span.first = column;
            span.last = column;
        }
        return span;
    }

    bool mapsMoves;
    std::uint32_t lastLoads = 0;  // Level.loads when last was kept; 0 while nothing is kept
    Game last;
    MoveMap legalMoves;
    MoveEffects effects;
};
