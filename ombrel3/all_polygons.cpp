#include "all_polygons.h"

#include "api_support.h"

namespace ombrel {

void forEachPolygon(const std::function<void(Polygon&)>& f) {
    World* w = state().world.get();
    if (!w) return;
    w->polygons.forEach([&](int32_t h) {
        if (Polygon* p = lookup<Polygon>(h)) f(*p);
    });
    // Added polygons were visited above; the rest are reached through their group.
    w->groups.forEach([&](int32_t gh) {
        const Group* g = lookup<Group>(gh);
        if (!g) return;
        g->polygons.forEach([&](int32_t h) {
            Polygon* p = lookup<Polygon>(h);
            if (p && !w->polygons.contains(h)) f(*p);
        });
    });
}

}  // namespace ombrel
