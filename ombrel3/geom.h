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

}  // namespace ombrel
