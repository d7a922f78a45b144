#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

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

// The span of no column, which overlaps none: its first column lies past any field.
inline constexpr ColumnSpan kNoColumns{1u << 30, 0};

// changedColumnsOf as a span.
inline ColumnSpan changedColumns(const Game& after) {
    ColumnSpan changed{};
    changedColumnsOf(after, changed.first, changed.last);
    return changed;
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

// What a move did in one position: the value a strategy measures of it (its
// points, its drops), as long as that depends on nothing but what the move
// reads, and the columns it read.
struct MoveEffect {
    std::uint32_t value;
    ColumnSpan reads;

    // The effect of a move that changed the given columns.
    static MoveEffect of(ColumnSpan changed, std::uint32_t value) { return {value, readColumns(changed)}; }

    // Whether move, legal in a position that differs from the one this effect
    // was seen in only in the changed columns, has the same effect there. A
    // move whose legality reads none of the changed columns was legal there
    // too, so the effect is its own.
    bool holdsFor(const Move& move, ColumnSpan changed) const {
        return !legalityReaches(move, changed) && !reads.overlaps(changed);
    }

    // Whether the columns that decide move's legality, from two left of its
    // cells to two right of them, overlap the changed ones: readColumns of
    // its cells, without clipping, as changed lies inside the field.
    static bool legalityReaches(const Move& move, ColumnSpan changed) {
        const std::uint32_t lastRead = move.column + (move.direction == East ? 3 : 2);
        return lastRead >= changed.first && move.column <= changed.last + 2;
    }
};

// The effects of the legal moves of one position, found by the move's cell and
// direction.
class MoveEffects {
public:
    // Notes what move did: `after` is the settled position it led to, with the
    // touched range emptied before the move.
    void record(const Move& move, const Game& after, std::uint32_t value) {
        record(move, MoveEffect::of(changedColumns(after), value));
    }

    void record(const Move& move, const MoveEffect& effect) { effects[moveIndex(move)] = effect; }

    // The effect last recorded for move, in whichever position that was.
    const MoveEffect& recorded(const Move& move) const { return effects[moveIndex(move)]; }

    // The recorded effect of move, when it holds in a position that differs
    // from the recorded one only in the changed columns.
    const MoveEffect* heldEffect(const Move& move, ColumnSpan changed) const {
        const MoveEffect& effect = effects[moveIndex(move)];
        return effect.holdsFor(move, changed) ? &effect : nullptr;
    }

private:
    std::array<MoveEffect, 2 * kMaxCells> effects;
};

// The effects of the moves of the positions one move below a root, by the
// root candidate that led to each: a search notes them while it values those
// positions, and finds them again for a position that differs from one of
// them only in a few columns, such as the position two moves deep after
// another first move and then that root candidate, when neither move reads
// what the other changed.
class ChildEffects {
public:
    // Forgets every note and makes room for about `expected` of them.
    void clear(std::size_t expected) {
        if (entries.size() < 2 * expected) {
            std::size_t size = 1024;
            while (size < 2 * expected) size *= 2;
            entries.assign(size, Entry{});
            stamp = 0;
        }
        ++stamp;
        count = 0;
    }

    void record(const Move& candidate, const Move& move, MoveEffect effect) {
        if (2 * (count + 1) > entries.size()) grow();
        const std::uint32_t key = keyOf(candidate, move);
        Entry& entry = entries[slotOf(key)];
        if (entry.stamp != stamp) ++count;
        entry = {stamp, key, effect};
    }

    // The recorded effect of move below candidate, when it holds in a position
    // that differs from that one only in the changed columns.
    const MoveEffect* heldEffect(const Move& candidate, const Move& move, ColumnSpan changed) const {
        const Entry& entry = entries[slotOf(keyOf(candidate, move))];
        if (entry.stamp != stamp || !entry.effect.holdsFor(move, changed)) return nullptr;
        return &entry.effect;
    }

private:
    struct Entry {
        std::uint32_t stamp = 0;  // the entry is in use when it carries the current stamp
        std::uint32_t key = 0;
        MoveEffect effect{};
    };

    static std::uint32_t keyOf(const Move& candidate, const Move& move) {
        return static_cast<std::uint32_t>(moveIndex(candidate) << 13 | moveIndex(move));
    }

    // The slot of the entry holding key, or of the free one where it would go.
    std::size_t slotOf(std::uint32_t key) const {
        const std::size_t mask = entries.size() - 1;
        for (std::size_t slot = (key * std::size_t{0x9E3779B1}) >> 7 & mask;; slot = (slot + 1) & mask) {
            const Entry& entry = entries[slot];
            if (entry.stamp != stamp || entry.key == key) return slot;
        }
    }

    void grow() {
        std::vector<Entry> kept;
        for (const Entry& entry : entries)
            if (entry.stamp == stamp) kept.push_back(entry);
        entries.assign(2 * entries.size(), Entry{});
        for (const Entry& entry : kept) entries[slotOf(entry.key)] = entry;
    }

    std::vector<Entry> entries = std::vector<Entry>(1024);
    std::uint32_t stamp = 1;
    std::size_t count = 0;
};

// Where the positions one move below a searched position may find their
// moves' effects besides that position's own: a ChildEffects table, for each
// candidate whose effect `judge` holds over `changed`, as the position below
// it differs from the table's only in those columns.
struct ChildSource {
    const ChildEffects* table = nullptr;
    const MoveEffects* judge = nullptr;
    ColumnSpan changed{};

    bool knowsBelow(const Move& candidate) const {
        return table != nullptr && judge != nullptr && judge->heldEffect(candidate, changed) != nullptr;
    }
};

// For one position: where the effects of its moves may be known from without
// playing them, and where to note the effects of the moves played. Any may be
// missing.
struct MoveRecall {
    const MoveEffects* known = nullptr;
    ColumnSpan changed{};  // the columns in which the position differs from the known one
    MoveEffects* notes = nullptr;
    // A second source: a position below a root candidate, kept in a
    // ChildEffects table, that differs from this one only in childChanged.
    const ChildEffects* childKnown = nullptr;
    Move childCandidate{};
    ColumnSpan childChanged{};
    // Notes kept by root candidate in a ChildEffects table.
    ChildEffects* childNotes = nullptr;
    Move notesCandidate{};

    // The effect of move where this position's own source knows it.
    const MoveEffect* heldEffect(const Move& move) const {
        return known != nullptr ? known->heldEffect(move, changed) : nullptr;
    }

    // The effect of move where the position in the ChildEffects table knows it.
    const MoveEffect* heldByChild(const Move& move) const {
        return childKnown != nullptr ? childKnown->heldEffect(childCandidate, move, childChanged) : nullptr;
    }

    // The effect of move, when either source knows it.
    const MoveEffect* knownEffect(const Move& move) const {
        const MoveEffect* effect = heldEffect(move);
        return effect != nullptr ? effect : heldByChild(move);
    }

    bool knownValue(const Move& move, std::uint32_t& value) const {
        const MoveEffect* effect = knownEffect(move);
        if (effect != nullptr) value = effect->value;
        return effect != nullptr;
    }

    bool takesNotes() const { return notes != nullptr || childNotes != nullptr; }

    // Notes what move did in this position, played or known from the table.
    void note(const Move& move, const MoveEffect& effect) const {
        if (notes != nullptr) notes->record(move, effect);
        if (childNotes != nullptr) childNotes->record(notesCandidate, move, effect);
    }

    // Notes a move whose effect this position's own source knows: the notes
    // keep it where they are kept apart from that source, so that they hold
    // every move of the position. The table needs no note: any position that
    // it may stand for has the same own source for the move.
    void noteHeld(const Move& move, const MoveEffect& effect) const {
        if (notes != nullptr && notes != known) notes->record(move, effect);
    }

    void note(const Move& move, const Game& after, std::uint32_t value) const {
        note(move, MoveEffect::of(changedColumns(after), value));
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
        ColumnSpan span = kNoColumns;
        const std::uint64_t allRows = firstBits(~std::uint64_t{0}, Level.stride);
        for (std::uint32_t column = 0; column < Level.columnCount; ++column) {
            const Cell* cellsA = &a.cells[column * Level.stride];
            const Cell* cellsB = &b.cells[column * Level.stride];
            if (a.supplyCursor[column] == b.supplyCursor[column] &&
                equalCellsMask(cellsA, cellsB, Level.stride) == allRows)
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
