// The moves every strategy plays, checked against a record made before the
// engine was tuned for speed: a faster engine must decide exactly as before.
// To record anew (only when decisions are meant to change, and from the code
// that decides as intended), run this test with JEWELS_UPDATE_GOLDEN=1; it then
// rewrites tests/data/decisions.golden, which takes several minutes.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "ai/survive.h"
#include "driver/benchmark.h"
#include "engine/gravity.h"
#include "support/level_fixture.h"
#include "support/tool_run.h"

namespace {

constexpr int kRandomLevels = 20;
constexpr std::size_t kSurviveIndex = kRosterSize;  // recorded after the roster

// The record holds the moves' hash after 1, 10, 100 and 1000 moves, so the test
// can check a shorter prefix where playing all of it would take too long.
constexpr std::uint32_t kCheckpoints[] = {1, 10, 100, 1000};

// Moves recorded: 1000, except where the deepest searches take seconds to
// minutes per move (the 50x50 level).
std::uint32_t movesRecorded(const std::string& level, std::size_t strategy) {
    if (level == "large-50x50" && strategy == 4) return 1;
    if (level == "large-50x50" && strategy == 9) return 10;
    return 1000;
}

struct LevelFiles {
    std::vector<std::string> layout;
    std::vector<std::string> supplies;
};

// Small random levels, from 5x5 to 12x12, 3 to 7 kinds, supplies of 1 to 60
// jewels, every other one with ragged rock at the bottom of its columns. Drawn
// from mt19937's raw output, which is the same on every platform.
LevelFiles randomLevel(std::mt19937& random, bool ragged) {
    const std::uint32_t columns = 5 + random() % 8;
    const std::uint32_t rows = 5 + random() % 8;
    const std::uint32_t kinds = 3 + random() % 5;
    LevelFiles files;
    std::vector<std::uint32_t> heights(columns, rows);
    if (ragged)
        for (std::uint32_t& height : heights) height = rows - random() % (rows / 2 + 1);
    for (std::uint32_t row = 0; row < rows; ++row) {
        std::string line;
        for (std::uint32_t column = 0; column < columns; ++column) line += row < heights[column] ? '0' : '1';
        files.layout.push_back(line);
    }
    for (std::uint32_t column = 0; column < columns; ++column) {
        std::string supply(1 + random() % 60, '0');
        for (char& jewel : supply) jewel = static_cast<char>('0' + random() % kinds);
        files.supplies.push_back(supply);
    }
    return files;
}

std::unique_ptr<Ai> makeStrategy(std::size_t index) {
    if (index == kSurviveIndex) return std::make_unique<SurviveAi>();
    return makeRosterAi(index);
}

std::string checkpointLine(const std::string& level, std::size_t index, std::uint32_t checkpoint, std::uint32_t played,
                           std::uint32_t score, std::uint64_t hash) {
    char line[160];
    std::snprintf(line, sizeof line, "%s #%zu after %u: moves %u score %u hash %016llx", level.c_str(),
                  index == kSurviveIndex ? std::size_t{7777} : index, checkpoint, played, score,
                  static_cast<unsigned long long>(hash));
    return line;
}

// Lets a strategy play up to moveCount moves (it stops early when it finds no
// move) and adds a line at every checkpoint reached: the moves played so far,
// the score and a hash of every move.
void recordStrategy(const std::string& level, const Game& start, std::size_t index, std::uint32_t moveCount,
                    std::vector<std::string>& lines) {
    const std::unique_ptr<Ai> ai = makeStrategy(index);
    Game game(start);
    Move move{0, 0, East};
    std::uint64_t hash = 14695981039346656037ull;  // FNV-1a
    const auto mix = [&hash](std::uint32_t word) {
        for (int byte = 0; byte < 4; ++byte) hash = (hash ^ ((word >> (8 * byte)) & 0xFF)) * 1099511628211ull;
    };
    std::uint32_t played = 0;
    bool stopped = false;
    for (const std::uint32_t checkpoint : kCheckpoints) {
        if (checkpoint > moveCount) break;
        while (!stopped && played < checkpoint) {
            if (!ai->chooseMove(move, game)) {
                stopped = true;
                break;
            }
            mix(move.column);
            mix(move.row);
            mix(move.direction);
            swap(game, move);
            ++played;
            stopped = !settle(game).settled;
        }
        lines.push_back(checkpointLine(level, index, checkpoint, played, game.score, hash));
    }
}

// Moves checked by the test: all that were recorded, but for the deepest search
// on the random levels, whose dead ends make it slow.
std::uint32_t movesChecked(const std::string& level, std::size_t strategy) {
    if (level.rfind("random-", 0) == 0 && strategy == 4) return 100;
    return movesRecorded(level, strategy);
}

using MoveBudget = std::uint32_t (*)(const std::string& level, std::size_t strategy);

void recordLevel(const std::string& level, MoveBudget budget, std::vector<std::string>& lines) {
    Game start;
    if (!initialFill(start)) {
        lines.push_back(level + ": never comes to rest");
        return;
    }
    for (std::size_t index = 0; index <= kSurviveIndex; ++index)
        recordStrategy(level, start, index, budget(level, index), lines);
}

std::vector<std::string> recordAllDecisions(MoveBudget budget) {
    std::vector<std::string> lines;
    for (const char* level : {"small-8x8", "medium-20x15", "large-50x50"}) {
        loadBundledLevel(level);
        recordLevel(level, budget, lines);
    }
    std::mt19937 random(20261206);
    for (int number = 0; number < kRandomLevels; ++number) {
        const LevelFiles files = randomLevel(random, number % 2 == 1);
        loadLevel(files.layout, files.supplies);
        recordLevel("random-" + std::to_string(number), budget, lines);
    }
    return lines;
}

// The part of a line that names what it records: "level #strategy after n:".
std::string keyOf(const std::string& line) { return line.substr(0, line.find(':') + 1); }

TEST(Decisions, EveryStrategyPlaysTheRecordedMovesOnEveryLevel) {
    const std::filesystem::path goldenPath = sourcePath("tests/data/decisions.golden");
    if (std::getenv("JEWELS_UPDATE_GOLDEN") != nullptr) {
        const std::vector<std::string> recorded = recordAllDecisions(movesRecorded);
        std::ofstream out(goldenPath);
        for (const std::string& line : recorded) out << line << '\n';
        GTEST_SKIP() << "recorded " << recorded.size() << " lines in " << goldenPath;
    }
    std::map<std::string, std::string> expected;
    for (const std::string& line : linesOf(readFileBytes(goldenPath))) expected[keyOf(line)] = line;
    const std::vector<std::string> actual = recordAllDecisions(movesChecked);
    ASSERT_GT(actual.size(), 200u);
    for (const std::string& line : actual) {
        const auto recorded = expected.find(keyOf(line));
        ASSERT_NE(recorded, expected.end()) << "nothing recorded for: " << line;
        EXPECT_EQ(line, recorded->second);
    }
}

}  // namespace
