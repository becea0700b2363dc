// Chase, track and physics data of groups: defaults and exact storage.
#include "engine_fixture.h"

namespace {

using GroupChase = EngineTest;

TEST_F(GroupChase, DefaultsAndRoundTrips) {
    int32_t g = OMBREL_group_create("g");
    EXPECT_EQ(OMBREL_group_get_chase_type(g), 0);
    EXPECT_EQ(OMBREL_group_get_chase_distance(g), 0);
    EXPECT_EQ(OMBREL_group_get_chase_softness(g), 0.1);
    EXPECT_EQ(OMBREL_group_get_absolute_speed(g), 200);
    EXPECT_EQ(OMBREL_group_get_physics_friction(g), 0);
    EXPECT_EQ(OMBREL_group_get_physics_elasticity(g), 0.5);
    EXPECT_EQ(OMBREL_group_get_physics_maxspeed(g), 200);

    struct Case { int32_t (*set)(int32_t, double); double (*get)(int32_t); double value; } cases[] = {
        {OMBREL_group_set_chase_distance, OMBREL_group_get_chase_distance, -3.25},
        {OMBREL_group_set_chase_softness, OMBREL_group_get_chase_softness, 7},
        {OMBREL_group_set_absolute_speed, OMBREL_group_get_absolute_speed, 0.001},
        {OMBREL_group_set_physics_friction, OMBREL_group_get_physics_friction, 0.75},
        {OMBREL_group_set_physics_elasticity, OMBREL_group_get_physics_elasticity, 2},
        {OMBREL_group_set_physics_maxspeed, OMBREL_group_get_physics_maxspeed, 1e6},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.set(g, c.value), 0);
        EXPECT_EQ(c.get(g), c.value);
    }
    OMBREL_group_set_chase_type(g, 4711);
    EXPECT_EQ(OMBREL_group_get_chase_type(g), 4711);

    struct VecCase { int32_t (*set)(int32_t, const double*); int32_t (*get)(int32_t, double*); } vecs[] = {
        {OMBREL_group_set_chase_offset, OMBREL_group_get_chase_offset},
        {OMBREL_group_set_track_offset, OMBREL_group_get_track_offset},
        {OMBREL_group_set_physics_force, OMBREL_group_get_physics_force},
    };
    for (const VecCase& c : vecs) {
        double v[3] = {1, -2, 3.5}, got[3] = {};
        EXPECT_EQ(c.set(g, v), 0);
        EXPECT_EQ(c.get(g, got), 0);
        EXPECT_EQ(got[2], 3.5);
    }
}

TEST_F(GroupChase, FallingAndTrackName) {
    int32_t g = OMBREL_group_create("g");
    int32_t falling = -1, value = -1;
    double height = -1;
    OMBREL_group_get_falling_from_track_params(g, &falling, &height, &value);
    EXPECT_EQ(falling, 0);
    OMBREL_group_set_falling_from_track(g, 12.5, 1);
    OMBREL_group_unset_falling_from_track(g);
    OMBREL_group_get_falling_from_track_params(g, &falling, &height, &value);
    EXPECT_EQ(falling, 0);
    EXPECT_EQ(height, 12.5);
    EXPECT_EQ(value, 1);

    EXPECT_EQ(OMBREL_group_set_track_name(g, "NO_TRACK"), 0);
    EXPECT_EQ(OMBREL_group_get_track_handle(g), 0);
}

}  // namespace
