// A view looking through a world camera when that camera goes (the tree's menu,
// the Delete key, the Undo of the merge that brought it, a world closed or
// replaced): it becomes the free view it was before, and Undo of the deletion
// makes it look through the camera again.
#include "cam_track_world.h"

#include "platform/key_state.h"
#include "platform/virtual_keys.h"

#include "mainwindow/formTemplate.h"

#include <functional>

namespace {

constexpr int kView = 2;

Point3d eyeOf(int32_t engineCamera) {
    Point3d p = {0, 0, 0};
    OMBREL_camera_get_location1(engineCamera, p.data());
    return p;
}

double distance(const Point3d& a, const Point3d& b) {
    return std::hypot(a[0] - b[0], a[1] - b[1], a[2] - b[2]);
}

class ViewThroughDeletedCameraTest : public CamTrackWorldTest {
protected:
    // The view made a left view looking at a point off the origin, so that the
    // free view it was is told apart from any standard one.
    void makeFreeView() {
        form().SetViewType(kView, ViewLeft);
        viewCam(kView).PointAtLoc({30, -40, 10});
        viewCam(kView).Update();
        freeEye_ = eyeOf(viewCam(kView).lngSceneCamera);
        freeZoom_ = OMBREL_camera_get_zoom(viewCam(kView).lngSceneCamera);
    }
    void lookThrough(int32_t cam) {
        form().PicBoxFocused = kView;
        clickNode(cameraKey(cam));
        expectThrough(cam, "looking through it");
    }
    void expectThrough(int32_t cam, const std::string& when) {
        SCOPED_TRACE(when);
        EXPECT_EQ(label(kView), "Camera");
        EXPECT_EQ(viewCam(kView).ViewedSceneCamera, cam);
        EXPECT_EQ(toolTip(kView), Globals::GetEntityName(cam));
        EXPECT_LT(distance(eyeOf(viewCam(kView).lngSceneCamera), eyeOf(cam)), 1e-6);
    }
    void expectFree(const std::string& caption, const std::string& when) {
        SCOPED_TRACE(when);
        EXPECT_EQ(label(kView), caption);
        EXPECT_EQ(viewCam(kView).ViewedSceneCamera, 0);
        EXPECT_EQ(toolTip(kView), "");
    }
    void expectFreeViewAsBefore(const std::string& when) {
        expectFree("Left", when);
        SCOPED_TRACE(when);
        EXPECT_LT(distance(eyeOf(viewCam(kView).lngSceneCamera), freeEye_), 1e-6);
        EXPECT_EQ(OMBREL_camera_get_zoom(viewCam(kView).lngSceneCamera), freeZoom_);
    }
    void pressDelete() {
        form().PicBoxHasFocus = true;
        platform::clearKeyState();
        platform::noteKeyDown(platform::vk::Delete);
        form().Form_KeyDown(0, 0);
        platform::clearKeyState();
    }
    // A world file holding one camera of that name.
    std::string worldWithCamera(const std::string& file, const std::string& name) {
        const std::string path = tempPath(file);
        EXPECT_EQ(OMBREL_engine_load_world(nullptr, nullptr, nullptr, 4), 0);
        const int32_t root = OMBREL_group_create("the_world");
        MakePolygon(MakeGroup("floor", root), {{-50, -50}, {-50, 50}, {50, 50}, {50, -50}});
        cameraAt(name, {-300, 200, 150}, {3, -2, -1});
        EXPECT_EQ(OMBREL_engine_save(path.c_str(), root, 0x1203), 0);
        OMBREL_engine_close();
        return path;
    }
    // A new empty world on the camera page; one open already is discarded unsaved.
    Form1& freshWorld() {
        if (!started_) {
            started_ = true;
            return startOnCameraPage();
        }
        if (form().WorldLoaded) platform_.prompts.answer(platform::MsgResult::No);
        OpenEmptyWorld();
        form().tabWorkspace->setCurrentIndex(2);
        return form();
    }
    static int32_t cameraNamed(const std::string& name) {
        for (int32_t c = OMBREL_camera_get_first_camera(); c; c = OMBREL_camera_get_next_camera(c))
            if (OMBREL_camera_get_save_flag(c) == 1 && Globals::GetEntityName(c) == name) return c;
        return 0;
    }

    bool started_ = false;
    Point3d freeEye_ = {0, 0, 0};
    double freeZoom_ = 0;
};

}  // namespace

TEST_F(ViewThroughDeletedCameraTest, AViewThroughADeletedCameraIsTheFreeViewItWasUntilTheDeletionIsUndone) {
    struct Case {
        const char* name;
        std::function<void(int32_t cam)> remove;
    };
    const Case cases[] = {
        {"the tree's Delete",
         [&](int32_t cam) {
             rightClickNode(cameraKey(cam), "mnuCamTrkBkMenuDelete");
         }},
        {"the Delete key",
         [&](int32_t) {
             ASSERT_EQ(Globals::CurrSelEntityType, SelCamera);
             pressDelete();
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Form1& f = freshWorld();
        const int32_t cam = cameraAt("Camera1", {-400, -300, 200}, {4, 3, -1.5});
        const int32_t other = cameraAt("Camera2", {400, 300, 100}, {-4, -3, -1});
        rebuildTrees();
        makeFreeView();
        lookThrough(cam);

        c.remove(cam);
        ASSERT_FALSE(f.trwCamTrackBK->Exists(cameraKey(cam)));
        expectFreeViewAsBefore("after the deletion");
        f.mnuUndo_Click();
        ASSERT_TRUE(f.trwCamTrackBK->Exists(cameraKey(cam)));
        expectThrough(cam, "after Undo");
        f.mnuRedo_Click();
        expectFreeViewAsBefore("after Redo");

        // A view sent through another camera meanwhile keeps it when the deletion is undone.
        lookThrough(other);
        f.mnuUndo_Click();
        expectThrough(other, "through another camera, after Undo");
    }
}

TEST_F(ViewThroughDeletedCameraTest, UndoingTheMergeThatBroughtTheCameraFreesTheViewAndRedoGivesItBack) {
    const std::string file = worldWithCamera("merged.wld", "Merged1");
    Form1& f = startOnCameraPage();
    ASSERT_NE(AddWorldFromMenu(file), 0);
    const int32_t cam = cameraNamed("Merged1");
    ASSERT_NE(cam, 0);
    makeFreeView();
    lookThrough(cam);
    f.mnuUndo_Click();  // the click's selection
    f.mnuUndo_Click();  // the merge
    EXPECT_FALSE(f.trwCamTrackBK->Exists(cameraKey(cam)));
    expectFreeViewAsBefore("after the merge's Undo");
    f.mnuRedo_Click();
    expectThrough(cam, "after the merge's Redo");
}

TEST_F(ViewThroughDeletedCameraTest, NoViewLooksThroughACameraOfAWorldClosedOrReplaced) {
    const std::string file = worldWithCamera("saved.wld", "Saved1");
    struct Case {
        const char* name;
        std::function<void()> leave;
        const char* caption;  // what the view reads afterwards
    };
    const Case cases[] = {
        {"File > New",
         [&] {
             platform_.prompts.answer(platform::MsgResult::No);  // "Save changes?"
             platform_.prompts.answerWindow<formTemplate>([](formTemplate& w) { w.cmdCancel_Click(); });
             form().mnuNew->trigger();
         },
         "Perspective"},
        {"File > Open",
         [&] {
             platform_.prompts.answerOpenFile(file);
             platform_.prompts.answer(platform::MsgResult::No);
             form().mnuOpenFile->trigger();
         },
         "Perspective"},
        {"File > Close",
         [&] {
             platform_.prompts.answer(platform::MsgResult::No);
             form().mnuCloseFile->trigger();
         },
         "Left"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        freshWorld();
        const int32_t cam = cameraAt("Camera1", {-400, -300, 200}, {4, 3, -1.5});
        rebuildTrees();
        makeFreeView();
        lookThrough(cam);
        c.leave();
        expectFree(c.caption, "after leaving the world");
    }
}

// Undo of the deletion makes a view look through the camera again only while it
// still shows the free view the deletion gave it.
TEST_F(ViewThroughDeletedCameraTest, AViewSentElsewhereAfterTheDeletionStaysThereOnUndo) {
    struct Case {
        const char* name;
        std::function<void()> sendElsewhere;
        const char* caption;
    };
    const Case cases[] = {
        {"another type", [&] { form().SetViewType(kView, ViewFront); }, "Front"},
        {"navigated",
         [&] {
             viewCam(kView).PointAtLoc({-80, 25, 5});
             viewCam(kView).Update();
         },
         "Left"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Form1& f = freshWorld();
        const int32_t cam = cameraAt("Camera1", {-400, -300, 200}, {4, 3, -1.5});
        rebuildTrees();
        makeFreeView();
        lookThrough(cam);
        rightClickNode(cameraKey(cam), "mnuCamTrkBkMenuDelete");
        expectFreeViewAsBefore("after the deletion");
        c.sendElsewhere();
        const Point3d eye = eyeOf(viewCam(kView).lngSceneCamera);

        f.mnuUndo_Click();
        ASSERT_TRUE(f.trwCamTrackBK->Exists(cameraKey(cam)));
        expectFree(c.caption, "after Undo");
        EXPECT_LT(distance(eyeOf(viewCam(kView).lngSceneCamera), eye), 1e-6);
    }
}

// Right after Create > Camera no view looks through the new camera; Redo of
// the creation leaves every view so, whatever looked through it before its Undo.
TEST_F(ViewThroughDeletedCameraTest, RedoOfACamerasCreationLeavesTheViewsAsRightAfterTheCreation) {
    Form1& f = freshWorld();
    makeFreeView();
    f.CreateNewCamera();
    const int32_t cam = Globals::CurrSelEntityHandle;
    ASSERT_EQ(Globals::CurrSelEntityType, SelCamera);
    std::vector<std::string> captions;
    for (int i = 0; i < 4; ++i) {
        captions.push_back(label(i));
        EXPECT_EQ(viewCam(i).ViewedSceneCamera, 0);
    }
    clickNode("CAMERA");  // a click on the new camera's node, selected already, would rename it
    lookThrough(cam);
    f.mnuUndo_Click();  // the click's selection
    f.mnuUndo_Click();  // the creation
    ASSERT_FALSE(f.trwCamTrackBK->Exists(cameraKey(cam)));
    expectFreeViewAsBefore("after the creation's Undo");

    f.mnuRedo_Click();
    ASSERT_TRUE(f.trwCamTrackBK->Exists(cameraKey(cam)));
    for (int i = 0; i < 4; ++i) {
        SCOPED_TRACE("view " + std::to_string(i));
        EXPECT_EQ(label(i), captions[static_cast<std::size_t>(i)]);
        EXPECT_EQ(viewCam(i).ViewedSceneCamera, 0);
    }
    expectFreeViewAsBefore("after the creation's Redo");
    // Deleting it now frees no view, and the Undo of that brings none back to it.
    rightClickNode(cameraKey(cam), "mnuCamTrkBkMenuDelete");
    f.mnuUndo_Click();
    expectFreeViewAsBefore("after a deletion's Undo");
}

