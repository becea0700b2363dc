// Bevel: the factors of a held spinner, typed factors, the normals of the latest
// extrusion's sides, and a record whose Undo and Redo write positions back exactly.
#include "polygon_tools_fixture.h"

#include "geometry/mdlExtrude.h"

namespace {

using mdlExtrude::Outcome;

class BevelTest : public PolygonToolsFixture {
protected:
    // Two selected quads side by side, and an unselected one above the first
    // whose corners are welded to it.
    void SetUp() override {
        PolygonToolsFixture::SetUp();
        g = newGroup("box");
        a = quad(g, 0, 0);
        b = quad(g, 10, 0);
        above = quad(g, 0, 10);
        other = quad(g, 40, 40);
        edit(g, {a, b});
    }

    // Holds the bevel spinner for one step per factor.
    static void hold(const std::vector<double>& factors) {
        mdlExtrude::StartBevelGesture();
        for (double f : factors) EXPECT_TRUE(mdlExtrude::StepBevel(f)) << f;
        mdlExtrude::CommitBevelGesture();
    }

    int32_t g = 0, a = 0, b = 0, above = 0, other = 0;
};

TEST_F(BevelTest, HoldingTheUpArrowScalesByTheProductOfTheStepsFactors) {
    const auto before = groupPoints(g);
    const Vec c = {10, 5, 0};  // the centre of the two quads' centres
    hold({1.01, 1.02});
    EXPECT_EQ(Globals::LastErrDescription, "");
    ASSERT_EQ(newest()->ActionType, ActBevel);
    EXPECT_NEAR(newest()->Bevel->BevelAmount(), 1.0302, 1e-12);
    for (int32_t pol : {a, b})
        for (int32_t pt : pointsOf(pol))
            for (std::size_t k = 0; k < 3; ++k)
                EXPECT_NEAR(position(pt)[k], c[k] + 1.0302 * (before.at(pt)[k] - c[k]), 1e-12);
    // The neighbour's corners welded to the selection went with it; the rest stayed.
    const std::vector<int32_t> abovePts = pointsOf(above);
    EXPECT_NEAR(position(abovePts[0])[1], 5 + 1.0302 * 5, 1e-12);
    EXPECT_EQ(position(abovePts[1]), before.at(abovePts[1]));
    for (int32_t pt : pointsOf(other)) EXPECT_EQ(position(pt), before.at(pt));
}

TEST_F(BevelTest, UndoAndRedoWriteThePositionsBackWhateverIsSelected) {
    const auto before = groupPoints(g);
    hold({1.01, 1.02, 1.03});
    const auto after = groupPoints(g);
    edit(g, {other});  // another polygon selection, and its own welded entries
    undo();
    EXPECT_EQ(Globals::LastErrDescription, "");
    EXPECT_EQ(groupPoints(g), before);  // exactly
    EXPECT_EQ(selection(), std::vector<int32_t>{other});
    redo();
    EXPECT_EQ(groupPoints(g), after);
    // The welded table follows the positions: the neighbour's corner is still
    // joined to the selection's.
    select({a});
    const auto welded = weldedSets();
    EXPECT_TRUE(std::any_of(welded.begin(), welded.end(),
                            [&](const auto& e) { return e.count(pointsOf(a)[1]) && e.count(pointsOf(above)[0]); }));
}

TEST_F(BevelTest, SixtyStepsDownAreUndoneExactly) {
    const auto before = groupPoints(g);
    std::vector<double> factors;
    for (int step = 1; step <= 60; ++step) factors.push_back(1 - step / 100.0);
    hold(factors);
    // The points are all but on the centre now.
    EXPECT_LT(std::fabs(position(pointsOf(a)[0])[0] - 10), 1e-6);
    undo();
    EXPECT_LE(farthest(groupPoints(g), before), 1e-9);
    EXPECT_EQ(groupPoints(g), before);
}

TEST_F(BevelTest, FactorsBelowAHundredthAreRefusedAndMirrorsAllowed) {
    struct Case {
        double factor;
        Outcome outcome;
    };
    const Case cases[] = {{0, Outcome::Refused},        {0.005, Outcome::Refused}, {-0.009, Outcome::Refused},
                          {1e-300, Outcome::Refused},   {0.01, Outcome::Recorded}, {-0.5, Outcome::Recorded},
                          {1e300, Outcome::Refused}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.factor);
        ActionUndoRedo* last = newest();
        const auto before = groupPoints(g);
        EXPECT_EQ(mdlExtrude::BevelByFactor(c.factor), c.outcome);
        if (c.outcome == Outcome::Refused) {
            EXPECT_EQ(newest(), last);
            EXPECT_EQ(groupPoints(g), before);
        } else {
            ASSERT_NE(newest(), last);
            EXPECT_EQ(newest()->Bevel->BevelAmount(), c.factor);
            EXPECT_NEAR(position(pointsOf(a)[0])[0], 10 + c.factor * -10, 1e-9);
            undo();
            EXPECT_EQ(groupPoints(g), before);
        }
    }
    // A step that would make the factor 0 is ignored and moves nothing.
    const auto before = groupPoints(g);
    mdlExtrude::StartBevelGesture();
    EXPECT_FALSE(mdlExtrude::StepBevel(0));
    EXPECT_FALSE(mdlExtrude::StepBevel(0.001));
    EXPECT_EQ(groupPoints(g), before);
    mdlExtrude::CommitBevelGesture();
}

TEST_F(BevelTest, OnlyTheLatestExtrusionsSidesStillInTheGroupGetTheirNormalsReset) {
    // Extruded in another group first: its sides must keep the normals they have.
    const int32_t g2 = newGroup("elsewhere");
    const int32_t q = quad(g2, 100, 0);
    edit(g2, {q});
    ASSERT_EQ(mdlExtrude::ExtrudeByDepth(5), Outcome::Recorded);
    const int32_t foreign = mdlExtrude::AddedPols[1];
    const Vec foreignNormal = normalOf(pointsOf(foreign)[0]);

    edit(g, {a, b});
    OMBREL_ext_clear_last_error();
    hold({1.5});
    EXPECT_EQ(normalOf(pointsOf(foreign)[0]), foreignNormal);
    EXPECT_STREQ(OMBREL_ext_get_last_error(), "");

    // In its own group the sides' normals become their planes' after a bevel.
    edit(g2, {q});
    hold({1.5});
    Plane4d plane = {0, 0, 0, 0};
    OMBREL_polygon_get_plane(foreign, plane.data());
    const Vec reset = normalOf(pointsOf(foreign)[0]);
    for (std::size_t k = 0; k < 3; ++k) EXPECT_NEAR(reset[k], plane[k], 1e-12);

    // Sides whose extrusion was undone and then destroyed are never named again.
    edit(g2, {q});
    undo();  // the bevels
    undo();
    undo();  // the extrusion: its sides leave the group
    Globals::UndoRedoStack->Reset();
    ASSERT_FALSE(alive(foreign));
    OMBREL_ext_clear_last_error();
    hold({1.1});
    EXPECT_STREQ(OMBREL_ext_get_last_error(), "");
}

}  // namespace
