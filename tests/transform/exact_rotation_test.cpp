// Undo of a turn or a scale gives back the very numbers that were there: the
// world saved before the edit (A), after it (B), after Undo (C) and after Redo
// (D) gives C == A and D == B byte for byte, whatever the rounding of turning
// back by the inverse angle would have left.
#include "transform_fixture.h"

#include "transform/frmTransformParameters.h"

#include "undo/UndoRedoCommands.h"

#include "core/SelectionCentres.h"
#include "core/TrackProcedures.h"
#include "core/WeldedPointsProcedures.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTemporaryDir>

#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
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
        // A folder of this run's own: CTest runs the whole program beside its tests.
        ASSERT_TRUE(folder_.isValid());
        file_ = (std::filesystem::path(folder_.path().toStdString()) / "exact_rotation.world").string();
    }

    std::string saved() const {
        EXPECT_EQ(OMBREL_engine_save(file_.c_str(), Globals::RootGrp, 0x1203), 0) << OMBREL_ext_get_last_error();
        std::ifstream in(file_, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
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
    void selectTrackPoints() {
        select(SelTrack, track);
        trackPoint = "Point";
        Globals::SelTrkPts = {0, 1, 3};
        Globals::NumSelTrkPts = 2;
        Globals::ComputeSelTrackPtsAvgCenter();
    }

    int32_t g = 0, inner = 0, g2 = 0, cam = 0, light = 0, track = 0;
    QTemporaryDir folder_;
    std::string file_;
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
                platform_.prompts.answerWindow<Dialog>([&](Dialog& d) {
                    ASSERT_TRUE(d.IsFormLoaded());
                    QLineEdit* field = gesture.tool == ToolRotate ? d.txtWRotate[static_cast<std::size_t>(gesture.axis)]
                                                                  : d.txtWScale[static_cast<std::size_t>(gesture.axis)];
                    field->setText(QString::fromLatin1(gesture.typed));
                    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
                    QApplication::sendEvent(field, &enter);
                });
                transform::OpenTransformDialog(nullptr, gesture.tool - ToolMove);
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
