#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <thread>
#include <vector>

// Threads that share the parts of one piece of work: a search step's looks
// and plays split into parts whose results land in places of their own, so
// the outcome is the same whichever thread did which part. The threads wait
// between pieces of work rather than being started anew for each.
class WorkerPool {
public:
    // threads counts the caller's own thread, which does parts too; 0 or 1 runs
    // everything on the caller's thread.
    explicit WorkerPool(std::uint32_t threads);
    WorkerPool(const WorkerPool&) = delete;
    WorkerPool& operator=(const WorkerPool&) = delete;
    ~WorkerPool();

    std::uint32_t threads() const { return static_cast<std::uint32_t>(workers_.size()) + 1; }

    // Calls part(index) once for every index below parts and returns when all
    // have returned.
    void run(std::uint32_t parts, const std::function<void(std::uint32_t)>& part);

private:
    void serve();
    void takeParts();

    std::vector<std::jthread> workers_;
    const std::function<void(std::uint32_t)>* part_ = nullptr;
    std::uint32_t parts_ = 0;
    std::atomic<std::uint32_t> nextPart_{0};
    std::atomic<std::uint32_t> working_{0};     // workers not yet done with this piece of work
    std::atomic<std::uint32_t> generation_{0};  // counts the pieces of work, woken on
    std::atomic<bool> stopping_{false};
};
