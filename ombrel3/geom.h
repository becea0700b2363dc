// Pure geometry on value types: polygon normals, rotations, frames, triangulation.
#pragma once

#include "vec.h"

#include <array>
#include <cstdint>
#include <vector>

namespace ombrel {

// Newell's normal of a closed polygon (not normalised): it points to the side from
// which the points run anticlockwise; its length is twice the area.
Vec3 newellNormal(const Vec3* pts, std::size_t n);
inline Vec3 newellNormal(const std::vector<Vec3>& pts) { return newellNormal(pts.data(), pts.size()); }

// Right-handed rotation by angle degrees about the unit axis (x towards y about z).
// Multiples of 90 degrees are exact.
Mat3 rotationDegrees(Vec3 axis, double degrees);

// Per-axis scale along the unit columns of frame (frame * diag(f) * frame^T).
Mat3 scaleAlong(const Mat3& frame, Vec3 f);

double determinant(const Mat3& m);
// The inverse motion; a must not flatten space (determinant not 0).
Affine inverted(const Affine& a);
// The matrix that carries surface normals under m: cofactor(m), which equals
// det(m) * m^-T and stays defined when m flattens.
Mat3 cofactor(const Mat3& m);

// A right-handed orthonormal frame whose x is along a1, built by the rule: y from a2
// made orthogonal to x, else z from a3 made orthogonal to x, else z from world z
// (world y when x is vertical). False when a1 is (practically) zero.
bool frameFromAxes(Vec3 a1, Vec3 a2, Vec3 a3, Mat3& frame);

// Triangles (index triples into pts, each in the polygon's own cyclic order, so
// winding is kept) covering a simple polygon: a fan when it is convex, ear clipping
// otherwise. normal is the polygon's Newell normal.
std::vector<std::array<int, 3>> triangulate(const std::vector<Vec3>& pts, Vec3 normal);

// Rounds each coordinate to the nearest multiple of 1e-6.
Vec3 snapToMicroGrid(Vec3 p);

// ---- occlusion queries over many triangles

// A bounding-volume hierarchy over triangles, for "is anything between these two
// points" questions. Built once, then read-only: any number of threads may query it.
// Both sides of a triangle block.
class TriangleBvh {
public:
    struct Triangle {
        Vec3 a, b, c;
    };

    TriangleBvh() = default;
    explicit TriangleBvh(std::vector<Triangle> triangles);

    std::size_t size() const { return tris_.size(); }
    // Whether a triangle crosses the ray from origin along dir (not necessarily
    // unit) at a parameter t with 0 < t < tMax.
    bool occluded(Vec3 origin, Vec3 dir, double tMax) const;

private:
    struct Tri {
        float a[3], e1[3], e2[3];
    };
    struct Node {
        float lo[3], hi[3];
        uint32_t first;  // first triangle (leaf) or right child (inner)
        uint32_t count;  // triangles of a leaf; 0 for an inner node
    };
    uint32_t build(std::vector<uint32_t>& order, std::vector<Box3>& boxes, std::vector<Vec3>& centres,
                   uint32_t begin, uint32_t end, int depth);

    std::vector<Tri> tris_;
    std::vector<Node> nodes_;
};

}  // namespace ombrel
