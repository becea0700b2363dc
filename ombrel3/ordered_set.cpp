#include "ordered_set.h"

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

// Compacts only on append, never during erase, so a walk that erases the item it
// stands on can still ask for the next of an item it has not erased.
void OrderedSet::compactIfSparse() {
    if (items_.size() < 64 || items_.size() < 2 * pos_.size()) return;
    std::size_t w = 0;
    for (int32_t h : items_) {
        if (h == 0) continue;
        pos_[h] = w;
        items_[w++] = h;
    }
    items_.resize(w);
}

}  // namespace ombrel
