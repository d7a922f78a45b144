#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "engine/game.h"
#include "engine/moves.h"

// What the tests hand a strategy as its output move: never a candidate, since
// candidates go O or Z.
inline constexpr Move kPresetMove{4, 3, West};

// Column c of a field refills only with jewel 7, 8 or 9 (c mod 3): kinds that a
// one-row field drawn in 0-6 never uses, and different in neighbouring columns,
// so a cleared cell comes back as a jewel that never matches nor moves again.
std::vector<std::string> inertSupplies(std::size_t columnCount);

// A field of a single row of jewels over four rows of rock, given as that row.
// Every move is then an O swap and every run a row, so a search on it can be
// followed by hand. Supplies as for loadPicture; inert ones when none are given.
Game loadRow(const std::string& row, std::vector<std::string> supplies = {});

// A 5x5 field in which each kind recurs only five cells away along a row or a
// column, so that no swap makes a run.
Game loadFieldWithoutMoves();

bool isCandidate(const Game& game, const Move& move);

struct Searched {
    bool answered;
    Move move;
    std::uint32_t value;  // what search returns for the whole depth
};

template <template <unsigned> class Strategy, unsigned N>
Searched searchWith(Game& game) {
    Strategy<N> ai;
    Move move = kPresetMove;
    const bool answered = ai.chooseMove(move, game);
    return {answered, move, ai.search(nullptr, N - 1, game)};
}

// Asks a new Strategy<depth> (depth 1 to 3) for its move and its search value.
template <template <unsigned> class Strategy>
Searched searchAtDepth(unsigned depth, Game& game) {
    if (depth == 1) return searchWith<Strategy, 1>(game);
    if (depth == 2) return searchWith<Strategy, 2>(game);
    return searchWith<Strategy, 3>(game);
}
