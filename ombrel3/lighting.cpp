#include "lighting.h"

#include "all_polygons.h"
#include "api_support.h"
#include "model.h"

#include <algorithm>
#include <vector>

namespace ombrel {
namespace {

// Called only for a light just unbound everywhere: a walk lists each polygon
// once, so no list needs searching (with many lights that search was the cost).
void bindToWalk(const Light& light) {
    for (int32_t h : walkPolygons(lightTarget(light)))
        if (Polygon* p = lookup<Polygon>(h)) p->lights.push_back(light.handle);
}

// Sorted once: every polygon's list is checked against all the lights.
void unbindAll(std::vector<int32_t> lights) {
    std::sort(lights.begin(), lights.end());
    forEachPolygon([&](Polygon& p) {
        std::erase_if(p.lights, [&](int32_t l) { return std::binary_search(lights.begin(), lights.end(), l); });
    });
}

}  // namespace

int32_t lightTarget(const Light& light) { return lookup<Group>(light.target) ? light.target : 0; }

void activateLight(const Light& light) {
    unbindAll({light.handle});
    bindToWalk(light);
}

void unbindLight(int32_t light) { unbindAll({light}); }

void rebindAutoUpdateLights() {
    World* w = state().world.get();
    if (!w) return;
    std::vector<int32_t> autoLights, lit;
    w->lights.forEach([&](int32_t h) {
        const Light* l = lookup<Light>(h);
        if (!l || l->autoUpdate == 0) return;
        autoLights.push_back(h);
        // A switched-off or unsaved (deleted) light lights nothing, as after a reload.
        if (!l->disabled && l->save) lit.push_back(h);
    });
    if (autoLights.empty()) return;
    // One sweep for all of them, then each binds to its own walk.
    unbindAll(autoLights);
    for (int32_t h : lit) bindToWalk(*lookup<Light>(h));
}

}  // namespace ombrel
