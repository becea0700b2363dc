#include "core/MultipleSelection.h"
#include "core/ObjectSelection.h"
#include "entities/CameraGrp.h"

#include "platform/key_state.h"
#include "platform/virtual_keys.h"
#include "selection_world.h"

#include <memory>
#include <vector>

namespace {

using namespace Globals;

std::vector<int32_t> selectedGroups() {
    std::vector<int32_t> out;
    for (int32_t i = 1; i <= CurrMultiSel->NumOfGrps(); ++i) out.push_back(CurrMultiSel->GetGrp(i));
    return out;
}

class ObjectSelection : public SelectionWorld {
protected:
    // Centre pixel of the near face (x = lo) of a box.
    PixelPt faceCentre(const P3& lo, const P3& hi) {
        return pixelOf({lo[0], (lo[1] + hi[1]) / 2, (lo[2] + hi[2]) / 2});
    }
    void release(const PixelPt& down, const PixelPt& up, int key = 0) {
        platform::clearKeyState();
        if (key) platform::setKeyHeld(key, true);
        gesture(down, up);
        SelectMultipleObjects();
        platform::clearKeyState();
    }
};

TEST_F(ObjectSelection, ClickPicksTheFrontGroupItsTopLevelGroupOrNothing) {
    const int32_t farBox = box("far", {50, -10, -10}, {60, 10, 10});
    const int32_t nearBox = box("near", {0, -10, -10}, {10, 10, 10});
    const int32_t top = box("top", {0, 30, -10}, {10, 40, 10});
    const int32_t child = box("child", {0, 30, 20}, {10, 40, 30}, top);
    (void)farBox;

    const PixelPt centre = faceCentre({0, -10, -10}, {10, 10, 10});
    release(centre, centre);
    EXPECT_EQ(CurrSelEntityType, SelGroup);
    EXPECT_EQ(CurrSelEntityHandle, nearBox);

    // The child's own polygon picks its top-level group.
    PickEntityAt(faceCentre({0, 30, 20}, {10, 40, 30})[0], faceCentre({0, 30, 20}, {10, 40, 30})[1]);
    EXPECT_EQ(PickedEntityType, SelGroup);
    EXPECT_EQ(PickedEntityHandle, top);
    EXPECT_EQ(GetTopMostFatherGrp(child), RootGrp);
    EXPECT_EQ(GetTopMostFatherGrpExcludingRootGrp(child), top);
    EXPECT_EQ(GetTopMostFatherGrp(RootGrp), 0);

    // Empty space in replace mode selects nothing and keeps the centre.
    SelObjsAvgCenter = {1, 2, 3};
    release({2, 2}, {2, 2});
    EXPECT_EQ(CurrSelEntityType, SelNone);
    EXPECT_EQ(CurrMultiSel->TotalEntities(), 0);
    EXPECT_EQ(SelObjsAvgCenter, (Point3d{1, 2, 3}));
}

TEST_F(ObjectSelection, ClickOnACameraMarkerSelectsTheCamera) {
    SceneCameras = std::make_shared<CameraGrp>();
    const int32_t cam = OMBREL_camera_create("cam");
    OMBREL_camera_set_location(cam, 0, 0, 0);
    OMBREL_camera_set_direction(cam, 0, 1, 0);
    SceneCameras->Add(cam);
    ASSERT_NE(SceneCameras->GetCamGrp(cam), 0);
    const PixelPt at = pixelOf({0, 0, 0});
    release(at, at);
    EXPECT_EQ(CurrSelEntityType, SelCamera);
    EXPECT_EQ(CurrSelEntityHandle, cam);
}

TEST_F(ObjectSelection, RubberBandModes) {
    const int32_t top = box("top", {0, -40, -10}, {10, -20, 10});
    const int32_t child = box("child", {0, 20, -10}, {10, 40, 10}, top);
    const int32_t other = box("other", {0, -10, 20}, {10, 10, 40});
    // A band around the child's points only, and one around the whole view.
    const PixelPt c1 = pixelOf({0, 20, -10}), c2 = pixelOf({10, 40, 10});
    const PixelPt childLo = {std::min(c1[0], c2[0]) - 3, std::min(c1[1], c2[1]) - 3};
    const PixelPt childHi = {std::max(c1[0], c2[0]) + 3, std::max(c1[1], c2[1]) + 3};
    const PixelPt o1 = pixelOf({0, -10, 20}), o2 = pixelOf({10, 10, 40});
    const PixelPt otherLo = {std::min(o1[0], o2[0]) - 3, std::min(o1[1], o2[1]) - 3};
    const PixelPt otherHi = {std::max(o1[0], o2[0]) + 3, std::max(o1[1], o2[1]) + 3};

    struct Case {
        const char* name;
        std::vector<int32_t> before;
        PixelPt lo, hi;
        int key;
        int32_t kind;
        std::vector<int32_t> after;
    };
    const std::vector<Case> cases = {
        {"replace over the child gives its top-level group", {other}, childLo, childHi, 0, SelGroup, {top}},
        {"replace over everything", {}, {0, 0}, {kW - 1, kH - 1}, 0, SelMultiple, {top, other}},
        {"add over the child adds the child itself", {other}, childLo, childHi, platform::vk::Control, SelMultiple,
         {other, child}},
        {"add over an already selected group", {other}, otherLo, otherHi, platform::vk::Control, SelGroup, {other}},
        {"remove over a selected group", {top, other}, otherLo, otherHi, platform::vk::Shift, SelGroup, {top}},
        {"remove over a child removes nothing of its top", {top}, childLo, childHi, platform::vk::Shift, SelGroup,
         {top}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CurrMultiSel->Reset();
        for (int32_t g : c.before) CurrMultiSel->AddGrpHandles(g);
        CurrSelEntityType = c.before.size() > 1 ? SelMultiple : c.before.empty() ? SelNone : SelGroup;
        CurrSelEntityHandle = c.before.empty() ? 0 : c.before.front();
        release(c.lo, c.hi, c.key);
        EXPECT_EQ(CurrSelEntityType, c.kind);
        EXPECT_EQ(selectedGroups(), c.after);
        if (c.kind == SelGroup) {
            EXPECT_EQ(CurrSelEntityHandle, c.after.front());
        }
    }
}

TEST_F(ObjectSelection, HiddenGroupsAndPointsBehindTheEyeAreNeverHit) {
    const int32_t seen = box("seen", {0, -10, -10}, {10, 10, 10});
    const int32_t hidden = box("hidden", {0, 20, -10}, {10, 40, 10});
    OMBREL_group_disable(hidden, 1);
    box("behind", {-300, -10, -10}, {-200, 10, 10});
    release({0, 0}, {kW - 1, kH - 1});
    EXPECT_EQ(CurrSelEntityType, SelGroup);
    EXPECT_EQ(selectedGroups(), std::vector<int32_t>{seen});
}

TEST_F(ObjectSelection, CtrlClickOnASelectedGroupAddsNoDuplicate) {
    const int32_t g = box("g", {0, -10, -10}, {10, 10, 10});
    const PixelPt centre = faceCentre({0, -10, -10}, {10, 10, 10});
    release(centre, centre);
    release(centre, centre, platform::vk::Control);
    EXPECT_EQ(CurrSelEntityType, SelGroup);
    EXPECT_EQ(selectedGroups(), std::vector<int32_t>{g});
    // Shift-click takes it away.
    release(centre, centre, platform::vk::Shift);
    EXPECT_EQ(CurrSelEntityType, SelNone);
}

TEST_F(ObjectSelection, CornersAreOrderedAndRoundedHalfToEven) {
    MouseDownX = 10.5f;
    MouseDownY = 3.5f;
    MouseUpX = 2.5f;
    MouseUpY = 7.4f;
    int32_t ux = 0, uy = 0, lx = 0, ly = 0;
    SetUpperAndLowerCorners(ux, uy, lx, ly);
    EXPECT_EQ((std::vector<int32_t>{ux, uy, lx, ly}), (std::vector<int32_t>{2, 4, 10, 7}));
}

TEST_F(ObjectSelection, OnlyTheSelectToolSelects) {
    box("g", {0, -10, -10}, {10, 10, 10});
    CurrToolMode = ToolMove;
    release({0, 0}, {kW - 1, kH - 1});
    EXPECT_EQ(CurrSelEntityType, SelNone);
    EXPECT_EQ(CurrMultiSel->TotalEntities(), 0);
}

}  // namespace
