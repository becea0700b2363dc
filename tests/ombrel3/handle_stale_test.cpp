// Every call of the group, polygon, point and entity families refuses a destroyed,
// zero or wrong-kind handle with its failure value and a last error, and never acts
// on the object another kind's handle names.
#include "engine_fixture.h"

#include <functional>
#include <string>
#include <vector>

namespace {

struct Call {
    const char* name;
    std::function<double(int32_t)> call;
    double failure;
};

double v3[3] = {1, 2, 3};
double out6[6];
uint8_t rgb[3] = {1, 2, 3};

std::vector<Call> groupCalls() {
    return {
        {"delete_members", [](int32_t h) { return OMBREL_group_delete_members(h); }, -1},
        {"duplicate_tree", [](int32_t h) { return OMBREL_group_duplicate_tree(h); }, 0},
        {"reduced_copy", [](int32_t h) { return OMBREL_group_create_reduced_copy(h, 10); }, 0},
        {"triangles", [](int32_t h) { return OMBREL_group_create_copy_made_of_triangles(h); }, 0},
        {"set_name", [](int32_t h) { return OMBREL_group_set_name(h, "x"); }, -1},
        {"get_next", [](int32_t h) { return OMBREL_group_get_next(h); }, 0},
        {"first_included", [](int32_t h) { return OMBREL_group_get_first_included_group(h); }, 0},
        {"next_included", [](int32_t h) { return OMBREL_group_get_next_included_group(h, h); }, 0},
        {"get_father", [](int32_t h) { return OMBREL_group_get_father_group(h); }, 0},
        {"set_father", [](int32_t h) { return OMBREL_group_set_father_group(h, 0); }, -1},
        {"set_location", [](int32_t h) { return OMBREL_group_set_location(h, v3); }, -1},
        {"move", [](int32_t h) { return OMBREL_group_move(h, v3, 0); }, -1},
        {"rotate", [](int32_t h) { return OMBREL_group_rotate(h, 30, 0, 2); }, -1},
        {"scale", [](int32_t h) { return OMBREL_group_scale(h, 0, 2, 2, 2); }, -1},
        {"set_pivot", [](int32_t h) { return OMBREL_group_set_rotate_reference_point(h, v3); }, -1},
        {"centre_of_mass", [](int32_t h) { return OMBREL_group_get_center_of_mass(h, out6); }, -1},
        {"axis_system", [](int32_t h) { return OMBREL_group_calculate_axis_system(h, out6, out6, out6); }, -1},
        {"match_axes", [](int32_t h) { return OMBREL_group_rotate_to_match_axis_system(h, v3, v3, v3); }, -1},
        {"to_world", [](int32_t h) { return OMBREL_group_convert_point_to_world_space_fast(h, v3, out6); }, -1},
        {"disable", [](int32_t h) { return OMBREL_group_disable(h, 1); }, -1},
        {"is_disable", [](int32_t h) { return OMBREL_group_is_disable(h); }, 0},
        {"is_static", [](int32_t h) { return OMBREL_group_is_static(h); }, 0},
        {"set_static", [](int32_t h) { return OMBREL_group_set_static(h); }, -1},
        {"set_dynamic", [](int32_t h) { return OMBREL_group_set_dynamic(h); }, -1},
        {"set_bitmap", [](int32_t h) { return OMBREL_group_set_bitmap(h, 0); }, -1},
        {"set_color", [](int32_t h) { return OMBREL_group_set_color(h, rgb); }, -1},
        {"remove_light", [](int32_t h) { return OMBREL_group_remove_light(h); }, -1},
        {"chase_type", [](int32_t h) { return OMBREL_group_get_chase_type(h); }, 0},
        {"set_chase_type", [](int32_t h) { return OMBREL_group_set_chase_type(h, 2); }, -1},
        {"chase_softness", [](int32_t h) { return OMBREL_group_get_chase_softness(h); }, 0},
        {"set_chase_offset", [](int32_t h) { return OMBREL_group_set_chase_offset(h, v3); }, -1},
        {"chase_offset", [](int32_t h) { return OMBREL_group_get_chase_offset(h, out6); }, -1},
        {"set_name_to_chase", [](int32_t h) { return OMBREL_group_set_name_to_chase(h, "c"); }, -1},
        {"speed", [](int32_t h) { return OMBREL_group_get_absolute_speed(h); }, 0},
        {"track_handle", [](int32_t h) { return OMBREL_group_get_track_handle(h); }, 0},
        {"set_track_name", [](int32_t h) { return OMBREL_group_set_track_name(h, "t"); }, -1},
        {"set_force", [](int32_t h) { return OMBREL_group_set_physics_force(h, v3); }, -1},
        {"elasticity", [](int32_t h) { return OMBREL_group_get_physics_elasticity(h); }, 0},
        {"set_maxspeed", [](int32_t h) { return OMBREL_group_set_physics_maxspeed(h, 3); }, -1},
        {"falling", [](int32_t h) {
             int32_t falling, value;
             double height;
             return OMBREL_group_get_falling_from_track_params(h, &falling, &height, &value);
         }, -1},
        {"set_falling", [](int32_t h) { return OMBREL_group_set_falling_from_track(h, 1, 1); }, -1},
        {"unset_falling", [](int32_t h) { return OMBREL_group_unset_falling_from_track(h); }, -1},
        // Getters where 0 is the world still refuse stale and wrong-kind handles.
        {"first_polygon", [](int32_t h) { return OMBREL_group_get_first_polygon(h); }, 0},
        {"polygon_count", [](int32_t h) { return OMBREL_group_get_number_of_polygons(h); }, 0},
        {"dimensions", [](int32_t h) { return OMBREL_group_get_dimensions(h, out6); }, -1},
        {"bounding_box", [](int32_t h) { return OMBREL_group_get_bounding_box(h, out6); }, -1},
        {"pivot", [](int32_t h) { return OMBREL_group_get_rotate_reference_point(h, out6); }, -1},
        {"location", [](int32_t h) {
             double x, y, z;
             return OMBREL_group_get_location(h, &x, &y, &z);
         }, -1},
    };
}

std::vector<Call> polygonCalls() {
    return {
        {"delete", [](int32_t h) { return OMBREL_polygon_delete(h); }, -1},
        {"add_point", [](int32_t h) { double r[6] = {}; return OMBREL_polygon_add_point(h, r); }, 0},
        {"set_group", [](int32_t h) { return OMBREL_polygon_set_group(h, 0); }, -1},
        {"get_group", [](int32_t h) { return OMBREL_polygon_get_group(h); }, 0},
        {"is_in_group", [](int32_t h) { return OMBREL_polygon_is_in_group(h, 0); }, 0},
        {"first_point", [](int32_t h) { return OMBREL_polygon_get_first_point(h); }, 0},
        {"num_points", [](int32_t h) { return OMBREL_polygon_get_num_of_points(h); }, 0},
        {"get_next", [](int32_t h) { return OMBREL_polygon_get_next(h); }, 0},
        {"center", [](int32_t h) { return OMBREL_polygon_get_center(h, out6); }, -1},
        {"plane", [](int32_t h) { return OMBREL_polygon_get_plane(h, out6); }, -1},
        {"is_valid", [](int32_t h) { return OMBREL_polygon_is_valid(h); }, 0},
        {"orientation", [](int32_t h) { return OMBREL_polygon_set_orientation(h); }, -1},
        {"flip", [](int32_t h) { return OMBREL_polygon_flip_visible_side(h); }, -1},
        {"disable", [](int32_t h) { return OMBREL_polygon_disable(h); }, -1},
        {"enable", [](int32_t h) { return OMBREL_polygon_enable(h); }, -1},
        {"set_name", [](int32_t h) { return OMBREL_polygon_set_name(h, "x"); }, -1},
        {"get_color", [](int32_t h) { int32_t r, g, b; return OMBREL_polygon_get_color(h, &r, &g, &b); }, -1},
        {"set_color", [](int32_t h) { return OMBREL_polygon_set_color_fill(h, 1, 2, 3); }, -1},
        {"bitmap", [](int32_t h) { return OMBREL_polygon_get_bitmap_handle(h); }, 0},
        {"set_bitmap", [](int32_t h) { return OMBREL_polygon_set_bitmap_fill(h, 0); }, -1},
        {"animation", [](int32_t h) { return OMBREL_polygon_get_animation(h); }, 0},
        {"set_animation", [](int32_t h) { return OMBREL_polygon_set_animation(h, 0); }, -1},
        {"second_bitmap", [](int32_t h) { return OMBREL_polygon_set_second_bitmap(h, 0); }, -1},
        {"lightmap", [](int32_t h) { return OMBREL_polygon_create_lightmap(h, 256, 1, 4, 1, 2); }, 0},
        {"diminution", [](int32_t h) { return OMBREL_polygon_get_light_diminution(h); }, 0},
        {"set_diminution", [](int32_t h) { return OMBREL_polygon_set_light_diminution(h, 5); }, -1},
        {"translucent", [](int32_t h) { return OMBREL_polygon_get_translucent(h); }, 0},
        {"set_translucent", [](int32_t h) { return OMBREL_polygon_set_translucent(h, 0x52); }, -1},
        {"transparent_index", [](int32_t h) { return OMBREL_polygon_get_transparent_index(h); }, -1},
        {"transparent_rgb", [](int32_t h) { int32_t r, g, b; return OMBREL_polygon_get_transparent_rgb(h, &r, &g, &b); }, -1},
        {"set_rotated", [](int32_t h) { return OMBREL_polygon_set_rotated(h, 1); }, -1},
        {"is_rotated", [](int32_t h) { return OMBREL_polygon_is_rotated(h); }, 0},
        {"walk_next", [](int32_t h) { return OMBREL_group_get_next_polygon(0, h); }, 0},
        {"engine_add", [](int32_t h) { return OMBREL_engine_add_polygon(h); }, -1},
        {"ext_get_points", [](int32_t h) { int32_t pts[4]; return OMBREL_ext_polygon_get_points(h, pts, out6, 2); }, -1},
    };
}

std::vector<Call> pointCalls() {
    return {
        {"get_xyz", [](int32_t h) { return OMBREL_point_get_xyz(h, out6); }, -1},
        {"set_xyz", [](int32_t h) { return OMBREL_point_set_xyz(h, v3); }, -1},
        {"get_uv", [](int32_t h) { return OMBREL_point_get_bitmap_xy(h, out6); }, -1},
        {"set_uv", [](int32_t h) { return OMBREL_point_set_bitmap_xy(h, 0, v3); }, -1},
        {"brightness", [](int32_t h) { return OMBREL_point_get_brightness(h); }, 0},
        {"set_brightness", [](int32_t h) { return OMBREL_point_set_brightness(h, 5); }, -1},
        {"set_normal", [](int32_t h) { return OMBREL_point_set_normal(h, v3); }, -1},
        {"set_rgb", [](int32_t h) { return OMBREL_point_set_rgb(h, 0, rgb); }, -1},
        {"next_point", [](int32_t h) { return OMBREL_point_get_next_point(h); }, 0},
    };
}

class HandleStale : public EngineTest {
protected:
    void SetUp() override {
        EngineTest::SetUp();
        group = OMBREL_group_create("keeper");
        polygon = makeSquareFacingUp(group, 0, 0, 0, 2);
        OMBREL_polygon_set_name(polygon, "keeper polygon");
        point = OMBREL_polygon_get_first_point(polygon);
        int32_t deadGroup = OMBREL_group_create("dead");
        int32_t deadPolygon = makeSquareFacingUp(deadGroup, 5, 5, 5, 1);
        deadPoint = OMBREL_polygon_get_first_point(deadPolygon);
        OMBREL_polygon_delete(deadPolygon);
        deadPolygonHandle = deadPolygon;
        OMBREL_group_delete_members(deadGroup);
        deadGroupHandle = deadGroup;
    }

    void expectAllFail(const std::vector<Call>& calls, std::initializer_list<int32_t> bad) {
        for (const Call& c : calls)
            for (int32_t h : bad) {
                OMBREL_ext_clear_last_error();
                EXPECT_EQ(c.call(h), c.failure) << c.name << " on " << h;
                EXPECT_STRNE(OMBREL_ext_get_last_error(), "") << c.name << " on " << h;
            }
    }

    int32_t group = 0, polygon = 0, point = 0, deadGroupHandle = 0, deadPolygonHandle = 0, deadPoint = 0;
};

TEST_F(HandleStale, EveryFamilyRefusesBadHandles) {
    expectAllFail(groupCalls(), {deadGroupHandle, polygon, point});
    expectAllFail(polygonCalls(), {deadPolygonHandle, 0, group, point});
    expectAllFail(pointCalls(), {deadPoint, 0, polygon});
    // 0 is the world for a few group getters, and none for the rest.
    for (const Call& c : groupCalls()) {
        std::string n = c.name;
        if (n == "first_polygon" || n == "polygon_count" || n == "dimensions" || n == "bounding_box" ||
            n == "pivot" || n == "location" || n == "centre_of_mass")
            continue;
        OMBREL_ext_clear_last_error();
        EXPECT_EQ(c.call(0), c.failure) << c.name << " on 0";
        EXPECT_STRNE(OMBREL_ext_get_last_error(), "") << c.name << " on 0";
    }
}

TEST_F(HandleStale, WrongKindHandlesLeaveTheirObjectAlone) {
    expectAllFail(groupCalls(), {polygon, point});
    expectAllFail(polygonCalls(), {group, point});
    expectAllFail(pointCalls(), {polygon, group});
    EXPECT_EQ(entityName(group), "keeper");
    EXPECT_EQ(entityName(polygon), "keeper polygon");
    EXPECT_EQ(OMBREL_polygon_get_group(polygon), group);
    EXPECT_EQ(OMBREL_polygon_get_num_of_points(polygon), 4);
    EXPECT_EQ(OMBREL_group_is_disable(group), 0);
    double xyz[3];
    ASSERT_EQ(OMBREL_point_get_xyz(point, xyz), 0);
    EXPECT_EQ(xyz[0], -1);
    EXPECT_EQ(xyz[2], 0);
}

TEST_F(HandleStale, OutputsAreUntouchedOnFailure) {
    double box[6] = {7, 7, 7, 7, 7, 7};
    EXPECT_EQ(OMBREL_group_get_bounding_box(deadGroupHandle, box), -1);
    EXPECT_EQ(OMBREL_point_get_xyz(deadPoint, box), -1);
    for (double v : box) EXPECT_EQ(v, 7);
    int32_t r = 9, g = 9, b = 9;
    EXPECT_EQ(OMBREL_polygon_get_transparent_rgb(polygon, &r, &g, &b), -1);
    EXPECT_EQ(r + g + b, 27);
}

TEST_F(HandleStale, ClosingTheWorldMakesEveryHandleStale) {
    OMBREL_engine_close();
    EXPECT_EQ(OMBREL_engine_is_engine_empty(), 1);
    EXPECT_EQ(OMBREL_group_get_first_group(), 0);
    EXPECT_EQ(OMBREL_group_create("x"), 0);
    EXPECT_EQ(OMBREL_polygon_create(), 0);
    expectAllFail(groupCalls(), {group});
    expectAllFail(polygonCalls(), {polygon});
    expectAllFail(pointCalls(), {point});
    ASSERT_EQ(OMBREL_engine_load_world(nullptr, "", "", OMBREL_LOAD_EDITOR), 0);
    EXPECT_EQ(OMBREL_group_get_number_of_polygons(0), 0);
    EXPECT_EQ(OMBREL_entity_get_name(group, nullptr, 0), -1);
}

}  // namespace
