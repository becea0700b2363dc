// Every setter that stores a floating value refuses one that is no finite float:
// the call fails with the last error set and the value stays as it was, so no
// caller can hand the renderer an infinity.
#include "engine_fixture.h"

#include <cfloat>
#include <cmath>
#include <functional>
#include <limits>
#include <string>

namespace {

struct Setter {
    const char* name;
    std::function<int32_t(double)> set;
    std::function<double()> get;
};

// The vector setters take the value as their first component.
std::array<double, 3> first(double v) { return {v, 1, 2}; }

}  // namespace

class FloatSettersTest : public EngineTest {};

TEST_F(FloatSettersTest, AValueThatIsNoFiniteFloatIsRefusedAndTheOldOneKept) {
    const int32_t group = OMBREL_group_create("g");
    const int32_t polygon = makeSquareFacingUp(group, 0, 0, 0, 10);
    const int32_t point = OMBREL_polygon_get_first_point(polygon);
    const double at[3] = {1, 2, 3};
    const int32_t light = OMBREL_light_create("l", at);
    const int32_t camera = OMBREL_camera_create("c");
    const int32_t background = OMBREL_background_create("b", 0);
    const double trackPoints[6] = {0, 0, 0, 10, 0, 0};
    const int32_t track = OMBREL_track_create("t", 0, trackPoints, 2);
    ASSERT_TRUE(group && polygon && point && light && camera && background && track);

    auto x = [](auto get) {
        return [get] {
            double v[3] = {0, 0, 0};
            get(v);
            return v[0];
        };
    };
    const Setter setters[] = {
        {"light location", [&](double v) { return OMBREL_light_set_location(light, first(v).data()); },
         x([&](double* o) { OMBREL_light_get_location(light, o); })},
        {"light direction", [&](double v) { return OMBREL_light_set_direction(light, first(v).data()); },
         x([&](double* o) { OMBREL_light_get_direction(light, o); })},
        {"ambient", [&](double v) { return OMBREL_light_set_ambient(light, v); },
         [&] { return OMBREL_light_get_ambient(light); }},
        {"diffuse", [&](double v) { return OMBREL_light_set_diffuse(light, v); },
         [&] { return OMBREL_light_get_diffuse(light); }},
        {"specular", [&](double v) { return OMBREL_light_set_specular(light, v); },
         [&] { return OMBREL_light_get_specular(light); }},
        {"shine", [&](double v) { return OMBREL_light_set_specular_shining(light, v); },
         [&] { return OMBREL_light_get_specular_shining(light); }},
        {"reach", [&](double v) { return OMBREL_light_set_distance_reach(light, v); },
         [&] { return OMBREL_light_get_distance_reach(light); }},
        {"camera location", [&](double v) { return OMBREL_camera_set_location1(camera, first(v).data()); },
         x([&](double* o) { OMBREL_camera_get_location1(camera, o); })},
        {"camera location xyz", [&](double v) { return OMBREL_camera_set_location(camera, v, 0, 0); },
         x([&](double* o) { OMBREL_camera_get_location1(camera, o); })},
        {"camera direction", [&](double v) { return OMBREL_camera_set_direction1(camera, first(v).data()); },
         x([&](double* o) { OMBREL_camera_get_direction1(camera, o); })},
        {"zoom", [&](double v) { return OMBREL_camera_set_zoom(camera, v); },
         [&] { return OMBREL_camera_get_zoom(camera); }},
        {"distance from eye", [&](double v) { return OMBREL_camera_set_distance_from_eye(camera, v); },
         [&] { return OMBREL_camera_get_distance_from_eye(camera); }},
        {"camera chase distance", [&](double v) { return OMBREL_camera_set_chase_distance(camera, v); },
         [&] { return OMBREL_camera_get_chase_distance(camera); }},
        {"camera softness", [&](double v) { return OMBREL_camera_set_chase_softness(camera, v); },
         [&] { return OMBREL_camera_get_chase_softness(camera); }},
        {"camera chase offset", [&](double v) { return OMBREL_camera_set_chase_offset(camera, first(v).data()); },
         x([&](double* o) { OMBREL_camera_get_chase_offset(camera, o); })},
        {"camera speed", [&](double v) { return OMBREL_camera_set_absolute_speed(camera, v); },
         [&] { return OMBREL_camera_get_absolute_speed(camera); }},
        {"camera track offset", [&](double v) { return OMBREL_camera_set_track_offset(camera, first(v).data()); },
         x([&](double* o) { OMBREL_camera_get_track_offset(camera, o); })},
        {"camera force", [&](double v) { return OMBREL_camera_set_force(camera, first(v).data()); },
         x([&](double* o) { OMBREL_camera_get_force(camera, o); })},
        {"camera friction", [&](double v) { return OMBREL_camera_set_friction(camera, v); },
         [&] { return OMBREL_camera_get_friction(camera); }},
        {"camera elasticity", [&](double v) { return OMBREL_camera_set_elasticity(camera, v); },
         [&] { return OMBREL_camera_get_elasticity(camera); }},
        {"camera max speed", [&](double v) { return OMBREL_camera_set_max_speed(camera, v); },
         [&] { return OMBREL_camera_get_max_speed(camera); }},
        {"group location", [&](double v) { return OMBREL_group_set_location(group, first(v).data()); },
         x([&](double* o) { OMBREL_group_get_location(group, o, o + 1, o + 2); })},
        {"group move", [&](double v) { return OMBREL_group_move(group, first(v).data(), 0); },
         x([&](double* o) { OMBREL_group_get_location(group, o, o + 1, o + 2); })},
        {"group pivot", [&](double v) { return OMBREL_group_set_rotate_reference_point(group, first(v).data()); },
         x([&](double* o) { OMBREL_group_get_rotate_reference_point(group, o); })},
        {"group scale", [&](double v) { return OMBREL_group_scale(group, 0, v, 1, 1); },
         x([&](double* o) { OMBREL_group_get_dimensions(group, o); })},
        {"group chase distance", [&](double v) { return OMBREL_group_set_chase_distance(group, v); },
         [&] { return OMBREL_group_get_chase_distance(group); }},
        {"group softness", [&](double v) { return OMBREL_group_set_chase_softness(group, v); },
         [&] { return OMBREL_group_get_chase_softness(group); }},
        {"group chase offset", [&](double v) { return OMBREL_group_set_chase_offset(group, first(v).data()); },
         x([&](double* o) { OMBREL_group_get_chase_offset(group, o); })},
        {"group speed", [&](double v) { return OMBREL_group_set_absolute_speed(group, v); },
         [&] { return OMBREL_group_get_absolute_speed(group); }},
        {"group track offset", [&](double v) { return OMBREL_group_set_track_offset(group, first(v).data()); },
         x([&](double* o) { OMBREL_group_get_track_offset(group, o); })},
        {"group force", [&](double v) { return OMBREL_group_set_physics_force(group, first(v).data()); },
         x([&](double* o) { OMBREL_group_get_physics_force(group, o); })},
        {"group friction", [&](double v) { return OMBREL_group_set_physics_friction(group, v); },
         [&] { return OMBREL_group_get_physics_friction(group); }},
        {"group elasticity", [&](double v) { return OMBREL_group_set_physics_elasticity(group, v); },
         [&] { return OMBREL_group_get_physics_elasticity(group); }},
        {"group max speed", [&](double v) { return OMBREL_group_set_physics_maxspeed(group, v); },
         [&] { return OMBREL_group_get_physics_maxspeed(group); }},
        {"fall height", [&](double v) { return OMBREL_group_set_falling_from_track(group, v, 1); },
         [&] {
             int32_t falling = 0, value = 0;
             double height = 0;
             OMBREL_group_get_falling_from_track_params(group, &falling, &height, &value);
             return falling ? height : -1.0;
         }},
        {"point", [&](double v) { return OMBREL_point_set_xyz(point, first(v).data()); },
         x([&](double* o) { OMBREL_point_get_xyz(point, o); })},
        {"texture coordinates", [&](double v) {
             const double uv[2] = {v, 0};
             return OMBREL_point_set_bitmap_xy(point, polygon, uv);
         },
         x([&](double* o) { OMBREL_point_get_bitmap_xy(point, o); })},
        {"brightness", [&](double v) { return OMBREL_point_set_brightness(point, v); },
         [&] { return OMBREL_point_get_brightness(point); }},
        {"normal", [&](double v) { return OMBREL_point_set_normal(point, first(v).data()); },
         x([&](double* o) { OMBREL_ext_point_get_normal(point, o); })},
        {"light diminution", [&](double v) { return OMBREL_polygon_set_light_diminution(polygon, v); },
         [&] { return OMBREL_polygon_get_light_diminution(polygon); }},
        {"background distance", [&](double v) { return OMBREL_background_set_distance(background, v); },
         [&] { return OMBREL_background_get_distance(background); }},
        {"background bottom", [&](double v) { return OMBREL_background_set_bottom(background, v); },
         [&] { return OMBREL_background_get_bottom(background); }},
        {"background intensity", [&](double v) { return OMBREL_background_set_bottom_intensity(background, v); },
         [&] { return OMBREL_background_get_bottom_intensity(background); }},
        {"background step", [&](double v) { return OMBREL_background_set_intensity_step(background, v); },
         [&] { return OMBREL_background_get_intensity_step(background); }},
        {"track point", [&](double v) { return OMBREL_track_set_point(track, 1, first(v).data()); },
         x([&](double* o) { OMBREL_track_get_point(track, 1, o); })},
        {"fog", [&](double v) { return OMBREL_engine_set_atmospheric_effect_intensity(v); },
         [&] { return OMBREL_engine_get_atmospheric_effect_intensity(); }},
    };
    const double inf = std::numeric_limits<double>::infinity();
    const double refused[] = {1e39, -1e39, inf, -inf, std::nan("")};
    for (const Setter& s : setters) {
        SCOPED_TRACE(s.name);
        // The largest float is taken: the limit is the float's, not some smaller one.
        EXPECT_EQ(s.set(FLT_MAX / 2), 0) << OMBREL_ext_get_last_error();
        ASSERT_EQ(s.set(3), 0) << OMBREL_ext_get_last_error();
        const double kept = s.get();
        for (double v : refused) {
            SCOPED_TRACE(v);
            OMBREL_ext_clear_last_error();
            EXPECT_EQ(s.set(v), -1);
            EXPECT_STRNE(OMBREL_ext_get_last_error(), "");
            EXPECT_EQ(s.get(), kept);
        }
    }
}

TEST_F(FloatSettersTest, NewPointsTracksAndLightsWithNoFiniteFloatAreNotMade) {
    const int32_t polygon = OMBREL_polygon_create();
    const double record[6] = {0, 1e39, 0, 0, 0, 100};
    OMBREL_ext_clear_last_error();
    EXPECT_EQ(OMBREL_polygon_add_point(polygon, record), 0);
    EXPECT_STRNE(OMBREL_ext_get_last_error(), "");
    EXPECT_EQ(OMBREL_polygon_get_first_point(polygon), 0);

    const double points[6] = {0, 0, 0, 0, -INFINITY, 0};
    EXPECT_EQ(OMBREL_track_create("t", 0, points, 2), 0);
    const double at[3] = {NAN, 0, 0};
    EXPECT_EQ(OMBREL_light_create("l", at), 0);
    EXPECT_EQ(OMBREL_light_get_first_light(), 0);
}
