// Recursive polygon walks, the scope polygon_get_next follows, and the world totals.
#include "engine_fixture.h"
#include "walk_helpers.h"

#include <vector>

namespace {

std::vector<int32_t> scopeWalk(int32_t g) {
    std::vector<int32_t> out;
    for (int32_t p = OMBREL_group_get_first_polygon(g); p; p = OMBREL_polygon_get_next(p)) out.push_back(p);
    return out;
}

class PolygonWalk : public EngineTest {
protected:
    // root: r1; child c (empty) -> grandchild d: d1, d2; child e: e1; root: r2 (added after)
    void SetUp() override {
        EngineTest::SetUp();
        root = OMBREL_group_create("the_world");
        c = OMBREL_group_create("c");
        d = OMBREL_group_create("d");
        e = OMBREL_group_create("e");
        OMBREL_group_set_father_group(c, root);
        OMBREL_group_set_father_group(d, c);
        OMBREL_group_set_father_group(e, root);
        r1 = makeSquareFacingUp(root, 0, 0, 0, 1);
        d1 = makeSquareFacingUp(d, 0, 0, 1, 1);
        e1 = makeSquareFacingUp(e, 0, 0, 2, 1);
        d2 = makeSquareFacingUp(d, 0, 0, 3, 1);
        r2 = makeSquareFacingUp(root, 0, 0, 4, 1);
    }
    int32_t root = 0, c = 0, d = 0, e = 0, r1 = 0, r2 = 0, d1 = 0, d2 = 0, e1 = 0;
};

TEST_F(PolygonWalk, GroupWalkIsOwnPolygonsThenChildrenDepthFirst) {
    EXPECT_EQ(groupWalk(root), (std::vector<int32_t>{r1, r2, d1, d2, e1}));
    EXPECT_EQ(groupWalk(c), (std::vector<int32_t>{d1, d2}));
    EXPECT_EQ(groupWalk(0), (std::vector<int32_t>{r1, d1, e1, d2, r2}));  // order added
    EXPECT_EQ(OMBREL_group_get_number_of_polygons(root), 5);
    EXPECT_EQ(OMBREL_group_get_number_of_polygons(c), 2);
    EXPECT_EQ(OMBREL_group_get_next_polygon(c, e1), 0);  // not in c's walk
}

TEST_F(PolygonWalk, PolygonGetNextFollowsTheLastScope) {
    EXPECT_EQ(scopeWalk(root), groupWalk(root));
    EXPECT_EQ(scopeWalk(0), groupWalk(0));
    EXPECT_EQ(scopeWalk(c), (std::vector<int32_t>{d1, d2}));
    // Outside the scope: the walk of the polygon's own group.
    OMBREL_group_get_first_polygon(e);
    EXPECT_EQ(OMBREL_polygon_get_next(d1), d2);
    EXPECT_EQ(OMBREL_polygon_get_next(d2), 0);
}

TEST_F(PolygonWalk, WalkSurvivesDeletingTheCurrentPolygonsSuccessor) {
    std::vector<int32_t> seen;
    for (int32_t p = OMBREL_group_get_first_polygon(root); p; p = OMBREL_group_get_next_polygon(root, p)) {
        seen.push_back(p);
        if (p == r1) OMBREL_polygon_delete(r2);
    }
    EXPECT_EQ(seen, (std::vector<int32_t>{r1, d1, d2, e1}));
}

TEST_F(PolygonWalk, WorldTotalCountsEnabledFatherlessGroupsOnly) {
    int32_t marker = OMBREL_group_create("LightGrp");
    makeSquareFacingUp(marker, 9, 9, 9, 1);
    int32_t loose = OMBREL_polygon_create();
    OMBREL_engine_add_polygon(loose);
    EXPECT_EQ(OMBREL_group_get_number_of_polygons(0), 6);
    EXPECT_EQ(groupWalk(0).size(), 7u);  // the walk still lists every added polygon

    // Fake deletion: the group leaves the tree and is disabled.
    OMBREL_group_set_father_group(e, 0);
    OMBREL_group_disable(e, 1);
    EXPECT_EQ(OMBREL_group_get_number_of_polygons(0), 5);
    EXPECT_EQ(OMBREL_group_get_number_of_polygons(e), 1);
}

TEST_F(PolygonWalk, WorldBoxCoversDrawablePolygonsOnly) {
    double box[6];
    OMBREL_group_get_bounding_box(0, box);
    EXPECT_DOUBLE_EQ(box[2], 0);
    EXPECT_DOUBLE_EQ(box[5], 4);
    OMBREL_polygon_disable(r2);
    OMBREL_group_disable(d, 1);
    OMBREL_group_get_bounding_box(0, box);
    EXPECT_DOUBLE_EQ(box[5], 2);
    double loc[3], dims[3];
    OMBREL_group_get_location(0, &loc[0], &loc[1], &loc[2]);
    OMBREL_group_get_dimensions(0, dims);
    EXPECT_DOUBLE_EQ(loc[2], 1);
    EXPECT_DOUBLE_EQ(dims[2], 2);
    OMBREL_group_disable(root, 1);
    OMBREL_group_get_bounding_box(0, box);
    for (double v : box) EXPECT_EQ(v, 0);
}

TEST_F(PolygonWalk, MembershipQueries) {
    EXPECT_EQ(OMBREL_polygon_is_in_group(d1, root), 1);
    EXPECT_EQ(OMBREL_polygon_is_in_group(d1, c), 1);
    EXPECT_EQ(OMBREL_polygon_is_in_group(e1, c), 0);
    EXPECT_EQ(OMBREL_polygon_get_group(d1), d);
    OMBREL_polygon_set_group(d1, e);
    EXPECT_EQ(groupWalk(e), (std::vector<int32_t>{e1, d1}));
    OMBREL_polygon_set_group(d1, 0);
    EXPECT_EQ(OMBREL_polygon_get_group(d1), 0);
    EXPECT_EQ(OMBREL_polygon_is_in_group(d1, root), 0);
}

}  // namespace
