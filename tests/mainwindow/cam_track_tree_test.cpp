// The camera, track and background tree: its folders when a world closes and
// when one is built, which entities it lists and what building it registers;
// clicks, right clicks, folders opening and closing, and renames by the label.
#include "cam_track_world.h"

#include "core/EntityProcedures.h"
#include "core/Globals.h"
#include "entities/CameraGrp.h"
#include "ombrel.h"
#include "undo/ActionUndoRedo.h"

#include <QGroupBox>
#include <QLineEdit>
#include <QTest>

#include <string>
#include <tuple>
#include <utility>
#include <vector>

namespace {

using CamTrackTreeTest = EditorFixture;

TEST_F(CamTrackTreeTest, ABuildListsSavedCamerasAndTracksAndEveryBackgroundInTheirFolders) {
    Form1& f = StartEditor();
    OpenEmptyWorld();
    const double points[6] = {0, 0, 0, 10, 0, 0};
    const int32_t camera = OMBREL_camera_create("Camera01");
    const int32_t deletedCamera = OMBREL_camera_create("Camera02");
    OMBREL_camera_set_save_flag(deletedCamera, 0);
    const int32_t track = OMBREL_track_create("Track01", 0, points, 2);
    const int32_t deletedTrack = OMBREL_track_create("Track02", 0, points, 2);
    OMBREL_track_set_save_flag(deletedTrack, 0);
    const int32_t excluded = OMBREL_background_create("Background01", 0);
    OMBREL_background_set_save_flag(excluded, 0);
    const int32_t sameName = OMBREL_background_create("Background01", 0);
    ASSERT_TRUE(camera && deletedCamera && track && deletedTrack && excluded && sameName);

    f.trwCamTrackBK_Populate();
    KeyedTree& tree = *f.trwCamTrackBK;
    EXPECT_EQ(tree.Keys(), (std::vector<std::string>{"CAMERA", KeyedTree::NodeKey("Camera", camera), "TRACK",
                                                     KeyedTree::NodeKey("Track", track), "BACKGROUND",
                                                     KeyedTree::NodeKey("Background", excluded),
                                                     KeyedTree::NodeKey("Background", sameName)}));
    struct Node {
        std::string key, text, image;
    };
    const Node nodes[] = {{"CAMERA", "CAMERA", "Folder"},
                          {KeyedTree::NodeKey("Camera", camera), "Camera01", "Cam"},
                          {KeyedTree::NodeKey("Track", track), "Track01", "Track"},
                          {KeyedTree::NodeKey("Background", sameName), "Background01", "Background"}};
    for (const Node& n : nodes) {
        EXPECT_EQ(tree.Item(n.key)->text(0).toStdString(), n.text) << n.key;
        EXPECT_EQ(KeyedTree::Image(tree.Item(n.key)), n.image) << n.key;
    }
    // Listed cameras get their markers; a pending deletion stays out and unsaved.
    EXPECT_NE(Globals::SceneCameras->GetCamGrp(camera), 0);
    EXPECT_EQ(Globals::SceneCameras->GetCamGrp(deletedCamera), 0);
    EXPECT_EQ(OMBREL_ext_track_get_save_flag(deletedTrack), 0);
    EXPECT_EQ(OMBREL_ext_background_get_save_flag(excluded), 1);
    EXPECT_FALSE(f.IsCamHidden(camera));
    tree.SetImage(tree.Item(KeyedTree::NodeKey("Camera", camera)), "Cam Invisible");
    EXPECT_TRUE(f.IsCamHidden(camera));

    f.UnloadWorld();
    EXPECT_EQ(tree.Keys(), (std::vector<std::string>{"CAMERA", "BACKGROUND", "TRACK"}));
}

}  // namespace

// ---- the user's input on the tree

namespace {

class CamTrackTreeInputTest : public CamTrackWorldTest {};

bool shown(const QWidget* frame) { return !frame->isHidden(); }

TEST_F(CamTrackTreeInputTest, ALeftClickSelectsTheNodesEntityByTheHandleInItsKey) {
    Form1& f = startOnCameraPage();
    // Two cameras of one name each select their own.
    const int32_t first = camera("Twin"), second = camera("Twin");
    const int32_t path = track("Track01", {0, 0, 0, 100, 40, 0, 60, 200, 80});
    const int32_t sky = background("sky", {0, 0, 200});
    rebuildTrees();
    Globals::NumSelTrkPts = 2;
    f.PicBoxFocused = 3;
    struct Step {
        std::string key;
        int32_t kind, handle;
        QGroupBox* frame;  // the one frame shown, or none
    };
    const Step steps[] = {
        {cameraKey(second), SelCamera, second, f.frmCam},
        {cameraKey(first), SelCamera, first, f.frmCam},
        {trackKey(path), SelTrack, path, f.frmTrack},
        {backgroundKey(sky), SelBackground, sky, f.frmBackground},
        {cameraKey(second), SelCamera, second, f.frmCam},
    };
    for (const Step& s : steps) {
        SCOPED_TRACE(s.key);
        clickNode(s.key);
        EXPECT_EQ(Globals::CurrSelEntityType, s.kind);
        EXPECT_EQ(Globals::CurrSelEntityHandle, s.handle);
        EXPECT_EQ(newestType(), ActSelect);
        for (QGroupBox* frame : {f.frmCam, f.frmTrack, f.frmBackground}) EXPECT_EQ(shown(frame), frame == s.frame);
        EXPECT_TRUE(KeyedTree::Bold(node(s.key)));
    }
    // The active view looks through the camera clicked last, by its handle.
    EXPECT_EQ(viewCam(3).ViewedSceneCamera, second);
    EXPECT_EQ(label(3), "Camera");
    EXPECT_EQ(toolTip(3), "Twin");
    // The track's points were cleared and its centre is the middle of its box.
    EXPECT_EQ(Globals::NumSelTrkPts, 0);
    EXPECT_EQ(Globals::TrkCenter, (Point3d{50, 100, 40}));

    // A click on the node already selected changes and records nothing.
    const ActionUndoRedo* newest = Globals::UndoRedoStack->Retrive();
    clickNode(cameraKey(second));
    EXPECT_EQ(Globals::UndoRedoStack->Retrive(), newest);
    // A folder clears the selection, without a record; no frame stays.
    clickNode("TRACK");
    EXPECT_EQ(Globals::CurrSelEntityType, SelNone);
    EXPECT_EQ(Globals::UndoRedoStack->Retrive(), newest);
    for (QGroupBox* frame : {f.frmCam, f.frmTrack, f.frmBackground}) EXPECT_FALSE(shown(frame));
    // Undo takes back the last recorded click: the background, then the camera
    // before it comes back with its panel.
    f.mnuUndo_Click();
    EXPECT_EQ(Globals::CurrSelEntityType, SelBackground);
    EXPECT_TRUE(shown(f.frmBackground));
    f.mnuUndo_Click();
    EXPECT_EQ(Globals::CurrSelEntityType, SelTrack);
    EXPECT_TRUE(shown(f.frmTrack));
    EXPECT_FALSE(shown(f.frmBackground));
}

TEST_F(CamTrackTreeInputTest, ABackgroundClickPutsItInUse) {
    Form1& f = startOnCameraPage();
    const int32_t blue = background("blue", {0, 0, 200}), green = background("green", {0, 200, 0});
    rebuildTrees();
    // No polygon anywhere: the whole perspective view shows the background in use.
    for (const auto& [key, colour] : {std::pair{backgroundKey(green), QColor(0, 200, 0)},
                                      std::pair{backgroundKey(blue), QColor(0, 0, 200)}}) {
        clickNode(key);
        const QColor seen = pixel(2, 20, 20);
        EXPECT_NEAR(seen.red(), colour.red(), 3);
        EXPECT_NEAR(seen.green(), colour.green(), 3);
        EXPECT_NEAR(seen.blue(), colour.blue(), 3);
    }
    EXPECT_EQ(f.txtBkgName->text().toStdString(), "blue");
}

TEST_F(CamTrackTreeInputTest, OnlyALeftPressSelects_TheRightButtonPointsTheMenuAtItsNode) {
    Form1& f = startOnCameraPage();
    const int32_t cam = camera("Cam01");
    const int32_t sky = background("sky", {0, 0, 200});
    rebuildTrees();
    clickNode(cameraKey(cam));
    const ActionUndoRedo* newest = Globals::UndoRedoStack->Retrive();

    // The menu offers what the node under the pointer takes, the editor's
    // selection stays, and the tree's selected node is that node.
    EXPECT_EQ(rightClickNode(backgroundKey(sky)), (std::vector<std::string>{"mnuCamTrkBkMenuDelete"}));
    EXPECT_EQ(Globals::CurrSelEntityType, SelCamera);
    EXPECT_EQ(Globals::CurrSelEntityHandle, cam);
    EXPECT_EQ(Globals::UndoRedoStack->Retrive(), newest);
    EXPECT_EQ(f.trwCamTrackBK->SelectedItem(), node(backgroundKey(sky)));
    EXPECT_TRUE(shown(f.frmCam));
    EXPECT_TRUE(KeyedTree::Bold(node(cameraKey(cam))));
    // Its command acts on that node's entity.
    rightClickNode(backgroundKey(sky), "mnuCamTrkBkMenuDelete");
    EXPECT_FALSE(f.trwCamTrackBK->Exists(backgroundKey(sky)));
    EXPECT_FALSE(alive(sky));
    // Over the empty space below the nodes no menu opens.
    const std::size_t prompts = platform_.prompts.shown().size();
    ReleaseOverTree(*f.trwCamTrackBK, nullptr, Qt::RightButton);
    EXPECT_EQ(platform_.prompts.shown().size(), prompts);

    // A middle press followed by a node click selects nothing.
    clickNode("CAMERA", Qt::MiddleButton);
    EXPECT_EQ(f.CamTrkBkMouseButton, 4);
    f.trwCamTrackBK_NodeClick(node(cameraKey(cam)));
    EXPECT_EQ(Globals::CurrSelEntityType, SelNone);
}

// The highlighted row is the node the editor's selection or command leaves:
// after a camera's Delete its folder; a highlighted row whose camera is not the
// selection is selected by a click, and only the selected camera's row opens the
// label editor.
TEST_F(CamTrackTreeInputTest, TheHighlightedRowAndTheLabelEditorFollowTheSelection) {
    Form1& f = startOnCameraPage();
    const int32_t first = camera("Cam01"), second = camera("Cam02");
    track("Track01", {0, 0, 0, 10, 0, 0});
    rebuildTrees();
    KeyedTree& tree = *f.trwCamTrackBK;
    auto highlighted = [&] {
        std::vector<std::string> keys;
        for (QTreeWidgetItem* item : tree.selectedItems()) keys.push_back(KeyedTree::Key(item));
        return keys;
    };
    // The label editor opens, when it does, once a double click is no longer possible.
    auto labelEditorOpen = [&] {
        QTest::qWait(QApplication::doubleClickInterval() + 100);
        QLineEdit* editor = tree.viewport()->findChild<QLineEdit*>();
        const bool open = editor && editor->isVisible();
        if (open) QTest::keyClick(editor, Qt::Key_Escape);
        return open;
    };

    // A right press on another camera, the menu dismissed, then a left click on it.
    clickNode(cameraKey(first));
    ASSERT_EQ(Globals::CurrSelEntityHandle, first);
    rightClickNode(cameraKey(second));
    ASSERT_EQ(highlighted(), std::vector<std::string>{cameraKey(second)});
    clickNode(cameraKey(second));
    EXPECT_EQ(Globals::CurrSelEntityHandle, second);
    EXPECT_FALSE(labelEditorOpen());
    // A click on the selected camera's row opens the editor.
    clickNode(cameraKey(second));
    EXPECT_TRUE(labelEditorOpen());

    // Delete from the menu of the selected camera, the last one before the track
    // folder: the camera folder is the highlighted row.
    rightClickNode(cameraKey(second), "mnuCamTrkBkMenuDelete");
    ASSERT_FALSE(tree.Exists(cameraKey(second)));
    EXPECT_EQ(highlighted(), std::vector<std::string>{"CAMERA"});
    EXPECT_EQ(KeyedTree::Key(tree.SelectedItem()), "CAMERA");
}

TEST_F(CamTrackTreeInputTest, FoldersShowTheirStateAndClosingOneAfterALeftPressClearsTheSelection) {
    Form1& f = startOnCameraPage();
    const int32_t cam = camera("Cam01");
    rebuildTrees();
    QTreeWidgetItem* folder = node("CAMERA");
    folder->setExpanded(true);
    EXPECT_EQ(KeyedTree::Image(folder), "FolderOpen");
    clickNode(cameraKey(cam));
    ASSERT_EQ(Globals::CurrSelEntityType, SelCamera);
    folder->setExpanded(false);
    EXPECT_EQ(KeyedTree::Image(folder), "Folder");
    EXPECT_EQ(Globals::CurrSelEntityType, SelNone);
    EXPECT_TRUE(f.frmCam->isHidden());
    // After a right press closing it leaves the selection alone.
    folder->setExpanded(true);
    clickNode(cameraKey(cam));
    rightClickNode("TRACK");
    folder->setExpanded(false);
    EXPECT_EQ(Globals::CurrSelEntityType, SelCamera);
}

TEST_F(CamTrackTreeInputTest, ACameraClickMakesTheActiveViewShowWhatTheCameraSees) {
    Form1& f = startOnCameraPage();
    const int32_t cam = cameraAt("Cam01", {-400, -300, 200}, {4, 3, -1.5});
    OMBREL_camera_set_zoom(cam, 50);
    // Turned about its own viewing axis: the view takes the roll too.
    OMBREL_camera_rotate_x_radians(cam, 0.3, OMBREL_MODE_OWN_AXES);
    rebuildTrees();
    f.PicBoxFocused = 2;
    clickNode(cameraKey(cam));
    ASSERT_EQ(viewCam(2).ViewedSceneCamera, cam);
    const Point3d points[] = {{0, 0, 0}, {100, -50, 30}, {-80, 60, -20}, {50, 120, 90}, {-30, -90, 10}};
    for (const Point3d& p : points) {
        const auto seen = project(2, viewCam(2).lngSceneCamera, p);
        const auto wanted = project(2, cam, p);
        EXPECT_NEAR(seen[0], wanted[0], 1) << p[0] << "," << p[1] << "," << p[2];
        EXPECT_NEAR(seen[1], wanted[1], 1) << p[0] << "," << p[1] << "," << p[2];
    }
}

TEST_F(CamTrackTreeInputTest, RenamesByTheLabelAreRecordedAndFolderNamesNeverChange) {
    Form1& f = startOnCameraPage();
    const int32_t cam = camera("Cam01");
    const int32_t path = track("Track01", {0, 0, 0, 10, 0, 0});
    const int32_t sky = background("sky", {0, 0, 200});
    rebuildTrees();
    clickNode(cameraKey(cam));  // the active view looks through the camera
    struct Case {
        std::string key;
        std::string typed;
        std::string shown;    // the label afterwards
        std::string before;   // the engine name before, "" for a folder
        bool recorded;
    };
    const Case cases[] = {
        {"CAMERA", "Lenses", "CAMERA", "", false},
        {cameraKey(cam), "  Main view  ", "Main view", "Cam01", true},
        {trackKey(path), "Route", "Route", "Track01", true},
        {backgroundKey(sky), "Dusk", "Dusk", "sky", true},
        {backgroundKey(sky), "   ", "Dusk", "Dusk", false},
        {trackKey(path), "Route ", "Route", "Route", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.key + " <- '" + c.typed + "'");
        const ActionUndoRedo* newest = Globals::UndoRedoStack->Retrive();
        f.trwCamTrackBK->EndLabelEdit(node(c.key), c.typed);
        EXPECT_EQ(node(c.key)->text(0).toStdString(), c.shown);
        EXPECT_EQ(Globals::UndoRedoStack->Retrive() != newest, c.recorded);
        if (c.recorded) {
            const ActionRenameEntity& r = *Globals::UndoRedoStack->Retrive()->RenameEntity;
            EXPECT_EQ(r.PrevName(), c.before);
            EXPECT_EQ(Globals::GetEntityName(r.Handle()), c.shown);
        }
    }
    // The view that looks through the camera names it by its new name.
    EXPECT_EQ(toolTip(f.PicBoxFocused), "Main view");

    // Undo takes the three renames back in turn; Redo gives the camera its new
    // name again, in the engine, on its node and in the view's tool tip.
    for (const auto& [key, handle, old] : {std::tuple{backgroundKey(sky), sky, "sky"},
                                           std::tuple{trackKey(path), path, "Track01"},
                                           std::tuple{cameraKey(cam), cam, "Cam01"}}) {
        f.mnuUndo_Click();
        EXPECT_EQ(Globals::GetEntityName(handle), old);
        EXPECT_EQ(node(key)->text(0).toStdString(), old);
    }
    EXPECT_EQ(toolTip(f.PicBoxFocused), "Cam01");
    f.mnuRedo_Click();
    EXPECT_EQ(Globals::GetEntityName(cam), "Main view");
    EXPECT_EQ(node(cameraKey(cam))->text(0).toStdString(), "Main view");
    EXPECT_EQ(toolTip(f.PicBoxFocused), "Main view");
}

}  // namespace
