#include "MarkerList.h"

#include "ombrel.h"

namespace entities {

int32_t MarkerList::IndexOf(int32_t owner) const {
    for (std::size_t i = 0; i < entries_.size(); ++i)
        if (entries_[i].Owner == owner) return static_cast<int32_t>(i + 1);
    return -1;
}

int32_t MarkerList::MarkerOf(int32_t owner) const {
    const int32_t i = IndexOf(owner);
    return i < 0 ? 0 : entries_[static_cast<std::size_t>(i - 1)].MarkerGrp;
}

int32_t MarkerList::OwnerOf(int32_t markerGrp) const {
    for (const Entry& e : entries_)
        if (e.MarkerGrp == markerGrp) return e.Owner;
    return 0;
}

bool MarkerList::Remove(int32_t owner) {
    const int32_t i = IndexOf(owner);
    if (i < 0) return false;
    const auto at = entries_.begin() + (i - 1);
    if (at->MarkerGrp) OMBREL_group_delete_members(at->MarkerGrp);
    entries_.erase(at);
    return true;
}

void MarkerList::RemoveAll() {
    for (const Entry& e : entries_)
        if (e.MarkerGrp) OMBREL_group_delete_members(e.MarkerGrp);
    entries_.clear();
}

bool MarkerList::HideUnhide(int32_t owner, int32_t hide) {
    const int32_t i = IndexOf(owner);
    if (i < 0) return false;
    if (const int32_t marker = entries_[static_cast<std::size_t>(i - 1)].MarkerGrp) OMBREL_group_disable(marker, hide);
    return true;
}

void MarkerList::Scale(int32_t owner, double factor) const {
    if (const int32_t marker = MarkerOf(owner)) OMBREL_group_scale(marker, OMBREL_MODE_WORLD, factor, factor, factor);
}

}  // namespace entities
