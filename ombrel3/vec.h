// Small value types of the engine's geometry.
#pragma once

#include <cmath>
#include <cstdint>

namespace ombrel {

struct Vec2 {
    double x = 0, y = 0;
};

struct Vec3 {
    double x = 0, y = 0, z = 0;

    double& operator[](int i) { return i == 0 ? x : i == 1 ? y : z; }
    double operator[](int i) const { return i == 0 ? x : i == 1 ? y : z; }
    static Vec3 from(const double v[3]) { return {v[0], v[1], v[2]}; }
    void to(double v[3]) const { v[0] = x; v[1] = y; v[2] = z; }
};

inline Vec3 operator+(Vec3 a, Vec3 b) { return {a.x + b.x, a.y + b.y, a.z + b.z}; }
inline Vec3 operator-(Vec3 a, Vec3 b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
inline Vec3 operator-(Vec3 a) { return {-a.x, -a.y, -a.z}; }
inline Vec3 operator*(Vec3 a, double s) { return {a.x * s, a.y * s, a.z * s}; }
inline Vec3 operator*(double s, Vec3 a) { return a * s; }
inline Vec3 operator/(Vec3 a, double s) { return {a.x / s, a.y / s, a.z / s}; }
inline Vec3& operator+=(Vec3& a, Vec3 b) { return a = a + b; }
inline Vec3& operator-=(Vec3& a, Vec3 b) { return a = a - b; }
inline bool operator==(Vec3 a, Vec3 b) { return a.x == b.x && a.y == b.y && a.z == b.z; }
inline double dot(Vec3 a, Vec3 b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
inline Vec3 cross(Vec3 a, Vec3 b) {
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}
inline double length(Vec3 a) { return std::sqrt(dot(a, a)); }
inline bool finite(Vec3 a) { return std::isfinite(a.x) && std::isfinite(a.y) && std::isfinite(a.z); }
// The unit vector along a, or (0, 0, 0) for a zero vector.
inline Vec3 normalized(Vec3 a) {
    double l = length(a);
    return l > 0 ? a / l : Vec3{};
}

// A rotation or frame as three column vectors (the object's own x, y, z axes).
struct Mat3 {
    Vec3 c[3] = {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}};

    Vec3 operator*(Vec3 v) const { return c[0] * v.x + c[1] * v.y + c[2] * v.z; }
    Mat3 operator*(const Mat3& m) const { return Mat3{{*this * m.c[0], *this * m.c[1], *this * m.c[2]}}; }
    Mat3 transposed() const {
        return Mat3{{{c[0].x, c[1].x, c[2].x}, {c[0].y, c[1].y, c[2].y}, {c[0].z, c[1].z, c[2].z}}};
    }
};

// p -> m p + t.
struct Affine {
    Mat3 m;
    Vec3 t;

    Vec3 operator()(Vec3 p) const { return m * p + t; }
    // This motion followed by next.
    Affine then(const Affine& next) const { return {next.m * m, next.m * t + next.t}; }
};

struct Rgb8 {
    uint8_t r = 0, g = 0, b = 0;
};
inline bool operator==(Rgb8 a, Rgb8 b) { return a.r == b.r && a.g == b.g && a.b == b.b; }

struct Box3 {
    Vec3 min{1e300, 1e300, 1e300}, max{-1e300, -1e300, -1e300};
    bool empty() const { return min.x > max.x; }
    void add(Vec3 p) {
        if (p.x < min.x) min.x = p.x;
        if (p.y < min.y) min.y = p.y;
        if (p.z < min.z) min.z = p.z;
        if (p.x > max.x) max.x = p.x;
        if (p.y > max.y) max.y = p.y;
        if (p.z > max.z) max.z = p.z;
    }
    void add(const Box3& b) {
        if (!b.empty()) { add(b.min); add(b.max); }
    }
    Vec3 centre() const { return empty() ? Vec3{} : (min + max) * 0.5; }
    Vec3 size() const { return empty() ? Vec3{} : max - min; }
};

}  // namespace ombrel
