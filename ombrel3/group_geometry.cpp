#include "group_geometry.h"

#include "api_support.h"
#include "model.h"

#include <algorithm>

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

void refresh(const Group& group, GroupGeometry& geo) {
    geo.polygons.clear();
    geo.positions.clear();
    geo.nodes.clear();
    geo.order.clear();
    geo.box = Box3{};
    group.polygons.forEach([&](int32_t h) {
        const Polygon* p = lookup<Polygon>(h);
        if (!p) return;
        PolygonGeometry pg;
        pg.handle = h;
        pg.first = static_cast<uint32_t>(geo.positions.size());
        for (int32_t pt : p->points)
            if (const Point* q = lookup<Point>(pt)) {
                geo.positions.push_back(q->pos);
                pg.box.add(q->pos);
            }
        pg.count = static_cast<uint32_t>(geo.positions.size()) - pg.first;
        pg.valid = pg.count >= 3 && polygonPlane(*p, pg.normal, pg.d);
        if (pg.valid) geo.box.add(pg.box);
        geo.polygons.push_back(pg);
    });
    geo.polygonCount = group.polygons.size();
    geo.version = group.version;
}

constexpr uint32_t kLeafSize = 8;

int32_t buildNode(GroupGeometry& g, uint32_t first, uint32_t count) {
    GroupGeometry::Node node;
    Box3 centres;
    for (uint32_t i = first; i < first + count; ++i) {
        const Box3& b = g.polygons[g.order[i]].box;
        node.box.add(b);
        centres.add(b.centre());
    }
    int32_t index = static_cast<int32_t>(g.nodes.size());
    g.nodes.push_back(node);
    if (count <= kLeafSize) {
        g.nodes[index].first = first;
        g.nodes[index].count = count;
        return index;
    }
    Vec3 extent = centres.size();
    int axis = extent.x >= extent.y && extent.x >= extent.z ? 0 : extent.y >= extent.z ? 1 : 2;
    uint32_t half = count / 2;
    auto begin = g.order.begin() + first;
    std::nth_element(begin, begin + half, begin + count, [&](uint32_t a, uint32_t b) {
        return g.polygons[a].box.centre()[axis] < g.polygons[b].box.centre()[axis];
    });
    int32_t left = buildNode(g, first, half);
    int32_t right = buildNode(g, first + half, count - half);
    g.nodes[index].left = left;
    g.nodes[index].right = right;
    return index;
}

}  // namespace

void GroupGeometry::buildHierarchy() {
    nodes.clear();
    order.clear();
    for (uint32_t i = 0; i < polygons.size(); ++i)
        if (polygons[i].valid) order.push_back(i);
    if (!order.empty()) buildNode(*this, 0, static_cast<uint32_t>(order.size()));
}

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
    if (geo.version != group.version || geo.polygonCount != group.polygons.size()) refresh(group, geo);
    return geo;
}

bool DrawableGroups::enabledChain(int32_t group) {
    if (auto it = enabled_.find(group); it != enabled_.end()) return it->second;
    enabled_[group] = false;  // guards against a cycle
    const Group* g = lookup<Group>(group);
    bool ok = g && !g->disabled && (g->father == 0 || enabledChain(g->father));
    enabled_[group] = ok;
    return ok;
}

bool DrawableGroups::inRenderGroup(int32_t group) {
    const World* w = state().world.get();
    if (!w || w->renderGroup == 0) return true;
    if (auto it = inside_.find(group); it != inside_.end()) return it->second;
    inside_[group] = false;
    const Group* g = lookup<Group>(group);
    bool ok = g && (group == w->renderGroup || (g->father != 0 && inRenderGroup(g->father)));
    inside_[group] = ok;
    return ok;
}

bool DrawableGroups::operator()(int32_t group) { return state().world && enabledChain(group) && inRenderGroup(group); }

}  // namespace ombrel
