#include "driver/run_sequence.h"

#include <cstdio>
#include <exception>

#include "driver/benchmark.h"
#include "driver/live_game.h"
#include "driver/match.h"
#include "driver/stopwatch.h"
#include "engine/game.h"
#include "engine/gravity.h"
#include "level/drawing.h"
#include "level/level.h"
#include "level/reports.h"

namespace {

void loadLevel() {
    std::printf("Speelveld.txt inlezen... ");
    readLayoutFile("speelveld.txt");
    std::printf("ok\n");
    std::printf("Kolommen.txt inlezen... ");
    readSupplyFile("kolommen.txt");
    std::printf("ok\n");
}

void printLevelReports() {
    std::printf("\n");
    printBoardReport();
    std::printf("\n");
    printSupplyReport();
    std::printf("\n");
}

void printScoreAfterPass(const Game& game) { std::printf(" -> %u", game.score); }

void fillAndShowInitialBoard(Game& game) {
    std::printf("Game overview:\n");
    drawSupplyPreview(game.supplyCursor);
    std::printf("\n");
    drawBoard(game);
    std::printf("Initial score: 0");
    if (!initialFill(game, printScoreAfterPass)) throw NeverSettles();
    std::printf("\n");
    std::printf("Initial board:\n\n");
    drawNextJewels(game.supplyCursor);
    std::printf("\n");
    drawBoard(game);
}

}  // namespace

int runProgram() {
    programClock.start();
    std::printf("Hello %s", "vlim");
    try {
        loadLevel();
        printLevelReports();
        Game game;
        fillAndShowInitialBoard(game);
        const Roster roster = makeRoster();
        const PerformanceTable table = benchmarkAis(roster, game);
        if (playMatch(roster, table, game) == MatchResult::GaveUp) return kGaveUpExitStatus;
    } catch (const std::exception& error) {
        std::printf("Wat jammer nou: %s\n", error.what());
        return 0;
    }
    return 0;
}
