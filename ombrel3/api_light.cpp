// Lights: parameters stored exactly, and their binding to the polygons they light.
#include "api_support.h"
#include "lighting.h"
#include "lightmap.h"
#include "world_lists.h"

#include "ombrel_light.h"

#include <cmath>

using namespace ombrel;

namespace {

template <class Body>
int32_t setLight(const char* fn, int32_t light, Body&& body) {
    return guarded(fn, -1, [&] {
        body(need<Light>(light));
        touchLighting();  // light maps read every setting
        return 0;
    });
}

// A change of what an auto-update light binds to (state, save flag, target).
template <class Body>
int32_t setBinding(const char* fn, int32_t light, Body&& body) {
    return guarded(fn, -1, [&] {
        body(need<Light>(light));
        touchBindings();
        return 0;
    });
}

template <class Ret, class Get>
Ret getLight(const char* fn, int32_t light, Ret failure, Get&& get) {
    return guarded(fn, failure, [&] { return static_cast<Ret>(get(need<Light>(light))); });
}

void needOut(const void* p) {
    if (!p) throw ApiError("no output given");
}

}  // namespace

OMBREL_API int32_t OMBREL_light_create(const char* name, const double location[3]) {
    return guarded(__func__, 0, [&] {
        World& w = needWorld();
        Light& l = createObject<Light>();
        l.name = cutName(name);
        if (location) l.pos = needFloats(location);
        l.dir = {0, 0, -1};
        l.rgb = {255, 255, 255};
        l.type = OMBREL_LIGHT_DEFAULT;
        l.ambient = 0.2;
        l.diffuse = 0.8;
        l.specular = 0.3;
        l.shine = 20;
        l.reach = 5000;
        l.disabled = false;
        l.rayTracing = true;
        l.autoUpdate = 1;
        l.target = 0;
        l.save = true;
        w.lights.append(l.handle);
        touchBindings();
        return l.handle;
    });
}

OMBREL_API int32_t OMBREL_light_delete(int32_t light) {
    return guarded(__func__, -1, [&] {
        need<Light>(light);
        unbindLight(light);
        destroyListed(needWorld().lights, light);
        return 0;
    });
}

OMBREL_API int32_t OMBREL_light_get_first_light(void) {
    return guarded(__func__, 0, [&] {
        const World& w = needWorld();
        return firstSavedFrom<Light>(w.lights, w.lights.first());
    });
}

OMBREL_API int32_t OMBREL_light_get_next_light(int32_t light) {
    return guarded(__func__, 0, [&] {
        need<Light>(light);
        const World& w = needWorld();
        return firstSavedFrom<Light>(w.lights, w.lights.next(light));
    });
}

OMBREL_API int32_t OMBREL_light_get_using_name(const char* name) {
    return guarded(__func__, 0, [&] { return firstNamed<Light>(needWorld().lights, name); });
}

OMBREL_API int32_t OMBREL_light_set_name(int32_t light, const char* name) {
    return setLight(__func__, light, [&](Light& l) { l.name = cutName(name); });
}

OMBREL_API int32_t OMBREL_light_set_save_flag(int32_t light, int32_t flag) {
    return setBinding(__func__, light, [&](Light& l) { l.save = flag != 0; });
}

OMBREL_API int32_t OMBREL_light_get_location(int32_t light, double location[3]) {
    return setLight(__func__, light, [&](Light& l) {
        needOut(location);
        l.pos.to(location);
    });
}

OMBREL_API int32_t OMBREL_light_set_location(int32_t light, const double location[3]) {
    return setLight(__func__, light, [&](Light& l) {
        l.pos = needFloats(location);
    });
}

OMBREL_API int32_t OMBREL_light_get_direction(int32_t light, double direction[3]) {
    return setLight(__func__, light, [&](Light& l) {
        needOut(direction);
        l.dir.to(direction);
    });
}

OMBREL_API int32_t OMBREL_light_set_direction(int32_t light, const double direction[3]) {
    return setLight(__func__, light, [&](Light& l) {
        Vec3 d = needFloats(direction);
        double len = length(d);
        if (!(len > 0) || !std::isfinite(len)) throw ApiError("a light direction needs a non-zero finite vector");
        l.dir = d / len;
    });
}

OMBREL_API int32_t OMBREL_light_get_color(int32_t light, uint8_t rgb[3]) {
    return setLight(__func__, light, [&](Light& l) {
        needOut(rgb);
        rgb[0] = l.rgb.r;
        rgb[1] = l.rgb.g;
        rgb[2] = l.rgb.b;
    });
}

OMBREL_API int32_t OMBREL_light_set_color(int32_t light, const uint8_t rgb[3]) {
    return setLight(__func__, light, [&](Light& l) {
        needOut(rgb);
        l.rgb = {rgb[0], rgb[1], rgb[2]};
    });
}

OMBREL_API double OMBREL_light_get_ambient(int32_t light) {
    return getLight(__func__, light, 0.0, [](Light& l) { return l.ambient; });
}
OMBREL_API int32_t OMBREL_light_set_ambient(int32_t light, double value) {
    return setLight(__func__, light, [&](Light& l) { l.ambient = needFloat(value); });
}
OMBREL_API double OMBREL_light_get_diffuse(int32_t light) {
    return getLight(__func__, light, 0.0, [](Light& l) { return l.diffuse; });
}
OMBREL_API int32_t OMBREL_light_set_diffuse(int32_t light, double value) {
    return setLight(__func__, light, [&](Light& l) { l.diffuse = needFloat(value); });
}
OMBREL_API double OMBREL_light_get_specular(int32_t light) {
    return getLight(__func__, light, 0.0, [](Light& l) { return l.specular; });
}
OMBREL_API int32_t OMBREL_light_set_specular(int32_t light, double value) {
    return setLight(__func__, light, [&](Light& l) { l.specular = needFloat(value); });
}
// Stored as given; lighting uses a negative exponent as 0.
OMBREL_API double OMBREL_light_get_specular_shining(int32_t light) {
    return getLight(__func__, light, 0.0, [](Light& l) { return l.shine; });
}
OMBREL_API int32_t OMBREL_light_set_specular_shining(int32_t light, double value) {
    return setLight(__func__, light, [&](Light& l) { l.shine = needFloat(value); });
}
OMBREL_API double OMBREL_light_get_distance_reach(int32_t light) {
    return getLight(__func__, light, 0.0, [](Light& l) { return l.reach; });
}
OMBREL_API int32_t OMBREL_light_set_distance_reach(int32_t light, double value) {
    return setLight(__func__, light, [&](Light& l) { l.reach = needFloat(value); });
}

OMBREL_API int32_t OMBREL_light_get_type_of_light(int32_t light) {
    return getLight(__func__, light, 0, [](Light& l) { return l.type; });
}
OMBREL_API int32_t OMBREL_light_set_type_of_light(int32_t light, int32_t flags) {
    return setLight(__func__, light, [&](Light& l) { l.type = flags; });
}

OMBREL_API int32_t OMBREL_light_disable(int32_t light, int32_t disable) {
    return setBinding(__func__, light, [&](Light& l) { l.disabled = disable != 0; });
}
OMBREL_API int32_t OMBREL_light_is_disabled(int32_t light) {
    return getLight(__func__, light, 0, [](Light& l) { return l.disabled ? 1 : 0; });
}

OMBREL_API int32_t OMBREL_light_set_ray_tracing(int32_t light, int32_t on) {
    return setLight(__func__, light, [&](Light& l) { l.rayTracing = on != 0; });
}
OMBREL_API int32_t OMBREL_light_is_ray_tracing(int32_t light) {
    return getLight(__func__, light, 0, [](Light& l) { return l.rayTracing ? 1 : 0; });
}

OMBREL_API int32_t OMBREL_light_activate(int32_t light, int32_t /*reserved*/) {
    return setLight(__func__, light, [&](Light& l) { activateLight(l); });
}

OMBREL_API int32_t OMBREL_light_activate_before_each_render(int32_t light, int32_t on, int32_t /*reserved*/) {
    return setBinding(__func__, light, [&](Light& l) { l.autoUpdate = on; });
}

OMBREL_API int32_t OMBREL_light_is_activated_before_render(int32_t light, int32_t* on) {
    return getLight(__func__, light, 0, [&](Light& l) {
        if (on) *on = l.autoUpdate;
        return l.autoUpdate != 0 ? 1 : 0;
    });
}

OMBREL_API int32_t OMBREL_light_get_entity_to_light(int32_t light) {
    return getLight(__func__, light, 0, [](Light& l) { return lightTarget(l); });
}

OMBREL_API int32_t OMBREL_light_set_entity_to_light(int32_t light, int32_t group) {
    return setBinding(__func__, light, [&](Light& l) {
        if (group != 0) need<Group>(group);
        l.target = group;
    });
}

OMBREL_API int32_t OMBREL_light_calcualte_vertices_normals_automatically(int32_t mode) {
    return guarded(__func__, -1, [&] {
        if (mode < 0 || mode > 2) throw ApiError("unknown normals mode " + std::to_string(mode));
        state().normalsMode = mode;
        return 0;
    });
}
