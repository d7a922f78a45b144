#pragma once

#include <cstdint>

// The millisecond tick count of a monotonic clock, modulo 2^32; only differences
// of two readings mean anything.
std::uint32_t tickCountMs();

// Accumulates milliseconds over start/stop runs.
struct Stopwatch {
    bool running = false;
    std::uint32_t elapsedMs = 0;
    std::uint32_t startTicks = 0;

    void start();
    // Ends the current run, if any; returns the milliseconds accumulated.
    std::uint32_t stop();
    // The milliseconds accumulated so far, without ending the measurement.
    std::uint32_t read();
};

// Runs from the start of main and is never reset: the time budget counts from it.
extern Stopwatch programClock;
