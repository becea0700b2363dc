// Polygons: points, fills and properties.
#include "api_support.h"
#include "destroy.h"
#include "lighting.h"
#include "model.h"

#include "ombrel_ext.h"
#include "ombrel_polygon.h"

#include <algorithm>

using namespace ombrel;

namespace {

int32_t groupOf(const Polygon& p) { return p.group; }

// A change of the polygon's shape (points, winding, whether it is drawn).
template <class F>
int32_t setter(const char* fn, int32_t polygon, F&& f) {
    return changeAndTouch<Polygon>(fn, polygon, touchGroup, groupOf, f);
}

// A change of how it looks only (fill, blending, light diminution).
template <class F>
int32_t lookSetter(const char* fn, int32_t polygon, F&& f) {
    return changeAndTouch<Polygon>(fn, polygon, touchGroupLook, groupOf, f);
}

uint8_t clampByte(int32_t v) { return static_cast<uint8_t>(std::clamp(v, 0, 255)); }

// The fill bitmap while it is still loaded.
const Bitmap* fillBitmap(const Polygon& p) {
    return p.fill == FillKind::Bitmap ? lookup<Bitmap>(p.bitmap) : nullptr;
}

int32_t transparentIndexOf(const Polygon& p) {
    const Bitmap* b = fillBitmap(p);
    return b && b->transparentIndex >= 0 && b->transparentIndex <= 255 ? b->transparentIndex : -1;
}

}  // namespace

OMBREL_API int32_t OMBREL_polygon_create(void) {
    return guarded(__func__, 0, [&] {
        needWorld();
        return createObject<Polygon>().handle;
    });
}

OMBREL_API int32_t OMBREL_polygon_delete(int32_t polygon) {
    return guarded(__func__, -1, [&] {
        need<Polygon>(polygon);
        destroyPolygon(polygon);
        return 0;
    });
}

OMBREL_API int32_t OMBREL_polygon_add_point(int32_t polygon, const double record[6]) {
    return guarded(__func__, 0, [&] {
        Polygon& p = need<Polygon>(polygon);
        if (!record) throw ApiError("no point record");
        const Vec3 at = needFloats(record);
        const double u = needFloat(record[3]), v = needFloat(record[4]), brightness = needFloat(record[5]);
        Point& pt = createObject<Point>();
        pt.polygon = polygon;
        pt.pos = inputPosition(at);
        pt.uv = {u, v};
        pt.brightness = brightness;
        p.points.push_back(pt.handle);
        touchGroup(p.group);
        return pt.handle;
    });
}

OMBREL_API int32_t OMBREL_polygon_set_group(int32_t polygon, int32_t group) {
    return guarded(__func__, -1, [&] {
        Polygon& p = need<Polygon>(polygon);
        if (group != 0) need<Group>(group);
        if (Group* old = lookup<Group>(p.group)) {
            old->polygons.erase(polygon);
            touchGroup(old->handle);
        }
        p.group = group;
        if (Group* g = lookup<Group>(group)) g->polygons.append(polygon);
        touchGroup(group);
        touchBinding(polygon);
        return 0;
    });
}

OMBREL_API int32_t OMBREL_ext_polygon_get_index(int32_t polygon) {
    return guarded(__func__, -1, [&] {
        const Polygon& p = need<Polygon>(polygon);
        const Group* g = lookup<Group>(p.group);
        if (!g) throw ApiError("the polygon is in no group");
        return static_cast<int32_t>(g->polygons.indexOf(polygon));
    });
}

OMBREL_API int32_t OMBREL_ext_polygon_set_index(int32_t polygon, int32_t index) {
    return guarded(__func__, -1, [&] {
        const Polygon& p = need<Polygon>(polygon);
        Group* g = lookup<Group>(p.group);
        if (!g) throw ApiError("the polygon is in no group");
        if (index < 0 || !g->polygons.moveTo(polygon, static_cast<std::size_t>(index)))
            throw ApiError("the place is beyond the group's polygons");
        touchGroup(g->handle);
        return 0;
    });
}

OMBREL_API int32_t OMBREL_polygon_get_group(int32_t polygon) {
    return guarded(__func__, 0, [&] {
        int32_t g = need<Polygon>(polygon).group;
        return lookup<Group>(g) ? g : 0;
    });
}

OMBREL_API int32_t OMBREL_polygon_is_in_group(int32_t polygon, int32_t group) {
    return guarded(__func__, 0, [&] {
        const Polygon& p = need<Polygon>(polygon);
        if (group == 0) return p.added ? 1 : 0;
        need<Group>(group);
        return p.group != 0 && groupContains(group, p.group) ? 1 : 0;
    });
}

OMBREL_API int32_t OMBREL_polygon_get_first_point(int32_t polygon) {
    return guarded(__func__, 0, [&] {
        const Polygon& p = need<Polygon>(polygon);
        return p.points.empty() ? 0 : p.points.front();
    });
}

OMBREL_API int32_t OMBREL_polygon_get_num_of_points(int32_t polygon) {
    return guarded(__func__, 0, [&] { return static_cast<int32_t>(need<Polygon>(polygon).points.size()); });
}

OMBREL_API int32_t OMBREL_polygon_get_next(int32_t polygon) {
    return guarded(__func__, 0, [&] {
        World& w = needWorld();
        const Polygon& p = need<Polygon>(polygon);
        int32_t scope = w.walkScope;
        bool inScope = scope == 0 ? w.polygons.contains(polygon)
                                  : lookup<Group>(scope) && p.group != 0 && groupContains(scope, p.group);
        if (inScope) return walkNext(scope, polygon);
        return p.group != 0 ? walkNext(p.group, polygon) : 0;
    });
}

OMBREL_API int32_t OMBREL_polygon_get_center(int32_t polygon, double center[3]) {
    return guarded(__func__, -1, [&] {
        std::vector<Vec3> pos = polygonPositions(need<Polygon>(polygon));
        if (pos.empty()) throw ApiError("the polygon has no points");
        if (!center) throw ApiError("no output given");
        Vec3 sum;
        for (const Vec3& v : pos) sum += v;
        (sum / static_cast<double>(pos.size())).to(center);
        return 0;
    });
}

OMBREL_API int32_t OMBREL_polygon_get_plane(int32_t polygon, double plane[4]) {
    return guarded(__func__, -1, [&] {
        const Polygon& p = need<Polygon>(polygon);
        if (!plane) throw ApiError("no output given");
        Vec3 n;
        double d;
        polygonPlane(p, n, d);
        n.to(plane);
        plane[3] = d;
        return 0;
    });
}

OMBREL_API int32_t OMBREL_polygon_is_valid(int32_t polygon) {
    return guarded(__func__, 0, [&] {
        const Polygon& p = need<Polygon>(polygon);
        Vec3 n;
        double d;
        return polygonPlane(p, n, d) ? 1 : 0;
    });
}

OMBREL_API int32_t OMBREL_polygon_set_orientation(int32_t polygon) {
    // The visible side always follows the winding; the plane is derived on demand.
    return lookSetter(__func__, polygon, [](Polygon&) {});
}

OMBREL_API int32_t OMBREL_polygon_flip_visible_side(int32_t polygon) {
    return setter(__func__, polygon, [](Polygon& p) {
        std::reverse(p.points.begin(), p.points.end());
        for (int32_t h : p.points)
            if (Point* q = lookup<Point>(h)) q->normal = -q->normal;
    });
}

OMBREL_API int32_t OMBREL_polygon_disable(int32_t polygon) {
    return setter(__func__, polygon, [](Polygon& p) { p.enabled = false; });
}

OMBREL_API int32_t OMBREL_polygon_enable(int32_t polygon) {
    return setter(__func__, polygon, [](Polygon& p) { p.enabled = true; });
}

OMBREL_API int32_t OMBREL_polygon_set_name(int32_t polygon, const char* name) {
    return guarded(__func__, -1, [&] {
        need<Polygon>(polygon).name = cutName(name);
        return 0;
    });
}

OMBREL_API int32_t OMBREL_polygon_get_handle_using_name(const char* name) {
    return guarded(__func__, 0, [&] {
        std::string wanted = name ? name : "";
        int32_t found = 0;
        needWorld().polygons.forEach([&](int32_t h) {
            const Polygon* p = lookup<Polygon>(h);
            if (!found && p && p->name == wanted) found = h;
        });
        return found;
    });
}

OMBREL_API int32_t OMBREL_polygon_get_color(int32_t polygon, int32_t* r, int32_t* g, int32_t* b) {
    return guarded(__func__, -1, [&] {
        const Polygon& p = need<Polygon>(polygon);
        if (!r || !g || !b) throw ApiError("no output given");
        *r = p.colour.r;
        *g = p.colour.g;
        *b = p.colour.b;
        return 0;
    });
}

OMBREL_API int32_t OMBREL_polygon_set_color_fill(int32_t polygon, int32_t r, int32_t g, int32_t b) {
    return lookSetter(__func__, polygon, [&](Polygon& p) {
        p.fill = FillKind::Colour;
        p.colour = {clampByte(r), clampByte(g), clampByte(b)};
        p.bitmap = p.animation = 0;
    });
}

OMBREL_API int32_t OMBREL_polygon_get_bitmap_handle(int32_t polygon) {
    return guarded(__func__, 0, [&] {
        const Bitmap* b = fillBitmap(need<Polygon>(polygon));
        return b ? b->handle : 0;
    });
}

OMBREL_API int32_t OMBREL_polygon_set_bitmap_fill(int32_t polygon, int32_t bitmap) {
    return lookSetter(__func__, polygon, [&](Polygon& p) {
        if (bitmap != 0) need<Bitmap>(bitmap);
        p.fill = bitmap ? FillKind::Bitmap : FillKind::Colour;
        p.bitmap = bitmap;
        p.animation = 0;
    });
}

OMBREL_API int32_t OMBREL_polygon_get_animation(int32_t polygon) {
    return guarded(__func__, 0, [&] {
        const Polygon& p = need<Polygon>(polygon);
        return p.fill == FillKind::Animation && lookup<Animation>(p.animation) ? p.animation : 0;
    });
}

OMBREL_API int32_t OMBREL_polygon_set_animation(int32_t polygon, int32_t animation) {
    return lookSetter(__func__, polygon, [&](Polygon& p) {
        if (animation != 0) need<Animation>(animation);
        p.fill = animation ? FillKind::Animation : FillKind::Colour;
        p.animation = animation;
        p.bitmap = 0;
    });
}

OMBREL_API int32_t OMBREL_polygon_set_second_bitmap(int32_t polygon, int32_t bitmap) {
    return lookSetter(__func__, polygon, [&](Polygon& p) {
        const Bitmap* b = bitmap ? &need<Bitmap>(bitmap) : nullptr;
        if (bitmap == p.secondBitmap) return;
        releaseOwnedLightMap(p);
        p.secondBitmap = bitmap;
        p.ownsSecond = b && b->isLightMap && b->ownerPolygon == polygon;
    });
}

OMBREL_API double OMBREL_polygon_get_light_diminution(int32_t polygon) {
    return guarded(__func__, 0.0, [&] { return need<Polygon>(polygon).diminution; });
}

OMBREL_API int32_t OMBREL_polygon_set_light_diminution(int32_t polygon, double percent) {
    return lookSetter(__func__, polygon, [&](Polygon& p) { p.diminution = needFloat(percent); });
}

OMBREL_API int32_t OMBREL_polygon_get_translucent(int32_t polygon) {
    return guarded(__func__, 0, [&] { return static_cast<int32_t>(need<Polygon>(polygon).blend); });
}

OMBREL_API int32_t OMBREL_polygon_set_translucent(int32_t polygon, int32_t code) {
    return lookSetter(__func__, polygon, [&](Polygon& p) { p.blend = static_cast<uint8_t>(code & 0xFF); });
}

OMBREL_API int32_t OMBREL_polygon_get_transparent_index(int32_t polygon) {
    return guarded(__func__, -1, [&] { return transparentIndexOf(need<Polygon>(polygon)); });
}

OMBREL_API int32_t OMBREL_polygon_get_transparent_rgb(int32_t polygon, int32_t* r, int32_t* g, int32_t* b) {
    return guarded(__func__, -1, [&] {
        const Polygon& p = need<Polygon>(polygon);
        int32_t index = transparentIndexOf(p);
        const Bitmap* bmp = fillBitmap(p);
        if (index < 0 || !bmp->image) throw ApiError("the polygon has no transparent colour");
        if (!r || !g || !b) throw ApiError("no output given");
        Rgb8 c = bmp->image->palette[static_cast<std::size_t>(index)];
        *r = c.r;
        *g = c.g;
        *b = c.b;
        return 0;
    });
}

OMBREL_API int32_t OMBREL_polygon_set_rotated(int32_t polygon, int32_t rotated) {
    return lookSetter(__func__, polygon, [&](Polygon& p) { p.rotated = rotated != 0; });
}

OMBREL_API int32_t OMBREL_polygon_is_rotated(int32_t polygon) {
    return guarded(__func__, 0, [&] { return need<Polygon>(polygon).rotated ? 1 : 0; });
}
