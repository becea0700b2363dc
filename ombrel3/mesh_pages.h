// Where small meshes live in shared pages of vertices and indices, so that a run
// of them with the same pictures is one draw, each vertex finding where its mesh
// stands through the mesh's slot. Bookkeeping only: the renderer makes and fills
// the buffers.
#pragma once

#include <cstdint>
#include <unordered_map>
#include <vector>

namespace ombrel {

struct PagePlace {
    int32_t page = -1;
    uint32_t firstVertex = 0, firstIndex = 0;
    uint32_t vertices = 0, indices = 0;
    uint32_t slot = 0;  // where its placement stands in the frame's table
};

class MeshPages {
public:
    MeshPages(uint32_t pageVertices, uint32_t pageIndices);

    // Whether a mesh of that size belongs in a page: larger ones are drawn alone
    // at no loss, and would leave a page mostly empty.
    bool fits(uint32_t vertices, uint32_t indices) const;

    // A place for the holder's mesh (any earlier place of it is given up). A page
    // reused while others still lived in it sends them out: they are added to
    // evicted and have no place any more.
    PagePlace place(int32_t holder, uint32_t vertices, uint32_t indices, std::vector<int32_t>& evicted);
    // The holder's place, or none.
    const PagePlace* find(int32_t holder) const;
    void release(int32_t holder);
    void clear();

    std::size_t pageCount() const { return pages_.size(); }
    // One past the highest slot given.
    uint32_t slotCount() const { return slotCount_; }
    uint32_t pageVertices() const { return pageVertices_; }
    uint32_t pageIndices() const { return pageIndices_; }

private:
    struct Page {
        uint32_t usedVertices = 0, usedIndices = 0;  // filled from the start
        uint32_t liveVertices = 0, liveIndices = 0;  // of meshes still there
    };
    bool room(const Page& p, uint32_t vertices, uint32_t indices) const;
    void empty(int32_t page, std::vector<int32_t>& evicted);
    int32_t pageFor(uint32_t vertices, uint32_t indices, std::vector<int32_t>& evicted);

    uint32_t pageVertices_, pageIndices_;
    std::vector<Page> pages_;
    std::unordered_map<int32_t, PagePlace> places_;
    std::vector<uint32_t> freeSlots_;
    uint32_t slotCount_ = 0;
};

}  // namespace ombrel
