#include "driver/benchmark.h"

#include <cmath>
#include <cstdio>

#include "ai/greedy.h"
#include "ai/magic.h"
#include "ai/play_moves.h"
#include "ai/recursive.h"
#include "ai/recursive_magic.h"
#include "driver/console.h"
#include "driver/stopwatch.h"

namespace {

constexpr float kTooSlowMsPerMove = 10.0f;
constexpr std::uint32_t kShortTrialMs = 10;
constexpr std::uint32_t kLastTrialMs = 1000;
constexpr double kTargetTrialMs = 1500.0;

void setFigures(AiPerformance& record, std::uint32_t moves, std::uint32_t ms, std::uint32_t points) {
    const auto movesF = static_cast<float>(moves);
    const auto msF = static_cast<float>(ms);
    const auto pointsF = static_cast<float>(points);
    record.movesPerMs = movesF / msF;
    record.pointsPerMs = pointsF / msF;
    record.msPerMove = msF / movesF;
    record.pointsPerMove = pointsF / movesF;
}

void measureAi(std::size_t index, Ai& ai, const Game& settledGame, AiPerformance& record) {
    // All trials continue on the same copy, each from where the previous one stopped.
    Game game(settledGame);
    std::uint32_t trialSize = 1;
    for (;;) {
        Stopwatch stopwatch;
        stopwatch.start();
        const std::uint32_t points = playMoves(game, ai, trialSize);
        const std::uint32_t ms = stopwatch.stop();
        printNow("     Ai #%zu just did %u moves in %ums, for %u points\n", index, trialSize, ms, points);
        if (points == 0) {
            printNow("    AI FAILED\n");
            return;
        }
        setFigures(record, trialSize, ms, points);
        if (ms > kLastTrialMs) return;
        trialSize = nextTrialSize(trialSize, ms);
    }
}

void printReport(std::size_t index, const AiPerformance& record) {
    std::printf("Ai #%zu performed: %.2f moves/ms, %.2f points/ms, %.2f ms/move, %.2f points per move\n", index,
                static_cast<double>(record.movesPerMs), static_cast<double>(record.pointsPerMs),
                static_cast<double>(record.msPerMove), static_cast<double>(record.pointsPerMove));
    printNow("100.000 moves would take %.2fms, scoring %.2f points\n\n",
             static_cast<double>(record.msPerMove) * 100000.0, static_cast<double>(record.pointsPerMove) * 100000.0);
}

}  // namespace

std::unique_ptr<Ai> makeRosterAi(std::size_t index) {
    switch (index) {
        case 0: return std::make_unique<MostPointsAi>();
        case 1: return std::make_unique<SimpleMostPointsAi>();
        case 2: return std::make_unique<SimpleRecursiveAi<1>>();
        case 3: return std::make_unique<SimpleRecursiveAi<2>>();
        case 4: return std::make_unique<SimpleRecursiveAi<3>>();
        case 5: return std::make_unique<MostDropsAi>();
        case 6: return std::make_unique<MagicAi>();
        case 7: return std::make_unique<RecursiveMagicAi<1>>();
        case 8: return std::make_unique<RecursiveMagicAi<2>>();
        default: return std::make_unique<RecursiveMagicAi<3>>();
    }
}

Roster makeRoster() {
    Roster roster;
    for (std::size_t index = 0; index < kRosterSize; ++index) roster[index] = makeRosterAi(index);
    return roster;
}

bool isSkipped(std::size_t index, const PerformanceTable& table) {
    const auto tooSlow = [&table](std::size_t sibling) { return table[sibling].msPerMove > kTooSlowMsPerMove; };
    switch (index) {
        case 4: return tooSlow(3);
        case 8: return tooSlow(7);
        case 9: return tooSlow(7) || tooSlow(8);
        default: return false;
    }
}

std::uint32_t nextTrialSize(std::uint32_t trialSize, std::uint32_t trialMs) {
    if (trialMs < kShortTrialMs) return trialSize * 10;
    return static_cast<std::uint32_t>(trialSize * (kTargetTrialMs / trialMs));
}

PerformanceTable benchmarkAis(const Roster& roster, const Game& settledGame, RosterSelection selection) {
    PerformanceTable table;
    for (std::size_t index = 0; index < kRosterSize; ++index) {
        table[index].ai = roster[index].get();
        if (!selection.test(index)) continue;
        if (isSkipped(index, table)) {
            printNow("Ai #%zu wasn't tested because previous one took too long\n", index);
            continue;
        }
        measureAi(index, *roster[index], settledGame, table[index]);
        printReport(index, table[index]);
    }
    return table;
}

unsigned chooseBestAi(std::uint32_t movesLeft, std::uint32_t msLeft, const AiPerformance* table, unsigned count) {
    const auto target = static_cast<float>(static_cast<double>(msLeft) / static_cast<double>(movesLeft));

    unsigned best = 0;
    float bestDiff = 1e9f;
    for (unsigned i = 0; i < count; ++i) {
        // A record without a speed was never measured.
        if (table[i].msPerMove == 0.0f) continue;
        const float diff = std::fabs(table[i].msPerMove - target);
        if (diff < bestDiff) {
            bestDiff = diff;
            best = i;
        }
    }

    bool tradedUp = true;
    while (tradedUp) {
        tradedUp = false;
        for (unsigned i = 0; i < count; ++i) {
            if (table[i].msPerMove < table[best].msPerMove && table[i].pointsPerMove > table[best].pointsPerMove) {
                best = i;
                tradedUp = true;
            }
        }
    }

    std::printf("Best ai is #%u\n", best);
    return best;
}
