#include "group_copy.h"

#include "api_support.h"
#include "geom.h"
#include "lighting.h"
#include "lightmap.h"
#include "model.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <map>
#include <set>
#include <tuple>
#include <unordered_map>
#include <unordered_set>

namespace ombrel {
namespace {

using PolygonCopier = std::function<void(const Polygon& src, int32_t group)>;

// The world's group names are read once: the n-th copy of a group tries n names.
std::string uniqueCopyName(const std::string& base) {
    std::unordered_set<std::string> taken;
    needWorld().groups.forEach([&](int32_t h) {
        if (const Group* g = lookup<Group>(h)) taken.insert(g->name);
    });
    for (int k = 1;; ++k) {
        std::string suffix = k == 1 ? "_copy" : "_copy" + std::to_string(k);
        std::string name = fitName(base, suffix);
        if (!taken.count(name)) return name;
    }
}

// A fresh light map sharing the pixels of the one the source polygon owns.
int32_t copyLightMap(int32_t bitmap, int32_t owner) {
    const Bitmap* src = lookup<Bitmap>(bitmap);
    if (!src) return 0;
    World& w = needWorld();
    Bitmap& b = createObject<Bitmap>();
    b.name = newLightMapName();
    b.image = src->image;
    b.transparentIndex = src->transparentIndex;
    b.isLightMap = true;
    b.ownerPolygon = owner;
    b.recordedWidth = src->recordedWidth;
    b.recordedHeight = src->recordedHeight;
    // A name and so a file of its own, so a save or a deletion never shares one.
    b.fileDue = b.image != nullptr && b.recordedWidth == 0;
    w.bitmaps.append(b.handle);
    return b.handle;
}

// A polygon with src's fill and properties, no points yet, in group and in the world.
Polygon& polygonShell(const Polygon& src, int32_t group) {
    World& w = needWorld();
    Polygon& p = createObject<Polygon>();
    p.name = src.name;
    p.enabled = src.enabled;
    p.fill = src.fill;
    p.colour = src.colour;
    p.bitmap = src.bitmap;
    p.animation = src.animation;
    p.blend = src.blend;
    p.diminution = src.diminution;
    p.rotated = src.rotated;
    p.lights = src.lights;
    p.mapOrigin = src.mapOrigin;
    p.mapU = src.mapU;
    p.mapV = src.mapV;
    if (src.ownsSecond) {
        p.secondBitmap = copyLightMap(src.secondBitmap, p.handle);
        p.ownsSecond = p.secondBitmap != 0;
    } else {
        p.secondBitmap = src.secondBitmap;
    }
    p.group = group;
    need<Group>(group).polygons.append(p.handle);
    p.added = true;
    w.polygons.append(p.handle);
    touchBinding(p.handle);
    return p;
}

void addPointCopy(Polygon& dst, const Point& src, Vec3 pos) {
    Point& q = createObject<Point>();
    q.polygon = dst.handle;
    q.pos = pos;
    q.uv = src.uv;
    q.brightness = src.brightness;
    q.normal = src.normal;
    q.hasNormal = src.hasNormal;
    q.rgb = src.rgb;
    dst.points.push_back(q.handle);
}

std::vector<const Point*> livePoints(const Polygon& p) {
    std::vector<const Point*> out;
    for (int32_t h : p.points)
        if (const Point* q = lookup<Point>(h)) out.push_back(q);
    return out;
}

void exactCopy(const Polygon& src, int32_t group) {
    Polygon& dst = polygonShell(src, group);
    for (const Point* q : livePoints(src)) addPointCopy(dst, *q, q->pos);
}

int32_t copyTree(const Group& top, const PolygonCopier& copier) {
    World& w = needWorld();
    std::unordered_map<int32_t, int32_t> copies;
    int32_t topCopy = 0;
    std::string topName = uniqueCopyName(top.name);
    for (int32_t gh : subtreeGroups(top.handle, true)) {  // fathers come before their children
        const Group* src = lookup<Group>(gh);
        if (!src) continue;
        Group& dst = createObject<Group>();
        dst.name = gh == top.handle ? topName : src->name;
        dst.disabled = src->disabled;
        dst.isStatic = src->isStatic;
        dst.pivot = src->pivot;
        dst.origin = src->origin;
        dst.axes = src->axes;
        dst.chase = src->chase;
        w.groups.append(dst.handle);
        dst.father = gh == top.handle ? src->father : copies[src->father];
        if (Group* father = lookup<Group>(dst.father)) father->children.append(dst.handle);
        copies[gh] = dst.handle;
        if (gh == top.handle) topCopy = dst.handle;
        for (int32_t ph : src->polygons.toVector())
            if (const Polygon* p = lookup<Polygon>(ph)) copier(*p, dst.handle);
        touchGroup(dst.handle);
    }
    return topCopy;
}

// Cluster index of a position: cells of edge size starting at the box corner.
using Cell = std::tuple<int64_t, int64_t, int64_t>;

Cell cellOf(Vec3 p, Vec3 corner, double size) {
    auto index = [&](double v, double c) {
        double i = std::floor((v - c) / size);
        return static_cast<int64_t>(std::clamp(i, -4e18, 4e18));
    };
    return {index(p.x, corner.x), index(p.y, corner.y), index(p.z, corner.z)};
}

}  // namespace

int32_t duplicateTree(const Group& group) { return copyTree(group, exactCopy); }

int32_t reducedCopy(const Group& group, double level) {
    Vec3 dims = groupDimensions(group);
    double size = level / 100.0 * std::max({dims.x, dims.y, dims.z});
    // A cell too large to count (any huge level) holds every point: still one cell.
    if (!(level > 0) || !(size > 0)) return duplicateTree(group);

    // Every point record of the subtree moves to the mean of its cell.
    Vec3 corner = groupWorldBox(group.handle).min;
    struct Mean { Vec3 sum; int64_t n = 0; };
    std::map<Cell, Mean> cells;
    for (int32_t ph : walkPolygons(group.handle))
        if (const Polygon* p = lookup<Polygon>(ph))
            for (const Point* q : livePoints(*p)) {
                Mean& m = cells[cellOf(q->pos, corner, size)];
                m.sum += q->pos;
                ++m.n;
            }
    auto merged = [&](Vec3 p) {
        const Mean& m = cells[cellOf(p, corner, size)];
        return m.sum / static_cast<double>(m.n);
    };

    return copyTree(group, [&](const Polygon& src, int32_t g) {
        std::vector<std::pair<const Point*, Vec3>> kept;
        for (const Point* q : livePoints(src)) {
            Vec3 at = merged(q->pos);
            if (kept.empty() || !(kept.back().second == at)) kept.push_back({q, at});
        }
        while (kept.size() > 1 && kept.back().second == kept.front().second) kept.pop_back();
        std::set<std::tuple<double, double, double>> distinct;
        for (auto& k : kept) distinct.insert({k.second.x, k.second.y, k.second.z});
        if (distinct.size() < 3) return;
        Polygon& dst = polygonShell(src, g);
        for (auto& [q, at] : kept) addPointCopy(dst, *q, at);
    });
}

int32_t triangulatedCopy(const Group& group) {
    return copyTree(group, [](const Polygon& src, int32_t g) {
        std::vector<const Point*> pts = livePoints(src);
        if (pts.size() <= 3) return exactCopy(src, g);
        std::vector<Vec3> pos;
        for (const Point* q : pts) pos.push_back(q->pos);
        for (const auto& t : triangulate(pos, newellNormal(pos))) {
            Polygon& dst = polygonShell(src, g);
            for (int i : t) addPointCopy(dst, *pts[i], pts[i]->pos);
        }
    });
}

}  // namespace ombrel
