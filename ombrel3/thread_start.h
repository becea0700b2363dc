// Starting a thread can fail (EAGAIN under a thread or memory limit). A pool
// then works with the threads it has, the calling one at least, instead of
// letting std::thread's exception end the program.
#pragma once

#include <cstddef>
#include <system_error>
#include <thread>
#include <utility>
#include <vector>

namespace ombrel {

// True when the start of the worker at this place in its pool is to be refused
// as the system would refuse it. OMBREL_WORKER_STARTS=n lets each pool start
// only n workers, so tests can reach the paths of a refused start.
bool workerStartRefused(std::size_t index);

// Appends a thread running f to workers; false, with workers unchanged, when
// the thread cannot be started.
template <class F>
bool startWorker(std::vector<std::thread>& workers, F&& f) {
    if (workerStartRefused(workers.size())) return false;
    try {
        workers.emplace_back(std::forward<F>(f));
        return true;
    } catch (const std::system_error&) {
        return false;
    }
}

}  // namespace ombrel
