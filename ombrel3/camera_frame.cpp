#include "camera_frame.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace ombrel {
namespace {

// Tolerances the standard axis views rely on: their third axis stands only
// 8e-4 rad from the first and must still count as distinct.
constexpr double kZeroAxis = 1e-12;
constexpr double kParallel = 1e-9;

bool parallelOrZero(Vec3 a, Vec3 unitA1) {
    double la = length(a);
    return la <= kZeroAxis || length(cross(a, unitA1)) <= kParallel * la;
}

}  // namespace

bool frameFromDirection(Vec3 d, CameraAxes& out) {
    double len = length(d);
    if (!(len > kZeroAxis) || !std::isfinite(len)) return false;
    Vec3 a1 = -(d / len);
    Vec3 up{0, 0, 1};
    if (parallelOrZero(up, a1)) up = {0, 1, 0};
    Vec3 a3 = normalized(up - a1 * dot(up, a1));
    out = {a1, cross(a3, a1), a3};
    return true;
}

bool frameFromAxes(Vec3 a1, Vec3 a2, Vec3 a3, CameraAxes& out) {
    double l1 = length(a1);
    if (!(l1 > kZeroAxis) || !std::isfinite(l1)) return false;
    Vec3 u1 = a1 / l1;
    Vec3 u2;
    Vec3 r2 = a2 - u1 * dot(a2, u1);
    if (length(a2) > kZeroAxis && length(r2) > kParallel * length(a2)) {
        u2 = normalized(r2);
    } else {
        Vec3 up = a3;
        if (parallelOrZero(up, u1)) up = {0, 0, 1};
        if (parallelOrZero(up, u1)) up = {0, 1, 0};
        u2 = normalized(cross(up, u1));
    }
    out = {u1, u2, cross(u1, u2)};
    return true;
}

Vec3 rotateAbout(Vec3 v, Vec3 k, double angle) {
    // Rodrigues' formula.
    double c = std::cos(angle), s = std::sin(angle);
    return v * c + cross(k, v) * s + k * (dot(k, v) * (1 - c));
}

View makeView(const Camera& camera, int width, int height) {
    View v;
    v.eye = camera.eye;
    v.axes = {camera.a1, camera.a2, camera.a3};
    v.nearDist = camera.nearDist;
    v.background = camera.showsBackground;
    v.width = width;
    v.height = height;
    double half = std::clamp(camera.zoom, 0.01, 179.9) * std::numbers::pi / 360.0;
    v.focal = width * 0.5 / std::tan(half);
    return v;
}

}  // namespace ombrel
