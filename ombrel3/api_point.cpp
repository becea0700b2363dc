// Points of a polygon: position, texture coordinate, brightness, normal, colour.
#include "api_support.h"
#include "model.h"

#include "ombrel_ext.h"
#include "ombrel_point.h"

#include <algorithm>

using namespace ombrel;

namespace {

int32_t ownerGroup(const Point& pt) {
    const Polygon* p = lookup<Polygon>(pt.polygon);
    return p ? p->group : 0;
}

// A moved point: the owner's shape changed.
template <class F>
int32_t setter(const char* fn, int32_t point, F&& f) {
    return changeAndTouch<Point>(fn, point, touchGroup, ownerGroup, f);
}

// Texture coordinate, brightness, normal or colour: only the owner's look changed.
template <class F>
int32_t lookSetter(const char* fn, int32_t point, F&& f) {
    return changeAndTouch<Point>(fn, point, touchGroupLook, ownerGroup, f);
}

template <class T>
const T* input(const T* v) {
    if (!v) throw ApiError("no value given");
    return v;
}

}  // namespace

OMBREL_API int32_t OMBREL_point_get_xyz(int32_t point, double xyz[3]) {
    return guarded(__func__, -1, [&] {
        const Point& pt = need<Point>(point);
        if (!xyz) throw ApiError("no output given");
        pt.pos.to(xyz);
        return 0;
    });
}

OMBREL_API int32_t OMBREL_point_set_xyz(int32_t point, const double xyz[3]) {
    return setter(__func__, point, [&](Point& pt) { pt.pos = inputPosition(needFloats(xyz)); });
}

OMBREL_API int32_t OMBREL_point_get_bitmap_xy(int32_t point, double uv[2]) {
    return guarded(__func__, -1, [&] {
        const Point& pt = need<Point>(point);
        if (!uv) throw ApiError("no output given");
        uv[0] = pt.uv.x;
        uv[1] = pt.uv.y;
        return 0;
    });
}

OMBREL_API int32_t OMBREL_point_set_bitmap_xy(int32_t point, int32_t polygon, const double uv[2]) {
    // A point has exactly one owner, so the polygon argument is not needed.
    return lookSetter(__func__, point, [&](Point& pt) { pt.uv = {needFloat(input(uv)[0]), needFloat(uv[1])}; });
}

OMBREL_API double OMBREL_point_get_brightness(int32_t point) {
    return guarded(__func__, 0.0, [&] { return need<Point>(point).brightness; });
}

OMBREL_API int32_t OMBREL_point_set_brightness(int32_t point, double brightness) {
    return lookSetter(__func__, point, [&](Point& pt) { pt.brightness = needFloat(brightness); });
}

OMBREL_API int32_t OMBREL_point_set_normal(int32_t point, const double normal[3]) {
    return lookSetter(__func__, point, [&](Point& pt) {
        pt.normal = needFloats(normal);
        pt.hasNormal = !(pt.normal == Vec3{});
    });
}

OMBREL_API int32_t OMBREL_point_set_rgb(int32_t point, int32_t polygon, const uint8_t rgb[3]) {
    return lookSetter(__func__, point, [&](Point& pt) { pt.rgb = {input(rgb)[0], rgb[1], rgb[2]}; });
}

OMBREL_API int32_t OMBREL_ext_point_get_rgb(int32_t point, uint8_t rgb[3]) {
    return guarded(__func__, -1, [&] {
        const Point& pt = need<Point>(point);
        if (!rgb) throw ApiError("no output given");
        rgb[0] = pt.rgb.r;
        rgb[1] = pt.rgb.g;
        rgb[2] = pt.rgb.b;
        return 0;
    });
}

OMBREL_API int32_t OMBREL_ext_point_get_normal(int32_t point, double normal[3]) {
    return guarded(__func__, -1, [&] {
        const Point& pt = need<Point>(point);
        if (!normal) throw ApiError("no output given");
        // A point without a normal of its own answers 0 and a zero vector.
        (pt.hasNormal ? pt.normal : Vec3{}).to(normal);
        return pt.hasNormal ? 1 : 0;
    });
}

OMBREL_API int32_t OMBREL_point_get_next_point(int32_t point) {
    return guarded(__func__, 0, [&] {
        const Point& pt = need<Point>(point);
        const Polygon* p = lookup<Polygon>(pt.polygon);
        if (!p) return 0;
        auto it = std::find(p->points.begin(), p->points.end(), point);
        if (it == p->points.end() || ++it == p->points.end()) return 0;
        return *it;
    });
}

OMBREL_API int32_t OMBREL_ext_polygon_get_points(int32_t polygon, int32_t* handles, double* xyz, int32_t capacity) {
    return guarded(__func__, -1, [&] {
        const Polygon& p = need<Polygon>(polygon);
        if (capacity < 0) throw ApiError("negative capacity");
        int32_t n = 0;
        for (int32_t h : p.points) {
            const Point* q = lookup<Point>(h);
            if (!q) continue;
            if (n < capacity) {
                if (handles) handles[n] = h;
                if (xyz) q->pos.to(xyz + 3 * static_cast<std::ptrdiff_t>(n));
            }
            ++n;
        }
        return n;
    });
}
