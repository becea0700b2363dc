#include "render_atlas.h"

#include "upload_scheduler.h"

#define GL_GLEXT_PROTOTYPES 1
#include <GL/glcorearb.h>

#include <algorithm>
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

// Workers prepare the rectangles' texels into a ring of buffers while this
// thread makes the textures and hands each rectangle to the GL in order: a first
// render after many maps is mostly this, and holds only the ring's texels
// besides the pages.
void prepareAndUpload(const LightMapAtlas& atlas, const std::vector<Job>& jobs, bool storage) {
    // This thread keeps a core to itself.
    const unsigned cores = std::max(2u, std::thread::hardware_concurrency());
    const std::size_t workers = std::min<std::size_t>(jobs.size(), cores - 1);
    std::vector<LightMapAtlas::Texels> buffers(uploadBufferCount(workers));
    UploadSteps steps;
    steps.prepare = [&](std::size_t i, std::size_t buffer) { atlas.texels(jobs[i].page, jobs[i].rect, buffers[buffer]); };
    steps.upload = [&](std::size_t i, std::size_t buffer) {
        const Job& job = jobs[i];
        if (job.newHeight > 0) makeTexture(job.texture, job.newHeight, storage);
        const LightMapAtlas::Rect& r = job.rect;
        const LightMapAtlas::Texels& t = buffers[buffer];
        glBindTexture(GL_TEXTURE_2D, job.texture);
        for (int level = 0; level < LightMapAtlas::kLevels; ++level)
            glTexSubImage2D(GL_TEXTURE_2D, level, r.x >> level, r.y >> level, r.width >> level, r.height >> level,
                            GL_RGBA, GL_UNSIGNED_BYTE, t.levels[level].data());
    };
    runUploads(jobs.size(), workers, steps);
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
