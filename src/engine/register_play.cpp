#include "engine/register_play.h"

// FirstStep, RegisterCascade and the two entry points stay in one file: the
// entry points build the two on the stack and the compiler inlines them into
// each other, which a header exposing them to other files would not make faster.

#include <array>
#include <bit>
#include <utility>

#include "engine/column_block.h"
#include "engine/column_compare.h"
#include "engine/gravity.h"
#include "engine/matching.h"

#if defined(__SSSE3__)
namespace {

// What one clearing empties on a field of one-block columns: bit r of entry
// column - base for row r. A move's two groups lie within two columns of
// its cells, six columns at most.
struct ClearedCells {
    std::uint32_t base;
    std::array<std::uint32_t, 6> rows{};
    std::uint32_t first = Level.columnCount;  // the columns cleared
    std::uint32_t last = 0;

    explicit ClearedCells(std::uint32_t lowColumn) : base(lowColumn >= 2 ? lowColumn - 2 : 0) {}

    std::uint32_t& in(std::uint32_t column) { return rows[column - base]; }

    // Adds the group that arms make through (column, row); returns its points.
    std::uint32_t add(const Arms& arms, std::uint32_t column, std::uint32_t row) {
        const bool vertical = arms.vertical();
        const bool horizontal = arms.horizontal();
        if (!vertical && !horizontal) return 0;
        in(column) |= std::uint32_t{1} << row;
        if (vertical) in(column) |= ((std::uint32_t{2} << (arms.above + arms.below)) - 1) << (row - arms.above);
        if (horizontal) {
            for (std::uint32_t each = arms.firstColumn(column); each <= arms.lastColumn(column); ++each)
                in(each) |= std::uint32_t{1} << row;
        }
        widenRange(first, last, arms.firstColumn(column), arms.lastColumn(column));
        return pointsForGroup(arms.groupSize());
    }
};

// The first step of a move on a field at rest whose columns are one block
// each: the groups the exchange makes, read off the cells as they stand with
// the exchanged jewels put in by hand, and the columns from two left of the
// cleared ones to two right of them as the exchange, the clearing and the
// refill leave them, worked out in registers without writing the game.
struct FirstStep {
    std::uint32_t points = 0;  // 0: the exchange makes no run
    std::uint32_t low = 0;     // the exchanged cells' columns
    std::uint32_t high = 0;
    std::uint32_t clearedFirst = 0;
    std::uint32_t clearedLast = 0;
    std::uint32_t windowFirst = 0;  // the columns in `after`
    std::uint32_t windowLast = 0;
    std::uint32_t changed = 0;   // bit i: column windowFirst + i changed
    std::uint32_t refilled = 0;  // bit i: it took jewels from its supply
    ColumnBlock after[10];
    std::uint8_t cursor[10];
    bool quiet = false;  // the refill left no run: the move is settled

    FirstStep(const Game& game, const Move& move);

    // The columns the move changes, when quiet: its touched range.
    std::uint32_t firstChanged() const { return clearedFirst < low ? clearedFirst : low; }
    std::uint32_t lastChanged() const { return clearedLast > high ? clearedLast : high; }

    // Writes the step into game, as playMove leaves it after the first refill.
    void writeInto(Game& game) const;

private:
    // Whether the refilled columns make a run: one through a cleared column,
    // or one starting at most two columns left of them, as the scan looks for.
    bool makesRun() const;
};

FirstStep::FirstStep(const Game& game, const Move& move) {
    const Move partner = neighbourOf(move);
    const Cell moved = cellAt(game, move.column, move.row);
    const Cell other = cellAt(game, partner.column, partner.row);
    low = move.column < partner.column ? move.column : partner.column;
    high = move.column < partner.column ? partner.column : move.column;
    ClearedCells cleared(low);
    points = cleared.add(armsAt(game, move.column, move.row, other, move.direction), move.column, move.row) +
             cleared.add(armsAt(game, partner.column, partner.row, moved, opposite(move.direction)), partner.column,
                         partner.row);
    if (points == 0) return;
    clearedFirst = cleared.first;
    clearedLast = cleared.last;
    windowFirst = clearedFirst >= 2 ? clearedFirst - 2 : 0;
    windowLast = clearedLast + 2 < Level.columnCount ? clearedLast + 2 : Level.columnCount - 1;
    for (std::uint32_t column = windowFirst; column <= windowLast; ++column)
        after[column - windowFirst] = loadColumnBlock(game, column);
    // The exchange first, as the cells above a cleared one move down.
    ColumnBlock& here = after[move.column - windowFirst];
    here = withCell(here, move.row, other);
    ColumnBlock& there = after[partner.column - windowFirst];
    there = withCell(there, partner.row, moved);
    changed = (std::uint32_t{1} << (move.column - windowFirst)) | (std::uint32_t{1} << (partner.column - windowFirst));
    for (std::uint32_t column = clearedFirst; column <= clearedLast; ++column) {
        const std::uint32_t empty = cleared.in(column);
        if (empty == 0) continue;
        const std::uint32_t i = column - windowFirst;
        cursor[i] = game.supplyCursor[column];
        after[i] = dropAndRefillBlock(column, after[i], empty, cursor[i]);
        refilled |= std::uint32_t{1} << i;
    }
    changed |= refilled;
    quiet = !makesRun();
}

bool FirstStep::makesRun() const {
    const auto equalRight = [this](std::uint32_t column) {
        return equalRows(after[column - windowFirst], after[column + 1 - windowFirst]) &
               static_cast<std::uint32_t>(Level.jewelRows[column]);
    };
    std::uint32_t runs = 0;
    const std::uint32_t lastStart = clearedLast < Level.columnCount - 3 ? clearedLast : Level.columnCount - 3;
    if (windowFirst <= lastStart) {
        std::uint32_t right = equalRight(windowFirst);
        for (std::uint32_t column = windowFirst; column <= lastStart; ++column) {
            const std::uint32_t next = equalRight(column + 1);
            runs |= right & next;
            right = next;
        }
    }
    for (std::uint32_t column = clearedFirst; column <= clearedLast; ++column) {
        const std::uint32_t below =
            equalBelow(after[column - windowFirst]) & static_cast<std::uint32_t>(Level.jewelRows[column] >> 1);
        runs |= below & (below >> 1);
    }
    return runs != 0;
}

void FirstStep::writeInto(Game& game) const {
    for (std::uint32_t bits = changed; bits != 0; bits &= bits - 1) {
        const auto i = static_cast<std::uint32_t>(std::countr_zero(bits));
        storeColumnBlock(game, windowFirst + i, after[i]);
    }
    for (std::uint32_t bits = refilled; bits != 0; bits &= bits - 1) {
        const auto i = static_cast<std::uint32_t>(std::countr_zero(bits));
        game.supplyCursor[windowFirst + i] = cursor[i];
    }
    game.score += points;
    widenRange(game.touchedFirst, game.touchedLast, firstChanged(), lastChanged());
    if (quiet) {
        clearRange(game.dirtyFirst, game.dirtyLast);
    } else {
        game.dirtyFirst = clearedFirst;
        game.dirtyLast = clearedLast;
    }
}

// The cascade after a first step that left a run, followed on in registers:
// each scan's runs are cleared and their columns refilled there, and the
// columns near them scanned again. Most cascades end so, with no write; a
// scan that finds many runs, or a long cascade, hands the rest to memory.
class RegisterCascade {
public:
    std::uint32_t points;  // the move's points so far
    // The first and last column the move changed so far: its touched range.
    std::uint32_t changedFirst;
    std::uint32_t changedLast;
    // The columns the last refill filled, where the next scan looks.
    std::uint32_t dirtyFirst;
    std::uint32_t dirtyLast;
    std::uint32_t drops = 1;  // refills so far
    bool quiet = false;       // the last refill left no run: the move is settled

    RegisterCascade(const Game& game, const FirstStep& step);

    // Writes the columns and cursors worked out into game, as playMove leaves
    // them after drops refills, with the dirty range the next scan needs.
    void writeInto(Game& game) const;

private:
    // A run a scan found: its first cell, length and direction.
    struct Run {
        std::uint32_t column;
        std::uint32_t row;
        std::uint32_t length;
        bool horizontal;

        std::uint32_t lastColumn() const { return horizontal ? column + length - 1 : column; }
        // Whether a horizontal run and a vertical one share a cell; two runs
        // of one direction never do.
        bool crosses(const Run& other) const {
            const Run& across = horizontal ? *this : other;
            const Run& down = horizontal ? other : *this;
            return horizontal != other.horizontal && across.column <= down.column &&
                   down.column <= across.lastColumn() && down.row <= across.row && across.row < down.row + down.length;
        }
    };
    // The runs one scan may clear in registers.
    static constexpr std::uint32_t kMaxRuns = 8;

    // Reads the columns first to last of the game that are not read yet;
    // those read so far lie between them.
    void load(std::uint32_t first, std::uint32_t last);
    // Bit r: the jewel at row r of the column equals its right-hand neighbour.
    std::uint32_t equalRight(std::uint32_t column) const {
        return equalRows(cells[column], cells[column + 1]) & static_cast<std::uint32_t>(Level.jewelRows[column]);
    }
    // The runs the scan after the last refill finds, as the scan in memory
    // looks for them: horizontal ones starting at most two columns left of
    // the refilled columns, vertical ones in them. Returns how many; fills
    // runs when there are at most kMaxRuns.
    std::uint32_t findRuns(Run* runs);
    // Clears the runs' groups, runs that share a cell making one, scores them
    // as the scan in memory does, and refills their columns.
    void clearAndRefill(const Run* runs, std::uint32_t count);

    const Game& source;
    std::uint64_t changed;      // bit c: column c differs from the game's
    std::uint64_t refilled;     // bit c: column c took jewels from its supply
    std::uint32_t loadedFirst;  // the columns read into cells
    std::uint32_t loadedLast;
    ColumnBlock cells[kMaxColumns];
    std::uint8_t cursor[kMaxColumns];
};

// Refills in registers beyond this hand the rest of a long cascade to memory,
// which also stops a cascade that never ends at the refill cap.
constexpr std::uint32_t kMaxRegisterDrops = 8;
static_assert(kMaxRegisterDrops < kMaxRefillPasses);

RegisterCascade::RegisterCascade(const Game& game, const FirstStep& step)
    : points(step.points),
      changedFirst(step.firstChanged()),
      changedLast(step.lastChanged()),
      dirtyFirst(step.clearedFirst),
      dirtyLast(step.clearedLast),
      source(game),
      changed(std::uint64_t{step.changed} << step.windowFirst),
      refilled(std::uint64_t{step.refilled} << step.windowFirst),
      loadedFirst(step.windowFirst),
      loadedLast(step.windowLast) {
    for (std::uint32_t column = loadedFirst; column <= loadedLast; ++column) {
        cells[column] = step.after[column - loadedFirst];
        cursor[column] = step.cursor[column - loadedFirst];
    }
    Run runs[kMaxRuns];
    for (;;) {
        const std::uint32_t count = findRuns(runs);
        if (count == 0) {
            quiet = true;
            return;
        }
        if (count > kMaxRuns || drops == kMaxRegisterDrops) return;
        clearAndRefill(runs, count);
    }
}

void RegisterCascade::load(std::uint32_t first, std::uint32_t last) {
    for (; loadedFirst > first;) {
        --loadedFirst;
        cells[loadedFirst] = loadColumnBlock(source, loadedFirst);
    }
    for (; loadedLast < last;) {
        ++loadedLast;
        cells[loadedLast] = loadColumnBlock(source, loadedLast);
    }
}

std::uint32_t RegisterCascade::findRuns(Run* runs) {
    const std::uint32_t windowStart = dirtyFirst >= 2 ? dirtyFirst - 2 : 0;
    const std::uint32_t lastStart = dirtyLast < Level.columnCount - 3 ? dirtyLast : Level.columnCount - 3;
    load(windowStart, dirtyLast + 2 < Level.columnCount ? dirtyLast + 2 : Level.columnCount - 1);
    std::uint32_t found = 0;
    const auto note = [&](std::uint32_t starts, std::uint32_t column, bool horizontal) {
        for (; starts != 0; starts &= starts - 1, ++found)
            if (found < kMaxRuns)
                runs[found] = {column, static_cast<std::uint32_t>(std::countr_zero(starts)), 0, horizontal};
    };
    if (windowStart <= lastStart) {
        std::uint32_t previous = 0;
        std::uint32_t current = equalRight(windowStart);
        for (std::uint32_t column = windowStart; column <= lastStart; ++column) {
            const std::uint32_t next = equalRight(column + 1);
            note(~previous & current & next, column, true);
            previous = current;
            current = next;
        }
    }
    for (std::uint32_t column = dirtyFirst; column <= dirtyLast; ++column) {
        const std::uint32_t below =
            equalBelow(cells[column]) & static_cast<std::uint32_t>(Level.jewelRows[column] >> 1);
        note(~(below << 1) & below & (below >> 1), column, false);
    }
    if (found > kMaxRuns) return found;
    for (std::uint32_t index = 0; index < found; ++index) {
        Run& run = runs[index];
        if (run.horizontal) {
            // A run goes on as far as the jewels match, past the columns scanned.
            run.length = 3;
            for (std::uint32_t end = run.column + 3; end < Level.columnCount; ++end, ++run.length) {
                load(run.column, end);
                if ((equalRight(end - 1) >> run.row & 1) == 0) break;
            }
        } else {
            const std::uint32_t below =
                equalBelow(cells[run.column]) & static_cast<std::uint32_t>(Level.jewelRows[run.column] >> 1);
            run.length = 1 + static_cast<std::uint32_t>(std::countr_one(below >> run.row));
        }
    }
    return found;
}

void RegisterCascade::clearAndRefill(const Run* runs, std::uint32_t count) {
    // A group's cells: its runs' lengths less the cells two of them share.
    // The group of run i is run group[i]'s, found by following group[].
    std::uint32_t group[kMaxRuns];
    std::uint32_t size[kMaxRuns];
    const auto root = [&group](std::uint32_t run) {
        while (group[run] != run) run = group[run];
        return run;
    };
    for (std::uint32_t i = 0; i < count; ++i) {
        group[i] = i;
        size[i] = runs[i].length;
    }
    for (std::uint32_t i = 0; i < count; ++i) {
        for (std::uint32_t j = i + 1; j < count; ++j) {
            if (!runs[i].crosses(runs[j])) continue;
            const std::uint32_t a = root(i);
            const std::uint32_t b = root(j);
            if (a != b) {
                group[b] = a;
                size[a] += size[b];
            }
            --size[a];
        }
    }
    // The next scan looks at every column a run cleared, and between them.
    dirtyFirst = Level.columnCount;
    dirtyLast = 0;
    for (std::uint32_t i = 0; i < count; ++i) widenRange(dirtyFirst, dirtyLast, runs[i].column, runs[i].lastColumn());
    std::uint32_t rows[kMaxColumns];  // bit r: row r of the column is cleared
    for (std::uint32_t column = dirtyFirst; column <= dirtyLast; ++column) rows[column] = 0;
    for (std::uint32_t i = 0; i < count; ++i) {
        const Run& run = runs[i];
        if (group[i] == i) points += pointsForGroup(size[i]);
        const std::uint32_t cellRows =
            run.horizontal ? std::uint32_t{1} << run.row : ((std::uint32_t{1} << run.length) - 1) << run.row;
        for (std::uint32_t column = run.column; column <= run.lastColumn(); ++column) rows[column] |= cellRows;
    }
    for (std::uint32_t column = dirtyFirst; column <= dirtyLast; ++column) {
        if (rows[column] == 0) continue;
        const std::uint64_t bit = std::uint64_t{1} << column;
        if ((refilled & bit) == 0) cursor[column] = source.supplyCursor[column];
        cells[column] = dropAndRefillBlock(column, cells[column], rows[column], cursor[column]);
        refilled |= bit;
    }
    changed |= refilled;
    widenRange(changedFirst, changedLast, dirtyFirst, dirtyLast);
    ++drops;
}

void RegisterCascade::writeInto(Game& game) const {
    for (std::uint64_t bits = changed; bits != 0; bits &= bits - 1) {
        const auto column = static_cast<std::uint32_t>(std::countr_zero(bits));
        storeColumnBlock(game, column, cells[column]);
    }
    for (std::uint64_t bits = refilled; bits != 0; bits &= bits - 1) {
        const auto column = static_cast<std::uint32_t>(std::countr_zero(bits));
        game.supplyCursor[column] = cursor[column];
    }
    game.score += points;
    widenRange(game.touchedFirst, game.touchedLast, changedFirst, changedLast);
    if (quiet) {
        clearRange(game.dirtyFirst, game.dirtyLast);
    } else {
        game.dirtyFirst = dirtyFirst;
        game.dirtyLast = dirtyLast;
    }
}

// Writes the cascade worked out on game into it, and runs the rest in memory.
SettleResult playCascade(Game& game, const RegisterCascade& cascade) {
    cascade.writeInto(game);
    if (cascade.quiet || clearAndScore(game) == 0) return {cascade.drops, true};
    return refillAndSettle(game, true, cascade.drops);
}

// Plays move on game from its first step, worked out on game: writes each
// changed column once, after following the cascade in registers where the
// step left a run, and runs the rest of the cascade in memory.
SettleResult playStep(Game& game, const Move& move, const FirstStep& step) {
    if (step.points == 0) {
        const Move partner = neighbourOf(move);
        std::swap(cellAt(game, move.column, move.row), cellAt(game, partner.column, partner.row));
        widenRange(game.touchedFirst, game.touchedLast, step.low, step.high);
        return {0, true};
    }
    if (step.quiet) {
        step.writeInto(game);
        return {1, true};
    }
    return playCascade(game, RegisterCascade(game, step));
}

// playMove on a field at rest whose columns are one block each.
SettleResult playMoveInRegisters(Game& game, const Move& move) { return playStep(game, move, FirstStep(game, move)); }

}  // namespace

#endif

namespace {

// The points of a move played on scratch from game, and the columns it changed.
MoveOutcome playedOutcome(const Game& game, const Game& scratch) {
    MoveOutcome outcome{scratch.score - game.score, 0, 0, true};
    changedColumnsOf(scratch, outcome.firstChanged, outcome.lastChanged);
    return outcome;
}

}  // namespace

MoveOutcome lookAtMove(const Game& game, Game& scratch, const Move& move) {
    const bool atRest = game.dirtyFirst > game.dirtyLast;
#if defined(__SSSE3__)
    if (atRest && columnBlocks() == 1) {
        const FirstStep step(game, move);
        if (step.points != 0 && step.quiet) return {step.points, step.firstChanged(), step.lastChanged(), false};
        if (step.points == 0) {
            clearRange(scratch.touchedFirst, scratch.touchedLast);
            playStep(scratch, move, step);
            return playedOutcome(game, scratch);
        }
        const RegisterCascade cascade(game, step);
        if (cascade.quiet) return {cascade.points, cascade.changedFirst, cascade.changedLast, false};
        clearRange(scratch.touchedFirst, scratch.touchedLast);
        playCascade(scratch, cascade);
        return playedOutcome(game, scratch);
    }
#endif
    clearRange(scratch.touchedFirst, scratch.touchedLast);
    swap(scratch, move);
    settleSwapped(scratch, move, atRest);
    return playedOutcome(game, scratch);
}

SettleResult playMove(Game& game, const Move& move) {
    const bool atRest = game.dirtyFirst > game.dirtyLast;
#if defined(__SSSE3__)
    if (atRest && columnBlocks() == 1) return playMoveInRegisters(game, move);
#endif
    swap(game, move);
    return settleSwapped(game, move, atRest);
}

SettleResult settleSwapped(Game& game, const Move& move, bool atRestBefore) {
    if (!atRestBefore) return settle(game);
    const Move partner = neighbourOf(move);
    clearRange(game.dirtyFirst, game.dirtyLast);
    // The two jewels differ, so their groups never share a cell.
    const std::uint32_t groups =
        clearGroupThrough(game, move.column, move.row) + clearGroupThrough(game, partner.column, partner.row);
    if (groups == 0) return {0, true};
    return refillAndSettle(game, true);
}
