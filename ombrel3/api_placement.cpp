// Where an entity stands and how it is turned, read and written back exactly:
// what a host keeps to give back a transform without turning by the inverse.
#include "api_support.h"
#include "lightmap.h"
#include "model.h"
#include "records.h"

#include "ombrel_ext.h"

#include <climits>
#include <vector>

namespace ombrel {
namespace {

// Reads (Out) or writes (In) each value in one fixed order.
template <class Visit>
void visitGroupTree(Group& top, Visit&& v) {
    for (int32_t gh : subtreeGroups(top.handle, true)) {
        Group* g = lookup<Group>(gh);
        if (!g) continue;
        v(g->pivot);
        v(g->origin);
        for (Vec3& axis : g->axes.c) v(axis);
        g->polygons.forEach([&](int32_t ph) {
            Polygon* p = lookup<Polygon>(ph);
            if (!p) return;
            v(p->mapOrigin);
            v(p->mapU);
            v(p->mapV);
            for (int32_t pt : p->points)
                if (Point* q = lookup<Point>(pt)) {
                    v(q->pos);
                    v(q->normal);
                }
        });
    }
}

template <class Visit>
bool visitPlacement(int32_t handle, Visit&& v) {
    switch (state().handles.kindOf(handle)) {
    case Kind::Group: visitGroupTree(need<Group>(handle), v); return true;
    case Kind::Camera: {
        Camera& c = need<Camera>(handle);
        for (Vec3* p : {&c.eye, &c.a1, &c.a2, &c.a3}) v(*p);
        return true;
    }
    case Kind::Light: {
        Light& l = need<Light>(handle);
        v(l.pos);
        v(l.dir);
        return true;
    }
    case Kind::Track:
        for (Vec3& p : need<Track>(handle).pts) v(p);
        return true;
    default: return false;
    }
}

// How many numbers visitPlacement gives, from the kept totals (a group costs a
// walk of its sub-groups, not of its points): 5 vectors per group, 3 per
// polygon and 2 per live point.
std::size_t placementSize(int32_t handle) {
    switch (state().handles.kindOf(handle)) {
    case Kind::Group: {
        const Group& g = need<Group>(handle);
        const SubtreeTotals& t = subtreeTotals(g);
        const std::size_t groups = subtreeGroups(handle, true).size();
        return 3 * (5 * groups + 3 * static_cast<std::size_t>(t.polygonCount) + 2 * static_cast<std::size_t>(t.pointCount));
    }
    case Kind::Camera: return 12;
    case Kind::Light: return 6;
    case Kind::Track: return 3 * need<Track>(handle).pts.size();
    default: throw ApiError("handle " + std::to_string(handle) + " is no group, camera, light or track");
    }
}

}  // namespace
}  // namespace ombrel

using namespace ombrel;

OMBREL_API int32_t OMBREL_ext_get_placement(int32_t handle, double* values, int32_t capacity) {
    return guarded(__func__, -1, [&] {
        if (capacity > 0 && !values) throw ApiError("no output given");
        // Asked only how many: the totals tell without a walk of the points.
        if (capacity <= 0) {
            const std::size_t size = placementSize(handle);
            if (size > static_cast<std::size_t>(INT32_MAX)) throw ApiError("the placement holds too many numbers");
            return static_cast<int32_t>(size);
        }
        int32_t n = 0;
        const bool known = visitPlacement(handle, [&](Vec3& p) {
            if (n + 3 <= capacity) p.to(values + n);
            n += 3;
        });
        if (!known) throw ApiError("handle " + std::to_string(handle) + " is no group, camera, light or track");
        return n;
    });
}

OMBREL_API int32_t OMBREL_ext_set_placement(int32_t handle, const double* values, int32_t count) {
    return guarded(__func__, -1, [&] {
        if (count > 0 && !values) throw ApiError("no values given");
        int32_t needed = 0;
        if (!visitPlacement(handle, [&](Vec3&) { needed += 3; }))
            throw ApiError("handle " + std::to_string(handle) + " is no group, camera, light or track");
        // Values read before the entity gained or lost points fit it no longer.
        if (needed != count)
            throw ApiError(std::to_string(count) + " values given where " + std::to_string(needed) + " are needed");
        for (int32_t i = 0; i < count; ++i) needFloat(values[i]);
        int32_t n = 0;
        visitPlacement(handle, [&](Vec3& p) {
            p = Vec3::from(values + n);
            n += 3;
        });
        const Kind kind = state().handles.kindOf(handle);
        if (kind == Kind::Group) {
            for (int32_t g : subtreeGroups(handle, true)) touchGroup(g);
            touchTotals(handle);
            touchWorld();
        } else if (kind == Kind::Light) {
            touchLighting();
        }
        return 0;
    });
}
