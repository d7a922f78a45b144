// Whole runs of jewels, complete or killed: the move file against the run's log.
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/wait.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <regex>
#include <string>
#include <thread>
#include <vector>

#include "support/level_fixture.h"
#include "support/run_program.h"
#include "support/tool_run.h"

namespace {

constexpr std::uint32_t kMatchMoves = 100000;
constexpr std::uint32_t kChunkMoves = 1000;

// An 8x8 level whose first fill scores and whose strategies fail now and then,
// so that its runs rewind and a score is not the points the moves gained. A
// whole run takes about two seconds.
void generateLevel(const TempDir& dir) {
    const ProgramRun run = runTool(dir, {"generate", ".", "--cols", "8", "--rows", "8", "--kinds", "6", "--seed", "2"});
    ASSERT_EQ(run.exitStatus, 0) << run.errors;
}

// Runs jewels in dir, its output going to log.txt. With a line given, kills the
// run (SIGKILL) as soon as its log shows that line. Answers the wait status.
int runJewels(const TempDir& dir, const char* killUpon) {
    const std::filesystem::path log = dir.path() / "log.txt";
    const pid_t run = startProgramIn(dir.path(), JEWELS_EXECUTABLE, {}, log, dir.path() / "errors.txt");
    int status = 0;
    while (::waitpid(run, &status, killUpon != nullptr ? WNOHANG : 0) == 0) {
        if (readFileBytes(log).find(killUpon) != std::string::npos) {
            ::kill(run, SIGKILL);
            ::waitpid(run, &status, 0);
            break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return status;
}

struct ChunkLine {
    std::uint32_t score;
    std::uint32_t movesLeft;
    bool replayedSince = false;  // a later rewind went back before this line's move
};

// The chunk lines of a log. A rewind to a checkpoint before an earlier chunk
// line's move replays the moves up to it, so that line's score is no longer
// the game's score there.
std::vector<ChunkLine> chunkLinesOf(const std::string& log) {
    static const std::regex chunkLine("Score ([0-9]+), [0-9]+ms left, ([0-9]+) moves left, best ai = #[0-9]+");
    static const std::regex resetLine("Resetting to move \\([0-9]+\\) ([0-9]+)");
    std::vector<ChunkLine> lines;
    std::smatch fields;
    for (const std::string& line : linesOf(log)) {
        if (std::regex_match(line, fields, chunkLine))
            lines.push_back(
                {static_cast<std::uint32_t>(std::stoul(fields[1])), static_cast<std::uint32_t>(std::stoul(fields[2]))});
        if (!std::regex_match(line, fields, resetLine)) continue;
        const auto rewoundTo = static_cast<std::uint32_t>(std::stoul(fields[1]));
        for (ChunkLine& earlier : lines)
            if (kMatchMoves - earlier.movesLeft > rewoundTo) earlier.replayedSince = true;
    }
    return lines;
}

// Wherever a run stopped, its move file holds whole chunks that replay, its log
// the chunk line of each of them and at most one more, and the game's score
// after each chunk is the one the next chunk line printed, unless a rewind
// replayed that chunk's end since.
void expectMoveFileAgreesWithLog(const TempDir& dir) {
    const std::vector<ChunkLine> chunkLines = chunkLinesOf(readFileBytes(dir.path() / "log.txt"));
    for (std::size_t chunk = 0; chunk < chunkLines.size(); ++chunk)
        EXPECT_EQ(chunkLines[chunk].movesLeft, kMatchMoves - kChunkMoves * chunk) << "chunk line " << chunk;
    const std::string moves = readFileBytes(dir.path() / "uitvoer.txt");
    ASSERT_TRUE(moves.empty() || moves.back() == '\n') << "the last move line is torn";
    const auto lineCount = static_cast<std::size_t>(std::count(moves.begin(), moves.end(), '\n'));
    ASSERT_EQ(lineCount % kChunkMoves, 0u) << lineCount << " lines";
    const std::size_t chunks = lineCount / kChunkMoves;
    EXPECT_TRUE(chunkLines.size() == chunks || chunkLines.size() == chunks + 1)
        << chunks << " chunks written, " << chunkLines.size() << " chunk lines";
    if (chunks == 0) return;

    const ProgramRun verify = runTool(dir, {"verify", "--level", ".", "--every", std::to_string(kChunkMoves)});
    ASSERT_EQ(verify.exitStatus, 0) << verify.output;
    const std::vector<std::string> steps = linesOf(verify.output);
    ASSERT_EQ(steps.size(), chunks + 1);
    std::size_t compared = 0;
    for (std::size_t chunk = 1; chunk <= chunks && chunk < chunkLines.size(); ++chunk) {
        if (chunkLines[chunk].replayedSince) continue;
        EXPECT_EQ(steps[chunk - 1], "after " + std::to_string(chunk * kChunkMoves) + " moves: score " +
                                        std::to_string(chunkLines[chunk].score));
        ++compared;
    }
    // Rewinds into an earlier chunk are rare: most chunk ends keep their score.
    EXPECT_GE(2 * compared + 2, std::min(chunks, chunkLines.size() - 1));
}

struct KillMoment {
    const char* name;
    const char* killUpon;  // the log line upon which the run is killed; none: it runs to its end
};

TEST(RunLog, AKilledOrCompletedRunLeavesWholeChunksThatReplayToTheScoresOfItsChunkLines) {
    const KillMoment moments[] = {
        {"in the benchmark", "Ai #3 performed"},
        {"right after the first chunk", ", 99000 moves left"},
        {"mid-match", ", 50000 moves left"},
        {"never: a complete run", nullptr},
    };
    for (const KillMoment& c : moments) {
        SCOPED_TRACE(c.name);
        TempDir dir;
        generateLevel(dir);
        const int status = runJewels(dir, c.killUpon);
        if (c.killUpon != nullptr) {
            ASSERT_TRUE(WIFSIGNALED(status)) << "the run ended before its log showed " << c.killUpon;
        } else {
            ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
            EXPECT_EQ(chunkLinesOf(readFileBytes(dir.path() / "log.txt")).size(), kMatchMoves / kChunkMoves);
        }
        expectMoveFileAgreesWithLog(dir);
    }
}

}  // namespace
