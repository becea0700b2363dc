// The Group menu: which of its items the selection offers, grouping the selected
// groups under a new group, ungrouping, attaching, detaching, flattening a
// hierarchy, deleting and the properties dialog; and the selection window by
// name. Also what the selection window and the properties dialog reach of this
// window.
#include "Form1.h"

#include "core/Globals.h"
#include "core/GroupHierarchy.h"
#include "core/MultipleSelection.h"
#include "core/SelectionChange.h"
#include "core/StringProcedures.h"
#include "core/WindowHooks.h"
#include "ombrel.h"
#include "platform/error_trap.h"
#include "platform/prompts.h"
#include "scene/GroupNames.h"
#include "scene/GroupTreeWalk.h"
#include "scene/formGrpProperties.h"
#include "scene/formSelectionWindow.h"
#include "undo/ActionUndoRedo_Stack.h"
#include "undo/EntityDeletion.h"
#include "undo/UngroupAction.h"
#include "views/ViewRedraw.h"

#include <QAction>
#include <QCheckBox>
#include <QMenu>
#include <QPushButton>

#include <memory>

namespace {

std::string groupKey(int32_t group) { return KeyedTree::NodeKey("Group", group); }

}  // namespace

void Form1::connectGroupCommands() {
    auto item = [this](QAction* action, void (Form1::*handler)()) {
        connect(action, &QAction::triggered, this, platform::trapped(this, [this, handler] { (this->*handler)(); }));
    };
    item(mnuGroup, &Form1::mnuGroup_Click);
    item(mnuUngroup, &Form1::mnuUngroup_Click);
    item(mnuAttach, &Form1::mnuAttach_Click);
    item(mnuDetach, &Form1::mnuDetach_Click);
    item(mnuUngroupAll, &Form1::mnuUngroupAll_Click);
    item(mnuGrpDelete, &Form1::mnuGrpDelete_Click);
    item(mnuProperties, &Form1::mnuProperties_Click);
    connect(cmdReducePols, &QPushButton::clicked, this, platform::trapped(this, [this] { cmdReducePols_Click(); }));
    connect(cmdTriangulate, &QPushButton::clicked, this, platform::trapped(this, [this] { cmdTriangulate_Click(); }));
    // The user's click; the program ticking the box (a selected group's state) changes nothing.
    connect(chkGrpDyn, &QCheckBox::clicked, this, platform::trapped(this, [this] { chkGrpDyn_Click(); }));

    ShowGrpProperties = [this] { mnuProperties_Click(); };
    ShowSelectByNameWindow = [this] {
        if (!WorldLoaded) return;
        scene::ShowSelectionWindow(this, -1, -1, -1, 0, formSelectionWindow::SelectByName, 2);
    };

    auto& h = core::windowHooks();
    h.enableGrpMenuItems = [this] { EnableGrpMenuItems(); };
    h.treeEntities = [this](int32_t kind) {
        std::vector<core::TreeEntity> out;
        auto take = [&out](const QTreeWidgetItem* node, const std::string& word) {
            if (const int32_t handle = KeyedTree::HandleOf(KeyedTree::Key(node), word))
                out.push_back({handle, node->text(0).toStdString()});
        };
        if (kind == SelGroup) {
            out.reserve(static_cast<std::size_t>(trwGroupView->topLevelItemCount()));
            for (int i = 0; i < trwGroupView->topLevelItemCount(); ++i) take(trwGroupView->topLevelItem(i), "Group");
            return out;
        }
        KeyedTree* tree = kind == SelCamera ? trwCamTrackBK : trwLight;
        const char* folder = kind == SelCamera ? "CAMERA" : "LIGHT";
        if (!tree->Exists(folder)) return out;
        const QTreeWidgetItem* parent = tree->Item(folder);
        for (int i = 0; i < parent->childCount(); ++i) take(parent->child(i), kind == SelCamera ? "Camera" : "Light");
        return out;
    };
}

// ---- menu state

void Form1::ResetGrpMenuItems() {
    mnuGrpDelete->setVisible(true);
    for (QAction* a : {mnuAttach, mnuUngroup, mnuUngroupAll, mnuDetach, mnuGroup, mnuProperties}) a->setVisible(false);
}

void Form1::EnableGrpMenuItems() {
    using namespace Globals;
    ResetGrpMenuItems();
    QAction* menu = mnuGrp->menuAction();
    if (CurrSelEntityType != SelGroup && CurrSelEntityType != SelMultiple) {
        menu->setEnabled(false);
        return;
    }
    menu->setEnabled(true);
    if (CurrSelEntityType == SelMultiple) {
        if (!CurrMultiSel || CurrMultiSel->NumOfGrps() <= 1) {
            menu->setEnabled(false);
            return;
        }
        mnuGroup->setVisible(true);
        mnuAttach->setVisible(false);
        mnuGrpDelete->setVisible(false);
        return;
    }
    mnuProperties->setVisible(true);
    if (OMBREL_group_get_first_included_group(CurrSelEntityHandle) != 0) {
        mnuUngroup->setVisible(true);
        mnuUngroupAll->setVisible(true);
        mnuAttach->setVisible(true);
    }
    if (OMBREL_group_get_father_group(CurrSelEntityHandle) != RootGrp) mnuDetach->setVisible(true);
}

// ---- Group

void Form1::mnuGroup_Click() {
    using namespace Globals;
    auto record = std::make_unique<ActionUndoRedo>();
    record->ActionType = ActGroupTogather;
    record->SetActionObjects();
    record->GroupGrps->SetChildGrpsToCurrGrpSelection();
    std::string name = Trim(platform::prompts().inputBox("New Group Name = ", platform::kAppTitle, ""));
    // Cancel or blanks: nothing changes and nothing is recorded.
    if (name.empty()) return;
    GroupSelectedUnderNewGrp(name);
    record->GroupGrps->SetNewFatherGrp(CurrSelEntityHandle);
    UndoRedoStack->Push(std::move(record));
}

void Form1::GroupSelectedUnderNewGrp(std::string& GrpName) {
    using namespace Globals;
    if (GrpName.empty()) return;
    NumSelPtsPols = NumSelPts = NumSelPols = 0;
    GrpName = scene::GetUniqueGrpName(GrpName);
    // A selected group inside another selected one moves with it.
    const std::vector<int32_t> children = OutermostSelectedGroups();

    const int32_t group = OMBREL_group_create(GrpName.c_str());
    OMBREL_group_set_father_group(group, RootGrp);
    OMBREL_group_set_rotate_reference_point(group, SelObjsAvgCenter.data());
    trwGroupView->Add("", groupKey(group), GrpName, scene::GroupImage(group));
    for (int32_t child : children) {
        SetFatherGroupOrRaise(child, group);
        RemoveGroupNode(child);
    }
    trwGroupView_PopulateRecursive(group);
    restorePolNodesBelow(group);

    MakeGroupTheSelection(group);
    ThingsToDoOnSelectedEntityChange();
    UpdateStatusBar();
    ::UpdateCameras();
}

// ---- Ungroup, Attach, Detach, Ungroup All, Delete

void Form1::mnuUngroup_Click() {
    if (const int32_t group = Globals::CurrentLiveEntity(SelGroup)) undo::UngroupWithUndo(group);
}

void Form1::mnuAttach_Click() {
    // Attaching, its tree nodes and its record happen in the window.
    scene::ShowSelectionWindow(this, -1, 0, 0, -1, formSelectionWindow::AttachGroups, 0);
}

void Form1::mnuDetach_Click() { mnuGroupMenuRemoveFrmGrp_Click(); }

void Form1::mnuGrpDelete_Click() { mnuGroupMenuDelete_Click(); }

void Form1::mnuUngroupAll_Click() {
    using namespace Globals;
    if (platform::msgBox("This action cannot be undone. All previous undo's will be cleared!. Do you wish to continue?",
                         platform::MsgButtons::YesNoCancel, platform::MsgIcon::Question) != platform::MsgResult::Yes)
        return;
    UndoRedoStack->Reset();
    UngroupAllRecursive();
    PrevSelEntityType = SelNone;
    CurrSelEntityType = SelNone;
    // The Group menu, the status bar and the views learn that nothing is selected.
    ThingsToDoOnSelectedEntityChange();
    ::UpdateCameras();
}

void Form1::UngroupAllRecursive() {
    using namespace Globals;
    // Depth first from the selected group, each group's children in tree order,
    // without a call per level: hierarchies may be deep.
    std::vector<int32_t> pending{CurrSelEntityHandle};
    while (!pending.empty()) {
        const int32_t group = pending.back();
        pending.pop_back();
        CurrSelEntityType = SelGroup;
        CurrSelEntityHandle = group;
        const QTreeWidgetItem* node = trwGroupView->Item(groupKey(group));
        std::vector<int32_t> children;
        for (int i = 0; i < node->childCount(); ++i)
            if (const int32_t child = KeyedTree::HandleOf(KeyedTree::Key(node->child(i)), "Group"))
                children.push_back(child);
        // Records nothing, and an emptied group is destroyed at once.
        UngroupGroup(group, true);
        for (auto it = children.rbegin(); it != children.rend(); ++it)
            if (OMBREL_group_get_first_included_group(*it) != 0) pending.push_back(*it);
    }
}

// ---- Properties

void Form1::mnuProperties_Click() {
    using namespace Globals;
    if (CurrSelEntityType != SelGroup) return;
    scene::ShowGrpProperties(this);
    // The dialog may have switched the group between static and dynamic.
    if (CurrSelEntityType == SelGroup) chkGrpDyn->setChecked(OMBREL_group_is_static(CurrSelEntityHandle) != 1);
}
