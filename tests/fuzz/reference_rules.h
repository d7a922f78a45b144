#pragma once

#include <cstdint>

#include "engine/game.h"
#include "engine/moves.h"

// The rules once more, written the plain way: whole-field scans for runs, a
// union of the runs' cells for groups, one column at a time for gravity. Slow
// and short, and sharing no code with the engine's bit-parallel rules, so a
// fuzzer can compare the two cell by cell. Works on a Game only as storage.

struct ReferenceClearing {
    std::uint32_t groups;
    std::uint32_t points;
};

// Finds every run of three or more equal jewels in the whole field, empties the
// groups they form and adds the groups' points to the score.
ReferenceClearing referenceClear(Game& game);

// Closes up every column's jewels at the bottom and fills the cells above them
// from the column's supply, the first jewel lowest.
void referenceRefill(Game& game);

struct ReferenceSettle {
    std::uint32_t drops;
    bool settled;
};

// Clears and refills until nothing matches, stopping at the refill cap.
ReferenceSettle referenceSettle(Game& game);

// Fills an empty field and lets it settle; false when cut off at the refill cap.
bool referenceInitialFill(Game& game);

// Whether settling the game would run into the refill cap, found in a few
// passes: a cascade is a function of the cells and cursors alone, so it never
// comes to rest once that state comes round again.
bool referenceNeverSettles(const Game& game);

// The same for the first fill of a new, empty game.
bool referenceFillNeverSettles(const Game& game);

// Exchanges the two cells of an O or Z move.
void referenceSwap(Game& game, const Move& move);

// Every legal move, in the listing order of the engine's candidates: bottom row
// first, columns ascending, the Z move before the O move of a cell.
MoveList referenceLegalMoves(const Game& game);
