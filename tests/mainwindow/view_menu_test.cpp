// The view menu on the views' labels: the picture each type gives whatever the
// view showed before, read by projecting the world's axes; the menu's items;
// which view becomes active and is redrawn; and a camera view detached.
#include "cam_track_world.h"

#include "core/Globals.h"
#include "scene/formSelectionWindow.h"
#include "ombrel.h"
#include "views/PicWindow.h"

#include <QAction>
#include <QLabel>
#include <QImage>
#include <QCheckBox>
#include <QListWidget>
#include <QPushButton>
#include <QMenu>

#include <array>
#include <cmath>
#include <functional>
#include <string>
#include <vector>

namespace {

using Names = std::vector<std::string>;

struct Screen {
    double right, up;
};

class ViewMenuTest : public CamTrackWorldTest {
protected:
    // Where a step along a world axis from the origin goes on the view's screen.
    Screen onScreen(int view, const Point3d& step) {
        const auto o = project(view, viewCam(view).lngSceneCamera, {0, 0, 0});
        const auto p = project(view, viewCam(view).lngSceneCamera, step);
        return {p[0] - o[0], o[1] - p[1]};
    }
    // The signed area of a triangle of world points as the view shows it:
    // positive when its corners run clockwise on screen.
    double clockwise(int view, const Point3d& a, const Point3d& b, const Point3d& c) {
        const auto pa = project(view, viewCam(view).lngSceneCamera, a);
        const auto pb = project(view, viewCam(view).lngSceneCamera, b);
        const auto pc = project(view, viewCam(view).lngSceneCamera, c);
        // Screen y grows downwards: this cross product is positive for clockwise.
        return (pb[0] - pa[0]) * (pc[1] - pa[1]) - (pb[1] - pa[1]) * (pc[0] - pa[0]);
    }
    // A triangle whose front (by the right hand: p x q along the way to the eye)
    // faces the eye, given as q then p so that the engine's visible side is that
    // front; positive when it runs clockwise in the view.
    double facingEyeClockwise(int view, const Point3d& eye, double size) {
        const double n = std::hypot(eye[0], eye[1], eye[2]);
        const Point3d e = {eye[0] / n, eye[1] / n, eye[2] / n};
        Point3d p = {e[1], -e[0], 0};  // e x (0, 0, 1), or the x axis straight above or below
        double l = std::hypot(p[0], p[1]);
        if (l < 1e-6) p = {1, 0, 0}, l = 1;
        p = {p[0] / l * size, p[1] / l * size, 0};
        const Point3d q = {e[1] * p[2] - e[2] * p[1], e[2] * p[0] - e[0] * p[2], e[0] * p[1] - e[1] * p[0]};
        return clockwise(view, {0, 0, 0}, q, p);
    }
    // The label's menu with the script's choice; the items it offered (enabled ones).
    Names chooseFromLabel(int view, const std::string& choice, Qt::MouseButton button = Qt::LeftButton) {
        platform_.prompts.answerMenu(choice);
        releaseOnLabel(view, button);
        Names enabled;
        for (const QAction* a : form().mnuWinView->actions())
            if (a->isEnabled()) enabled.push_back(a->objectName().toStdString());
        return enabled;
    }
};

TEST_F(ViewMenuTest, EachTypeShowsTheWorldTheSameWayWhateverTheViewShowedBefore) {
    Form1& f = startOnCameraPage();
    const double d = Globals::WorldSize * 0.2;
    const Point3d x = {d, 0, 0}, y = {0, d, 0}, z = {0, 0, d};
    const Point3d minusX = {-d, 0, 0}, minusY = {0, -d, 0};
    struct Type {
        const char* item;
        const char* caption;
        Point3d right, up;  // the world steps that go right and up on screen
    };
    const Type types[] = {
        {"mnuWinViewTop", "Top", y, minusX},      {"mnuWinViewsBottom", "Bottom", y, x},
        {"mnuWinViewLeft", "Left", x, z},         {"mnuWinViewRight", "Right", minusX, z},
        {"mnuWinViewFront", "Front", y, z},       {"mnuWinViewBack", "Back", minusY, z},
    };
    struct Before {
        const char* what;
        std::function<void()> make;
    };
    const Before befores[] = {
        {"new", [&] { f.mnuResetViews_Click(); }},
        {"after Bottom", [&] { chooseFromLabel(0, "mnuWinViewsBottom"); }},
        {"revolved over the top",
         [&] {
             for (double v = 2.6; v > -0.6; v -= 0.1) {
                 viewCam(0).Initialize(Globals::WorldSize * 4, 2.355, v);
                 viewCam(0).Update();
             }
         }},
    };
    for (const Before& b : befores) {
        for (const Type& t : types) {
            SCOPED_TRACE(std::string(b.what) + ", then " + t.caption);
            b.make();
            chooseFromLabel(0, t.item);
            EXPECT_EQ(label(0), t.caption);
            const Screen r = onScreen(0, t.right), u = onScreen(0, t.up);
            EXPECT_GT(r.right, 10);
            EXPECT_NEAR(r.up, 0, 1);
            EXPECT_GT(u.up, 10);
            EXPECT_NEAR(u.right, 0, 1);
            // Not mirrored: a face turned to the eye runs clockwise on screen.
            Point3d eye;
            OMBREL_camera_get_location1(viewCam(0).lngSceneCamera, eye.data());
            EXPECT_GT(facingEyeClockwise(0, eye, d), 0);
            EXPECT_DOUBLE_EQ(OMBREL_camera_get_zoom(viewCam(0).lngSceneCamera), 1.0);
            EXPECT_DOUBLE_EQ(OMBREL_camera_get_distance_from_eye(viewCam(0).lngSceneCamera), Globals::WorldSize);
            EXPECT_NEAR(std::hypot(eye[0], eye[1], eye[2]), Globals::WorldSize * 100, Globals::WorldSize);
        }
        SCOPED_TRACE(std::string(b.what) + ", then Perspective");
        b.make();
        chooseFromLabel(0, "mnuWinViewPerspective");
        EXPECT_EQ(label(0), "Perspective");
        Point3d eye;
        OMBREL_camera_get_location1(viewCam(0).lngSceneCamera, eye.data());
        EXPECT_GT(eye[0], 0);
        EXPECT_LT(eye[1], 0);
        EXPECT_GT(eye[2], 0);
        EXPECT_NEAR(std::hypot(eye[0], eye[1], eye[2]), Globals::WorldSize * 4, 1e-6);
        EXPECT_GT(facingEyeClockwise(0, eye, d), 0);
        EXPECT_GT(onScreen(0, z).up, 0);
        EXPECT_NEAR(onScreen(0, z).right, 0, 1);
        EXPECT_DOUBLE_EQ(OMBREL_camera_get_zoom(viewCam(0).lngSceneCamera), 24.0);
        EXPECT_DOUBLE_EQ(OMBREL_camera_get_distance_from_eye(viewCam(0).lngSceneCamera), Globals::WorldSize / 100);
        EXPECT_EQ(viewCam(0).RollAngle, 0);
    }
}

TEST_F(ViewMenuTest, AChoiceMakesTheViewActiveAndRedrawsOnlyIt_NoChoiceChangesNothing) {
    Form1& f = startOnCameraPage();
    f.PicBoxFocused = 0;
    // Any button's release opens the menu.
    for (Qt::MouseButton button : {Qt::LeftButton, Qt::RightButton, Qt::MiddleButton}) {
        chooseFromLabel(3, "", button);
        EXPECT_EQ(platform_.prompts.shown().back().text, "mnuWinView");
    }
    // Dismissed: not even the active view changes.
    EXPECT_EQ(f.PicBoxFocused, 0);
    EXPECT_EQ(label(3), "Right");
    std::array<uint64_t, 4> before{};
    for (int v = 0; v < 4; ++v) before[static_cast<std::size_t>(v)] = views::LastPaintSerial(v);
    chooseFromLabel(3, "mnuWinViewFront");
    EXPECT_EQ(f.PicBoxFocused, 3);
    EXPECT_EQ(label(3), "Front");
    for (int v = 0; v < 4; ++v) EXPECT_EQ(views::LastPaintSerial(v) != before[static_cast<std::size_t>(v)], v == 3) << v;
    // Without a world the labels open nothing.
    f.UnloadWorld();
    const std::size_t prompts = platform_.prompts.shown().size();
    releaseOnLabel(2);
    EXPECT_EQ(platform_.prompts.shown().size(), prompts);
}

TEST_F(ViewMenuTest, TheCameraItemNeedsACameraInTheTree) {
    startOnCameraPage();
    const Names types = {"mnuWinViewTop",  "mnuWinViewsBottom", "mnuWinViewLeft",       "mnuWinViewRight",
                         "mnuWinViewFront", "mnuWinViewBack",    "mnuWinViewPerspective"};
    EXPECT_EQ(chooseFromLabel(1, ""), types);
    camera("Cam01");
    rebuildTrees();
    Names withCamera = types;
    withCamera.push_back("mnuWinViewCam");
    EXPECT_EQ(chooseFromLabel(1, ""), withCamera);
    // The captions, in the menu's order.
    Names captions;
    for (const QAction* a : form().mnuWinView->actions()) captions.push_back(a->text().toStdString());
    EXPECT_EQ(captions, (Names{"&Top", "&Bottom", "&Left", "&Right", "&Front", "Bac&k", "&Perspective", "&Camera"}));
}

TEST_F(ViewMenuTest, ATypeChosenForACameraViewDetachesItFromTheCamera) {
    Form1& f = startOnCameraPage();
    const int32_t cam = cameraAt("Cam01", {-300, 0, 100}, {1, 0, 0});
    rebuildTrees();
    f.PicBoxFocused = 2;
    clickNode(cameraKey(cam));
    ASSERT_EQ(viewCam(2).ViewedSceneCamera, cam);
    chooseFromLabel(2, "mnuWinViewTop");
    EXPECT_EQ(viewCam(2).ViewedSceneCamera, 0);
    EXPECT_EQ(toolTip(2), "");
    // Edits of the camera no longer move that view.
    Point3d before, after;
    OMBREL_camera_get_location1(viewCam(2).lngSceneCamera, before.data());
    enter(f.fldCamLoc[2]->text(), "400");
    OMBREL_camera_get_location1(viewCam(2).lngSceneCamera, after.data());
    EXPECT_EQ(before, after);
}

TEST_F(ViewMenuTest, TheCameraItemMakesTheViewLookThroughTheCameraChosenInTheSelectionWindow) {
    Form1& f = startOnCameraPage();
    cameraAt("Cam01", {-300, 0, 100}, {1, 0, 0});
    const int32_t second = cameraAt("Cam01", {0, -400, 50}, {0, 1, 0});  // the same name
    rebuildTrees();
    f.PicBoxFocused = 0;
    auto chooseCamera = [&](int32_t camera) {
        platform_.prompts.answerMenu("mnuWinViewCam");
        platform_.prompts.answerWindow<formSelectionWindow>([&](formSelectionWindow& w) {
            EXPECT_EQ(w.MenuIndex, 1);
            EXPECT_FALSE(w.chkCams->isEnabled());
            QListWidget* list = w.ShownList();
            ASSERT_NE(list, nullptr);
            for (int i = 0; i < list->count(); ++i) {
                EXPECT_EQ(formSelectionWindow::LineKind(list->item(i)), SelCamera);
                list->item(i)->setSelected(formSelectionWindow::LineHandle(list->item(i)) == camera);
            }
            if (camera)
                w.cmdOk->click();
            else
                w.cmdCancel->click();
        });
        releaseOnLabel(1);
    };

    // Cancelled: nothing changes, not even the active view.
    chooseCamera(0);
    EXPECT_EQ(f.PicBoxFocused, 0);
    EXPECT_EQ(label(1), "Front");
    EXPECT_EQ(viewCam(1).ViewedSceneCamera, 0);

    std::array<uint64_t, 4> before{};
    for (int v = 0; v < 4; ++v) before[static_cast<std::size_t>(v)] = views::LastPaintSerial(v);
    chooseCamera(second);
    EXPECT_EQ(viewCam(1).ViewedSceneCamera, second);
    EXPECT_EQ(label(1), "Camera");
    EXPECT_EQ(toolTip(1), "Cam01");
    EXPECT_EQ(f.PicBoxFocused, 1);
    for (int v = 0; v < 4; ++v) EXPECT_EQ(views::LastPaintSerial(v) != before[static_cast<std::size_t>(v)], v == 1) << v;
    // The view shows what the chosen camera sees, not its namesake.
    for (const Point3d& p : {Point3d{0, 0, 0}, Point3d{100, 0, 80}, Point3d{-60, 50, 20}}) {
        const auto seen = project(1, viewCam(1).lngSceneCamera, p);
        const auto own = project(1, second, p);
        EXPECT_NEAR(seen[0], own[0], 1);
        EXPECT_NEAR(seen[1], own[1], 1);
    }
}

// A label's white caption keeps a dark outline: it can be read over a white
// picture as over a black one.
TEST_F(ViewMenuTest, TheLabelsCanBeReadOnALightPictureAsOnADarkOne) {
    Form1& f = start();
    for (int view = 0; view < 4; ++view) {
        QLabel* label = f.lblPicView[static_cast<std::size_t>(view)];
        PicWindow& picture = *f.picWindow[static_cast<std::size_t>(view)];
        ASSERT_TRUE(picture.geometry().contains(label->geometry())) << view;
        for (const QColor background : {QColor(255, 255, 255), QColor(0, 0, 0)}) {
            SCOPED_TRACE(label->text().toStdString() + (background.lightness() > 128 ? " on white" : " on black"));
            picture.dc().image().fill(background);
            picture.Present();
            const QImage shown = f.frmPicWins->grab(label->geometry()).toImage();
            int light = 0, dark = 0;
            for (int y = 0; y < shown.height(); ++y)
                for (int x = 0; x < shown.width(); ++x) {
                    const int l = shown.pixelColor(x, y).lightness();
                    if (l > 200) ++light;
                    if (l < 60) ++dark;
                }
            // The text's strokes and their outline, whichever the picture hides.
            EXPECT_GT(light, 10);
            EXPECT_GT(dark, 10);
        }
    }
}

}  // namespace
