// Point records: stored exactly, and the auto-correct grid.
#include "engine_fixture.h"

namespace {

using PointTest = EngineTest;

TEST_F(PointTest, StoresEveryValueAsGiven) {
    int32_t p = OMBREL_polygon_create();
    double rec[6] = {0.1, 0.2, 0.3, 1.5, -2.5, 65280};
    int32_t a = OMBREL_polygon_add_point(p, rec);
    int32_t b = OMBREL_polygon_add_point(p, rec);
    EXPECT_EQ(OMBREL_polygon_get_num_of_points(p), 2);
    EXPECT_EQ(OMBREL_polygon_get_first_point(p), a);
    EXPECT_EQ(OMBREL_point_get_next_point(a), b);
    EXPECT_EQ(OMBREL_point_get_next_point(b), 0);

    double xyz[3], uv[2];
    OMBREL_point_get_xyz(a, xyz);
    EXPECT_EQ(xyz[0], 0.1);
    EXPECT_EQ(xyz[2], 0.3);
    OMBREL_point_get_bitmap_xy(a, uv);
    EXPECT_EQ(uv[0], 1.5);
    EXPECT_EQ(uv[1], -2.5);
    EXPECT_EQ(OMBREL_point_get_brightness(a), 65280);

    double moved[3] = {1e-7, -3, 3e38}, newUv[2] = {7, 8};
    EXPECT_EQ(OMBREL_point_set_xyz(a, moved), 0);
    EXPECT_EQ(OMBREL_point_set_bitmap_xy(a, 0, newUv), 0);  // owner argument ignored
    EXPECT_EQ(OMBREL_point_set_brightness(a, -4), 0);
    uint8_t rgb[3] = {1, 2, 3};
    double normal[3] = {0, 0, 127};
    EXPECT_EQ(OMBREL_point_set_rgb(a, OMBREL_group_create("other"), rgb), 0);
    EXPECT_EQ(OMBREL_point_set_normal(a, normal), 0);
    OMBREL_point_get_xyz(a, xyz);
    EXPECT_EQ(xyz[0], 1e-7);
    EXPECT_EQ(xyz[2], 3e38);
    OMBREL_point_get_bitmap_xy(a, uv);
    EXPECT_EQ(uv[1], 8);
    EXPECT_EQ(OMBREL_point_get_brightness(a), -4);
}

// A polygon's points in one call: handles and positions in order, the count even
// when it is more than the room given, nothing written beyond that room.
TEST_F(PointTest, APolygonsPointsComeInOneCall) {
    int32_t p = makePolygon(0, {{1, 2, 3}, {4, 5, 6}, {7, 8, 9}, {-1, -2, -3}});
    int32_t handles[5] = {0, 0, 0, 0, -7};
    double xyz[15] = {};
    xyz[12] = 42;
    ASSERT_EQ(OMBREL_ext_polygon_get_points(p, handles, xyz, 4), 4);
    for (int i = 0, h = OMBREL_polygon_get_first_point(p); i < 4; ++i, h = OMBREL_point_get_next_point(h)) {
        EXPECT_EQ(handles[i], h);
        double at[3];
        OMBREL_point_get_xyz(h, at);
        for (int k = 0; k < 3; ++k) EXPECT_EQ(xyz[3 * i + k], at[k]);
    }
    EXPECT_EQ(handles[4], -7);
    EXPECT_EQ(xyz[12], 42);

    int32_t few[2] = {0, 0};
    double fewXyz[6] = {};
    EXPECT_EQ(OMBREL_ext_polygon_get_points(p, few, fewXyz, 2), 4);
    EXPECT_EQ(few[1], handles[1]);
    EXPECT_EQ(fewXyz[5], 6);
    EXPECT_EQ(OMBREL_ext_polygon_get_points(p, nullptr, nullptr, 0), 4);
    EXPECT_EQ(OMBREL_ext_polygon_get_points(p, few, fewXyz, -1), -1);
}

TEST_F(PointTest, AutoCorrectModeOneSnapsToAMicroGrid) {
    ASSERT_EQ(OMBREL_engine_set_coordinates_auto_correct_mode(1), 0);
    int32_t p = OMBREL_polygon_create();
    double rec[6] = {0.12345678, -2.0000004, 5, 0.12345678, 0, 100};
    int32_t a = OMBREL_polygon_add_point(p, rec);
    double xyz[3], uv[2];
    OMBREL_point_get_xyz(a, xyz);
    EXPECT_DOUBLE_EQ(xyz[0], 0.123457);
    EXPECT_DOUBLE_EQ(xyz[1], -2.0);
    OMBREL_point_get_bitmap_xy(a, uv);
    EXPECT_EQ(uv[0], 0.12345678);  // texture coordinates are not positions
    double set[3] = {1.0000001, 0, 0};
    OMBREL_point_set_xyz(a, set);
    OMBREL_point_get_xyz(a, xyz);
    EXPECT_DOUBLE_EQ(xyz[0], 1.0);

    EXPECT_EQ(OMBREL_engine_set_coordinates_auto_correct_mode(5), -1);  // kept
    OMBREL_point_set_xyz(a, set);
    OMBREL_point_get_xyz(a, xyz);
    EXPECT_DOUBLE_EQ(xyz[0], 1.0);
    ASSERT_EQ(OMBREL_engine_set_coordinates_auto_correct_mode(0), 0);
    OMBREL_point_set_xyz(a, set);
    OMBREL_point_get_xyz(a, xyz);
    EXPECT_EQ(xyz[0], 1.0000001);
}

TEST_F(PointTest, ColourAndNormalReadBack) {
    int32_t p = OMBREL_polygon_create();
    double rec[6] = {0, 0, 0, 0, 0, 100};
    int32_t a = OMBREL_polygon_add_point(p, rec);
    uint8_t rgb[3] = {9, 9, 9};
    double normal[3] = {7, 7, 7};

    // A new point is white and has no normal of its own.
    EXPECT_EQ(OMBREL_ext_point_get_rgb(a, rgb), 0);
    EXPECT_EQ(rgb[0], 255);
    EXPECT_EQ(rgb[2], 255);
    EXPECT_EQ(OMBREL_ext_point_get_normal(a, normal), 0);
    EXPECT_EQ(normal[0], 0);
    EXPECT_EQ(normal[2], 0);

    const uint8_t set[3] = {10, 20, 30};
    const double n[3] = {0.25, -0.5, 2};
    OMBREL_point_set_rgb(a, p, set);
    OMBREL_point_set_normal(a, n);
    EXPECT_EQ(OMBREL_ext_point_get_rgb(a, rgb), 0);
    EXPECT_EQ(rgb[0], 10);
    EXPECT_EQ(rgb[1], 20);
    EXPECT_EQ(rgb[2], 30);
    EXPECT_EQ(OMBREL_ext_point_get_normal(a, normal), 1);
    EXPECT_EQ(normal[0], 0.25);
    EXPECT_EQ(normal[1], -0.5);
    EXPECT_EQ(normal[2], 2);

    // A zero normal takes the point's own normal away.
    const double zero[3] = {0, 0, 0};
    OMBREL_point_set_normal(a, zero);
    EXPECT_EQ(OMBREL_ext_point_get_normal(a, normal), 0);

    // Stale handles, wrong kinds and missing outputs fail and say why.
    OMBREL_polygon_delete(p);
    EXPECT_EQ(OMBREL_ext_point_get_rgb(a, rgb), -1);
    EXPECT_EQ(OMBREL_ext_point_get_normal(a, normal), -1);
    EXPECT_STRNE(OMBREL_ext_get_last_error(), "");
    int32_t q = OMBREL_polygon_create();
    int32_t b = OMBREL_polygon_add_point(q, rec);
    EXPECT_EQ(OMBREL_ext_point_get_normal(q, normal), -1);
    EXPECT_EQ(OMBREL_ext_point_get_rgb(b, nullptr), -1);
    EXPECT_EQ(OMBREL_ext_point_get_normal(b, nullptr), -1);
}

}  // namespace
