#include "support/strategy_fixture.h"

#include <algorithm>

#include "engine/candidates.h"
#include "engine/gravity.h"
#include "level/level.h"
#include "support/level_fixture.h"
#include "support/run_program.h"

std::vector<std::string> inertSupplies(std::size_t columnCount) {
    std::vector<std::string> supplies;
    for (std::size_t column = 0; column < columnCount; ++column) supplies.push_back(std::string(1, "789"[column % 3]));
    return supplies;
}

Game loadRow(const std::string& row, std::vector<std::string> supplies) {
    if (supplies.empty()) supplies = inertSupplies(row.size());
    const std::string rock(row.size(), '#');
    return loadPicture({row, rock, rock, rock, rock}, supplies);
}

Game loadFieldWithoutMoves() { return loadPicture({"01234", "23401", "40123", "12340", "34012"}); }

bool isCandidate(const Game& game, const Move& move) {
    MoveList candidates;
    enumerateAll(game, &candidates);
    return std::find(candidates.begin(), candidates.end(), move) != candidates.end();
}
