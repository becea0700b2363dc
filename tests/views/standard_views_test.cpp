// The standard views after New and after Reset Views, read by projecting the
// world's axes through each view's camera.
#include "EditorFixture.h"

#include "core/Camera.h"
#include "core/Globals.h"
#include "ombrel.h"
#include "views/PicWindow.h"

#include <QLabel>

#include <array>

namespace {

struct Screen {
    double right, up;  // of the projected axis end, from the projected origin
};

// Where a short step along a world axis goes on screen in one view.
Screen project(Form1& f, int view, const std::array<double, 3>& step) {
    const int32_t camera = Globals::ViewCams[static_cast<std::size_t>(view)]->lngSceneCamera;
    OMBREL_camera_set_current(camera, f.picWindow[static_cast<std::size_t>(view)]->hWnd());
    const double origin[3] = {0, 0, 0};
    int32_t o[2] = {0, 0}, p[2] = {0, 0};
    EXPECT_EQ(OMBREL_engine_3D_point_to_2D(origin, o), 0) << "view " << view;
    EXPECT_EQ(OMBREL_engine_3D_point_to_2D(step.data(), p), 0) << "view " << view;
    return {static_cast<double>(p[0] - o[0]), static_cast<double>(o[1] - p[1])};
}

std::array<double, 3> eye(int view) {
    std::array<double, 3> at{};
    OMBREL_camera_get_location(Globals::ViewCams[static_cast<std::size_t>(view)]->lngSceneCamera, &at[0], &at[1], &at[2]);
    return at;
}

// Each axis view: the world axis that points right and the one that points up
// on screen, and the axis it looks along (the eye sits on the opposite side).
void expectStandardViews(Form1& f) {
    const double d = Globals::WorldSize * 0.05;
    struct Axis {
        int view;
        const char* label;
        std::array<double, 3> right, up, eyeSide;
    };
    const Axis axes[] = {
        {0, "Top", {0, d, 0}, {-d, 0, 0}, {0, 0, 1}},
        {1, "Front", {0, d, 0}, {0, 0, d}, {1, 0, 0}},
        {3, "Right", {-d, 0, 0}, {0, 0, d}, {0, 1, 0}},
    };
    for (const Axis& a : axes) {
        SCOPED_TRACE(a.label);
        EXPECT_EQ(f.lblPicView[static_cast<std::size_t>(a.view)]->text().toStdString(), a.label);
        const Screen r = project(f, a.view, a.right);
        EXPECT_GT(r.right, 0);
        EXPECT_NEAR(r.up, 0, 1);
        const Screen u = project(f, a.view, a.up);
        EXPECT_GT(u.up, 0);
        EXPECT_NEAR(u.right, 0, 1);
        const auto at = eye(a.view);
        for (std::size_t k = 0; k < 3; ++k) {
            if (a.eyeSide[k] != 0) {
                EXPECT_GT(at[k], 0) << k;
            }
        }
    }
    // The perspective view looks from the front, the left and above, upright.
    EXPECT_EQ(f.lblPicView[2]->text().toStdString(), "Perspective");
    const auto at = eye(2);
    EXPECT_GT(at[0], 0);
    EXPECT_LT(at[1], 0);
    EXPECT_GT(at[2], 0);
    EXPECT_GT(project(f, 2, {0, 0, d}).up, 0);
    EXPECT_GT(project(f, 2, {0, d, 0}).right, 0);
    EXPECT_DOUBLE_EQ(OMBREL_camera_get_zoom(Globals::ViewCams[2]->lngSceneCamera), 24.0);
    for (int v : {0, 1, 3}) EXPECT_DOUBLE_EQ(OMBREL_camera_get_zoom(Globals::ViewCams[static_cast<std::size_t>(v)]->lngSceneCamera), 1.0);
}

}  // namespace

using StandardViewsTest = EditorFixture;

TEST_F(StandardViewsTest, ANewWorldStartsInTheStandardViews) {
    Form1& f = StartEditor();
    OpenEmptyWorld();
    expectStandardViews(f);
}

TEST_F(StandardViewsTest, ResetViewsUndoesNavigationEvenOverTheTop) {
    Form1& f = StartEditor();
    OpenSmallWorld();
    // Revolve the perspective view over the top in small steps, and relabel the top view.
    Camera& perspective = *Globals::ViewCams[2];
    for (double v = 2.6; v > -0.6; v -= 0.1) {
        perspective.Initialize(Globals::WorldSize * 4, 2.355, v);
        perspective.Update();
    }
    Globals::ViewCams[0]->Initialize(Globals::WorldSize * 100, 1.0, 0.7);
    Globals::ViewCams[0]->Update();
    f.lblPicView[0]->setText("User");

    f.mnuResetViews->trigger();
    expectStandardViews(f);
}
