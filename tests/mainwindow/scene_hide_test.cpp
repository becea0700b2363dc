// Hiding and showing from the View menu (F6, F7, F8) and the trees' menus: what
// each command hides or shows, in the trees and the engine, the selection it
// leaves, Undo and Redo, and the commands that change nothing (a deletion among
// them) recording nothing.
#include "scene_world.h"

#include <QAction>
#include <QGroupBox>
#include <QKeySequence>

#include <functional>
#include <set>

namespace {

using Keys = std::set<std::string>;

class SceneHideTest : public SceneWorldTest {
protected:
    void SetUp() override {
        start();
        g1 = group("g1");
        g2 = group("g2");
        top = group("top");
        nested = group("nested", top);
        c1 = camera("c1");
        c2 = camera("c2");
        l1 = light("l1");
        l2 = light("l2");
        rebuildTrees();
    }

    // The hidden entities by node key; every one's engine state agrees with its image.
    Keys hidden() {
        Keys out;
        for (int32_t g : {g1, g2, top, nested}) {
            const bool h = KeyedTree::IsHiddenImage(image(*form().trwGroupView, groupKey(g)));
            EXPECT_EQ(OMBREL_ext_group_get_own_disabled(g) != 0, h) << groupKey(g);
            if (h) out.insert(groupKey(g));
        }
        for (int32_t c : {c1, c2}) {
            const bool h = image(*form().trwCamTrackBK, cameraKey(c)) == "Cam Invisible";
            EXPECT_EQ(disabled(cameraMarker(c)), h) << cameraKey(c);
            if (h) out.insert(cameraKey(c));
        }
        for (int32_t l : {l1, l2}) {
            const bool h = image(*form().trwLight, lightKey(l)) == "Light Invisible";
            EXPECT_EQ(disabled(lightMarker(l)), h) << lightKey(l);
            // A hidden light keeps lighting the world.
            EXPECT_EQ(OMBREL_light_is_disabled(l), 0);
            if (h) out.insert(lightKey(l));
        }
        return out;
    }

    int32_t g1 = 0, g2 = 0, top = 0, nested = 0, c1 = 0, c2 = 0, l1 = 0, l2 = 0;
};

TEST_F(SceneHideTest, EachCommandHidesOrShowsWhatItSaysAndUndoAndRedoFollow) {
    Form1& f = form();
    struct Case {
        const char* name;
        std::function<void()> before;  // hidden state and selection before the command
        QAction* command;
        Keys hiddenAfter;
        int32_t kindAfter;
    };
    const Case cases[] = {
        {"Hide Selected, a group", [&] { select(SelGroup, g1); }, f.mnuHideSelected, {groupKey(g1)}, SelNone},
        {"Hide Selected, a camera", [&] { select(SelCamera, c1); }, f.mnuHideSelected, {cameraKey(c1)}, SelNone},
        {"Hide Selected, a light", [&] { select(SelLight, l1); }, f.mnuHideSelected, {lightKey(l1)}, SelNone},
        {"Hide Selected, several", [&] { selectMultiple({g1, top}, {c2}, {l2}); }, f.mnuHideSelected,
         {groupKey(g1), groupKey(top), cameraKey(c2), lightKey(l2)}, SelNone},
        {"Hide UnSelected, a camera", [&] { select(SelCamera, c1); }, f.mnuHideUnSelected,
         {groupKey(g1), groupKey(g2), groupKey(top), cameraKey(c2), lightKey(l1), lightKey(l2)}, SelCamera},
        {"Hide UnSelected, a nested group", [&] { select(SelGroup, nested); }, f.mnuHideUnSelected,
         {groupKey(g1), groupKey(g2), cameraKey(c1), cameraKey(c2), lightKey(l1), lightKey(l2)}, SelGroup},
        {"Hide Selected, several, some hidden already",
         [&] {
             selectMultiple({g2}, {c2}, {l2});
             f.mnuHideSelected->trigger();
             selectMultiple({g1, g2}, {c1, c2}, {l1, l2});
         },
         f.mnuHideSelected,
         {groupKey(g1), groupKey(g2), cameraKey(c1), cameraKey(c2), lightKey(l1), lightKey(l2)}, SelNone},
        // Hide UnSelected shows the selection, even what was hidden before, with
        // the hidden groups that hold it; Undo hides them again.
        {"Hide UnSelected, a hidden camera and a group",
         [&] {
             select(SelCamera, c2);
             f.mnuHideSelected->trigger();
             selectMultiple({g2}, {c2});
         },
         f.mnuHideUnSelected, {groupKey(g1), groupKey(top), cameraKey(c1), lightKey(l1), lightKey(l2)},
         SelMultiple},
        {"Hide UnSelected, a group inside a hidden group",
         [&] {
             select(SelGroup, top);
             f.mnuHideSelected->trigger();
             select(SelGroup, nested);
         },
         f.mnuHideUnSelected,
         {groupKey(g1), groupKey(g2), cameraKey(c1), cameraKey(c2), lightKey(l1), lightKey(l2)}, SelGroup},
        {"Hide UnSelected, a hidden group inside a hidden group",
         [&] {
             selectMultiple({top, nested});
             f.mnuHideSelected->trigger();
             select(SelGroup, nested);
         },
         f.mnuHideUnSelected,
         {groupKey(g1), groupKey(g2), cameraKey(c1), cameraKey(c2), lightKey(l1), lightKey(l2)}, SelGroup},
        {"Unhide All",
         [&] {
             selectMultiple({g1}, {c1}, {l1});
             f.mnuHideSelected->trigger();
             select(SelGroup, g2);
         },
         f.mnuUnhideAll, {}, SelNone},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        c.before();
        const Keys hiddenBefore = hidden();
        const int32_t kindBefore = Globals::CurrSelEntityType, handleBefore = Globals::CurrSelEntityHandle;
        const int depth = undoable();
        c.command->trigger();
        EXPECT_EQ(hidden(), c.hiddenAfter);
        EXPECT_EQ(Globals::CurrSelEntityType, c.kindAfter);
        EXPECT_EQ(undoable(), std::min(depth + 1, 3));

        // Undo puts back exactly what was hidden, never showing what was hidden before.
        f.mnuUndo_Click();
        EXPECT_EQ(hidden(), hiddenBefore);
        // Undoing a hide gives the selection back; undoing an unhide selects nothing.
        EXPECT_EQ(Globals::CurrSelEntityType, c.command == f.mnuUnhideAll ? SelNone : kindBefore);
        if (c.command != f.mnuUnhideAll) {
            EXPECT_EQ(Globals::CurrSelEntityHandle, handleBefore);
        }
        f.mnuRedo_Click();
        EXPECT_EQ(hidden(), c.hiddenAfter);
        EXPECT_EQ(Globals::CurrSelEntityType, c.kindAfter);

        // Everything shown again for the next case.
        f.mnuUnhideAll->trigger();
        EXPECT_TRUE(hidden().empty());
    }
}

// Hiding the selected camera or light ends its selection in the window too: its
// node is no longer bold and its panel goes; Undo brings both back, Redo takes
// them away again.
TEST_F(SceneHideTest, HidingTheSelectedCameraOrLightEndsItsSelectionInTheWindow) {
    Form1& f = form();
    struct Case {
        const char* name;
        int32_t kind, handle;
        std::function<void()> hide;
    };
    const Case cases[] = {
        {"F6 on a camera", SelCamera, c1, [&] { f.mnuHideSelected->trigger(); }},
        {"the camera menu's Hide", SelCamera, c1, [&] {
             f.trwCamTrackBK->SetSelectedItem(f.trwCamTrackBK->Item(cameraKey(c1)));
             f.mnuCamTrkBkMenuHide_Click();
         }},
        {"F6 on a light", SelLight, l1, [&] { f.mnuHideSelected->trigger(); }},
        {"the light menu's Hide", SelLight, l1, [&] { f.mnuLightMenuHide_Click(); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        KeyedTree& tree = c.kind == SelCamera ? *f.trwCamTrackBK : *f.trwLight;
        QWidget* panel = c.kind == SelCamera ? f.frmCam : f.frmLight;
        const std::string key = c.kind == SelCamera ? cameraKey(c.handle) : lightKey(c.handle);
        auto expectSelectedInWindow = [&](bool selected) {
            EXPECT_EQ(KeyedTree::Bold(tree.Item(key)), selected);
            EXPECT_EQ(tree.Item(key)->isSelected(), selected);
            EXPECT_EQ(!panel->isHidden(), selected);
        };
        select(c.kind, c.handle);
        expectSelectedInWindow(true);
        c.hide();
        ASSERT_EQ(hidden(), Keys{key});
        EXPECT_EQ(Globals::CurrSelEntityType, SelNone);
        expectSelectedInWindow(false);
        for (int round = 0; round < 3; ++round) {
            f.mnuUndo_Click();
            ASSERT_EQ(Globals::CurrSelEntityHandle, c.handle);
            expectSelectedInWindow(true);
            f.mnuRedo_Click();
            ASSERT_EQ(Globals::CurrSelEntityType, SelNone);
            expectSelectedInWindow(false);
        }
        f.mnuUnhideAll->trigger();
        ASSERT_TRUE(hidden().empty());
    }
}

TEST_F(SceneHideTest, CommandsThatWouldChangeNothingRecordNothing) {
    Form1& f = form();
    const double points[6] = {0, 0, 0, 5, 0, 0};
    const int32_t track = OMBREL_track_create("trk", 0, points, 2);
    const int32_t sky = OMBREL_background_create("sky", 0);
    rebuildTrees();
    struct Case {
        const char* name;
        std::function<void()> before;
        std::function<void()> command;
        bool deselects = false;  // the selection is let go all the same
    };
    const Case cases[] = {
        {"Hide Selected, nothing selected", [&] { select(SelNone, 0); }, [&] { f.mnuHideSelected_Click(); }},
        {"Hide Selected, a hidden group",
         [&] {
             select(SelGroup, g1);
             f.mnuHideSelected_Click();
             select(SelGroup, g1);
         },
         [&] { f.mnuHideSelected_Click(); }, true},
        {"Hide Selected, several hidden",
         [&] {
             selectMultiple({g1, nested}, {c1}, {l1});
             f.mnuHideSelected_Click();
             selectMultiple({g1, nested}, {c1}, {l1});
         },
         [&] { f.mnuHideSelected_Click(); }, true},
        {"Delete, lights and tracks only", [&] { selectMultiple({}, {}, {l1, l2}, {track}); },
         [&] { f.DeleteSelEntity(); }},
        {"Hide Selected, a track", [&] { select(SelTrack, track); }, [&] { f.mnuHideSelected_Click(); }},
        {"Hide Selected, a background", [&] { select(SelBackground, sky); }, [&] { f.mnuHideSelected_Click(); }},
        {"Hide Selected, tracks only", [&] { selectMultiple({}, {}, {}, {track}); },
         [&] { f.mnuHideSelected_Click(); }},
        {"Unhide All, nothing hidden", [] {}, [&] { f.mnuUnhideAll_Click(); }},
        {"camera Show All, nothing hidden", [] {}, [&] { f.mnuCamTrkBkMenuShowAll_Click(); }},
        {"light Show All, nothing hidden", [] {}, [&] { f.mnuLightMenuShowAll_Click(); }},
        {"Hide UnSelected, the rest hidden already",
         [&] {
             select(SelGroup, g1);
             f.mnuHideUnSelected_Click();
         },
         [&] { f.mnuHideUnSelected_Click(); }},
        {"camera Hide All, all hidden", [&] { f.mnuCamTrkBkMenuHideAll_Click(); },
         [&] { f.mnuCamTrkBkMenuHideAll_Click(); }},
        {"light Hide All, all hidden", [&] { f.mnuLightMenuHideAll_Click(); },
         [&] { f.mnuLightMenuHideAll_Click(); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        c.before();
        const Keys hiddenBefore = hidden();
        const int32_t kindBefore = Globals::CurrSelEntityType;
        const ActionUndoRedo* newestBefore = Globals::UndoRedoStack->Retrive();
        const int depth = undoable();
        c.command();
        EXPECT_EQ(Globals::UndoRedoStack->Retrive(), newestBefore);
        EXPECT_EQ(undoable(), depth);
        EXPECT_EQ(hidden(), hiddenBefore);
        EXPECT_EQ(Globals::CurrSelEntityType, c.deselects ? SelNone : kindBefore);
        f.mnuUnhideAll_Click();
    }
    // The lights and the track were left where they were.
    EXPECT_TRUE(form().trwLight->Exists(lightKey(l1)));
    EXPECT_EQ(OMBREL_ext_light_get_save_flag(l2), 1);
    EXPECT_EQ(OMBREL_ext_track_get_save_flag(track), 1);
}

TEST_F(SceneHideTest, ALightWhoseDeletionCanBeUndoneIsLeftOutOfEveryWalk) {
    Form1& f = form();
    // Any look-up of the deleted light's node would fail and show the error
    // window, which no script here expects.
    const std::vector<std::function<void()>> afterDeletion[] = {
        {[&] { f.mnuLightMenuHideAll_Click(); }, [&] { f.mnuLightMenuShowAll_Click(); }},
        {[&] {
             select(SelGroup, g1);
             f.mnuHideUnSelected_Click();
         },
         [&] { f.mnuUnhideAll_Click(); }},
    };
    for (const auto& commands : afterDeletion) {
        select(SelLight, l1);
        f.mnuLightMenuDelete_Click();
        commands[0]();
        EXPECT_EQ(image(*f.trwLight, lightKey(l2)), "Light Invisible");
        commands[1]();
        EXPECT_EQ(image(*f.trwLight, lightKey(l2)), "Light");
        EXPECT_FALSE(f.trwLight->Exists(lightKey(l1)));
        EXPECT_TRUE(disabled(lightMarker(l1)));
        EXPECT_EQ(OMBREL_ext_light_get_save_flag(l1), 0);

        // Undo down to the deletion brings the light back, shown.
        for (int i = 0; i < 3; ++i) f.mnuUndo_Click();
        EXPECT_EQ(image(*f.trwLight, lightKey(l1)), "Light");
        EXPECT_FALSE(disabled(lightMarker(l1)));
        EXPECT_TRUE(Globals::LastErrDescription.empty());
    }
}

TEST_F(SceneHideTest, TheViewMenuCommandsAnswerF6F7AndF8) {
    Form1& f = form();
    EXPECT_EQ(f.mnuHideSelected->shortcut(), QKeySequence(Qt::Key_F6));
    EXPECT_EQ(f.mnuHideUnSelected->shortcut(), QKeySequence(Qt::Key_F7));
    EXPECT_EQ(f.mnuUnhideAll->shortcut(), QKeySequence(Qt::Key_F8));
    EXPECT_EQ(f.mnuHideSelected->text(), "&Hide Selected");
    EXPECT_EQ(f.mnuHideUnSelected->text(), "H&ide UnSelected");
    EXPECT_EQ(f.mnuUnhideAll->text(), "&Unhide All");
}

TEST_F(SceneHideTest, TheTreeMenusActOnTheirOwnEntity) {
    Form1& f = form();
    // Group menu: the current group.
    select(SelGroup, g2);
    f.mnuGroupMenuHide_Click();
    EXPECT_EQ(hidden(), Keys{groupKey(g2)});
    EXPECT_EQ(Globals::CurrSelEntityType, SelNone);
    select(SelGroup, g2);
    f.mnuGroupMenuUnhide_Click();
    EXPECT_TRUE(hidden().empty());
    EXPECT_EQ(Globals::CurrSelEntityHandle, g2);
    f.mnuUndo_Click();
    EXPECT_EQ(hidden(), Keys{groupKey(g2)});

    // Camera menu: the camera of the node, whatever is selected.
    select(SelGroup, g1);
    f.trwCamTrackBK->SetSelectedItem(f.trwCamTrackBK->Item(cameraKey(c2)));
    f.mnuCamTrkBkMenuHide_Click();
    EXPECT_EQ(hidden(), (Keys{groupKey(g2), cameraKey(c2)}));
    f.mnuUndo_Click();
    EXPECT_EQ(Globals::CurrSelEntityHandle, g1);
    EXPECT_EQ(hidden(), Keys{groupKey(g2)});

    // Light menu: the current light.
    select(SelLight, l2);
    f.mnuLightMenuHide_Click();
    EXPECT_EQ(hidden(), (Keys{groupKey(g2), lightKey(l2)}));
    select(SelLight, l2);
    f.mnuLightMenuUnhide_Click();
    EXPECT_EQ(hidden(), Keys{groupKey(g2)});
    EXPECT_EQ(Globals::CurrSelEntityHandle, l2);
}

}  // namespace
