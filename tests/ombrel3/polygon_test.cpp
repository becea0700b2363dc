// Polygon properties: plane and visible side, fills, blending, flags, names, deletion.
#include "engine_fixture.h"

#include <cstring>

namespace {

using PolygonTest = EngineTest;

TEST_F(PolygonTest, PlaneFacesTheClockwiseSide) {
    int32_t g = OMBREL_group_create("g");
    int32_t up = makeSquareFacingUp(g, 0, 0, 2, 1);
    double plane[4];
    ASSERT_EQ(OMBREL_polygon_get_plane(up, plane), 0);
    EXPECT_DOUBLE_EQ(plane[2], 1);
    EXPECT_DOUBLE_EQ(plane[3], -2);
    double above[3] = {0, 0, 5}, below[3] = {0, 0, -5}, on[3] = {3, 3, 2};
    EXPECT_EQ(OMBREL_math_get_plane_point_relations(plane, above, 0, 0), OMBREL_PLANE_FRONT);
    EXPECT_EQ(OMBREL_math_get_plane_point_relations(plane, below, 0, 0), OMBREL_PLANE_BACK);
    EXPECT_EQ(OMBREL_math_get_plane_point_relations(plane, on, 0, 0), OMBREL_PLANE_ON);

    int32_t first = OMBREL_polygon_get_first_point(up);
    double n[3] = {0, 0, 7};
    OMBREL_point_set_normal(first, n);
    ASSERT_EQ(OMBREL_polygon_flip_visible_side(up), 0);
    OMBREL_polygon_get_plane(up, plane);
    EXPECT_DOUBLE_EQ(plane[2], -1);
    EXPECT_EQ(OMBREL_point_get_next_point(first), 0);  // the first point is now the last
    EXPECT_EQ(OMBREL_polygon_set_orientation(up), 0);
}

TEST_F(PolygonTest, ValidityAndDegeneratePlane) {
    int32_t g = OMBREL_group_create("g");
    struct Case { int32_t polygon; int valid; } cases[] = {
        {makePolygon(g, {{0, 0, 0}, {0, 1, 0}}), 0},
        {makePolygon(g, {{0, 0, 0}, {1, 1, 1}, {2, 2, 2}}), 0},  // collinear
        {makePolygon(g, {{0, 0, 0}, {0, 1, 0}, {1, 0, 0}}), 1},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(OMBREL_polygon_is_valid(c.polygon), c.valid);
        double plane[4] = {9, 9, 9, 9};
        OMBREL_polygon_get_plane(c.polygon, plane);
        if (!c.valid) {
            EXPECT_EQ(plane[0] + plane[1] + plane[2] + plane[3], 0);
        }
    }
    double centre[3];
    EXPECT_EQ(OMBREL_polygon_get_center(cases[2].polygon, centre), 0);
    EXPECT_DOUBLE_EQ(centre[1], 1.0 / 3);
    EXPECT_EQ(OMBREL_polygon_get_center(OMBREL_polygon_create(), centre), -1);
}

TEST_F(PolygonTest, FillsKeepTheColour) {
    int32_t p = OMBREL_polygon_create();
    int32_t r = 0, g = 0, b = 0;
    OMBREL_polygon_get_color(p, &r, &g, &b);
    EXPECT_EQ(r, 192);
    OMBREL_polygon_set_color_fill(p, -5, 300, 7);
    OMBREL_polygon_get_color(p, &r, &g, &b);
    EXPECT_EQ(r, 0);
    EXPECT_EQ(g, 255);
    EXPECT_EQ(b, 7);
    EXPECT_EQ(OMBREL_polygon_get_bitmap_handle(p), 0);
    EXPECT_EQ(OMBREL_polygon_get_transparent_index(p), -1);
    EXPECT_EQ(OMBREL_polygon_get_transparent_rgb(p, &r, &g, &b), -1);
    // Handles of another kind are refused as bitmaps and animations.
    int32_t group = OMBREL_group_create("g");
    EXPECT_EQ(OMBREL_polygon_set_bitmap_fill(p, group), -1);
    EXPECT_EQ(OMBREL_polygon_set_animation(p, group), -1);
    EXPECT_EQ(OMBREL_polygon_set_second_bitmap(p, group), -1);
    EXPECT_EQ(OMBREL_group_set_bitmap(group, p), -1);
    EXPECT_EQ(OMBREL_polygon_set_bitmap_fill(p, 0), 0);  // back to the colour fill
    EXPECT_EQ(OMBREL_polygon_set_animation(p, 0), 0);
    OMBREL_polygon_get_color(p, &r, &g, &b);
    EXPECT_EQ(g, 255);

    OMBREL_polygon_set_group(p, group);
    uint8_t grey[3] = {1, 2, 3};
    EXPECT_EQ(OMBREL_group_set_color(group, grey), 0);
    OMBREL_polygon_get_color(p, &r, &g, &b);
    EXPECT_EQ(b, 3);
    EXPECT_EQ(OMBREL_group_is_bitmap_used(group, p), 0);
}

TEST_F(PolygonTest, StoredProperties) {
    int32_t p = OMBREL_polygon_create();
    OMBREL_polygon_set_translucent(p, 0x152);
    EXPECT_EQ(OMBREL_polygon_get_translucent(p), 0x52);
    OMBREL_polygon_set_light_diminution(p, 150);
    EXPECT_EQ(OMBREL_polygon_get_light_diminution(p), 150);
    EXPECT_EQ(OMBREL_polygon_is_rotated(p), 0);
    OMBREL_polygon_set_rotated(p, 7);
    EXPECT_EQ(OMBREL_polygon_is_rotated(p), 1);
    EXPECT_EQ(OMBREL_polygon_create_lightmap(p, 256, 1, 4, 1, 2), 0);
    EXPECT_NE(std::strstr(OMBREL_ext_get_last_error(), "no area"), nullptr) << "no points: no map";
}

TEST_F(PolygonTest, DisabledPolygonsStayInWalksButLeaveTheWorldBox) {
    int32_t g = OMBREL_group_create("g");
    int32_t low = makeSquareFacingUp(g, 0, 0, 0, 1);
    makeSquareFacingUp(g, 0, 0, 8, 1);
    OMBREL_polygon_disable(low);
    double box[6];
    OMBREL_group_get_bounding_box(0, box);
    EXPECT_EQ(box[2], 8);
    EXPECT_EQ(OMBREL_group_get_number_of_polygons(g), 2);
    OMBREL_polygon_enable(low);
    OMBREL_group_get_bounding_box(0, box);
    EXPECT_EQ(box[2], 0);
}

TEST_F(PolygonTest, NamesAndLookUp) {
    int32_t g = OMBREL_group_create("g");
    int32_t a = makeSquareFacingUp(g, 0, 0, 0, 1);
    int32_t b = makeSquareFacingUp(g, 0, 0, 1, 1);
    OMBREL_polygon_set_name(a, "door");
    OMBREL_polygon_set_name(b, "door");
    EXPECT_EQ(OMBREL_polygon_get_handle_using_name("door"), a);
    EXPECT_EQ(OMBREL_polygon_get_handle_using_name("Door"), 0);
    OMBREL_polygon_delete(a);
    EXPECT_EQ(OMBREL_polygon_get_handle_using_name("door"), b);
}

TEST_F(PolygonTest, DeleteMakesPointsStaleAndLeavesTheGroup) {
    int32_t g = OMBREL_group_create("g");
    int32_t p = makeSquareFacingUp(g, 0, 0, 0, 1);
    int32_t pt = OMBREL_polygon_get_first_point(p);
    ASSERT_EQ(OMBREL_polygon_delete(p), 0);
    EXPECT_EQ(OMBREL_ext_handle_kind(pt), OMBREL_KIND_NONE);
    EXPECT_EQ(OMBREL_group_get_first_polygon(g), 0);
    EXPECT_EQ(OMBREL_group_get_first_polygon(0), 0);
    EXPECT_EQ(OMBREL_polygon_delete(p), -1);
}

}  // namespace
