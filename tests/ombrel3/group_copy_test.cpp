// Copies of a subtree: structure, naming, reduction and triangulation.
#include "engine_fixture.h"
#include "walk_helpers.h"

#include <cmath>
#include <vector>

namespace {

std::vector<P3> corners(int32_t polygon) {
    std::vector<P3> out;
    for (int32_t pt = OMBREL_polygon_get_first_point(polygon); pt; pt = OMBREL_point_get_next_point(pt)) {
        P3 p;
        OMBREL_point_get_xyz(pt, p.data());
        out.push_back(p);
    }
    return out;
}

P3 normalOf(int32_t polygon) {
    double plane[4];
    OMBREL_polygon_get_plane(polygon, plane);
    return {plane[0], plane[1], plane[2]};
}

class GroupCopy : public EngineTest {
protected:
    void SetUp() override {
        EngineTest::SetUp();
        root = OMBREL_group_create("the_world");
        top = OMBREL_group_create("chair");
        leg = OMBREL_group_create("leg");
        OMBREL_group_set_father_group(top, root);
        OMBREL_group_set_father_group(leg, top);
        seat = makeSquareFacingUp(top, 0, 0, 1, 2);
        OMBREL_polygon_set_color_fill(seat, 10, 20, 30);
        OMBREL_polygon_set_translucent(seat, OMBREL_BLEND_NORMAL);
        OMBREL_polygon_set_name(seat, "seat");
        makeSquareFacingUp(leg, 0, 0, 0, 0.2);
        double pivot[3] = {1, 2, 3};
        OMBREL_group_set_rotate_reference_point(top, pivot);
        OMBREL_group_set_chase_type(top, OMBREL_CHASE_PHYSICS);
        OMBREL_group_set_dynamic(top);
    }
    int32_t root = 0, top = 0, leg = 0, seat = 0;
};

TEST_F(GroupCopy, DuplicateCopiesStructurePropertiesAndPlace) {
    int32_t copy = OMBREL_group_duplicate_tree(top);
    ASSERT_NE(copy, 0);
    EXPECT_EQ(entityName(copy), "chair_copy");
    EXPECT_EQ(OMBREL_group_get_father_group(copy), root);
    std::vector<int32_t> sub = includedGroups(copy);
    ASSERT_EQ(sub.size(), 1u);
    EXPECT_EQ(entityName(sub[0]), "leg");
    EXPECT_NE(sub[0], leg);
    EXPECT_EQ(OMBREL_group_get_number_of_polygons(copy), 2);
    EXPECT_EQ(OMBREL_group_get_chase_type(copy), OMBREL_CHASE_PHYSICS);
    EXPECT_EQ(OMBREL_group_is_static(copy), 0);
    double pivot[3];
    OMBREL_group_get_rotate_reference_point(copy, pivot);
    EXPECT_EQ(pivot[2], 3);

    int32_t seatCopy = OMBREL_group_get_first_polygon(copy);
    EXPECT_NE(seatCopy, seat);
    EXPECT_EQ(entityName(seatCopy), "seat");
    EXPECT_EQ(corners(seatCopy), corners(seat));
    int32_t r, g, b;
    OMBREL_polygon_get_color(seatCopy, &r, &g, &b);
    EXPECT_EQ(g, 20);
    EXPECT_EQ(OMBREL_polygon_get_translucent(seatCopy), OMBREL_BLEND_NORMAL);
    EXPECT_EQ(OMBREL_polygon_is_in_group(seatCopy, 0), 1);  // added to the world

    // The copy is independent of the original.
    double by[3] = {5, 0, 0};
    OMBREL_group_move(copy, by, 0);
    EXPECT_EQ(corners(seat)[0][0], -1);
}

TEST_F(GroupCopy, CopyNamesCountUpUntilUnique) {
    EXPECT_EQ(entityName(OMBREL_group_duplicate_tree(top)), "chair_copy");
    EXPECT_EQ(entityName(OMBREL_group_create_copy_made_of_triangles(top)), "chair_copy2");
    EXPECT_EQ(entityName(OMBREL_group_create_reduced_copy(top, 0)), "chair_copy3");
    std::string longName(254, 'n');
    OMBREL_group_set_name(leg, longName.c_str());
    std::string copied = entityName(OMBREL_group_duplicate_tree(leg));
    EXPECT_EQ(copied.size(), 254u);
    EXPECT_EQ(copied.substr(249), "_copy");
    // Shortened between characters: the "€" that would be cut goes whole.
    OMBREL_group_set_name(leg, (std::string(248, 'n') + "\xE2\x82\xAC" + "xyz").c_str());
    EXPECT_EQ(entityName(OMBREL_group_duplicate_tree(leg)), std::string(248, 'n') + "_copy");
}

TEST_F(GroupCopy, TrianglesKeepWindingAndData) {
    int32_t g = OMBREL_group_create("shapes");
    // An L-shaped (concave) hexagon seen from +z, and a convex pentagon.
    int32_t concave = makePolygon(g, {{0, 0, 0}, {0, 2, 0}, {1, 2, 0}, {1, 1, 0}, {2, 1, 0}, {2, 0, 0}});
    int32_t convex = makePolygon(g, {{0, 0, 5}, {0, 2, 5}, {1, 3, 5}, {2, 2, 5}, {2, 0, 5}});
    double uv[2] = {0.25, 0.75};
    OMBREL_point_set_bitmap_xy(OMBREL_polygon_get_first_point(concave), concave, uv);
    OMBREL_polygon_set_light_diminution(concave, 40);

    int32_t copy = OMBREL_group_create_copy_made_of_triangles(g);
    EXPECT_EQ(OMBREL_group_get_number_of_polygons(copy), 4 + 3);
    double area = 0;
    bool uvSeen = false;
    for (int32_t p = OMBREL_group_get_first_polygon(copy); p; p = OMBREL_group_get_next_polygon(copy, p)) {
        std::vector<P3> c = corners(p);
        ASSERT_EQ(c.size(), 3u);
        EXPECT_EQ(normalOf(p), normalOf(concave)) << "winding kept";
        if (c[0][2] == 0) {
            area += std::fabs((c[1][0] - c[0][0]) * (c[2][1] - c[0][1]) - (c[2][0] - c[0][0]) * (c[1][1] - c[0][1])) / 2;
            EXPECT_EQ(OMBREL_polygon_get_light_diminution(p), 40);
        }
        for (int32_t pt = OMBREL_polygon_get_first_point(p); pt; pt = OMBREL_point_get_next_point(pt)) {
            double got[2];
            OMBREL_point_get_bitmap_xy(pt, got);
            if (got[0] == 0.25 && got[1] == 0.75) uvSeen = true;
        }
    }
    EXPECT_DOUBLE_EQ(area, 3);  // the triangles cover the L exactly
    EXPECT_TRUE(uvSeen);
    (void)convex;
}

TEST_F(GroupCopy, ReducedCopyMergesPointsByCell) {
    int32_t g = OMBREL_group_create("grid");
    // A 10 x 10 grid of unit squares over 10 x 10.
    for (int i = 0; i < 10; ++i)
        for (int j = 0; j < 10; ++j) makeSquareFacingUp(g, i + 0.5, j + 0.5, 0, 1);
    struct Case { double level; int expected; } cases[] = {
        {0, 100}, {-5, 100},   // exact copies
        {5, 100},              // cells of 0.5: every corner alone
        {50, 4},               // cells of 5 (0..5, 5..10, 10..): only squares across a cell corner keep 3+ points
        {200, 0},              // one cell: every polygon collapses
    };
    for (const Case& c : cases) {
        int32_t copy = OMBREL_group_create_reduced_copy(g, c.level);
        ASSERT_NE(copy, 0) << c.level;
        EXPECT_EQ(OMBREL_group_get_number_of_polygons(copy), c.expected) << c.level;
        OMBREL_group_delete_members(copy);
    }
    EXPECT_EQ(OMBREL_group_get_number_of_polygons(g), 100);
}

}  // namespace
