// The chase dialog over a camera or a group: the engine's code shown as its type
// and frame, the spinners' steps, what Apply and OK write (and Cancel does not),
// the lists it offers, and the settings kept by a save and a reload.
#include "EditorFixture.h"

#include "core/CoreTypes.h"
#include "core/EntityProcedures.h"
#include "core/Globals.h"
#include "core/WindowHooks.h"
#include "mainwindow/formCamChaseParams.h"
#include "ombrel.h"
#include "platform/NumericField.h"
#include "scene/formGrpProperties.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>

#include <algorithm>
#include <array>
#include <string>
#include <vector>

namespace {

using Vec = std::array<double, 3>;

void pick(QComboBox* list, const QString& text) {
    const int index = list->findText(text);
    ASSERT_GE(index, 0) << text.toStdString();
    list->setCurrentIndex(index);
    emit list->activated(index);
}

std::vector<std::string> entries(const QComboBox* list) {
    std::vector<std::string> out;
    for (int i = 0; i < list->count(); ++i) out.push_back(list->itemText(i).toStdString());
    return out;
}

std::string chasedName(int32_t entity) {
    char buffer[256] = {};
    OMBREL_entity_get_name_to_chase(entity, buffer, 255);
    return buffer;
}

Vec groupForce(int32_t g) {
    Vec v{};
    OMBREL_group_get_physics_force(g, v.data());
    return v;
}

class ChaseDialogTest : public EditorFixture {
protected:
    // "box": two squares 10 apart in z, so its third extent is 10; "other" a group to chase.
    void SetUp() override {
        StartEditor();
        OpenEmptyWorld();
        box = MakeGroup("box", Globals::RootGrp);
        MakePolygon(box, {{0, 0}, {0, 10}, {10, 10}, {10, 0}}, 0);
        MakePolygon(box, {{0, 0}, {0, 10}, {10, 10}, {10, 0}}, 10);
        other = MakeGroup("other", Globals::RootGrp);
        MakePolygon(other, {{20, 0}, {20, 10}, {30, 10}, {30, 0}});
        camera = OMBREL_camera_create("cam");
        OMBREL_camera_set_save_flag(camera, 1);
        const double points[] = {0, 0, 0, 100, 0, 0};
        track = OMBREL_track_create("path", 0, points, 2);
        form().trwGroupView_Populate();
    }

    void select(int32_t kind, int32_t handle) {
        Globals::CurrSelEntityType = kind;
        Globals::CurrSelEntityHandle = handle;
    }

    // Opens the dialog through the geometry frame's button and runs the handler in it.
    void visit(std::function<void(formCamChaseParams&)> handler) {
        platform_.prompts.answerWindow<formCamChaseParams>(std::move(handler));
        form().cmdEditGeomChase->click();
        EXPECT_EQ(platform_.prompts.pendingAnswers(), 0u);
    }

    int32_t box = 0, other = 0, camera = 0, track = 0;
};

TEST_F(ChaseDialogTest, TheEnginesCodeShowsItsTypeAndFrame) {
    struct Case {
        int32_t kind, code;
        int index;
        const char* frame;  // nullptr: none
        bool fall;
    } cases[] = {
        {SelCamera, 0, 0, nullptr, false},
        {SelCamera, 2, 1, "frmLocPrcFlex", false},
        {SelGroup, 3, 2, "frmLocPrcFlex", false},
        {SelCamera, 4, 3, "frmLocPrcFlex", false},
        {SelCamera, 135, 4, "frmTrack", false},
        {SelGroup, 135, 4, "frmTrack", true},
        {SelGroup, 136, 5, "frmTrack", false},
        {SelGroup, 9, 6, "frmPhysics", false},
        {SelCamera, 1, -1, nullptr, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.kind) + " code " + std::to_string(c.code));
        const int32_t entity = c.kind == SelCamera ? camera : box;
        if (c.kind == SelCamera) OMBREL_camera_set_chase_type(entity, c.code);
        else OMBREL_group_set_chase_type(entity, c.code);
        select(c.kind, entity);
        visit([&](formCamChaseParams& w) {
            EXPECT_EQ(w.windowTitle().toStdString(), "Edit Chase for: " + Globals::GetEntityName(entity));
            EXPECT_EQ(w.cmbChaseType->currentIndex(), c.index);
            for (QGroupBox* f : {w.frmLocPrcFlex, w.frmTrack, w.frmPhysics})
                EXPECT_EQ(f->isVisible(), c.frame && f->objectName() == c.frame) << f->objectName().toStdString();
            EXPECT_EQ(w.chkTrkFall->isVisible(), c.fall);
            EXPECT_FALSE(w.cmdApply->isEnabled());
            w.cmdOk->click();
        });
        // OK writes the shown type back unchanged; no type shown writes nothing.
        EXPECT_EQ(c.kind == SelCamera ? OMBREL_camera_get_chase_type(entity) : OMBREL_group_get_chase_type(entity),
                  c.code);
    }
    // The unknown code left the group static: nothing reached chkGrpDyn.
    OMBREL_group_set_chase_type(box, 1);
    OMBREL_group_set_static(box);
    form().chkGrpDyn->setChecked(false);
    select(SelGroup, box);
    visit([](formCamChaseParams& w) { w.cmdOk->click(); });
    EXPECT_EQ(OMBREL_group_is_static(box), 1);
    EXPECT_FALSE(form().chkGrpDyn->isChecked());
}

TEST_F(ChaseDialogTest, SpinnersStepByTheirFieldsStep) {
    select(SelCamera, camera);
    OMBREL_camera_set_chase_type(camera, OMBREL_CHASE_PHYSICS);
    OMBREL_camera_set_elasticity(camera, 0.5);
    OMBREL_camera_set_friction(camera, 0.01);
    visit([](formCamChaseParams& w) {
        for (int i = 0; i < 50; ++i) w.fldElasticity->spinner()->clickDown();
        EXPECT_EQ(w.fldElasticity->text()->text().toStdString(), "0");
        w.fldFriction->spinner()->clickDown();
        EXPECT_EQ(w.fldFriction->text()->text().toStdString(), "0");
        w.fldForceDir[0]->spinner()->clickUp();
        EXPECT_EQ(w.fldForceDir[0]->text()->text().toStdString(), "0.1");
        EXPECT_TRUE(w.cmdApply->isEnabled());
        pick(w.cmbChaseType, "CHASE_FLEXIBLE");
        w.fldOffset[1]->spinner()->clickDown();
        EXPECT_EQ(w.fldOffset[1]->text()->text().toStdString(), "-1");
        w.fldSoftness->spinner()->clickUp();
        EXPECT_EQ(w.fldSoftness->text()->text().toStdString(), "0.11");
        w.cmdCancel->click();
    });
    // Nothing was applied.
    EXPECT_EQ(OMBREL_camera_get_chase_type(camera), OMBREL_CHASE_PHYSICS);
    EXPECT_EQ(OMBREL_camera_get_elasticity(camera), 0.5);
}

TEST_F(ChaseDialogTest, PhysicsWritesTheForceAsUnitDirectionTimesMagnitude) {
    select(SelGroup, box);
    struct Case {
        Vec direction;
        const char* magnitude;
        Vec force;
    } cases[] = {{{0, 2, 0}, "5", {0, 5, 0}}, {{0, 0, 0}, "5", {0, 0, 0}}, {{3, 0, 4}, "10", {6, 0, 8}}};
    for (const Case& c : cases) {
        visit([&](formCamChaseParams& w) {
            pick(w.cmbChaseType, "CHASE_PHYSICS");
            for (std::size_t i = 0; i < 3; ++i)
                w.fldForceDir[i]->text()->setText(QString::number(c.direction[i]));
            w.fldForceMag->text()->setText(c.magnitude);
            w.fldMaxSpeed->text()->setText("1e999");  // not a number: the engine's value stays
            w.cmdApply->click();
            w.cmdCancel->click();
        });
        EXPECT_EQ(OMBREL_group_get_chase_type(box), OMBREL_CHASE_PHYSICS);
        const Vec got = groupForce(box);
        for (std::size_t i = 0; i < 3; ++i) EXPECT_NEAR(got[i], c.force[i], 1e-12);
        EXPECT_EQ(OMBREL_group_get_physics_maxspeed(box), 200);
    }
    EXPECT_EQ(OMBREL_group_is_static(box), 0) << "a chase makes the group dynamic";
    EXPECT_TRUE(form().chkGrpDyn->isChecked());
}

TEST_F(ChaseDialogTest, NoChaseAndNoTrackAreStoredAsNoNameAndATrackOfZero) {
    select(SelCamera, camera);
    OMBREL_camera_set_name_to_chase(camera, "other");
    OMBREL_camera_set_chase_type(camera, OMBREL_CHASE_LOCATION);
    visit([](formCamChaseParams& w) {
        EXPECT_EQ(w.cmbCamChaseCamOrObj->currentText().toStdString(), "other");
        pick(w.cmbCamChaseCamOrObj, "NO_CHASE");
        w.cmdOk->click();
    });
    EXPECT_EQ(chasedName(camera), "");

    OMBREL_camera_set_track(camera, track);
    visit([](formCamChaseParams& w) {
        pick(w.cmbChaseType, "TRACK_AIRPLANE");
        EXPECT_EQ(w.cmbTrackToChase->currentText().toStdString(), "path");
        pick(w.cmbTrackToChase, "NO_TRACK");
        w.cmdOk->click();
    });
    EXPECT_EQ(OMBREL_camera_get_chase_type(camera), OMBREL_CHASE_TRACK_AIRPLANE);
    EXPECT_EQ(OMBREL_camera_get_track_handle(camera), 0);

    select(SelGroup, box);
    OMBREL_group_set_track_name(box, "path");
    visit([](formCamChaseParams& w) {
        pick(w.cmbChaseType, "CHASE_TRACK");
        pick(w.cmbTrackToChase, "NO_TRACK");
        w.cmdOk->click();
    });
    EXPECT_EQ(OMBREL_group_get_track_handle(box), 0);
    OMBREL_group_set_track_name(box, "path");
    EXPECT_EQ(OMBREL_group_get_track_handle(box), track) << "the name reaches the track again";
}

TEST_F(ChaseDialogTest, TheObjectListOffersOnlyWhatCanBeChasedAndKeepsAMissingName) {
    const int32_t inner = MakeGroup("inner", other);
    const int32_t fixed = MakeGroup("fixed", Globals::RootGrp);
    OMBREL_group_set_static(fixed);
    OMBREL_group_set_dynamic(other);
    OMBREL_group_set_dynamic(inner);
    const int32_t marker = OMBREL_group_create("marker");  // fatherless, as the markers are
    OMBREL_group_set_dynamic(marker);
    const int32_t detached = MakeGroup("detached", marker);  // a subtree outside the world
    OMBREL_group_set_dynamic(detached);
    OMBREL_group_set_dynamic(Globals::RootGrp);
    const int32_t unsaved = OMBREL_camera_create("unsaved");
    OMBREL_camera_set_save_flag(unsaved, 0);

    select(SelGroup, box);
    OMBREL_group_set_dynamic(box);
    OMBREL_group_set_chase_type(box, OMBREL_CHASE_PRECISE);
    OMBREL_group_set_chase_distance(box, 7.5);
    OMBREL_group_set_name_to_chase(box, "fixed");
    visit([&](formCamChaseParams& w) {
        std::vector<std::string> want = {"NO_CHASE", "cam"};
        for (int32_t g : {other, inner}) want.push_back(Globals::GetEntityName(g));
        want.push_back("fixed");  // the chased name the filters leave out, added so Apply keeps it
        std::vector<std::string> got = entries(w.cmbCamChaseCamOrObj);
        EXPECT_EQ(got, want);
        EXPECT_EQ(w.cmbCamChaseCamOrObj->currentText().toStdString(), "fixed");
        EXPECT_EQ(w.fldDistance->text()->text().toStdString(), "7.5");
        EXPECT_FALSE(w.fldSoftness->isEnabled());
        w.cmdOk->click();
    });
    EXPECT_EQ(chasedName(box), "fixed");
    EXPECT_EQ(OMBREL_group_get_chase_distance(box), 7.5);
}

TEST_F(ChaseDialogTest, FallGetsHalfTheThirdExtentAndCancelOrEscWriteNothing) {
    select(SelGroup, box);
    visit([](formCamChaseParams& w) {
        pick(w.cmbChaseType, "CHASE_TRACK");
        EXPECT_TRUE(w.chkTrkFall->isVisible());
        pick(w.cmbTrackToChase, "path");
        w.chkTrkFall->click();
        w.fldTrkSpeed->text()->setText("55");
        w.cmdApply->click();
        EXPECT_FALSE(w.cmdApply->isEnabled());
        w.cmdCancel->click();
    });
    int32_t falling = 0, value = 0;
    double height = 0;
    OMBREL_group_get_falling_from_track_params(box, &falling, &height, &value);
    EXPECT_EQ(falling, 1);
    EXPECT_EQ(height, 5);
    EXPECT_EQ(value, 1);
    EXPECT_EQ(OMBREL_group_get_track_handle(box), track);
    EXPECT_EQ(OMBREL_group_get_absolute_speed(box), 55);

    for (bool esc : {false, true}) {
        visit([esc](formCamChaseParams& w) {
            pick(w.cmbChaseType, "CHASE_PHYSICS");
            w.fldSpeed->text()->setText("1");
            if (!esc) {
                w.cmdCancel->click();
                return;
            }
            QKeyEvent key(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
            QApplication::sendEvent(w.fldSpeed->text(), &key);
            EXPECT_FALSE(w.isVisible());
        });
        EXPECT_EQ(OMBREL_group_get_chase_type(box), OMBREL_CHASE_TRACK);
        EXPECT_EQ(OMBREL_group_get_absolute_speed(box), 55);
    }
}

TEST_F(ChaseDialogTest, ApplyingNoChaseLeavesAGroupStatic) {
    OMBREL_group_set_static(box);
    OMBREL_group_set_chase_type(box, OMBREL_CHASE_LOCATION);
    select(SelGroup, box);
    visit([](formCamChaseParams& w) {
        pick(w.cmbChaseType, "NO_CHASE");
        w.cmdOk->click();
    });
    EXPECT_EQ(OMBREL_group_get_chase_type(box), 0);
    EXPECT_EQ(OMBREL_group_is_static(box), 1);
    EXPECT_FALSE(form().chkGrpDyn->isChecked());
}

TEST_F(ChaseDialogTest, AnotherKindOfSelectionGetsTheCriticalMessageAndWritesNothing) {
    select(SelTrack, track);
    platform_.prompts.answer(platform::MsgResult::OK);
    visit([](formCamChaseParams& w) {
        EXPECT_EQ(w.cmbChaseType->currentIndex(), 0);
        pick(w.cmbChaseType, "CHASE_PHYSICS");
        w.cmdOk->click();
    });
    const auto& shown = platform_.prompts.shown();
    const auto message = std::find_if(shown.begin(), shown.end(), [](const auto& p) {
        return p.kind == platform::doubles::PromptKind::Message;
    });
    ASSERT_NE(message, shown.end());
    EXPECT_EQ(message->text,
              "Program control is not supposed to come here. - Selected entity is nighter a group nor a camera.");
    EXPECT_EQ(message->icon, platform::MsgIcon::Critical);
}

TEST_F(ChaseDialogTest, GroupPropertiesEditChaseOpensTheDialogOverItself) {
    form().trwGroupView_NodeClick(form().trwGroupView->Item(KeyedTree::NodeKey("Group", box)));
    OMBREL_group_set_static(box);
    platform_.prompts.answerWindow<formGrpProperties>([&](formGrpProperties& w) {
        ASSERT_TRUE(w.cmdEditChase->isEnabled());
        platform_.prompts.answerWindow<formCamChaseParams>([&w](formCamChaseParams& chase) {
            EXPECT_EQ(chase.parentWidget(), &w);
            pick(chase.cmbChaseType, "CHASE_LOCATION");
            chase.cmdOk->click();
        });
        w.cmdEditChase->click();
        EXPECT_TRUE(w.chkGrpDyn->isChecked());
        w.cmdCancel->click();
    });
    form().mnuProperties_Click();
    EXPECT_EQ(OMBREL_group_get_chase_type(box), OMBREL_CHASE_LOCATION);
    EXPECT_EQ(OMBREL_group_is_static(box), 0);
}

TEST_F(ChaseDialogTest, SaveAndReloadKeepEverySetting) {
    OMBREL_group_set_dynamic(other);  // a static group is no object to chase
    select(SelGroup, box);
    visit([](formCamChaseParams& w) {
        pick(w.cmbChaseType, "CHASE_FLEXIBLE");
        pick(w.cmbCamChaseCamOrObj, "other");
        const char* texts[] = {"1.5", "-2", "3"};
        for (std::size_t i = 0; i < 3; ++i) w.fldOffset[i]->text()->setText(texts[i]);
        w.fldDistance->text()->setText("12");
        w.fldSoftness->text()->setText("0.25");
        w.cmdOk->click();
    });
    const std::string path = tempPath("chase.wld");
    ASSERT_EQ(OMBREL_engine_save(path.c_str(), Globals::RootGrp, 0x1203), 0);
    form().LoadWorld(path);
    int32_t loaded = 0;
    for (int32_t g = OMBREL_group_get_first_group(); g; g = OMBREL_group_get_next(g))
        if (Globals::GetEntityName(g) == "box") loaded = g;
    ASSERT_NE(loaded, 0);
    select(SelGroup, loaded);
    visit([](formCamChaseParams& w) {
        EXPECT_EQ(w.cmbChaseType->currentText().toStdString(), "CHASE_FLEXIBLE");
        EXPECT_EQ(w.cmbCamChaseCamOrObj->currentText().toStdString(), "other");
        EXPECT_EQ(w.fldOffset[0]->text()->text().toStdString(), "1.5");
        EXPECT_EQ(w.fldOffset[1]->text()->text().toStdString(), "-2");
        EXPECT_EQ(w.fldDistance->text()->text().toStdString(), "12");
        EXPECT_EQ(w.fldSoftness->text()->text().toStdString(), "0.25");
        w.cmdCancel->click();
    });
}

}  // namespace
