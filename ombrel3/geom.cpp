#include "geom.h"

#include <algorithm>
#include <cmath>

namespace ombrel {
namespace {

// 2D projection of the points onto the plane's dominant axes, oriented so that the
// polygon runs anticlockwise when its Newell normal is positive along the dropped axis.
std::vector<Vec2> project(const std::vector<Vec3>& pts, Vec3 n) {
    double ax = std::fabs(n.x), ay = std::fabs(n.y), az = std::fabs(n.z);
    std::vector<Vec2> out;
    out.reserve(pts.size());
    for (const Vec3& p : pts) {
        if (az >= ax && az >= ay)
            out.push_back(n.z >= 0 ? Vec2{p.x, p.y} : Vec2{p.y, p.x});
        else if (ax >= ay)
            out.push_back(n.x >= 0 ? Vec2{p.y, p.z} : Vec2{p.z, p.y});
        else
            out.push_back(n.y >= 0 ? Vec2{p.z, p.x} : Vec2{p.x, p.z});
    }
    return out;
}

// A polygon whose points leave its plane is laid flat along its normal instead:
// a triangle's area there is its own area seen along the normal, so a positive
// one faces the polygon's side and triangles cut there never fold over.
std::vector<Vec2> projectOntoBestFitPlane(const std::vector<Vec3>& pts, Vec3 n) {
    Vec3 k = normalized(n);
    Vec3 other = std::fabs(k.x) < 0.9 ? Vec3{1, 0, 0} : Vec3{0, 1, 0};
    Vec3 u = normalized(cross(k, other));
    Vec3 v = cross(k, u);
    std::vector<Vec2> out;
    out.reserve(pts.size());
    for (const Vec3& p : pts) out.push_back(Vec2{dot(p, u), dot(p, v)});
    return out;
}

bool planar(const std::vector<Vec3>& pts, Vec3 n) {
    Vec3 k = normalized(n);
    double size = 0, off = 0;
    for (const Vec3& p : pts) {
        size = std::max(size, length(p - pts[0]));
        off = std::max(off, std::fabs(dot(p - pts[0], k)));
    }
    return off <= 1e-9 * size;
}

double cross2(Vec2 o, Vec2 a, Vec2 b) { return (a.x - o.x) * (b.y - o.y) - (a.y - o.y) * (b.x - o.x); }

bool insideTriangle(Vec2 p, Vec2 a, Vec2 b, Vec2 c) {
    return cross2(a, b, p) >= 0 && cross2(b, c, p) >= 0 && cross2(c, a, p) >= 0;
}

std::vector<std::array<int, 3>> fan(int n) {
    std::vector<std::array<int, 3>> out;
    for (int i = 1; i + 1 < n; ++i) out.push_back({0, i, i + 1});
    return out;
}

}  // namespace

Vec3 newellNormal(const Vec3* pts, std::size_t count) {
    Vec3 n;
    for (std::size_t i = 0; i < count; ++i) {
        const Vec3& a = pts[i];
        const Vec3& b = pts[(i + 1) % count];
        n.x += (a.y - b.y) * (a.z + b.z);
        n.y += (a.z - b.z) * (a.x + b.x);
        n.z += (a.x - b.x) * (a.y + b.y);
    }
    return n;
}

Mat3 rotationDegrees(Vec3 axis, double degrees) {
    double c, s;
    double quarters = degrees / 90.0;
    if (quarters == std::floor(quarters) && std::fabs(quarters) < 1e9) {
        // Exact for the quarter turns the editor uses most.
        static const double cs[4][2] = {{1, 0}, {0, 1}, {-1, 0}, {0, -1}};
        long q = static_cast<long>(std::fmod(quarters, 4.0));
        if (q < 0) q += 4;
        c = cs[q][0];
        s = cs[q][1];
    } else {
        double r = degrees * (M_PI / 180.0);
        c = std::cos(r);
        s = std::sin(r);
    }
    Vec3 u = normalized(axis);
    double t = 1 - c;
    Mat3 m;
    m.c[0] = {t * u.x * u.x + c, t * u.x * u.y + s * u.z, t * u.x * u.z - s * u.y};
    m.c[1] = {t * u.x * u.y - s * u.z, t * u.y * u.y + c, t * u.y * u.z + s * u.x};
    m.c[2] = {t * u.x * u.z + s * u.y, t * u.y * u.z - s * u.x, t * u.z * u.z + c};
    return m;
}

Affine inverted(const Affine& a) {
    Mat3 inv = cofactor(a.m).transposed();
    double det = determinant(a.m);
    for (Vec3& col : inv.c) col = col / det;
    return {inv, -(inv * a.t)};
}

Mat3 scaleAlong(const Mat3& frame, Vec3 f) {
    Mat3 d;
    d.c[0] = {f.x, 0, 0};
    d.c[1] = {0, f.y, 0};
    d.c[2] = {0, 0, f.z};
    return frame * d * frame.transposed();
}

double determinant(const Mat3& m) { return dot(m.c[0], cross(m.c[1], m.c[2])); }

Mat3 cofactor(const Mat3& m) {
    // For columns a, b, c the rows of det * m^-1 are b x c, c x a, a x b, so the
    // columns of det * m^-T are those same vectors.
    return Mat3{{cross(m.c[1], m.c[2]), cross(m.c[2], m.c[0]), cross(m.c[0], m.c[1])}};
}

bool frameFromAxes(Vec3 a1, Vec3 a2, Vec3 a3, Mat3& frame) {
    double l1 = length(a1);
    if (!(l1 > 1e-12) || !std::isfinite(l1)) return false;
    Vec3 x = a1 / l1;
    auto orthogonal = [&](Vec3 v) -> Vec3 {
        Vec3 o = v - x * dot(v, x);
        double lv = length(v), lo = length(o);
        return lv > 0 && lo > 1e-9 * lv ? o / lo : Vec3{};
    };
    Vec3 y = orthogonal(a2), z;
    if (length(y) > 0) {
        z = cross(x, y);
    } else {
        z = orthogonal(a3);
        if (length(z) == 0) z = orthogonal({0, 0, 1});
        if (length(z) == 0) z = orthogonal({0, 1, 0});
        y = cross(z, x);
    }
    frame = Mat3{{x, y, z}};
    return true;
}

std::vector<std::array<int, 3>> triangulate(const std::vector<Vec3>& pts, Vec3 normal) {
    int n = static_cast<int>(pts.size());
    if (n < 3) return {};
    if (n == 3 || !(length(normal) > 0)) return fan(n);
    std::vector<Vec2> p = planar(pts, normal) ? project(pts, normal) : projectOntoBestFitPlane(pts, normal);

    bool convex = true;
    for (int i = 0; i < n && convex; ++i)
        if (cross2(p[i], p[(i + 1) % n], p[(i + 2) % n]) < 0) convex = false;
    if (convex) return fan(n);

    std::vector<std::array<int, 3>> out;
    std::vector<int> ring(n);
    for (int i = 0; i < n; ++i) ring[i] = i;
    int guard = 0;
    while (ring.size() > 3 && guard < 4 * n * n) {
        int m = static_cast<int>(ring.size());
        bool clipped = false;
        for (int k = 0; k < m; ++k) {
            int a = ring[(k + m - 1) % m], b = ring[k], c = ring[(k + 1) % m];
            ++guard;
            if (cross2(p[a], p[b], p[c]) <= 0) continue;  // reflex or flat corner
            bool empty = true;
            for (int r : ring) {
                if (r == a || r == b || r == c) continue;
                if (insideTriangle(p[r], p[a], p[b], p[c])) { empty = false; break; }
            }
            if (!empty) continue;
            // Emit in the polygon's own cyclic order, so the winding is kept.
            std::array<int, 3> t{a, b, c};
            if (a > b && a > c) t = {b, c, a};
            else if (c < a && c < b) t = {c, a, b};
            out.push_back(t);
            ring.erase(ring.begin() + k);
            clipped = true;
            break;
        }
        if (!clipped) {
            // Self-touching or degenerate remainder: close it with a fan.
            for (std::size_t i = 1; i + 1 < ring.size(); ++i) out.push_back({ring[0], ring[i], ring[i + 1]});
            return out;
        }
    }
    out.push_back({ring[0], ring[1], ring[2]});
    return out;
}

Vec3 snapToMicroGrid(Vec3 p) {
    auto snap = [](double v) { return std::isfinite(v) ? std::round(v * 1e6) / 1e6 : v; };
    return {snap(p.x), snap(p.y), snap(p.z)};
}

// ---- TriangleBvh

namespace {

constexpr uint32_t kLeafSize = 4;
// Surface-area splits down to this depth, medians below: at most 32 more levels.
constexpr int kSahDepth = 90;
constexpr int kStack = 128;

double surfaceArea(const Box3& b) {
    if (b.empty()) return 0;
    const Vec3 d = b.max - b.min;
    return 2 * (d.x * d.y + d.y * d.z + d.z * d.x);
}

void store(float out[3], Vec3 v) {
    out[0] = static_cast<float>(v.x);
    out[1] = static_cast<float>(v.y);
    out[2] = static_cast<float>(v.z);
}

}  // namespace

TriangleBvh::TriangleBvh(std::vector<Triangle> triangles) {
    const auto n = static_cast<uint32_t>(triangles.size());
    if (n == 0) return;
    std::vector<Box3> boxes(n);
    std::vector<Vec3> centres(n);
    std::vector<uint32_t> order(n);
    for (uint32_t i = 0; i < n; ++i) {
        const Triangle& t = triangles[i];
        boxes[i].add(t.a);
        boxes[i].add(t.b);
        boxes[i].add(t.c);
        centres[i] = (t.a + t.b + t.c) / 3.0;
        order[i] = i;
    }
    nodes_.reserve(2 * n / kLeafSize + 2);
    build(order, boxes, centres, 0, n, 0);
    tris_.resize(n);
    for (uint32_t i = 0; i < n; ++i) {
        const Triangle& t = triangles[order[i]];
        store(tris_[i].a, t.a);
        store(tris_[i].e1, t.b - t.a);
        store(tris_[i].e2, t.c - t.a);
    }
}

uint32_t TriangleBvh::build(std::vector<uint32_t>& order, std::vector<Box3>& boxes, std::vector<Vec3>& centres,
                            uint32_t begin, uint32_t end, int depth) {
    const auto index = static_cast<uint32_t>(nodes_.size());
    nodes_.push_back({});
    Box3 box, centreBox;
    for (uint32_t i = begin; i < end; ++i) {
        box.add(boxes[order[i]].min);
        box.add(boxes[order[i]].max);
        centreBox.add(centres[order[i]]);
    }
    Node node{};
    store(node.lo, box.min);
    store(node.hi, box.max);
    // Float bounds widened outwards so that rounding never loses a triangle.
    for (int k = 0; k < 3; ++k) {
        node.lo[k] = std::nextafter(node.lo[k], -INFINITY);
        node.hi[k] = std::nextafter(node.hi[k], INFINITY);
    }
    const uint32_t count = end - begin;
    const Vec3 extent = centreBox.max - centreBox.min;
    if (count <= kLeafSize || (extent.x <= 0 && extent.y <= 0 && extent.z <= 0)) {
        node.first = begin;
        node.count = count;
        nodes_[index] = node;
        return index;
    }
    // Binned surface-area split: the plane that least costs the rays crossing the
    // node; the median of the widest axis when no plane separates anything.
    constexpr int kBins = 16;
    int bestAxis = -1, bestPlane = 0;
    double bestCost = static_cast<double>(count) * surfaceArea(box);
    // Deep down only medians, which halve: the depth stays within the query's stack.
    for (int axis = 0; axis < 3 && depth < kSahDepth; ++axis) {
        if (extent[axis] <= 0) continue;
        Box3 bins[kBins];
        uint32_t counts[kBins] = {};
        const double scale = kBins / extent[axis];
        for (uint32_t i = begin; i < end; ++i) {
            const uint32_t t = order[i];
            const int b = std::min(kBins - 1, static_cast<int>((centres[t][axis] - centreBox.min[axis]) * scale));
            bins[b].add(boxes[t].min);
            bins[b].add(boxes[t].max);
            ++counts[b];
        }
        double rightArea[kBins] = {};
        uint32_t rightCount[kBins] = {};
        Box3 acc;
        uint32_t n = 0;
        for (int b = kBins - 1; b > 0; --b) {
            if (counts[b]) {
                acc.add(bins[b].min);
                acc.add(bins[b].max);
            }
            n += counts[b];
            rightArea[b] = surfaceArea(acc);
            rightCount[b] = n;
        }
        acc = Box3{};
        n = 0;
        for (int plane = 1; plane < kBins; ++plane) {
            if (counts[plane - 1]) {
                acc.add(bins[plane - 1].min);
                acc.add(bins[plane - 1].max);
            }
            n += counts[plane - 1];
            if (n == 0 || rightCount[plane] == 0) continue;
            const double cost = n * surfaceArea(acc) + rightCount[plane] * rightArea[plane];
            if (cost < bestCost) {
                bestCost = cost;
                bestAxis = axis;
                bestPlane = plane;
            }
        }
    }
    uint32_t mid = 0;
    if (bestAxis >= 0) {
        const double scale = kBins / extent[bestAxis];
        const double lo = centreBox.min[bestAxis];
        mid = static_cast<uint32_t>(
            std::partition(order.begin() + begin, order.begin() + end,
                           [&](uint32_t t) {
                               return std::min(kBins - 1, static_cast<int>((centres[t][bestAxis] - lo) * scale)) <
                                      bestPlane;
                           }) -
            order.begin());
    }
    if (bestAxis < 0 || mid == begin || mid == end) {
        if (count <= 4 * kLeafSize && bestAxis < 0 && depth < kSahDepth) {
            node.first = begin;
            node.count = count;
            nodes_[index] = node;
            return index;
        }
        const int axis = extent.x >= extent.y && extent.x >= extent.z ? 0 : extent.y >= extent.z ? 1 : 2;
        mid = begin + count / 2;
        std::nth_element(order.begin() + begin, order.begin() + mid, order.begin() + end,
                         [&](uint32_t a, uint32_t b) { return centres[a][axis] < centres[b][axis]; });
    }
    build(order, boxes, centres, begin, mid, depth + 1);
    node.first = build(order, boxes, centres, mid, end, depth + 1);
    node.count = 0;
    nodes_[index] = node;
    return index;
}

bool TriangleBvh::occluded(Vec3 origin, Vec3 dir, double tMax) const {
    if (nodes_.empty()) return false;
    const float o[3] = {static_cast<float>(origin.x), static_cast<float>(origin.y), static_cast<float>(origin.z)};
    const float d[3] = {static_cast<float>(dir.x), static_cast<float>(dir.y), static_cast<float>(dir.z)};
    float inv[3];
    for (int k = 0; k < 3; ++k) inv[k] = d[k] != 0 ? 1.0f / d[k] : (std::signbit(d[k]) ? -INFINITY : INFINITY);
    const auto limit = static_cast<float>(tMax);
    uint32_t stack[kStack];
    int top = 0;
    stack[top++] = 0;
    while (top > 0) {
        const Node& node = nodes_[stack[--top]];
        float t0 = 0, t1 = limit;
        bool miss = false;
        for (int k = 0; k < 3 && !miss; ++k) {
            float a = (node.lo[k] - o[k]) * inv[k], b = (node.hi[k] - o[k]) * inv[k];
            if (std::isnan(a) || std::isnan(b)) {
                // A ray parallel to the slab and lying on its face: inside it.
                if (o[k] < node.lo[k] || o[k] > node.hi[k]) miss = true;
                continue;
            }
            if (a > b) std::swap(a, b);
            t0 = std::max(t0, a);
            t1 = std::min(t1, b);
            miss = t0 > t1;
        }
        if (miss) continue;
        if (node.count == 0) {
            stack[top++] = node.first;
            stack[top++] = static_cast<uint32_t>(&node - nodes_.data()) + 1;
            continue;
        }
        for (uint32_t i = node.first; i < node.first + node.count; ++i) {
            const Tri& t = tris_[i];
            // Moeller-Trumbore, both faces.
            const float p[3] = {d[1] * t.e2[2] - d[2] * t.e2[1], d[2] * t.e2[0] - d[0] * t.e2[2],
                                d[0] * t.e2[1] - d[1] * t.e2[0]};
            const float det = t.e1[0] * p[0] + t.e1[1] * p[1] + t.e1[2] * p[2];
            if (det == 0) continue;
            const float invDet = 1.0f / det;
            const float s[3] = {o[0] - t.a[0], o[1] - t.a[1], o[2] - t.a[2]};
            const float u = (s[0] * p[0] + s[1] * p[1] + s[2] * p[2]) * invDet;
            if (u < 0 || u > 1) continue;
            const float q[3] = {s[1] * t.e1[2] - s[2] * t.e1[1], s[2] * t.e1[0] - s[0] * t.e1[2],
                                s[0] * t.e1[1] - s[1] * t.e1[0]};
            const float v = (d[0] * q[0] + d[1] * q[1] + d[2] * q[2]) * invDet;
            if (v < 0 || u + v > 1) continue;
            const float t_ = (t.e2[0] * q[0] + t.e2[1] * q[1] + t.e2[2] * q[2]) * invDet;
            if (t_ > 0 && t_ < limit) return true;
        }
    }
    return false;
}

}  // namespace ombrel
