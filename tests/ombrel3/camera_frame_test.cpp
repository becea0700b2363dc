// Camera frame: defaults, direction and axis setters, turns and moves, lens limits.
#include "engine_fixture.h"

#include <cmath>

namespace {

struct Axes {
    P3 a1, a2, a3;
};

Axes axesOf(int32_t cam) {
    Axes a{};
    EXPECT_EQ(OMBREL_camera_get_axis_system(cam, a.a1.data(), a.a2.data(), a.a3.data()), 0);
    return a;
}

P3 crossP(const P3& a, const P3& b) {
    return {a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0]};
}
double dotP(const P3& a, const P3& b) { return a[0] * b[0] + a[1] * b[1] + a[2] * b[2]; }

void expectNear(const P3& got, const P3& want, double tol = 1e-9) {
    for (int i = 0; i < 3; ++i) EXPECT_NEAR(got[i], want[i], tol) << "component " << i;
}

// Orthonormal and right-handed: a1 = a2 x a3.
void expectFrame(const Axes& a) {
    for (const P3* v : {&a.a1, &a.a2, &a.a3}) EXPECT_NEAR(dotP(*v, *v), 1, 1e-12);
    EXPECT_NEAR(dotP(a.a1, a.a2), 0, 1e-12);
    EXPECT_NEAR(dotP(a.a2, a.a3), 0, 1e-12);
    expectNear(crossP(a.a2, a.a3), a.a1, 1e-12);
}

using CameraTest = EngineTest;

TEST_F(CameraTest, NewCameraHasDocumentedDefaults) {
    int32_t cam = OMBREL_camera_create("cam");
    ASSERT_NE(cam, 0);
    Axes a = axesOf(cam);
    expectNear(a.a1, {-1, 0, 0});
    expectNear(a.a2, {0, -1, 0});
    expectNear(a.a3, {0, 0, 1});
    double d[3];
    OMBREL_camera_get_direction1(cam, d);
    expectNear({d[0], d[1], d[2]}, {1, 0, 0});
    EXPECT_EQ(OMBREL_camera_get_zoom(cam), 60);
    EXPECT_EQ(OMBREL_camera_get_distance_from_eye(cam), 1);
    EXPECT_EQ(OMBREL_camera_get_save_flag(cam), 1);
    EXPECT_EQ(OMBREL_camera_get_chase_type(cam), 0);
    EXPECT_EQ(OMBREL_camera_get_chase_softness(cam), 0.1);
    EXPECT_EQ(OMBREL_camera_get_absolute_speed(cam), 200);
    EXPECT_EQ(OMBREL_camera_get_elasticity(cam), 0.5);
    EXPECT_EQ(OMBREL_camera_get_max_speed(cam), 200);
    EXPECT_EQ(OMBREL_camera_get_track_handle(cam), 0);
    EXPECT_EQ(OMBREL_camera_get_first_camera(), cam);
    EXPECT_EQ(OMBREL_camera_get_using_name("cam"), cam);
}

TEST_F(CameraTest, DirectionSettersLevelTheCamera) {
    int32_t cam = OMBREL_camera_create("c");
    const P3 directions[] = {{1, 0, 0}, {0, 3, 0}, {1, 1, -1}, {-2, 0.5, 4}, {0, 0, -5}, {0, 0, 2}};
    for (const P3& d : directions) {
        SCOPED_TRACE(testing::Message() << d[0] << "," << d[1] << "," << d[2]);
        OMBREL_camera_rotate_x_radians(cam, 0.3, 2);  // a roll the setter must remove
        ASSERT_EQ(OMBREL_camera_set_direction(cam, d[0], d[1], d[2]), 0);
        Axes a = axesOf(cam);
        expectFrame(a);
        double len = std::sqrt(dotP(d, d));
        expectNear(a.a1, {-d[0] / len, -d[1] / len, -d[2] / len});
        EXPECT_NEAR(a.a2[2], 0, 1e-12);  // no roll: the right axis stays horizontal
        if (d[0] == 0 && d[1] == 0)
            expectNear(a.a3, {0, 1, 0});  // looking straight up or down: world y is up
        else
            EXPECT_GT(a.a3[2], 0);
        double got[3];
        OMBREL_camera_get_direction(cam, &got[0], &got[1], &got[2]);
        expectNear({got[0], got[1], got[2]}, {d[0] / len, d[1] / len, d[2] / len});
    }
    Axes before = axesOf(cam);
    EXPECT_EQ(OMBREL_camera_set_direction(cam, 0, 0, 0), -1);
    const double zero[3] = {0, 0, 0};
    EXPECT_EQ(OMBREL_camera_set_direction1(cam, zero), -1);
    expectNear(axesOf(cam).a1, before.a1, 0);
}

TEST_F(CameraTest, AxisSystemIsOrthonormalisedKeepingTheFirstAxis) {
    int32_t cam = OMBREL_camera_create("c");
    struct Case {
        const char* what;
        P3 a1, a2, a3;
        P3 want1, want2, want3;
    };
    const double e = std::cos(3.14 / 2);  // the Top view's near-vertical eye offset
    const double n = std::sqrt(1 + e * e);
    const Case cases[] = {
        {"second axis zero: A2 = a3 x A1", {2, 0, 0}, {0, 0, 0}, {0, 0, 5}, {1, 0, 0}, {0, 1, 0}, {0, 0, 1}},
        {"top view: a3 8e-4 rad from a1 still counts", {e, 0, 1}, {0, 0, 0}, {0, 0, 1},
         {e / n, 0, 1 / n}, {0, 1, 0}, {-1 / n, 0, e / n}},
        {"a3 parallel to a1: world z stands in", {0, -1, 0}, {0, 0, 0}, {0, 3, 0}, {0, -1, 0}, {1, 0, 0}, {0, 0, 1}},
        {"a3 zero and a1 vertical: world y stands in", {0, 0, 1}, {0, 0, 0}, {0, 0, 0}, {0, 0, 1}, {1, 0, 0},
         {0, 1, 0}},
        {"second axis given: made orthogonal", {0, 0, 3}, {1, 0, 1}, {9, 9, 9}, {0, 0, 1}, {1, 0, 0}, {0, 1, 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ASSERT_EQ(OMBREL_camera_set_axis_system(cam, c.a1.data(), c.a2.data(), c.a3.data()), 0);
        Axes a = axesOf(cam);
        expectFrame(a);
        expectNear(a.a1, c.want1, 1e-12);
        expectNear(a.a2, c.want2, 1e-12);
        expectNear(a.a3, c.want3, 1e-12);
    }
    const P3 zero{0, 0, 0}, z{0, 0, 1};
    Axes before = axesOf(cam);
    EXPECT_EQ(OMBREL_camera_set_axis_system(cam, zero.data(), zero.data(), z.data()), -1);
    expectNear(axesOf(cam).a2, before.a2, 0);

    // One array passed three times receives a3, written last.
    double same[3];
    ASSERT_EQ(OMBREL_camera_get_axis_system(cam, same, same, same), 0);
    expectNear({same[0], same[1], same[2]}, before.a3, 0);
}

TEST_F(CameraTest, TurnsAndMovesFollowTheModeConvention) {
    int32_t cam = OMBREL_camera_create("c");
    OMBREL_camera_set_location(cam, 1, 2, 3);

    // World z, right-handed: looking along +x turns to looking along +y.
    ASSERT_EQ(OMBREL_camera_rotate_z(cam, 90, 0), 0);
    double d[3];
    OMBREL_camera_get_direction1(cam, d);
    expectNear({d[0], d[1], d[2]}, {0, 1, 0});
    expectFrame(axesOf(cam));

    // Mode 1 acts like mode 0; world x turns y towards z.
    ASSERT_EQ(OMBREL_camera_rotate_x(cam, 90, 1), 0);
    OMBREL_camera_get_direction1(cam, d);
    expectNear({d[0], d[1], d[2]}, {0, 0, 1});

    // Own axes: a positive roll about A1 raises A2.
    OMBREL_camera_set_direction(cam, 1, 0, 0);
    ASSERT_EQ(OMBREL_camera_rotate_x_radians(cam, 0.25, 2), 0);
    Axes a = axesOf(cam);
    expectNear(a.a1, {-1, 0, 0});
    EXPECT_NEAR(a.a2[2], std::sin(0.25), 1e-12);

    // Own y (A2) turns the view up or down; own z (A3) left or right.
    OMBREL_camera_set_direction(cam, 1, 0, 0);
    OMBREL_camera_rotate_z(cam, 30, 2);
    OMBREL_camera_get_direction1(cam, d);
    EXPECT_NEAR(d[2], 0, 1e-12);
    EXPECT_NEAR(std::fabs(d[1]), 0.5, 1e-12);

    double loc[3];
    OMBREL_camera_get_location1(cam, loc);
    expectNear({loc[0], loc[1], loc[2]}, {1, 2, 3}, 0);  // turning never moves the eye

    OMBREL_camera_set_direction(cam, 1, 0, 0);
    ASSERT_EQ(OMBREL_camera_move(cam, 0, 1, 1, 1), 0);
    OMBREL_camera_get_location1(cam, loc);
    expectNear({loc[0], loc[1], loc[2]}, {2, 3, 4});
    ASSERT_EQ(OMBREL_camera_move(cam, 2, 1, 2, 3), 0);  // 1 A1 + 2 A2 + 3 A3
    OMBREL_camera_get_location(cam, &loc[0], &loc[1], &loc[2]);
    expectNear({loc[0], loc[1], loc[2]}, {1, 1, 7});
}

TEST_F(CameraTest, LensLimitsAndStoredChaseData) {
    int32_t cam = OMBREL_camera_create("c");
    struct Case {
        double given, zoom;
    } zooms[] = {{0, 0.01}, {-5, 0.01}, {45, 45}, {179.9, 179.9}, {500, 179.9}};
    for (auto z : zooms) {
        ASSERT_EQ(OMBREL_camera_set_zoom(cam, z.given), 0);
        EXPECT_EQ(OMBREL_camera_get_zoom(cam), z.zoom);
    }
    OMBREL_camera_set_distance_from_eye(cam, 0);
    EXPECT_EQ(OMBREL_camera_get_distance_from_eye(cam), 1e-6);
    OMBREL_camera_set_distance_from_eye(cam, 2.5);
    EXPECT_EQ(OMBREL_camera_get_distance_from_eye(cam), 2.5);

    const double off[3] = {1, -2, 3}, force[3] = {0, 0, -9.8};
    OMBREL_camera_set_chase_type(cam, 135);
    OMBREL_camera_set_chase_distance(cam, 12.5);
    OMBREL_camera_set_chase_offset(cam, off);
    OMBREL_camera_set_track_offset(cam, off);
    OMBREL_camera_set_force(cam, force);
    OMBREL_camera_set_friction(cam, 0.25);
    double got[3];
    EXPECT_EQ(OMBREL_camera_get_chase_type(cam), 135);
    EXPECT_EQ(OMBREL_camera_get_chase_distance(cam), 12.5);
    OMBREL_camera_get_chase_offset(cam, got);
    expectNear({got[0], got[1], got[2]}, {1, -2, 3}, 0);
    OMBREL_camera_get_track_offset(cam, got);
    expectNear({got[0], got[1], got[2]}, {1, -2, 3}, 0);
    OMBREL_camera_get_force(cam, got);
    expectNear({got[0], got[1], got[2]}, {0, 0, -9.8}, 0);
    EXPECT_EQ(OMBREL_camera_get_friction(cam), 0.25);

    // A track handle must name a track: another kind is refused and nothing changes.
    EXPECT_EQ(OMBREL_camera_set_track(cam, cam), -1);
    EXPECT_EQ(OMBREL_camera_set_track(cam, 0), 0);
    EXPECT_EQ(OMBREL_camera_get_track_handle(cam), 0);
}

TEST_F(CameraTest, CurrentCameraAndStaleHandles) {
    int32_t a = OMBREL_camera_create("a");
    int32_t b = OMBREL_camera_create("a");
    int32_t surface = OMBREL_ext_surface_create(8, 8);
    EXPECT_EQ(OMBREL_camera_get_using_name("a"), a);  // first in list order
    EXPECT_EQ(OMBREL_camera_get_next_camera(a), b);
    EXPECT_EQ(OMBREL_camera_get_current(), 0);
    ASSERT_EQ(OMBREL_camera_set_current(b, surface), 0);
    EXPECT_EQ(OMBREL_camera_get_current(), b);
    EXPECT_EQ(OMBREL_camera_set_current(a, 0), -1);  // state unchanged
    EXPECT_EQ(OMBREL_camera_get_current(), b);

    ASSERT_EQ(OMBREL_camera_delete(b), 0);
    EXPECT_EQ(OMBREL_camera_get_current(), 0);
    EXPECT_EQ(OMBREL_camera_get_next_camera(a), 0);
    EXPECT_EQ(OMBREL_camera_set_zoom(b, 10), -1);
    EXPECT_EQ(OMBREL_camera_get_zoom(b), 0);
    EXPECT_EQ(OMBREL_camera_set_current(b, surface), -1);
    double loc[3] = {7, 7, 7};
    EXPECT_EQ(OMBREL_camera_get_location1(b, loc), -1);
    EXPECT_EQ(loc[0], 7);
    EXPECT_NE(std::string(OMBREL_ext_get_last_error()), "");
    OMBREL_ext_surface_destroy(surface);
}

}  // namespace
