#include "driver/benchmark.h"
#include "tool/commands.h"
#include "tool/level_loading.h"
#include "tool/strategy_choice.h"

int runBench(const BenchOptions& options) {
    const RosterSelection selection = options.ais.empty() ? kWholeRoster : rosterSelection(options.ais);
    loadLevelFrom(options.levelFolder);
    const Game game = settledStartingGame();
    const Roster roster = makeRoster();
    benchmarkAis(roster, game, selection);
    return 0;
}
