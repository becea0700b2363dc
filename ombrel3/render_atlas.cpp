#include "render_atlas.h"

#define GL_GLEXT_PROTOTYPES 1
#include <GL/glcorearb.h>

#include <algorithm>
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
};

// Workers prepare the rectangles' texels, a few ahead, into a ring of buffers,
// while this thread hands each one to the GL in order: a first render after many
// maps is mostly this, and holds only the ring's texels besides the pages.
void prepareAndUpload(const LightMapAtlas& atlas, const std::vector<Job>& jobs) {
    const std::size_t workers = std::min<std::size_t>(jobs.size(), std::max(1u, std::thread::hardware_concurrency()));
    const std::size_t ring = 2 * workers;
    std::vector<LightMapAtlas::Texels> buffers(ring);
    std::vector<char> ready(jobs.size(), 0);
    std::size_t next = 0, uploaded = 0;
    std::mutex m;
    std::condition_variable changed;
    auto work = [&] {
        for (;;) {
            std::size_t i = 0;
            {
                std::unique_lock<std::mutex> lock(m);
                changed.wait(lock, [&] { return next >= jobs.size() || next < uploaded + ring; });
                if (next >= jobs.size()) return;
                i = next++;
            }
            atlas.texels(jobs[i].page, jobs[i].rect, buffers[i % ring]);
            {
                std::lock_guard<std::mutex> lock(m);
                ready[i] = 1;
            }
            changed.notify_all();
        }
    };
    std::vector<std::thread> threads;
    for (std::size_t t = 0; t < workers; ++t) threads.emplace_back(work);
    for (std::size_t i = 0; i < jobs.size(); ++i) {
        {
            std::unique_lock<std::mutex> lock(m);
            changed.wait(lock, [&] { return ready[i] != 0; });
        }
        const LightMapAtlas::Rect& r = jobs[i].rect;
        const LightMapAtlas::Texels& t = buffers[i % ring];
        glBindTexture(GL_TEXTURE_2D, jobs[i].texture);
        for (int level = 0; level < LightMapAtlas::kLevels; ++level)
            glTexSubImage2D(GL_TEXTURE_2D, level, r.x >> level, r.y >> level, r.width >> level, r.height >> level,
                            GL_RGBA, GL_UNSIGNED_BYTE, t.levels[level].data());
        {
            std::lock_guard<std::mutex> lock(m);
            uploaded = i + 1;
        }
        changed.notify_all();
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
        if (page.height != atlas.pageHeight(index)) {
            // A grown page is a new texture: storage made once cannot change its size.
            if (page.name) glDeleteTextures(1, &page.name);
            glGenTextures(1, &page.name);
            page.height = atlas.pageHeight(index);
            makeTexture(page.name, page.height, storage);
        }
        for (const LightMapAtlas::Rect& r : atlas.pendingRects(index)) jobs.push_back({page.name, index, r});
    }
    if (jobs.empty()) return;
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
    prepareAndUpload(atlas, jobs);
    for (int index : pending) atlas.uploaded(index);
}

float AtlasTextures::scaleX(int) const { return 1.0f / LightMapAtlas::kPageWidth; }

float AtlasTextures::scaleY(int page) const {
    return 1.0f / static_cast<float>(std::max(1, pages_[static_cast<std::size_t>(page)].height));
}

}  // namespace ombrel
