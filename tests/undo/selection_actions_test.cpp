#include "undo_fixture.h"

#include "undo/UndoRedoCommands.h"

#include "core/SelectionChange.h"

#include <functional>

namespace {

struct Sel {
    int32_t kind = SelNone;
    int32_t handle = 0;
    std::vector<int32_t> groups = {}, cams = {}, lights = {};  // kind 6
};

struct Scene {
    int32_t a = 0, b = 0, c = 0, camera = 0, light = 0;
};

class SelectionActions : public UndoFixture {
protected:
    void SetUp() override {
        UndoFixture::SetUp();
        s.a = makeGroup("a", {0, 0, 0});
        s.b = makeGroup("b", {10, 0, 0});
        s.c = makeGroup("c", {0, 10, 0});
        s.camera = OMBREL_camera_create("cam");
        Globals::SceneCameras->Add(s.camera);
        double at[3] = {1, 2, 3};
        s.light = OMBREL_light_create("lamp", at);
        Globals::SceneLights->Add(s.light);
    }

    static void makeCurrent(const Sel& sel) {
        Globals::CurrSelEntityType = sel.kind;
        Globals::CurrSelEntityHandle = sel.handle;
        Globals::CurrMultiSel->Reset();
        for (int32_t g : sel.groups) Globals::CurrMultiSel->AddGrpHandles(g);
        for (int32_t c : sel.cams) Globals::CurrMultiSel->AddCamHandles(c);
        for (int32_t l : sel.lights) Globals::CurrMultiSel->AddLightHandles(l);
    }

    // The way the view click and the tree clicks record a change of selection.
    void changeSelection(const Sel& to) {
        Globals::SetPrevSelEntityToCurrSelEntity();
        makeCurrent(to);
        auto r = record(ActSelect);
        r->SelectObj->SetNewSelToCurrSel();
        r->SelectObj->SetOldSelToPrevSel();
        Globals::UndoRedoStack->Push(std::move(r));
        Globals::ThingsToDoOnSelectedEntityChange();
    }

    static void expectCurrent(const Sel& sel) {
        EXPECT_EQ(Globals::CurrSelEntityType, sel.kind);
        EXPECT_EQ(Globals::CurrSelEntityHandle, sel.handle);
        if (sel.kind != SelMultiple) return;
        const MultipleSelection& m = *Globals::CurrMultiSel;
        std::vector<int32_t> groups, cams, lights;
        for (int32_t i = 1; i <= m.NumOfGrps(); ++i) groups.push_back(m.GetGrp(i));
        for (int32_t i = 1; i <= m.NumOfCams(); ++i) cams.push_back(m.GetCam(i));
        for (int32_t i = 1; i <= m.NumOfLights(); ++i) lights.push_back(m.GetLight(i));
        EXPECT_EQ(groups, sel.groups);
        EXPECT_EQ(cams, sel.cams);
        EXPECT_EQ(lights, sel.lights);
    }

    static void selectPolygons(const std::vector<int32_t>& pols) {
        Globals::NumSelPols = 0;
        for (int32_t p : pols) Globals::SelPols[++Globals::NumSelPols] = p;
    }

    Scene s;
};

TEST_F(SelectionActions, UndoGivesBackKindHandleAndMultipleSelection) {
    struct Case {
        const char* name;
        std::function<Sel(const Scene&)> from, to;
        bool lightPanelAfterUndo, lightPanelAfterRedo;
    };
    const Case cases[] = {
        {"group to camera", [](const Scene& s) { return Sel{SelGroup, s.a}; },
         [](const Scene& s) { return Sel{SelCamera, s.camera}; }, false, false},
        {"multiple to group",
         [](const Scene& s) { return Sel{SelMultiple, 0, {s.a, s.b}, {s.camera}, {s.light}}; },
         [](const Scene& s) { return Sel{SelGroup, s.c}; }, false, false},
        {"nothing to multiple", [](const Scene&) { return Sel{}; },
         [](const Scene& s) { return Sel{SelMultiple, 0, {s.c, s.a}, {}, {s.light}}; }, false, false},
        {"light to nothing", [](const Scene& s) { return Sel{SelLight, s.light}; }, [](const Scene&) { return Sel{}; },
         true, false},
        {"multiple to another multiple",
         [](const Scene& s) { return Sel{SelMultiple, 0, {s.a}, {s.camera}, {}}; },
         [](const Scene& s) { return Sel{SelMultiple, 0, {s.b, s.c}, {}, {}}; }, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const Sel from = c.from(s), to = c.to(s);
        makeCurrent(from);
        Globals::SetPrevSelEntityToCurrSelEntity();
        changeSelection(to);
        // Later changes of the live selection do not reach the record.
        Globals::CurrMultiSel->Reset();
        Globals::CurrMultiSel->AddGrpHandles(s.c);

        window.calls.clear();
        undo::UndoCommand();
        expectCurrent(from);
        EXPECT_EQ(window.lightPanel, c.lightPanelAfterUndo);
        // Back to nothing with the previous handle also 0 reads as no change.
        if (from.kind != SelNone) {
            EXPECT_EQ(window.count("SelectionChangedUi"), 1);
        }
        undo::RedoCommand();
        expectCurrent(to);
        EXPECT_EQ(window.lightPanel, c.lightPanelAfterRedo);
        EXPECT_EQ(Globals::PrevSelEntityType, from.kind);
        undo::UndoCommand();
        expectCurrent(from);
        Globals::UndoRedoStack->Reset();
    }
}

TEST_F(SelectionActions, UndoBringsBackThePolygonsTheChangeCleared) {
    makeCurrent({SelGroup, s.a});
    Globals::SetPrevSelEntityToCurrSelEntity();
    const std::vector<int32_t> pols = polygonsOf(s.a);
    selectPolygons({pols[1]});
    changeSelection({SelLight, s.light});
    EXPECT_EQ(Globals::NumSelPols, 0);

    undo::UndoCommand();
    EXPECT_EQ(Globals::CurrSelEntityHandle, s.a);
    ASSERT_EQ(Globals::NumSelPols, 1);
    EXPECT_EQ(Globals::SelPols[1], pols[1]);
    EXPECT_EQ(Globals::NumWeldedPts, 8) << "welded points of the group rebuilt";
    EXPECT_EQ(Globals::NumSelPolsRelatedPts, 4);
    double centre[3];
    OMBREL_polygon_get_center(pols[1], centre);
    for (int k = 0; k < 3; ++k) EXPECT_NEAR(Globals::SelPolsAvgCenter[k], centre[k], 1e-9);
    EXPECT_EQ(window.count("UpdateEditGeomTab"), 1);

    undo::RedoCommand();
    EXPECT_EQ(Globals::CurrSelEntityHandle, s.light);
    EXPECT_EQ(Globals::NumSelPols, 0);
}

TEST_F(SelectionActions, PointSelectionUndoRecomputesTheOwningPolygonsWhateverTheOrder) {
    makeCurrent({SelGroup, s.a});
    const std::vector<int32_t> pols = polygonsOf(s.a);
    // Picked in the opposite order of the group's polygons.
    const int32_t picked[] = {0, pointsOf(pols[1])[2], pointsOf(pols[0])[0]};
    auto r = record(ActSelectPts);
    r->SelectPts->SetOldSelPts(picked, 2);
    Globals::NumSelPts = 0;
    r->SelectPts->SetNewSelPts(Globals::SelPts, 0);
    Globals::NumSelPtsPols = 0;
    Globals::UndoRedoStack->Push(std::move(r));

    undo::UndoCommand();
    ASSERT_EQ(Globals::NumSelPts, 2);
    EXPECT_EQ(Globals::SelPts[1], picked[1]);
    EXPECT_EQ(Globals::SelPts[2], picked[2]);
    ASSERT_EQ(Globals::NumSelPtsPols, 2);
    EXPECT_EQ(Globals::SelPtsPols[1], pols[0]);
    EXPECT_EQ(Globals::SelPtsPols[2], pols[1]);
    double p1[3], p2[3];
    OMBREL_point_get_xyz(picked[1], p1);
    OMBREL_point_get_xyz(picked[2], p2);
    for (int k = 0; k < 3; ++k) EXPECT_NEAR(Globals::SelPtsAvgCenter[k], (p1[k] + p2[k]) / 2, 1e-9);

    undo::RedoCommand();
    EXPECT_EQ(Globals::NumSelPts, 0);
    EXPECT_EQ(Globals::NumSelPtsPols, 0) << "a later point Delete must not see the undone points' polygons";
}

TEST_F(SelectionActions, ObjectModeComboFollowsTheRestoredKind) {
    struct Case {
        const char* name;
        int objModeCount;
        bool textureEditor;
        int page;
        std::string afterUndo, afterRedo;  // undo to group a, redo to the camera
    };
    const Case cases[] = {
        {"two entries", 3, false, 1, "Edit Geometry", "New Object"},
        {"texture editor open", 3, true, 1, "Edit Texture", "New Object"},
        {"a single entry", 1, false, 1, "unchanged", "New Object"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        window.objModeCount = c.objModeCount;
        window.textureEditorLoaded = c.textureEditor;
        window.page = c.page;
        makeCurrent({SelGroup, s.a});
        Globals::SetPrevSelEntityToCurrSelEntity();
        changeSelection({SelCamera, s.camera});
        window.objMode = "unchanged";
        undo::UndoCommand();
        EXPECT_EQ(window.objMode, c.afterUndo);
        undo::RedoCommand();
        EXPECT_EQ(window.objMode, c.afterRedo);
        Globals::UndoRedoStack->Reset();
    }
    // Redo to a group touches the combo only on the object page.
    makeCurrent({SelCamera, s.camera});
    Globals::SetPrevSelEntityToCurrSelEntity();
    changeSelection({SelGroup, s.a});
    undo::UndoCommand();
    window.page = 0;
    window.objMode = "unchanged";
    undo::RedoCommand();
    EXPECT_EQ(window.objMode, "unchanged");
}

TEST_F(SelectionActions, TrackPointUndoGrowsTheSelectionToHoldTheOldSet) {
    const double pts[] = {0, 0, 0, 4, 0, 0, 4, 8, 0, 0, 8, 2};
    const int32_t track = OMBREL_track_create("path", 0, pts, 4);
    makeCurrent({SelTrack, track});
    const std::vector<int32_t> old = {0, 1, 2, 3};
    auto r = record(ActSelectTrkPts);
    r->SelectTrkPts->SetOldSelTrkPts(old, 3);
    Globals::SelTrkPts = {0, 0};
    Globals::NumSelTrkPts = 1;
    r->SelectTrkPts->SetNewSelTrkPts(Globals::SelTrkPts, 1);
    Globals::UndoRedoStack->Push(std::move(r));

    undo::UndoCommand();
    ASSERT_EQ(Globals::NumSelTrkPts, 3);
    EXPECT_EQ(Globals::SelTrkPts, (std::vector<int32_t>{0, 1, 2, 3}));
    EXPECT_NEAR(Globals::SelTrkPtsAvgCenter[0], 8.0 / 3, 1e-9);
    EXPECT_NEAR(Globals::SelTrkPtsAvgCenter[1], 16.0 / 3, 1e-9);
    undo::RedoCommand();
    EXPECT_EQ(Globals::NumSelTrkPts, 1);
    EXPECT_EQ(Globals::SelTrkPtsAvgCenter[0], 0);
}

}  // namespace
