#include "imaging/ParallelJobs.h"

#include <atomic>
#include <new>
#include <thread>
#include <vector>

namespace ParallelJobs {

void run(std::size_t count, int threads, const std::function<void(std::size_t)> &job,
         const std::function<void(std::size_t)> &outOfMemory, const std::function<void()> &afterOwn) {
    std::atomic<std::size_t> next{0};
    auto runOne = [&](std::size_t i) {
        try {
            job(i);
        } catch (const std::bad_alloc &) {
            outOfMemory(i);
        }
    };
    std::vector<std::thread> workers;
    for (int t = 1; t < threads && std::size_t(t) < count; ++t) {
        workers.emplace_back([&] {
            for (std::size_t i = next++; i < count; i = next++) {
                runOne(i);
            }
        });
    }
    for (std::size_t i = next++; i < count; i = next++) {
        runOne(i);
        if (afterOwn) {
            afterOwn();
        }
    }
    for (std::thread &worker : workers) {
        worker.join();
    }
}

} // namespace ParallelJobs
