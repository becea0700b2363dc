// The order of a first render after many light maps: workers prepare the
// rectangles a few ahead into a ring of buffers while the calling thread, which
// alone holds the GL context, hands each one on in order.
#pragma once

#include <cstddef>
#include <functional>

namespace ombrel {

struct UploadSteps {
    // Fills the buffer with the job's texels; on any thread, and never while
    // another step holds that buffer.
    std::function<void(std::size_t job, std::size_t buffer)> prepare;
    // Hands the job's texels in the buffer on: on the calling thread, each job
    // once and in order.
    std::function<void(std::size_t job, std::size_t buffer)> upload;
};

// The buffers the steps may be given for that many workers: a ring of two a
// worker, then the calling thread's own.
std::size_t uploadBufferCount(std::size_t workers);

// Runs jobs 0 .. jobs - 1 through the steps with up to that many workers;
// those that cannot start leave their share to the others and this thread.
void runUploads(std::size_t jobs, std::size_t workers, const UploadSteps& steps);

}  // namespace ombrel
