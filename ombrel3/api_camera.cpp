// Cameras: list, frame, lens and the chase data the viewer program uses.
#include "api_support.h"
#include "camera_frame.h"

#include "ombrel_camera.h"
#include "ombrel_ext.h"

#include <algorithm>
#include <cmath>
#include <numbers>

using namespace ombrel;

namespace {

template <class Body>
int32_t onCamera(const char* fn, int32_t camera, Body&& body) {
    return guarded(fn, -1, [&] {
        body(need<Camera>(camera));
        return 0;
    });
}

template <class Get>
double readCamera(const char* fn, int32_t camera, Get&& get) {
    return guarded(fn, 0.0, [&] { return static_cast<double>(get(need<Camera>(camera))); });
}

int32_t writeChaseVec(const char* fn, int32_t camera, double out[3], Vec3 Chase::*field) {
    return onCamera(fn, camera, [&](Camera& c) {
        if (!out) throw ApiError("no output array");
        (c.chase.*field).to(out);
    });
}

// Turns the camera's axes (not its place) about a world axis (mode 0, 1) or the
// camera's own axis number `own` (mode 2), right-handed like group rotations.
int32_t rotateCamera(const char* fn, int32_t camera, double radians, int32_t mode, int axis) {
    return onCamera(fn, camera, [&](Camera& c) {
        if (!std::isfinite(radians)) throw ApiError("angle is not finite");
        Vec3 k;
        if (mode == 2) {
            k = axis == 0 ? c.a1 : axis == 1 ? c.a2 : c.a3;
        } else {
            k[axis] = 1;
        }
        k = normalized(k);
        CameraAxes turned;
        // Re-orthonormalise so rounding never accumulates over many small turns.
        frameFromAxes(rotateAbout(c.a1, k, radians), rotateAbout(c.a2, k, radians), rotateAbout(c.a3, k, radians),
                      turned);
        c.a1 = turned.a1;
        c.a2 = turned.a2;
        c.a3 = turned.a3;
    });
}

void setFrame(Camera& c, const CameraAxes& f) {
    c.a1 = f.a1;
    c.a2 = f.a2;
    c.a3 = f.a3;
}

constexpr double kDegree = std::numbers::pi / 180.0;

}  // namespace

OMBREL_API int32_t OMBREL_camera_create(const char* name) {
    return guarded(__func__, 0, [&] {
        World& w = needWorld();
        Camera& c = createObject<Camera>();
        c.name = cutName(name);
        setFrame(c, CameraAxes{});
        c.zoom = 60;
        c.nearDist = 1;
        c.chase.softness = 0.1;
        c.chase.speed = 200;
        c.chase.elasticity = 0.5;
        c.chase.maxSpeed = 200;
        w.cameras.append(c.handle);
        return c.handle;
    });
}

OMBREL_API int32_t OMBREL_camera_delete(int32_t camera) {
    return guarded(__func__, -1, [&] {
        need<Camera>(camera);
        World& w = needWorld();
        w.cameras.erase(camera);
        if (w.currentCamera == camera) w.currentCamera = 0;
        state().handles.erase(camera);
        return 0;
    });
}

OMBREL_API int32_t OMBREL_camera_get_first_camera(void) {
    World* w = state().world.get();
    return w ? w->cameras.first() : 0;
}

OMBREL_API int32_t OMBREL_camera_get_next_camera(int32_t camera) {
    return guarded(__func__, 0, [&] {
        need<Camera>(camera);
        return needWorld().cameras.next(camera);
    });
}

OMBREL_API int32_t OMBREL_camera_get_using_name(const char* name) {
    return guarded(__func__, 0, [&] {
        World* w = state().world.get();
        if (!w || !name) return 0;
        int32_t found = 0;
        std::string key = cutName(name);
        w->cameras.forEach([&](int32_t h) {
            if (found == 0 && lookup<Camera>(h) && lookup<Camera>(h)->name == key) found = h;
        });
        return found;
    });
}

OMBREL_API int32_t OMBREL_camera_set_name(int32_t camera, const char* name) {
    return onCamera(__func__, camera, [&](Camera& c) { c.name = cutName(name); });
}

OMBREL_API int32_t OMBREL_camera_get_save_flag(int32_t camera) {
    return guarded(__func__, 0, [&] { return need<Camera>(camera).save ? 1 : 0; });
}

OMBREL_API int32_t OMBREL_camera_set_save_flag(int32_t camera, int32_t flag) {
    return onCamera(__func__, camera, [&](Camera& c) { c.save = flag != 0; });
}

OMBREL_API int32_t OMBREL_camera_get_current(void) {
    World* w = state().world.get();
    return w && lookup<Camera>(w->currentCamera) ? w->currentCamera : 0;
}

OMBREL_API int32_t OMBREL_camera_set_current(int32_t camera, int32_t window) {
    return guarded(__func__, -1, [&] {
        need<Camera>(camera);
        need<Surface>(window);
        World& w = needWorld();
        w.currentCamera = camera;
        w.currentSurface = window;
        return 0;
    });
}

OMBREL_API int32_t OMBREL_camera_get_location(int32_t camera, double* x, double* y, double* z) {
    return onCamera(__func__, camera, [&](Camera& c) {
        if (x) *x = c.eye.x;
        if (y) *y = c.eye.y;
        if (z) *z = c.eye.z;
    });
}

OMBREL_API int32_t OMBREL_camera_set_location(int32_t camera, double x, double y, double z) {
    return onCamera(__func__, camera, [&](Camera& c) { c.eye = needFloats({x, y, z}); });
}

OMBREL_API int32_t OMBREL_camera_get_location1(int32_t camera, double location[3]) {
    return onCamera(__func__, camera, [&](Camera& c) {
        if (!location) throw ApiError("no output array");
        c.eye.to(location);
    });
}

OMBREL_API int32_t OMBREL_camera_set_location1(int32_t camera, const double location[3]) {
    return onCamera(__func__, camera, [&](Camera& c) { c.eye = needFloats(location); });
}

OMBREL_API int32_t OMBREL_camera_get_direction(int32_t camera, double* x, double* y, double* z) {
    return onCamera(__func__, camera, [&](Camera& c) {
        if (x) *x = -c.a1.x;
        if (y) *y = -c.a1.y;
        if (z) *z = -c.a1.z;
    });
}

OMBREL_API int32_t OMBREL_camera_set_direction(int32_t camera, double x, double y, double z) {
    return onCamera(__func__, camera, [&](Camera& c) {
        CameraAxes f;
        if (!frameFromDirection(needFloats({x, y, z}), f)) throw ApiError("zero direction");
        setFrame(c, f);
    });
}

OMBREL_API int32_t OMBREL_camera_get_direction1(int32_t camera, double direction[3]) {
    return onCamera(__func__, camera, [&](Camera& c) {
        if (!direction) throw ApiError("no output array");
        (-c.a1).to(direction);
    });
}

OMBREL_API int32_t OMBREL_camera_set_direction1(int32_t camera, const double direction[3]) {
    return onCamera(__func__, camera, [&](Camera& c) {
        CameraAxes f;
        if (!frameFromDirection(needFloats(direction), f)) throw ApiError("zero direction");
        setFrame(c, f);
    });
}

OMBREL_API int32_t OMBREL_camera_get_axis_system(int32_t camera, double a1[3], double a2[3], double a3[3]) {
    return onCamera(__func__, camera, [&](Camera& c) {
        if (!a1 || !a2 || !a3) throw ApiError("no output array");
        // Callers may pass one array three times: copy first, then write in order.
        Vec3 v1 = c.a1, v2 = c.a2, v3 = c.a3;
        v1.to(a1);
        v2.to(a2);
        v3.to(a3);
    });
}

OMBREL_API int32_t OMBREL_camera_set_axis_system(int32_t camera, const double a1[3], const double a2[3],
                                                 const double a3[3]) {
    return onCamera(__func__, camera, [&](Camera& c) {
        CameraAxes f;
        if (!frameFromAxes(needFloats(a1), needFloats(a2), needFloats(a3), f)) throw ApiError("zero first axis");
        setFrame(c, f);
    });
}

OMBREL_API int32_t OMBREL_camera_move(int32_t camera, int32_t mode, double x, double y, double z) {
    return onCamera(__func__, camera, [&](Camera& c) {
        Vec3 by = needFloats({x, y, z});
        c.eye += mode == 2 ? c.a1 * by.x + c.a2 * by.y + c.a3 * by.z : by;
    });
}

OMBREL_API int32_t OMBREL_camera_rotate_x(int32_t camera, double angle_degrees, int32_t mode) {
    return rotateCamera(__func__, camera, angle_degrees * kDegree, mode, 0);
}

OMBREL_API int32_t OMBREL_camera_rotate_y(int32_t camera, double angle_degrees, int32_t mode) {
    return rotateCamera(__func__, camera, angle_degrees * kDegree, mode, 1);
}

OMBREL_API int32_t OMBREL_camera_rotate_z(int32_t camera, double angle_degrees, int32_t mode) {
    return rotateCamera(__func__, camera, angle_degrees * kDegree, mode, 2);
}

OMBREL_API int32_t OMBREL_camera_rotate_x_radians(int32_t camera, double angle_radians, int32_t mode) {
    return rotateCamera(__func__, camera, angle_radians, mode, 0);
}

OMBREL_API double OMBREL_camera_get_zoom(int32_t camera) {
    return readCamera(__func__, camera, [](Camera& c) { return c.zoom; });
}

OMBREL_API int32_t OMBREL_camera_set_zoom(int32_t camera, double fov_degrees) {
    return onCamera(__func__, camera, [&](Camera& c) {
        c.zoom = std::clamp(needFloat(fov_degrees), 0.01, 179.9);
    });
}

OMBREL_API double OMBREL_camera_get_distance_from_eye(int32_t camera) {
    return readCamera(__func__, camera, [](Camera& c) { return c.nearDist; });
}

OMBREL_API int32_t OMBREL_camera_set_distance_from_eye(int32_t camera, double distance) {
    return onCamera(__func__, camera, [&](Camera& c) {
        c.nearDist = std::max(needFloat(distance), 1e-6);
    });
}

OMBREL_API int32_t OMBREL_camera_get_chase_type(int32_t camera) {
    return guarded(__func__, 0, [&] { return need<Camera>(camera).chase.type; });
}

OMBREL_API int32_t OMBREL_camera_set_chase_type(int32_t camera, int32_t chase_type) {
    return onCamera(__func__, camera, [&](Camera& c) { c.chase.type = chase_type; });
}

OMBREL_API double OMBREL_camera_get_chase_distance(int32_t camera) {
    return readCamera(__func__, camera, [](Camera& c) { return c.chase.distance; });
}

OMBREL_API int32_t OMBREL_camera_set_chase_distance(int32_t camera, double distance) {
    return onCamera(__func__, camera, [&](Camera& c) { c.chase.distance = needFloat(distance); });
}

OMBREL_API double OMBREL_camera_get_chase_softness(int32_t camera) {
    return readCamera(__func__, camera, [](Camera& c) { return c.chase.softness; });
}

OMBREL_API int32_t OMBREL_camera_set_chase_softness(int32_t camera, double softness) {
    return onCamera(__func__, camera, [&](Camera& c) { c.chase.softness = needFloat(softness); });
}

OMBREL_API int32_t OMBREL_camera_get_chase_offset(int32_t camera, double offset[3]) {
    return writeChaseVec(__func__, camera, offset, &Chase::offset);
}

OMBREL_API int32_t OMBREL_camera_set_chase_offset(int32_t camera, const double offset[3]) {
    return onCamera(__func__, camera, [&](Camera& c) { c.chase.offset = needFloats(offset); });
}

OMBREL_API int32_t OMBREL_camera_set_name_to_chase(int32_t camera, const char* name) {
    return onCamera(__func__, camera, [&](Camera& c) {
        std::string n = cutName(name);
        c.chase.nameToChase = n == "NO_CHASE" ? std::string() : n;
    });
}

OMBREL_API double OMBREL_camera_get_absolute_speed(int32_t camera) {
    return readCamera(__func__, camera, [](Camera& c) { return c.chase.speed; });
}

OMBREL_API int32_t OMBREL_camera_set_absolute_speed(int32_t camera, double speed) {
    return onCamera(__func__, camera, [&](Camera& c) { c.chase.speed = needFloat(speed); });
}

OMBREL_API int32_t OMBREL_camera_set_track(int32_t camera, int32_t track) {
    return onCamera(__func__, camera, [&](Camera& c) {
        if (track != 0) need<Track>(track);
        c.chase.track = track;
    });
}

OMBREL_API int32_t OMBREL_camera_get_track_handle(int32_t camera) {
    return guarded(__func__, 0, [&] {
        const Camera& c = need<Camera>(camera);
        return lookup<Track>(c.chase.track) ? c.chase.track : 0;
    });
}

OMBREL_API int32_t OMBREL_camera_get_track_offset(int32_t camera, double offset[3]) {
    return writeChaseVec(__func__, camera, offset, &Chase::trackOffset);
}

OMBREL_API int32_t OMBREL_camera_set_track_offset(int32_t camera, const double offset[3]) {
    return onCamera(__func__, camera, [&](Camera& c) { c.chase.trackOffset = needFloats(offset); });
}

OMBREL_API int32_t OMBREL_camera_get_force(int32_t camera, double force[3]) {
    return writeChaseVec(__func__, camera, force, &Chase::force);
}

OMBREL_API int32_t OMBREL_camera_set_force(int32_t camera, const double force[3]) {
    return onCamera(__func__, camera, [&](Camera& c) { c.chase.force = needFloats(force); });
}

OMBREL_API double OMBREL_camera_get_friction(int32_t camera) {
    return readCamera(__func__, camera, [](Camera& c) { return c.chase.friction; });
}

OMBREL_API int32_t OMBREL_camera_set_friction(int32_t camera, double friction) {
    return onCamera(__func__, camera, [&](Camera& c) { c.chase.friction = needFloat(friction); });
}

OMBREL_API double OMBREL_camera_get_elasticity(int32_t camera) {
    return readCamera(__func__, camera, [](Camera& c) { return c.chase.elasticity; });
}

OMBREL_API int32_t OMBREL_camera_set_elasticity(int32_t camera, double elasticity) {
    return onCamera(__func__, camera, [&](Camera& c) { c.chase.elasticity = needFloat(elasticity); });
}

OMBREL_API double OMBREL_camera_get_max_speed(int32_t camera) {
    return readCamera(__func__, camera, [](Camera& c) { return c.chase.maxSpeed; });
}

OMBREL_API int32_t OMBREL_camera_set_max_speed(int32_t camera, double max_speed) {
    return onCamera(__func__, camera, [&](Camera& c) { c.chase.maxSpeed = needFloat(max_speed); });
}

OMBREL_API int32_t OMBREL_ext_camera_set_background_shown(int32_t camera, int32_t shown) {
    return onCamera(__func__, camera, [&](Camera& c) { c.showsBackground = shown != 0; });
}
