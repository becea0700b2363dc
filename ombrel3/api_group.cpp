// Groups: the tree, transforms, chase and lights.
#include "api_support.h"
#include "destroy.h"
#include "geom.h"
#include "group_copy.h"
#include "lighting.h"
#include "model.h"
#include "transform.h"

#include "ombrel_ext.h"
#include "ombrel_group.h"

#include <algorithm>
#include <cmath>
#include <unordered_map>

using namespace ombrel;

namespace {

template <class T>
T& out(T* p) {
    if (!p) throw ApiError("no output given");
    return *p;
}

// A group for a getter where 0 means the whole world: nullptr for 0.
const Group* worldOrGroup(int32_t group) {
    needWorld();
    return group == 0 ? nullptr : &need<Group>(group);
}

// Snapshots of the included-group walk, per group, taken by get_first_included_group.
// The cursor remembers where the last step stood, so a walk that follows its own
// answers finds its place at once.
struct IncludedWalk {
    std::vector<int32_t> list;
    std::size_t cursor = 0;
};

struct IncludedSnapshots {
    std::unordered_map<int32_t, IncludedWalk> byGroup;
    std::size_t sweepAt = 64;  // snapshots of destroyed groups are dropped past this many
};

IncludedSnapshots& includedSnapshots() {
    static IncludedSnapshots snapshots;
    return snapshots;
}

template <class F>
int32_t setter(const char* fn, int32_t group, F&& f) {
    return guarded(fn, -1, [&] {
        f(need<Group>(group));
        return 0;
    });
}

template <class F>
double getter(const char* fn, int32_t group, F&& f) {
    return guarded(fn, 0.0, [&] { return f(need<Group>(group)); });
}

std::string nameOrNone(const char* name, const char* none) {
    std::string s = cutName(name);
    return s == none ? std::string() : s;
}


}  // namespace

OMBREL_API int32_t OMBREL_group_create(const char* name) {
    return guarded(__func__, 0, [&] {
        World& w = needWorld();
        Group& g = createObject<Group>();
        g.name = cutName(name);
        g.chase.softness = 0.1;
        g.chase.speed = 200;
        g.chase.elasticity = 0.5;
        g.chase.maxSpeed = 200;
        w.groups.append(g.handle);
        touchWorld();
        return g.handle;
    });
}

OMBREL_API int32_t OMBREL_group_delete_members(int32_t group) {
    return guarded(__func__, -1, [&] {
        need<Group>(group);
        destroyGroupTree(group);
        return 0;
    });
}

OMBREL_API int32_t OMBREL_group_duplicate_tree(int32_t group) {
    return guarded(__func__, 0, [&] { return duplicateTree(need<Group>(group)); });
}

OMBREL_API int32_t OMBREL_group_create_reduced_copy(int32_t group, double level) {
    return guarded(__func__, 0, [&] { return reducedCopy(need<Group>(group), level); });
}

OMBREL_API int32_t OMBREL_group_create_copy_made_of_triangles(int32_t group) {
    return guarded(__func__, 0, [&] { return triangulatedCopy(need<Group>(group)); });
}

OMBREL_API int32_t OMBREL_group_get_using_name(const char* name) {
    return guarded(__func__, 0, [&] {
        World& w = needWorld();
        // Found as it was kept: an over-long name finds the name it was cut to.
        const std::string wanted = cutName(name);
        int32_t fatherless = 0, found = 0;
        w.groups.forEach([&](int32_t h) {
            const Group* g = lookup<Group>(h);
            if (found || !g || g->name != wanted) return;
            if (g->father != 0) found = h;
            else if (!fatherless) fatherless = h;
        });
        return found ? found : fatherless;
    });
}

OMBREL_API int32_t OMBREL_group_set_name(int32_t group, const char* name) {
    return setter(__func__, group, [&](Group& g) { g.name = cutName(name); });
}

OMBREL_API int32_t OMBREL_group_get_first_group(void) {
    return guarded(__func__, 0, [&] { return needWorld().groups.first(); });
}

OMBREL_API int32_t OMBREL_group_get_next(int32_t group) {
    return guarded(__func__, 0, [&] {
        need<Group>(group);
        return needWorld().groups.next(group);
    });
}

OMBREL_API int32_t OMBREL_group_get_first_included_group(int32_t group) {
    return guarded(__func__, 0, [&] {
        need<Group>(group);
        auto& snapshots = includedSnapshots();
        // Sweeping every stored walk on every call made a walk per group quadratic;
        // sweeping when the store has doubled keeps it to a constant per call.
        if (snapshots.byGroup.size() >= snapshots.sweepAt) {
            std::erase_if(snapshots.byGroup, [](const auto& entry) { return !lookup<Group>(entry.first); });
            snapshots.sweepAt = std::max<std::size_t>(64, 2 * snapshots.byGroup.size());
        }
        IncludedWalk& walk = snapshots.byGroup[group];
        walk.list = subtreeGroups(group, false);
        walk.cursor = 0;
        return walk.list.empty() ? 0 : walk.list.front();
    });
}

OMBREL_API int32_t OMBREL_group_get_next_included_group(int32_t group, int32_t current) {
    return guarded(__func__, 0, [&] {
        need<Group>(group);
        // The position after current, skipping groups destroyed since the snapshot;
        // -1 when current is not in the list.
        auto nextAfter = [&](const std::vector<int32_t>& list, std::size_t& cursor) -> int32_t {
            std::size_t at = cursor;
            if (at >= list.size() || list[at] != current) {
                auto it = std::find(list.begin(), list.end(), current);
                if (it == list.end()) return -1;
                at = static_cast<std::size_t>(it - list.begin());
            }
            for (++at; at < list.size(); ++at)
                if (lookup<Group>(list[at])) {
                    cursor = at;
                    return list[at];
                }
            cursor = list.size();
            return 0;
        };
        auto& snapshots = includedSnapshots();
        if (auto s = snapshots.byGroup.find(group); s != snapshots.byGroup.end()) {
            int32_t n = nextAfter(s->second.list, s->second.cursor);
            if (n >= 0) return n;
        }
        std::size_t cursor = 0;
        int32_t n = nextAfter(subtreeGroups(group, false), cursor);
        return n > 0 ? n : 0;
    });
}

OMBREL_API int32_t OMBREL_group_get_father_group(int32_t group) {
    return guarded(__func__, 0, [&] { return need<Group>(group).father; });
}

OMBREL_API int32_t OMBREL_group_set_father_group(int32_t group, int32_t father) {
    return guarded(__func__, -1, [&] {
        Group& g = need<Group>(group);
        Group* f = father ? &need<Group>(father) : nullptr;
        if (f && groupContains(group, father)) throw ApiError("a group cannot become its own descendant");
        touchTotals(g.father);
        if (Group* old = lookup<Group>(g.father)) old->children.erase(group);
        g.father = father;
        if (f) f->children.append(group);
        touchTotals(father);
        touchBindings();
        touchWorld();
        return 0;
    });
}

OMBREL_API int32_t OMBREL_group_get_first_polygon(int32_t group) {
    return guarded(__func__, 0, [&] {
        World& w = needWorld();
        if (group != 0) need<Group>(group);
        w.walkScope = group;
        return walkFirst(group);
    });
}

OMBREL_API int32_t OMBREL_group_get_next_polygon(int32_t group, int32_t polygon) {
    return guarded(__func__, 0, [&] {
        worldOrGroup(group);
        need<Polygon>(polygon);
        return walkNext(group, polygon);
    });
}

OMBREL_API int32_t OMBREL_group_get_number_of_polygons(int32_t group) {
    return guarded(__func__, 0, [&] {
        const Group* g = worldOrGroup(group);
        return g ? subtreeTotals(*g).polygonCount : worldPolygonCount();
    });
}

OMBREL_API int32_t OMBREL_group_get_location(int32_t group, double* x, double* y, double* z) {
    return guarded(__func__, -1, [&] {
        if (!x || !y || !z) throw ApiError("no output given");
        const Group* g = worldOrGroup(group);
        Vec3 at = g ? groupLocation(*g) : groupWorldBox(0).centre();
        *x = at.x;
        *y = at.y;
        *z = at.z;
        return 0;
    });
}

OMBREL_API int32_t OMBREL_group_set_location(int32_t group, const double location[3]) {
    return guarded(__func__, -1, [&] {
        Group& g = need<Group>(group);
        Vec3 to = inputPosition(needFloats(location));
        if (subtreeTotals(g).pointCount == 0) {
            g.origin = to;
            touchGroup(group);
        } else {
            moveGroup(g, to - groupLocation(g));
        }
        return 0;
    });
}

OMBREL_API int32_t OMBREL_group_move(int32_t group, const double offset[3], int32_t mode) {
    return guarded(__func__, -1, [&] {
        Group& g = need<Group>(group);
        Vec3 v = needFloats(offset);
        moveGroup(g, mode == OMBREL_MODE_OWN_AXES ? g.axes * v : v);
        return 0;
    });
}

OMBREL_API int32_t OMBREL_group_rotate(int32_t group, double angle_degrees, int32_t mode, int32_t axis) {
    return guarded(__func__, -1, [&] {
        Group& g = need<Group>(group);
        if (axis < 0 || axis > 2) throw ApiError("axis must be 0, 1 or 2");
        if (!std::isfinite(angle_degrees)) throw ApiError("angle is not finite");
        Vec3 along = mode == OMBREL_MODE_OWN_AXES ? g.axes.c[axis] : Mat3{}.c[axis];
        rotateGroup(g, along, angle_degrees);
        return 0;
    });
}

OMBREL_API int32_t OMBREL_group_scale(int32_t group, int32_t mode, double fx, double fy, double fz) {
    return guarded(__func__, -1, [&] {
        Group& g = need<Group>(group);
        scaleGroup(g, {needFloat(fx), needFloat(fy), needFloat(fz)}, mode != 1);
        return 0;
    });
}

OMBREL_API int32_t OMBREL_group_get_rotate_reference_point(int32_t group, double point[3]) {
    return guarded(__func__, -1, [&] {
        if (!point) throw ApiError("no output given");
        const Group* g = worldOrGroup(group);
        (g ? g->pivot : groupWorldBox(0).centre()).to(point);
        return 0;
    });
}

OMBREL_API int32_t OMBREL_group_set_rotate_reference_point(int32_t group, const double point[3]) {
    return setter(__func__, group, [&](Group& g) { g.pivot = inputPosition(needFloats(point)); });
}

OMBREL_API int32_t OMBREL_group_get_dimensions(int32_t group, double dims[3]) {
    return guarded(__func__, -1, [&] {
        if (!dims) throw ApiError("no output given");
        const Group* g = worldOrGroup(group);
        (g ? groupDimensions(*g) : groupWorldBox(0).size()).to(dims);
        return 0;
    });
}

OMBREL_API int32_t OMBREL_group_get_bounding_box(int32_t group, double box[6]) {
    return guarded(__func__, -1, [&] {
        if (!box) throw ApiError("no output given");
        worldOrGroup(group);
        Box3 b = groupWorldBox(group);
        if (b.empty()) b.min = b.max = {};
        b.min.to(box);
        b.max.to(box + 3);
        return 0;
    });
}

OMBREL_API int32_t OMBREL_group_get_center_of_mass(int32_t group, double point[3]) {
    return guarded(__func__, -1, [&] {
        if (!point) throw ApiError("no output given");
        const Group* g = worldOrGroup(group);
        (g ? groupCentreOfMass(*g) : groupWorldBox(0).centre()).to(point);
        return 0;
    });
}

OMBREL_API int32_t OMBREL_group_calculate_axis_system(int32_t group, double x_axis[3], double y_axis[3],
                                                     double z_axis[3]) {
    return guarded(__func__, -1, [&] {
        Group& g = need<Group>(group);
        if (!x_axis || !y_axis || !z_axis) throw ApiError("no output given");
        Mat3 a = g.axes;
        a.c[0].to(x_axis);
        a.c[1].to(y_axis);
        a.c[2].to(z_axis);
        return 0;
    });
}

OMBREL_API int32_t OMBREL_group_rotate_to_match_axis_system(int32_t group, const double a1[3], const double a2[3],
                                                           const double a3[3]) {
    return guarded(__func__, -1, [&] {
        Group& g = need<Group>(group);
        Mat3 frame;
        if (!frameFromAxes(needFloats(a1), needFloats(a2), needFloats(a3), frame)) throw ApiError("the first axis is zero");
        matchGroupAxes(g, frame);
        return 0;
    });
}

OMBREL_API int32_t OMBREL_group_convert_point_to_world_space_fast(int32_t group, const double local[3],
                                                                 double world[3]) {
    return guarded(__func__, -1, [&] {
        Group& g = need<Group>(group);
        Vec3 v = needFloats(local);
        if (!world) throw ApiError("no output given");
        (g.axes * v).to(world);
        return 0;
    });
}

OMBREL_API int32_t OMBREL_group_disable(int32_t group, int32_t disable) {
    return setter(__func__, group, [&](Group& g) {
        g.disabled = disable != 0;
        touchTotals(group);
        touchWorld();
    });
}

OMBREL_API int32_t OMBREL_group_is_disable(int32_t group) {
    return guarded(__func__, 0, [&] {
        need<Group>(group);
        for (int32_t g = group; g != 0;) {
            const Group* rec = lookup<Group>(g);
            if (!rec) break;
            if (rec->disabled) return 1;
            g = rec->father;
        }
        return 0;
    });
}

// The group's own flag, whatever its fathers say: what the world file keeps.
OMBREL_API int32_t OMBREL_ext_group_get_own_disabled(int32_t group) {
    return guarded(__func__, 0, [&] { return need<Group>(group).disabled ? 1 : 0; });
}

namespace {

Group& needFather(const Group& g) {
    Group* f = lookup<Group>(g.father);
    if (!f) throw ApiError("the group has no father");
    return *f;
}

}  // namespace

OMBREL_API int32_t OMBREL_ext_group_get_index(int32_t group) {
    return guarded(__func__, -1, [&] {
        const Group& g = need<Group>(group);
        return static_cast<int32_t>(needFather(g).children.indexOf(group));
    });
}

OMBREL_API int32_t OMBREL_ext_group_set_index(int32_t group, int32_t index) {
    return guarded(__func__, -1, [&] {
        const Group& g = need<Group>(group);
        Group& f = needFather(g);
        if (index < 0 || !f.children.moveTo(group, static_cast<std::size_t>(index)))
            throw ApiError("the place is beyond the father's children");
        touchWorld();
        return 0;
    });
}

OMBREL_API int32_t OMBREL_group_is_group(int32_t handle, int32_t reserved) {
    return lookup<Group>(handle) ? 1 : 0;
}

OMBREL_API int32_t OMBREL_group_is_static(int32_t group) {
    return guarded(__func__, 0, [&] { return need<Group>(group).isStatic ? 1 : 0; });
}

OMBREL_API int32_t OMBREL_group_set_static(int32_t group) {
    return setter(__func__, group, [&](Group& g) { g.isStatic = true; });
}

OMBREL_API int32_t OMBREL_group_set_dynamic(int32_t group) {
    return setter(__func__, group, [&](Group& g) { g.isStatic = false; });
}

OMBREL_API int32_t OMBREL_group_set_bitmap(int32_t group, int32_t bitmap) {
    return setter(__func__, group, [&](Group& g) {
        if (bitmap != 0) need<Bitmap>(bitmap);
        for (int32_t ph : walkPolygons(g.handle)) {
            Polygon* p = lookup<Polygon>(ph);
            if (!p) continue;
            p->fill = bitmap ? FillKind::Bitmap : FillKind::Colour;
            p->bitmap = bitmap;
            p->animation = 0;
            touchGroupLook(p->group);
        }
    });
}

OMBREL_API int32_t OMBREL_group_set_color(int32_t group, const uint8_t rgb[3]) {
    return setter(__func__, group, [&](Group& g) {
        if (!rgb) throw ApiError("no colour given");
        for (int32_t ph : walkPolygons(g.handle)) {
            Polygon* p = lookup<Polygon>(ph);
            if (!p) continue;
            p->fill = FillKind::Colour;
            p->colour = {rgb[0], rgb[1], rgb[2]};
            p->bitmap = p->animation = 0;
            touchGroupLook(p->group);
        }
    });
}

OMBREL_API int32_t OMBREL_group_is_bitmap_used(int32_t group, int32_t bitmap) {
    return guarded(__func__, 0, [&] {
        worldOrGroup(group);
        if (bitmap == 0) return 0;
        for (int32_t ph : walkPolygons(group)) {
            const Polygon* p = lookup<Polygon>(ph);
            if (p && p->fill == FillKind::Bitmap && p->bitmap == bitmap) return 1;
        }
        return 0;
    });
}

OMBREL_API int32_t OMBREL_group_remove_light(int32_t group) {
    return setter(__func__, group, [&](Group& g) {
        for (int32_t ph : walkPolygons(g.handle))
            if (Polygon* p = lookup<Polygon>(ph); p && !p->lights.empty()) {
                p->lights.clear();
                touchGroupLook(p->group);
            }
        touchBindings();
    });
}

OMBREL_API int32_t OMBREL_group_get_chase_type(int32_t group) {
    return guarded(__func__, 0, [&] { return need<Group>(group).chase.type; });
}

OMBREL_API int32_t OMBREL_group_set_chase_type(int32_t group, int32_t chase_type) {
    return setter(__func__, group, [&](Group& g) { g.chase.type = chase_type; });
}

OMBREL_API double OMBREL_group_get_chase_distance(int32_t group) {
    return getter(__func__, group, [](Group& g) { return g.chase.distance; });
}

OMBREL_API int32_t OMBREL_group_set_chase_distance(int32_t group, double distance) {
    return setter(__func__, group, [&](Group& g) { g.chase.distance = needFloat(distance); });
}

OMBREL_API double OMBREL_group_get_chase_softness(int32_t group) {
    return getter(__func__, group, [](Group& g) { return g.chase.softness; });
}

OMBREL_API int32_t OMBREL_group_set_chase_softness(int32_t group, double softness) {
    return setter(__func__, group, [&](Group& g) { g.chase.softness = needFloat(softness); });
}

OMBREL_API int32_t OMBREL_group_get_chase_offset(int32_t group, double offset[3]) {
    return setter(__func__, group, [&](Group& g) { g.chase.offset.to(&out(offset)); });
}

OMBREL_API int32_t OMBREL_group_set_chase_offset(int32_t group, const double offset[3]) {
    return setter(__func__, group, [&](Group& g) { g.chase.offset = needFloats(offset); });
}

OMBREL_API int32_t OMBREL_group_set_name_to_chase(int32_t group, const char* name) {
    return setter(__func__, group, [&](Group& g) { g.chase.nameToChase = nameOrNone(name, "NO_CHASE"); });
}

OMBREL_API double OMBREL_group_get_absolute_speed(int32_t group) {
    return getter(__func__, group, [](Group& g) { return g.chase.speed; });
}

OMBREL_API int32_t OMBREL_group_set_absolute_speed(int32_t group, double speed) {
    return setter(__func__, group, [&](Group& g) { g.chase.speed = needFloat(speed); });
}

OMBREL_API int32_t OMBREL_group_get_track_handle(int32_t group) {
    return guarded(__func__, 0, [&] {
        const std::string& wanted = need<Group>(group).chase.trackName;
        int32_t found = 0;
        if (wanted.empty()) return 0;
        needWorld().tracks.forEach([&](int32_t h) {
            const Track* t = lookup<Track>(h);
            if (!found && t && t->name == wanted) found = h;
        });
        return found;
    });
}

OMBREL_API int32_t OMBREL_group_set_track_name(int32_t group, const char* track_name) {
    return setter(__func__, group, [&](Group& g) { g.chase.trackName = nameOrNone(track_name, "NO_TRACK"); });
}

OMBREL_API int32_t OMBREL_group_get_track_offset(int32_t group, double offset[3]) {
    return setter(__func__, group, [&](Group& g) { g.chase.trackOffset.to(&out(offset)); });
}

OMBREL_API int32_t OMBREL_group_set_track_offset(int32_t group, const double offset[3]) {
    return setter(__func__, group, [&](Group& g) { g.chase.trackOffset = needFloats(offset); });
}

OMBREL_API int32_t OMBREL_group_get_physics_force(int32_t group, double force[3]) {
    return setter(__func__, group, [&](Group& g) { g.chase.force.to(&out(force)); });
}

OMBREL_API int32_t OMBREL_group_set_physics_force(int32_t group, const double force[3]) {
    return setter(__func__, group, [&](Group& g) { g.chase.force = needFloats(force); });
}

OMBREL_API double OMBREL_group_get_physics_friction(int32_t group) {
    return getter(__func__, group, [](Group& g) { return g.chase.friction; });
}

OMBREL_API int32_t OMBREL_group_set_physics_friction(int32_t group, double friction) {
    return setter(__func__, group, [&](Group& g) { g.chase.friction = needFloat(friction); });
}

OMBREL_API double OMBREL_group_get_physics_elasticity(int32_t group) {
    return getter(__func__, group, [](Group& g) { return g.chase.elasticity; });
}

OMBREL_API int32_t OMBREL_group_set_physics_elasticity(int32_t group, double elasticity) {
    return setter(__func__, group, [&](Group& g) { g.chase.elasticity = needFloat(elasticity); });
}

OMBREL_API double OMBREL_group_get_physics_maxspeed(int32_t group) {
    return getter(__func__, group, [](Group& g) { return g.chase.maxSpeed; });
}

OMBREL_API int32_t OMBREL_group_set_physics_maxspeed(int32_t group, double max_speed) {
    return setter(__func__, group, [&](Group& g) { g.chase.maxSpeed = needFloat(max_speed); });
}

OMBREL_API int32_t OMBREL_group_get_falling_from_track_params(int32_t group, int32_t* falling, double* height,
                                                             int32_t* value) {
    return setter(__func__, group, [&](Group& g) {
        if (!falling || !height || !value) throw ApiError("no output given");
        *falling = g.chase.falling ? 1 : 0;
        *height = g.chase.fallHeight;
        *value = g.chase.fallValue;
    });
}

OMBREL_API int32_t OMBREL_group_set_falling_from_track(int32_t group, double height, int32_t value) {
    return setter(__func__, group, [&](Group& g) {
        g.chase.fallHeight = needFloat(height);
        g.chase.falling = true;
        g.chase.fallValue = value;
    });
}

OMBREL_API int32_t OMBREL_group_unset_falling_from_track(int32_t group) {
    return setter(__func__, group, [&](Group& g) { g.chase.falling = false; });
}
