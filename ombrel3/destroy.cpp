#include "destroy.h"

#include "api_support.h"
#include "lighting.h"
#include "lightmap.h"
#include "model.h"

#include <unordered_set>

namespace ombrel {

void unloadBitmapRecord(int32_t bitmap) {
    if (const Bitmap* b = lookup<Bitmap>(bitmap)) deleteRunFile(*b);
    if (World* w = state().world.get()) w->bitmaps.erase(bitmap);
    state().handles.erase(bitmap);
}

void releaseOwnedLightMap(Polygon& polygon) {
    if (polygon.ownsSecond && polygon.secondBitmap != 0) unloadBitmapRecord(polygon.secondBitmap);
    polygon.ownsSecond = false;
    polygon.secondBitmap = 0;
}

void destroyPolygon(int32_t polygon) {
    Polygon* p = lookup<Polygon>(polygon);
    if (!p) return;
    releaseOwnedLightMap(*p);
    for (int32_t pt : p->points) state().handles.erase(pt);
    p->points.clear();
    if (Group* g = lookup<Group>(p->group)) g->polygons.erase(polygon);
    touchGroup(p->group);
    if (World* w = state().world.get()) w->polygons.erase(polygon);
    state().handles.erase(polygon);
}

void destroyGroupTree(int32_t group) {
    Group* top = lookup<Group>(group);
    if (!top) return;
    World& w = needWorld();
    touchTotals(top->father);
    if (Group* father = lookup<Group>(top->father)) father->children.erase(group);
    std::vector<int32_t> doomed = subtreeGroups(group, true);
    std::unordered_set<int32_t> gone(doomed.begin(), doomed.end());
    for (int32_t gh : doomed) {
        Group* g = lookup<Group>(gh);
        if (!g) continue;
        for (int32_t ph : g->polygons.toVector()) destroyPolygon(ph);
    }
    for (int32_t gh : doomed) {
        w.groups.erase(gh);
        state().handles.erase(gh);
    }
    w.lights.forEach([&](int32_t lh) {
        if (Light* l = lookup<Light>(lh); l && gone.count(l->target)) l->target = 0;
    });
    if (gone.count(w.renderGroup)) w.renderGroup = 0;
    touchBindings();
    touchWorld();
}

}  // namespace ombrel
