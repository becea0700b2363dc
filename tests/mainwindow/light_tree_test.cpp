// The light tree: built from the engine with a marker of each light's type, nodes
// that lead to their light by handle, renaming with undo, selection records only
// for changes, the right button, closing and merging worlds, and markers that are
// never saved.
#include "EditorFixture.h"

#include "core/EntityProcedures.h"
#include "core/Globals.h"
#include "core/Camera.h"
#include "core/SelectionChange.h"
#include "entities/CameraGrp.h"
#include "entities/LightGrp.h"
#include "ombrel.h"
#include "platform/NumericField.h"
#include "undo/ActionUndoRedo.h"
#include "undo/ActionUndoRedo_Stack.h"
#include "undo/RenameAction.h"
#include "views/PicWindow.h"

#include <QApplication>
#include <QFile>
#include <QGroupBox>

#include <algorithm>

#include <string>
#include <tuple>
#include <vector>

namespace {

using platform::MsgResult;

std::string lightKey(int32_t l) { return KeyedTree::NodeKey("Light", l); }

int32_t makeLight(const char* name, double x = 0, double y = 0, double z = 0) {
    const double at[3] = {x, y, z};
    return OMBREL_light_create(name, at);
}

// Points of the marker's first face: 3 for the omni shape, 6 for the directional cap.
int firstFacePoints(int32_t marker) {
    int n = 0;
    for (int32_t pt = OMBREL_polygon_get_first_point(OMBREL_group_get_first_polygon(marker)); pt;
         pt = OMBREL_point_get_next_point(pt))
        ++n;
    return n;
}

// Fatherless groups of that name: the markers in the engine.
int countGroupsNamed(const std::string& name) {
    int n = 0;
    for (int32_t g = OMBREL_group_get_first_group(); g; g = OMBREL_group_get_next(g))
        n += Globals::GetEntityName(g) == name && OMBREL_group_get_father_group(g) == 0;
    return n;
}

ActionUndoRedo* newest() { return Globals::UndoRedoStack->Retrive(); }

class LightTreeTest : public EditorFixture {
protected:
    KeyedTree& tree() { return *form().trwLight; }
    QTreeWidgetItem* node(int32_t l) { return tree().Item(lightKey(l)); }
    QTreeWidgetItem* folder() { return tree().Item("LIGHT"); }

    void release(QTreeWidgetItem* over, Qt::MouseButton button) { ReleaseOverTree(tree(), over, button); }
};

TEST_F(LightTreeTest, EveryLightGetsANodeAndTheMarkerOfItsType) {
    Form1& f = StartEditor();
    OpenEmptyWorld();
    EXPECT_EQ(tree().Keys(), std::vector<std::string>{"LIGHT"});
    EXPECT_EQ(Globals::SceneLights->NumOfMarkers(), 0);

    const int32_t omni = makeLight("Omni", 10, 0, 0);
    const int32_t directional = makeLight("Sun", 0, 10, 0);
    OMBREL_light_set_type_of_light(directional, 59);
    f.trwLight_Populate();
    EXPECT_EQ(tree().Keys(), (std::vector<std::string>{"LIGHT", lightKey(omni), lightKey(directional)}));
    EXPECT_EQ(node(directional)->text(0).toStdString(), "Sun");
    EXPECT_EQ(KeyedTree::Image(node(omni)), "Light");
    EXPECT_EQ(KeyedTree::Image(folder()), "Folder");
    EXPECT_EQ(firstFacePoints(Globals::SceneLights->GetLightGrp(omni)), 3);
    EXPECT_EQ(firstFacePoints(Globals::SceneLights->GetLightGrp(directional)), 6);

    // Opening and closing the folder changes its picture; closing selects it.
    folder()->setExpanded(true);
    EXPECT_EQ(KeyedTree::Image(folder()), "FolderOpen");
    f.trwLight_NodeClick(node(omni));
    ASSERT_EQ(Globals::CurrSelEntityType, SelLight);
    folder()->setExpanded(false);
    EXPECT_EQ(KeyedTree::Image(folder()), "Folder");
    EXPECT_EQ(Globals::CurrSelEntityType, SelNone);
    EXPECT_FALSE(f.frmLight->isVisibleTo(&f));
}

TEST_F(LightTreeTest, AThousandLightsAreListedMarkedAndSelectable) {
    Form1& f = StartEditor();
    OpenEmptyWorld();
    int32_t last = 0;
    for (int i = 0; i < 1000; ++i) {
        last = makeLight(("light" + std::to_string(i)).c_str(), i, 0, 0);
        // Not re-bound at every redraw: the lighting's cost is the engine's, measured apart.
        OMBREL_light_activate_before_each_render(last, 0, 0);
    }
    f.trwLight_Populate();
    EXPECT_EQ(tree().Count(), 1001);
    EXPECT_EQ(Globals::SceneLights->NumOfMarkers(), 1000);
    f.trwLight_NodeClick(node(last));
    EXPECT_EQ(Globals::CurrSelEntityHandle, last);
    EXPECT_EQ(f.fldLightLoc[0]->text()->text(), "999");
}

TEST_F(LightTreeTest, RenamesGoToTheLightOfTheNodesHandle) {
    Form1& f = StartEditor();
    OpenEmptyWorld();
    const int32_t first = makeLight("Lamp"), second = makeLight("Lamp");
    f.trwLight_Populate();

    tree().EndLabelEdit(node(second), "  Desk  ");
    EXPECT_EQ(Globals::GetEntityName(second), "Desk");
    EXPECT_EQ(Globals::GetEntityName(first), "Lamp");
    EXPECT_EQ(node(second)->text(0).toStdString(), "Desk");
    ActionUndoRedo* record = newest();
    ASSERT_NE(record, nullptr);
    ASSERT_EQ(record->ActionType, ActRenameEntity);
    EXPECT_EQ(record->RenameEntity->Kind(), SelLight);
    EXPECT_EQ(record->RenameEntity->PrevName(), "Lamp");

    f.mnuUndo_Click();
    EXPECT_EQ(Globals::GetEntityName(second), "Lamp");
    EXPECT_EQ(node(second)->text(0).toStdString(), "Lamp");
    f.mnuRedo_Click();
    EXPECT_EQ(Globals::GetEntityName(second), "Desk");
    EXPECT_EQ(node(second)->text(0).toStdString(), "Desk");

    // Refused or no change: nothing recorded, the label and the name stay.
    struct Case {
        QTreeWidgetItem* node;
        const char* typed;
        const char* kept;
    };
    const Case cases[] = {
        {node(first), "   ", "Lamp"},
        {node(first), "", "Lamp"},
        {node(first), " Lamp ", "Lamp"},
        {folder(), "Lights", "LIGHT"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        record = newest();
        tree().EndLabelEdit(c.node, c.typed);
        EXPECT_EQ(c.node->text(0).toStdString(), c.kept);
        EXPECT_EQ(newest(), record);
    }
    EXPECT_EQ(Globals::GetEntityName(first), "Lamp");
}

TEST_F(LightTreeTest, AClickSelectsTheNodesLightAndRecordsOnlyAChange) {
    Form1& f = StartEditor();
    OpenEmptyWorld();
    const int32_t first = makeLight("Lamp"), second = makeLight("Lamp");
    OMBREL_light_set_ambient(second, 0.75);
    f.trwLight_Populate();
    f.tabWorkspace->setCurrentIndex(5);

    f.trwLight_NodeClick(node(second));
    EXPECT_EQ(Globals::CurrSelEntityType, SelLight);
    EXPECT_EQ(Globals::CurrSelEntityHandle, second);
    EXPECT_TRUE(f.frmLight->isVisibleTo(&f));
    EXPECT_EQ(f.fldAmbient->text()->text(), "0.75");
    ActionUndoRedo* record = newest();
    ASSERT_NE(record, nullptr);
    EXPECT_EQ(record->ActionType, ActSelect);

    f.trwLight_NodeClick(node(second));  // already selected
    EXPECT_EQ(newest(), record);

    f.trwLight_NodeClick(folder());
    EXPECT_EQ(Globals::CurrSelEntityType, SelNone);
    EXPECT_FALSE(f.frmLight->isVisibleTo(&f));
    EXPECT_NE(newest(), record);
    record = newest();
    f.trwLight_NodeClick(folder());
    EXPECT_EQ(newest(), record);

    // Undo brings the light back with its own values in the panel.
    f.trwLight_NodeClick(node(first));
    f.mnuUndo_Click();
    f.mnuUndo_Click();
    EXPECT_EQ(Globals::CurrSelEntityHandle, second);
    EXPECT_TRUE(f.frmLight->isVisibleTo(&f));
    EXPECT_EQ(f.fldAmbient->text()->text(), "0.75");
    f.mnuUndo_Click();
    EXPECT_EQ(Globals::CurrSelEntityType, SelNone);
    EXPECT_FALSE(f.frmLight->isVisibleTo(&f));
}

// The light menu concerns the node under the pointer, which the right press
// selects first; over empty space no menu opens.
TEST_F(LightTreeTest, TheRightButtonSelectsTheNodeUnderThePointerAndOpensTheLightMenuForIt) {
    Form1& f = StartEditor();
    OpenEmptyWorld();
    const int32_t other = makeLight("Other"), light = makeLight("Lamp");
    f.trwLight_Populate();
    f.show();
    f.tabWorkspace->setCurrentIndex(5);
    f.trwLight_NodeClick(node(other));
    ActionUndoRedo* before = newest();
    const std::size_t prompts = platform_.prompts.shown().size();

    release(nullptr, Qt::RightButton);
    EXPECT_EQ(Globals::CurrSelEntityHandle, other);
    EXPECT_EQ(newest(), before);
    EXPECT_EQ(platform_.prompts.shown().size(), prompts);

    auto offered = [&] {
        std::vector<std::string> items = platform_.prompts.shown().back().items;
        std::sort(items.begin(), items.end());
        return items;
    };
    platform_.prompts.answerMenu("");
    release(node(light), Qt::RightButton);
    EXPECT_EQ(tree().SelectedItem(), node(light));
    EXPECT_EQ(Globals::CurrSelEntityType, SelLight);
    EXPECT_EQ(Globals::CurrSelEntityHandle, light);
    ASSERT_NE(newest(), before);
    EXPECT_EQ(newest()->ActionType, ActSelect);
    EXPECT_EQ(offered(), (std::vector<std::string>{"mnuLightMenuDelete", "mnuLightMenuHide"}));

    // The chosen command acts on that light.
    platform_.prompts.answerMenu("mnuLightMenuHide");
    release(node(light), Qt::RightButton);
    EXPECT_EQ(KeyedTree::Image(node(light)), "Light Invisible");
    EXPECT_EQ(OMBREL_group_is_disable(Globals::SceneLights->GetLightGrp(light)), 1);
    EXPECT_EQ(OMBREL_group_is_disable(Globals::SceneLights->GetLightGrp(other)), 0);
    platform_.prompts.answerMenu("");
    release(node(light), Qt::RightButton);
    EXPECT_EQ(offered(), (std::vector<std::string>{"mnuLightMenuDelete", "mnuLightMenuUnhide"}));

    platform_.prompts.answerMenu("");
    release(folder(), Qt::RightButton);
    EXPECT_EQ(Globals::CurrSelEntityType, SelNone);
    EXPECT_EQ(offered(),
              (std::vector<std::string>{"mnuLightMenuHideAll", "mnuLightMenuNew", "mnuLightMenuShowAll"}));

    // Deleted from its menu, the light takes its panel with it.
    platform_.prompts.answerMenu("mnuLightMenuDelete");
    release(node(other), Qt::RightButton);
    EXPECT_EQ(OMBREL_ext_light_get_save_flag(other), 0);
    EXPECT_EQ(Globals::CurrSelEntityType, SelNone);
    EXPECT_FALSE(f.frmLight->isVisible());
}

TEST_F(LightTreeTest, ClosingTheWorldEmptiesTheTree) {
    Form1& f = StartEditor();
    OpenEmptyWorld();
    makeLight("Lamp");
    f.trwLight_Populate();
    ASSERT_EQ(tree().Count(), 2);
    platform_.prompts.answer(MsgResult::No);  // "Save changes?"
    f.mnuCloseFile_Click();
    EXPECT_EQ(tree().Count(), 0);
    EXPECT_EQ(Globals::SceneLights->NumOfMarkers(), 0);
}

// Markers are the editor's: a saved world holds none, and a reload registers
// one per camera and light.
TEST_F(LightTreeTest, MarkersAreNeverSaved) {
    Form1& f = StartEditor();
    OpenSmallWorld();
    const int32_t cam = OMBREL_camera_create("cam");
    OMBREL_camera_set_save_flag(cam, 1);
    makeLight("Lamp");
    f.trwCamTrackBK_Populate();
    f.trwLight_Populate();
    ASSERT_EQ(countGroupsNamed("CameraGrp"), 1);
    ASSERT_EQ(countGroupsNamed("LightGrp"), 1);
    const std::string path = tempPath("markers.wld");
    ASSERT_EQ(OMBREL_engine_save(path.c_str(), Globals::RootGrp, 0x1203), 0);
    QFile file(QString::fromStdString(path));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray text = file.readAll();
    EXPECT_TRUE(text.contains("Lamp"));
    EXPECT_FALSE(text.contains("CameraGrp"));
    EXPECT_FALSE(text.contains("LightGrp"));

    platform_.prompts.answer(MsgResult::No);  // "Save changes?"
    ASSERT_TRUE(f.ConfirmDiscardWorld());
    f.LoadWorld(path);
    ASSERT_TRUE(f.WorldLoaded);
    EXPECT_EQ(countGroupsNamed("CameraGrp"), 1);
    EXPECT_EQ(countGroupsNamed("LightGrp"), 1);
    EXPECT_EQ(Globals::SceneLights->NumOfMarkers(), 1);
}

// A merge rebuilds the trees: cameras and lights already registered keep their
// markers, hidden ones stay hidden in tree and views, and those waiting in a
// deletion record keep theirs for Undo; the newcomers get markers.
TEST_F(LightTreeTest, AMergeKeepsEveryMarkerSoHiddenAndDeletedOnesComeBack) {
    const std::string merged = tempPath("merged.wld");
    {
        ASSERT_EQ(OMBREL_engine_load_world(nullptr, nullptr, nullptr, 4), 0);
        const int32_t root = OMBREL_group_create("the_world");
        MakePolygon(MakeGroup("floor", root), {{-5, -5}, {-5, 5}, {5, 5}, {5, -5}});
        makeLight("Newcomer", 1, 2, 3);
        ASSERT_EQ(OMBREL_engine_save(merged.c_str(), root, 0x1203), 0);
        OMBREL_engine_close();
    }
    Form1& f = StartEditor();
    OpenEmptyWorld();
    auto camera = [](const char* name, double x, double y) {
        const int32_t c = OMBREL_camera_create(name);
        OMBREL_camera_set_location(c, x, y, 0);
        OMBREL_camera_set_save_flag(c, 1);
        return c;
    };
    const int32_t hiddenCam = camera("hidden", 0, -250), deletedCam = camera("deleted", 250, -250);
    const int32_t hidden = makeLight("Hidden", 0, 250, 0), deleted = makeLight("Deleted", -250, 250, 0);
    const int32_t shown = makeLight("Shown", -250, -250, 0);
    f.trwCamTrackBK_Populate();
    f.trwLight_Populate();
    auto select = [](int32_t kind, int32_t handle) {
        Globals::SetPrevSelEntityToCurrSelEntity();
        Globals::CurrSelEntityType = kind;
        Globals::CurrSelEntityHandle = handle;
        Globals::ThingsToDoOnSelectedEntityChange();
    };
    select(SelCamera, hiddenCam);
    f.mnuHideSelected_Click();
    f.trwLight_NodeClick(node(hidden));
    f.mnuHideSelected_Click();
    platform_.prompts.answerMenu("mnuLightMenuDelete");
    release(node(deleted), Qt::RightButton);
    f.trwCamTrackBK->SetSelectedItem(f.trwCamTrackBK->Item(KeyedTree::NodeKey("Camera", deletedCam)));
    f.mnuCamTrkBkMenuDelete_Click();
    ASSERT_EQ(OMBREL_ext_light_get_save_flag(deleted), 0);
    ASSERT_EQ(OMBREL_camera_get_save_flag(deletedCam), 0);
    const int32_t deletedCamMarker = Globals::SceneCameras->GetCamGrp(deletedCam);
    const int32_t deletedMarker = Globals::SceneLights->GetLightGrp(deleted);
    const int32_t shownMarker = Globals::SceneLights->GetLightGrp(shown);
    const QString camKey = QString::fromStdString(KeyedTree::NodeKey("Camera", hiddenCam));

    ASSERT_NE(AddWorldFromMenu(merged), 0);
    EXPECT_EQ(KeyedTree::Image(f.trwCamTrackBK->Item(camKey.toStdString())), "Cam Invisible");
    EXPECT_EQ(KeyedTree::Image(node(hidden)), "Light Invisible");
    EXPECT_EQ(KeyedTree::Image(node(shown)), "Light");
    EXPECT_TRUE(f.IsCamHidden(hiddenCam));
    EXPECT_TRUE(f.IsLightHidden(hidden));
    EXPECT_FALSE(f.IsLightHidden(shown));
    EXPECT_FALSE(tree().Exists(lightKey(deleted)));
    EXPECT_EQ(Globals::SceneLights->GetLightGrp(deleted), deletedMarker);
    EXPECT_EQ(Globals::SceneCameras->GetCamGrp(deletedCam), deletedCamMarker);
    EXPECT_EQ(Globals::SceneLights->GetLightGrp(shown), shownMarker);
    const int32_t newcomer = OMBREL_light_get_using_name("Newcomer");
    ASSERT_NE(newcomer, 0);
    EXPECT_TRUE(tree().Exists(lightKey(newcomer)));
    EXPECT_NE(Globals::SceneLights->GetLightGrp(newcomer), 0);
    EXPECT_EQ(Globals::SceneLights->NumOfMarkers(), 4);
    EXPECT_EQ(Globals::SceneCameras->NumOfMarkers(), 2);

    // Undo the merge and both deletions: each comes back with its own marker, shown
    // and picked in a view by it.
    for (int i = 0; i < 3; ++i) f.mnuUndo_Click();
    ASSERT_TRUE(tree().Exists(lightKey(deleted)));
    EXPECT_EQ(Globals::SceneLights->GetLightGrp(deleted), deletedMarker);
    EXPECT_EQ(Globals::SceneCameras->GetCamGrp(deletedCam), deletedCamMarker);
    QApplication::processEvents();
    for (const auto& [kind, handle, x, y] : {std::tuple{SelLight, deleted, -250.0, 250.0},
                                             std::tuple{SelCamera, deletedCam, 250.0, -250.0}}) {
        SCOPED_TRACE(kind);
        EXPECT_EQ(OMBREL_group_is_disable(kind == SelLight ? deletedMarker : deletedCamMarker), 0);
        select(SelNone, 0);
        OMBREL_camera_set_current(Globals::ViewCams[0]->lngSceneCamera, f.picWindow[0]->hWnd());
        const double at[3] = {x, y, 0};
        int32_t px[2] = {0, 0};
        ASSERT_EQ(OMBREL_engine_3D_point_to_2D(at, px), 0);
        f.picWindow_MouseDown(0, 1, 0, static_cast<float>(px[0]), static_cast<float>(px[1]));
        f.picWindow_MouseUp(0, 1, 0, static_cast<float>(px[0]), static_cast<float>(px[1]));
        EXPECT_EQ(Globals::CurrSelEntityType, kind);
        EXPECT_EQ(Globals::CurrSelEntityHandle, handle);
    }

    // Unhide All shows the hidden camera and light; hidden again, each tree's Show
    // All shows its own.
    f.mnuUnhideAll_Click();
    EXPECT_FALSE(f.IsCamHidden(hiddenCam));
    EXPECT_FALSE(f.IsLightHidden(hidden));
    EXPECT_EQ(OMBREL_group_is_disable(Globals::SceneLights->GetLightGrp(hidden)), 0);
    EXPECT_EQ(OMBREL_group_is_disable(Globals::SceneCameras->GetCamGrp(hiddenCam)), 0);
    f.mnuLightMenuHideAll_Click();
    f.mnuCamTrkBkMenuHideAll_Click();
    ASSERT_TRUE(f.IsLightHidden(hidden));
    ASSERT_TRUE(f.IsCamHidden(hiddenCam));
    f.mnuLightMenuShowAll_Click();
    f.mnuCamTrkBkMenuShowAll_Click();
    EXPECT_FALSE(f.IsLightHidden(hidden));
    EXPECT_FALSE(f.IsCamHidden(hiddenCam));
    EXPECT_EQ(OMBREL_group_is_disable(Globals::SceneCameras->GetCamGrp(hiddenCam)), 0);
}

}  // namespace
