#include "model.h"

#include "api_support.h"

namespace ombrel {
namespace {

void appendWalk(const Group& g, std::vector<int32_t>& out) {
    g.polygons.forEach([&](int32_t p) { out.push_back(p); });
    g.children.forEach([&](int32_t c) {
        if (const Group* child = lookup<Group>(c)) appendWalk(*child, out);
    });
}

}  // namespace

std::vector<int32_t> walkPolygons(int32_t group) {
    std::vector<int32_t> out;
    if (group == 0) {
        if (World* w = state().world.get()) out = w->polygons.toVector();
        return out;
    }
    if (const Group* g = lookup<Group>(group)) appendWalk(*g, out);
    return out;
}

bool groupContains(int32_t group, int32_t descendant) {
    for (int32_t g = descendant, guard = 0; g != 0 && guard < 1 << 20; ++guard) {
        if (g == group) return true;
        const Group* rec = lookup<Group>(g);
        if (!rec) return false;
        g = rec->father;
    }
    return false;
}

bool polygonPlane(const Polygon& polygon, Vec3& normal, double& d) {
    // Newell's normal points to the side from which the points run anticlockwise;
    // the visible side is the clockwise one.
    Vec3 n, centre;
    std::size_t count = polygon.points.size();
    std::vector<Vec3> pos;
    pos.reserve(count);
    for (int32_t h : polygon.points)
        if (const Point* p = lookup<Point>(h)) pos.push_back(p->pos);
    for (std::size_t i = 0; i < pos.size(); ++i) {
        const Vec3& a = pos[i];
        const Vec3& b = pos[(i + 1) % pos.size()];
        n.x += (a.y - b.y) * (a.z + b.z);
        n.y += (a.z - b.z) * (a.x + b.x);
        n.z += (a.x - b.x) * (a.y + b.y);
        centre += a;
    }
    double len = length(n);
    if (pos.size() < 3 || !(len > 1e-300)) {
        normal = {};
        d = 0;
        return false;
    }
    normal = -(n / len);
    centre = centre / static_cast<double>(pos.size());
    d = -dot(normal, centre);
    return true;
}

bool polygonDrawable(const Polygon& polygon) {
    if (!polygon.added || !polygon.enabled || polygon.group == 0 || polygon.points.size() < 3) return false;
    World* w = state().world.get();
    if (!w) return false;
    for (int32_t g = polygon.group, guard = 0; g != 0 && guard < 1 << 20; ++guard) {
        const Group* rec = lookup<Group>(g);
        if (!rec || rec->disabled) return false;
        g = rec->father;
    }
    if (w->renderGroup != 0 && !groupContains(w->renderGroup, polygon.group)) return false;
    Vec3 n;
    double d;
    return polygonPlane(polygon, n, d);
}

Box3 groupWorldBox(int32_t group) {
    Box3 box;
    for (int32_t ph : walkPolygons(group)) {
        const Polygon* p = lookup<Polygon>(ph);
        if (!p || (group == 0 && !polygonDrawable(*p))) continue;
        for (int32_t pt : p->points)
            if (const Point* q = lookup<Point>(pt)) box.add(q->pos);
    }
    return box;
}

}  // namespace ombrel
