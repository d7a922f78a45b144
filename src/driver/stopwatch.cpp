#include "driver/stopwatch.h"

#include <chrono>

Stopwatch programClock;

std::uint32_t tickCountMs() {
    const auto sinceEpoch = std::chrono::steady_clock::now().time_since_epoch();
    return static_cast<std::uint32_t>(std::chrono::duration_cast<std::chrono::milliseconds>(sinceEpoch).count());
}

void Stopwatch::start() {
    if (running) return;
    startTicks = tickCountMs();
    running = true;
}

std::uint32_t Stopwatch::stop() {
    if (running) {
        running = false;
        elapsedMs += tickCountMs() - startTicks;
    }
    return elapsedMs;
}

std::uint32_t Stopwatch::read() {
    if (!running) return elapsedMs;
    const std::uint32_t elapsed = stop();
    start();
    return elapsed;
}
