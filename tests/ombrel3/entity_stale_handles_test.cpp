// Lights, tracks, backgrounds, bitmaps, animations and cameras refuse 0, stale and
// wrong-kind handles with their failure value and a last error, and never act on
// the object a wrong-kind handle names.
#include "bmp_writer.h"
#include "engine_fixture.h"

#include <functional>
#include <string>
#include <vector>

namespace {

struct Call {
    const char* name;
    std::function<double(int32_t)> run;
    double failure;
};

const double kOrigin[3] = {0, 0, 0};

std::vector<Call> lightCalls() {
    static double v3[3] = {1, 2, 3};
    static uint8_t rgb[3] = {1, 2, 3};
    return {
        {"light_delete", [](int32_t h) { return OMBREL_light_delete(h); }, -1},
        {"light_get_next_light", [](int32_t h) { return OMBREL_light_get_next_light(h); }, 0},
        {"light_set_name", [](int32_t h) { return OMBREL_light_set_name(h, "renamed"); }, -1},
        {"light_set_save_flag", [](int32_t h) { return OMBREL_light_set_save_flag(h, 0); }, -1},
        {"light_get_location", [](int32_t h) { return OMBREL_light_get_location(h, v3); }, -1},
        {"light_set_location", [](int32_t h) { return OMBREL_light_set_location(h, v3); }, -1},
        {"light_get_direction", [](int32_t h) { return OMBREL_light_get_direction(h, v3); }, -1},
        {"light_set_direction", [](int32_t h) { return OMBREL_light_set_direction(h, v3); }, -1},
        {"light_get_color", [](int32_t h) { return OMBREL_light_get_color(h, rgb); }, -1},
        {"light_set_color", [](int32_t h) { return OMBREL_light_set_color(h, rgb); }, -1},
        {"light_get_ambient", [](int32_t h) { return OMBREL_light_get_ambient(h); }, 0},
        {"light_set_ambient", [](int32_t h) { return OMBREL_light_set_ambient(h, 7); }, -1},
        {"light_get_diffuse", [](int32_t h) { return OMBREL_light_get_diffuse(h); }, 0},
        {"light_set_diffuse", [](int32_t h) { return OMBREL_light_set_diffuse(h, 7); }, -1},
        {"light_get_specular", [](int32_t h) { return OMBREL_light_get_specular(h); }, 0},
        {"light_set_specular", [](int32_t h) { return OMBREL_light_set_specular(h, 7); }, -1},
        {"light_get_specular_shining", [](int32_t h) { return OMBREL_light_get_specular_shining(h); }, 0},
        {"light_set_specular_shining", [](int32_t h) { return OMBREL_light_set_specular_shining(h, 7); }, -1},
        {"light_get_distance_reach", [](int32_t h) { return OMBREL_light_get_distance_reach(h); }, 0},
        {"light_set_distance_reach", [](int32_t h) { return OMBREL_light_set_distance_reach(h, 7); }, -1},
        {"light_get_type_of_light", [](int32_t h) { return OMBREL_light_get_type_of_light(h); }, 0},
        {"light_set_type_of_light", [](int32_t h) { return OMBREL_light_set_type_of_light(h, 1); }, -1},
        {"light_disable", [](int32_t h) { return OMBREL_light_disable(h, 1); }, -1},
        {"light_is_disabled", [](int32_t h) { return OMBREL_light_is_disabled(h); }, 0},
        {"light_set_ray_tracing", [](int32_t h) { return OMBREL_light_set_ray_tracing(h, 0); }, -1},
        {"light_is_ray_tracing", [](int32_t h) { return OMBREL_light_is_ray_tracing(h); }, 0},
        {"light_activate", [](int32_t h) { return OMBREL_light_activate(h, 0); }, -1},
        {"light_activate_before_each_render", [](int32_t h) { return OMBREL_light_activate_before_each_render(h, 0, 0); }, -1},
        {"light_is_activated_before_render", [](int32_t h) { int32_t s = 99; return OMBREL_light_is_activated_before_render(h, &s) + (s == 99 ? 0 : 100); }, 0},
        {"light_get_entity_to_light", [](int32_t h) { return OMBREL_light_get_entity_to_light(h); }, 0},
        {"light_set_entity_to_light", [](int32_t h) { return OMBREL_light_set_entity_to_light(h, 0); }, -1},
        {"ext_light_get_save_flag", [](int32_t h) { return OMBREL_ext_light_get_save_flag(h); }, 0},
    };
}

std::vector<Call> trackCalls() {
    static double v3[3] = {1, 2, 3};
    return {
        {"track_delete", [](int32_t h) { return OMBREL_track_delete(h); }, -1},
        {"track_get_next", [](int32_t h) { return OMBREL_track_get_next(h); }, 0},
        {"track_set_name", [](int32_t h) { return OMBREL_track_set_name(h, "renamed"); }, -1},
        {"track_set_save_flag", [](int32_t h) { return OMBREL_track_set_save_flag(h, 0); }, -1},
        {"track_get_number_of_points", [](int32_t h) { return OMBREL_track_get_number_of_points(h); }, 0},
        {"track_get_point", [](int32_t h) { return OMBREL_track_get_point(h, 0, v3); }, -1},
        {"track_set_point", [](int32_t h) { return OMBREL_track_set_point(h, 0, v3); }, -1},
        {"track_set_number_of_points", [](int32_t h) { return OMBREL_track_set_number_of_points(h, 5); }, -1},
        {"track_set_points_buffer", [](int32_t h) { return OMBREL_track_set_points_buffer(h, v3, 1); }, -1},
        {"track_is_cyclic", [](int32_t h) { return OMBREL_track_is_cyclic(h); }, 0},
        {"ext_track_get_save_flag", [](int32_t h) { return OMBREL_ext_track_get_save_flag(h); }, 0},
    };
}

std::vector<Call> backgroundCalls() {
    return {
        {"background_delete", [](int32_t h) { return OMBREL_background_delete(h); }, -1},
        {"background_get_next", [](int32_t h) { return OMBREL_background_get_next(h); }, 0},
        {"background_get_name", [](int32_t h) { return std::string(OMBREL_background_get_name(h)).empty() ? 0.0 : 1.0; }, 0},
        {"background_set_name", [](int32_t h) { return OMBREL_background_set_name(h, "renamed"); }, -1},
        {"background_set_save_flag", [](int32_t h) { return OMBREL_background_set_save_flag(h, 0); }, -1},
        {"background_get_bitmap", [](int32_t h) { return OMBREL_background_get_bitmap(h); }, 0},
        {"background_set_bitmap", [](int32_t h) { return OMBREL_background_set_bitmap(h, 0); }, -1},
        {"background_get_bottom", [](int32_t h) { return OMBREL_background_get_bottom(h); }, 0},
        {"background_set_bottom", [](int32_t h) { return OMBREL_background_set_bottom(h, 7); }, -1},
        {"background_get_bottom_intensity", [](int32_t h) { return OMBREL_background_get_bottom_intensity(h); }, 0},
        {"background_set_bottom_intensity", [](int32_t h) { return OMBREL_background_set_bottom_intensity(h, 7); }, -1},
        {"background_get_distance", [](int32_t h) { return OMBREL_background_get_distance(h); }, 0},
        {"background_set_distance", [](int32_t h) { return OMBREL_background_set_distance(h, 7); }, -1},
        {"background_get_intensity_step", [](int32_t h) { return OMBREL_background_get_intensity_step(h); }, 0},
        {"background_set_intensity_step", [](int32_t h) { return OMBREL_background_set_intensity_step(h, 7); }, -1},
        {"ext_background_get_save_flag", [](int32_t h) { return OMBREL_ext_background_get_save_flag(h); }, 0},
    };
}

std::vector<Call> bitmapCalls() {
    return {
        {"bitmap_unload", [](int32_t h) { return OMBREL_bitmap_unload(h); }, -1},
        {"bitmap_get_next", [](int32_t h) { return OMBREL_bitmap_get_next(h); }, 0},
        {"bitmap_get_width", [](int32_t h) { return OMBREL_bitmap_get_width(h); }, 0},
        {"bitmap_get_height", [](int32_t h) { return OMBREL_bitmap_get_height(h); }, 0},
        {"bitmap_get_transparent_index", [](int32_t h) { return OMBREL_bitmap_get_transparent_index(h); }, -1},
        {"bitmap_index_to_rgb", [](int32_t h) { uint8_t r = 7, g = 7, b = 7; return OMBREL_bitmap_index_to_rgb(h, 0, &r, &g, &b) + (r == 7 && g == 7 && b == 7 ? 0 : 100); }, -1},
        {"bitmap_rgb_color_to_index", [](int32_t h) { return OMBREL_bitmap_rgb_color_to_index(h, 0, 0, 0); }, -1},
        {"ext_bitmap_set_save_flag", [](int32_t h) { return OMBREL_ext_bitmap_set_save_flag(h, 0); }, -1},
        {"ext_bitmap_get_save_flag", [](int32_t h) { return OMBREL_ext_bitmap_get_save_flag(h); }, 0},
    };
}

std::vector<Call> animationCalls() {
    return {
        {"animation_delete", [](int32_t h) { return OMBREL_animation_delete(h); }, -1},
        {"animation_get_next", [](int32_t h) { return OMBREL_animation_get_next(h); }, 0},
        {"animation_set_name", [](int32_t h) { return OMBREL_animation_set_name(h, "renamed"); }, -1},
        {"animation_set_save_flag", [](int32_t h) { return OMBREL_animation_set_save_flag(h, 0); }, -1},
        {"animation_get_number_of_frames", [](int32_t h) { return OMBREL_animation_get_number_of_frames(h); }, 0},
        {"animation_get_number_of_bitmaps", [](int32_t h) { return OMBREL_animation_get_number_of_bitmaps(h); }, 0},
        {"animation_get_bitmap", [](int32_t h) { return OMBREL_animation_get_bitmap(h, 1, 0); }, 0},
        {"animation_remove_bitmap", [](int32_t h) { return OMBREL_animation_remove_bitmap(h, 1, 0); }, -1},
        {"animation_get_frame_time", [](int32_t h) { return OMBREL_animation_get_frame_time(h, 0); }, 0},
        {"animation_set_frame_time", [](int32_t h) { return OMBREL_animation_set_frame_time(h, 0, 5); }, -1},
        {"animation_get_frame_transparent_index", [](int32_t h) { return OMBREL_animation_get_frame_transparent_index(h, 1, 0); }, -1},
        {"ext_animation_get_save_flag", [](int32_t h) { return OMBREL_ext_animation_get_save_flag(h); }, 0},
    };
}

std::vector<Call> cameraCalls() {
    static double v3[3] = {1, 2, 3};
    static double x, y, z;
    return {
        {"camera_delete", [](int32_t h) { return OMBREL_camera_delete(h); }, -1},
        {"camera_get_next_camera", [](int32_t h) { return OMBREL_camera_get_next_camera(h); }, 0},
        {"camera_set_name", [](int32_t h) { return OMBREL_camera_set_name(h, "renamed"); }, -1},
        {"camera_get_save_flag", [](int32_t h) { return OMBREL_camera_get_save_flag(h); }, 0},
        {"camera_set_save_flag", [](int32_t h) { return OMBREL_camera_set_save_flag(h, 0); }, -1},
        {"camera_set_current", [](int32_t h) { return OMBREL_camera_set_current(h, 0); }, -1},
        {"camera_get_location", [](int32_t h) { return OMBREL_camera_get_location(h, &x, &y, &z); }, -1},
        {"camera_set_location", [](int32_t h) { return OMBREL_camera_set_location(h, 1, 2, 3); }, -1},
        {"camera_get_location1", [](int32_t h) { return OMBREL_camera_get_location1(h, v3); }, -1},
        {"camera_set_location1", [](int32_t h) { return OMBREL_camera_set_location1(h, v3); }, -1},
        {"camera_get_direction", [](int32_t h) { return OMBREL_camera_get_direction(h, &x, &y, &z); }, -1},
        {"camera_set_direction", [](int32_t h) { return OMBREL_camera_set_direction(h, 1, 2, 3); }, -1},
        {"camera_get_direction1", [](int32_t h) { return OMBREL_camera_get_direction1(h, v3); }, -1},
        {"camera_set_direction1", [](int32_t h) { return OMBREL_camera_set_direction1(h, v3); }, -1},
        {"camera_get_axis_system", [](int32_t h) { double a[3], b[3], c[3]; return OMBREL_camera_get_axis_system(h, a, b, c); }, -1},
        {"camera_set_axis_system", [](int32_t h) {
             const double a[3] = {1, 0, 0}, b[3] = {0, 1, 0}, c[3] = {0, 0, 1};
             return OMBREL_camera_set_axis_system(h, a, b, c); }, -1},
        {"camera_move", [](int32_t h) { return OMBREL_camera_move(h, 0, 1, 2, 3); }, -1},
        {"camera_rotate_x", [](int32_t h) { return OMBREL_camera_rotate_x(h, 10, 0); }, -1},
        {"camera_rotate_y", [](int32_t h) { return OMBREL_camera_rotate_y(h, 10, 0); }, -1},
        {"camera_rotate_z", [](int32_t h) { return OMBREL_camera_rotate_z(h, 10, 0); }, -1},
        {"camera_rotate_x_radians", [](int32_t h) { return OMBREL_camera_rotate_x_radians(h, 0.1, 0); }, -1},
        {"camera_get_zoom", [](int32_t h) { return OMBREL_camera_get_zoom(h); }, 0},
        {"camera_set_zoom", [](int32_t h) { return OMBREL_camera_set_zoom(h, 30); }, -1},
        {"camera_get_distance_from_eye", [](int32_t h) { return OMBREL_camera_get_distance_from_eye(h); }, 0},
        {"camera_set_distance_from_eye", [](int32_t h) { return OMBREL_camera_set_distance_from_eye(h, 2); }, -1},
        {"camera_get_chase_type", [](int32_t h) { return OMBREL_camera_get_chase_type(h); }, 0},
        {"camera_set_chase_type", [](int32_t h) { return OMBREL_camera_set_chase_type(h, 2); }, -1},
        {"camera_get_chase_distance", [](int32_t h) { return OMBREL_camera_get_chase_distance(h); }, 0},
        {"camera_set_chase_distance", [](int32_t h) { return OMBREL_camera_set_chase_distance(h, 7); }, -1},
        {"camera_get_chase_softness", [](int32_t h) { return OMBREL_camera_get_chase_softness(h); }, 0},
        {"camera_set_chase_softness", [](int32_t h) { return OMBREL_camera_set_chase_softness(h, 7); }, -1},
        {"camera_get_chase_offset", [](int32_t h) { return OMBREL_camera_get_chase_offset(h, v3); }, -1},
        {"camera_set_chase_offset", [](int32_t h) { return OMBREL_camera_set_chase_offset(h, v3); }, -1},
        {"camera_set_name_to_chase", [](int32_t h) { return OMBREL_camera_set_name_to_chase(h, "g"); }, -1},
        {"camera_get_absolute_speed", [](int32_t h) { return OMBREL_camera_get_absolute_speed(h); }, 0},
        {"camera_set_absolute_speed", [](int32_t h) { return OMBREL_camera_set_absolute_speed(h, 7); }, -1},
        {"camera_set_track", [](int32_t h) { return OMBREL_camera_set_track(h, 0); }, -1},
        {"camera_get_track_handle", [](int32_t h) { return OMBREL_camera_get_track_handle(h); }, 0},
        {"camera_get_track_offset", [](int32_t h) { return OMBREL_camera_get_track_offset(h, v3); }, -1},
        {"camera_set_track_offset", [](int32_t h) { return OMBREL_camera_set_track_offset(h, v3); }, -1},
        {"camera_get_force", [](int32_t h) { return OMBREL_camera_get_force(h, v3); }, -1},
        {"camera_set_force", [](int32_t h) { return OMBREL_camera_set_force(h, v3); }, -1},
        {"camera_get_friction", [](int32_t h) { return OMBREL_camera_get_friction(h); }, 0},
        {"camera_set_friction", [](int32_t h) { return OMBREL_camera_set_friction(h, 7); }, -1},
        {"camera_get_elasticity", [](int32_t h) { return OMBREL_camera_get_elasticity(h); }, 0},
        {"camera_set_elasticity", [](int32_t h) { return OMBREL_camera_set_elasticity(h, 7); }, -1},
        {"camera_get_max_speed", [](int32_t h) { return OMBREL_camera_get_max_speed(h); }, 0},
        {"camera_set_max_speed", [](int32_t h) { return OMBREL_camera_set_max_speed(h, 7); }, -1},
    };
}

// What a bystander light and track look like, to prove a refused call left them alone.
struct Bystanders {
    int32_t light, track;

    static Bystanders make() {
        const double at[3] = {4, 5, 6};
        const double pts[6] = {1, 1, 1, 2, 2, 2};
        return {OMBREL_light_create("bystander light", at), OMBREL_track_create("bystander track", 1, pts, 2)};
    }
    void expectUntouched() const {
        double at[3] = {};
        EXPECT_EQ(OMBREL_light_get_location(light, at), 0);
        EXPECT_EQ(at[0], 4);
        EXPECT_EQ(at[2], 6);
        EXPECT_EQ(OMBREL_light_get_using_name("bystander light"), light);
        EXPECT_EQ(OMBREL_light_get_type_of_light(light), OMBREL_LIGHT_DEFAULT);
        EXPECT_EQ(OMBREL_light_is_disabled(light), 0);
        EXPECT_EQ(OMBREL_ext_light_get_save_flag(light), 1);
        EXPECT_EQ(OMBREL_track_get_using_name("bystander track"), track);
        EXPECT_EQ(OMBREL_track_get_number_of_points(track), 2);
        EXPECT_EQ(OMBREL_track_is_cyclic(track), 1);
        EXPECT_EQ(OMBREL_ext_track_get_save_flag(track), 1);
    }
};

struct Family {
    const char* name;
    std::vector<Call> calls;
    std::function<int32_t()> makeStale;  // a handle whose object is gone
    bool wrongKindIsLight;               // which bystander plays the wrong kind
};

}  // namespace

class EntityStaleHandlesTest : public EngineTest {
protected:
    TempFolder dir;
};

TEST_F(EntityStaleHandlesTest, EveryCallRefusesZeroStaleAndWrongKindHandles) {
    const std::vector<Family> families = {
        {"light", lightCalls(), [] { int32_t h = OMBREL_light_create("gone", kOrigin); OMBREL_light_delete(h); return h; }, false},
        {"track", trackCalls(), [] { int32_t h = OMBREL_track_create("gone", 0, nullptr, 0); OMBREL_track_delete(h); return h; }, true},
        {"background", backgroundCalls(), [] { int32_t h = OMBREL_background_create("gone", 0); OMBREL_background_delete(h); return h; }, true},
        {"bitmap", bitmapCalls(), [&] {
             writeBmp24(dir.path() / "gone.bmp", 1, 1, {{1, 2, 3}});
             int32_t h = OMBREL_bitmap_load((dir.path() / "gone.bmp").c_str(), -1);
             OMBREL_bitmap_unload(h);
             return h; }, true},
        {"animation", animationCalls(), [] { int32_t h = OMBREL_animation_create("gone"); OMBREL_animation_delete(h); return h; }, true},
        {"camera", cameraCalls(), [] { int32_t h = OMBREL_camera_create("gone"); OMBREL_camera_delete(h); return h; }, true},
    };
    for (const Family& family : families) {
        Bystanders others = Bystanders::make();
        const int32_t stale = family.makeStale();
        ASSERT_NE(stale, 0) << family.name;
        const int32_t wrongKind = family.wrongKindIsLight ? others.light : others.track;
        const std::pair<const char*, int32_t> handles[] = {{"zero", 0}, {"stale", stale}, {"wrong kind", wrongKind}};
        for (const Call& call : family.calls)
            for (const auto& [what, h] : handles) {
                OMBREL_ext_clear_last_error();
                EXPECT_EQ(call.run(h), call.failure) << call.name << " with a " << what << " handle";
                EXPECT_STRNE(OMBREL_ext_get_last_error(), "") << call.name << " with a " << what << " handle";
            }
        others.expectUntouched();
        OMBREL_light_delete(others.light);
        OMBREL_track_delete(others.track);
    }
}

TEST_F(EntityStaleHandlesTest, CallsWithoutAWorldFailQuietly) {
    OMBREL_engine_close();
    const double at[3] = {0, 0, 0};
    int32_t r = -5;
    EXPECT_EQ(OMBREL_light_create("l", at), 0);
    EXPECT_EQ(OMBREL_light_get_first_light(), 0);
    EXPECT_EQ(OMBREL_track_create("t", 0, nullptr, 0), 0);
    EXPECT_EQ(OMBREL_background_create("b", 0), 0);
    EXPECT_EQ(OMBREL_animation_create("a"), 0);
    EXPECT_EQ(OMBREL_bitmap_load("/nonexistent/x.bmp", -1), 0);
    EXPECT_EQ(OMBREL_bitmap_get_first_bitmap(), 0);
    EXPECT_EQ(OMBREL_engine_get_atmospheric_effect(&r, &r, &r), -1);
    EXPECT_EQ(r, -5);
    EXPECT_EQ(OMBREL_engine_set_atmospheric_effect_intensity(1), -1);
    EXPECT_STRNE(OMBREL_ext_get_last_error(), "");
}

TEST_F(EntityStaleHandlesTest, HandlesOfAReplacedWorldAreStale) {
    const double at[3] = {0, 0, 0};
    const int32_t light = OMBREL_light_create("l", at);
    const int32_t track = OMBREL_track_create("t", 0, nullptr, 0);
    const int32_t background = OMBREL_background_create("b", 0);
    const int32_t animation = OMBREL_animation_create("a");
    ASSERT_EQ(OMBREL_engine_load_world(nullptr, "", "", OMBREL_LOAD_EDITOR), 0);
    EXPECT_EQ(OMBREL_light_set_ambient(light, 1), -1);
    EXPECT_EQ(OMBREL_track_is_cyclic(track), 0);
    EXPECT_EQ(OMBREL_track_set_number_of_points(track, 3), -1);
    EXPECT_EQ(OMBREL_background_set_bottom(background, 1), -1);
    EXPECT_EQ(OMBREL_animation_set_frame_time(animation, 0, 5), -1);
    EXPECT_EQ(OMBREL_light_get_first_light(), 0);
    EXPECT_EQ(OMBREL_track_get_first_track(), 0);
    EXPECT_EQ(OMBREL_background_get_first_background(), 0);
    EXPECT_EQ(OMBREL_animation_get_first_animation(), 0);
}
