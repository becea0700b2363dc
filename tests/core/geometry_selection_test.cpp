#include "core/PointSelection.h"
#include "core/PolygonSelection.h"
#include "core/SelectAllInvert.h"
#include "core/WeldedPointsProcedures.h"
#include "undo/ActionUndoRedo.h"
#include "undo/ActionUndoRedo_Stack.h"
#include "undo/SelectionGestures.h"
#include "undo/UndoRedoCommands.h"

#include "platform/gdi.h"
#include "platform/key_state.h"
#include "platform/virtual_keys.h"
#include "selection_world.h"

#include <algorithm>
#include <memory>
#include <set>
#include <string>
#include <vector>

namespace {

using namespace Globals;

// Two squares side by side in the plane x = 0, facing the camera and sharing the
// edge y = 0, and a third square far to the right; the group is being edited.
class GeometrySelection : public SelectionWorld {
protected:
    void SetUp() override {
        SelectionWorld::SetUp();
        if (IsSkipped()) return;
        group_ = OMBREL_group_create("edited");
        OMBREL_group_set_father_group(group_, RootGrp);
        a_ = square(-20, 0);
        b_ = square(0, 20);
        c_ = square(40, 60);
        CurrSelEntityType = SelGroup;
        CurrSelEntityHandle = group_;
        UndoRedoStack = std::make_shared<ActionUndoRedo_Stack>();
        editing("Point");
        BuildWeldedPoints(group_);
    }
    void TearDown() override {
        UndoRedoStack.reset();
        platform::clearKeyState();
        SelectionWorld::TearDown();
    }

    int32_t square(double y0, double y1) {
        return makePolygon(group_, {{0, y0, -10}, {0, y1, -10}, {0, y1, 10}, {0, y0, 10}});
    }
    void editing(const std::string& subMode) {
        auto& h = core::windowHooks();
        h.workspacePage = [] { return 1; };
        h.objModeText = [] { return std::string("Edit Geometry"); };
        h.editGeomText = [subMode] { return subMode; };
    }
    void release(const PixelPt& down, const PixelPt& up, int key = 0) {
        platform::clearKeyState();
        if (key) platform::setKeyHeld(key, true);
        gesture(down, up);
        if (core::windowHooks().editGeomText() == "Point") SelectGrpPts();
        else SelectGrpPols();
        platform::clearKeyState();
    }
    static std::vector<int32_t> polygonsOf(int32_t group) {
        std::vector<int32_t> out;
        for (int32_t p = OMBREL_group_get_first_polygon(group); p != 0; p = OMBREL_group_get_next_polygon(group, p))
            out.push_back(p);
        return out;
    }
    template <class List>
    static std::vector<int32_t> listOf(const List& list, int32_t count) {
        std::vector<int32_t> out;
        for (int32_t i = 1; i <= count; ++i) out.push_back(list[i]);
        return out;
    }
    static int32_t pointAt(int32_t polygon, const P3& where) {
        for (int32_t pt = OMBREL_polygon_get_first_point(polygon); pt != 0; pt = OMBREL_point_get_next_point(pt)) {
            P3 p = {0, 0, 0};
            OMBREL_point_get_xyz(pt, p.data());
            if (p == where) return pt;
        }
        return 0;
    }

    int32_t group_ = 0, a_ = 0, b_ = 0, c_ = 0;
};

TEST_F(GeometrySelection, ClickOnASharedCornerTakesEveryPointThere) {
    const PixelPt corner = pixelOf({0, 0, 10});
    release(corner, corner);
    const std::vector<int32_t> pts = listOf(SelPts, NumSelPts);
    EXPECT_EQ(pts, (std::vector<int32_t>{pointAt(a_, {0, 0, 10}), pointAt(b_, {0, 0, 10})}));
    EXPECT_EQ(listOf(SelPtsPols, NumSelPtsPols), (std::vector<int32_t>{a_, b_}));
    EXPECT_EQ(SelPtsAvgCenter, (Point3d{0, 0, 10}));
    // A Ctrl drag over the same corner adds nothing twice, a Shift drag elsewhere
    // removes nothing, and every gesture leaves a record.
    release({corner[0] - 4, corner[1] - 4}, {corner[0] + 4, corner[1] + 4}, platform::vk::Control);
    release({1, 1}, {5, 5}, platform::vk::Shift);
    EXPECT_EQ(listOf(SelPts, NumSelPts), pts);
    for (int i = 0; i < 3; ++i) {
        ActionUndoRedo* r = UndoRedoStack->Pop();
        ASSERT_NE(r, nullptr);
        EXPECT_EQ(r->ActionType, ActSelectPts);
    }
}

TEST_F(GeometrySelection, DeleteRemovesExactlyThePolygonsOfPointsAddedOutOfOrder) {
    const PixelPt bCorner = pixelOf({0, 20, 10}), aCorner = pixelOf({0, -20, -10});
    release(bCorner, bCorner);
    release(aCorner, aCorner, platform::vk::Control);
    ASSERT_EQ(listOf(SelPts, NumSelPts), (std::vector<int32_t>{pointAt(b_, {0, 20, 10}), pointAt(a_, {0, -20, -10})}));
    DeleteSelPtsPols();
    EXPECT_EQ(polygonsOf(group_), std::vector<int32_t>{c_});
    EXPECT_EQ(NumSelPts, 0);
    undo::UndoCommand();
    std::vector<int32_t> back = polygonsOf(group_);
    std::sort(back.begin(), back.end());
    EXPECT_EQ(back, (std::vector<int32_t>{a_, b_, c_}));

    // Undoing the Ctrl-add leaves only b's corner, and Delete then takes b alone.
    undo::UndoCommand();
    ASSERT_EQ(listOf(SelPts, NumSelPts), std::vector<int32_t>{pointAt(b_, {0, 20, 10})});
    DeleteSelPtsPols();
    std::vector<int32_t> left = polygonsOf(group_);
    std::sort(left.begin(), left.end());
    EXPECT_EQ(left, (std::vector<int32_t>{a_, c_}));
}

TEST_F(GeometrySelection, PolygonClicksBandsAndTheirWeldedEntries) {
    editing("Polygon");
    const PixelPt inA = pixelOf({0, -10, 0});
    const PixelPt b1 = pixelOf({0, 5, -5}), b2 = pixelOf({0, 15, 5});
    release(inA, inA);
    EXPECT_EQ(listOf(SelPols, NumSelPols), std::vector<int32_t>{a_});
    EXPECT_EQ(NumSelPolsRelatedPts, 4);
    // A band over no corner of b selects nothing; over one corner it selects b.
    release(b1, b2, platform::vk::Control);
    EXPECT_EQ(NumSelPols, 1);
    const PixelPt corner = pixelOf({0, 20, 10});
    release({corner[0] - 2, corner[1] - 2}, {corner[0] + 2, corner[1] + 2}, platform::vk::Control);
    EXPECT_EQ(listOf(SelPols, NumSelPols), (std::vector<int32_t>{a_, b_}));
    // Six positions, the two shared corners once each.
    const std::vector<int32_t> related = listOf(SelPolsRelatedPts, NumSelPolsRelatedPts);
    EXPECT_EQ(related.size(), 6u);
    EXPECT_EQ(std::set<int32_t>(related.begin(), related.end()).size(), 6u);
    release(inA, inA, platform::vk::Shift);
    EXPECT_EQ(listOf(SelPols, NumSelPols), std::vector<int32_t>{b_});
    // A click on empty space empties the selection and the welded entries with it.
    release({1, 1}, {1, 1});
    EXPECT_EQ(NumSelPols, 0);
    EXPECT_EQ(NumSelPolsRelatedPts, 0);
    ActionUndoRedo* last = UndoRedoStack->Pop();
    ASSERT_NE(last, nullptr);
    EXPECT_EQ(last->ActionType, ActSelectPols);
}

TEST_F(GeometrySelection, SelectAllAndInvertOfPointsAndPolygons) {
    SelectAllGrpPts();
    EXPECT_EQ(NumSelPts, 12);  // a shared corner once per polygon
    SelectAllGrpPols();
    EXPECT_EQ(listOf(SelPols, NumSelPols), (std::vector<int32_t>{a_, b_, c_}));
    InvertGrpPols();
    EXPECT_EQ(NumSelPols, 0);

    NumSelPts = 0;
    SelPts[++NumSelPts] = pointAt(b_, {0, 20, 10});
    const std::vector<int32_t> first = listOf(SelPts, NumSelPts);
    InvertGrpPts();
    UpdateSelPtsPolArray();
    EXPECT_EQ(NumSelPts, 11);
    EXPECT_EQ(listOf(SelPtsPols, NumSelPtsPols), (std::vector<int32_t>{a_, b_, c_}));
    InvertGrpPts();
    UpdateSelPtsPolArray();
    EXPECT_EQ(listOf(SelPts, NumSelPts), first);
    EXPECT_EQ(listOf(SelPtsPols, NumSelPtsPols), std::vector<int32_t>{b_});
}

TEST_F(GeometrySelection, SelectedPointsAndPolygonsAreDrawnOnlyInTheirMode) {
    platform::DeviceContext dc(buffer_.data(), kW, kH, kW * 4);
    CreateOverlayPens();
    OverlayDC = &dc;
    const PixelPt corner = pixelOf({0, -20, -10});
    NumSelPts = 0;
    SelPts[++NumSelPts] = pointAt(a_, {0, -20, -10});
    editing("Polygon");
    DrawSelectedPts(0);
    EXPECT_NE(platform::GetPixel(dc, corner[0] - 2, corner[1]), platform::rgb(255, 0, 0));
    editing("Point");
    DrawSelectedPts(0);
    EXPECT_EQ(platform::GetPixel(dc, corner[0] - 2, corner[1]), platform::rgb(255, 0, 0));
    OverlayDC = nullptr;
    DeleteOverlayPens();
}

}  // namespace
