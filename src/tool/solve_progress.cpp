#include "tool/solve_progress.h"

#include <unistd.h>

#include <cstdio>

namespace {

constexpr std::uint32_t kMovesPerPlainLine = 1000;
constexpr double kMsPerTerminalUpdate = 200.0;

double pointsPerMove(const SolveStatus& status) {
    return status.moves == 0 ? 0.0 : static_cast<double>(status.score - status.startScore) / status.moves;
}

}  // namespace

SolveProgress::SolveProgress() : terminal_(isatty(STDERR_FILENO) != 0) {}

void SolveProgress::update(const SolveStatus& status) {
    if (terminal_) {
        if (status.elapsedMs - lastShownMs_ < kMsPerTerminalUpdate) return;
        lastShownMs_ = status.elapsedMs;
        shown_ = true;
        // "\33[K" clears what a longer line before left at the end.
        std::fprintf(stderr, "\rmoves %u, score %u, %.1f points/move, %.1f s elapsed, %.1f s left, width %u\33[K",
                     status.moves, status.score, pointsPerMove(status), status.elapsedMs / 1000, status.leftMs / 1000,
                     status.width);
        std::fflush(stderr);
        return;
    }
    if (status.moves % kMovesPerPlainLine != 0) return;
    std::fprintf(stderr, "solve: moves %u, score %u, %.1f points/move, %.0f ms elapsed, %.0f ms left, width %u\n",
                 status.moves, status.score, pointsPerMove(status), status.elapsedMs, status.leftMs, status.width);
    std::fflush(stderr);
}

void SolveProgress::note(const std::string& line) {
    // On a terminal the line kept up to date is cleared first, and drawn again at the next update.
    std::fprintf(stderr, terminal_ ? "\r%s\33[K\n" : "%s\n", line.c_str());
    std::fflush(stderr);
    lastShownMs_ = -1e9;
}

void SolveProgress::close() {
    if (terminal_ && shown_) std::fputc('\n', stderr);
}
