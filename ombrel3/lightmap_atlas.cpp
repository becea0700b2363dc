#include "lightmap_atlas.h"

#include <algorithm>
#include <cstring>

namespace ombrel {
namespace {

int roundUp(int v, int step) { return (v + step - 1) / step * step; }

uint64_t sizeKey(int width, int height) { return uint64_t(uint32_t(width)) << 32 | uint32_t(height); }

// A shelf takes cells up to a quarter lower than itself.
bool fitsShelf(int shelfHeight, int cellHeight) {
    return cellHeight <= shelfHeight && shelfHeight <= cellHeight + cellHeight / 4 + LightMapAtlas::kAlign;
}

// Pages grow in steps of this many rows: a texture made again now and then, not
// for every shelf.
constexpr int kGrowth = 256;

// Writes the cell's texels (the map, its edge texels repeated over the border) into
// out, whose rows are outWidth texels long, with the cell's corner at (ox, oy).
void writeCell(const Image& map, int cellWidth, int cellHeight, uint8_t* out, int outWidth, int ox, int oy) {
    constexpr int b = LightMapAtlas::kBorder;
    const int w = map.width, h = map.height;
    for (int r = 0; r < cellHeight; ++r) {
        const uint8_t* src = map.rgba.data() + std::size_t(std::clamp(r - b, 0, h - 1)) * w * 4;
        uint8_t* dst = out + (std::size_t(oy + r) * outWidth + ox) * 4;
        for (int c = 0; c < b; ++c) std::memcpy(dst + c * 4, src, 4);
        std::memcpy(dst + b * 4, src, std::size_t(w) * 4);
        for (int c = b + w; c < cellWidth; ++c) std::memcpy(dst + c * 4, src + std::size_t(w - 1) * 4, 4);
    }
}

// The next level: each texel the rounded mean of the 2 x 2 below it. Cells start
// and end on multiples of kAlign, so no mean of a level used mixes two cells.
void halve(const std::vector<uint8_t>& in, int width, int height, std::vector<uint8_t>& out) {
    const int w = width / 2, h = height / 2;
    out.resize(std::size_t(w) * h * 4);
    for (int y = 0; y < h; ++y) {
        const uint8_t* a = in.data() + std::size_t(2 * y) * width * 4;
        const uint8_t* b = a + std::size_t(width) * 4;
        uint8_t* o = out.data() + std::size_t(y) * w * 4;
        for (int x = 0; x < w; ++x, a += 8, b += 8, o += 4)
            for (int c = 0; c < 4; ++c) o[c] = static_cast<uint8_t>((a[c] + a[c + 4] + b[c] + b[c + 4] + 2) >> 2);
    }
}

}  // namespace

std::optional<LightMapAtlas::Place> LightMapAtlas::place(const std::shared_ptr<Image>& image) {
    if (!image || image->width <= 0 || image->height <= 0 ||
        image->rgba.size() != std::size_t(image->width) * image->height * 4)
        return std::nullopt;
    if (auto it = cells_.find(image.get()); it != cells_.end())
        return Place{it->second.page, it->second.x + kBorder, it->second.y + kBorder};
    if (image->width > kLargestMap || image->height > kLargestMap) return std::nullopt;
    return put(image);
}

LightMapAtlas::Place LightMapAtlas::put(const std::shared_ptr<Image>& image) {
    Cell cell;
    cell.image = image;
    cell.width = roundUp(image->width, kAlign) + 2 * kBorder;
    cell.height = roundUp(image->height, kAlign) + 2 * kBorder;
    const std::size_t area = std::size_t(cell.width) * cell.height;
    Slot slot;
    auto freed = free_.find(sizeKey(cell.width, cell.height));
    if (freed != free_.end() && !freed->second.empty()) {
        slot = freed->second.back();
        freed->second.pop_back();
        freeArea_ -= area;
    } else {
        slot = newSlot(cell.width, cell.height);
    }
    cell.page = slot.page, cell.x = slot.x, cell.y = slot.y;
    shelfAt(cell.page, cell.y).cells.push_back(image.get());
    ++pages_[static_cast<std::size_t>(cell.page)].unsent;
    liveArea_ += area;
    const Place place{cell.page, cell.x + kBorder, cell.y + kBorder};
    cells_.emplace(image.get(), std::move(cell));
    return place;
}

LightMapAtlas::Slot LightMapAtlas::newSlot(int width, int height) {
    for (std::size_t p = 0;; ++p) {
        if (p == pages_.size()) pages_.emplace_back();
        Page& page = pages_[p];
        const int index = static_cast<int>(p);
        for (Shelf& s : page.shelves)
            if (fitsShelf(s.height, height) && s.used + width <= kPageWidth) {
                s.used += width;
                return {index, s.used - width, s.y};
            }
        if (page.rows + height > kMaxPageHeight) continue;
        page.shelves.push_back({page.rows, height, width, {}});
        page.rows += height;
        if (page.rows > page.height) {
            // The texture is made again and filled whole.
            page.height = std::min(kMaxPageHeight, roundUp(page.rows, kGrowth));
            page.whole = true;
        }
        return {index, 0, page.rows - height};
    }
}

LightMapAtlas::Shelf& LightMapAtlas::shelfAt(int page, int y) {
    return const_cast<Shelf&>(static_cast<const LightMapAtlas&>(*this).shelfAt(page, y));
}

const LightMapAtlas::Shelf& LightMapAtlas::shelfAt(int page, int y) const {
    const std::vector<Shelf>& shelves = pages_[static_cast<std::size_t>(page)].shelves;
    // Shelves lie in the order of their rows.
    auto it = std::upper_bound(shelves.begin(), shelves.end(), y, [](int at, const Shelf& s) { return at < s.y; });
    return *std::prev(it);
}

void LightMapAtlas::releaseUnheld() {
    for (auto it = cells_.begin(); it != cells_.end();) {
        const Cell& c = it->second;
        if (c.image.use_count() > 1) {
            ++it;
            continue;
        }
        const std::size_t area = std::size_t(c.width) * c.height;
        free_[sizeKey(c.width, c.height)].push_back({c.page, c.x, c.y});
        std::erase(shelfAt(c.page, c.y).cells, it->first);
        liveArea_ -= area;
        freeArea_ += area;
        it = cells_.erase(it);
    }
    // Maps recomputed at other sizes leave holes no new map fills.
    if (freeArea_ > liveArea_ + std::size_t(kPageWidth) * 512) packAgain();
}

void LightMapAtlas::packAgain() {
    std::vector<std::shared_ptr<Image>> images;
    images.reserve(cells_.size());
    for (auto& [key, cell] : cells_) images.push_back(std::move(cell.image));
    // Tallest first: the shelves fill with cells of one height.
    std::sort(images.begin(), images.end(), [](const auto& a, const auto& b) {
        return a->height != b->height ? a->height > b->height : a->width > b->width;
    });
    clear();
    for (const auto& image : images) put(image);
}

void LightMapAtlas::clear() {
    cells_.clear();
    pages_.clear();
    free_.clear();
    liveArea_ = freeArea_ = 0;
    ++generation_;
}

std::vector<LightMapAtlas::Rect> LightMapAtlas::pendingRects(int page) const {
    const Page& pg = pages_[static_cast<std::size_t>(page)];
    std::size_t addedArea = 0, usedArea = 0;
    std::vector<Rect> added;
    for (const Shelf& s : pg.shelves) {
        usedArea += std::size_t(s.used) * s.height;
        for (const Image* key : s.cells) {
            const Cell& c = cells_.at(key);
            if (!c.added) continue;
            addedArea += std::size_t(c.width) * c.height;
            added.push_back({c.x, c.y, c.width, c.height});
        }
    }
    if (!pg.whole && addedArea * 4 <= usedArea) return added;
    std::vector<Rect> shelves;
    for (const Shelf& s : pg.shelves)
        if (s.used > 0) shelves.push_back({0, s.y, s.used, s.height});
    return shelves;
}

void LightMapAtlas::texels(int page, const Rect& rect, Texels& out) const {
    out.levels[0].resize(std::size_t(rect.width) * rect.height * 4);
    // A pending rectangle is a shelf, or a cell within one.
    for (const Image* key : shelfAt(page, rect.y).cells) {
        const Cell& c = cells_.at(key);
        if (c.x < rect.x || c.x + c.width > rect.x + rect.width) continue;
        writeCell(*c.image, c.width, c.height, out.levels[0].data(), rect.width, c.x - rect.x, c.y - rect.y);
    }
    for (int level = 1; level < kLevels; ++level)
        halve(out.levels[level - 1], rect.width >> (level - 1), rect.height >> (level - 1), out.levels[level]);
}

void LightMapAtlas::uploaded(int page) {
    Page& pg = pages_[static_cast<std::size_t>(page)];
    pg.whole = false;
    pg.unsent = 0;
    for (const Shelf& s : pg.shelves)
        for (const Image* key : s.cells) cells_.at(key).added = false;
}

}  // namespace ombrel
