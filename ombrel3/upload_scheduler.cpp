#include "upload_scheduler.h"

#include "thread_start.h"

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>
#include <vector>

namespace ombrel {

std::size_t uploadBufferCount(std::size_t workers) { return 2 * workers + 1; }

// Waking a thread costs as much as preparing a rectangle on some machines: each
// side wakes only a thread that sleeps, and a worker only once half the ring is
// free, which it then fills without sleeping. This thread never depends on a
// worker being run: on a busy machine the scheduler may leave one waiting for
// many milliseconds. A rectangle no worker has taken when it is needed is
// prepared here, into a buffer of its own; one a worker is at is waited for about
// as long as a rectangle takes, then prepared here too. Each buffer of the ring
// belongs to one job at a time, from its worker taking it until it is uploaded or,
// for one prepared here meanwhile, until the late worker is done with it: a worker
// held up for long never shares its buffer, however far the rest run ahead.
void runUploads(std::size_t jobs, std::size_t workers, const UploadSteps& steps) {
    const std::size_t ring = 2 * workers, own = ring;
    enum : char { kFree, kTaken, kReady, kHere };
    std::vector<char> state(jobs, kFree);
    constexpr std::size_t kNone = ~std::size_t{0};
    std::vector<std::size_t> owner(ring, kNone);  // the job holding each buffer of the ring
    std::size_t next = 0, uploaded = 0, sleeping = 0, awaited = kNone;
    std::mutex m;
    std::condition_variable space, done;
    using Clock = std::chrono::steady_clock;
    Clock::duration slowest{};  // the longest a worker took for a rectangle
    // At most a ring ahead of the uploads, into a buffer no job holds.
    auto mayTake = [&](std::size_t i) { return i < uploaded + ring && owner[i % ring] == kNone; };
    auto work = [&] {
        std::unique_lock<std::mutex> lock(m);
        for (;;) {
            while (next < jobs && state[next] != kFree) ++next;
            if (next >= jobs) return;
            if (!mayTake(next)) {
                ++sleeping;
                space.wait(lock);
                --sleeping;
                continue;
            }
            const std::size_t i = next++;
            state[i] = kTaken;
            owner[i % ring] = i;
            lock.unlock();
            const Clock::time_point start = Clock::now();
            steps.prepare(i, i % ring);
            const Clock::duration took = Clock::now() - start;
            lock.lock();
            slowest = std::max(slowest, took);
            if (state[i] == kHere) {
                // Late: it went up from this thread's buffer, and the one held is wanted now.
                owner[i % ring] = kNone;
                if (sleeping > 0) space.notify_one();
                continue;
            }
            state[i] = kReady;
            if (awaited == i) done.notify_one();
        }
    };
    std::vector<std::thread> threads;
    for (std::size_t t = 0; t < workers; ++t)
        if (!startWorker(threads, work)) break;
    for (std::size_t i = 0; i < jobs; ++i) {
        bool here = false;
        {
            std::unique_lock<std::mutex> lock(m);
            if (state[i] == kTaken) {
                awaited = i;
                const auto patience = std::max<Clock::duration>(2 * slowest, std::chrono::microseconds(200));
                done.wait_for(lock, patience, [&] { return state[i] == kReady; });
                awaited = kNone;
            }
            here = state[i] != kReady;
            if (here) state[i] = kHere;
        }
        if (here) steps.prepare(i, own);
        steps.upload(i, here ? own : i % ring);
        std::lock_guard<std::mutex> lock(m);
        uploaded = i + 1;
        if (!here) owner[i % ring] = kNone;
        // While less than half is free, the rectangle needed next is being prepared
        // and the workers awake take what frees.
        if (sleeping > 0 && uploaded + ring - next >= workers) space.notify_one();
    }
    {
        std::lock_guard<std::mutex> lock(m);
        next = jobs;
        space.notify_all();  // those still waiting find nothing left
    }
    for (std::thread& t : threads) t.join();
}

}  // namespace ombrel
