#include "core/MultipleSelection.h"
#include "core/SelectionChange.h"
#include "undo/ActionUndoRedo.h"
#include "undo/ActionUndoRedo_Stack.h"
#include "undo/SelectionGestures.h"

#include "selection_world.h"

#include <memory>
#include <string>
#include <vector>

namespace {

using namespace Globals;

// The window's side of the path, recorded call by call.
class SelectionChange : public SelectionWorld {
protected:
    void SetUp() override {
        SelectionWorld::SetUp();
        if (IsSkipped()) return;
        auto& h = core::windowHooks();
        h.selectionChangedUi = [this] { calls.push_back("trees"); };
        h.leaveSelectionPanel = [this](int32_t prev, int32_t curr) {
            calls.push_back("leave " + std::to_string(prev) + ">" + std::to_string(curr));
        };
        h.enterSelectionPanel = [this](int32_t kind, int32_t) {
            calls.push_back("enter " + std::to_string(kind));
            return !(kind == SelCamera && cameraPanelUp);
        };
        h.enableGrpMenuItems = [this] { calls.push_back("menu"); };
        h.updateStatusBar = [this] { calls.push_back("status"); };
        h.updateCameras = [this] { calls.push_back("redraw"); };
        UndoRedoStack = std::make_shared<ActionUndoRedo_Stack>();
    }
    void TearDown() override {
        UndoRedoStack.reset();
        SelectionWorld::TearDown();
    }
    void select(int32_t kind, int32_t handle) {
        SetPrevSelEntityToCurrSelEntity();
        CurrSelEntityType = kind;
        CurrSelEntityHandle = handle;
        RecordSelectionChange();
        calls.clear();
        ThingsToDoOnSelectedEntityChange();
    }

    std::vector<std::string> calls;
    bool cameraPanelUp = false;
};

TEST_F(SelectionChange, AChangeClearsPointsAndWalksEveryStepAnUnchangedOneOnlyRefreshes) {
    const int32_t g = box("g", {0, -10, -10}, {10, 10, 10});
    const int32_t h = box("h", {0, 20, -10}, {10, 40, 10});
    select(SelGroup, g);
    NumSelPts = 3;
    NumSelPols = 2;
    const ActionUndoRedo* recorded = UndoRedoStack->Retrive();
    ASSERT_NE(recorded, nullptr);
    EXPECT_EQ(recorded->ActionType, ActSelect);

    // The same group again: nothing recorded, the counts kept, menu and status only.
    select(SelGroup, g);
    EXPECT_EQ(UndoRedoStack->Retrive(), recorded);
    EXPECT_EQ(NumSelPts, 3);
    EXPECT_EQ(calls, (std::vector<std::string>{"menu", "status"}));

    select(SelGroup, h);
    EXPECT_NE(UndoRedoStack->Retrive(), recorded);
    EXPECT_EQ(NumSelPts, 0);
    EXPECT_EQ(NumSelPols, 0);
    EXPECT_EQ(calls, (std::vector<std::string>{"trees", "leave 1>1", "enter 1", "menu", "status"}));
    // The multiple selection mirrors the one group.
    ASSERT_EQ(CurrMultiSel->TotalEntities(), 1);
    EXPECT_EQ(CurrMultiSel->GetGrp(1), h);
}

TEST_F(SelectionChange, ACameraPanelAlreadyUpEndsThePath) {
    const int32_t cam1 = OMBREL_camera_create("one"), cam2 = OMBREL_camera_create("two");
    select(SelCamera, cam1);
    EXPECT_EQ(calls, (std::vector<std::string>{"trees", "leave 0>2", "enter 2", "redraw", "menu", "status"}));
    cameraPanelUp = true;
    select(SelCamera, cam2);
    EXPECT_EQ(calls, (std::vector<std::string>{"trees", "leave 2>2", "enter 2"}));
}

TEST_F(SelectionChange, AMultipleSelectionRecomputesItsCentreAndRecordsOnlyWhenItChanged) {
    const int32_t g = box("g", {0, -10, -10}, {10, 10, 10});
    const int32_t h = box("h", {0, 20, -10}, {10, 40, 10});
    OMBREL_group_set_rotate_reference_point(g, std::array<double, 3>{0, 0, 0}.data());
    OMBREL_group_set_rotate_reference_point(h, std::array<double, 3>{10, 20, 30}.data());
    CurrMultiSel->AddGrpHandles(g);
    CurrMultiSel->AddGrpHandles(h);
    select(SelMultiple, 0);
    EXPECT_EQ(SelObjsAvgCenter, (Point3d{5, 10, 15}));
    const ActionUndoRedo* recorded = UndoRedoStack->Retrive();
    select(SelMultiple, 0);
    EXPECT_EQ(UndoRedoStack->Retrive(), recorded);
    EXPECT_EQ(calls, (std::vector<std::string>{"menu", "status"}));
}

}  // namespace
