// Plays fuzzed games on small fuzzed levels and compares every step of the
// engine with the plain rules of reference_rules.h.
//
// An input is read byte by byte (0 once it runs out):
//   columns and rows: below 0xF0 5 + b % 8, else 20 + 2 (b - 0xF0), so that
//     some fields are wide or span several blocks of 16 cells;
//   jewel kinds 3 + b % 8; a kinds byte
//     of 0xF8 or more also asks to compare cascades that never settle in
//     full (ten thousand refill passes in the engine and again in the
//     reference, too slow for every such level); other inputs only check
//     that the reference cascade repeats, and end there;
//   per column one byte: below 0xC0 no rock, else (b - 0xC0) % (rows + 1)
//     rows of rock at the bottom;
//   per column a supply: its length 1 + (b + 2) % 40 (from 0xF0 on,
//     250 + b - 0xF0, around the cursor's wrap at 256), then for its i-th jewel
//     one byte, (b + i) % kinds. Both offsets make a run of zeros (a short
//     input) a varied supply of three instead of one that refills runs
//     forever: such a level costs ten thousand refill passes twice over;
//   then one byte per move (64 at most): it picks legal move b % count in
//     listing order.
// Before each move every exchange of two neighbours is also played the fast
// ways, playMove and lookAtMove, and held to what swap and settle leave,
// until the input has spent its budget of refill passes on them.
// The unit tests run this check on the committed seeds and on random inputs.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <tuple>

#include "engine/candidates.h"
#include "engine/gravity.h"
#include "engine/moves.h"
#include "engine/register_play.h"
#include "fuzz_support.h"
#include "reference_rules.h"

namespace {

constexpr std::uint32_t kMaxMoves = 64;

// The refill passes that the checks of every exchange may spend on one input,
// counted once though each cascade is played three ways. Few kinds make
// cascades of hundreds of passes after most exchanges, and a 64-move game
// would spend minutes on them; this leaves room for one endless cascade.
constexpr std::uint32_t kExchangeDropBudget = 2 * kMaxRefillPasses;

class ByteReader {
public:
    ByteReader(const std::uint8_t* data, std::size_t size) : data(data), size(size) {}

    std::uint8_t next() { return position < size ? data[position++] : 0; }
    bool exhausted() const { return position >= size; }

private:
    const std::uint8_t* data;
    std::size_t size;
    std::size_t position = 0;
};

constexpr std::uint8_t kCompareEndlessCascades = 0xF8;

// The columns or rows a byte asks for, as the input format above says.
std::uint32_t fieldSize(std::uint8_t b) { return b < 0xF0 ? 5 + b % 8 : 20 + 2 * (b - 0xF0); }

// Writes the decoded level's two files and loads them with the real readers.
// Returns whether cascades that never settle are to be compared in full.
bool loadFuzzedLevel(ByteReader& in) {
    const std::uint32_t columns = fieldSize(in.next());
    const std::uint32_t rows = fieldSize(in.next());
    const std::uint8_t kindsByte = in.next();
    const std::uint32_t kinds = 3 + kindsByte % 8;

    std::string layout;
    std::uint32_t rock[kMaxColumns];
    for (std::uint32_t column = 0; column < columns; ++column) {
        const std::uint8_t b = in.next();
        rock[column] = b < 0xC0 ? 0 : (b - 0xC0) % (rows + 1);
    }
    for (std::uint32_t row = 0; row < rows; ++row) {
        for (std::uint32_t column = 0; column < columns; ++column) layout += row + rock[column] >= rows ? '1' : '0';
        layout += '\n';
    }

    std::string supply;
    for (std::uint32_t column = 0; column < columns; ++column) {
        if (column > 0) supply += '\n';
        const std::uint8_t b = in.next();
        const std::uint32_t length = b < 0xF0 ? 1 + (b + 2) % 40 : 250 + b - 0xF0;
        for (std::uint32_t i = 0; i < length; ++i) supply += static_cast<char>('0' + (in.next() + i) % kinds);
    }

    const LevelFolder& folder = LevelFolder::instance();
    folder.writeLayout(layout);
    folder.writeSupply(supply);
    try {
        readLayoutFile(folder.layoutFile());
        readSupplyFile(folder.supplyFile());
    } catch (const LevelError& error) {
        failCheck("generated level rejected: %s", error.what());
    }
    return kindsByte >= kCompareEndlessCascades;
}

void checkSameState(const Game& engine, const Game& reference, const char* when) {
    FUZZ_CHECK(engine.score == reference.score, "%s: score %u, reference %u", when, engine.score, reference.score);
    for (std::uint32_t column = 0; column < Level.columnCount; ++column) {
        FUZZ_CHECK(engine.supplyCursor[column] == reference.supplyCursor[column],
                   "%s: column %u supply cursor %u, reference %u", when, column, engine.supplyCursor[column],
                   reference.supplyCursor[column]);
        for (std::uint32_t row = 0; row < Level.stride; ++row)
            FUZZ_CHECK(cellAt(engine, column, row) == cellAt(reference, column, row),
                       "%s: cell %u,%u is %u, reference %u", when, column, row, cellAt(engine, column, row),
                       cellAt(reference, column, row));
    }
}

// A field at rest leaves nothing for settle to look at again. (Its cells are
// held to the reference's, which left no run standing.)
void checkRangeAtRest(const Game& game) {
    FUZZ_CHECK(game.dirtyFirst == Level.columnCount && game.dirtyLast == 0, "settled with dirty range %u..%u",
               game.dirtyFirst, game.dirtyLast);
}

// Every column that the move changed lies in the touched range, which was empty before it.
void checkTouchedRange(const Game& before, const Game& after) {
    for (std::uint32_t column = 0; column < Level.columnCount; ++column) {
        bool changed = before.supplyCursor[column] != after.supplyCursor[column];
        for (std::uint32_t row = 0; row < Level.stride; ++row)
            changed = changed || cellAt(before, column, row) != cellAt(after, column, row);
        FUZZ_CHECK(!changed || (after.touchedFirst <= column && column <= after.touchedLast),
                   "column %u changed outside the touched range %u..%u", column, after.touchedFirst, after.touchedLast);
    }
}

bool sameMoveSets(MoveList a, MoveList b) {
    const auto order = [](const Move& x, const Move& y) {
        return std::tie(x.column, x.row, x.direction) < std::tie(y.column, y.row, y.direction);
    };
    std::sort(a.begin(), a.end(), order);
    std::sort(b.begin(), b.end(), order);
    return a == b;
}

// Every exchange of two neighbouring jewels, in all four directions, whether
// it makes a run or not, played by playMove and looked at by lookAtMove on a
// field at rest: both must tell what swap and settle do. Stops once budget
// refill passes are spent, and takes from it the passes it spent.
void checkEveryExchange(const Game& game, std::uint32_t& budget) {
    Game start(game);
    clearRange(start.touchedFirst, start.touchedLast);
    const auto check = [&start, &budget](const Move& move) {
        if (budget == 0) return;
        Game expected(start);
        swap(expected, move);
        const SettleResult result = settle(expected);
        budget -= std::min(budget, result.drops);
        Game played(start);
        const SettleResult playedResult = playMove(played, move);
        FUZZ_CHECK(played == expected && playedResult.drops == result.drops && playedResult.settled == result.settled,
                   "playMove of %u %u %c differs from swap and settle", move.column, move.row,
                   kDirectionLetters[move.direction]);
        Game scratch(start);
        const MoveOutcome outcome = lookAtMove(start, scratch, move);
        FUZZ_CHECK(outcome.points == expected.score - start.score, "lookAtMove of %u %u %c: %u points, played %u",
                   move.column, move.row, kDirectionLetters[move.direction], outcome.points,
                   expected.score - start.score);
        FUZZ_CHECK(outcome.firstChanged == (result.settled ? expected.touchedFirst : 0) &&
                       outcome.lastChanged == (result.settled ? expected.touchedLast : Level.columnCount - 1),
                   "lookAtMove of %u %u %c changed columns %u..%u, played %u..%u", move.column, move.row,
                   kDirectionLetters[move.direction], outcome.firstChanged, outcome.lastChanged, expected.touchedFirst,
                   expected.touchedLast);
        FUZZ_CHECK(scratch == (outcome.played ? expected : start), "lookAtMove left its scratch copy wrong");
    };
    for (std::uint32_t column = 0; column < Level.columnCount; ++column) {
        for (std::uint32_t row = 0; row + 1 < Level.columnHeight[column]; ++row) {
            check({column, row, South});
            check({column, row + 1, North});
        }
        for (std::uint32_t row = 0;
             column + 1 < Level.columnCount && row < Level.columnHeight[column] && row < Level.columnHeight[column + 1];
             ++row) {
            check({column, row, East});
            check({column + 1, row, West});
        }
    }
}

}  // namespace

void checkEngineInput(const std::uint8_t* data, std::size_t size) {
    ByteReader in(data, size);
    const bool compareEndless = loadFuzzedLevel(in);

    Game game;
    Game reference(game);
    if (!compareEndless && referenceFillNeverSettles(game)) return;
    const bool filled = initialFill(game);
    const bool referenceFilled = referenceInitialFill(reference);
    FUZZ_CHECK(filled == referenceFilled, "first fill settled %d, reference %d", filled, referenceFilled);
    checkSameState(game, reference, "first fill");
    if (!filled) return;
    checkRangeAtRest(game);

    // The incremental move lists that the searches and MostPointsAi keep, followed along.
    MoveMap map;
    mapAllMoves(game, map);
    MoveList carried;
    refreshCandidates(game, carried, MoveList{});
    std::uint32_t exchangeBudget = kExchangeDropBudget;
    for (std::uint32_t turn = 0; turn < kMaxMoves && !in.exhausted(); ++turn) {
        const MoveList legal = referenceLegalMoves(game);
        MoveList listed, mapped;
        enumerateAll(game, &listed);
        listAllMoves(map, &mapped);
        FUZZ_CHECK(
            listed == legal && mapped == legal && sameMoveSets(carried, legal) && countMoves(map) == legal.size(),
            "moves listed %zu, mapped %zu, candidates %zu, counted %u; reference %zu", listed.size(), mapped.size(),
            carried.size(), countMoves(map), legal.size());
        checkEveryExchange(game, exchangeBudget);

        if (legal.empty()) return;
        const Move move = legal[in.next() % legal.size()];

        const Game before(game);
        swap(game, move);
        const SettleResult result = settle(game);
        reference = before;
        referenceSwap(reference, move);
        if (!result.settled && !compareEndless) {
            FUZZ_CHECK(referenceNeverSettles(reference), "cascade cut off after %u drops, but the reference settles",
                       result.drops);
            return;
        }
        const ReferenceSettle expected = referenceSettle(reference);
        FUZZ_CHECK(result.settled == expected.settled && result.drops == expected.drops,
                   "settle made %u drops (settled %d), reference %u (settled %d)", result.drops, result.settled,
                   expected.drops, expected.settled);
        checkSameState(game, reference, "after a move");
        FUZZ_CHECK(game.score > before.score, "a legal move scored nothing");
        if (!result.settled) return;
        checkRangeAtRest(game);
        checkTouchedRange(before, game);

        MoveMap childMap;
        mapChildMoves(game, map, childMap);
        map = childMap;
        MoveList refreshed;
        refreshCandidates(game, refreshed, carried);
        carried = refreshed;
    }
}
