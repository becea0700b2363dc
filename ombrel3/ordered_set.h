// A list of handles in insertion order with O(1) append, erase, membership and
// next. Erased entries leave a hole that a later compaction removes, so erasing
// during a walk keeps the remaining items reachable.
#pragma once

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

    template <class F>
    void forEach(F&& f) const {
        for (int32_t h : items_)
            if (h != 0) f(h);
    }

private:
    void compactIfSparse();

    std::vector<int32_t> items_;  // 0 marks an erased entry
    std::unordered_map<int32_t, std::size_t> pos_;
};

}  // namespace ombrel
