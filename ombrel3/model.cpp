#include "model.h"

#include "api_support.h"
#include "geom.h"

namespace ombrel {
namespace {

void appendWalk(const Group& g, std::vector<int32_t>& out) {
    g.polygons.forEach([&](int32_t p) { out.push_back(p); });
    g.children.forEach([&](int32_t c) {
        if (const Group* child = lookup<Group>(c)) appendWalk(*child, out);
    });
}

bool isIdentity(const Mat3& m) {
    Mat3 id;
    return m.c[0] == id.c[0] && m.c[1] == id.c[1] && m.c[2] == id.c[2];
}

template <class F>
void forEachWalkPoint(const Group& g, F&& f) {
    for (int32_t ph : walkPolygons(g.handle))
        if (const Polygon* p = lookup<Polygon>(ph))
            for (int32_t pt : p->points)
                if (const Point* q = lookup<Point>(pt)) f(q->pos);
}

// The first group at or after start (in root's pre-order) that owns a polygon.
int32_t firstPolygonFrom(int32_t root, int32_t start) {
    for (int32_t g = start; g != 0; g = preorderNext(root, g)) {
        const Group* rec = lookup<Group>(g);
        if (!rec) return 0;
        if (int32_t p = rec->polygons.first()) return p;
    }
    return 0;
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

int32_t preorderNext(int32_t root, int32_t current) {
    const Group* g = lookup<Group>(current);
    if (!g) return 0;
    if (int32_t c = g->children.first()) return c;
    while (g && g->handle != root) {
        const Group* father = lookup<Group>(g->father);
        if (!father) return 0;
        if (int32_t s = father->children.next(g->handle)) return s;
        g = father;
    }
    return 0;
}

std::vector<int32_t> subtreeGroups(int32_t group, bool includeSelf) {
    std::vector<int32_t> out;
    if (!lookup<Group>(group)) return out;
    if (includeSelf) out.push_back(group);
    for (int32_t g = preorderNext(group, group); g != 0; g = preorderNext(group, g)) out.push_back(g);
    return out;
}

int32_t walkFirst(int32_t group) {
    if (group == 0) {
        World* w = state().world.get();
        return w ? w->polygons.first() : 0;
    }
    if (!lookup<Group>(group)) return 0;
    return firstPolygonFrom(group, group);
}

int32_t walkNext(int32_t group, int32_t polygon) {
    const Polygon* p = lookup<Polygon>(polygon);
    if (!p) return 0;
    if (group == 0) {
        World* w = state().world.get();
        return w ? w->polygons.next(polygon) : 0;
    }
    if (p->group == 0 || !lookup<Group>(group) || !groupContains(group, p->group)) return 0;
    const Group* own = lookup<Group>(p->group);
    if (int32_t n = own->polygons.next(polygon)) return n;
    return firstPolygonFrom(group, preorderNext(group, p->group));
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

std::vector<Vec3> polygonPositions(const Polygon& polygon) {
    std::vector<Vec3> pos;
    polygonPositionsInto(polygon, pos);
    return pos;
}

void polygonPositionsInto(const Polygon& polygon, std::vector<Vec3>& out) {
    out.clear();
    out.reserve(polygon.points.size());
    for (int32_t h : polygon.points)
        if (const Point* p = lookup<Point>(h)) out.push_back(p->pos);
}

bool polygonPlane(const Polygon& polygon, Vec3& normal, double& d) {
    std::vector<Vec3> pos = polygonPositions(polygon);
    return planeOf(pos.data(), pos.size(), normal, d);
}

bool planeOf(const Vec3* pos, std::size_t count, Vec3& normal, double& d) {
    // Newell's normal points to the side from which the points run anticlockwise;
    // the visible side is the clockwise one.
    Vec3 n = newellNormal(pos, count);
    double len = length(n);
    if (count < 3 || !(len > 1e-300) || !std::isfinite(len)) {
        normal = {};
        d = 0;
        return false;
    }
    Vec3 centre;
    for (std::size_t i = 0; i < count; ++i) centre += pos[i];
    normal = -(n / len);
    centre = centre / static_cast<double>(count);
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

bool hasArea(const Vec3* pos, std::size_t n) {
    if (n < 3) return false;
    double len = length(newellNormal(pos, n));
    return len > 1e-300 && std::isfinite(len);
}

void addOwnPolygon(OwnTotals& t, const Polygon& p, const Vec3* pos, std::size_t n) {
    ++t.polygons;
    t.points += static_cast<int64_t>(n);
    for (std::size_t i = 0; i < n; ++i) {
        t.box.add(pos[i]);
        t.pointSum += pos[i];
    }
    if (n < 3) return;
    double len = length(newellNormal(pos, n));
    if (!(len > 1e-300)) return;
    if (std::isfinite(len))
        for (std::size_t i = 0; i < n; ++i) t.areaBox.add(pos[i]);
    if (p.added && p.enabled)
        for (std::size_t i = 0; i < n; ++i) t.drawBox.add(pos[i]);
}

const OwnTotals& ownTotals(const Group& group) {
    OwnTotals& t = group.own;
    if (t.version == group.version) return t;
    t = OwnTotals{};
    std::vector<Vec3> pos;
    group.polygons.forEach([&](int32_t ph) {
        if (const Polygon* p = lookup<Polygon>(ph)) {
            polygonPositionsInto(*p, pos);
            addOwnPolygon(t, *p, pos.data(), pos.size());
        }
    });
    t.version = group.version;
    return t;
}

const SubtreeTotals& subtreeTotals(const Group& group) {
    SubtreeTotals& t = group.totals;
    if (t.valid) return t;
    const OwnTotals& own = ownTotals(group);
    SubtreeTotals fresh;
    fresh.polygonCount = own.polygons;
    fresh.pointCount = own.points;
    fresh.pointSum = own.pointSum;
    fresh.worldBox = own.box;
    if (!group.disabled) fresh.drawBox = own.drawBox;
    group.children.forEach([&](int32_t ch) {
        const Group* child = lookup<Group>(ch);
        if (!child) return;
        const SubtreeTotals& c = subtreeTotals(*child);
        fresh.polygonCount += c.polygonCount;
        fresh.pointCount += c.pointCount;
        fresh.pointSum += c.pointSum;
        fresh.worldBox.add(c.worldBox);
        if (!group.disabled) fresh.drawBox.add(c.drawBox);
    });
    fresh.axesBoxValid = t.axesBoxValid;
    fresh.axesBox = t.axesBox;
    fresh.valid = true;
    t = fresh;
    return t;
}

Box3 groupWorldBox(int32_t group) {
    if (group != 0) {
        const Group* g = lookup<Group>(group);
        return g ? subtreeTotals(*g).worldBox : Box3{};
    }
    Box3 box;
    World* w = state().world.get();
    if (!w) return box;
    w->groups.forEach([&](int32_t h) {
        const Group* g = lookup<Group>(h);
        if (g && g->father == 0) box.add(subtreeTotals(*g).drawBox);
    });
    return box;
}

Box3 groupOwnBox(const Group& group) {
    const SubtreeTotals& totals = subtreeTotals(group);
    if (isIdentity(group.axes)) return totals.worldBox;
    SubtreeTotals& t = group.totals;
    if (!t.axesBoxValid) {
        Mat3 toLocal = group.axes.transposed();
        Box3 box;
        forEachWalkPoint(group, [&](Vec3 p) { box.add(toLocal * p); });
        t.axesBox = box;
        t.axesBoxValid = true;
    }
    return t.axesBox;
}

Vec3 groupLocation(const Group& group) {
    if (subtreeTotals(group).pointCount == 0) return group.origin;
    return group.axes * groupOwnBox(group).centre();
}

Vec3 groupDimensions(const Group& group) {
    if (subtreeTotals(group).pointCount == 0) return {};
    return groupOwnBox(group).size();
}

Vec3 groupCentreOfMass(const Group& group) {
    const SubtreeTotals& totals = subtreeTotals(group);
    if (totals.pointCount == 0) return groupLocation(group);
    return totals.pointSum / static_cast<double>(totals.pointCount);
}

int32_t worldPolygonCount() {
    int32_t count = 0;
    World* w = state().world.get();
    if (!w) return 0;
    w->groups.forEach([&](int32_t h) {
        const Group* g = lookup<Group>(h);
        if (g && g->father == 0 && !g->disabled) count += subtreeTotals(*g).polygonCount;
    });
    return count;
}

Vec3 inputPosition(Vec3 p) { return state().autoCorrectMode == 1 ? snapToMicroGrid(p) : p; }

}  // namespace ombrel
