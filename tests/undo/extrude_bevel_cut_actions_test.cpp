// The extrude, bevel and cut records on their own: what Undo and Redo write, the
// nodes of polygons that come back, the edited group's welded points, and what
// the release of each record destroys.
#include "undo_fixture.h"

#include "undo/UndoRedoCommands.h"

#include "core/SelectionCentres.h"
#include "core/WeldedPoints.h"
#include "core/WeldedPointsProcedures.h"

#include <map>
#include <set>

namespace {

using Vec = std::array<double, 3>;

class ExtrudeBevelCutActions : public UndoFixture {
protected:
    void SetUp() override {
        UndoFixture::SetUp();
        Globals::LastErrDescription.clear();
        auto& h = core::windowHooks();
        h.addPolNode = [this](int32_t pol, int32_t group) { nodes[pol] = group; };
        h.removePolNode = [this](int32_t pol) { nodes.erase(pol); };
        h.hasPolNode = [this](int32_t pol) { return nodes.count(pol) != 0; };
        g = makeGroup("box", {0, 0, 0});
        other = makeGroup("other", {50, 0, 0});
    }

    void edit(int32_t group, const std::vector<int32_t>& pols) {
        Globals::CurrSelEntityType = SelGroup;
        Globals::CurrSelEntityHandle = group;
        Globals::BuildWeldedPoints(group);
        Globals::NumSelPols = 0;
        for (int32_t p : pols) Globals::SelPols[++Globals::NumSelPols] = p;
        Globals::UpdateSelPolsRelatedPtsArray();
    }
    static std::vector<int32_t> selection() {
        std::vector<int32_t> out;
        for (int32_t i = 1; i <= Globals::NumSelPols; ++i) out.push_back(Globals::SelPols[i]);
        return out;
    }
    static Vec at(int32_t pt) {
        Vec p{};
        OMBREL_point_get_xyz(pt, p.data());
        return p;
    }
    static bool welded(int32_t pol) {
        const std::vector<int32_t> pts = pointsOf(pol);
        for (int32_t i = 1; i <= Globals::NumWeldedPts; ++i)
            for (int32_t k = 1; k <= Globals::WeldedPts[i]->NumOfPts(); ++k)
                if (std::count(pts.begin(), pts.end(), Globals::WeldedPts[i]->Point(k))) return true;
        return false;
    }
    void push(std::unique_ptr<ActionUndoRedo> r) { Globals::UndoRedoStack->Push(std::move(r)); }

    std::map<int32_t, int32_t> nodes;
    int32_t g = 0, other = 0;
};

TEST_F(ExtrudeBevelCutActions, AnExtrusionMovesTheCapByItsOffsetAndTakesItsSidesAway) {
    const int32_t cap = polygonsOf(g)[0];
    const int32_t side = square(g, {0, 0, 9}, 1);  // stands in for a side polygon
    nodes[side] = g;
    edit(g, {cap});
    std::map<int32_t, Vec> before;
    for (int32_t pt : pointsOf(cap)) before[pt] = at(pt);

    auto r = record(ActExtrude);
    r->Extrude->SetMovedPolsArray(Globals::SelPols, 1);
    r->Extrude->SetAddedPolsArray(std::vector<int32_t>{0, side}, 1, g);
    r->Extrude->SetInitialLoc({1, 1, 1});
    r->Extrude->SetFinalLoc({1, 1, 4.5});
    push(std::move(r));

    // Another group is selected when the history gets there: the geometry comes
    // back, the other group's selection and welded points are left alone.
    const int32_t otherPol = polygonsOf(other)[0];
    edit(other, {otherPol});
    undo::UndoCommand();
    EXPECT_EQ(Globals::LastErrDescription, "");
    for (const auto& [pt, p] : before) EXPECT_EQ(at(pt), (Vec{p[0], p[1], p[2] - 3.5}));
    EXPECT_EQ(OMBREL_polygon_get_group(side), 0);
    EXPECT_EQ(nodes.count(side), 0u);
    EXPECT_EQ(selection(), std::vector<int32_t>{otherPol});
    EXPECT_FALSE(welded(cap));

    edit(g, {cap});
    undo::RedoCommand();
    for (const auto& [pt, p] : before) EXPECT_EQ(at(pt), p);
    EXPECT_EQ(OMBREL_polygon_get_group(side), g);
    EXPECT_EQ(nodes.count(side), 1u);  // its node is back with it
    EXPECT_TRUE(welded(side));
}

TEST_F(ExtrudeBevelCutActions, ABevelWritesItsPositionsAndPassesOverDestroyedPoints) {
    const std::vector<int32_t> pols = polygonsOf(g);
    const std::vector<int32_t> pts = pointsOf(pols[0]);
    const int32_t gone = pointsOf(pols[1])[0];
    std::vector<Vec> before, after;
    for (int32_t pt : pts) {
        before.push_back(at(pt));
        after.push_back({at(pt)[0] * 2, at(pt)[1] * 2, 1e-300});
    }
    auto r = record(ActBevel);
    std::vector<int32_t> moved = pts;
    moved.push_back(gone);
    before.push_back({0, 0, 0});
    after.push_back({0, 0, 0});
    r->Bevel->SetMovedPts(g, moved, before, after);
    r->Bevel->SetBevelAmount(2);
    OMBREL_polygon_delete(pols[1]);
    push(std::move(r));
    OMBREL_ext_clear_last_error();
    undo::UndoCommand();
    for (std::size_t i = 0; i < pts.size(); ++i) EXPECT_EQ(at(pts[i]), before[i]);
    undo::RedoCommand();
    for (std::size_t i = 0; i < pts.size(); ++i) EXPECT_EQ(at(pts[i]), after[i]);
    EXPECT_STREQ(OMBREL_ext_get_last_error(), "");
    EXPECT_EQ(Globals::LastErrDescription, "");

    auto bad = record(ActBevel);
    EXPECT_THROW(bad->Bevel->SetMovedPts(g, {pts[0]}, {}, {}), std::exception);
}

TEST_F(ExtrudeBevelCutActions, ACutGivesTheCutPolygonsBackWithTheNodesTheyHad) {
    const std::vector<int32_t> pols = polygonsOf(g);
    const int32_t plain = pols[0], piece = pols[1];  // the second came from an earlier cut
    nodes[piece] = g;
    const int32_t a = square(g, {0, 0, 3}, 1), b = square(g, {0, 0, 4}, 1), c = square(g, {0, 0, 5}, 1);
    for (int32_t p : {a, b, c}) nodes[p] = g;
    edit(g, {a, b, c});
    // The cut as the tool leaves it: the pieces selected, the cut polygons gone.
    for (int32_t p : {plain, piece}) {
        nodes.erase(p);
        OMBREL_polygon_set_group(p, 0);
        OMBREL_polygon_disable(p);
    }
    auto r = record(ActCutPol);
    r->CutPols->SetDeletedPolsArray(std::vector<int32_t>{0, plain, piece}, 2);
    r->CutPols->SetDeletedPolsWithNodes({piece});
    r->CutPols->SetAddedPolsArray(std::vector<int32_t>{0, a, b, c}, 3, g);
    push(std::move(r));

    undo::UndoCommand();
    EXPECT_EQ(Globals::LastErrDescription, "");
    EXPECT_EQ(selection(), (std::vector<int32_t>{plain, piece}));
    EXPECT_EQ(nodes, (std::map<int32_t, int32_t>{{piece, g}}));
    for (int32_t p : {a, b, c}) EXPECT_FALSE(welded(p));
    EXPECT_TRUE(welded(plain));
    EXPECT_EQ(window.count("UpdateEditGeomTab"), 1);

    undo::RedoCommand();
    EXPECT_EQ(selection(), (std::vector<int32_t>{a, b, c}));
    EXPECT_EQ(nodes.size(), 3u);
    EXPECT_EQ(OMBREL_polygon_get_group(plain), 0);
    EXPECT_FALSE(welded(piece));
}

TEST_F(ExtrudeBevelCutActions, ReleasingACutDestroysWhatCanNeverComeBack) {
    for (bool undone : {false, true}) {
        SCOPED_TRACE(undone ? "undone" : "done");
        const int32_t removed = square(g, {0, 0, 7}, 1);
        const int32_t added = square(g, {0, 0, 8}, 1);
        edit(g, {removed});
        OMBREL_polygon_set_group(removed, 0);
        auto r = record(ActCutPol);
        r->CutPols->SetDeletedPolsArray(std::vector<int32_t>{0, removed}, 1);
        r->CutPols->SetAddedPolsArray(std::vector<int32_t>{0, added}, 1, g);
        push(std::move(r));
        if (undone) undo::UndoCommand();
        Globals::UndoRedoStack->Reset();
        EXPECT_EQ(alive(removed), undone);
        EXPECT_EQ(alive(added), !undone);
    }
}

}  // namespace
