#include "Maths.h"

#include "CoreError.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

namespace Maths {
namespace {

double dot3(const Point3d& a, const Point3d& b) { return a[0] * b[0] + a[1] * b[1] + a[2] * b[2]; }

void needLength(std::span<const double> a, std::size_t n, const char* what) {
    if (a.size() < n) core::raiseError(std::string("Array too short for ") + what);
}

}  // namespace

void CopyVector(Point3d& dst, const Point3d& src) { dst = src; }

void SetVector(Point3d& v, double x, double y, double z) { v = {x, y, z}; }

void AddVector(Point3d& v, const Point3d& d) {
    for (int i = 0; i < 3; ++i) v[i] += d[i];
}

void VectorFromTo(const Point3d& a, const Point3d& b, Point3d& result) {
    result = {b[0] - a[0], b[1] - a[1], b[2] - a[2]};
}

void ScaleVector(Point3d& v, double factor) {
    for (double& c : v) c *= factor;
}

void NormalizeVector(const Point3d& v, Point3d& result) {
    double len = VectorLength(v);
    if (len == 0) core::raiseError("Division by zero: cannot normalise a vector of zero length");
    result = {v[0] / len, v[1] / len, v[2] / len};
}

void NegateVector(Point3d& v) {
    for (double& c : v) c = -c;
}

double AngleBetweenVectors(const Point3d& a, const Point3d& b) {
    double la = std::sqrt(dot3(a, a));
    double lb = std::sqrt(dot3(b, b));
    if (la == 0 || lb == 0) {
        core::showCriticalMessage("invalid vector");
        return 0;
    }
    double m = la * lb;
    double dot = dot3(a, b);
    if (dot / m == 0) return 90;
    // Rounding can push m^2 - dot^2 of parallel vectors just below zero.
    double y = std::sqrt(std::max(0.0, m * m - dot * dot));
    return GetAngle(dot, y) * 180 / Pi;
}

double GetAngle(double x, double y) {
    if (x == 0) return y < 0 ? ThreeHalfPiShort / 2 : PiShort / 2;
    double angle = std::atan(y / x);
    if (x < 0) angle += PiShort;
    return angle;
}

void PointAlongVector(Point3d& result, const Point3d& p, Point3d& dir, bool flag, double t, double dz) {
    if (flag) NegateVector(dir);
    Point3d r = {p[0] + t * dir[0], p[1] + t * dir[1], p[2] + t * dir[2] + dz};
    result = r;
}

void ProjectPointOnPlane(const Point3d& p, const Plane4d& plane, Point3d& result) {
    Point3d n = {plane[0], plane[1], plane[2]};
    double nn = dot3(n, n);
    if (nn == 0) core::raiseError("Division by zero: the plane has no normal");
    double k = plane[3] - dot3(p, n) / nn;
    result = {p[0] + k * n[0], p[1] + k * n[1], p[2] + k * n[2]};
}

void ClosestPointOnLine(std::span<const double> p, std::span<const double> a, std::span<const double> b,
                        std::span<double> result) {
    const std::size_t n = p.size();
    needLength(a, n, "ClosestPointOnLine");
    needLength(b, n, "ClosestPointOnLine");
    if (result.size() < n) core::raiseError("Array too short for ClosestPointOnLine");
    std::vector<double> pc(p.begin(), p.end()), ac(a.begin(), a.begin() + n), bc(b.begin(), b.begin() + n);
    double s1 = 0, s2 = 0;
    for (std::size_t i = 0; i < n; ++i) {
        s1 += (ac[i] - pc[i]) * (bc[i] - ac[i]);
        s2 += (bc[i] - pc[i]) * (bc[i] - ac[i]);
    }
    if (s2 == 0) {
        std::copy(bc.begin(), bc.end(), result.begin());
        return;
    }
    double k = -s1 / s2;
    if (1 + k == 0) return;
    for (std::size_t i = 0; i < n; ++i) result[i] = (ac[i] + k * bc[i]) / (1 + k);
}

void ClosestPointOnLine2D(const PixelPt& p, const PixelPt& a, const PixelPt& b, PixelPt& result) {
    double pd[2] = {double(p[0]), double(p[1])}, ad[2] = {double(a[0]), double(a[1])},
           bd[2] = {double(b[0]), double(b[1])};
    double rd[2] = {double(result[0]), double(result[1])};
    ClosestPointOnLine(pd, ad, bd, rd);
    for (int i = 0; i < 2; ++i) {
        double r = RoundHalfEven(rd[i]);
        if (!(r >= INT32_MIN && r <= INT32_MAX)) core::raiseError("Overflow: closest point outside the pixel range");
        result[i] = static_cast<int32_t>(r);
    }
}

double VectorLength(const Point3d& v) { return std::sqrt(dot3(v, v)); }

double DistanceFromPlane(const Point3d& p, const Plane4d& plane) {
    double len = std::sqrt(plane[0] * plane[0] + plane[1] * plane[1] + plane[2] * plane[2]);
    if (len == 0) core::raiseError("Division by zero: the plane has no normal");
    return (plane[0] * p[0] + plane[1] * p[1] + plane[2] * p[2] + plane[3]) / len;
}

void PlaneFromThreePoints(const Point3d& p0, const Point3d& p1, const Point3d& p2, Plane4d& plane) {
    const double x0 = p0[0], y0 = p0[1], z0 = p0[2];
    const double x1 = p1[0], y1 = p1[1], z1 = p1[2];
    const double x2 = p2[0], y2 = p2[1], z2 = p2[2];
    plane[0] = y0 * (z1 - z2) + y1 * (z2 - z0) + y2 * (z0 - z1);
    plane[1] = z0 * (x1 - x2) + z1 * (x2 - x0) + z2 * (x0 - x1);
    plane[2] = x0 * (y1 - y2) + x1 * (y2 - y0) + x2 * (y0 - y1);
    plane[3] = -(x0 * (y1 * z2 - y2 * z1) + x1 * (y2 * z0 - y0 * z2) + x2 * (y0 * z1 - y1 * z0));
}

double DistanceSquared(const Point3d& a, const Point3d& b) {
    double dx = a[0] - b[0], dy = a[1] - b[1], dz = a[2] - b[2];
    return dx * dx + dy * dy + dz * dz;
}

double Distance(std::span<const double> a, std::span<const double> b) {
    needLength(b, a.size(), "Distance");
    double sum = 0;
    for (std::size_t i = 0; i < a.size(); ++i) sum += (a[i] - b[i]) * (a[i] - b[i]);
    return std::sqrt(sum);
}

double Distance2D(const PixelPt& a, const PixelPt& b) {
    double dx = double(a[0]) - b[0], dy = double(a[1]) - b[1];
    return std::sqrt(dx * dx + dy * dy);
}

double ElevationAngle(const Point3d& v, const Point3d& n) { return 90 - AngleBetweenVectors(v, n); }

void RotatePoint2D(double x, double y, double angle, double& outX, double& outY) {
    double r = std::sqrt(x * x + y * y);
    double theta = GetAngle(x, y) + angle * Pi / 180;
    outX = r * std::cos(theta);
    outY = r * std::sin(theta);
}

void RotatePointAboutCenter2D(std::span<const double> p, std::span<const double> centre, double angle,
                              std::span<double> result) {
    needLength(p, 2, "RotatePointAboutCenter2D");
    needLength(centre, 2, "RotatePointAboutCenter2D");
    if (result.size() < 2) core::raiseError("Array too short for RotatePointAboutCenter2D");
    double cx = centre[0], cy = centre[1];
    double x, y;
    RotatePoint2D(p[0] - cx, p[1] - cy, angle, x, y);
    result[0] = cx + x;
    result[1] = cy + y;
}

void RotatePointAboutAxis(Point3d& p, double angle, int32_t axis, const Point3d& centre) {
    Point3d q = {p[0] - centre[0], p[1] - centre[1], p[2] - centre[2]};
    switch (axis) {
    case 0: RotatePoint2D(q[1], q[2], angle, q[1], q[2]); break;
    case 1: RotatePoint2D(q[0], q[2], -angle, q[0], q[2]); break;
    case 2: RotatePoint2D(q[0], q[1], angle, q[0], q[1]); break;
    default: break;
    }
    p = {q[0] + centre[0], q[1] + centre[1], q[2] + centre[2]};
}

// Whatever the floating-point environment says.
double RoundHalfEven(double x) {
    double lower = std::floor(x);
    double diff = x - lower;
    if (diff > 0.5) return lower + 1;
    if (diff < 0.5) return lower;
    return std::fmod(lower, 2.0) == 0 ? lower : lower + 1;
}

bool VectorsEqual(const Point3d& a, const Point3d& b) {
    for (int i = 0; i < 3; ++i)
        if (RoundHalfEven(a[i] * 1e6) != RoundHalfEven(b[i] * 1e6)) return false;
    return true;
}

bool SegmentsIntersection2D(const PixelPt& p1, const PixelPt& p2, const Point2d& q1, const Point2d& q2,
                            Point2d& result) {
    const double ax = p1[0], ay = p1[1], bx = p2[0], by = p2[1];
    const double cx = q1[0], cy = q1[1], dx = q2[0], dy = q2[1];
    double den = (bx - ax) * (dy - cy) - (by - ay) * (dx - cx);
    if (den == 0) return true;
    double t = ((ay - cy) * (dx - cx) - (ax - cx) * (dy - cy)) / den;
    double s = ((bx - ax) * (ay - cy) - (by - ay) * (ax - cx)) / den;
    if (t > 1 || t < 0 || s > 1 || s < 0) return true;
    result = {ax + t * (bx - ax), ay + t * (by - ay)};
    return false;
}

}  // namespace Maths
