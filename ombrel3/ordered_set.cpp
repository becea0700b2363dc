#include "ordered_set.h"

#include <algorithm>

namespace ombrel {

void OrderedSet::append(int32_t h) {
    if (h == 0 || contains(h)) return;
    compactIfSparse();
    pos_.emplace(h, items_.size());
    items_.push_back(h);
}

bool OrderedSet::erase(int32_t h) {
    auto it = pos_.find(h);
    if (it == pos_.end()) return false;
    items_[it->second] = 0;
    pos_.erase(it);
    if (pos_.empty()) items_.clear();
    return true;
}

int32_t OrderedSet::first() const {
    for (int32_t h : items_)
        if (h != 0) return h;
    return 0;
}

int32_t OrderedSet::last() const {
    for (auto it = items_.rbegin(); it != items_.rend(); ++it)
        if (*it != 0) return *it;
    return 0;
}

int32_t OrderedSet::next(int32_t h) const {
    auto it = pos_.find(h);
    if (it == pos_.end()) return 0;
    for (std::size_t i = it->second + 1; i < items_.size(); ++i)
        if (items_[i] != 0) return items_[i];
    return 0;
}

void OrderedSet::clear() {
    items_.clear();
    pos_.clear();
}

std::vector<int32_t> OrderedSet::toVector() const {
    std::vector<int32_t> out;
    out.reserve(pos_.size());
    forEach([&](int32_t h) { out.push_back(h); });
    return out;
}

int64_t OrderedSet::indexOf(int32_t h) const {
    auto it = pos_.find(h);
    if (it == pos_.end()) return -1;
    if (items_.size() == pos_.size()) return static_cast<int64_t>(it->second);
    int64_t n = 0;
    for (std::size_t i = 0; i < it->second; ++i)
        if (items_[i] != 0) ++n;
    return n;
}

bool OrderedSet::moveTo(int32_t h, std::size_t index) {
    if (!contains(h) || index >= pos_.size()) return false;
    compact();
    const std::size_t from = pos_[h];
    if (from < index)
        std::rotate(items_.begin() + from, items_.begin() + from + 1, items_.begin() + index + 1);
    else
        std::rotate(items_.begin() + index, items_.begin() + from, items_.begin() + from + 1);
    for (std::size_t i = std::min(from, index); i <= std::max(from, index); ++i) pos_[items_[i]] = i;
    return true;
}

// Compacts only on append and move, never during erase, so a walk that erases the
// item it stands on can still ask for the next of an item it has not erased.
void OrderedSet::compactIfSparse() {
    if (items_.size() < 64 || items_.size() < 2 * pos_.size()) return;
    compact();
}

void OrderedSet::compact() {
    if (items_.size() == pos_.size()) return;
    std::size_t w = 0;
    for (int32_t h : items_) {
        if (h == 0) continue;
        pos_[h] = w;
        items_[w++] = h;
    }
    items_.resize(w);
}

}  // namespace ombrel
