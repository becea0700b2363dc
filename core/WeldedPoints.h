// One set of coincident points of the edited group, moved together as one vertex.
#pragma once

#include <cstdint>
#include <utility>
#include <vector>

class WeldedPoints {
public:
    WeldedPoints() = default;
    explicit WeldedPoints(std::vector<int32_t> pts) : pts_(std::move(pts)) {}

    int32_t NumOfPts() const { return static_cast<int32_t>(pts_.size()); }
    // The i-th point, i from 1; a position outside 1..NumOfPts raises an error.
    int32_t Point(int32_t i) const;
    void AddPt(int32_t handle) { pts_.push_back(handle); }
    // Drops every occurrence of the handle; an absent one changes nothing.
    bool RemovePt(int32_t handle);

private:
    std::vector<int32_t> pts_;
};
