#include <chrono>
#include <csignal>
#include <cstdio>
#include <filesystem>
#include <vector>

#include <unistd.h>

#include "driver/move_file.h"
#include "engine/register_play.h"
#include "planner/planner.h"
#include "planner/width_control.h"
#include "tool/commands.h"
#include "tool/level_loading.h"
#include "tool/solve_progress.h"
#include "tool/tool_errors.h"

namespace {

// The width a timed run starts from, small enough that its first moves take
// little time whatever the level, and the most it may grow to: the positions
// kept and played out at that width fill about 200 MiB.
constexpr std::uint32_t kFirstWidth = 4;
constexpr std::uint32_t kMostWidth = 6000;
// The clock is consulted after a stretch of this many moves or this long.
constexpr std::uint32_t kStretchMoves = 100;
constexpr double kStretchMs = 250.0;
// Kept back from the budget for writing the file and ending the process.
constexpr double kReserveMs = 300.0;
constexpr std::uint32_t kMovesPerFlush = 1000;

volatile std::sig_atomic_t stopSignal = 0;

extern "C" void noteStopSignal(int signal) { stopSignal = signal; }

void catchStopSignals() {
    struct sigaction action {};
    action.sa_handler = noteStopSignal;
    // A write under way goes on, so the file never loses a move to the signal.
    action.sa_flags = SA_RESTART;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
}

// The move file, written as the moves are played and handed to the system
// every thousand moves, so that a run cut short keeps what it played.
class MoveWriter {
public:
    explicit MoveWriter(const std::filesystem::path& path) : path_(path), file_(std::fopen(path.c_str(), "wb")) {
        if (file_ == nullptr) throw ToolError("cannot write move file " + path.string());
    }
    MoveWriter(const MoveWriter&) = delete;
    MoveWriter& operator=(const MoveWriter&) = delete;
    ~MoveWriter() {
        if (file_ != nullptr) std::fclose(file_);
    }

    void write(const Move& move) {
        const int length = std::fprintf(file_, "%u %u %c\n", move.column, move.row, kDirectionLetters[move.direction]);
        ends_.push_back(ends_.back() + (length > 0 ? length : 0));
        if ((ends_.size() - 1) % kMovesPerFlush == 0) flush();
    }

    // Takes back every move after the first `moves`.
    void keepFirst(std::uint32_t moves) {
        flush();
        const long end = ends_[moves];
        if (::ftruncate(::fileno(file_), end) != 0 || std::fseek(file_, end, SEEK_SET) != 0)
            throw ToolError("cannot write move file " + path_.string());
        ends_.resize(moves + 1);
    }

    void flush() {
        if (std::fflush(file_) != 0) throw ToolError("cannot write move file " + path_.string());
    }

private:
    std::filesystem::path path_;
    std::FILE* file_;
    std::vector<long> ends_{0};  // the file's length after each move
};

class Stopwatch {
public:
    double elapsedMs() const {
        return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start_).count();
    }

private:
    std::chrono::steady_clock::time_point start_ = std::chrono::steady_clock::now();
};

}  // namespace

int runSolve(const SolveOptions& options) {
    const Stopwatch clock;
    const bool timed = options.width == 0;
    const double budgetMs = options.budgetSeconds * 1000.0;
    loadLevelFrom(options.levelFolder);
    Game game = settledStartingGame();
    const std::filesystem::path moveFile = options.outFile.empty()
                                               ? std::filesystem::path(options.levelFolder) / kMoveFileName
                                               : std::filesystem::path(options.outFile);
    MoveWriter writer(moveFile);
    catchStopSignals();

    SearchSettings settings = options.search;
    settings.width = timed ? kFirstWidth : options.width;
    Planner search(game, options.moves, settings);
    WidthControl control(settings.width, kMostWidth);
    SolveProgress progress;
    const std::uint32_t startScore = game.score;

    MoveList played;
    std::uint32_t movesPlayed = 0;
    std::uint32_t stretchStartMoves = 0;
    double stretchStartMs = clock.elapsedMs();
    bool outOfTime = false;
    for (bool goesOn = true; goesOn;) {
        goesOn = search.advance(played);
        const double nowMs = clock.elapsedMs();
        if (stopSignal != 0 || (timed && nowMs > budgetMs - kReserveMs)) {
            outOfTime = stopSignal == 0;
            search.playBestLine(played);
            goesOn = false;
        }
        const double leftMs = timed ? budgetMs - kReserveMs - nowMs : 0.0;
        if (const std::optional<std::uint32_t> kept = search.rewoundTo()) {
            progress.note("solve: every line ran dry after " + std::to_string(movesPlayed) + " moves; back to move " +
                          std::to_string(*kept));
            writer.keepFirst(*kept);
            game = search.game();
            movesPlayed = *kept;
            stretchStartMoves = movesPlayed;
            stretchStartMs = nowMs;
        }
        for (const Move& move : played) {
            playMove(game, move);
            writer.write(move);
            ++movesPlayed;
            progress.update({movesPlayed, game.score, startScore, nowMs, leftMs, search.width()});
        }
        played.clear();
        if (!timed || !goesOn) continue;
        const std::uint32_t stretchMoves = movesPlayed - stretchStartMoves;
        if (stretchMoves >= kStretchMoves || (stretchMoves > 0 && nowMs - stretchStartMs >= kStretchMs)) {
            control.update(nowMs - stretchStartMs, stretchMoves, leftMs, options.moves - movesPlayed);
            search.setWidth(control.width());
            stretchStartMoves = movesPlayed;
            stretchStartMs = nowMs;
        }
    }
    writer.flush();
    progress.close();
    std::printf("solved %u moves, score %u in %.0f ms\n", movesPlayed, game.score, clock.elapsedMs());
    if (stopSignal != 0) {
        std::fprintf(stderr, "jewels-tool: stopped by a signal after %u moves, all written\n", movesPlayed);
        return 128 + stopSignal;
    }
    if (search.ranDry()) {
        std::fprintf(stderr, "jewels-tool: no line goes on after %u moves: the field has no legal move\n", movesPlayed);
        return kRanDryStatus;
    }
    if (outOfTime)
        std::fprintf(stderr, "jewels-tool: the budget ran out after %u of %u moves\n", movesPlayed, options.moves);
    return 0;
}
