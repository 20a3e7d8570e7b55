#pragma once

#include <cstddef>
#include <functional>

// The one way the imaging library spreads work over threads: reading the headers of a folder,
// decoding a series and writing its cache pictures.
namespace ParallelJobs {

// Runs job(i) for every i below count on up to `threads` threads, the calling thread among them,
// and returns when all are done. afterOwn() runs on the calling thread after each job it ran itself
// (for progress). A job that runs out of memory ends alone: outOfMemory(i) is called instead, on the
// thread that ran it.
void run(std::size_t count, int threads, const std::function<void(std::size_t)> &job,
         const std::function<void(std::size_t)> &outOfMemory, const std::function<void()> &afterOwn = {});

} // namespace ParallelJobs
