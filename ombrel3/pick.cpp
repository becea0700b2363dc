#include "pick.h"

#include "api_support.h"
#include "geom.h"
#include "group_geometry.h"
#include "model.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

namespace ombrel {
namespace {

constexpr double kPixelLimit = 1e6;

// Pixel containing a screen position, clamped; `clamped` tells whether it was.
void toPixel(Vec2 s, int32_t out[2], bool& clamped) {
    auto one = [&](double v) {
        double f = std::floor(v);
        if (!(f >= -kPixelLimit)) { clamped = true; return static_cast<int32_t>(-kPixelLimit); }
        if (f > kPixelLimit) { clamped = true; return static_cast<int32_t>(kPixelLimit); }
        return static_cast<int32_t>(f);
    };
    out[0] = one(s.x);
    out[1] = one(s.y);
}

// Whether segment a-b meets the rectangle [0, w] x [0, h] (Liang-Barsky).
bool segmentMeetsRect(Vec2 a, Vec2 b, double w, double h) {
    // An end within the rectangle: no clip below can refuse (every q is >= 0),
    // and most edges of an overlay start on the view.
    if (a.x >= 0 && a.x <= w && a.y >= 0 && a.y <= h) return true;
    double t0 = 0, t1 = 1;
    double dx = b.x - a.x, dy = b.y - a.y;
    auto clip = [&](double p, double q) {
        if (p == 0) return q >= 0;
        double r = q / p;
        if (p < 0) {
            if (r > t1) return false;
            t0 = std::max(t0, r);
        } else {
            if (r < t0) return false;
            t1 = std::min(t1, r);
        }
        return true;
    };
    return clip(-dx, a.x) && clip(dx, w - a.x) && clip(-dy, a.y) && clip(dy, h - a.y);
}

// Ray/box slab test: the entry parameter, or +inf on a miss within [tMin, tMax].
double rayBox(Vec3 o, Vec3 invDir, const Box3& b, double tMin, double tMax) {
    for (int i = 0; i < 3; ++i) {
        double t0 = (b.min[i] - o[i]) * invDir[i];
        double t1 = (b.max[i] - o[i]) * invDir[i];
        if (std::isnan(t0) || std::isnan(t1)) {
            // The ray runs along the slab's face: inside when the origin is.
            if (o[i] < b.min[i] || o[i] > b.max[i]) return std::numeric_limits<double>::infinity();
            continue;
        }
        if (t0 > t1) std::swap(t0, t1);
        tMin = std::max(tMin, t0);
        tMax = std::min(tMax, t1);
        if (tMin > tMax) return std::numeric_limits<double>::infinity();
    }
    return tMin;
}

// Point in polygon in the plane's dominant projection; points on an edge count.
bool insidePolygon(const Vec3* pts, uint32_t n, Vec3 normal, Vec3 p) {
    int drop = std::fabs(normal.x) > std::fabs(normal.y)
                   ? (std::fabs(normal.x) > std::fabs(normal.z) ? 0 : 2)
                   : (std::fabs(normal.y) > std::fabs(normal.z) ? 1 : 2);
    int u = drop == 0 ? 1 : 0, v = drop == 2 ? 1 : 2;
    double px = p[u], py = p[v];
    double extent = 0;
    for (uint32_t i = 0; i < n; ++i)
        extent = std::max({extent, std::fabs(pts[i][u] - px), std::fabs(pts[i][v] - py)});
    double eps = extent * 1e-12;
    bool inside = false;
    for (uint32_t i = 0, j = n - 1; i < n; j = i++) {
        double xi = pts[i][u], yi = pts[i][v], xj = pts[j][u], yj = pts[j][v];
        double ex = xj - xi, ey = yj - yi;
        double cr = ex * (py - yi) - ey * (px - xi);
        double len = std::hypot(ex, ey);
        if (std::fabs(cr) <= eps * std::max(len, 1.0) && px >= std::min(xi, xj) - eps &&
            px <= std::max(xi, xj) + eps && py >= std::min(yi, yj) - eps && py <= std::max(yi, yj) + eps)
            return true;
        if ((yi > py) != (yj > py) && px < xi + (py - yi) * ex / ey) inside = !inside;
    }
    return inside;
}

struct RayCast {
    Vec3 origin, dir;
    double nearDepth;  // dir has camera depth 1 per unit of t, so t is the depth
    Hit best;
    double bestT = std::numeric_limits<double>::infinity();
    std::vector<Vec3> pos;  // the tested polygon's points, reused

    void testPolygon(const Group& group, int32_t handle) {
        const Polygon* poly = lookup<Polygon>(handle);
        if (!poly || !polygonShown(*poly)) return;
        polygonPositionsInto(*poly, pos);
        Vec3 normal;
        double d;
        if (!planeOf(pos.data(), pos.size(), normal, d)) return;
        // Facing the eye: the eye on the visible side of the plane.
        double side = dot(normal, origin) + d;
        double denom = dot(normal, dir);
        if (!(side > 0) || !(denom < 0)) return;
        double t = -side / denom;
        if (!(t >= nearDepth) || !(t < bestT)) return;
        Vec3 p = origin + dir * t;
        if (!insidePolygon(pos.data(), static_cast<uint32_t>(pos.size()), normal, p)) return;
        bestT = t;
        best = {p, handle, group.handle, t};
    }

    // The tree is walked with the ray carried into the coordinates it was built in
    // (the same ray parameter there); polygons are tested where they are now.
    void testGroup(const Group& group, const GroupGeometry& geo) {
        if (geo.nodes.empty()) return;
        Vec3 o = origin, dv = dir;
        Affine toWorld;
        if (builtToWorld(group, geo, toWorld)) {
            Affine back = inverted(toWorld);
            o = back(origin);
            dv = back.m * dir;
        }
        Vec3 inv{1.0 / dv.x, 1.0 / dv.y, 1.0 / dv.z};
        if (std::isinf(rayBox(o, inv, geo.box, nearDepth, bestT))) return;
        // Depth-first, nearer child first; stack avoids recursion on deep trees.
        std::vector<int32_t> stack{0};
        while (!stack.empty()) {
            const GroupGeometry::Node& node = geo.nodes[stack.back()];
            stack.pop_back();
            if (std::isinf(rayBox(o, inv, node.box, nearDepth, bestT))) continue;
            if (node.left < 0) {
                for (uint32_t i = node.first; i < node.first + node.count; ++i) testPolygon(group, geo.order[i]);
                continue;
            }
            double tl = rayBox(o, inv, geo.nodes[node.left].box, nearDepth, bestT);
            double tr = rayBox(o, inv, geo.nodes[node.right].box, nearDepth, bestT);
            if (tl <= tr) {
                stack.push_back(node.right);
                stack.push_back(node.left);
            } else {
                stack.push_back(node.left);
                stack.push_back(node.right);
            }
        }
    }
};

}  // namespace

bool currentView(View& out) {
    const World* w = state().world.get();
    if (!w) return false;
    const Camera* c = lookup<Camera>(w->currentCamera);
    const Surface* s = lookup<Surface>(w->currentSurface);
    if (!c || !s) return false;
    out = makeView(*c, s->width, s->height);
    return true;
}

int32_t projectPoint(const View& view, Vec3 p, int32_t pixel[2]) {
    Vec3 c = view.toCamera(p);
    if (!(c.z > 0)) return -1;
    bool clamped = false;
    int32_t px[2];
    toPixel(view.toScreen(c), px, clamped);
    pixel[0] = px[0];
    pixel[1] = px[1];
    bool onSurface = px[0] >= 0 && px[0] < view.width && px[1] >= 0 && px[1] < view.height;
    return onSurface && c.z >= view.nearDist ? 0 : 2;
}

int32_t projectEdge(const View& view, Vec3 a, Vec3 b, int32_t a2d[2], int32_t b2d[2]) {
    Vec3 ca = view.toCamera(a), cb = view.toCamera(b);
    double n = view.nearDist;
    if (!(ca.z >= n) && !(cb.z >= n)) return -1;
    bool moved = false;
    auto clipToNear = [&](Vec3& behind, Vec3 front) {
        double t = (n - front.z) / (behind.z - front.z);
        behind = front + (behind - front) * t;
        behind.z = n;
        moved = true;
    };
    if (!(ca.z >= n)) clipToNear(ca, cb);
    if (!(cb.z >= n)) clipToNear(cb, ca);
    Vec2 sa = view.toScreen(ca), sb = view.toScreen(cb);
    int32_t pa[2], pb[2];
    toPixel(sa, pa, moved);
    toPixel(sb, pb, moved);
    a2d[0] = pa[0];
    a2d[1] = pa[1];
    b2d[0] = pb[0];
    b2d[1] = pb[1];
    if (!segmentMeetsRect(sa, sb, view.width, view.height)) return 1;
    return moved ? 2 : 0;
}

void projectEdges(const View& view, const double* points, int32_t pointCount, const int32_t* ends, int32_t count,
                  int32_t* pixels, int32_t* results) {
    // Each point is projected once: a box's corner ends three of its edges. An
    // edge with both ends before the near plane takes what projectEdge would
    // find for it from its ends' own projections; any other goes through it.
    struct Projected {
        Vec3 at;
        Vec2 screen;
        int32_t px[2];
        bool finite, front, clamped;
    };
    static thread_local std::vector<Projected> projected;
    projected.resize(static_cast<std::size_t>(pointCount));
    for (int32_t i = 0; i < pointCount; ++i) {
        Projected& q = projected[static_cast<std::size_t>(i)];
        q.at = Vec3::from(points + 3 * static_cast<std::ptrdiff_t>(i));
        q.finite = finite(q.at);
        q.front = q.clamped = false;
        if (!q.finite) continue;
        const Vec3 c = view.toCamera(q.at);
        q.front = c.z >= view.nearDist;
        if (!q.front) continue;
        q.screen = view.toScreen(c);
        toPixel(q.screen, q.px, q.clamped);
    }
    for (int32_t i = 0; i < count; ++i) {
        const Projected& a = projected[static_cast<std::size_t>(ends[2 * i])];
        const Projected& b = projected[static_cast<std::size_t>(ends[2 * i + 1])];
        int32_t* px = pixels + 4 * static_cast<std::ptrdiff_t>(i);
        if (!a.finite || !b.finite) {
            results[i] = -1;
        } else if (a.front && b.front) {
            px[0] = a.px[0], px[1] = a.px[1], px[2] = b.px[0], px[3] = b.px[1];
            results[i] = !segmentMeetsRect(a.screen, b.screen, view.width, view.height) ? 1
                         : a.clamped || b.clamped                                     ? 2
                                                                                      : 0;
        } else {
            results[i] = projectEdge(view, a.at, b.at, px, px + 2);
        }
    }
    // Kept for the next call up to the boxes of a large selection, not beyond.
    constexpr std::size_t kKept = std::size_t{1} << 17;
    if (projected.capacity() > kKept) {
        projected.clear();
        projected.shrink_to_fit();
    }
}

bool pickAt(const View& view, double sx, double sy, Hit& hit) {
    World* w = state().world.get();
    if (!w) return false;
    RayCast ray;
    ray.origin = view.eye;
    ray.dir = view.rayThrough(sx, sy);
    ray.nearDepth = view.nearDist;
    DrawableGroups drawable;
    w->groups.forEach([&](int32_t h) {
        const Group* g = lookup<Group>(h);
        if (!g || g->polygons.empty() || !drawable(h)) return;
        ray.testGroup(*g, groupGeometry(*g));
    });
    if (ray.best.polygon == 0) return false;
    hit = ray.best;
    return true;
}

}  // namespace ombrel
