// The pick tree of each group's own polygons, built when first needed after the
// group's shape changed. It stays in the coordinates it was built in and follows
// the group's rigid motions, so moving a group costs it nothing.
#pragma once

#include "records.h"
#include "vec.h"

#include <cstdint>
#include <vector>

namespace ombrel {

struct GroupGeometry {
    uint64_t version = ~uint64_t{0};  // Group::version it was built from
    Affine motion;                    // the group's motion then
    Box3 box;                         // of every polygon of three points or more, widened a little

    // Bounding-volume hierarchy over the polygons (handles in `order`).
    struct Node {
        Box3 box;
        int32_t left = -1, right = -1;  // children; -1 for a leaf
        uint32_t first = 0, count = 0;  // leaf range in `order`
    };
    std::vector<Node> nodes;
    std::vector<int32_t> order;
};

// The group's tree, rebuilt when its version changed.
GroupGeometry& groupGeometry(const Group& group);

// The motion from the coordinates the tree was built in to where the group is now;
// false when that is the identity.
bool builtToWorld(const Group& group, const GroupGeometry& geometry, Affine& out);

// Answers, for one frame or one pick, whether a group's polygons may be drawn: no
// disabled group on its father chain and inside the render group, if one is set.
// What it found is kept in each group under this object's stamp, so that ten
// thousand groups cost no allocation a frame. Asked on the engine's own thread.
class DrawableGroups {
public:
    DrawableGroups();
    bool operator()(int32_t group);

private:
    bool enabledChain(int32_t group);
    bool inRenderGroup(int32_t group);

    uint64_t stamp_;
};

// Whether the polygon itself is drawn and picked (its group aside): added,
// enabled and of three points or more; its plane is the caller's test.
inline bool polygonShown(const Polygon& p) { return p.added && p.enabled && p.points.size() >= 3; }

}  // namespace ombrel
