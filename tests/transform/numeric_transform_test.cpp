#include "transform_fixture.h"

#include "transform/frmTransformParameters.h"

#include "undo/UndoRedoCommands.h"

#include "core/Maths.h"
#include "core/SelectionCentres.h"
#include "core/TrackProcedures.h"
#include "core/WeldedPointsProcedures.h"
#include "platform/NumericField.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>

#include <functional>
#include <string>

namespace {

using Dialog = frmTransformParameters;

class NumericTransform : public TransformFixture {
protected:
    void SetUp() override {
        TransformFixture::SetUp();
        g = makeGroup("g", {4, 0, 0});
        g2 = makeGroup("g2", {-6, 2, 1});
        cam = OMBREL_camera_create("cam");
        const double camAt[3] = {2, -9, 4};
        OMBREL_camera_set_location1(cam, camAt);
        Globals::SceneCameras->Add(cam);
        const double lightAt[3] = {-3, 5, 7};
        light = OMBREL_light_create("lamp", lightAt);
        Globals::SceneLights->Add(light);
        const double pts[] = {0, 0, 0, 6, 2, 0, 8, 7, 3, 2, 6, -2};
        track = OMBREL_track_create("path", 0, pts, 4);
    }

    std::vector<double> world() const {
        auto v = pointsOfGroup(g);
        auto w = pointsOfGroup(g2);
        v.insert(v.end(), w.begin(), w.end());
        for (int32_t grp : {g, g2}) {
            const Point3d l = location(grp);
            v.insert(v.end(), l.begin(), l.end());
        }
        double p[3];
        OMBREL_camera_get_location1(cam, p);
        v.insert(v.end(), p, p + 3);
        double a1[3], a2[3], a3[3];
        OMBREL_camera_get_axis_system(cam, a1, a2, a3);
        for (const double* a : {a1, a2, a3}) v.insert(v.end(), a, a + 3);
        OMBREL_light_get_location(light, p);
        v.insert(v.end(), p, p + 3);
        for (int32_t i = 0; i < OMBREL_track_get_number_of_points(track); ++i) {
            OMBREL_track_get_point(track, i, p);
            v.insert(v.end(), p, p + 3);
        }
        return v;
    }

    void select(int32_t kind, int32_t handle) {
        Globals::CurrSelEntityType = kind;
        Globals::CurrSelEntityHandle = handle;
        if (kind == SelGroup) Globals::SelGrpBndBox->Initialize(handle);
        if (kind == SelMultiple) {
            Globals::CurrMultiSel->Reset();
            Globals::CurrMultiSel->AddGrpHandles(g);
            Globals::CurrMultiSel->AddGrpHandles(g2);
            Globals::CurrMultiSel->AddCamHandles(cam);
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
        window.page = 2;
        trackPoint = "Point";
        Globals::SelTrkPts = {0, 1, 3};
        Globals::NumSelTrkPts = 2;
        Globals::ComputeSelTrackPtsAvgCenter();
    }

    int32_t g = 0, g2 = 0, cam = 0, light = 0, track = 0;
};

// Each numeric case changes the world, leaves one record of its code, and Undo
// and Redo give back the start and the end.
TEST_F(NumericTransform, EveryModeAndKindAppliesAndRecordsOnce) {
    struct Case {
        const char* name;
        std::function<void()> selectIt;
        int tool;
        std::function<void(Dialog&)> act;
        int32_t code;
    };
    auto rotate = [](Dialog& d) {
        d.txtWRotate[0]->setText("10");
        d.txtWRotate[1]->setText("20");
        typeAndEnter(d.txtWRotate[2], "30");
    };
    auto scale = [](Dialog& d) {
        d.txtWScale[0]->setText("2");
        d.txtWScale[1]->setText("1");
        typeAndEnter(d.txtWScale[2], "0.5");
    };
    auto absoluteX = [](Dialog& d) { typeAndEnter(d.txtAbsolute[0], "20"); };
    auto offsetY = [](Dialog& d) { typeAndEnter(d.txtOffset[1], "2.5"); };
    const Case cases[] = {
        {"group absolute", [&] { select(SelGroup, g); }, ToolMove, absoluteX, ActMove},
        {"group offset", [&] { select(SelGroup, g); }, ToolMove, offsetY, ActMove},
        {"camera absolute", [&] { select(SelCamera, cam); }, ToolMove, absoluteX, ActMove},
        {"light offset", [&] { select(SelLight, light); }, ToolMove, offsetY, ActMove},
        {"track absolute", [&] { select(SelTrack, track); }, ToolMove, absoluteX, ActMove},
        {"multiple offset", [&] { select(SelMultiple, 0); }, ToolMove, offsetY, ActMove},
        {"points absolute", [&] { selectPoints(); }, ToolMove, absoluteX, ActMoveGrpPoints},
        {"polygon offset", [&] { selectPolygon(); }, ToolMove, offsetY, ActMoveGrpPols},
        {"track points absolute", [&] { selectTrackPoints(); }, ToolMove, absoluteX, ActMoveTrkPts},
        {"group angles", [&] { select(SelGroup, g); }, ToolRotate, rotate, ActRotate},
        {"camera angles", [&] { select(SelCamera, cam); }, ToolRotate, rotate, ActRotate},
        {"track angles", [&] { select(SelTrack, track); }, ToolRotate, rotate, ActRotate},
        {"multiple angles", [&] { select(SelMultiple, 0); }, ToolRotate, rotate, ActRotate},
        {"points angles", [&] { selectPoints(); }, ToolRotate, rotate, ActRotateGrpPoints},
        {"polygon angles", [&] { selectPolygon(); }, ToolRotate, rotate, ActRotateGrpPols},
        {"track points angles", [&] { selectTrackPoints(); }, ToolRotate, rotate, ActRotateTrkPts},
        {"group factors", [&] { select(SelGroup, g); }, ToolScale, scale, ActScale},
        {"track factors", [&] { select(SelTrack, track); }, ToolScale, scale, ActScale},
        {"multiple factors", [&] { select(SelMultiple, 0); }, ToolScale, scale, ActScale},
        {"points factors", [&] { selectPoints(); }, ToolScale, scale, ActScaleGrpPoints},
        {"polygon factors", [&] { selectPolygon(); }, ToolScale, scale, ActScaleGrpPols},
        {"track points factors", [&] { selectTrackPoints(); }, ToolScale, scale, ActScaleTrkPts},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Globals::UndoRedoStack->Reset();
        window.page = 0, window.objMode = "New Object";
        trackPoint = "Track";
        Globals::NumSelPts = Globals::NumSelPols = Globals::NumSelTrkPts = 0;
        c.selectIt();
        const auto before = world();
        runDialog(c.tool, c.act);
        const auto after = world();
        EXPECT_NE(after, before);
        ASSERT_EQ(records(), 1);
        EXPECT_EQ(Globals::UndoRedoStack->Retrive()->ActionType, c.code);
        undo::UndoCommand();
        expectNear(world(), before, 1e-9);
        undo::RedoCommand();
        expectNear(world(), after, 1e-9);
        undo::UndoCommand();
    }
}

TEST_F(NumericTransform, AGroupMovesOnTheEditedAxisByWhatItsCentreOfMassIsAskedToDo) {
    select(SelGroup, g);
    const Point3d loc0 = location(g);
    Point3d com0;
    OMBREL_group_get_center_of_mass(g, com0.data());
    ASSERT_NE(com0, loc0);  // the fields show the centre of mass, not the location
    runDialog(ToolMove, [&](Dialog& d) {
        EXPECT_EQ(d.txtAbsolute[0]->text(), platform::NumberText(com0[0]));
        d.txtAbsolute[1]->setFocus();  // leaving an unchanged field moves nothing
        typeAndEnter(d.txtAbsolute[1], d.txtAbsolute[1]->text().toUtf8().constData());
        EXPECT_EQ(location(g), loc0);
        typeAndEnter(d.txtAbsolute[0], "20");
        EXPECT_EQ(d.updwn[0]->Tag, "20");
        d.updwn[2]->clickDown();  // the Absolute spinner applies at once
        EXPECT_EQ(d.txtAbsolute[2]->text(), platform::NumberText(com0[2] - 1));
        d.updwnOffset[1]->clickUp();
        d.updwnOffset[1]->clickUp();
        EXPECT_EQ(d.txtOffset[1]->text(), "2");  // shown, not applied
    });
    const Point3d loc = location(g);
    EXPECT_NEAR(loc[0], loc0[0] + 20 - com0[0], 1e-9);
    EXPECT_DOUBLE_EQ(loc[1], loc0[1]);
    EXPECT_NEAR(loc[2], loc0[2] - 1, 1e-9);
    EXPECT_EQ(records(), 1);
    undo::UndoCommand();
    EXPECT_EQ(location(g), loc0);  // the record holds true locations
}

TEST_F(NumericTransform, TextsThatAreNotFiniteNumbersAreIgnoredAndNothingIsRecorded) {
    select(SelGroup, g);
    const auto before = world();
    runDialog(ToolMove, [&](Dialog& d) {
        for (const char* text : {"abc", "", "1e999", "inf", "nan", "-inf", "1,5"}) {
            typeAndEnter(d.txtAbsolute[0], text);
            typeAndEnter(d.txtOffset[1], text);
        }
        d.txtAbsolute[2]->setText("1e308");
        typeAndEnter(d.txtOffset[2], "1e308");  // the sum is not finite
    });
    EXPECT_EQ(world(), before);
    EXPECT_EQ(records(), 0);

    // A scale with one bad field scales nothing; all fields are back at "1".
    runDialog(ToolScale, [&](Dialog& d) {
        d.txtWScale[0]->setText("2");
        d.txtWScale[1]->setText("2");
        typeAndEnter(d.txtWScale[2], "abc");
        for (int i = 0; i < 3; ++i) EXPECT_EQ(d.txtWScale[static_cast<std::size_t>(i)]->text(), "1");
        EXPECT_EQ(d.AccumulatedScale(), (Point3d{1, 1, 1}));
    });
    EXPECT_EQ(world(), before);
}

TEST_F(NumericTransform, ACommaDecimalLocaleReadsAndWritesItsOwnNumbers) {
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    select(SelCamera, cam);
    runDialog(ToolMove, [&](Dialog& d) {
        EXPECT_EQ(d.txtAbsolute[1]->text(), "-9");
        typeAndEnter(d.txtOffset[1], "2,5");
        EXPECT_EQ(d.txtAbsolute[1]->text(), "-6,5");
        typeAndEnter(d.txtOffset[0], "2.5");  // not a number here
    });
    double p[3];
    OMBREL_camera_get_location1(cam, p);
    EXPECT_EQ(p[0], 2);
    EXPECT_EQ(p[1], -6.5);
}

// The spinners step a factor by a tenth; a factor of 0, or one beyond what Undo
// can give back, scales nothing.
TEST_F(NumericTransform, ScaleSpinnersStepATenthAndFactorsOutsideTheRangeScaleNothing) {
    select(SelGroup, g);
    double dims0[3];
    OMBREL_group_get_dimensions(g, dims0);
    runDialog(ToolScale, [&](Dialog& d) {
        d.updwnWScale[0]->clickUp();
        EXPECT_EQ(d.txtWScale[0]->text(), "1.1");
        typeAndEnter(d.txtWScale[2], "1");
        EXPECT_NEAR(d.AccumulatedScale()[0], 1.1, 1e-12);
        for (const char* factor : {"0", "1e-13", "2e12"}) {
            SCOPED_TRACE(factor);
            typeAndEnter(d.txtWScale[1], factor);
            EXPECT_EQ(d.txtWScale[1]->text(), "1");
            EXPECT_EQ(d.AccumulatedScale()[1], 1);
        }
        typeAndEnter(d.txtWScale[0], "2");
        EXPECT_NEAR(d.AccumulatedScale()[0], 2.2, 1e-12);
    });
    double dims[3];
    OMBREL_group_get_dimensions(g, dims);
    EXPECT_NEAR(dims[0], dims0[0] * 2.2, 1e-9);
    EXPECT_NEAR(dims[1], dims0[1], 1e-9);
    undo::UndoCommand();
    OMBREL_group_get_dimensions(g, dims);
    EXPECT_NEAR(dims[0], dims0[0], 1e-6);
}

// A dialog closed without a change pushes no record, so no earlier one is
// pushed out of the short history for nothing.
TEST_F(NumericTransform, ClosingWithoutAChangeRecordsNothing) {
    struct Case {
        const char* name;
        std::function<void()> select;
    };
    const Case cases[] = {
        {"group", [&] { select(SelGroup, g); }},
        {"track", [&] { select(SelTrack, track); }},
        {"multiple", [&] { select(SelMultiple, 0); }},
        {"points", [&] { selectPoints(); }},
        {"polygon", [&] { selectPolygon(); }},
        {"track points", [&] { selectTrackPoints(); }},
    };
    for (const Case& c : cases) {
        window.page = 0;
        trackPoint = "Track";
        c.select();
        for (int tool : {ToolMove, ToolRotate, ToolScale}) {
            SCOPED_TRACE(std::string(c.name) + " tool " + std::to_string(tool));
            Globals::UndoRedoStack->Reset();
            const auto before = world();
            runDialog(tool, [](Dialog& d) { d.Form_KeyPress(27); });
            EXPECT_EQ(records(), 0);
            EXPECT_EQ(world(), before);
        }
    }
}

// No typed number may take the world beyond where doubles keep its detail: such
// an apply changes nothing at all, in the world or in the history.
TEST_F(NumericTransform, AnApplyThatWouldTakeTheWorldOutOfReachIsIgnored) {
    struct Case {
        const char* name;
        int tool;
        std::function<void(Dialog&)> type;
    };
    const Case cases[] = {
        {"scale 1e307", ToolScale, [](Dialog& d) { typeAndEnter(d.txtWScale[0], "1e307"); }},
        {"scale 1e-307", ToolScale, [](Dialog& d) { typeAndEnter(d.txtWScale[2], "1e-307"); }},
        {"offset 1e20", ToolMove, [](Dialog& d) { typeAndEnter(d.txtOffset[2], "1e20"); }},
        {"offset -1e20", ToolMove, [](Dialog& d) { typeAndEnter(d.txtOffset[0], "-1e20"); }},
        {"absolute 1e13", ToolMove, [](Dialog& d) { typeAndEnter(d.txtAbsolute[1], "1e13"); }},
    };
    for (int32_t kind : {SelGroup, SelMultiple}) {
        select(kind, kind == SelGroup ? g : 0);
        for (const Case& c : cases) {
            SCOPED_TRACE(std::string(c.name) + (kind == SelGroup ? " group" : " multiple"));
            Globals::UndoRedoStack->Reset();
            const std::string before = saved();
            runDialog(c.tool, [&](Dialog& d) {
                c.type(d);
                // The row shows what is in force again.
                for (std::size_t i = 0; i < 3; ++i)
                    EXPECT_EQ((c.tool == ToolMove ? d.txtOffset[i] : d.txtWScale[i])->text(),
                              c.tool == ToolMove ? "0" : "1");
            });
            EXPECT_EQ(saved(), before);
            EXPECT_EQ(records(), 0);
        }
    }
}

TEST_F(NumericTransform, TabGoesFromFieldToFieldNotToTheSpinners) {
    select(SelGroup, g);
    runDialog(ToolRotate, [](Dialog& d) {
        d.activateWindow();
        QApplication::setActiveWindow(&d);
        for (std::size_t i = 0; i < 2; ++i) {
            d.txtWRotate[i]->setFocus();
            QKeyEvent tab(QEvent::KeyPress, Qt::Key_Tab, Qt::NoModifier);
            QApplication::sendEvent(d.txtWRotate[i], &tab);
            EXPECT_EQ(QApplication::focusWidget(), d.txtWRotate[i + 1]) << i;
        }
    });
}

TEST_F(NumericTransform, AnEngineErrorIsTrappedAndTheDialogStaysUsable) {
    select(SelGroup, g);
    int errors = 0;
    platform::setErrorWindow([&](QWidget*) { ++errors; });
    runDialog(ToolRotate, [&](Dialog& d) {
        Globals::SelGrpBndBox.reset();  // the selection box is missing: the apply fails
        typeAndEnter(d.txtWRotate[0], "15");
        EXPECT_EQ(errors, 1);
        EXPECT_TRUE(d.IsFormLoaded());
        Globals::SelGrpBndBox = std::make_shared<BoundingBox>();
        typeAndEnter(d.txtWRotate[0], "15");
        EXPECT_EQ(d.RotationStepCount(), 1);
    });
    platform::setErrorWindow({});
    EXPECT_EQ(errors, 1);
}

}  // namespace
