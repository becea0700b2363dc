// Deleting from the window: the Delete key by selection and workspace mode, the
// trees' Delete items, Undo bringing back exactly what went, and merges while a
// deletion can still be undone.
#include "scene_world.h"

#include "platform/key_state.h"
#include "platform/virtual_keys.h"

#include <QComboBox>
#include <QGroupBox>
#include <QTabWidget>

#include <functional>

namespace {

void editGeometry(Form1& f, const char* part) {
    f.tabWorkspace->setCurrentIndex(1);
    f.cmbObj->setCurrentText("Edit Geometry");
    f.cmbObjEditGeom->setCurrentText(part);
}

class SceneDeletionTest : public SceneWorldTest {
protected:
    void pressDelete() {
        form().PicBoxHasFocus = true;
        platform::clearKeyState();
        platform::noteKeyDown(platform::vk::Delete);
        form().Form_KeyDown(0, 0);
    }
    static void pushSelectionRecord() {
        auto r = std::make_unique<ActionUndoRedo>();
        r->ActionType = ActSelect;
        Globals::UndoRedoStack->Push(std::move(r));
    }
};

TEST_F(SceneDeletionTest, TheDeleteKeyDeletesBySelectionKindAndWorkspaceMode) {
    struct World {
        int32_t box = 0, cam = 0, lamp = 0, track = 0, sky = 0;
    };
    struct Case {
        const char* name;
        std::function<void(Form1&, const World&)> prepare;
        std::function<void(Form1&, const World&)> check;
    };
    int points = 0;
    auto groupStays = [](Form1& f, const World& w) {
        EXPECT_EQ(OMBREL_group_get_father_group(w.box), Globals::RootGrp);
        EXPECT_TRUE(f.trwGroupView->Exists(groupKey(w.box)));
        EXPECT_EQ(Globals::CurrSelEntityType, SelGroup);
    };
    auto groupGoes = [](Form1& f, const World& w) {
        EXPECT_EQ(OMBREL_group_get_father_group(w.box), 0);
        EXPECT_FALSE(f.trwGroupView->Exists(groupKey(w.box)));
        EXPECT_EQ(newestType(), ActDelete);
        EXPECT_EQ(Globals::CurrSelEntityType, SelNone);
        EXPECT_EQ(f.cmbObj->count(), 1);
        EXPECT_EQ(f.cmbObj->currentText(), "New Object");
        EXPECT_EQ(f.StatusBarPanel(1), "0");
    };
    const Case cases[] = {
        {"group, object mode", [](Form1&, const World& w) { select(SelGroup, w.box); }, groupGoes},
        {"group, new object on the edit page",
         [](Form1& f, const World& w) {
             select(SelGroup, w.box);
             f.tabWorkspace->setCurrentIndex(1);
             f.cmbObj->setCurrentText("New Object");
         },
         groupGoes},
        {"group, point editing",
         [](Form1& f, const World& w) {
             select(SelGroup, w.box);
             editGeometry(f, "Point");
         },
         [&](Form1& f, const World& w) {
             EXPECT_EQ(points, 1);
             groupStays(f, w);
         }},
        {"group, polygon editing",
         [](Form1& f, const World& w) {
             select(SelGroup, w.box);
             editGeometry(f, "Polygon");
             Globals::NumSelPols = 1;
             Globals::SelPols[1] = OMBREL_group_get_first_polygon(w.box);
         },
         [&](Form1& f, const World& w) {
             // The polygon frame's Delete: the selected polygons go, the group stays.
             EXPECT_EQ(OMBREL_group_get_number_of_polygons(w.box), 0);
             EXPECT_EQ(newestType(), ActDeleteGrpPols);
             groupStays(f, w);
         }},
        {"camera", [](Form1&, const World& w) { select(SelCamera, w.cam); },
         [](Form1& f, const World& w) {
             EXPECT_EQ(OMBREL_camera_get_save_flag(w.cam), 0);
             EXPECT_FALSE(f.trwCamTrackBK->Exists(cameraKey(w.cam)));
             EXPECT_EQ(newestType(), ActDelete);
             EXPECT_EQ(Globals::CurrSelEntityType, SelNone);
         }},
        {"light", [](Form1&, const World& w) { select(SelLight, w.lamp); },
         [](Form1& f, const World& w) {
             EXPECT_EQ(OMBREL_ext_light_get_save_flag(w.lamp), 0);
             EXPECT_EQ(OMBREL_light_is_disabled(w.lamp), 1);
             EXPECT_FALSE(f.trwLight->Exists(lightKey(w.lamp)));
             EXPECT_EQ(newestType(), ActDelete);
         }},
        {"track", [](Form1&, const World& w) { select(SelTrack, w.track); },
         [](Form1& f, const World& w) {
             EXPECT_TRUE(alive(w.track));
             EXPECT_EQ(OMBREL_track_get_first_track(), 0);  // no longer saved
             EXPECT_FALSE(f.trwCamTrackBK->Exists(KeyedTree::NodeKey("Track", w.track)));
             EXPECT_EQ(newestType(), ActDelete);
             EXPECT_EQ(Globals::CurrSelEntityType, SelNone);
         }},
        {"background", [](Form1&, const World& w) { select(SelBackground, w.sky); },
         [](Form1& f, const World& w) {
             EXPECT_FALSE(alive(w.sky));
             EXPECT_FALSE(f.trwCamTrackBK->Exists(KeyedTree::NodeKey("Background", w.sky)));
             EXPECT_EQ(newestType(), ActSelect);  // deleted for good, not recorded
         }},
        {"multiple selection", [](Form1&, const World& w) { selectMultiple({w.box}, {w.cam}, {w.lamp}); },
         [](Form1& f, const World& w) {
             EXPECT_EQ(OMBREL_group_get_father_group(w.box), 0);
             EXPECT_EQ(OMBREL_camera_get_save_flag(w.cam), 0);
             // Lights of a multiple selection stay.
             EXPECT_TRUE(f.trwLight->Exists(lightKey(w.lamp)));
             EXPECT_EQ(OMBREL_ext_light_get_save_flag(w.lamp), 1);
             EXPECT_EQ(newestType(), ActDelete);
         }},
        {"nothing", [](Form1&, const World&) { select(SelNone, 0); },
         [](Form1& f, const World& w) {
             EXPECT_EQ(newestType(), ActSelect);
             EXPECT_TRUE(f.trwGroupView->Exists(groupKey(w.box)));
         }},
    };
    Form1& f = StartEditor();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        OpenEmptyWorld();
        f.cmdEditPtDelete_Click = [&] { ++points; };
        points = 0;
        World w;
        w.box = group("box");
        w.cam = camera("cam");
        w.lamp = light("lamp");
        const double points3[6] = {0, 0, 0, 10, 0, 0};
        w.track = OMBREL_track_create("trk", 0, points3, 2);
        w.sky = OMBREL_background_create("sky", 0);
        rebuildTrees();
        c.prepare(f, w);
        pushSelectionRecord();  // so a command that records nothing leaves it the newest
        pressDelete();
        c.check(f, w);
        f.UnloadWorld();
    }
}

TEST_F(SceneDeletionTest, TheCameraMenuDeletesTheRightPressedCameraAndUndoBringsBackExactlyIt) {
    Form1& f = start();
    const int32_t box = group("box");
    const int32_t first = camera("first"), second = camera("second");
    rebuildTrees();
    select(SelGroup, box);
    // A right press on the camera's node selects the node only.
    f.trwCamTrackBK->SetSelectedItem(f.trwCamTrackBK->Item(cameraKey(second)));
    f.mnuCamTrkBkMenuDelete_Click();
    EXPECT_EQ(OMBREL_camera_get_save_flag(second), 0);
    EXPECT_EQ(OMBREL_group_is_disable(cameraMarker(second)), 1);
    EXPECT_EQ(OMBREL_camera_get_save_flag(first), 1);
    EXPECT_EQ(OMBREL_group_get_father_group(box), Globals::RootGrp);
    EXPECT_EQ(Globals::CurrSelEntityType, SelNone);
    EXPECT_EQ(KeyedTree::Key(f.trwCamTrackBK->SelectedItem()), "CAMERA");

    f.mnuUndo_Click();
    EXPECT_EQ(OMBREL_camera_get_save_flag(second), 1);
    EXPECT_EQ(childKeys(*f.trwCamTrackBK, "CAMERA"), (std::vector<std::string>{cameraKey(first), cameraKey(second)}));
    EXPECT_EQ(Globals::CurrSelEntityType, SelCamera);
    EXPECT_EQ(Globals::CurrSelEntityHandle, second);

    // Deleted again and pushed off the history: exactly that camera is destroyed.
    f.mnuRedo_Click();
    for (int i = 0; i < 3; ++i) pushSelectionRecord();
    EXPECT_FALSE(alive(second));
    EXPECT_TRUE(alive(first));
    EXPECT_TRUE(alive(cameraMarker(first)));

    // A folder node deletes nothing.
    f.trwCamTrackBK->SetSelectedItem(f.trwCamTrackBK->Item("CAMERA"));
    const int before = undoable();
    f.mnuCamTrkBkMenuDelete_Click();
    EXPECT_EQ(undoable(), before);
    EXPECT_EQ(OMBREL_camera_get_save_flag(first), 1);
}

// Deleting the selected camera or light takes its panel away with the selection;
// Undo brings both back.
TEST_F(SceneDeletionTest, DeletingTheSelectedCameraOrLightTakesItsPanelAwayAndUndoBringsItBack) {
    Form1& f = start();
    const int32_t cam = camera("cam"), lamp = light("lamp");
    rebuildTrees();
    struct Case {
        const char* name;
        int32_t kind, handle;
        QWidget* panel;
        std::function<void()> remove;
    };
    const Case cases[] = {
        {"the camera menu's Delete", SelCamera, cam, f.frmCam, [&] {
             f.trwCamTrackBK->SetSelectedItem(f.trwCamTrackBK->Item(cameraKey(cam)));
             f.mnuCamTrkBkMenuDelete_Click();
         }},
        {"the Delete key on a camera", SelCamera, cam, f.frmCam, [&] { pressDelete(); }},
        {"the light menu's Delete", SelLight, lamp, f.frmLight, [&] { f.mnuLightMenuDelete_Click(); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        select(c.kind, c.handle);
        ASSERT_FALSE(c.panel->isHidden());
        c.remove();
        ASSERT_EQ(Globals::CurrSelEntityType, SelNone);
        EXPECT_TRUE(c.panel->isHidden());
        for (int round = 0; round < 3; ++round) {
            f.mnuUndo_Click();
            ASSERT_EQ(Globals::CurrSelEntityHandle, c.handle);
            EXPECT_FALSE(c.panel->isHidden());
            f.mnuRedo_Click();
            ASSERT_EQ(Globals::CurrSelEntityType, SelNone);
            EXPECT_TRUE(c.panel->isHidden());
        }
        f.mnuUndo_Click();
    }
}

TEST_F(SceneDeletionTest, ABackgroundIsDeletedAtOnceAndForGood) {
    Form1& f = start();
    const int32_t sky = OMBREL_background_create("sky", 0);
    rebuildTrees();
    f.trwCamTrackBK->SetSelectedItem(f.trwCamTrackBK->Item(KeyedTree::NodeKey("Background", sky)));
    f.mnuCamTrkBkMenuDelete_Click();
    EXPECT_FALSE(alive(sky));
    EXPECT_EQ(KeyedTree::Key(f.trwCamTrackBK->SelectedItem()), "BACKGROUND");
    EXPECT_FALSE(Globals::UndoRedoStack->HoldsAnyRecord());
}

TEST_F(SceneDeletionTest, DeleteAndUndoOfAGroupFromTheGroupMenu) {
    Form1& f = start();
    const int32_t father = group("father");
    const int32_t other = group("other");
    const int32_t child = group("child", father);
    const int32_t grandchild = group("grandchild", child);
    rebuildTrees();
    select(SelGroup, child);
    f.mnuGroupMenuHide_Click();
    select(SelGroup, child);
    f.mnuGroupMenuDelete_Click();
    EXPECT_FALSE(f.trwGroupView->Exists(groupKey(grandchild)));
    EXPECT_EQ(f.StatusBarPanel(1), "2");
    EXPECT_EQ(Globals::CurrSelEntityType, SelNone);

    f.mnuUndo_Click();
    // Back at the end of its father's children, with its sub-tree, shown.
    EXPECT_EQ(parentKey(*f.trwGroupView, groupKey(child)), groupKey(father));
    EXPECT_EQ(parentKey(*f.trwGroupView, groupKey(grandchild)), groupKey(child));
    EXPECT_EQ(image(*f.trwGroupView, groupKey(child)), "Group");
    EXPECT_FALSE(disabled(child));
    EXPECT_EQ(Globals::CurrSelEntityType, SelGroup);
    EXPECT_EQ(Globals::CurrSelEntityHandle, child);
    EXPECT_TRUE(alive(other));
}

// Three siblings a, b, c, at the top of the tree or inside a group: after each
// command, its Undo and its Redo, every node stands where it stood.
TEST_F(SceneDeletionTest, ANodeKeepsItsPlaceAmongItsSiblingsThroughACommandItsUndoAndRedo) {
    using Keys = std::vector<std::string>;
    struct Case {
        const char* name;
        // Runs the command on the siblings and answers the sibling keys it should leave.
        std::function<Keys(Form1&, const std::vector<int32_t>&)> command;
    };
    const auto replacingB = [](const std::vector<int32_t>& g) {
        return Keys{groupKey(g[0]), groupKey(Globals::CurrSelEntityHandle), groupKey(g[2])};
    };
    const Case cases[] = {
        {"reduce b",
         [&](Form1& f, const std::vector<int32_t>& g) {
             select(SelGroup, g[1]);
             platform_.prompts.answerInput("0.5");
             f.cmdReducePols_Click();
             return replacingB(g);
         }},
        {"triangulate b",
         [&](Form1& f, const std::vector<int32_t>& g) {
             select(SelGroup, g[1]);
             f.cmdTriangulate_Click();
             return replacingB(g);
         }},
        {"delete b",
         [](Form1& f, const std::vector<int32_t>& g) {
             select(SelGroup, g[1]);
             f.mnuGroupMenuDelete_Click();
             return Keys{groupKey(g[0]), groupKey(g[2])};
         }},
        {"delete a and c together",
         [](Form1& f, const std::vector<int32_t>& g) {
             selectMultiple({g[0], g[2]});
             f.DeleteSelEntity();
             return Keys{groupKey(g[1])};
         }},
    };
    Form1& f = start();
    for (const bool nested : {false, true}) {
        for (const Case& c : cases) {
            SCOPED_TRACE(std::string(c.name) + (nested ? ", inside a group" : ", at the top"));
            platform_.prompts.answer(platform::MsgResult::No);  // "Save changes?"
            OpenEmptyWorld();
            const int32_t father = nested ? group("shelf") : Globals::RootGrp;
            const std::vector<int32_t> g = {group("a", father), group("b", father), group("c", father)};
            rebuildTrees();
            const auto siblings = [&] {
                if (nested) return childKeys(*f.trwGroupView, groupKey(father));
                Keys keys;
                for (int i = 0; i < f.trwGroupView->topLevelItemCount(); ++i)
                    keys.push_back(KeyedTree::Key(f.trwGroupView->topLevelItem(i)));
                return keys;
            };
            const Keys before = siblings();
            const Keys after = c.command(f, g);
            EXPECT_EQ(siblings(), after);
            f.mnuUndo_Click();
            EXPECT_EQ(siblings(), before);
            f.mnuRedo_Click();
            EXPECT_EQ(siblings(), after);
            f.mnuUndo_Click();
            EXPECT_EQ(siblings(), before);
        }
    }
}

TEST_F(SceneDeletionTest, StaleOrEmptySelectionsDeleteNothing) {
    Form1& f = start();
    const int32_t box = group("box");
    rebuildTrees();
    const int32_t gone = group("gone");
    OMBREL_group_delete_members(gone);
    for (int32_t kind : {SelGroup, SelCamera, SelLight, SelBackground}) {
        SCOPED_TRACE(kind);
        Globals::CurrSelEntityType = kind;
        Globals::CurrSelEntityHandle = gone;
        f.DeleteSelEntity();
        EXPECT_FALSE(Globals::UndoRedoStack->HoldsAnyRecord());
    }
    // A stale group in a multiple selection is left out of the record.
    Globals::CurrSelEntityType = SelNone;
    selectMultiple({box});
    Globals::CurrMultiSel->AddGrpHandles(gone);
    f.DeleteSelEntity();
    f.mnuUndo_Click();
    EXPECT_EQ(OMBREL_group_get_father_group(box), Globals::RootGrp);
    EXPECT_FALSE(f.trwGroupView->Exists(groupKey(gone)));
    EXPECT_EQ(Globals::CurrMultiSel->NumOfGrps(), 1);
}

TEST_F(SceneDeletionTest, ALightDeletedBeforeAMergeStaysDeletedAndUndoBringsItBack) {
    const std::string other = SaveSmallWorldFile("other.wld");
    Form1& f = start();
    const int32_t lamp = light("lamp");
    const int32_t keep = light("keep");
    rebuildTrees();
    select(SelLight, lamp);
    f.mnuLightMenuDelete_Click();
    ASSERT_NE(AddWorldFromMenu(other), 0);
    EXPECT_FALSE(f.trwLight->Exists(lightKey(lamp)));
    EXPECT_TRUE(f.trwLight->Exists(lightKey(keep)));
    EXPECT_EQ(OMBREL_ext_light_get_save_flag(lamp), 0);

    f.mnuUndo_Click();  // the merge
    f.mnuUndo_Click();  // the deletion
    EXPECT_TRUE(f.trwLight->Exists(lightKey(lamp)));
    EXPECT_EQ(OMBREL_ext_light_get_save_flag(lamp), 1);
    EXPECT_EQ(OMBREL_light_is_disabled(lamp), 0);
    ASSERT_NE(lightMarker(lamp), 0);
    EXPECT_FALSE(disabled(lightMarker(lamp)));
    EXPECT_EQ(Globals::CurrSelEntityHandle, lamp);
}

}  // namespace
