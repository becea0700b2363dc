#include "render_atlas.h"

#define GL_GLEXT_PROTOTYPES 1
#include <GL/glcorearb.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

namespace ombrel {
namespace {

void makeTexture(GLuint name, int height, bool storage) {
    glBindTexture(GL_TEXTURE_2D, name);
    if (storage) {
        glTexStorage2D(GL_TEXTURE_2D, LightMapAtlas::kLevels, GL_RGBA8, LightMapAtlas::kPageWidth, height);
    } else {
        for (int level = 0; level < LightMapAtlas::kLevels; ++level)
            glTexImage2D(GL_TEXTURE_2D, level, GL_RGBA8, LightMapAtlas::kPageWidth >> level, height >> level, 0,
                         GL_RGBA, GL_UNSIGNED_BYTE, nullptr);
    }
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_BASE_LEVEL, 0);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAX_LEVEL, LightMapAtlas::kLevels - 1);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR_MIPMAP_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
}

struct Job {
    GLuint texture;
    int page;
    LightMapAtlas::Rect rect;
    int newHeight;  // the texture is made this tall before the rectangle goes in (0: it exists)
};

// Workers prepare the rectangles' texels, a few ahead, into a ring of buffers,
// while this thread makes the textures and hands each rectangle to the GL in
// order: a first render after many maps is mostly this, and holds only the ring's
// texels besides the pages. Waking a thread costs as much as preparing a
// rectangle on some machines: each side wakes only a thread that sleeps, and a
// worker only once half the ring is free, which it then fills without sleeping.
// This thread never depends on a worker being run: on a busy machine the
// scheduler may leave one waiting for many milliseconds. A rectangle no worker
// has taken when it is needed is prepared here, into a buffer of its own; one a
// worker is at is waited for about as long as a rectangle takes, then prepared
// here too (the worker finishes for nothing, its slot of the ring its own until then).
void prepareAndUpload(const LightMapAtlas& atlas, const std::vector<Job>& jobs, bool storage) {
    // This thread keeps a core to itself.
    const unsigned cores = std::max(2u, std::thread::hardware_concurrency());
    const std::size_t workers = std::min<std::size_t>(jobs.size(), cores - 1);
    const std::size_t ring = 2 * workers;
    std::vector<LightMapAtlas::Texels> buffers(ring);
    LightMapAtlas::Texels own;
    enum : char { kFree, kTaken, kReady, kHere };
    std::vector<char> state(jobs.size(), kFree);
    constexpr std::size_t kNone = ~std::size_t{0};
    std::size_t next = 0, uploaded = 0, sleeping = 0, awaited = kNone;
    std::mutex m;
    std::condition_variable space, done;
    using Clock = std::chrono::steady_clock;
    Clock::duration slowest{};  // the longest a worker took for a rectangle
    // Job i may go into its slot of the ring once the job before it there is done
    // with the slot: uploaded, and not still being prepared by a late worker.
    auto slotFree = [&](std::size_t i) { return i < ring || (uploaded > i - ring && state[i - ring] != kTaken); };
    auto work = [&] {
        std::unique_lock<std::mutex> lock(m);
        for (;;) {
            while (next < jobs.size() && state[next] != kFree) ++next;
            if (next >= jobs.size()) return;
            if (!slotFree(next)) {
                ++sleeping;
                space.wait(lock);
                --sleeping;
                continue;
            }
            const std::size_t i = next++;
            state[i] = kTaken;
            lock.unlock();
            const Clock::time_point start = Clock::now();
            atlas.texels(jobs[i].page, jobs[i].rect, buffers[i % ring]);
            const Clock::duration took = Clock::now() - start;
            lock.lock();
            state[i] = kReady;
            slowest = std::max(slowest, took);
            if (awaited == i) done.notify_one();
            // Late: the slot it held is wanted now.
            if (i < uploaded && sleeping > 0) space.notify_one();
        }
    };
    std::vector<std::thread> threads;
    for (std::size_t t = 0; t < workers; ++t) threads.emplace_back(work);
    for (std::size_t i = 0; i < jobs.size(); ++i) {
        if (jobs[i].newHeight > 0) makeTexture(jobs[i].texture, jobs[i].newHeight, storage);
        bool here = false;
        {
            std::unique_lock<std::mutex> lock(m);
            if (state[i] == kFree) {
                state[i] = kHere;
                here = true;
            } else if (state[i] == kTaken) {
                awaited = i;
                const auto patience = std::max<Clock::duration>(2 * slowest, std::chrono::microseconds(200));
                here = !done.wait_for(lock, patience, [&] { return state[i] == kReady; });
                awaited = kNone;
            }
        }
        if (here) atlas.texels(jobs[i].page, jobs[i].rect, own);
        const LightMapAtlas::Rect& r = jobs[i].rect;
        const LightMapAtlas::Texels& t = here ? own : buffers[i % ring];
        glBindTexture(GL_TEXTURE_2D, jobs[i].texture);
        for (int level = 0; level < LightMapAtlas::kLevels; ++level)
            glTexSubImage2D(GL_TEXTURE_2D, level, r.x >> level, r.y >> level, r.width >> level, r.height >> level,
                            GL_RGBA, GL_UNSIGNED_BYTE, t.levels[level].data());
        std::lock_guard<std::mutex> lock(m);
        uploaded = i + 1;
        // While less than half is free, the rectangle needed next is being prepared
        // and the workers awake take what frees.
        if (sleeping > 0 && uploaded + ring - next >= workers) space.notify_one();
    }
    {
        std::lock_guard<std::mutex> lock(m);
        next = jobs.size();
        space.notify_all();  // those still waiting find nothing left
    }
    for (std::thread& t : threads) t.join();
}

}  // namespace

void AtlasTextures::update(LightMapAtlas& atlas, bool storage) {
    const auto count = static_cast<std::size_t>(atlas.pageCount());
    for (std::size_t p = count; p < pages_.size(); ++p) glDeleteTextures(1, &pages_[p].name);
    pages_.resize(count);
    std::vector<Job> jobs;
    std::vector<int> pending;
    for (std::size_t p = 0; p < count; ++p) {
        const int index = static_cast<int>(p);
        if (!atlas.pagePending(index)) continue;
        pending.push_back(index);
        Page& page = pages_[p];
        int newHeight = 0;
        if (page.height != atlas.pageHeight(index)) {
            // A grown page is a new texture: storage made once cannot change its size.
            if (page.name) glDeleteTextures(1, &page.name);
            glGenTextures(1, &page.name);
            page.height = newHeight = atlas.pageHeight(index);
        }
        for (const LightMapAtlas::Rect& r : atlas.pendingRects(index)) {
            jobs.push_back({page.name, index, r, newHeight});
            newHeight = 0;
        }
        if (newHeight > 0) makeTexture(page.name, newHeight, storage);
    }
    if (!jobs.empty()) {
        glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
        glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
        prepareAndUpload(atlas, jobs, storage);
    }
    for (int index : pending) atlas.uploaded(index);
}

float AtlasTextures::scaleX(int) const { return 1.0f / LightMapAtlas::kPageWidth; }

float AtlasTextures::scaleY(int page) const {
    return 1.0f / static_cast<float>(std::max(1, pages_[static_cast<std::size_t>(page)].height));
}

}  // namespace ombrel
