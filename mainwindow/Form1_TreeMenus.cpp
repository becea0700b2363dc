// The pop-up menus of the group, light and camera trees: which items show for
// the node the menu opens on (hidden, never greyed), and the group menu's own
// commands. Deleting and hiding are with the deletion and hiding commands.
#include "Form1.h"

#include "core/FakeDeletion.h"
#include "core/GroupHierarchy.h"
#include "core/Globals.h"
#include "core/SelectionChange.h"
#include "ombrel.h"
#include "undo/ActionUndoRedo.h"
#include "undo/ActionUndoRedo_Stack.h"
#include "undo/EntityDeletion.h"
#include "undo/HideUnhide.h"
#include "undo/UngroupAction.h"
#include "views/ViewRedraw.h"

#include <QAction>
#include <QMenu>

namespace {

// The group menu works on the current group.
int32_t currentGroup() { return Globals::CurrentLiveEntity(SelGroup); }

}  // namespace

// ---- group tree menu

void Form1::prepareGroupMenu() {
    using namespace Globals;
    const int32_t group = currentGroup();
    if (group == 0) return;
    const bool hidden = IsGrpHidden(group);
    mnuGroupMenuUnhide->setVisible(hidden);
    mnuGroupMenuHide->setVisible(!hidden);
    mnuGroupMenuUngroup->setVisible(OMBREL_group_get_first_included_group(group) != 0);
    mnuGroupMenuRemoveFrmGrp->setVisible(OMBREL_group_get_father_group(group) != RootGrp);
}

void Form1::mnuGroupMenuRemoveFrmGrp_Click() {
    using namespace Globals;
    const int32_t group = currentGroup();
    if (group == 0) return;
    const int32_t oldFather = OMBREL_group_get_father_group(group);
    // Already at the top level (or out of the world): nothing moves, nothing is recorded.
    if (oldFather == RootGrp || oldFather == 0) return;
    const int32_t oldPlace = GroupPlace(group);
    ChangeFatherGroup(group, RootGrp);
    trwGroupView->SetSelectedItem(trwGroupView->Item(KeyedTree::NodeKey("Group", group)));
    treeViewHighlightCurrentSelectedAndDeHighlightPrevSelected();
    auto record = std::make_unique<ActionUndoRedo>();
    record->ActionType = ActChangeFatherGrp;
    record->SetActionObjects();
    record->ChngFatherGrp->SetParameters(oldFather, RootGrp, group, 1, oldPlace);
    UndoRedoStack->Push(std::move(record));
}

void Form1::mnuGroupMenuUngroup_Click() {
    if (const int32_t group = currentGroup()) undo::UngroupWithUndo(group);
}

void Form1::mnuGroupMenuRemoveLight_Click() {
    const int32_t group = currentGroup();
    if (group == 0) return;
    OMBREL_group_remove_light(group);
    UpdateCameras();
}

void Form1::mnuGroupMenuRemoveLightMaps_Click() {
    const int32_t group = currentGroup();
    if (group == 0) return;
    for (int32_t p = OMBREL_group_get_first_polygon(group); p != 0; p = OMBREL_group_get_next_polygon(group, p))
        OMBREL_polygon_set_second_bitmap(p, 0);
    UpdateCameras();
}

void Form1::mnuGroupMenuProperties_Click() {
    if (ShowGrpProperties) ShowGrpProperties();
}

// ---- light tree menu

void Form1::SetLightMenuItems() {
    QTreeWidgetItem* node = trwLight->SelectedItem();
    if (!node) return;
    const std::string key = KeyedTree::Key(node);
    const bool root = key == "LIGHT";
    mnuLightMenuNew->setVisible(root);
    mnuLightMenuDelete->setVisible(!root);
    for (QAction* a : {mnuLightMenuShowAll, mnuLightMenuHideAll, mnuLightMenuHide, mnuLightMenuUnhide})
        a->setVisible(false);
    if (root) {
        mnuLightMenuShowAll->setVisible(true);
        mnuLightMenuHideAll->setVisible(true);
    }
    if (!node->parent()) return;
    const bool hidden = IsLightHidden(KeyedTree::HandleOf(key, "Light"));
    mnuLightMenuHide->setVisible(!hidden);
    mnuLightMenuUnhide->setVisible(hidden);
}

void Form1::mnuLightMenuNew_Click() { CreateNewLight(0); }

// ---- camera, track and background tree menu

void Form1::SetCamTrkBkMenuItems() {
    QTreeWidgetItem* node = trwCamTrackBK->SelectedItem();
    if (!node) return;
    const std::string key = KeyedTree::Key(node);
    const bool folder = key == "BACKGROUND" || key == "TRACK" || key == "CAMERA";
    mnuCamTrkBkMenuNew->setVisible(folder);
    mnuCamTrkBkMenuDelete->setVisible(!folder);
    for (QAction* a : {mnuCamTrkBkMenuShowAll, mnuCamTrkBkMenuHideAll, mnuCamTrkBkMenuHide, mnuCamTrkBkMenuUnhide,
                       mnuCamTrkBkMenuSaveCurrent})
        a->setVisible(false);
    if (key == "CAMERA") {
        mnuCamTrkBkMenuShowAll->setVisible(true);
        mnuCamTrkBkMenuHideAll->setVisible(true);
    }
    if (node->parent() && KeyedTree::Key(node->parent()) == "CAMERA") {
        const bool hidden = IsCamHidden(KeyedTree::HandleOf(key, "Camera"));
        mnuCamTrkBkMenuHide->setVisible(!hidden);
        mnuCamTrkBkMenuUnhide->setVisible(hidden);
        mnuCamTrkBkMenuSaveCurrent->setVisible(true);
    }
}

void Form1::mnuCamTrkBkMenuNew_Click() {
    QTreeWidgetItem* node = trwCamTrackBK->SelectedItem();
    const std::string key = node ? KeyedTree::Key(node) : std::string();
    if (key == "CAMERA") CreateNewCamera();
    if (key == "TRACK") StartTrackCreation();
    if (key == "BACKGROUND") CreateNewBackground();
    Globals::ThingsToDoOnSelectedEntityChange();
}
