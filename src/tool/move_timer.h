#pragma once

#include <chrono>
#include <cstdint>
#include <cstdio>

// Measures the moves of a play or a replay, for a "time" line at its end.
class MoveTimer {
public:
    MoveTimer() : start_(std::chrono::steady_clock::now()) {}

    // "time T ms, M ms per move" (M is 0 when no move was made).
    void report(std::uint32_t moves) const {
        const std::chrono::duration<double, std::milli> elapsed = std::chrono::steady_clock::now() - start_;
        const double perMove = moves == 0 ? 0.0 : elapsed.count() / moves;
        std::printf("time %.1f ms, %.4f ms per move\n", elapsed.count(), perMove);
    }

private:
    std::chrono::steady_clock::time_point start_;
};
