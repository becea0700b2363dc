// The polygon counts of the status bar and the busy pointer.
#include "EditorFixture.h"
#include "platform/error_trap.h"

#include "core/Globals.h"
#include "core/MultipleSelection.h"
#include "mainwindow/BusyPointer.h"
#include "ombrel.h"
#include "views/PicWindow.h"

using StatusTest = EditorFixture;

TEST_F(StatusTest, CountsTheWorldAndTheSelection) {
    Form1& f = StartEditor();
    const int32_t box = OpenSmallWorld();
    const int32_t other = OMBREL_group_create("other");
    OMBREL_group_set_father_group(other, Globals::RootGrp);
    const int32_t p = OMBREL_polygon_create();
    for (double x : {0.0, 1.0, 1.0}) {
        const double record[6] = {x, x == 0 ? 0.0 : 1.0, 0, 0, 0, 100};
        OMBREL_polygon_add_point(p, record);
    }
    OMBREL_polygon_set_group(p, other);
    OMBREL_engine_add_polygon(p);
    struct Case {
        int32_t kind;
        int32_t handle;
        std::vector<int32_t> groups;
        QString selected;
    };
    const Case cases[] = {{SelGroup, box, {}, "2"},
                          {SelMultiple, 0, {box, other}, "3"},
                          {SelMultiple, 0, {}, "0"},
                          {SelCamera, 5, {}, ""},
                          {SelNone, 0, {}, ""}};
    for (const Case& c : cases) {
        Globals::CurrSelEntityType = c.kind;
        Globals::CurrSelEntityHandle = c.handle;
        Globals::CurrMultiSel->Reset();
        for (int32_t g : c.groups) Globals::CurrMultiSel->AddGrpHandles(g);
        f.UpdateStatusBar();
        EXPECT_EQ(f.StatusBarPanel(1), "3");
        EXPECT_EQ(f.StatusBarPanel(2), c.selected) << c.kind;
    }
}

TEST_F(StatusTest, NestedBusyCallsRestoreThePointerFromBeforeTheFirst) {
    Form1& f = StartEditor();
    f.SetMousePtrToHourGlass(false);
    f.SetMousePtrToHourGlass(false);
    EXPECT_EQ(f.StatusBarPanel(3), "Please wait!");
    for (PicWindow* view : f.picWindow) EXPECT_EQ(view->MousePointer(), 11);
    f.SetMousePtrToHourGlass(true);
    EXPECT_EQ(f.StatusBarPanel(3), "");
    for (PicWindow* view : f.picWindow) {
        EXPECT_EQ(view->MousePointer(), 99);
        EXPECT_EQ(view->MouseIcon(), "Select");
    }
}

TEST_F(StatusTest, TheBusyScopeEndsOnAnError) {
    Form1& f = StartEditor();
    EXPECT_THROW(
        {
            BusyPointer busy(f);
            throw platform::EditorError("failed");
        },
        platform::EditorError);
    EXPECT_EQ(f.StatusBarPanel(3), "");
    EXPECT_EQ(f.picWindow[0]->MousePointer(), 99);
}
