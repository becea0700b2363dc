// The record of a texture-coordinate change: which points it records, the
// coordinates before and after, and Undo and Redo writing them back through the
// recorded polygons and refreshing an open editor only.
#include "undo_fixture.h"

#include "undo/UndoRedoCommands.h"

#include <array>

namespace {

using UV = std::array<double, 2>;

class TextureCoordsActions : public UndoFixture {
protected:
    void SetUp() override {
        UndoFixture::SetUp();
        group = makeGroup("g", {0, 0, 0});
        pols = polygonsOf(group);
        ASSERT_EQ(pols.size(), 2u);
        core::windowHooks().textureMappingSetupWithNewZoom = [this] { window.calls.push_back("SetupWithNewZoom"); };
    }

    static UV uvOf(int32_t pt) {
        UV uv = {0, 0};
        OMBREL_point_get_bitmap_xy(pt, uv.data());
        return uv;
    }
    static void setUV(int32_t pt, int32_t pol, UV uv) { OMBREL_point_set_bitmap_xy(pt, pol, uv.data()); }

    // Every point of the polygon gets (base + i, -base - i).
    void number(int32_t pol, double base) {
        double i = 0;
        for (int32_t pt : pointsOf(pol)) setUV(pt, pol, {base + i, -base - i++});
    }

    int32_t group = 0;
    std::vector<int32_t> pols;
};

}  // namespace

TEST_F(TextureCoordsActions, UndoAndRedoWriteTheRecordedCoordinatesOfTheSelectedPolygons) {
    number(pols[0], 10);
    number(pols[1], 20);
    Globals::NumSelPols = 1;
    Globals::SelPols[1] = pols[1];
    auto r = record(ActChngTextureCoords);
    ActionChngTextureCoords& a = *r->ChngTextureCoords;
    a.SetPtsChangedToCurrSel();
    ASSERT_EQ(a.NumOfPts(), 4);
    a.ExtractIniCoordsLoc();
    number(pols[1], 1e6);
    a.ExtractFnlCoordsLoc();
    EXPECT_TRUE(a.ChangesAnything());
    number(pols[1], -7.25);  // what the world holds when Undo comes is not looked at

    r->UndoAction();
    const auto pts = pointsOf(pols[1]);
    for (std::size_t i = 0; i < pts.size(); ++i) EXPECT_EQ(uvOf(pts[i]), (UV{20.0 + i, -20.0 - i})) << i;
    // The other polygon is not part of the record.
    EXPECT_EQ(uvOf(pointsOf(pols[0])[2]), (UV{12, -12}));
    r->RedoAction();
    for (std::size_t i = 0; i < pts.size(); ++i) EXPECT_EQ(uvOf(pts[i]), (UV{1e6 + i, -1e6 - i})) << i;
    // The editor is closed: nothing asked of it.
    EXPECT_EQ(window.count("SetupWithNewZoom"), 0);

    window.textureEditorLoaded = true;
    r->UndoAction();
    r->RedoAction();
    EXPECT_EQ(window.count("SetupWithNewZoom"), 2);
}

TEST_F(TextureCoordsActions, GivenPointsReplaceAndTheSelectedPolygonsAppend) {
    const auto a = pointsOf(pols[0]), b = pointsOf(pols[1]);
    setUV(a[1], pols[0], {0.5, 0.25});
    setUV(b[3], pols[1], {0.75, 1});
    auto r = record(ActChngTextureCoords);
    ActionChngTextureCoords& action = *r->ChngTextureCoords;
    const std::vector<int32_t> pts = {0, a[1], b[3]}, owners = {0, pols[0], pols[1]};
    action.SetPtsChangedToGiven(pts, owners, 2);
    action.SetPtsChangedToGiven(pts, owners, 2);
    EXPECT_EQ(action.NumOfPts(), 2);
    action.ExtractIniCoordsLoc();
    setUV(a[1], pols[0], {0, 0});
    setUV(b[3], pols[1], {0, 0});
    action.ExtractFnlCoordsLoc();
    action.Undo();
    EXPECT_EQ(uvOf(a[1]), (UV{0.5, 0.25}));
    EXPECT_EQ(uvOf(b[3]), (UV{0.75, 1}));

    // Selected polygons append to what is recorded; twice records them twice.
    Globals::NumSelPols = 1;
    Globals::SelPols[1] = pols[0];
    action.SetPtsChangedToCurrSel();
    action.SetPtsChangedToCurrSel();
    EXPECT_EQ(action.NumOfPts(), 10);
}

TEST_F(TextureCoordsActions, ARecordWhoseCoordinatesEndWhereTheyStartedChangesNothing) {
    Globals::NumSelPols = 2;
    Globals::SelPols[1] = pols[0];
    Globals::SelPols[2] = pols[1];
    auto r = record(ActChngTextureCoords);
    ActionChngTextureCoords& action = *r->ChngTextureCoords;
    action.SetPtsChangedToCurrSel();
    action.ExtractIniCoordsLoc();
    const int32_t pt = pointsOf(pols[1])[0];
    const UV before = uvOf(pt);
    setUV(pt, pols[1], {before[0] + 0.5, before[1]});
    setUV(pt, pols[1], before);
    action.ExtractFnlCoordsLoc();
    EXPECT_FALSE(action.ChangesAnything());

    // Through the Undo command the views are redrawn after the action.
    setUV(pt, pols[1], {before[0] + 0.5, before[1]});
    action.ExtractFnlCoordsLoc();
    EXPECT_TRUE(action.ChangesAnything());
    Globals::UndoRedoStack->Push(std::move(r));
    window.calls.clear();
    undo::UndoCommand();
    EXPECT_EQ(uvOf(pt), before);
    EXPECT_EQ(window.count("UpdateCameras"), 1);
}
