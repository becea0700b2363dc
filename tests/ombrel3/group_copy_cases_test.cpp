// The reduced and triangulated copies the editor replaces groups with: triangles
// that keep each polygon's side, data and fill and never cross, whole subtrees
// copied in place, and reduction levels from below zero to far beyond the group.
#include "bmp_writer.h"
#include "engine_fixture.h"
#include "walk_helpers.h"

#include <cmath>
#include <string>
#include <vector>

namespace {

P3 pos(int32_t point) {
    P3 p;
    OMBREL_point_get_xyz(point, p.data());
    return p;
}

std::vector<int32_t> pointsOf(int32_t polygon) {
    std::vector<int32_t> out;
    for (int32_t pt = OMBREL_polygon_get_first_point(polygon); pt; pt = OMBREL_point_get_next_point(pt))
        out.push_back(pt);
    return out;
}

P3 cross(const P3& a, const P3& b) {
    return {a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0]};
}
double dot(const P3& a, const P3& b) { return a[0] * b[0] + a[1] * b[1] + a[2] * b[2]; }

// Twice the vector area of a closed ring of points (the Newell normal).
P3 areaVector(const std::vector<P3>& ring) {
    P3 n{0, 0, 0};
    for (std::size_t i = 0; i < ring.size(); ++i) {
        const P3& a = ring[i];
        const P3& b = ring[(i + 1) % ring.size()];
        const P3 c = cross(a, b);
        for (int k = 0; k < 3; ++k) n[k] += c[k];
    }
    return n;
}

double length(const P3& v) { return std::sqrt(dot(v, v)); }

struct Corner {
    P3 at;
    double u, v;
};

int32_t polygonOf(int32_t group, const std::vector<Corner>& corners) {
    int32_t p = OMBREL_polygon_create();
    for (const Corner& c : corners) {
        double rec[6] = {c.at[0], c.at[1], c.at[2], c.u, c.v, 100};
        OMBREL_polygon_add_point(p, rec);
    }
    OMBREL_polygon_set_group(p, group);
    OMBREL_engine_add_polygon(p);
    return p;
}

class GroupCopyCases : public EngineTest {
protected:
    void SetUp() override {
        EngineTest::SetUp();
        root = OMBREL_group_create("the_world");
    }
    int32_t child(const char* name, int32_t father) {
        const int32_t g = OMBREL_group_create(name);
        OMBREL_group_set_father_group(g, father);
        return g;
    }
    int32_t root = 0;
    TempFolder dir;
};

TEST_F(GroupCopyCases, TrianglesOfConcaveNonPlanarAndNestedPolygons) {
    writeBmp24(dir.path() / "bricks.bmp", 2, 2, {{200, 0, 0}, {0, 200, 0}, {0, 0, 200}, {9, 9, 9}});
    const int32_t bricks = OMBREL_bitmap_load((dir.path() / "bricks.bmp").c_str(), 3);
    ASSERT_NE(bricks, 0) << OMBREL_ext_get_last_error();

    struct Case {
        const char* name;
        std::vector<Corner> corners;
        bool nested;  // under a child group of the copied group
    } cases[] = {
        {"L-shaped concave hexagon",
         {{{0, 0, 0}, 0, 0}, {{0, 2, 0}, 0, 1}, {{1, 2, 0}, 0.5, 1}, {{1, 1, 0}, 0.5, 0.5}, {{2, 1, 0}, 1, 0.5},
          {{2, 0, 0}, 1, 0}},
         false},
        // Folded so that one of its diagonals would fold a triangle back over the other.
        {"non-planar quad",
         {{{-1, 2, 1}, 0, 0}, {{4, 0, -1}, 0, 1}, {{-4, -3, 4}, 1, 1}, {{1, -2, 4}, 1, 0}},
         false},
        // Seen along an axis its edges cross; seen along its normal they do not.
        {"non-planar pentagon",
         {{{0, -2, 2}, 0, 0}, {{0, -2, -4}, 0, 1}, {{4, -4, -1}, 1, 1}, {{3, -2, 4}, 1, 0}, {{-4, 2, -1}, 0.5, 0}},
         false},
        {"pentagon in a nested subtree",
         {{{0, 0, 5}, 0, 0}, {{0, 2, 5}, 0, 1}, {{1, 3, 5}, 0.5, 1}, {{2, 2, 5}, 1, 1}, {{2, 0, 5}, 1, 0}},
         true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const int32_t father = child("father", root);
        const int32_t top = child("shape", father);
        const int32_t inner = c.nested ? child("inner", top) : top;
        const int32_t p = polygonOf(inner, c.corners);
        OMBREL_polygon_set_bitmap_fill(p, bricks);
        OMBREL_polygon_set_translucent(p, OMBREL_BLEND_NORMAL);
        OMBREL_polygon_set_light_diminution(p, 35);
        OMBREL_polygon_set_rotated(p, 1);
        OMBREL_point_set_brightness(OMBREL_polygon_get_first_point(p), 40);
        OMBREL_group_set_dynamic(top);

        const int32_t copy = OMBREL_group_create_copy_made_of_triangles(top);
        ASSERT_NE(copy, 0) << OMBREL_ext_get_last_error();
        EXPECT_EQ(OMBREL_group_get_father_group(copy), father);
        EXPECT_EQ(OMBREL_group_is_static(copy), 0);
        const std::vector<int32_t> sub = includedGroups(copy);
        ASSERT_EQ(sub.size(), c.nested ? 1u : 0u);
        if (c.nested) {
            EXPECT_EQ(entityName(sub[0]), "inner");
            EXPECT_NE(sub[0], inner);
            EXPECT_EQ(OMBREL_group_get_father_group(sub[0]), copy);
        }

        std::vector<P3> ring;
        for (const Corner& k : c.corners) ring.push_back(k.at);
        const P3 whole = areaVector(ring);
        const std::vector<int32_t> triangles = groupWalk(copy);
        ASSERT_EQ(triangles.size(), c.corners.size() - 2);
        double covered = 0;
        bool dimmedCornerSeen = false;
        for (int32_t t : triangles) {
            EXPECT_EQ(OMBREL_polygon_get_group(t), c.nested ? sub[0] : copy);
            const std::vector<int32_t> pts = pointsOf(t);
            ASSERT_EQ(pts.size(), 3u);
            std::vector<P3> tri;
            for (int32_t pt : pts) {
                tri.push_back(pos(pt));
                // Every corner keeps its own texture coordinates.
                double uv[2];
                OMBREL_point_get_bitmap_xy(pt, uv);
                bool found = false;
                for (const Corner& k : c.corners)
                    if (k.at == tri.back() && k.u == uv[0] && k.v == uv[1]) found = true;
                EXPECT_TRUE(found) << "uv of a corner";
                if (tri.back() == c.corners[0].at) dimmedCornerSeen |= OMBREL_point_get_brightness(pt) == 40;
            }
            // Facing the polygon's own side, so each triangle covers area of the
            // polygon in the polygon's direction and none folds back.
            const double along = dot(areaVector(tri), whole) / length(whole);
            EXPECT_GT(along, 0) << "winding";
            covered += along;
            EXPECT_EQ(OMBREL_polygon_get_bitmap_handle(t), bricks);
            EXPECT_EQ(OMBREL_polygon_get_transparent_index(t), 3);
            EXPECT_EQ(OMBREL_polygon_get_translucent(t), OMBREL_BLEND_NORMAL);
            EXPECT_EQ(OMBREL_polygon_get_light_diminution(t), 35);
            EXPECT_EQ(OMBREL_polygon_is_rotated(t), 1);
        }
        // Triangles that all face one way and add up to the polygon's area cannot overlap.
        EXPECT_NEAR(covered, length(whole), 1e-9);
        EXPECT_TRUE(dimmedCornerSeen);
        EXPECT_EQ(groupWalk(top).size(), 1u) << "the original is untouched";
    }
}

TEST_F(GroupCopyCases, ReductionLevelsOnAGrid) {
    const int32_t father = child("father", root);
    const int32_t grid = child("grid", father);
    const int32_t half = child("half", grid);
    // 20 x 20 unit squares over 20 x 20; the upper half lies in a child group.
    for (int i = 0; i < 20; ++i)
        for (int j = 0; j < 20; ++j) makeSquareFacingUp(j < 10 ? grid : half, i + 0.5, j + 0.5, 0, 1);
    struct Case {
        double level;
        int expected;
    } cases[] = {
        {-1, 400},   // an exact copy
        {0, 400},    // an exact copy
        {0.5, 400},  // cells of 0.1: every corner alone
        {2, 400},    // cells of 0.4: still one corner per cell
        {50, 4},     // cells of 10: only squares across a cell corner in both directions keep 3 points
        {1e300, 0},  // one cell: every polygon collapses
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.level);
        const int32_t copy = OMBREL_group_create_reduced_copy(grid, c.level);
        ASSERT_NE(copy, 0) << OMBREL_ext_get_last_error();
        EXPECT_EQ(OMBREL_group_get_number_of_polygons(copy), c.expected);
        EXPECT_EQ(OMBREL_group_get_father_group(copy), father);
        const std::vector<int32_t> sub = includedGroups(copy);
        ASSERT_EQ(sub.size(), 1u);
        EXPECT_EQ(entityName(sub[0]), "half");
        OMBREL_group_delete_members(copy);
    }
    EXPECT_EQ(OMBREL_group_get_number_of_polygons(grid), 400);
}

TEST_F(GroupCopyCases, HugeLevelsAndHugeGroupsStillReduce) {
    // A cell size that overflows to infinity still means one cell for everything.
    const int32_t wide = child("wide", root);
    makeSquareFacingUp(wide, 0, 0, 0, 1e38);
    makeSquareFacingUp(wide, 1e38, 0, 0, 1);
    EXPECT_EQ(OMBREL_group_get_number_of_polygons(OMBREL_group_create_reduced_copy(wide, 1e300)), 0);
    EXPECT_EQ(OMBREL_group_get_number_of_polygons(OMBREL_group_create_reduced_copy(wide, -1e300)), 2);
    EXPECT_EQ(OMBREL_group_get_number_of_polygons(OMBREL_group_create_reduced_copy(wide, std::nan(""))), 2);
}

TEST_F(GroupCopyCases, DegeneratePolygonsNeitherCrashNorGrow) {
    const int32_t g = child("odd", root);
    const int32_t none = OMBREL_polygon_create();
    OMBREL_polygon_set_group(none, g);
    OMBREL_engine_add_polygon(none);
    makePolygon(g, {{0, 0, 0}});
    makePolygon(g, {{0, 0, 0}, {1, 0, 0}});
    makePolygon(g, {{0, 0, 0}, {1, 0, 0}, {2, 0, 0}, {3, 0, 0}});  // no area
    makePolygon(g, {{0, 0, 0}, {0, 0, 0}, {0, 1, 0}, {1, 1, 0}, {1, 0, 0}});  // a repeated point
    // Polygons of fewer than three points are copied as they are; the others give n - 2 triangles.
    const int32_t triangles = OMBREL_group_create_copy_made_of_triangles(g);
    ASSERT_NE(triangles, 0) << OMBREL_ext_get_last_error();
    EXPECT_EQ(OMBREL_group_get_number_of_polygons(triangles), 3 + 2 + 3);
    for (int32_t t : groupWalk(triangles)) EXPECT_LE(pointsOf(t).size(), 3u);
    // Reducing keeps only polygons with three distinct merged points.
    EXPECT_EQ(OMBREL_group_get_number_of_polygons(OMBREL_group_create_reduced_copy(g, 0.001)), 2);
    EXPECT_EQ(OMBREL_group_get_number_of_polygons(OMBREL_group_create_reduced_copy(g, 1e300)), 0);
}

}  // namespace
