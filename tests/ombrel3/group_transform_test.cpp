// Location, dimensions and the transforms over a subtree, about the right centres
// with the right-handed sense.
#include "engine_fixture.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <vector>

namespace {

constexpr double kTol = 1e-9;

P3 pointOf(int32_t pt) {
    P3 p;
    OMBREL_point_get_xyz(pt, p.data());
    return p;
}

P3 location(int32_t g) {
    P3 p;
    OMBREL_group_get_location(g, &p[0], &p[1], &p[2]);
    return p;
}

P3 dimensions(int32_t g) {
    P3 d;
    OMBREL_group_get_dimensions(g, d.data());
    return d;
}

void expectNear(const P3& a, const P3& b, const char* what) {
    for (int i = 0; i < 3; ++i) EXPECT_NEAR(a[i], b[i], kTol) << what << " [" << i << "]";
}

// An axis-aligned box from lo to hi, six faces visible from outside.
int32_t makeBox(int32_t group, P3 lo, P3 hi) {
    double x0 = lo[0], y0 = lo[1], z0 = lo[2], x1 = hi[0], y1 = hi[1], z1 = hi[2];
    makePolygon(group, {{x0, y0, z1}, {x0, y1, z1}, {x1, y1, z1}, {x1, y0, z1}});  // top
    makePolygon(group, {{x0, y0, z0}, {x1, y0, z0}, {x1, y1, z0}, {x0, y1, z0}});  // bottom
    makePolygon(group, {{x1, y0, z0}, {x1, y0, z1}, {x1, y1, z1}, {x1, y1, z0}});  // +x
    makePolygon(group, {{x0, y0, z0}, {x0, y1, z0}, {x0, y1, z1}, {x0, y0, z1}});  // -x
    makePolygon(group, {{x0, y1, z0}, {x1, y1, z0}, {x1, y1, z1}, {x0, y1, z1}});  // +y
    return makePolygon(group, {{x0, y0, z0}, {x0, y0, z1}, {x1, y0, z1}, {x1, y0, z0}});  // -y
}

using GroupTransform = EngineTest;

TEST_F(GroupTransform, BoxLocationDimensionsAndBoundingBox) {
    int32_t g = OMBREL_group_create("box");
    makeBox(g, {-50, -50, -50}, {50, 50, 50});
    expectNear(location(g), {0, 0, 0}, "location");
    expectNear(dimensions(g), {100, 100, 100}, "dimensions");
    double box[6];
    OMBREL_group_get_bounding_box(g, box);
    EXPECT_EQ(box[0], -50);
    EXPECT_EQ(box[5], 50);
    // Every face's visible side points outwards.
    for (int32_t p = OMBREL_group_get_first_polygon(g); p; p = OMBREL_group_get_next_polygon(g, p)) {
        double plane[4], c[3];
        OMBREL_polygon_get_plane(p, plane);
        OMBREL_polygon_get_center(p, c);
        EXPECT_GT(plane[0] * c[0] + plane[1] * c[1] + plane[2] * c[2], 0) << p;
        EXPECT_NEAR(plane[3], -50, kTol);
    }
}

TEST_F(GroupTransform, EmptyGroupUsesItsOrigin) {
    int32_t g = OMBREL_group_create("empty");
    expectNear(location(g), {0, 0, 0}, "new");
    double at[3] = {1, 2, 3};
    OMBREL_group_set_location(g, at);
    expectNear(location(g), {1, 2, 3}, "set");
    double by[3] = {1, 1, 1};
    OMBREL_group_move(g, by, OMBREL_MODE_WORLD);
    expectNear(location(g), {2, 3, 4}, "moved");
    expectNear(dimensions(g), {0, 0, 0}, "dims");
}

// A group shifted again and again keeps the totals that gathering them afresh
// gives, exactly: its box, the world's box of what is drawn, its location. Its
// polygons include one without an area and a disabled one, each off to one side,
// so that the three boxes differ.
TEST_F(GroupTransform, ShiftedTotalsAreThoseGatheredAfresh) {
    const int32_t g = OMBREL_group_create("shifted");
    makeSquareFacingUp(g, 0, 0, 0, 2);
    // Its points on one line, which stays one whatever the shift rounds to.
    const int32_t flat = makePolygon(g, {{-9, 0, 0}, {-8, 0, 0}, {-7, 0, 0}});
    OMBREL_polygon_disable(makeSquareFacingUp(g, 6, 3, -1, 2));
    struct Totals {
        double box[6], world[6];
        P3 at;
    };
    auto read = [&] {
        Totals t{};
        OMBREL_group_get_bounding_box(g, t.box);
        OMBREL_group_get_bounding_box(0, t.world);
        t.at = location(g);
        return t;
    };
    for (int k = 1; k <= 6; ++k) {
        SCOPED_TRACE(k);
        const double by[3] = {0.1 * k, -1e-3 / k, 12345.678 * (k % 2 ? 1 : -1.5)};
        ASSERT_EQ(OMBREL_group_move(g, by, OMBREL_MODE_WORLD), 0);
        const Totals shifted = read();
        // A point set where it is marks the group's points as edited: every total
        // is gathered again from them.
        const int32_t pt = OMBREL_polygon_get_first_point(flat);
        const P3 p = pointOf(pt);
        OMBREL_point_set_xyz(pt, p.data());
        const Totals fresh = read();
        for (int i = 0; i < 6; ++i) {
            EXPECT_EQ(shifted.box[i], fresh.box[i]) << "box " << i;
            EXPECT_EQ(shifted.world[i], fresh.world[i]) << "world box " << i;
        }
        for (int i = 0; i < 3; ++i) EXPECT_EQ(shifted.at[i], fresh.at[i]) << "location " << i;
        // The disabled square and the flat polygon lie outside the drawn box.
        EXPECT_GT(fresh.world[0], fresh.box[0]);
        EXPECT_LT(fresh.world[3], fresh.box[3]);
    }
}

TEST_F(GroupTransform, RotationIsRightHandedAboutEachWorldAxis) {
    struct Case { int axis; P3 from, to; } cases[] = {
        {2, {1, 0, 0}, {0, 1, 0}},  // x towards y about z
        {0, {0, 1, 0}, {0, 0, 1}},  // y towards z about x
        {1, {0, 0, 1}, {1, 0, 0}},  // z towards x about y
    };
    for (const Case& c : cases) {
        int32_t g = OMBREL_group_create("r");
        int32_t p = makePolygon(g, {c.from, {5, 5, 5}, {5, 6, 7}});
        ASSERT_EQ(OMBREL_group_rotate(g, 90, OMBREL_MODE_WORLD, c.axis), 0);  // pivot (0,0,0)
        expectNear(pointOf(OMBREL_polygon_get_first_point(p)), c.to, "rotated point");
    }
}

TEST_F(GroupTransform, RotateTurnsAboutThePivotAndCarriesTheSubtree) {
    int32_t g = OMBREL_group_create("g");
    int32_t child = OMBREL_group_create("child");
    OMBREL_group_set_father_group(child, g);
    int32_t p = makeSquareFacingUp(child, 10, 0, 0, 2);
    double pivot[3] = {10, 0, 0}, childPivot[3] = {11, 0, 0};
    OMBREL_group_set_rotate_reference_point(g, pivot);
    OMBREL_group_set_rotate_reference_point(child, childPivot);
    ASSERT_EQ(OMBREL_group_rotate(g, 90, OMBREL_MODE_WORLD, 2), 0);
    // First corner (9, -1, 0) turns about (10, 0, 0) to (11, -1, 0).
    expectNear(pointOf(OMBREL_polygon_get_first_point(p)), {11, -1, 0}, "corner");
    double got[3];
    OMBREL_group_get_rotate_reference_point(child, got);
    expectNear({got[0], got[1], got[2]}, {10, 1, 0}, "child pivot");
    OMBREL_group_get_rotate_reference_point(g, got);
    expectNear({got[0], got[1], got[2]}, {10, 0, 0}, "own pivot");
    double x[3], y[3], z[3];
    OMBREL_group_calculate_axis_system(child, x, y, z);
    expectNear({x[0], x[1], x[2]}, {0, 1, 0}, "child x axis");
    EXPECT_EQ(OMBREL_group_rotate(g, 90, OMBREL_MODE_WORLD, 3), -1);
}

TEST_F(GroupTransform, OwnAxesModesAndLocationAlongThem) {
    int32_t g = OMBREL_group_create("g");
    makeBox(g, {-1, -2, -3}, {1, 2, 3});
    OMBREL_group_rotate(g, 90, OMBREL_MODE_WORLD, 2);  // own x now along world y
    expectNear(dimensions(g), {2, 4, 6}, "dims along own axes");
    double box[6];
    OMBREL_group_get_bounding_box(g, box);
    EXPECT_NEAR(box[3] - box[0], 4, kTol);  // world box is turned
    double along[3] = {5, 0, 0};
    OMBREL_group_move(g, along, OMBREL_MODE_OWN_AXES);
    expectNear(location(g), {0, 5, 0}, "moved along own x");
    OMBREL_group_rotate(g, 90, OMBREL_MODE_OWN_AXES, 0);  // about own x = world y, pivot origin
    double x[3], y[3], z[3];
    OMBREL_group_calculate_axis_system(g, x, y, z);
    expectNear({z[0], z[1], z[2]}, {1, 0, 0}, "own z after turn about own x");
    double local[3] = {1, 0, 0}, world[3];
    OMBREL_group_convert_point_to_world_space_fast(g, local, world);
    expectNear({world[0], world[1], world[2]}, {0, 1, 0}, "converted");
}

TEST_F(GroupTransform, ScaleAboutTheLocation) {
    struct Case { int mode; double angle; P3 f, dims; } cases[] = {
        {0, 0, {2, 3, 0.5}, {8, 12, 2}},
        {1, 0, {2, 3, 0.5}, {8, 12, 2}},
        {0, 90, {2, 1, 1}, {8, 4, 4}},   // own x is world y: dims scale by the factors
        {1, 90, {2, 1, 1}, {4, 8, 4}},   // world x is own y
    };
    for (const Case& c : cases) {
        int32_t g = OMBREL_group_create("s");
        makeBox(g, {8, 8, 8}, {12, 12, 12});
        OMBREL_group_rotate(g, c.angle, OMBREL_MODE_WORLD, 2);
        P3 before = location(g);
        ASSERT_EQ(OMBREL_group_scale(g, c.mode, c.f[0], c.f[1], c.f[2]), 0);
        expectNear(location(g), before, "location kept");
        expectNear(dimensions(g), c.dims, "dims");
        OMBREL_group_delete_members(g);
    }
}

TEST_F(GroupTransform, MirroringScaleKeepsVisibleSidesOutside) {
    int32_t g = OMBREL_group_create("m");
    int32_t top = makeBox(g, {-1, -1, -1}, {1, 1, 1});
    int32_t pt = OMBREL_polygon_get_first_point(top);
    double n[3] = {0, -5, 0};
    OMBREL_point_set_normal(pt, n);
    OMBREL_group_scale(g, 0, 1, -1, 1);
    for (int32_t p = OMBREL_group_get_first_polygon(g); p; p = OMBREL_group_get_next_polygon(g, p)) {
        double plane[4], c[3];
        OMBREL_polygon_get_plane(p, plane);
        OMBREL_polygon_get_center(p, c);
        EXPECT_GT(plane[0] * c[0] + plane[1] * c[1] + plane[2] * c[2], 0) << p;
    }
    expectNear(dimensions(g), {2, 2, 2}, "dims stay positive");
    // A zero factor flattens without failing.
    EXPECT_EQ(OMBREL_group_scale(g, 0, 1, 1, 0), 0);
    expectNear(dimensions(g), {2, 2, 0}, "flattened");
}

TEST_F(GroupTransform, SetLocationTranslatesPointsAndPivots) {
    int32_t g = OMBREL_group_create("g");
    makeBox(g, {0, 0, 0}, {2, 2, 2});
    double pivot[3] = {1, 1, 1}, to[3] = {10, 20, 30};
    OMBREL_group_set_rotate_reference_point(g, pivot);
    OMBREL_group_set_location(g, to);
    expectNear(location(g), {10, 20, 30}, "location");
    double got[3];
    OMBREL_group_get_rotate_reference_point(g, got);
    expectNear({got[0], got[1], got[2]}, {10, 20, 30}, "pivot moved with it");
    double com[3];
    OMBREL_group_get_center_of_mass(g, com);
    expectNear({com[0], com[1], com[2]}, {10, 20, 30}, "centre of mass");
}

TEST_F(GroupTransform, RotateToMatchAxisSystemTurnsAboutTheLocation) {
    double zero[3] = {0, 0, 0}, up[3] = {0, 0, 1}, y[3] = {0, 1, 0}, dx[3] = {2, 0, 0}, diag[3] = {1, 1, 0};
    struct Case { const double *a1, *a2, *a3; int result; P3 x, yAxis, z; } cases[] = {
        {diag, up, zero, 0, {M_SQRT1_2, M_SQRT1_2, 0}, {0, 0, 1}, {M_SQRT1_2, -M_SQRT1_2, 0}},  // a2 gives y
        {dx, zero, y, 0, {1, 0, 0}, {0, 0, -1}, {0, 1, 0}},                                     // a3 gives z
        {dx, zero, zero, 0, {1, 0, 0}, {0, 1, 0}, {0, 0, 1}},                                   // world z
        {up, zero, up, 0, {0, 0, 1}, {1, 0, 0}, {0, 1, 0}},                                     // vertical x: world y
        {zero, y, up, -1, {1, 0, 0}, {0, 1, 0}, {0, 0, 1}},                                     // refused
    };
    for (const Case& c : cases) {
        int32_t g = OMBREL_group_create("marker");
        makeBox(g, {4, 4, 4}, {6, 8, 10});
        P3 before = location(g);
        EXPECT_EQ(OMBREL_group_rotate_to_match_axis_system(g, c.a1, c.a2, c.a3), c.result);
        double ax[3], ay[3], az[3];
        OMBREL_group_calculate_axis_system(g, ax, ay, az);
        expectNear({ax[0], ax[1], ax[2]}, c.x, "x");
        expectNear({ay[0], ay[1], ay[2]}, c.yAxis, "y");
        expectNear({az[0], az[1], az[2]}, c.z, "z");
        expectNear(location(g), before, "location kept");
        expectNear(dimensions(g), {2, 4, 6}, "dims along the new axes");
        OMBREL_group_delete_members(g);
    }
}

TEST_F(GroupTransform, LocationFollowsPointEdits) {
    int32_t g = OMBREL_group_create("g");
    int32_t p = makeSquareFacingUp(g, 0, 0, 0, 2);
    expectNear(location(g), {0, 0, 0}, "before");
    double far[3] = {-1, -1, 10};
    OMBREL_point_set_xyz(OMBREL_polygon_get_first_point(p), far);
    expectNear(location(g), {0, 0, 5}, "after a point moved");
}

}  // namespace

namespace {

std::vector<double> placementOf(int32_t handle) {
    const int32_t n = OMBREL_ext_get_placement(handle, nullptr, 0);
    EXPECT_GE(n, 0) << OMBREL_ext_get_last_error();
    std::vector<double> v(static_cast<std::size_t>(std::max(n, 0)));
    EXPECT_EQ(OMBREL_ext_get_placement(handle, v.data(), n), n);
    // The count, told from the kept totals, is the walk's.
    EXPECT_EQ(OMBREL_ext_get_placement(handle, v.data(), n + 6), n);
    return v;
}

}  // namespace

// What a turn changes of a group (its sub-groups, pivots, axes and points), a
// camera, a light and a track is read and written back bit for bit, where
// turning back by the inverse angle leaves rounding behind.
TEST_F(GroupTransform, APlacementReadBeforeATurnIsWrittenBackExactly) {
    const int32_t g = OMBREL_group_create("g");
    const int32_t inner = OMBREL_group_create("inner");
    OMBREL_group_set_father_group(inner, g);
    makeBox(g, {-50, 0, 0}, {-40, 10, 10});
    const int32_t side = makeBox(inner, {1, 2, 3}, {4, 5, 6});
    const int32_t cam = OMBREL_camera_create("cam");
    OMBREL_camera_set_direction(cam, 1, -2, 0.5);
    const double at[3] = {3, -50, 0};
    const int32_t light = OMBREL_light_create("lamp", at);
    const double path[] = {0, 0, 0, -50, 2, 1};
    const int32_t track = OMBREL_track_create("path", 0, path, 2);
    struct Case {
        const char* what;
        int32_t handle;
        std::function<void(double)> turn;
    } cases[] = {
        {"group", g, [&](double a) { OMBREL_group_rotate(g, a, 0, 1); }},
        {"camera", cam, [&](double a) { OMBREL_camera_rotate_z(cam, a, 0); }},
        {"light", light,
         [&](double a) {
             double d[3];
             OMBREL_light_get_direction(light, d);
             const double c = std::cos(a * M_PI / 180), s = std::sin(a * M_PI / 180);
             const double turned[3] = {c * d[0] - s * d[1] + 1e-3, s * d[0] + c * d[1], d[2] - 0.5};
             OMBREL_light_set_direction(light, turned);
             double p[3];
             OMBREL_light_get_location(light, p);
             p[0] *= c;
             OMBREL_light_set_location(light, p);
         }},
        {"track", track,
         [&](double a) {
             double p[3];
             OMBREL_track_get_point(track, 1, p);
             p[0] *= std::cos(a * M_PI / 180);
             OMBREL_track_set_point(track, 1, p);
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const std::vector<double> before = placementOf(c.handle);
        ASSERT_FALSE(before.empty());
        c.turn(30);
        const std::vector<double> after = placementOf(c.handle);
        ASSERT_NE(after, before);
        c.turn(-30);
        EXPECT_EQ(OMBREL_ext_set_placement(c.handle, before.data(), static_cast<int32_t>(before.size())), 0);
        EXPECT_EQ(placementOf(c.handle), before);
        EXPECT_EQ(OMBREL_ext_set_placement(c.handle, after.data(), static_cast<int32_t>(after.size())), 0);
        EXPECT_EQ(placementOf(c.handle), after);
        OMBREL_ext_set_placement(c.handle, before.data(), static_cast<int32_t>(before.size()));
    }
    // The group's caches follow: its box is the one of the points written back.
    double box[6];
    OMBREL_group_get_bounding_box(g, box);
    EXPECT_EQ(box[0], -50);
    EXPECT_EQ(box[5], 10);

    // Values that no longer fit, or are no finite floats, change nothing.
    std::vector<double> v = placementOf(g);
    makePolygon(inner, {{0, 0, 0}, {0, 1, 0}, {1, 0, 0}});
    EXPECT_EQ(OMBREL_ext_set_placement(g, v.data(), static_cast<int32_t>(v.size())), -1);
    v = placementOf(g);
    std::vector<double> bad = v;
    bad.back() = 1e300;
    EXPECT_EQ(OMBREL_ext_set_placement(g, bad.data(), static_cast<int32_t>(bad.size())), -1);
    EXPECT_EQ(placementOf(g), v);
    // Only groups, cameras, lights and tracks have one; a stale handle none.
    EXPECT_EQ(OMBREL_ext_get_placement(side, nullptr, 0), -1);
    OMBREL_track_delete(track);
    EXPECT_EQ(OMBREL_ext_get_placement(track, nullptr, 0), -1);
    EXPECT_EQ(OMBREL_ext_set_placement(track, path, 6), -1);
}
