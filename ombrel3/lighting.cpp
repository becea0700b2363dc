#include "lighting.h"

#include "all_polygons.h"
#include "api_support.h"
#include "lightmap.h"
#include "model.h"

#include <algorithm>
#include <unordered_map>
#include <vector>

namespace ombrel {
namespace {

// Past this many marked polygons one sweep of the world is cheaper.
constexpr std::size_t kMaxMarked = 1u << 16;

// Called only for a light just unbound everywhere: a walk lists each polygon
// once, so no list needs searching.
void bindToWalk(const Light& light) {
    for (int32_t h : walkPolygons(lightTarget(light)))
        if (Polygon* p = lookup<Polygon>(h)) {
            p->lights.push_back(light.handle);
            touchGroupLook(p->group);
            touchLighting();
        }
}

void unbindAll(std::vector<int32_t> lights) {
    std::sort(lights.begin(), lights.end());
    forEachPolygon([&](Polygon& p) {
        if (p.lights.eraseIf([&](int32_t l) { return std::binary_search(lights.begin(), lights.end(), l); })) {
            touchGroupLook(p.group);
            touchLighting();
        }
    });
}

// The auto-update lights of the world as one re-binding sees them.
class AutoLights {
public:
    explicit AutoLights(const World& w) : world_(w) {
        w.lights.forEach([&](int32_t h) {
            const Light* l = lookup<Light>(h);
            if (!l || l->autoUpdate == 0) return;
            all_.push_back(h);
            if (!l->disabled && l->save) lit_.push_back({h, lightTarget(*l)});
        });
        std::sort(all_.begin(), all_.end());
    }

    bool none() const { return all_.empty(); }

    // The polygon's lights as a re-binding leaves them: its other lights as they
    // were, then the lit auto-update lights whose walk holds it, in world order.
    // Marks the group's look when that changes anything.
    void rebind(Polygon& p) {
        SmallHandles<2> fresh;
        for (int32_t l : p.lights)
            if (!std::binary_search(all_.begin(), all_.end(), l)) fresh.push_back(l);
        for (const Lit& l : lit_)
            if (inWalk(l.target, p)) fresh.push_back(l.handle);
        if (std::equal(fresh.begin(), fresh.end(), p.lights.begin(), p.lights.end())) return;
        p.lights = std::move(fresh);
        touchGroupLook(p.group);
        touchLighting();
    }

    // Whether any light re-binding visits the polygon: in the world list or in a group's.
    bool reachable(int32_t h, const Polygon& p) const {
        if (world_.polygons.contains(h)) return true;
        const Group* g = lookup<Group>(p.group);
        return g && g->polygons.contains(h);
    }

private:
    struct Lit {
        int32_t handle, target;
    };

    bool inWalk(int32_t target, const Polygon& p) {
        if (target == 0) return world_.polygons.contains(p.handle);
        const Group* g = lookup<Group>(p.group);
        if (!g || !g->polygons.contains(p.handle)) return false;
        uint64_t key = static_cast<uint64_t>(static_cast<uint32_t>(target)) << 32 | static_cast<uint32_t>(p.group);
        auto it = inside_.find(key);
        if (it == inside_.end()) it = inside_.emplace(key, groupContains(target, p.group)).first;
        return it->second;
    }

    const World& world_;
    std::vector<int32_t> all_;  // the auto-update lights, sorted for look-ups
    std::vector<Lit> lit_;
    std::unordered_map<uint64_t, bool> inside_;
};

}  // namespace

int32_t lightTarget(const Light& light) { return lookup<Group>(light.target) ? light.target : 0; }

void activateLight(const Light& light) {
    unbindAll({light.handle});
    bindToWalk(light);
    touchBindings();  // the auto-update lights go back after it
}

void unbindLight(int32_t light) {
    unbindAll({light});
    touchBindings();
}

void touchBindings() {
    touchLighting();
    if (World* w = state().world.get()) {
        w->rebindAll = true;
        w->rebindPolygons.clear();
    }
}

void touchBinding(int32_t polygon) {
    touchLighting();
    World* w = state().world.get();
    if (!w || w->rebindAll) return;
    if (w->rebindPolygons.size() >= kMaxMarked)
        touchBindings();
    else
        w->rebindPolygons.push_back(polygon);
}

void rebindAutoUpdateLights() {
    World* w = state().world.get();
    if (!w || (!w->rebindAll && w->rebindPolygons.empty())) return;
    AutoLights lights(*w);
    if (w->rebindAll) {
        if (!lights.none()) forEachPolygon([&](Polygon& p) { lights.rebind(p); });
    } else {
        for (int32_t h : w->rebindPolygons)
            if (Polygon* p = lookup<Polygon>(h); p && lights.reachable(h, *p)) lights.rebind(*p);
    }
    w->rebindAll = false;
    w->rebindPolygons.clear();
}

}  // namespace ombrel
