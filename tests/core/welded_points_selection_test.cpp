#include "core/WeldedPoints.h"
#include "core/WeldedPointsProcedures.h"

#include "selection_world.h"

#include <vector>

namespace {

using namespace Globals;

class WeldedPointsTable : public SelectionWorld {
protected:
    std::vector<int32_t> sizes() const {
        std::vector<int32_t> out;
        for (int32_t i = 1; i <= NumWeldedPts; ++i) out.push_back(WeldedPts[i]->NumOfPts());
        return out;
    }
};

TEST_F(WeldedPointsTable, ACubeGivesEightCornersOfThreePoints) {
    const int32_t cube = makeBox("cube", {0, 0, 0}, {10, 10, 10});
    BuildWeldedPoints(cube);
    EXPECT_EQ(sizes(), std::vector<int32_t>(8, 3));
    // Every point is found in the entry whose first point shares its position.
    for (int32_t pol = OMBREL_group_get_first_polygon(cube); pol; pol = OMBREL_group_get_next_polygon(cube, pol))
        for (int32_t pt = OMBREL_polygon_get_first_point(pol); pt; pt = OMBREL_point_get_next_point(pt)) {
            const int32_t e = FindWeldedPoint(pt);
            ASSERT_GT(e, 0);
            P3 p, q;
            OMBREL_point_get_xyz(pt, p.data());
            OMBREL_point_get_xyz(WeldedPts[e]->Point(1), q.data());
            EXPECT_EQ(p, q);
        }
    EXPECT_EQ(FindWeldedPoint(0), 0);
}

TEST_F(WeldedPointsTable, RebuildIsExactWhileAddingAPolygonAllowsLessThanATolerance) {
    struct Case {
        const char* name;
        double offset;
        int32_t entriesAfterRebuild, entriesAfterAdd;
    };
    // Two triangles sharing the corner at the origin up to the offset; the other
    // corners are apart.
    const Case cases[] = {
        {"same position", 0.0, 5, 5},
        {"negative zero", -0.0, 5, 5},
        {"1e-12 apart", 1e-12, 6, 5},
        {"exactly 1e-9 apart", 1e-9, 6, 6},
        {"1e-6 apart", 1e-6, 6, 6},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const int32_t g = OMBREL_group_create("g");
        makePolygon(g, {{0, 0, 0}, {0, 10, 0}, {0, 10, 10}});
        const int32_t second = makePolygon(g, {{c.offset, c.offset == 0 ? -0.0 : c.offset, 0}, {0, -10, 0}, {0, -10, -10}});
        BuildWeldedPoints(g);
        EXPECT_EQ(NumWeldedPts, c.entriesAfterRebuild);
        RemovePolygonFromWelded(second);
        EXPECT_EQ(NumWeldedPts, 3);
        AddPolygonToWelded(second);
        EXPECT_EQ(NumWeldedPts, c.entriesAfterAdd);
    }
}

TEST_F(WeldedPointsTable, RemovingAPolygonDropsEmptiedEntriesAndMovesLaterOnesDown) {
    const int32_t g = OMBREL_group_create("g");
    const int32_t first = makePolygon(g, {{0, 0, 0}, {0, 10, 0}, {0, 10, 10}});
    const int32_t second = makePolygon(g, {{0, 0, 0}, {0, -10, 0}, {0, -10, -10}});
    BuildWeldedPoints(g);
    ASSERT_EQ(sizes(), (std::vector<int32_t>{2, 1, 1, 1, 1}));
    const int32_t last = WeldedPts[5]->Point(1);
    RemovePolygonFromWelded(first);
    EXPECT_EQ(sizes(), (std::vector<int32_t>{1, 1, 1}));
    EXPECT_EQ(FindWeldedPoint(last), 3);
    EXPECT_EQ(FindWeldedPoint(OMBREL_polygon_get_first_point(first)), 0);
    (void)second;
}

TEST(WeldedPointsEntry, GrowsAndRemovesEveryOccurrence) {
    WeldedPoints entry;
    for (int32_t h = 1; h <= 9; ++h) entry.AddPt(h);
    EXPECT_EQ(entry.NumOfPts(), 9);
    EXPECT_EQ(entry.Point(9), 9);
    EXPECT_TRUE(entry.RemovePt(42));
    EXPECT_EQ(entry.NumOfPts(), 9);
    EXPECT_TRUE(entry.RemovePt(5));
    EXPECT_EQ(entry.NumOfPts(), 8);
    EXPECT_EQ(entry.Point(5), 6);
}

}  // namespace
