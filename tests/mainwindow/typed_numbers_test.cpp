// Numbers typed one key at a time into the real fields of each kind of window,
// as a person types them: the text after each key, what the window holds in
// force while the keys come, and both after Enter or leaving the field. A key
// never turns the text into another number, only a whole number within the
// field's range applies, and a commit of anything else goes back to the value
// the edit started from.
#include "cam_track_world.h"

#include "core/TrackProcedures.h"
#include "geometry/formDuplicate.h"
#include "mainwindow/formCamChaseParams.h"
#include "mainwindow/frmLightMapParameterInput.h"
#include "platform/virtual_keys.h"
#include "transform/frmTransformParameters.h"

#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QFocusEvent>
#include <QTest>

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace {

using platform::MsgResult;
using platform::doubles::PromptKind;

enum class Commit { Enter, Leave };

// The field a row types into and what its window holds in force.
struct Subject {
    QLineEdit* field;
    std::function<std::string()> inForce;
};

struct Row {
    const char* where;
    std::function<Subject()> open;
    const char* keys;  // '\b' is Backspace
    std::vector<std::string> texts, inForce;  // after each key
    Commit commit;
    std::string textAfter, inForceAfter;
    const char* message = nullptr;  // the one message the commit shows
};

std::string asText(double v) { return platform::NumberText(v).toStdString(); }

class TypedNumbersTest : public CamTrackWorldTest {
protected:
    // The two squares of "walls" selected in polygon mode, as the extrude and
    // bevel fields work on them.
    void editWalls() {
        Form1& f = form();
        if (Globals::NumSelPols == 2 && Globals::CurrSelEntityHandle == walls_) return;
        select(SelGroup, walls_);
        f.tabWorkspace->setCurrentIndex(1);
        f.cmbObj->setCurrentText("Edit Geometry");
        f.cmbObjEditGeom->setCurrentText("Polygon");
        ::UpdateCameras();
        ClickView(0, PixelOf(0, -50, 0));
        ClickView(0, PixelOf(0, 50, 0), platform::vk::Control);
        ASSERT_EQ(Globals::NumSelPols, 2);
    }
    // Whether a record was pushed since the row opened its field.
    static std::function<std::string()> recorded() {
        const ActionUndoRedo* before = Globals::UndoRedoStack->Retrive();
        return [before] { return Globals::UndoRedoStack->Retrive() == before ? "no record" : "recorded"; };
    }
    // x of the left square's first corner.
    std::function<std::string()> bevelled() {
        return [this, pushed = recorded()] {
            double p[3];
            OMBREL_point_get_xyz(OMBREL_polygon_get_first_point(left_), p);
            return "x " + asText(p[0]) + ", " + pushed();
        };
    }

    int32_t walls_ = 0, left_ = 0, box_ = 0, cam_ = 0, lamp_ = 0, path_ = 0, sky_ = 0;
    std::unique_ptr<formCamChaseParams> chase_;
    std::unique_ptr<formDuplicate> duplicate_;
    std::unique_ptr<frmTransformParameters> transform_;
    std::unique_ptr<frmLightMapParameterInput> lightMaps_;
};

void typeKey(QLineEdit* field, QChar key) {
    if (key == QLatin1Char('\b'))
        QTest::keyClick(field, Qt::Key_Backspace);
    else
        QTest::keyClicks(field, QString(key));
}

}  // namespace

TEST_F(TypedNumbersTest, EveryFieldTakesWhatIsTypedKeyByKeyAndNothingElse) {
    Form1& f = start();
    walls_ = MakeGroup("walls", Globals::RootGrp);
    left_ = MakePolygon(walls_, {{-100, -50}, {-100, 50}, {0, 50}, {0, -50}});
    MakePolygon(walls_, {{0, -50}, {0, 50}, {100, 50}, {100, -50}});
    box_ = group("box");
    cam_ = cameraAt("Cam01", {10, 20, 30}, {1, 0, 0});
    OMBREL_camera_set_zoom(cam_, 60);
    lamp_ = light("lamp");
    path_ = track("path", {0, 0, 0, 10, 0, 0, 10, 5, 0});
    sky_ = background("sky", {0, 0, 255});
    OMBREL_background_set_distance(sky_, 5000);
    rebuildTrees();

    auto duplicateOffset = [&] {
        select(SelGroup, box_);
        duplicate_ = std::make_unique<formDuplicate>(&f);
        platform::UpDown* spinner = duplicate_->updwnOffset[0];
        return Subject{duplicate_->txtOffset[0], [spinner] { return spinner->Tag.toStdString(); }};
    };
    auto sides = [&] {
        f.tabWorkspace->setCurrentIndex(1);
        f.cmbObj->setCurrentText("New Object");
        f.cmbNewObjType->setCurrentText("CYLINDER");
        return Subject{f.txtBoxSegments[1], [&f] { return f.updwnBoxSegments[1]->Tag.toStdString(); }};
    };
    auto bevel = [&] {
        editWalls();
        return Subject{f.txtExtBvl[1], bevelled()};
    };
    auto cameraField = [&](QLineEdit* field, std::function<double()> read) {
        return [&, field, read] {
            f.tabWorkspace->setCurrentIndex(2);
            select(SelCamera, cam_);
            return Subject{field, [read] { return asText(read()); }};
        };
    };
    auto cameraX = cameraField(f.fldCamLoc[0]->text(), [&] {
        double p[3];
        OMBREL_camera_get_location1(cam_, p);
        return p[0];
    });
    auto fieldOfView = cameraField(f.fldFOV->text(), [&] { return OMBREL_camera_get_zoom(cam_); });
    auto diffuse = [&] {
        f.tabWorkspace->setCurrentIndex(5);
        f.trwLight_NodeClick(f.trwLight->Item(lightKey(lamp_)));
        return Subject{f.fldDiffuse->text(), [&] { return asText(OMBREL_light_get_diffuse(lamp_)); }};
    };
    auto trackScale = [&] {
        f.tabWorkspace->setCurrentIndex(2);
        select(SelTrack, path_);
        Globals::CurrToolMode = ToolScale;
        transform_ = std::make_unique<frmTransformParameters>(&f);
        transform_->TransformType = frmTransformParameters::ScaleTransform;
        transform_->show();
        return Subject{transform_->txtWScale[0], [&] {
                           Point3d size;
                           Globals::GetTrackDimensions(path_, size);
                           return asText(size[0]);
                       }};
    };
    // The polygons made since the field was opened.
    auto extrudeSubject = [&] {
        const int32_t had = OMBREL_group_get_number_of_polygons(walls_);
        return Subject{f.txtExtBvl[0], [this, had, pushed = recorded()] {
                           return "+" + std::to_string(OMBREL_group_get_number_of_polygons(walls_) - had) +
                                  " polygons, " + pushed();
                       }};
    };
    auto extrude = [&] {
        editWalls();
        return extrudeSubject();
    };
    // One click of the up arrow: an extrusion by 1 that leaves the field at "0".
    auto extrudeAfterArrow = [&] {
        editWalls();
        f.updwnExtBvl[0]->press(platform::UpDown::Up);
        f.updwnExtBvl[0]->release();
        return extrudeSubject();
    };
    auto eyeDistance = cameraField(f.fldCamDistFrmEye->text(), [&] { return OMBREL_camera_get_distance_from_eye(cam_); });
    auto diminution = [&] {
        editWalls();
        return Subject{f.txtPolLightDimu, [this, pushed = recorded()] {
                           return asText(OMBREL_polygon_get_light_diminution(left_)) + ", " + pushed();
                       }};
    };
    auto backgroundDistance = [&] {
        f.tabWorkspace->setCurrentIndex(2);
        clickNode(backgroundKey(sky_));
        return Subject{f.txtBkgDist, [&] { return asText(OMBREL_background_get_distance(sky_)); }};
    };
    auto chaseSpeed = [&] {
        select(SelCamera, cam_);
        chase_ = std::make_unique<formCamChaseParams>(std::function<void()>(), &f);
        platform::UpDown* spinner = chase_->fldSpeed->spinner();
        return Subject{chase_->fldSpeed->text(), [spinner] { return spinner->Tag.toStdString(); }};
    };
    auto maxMapSize = [&] {
        lightMaps_ = std::make_unique<frmLightMapParameterInput>(&f);
        platform::UpDown* spinner = lightMaps_->updwnMaxSize;
        return Subject{lightMaps_->txtMaxSize, [spinner] { return std::to_string(spinner->Value()); }};
    };

    const std::string still = "x -100, no record";
    const Row rows[] = {
        {"duplicate offset", duplicateOffset, "-25", {"-", "-2", "-25"}, {"0", "-2", "-25"}, Commit::Leave, "-25",
         "-25"},
        {"sides", sides, "16", {"1", "16"}, {"1", "16"}, Commit::Enter, "16", "16"},
        {"sides", sides, "12", {"1", "12"}, {"1", "12"}, Commit::Leave, "12", "12"},
        {"sides below the minimum", sides, "0", {"0"}, {"0"}, Commit::Leave, "3", "3"},
        {"bevel", bevel, "1e999", {"1", "1e", "1e9", "1e99", "1e999"}, {still, still, still, still, still},
         Commit::Enter, "1", still},
        {"bevel", bevel, "abc", {"1", "1", "1"}, {still, still, still}, Commit::Enter, "1", still},
        {"bevel emptied", bevel, "\b", {""}, {still}, Commit::Enter, "1", still},
        {"bevel", bevel, "1e-3", {"1", "1e", "1e-", "1e-3"}, {still, still, still, still}, Commit::Enter, "1", still},
        {"bevel", bevel, "0.5", {"0", "0.", "0.5"}, {still, still, still}, Commit::Enter, "1", "x -50, recorded"},
        {"extrude", extrude, "0", {"0"}, {"+0 polygons, no record"}, Commit::Enter, "1", "+0 polygons, no record"},
        {"extrude", extrude, "1", {"1"}, {"+0 polygons, no record"}, Commit::Enter, "1", "+6 polygons, recorded"},
        // The field reads "1" after the extrusion: what it is taken back to
        // applies nothing.
        {"extrude after one", extrude, "-", {"-"}, {"+0 polygons, no record"}, Commit::Enter, "1",
         "+0 polygons, no record"},
        {"extrude after one", extrude, "1e999", {"1", "1e", "1e9", "1e99", "1e999"},
         {"+0 polygons, no record", "+0 polygons, no record", "+0 polygons, no record", "+0 polygons, no record",
          "+0 polygons, no record"},
         Commit::Enter, "1", "+0 polygons, no record"},
        {"extrude after one", extrude, "1e13", {"1", "1e", "1e1", "1e13"},
         {"+0 polygons, no record", "+0 polygons, no record", "+0 polygons, no record", "+0 polygons, no record"},
         Commit::Enter, "1", "+0 polygons, no record"},
        {"extrude after one, emptied", extrude, "\b", {""}, {"+0 polygons, no record"}, Commit::Enter, "1",
         "+0 polygons, no record"},
        {"extrude after one, left", extrude, "1e999", {"1", "1e", "1e9", "1e99", "1e999"},
         {"+0 polygons, no record", "+0 polygons, no record", "+0 polygons, no record", "+0 polygons, no record",
          "+0 polygons, no record"},
         Commit::Leave, "1", "+0 polygons, no record"},
        {"extrude after the arrow", extrudeAfterArrow, "1e999", {"1", "1e", "1e9", "1e99", "1e999"},
         {"+0 polygons, no record", "+0 polygons, no record", "+0 polygons, no record", "+0 polygons, no record",
          "+0 polygons, no record"},
         Commit::Enter, "0", "+0 polygons, no record"},
        {"light diminution", diminution, "1e999", {"1", "1e", "1e9", "1e99", "1e999"},
         {"0, no record", "0, no record", "0, no record", "0, no record", "0, no record"}, Commit::Enter, "0",
         "0, no record"},
        {"light diminution", diminution, "150", {"1", "15", "150"}, {"0, no record", "0, no record", "0, no record"},
         Commit::Leave, "0", "0, no record"},
        {"light diminution", diminution, "-25", {"-", "-2", "-25"}, {"0, no record", "0, no record", "0, no record"},
         Commit::Enter, "0", "0, no record"},
        {"light diminution", diminution, "1e20", {"1", "1e", "1e2", "1e20"},
         {"0, no record", "0, no record", "0, no record", "0, no record"}, Commit::Enter, "0", "0, no record"},
        {"light diminution", diminution, "40.5", {"4", "40", "40.", "40.5"},
         {"0, no record", "0, no record", "0, no record", "0, no record"}, Commit::Enter, "40.5", "40.5, recorded"},
        {"light diminution", diminution, "-25", {"-", "-2", "-25"},
         {"40.5, no record", "40.5, no record", "40.5, no record"}, Commit::Leave, "40.5", "40.5, no record"},
        {"light diminution", diminution, "150", {"1", "15", "150"},
         {"40.5, no record", "40.5, no record", "40.5, no record"}, Commit::Enter, "40.5", "40.5, no record"},
        {"light diminution", diminution, "1e20", {"1", "1e", "1e2", "1e20"},
         {"40.5, no record", "40.5, no record", "40.5, no record", "40.5, no record"}, Commit::Enter, "40.5",
         "40.5, no record"},
        {"light diminution", diminution, "100", {"1", "10", "100"},
         {"40.5, no record", "40.5, no record", "40.5, no record"}, Commit::Leave, "100", "100, recorded"},
        {"background distance", backgroundDistance, "1e13", {"1", "1e", "1e1", "1e13"},
         {"5000", "5000", "5000", "5000"}, Commit::Enter, "5000", "5000"},
        {"chase speed", chaseSpeed, "1e39", {"1", "1e", "1e3", "1e39"}, {"1", "1", "1e3", "1e3"}, Commit::Leave,
         "200", "200"},
        {"camera x", cameraX, "1e999", {"1", "1e", "1e9", "1e99", "1e999"}, {"10", "10", "10", "10", "10"},
         Commit::Enter, "10", "10"},
        {"camera x", cameraX, "1e13", {"1", "1e", "1e1", "1e13"}, {"10", "10", "10", "10"}, Commit::Enter, "10", "10"},
        {"camera x", cameraX, "12", {"1", "12"}, {"10", "10"}, Commit::Enter, "12", "12"},
        {"field of view", fieldOfView, "0", {"0"}, {"60"}, Commit::Enter, "60", "60"},
        {"field of view", fieldOfView, "180", {"1", "18", "180"}, {"60", "60", "60"}, Commit::Enter, "60", "60"},
        {"field of view", fieldOfView, "500", {"5", "50", "500"}, {"60", "60", "60"}, Commit::Leave, "60", "60"},
        {"field of view", fieldOfView, "-30", {"-", "-3", "-30"}, {"60", "60", "60"}, Commit::Enter, "60", "60"},
        {"field of view", fieldOfView, "90", {"9", "90"}, {"60", "60"}, Commit::Enter, "90", "90"},
        {"distance from eye", eyeDistance, "0.5", {"0", "0.", "0.5"}, {"1", "1", "1"}, Commit::Enter, "0.5", "0.5"},
        {"distance from eye", eyeDistance, "-25", {"-", "-2", "-25"}, {"0.5", "0.5", "0.5"}, Commit::Enter, "0.5",
         "0.5"},
        {"distance from eye", eyeDistance, "0", {"0"}, {"0.5"}, Commit::Enter, "0.5", "0.5"},
        {"distance from eye", eyeDistance, "1e-7", {"1", "1e", "1e-", "1e-7"}, {"0.5", "0.5", "0.5", "0.5"},
         Commit::Leave, "0.5", "0.5"},
        {"distance from eye", eyeDistance, "1e-3", {"1", "1e", "1e-", "1e-3"}, {"0.5", "0.5", "0.5", "0.5"},
         Commit::Enter, "0.001", "0.001"},
        {"diffuse", diffuse, "1e39", {"1", "1e", "1e3", "1e39"}, {"0.8", "0.8", "0.8", "0.8"}, Commit::Enter, "0.8",
         "0.8"},
        {"track scale", trackScale, "0", {"0"}, {"10"}, Commit::Enter, "1", "10"},
        {"track scale", trackScale, "2", {"2"}, {"10"}, Commit::Enter, "1", "20"},
        {"max map size", maxMapSize, "1e999", {"1", "1e", "1e9", "1e99", "1e999"},
         {"1", "1", "1000000000", "2147483647", "2147483647"}, Commit::Leave, "256", "256",
         "Max Map Size has to be a number"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(std::string(row.where) + ": " + row.keys);
        const Subject s = row.open();
        ASSERT_EQ(std::string(row.keys).size(), row.texts.size());
        // Entered as the user enters it, the field's text all selected.
        QFocusEvent in(QEvent::FocusIn, Qt::TabFocusReason);
        QApplication::sendEvent(s.field, &in);
        s.field->selectAll();
        for (std::size_t i = 0; i < row.texts.size(); ++i) {
            typeKey(s.field, QChar::fromLatin1(row.keys[i]));
            EXPECT_EQ(s.field->text().toStdString(), row.texts[i]) << "after key " << i;
            EXPECT_EQ(s.inForce(), row.inForce[i]) << "after key " << i;
        }
        const std::size_t shown = platform_.prompts.shown().size();
        if (row.message) platform_.prompts.answer(MsgResult::OK);
        if (row.commit == Commit::Enter) {
            QTest::keyClick(s.field, Qt::Key_Return);
        } else {
            QFocusEvent out(QEvent::FocusOut, Qt::TabFocusReason);
            QApplication::sendEvent(s.field, &out);
        }
        EXPECT_EQ(s.field->text().toStdString(), row.textAfter);
        EXPECT_EQ(s.inForce(), row.inForceAfter);
        EXPECT_EQ(LastErrDescription, "");
        if (row.message) {
            ASSERT_EQ(platform_.prompts.shown().size(), shown + 1);
            EXPECT_EQ(platform_.prompts.shown().back().text, row.message);
        }
        if (transform_) transform_->close();
        transform_.reset();
        duplicate_.reset();
        chase_.reset();
        lightMaps_.reset();
    }
}

// The last copy lies farthest: a count and offset that would take it beyond the
// world's bound make no copy at all, as the numeric dialog ignores such a move.
TEST_F(TypedNumbersTest, DuplicateMakesNoCopyWhenTheLastWouldLeaveTheWorld) {
    Form1& f = start();
    box_ = group("box");  // -5 to 5
    rebuildTrees();
    struct Case {
        const char* keys;
        int copies;
        int made;
    } cases[] = {{"1e12", 3, 0}, {"1e12", 1, 0}, {"4e11", 3, 0}, {"4e11", 2, 2}, {"-4e11", 2, 2}};
    auto topLevelGroups = [] {
        int n = 0;
        for (int32_t g = OMBREL_group_get_first_included_group(Globals::RootGrp); g != 0;
             g = OMBREL_group_get_next_included_group(Globals::RootGrp, g))
            ++n;
        return n;
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.keys) + " x " + std::to_string(c.copies));
        select(SelGroup, box_);
        const int groups = topLevelGroups();
        const ActionUndoRedo* before = Globals::UndoRedoStack->Retrive();
        formDuplicate dialog(&f);
        QFocusEvent in(QEvent::FocusIn, Qt::TabFocusReason);
        QApplication::sendEvent(dialog.txtOffset[0], &in);
        dialog.txtOffset[0]->selectAll();
        QTest::keyClicks(dialog.txtOffset[0], QString::fromLatin1(c.keys));
        for (int i = 1; i < c.copies; ++i) dialog.updwnCopies->clickUp();
        ASSERT_EQ(dialog.lblCopies->text().toStdString(), std::to_string(c.copies));
        // A refusal says why, naming the limit, and leaves the dialog to be changed.
        const std::size_t prompts = platform_.prompts.shown().size();
        if (c.made == 0) platform_.prompts.answer(platform::MsgResult::OK);
        dialog.show();
        dialog.cmdOK->click();
        EXPECT_EQ(LastErrDescription, "");
        EXPECT_EQ(topLevelGroups() - groups, c.made);
        EXPECT_EQ(Globals::UndoRedoStack->Retrive() != before, c.made > 0);
        EXPECT_EQ(dialog.isVisible(), c.made == 0);
        ASSERT_EQ(platform_.prompts.shown().size(), prompts + (c.made == 0 ? 1 : 0));
        if (c.made == 0) {
            const platform::doubles::ShownPrompt& shown = platform_.prompts.shown().back();
            EXPECT_EQ(shown.title, "TALVORA");
            EXPECT_EQ(shown.text, "The last copy would lie beyond the world's limit of 1e12: no copy was made.");
            EXPECT_EQ(Globals::CurrSelEntityHandle, box_);
        }
    }
}
