// Positions, planes and boxes of each group's own polygons, cached until the group's
// geometry version changes. Shared by picking and rendering, which must agree on
// what is drawable.
#pragma once

#include "records.h"
#include "vec.h"

#include <cstdint>
#include <unordered_map>
#include <vector>

namespace ombrel {

struct PolygonGeometry {
    int32_t handle = 0;
    Vec3 normal;  // towards the visible side
    double d = 0;
    bool valid = false;  // >= 3 points with area
    uint32_t first = 0, count = 0;  // range in GroupGeometry::positions
    Box3 box;
};

struct GroupGeometry {
    uint64_t version = ~uint64_t{0};
    std::size_t polygonCount = 0;
    std::vector<PolygonGeometry> polygons;  // own polygons, in group order
    std::vector<Vec3> positions;
    Box3 box;  // of the valid polygons

    // Bounding-volume hierarchy over `polygons`, built on first use by picking.
    struct Node {
        Box3 box;
        int32_t left = -1, right = -1;  // children; -1 for a leaf
        uint32_t first = 0, count = 0;  // leaf range in `order`
    };
    std::vector<Node> nodes;
    std::vector<uint32_t> order;
    void buildHierarchy();
};

// The group's cached geometry, refreshed when its version or polygon count changed.
GroupGeometry& groupGeometry(const Group& group);

// Answers, for one frame or one pick, whether a group's polygons may be drawn: no
// disabled group on its father chain and inside the render group, if one is set.
class DrawableGroups {
public:
    bool operator()(int32_t group);

private:
    bool enabledChain(int32_t group);
    bool inRenderGroup(int32_t group);

    std::unordered_map<int32_t, bool> enabled_, inside_;
};

// A polygon of a drawable group is drawn when this holds (the facing test aside).
inline bool polygonShown(const Polygon& p, const PolygonGeometry& g) {
    return g.valid && p.added && p.enabled && p.points.size() >= 3;
}

}  // namespace ombrel
