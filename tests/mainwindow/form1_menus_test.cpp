// Menu state by whether a world is open, and the view toggles.
#include "EditorFixture.h"

#include "core/Globals.h"
#include "ombrel.h"
#include "undo/ActionCodes.h"
#include "undo/ActionUndoRedo.h"
#include "undo/ActionUndoRedo_Stack.h"
#include "undo/ObjectTransformActions.h"
#include "views/PicWindow.h"

#include <QAction>
#include <QComboBox>
#include <QGroupBox>
#include <QKeySequence>
#include <QMenu>
#include <QStatusBar>
#include <QTabWidget>
#include <QToolBar>

#include <array>
#include <memory>

namespace {

std::vector<QAction*> worldItems(Form1& f) {
    return {f.mnuCloseFile,    f.mnuSave,           f.mnuSaveAs,
            f.mnuSelectAll,      f.mnuSelectInvert, f.mnuHold,
            f.mnuFetch,        f.mnuHideSelected,   f.mnuHideUnSelected, f.mnuUnhideAll,
            f.mnuRedrawAllViews, f.mnuViewerMode,   f.mnuCreate->menuAction()};
}

std::vector<QAction*> alwaysOnItems(Form1& f) {
    return {f.mnuNew, f.mnuOpenFile, f.mnuExit, f.mnuToolbar, f.mnuStatusBar, f.mnuWorkspace, f.mnuResetViews,
            f.mnuExpertMode, f.mnuReference, f.mnuTutorial, f.mnuTip, f.mnuAbout, f.mnuPreference};
}

void expectWorldItems(Form1& f, bool enabled) {
    for (QAction* a : worldItems(f)) EXPECT_EQ(a->isEnabled(), enabled) << a->objectName().toStdString();
    for (QAction* a : alwaysOnItems(f)) EXPECT_TRUE(a->isEnabled()) << a->objectName().toStdString();
    EXPECT_FALSE(f.mnuGrp->menuAction()->isEnabled());
}

}  // namespace

using MenuTest = EditorFixture;

TEST_F(MenuTest, MenusFollowOnlyWhetherAWorldIsOpen) {
    Form1& f = StartEditor();
    expectWorldItems(f, false);
    OpenSmallWorld();
    expectWorldItems(f, true);
    // A selection changes nothing in the rule.
    Globals::CurrSelEntityType = SelGroup;
    f.mnu_Update();
    expectWorldItems(f, true);
    platform_.prompts.answer(platform::MsgResult::No);  // "Save changes?"
    f.mnuCloseFile->trigger();
    EXPECT_FALSE(f.WorldLoaded);
    expectWorldItems(f, false);
}

// The Edit menu's Undo and Redo follow the history: hidden until a record is
// pushed, and they replay the record on the open world.
TEST_F(MenuTest, UndoAndRedoItemsReplayTheHistory) {
    Form1& f = StartEditor();
    const int32_t group = OpenSmallWorld();
    EXPECT_FALSE(f.mnuUndo->isVisible());
    EXPECT_FALSE(f.mnuRedo->isVisible());

    std::array<double, 3> from{}, to{};
    OMBREL_group_get_location(group, &from[0], &from[1], &from[2]);
    to = {from[0] + 10, from[1] - 5, from[2] + 2};
    OMBREL_group_set_location(group, to.data());
    auto record = std::make_unique<ActionUndoRedo>();
    record->ActionType = ActMove;
    record->SetActionObjects();
    record->Move->SetMovedEntity(SelGroup, group);
    record->Move->SetFrmLoc(from);
    record->Move->SetToLoc(to);
    Globals::UndoRedoStack->Push(std::move(record));
    EXPECT_TRUE(f.mnuUndo->isVisible());

    const auto location = [group] {
        std::array<double, 3> at{};
        OMBREL_group_get_location(group, &at[0], &at[1], &at[2]);
        return at;
    };
    // The keyboard reaches them as Ctrl+Z and Ctrl+A (not Ctrl+Y).
    EXPECT_EQ(f.mnuUndo->shortcut(), QKeySequence("Ctrl+Z"));
    EXPECT_EQ(f.mnuRedo->shortcut(), QKeySequence("Ctrl+A"));
    f.mnuUndo->trigger();
    EXPECT_EQ(location(), from);
    EXPECT_TRUE(f.mnuRedo->isVisible());
    f.mnuRedo->trigger();
    EXPECT_EQ(location(), to);
}

TEST_F(MenuTest, MenuBarHasTheCaptionsAndNamesOfItsItems) {
    Form1& f = StartEditor();
    struct Case {
        QAction* item;
        const char* name;
        const char* caption;
    };
    const Case cases[] = {
        {f.mnuFile->menuAction(), "mnuFile", "&File"},      {f.mnuAddWorld, "mnuAddWorld", "Add &World"},
        {f.mnuSaveAs, "mnuSaveAs", "Save &As"},             {f.mnuSelectInvert, "mnuSelectInvert", "Select &Invert"},
        {f.mnuHideUnSelected, "mnuHideUnSelected", "H&ide UnSelected"},
        {f.mnuRedrawAllViews, "mnuRedrawAllViews", "Re&draw All Views "},
        {f.mnuExpertMode, "mnuExpertMode", "E&xpert Mode"}, {f.mnuGrpDelete, "mnuGrpDelete", "D&elete"},
        {f.mnuStdGroups->menuAction(), "mnuStdGroups", "&Standard Groups"}, {f.mnuCone, "mnuCone", "C&one"},
        {f.mnuCustom, "mnuCustom", "Cust&om"},              {f.mnuLightMaps, "mnuLightMaps", "Light &Maps"},
        {f.mnuTip, "mnuTip", "Tip &of the day"},            {f.mnuCamTrkBkMenuSaveCurrent, "mnuCamTrkBkMenuSaveCurrent", "&Save Current"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.item->objectName().toStdString(), c.name);
        EXPECT_EQ(c.item->text().toStdString(), c.caption);
    }
}

TEST_F(MenuTest, WireframeToggleWithNoWorldChangesNothing) {
    Form1& f = StartEditor();
    QAction* button = f.Toolbar1_Button("Wireframe");
    button->trigger();  // the user's click presses the button first
    EXPECT_TRUE(Globals::ShowBndBox);
    EXPECT_FALSE(f.ShowWireframe);
    EXPECT_EQ(f.ToolbarButtonValue("Wireframe"), 0);
    f.ToggleWireframe();  // as the F2 key calls it
    EXPECT_TRUE(Globals::ShowBndBox);
    EXPECT_FALSE(f.ShowWireframe);
    EXPECT_EQ(f.ToolbarButtonValue("Wireframe"), 0);
}

TEST_F(MenuTest, WireframeToggleWithAWorldSwitchesTheOverlayAndTheButtonTogether) {
    Form1& f = StartEditor();
    OpenSmallWorld();
    f.Toolbar1_Button("Wireframe")->trigger();
    EXPECT_FALSE(Globals::ShowBndBox);
    EXPECT_TRUE(f.ShowWireframe);
    EXPECT_EQ(f.ToolbarButtonValue("Wireframe"), 1);
    f.ToggleWireframe();
    EXPECT_TRUE(Globals::ShowBndBox);
    EXPECT_FALSE(f.ShowWireframe);
    EXPECT_EQ(f.ToolbarButtonValue("Wireframe"), 0);
}

TEST_F(MenuTest, ToolbarStatusBarWorkspaceAndExpertModeToggle) {
    Form1& f = StartEditor();
    f.mnuStatusBar->trigger();
    EXPECT_TRUE(f.statusBar()->isHidden());
    EXPECT_FALSE(f.mnuStatusBar->isChecked());
    f.mnuStatusBar->trigger();
    EXPECT_FALSE(f.statusBar()->isHidden());
    EXPECT_TRUE(f.mnuStatusBar->isChecked());

    struct Case {
        bool workspaceBefore, toolbarBefore, workspaceAfter, toolbarAfter;
    };
    const Case cases[] = {{true, true, false, false}, {false, false, true, true}, {true, false, false, true},
                          {false, true, true, false}};
    for (const Case& c : cases) {
        if (f.tabWorkspace->isHidden() == c.workspaceBefore) f.mnuWorkspace->trigger();
        if (f.Toolbar1->isHidden() == c.toolbarBefore) f.mnuToolbar->trigger();
        f.mnuExpertMode->trigger();
        EXPECT_EQ(!f.tabWorkspace->isHidden(), c.workspaceAfter);
        EXPECT_EQ(!f.Toolbar1->isHidden(), c.toolbarAfter);
        EXPECT_EQ(f.mnuWorkspace->isChecked(), c.workspaceAfter);
        EXPECT_EQ(f.mnuToolbar->isChecked(), c.toolbarAfter);
    }
}

TEST_F(MenuTest, HelpItemsOpenTheHelpFileBesideTheProgram) {
    Form1& f = StartEditor();
    platform_.shell.setSucceeds(false);  // a missing handler is ignored
    f.mnuReference->trigger();
    f.mnuTutorial->trigger();
    ASSERT_EQ(platform_.shell.calls().size(), 2u);
    for (const auto& call : platform_.shell.calls()) EXPECT_EQ(call.target, programFolder() + "TALVORA Help.chm");
}

TEST_F(MenuTest, CreateMenuPresetsTheCreatePanel) {
    Form1& f = StartEditor();
    OpenSmallWorld();
    f.cmbObj->setCurrentText("Edit Geometry");
    f.tabWorkspace->setCurrentIndex(3);
    f.mnuTorus->trigger();
    EXPECT_EQ(f.tabWorkspace->currentIndex(), 1);
    EXPECT_EQ(f.cmbObj->currentText(), "New Object");
    EXPECT_EQ(f.cmbNewObjType->currentText(), "TORUS");
    EXPECT_FALSE(f.frmNewObj->isHidden());
}
