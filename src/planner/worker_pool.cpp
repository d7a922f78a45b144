#include "planner/worker_pool.h"

#include <chrono>

namespace {

// A search step hands work over twice, often a few tens of microseconds
// apart, sooner than a sleeping thread wakes: a waiting thread first watches
// for this long before it sleeps. It gives up its processor as it watches, in
// case more threads than processors were asked for.
constexpr auto kWatchTime = std::chrono::milliseconds(2);
constexpr std::uint32_t kRoundsPerClockRead = 64;

// Waits until value differs from old: watching first, then sleeping.
void awaitChange(const std::atomic<std::uint32_t>& value, std::uint32_t old) {
    const auto until = std::chrono::steady_clock::now() + kWatchTime;
    for (std::uint32_t round = 1;; ++round) {
        if (value.load(std::memory_order_acquire) != old) return;
        std::this_thread::yield();
        if (round % kRoundsPerClockRead == 0 && std::chrono::steady_clock::now() > until) break;
    }
    value.wait(old);
}

}  // namespace

WorkerPool::WorkerPool(std::uint32_t threads) {
    for (std::uint32_t index = 1; index < threads; ++index) workers_.emplace_back([this] { serve(); });
}

WorkerPool::~WorkerPool() {
    stopping_ = true;
    ++generation_;
    generation_.notify_all();
    workers_.clear();  // joins them while the members they read still live
}

void WorkerPool::run(std::uint32_t parts, const std::function<void(std::uint32_t)>& part) {
    if (workers_.empty() || parts < 2) {
        for (std::uint32_t index = 0; index < parts; ++index) part(index);
        return;
    }
    part_ = &part;
    parts_ = parts;
    nextPart_ = 0;
    working_ = static_cast<std::uint32_t>(workers_.size());
    ++generation_;
    generation_.notify_all();
    takeParts();
    for (std::uint32_t left = working_; left != 0; left = working_) awaitChange(working_, left);
}

void WorkerPool::serve() {
    for (std::uint32_t seen = 0;;) {
        awaitChange(generation_, seen);
        seen = generation_;
        if (stopping_) return;
        takeParts();
        if (--working_ == 0) working_.notify_one();
    }
}

void WorkerPool::takeParts() {
    for (std::uint32_t index = nextPart_++; index < parts_; index = nextPart_++) (*part_)(index);
}
