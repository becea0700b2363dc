// Light maps share textures: each map's texels are copied unchanged into a cell of
// an atlas page, framed by a border that repeats the map's edge texels, so that
// filtering, down to the few mipmap levels a page has, never reads a neighbour.
// This is the CPU side: where cells go and what their texels are; the renderer
// keeps one texture per page and uploads what changed.
#pragma once

#include "records.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <unordered_map>
#include <vector>

namespace ombrel {

class LightMapAtlas {
public:
    static constexpr int kLevels = 3;                        // mipmap levels 0, 1, 2
    static constexpr int kAlign = 1 << (kLevels - 1);        // cells start and end on multiples of it
    static constexpr int kBorder = kAlign;                   // repeated edge texels on each side
    static constexpr int kPageWidth = 2048, kMaxPageHeight = 2048;
    static constexpr int kLargestMap = 1024 - 2 * kBorder;  // larger maps are drawn alone

    // The map's texel (0, 0) corner in its page, in level-0 texels.
    struct Place {
        int page = 0, x = 0, y = 0;
    };

    // The image's place, given it on first request; nothing for an image too large
    // for a page (drawn alone).
    std::optional<Place> place(const std::shared_ptr<Image>& image);

    // Frees the cells of images no one else holds any more (their bitmaps are gone).
    // When much of the pages lies unused then, everything is packed again.
    void releaseUnheld();

    // Moves whenever places given out before change (packed again, or cleared):
    // what was built from them must be built again.
    uint64_t generation() const { return generation_; }
    // Forgets everything (the textures went with their context).
    void clear();

    int pageCount() const { return static_cast<int>(pages_.size()); }
    // The texture's height; it grows as shelves are added.
    int pageHeight(int page) const { return pages_[static_cast<std::size_t>(page)].height; }

    struct Rect {
        int x = 0, y = 0, width = 0, height = 0;  // level 0, on multiples of kAlign
    };
    // Whether the page's texture lacks anything.
    bool pagePending(int page) const {
        const Page& p = pages_[static_cast<std::size_t>(page)];
        return p.whole || p.unsent > 0;
    }
    // What the page's texture lacks: each shelf of it when it must be filled whole
    // (new, grown or packed again, or most of it changed), else each cell added.
    std::vector<Rect> pendingRects(int page) const;
    // Texels of a pending rectangle at every level (RGBA, rows top first, sides
    // divided by 2^level), into buffers that keep their memory between calls.
    struct Texels {
        std::vector<uint8_t> levels[kLevels];
    };
    void texels(int page, const Rect& rect, Texels& out) const;
    // The page's texture holds it as it is now.
    void uploaded(int page);

private:
    struct Cell {
        std::shared_ptr<Image> image;
        int page = 0, x = 0, y = 0, width = 0, height = 0;  // the cell, border included
        bool added = true;                                  // not uploaded yet
    };
    struct Slot {
        int page = 0, x = 0, y = 0;
    };
    struct Shelf {
        int y = 0, height = 0, used = 0;
        std::vector<const Image*> cells;
    };
    struct Page {
        int height = 0, rows = 0;  // the texture's height; the rows shelves take
        std::vector<Shelf> shelves;
        bool whole = true;
        int unsent = 0;  // cells added since the last upload
    };

    Place put(const std::shared_ptr<Image>& image);
    Slot newSlot(int width, int height);
    Shelf& shelfAt(int page, int y);
    const Shelf& shelfAt(int page, int y) const;
    void packAgain();

    std::unordered_map<const Image*, Cell> cells_;
    std::vector<Page> pages_;
    // Freed cells by their size, reused by maps of that size.
    std::unordered_map<uint64_t, std::vector<Slot>> free_;
    std::size_t liveArea_ = 0, freeArea_ = 0;
    uint64_t generation_ = 1;
};

}  // namespace ombrel
