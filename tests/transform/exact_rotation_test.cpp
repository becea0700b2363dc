// Undo of a move, a turn or a scale gives back the very numbers that were
// there: the world saved before the edit (A), after it (B), after Undo (C) and
// after Redo (D) gives C == A and D == B byte for byte, whatever the rounding of
// moving or turning back by the inverse would have left.
#include "transform_fixture.h"

#include "transform/frmTransformParameters.h"

#include "undo/UndoRedoCommands.h"

#include "core/SelectionCentres.h"
#include "core/TrackProcedures.h"
#include "core/WeldedPointsProcedures.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>

#include <functional>
#include <string>

namespace {

using Dialog = frmTransformParameters;

class ExactRotation : public TransformFixture {
protected:
    void SetUp() override {
        TransformFixture::SetUp();
        g = makeGroup("g", {4, 0, 0});
        inner = makeGroup("inner", {5, 1, -50}, g);
        const double pivot[3] = {4, 0.5, 0};
        OMBREL_group_set_rotate_reference_point(g, pivot);
        g2 = makeGroup("g2", {-6, 2, 1});
        cam = OMBREL_camera_create("cam");
        const double camAt[3] = {2, -9, 4};
        OMBREL_camera_set_location1(cam, camAt);
        OMBREL_camera_set_direction(cam, 0, -1, 0);
        Globals::SceneCameras->Add(cam);
        const double lightAt[3] = {-3, 5, 7};
        light = OMBREL_light_create("lamp", lightAt);
        const double aslant[3] = {1, 0, -1};
        OMBREL_light_set_direction(light, aslant);
        Globals::SceneLights->Add(light);
        const double pts[] = {0, 0, 0, 6, 2, 0, 8, 7, 3, 2, 6, -50};
        track = OMBREL_track_create("path", 0, pts, 4);
    }

    void select(int32_t kind, int32_t handle) {
        window.page = kind == SelCamera || kind == SelTrack ? 2 : kind == SelLight ? 5 : 0;
        window.objMode = "New Object";
        trackPoint = "Track";
        Globals::NumSelPts = Globals::NumSelPols = Globals::NumSelTrkPts = 0;
        Globals::CurrSelEntityType = kind;
        Globals::CurrSelEntityHandle = handle;
        if (kind == SelGroup) Globals::SelGrpBndBox->Initialize(handle);
        if (kind == SelMultiple) {
            Globals::CurrMultiSel->Reset();
            Globals::CurrMultiSel->AddGrpHandles(g);
            Globals::CurrMultiSel->AddGrpHandles(g2);
            Globals::CurrMultiSel->AddCamHandles(cam);
            Globals::CurrMultiSel->AddLightHandles(light);
            Globals::ComputeSelObjsAvgCenter();
        }
        if (kind == SelTrack) Globals::UpdateTrackCenter();
    }
    // The field a typed number goes to: the offset, angle or factor of the axis.
    static QLineEdit* fieldOf(Dialog& d, int tool, int axis) {
        const auto i = static_cast<std::size_t>(axis);
        return tool == ToolMove ? d.txtOffset[i] : tool == ToolRotate ? d.txtWRotate[i] : d.txtWScale[i];
    }

    void selectPoints() {
        select(SelGroup, g);
        window.page = 1, window.objMode = "Edit Geometry", window.editGeom = "Point";
        const auto pts = pointsOf(polygonsOf(g)[0]);
        Globals::SelPts[1] = pts[0];
        Globals::SelPts[2] = pts[2];
        Globals::NumSelPts = 2;
        Globals::ComputeSelPtsAvgCenter();
    }
    void selectPolygon() {
        select(SelGroup, g);
        window.page = 1, window.objMode = "Edit Geometry", window.editGeom = "Polygon";
        Globals::BuildWeldedPoints(g);
        Globals::SelPols[1] = polygonsOf(g)[0];
        Globals::NumSelPols = 1;
        Globals::UpdateSelPolsRelatedPtsArray();
        Globals::ComputeSelPolsAvgCenter();
    }
    void selectTwoPolygons() {
        selectPolygon();
        Globals::SelPols[2] = polygonsOf(g)[1];
        Globals::NumSelPols = 2;
        Globals::UpdateSelPolsRelatedPtsArray();
        Globals::ComputeSelPolsAvgCenter();
    }
    void selectTrackPoints() {
        select(SelTrack, track);
        trackPoint = "Point";
        Globals::SelTrkPts = {0, 1, 3};
        Globals::NumSelTrkPts = 2;
        Globals::ComputeSelTrackPtsAvgCenter();
    }

    int32_t g = 0, inner = 0, g2 = 0, cam = 0, light = 0, track = 0;
};

}  // namespace

TEST_F(ExactRotation, UndoAndRedoOfEveryTurnAndScaleGiveBackTheSavedWorldByteForByte) {
    struct Subject {
        const char* name;
        std::function<void()> selectIt;
    };
    const Subject subjects[] = {
        {"group", [&] { select(SelGroup, g); }},
        {"polygon", [&] { selectPolygon(); }},
        {"two polygons", [&] { selectTwoPolygons(); }},
        {"points", [&] { selectPoints(); }},
        {"camera", [&] { select(SelCamera, cam); }},
        {"light", [&] { select(SelLight, light); }},
        {"track", [&] { select(SelTrack, track); }},
        {"track points", [&] { selectTrackPoints(); }},
        {"multiple selection", [&] { select(SelMultiple, 0); }},
    };
    struct Gesture {
        const char* name;
        int tool;
        int axis;
        double pixels;        // along the handle's line; 0: the numeric dialog
        const char* typed;    // the dialog's angle or factor
    };
    const Gesture gestures[] = {
        {"handle, about 30 degrees on x", ToolRotate, 0, 50, nullptr},
        {"handle, about -50 degrees on y", ToolRotate, 1, -83, nullptr},
        {"handle, about 90 degrees on z", ToolRotate, 2, 150, nullptr},
        {"dialog, 30 degrees on x", ToolRotate, 0, 0, "30"},
        {"dialog, -50 degrees on y", ToolRotate, 1, 0, "-50"},
        {"dialog, 90 degrees on z", ToolRotate, 2, 0, "90"},
        {"dialog, 1e-7 degrees on x", ToolRotate, 0, 0, "1e-7"},
        {"dialog, factor 0.3 on y", ToolScale, 1, 0, "0.3"},
        {"handle, move on y", ToolMove, 1, 37, nullptr},
        {"dialog, offset 0.1 on z", ToolMove, 2, 0, "0.1"},
        {"dialog, offset 0.3333333 on x", ToolMove, 0, 0, "0.3333333"},
        {"dialog, offset -0.1 on y", ToolMove, 1, 0, "-0.1"},
    };
    for (const Subject& s : subjects) {
        for (const Gesture& gesture : gestures) {
            // Cameras and lights keep their size.
            if (gesture.tool == ToolScale && (s.name == std::string("camera") || s.name == std::string("light")))
                continue;
            SCOPED_TRACE(std::string(s.name) + ", " + gesture.name);
            Globals::UndoRedoStack->Reset();
            s.selectIt();
            Globals::CurrToolMode = gesture.tool;
            const std::string a = saved();
            if (gesture.pixels != 0) {
                dragHandle(gesture.axis, gesture.pixels);
            } else {
                runDialog(gesture.tool, [&](Dialog& d) { typeAndEnter(fieldOf(d, gesture.tool, gesture.axis), gesture.typed); });
            }
            ASSERT_EQ(records(), 1);
            const std::string b = saved();
            EXPECT_TRUE(b != a) << "the gesture changed the world";
            undo::UndoCommand();
            EXPECT_TRUE(saved() == a) << "Undo gives back the world before";
            undo::RedoCommand();
            EXPECT_TRUE(saved() == b) << "Redo gives back the world after";
            undo::UndoCommand();
            ASSERT_TRUE(saved() == a);
        }
    }
}

// A change no record holds (the camera panel's location) is not undone with
// the turn before it: only rounding is written over.
TEST_F(ExactRotation, AnUnrecordedEditSinceTheTurnStays) {
    select(SelCamera, cam);
    Globals::CurrToolMode = ToolRotate;
    platform_.prompts.answerWindow<Dialog>([&](Dialog& d) {
        d.txtWRotate[2]->setText("30");
        QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
        QApplication::sendEvent(d.txtWRotate[2], &enter);
    });
    transform::OpenTransformDialog(nullptr, ToolRotate - ToolMove);
    ASSERT_EQ(records(), 1);
    Globals::SceneCameras->SetLocation(cam, {20, 30, 40});
    undo::UndoCommand();
    double at[3];
    OMBREL_camera_get_location1(cam, at);
    EXPECT_NEAR(at[0], 20, 1e-9);
    EXPECT_NEAR(at[1], 30, 1e-9);
    EXPECT_NEAR(at[2], 40, 1e-9);
    double dir[3];
    OMBREL_camera_get_direction1(cam, dir);
    EXPECT_NEAR(dir[0], 0, 1e-12);
    EXPECT_NEAR(dir[1], -1, 1e-12);
}

// A move by 0 or a turn by 0 is no edit: Enter on a field showing 0 leaves the
// saved world as it was and pushes nothing, whatever is selected.
TEST_F(ExactRotation, ZeroOffsetsAndAnglesLeaveTheWorldAsItWas) {
    const std::pair<const char*, std::function<void()>> subjects[] = {
        {"group", [&] { select(SelGroup, g); }},
        {"points", [&] { selectPoints(); }},
        {"two polygons", [&] { selectTwoPolygons(); }},
        {"camera", [&] { select(SelCamera, cam); }},
        {"track points", [&] { selectTrackPoints(); }},
        {"multiple selection", [&] { select(SelMultiple, 0); }},
    };
    for (const auto& [name, selectIt] : subjects) {
        for (int tool : {ToolMove, ToolRotate}) {
            SCOPED_TRACE(std::string(name) + (tool == ToolMove ? ", move by 0" : ", turn by 0"));
            Globals::UndoRedoStack->Reset();
            selectIt();
            const std::string a = saved();
            runDialog(tool, [&](Dialog& d) {
                for (int axis = 0; axis < 3; ++axis) typeAndEnter(fieldOf(d, tool, axis), "0");
                typeAndEnter(fieldOf(d, tool, 1), "-0");
            });
            EXPECT_EQ(records(), 0);
            EXPECT_TRUE(saved() == a) << "the world is as it was";
        }
    }
}

// A point at 0 moved by 0.1 stands at 0.1 itself, and is saved so; polygons
// and groups move by the number typed too, not by a difference of centres.
TEST_F(ExactRotation, AMoveAddsTheTypedOffsetItself) {
    const int32_t p0 = pointsOf(polygonsOf(g)[0])[0];
    auto at = [](int32_t pt) {
        Point3d p = {0, 0, 0};
        OMBREL_point_get_xyz(pt, p.data());
        return p;
    };
    const Point3d start = at(p0);
    ASSERT_EQ(start[2], 0);
    struct Case {
        const char* name;
        std::function<void()> selectIt;
        const char* typed;
        double offset;
    };
    const Case cases[] = {
        // A third point, at z = 1, puts their centre at 1/3: a sum that would not
        // give back the typed 0.1 once the centre is taken off again.
        {"points",
         [&] {
             selectPoints();
             Globals::SelPts[3] = pointsOf(polygonsOf(g)[1])[0];
             Globals::NumSelPts = 3;
             Globals::ComputeSelPtsAvgCenter();
         },
         "0.1", 0.1},
        {"two polygons", [&] { selectTwoPolygons(); }, "0.3333333", 0.3333333},
        {"group", [&] { select(SelGroup, g); }, "0.1", 0.1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Globals::UndoRedoStack->Reset();
        c.selectIt();
        runDialog(ToolMove, [&](Dialog& d) { typeAndEnter(d.txtOffset[2], c.typed); });
        ASSERT_EQ(records(), 1);
        EXPECT_EQ(at(p0)[2], 0 + c.offset);
        EXPECT_EQ(at(p0)[0], start[0]);
        if (c.offset == 0.1) {
            const std::string text = saved();
            EXPECT_NE(text.find("0.1"), std::string::npos);
            EXPECT_EQ(text.find("0.1000000"), std::string::npos) << "saved as 0.1, not a neighbour of it";
        }
        undo::UndoCommand();
        EXPECT_EQ(at(p0), start);
    }
}

// Records undone, redone and undone again in a chain give back each saved
// world in turn, byte for byte.
TEST_F(ExactRotation, AChainOfThreeEditsUndoesRedoesAndUndoesExactly) {
    Globals::UndoRedoStack->Reset();
    std::vector<std::string> worlds{saved()};
    selectTwoPolygons();
    runDialog(ToolMove, [&](Dialog& d) { typeAndEnter(d.txtOffset[2], "0.1"); });
    worlds.push_back(saved());
    selectPoints();
    runDialog(ToolRotate, [&](Dialog& d) { typeAndEnter(d.txtWRotate[1], "33.3"); });
    worlds.push_back(saved());
    select(SelGroup, g);
    runDialog(ToolMove, [&](Dialog& d) { typeAndEnter(d.txtOffset[0], "0.3333333"); });
    worlds.push_back(saved());
    ASSERT_EQ(records(), 3);
    for (std::size_t i = 1; i < worlds.size(); ++i) ASSERT_TRUE(worlds[i] != worlds[i - 1]) << "edit " << i;
    for (int round = 0; round < 2; ++round) {
        for (std::size_t i = 3; i > 0; --i) {
            undo::UndoCommand();
            EXPECT_TRUE(saved() == worlds[i - 1]) << "round " << round << ", Undo back to " << i - 1;
        }
        if (round == 1) break;
        for (std::size_t i = 1; i <= 3; ++i) {
            undo::RedoCommand();
            EXPECT_TRUE(saved() == worlds[i]) << "Redo to " << i;
        }
    }
}
