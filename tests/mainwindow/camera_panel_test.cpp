// The camera panel: its fill, each field's edits as the engine, the marker and
// the views take them, the views it redraws, and the views that stop following
// the camera once navigated or reset.
#include "cam_track_world.h"

#include "core/Globals.h"
#include "entities/CameraGrp.h"
#include "ombrel.h"

#include <QGroupBox>
#include <QScrollArea>
#include <QScrollBar>

#include <array>
#include <functional>
#include <string>
#include <vector>

namespace {

struct CameraState {
    Point3d location, direction;
    double zoom, distance;
};

CameraState stateOf(int32_t camera) {
    CameraState s{};
    OMBREL_camera_get_location1(camera, s.location.data());
    OMBREL_camera_get_direction1(camera, s.direction.data());
    s.zoom = OMBREL_camera_get_zoom(camera);
    s.distance = OMBREL_camera_get_distance_from_eye(camera);
    return s;
}

void expectNear(const Point3d& a, const Point3d& b, double tolerance = 1e-9) {
    for (std::size_t k = 0; k < 3; ++k) EXPECT_NEAR(a[k], b[k], tolerance) << k;
}

// How the marker's own axes stand against the camera's: what turning the camera
// must keep.
std::array<double, 9> markerAgainstCamera(int32_t camera, int32_t marker) {
    Point3d a1, a2, a3, gx, gy, gz;
    OMBREL_camera_get_axis_system(camera, a1.data(), a2.data(), a3.data());
    OMBREL_group_calculate_axis_system(marker, gx.data(), gy.data(), gz.data());
    std::array<double, 9> dots{};
    std::size_t i = 0;
    for (const Point3d* g : {&gx, &gy, &gz})
        for (const Point3d* a : {&a1, &a2, &a3}) dots[i++] = (*g)[0] * (*a)[0] + (*g)[1] * (*a)[1] + (*g)[2] * (*a)[2];
    return dots;
}

class CameraPanelTest : public CamTrackWorldTest {
protected:
    Form1& startWithCamera() {
        Form1& f = startOnCameraPage();
        cam_ = cameraAt("Cam01", {10, 20, 30}, {1, 0, 0});
        OMBREL_camera_set_zoom(cam_, 60);
        OMBREL_camera_set_distance_from_eye(cam_, 2);
        rebuildTrees();
        f.PicBoxFocused = 1;
        clickNode(cameraKey(cam_));
        return f;
    }

    void drag(Form1& f, int view, int dx) {
        Globals::CurrToolMode = ToolPan;
        platform_.cursor.follow({600, 500});
        f.picWindow_MouseDown(view, 1, 0, 100, 100);
        platform_.cursor.follow({600 + dx, 500});
        f.picWindow_MouseMove(view, 1, 0, static_cast<float>(100 + dx), 100);
        f.picWindow_MouseUp(view, 1, 0, static_cast<float>(100 + dx), 100);
        Globals::CurrToolMode = ToolSelect;
    }

    static Point3d eye(int view) {
        Point3d p;
        OMBREL_camera_get_location1(viewCam(view).lngSceneCamera, p.data());
        return p;
    }

    int32_t cam_ = 0;
};

TEST_F(CameraPanelTest, SelectingACameraShowsAndFillsItsPanelWithoutWritingBack) {
    Form1& f = startWithCamera();
    EXPECT_FALSE(f.frmCam->isHidden());
    const std::vector<std::pair<platform::NumericField*, std::string>> fields = {
        {f.fldCamLoc[0], "10"}, {f.fldCamLoc[1], "20"}, {f.fldCamLoc[2], "30"}, {f.fldCamDir[0], "1"},
        {f.fldCamDir[1], "0"},  {f.fldCamDir[2], "0"},  {f.fldFOV, "60"},       {f.fldCamDistFrmEye, "2"}};
    for (const auto& [field, text] : fields) {
        EXPECT_EQ(field->text()->text().toStdString(), text) << field->text()->objectName().toStdString();
        EXPECT_EQ(field->spinner()->Tag.toStdString(), text);
    }
    EXPECT_EQ(f.fldCamLoc[2]->text()->objectName(), "txtCamLoc(2)");
    EXPECT_EQ(f.fldCamDistFrmEye->text()->toolTip(), "Minimum Veiwing Distance");
}

TEST_F(CameraPanelTest, EachFieldAppliesToTheCameraAndItsMarker) {
    Form1& f = startWithCamera();
    const int32_t marker = cameraMarker(cam_);
    ASSERT_NE(marker, 0);
    const std::array<double, 9> turn = markerAgainstCamera(cam_, marker);
    enum How { Enter, Leave, SpinUp, SpinDown };
    struct Step {
        const char* what;
        std::vector<std::pair<QLineEdit*, const char*>> typed;  // the last one is applied
        How how;
        CameraState after;
        std::vector<const char*> directionShown;  // the direction fields afterwards, if checked
    };
    QLineEdit* loc[3] = {f.fldCamLoc[0]->text(), f.fldCamLoc[1]->text(), f.fldCamLoc[2]->text()};
    QLineEdit* dir[3] = {f.fldCamDir[0]->text(), f.fldCamDir[1]->text(), f.fldCamDir[2]->text()};
    QLineEdit* fov = f.fldFOV->text();
    QLineEdit* dist = f.fldCamDistFrmEye->text();
    const Step steps[] = {
        {"location x", {{loc[0], "12.5"}}, Enter, {{12.5, 20, 30}, {1, 0, 0}, 60, 2}, {}},
        {"letters", {{loc[1], "abc"}}, Enter, {{12.5, 20, 30}, {1, 0, 0}, 60, 2}, {}},
        {"endless", {{loc[2], "1e999"}}, Leave, {{12.5, 20, 30}, {1, 0, 0}, 60, 2}, {}},
        {"spinner up", {{loc[0], "12.5"}}, SpinUp, {{13.5, 20, 30}, {1, 0, 0}, 60, 2}, {}},
        {"leaving", {{loc[2], "-7"}}, Leave, {{13.5, 20, -7}, {1, 0, 0}, 60, 2}, {}},
        {"direction", {{dir[0], "0"}, {dir[1], "3"}, {dir[2], "4"}}, Enter, {{13.5, 20, -7}, {0, 0.6, 0.8}, 60, 2},
         {"0", "0.6", "0.8"}},
        {"zero direction", {{dir[0], "0"}, {dir[1], "0"}, {dir[2], "0"}}, Enter,
         {{13.5, 20, -7}, {0, 0.6, 0.8}, 60, 2}, {"0", "0.6", "0.8"}},
        {"not a number", {{dir[1], "nan"}, {dir[2], "inf"}}, Enter, {{13.5, 20, -7}, {0, 0.6, 0.8}, 60, 2}, {}},
        {"field of view", {{fov, "45"}}, Enter, {{13.5, 20, -7}, {0, 0.6, 0.8}, 45, 2}, {}},
        // A field of view of 180 or more, or of 0 or less, is none: the one in force stays.
        {"wide", {{fov, "180"}}, Leave, {{13.5, 20, -7}, {0, 0.6, 0.8}, 45, 2}, {}},
        {"negative", {{fov, "-5"}}, Enter, {{13.5, 20, -7}, {0, 0.6, 0.8}, 45, 2}, {}},
        {"spinner down", {{fov, "2.5"}}, SpinDown, {{13.5, 20, -7}, {0, 0.6, 0.8}, 1.5, 2}, {}},
        {"near distance", {{dist, "7"}}, Enter, {{13.5, 20, -7}, {0, 0.6, 0.8}, 1.5, 7}, {}},
        // A distance of 0 or less, or below the millionth the engine keeps, is none.
        {"no distance", {{dist, "0"}}, Enter, {{13.5, 20, -7}, {0, 0.6, 0.8}, 1.5, 7}, {}},
        {"below zero", {{dist, "-3"}}, Leave, {{13.5, 20, -7}, {0, 0.6, 0.8}, 1.5, 7}, {}},
        {"too near", {{dist, "1e-7"}}, Enter, {{13.5, 20, -7}, {0, 0.6, 0.8}, 1.5, 7}, {}},
        {"nearest", {{dist, "1e-6"}}, Enter, {{13.5, 20, -7}, {0, 0.6, 0.8}, 1.5, 1e-6}, {}},
    };
    for (const Step& s : steps) {
        SCOPED_TRACE(s.what);
        for (const auto& [field, text] : s.typed) field->setText(text);
        QLineEdit* last = s.typed.back().first;
        auto* numeric = static_cast<platform::NumericField*>(last->parentWidget());
        switch (s.how) {
        case Enter: enter(last, last->text()); break;
        case Leave: typeAndLeave(last, last->text()); break;
        case SpinUp: numeric->spinner()->clickUp(); break;
        case SpinDown: numeric->spinner()->clickDown(); break;
        }
        const CameraState now = stateOf(cam_);
        expectNear(now.location, s.after.location);
        expectNear(now.direction, s.after.direction, 1e-12);
        EXPECT_NEAR(now.zoom, s.after.zoom, 1e-12);
        EXPECT_NEAR(now.distance, s.after.distance, 1e-15);
        // The marker stands at the camera and turns with it.
        double x = 0, y = 0, z = 0;
        OMBREL_group_get_location(marker, &x, &y, &z);
        expectNear({x, y, z}, now.location);
        const std::array<double, 9> nowTurn = markerAgainstCamera(cam_, marker);
        for (std::size_t k = 0; k < 9; ++k) EXPECT_NEAR(nowTurn[k], turn[k], 1e-9) << k;
        for (std::size_t k = 0; k < s.directionShown.size(); ++k)
            EXPECT_EQ(dir[k]->text().toStdString(), s.directionShown[k]);
    }
    // Text that is no number stays in its field until the next fill.
    EXPECT_EQ(loc[1]->text().toStdString(), "abc");
    clickNode("CAMERA");
    clickNode(cameraKey(cam_));
    EXPECT_EQ(loc[1]->text().toStdString(), "20");
    EXPECT_EQ(fov->text().toStdString(), "1.5");
}

TEST_F(CameraPanelTest, EditsReachTheCameraOnlyWhileItIsSelected) {
    Form1& f = startWithCamera();
    const int32_t path = track("Track01", {0, 0, 0, 10, 0, 0});
    rebuildTrees();
    clickNode(trackKey(path));
    ASSERT_TRUE(f.frmCam->isHidden());
    const CameraState before = stateOf(cam_);
    enter(f.fldCamLoc[0]->text(), "500");
    enter(f.fldCamDir[1]->text(), "1");
    enter(f.fldFOV->text(), "10");
    f.fldCamDistFrmEye->spinner()->clickUp();
    const CameraState after = stateOf(cam_);
    expectNear(after.location, before.location);
    expectNear(after.direction, before.direction);
    EXPECT_EQ(after.zoom, before.zoom);
    EXPECT_EQ(after.distance, before.distance);
}

TEST_F(CameraPanelTest, MovingOrTurningRedrawsEveryView_TheLensOnlyTheViewsThroughTheCamera) {
    Form1& f = startWithCamera();
    ASSERT_EQ(viewCam(1).ViewedSceneCamera, cam_);
    struct Case {
        const char* what;
        std::function<void()> edit;
        std::vector<int> redrawn;
    };
    const Case cases[] = {
        {"location", [&] { enter(f.fldCamLoc[1]->text(), "-40"); }, {0, 1, 2, 3}},
        {"direction", [&] { enter(f.fldCamDir[1]->text(), "1"); }, {0, 1, 2, 3}},
        {"field of view", [&] { enter(f.fldFOV->text(), "30"); }, {1}},
        {"distance from eye", [&] { enter(f.fldCamDistFrmEye->text(), "3"); }, {1}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::array<uint64_t, 4> before{};
        for (int v = 0; v < 4; ++v) before[static_cast<std::size_t>(v)] = views::LastPaintSerial(v);
        c.edit();
        std::vector<int> redrawn;
        for (int v = 0; v < 4; ++v)
            if (views::LastPaintSerial(v) != before[static_cast<std::size_t>(v)]) redrawn.push_back(v);
        EXPECT_EQ(redrawn, c.redrawn);
    }
    // The view through the camera shows what the camera sees.
    const CameraState now = stateOf(cam_);
    expectNear(eye(1), now.location, 1e-6);
    EXPECT_DOUBLE_EQ(OMBREL_camera_get_zoom(viewCam(1).lngSceneCamera), 30);
    EXPECT_DOUBLE_EQ(OMBREL_camera_get_distance_from_eye(viewCam(1).lngSceneCamera), 3);
}

TEST_F(CameraPanelTest, AViewNavigatedOrResetNoLongerFollowsTheCamera) {
    Form1& f = startWithCamera();
    // Panned, the camera view becomes a free perspective view where the pan put it.
    drag(f, 1, 15);
    EXPECT_EQ(label(1), "Perspective");
    EXPECT_EQ(viewCam(1).ViewedSceneCamera, 0);
    EXPECT_EQ(toolTip(1), "");
    const Point3d panned = eye(1);
    enter(f.fldCamLoc[0]->text(), "250");
    expectNear(eye(1), panned);

    // Looking through the camera again, then the standard views.
    clickNode("CAMERA");
    clickNode(cameraKey(cam_));
    ASSERT_EQ(viewCam(1).ViewedSceneCamera, cam_);
    f.mnuResetViews_Click();
    EXPECT_EQ(viewCam(1).ViewedSceneCamera, 0);
    EXPECT_EQ(toolTip(1), "");
    const Point3d standard = eye(1);
    enter(f.fldCamLoc[0]->text(), "-250");
    expectNear(eye(1), standard);
}

TEST_F(CameraPanelTest, ThePanelScrollsWhileItsContentOverflowsAndStartsAtItsTop) {
    Form1& f = startWithCamera();
    f.resize(f.width(), 420);
    f.show();
    QApplication::processEvents();
    QScrollBar* bar = f.frmContainerDummy->verticalScrollBar();
    ASSERT_GT(f.frmScrollContainerCam->height(), f.frmContainerDummy->viewport()->height());
    EXPECT_TRUE(bar->isVisible());
    bar->setValue(bar->maximum());
    // A new layout brings the content back to its top; no other frame scrolls.
    clickNode("TRACK");
    clickNode(cameraKey(cam_));
    QApplication::processEvents();
    EXPECT_EQ(bar->value(), 0);
    EXPECT_TRUE(bar->isVisible());
    f.resize(f.width(), 1200);
    QApplication::processEvents();
    EXPECT_FALSE(bar->isVisible());
}

}  // namespace
