#include "group_geometry.h"

#include "api_support.h"
#include "geom.h"
#include "model.h"

#include <algorithm>
#include <cmath>

namespace ombrel {
namespace {

struct Cache {
    const World* world = nullptr;
    std::unordered_map<int32_t, GroupGeometry> groups;
};

Cache& cache() {
    static Cache c;
    return c;
}

constexpr uint32_t kLeafSize = 8;

// Builds over entries (a polygon handle and its box each), reordering an index so
// that every node's entries are one range of it.
struct Builder {
    GroupGeometry& g;
    std::vector<int32_t> handles;
    std::vector<Box3> boxes;
    std::vector<uint32_t> index;
    double widen = 0;

    int32_t node(uint32_t first, uint32_t count) {
        GroupGeometry::Node n;
        Box3 centres;
        for (uint32_t i = first; i < first + count; ++i) {
            n.box.add(boxes[index[i]]);
            centres.add(boxes[index[i]].centre());
        }
        n.box.min -= Vec3{widen, widen, widen};
        n.box.max += Vec3{widen, widen, widen};
        int32_t at = static_cast<int32_t>(g.nodes.size());
        g.nodes.push_back(n);
        if (count <= kLeafSize) {
            g.nodes[at].first = first;
            g.nodes[at].count = count;
            return at;
        }
        Vec3 extent = centres.size();
        int axis = extent.x >= extent.y && extent.x >= extent.z ? 0 : extent.y >= extent.z ? 1 : 2;
        uint32_t half = count / 2;
        auto begin = index.begin() + first;
        std::nth_element(begin, begin + half, begin + count, [&](uint32_t a, uint32_t b) {
            return boxes[a].centre()[axis] < boxes[b].centre()[axis];
        });
        int32_t left = node(first, half);
        int32_t right = node(first + half, count - half);
        g.nodes[at].left = left;
        g.nodes[at].right = right;
        return at;
    }
};

void rebuild(const Group& group, GroupGeometry& geo) {
    geo.nodes.clear();
    geo.order.clear();
    geo.box = Box3{};
    Builder b{geo, {}, {}, {}, 0};
    group.polygons.forEach([&](int32_t h) {
        const Polygon* p = lookup<Polygon>(h);
        if (!p || p->points.size() < 3) return;
        Box3 box;
        for (int32_t pt : p->points)
            if (const Point* q = lookup<Point>(pt)) box.add(q->pos);
        if (box.empty()) return;
        b.handles.push_back(h);
        b.boxes.push_back(box);
        geo.box.add(box);
    });
    // Room for the rounding of the motions the tree will follow.
    double scale = 0;
    if (!geo.box.empty())
        for (int i = 0; i < 3; ++i) scale = std::max({scale, std::fabs(geo.box.min[i]), std::fabs(geo.box.max[i])});
    b.widen = std::isfinite(scale) ? scale * 1e-9 : 0;
    const auto n = static_cast<uint32_t>(b.handles.size());
    b.index.resize(n);
    for (uint32_t i = 0; i < n; ++i) b.index[i] = i;
    if (n > 0) b.node(0, n);
    geo.order.resize(n);
    for (uint32_t i = 0; i < n; ++i) geo.order[i] = b.handles[b.index[i]];
    geo.box = geo.nodes.empty() ? Box3{} : geo.nodes[0].box;
    geo.version = group.version;
    geo.motion = group.motion;
}

bool sameAffine(const Affine& a, const Affine& b) {
    return a.t == b.t && a.m.c[0] == b.m.c[0] && a.m.c[1] == b.m.c[1] && a.m.c[2] == b.m.c[2];
}

}  // namespace

GroupGeometry& groupGeometry(const Group& group) {
    Cache& c = cache();
    const World* w = state().world.get();
    if (c.world != w) {
        // Another world: every cached group is gone.
        c.groups.clear();
        c.world = w;
    } else if (w && c.groups.size() > 2 * w->groups.size() + 64) {
        std::erase_if(c.groups, [](const auto& kv) { return lookup<Group>(kv.first) == nullptr; });
    }
    GroupGeometry& geo = c.groups[group.handle];
    if (geo.version != group.version) rebuild(group, geo);
    return geo;
}

bool builtToWorld(const Group& group, const GroupGeometry& geo, Affine& out) {
    if (sameAffine(group.motion, geo.motion)) return false;
    // world = now(built^-1(p)).
    out = inverted(geo.motion).then(group.motion);
    return true;
}

namespace {

uint64_t drawableStamps = 0;

}  // namespace

DrawableGroups::DrawableGroups() : stamp_(++drawableStamps) {}

bool DrawableGroups::enabledChain(int32_t group) {
    const Group* g = lookup<Group>(group);
    if (!g) return false;
    if (g->enabledStamp == stamp_) return g->enabledChain;
    g->enabledStamp = stamp_;
    g->enabledChain = false;  // guards against a cycle
    const bool ok = !g->disabled && (g->father == 0 || enabledChain(g->father));
    g->enabledChain = ok;
    return ok;
}

bool DrawableGroups::inRenderGroup(int32_t group) {
    const World* w = state().world.get();
    if (!w || w->renderGroup == 0) return true;
    const Group* g = lookup<Group>(group);
    if (!g) return false;
    if (g->insideStamp == stamp_) return g->inRenderGroup;
    g->insideStamp = stamp_;
    g->inRenderGroup = false;
    const bool ok = group == w->renderGroup || (g->father != 0 && inRenderGroup(g->father));
    g->inRenderGroup = ok;
    return ok;
}

bool DrawableGroups::operator()(int32_t group) { return state().world && enabledChain(group) && inRenderGroup(group); }

}  // namespace ombrel
