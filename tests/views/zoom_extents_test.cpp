// Zoom extents and centring: the fitted box lies inside the view after a fit,
// a multiple selection away from the origin is framed without the origin, and
// an empty selection or world changes nothing.
#include "EditorFixture.h"
#include "ViewSpread.h"

#include "core/Camera.h"
#include "core/Globals.h"
#include "core/MultipleSelection.h"
#include "ombrel.h"
#include "platform/key_state.h"
#include "platform/virtual_keys.h"
#include "views/PicWindow.h"

#include <QApplication>
#include <QLabel>

#include <cmath>

namespace {

class ZoomExtentsTest : public EditorFixture {
protected:
    Form1& start() {
        Form1& f = StartEditor();
        group_ = OpenSmallWorld();
        QApplication::processEvents();
        f.PicBoxFocused = 2;
        return f;
    }

    // How much of the view the group's box fills.
    double spread(Form1& f, int view, int32_t group) {
        double b[6];
        OMBREL_group_get_bounding_box(group, b);
        return ViewSpread(*f.picWindow[static_cast<std::size_t>(view)], view, b);
    }

    int32_t group_ = 0;
};

}  // namespace

TEST_F(ZoomExtentsTest, ASelectedGroupIsFramedInsideTheView) {
    Form1& f = start();
    Globals::CurrSelEntityType = SelGroup;
    Globals::CurrSelEntityHandle = group_;
    // Start far away, so the fit has to bring the camera in.
    Globals::ViewCams[2]->dblViewingDistance *= 50;
    Globals::ViewCams[2]->Update();
    const double before = spread(f, 2, group_);
    f.ZoomExtent(2);
    const double after = spread(f, 2, group_);
    EXPECT_LT(before, 0.2);
    EXPECT_GT(after, before);
    EXPECT_LT(after, 1.0);
}

TEST_F(ZoomExtentsTest, AMultipleSelectionAwayFromTheOriginIsFramedLikeItsGroupAlone) {
    Form1& f = start();
    const double offset[3] = {5000, 5000, 0};
    OMBREL_group_move(group_, offset, 0);
    Globals::CurrSelEntityType = SelGroup;
    Globals::CurrSelEntityHandle = group_;
    f.ZoomExtent(0);
    const double single = Globals::ViewCams[0]->dblViewingDistance;

    Globals::CurrMultiSel->AddGrpHandles(group_);
    // A track without points widens nothing.
    Globals::CurrMultiSel->AddTrackHandles(OMBREL_track_create("empty", 0, nullptr, 0));
    Globals::CurrSelEntityType = SelMultiple;
    double centre[3];
    OMBREL_group_get_location(group_, &centre[0], &centre[1], &centre[2]);
    Globals::SelObjsAvgCenter = {centre[0], centre[1], centre[2]};
    f.ZoomExtent(0);
    EXPECT_NEAR(Globals::ViewCams[0]->dblViewingDistance, single, single * 1e-6);
}

TEST_F(ZoomExtentsTest, NothingToFitLeavesTheCameraAtTheWorldSizeUnredrawn) {
    Form1& f = StartEditor();
    OpenEmptyWorld();
    QApplication::processEvents();
    for (PicWindow* view : f.picWindow) view->MarkRendered();
    Globals::ViewCams[1]->SetLookAtOffset(3, 4);
    f.ZoomExtent(1);
    EXPECT_EQ(Globals::ViewCams[1]->dblViewingDistance, Globals::WorldSize);
    EXPECT_EQ(Globals::ViewCams[1]->HorizontalOffset(), 0);
    EXPECT_FALSE(f.picWindow[1]->Stale());
}

TEST_F(ZoomExtentsTest, CommandsThatMayNotActLeaveTheCameraAlone) {
    Form1& f = start();
    const int32_t bare = OMBREL_group_create("bare");
    OMBREL_group_set_father_group(bare, Globals::RootGrp);
    f.trwGroupView_Populate();
    struct Case {
        const char* name;
        int32_t kind, handle;
        const char* label;
        bool world;
    };
    const Case cases[] = {{"camera view", SelNone, 0, "Camera", true},
                          {"group without polygons", SelGroup, bare, "Top", true},
                          {"no world", SelGroup, 0, "Top", false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        f.lblPicView[0]->setText(c.label);
        Globals::CurrSelEntityType = c.kind;
        Globals::CurrSelEntityHandle = c.handle ? c.handle : group_;
        f.WorldLoaded = c.world;
        const double before = Globals::ViewCams[0]->dblViewingDistance;
        f.ZoomExtent(0);
        f.PicBoxFocused = 0;
        Globals::ViewCams[0]->SetLookAtOffset(1, 1);
        f.CenterObjInView();
        EXPECT_EQ(Globals::ViewCams[0]->dblViewingDistance, before);
        if (!c.world) {
            EXPECT_EQ(Globals::ViewCams[0]->VerticalOffset(), 1);
        }
        f.WorldLoaded = true;
    }
}

TEST_F(ZoomExtentsTest, CtrlAloneFitsTheWholeWorld) {
    Form1& f = start();
    Globals::CurrSelEntityType = SelGroup;
    Globals::CurrSelEntityHandle = group_;
    f.ZoomExtent(0);
    const double selection = Globals::ViewCams[0]->dblViewingDistance;
    // Another group far off makes the world bigger than the selection.
    const int32_t far = OMBREL_group_create("far");
    OMBREL_group_set_father_group(far, Globals::RootGrp);
    const int32_t p = OMBREL_polygon_create();
    const double corners[4][2] = {{4000, -50}, {4000, 50}, {4100, 50}, {4100, -50}};
    for (const auto& c : corners) {
        const double record[6] = {c[0], c[1], 0, 0, 0, 100};
        OMBREL_polygon_add_point(p, record);
    }
    OMBREL_polygon_set_group(p, far);
    OMBREL_engine_add_polygon(p);
    struct Case {
        std::vector<int> keys;
        bool world;
    };
    const Case cases[] = {{{platform::vk::Control}, true},
                          {{platform::vk::Control, platform::vk::Shift}, false},
                          {{platform::vk::Control, platform::vk::Menu}, false},
                          {{}, false}};
    for (const Case& c : cases) {
        platform::clearKeyState();
        for (int k : c.keys) platform::setKeyHeld(k, true);
        f.ZoomExtent(0);
        if (c.world)
            EXPECT_GT(Globals::ViewCams[0]->dblViewingDistance, selection * 2);
        else
            EXPECT_NEAR(Globals::ViewCams[0]->dblViewingDistance, selection, selection * 1e-6);
    }
    platform::clearKeyState();
}

TEST_F(ZoomExtentsTest, CentringPointsTheActiveViewAtTheSelectionAndClearsThePan) {
    Form1& f = start();
    Globals::CurrSelEntityType = SelMultiple;
    Globals::SelObjsAvgCenter = {10, 20, 30};
    Camera& active = *Globals::ViewCams[2];
    active.SetLookAtOffset(5, 6);
    const double distance = active.dblViewingDistance, horiz = active.HorizontalAngle();
    const Point3d other = Globals::ViewCams[1]->LookAt();
    f.CenterObjInView();
    EXPECT_EQ(active.LookAt(), (Point3d{10, 20, 30}));
    EXPECT_EQ(active.VerticalOffset(), 0);
    EXPECT_EQ(active.HorizontalOffset(), 0);
    EXPECT_EQ(active.dblViewingDistance, distance);
    EXPECT_EQ(active.HorizontalAngle(), horiz);
    EXPECT_EQ(Globals::ViewCams[1]->LookAt(), other);
}
