// Extrusion: the outline and its side polygons, the cap's moves, refusals that
// record nothing, and the record's Undo, Redo and release.
#include "polygon_tools_fixture.h"

#include "geometry/mdlExtrude.h"

namespace {

using mdlExtrude::Outcome;

constexpr double kLift = 1e-6;

class ExtrudeTest : public PolygonToolsFixture {
protected:
    static std::vector<int32_t> sides() {
        return {mdlExtrude::AddedPols.begin() + 1, mdlExtrude::AddedPols.begin() + 1 + mdlExtrude::NumAddedPols};
    }
    static std::vector<std::pair<int32_t, int32_t>> outline() {
        std::vector<std::pair<int32_t, int32_t>> out;
        for (int32_t i = 1; i <= mdlExtrude::NumOutlineEdges; ++i)
            out.emplace_back(mdlExtrude::OutlineEdges[static_cast<std::size_t>(i)].p1,
                             mdlExtrude::OutlineEdges[static_cast<std::size_t>(i)].p2);
        return out;
    }
    static void expectNear(const Vec& a, const Vec& b, double tolerance) {
        for (std::size_t k = 0; k < 3; ++k) EXPECT_NEAR(a[k], b[k], tolerance) << "axis " << k;
    }
};

// The outline as the plain scan of the list finds it: each edge removes the
// first listed edge with the same ends in either direction, or is appended.
std::vector<std::pair<int32_t, int32_t>> scannedOutline(const std::vector<int32_t>& pols) {
    auto same = [](int32_t a, int32_t b) {
        double p[3], q[3];
        OMBREL_point_get_xyz(a, p);
        OMBREL_point_get_xyz(b, q);
        return std::fabs(p[0] - q[0]) < 1e-9 && std::fabs(p[1] - q[1]) < 1e-9 && std::fabs(p[2] - q[2]) < 1e-9;
    };
    std::vector<std::pair<int32_t, int32_t>> list;
    for (int32_t pol : pols) {
        std::vector<int32_t> pts;
        for (int32_t pt = OMBREL_polygon_get_first_point(pol); pt; pt = OMBREL_point_get_next_point(pt)) pts.push_back(pt);
        for (std::size_t k = 0; k < pts.size(); ++k) {
            const std::pair<int32_t, int32_t> e{pts[k], pts[(k + 1) % pts.size()]};
            auto match = std::find_if(list.begin(), list.end(), [&](const auto& l) {
                return (same(l.first, e.first) && same(l.second, e.second)) ||
                       (same(l.first, e.second) && same(l.second, e.first));
            });
            if (match != list.end())
                list.erase(match);
            else
                list.push_back(e);
        }
    }
    return list;
}

TEST_F(ExtrudeTest, OneQuadExtrudedByTenGetsFourSidesAndMovesItsCap) {
    const int32_t g = newGroup("box");
    const int32_t q = quad(g, 0, 0);
    edit(g, {q});
    const std::vector<int32_t> capPts = pointsOf(q);
    const std::vector<Vec> before = positionsOf(q);

    ASSERT_EQ(mdlExtrude::ExtrudeByDepth(10), Outcome::Recorded);
    EXPECT_EQ(Globals::LastErrDescription, "");

    ASSERT_EQ(mdlExtrude::NumAddedPols, 4);
    const double rise = 10 + kLift;  // the average normal of one quad is its unit normal (0, 0, 1)
    const Point2d uv[] = {{0, 1}, {1, 1}, {1, 0}, {0, 0}};
    for (std::size_t i = 0; i < 4; ++i) {
        SCOPED_TRACE(i);
        const int32_t side = sides()[i];
        EXPECT_EQ(nameOf(side), "Extruded Pol");
        EXPECT_EQ(polNodes.count(side) ? polNodes.at(side) : 0, g);
        EXPECT_EQ(OMBREL_polygon_get_group(side), g);
        // P1, P2 stay with the neighbours; P2', P1' went up with the cap.
        const Vec& p1 = before[i];
        const Vec& p2 = before[(i + 1) % 4];
        const std::vector<EnginePoint> pts = enginePoints(side);
        ASSERT_EQ(pts.size(), 4u);
        const Vec expected[] = {p1, p2, {p2[0], p2[1], p2[2] + rise}, {p1[0], p1[1], p1[2] + rise}};
        for (std::size_t k = 0; k < 4; ++k) {
            expectNear(pts[k].pos, expected[k], 1e-12);
            EXPECT_EQ(pts[k].u, uv[k][0]);
            EXPECT_EQ(pts[k].v, uv[k][1]);
            EXPECT_EQ(pts[k].sixth, 100);
        }
        // Every point's normal points away from the cap's centre (5, 5).
        const Vec mid = {(p1[0] + p2[0]) / 2 - 5, (p1[1] + p2[1]) / 2 - 5, 0};
        for (int32_t pt : pointsOf(side)) {
            const Vec n = normalOf(pt);
            EXPECT_GT(n[0] * mid[0] + n[1] * mid[1], 0);
        }
    }
    for (std::size_t k = 0; k < 4; ++k) expectNear(position(capPts[k]), {before[k][0], before[k][1], rise}, 1e-12);

    // One record, whose offset is what the cap moved.
    ASSERT_NE(newest(), nullptr);
    ASSERT_EQ(newest()->ActionType, ActExtrude);
    expectNear(newest()->Extrude->Offset(), {0, 0, rise}, 1e-12);
}

TEST_F(ExtrudeTest, TwoQuadsSharingAnEdgeGetSixSidesInTheOrderOfTheList) {
    const int32_t g = newGroup("pair");
    const int32_t a = quad(g, 0, 0);
    const int32_t b = quad(g, 10, 0);  // its own points at the shared edge's places
    edit(g, {a, b});
    const std::vector<int32_t> pa = pointsOf(a), pb = pointsOf(b);
    const auto before = groupPoints(g);

    ASSERT_EQ(mdlExtrude::ExtrudeByDepth(2), Outcome::Recorded);

    // a's edge (10,10)-(10,0) meets b's (10,0)-(10,10) and both go.
    const std::vector<std::pair<int32_t, int32_t>> expected = {{pa[0], pa[1]}, {pa[1], pa[2]}, {pa[3], pa[0]},
                                                               {pb[1], pb[2]}, {pb[2], pb[3]}, {pb[3], pb[0]}};
    EXPECT_EQ(outline(), expected);
    ASSERT_EQ(mdlExtrude::NumAddedPols, 6);
    for (std::size_t i = 0; i < 6; ++i) {
        SCOPED_TRACE(i);
        const std::vector<int32_t> side = pointsOf(sides()[i]);
        // The side's first two points stand where the edge was.
        EXPECT_EQ(position(side[0]), before.at(expected[i].first));
        EXPECT_EQ(position(side[1]), before.at(expected[i].second));
    }
}

TEST_F(ExtrudeTest, TheOutlineIsTheListsOutlineForEdgesMetOftenAndEndsBarelyApart) {
    const int32_t g = newGroup("fan");
    std::vector<int32_t> pols;
    // A 3 x 2 patch, each quad with its own points.
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 2; ++j) pols.push_back(quad(g, i * 10.0, j * 10.0));
    // A wall on the patch's inner edge x = 10: that edge is met three times.
    pols.push_back(polygon(g, {{10, 0, 0}, {10, 10, 0}, {10, 10, 10}, {10, 0, 10}}));
    // Three quads whose shared corners lie 0.6e-9 apart in a row: the first and
    // the third corner are not the same place, each is the middle one's.
    const double e = 0.6e-9;
    pols.push_back(polygon(g, {{0, 30, 0}, {0, 40, 0}, {10, 40, 0}, {10, 30, 0}}));
    pols.push_back(polygon(g, {{10, 30 + e, 0}, {10 + e, 40, 0}, {20, 40, 0}, {20, 30, 0}}));
    pols.push_back(polygon(g, {{10 + 2 * e, 40, 0}, {10, 30 + 2 * e, 0}, {0, 30, 0}, {0, 40, 0}}));
    // And one polygon selected twice, whose edges all cancel.
    pols.push_back(quad(g, 50, 50));
    pols.push_back(pols.back());
    edit(g, pols);

    mdlExtrude::GetSelPolsOutlineEdges();
    EXPECT_EQ(outline(), scannedOutline(pols));
    EXPECT_EQ(mdlExtrude::NumOutlineEdges, static_cast<int32_t>(scannedOutline(pols).size()));
}

TEST_F(ExtrudeTest, ARefusedExtrusionMakesAndRecordsNothing) {
    struct Case {
        const char* name;
        std::vector<std::vector<Vec>> polygons;
        bool message;
    };
    const Case cases[] = {
        {"opposite faces",
         {{{0, 0, 0}, {0, 10, 0}, {10, 10, 0}, {10, 0, 0}}, {{0, 0, 5}, {10, 0, 5}, {10, 10, 5}, {0, 10, 5}}},
         true},
        {"one polygon of collinear points", {{{0, 0, 0}, {5, 0, 0}, {10, 0, 0}}}, true},
        {"nothing selected", {}, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        restart();
        const int32_t g = newGroup("g");
        // A committed extrusion first: a refused one must leave it and its record alone.
        const int32_t earlier = quad(g, 100, 100);
        edit(g, {earlier});
        ASSERT_EQ(mdlExtrude::ExtrudeByDepth(3), Outcome::Recorded);
        ActionUndoRedo* committed = newest();
        const std::vector<int32_t> earlierSides = sides();

        std::vector<int32_t> chosen;
        for (const auto& corners : c.polygons) chosen.push_back(polygon(g, corners));
        edit(g, chosen);
        const auto points = groupPoints(g);
        const std::size_t shown = platform_.prompts.shown().size();
        for (int gesture = 0; gesture < 2; ++gesture) {
            if (c.message) platform_.prompts.answer(platform::MsgResult::OK);
            if (gesture == 0) {
                EXPECT_EQ(mdlExtrude::ExtrudeByDepth(4), Outcome::NothingToDo);
            } else {
                mdlExtrude::StartExtrudeGesture();
                EXPECT_FALSE(mdlExtrude::StepExtrude(1));
                mdlExtrude::CommitExtrudeGesture();
            }
        }
        if (c.message) {
            ASSERT_EQ(platform_.prompts.shown().size(), shown + 2);
            EXPECT_EQ(platform_.prompts.shown().back().text,
                      "Average normal for the selected polygons cannot be definded. Extrusion not possible!");
            EXPECT_EQ(platform_.prompts.shown().back().icon, platform::MsgIcon::Information);
        } else {
            EXPECT_EQ(platform_.prompts.shown().size(), shown);
        }
        EXPECT_EQ(newest(), committed);
        EXPECT_EQ(groupPoints(g), points);

        // Undo takes back the committed extrusion, not the refused ones.
        undo();
        EXPECT_EQ(Globals::LastErrDescription, "");
        for (int32_t side : earlierSides) EXPECT_EQ(OMBREL_polygon_get_group(side), 0);
        for (int32_t pol : chosen) EXPECT_EQ(OMBREL_polygon_get_group(pol), g);
    }
}

TEST_F(ExtrudeTest, TheSpinnerMovesTheRunningSumAndUndoAndRedoComeBackExactly) {
    const int32_t g = newGroup("box");
    const int32_t a = quad(g, 0, 0);
    const int32_t b = quad(g, 10, 0);
    const int32_t neighbour = quad(g, 0, 10);  // not selected: it keeps its place
    edit(g, {a, b});
    const auto before = groupPoints(g);
    const auto weldedBefore = weldedSets();

    mdlExtrude::StartExtrudeGesture();
    for (double sum : {1.0, 2.0, 3.0}) EXPECT_TRUE(mdlExtrude::StepExtrude(sum));
    mdlExtrude::CommitExtrudeGesture();
    EXPECT_EQ(Globals::LastErrDescription, "");
    const std::vector<int32_t> added = sides();
    ASSERT_EQ(added.size(), 6u);
    for (int32_t pt : pointsOf(a)) EXPECT_NEAR(position(pt)[2], 1 + 2 + 3 + kLift, 1e-12);
    for (int32_t pt : pointsOf(neighbour)) EXPECT_EQ(position(pt)[2], 0);
    ASSERT_EQ(newest()->ActionType, ActExtrude);
    EXPECT_NEAR(newest()->Extrude->Offset()[2], 6 + kLift, 1e-12);
    const auto extruded = groupPoints(g);
    const auto weldedExtruded = weldedSets();

    undo();
    EXPECT_EQ(Globals::LastErrDescription, "");
    EXPECT_LE(farthest(groupPoints(g), before), 1e-9);
    for (int32_t side : added) {
        EXPECT_EQ(OMBREL_polygon_get_group(side), 0);
        EXPECT_FALSE(weldedHoldsAPointOf(side));
        EXPECT_EQ(polNodes.count(side), 0u);
    }
    EXPECT_EQ(weldedSets(), weldedBefore);
    EXPECT_EQ(selection(), (std::vector<int32_t>{a, b}));

    redo();
    EXPECT_EQ(polygonsOf(g).size(), 3u + 6u);
    EXPECT_LE(farthest(groupPoints(g), extruded), 1e-9);
    for (int32_t side : added) {
        EXPECT_EQ(OMBREL_polygon_get_group(side), g);
        EXPECT_EQ(polNodes.count(side), 1u);
    }
    EXPECT_EQ(weldedSets(), weldedExtruded);
}

TEST_F(ExtrudeTest, APressAndReleaseWithoutAStepRecordsTheLift) {
    const int32_t g = newGroup("box");
    const int32_t q = quad(g, 0, 0);
    edit(g, {q});
    const auto before = groupPoints(g);
    mdlExtrude::StartExtrudeGesture();
    mdlExtrude::CommitExtrudeGesture();
    ASSERT_EQ(newest()->ActionType, ActExtrude);
    EXPECT_EQ(mdlExtrude::NumAddedPols, 4);
    EXPECT_NEAR(newest()->Extrude->Offset()[2], kLift, 1e-15);
    undo();
    EXPECT_LE(farthest(groupPoints(g), before), 1e-12);
}

TEST_F(ExtrudeTest, EnterTakesTheCentreAgainBeforeItsInitialLocation) {
    const int32_t g = newGroup("box");
    const int32_t q = quad(g, 0, 0);
    edit(g, {q});
    const auto before = groupPoints(g);
    Globals::SelPolsAvgCenter = {999, -999, 999};  // left over from elsewhere
    ASSERT_EQ(mdlExtrude::ExtrudeByDepth(10), Outcome::Recorded);
    expectNear(mdlExtrude::ExtrudeInitialLoc, {5, 5, 0}, 1e-12);
    undo();
    EXPECT_LE(farthest(groupPoints(g), before), 1e-9);
}

TEST_F(ExtrudeTest, ADepthThatWouldLeaveTheWorldIsRefused) {
    const int32_t g = newGroup("box");
    const int32_t q = quad(g, 0, 0);
    edit(g, {q});
    const auto before = groupPoints(g);
    EXPECT_EQ(mdlExtrude::ExtrudeByDepth(1e300), Outcome::Refused);
    EXPECT_EQ(groupPoints(g), before);
    EXPECT_EQ(newest(), nullptr);
}

TEST_F(ExtrudeTest, ReleasingTheRecordDestroysTheSidesOnlyWhenUndone) {
    for (bool undone : {true, false}) {
        SCOPED_TRACE(undone ? "undone" : "done");
        restart();
        const int32_t g = newGroup("box");
        edit(g, {quad(g, 0, 0)});
        ASSERT_EQ(mdlExtrude::ExtrudeByDepth(5), Outcome::Recorded);
        const std::vector<int32_t> added = sides();
        if (undone) undo();
        Globals::UndoRedoStack->Reset();
        for (int32_t side : added) EXPECT_EQ(alive(side), !undone);
    }
}

}  // namespace
