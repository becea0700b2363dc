// The polygon counts of the status bar and the busy pointer and message.
#include "EditorFixture.h"
#include "platform/error_trap.h"

#include "core/Globals.h"
#include "core/MultipleSelection.h"
#include "mainwindow/BusyPointer.h"
#include "ombrel.h"
#include "views/PicWindow.h"

#include <QApplication>
#include <QImage>
#include <QLabel>
#include <QScreen>

#include <cstdlib>
#include <functional>

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

namespace {

// Pixels of the status panel, as the screen holds them, that differ clearly from
// the same panel in the other picture.
int changedPixels(const QImage& a, const QImage& b) {
    int changed = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) {
            const QColor p = a.pixelColor(x, y), q = b.pixelColor(x, y);
            if (std::abs(p.red() - q.red()) + std::abs(p.green() - q.green()) + std::abs(p.blue() - q.blue()) > 96)
                ++changed;
        }
    return changed;
}

}  // namespace

TEST_F(StatusTest, PleaseWaitIsOnTheScreenWhileASaveOrAMergeBlocksAndGoesAfter) {
    Form1& f = StartEditor();
    const std::string merged = SaveSmallWorldFile("merged.wld");
    OpenSmallWorld();
    f.show();
    QApplication::processEvents();
    auto* panel = f.findChild<QLabel*>("StatusBar1Panel3");
    ASSERT_NE(panel, nullptr);
    // What the window system was last given to show, not a fresh rendering.
    auto onScreen = [&] {
        const QPoint at = panel->mapTo(&f, QPoint(0, 0));
        return f.screen()->grabWindow(f.winId(), at.x(), at.y(), panel->width(), panel->height()).toImage();
    };
    const QImage idle = onScreen();
    struct Case {
        const char* name;
        std::function<bool()> block;
    };
    const Case cases[] = {
        {"save", [&] {
             Globals::CurrWorldFile = tempPath("saved.wld");
             return f.mnuSave_Click();
         }},
        {"merge", [&] {
             f.AddWorld(merged, {0, 0, 0});
             return f.AddedWorldRootGrp != 0;
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(c.block());
        EXPECT_EQ(f.StatusBarPanel(3), "");
        // No event was handled since the command began: the text on the screen
        // was painted while it blocked.
        EXPECT_GT(changedPixels(onScreen(), idle), 20);
        QApplication::processEvents();
        EXPECT_EQ(changedPixels(onScreen(), idle), 0);
    }
}
