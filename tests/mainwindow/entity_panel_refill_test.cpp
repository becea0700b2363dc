// The camera and light panels follow their entity whatever moves it: after a
// handle drag, the numeric and align dialogs, Undo and Redo, the panel shows the
// engine's values, so a later field edit (which applies the other fields of its
// frame too) never puts an old location back.
#include "cam_track_world.h"

#include "platform/key_state.h"
#include "platform/virtual_keys.h"
#include "transform/TransformGizmo.h"
#include "transform/formAlign.h"
#include "transform/frmTransformParameters.h"

#include <QCheckBox>
#include <QPushButton>
#include <QRadioButton>

#include <functional>
#include <string>

namespace {

constexpr int kObjectPage = 1, kCameraPage = 2, kLightPage = 5;

class EntityPanelRefillTest : public CamTrackWorldTest {
protected:
    struct Entity {
        const char* kind;
        int32_t type;
        int page;
    };

    // The entity chosen by a left click on its tree node.
    void selectByNode(KeyedTree& tree, const std::string& key) {
        tree.show();
        QTreeWidgetItem* item = tree.Item(key);
        tree.EnsureVisible(item);
        const QPointF at = tree.visualItemRect(item).center();
        for (const QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
            QMouseEvent e(type, at, tree.viewport()->mapToGlobal(at), Qt::LeftButton,
                          type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton, Qt::NoModifier);
            QApplication::sendEvent(tree.viewport(), &e);
        }
    }

    Point3d location(int32_t type, int32_t handle) {
        Point3d p = {0, 0, 0};
        if (type == SelCamera)
            OMBREL_camera_get_location1(handle, p.data());
        else
            OMBREL_light_get_location(handle, p.data());
        return p;
    }
    std::array<platform::NumericField*, 3> locationFields(int32_t type) {
        return type == SelCamera ? form().fldCamLoc : form().fldLightLoc;
    }

    // The move tool's handle in the Top view dragged along x by 120 pixels.
    void dragHandle() {
        Form1& f = form();
        f.SetToolMode(ToolMove);
        UpdateCameras();
        const TransformGizmo& gizmo = *f.ViewGizmos[0];
        ASSERT_TRUE(gizmo.IsShown());
        // From 60 % of the x line, 120 pixels further along it.
        const PixelPt c = gizmo.Center2DPx(), e = gizmo.AxisEnd2D(0);
        const double length = std::hypot(e[0] - c[0], e[1] - c[1]);
        ASSERT_GT(length, 0);
        auto along = [&](double pixels) {
            const double t = 0.6 + pixels / length;
            return std::array<float, 2>{static_cast<float>(c[0] + t * (e[0] - c[0])),
                                        static_cast<float>(c[1] + t * (e[1] - c[1]))};
        };
        platform::clearKeyState();
        auto move = [&](int button, double pixels) {
            const auto p = along(pixels);
            platform_.cursor.follow({static_cast<int>(std::lround(p[0])), static_cast<int>(std::lround(p[1]))});
            f.picWindow_MouseMove(0, button, 0, p[0], p[1]);
        };
        move(0, 0);
        platform::setKeyHeld(platform::vk::LButton, true);
        f.picWindow_MouseDown(0, 1, 0, along(0)[0], along(0)[1]);
        for (int d = 0; d <= 120; d += 10) move(1, d);
        platform::setKeyHeld(platform::vk::LButton, false);
        f.picWindow_MouseUp(0, 1, 0, along(120)[0], along(120)[1]);
        f.SetToolMode(ToolSelect);
    }

    // The numeric dialog moves the selection to y = 77.
    void moveByDialog() {
        platform_.prompts.answerWindow<frmTransformParameters>([](frmTransformParameters& d) {
            d.txtAbsolute[1]->setText("77");
            d.txtAbsolute_KeyPress(1, 13);
        });
        transform::OpenTransformDialog(&form(), frmTransformParameters::MoveTransform);
    }

    // Align mode, a click on the target group in the Top view, centres lined up on x.
    void alignOnTarget() {
        Form1& f = form();
        f.SetToolbarButtonValue("Align", 1);
        platform_.prompts.answerWindow<formAlign>([](formAlign& d) {
            d.opnCurrObj[formAlign::Center]->click();
            d.opnTargetObj[formAlign::Center]->click();
            d.chkCoordinate[0]->click();
            d.cmdOk->click();
        });
        ClickView(0, PixelOf(0, 150, 0));
        f.SetToolbarButtonValue("Align", 0);
    }
};

TEST_F(EntityPanelRefillTest, ThePanelShowsTheEntityAfterEveryRouteAndAFieldEditKeepsTheMove) {
    Form1& f = start();
    // The align target, well away from the camera and the light.
    MakePolygon(MakeGroup("target", Globals::RootGrp), {{130, -20}, {130, 20}, {170, 20}, {170, -20}});
    const int32_t cam = cameraAt("Cam01", {10, 20, 30}, {1, 0, 0});
    const int32_t lamp = light("Lamp01");
    rebuildTrees();
    struct Route {
        const char* name;
        std::function<void()> run;  // on the panel's page; it may leave it
        bool moves;                 // false: it ends where it started
    };
    auto onAnotherPage = [&] { f.tabWorkspace->setCurrentIndex(kObjectPage); };
    const Route routes[] = {
        {"a handle drag", [&] { dragHandle(); }, true},
        {"a handle drag on another page", [&] {
             onAnotherPage();
             dragHandle();
         },
         true},
        {"the numeric dialog", [&] { moveByDialog(); }, true},
        {"the align dialog", [&] { alignOnTarget(); }, true},
        {"Undo on another page", [&] {
             dragHandle();
             onAnotherPage();
             f.mnuUndo_Click();
         },
         false},
        {"Redo on another page", [&] {
             dragHandle();
             f.mnuUndo_Click();
             onAnotherPage();
             f.mnuRedo_Click();
         },
         true},
    };
    const Entity entities[] = {{"light", SelLight, kLightPage}, {"camera", SelCamera, kCameraPage}};
    for (const Entity& e : entities) {
        const int32_t handle = e.type == SelCamera ? cam : lamp;
        for (const Route& r : routes) {
            SCOPED_TRACE(std::string(e.kind) + " after " + r.name);
            f.tabWorkspace->setCurrentIndex(e.page);
            // The camera's node turns the active view to it: the Top view stays Top.
            f.PicBoxFocused = 3;
            if (e.type == SelCamera)
                selectByNode(*f.trwCamTrackBK, cameraKey(handle));
            else
                selectByNode(*f.trwLight, lightKey(handle));
            ASSERT_EQ(Globals::CurrSelEntityHandle, handle);
            // Each route starts from a fresh place, typed into the panel.
            const Point3d start = {-50, -60, -70};
            for (std::size_t k = 0; k < 3; ++k)
                enter(locationFields(e.type)[k]->text(), QString::number(start[k]));
            ASSERT_EQ(location(e.type, handle), start);

            r.run();
            f.tabWorkspace->setCurrentIndex(e.page);
            const Point3d moved = location(e.type, handle);
            ASSERT_EQ(moved != start, r.moves);
            for (std::size_t k = 0; k < 3; ++k)
                EXPECT_NEAR(number(locationFields(e.type)[k]->text()), moved[k], 1e-6 * (1 + std::fabs(moved[k])))
                    << "field " << k;

            // Z typed: x and y stay where the route put them.
            enter(locationFields(e.type)[2]->text(), "5");
            const Point3d after = location(e.type, handle);
            EXPECT_NEAR(after[0], moved[0], 1e-6 * (1 + std::fabs(moved[0])));
            EXPECT_NEAR(after[1], moved[1], 1e-6 * (1 + std::fabs(moved[1])));
            EXPECT_DOUBLE_EQ(after[2], 5);
        }
    }
}

}  // namespace
