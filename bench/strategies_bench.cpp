// Time and points per move of every roster strategy on the bundled levels, each
// playing a fixed number of moves from the settled first field.
//   build/release/bench/jewels_bench --benchmark_filter=medium
#include <benchmark/benchmark.h>

#include <memory>
#include <string>

#include "ai/play_moves.h"
#include "driver/benchmark.h"
#include "engine/gravity.h"

namespace {

const char* const kLevels[] = {"small-8x8", "medium-20x15", "large-50x50"};

// Enough moves to average over cascades, few enough for the deep searches.
const std::uint32_t kMovesPerRun[kRosterSize] = {300, 300, 300, 100, 10, 300, 100, 300, 100, 20};

Game settledLevel(const std::string& level) {
    const std::string folder = std::string(JEWELS_SOURCE_DIR) + "/levels/" + level + "/";
    readLayoutFile(folder + "speelveld.txt");
    readSupplyFile(folder + "kolommen.txt");
    Game game;
    initialFill(game);
    return game;
}

void playStrategy(benchmark::State& state, const std::string& level, std::size_t index) {
    const Game start = settledLevel(level);
    std::uint64_t moves = 0;
    std::uint64_t points = 0;
    for (auto _ : state) {
        // A fresh strategy: it may carry lists from one decision to the next.
        const std::unique_ptr<Ai> ai = makeRosterAi(index);
        Game game(start);
        points += playMoves(game, *ai, kMovesPerRun[index], [&moves](const Move&, const Game&) { ++moves; });
    }
    state.counters["moves"] = benchmark::Counter(static_cast<double>(moves), benchmark::Counter::kAvgIterations);
    state.counters["time/move"] =
        benchmark::Counter(static_cast<double>(moves), benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
    state.counters["points/move"] = moves == 0 ? 0.0 : static_cast<double>(points) / static_cast<double>(moves);
}

const bool registered = [] {
    for (const char* level : kLevels) {
        for (std::size_t index = 0; index < kRosterSize; ++index) {
            const std::string name = std::string(level) + "/" + std::to_string(index) + "-" + kRosterNames[index];
            benchmark::RegisterBenchmark(name.c_str(), playStrategy, std::string(level), index)
                ->Unit(benchmark::kMillisecond)
                ->UseRealTime();
        }
    }
    return true;
}();

}  // namespace

BENCHMARK_MAIN();
