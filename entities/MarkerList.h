// What the camera and light registries share: entries pairing an engine object
// with its marker group, in the order of registration. Duplicates are allowed and
// every lookup finds the first; an unknown object is answered with 0, -1 or
// false and no engine call.
#pragma once

#include <cstdint>
#include <vector>

namespace entities {

class MarkerList {
public:
    struct Entry {
        int32_t MarkerGrp = 0;
        int32_t Owner = 0;  // the camera or light
    };

    // 1-based position of the owner's first entry, or -1.
    int32_t IndexOf(int32_t owner) const;
    // The owner's first marker, or 0.
    int32_t MarkerOf(int32_t owner) const;
    // The owner whose marker is the group, or 0.
    int32_t OwnerOf(int32_t markerGrp) const;
    int32_t Count() const { return static_cast<int32_t>(entries_.size()); }

    void Append(int32_t owner, int32_t markerGrp) { entries_.push_back({markerGrp, owner}); }
    // Deletes the first entry's marker and the entry; false when there is none.
    bool Remove(int32_t owner);
    // Deletes every marker, in order.
    void RemoveAll();
    // Disables (1) or enables (0) the first entry's marker; false when there is none.
    bool HideUnhide(int32_t owner, int32_t hide);
    // Scales the owner's marker about its own location; nothing for an unknown owner.
    void Scale(int32_t owner, double factor) const;
    // Entry i (1-based, as IndexOf gives it) takes a new marker.
    void SetMarker(int32_t index, int32_t markerGrp) {
        entries_.at(static_cast<std::size_t>(index - 1)).MarkerGrp = markerGrp;
    }

private:
    std::vector<Entry> entries_;
};

}  // namespace entities
