// The camera's frame and the perspective that rendering, projection and picking
// share, so overlays, picks and pixels agree.
#pragma once

#include "records.h"
#include "vec.h"

namespace ombrel {

// Camera axes: the camera looks along -a1, a2 points right in the image, a3 up.
struct CameraAxes {
    Vec3 a1{-1, 0, 0}, a2{0, -1, 0}, a3{0, 0, 1};
};

// Levelled frame looking along d (no roll): a3 is world z made orthogonal to the
// view, world y when d is vertical. False for a zero vector.
bool frameFromDirection(Vec3 d, CameraAxes& out);

// Orthonormalised frame keeping a1's direction (see camera_set_axis_system).
// False when a1 is zero.
bool frameFromAxes(Vec3 a1, Vec3 a2, Vec3 a3, CameraAxes& out);

// v turned by angle (radians) about the unit axis, right-handed.
Vec3 rotateAbout(Vec3 v, Vec3 axis, double angle);

// The projection of one camera onto one surface of width x height pixels.
struct View {
    Vec3 eye;
    CameraAxes axes;
    double nearDist = 1;
    double focal = 1;  // pixels: (width / 2) / tan(zoom / 2)
    int width = 0, height = 0;
    bool background = true;  // the world's background is drawn behind it

    // Camera coordinates: x right, y up, z depth in front of the eye.
    Vec3 toCamera(Vec3 world) const {
        Vec3 d = world - eye;
        return {dot(d, axes.a2), dot(d, axes.a3), -dot(d, axes.a1)};
    }
    // Screen position (y down) of a camera-space point with z > 0.
    Vec2 toScreen(Vec3 cam) const {
        return {width * 0.5 + focal * cam.x / cam.z, height * 0.5 - focal * cam.y / cam.z};
    }
    // World direction (depth 1) of the ray through screen position (sx, sy).
    Vec3 rayThrough(double sx, double sy) const {
        double x = (sx - width * 0.5) / focal, y = (height * 0.5 - sy) / focal;
        return axes.a2 * x + axes.a3 * y - axes.a1;
    }
};

View makeView(const Camera& camera, int width, int height);

}  // namespace ombrel
