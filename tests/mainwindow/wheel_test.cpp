// The wheel: one zoom step of the active view per pass of the main loop, in the
// direction of the last pending notch, only with a world open and a view focused.
#include "EditorFixture.h"

#include "core/Camera.h"
#include "core/Globals.h"
#include "ombrel.h"
#include "platform/input_filter.h"
#include "platform/key_state.h"
#include "platform/virtual_keys.h"
#include "platform/wheel_queue.h"
#include "views/PicWindow.h"

#include <QApplication>
#include <QTabWidget>
#include <QWheelEvent>

#include <vector>

namespace {

class WheelTest : public EditorFixture {
protected:
    Camera& active() { return *Globals::ViewCams[static_cast<std::size_t>(form().PicBoxFocused)]; }
    double step() {
        return Globals::WorldSize * Globals::NavSpeedFactor * 3.0 / OMBREL_camera_get_zoom(active().lngSceneCamera);
    }
};

}  // namespace

TEST_F(WheelTest, PendingNotchesGiveOneStepInTheDirectionOfTheLast) {
    Form1& f = StartEditor();
    OpenSmallWorld();
    f.PicBoxHasFocus = true;
    f.PicBoxFocused = 2;
    active().dblViewingDistance = 50 * Globals::WorldSize;
    struct Case {
        std::vector<int> notches;
        bool shift;
        double steps;
    };
    const Case cases[] = {
        {{120, 120, 120}, false, 1}, {{120, 120, 120, -120}, false, -1}, {{-240}, true, -2}, {{}, false, 0}};
    for (const Case& c : cases) {
        platform::setKeyHeld(platform::vk::Shift, c.shift);
        for (int n : c.notches) platform::pushWheelDelta(n);
        const double before = active().dblViewingDistance, expected = c.steps * step();
        const int32_t otherCamera = Globals::ViewCams[0]->lngSceneCamera;
        const double otherDistance = Globals::ViewCams[0]->dblViewingDistance;
        f.ScrollCheck();
        EXPECT_NEAR(active().dblViewingDistance - before, expected, 1e-9 * Globals::WorldSize);
        EXPECT_EQ(platform::pendingWheelMessages(), 0);
        EXPECT_EQ(Globals::ViewCams[0]->dblViewingDistance, otherDistance);
        EXPECT_EQ(Globals::ViewCams[0]->lngSceneCamera, otherCamera);
    }
}

TEST_F(WheelTest, ZoomingInStopsAtTheClosestDistance) {
    Form1& f = StartEditor();
    OpenSmallWorld();
    f.PicBoxHasFocus = true;
    for (int pass = 0; pass < 40; ++pass) {
        platform::pushWheelDelta(-120);
        f.ScrollCheck();
    }
    EXPECT_EQ(active().dblViewingDistance, 1e-05);
}

TEST_F(WheelTest, WithoutAWorldOrAFocusedViewNotchesStayQueued) {
    Form1& f = StartEditor();
    platform::pushWheelDelta(120);
    f.PicBoxHasFocus = true;
    f.ScrollCheck();
    EXPECT_EQ(platform::pendingWheelMessages(), 1);
    OpenSmallWorld();
    f.PicBoxHasFocus = false;
    const double before = active().dblViewingDistance;
    f.ScrollCheck();
    EXPECT_EQ(platform::pendingWheelMessages(), 1);
    EXPECT_EQ(active().dblViewingDistance, before);
}

TEST_F(WheelTest, NotchesOverThePanelAreTheirsAndOnlyThoseOverAViewZoom) {
    platform::installInputFilter(*qApp);
    Form1& f = StartEditor();
    OpenSmallWorld();
    f.PicBoxHasFocus = true;
    struct Case {
        const char* name;
        QWidget* over;
        bool zooms;
    };
    const Case cases[] = {{"the group tree", f.trwGroupView->viewport(), false},
                          {"the workspace panel", f.tabWorkspace, false},
                          {"a view that is not the active one", f.picWindow[3], true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const double before = active().dblViewingDistance;
        QWheelEvent notch({5, 5}, c.over->mapToGlobal(QPointF(5, 5)), QPoint(), QPoint(0, 120), Qt::NoButton,
                          Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(c.over, &notch);
        f.ScrollCheck();
        EXPECT_EQ(active().dblViewingDistance != before, c.zooms);
        EXPECT_EQ(platform::pendingWheelMessages(), 0);
    }
}
