#include "mesh_pages.h"

namespace ombrel {

MeshPages::MeshPages(uint32_t pageVertices, uint32_t pageIndices)
    : pageVertices_(pageVertices), pageIndices_(pageIndices) {}

bool MeshPages::fits(uint32_t vertices, uint32_t indices) const {
    return vertices > 0 && indices > 0 && vertices <= pageVertices_ / 8 && indices <= pageIndices_ / 8;
}

bool MeshPages::room(const Page& p, uint32_t vertices, uint32_t indices) const {
    return pageVertices_ - p.usedVertices >= vertices && pageIndices_ - p.usedIndices >= indices;
}

const PagePlace* MeshPages::find(int32_t holder) const {
    auto it = places_.find(holder);
    return it == places_.end() ? nullptr : &it->second;
}

void MeshPages::release(int32_t holder) {
    auto it = places_.find(holder);
    if (it == places_.end()) return;
    Page& p = pages_[static_cast<std::size_t>(it->second.page)];
    p.liveVertices -= it->second.vertices;
    p.liveIndices -= it->second.indices;
    freeSlots_.push_back(it->second.slot);
    places_.erase(it);
}

void MeshPages::clear() {
    pages_.clear();
    places_.clear();
    freeSlots_.clear();
    slotCount_ = 0;
}

void MeshPages::empty(int32_t page, std::vector<int32_t>& evicted) {
    std::vector<int32_t> leaving;
    for (const auto& [holder, at] : places_)
        if (at.page == page) leaving.push_back(holder);
    for (int32_t holder : leaving) release(holder);
    evicted.insert(evicted.end(), leaving.begin(), leaving.end());
    pages_[static_cast<std::size_t>(page)] = Page{};
}

// The first page with room at its end keeps meshes built one after another
// side by side, which is what lets their draws join. Space given up is only
// taken back a page at a time: a page nobody holds, or one at least half given
// up, whose last holders are sent out (they are built again when next drawn).
// So a page is opened only when every other is 7/8 used and less than half
// given up: each then holds more than 3/8 of a page that lives.
int32_t MeshPages::pageFor(uint32_t vertices, uint32_t indices, std::vector<int32_t>& evicted) {
    for (std::size_t i = 0; i < pages_.size(); ++i)
        if (room(pages_[i], vertices, indices)) return static_cast<int32_t>(i);
    for (std::size_t i = 0; i < pages_.size(); ++i)
        if (pages_[i].liveVertices == 0 && pages_[i].liveIndices == 0) {
            pages_[i] = Page{};
            return static_cast<int32_t>(i);
        }
    for (std::size_t i = 0; i < pages_.size(); ++i) {
        const Page& p = pages_[i];
        if ((p.usedVertices - p.liveVertices) * 2 >= pageVertices_ || (p.usedIndices - p.liveIndices) * 2 >= pageIndices_) {
            empty(static_cast<int32_t>(i), evicted);
            return static_cast<int32_t>(i);
        }
    }
    pages_.emplace_back();
    return static_cast<int32_t>(pages_.size() - 1);
}

PagePlace MeshPages::place(int32_t holder, uint32_t vertices, uint32_t indices, std::vector<int32_t>& evicted) {
    release(holder);
    PagePlace at;
    at.page = pageFor(vertices, indices, evicted);
    Page& p = pages_[static_cast<std::size_t>(at.page)];
    at.firstVertex = p.usedVertices;
    at.firstIndex = p.usedIndices;
    at.vertices = vertices;
    at.indices = indices;
    p.usedVertices += vertices;
    p.usedIndices += indices;
    p.liveVertices += vertices;
    p.liveIndices += indices;
    if (!freeSlots_.empty()) {
        at.slot = freeSlots_.back();
        freeSlots_.pop_back();
    } else {
        at.slot = slotCount_++;
    }
    places_[holder] = at;
    return at;
}

}  // namespace ombrel
