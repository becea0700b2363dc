// A list of handles in insertion order with O(1) append, erase, membership and
// next. Erased entries leave a hole that a later compaction removes, so erasing
// during a walk keeps the remaining items reachable.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <unordered_map>
#include <vector>

namespace ombrel {

class OrderedSet {
public:
    // Appends h; an h already present stays where it is.
    void append(int32_t h);
    bool erase(int32_t h);
    bool contains(int32_t h) const { return pos_.count(h) != 0; }
    int32_t first() const;
    int32_t last() const;
    // The item after h; 0 at the end or when h is not in the list.
    int32_t next(int32_t h) const;
    std::size_t size() const { return pos_.size(); }
    bool empty() const { return pos_.empty(); }
    void clear();
    std::vector<int32_t> toVector() const;
    // The place of h among the items (from 0), or -1 when h is not in the list.
    int64_t indexOf(int32_t h) const;
    // Moves h to the place index among the items, the others keeping their order;
    // false (and no change) when h is not in the list or index is not below size().
    bool moveTo(int32_t h, std::size_t index);

    template <class F>
    void forEach(F&& f) const {
        for (int32_t h : items_)
            if (h != 0) f(h);
    }

private:
    void compactIfSparse();
    void compact();

    std::vector<int32_t> items_;  // 0 marks an erased entry
    std::unordered_map<int32_t, std::size_t> pos_;
};

// The same list for polygons, without a map: each polygon keeps its own position in
// the list it is in (Slot::of gives the field, nullptr for a handle that is no live
// polygon). A polygon is in at most one list of each slot kind.
template <class Slot>
class IndexedList {
public:
    void append(int32_t h) {
        if (h == 0 || contains(h)) return;
        uint32_t* at = Slot::of(h);
        if (!at) return;
        compactIfSparse();
        *at = static_cast<uint32_t>(items_.size());
        items_.push_back(h);
        ++live_;
    }
    bool erase(int32_t h) {
        if (!contains(h)) return false;
        items_[*Slot::of(h)] = 0;
        if (--live_ == 0) items_.clear();
        return true;
    }
    bool contains(int32_t h) const {
        if (h == 0) return false;
        const uint32_t* at = Slot::of(h);
        return at && *at < items_.size() && items_[*at] == h;
    }
    int32_t first() const {
        for (int32_t h : items_)
            if (h != 0) return h;
        return 0;
    }
    int32_t last() const {
        for (auto it = items_.rbegin(); it != items_.rend(); ++it)
            if (*it != 0) return *it;
        return 0;
    }
    int32_t next(int32_t h) const {
        if (!contains(h)) return 0;
        for (std::size_t i = *Slot::of(h) + 1; i < items_.size(); ++i)
            if (items_[i] != 0) return items_[i];
        return 0;
    }
    std::size_t size() const { return live_; }
    bool empty() const { return live_ == 0; }
    void clear() {
        items_.clear();
        live_ = 0;
    }
    void reserve(std::size_t n) { items_.reserve(n); }
    // As OrderedSet::indexOf and moveTo.
    int64_t indexOf(int32_t h) const {
        if (!contains(h)) return -1;
        const std::size_t at = *Slot::of(h);
        if (items_.size() == live_) return static_cast<int64_t>(at);
        int64_t n = 0;
        for (std::size_t i = 0; i < at; ++i)
            if (items_[i] != 0) ++n;
        return n;
    }
    bool moveTo(int32_t h, std::size_t index) {
        if (!contains(h) || index >= live_) return false;
        compact();
        const std::size_t from = *Slot::of(h);
        if (from < index)
            std::rotate(items_.begin() + from, items_.begin() + from + 1, items_.begin() + index + 1);
        else
            std::rotate(items_.begin() + index, items_.begin() + from, items_.begin() + from + 1);
        for (std::size_t i = std::min(from, index); i <= std::max(from, index); ++i)
            *Slot::of(items_[i]) = static_cast<uint32_t>(i);
        return true;
    }
    std::vector<int32_t> toVector() const {
        std::vector<int32_t> out;
        out.reserve(live_);
        forEach([&](int32_t h) { out.push_back(h); });
        return out;
    }
    template <class F>
    void forEach(F&& f) const {
        for (int32_t h : items_)
            if (h != 0) f(h);
    }

private:
    // As OrderedSet: only on append and move, so erasing during a walk is safe.
    void compactIfSparse() {
        if (items_.size() < 64 || items_.size() < 2 * live_) return;
        compact();
    }
    void compact() {
        if (items_.size() == live_) return;
        std::size_t w = 0;
        for (int32_t h : items_) {
            if (h == 0) continue;
            *Slot::of(h) = static_cast<uint32_t>(w);
            items_[w++] = h;
        }
        items_.resize(w);
    }

    std::vector<int32_t> items_;  // 0 marks an erased entry
    std::size_t live_ = 0;
};

// Where a polygon keeps its positions in its group's list and in the world list.
struct GroupPolygonSlot {
    static uint32_t* of(int32_t polygon);
};
struct WorldPolygonSlot {
    static uint32_t* of(int32_t polygon);
};

}  // namespace ombrel
